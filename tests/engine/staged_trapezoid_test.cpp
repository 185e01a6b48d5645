// An anchored excavation in stages with the trapezoidal option: the
// cantilevered first stage has no tieback yet and takes the triangular
// diagram; the whole job runs to its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "earth_pressure.h"
#include "engine_harness.h"
#include "golden.h"
#include "plot_reader.h"

namespace ramvex::testing {
namespace {

const std::filesystem::path kExamples = std::filesystem::path(RAMVEX_SOURCE_DIR) / "examples";

TEST(StagedTrapezoid, StageWithoutTiebackRunsWithTheTriangularDiagram) {
  // The trapezoid example as stage 2 of 2, and a first stage excavated to
  // 8 ft without its tieback.
  std::string stage2;
  for (char c : test::readTextFile(kExamples / "trapezoid_tieback.rv5d"))
    if (c != '\r') stage2 += c;
  const std::string control = "1\t0\t1\t0\t3\t1\t2\t0\t0\t1";
  ASSERT_NE(stage2.find(control), std::string::npos);
  stage2.replace(stage2.find(control), control.size(), "1\t0\t1\t0\t3\t1\t2\t2\t0\t1");
  stage2 = " Stage No : 2\n" + stage2.substr(stage2.find('\n') + 1);
  std::string stage1 = stage2;
  stage1.replace(0, stage1.find('\n'), "Two-stage anchored wall");
  const std::string staged = "1\t0\t1\t0\t3\t1\t2\t2\t0\t1";
  stage1.replace(stage1.find(staged), staged.size(), "1\t0\t1\t0\t3\t1\t2\t2\t0\t0");  // no tieback yet
  const size_t tieback = stage1.find("5\t1.5\t29000000\t20\t15\t8\t20000\n");
  ASSERT_NE(tieback, std::string::npos);
  stage1.erase(tieback, std::string("5\t1.5\t29000000\t20\t15\t8\t20000\n").size());
  // Continuation records: 1 after stage 1, 2 (the stage count) after stage 2.
  const size_t last = stage1.find_last_not_of("\r\n");
  ASSERT_EQ(stage1[last], '0');
  stage1[last] = '1';
  const size_t last2 = stage2.find_last_not_of("\r\n");
  stage2[last2] = '2';

  EngineHarness h;
  EXPECT_EQ(h.run(stage1 + stage2), 0);
  const std::string report = h.report();
  EXPECT_EQ(report.find("ERROR"), std::string::npos) << report;
  const size_t said = report.find(kNoTiebackInStage);
  ASSERT_NE(said, std::string::npos);
  EXPECT_EQ(said, report.rfind(kNoTiebackInStage));  // stage 1 only
  EXPECT_LT(said, report.find("Stage No :  2"));
  EXPECT_NE(h.notes().find(kNoTiebackInStage), std::string::npos);
  const std::vector<test::PlotBlock> blocks = test::readPlotData(h.plot());
  ASSERT_EQ(blocks.size(), 2u);
  for (const test::PlotBlock& b : blocks) EXPECT_EQ(b.nSets, 2);
}

}  // namespace
}  // namespace ramvex::testing
