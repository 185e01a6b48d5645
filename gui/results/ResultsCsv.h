// CSV results for spreadsheets and scripts: one row per node and problem,
// and the p-y curves of every problem.  Numbers are written with a point as
// decimal separator whatever the user's locale, in the summary's units,
// which the header names.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "ResultsSummary.h"

namespace ramvex {

// One p-y curve of a plot block: its label (the depth of a generated
// curve, the node of a user curve) and its (y, p) points, unpadded.
struct TPYCurve {
  double Label = 0;
  std::vector<std::pair<double, double>> Points;
};

// The p-y curves of every block of a plot data file.  The graphs keep only
// the last block's curves, padded to one length; the CSV needs each
// problem's own.  Reading stops at the first fault and keeps the blocks
// read before it.
std::vector<std::vector<TPYCurve>> ReadPYCurves(const std::filesystem::path& plotPath);

// Problem, depth, deflection, slope, moment, shear, net reaction.
void WriteResultsCsv(std::ostream& out, const TResultsSummary& summary);
// Problem, curve, label, point, y, p.
void WritePYCsv(std::ostream& out, const TResultsSummary& summary, const std::vector<std::vector<TPYCurve>>& curves);

// A CSV field: quoted when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);
// A number in full precision (17 significant digits at most, shortest form
// that reads back to the same value).
std::string CsvNumber(double value);

}  // namespace ramvex
