#include <gtest/gtest.h>

#include <QDir>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "AnalysisRun.h"
#include "ProgramData.h"
#include "ResultGraphs.h"
#include "golden.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;
constexpr TCurveList P1 = TCurveList::Panel1;

const fs::path kExamples = fs::path(RAMVEX_SOURCE_DIR) / "examples";

std::set<std::string> Listing(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(folder)) names.insert(e.path().string());
  return names;
}

// A row of the report's results table: station, depth, deflection, slope,
// moment, shear, reaction, EI; the report writes three significant digits.
struct ReportRow {
  int station;
  double depth, deflection, slope, moment, shear, reaction, ei;
};

// The results table of every problem of a report.
std::vector<std::vector<ReportRow>> ReportTables(const std::string& report) {
  std::vector<std::vector<ReportRow>> tables;
  std::istringstream in(report);
  std::string line;
  while (std::getline(in, line)) {
    if (line.find("STA I") == std::string::npos) continue;
    std::getline(in, line);  // units
    std::getline(in, line);  // rule
    std::vector<ReportRow> rows;
    while (std::getline(in, line)) {
      std::istringstream row(line);
      ReportRow r{};
      if (!(row >> r.station >> r.depth >> r.deflection >> r.slope >> r.moment >> r.shear >> r.reaction >> r.ei)) break;
      rows.push_back(r);
    }
    tables.push_back(rows);
  }
  return tables;
}

// Half a unit of the report's third significant digit, plus the plot
// file's own rounding to four digits.
double ReportTolerance(double value) {
  if (value == 0) return 1e-12;
  const double e = std::floor(std::log10(std::fabs(value))) + 1;
  return 0.00055 * std::pow(10.0, e);
}

struct AnalysisRunTest : ::testing::Test {
  test::ScratchDir scratch;
  fs::path tmp = scratch.path() / "tmp";
  std::string previousTmp;
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData project{*tables};
  TResultGraphs graphs;
  std::vector<std::string> informs, warnings;
  int waits = 0, ends = 0;

  void SetUp() override {
    // A temporary folder of the test's own, so that a folder left behind
    // by a run is seen.
    fs::create_directories(tmp);
    if (const char* t = std::getenv("TMPDIR")) previousTmp = t;
    setenv("TMPDIR", tmp.c_str(), 1);
    project.NewProject();
  }
  void TearDown() override {
    if (previousTmp.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", previousTmp.c_str(), 1);
    }
  }

  // Opens a bundled example as a project and saves it into the scratch
  // folder, as the user would before a run.
  void OpenExample(const char* name) {
    const fs::path copy = scratch.path() / (std::string(name) + ".rv5d");
    fs::copy_file(kExamples / (std::string(name) + ".rv5d"), copy, fs::copy_options::overwrite_existing);
    project.OpenProject(copy);
    project.DataFileName = copy.string();
    project.WriteDataFile();
  }

  TRunEnvironment Env(const fs::path& folder) {
    TRunEnvironment env;
    env.ProgramFolder = folder;
    env.Inform = [this](const std::string& m) { informs.push_back(m); };
    env.Warn = [this](const std::string& m) { warnings.push_back(m); };
    env.BeginWait = [this] { ++waits; };
    env.EndWait = [this] { ++ends; };
    env.ReadPlotFile = [this](const fs::path& plot, const TRunMessage& errors) {
      return graphs.ReadPlotFile(plot, project, errors);
    };
    return env;
  }

  void ExpectNoWorkLeft() {
    EXPECT_TRUE(fs::is_empty(tmp)) << "a working folder was left behind";
    EXPECT_FALSE(fs::exists(scratch.path() / "names.dat"));
    EXPECT_FALSE(fs::exists(scratch.path() / "BMWALL.001"));
    EXPECT_EQ(fs::current_path(), scratch.path());
  }
};

TEST_F(AnalysisRunTest, StagedRunFillsTheGraphsWithTheEnginesDeflections) {
  OpenExample("three_stages");
  const std::set<std::string> programFolder = Listing(ENGINE_FOLDER);
  const TRunOutcome outcome = RunAnalysis(project, Env(ENGINE_FOLDER));
  ASSERT_EQ(outcome.Status, TRunStatus::Completed);
  ASSERT_EQ(outcome.ResultsAvailable, std::optional<bool>(true));
  EXPECT_EQ(informs, std::vector<std::string>{kCompletedMessage});
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(waits, 1);
  EXPECT_EQ(ends, 1);
  ExpectNoWorkLeft();
  EXPECT_EQ(Listing(ENGINE_FOLDER), programFolder) << "the program's folder changed";

  const TRunFiles files = RunFilesOf(project.DataFileName);
  const auto report = ReportTables(test::readTextFile(files.Report));
  ASSERT_EQ(report.size(), 3u);
  ASSERT_EQ(graphs.pltDef.CurveCount(), 3);
  EXPECT_TRUE(graphs.pltDef.HasData() && graphs.pltMom.HasData() && graphs.pltDMS.HasData());
  for (size_t k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    ASSERT_EQ(report[k].size(), 61u);
    const TLine& def = graphs.pltDef.Curve(P1, static_cast<int>(k));
    EXPECT_EQ(def.LegendText(), "Stage: " + std::to_string(k + 1));
    for (size_t i = 0; i < 61; ++i) {
      const ReportRow& r = report[k][i];
      const TFloatPoint& p = def.Points[i];
      // US: depths in feet, moments in in-kips; deflections in inches.
      EXPECT_NEAR(static_cast<double>(p.X), r.deflection, ReportTolerance(r.deflection)) << "station " << i;
      EXPECT_NEAR(static_cast<double>(p.Y), r.depth / 12, ReportTolerance(r.depth) / 12) << "station " << i;
      EXPECT_NEAR(static_cast<double>(graphs.pltMom.Point(P1, static_cast<int>(k), static_cast<int>(i)).X),
                  r.moment / 1000, ReportTolerance(r.moment) / 1000)
          << "station " << i;
    }
  }
}

TEST_F(AnalysisRunTest, LongTermRunInSIUnits) {
  OpenExample("long_term");
  const TRunOutcome outcome = RunAnalysis(project, Env(ENGINE_FOLDER));
  ASSERT_EQ(outcome.ResultsAvailable, std::optional<bool>(true));
  const auto report = ReportTables(test::readTextFile(RunFilesOf(project.DataFileName).Report));
  ASSERT_EQ(report.size(), 2u);
  ASSERT_EQ(graphs.pltDef.CurveCount(), 2);
  EXPECT_EQ(graphs.pltDef.Curve(P1, 1).LegendText(), "Long-Term");
  for (size_t i = 0; i < report[1].size(); i += 7) {
    const ReportRow& r = report[1][i];
    const TFloatPoint& p = graphs.pltDef.Curve(P1, 1).Points[i];
    EXPECT_NEAR(static_cast<double>(p.X), r.deflection, ReportTolerance(r.deflection));
    EXPECT_NEAR(static_cast<double>(p.Y), r.depth, ReportTolerance(r.depth));
  }
  ExpectNoWorkLeft();
}

TEST_F(AnalysisRunTest, EveryRunStartsTheEngineAfresh) {
  OpenExample("tieback");
  ASSERT_EQ(RunAnalysis(project, Env(ENGINE_FOLDER)).Status, TRunStatus::Completed);
  const fs::path report = RunFilesOf(project.DataFileName).Report;
  const std::string first = test::maskDateTime(test::readTextFile(report));
  ASSERT_EQ(RunAnalysis(project, Env(ENGINE_FOLDER)).Status, TRunStatus::Completed);
  EXPECT_EQ(test::maskDateTime(test::readTextFile(report)), first);
}

TEST_F(AnalysisRunTest, RefusalIsReportedAndTheRunContextWasPrivate) {
  OpenExample("cantilever");
  const TRunOutcome outcome = RunAnalysis(project, Env(FAKE_REFUSES_FOLDER));
  EXPECT_EQ(outcome.Status, TRunStatus::Refused);
  EXPECT_FALSE(outcome.ResultsAvailable.has_value());
  ASSERT_EQ(informs.size(), 1u);
  EXPECT_EQ(informs[0].rfind("Computations can not be performed. Executable files are not consistent.\n"
                             "You may need to reinstall the program.\n"
                             "If problem persist please contact DALMOR support at",
                             0),
            0u);
  // The stand-in found names.dat in its current directory, with absolute
  // paths of the four run files.
  const TRunFiles f = RunFilesOf(project.DataFileName);
  EXPECT_EQ(test::readTextFile(f.Data.string() + ".names"), "2015.5.13\n" + f.Data.string() + "\n" +
                                                               f.Report.string() + "\n" + f.Plot.string() + "\n" +
                                                               f.Notes.string() + "\n");
  EXPECT_TRUE(f.Data.is_absolute());
  // It ran in a folder of its own inside the temporary folder.
  const fs::path cwd = test::readTextFile(f.Data.string() + ".cwd");
  EXPECT_EQ(cwd.parent_path(), tmp);
  EXPECT_EQ(cwd.filename().string().rfind("ramvex-run-", 0), 0u) << cwd;
  ExpectNoWorkLeft();
}

TEST_F(AnalysisRunTest, WithoutAPlotFileTheGraphsKeepTheirState) {
  OpenExample("cantilever");
  ASSERT_TRUE(graphs.ReadPlotFile(kExamples / "golden" / "cantilever.rv5p", project));
  const auto before = graphs.pltDef.Curve(P1, 0).Points;
  const TRunOutcome outcome = RunAnalysis(project, Env(FAKE_SILENT_FOLDER));
  EXPECT_EQ(outcome.Status, TRunStatus::Completed);
  EXPECT_FALSE(outcome.ResultsAvailable.has_value());
  EXPECT_EQ(informs, std::vector<std::string>{kCompletedMessage});
  EXPECT_EQ(graphs.pltDef.Curve(P1, 0).Points, before);
  ExpectNoWorkLeft();
}

TEST_F(AnalysisRunTest, DamagedPlotFileAfterARunIsReported) {
  OpenExample("cantilever");
  // The stand-in writes no plot file: a damaged one is left from before.
  std::ofstream(RunFilesOf(project.DataFileName).Plot) << "3\n 0 0 x\n";
  const TRunOutcome outcome = RunAnalysis(project, Env(FAKE_SILENT_FOLDER));
  EXPECT_EQ(outcome.ResultsAvailable, std::optional<bool>(false));
  EXPECT_EQ(informs, (std::vector<std::string>{kCompletedMessage, kPlotReadError}));
}

TEST_F(AnalysisRunTest, LibraryThatCannotServeIsALoadFailure) {
  OpenExample("cantilever");
  const fs::path empty = scratch.path() / "no-library-here";
  fs::create_directories(empty);
  for (const fs::path& folder : {fs::path(FAKE_NOENTRY_FOLDER), empty}) {
    SCOPED_TRACE(folder.string());
    informs.clear();
    const TRunOutcome outcome = RunAnalysis(project, Env(folder));
    EXPECT_EQ(outcome.Status, TRunStatus::LoadFailed);
    EXPECT_EQ(informs, std::vector<std::string>{"Attempt to initialize DLL failed"});
    EXPECT_EQ(waits, 0);
    EXPECT_TRUE(fs::is_empty(tmp));
  }
  EXPECT_FALSE(fs::exists(project.DataFileName + ".names")) << "no entry was called";
}

TEST_F(AnalysisRunTest, FailedCheckStopsBeforeAnythingIsWritten) {
  OpenExample("cantilever");
  project.Tables().PileSect->Column(0)->SetInt(0, project.IncrementCount + 1);
  const TRunOutcome outcome = RunAnalysis(project, Env(FAKE_SILENT_FOLDER));
  EXPECT_EQ(outcome.Status, TRunStatus::CheckFailed);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].rfind("Initial Node, ", 0), 0u);
  EXPECT_TRUE(informs.empty());
  EXPECT_FALSE(fs::exists(project.DataFileName + ".names"));
  ExpectNoWorkLeft();
}

TEST_F(AnalysisRunTest, UnnamedProjectStopsSilently) {
  EXPECT_EQ(RunAnalysis(project, Env(ENGINE_FOLDER)).Status, TRunStatus::NotNamed);
  EXPECT_TRUE(informs.empty() && warnings.empty());
}

TEST_F(AnalysisRunTest, ASecondRunDuringARunIsRefused) {
  OpenExample("cantilever");
  TRunEnvironment env = Env(FAKE_SILENT_FOLDER);
  TRunStatus inner = TRunStatus::NotNamed;
  env.BeginWait = [&] { inner = RunAnalysis(project, env).Status; };
  EXPECT_EQ(RunAnalysis(project, env).Status, TRunStatus::Completed);
  EXPECT_EQ(inner, TRunStatus::AlreadyRunning);
  EXPECT_EQ(informs, (std::vector<std::string>{"Attempt to reinitialize DLL", kCompletedMessage}));
  ExpectNoWorkLeft();
}

TEST(Editor, FileIsPassedAsOneArgumentWithoutAShell) {
  test::ScratchDir scratch;
  // A name a shell would split and expand.
  const fs::path file = scratch.path() / "my wall $(echo x);.rv5o";
  ASSERT_TRUE(StartEditor("touch", file));
  for (int i = 0; i < 200 && !fs::exists(file); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);

  std::vector<std::string> informs;
  OpenInEditor((scratch.path() / "no-such-editor").string(), file,
               [&](const std::string& m) { informs.push_back(m); });
  EXPECT_EQ(informs, std::vector<std::string>{"An error occurred in running the Word Processor"});
}

TEST(RunFiles, ExtensionsBesideTheDataFile) {
  const TRunFiles f = RunFilesOf("/projects/wall.rv5d");
  EXPECT_EQ(f.Report, fs::path("/projects/wall.rv5o"));
  EXPECT_EQ(f.Plot, fs::path("/projects/wall.rv5p"));
  EXPECT_EQ(f.Notes, fs::path("/projects/wall.rv5r"));
}

}  // namespace
}  // namespace ramvex
