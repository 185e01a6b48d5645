// What the engine's report (".rv5o") says about each problem of a run: how
// it ended, its warnings, its results table and its tieback results.
//
// The plot data file carries the node values but not how a problem ended:
// an error stop, a solution that did not close or a deflection beyond the
// allowable one are written only to the report.  The report is read line by
// line in the engine's fixed layout; a line that does not fit is skipped, so
// a damaged report gives fewer facts, never a failure.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ramvex {

// How one problem ended, as an engineer would sort it.
enum class TOutcome {
  Closed,              // solution closed within the tolerance
  NotClosed,           // iteration limit reached without closing
  DeflectionExceeded,  // stopped: stations beyond the maximum allowable deflection
  ErrorStop,           // input error or soil-model stop: no results
};

// Short text of an outcome: "closed", "not closed", ...
const char* OutcomeText(TOutcome outcome);

// One station row of the results table, in the report's units (US: inches
// and pounds; SI: metres and kilonewtons).  A field of asterisks reads as
// NaN.
struct TReportRow {
  int Station = 0;
  double X = 0, Deflection = 0, Slope = 0, Moment = 0, Shear = 0, Reaction = 0, EI = 0;
};

// One row of the tieback results.
struct TReportTieback {
  int Number = 0;
  int Station = 0;
  double Depth = 0;            // inches or metres
  double HorizontalForce = 0;  // per station
  double AnchorForce = 0;      // per station, along the anchor
  double TiebackForce = 0;     // per tieback
};

struct TReportProblem {
  // Title line of the problem's header, without its indent; empty when the
  // engine stopped before writing a header.
  std::string Heading;
  bool HasResults = false;
  int Iterations = 0;
  bool OffCurve = false;
  int StationsExceeded = 0;
  bool NotClosed = false;
  // The engine's own words for the way the problem ended when it did not
  // close; every line of an error stop, joined with line ends.
  std::string Message;
  // Warnings, each once, in the order written.
  std::vector<std::string> Warnings;
  std::vector<TReportRow> Rows;
  std::vector<TReportTieback> Tiebacks;

  TOutcome Outcome() const;
};

struct TReportOutcome {
  // False when the report could not be read.
  bool Read = false;
  // The closing line "END OF ANALYSIS" was written: the run ended in
  // order.  A soil-model stop ends the run without it.
  bool Closed = false;
  std::vector<TReportProblem> Problems;

  // Every problem closed and the run ended in order.
  bool AllClosed() const;
};

// Name of problem `index` from its heading: "Stage 2" for a stage,
// "Short-Term" and "Long-Term" for the two problems of a long-term job, the
// title for a plain one, "Problem 2" for a problem stopped before its
// header.
std::string ProblemName(const TReportOutcome& report, size_t index);

TReportOutcome ParseReport(std::string_view text);
// Read = false when the file cannot be read.
TReportOutcome ReadReport(const std::filesystem::path& path);

}  // namespace ramvex
