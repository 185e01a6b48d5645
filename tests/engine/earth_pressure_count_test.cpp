// The point count of "BMWALL.001" ends at the bottom of the wall: what the
// main sequence reads back (the loads, the report's echo and the plot
// file's pressure block) never reaches below the wall.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "engine_harness.h"
#include "golden.h"
#include "plot_reader.h"

namespace ramvex::testing {
namespace {

const std::filesystem::path kExamples = std::filesystem::path(RAMVEX_SOURCE_DIR) / "examples";

struct CountCase {
  const char* name;
  const char* layerBottom;  // the sand layer's bottom, inches
  long long fileCount;      // first line of BMWALL.001
  size_t plotted;           // points of the plot file's pressure block
  double lastDepth;         // deepest point read back
};

void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }

class EarthPressureCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(EarthPressureCount, EndsAtTheBottomOfTheWall) {
  const CountCase& c = GetParam();
  // A 360-inch wall (60 increments of 6 in) in one sand layer.
  std::string data = test::readTextFile(kExamples / "sand_triangular.rv5d");
  const size_t at = data.find("4\t600");
  ASSERT_NE(at, std::string::npos);
  data.replace(at, 5, std::string("4\t") + c.layerBottom);

  EngineHarness h;
  EXPECT_EQ(h.run(data), 0);
  const std::string report = h.report();
  EXPECT_EQ(report.find("ERROR"), std::string::npos) << report;
  EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos);

  std::istringstream file(h.read("BMWALL.001"));
  long long count = 0;
  file >> count;
  EXPECT_EQ(count, c.fileCount);

  const std::vector<test::PlotBlock> blocks = test::readPlotData(h.plot());
  ASSERT_EQ(blocks.size(), 1u);
  ASSERT_EQ(blocks[0].earthPressure.size(), c.plotted);
  EXPECT_DOUBLE_EQ(blocks[0].earthPressure.back().depth, c.lastDepth);
}

// Below the wall: one point per inch to 360, printed every 6th: 61.  A
// profile ending above the wall's bottom keeps the count of the whole wall
// but only its own rows are read, every 6th of 301 printed: 51.
INSTANTIATE_TEST_SUITE_P(Sand, EarthPressureCount,
                         ::testing::Values(CountCase{"ProfileBelowTheWall", "600", 361, 61, 360.0},
                                           CountCase{"ProfileEndingAtTheWall", "360", 361, 61, 360.0},
                                           CountCase{"ProfileEndingAboveTheWall", "300", 361, 51, 300.0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ramvex::testing
