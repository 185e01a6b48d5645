// The first answers after a run, per problem: how it ended, the extremes of
// deflection, moment and shear with their depths, the top deflection and the
// tieback forces.
//
// The node values come from the plot data file as the result graphs hold
// them (depths in feet or metres, moments in in-kips or m-kN, shears in kips
// or kN); how each problem ended, its warnings, the slopes and the tieback
// forces come from the report, the only place the engine writes them.  No
// widgets: the summary window, the calculation report and the command-line
// runner all show the same numbers.
#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "ReportOutcome.h"
#include "ResultGraphs.h"

namespace ramvex {

class TProgramData;

// A value at a depth.  Not valid when the problem has no results.
struct TExtreme {
  bool Valid = false;
  double Value = 0;
  double Depth = 0;
};

struct TTiebackForce {
  int Number = 0;
  double Depth = 0;  // depth unit
  double Force = 0;  // per tieback, tieback force unit
};

// One node in the summary's units; Slope is NaN when the report gives none.
struct TNodeResult {
  double Depth = 0, Deflection = 0, Slope = 0, Moment = 0, Shear = 0, Reaction = 0;
};

struct TProblemSummary {
  // "Stage 2", "Short-Term", "Long-Term" or the project title.
  std::string Name;
  TOutcome Outcome = TOutcome::ErrorStop;
  // The engine's message when the problem did not close (every line of an
  // error stop).
  std::string Message;
  int Iterations = 0;
  std::vector<std::string> Warnings;
  bool HasResults = false;
  double TopDeflection = 0;
  TExtreme Deflection, Moment, Shear;  // largest absolute value, sign kept
  std::vector<TTiebackForce> Tiebacks;
  std::vector<TNodeResult> Nodes;
};

// Unit labels of the summary's quantities.
struct TSummaryUnits {
  std::string Depth, Deflection, Moment, Shear, Reaction, TiebackForce, Y, P;
};
TSummaryUnits SummaryUnits(int system);

struct TResultsSummary {
  std::string Title;
  int Units = 1;
  TSummaryUnits Labels;
  // The report was read and ends with "END OF ANALYSIS".
  bool ReportRead = false;
  bool RunClosed = false;
  std::vector<TProblemSummary> Problems;

  // Every problem closed in a run that ended in order.
  bool AllClosed() const;
};

// The summary from a parsed report and the values of the plot file.  Units
// is the plot file's unit code (the project's when the plot has none).  A
// problem whose plot block is missing or does not match the report's
// results table takes its values from the report.
TResultsSummary SummarizeResults(const std::string& title, const TReportOutcome& report, const TPlotValues& plot,
                                 int units);

// The summary of a project's last run: the graphs as the plot file filled
// them and the report beside the data file.
TResultsSummary SummarizeRun(const TProgramData& project, const TResultGraphs& graphs,
                             const std::filesystem::path& reportPath);

// A table of texts: one heading line, one unit line, rows.
struct TTextTable {
  std::vector<std::string> Heading;
  std::vector<std::string> Units;
  std::vector<std::vector<std::string>> Rows;
};

// Per problem: outcome, iterations, top deflection and the three extremes
// with their depths.
TTextTable ProblemTable(const TResultsSummary& summary);
// Per tieback of every problem: depth and force per tieback.
TTextTable TiebackTable(const TResultsSummary& summary);

// Number with `digits` significant digits in the shortest form, locale
// independent ("0.248", "7.75e+04" for large values as "77500").
std::string NumberText(double value, int digits = 4);

// The summary as text: title, units, the problem table, the tieback table,
// then each problem's message and warnings.
void WriteSummary(std::ostream& out, const TResultsSummary& summary);
// A table laid out in columns.
void WriteTextTable(std::ostream& out, const TTextTable& table);

}  // namespace ramvex
