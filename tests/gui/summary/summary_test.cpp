// The summary of every bundled example against the example's report: the
// extremes, their depths, the top deflection and the tieback forces must be
// the values of the report's results tables.  The report is read here by
// whitespace-separated words, not by the summary's fixed-column reader.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ProgramData.h"
#include "ResultsSummary.h"
#include "golden.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(RAMVEX_SOURCE_DIR) / "examples";

// The report's tables as this test reads them.
struct RefProblem {
  int iterations = 0;
  std::vector<std::vector<double>> rows;      // station, x, defl, slope, moment, shear, reaction, EI
  std::vector<std::vector<double>> tiebacks;  // n, station, x, horizontal, anchor, per tieback
};

std::vector<double> Numbers(const std::string& line) {
  std::istringstream in(line);
  in.imbue(std::locale::classic());
  std::vector<double> v;
  std::string word;
  while (in >> word) {
    try {
      size_t used = 0;
      v.push_back(std::stod(word, &used));
      if (used != word.size()) return {};
    } catch (const std::exception&) {
      return {};
    }
  }
  return v;
}

std::vector<RefProblem> ReadReportTables(const std::string& text) {
  std::vector<RefProblem> problems;
  std::istringstream in(text);
  std::string line;
  enum { None, Results, Tiebacks } mode = None;
  bool rows = false;
  while (std::getline(in, line)) {
    if (line.find("RESULTS -- ITERATION") != std::string::npos) {
      problems.emplace_back();
      problems.back().iterations = std::stoi(line.substr(line.find("ITERATION") + 9));
      mode = Results;
      rows = false;
    } else if (line.find("TIE BACK RESULTS") != std::string::npos) {
      mode = Tiebacks;
      rows = false;
    } else if (mode != None) {
      // Rows follow the heading's line of dashes and end at the first line
      // that is not a row.
      std::vector<double> v = Numbers(line);
      if (mode == Results && v.size() == 8) {
        problems.back().rows.push_back(v);
        rows = true;
      } else if (mode == Tiebacks && v.size() == 6) {
        problems.back().tiebacks.push_back(v);
        rows = true;
      } else if (rows) {
        mode = None;
      }
    }
  }
  return problems;
}

// Half a unit of the report's third significant digit and of the plot
// file's fourth: the report and the plot file round the same value.
double Tolerance(double reportValue) {
  if (reportValue == 0) return 1e-300;
  const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(reportValue))) + 1 - 3);
  return 0.55 * unit;
}

struct Example {
  const char* name;
  int problems;
  int tiebacks;  // in all problems
};

class ExampleSummary : public ::testing::TestWithParam<Example> {};

TEST_P(ExampleSummary, ExtremesAndTiebackForcesAreTheReportsValues) {
  const Example& e = GetParam();
  test::ScratchDir scratch;
  // The project is opened from a copy: a staged project writes its stage
  // files beside the data file.
  fs::copy_file(kExamples / (std::string(e.name) + ".rv5d"), scratch.path() / "wall.rv5d");
  auto tables = CreateProjectTables();
  TProgramData project(*tables);
  project.OpenProject(scratch.path() / "wall.rv5d");
  TResultGraphs graphs;
  ASSERT_TRUE(graphs.ReadPlotFile(kExamples / "golden" / (std::string(e.name) + ".rv5p"), project));
  const fs::path reportPath = kExamples / "golden" / (std::string(e.name) + ".rv5o");
  const TResultsSummary s = SummarizeRun(project, graphs, reportPath);

  const std::vector<RefProblem> ref = ReadReportTables(test::readTextFile(reportPath));
  ASSERT_EQ(static_cast<int>(ref.size()), e.problems);
  ASSERT_EQ(s.Problems.size(), ref.size());
  EXPECT_TRUE(s.AllClosed());
  EXPECT_EQ(s.Title, project.Title);

  // Report units: inches, pound-inches and pounds in US; the summary's
  // feet, in-kips and kips.
  const bool us = s.Units == 1;
  EXPECT_EQ(s.Units, project.UnitSystem);
  const double depthScale = us ? 12 : 1, forceScale = us ? 1000 : 1;
  int tiebacks = 0;
  for (size_t k = 0; k < ref.size(); ++k) {
    SCOPED_TRACE(s.Problems[k].Name);
    const TProblemSummary& p = s.Problems[k];
    const RefProblem& r = ref[k];
    EXPECT_EQ(p.Outcome, TOutcome::Closed);
    EXPECT_EQ(p.Iterations, r.iterations);
    ASSERT_TRUE(p.HasResults);
    ASSERT_EQ(p.Nodes.size(), r.rows.size());
    EXPECT_NEAR(p.TopDeflection, r.rows[0][2], Tolerance(r.rows[0][2]));

    struct Quantity {
      const TExtreme& extreme;
      size_t column;
      double scale;
    };
    for (const Quantity& q : {Quantity{p.Deflection, 2, 1.0}, Quantity{p.Moment, 4, forceScale},
                              Quantity{p.Shear, 5, forceScale}}) {
      SCOPED_TRACE(q.column);
      ASSERT_TRUE(q.extreme.Valid);
      const std::vector<double>* largest = &r.rows[0];
      for (const auto& row : r.rows)
        if (std::fabs(row[q.column]) > std::fabs((*largest)[q.column])) largest = &row;
      const double expected = (*largest)[q.column];
      EXPECT_NEAR(q.extreme.Value * q.scale, expected, Tolerance(expected));
      // The depth given is a station whose report value is that largest one
      // (rounding may tie neighbouring stations).
      const std::vector<double>* at = nullptr;
      for (const auto& row : r.rows)
        if (std::fabs(row[1] - q.extreme.Depth * depthScale) < 1e-6 * std::max(1.0, row[1])) at = &row;
      ASSERT_NE(at, nullptr) << "no station at depth " << q.extreme.Depth;
      EXPECT_NEAR((*at)[q.column], expected, 2 * Tolerance(expected));
    }

    ASSERT_EQ(p.Tiebacks.size(), r.tiebacks.size());
    for (size_t t = 0; t < r.tiebacks.size(); ++t) {
      EXPECT_EQ(p.Tiebacks[t].Number, static_cast<int>(r.tiebacks[t][0]));
      EXPECT_NEAR(p.Tiebacks[t].Depth * depthScale, r.tiebacks[t][2], 1e-9 * std::fabs(r.tiebacks[t][2]));
      EXPECT_NEAR(p.Tiebacks[t].Force * forceScale, r.tiebacks[t][5], 1e-9 * std::fabs(r.tiebacks[t][5]));
    }
    tiebacks += static_cast<int>(p.Tiebacks.size());
  }
  EXPECT_EQ(tiebacks, e.tiebacks);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleSummary,
                         ::testing::Values(Example{"cantilever", 1, 0}, Example{"tieback", 1, 1},
                                           Example{"long_term", 2, 0}, Example{"three_stages", 3, 2},
                                           Example{"sand_triangular", 1, 0}, Example{"trapezoid_tieback", 1, 1},
                                           Example{"sand_generated", 1, 0}, Example{"soft_clay_generated", 1, 0},
                                           Example{"layered_sand_clay_rock", 1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every bundled example is in the table above.
TEST(ExampleSummary, CoversEveryBundledExample) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kExamples))
    if (entry.path().extension() == ".rv5d") names.push_back(entry.path().stem().string());
  for (const std::string& n : names) {
    bool found = false;
    for (const char* known : {"cantilever", "tieback", "long_term", "three_stages", "sand_triangular",
                              "trapezoid_tieback", "sand_generated", "soft_clay_generated", "layered_sand_clay_rock"})
      found = found || n == known;
    EXPECT_TRUE(found) << n << " has no summary case";
  }
}

TEST(SummaryNames, APlainProblemIsNamedByTheWholeTitle) {
  // The report's heading holds the first 70 characters of the title.
  const std::string title =
      "Cantilever wall in sand over stiff clay over weak rock (SI), earth pressure and p-y curves from the soil layers";
  const std::string text = test::readTextFile(kExamples / "golden" / "layered_sand_clay_rock.rv5o");
  const TResultsSummary s = SummarizeResults(title, ParseReport(text), {}, 2);
  ASSERT_EQ(s.Problems.size(), 1u);
  EXPECT_EQ(s.Problems[0].Name, title);
}

TEST(SummaryNames, StagesAndLongTermAreNamedAsTheGraphsName) {
  const std::string text = test::readTextFile(kExamples / "golden" / "three_stages.rv5o");
  TResultsSummary s = SummarizeResults("t", ParseReport(text), {}, 1);
  ASSERT_EQ(s.Problems.size(), 3u);
  EXPECT_EQ(s.Problems[0].Name, "Stage 1");
  EXPECT_EQ(s.Problems[2].Name, "Stage 3");
  s = SummarizeResults("t", ParseReport(test::readTextFile(kExamples / "golden" / "long_term.rv5o")), {}, 1);
  ASSERT_EQ(s.Problems.size(), 2u);
  EXPECT_EQ(s.Problems[0].Name, "Short-Term");
  EXPECT_EQ(s.Problems[1].Name, "Long-Term");
}

// Without the plot file (or with one of another run) the values come from
// the report itself, converted to the summary's units.
TEST(SummaryFallback, AStalePlotBlockIsNotTakenForTheProblem) {
  const std::string text = test::readTextFile(kExamples / "golden" / "tieback.rv5o");
  TPlotValues stale;
  stale.Nodes.push_back(std::vector<TNodeValues>(3));  // three nodes: not this wall's 61
  const TResultsSummary s = SummarizeResults("t", ParseReport(text), stale, 1);
  ASSERT_EQ(s.Problems.size(), 1u);
  const TProblemSummary& p = s.Problems[0];
  ASSERT_EQ(p.Nodes.size(), 61u);
  EXPECT_DOUBLE_EQ(p.Nodes[60].Depth, 30.0);  // 360 in
  EXPECT_TRUE(p.Moment.Valid);
  EXPECT_NE(p.Moment.Value, 0.0);
}

TEST(SummaryText, TablesCarryUnitsAndEveryProblem) {
  const std::string text = test::readTextFile(kExamples / "golden" / "three_stages.rv5o");
  const TResultsSummary s = SummarizeResults("Three stages", ParseReport(text), {}, 1);
  std::ostringstream out;
  WriteSummary(out, s);
  const std::string t = out.str();
  for (const char* expected : {"Three stages", "Stage 1", "Stage 2", "Stage 3", "in-kips", "kips", "ft",
                               "Force per tieback", "closed"})
    EXPECT_NE(t.find(expected), std::string::npos) << expected << "\n" << t;
  // Stage 2 and 3 each hold one tieback.
  EXPECT_EQ(TiebackTable(s).Rows.size(), 2u);
}

TEST(NumberText, SignificantDigitsWithoutLocale) {
  EXPECT_EQ(NumberText(0.248), "0.248");
  EXPECT_EQ(NumberText(77500), "77500");
  EXPECT_EQ(NumberText(-1.2345678), "-1.235");
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-0.00001), "-1e-05");
  EXPECT_EQ(NumberText(std::nan("")), "-");
}

}  // namespace
}  // namespace ramvex
