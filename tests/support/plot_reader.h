// Reader of the plot-data file (".rv5p") for the engine tests.
//
// The file is read as one stream of whitespace-separated tokens, as the
// interactive program reads it, so only the values and their order count,
// not the line layout.  Every block found is returned, however many the nSets
// count announces, so a test can check the count against the blocks written.
//
// It is stricter than the program's reader where strictness finds writer
// faults: a count must be written as a whole number ("3", not "3.0"), counts
// must not be negative, and a field of asterisks is not a number.  Any
// malformed content throws std::runtime_error naming the token (1-based),
// its line and what was expected.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "earth_pressure_table.h"

namespace ramvex::test {

struct PlotCurve {
  double label = 0;  // depth of a generated curve, else a node number
  std::vector<std::pair<double, double>> points;  // (y, p)
};

struct PlotNode {
  double depth = 0;
  double deflection = 0;
  double moment = 0;
  double shear = 0;
  double reaction = 0;
};

struct PlotBlock {
  std::vector<EarthPressurePoint> earthPressure;  // B1, B2
  int units = 0;                                  // B3
  std::vector<PlotCurve> curves;                  // B4, B5
  int nSets = 0;                                  // B6
  int nodeUnits = 0;                              // B8, the unit code again
  std::vector<PlotNode> nodes;                    // B7, B9
};

// All blocks of the text; throws std::runtime_error on a malformed text,
// also on one without any block.
std::vector<PlotBlock> readPlotData(std::string_view text);

// As readPlotData, for a file; throws when the file cannot be read.
std::vector<PlotBlock> readPlotFile(const std::filesystem::path& path);

}  // namespace ramvex::test
