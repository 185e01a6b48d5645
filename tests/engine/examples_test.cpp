// The bundled examples against their reference outputs.  The engine runs
// each example in a scratch folder with relative names, so the references
// do not depend on where the tests run; only the date and time line is
// masked.  After an intended change of the output, regenerate with
//   RAMVEX_UPDATE_GOLDEN=1 ctest --test-dir build -R Examples
// and review every changed line of examples/golden/ before committing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "engine_harness.h"
#include "golden.h"
#include "plot_reader.h"

namespace ramvex::testing {
namespace {

const std::filesystem::path kExamples = std::filesystem::path(RAMVEX_SOURCE_DIR) / "examples";

struct Example {
  const char* name;
  int problems;   // result blocks expected in the plot file
  int nSets;      // the count that heads each block
  int curves;     // p-y curves per block
  int tiebacks;   // tieback results per problem (0 or more)
};

void PrintTo(const Example& e, std::ostream* os) { *os << e.name; }

class Examples : public ::testing::TestWithParam<Example> {};

TEST_P(Examples, MatchTheirReferenceOutputs) {
  const Example& e = GetParam();
  EngineHarness h;
  ASSERT_EQ(h.run(test::readTextFile(kExamples / (std::string(e.name) + ".rv5d"))), 0);
  const std::filesystem::path golden = kExamples / "golden" / e.name;
  EXPECT_TRUE(test::matchesGolden(h.report(), golden.string() + ".rv5o"));
  EXPECT_TRUE(test::matchesGolden(h.plot(), golden.string() + ".rv5p"));
  EXPECT_TRUE(test::matchesGolden(h.notes(), golden.string() + ".rv5r"));
}

TEST_P(Examples, PlotFileReadsBackWithTheCountsOfTheLayout) {
  const Example& e = GetParam();
  EngineHarness h;
  h.run(test::readTextFile(kExamples / (std::string(e.name) + ".rv5d")));
  const std::vector<test::PlotBlock> blocks = test::readPlotData(h.plot());
  ASSERT_EQ(static_cast<int>(blocks.size()), e.problems);
  for (const test::PlotBlock& b : blocks) {
    EXPECT_EQ(b.nSets, e.nSets);
    EXPECT_EQ(b.nodeUnits, b.units);
    EXPECT_EQ(static_cast<int>(b.curves.size()), e.curves);
    ASSERT_EQ(b.nodes.size(), 61u);
    EXPECT_DOUBLE_EQ(b.nodes.back().depth, b.units == 1 ? 360.0 : 12.0);
    EXPECT_FALSE(b.earthPressure.empty());
  }
  const std::string report = h.report();
  size_t results = 0;
  for (size_t at = report.find("RESULTS -- ITERATION"); at != std::string::npos;
       at = report.find("RESULTS -- ITERATION", at + 1))
    ++results;
  EXPECT_EQ(static_cast<int>(results), e.problems);
  EXPECT_EQ(report.find("ERROR"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Bundled, Examples,
                         ::testing::Values(Example{"cantilever", 1, 1, 4, 0}, Example{"tieback", 1, 1, 4, 1},
                                           Example{"long_term", 2, 2, 5, 0},
                                           Example{"sand_triangular", 1, 1, 2, 0},
                                           Example{"trapezoid_tieback", 1, 1, 2, 1},
                                           Example{"sand_generated", 1, 1, 5, 0},
                                           Example{"soft_clay_generated", 1, 1, 5, 0},
                                           Example{"layered_sand_clay_rock", 1, 1, 15, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// The wall in dry sand: the plotted pressure follows Ka gamma z times WA
// down to the excavation level and keeps that value below it.
TEST(SandExample, EarthPressureFollowsTheRankineDiagram) {
  EngineHarness h;
  h.run(test::readTextFile(kExamples / "sand_triangular.rv5d"));
  const std::vector<test::PlotBlock> blocks = test::readPlotData(h.plot());
  ASSERT_EQ(blocks.size(), 1u);
  const double pi = 3.14159265358979323846;
  const double ka = std::pow(std::tan((45.0 - 32.0 / 2.0) * pi / 180.0), 2.0);
  const double gamma = 0.0694, wa = 12.0, freeHeight = 180.0;
  ASSERT_GT(blocks[0].earthPressure.size(), 30u);
  for (const EarthPressurePoint& p : blocks[0].earthPressure) {
    const double expected = ka * gamma * std::min(p.depth, freeHeight) * wa;
    // The pressure passes through a three-digit field, then the line load
    // through another.
    EXPECT_NEAR(p.total, expected, 0.011 * expected + 1e-9) << "depth " << p.depth;
    EXPECT_NEAR(p.soil, std::max(expected, 1e-7), 0.011 * expected + 1e-9) << "depth " << p.depth;
  }
}

// The staged example: each stage is a problem of its own, so stage 2 run
// alone gives the numbers it has inside the staged job.
TEST(StagedExample, StageTwoAloneGivesTheSameNumbers) {
  const std::string data = test::readTextFile(kExamples / "three_stages.rv5d");
  EngineHarness h;
  h.run(data);
  const std::vector<test::PlotBlock> staged = test::readPlotData(h.plot());
  ASSERT_EQ(staged.size(), 3u);
  for (const test::PlotBlock& b : staged) EXPECT_EQ(b.nSets, 3);
  EXPECT_TRUE(test::matchesGolden(h.report(), (kExamples / "golden" / "three_stages.rv5o").string()));
  EXPECT_TRUE(test::matchesGolden(h.plot(), (kExamples / "golden" / "three_stages.rv5p").string()));

  // Stage 2 is the text between the first and the second stage's
  // continuation records; alone, its continuation must end the job.
  const size_t start = data.find(" Stage No : 2");
  const size_t end = data.find(" Stage No : 3");
  ASSERT_NE(start, std::string::npos);
  std::string stage2 = data.substr(start, end - start);
  const size_t lastLine = stage2.rfind("2\r\n");
  ASSERT_EQ(lastLine, stage2.size() - 3);
  stage2.replace(lastLine, 1, "3");
  EngineHarness alone;
  alone.run(stage2);
  const std::vector<test::PlotBlock> single = test::readPlotData(alone.plot());
  ASSERT_EQ(single.size(), 1u);
  ASSERT_EQ(single[0].nodes.size(), staged[1].nodes.size());
  for (size_t i = 0; i < single[0].nodes.size(); ++i) {
    EXPECT_EQ(single[0].nodes[i].deflection, staged[1].nodes[i].deflection) << i;
    EXPECT_EQ(single[0].nodes[i].moment, staged[1].nodes[i].moment) << i;
  }
}

}  // namespace
}  // namespace ramvex::testing
