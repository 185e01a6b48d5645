// The calculation report: what an engineer hands to a reviewer instead of
// the engine's text report.  A PDF of A4 pages: the title block, the input
// as tables, the soil profile, the summary of every problem, per problem its
// values and graphs, and the engine's messages and warnings; every page
// carries the file name, the date and its page number.
//
// The pages are painted with the same drawing routines as the graph and
// soil-profile windows, through QPdfWriter.  No widgets: the program and
// the command-line runner write the same report.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "InputEcho.h"
#include "PileSideDrawing.h"
#include "ResultsCsv.h"
#include "ResultsSummary.h"

class QPagedPaintDevice;

namespace ramvex {

class TProgramData;
class TResultGraphs;

// The input of one stage (or of the whole project without stages).
struct TStageInput {
  std::string Name;  // empty for a project without stages
  std::vector<TEchoTable> Tables;
  std::optional<TSideViewModel> SideView;
};

struct TCalcReportInput {
  std::string Title;
  std::string FileName;  // the data file's name
  std::string Date;      // as printed on every page
  int Units = 1;
  std::vector<TStageInput> Stages;
  const TResultsSummary* Summary = nullptr;
  // The result graphs as the plot file filled them; null: no graph pages.
  const TResultGraphs* Graphs = nullptr;
  // The p-y curves of every problem, from the plot file.
  std::vector<std::vector<TPYCurve>> PYCurves;
};

// The input of the project's current stage with its soil profile.
TStageInput StageInput(const TProgramData& project, const std::string& name = {});

// The input of every stage ("Stage 1", ...), or of the project without
// stages.  The tables hold one stage at a time, so the stages are switched
// in turn (the current one is stored to its stage file first, as a stage
// switch in the program does); the current stage and the modified flag are
// put back afterwards.
std::vector<TStageInput> AllStagesInput(TProgramData& project);

// The report's input from a project, its graphs and summary and the plot
// file of its last run.
TCalcReportInput MakeReportInput(TProgramData& project, const TResultGraphs& graphs, const TResultsSummary& summary,
                                 const std::filesystem::path& plotPath);

// Today's date in the report's form ("10 December 2026"), locale
// independent.
std::string ReportDate();
// The program's name and version for the title block.
std::string ProgramVersion();

// The section titles in the order they appear.
extern const std::array<const char*, 4> kReportSections;

// Paints the whole report onto a paged device (a PDF writer or a printer)
// whose resolution is set.  Returns the number of pages.
int PaintCalcReport(QPagedPaintDevice& device, const TCalcReportInput& input);

// Writes the report as a PDF.  False with `error` set when the file cannot
// be written.  Needs a QGuiApplication (for the fonts); any platform will
// do, the offscreen one included.
bool WriteCalcReport(const std::filesystem::path& path, const TCalcReportInput& input, std::string& error);

}  // namespace ramvex
