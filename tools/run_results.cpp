// The runner's summary, CSV files and calculation report, from the same
// result libraries as the program.
#include <QGuiApplication>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>

#include "CalcReport.h"
#include "ProgramData.h"
#include "ResultGraphs.h"
#include "ResultsCsv.h"
#include "ResultsSummary.h"
#include "run_results.h"

namespace fs = std::filesystem;

namespace ramvex::run {

namespace {

bool Save(const fs::path& path, const std::string& text) {
  try {
    SaveTextFile(path, text);
    std::printf("%-12s%s\n", (path.stem().string().ends_with("-py") ? "p-y curves:" : "results:"),
                path.string().c_str());
    return true;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ramvex-run: cannot write %s: %s\n", path.string().c_str(), e.what());
    return false;
  }
}

// Painting text needs a GUI application.  The runner never shows a window,
// so it asks for the offscreen platform unless the user chose one: a PDF can
// then be written on a machine without a display.  Qt sets the process
// locale from the environment when the application starts; the runner's
// numbers are written locale-independently, but the locale is put back as
// it was all the same.
std::unique_ptr<QGuiApplication> StartGui(int& argc, char** argv) {
  // Qt's notes about its start-up (no runtime folder, fonts substituted)
  // are not the user's concern; its critical messages still reach
  // standard error.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "ramvex-run: %s\n", qPrintable(message));
  });
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const char* current = std::setlocale(LC_ALL, nullptr);
  const std::string locale = current ? current : "C";
  auto app = std::make_unique<QGuiApplication>(argc, argv);
  std::setlocale(LC_ALL, locale.c_str());
  return app;
}

}  // namespace

bool ResultsAvailable() { return true; }

bool WriteResults(const TRunFiles& files, const TRunOptions& options, int argc, char** argv) {
  auto tables = CreateProjectTables();
  TProgramData project(*tables);
  project.NewProject();
  bool projectRead = false;
  std::error_code ec;
  const fs::path copy = files.Work / files.Data.filename();
  try {
    fs::copy_file(files.Data, copy, fs::copy_options::overwrite_existing);
    project.OpenProject(copy);
    projectRead = true;
  } catch (const std::exception& e) {
    // The reader names the copy in the private folder and separates its
    // lines for a message box; the user knows the file by its own name.
    std::string reason = e.what();
    for (size_t at; (at = reason.find(copy.string())) != std::string::npos;)
      reason.replace(at, copy.string().size(), files.Data.string());
    for (size_t at; (at = reason.find_first_of("\r\n")) != std::string::npos;) reason.replace(at, 1, ": ");
    std::fprintf(stderr, "ramvex-run: the data file cannot be read as a project (%s); the results are taken "
                 "from the outputs alone\n", reason.c_str());
    project.NewProject();
  }
  TResultGraphs graphs;
  // A plot file cut short by a stop keeps the blocks read before the fault.
  graphs.ReadPlotFile(files.Plot, project);
  TResultsSummary summary = SummarizeRun(project, graphs, files.Report);
  if (!projectRead) summary.Title = files.Data.filename().string();

  bool ok = true;
  const std::string stem = (files.Report.parent_path() / files.Report.stem()).string();
  if (options.Csv) {
    std::ostringstream results, curves;
    WriteResultsCsv(results, summary);
    WritePYCsv(curves, summary, ReadPYCurves(files.Plot));
    ok = Save(stem + "-results.csv", results.str()) && ok;
    ok = Save(stem + "-py.csv", curves.str()) && ok;
  }
  if (options.Summary) {
    std::cout << '\n';
    WriteSummary(std::cout, summary);
    std::cout.flush();
  }
  if (!options.Pdf.empty()) {
    int gArgc = argc > 0 ? 1 : 0;
    const std::unique_ptr<QGuiApplication> app = StartGui(gArgc, argv);
    TCalcReportInput in = MakeReportInput(project, graphs, summary, files.Plot);
    in.FileName = files.Data.filename().string();
    // A data file that is not a project has no input to show.
    if (!projectRead) in.Stages.clear();
    std::string error;
    if (WriteCalcReport(options.Pdf, in, error)) {
      std::printf("%-12s%s\n", "report PDF:", options.Pdf.string().c_str());
    } else {
      std::fprintf(stderr, "ramvex-run: %s\n", error.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace ramvex::run
