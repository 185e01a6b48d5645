// The command-line runner: its exit status and standard error for problems
// that do not close, its summary and its CSV files read back against the
// plot file (read by the tests' own reader) and the report.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "golden.h"
#include "plot_reader.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(RAMVEX_SOURCE_DIR) / "examples";
const fs::path kRunner = fs::path(RAMVEX_BINARY_DIR) / "bin" / "ramvex-run";

struct RunResult {
  int status = -1;
  std::string out, err;
};

// Runs the runner in the scratch folder with the given arguments.
RunResult RunTool(const fs::path& folder, const std::string& arguments) {
  const fs::path out = folder / "stdout.txt", err = folder / "stderr.txt";
  const std::string command = "cd '" + folder.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + kRunner.string() + "' " + arguments + " >'" +
                              out.string() + "' 2>'" + err.string() + "'";
  const int raw = std::system(command.c_str());
  RunResult r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = test::readTextFile(out);
  r.err = test::readTextFile(err);
  return r;
}

fs::path CopyExample(const fs::path& folder, const std::string& name) {
  const fs::path to = folder / (name + ".rv5d");
  fs::copy_file(kExamples / (name + ".rv5d"), to);
  return to;
}

std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> cells;
  std::string cell;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      cells.push_back(cell);
      cell.clear();
    } else if (c != '\r') {
      cell += c;
    }
  }
  cells.push_back(cell);
  return cells;
}

std::vector<std::vector<std::string>> ReadCsv(const fs::path& path) {
  std::istringstream in(test::readTextFile(path));
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) rows.push_back(SplitCsv(line));
  return rows;
}

// Slopes of every problem, from the report's results tables.
std::vector<std::vector<double>> ReportSlopes(const std::string& report) {
  std::vector<std::vector<double>> slopes;
  std::istringstream in(report);
  std::string line;
  bool table = false;
  while (std::getline(in, line)) {
    if (line.find("RESULTS -- ITERATION") != std::string::npos) {
      slopes.emplace_back();
      table = false;
    } else if (line.rfind("   ------", 0) == 0 && !slopes.empty()) {
      table = true;
    } else if (table) {
      std::istringstream row(line);
      double station, x, defl, slope;
      if (!(row >> station >> x >> defl >> slope)) {
        table = false;
        continue;
      }
      slopes.back().push_back(slope);
    }
  }
  return slopes;
}

class RunnerTest : public test::ScratchDirTest {};

TEST_F(RunnerTest, HelpListsTheOptionsOnStandardOutput) {
  const RunResult r = RunTool(scratch_.path(), "--help");
  EXPECT_EQ(r.status, 0);
  for (const char* option : {"--summary", "--csv", "--pdf FILE", "-o OUTPUT_FOLDER", "--help", "Exit status"})
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
  EXPECT_EQ(r.err, "");
}

TEST_F(RunnerTest, WrongCommandLines) {
  for (const char* args : {"", "--bogus wall.rv5d", "--pdf", "a.rv5d b.rv5d"}) {
    const RunResult r = RunTool(scratch_.path(), args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find("usage: ramvex-run"), std::string::npos) << args;
  }
  EXPECT_EQ(RunTool(scratch_.path(), "missing.rv5d").status, 3);
}

TEST_F(RunnerTest, AGarbageDataFileIsAnErrorStopWithTheEnginesMessage) {
  std::ofstream(scratch_.path() / "garbage.rv5d") << "garbage\nfoo bar\n";
  const RunResult r = RunTool(scratch_.path(), "--summary --csv --pdf garbage.pdf garbage.rv5d");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("error stop: ERROR STOP -- DATA FILE UNREADABLE AT LINE 2"), std::string::npos) << r.err;
  // The outputs are still named and the summary still says what happened.
  EXPECT_NE(r.out.find("report:"), std::string::npos);
  EXPECT_NE(r.out.find("error stop"), std::string::npos) << r.out;
  const auto rows = ReadCsv(scratch_.path() / "garbage-results.csv");
  ASSERT_EQ(rows.size(), 1u);  // the header only
  // The report has no input and no results to show, but it is written.
  EXPECT_EQ(test::readTextFile(scratch_.path() / "garbage.pdf").rfind("%PDF", 0), 0u);
}

TEST_F(RunnerTest, AStopInTheSecondStageNamesThatStageAndKeepsTheFirst) {
  // Stage 2's wall stiffness row runs backwards: the engine stops on it.
  std::string data = test::readTextFile(kExamples / "three_stages.rv5d");
  const size_t stage2 = data.find(" Stage No : 2");
  const size_t row = data.find("0\t60\t1\t5.336E9", stage2);
  ASSERT_NE(row, std::string::npos);
  data.replace(row, 4, "60\t0");
  std::ofstream(scratch_.path() / "staged.rv5d", std::ios::binary) << data;
  const RunResult r = RunTool(scratch_.path(), "--csv staged.rv5d");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Stage 2: error stop: "), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("Stage 1"), std::string::npos) << r.err;
  const auto rows = ReadCsv(scratch_.path() / "staged-results.csv");
  ASSERT_EQ(rows.size(), 62u);
  EXPECT_EQ(rows[1][0], "Stage 1");
}

TEST_F(RunnerTest, ASoilModelStopEndsTheRunEarlyAndFailsIt) {
  // Weak rock without strength has no p-y curve: the engine stops at once,
  // without "END OF ANALYSIS".
  std::string data = test::readTextFile(kExamples / "layered_sand_clay_rock.rv5d");
  for (size_t at; (at = data.find("22\t5000\t")) != std::string::npos;) data.replace(at, 8, "22\t0\t");
  std::ofstream(scratch_.path() / "rock.rv5d", std::ios::binary) << data;
  const RunResult r = RunTool(scratch_.path(), "--summary rock.rv5d");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("error stop: THE COHESIVE STRENGTH IS 0 FOR ROCK"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the engine stopped early"), std::string::npos) << r.err;
  // The reason is the message, not a warning besides it.
  EXPECT_EQ(r.out.find("warning: THE COHESIVE STRENGTH"), std::string::npos) << r.out;
}

TEST_F(RunnerTest, DeflectionBeyondTheAllowableOneFailsTheRun) {
  std::string data = test::readTextFile(kExamples / "cantilever.rv5d");
  const std::string control = "60\t6\t10\t0.001";
  const size_t line = data.find(control);
  ASSERT_NE(line, std::string::npos);
  data.replace(line, control.size(), "60\t6\t0.0001\t0.001");
  std::ofstream(scratch_.path() / "stiff.rv5d", std::ios::binary) << data;
  const RunResult r = RunTool(scratch_.path(), "stiff.rv5d");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("allowable deflection exceeded: MAX ALLOWABLE DEFLECTION EXCEEDED AT"), std::string::npos)
      << r.err;
}

TEST_F(RunnerTest, AClosedRunExitsZeroAndSaysNothingOnStandardError) {
  CopyExample(scratch_.path(), "tieback");
  const RunResult r = RunTool(scratch_.path(), "--summary tieback.rv5d");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  for (const char* text : {"Anchored sheet-pile wall", "closed", "in-kips", "Force per tieback"})
    EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;
}

TEST_F(RunnerTest, PdfWithoutADisplay) {
  CopyExample(scratch_.path(), "cantilever");
  // No display and no platform chosen: the runner draws offscreen.
  const RunResult r = RunTool(scratch_.path(), "--pdf report.pdf cantilever.rv5d");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::readTextFile(scratch_.path() / "report.pdf").rfind("%PDF", 0), 0u);
  const RunResult bad = RunTool(scratch_.path(), "--pdf no-such-folder/report.pdf cantilever.rv5d");
  EXPECT_EQ(bad.status, 7);
  EXPECT_NE(bad.err.find("no-such-folder/report.pdf"), std::string::npos) << bad.err;
}

// The CSV files of an example read back equal the plot file's values to
// their printed precision, the slopes equal the report's.
class RunnerCsv : public RunnerTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RunnerCsv, ResultsAndCurvesReadBackEqualThePlotFile) {
  const std::string name = GetParam();
  CopyExample(scratch_.path(), name);
  const RunResult r = RunTool(scratch_.path(), "--csv -o out " + name + ".rv5d");
  ASSERT_EQ(r.status, 0) << r.err;
  const fs::path out = scratch_.path() / "out";
  const std::vector<test::PlotBlock> blocks = test::readPlotFile(out / (name + ".rv5p"));
  const auto slopes = ReportSlopes(test::readTextFile(out / (name + ".rv5o")));
  ASSERT_EQ(slopes.size(), blocks.size());
  const bool us = blocks[0].units == 1;

  const auto rows = ReadCsv(out / (name + "-results.csv"));
  ASSERT_FALSE(rows.empty());
  const std::vector<std::string> header =
      us ? std::vector<std::string>{"Problem", "Depth (ft)", "Deflection (in)", "Slope (rad)", "Moment (in-kips)",
                                    "Shear (kips)", "Net reaction (lbs)"}
         : std::vector<std::string>{"Problem", "Depth (m)", "Deflection (m)", "Slope (rad)", "Moment (m-kN)",
                                    "Shear (kN)", "Net reaction (kN)"};
  EXPECT_EQ(rows[0], header);
  size_t row = 1;
  const double length = us ? 12 : 1, force = us ? 1000 : 1;
  for (size_t b = 0; b < blocks.size(); ++b) {
    ASSERT_EQ(slopes[b].size(), blocks[b].nodes.size());
    for (size_t j = 0; j < blocks[b].nodes.size(); ++j, ++row) {
      ASSERT_LT(row, rows.size());
      const auto& c = rows[row];
      ASSERT_EQ(c.size(), 7u);
      const test::PlotNode& n = blocks[b].nodes[j];
      // Read back and converted to the plot file's units, each value
      // prints as the plot file prints it.
      auto same = [](double csv, double plot) {
        char a[32], p[32];
        std::snprintf(a, sizeof a, "%.3E", csv);
        std::snprintf(p, sizeof p, "%.3E", plot);
        return std::string(a) == p;
      };
      EXPECT_TRUE(same(std::stod(c[1]) * length, n.depth)) << row;
      EXPECT_TRUE(same(std::stod(c[2]), n.deflection)) << row;
      EXPECT_TRUE(same(std::stod(c[3]), slopes[b][j])) << row;
      EXPECT_TRUE(same(std::stod(c[4]) * force, n.moment)) << row;
      EXPECT_TRUE(same(std::stod(c[5]) * force, n.shear)) << row;
      EXPECT_TRUE(same(std::stod(c[6]), n.reaction)) << row;
    }
  }
  EXPECT_EQ(row, rows.size());

  const auto curves = ReadCsv(out / (name + "-py.csv"));
  ASSERT_FALSE(curves.empty());
  size_t line = 1;
  for (size_t b = 0; b < blocks.size(); ++b) {
    for (size_t k = 0; k < blocks[b].curves.size(); ++k) {
      const test::PlotCurve& curve = blocks[b].curves[k];
      for (size_t j = 0; j < curve.points.size(); ++j, ++line) {
        ASSERT_LT(line, curves.size());
        const auto& c = curves[line];
        ASSERT_EQ(c.size(), 6u);
        EXPECT_EQ(std::stoul(c[1]), k + 1);
        EXPECT_DOUBLE_EQ(std::stod(c[2]), curve.label);
        EXPECT_EQ(std::stoul(c[3]), j + 1);
        EXPECT_DOUBLE_EQ(std::stod(c[4]), curve.points[j].first);
        EXPECT_DOUBLE_EQ(std::stod(c[5]), curve.points[j].second);
      }
    }
  }
  EXPECT_EQ(line, curves.size());
}

INSTANTIATE_TEST_SUITE_P(Examples, RunnerCsv,
                         ::testing::Values("cantilever", "long_term", "three_stages", "sand_generated",
                                           "layered_sand_clay_rock"));

}  // namespace
}  // namespace ramvex
