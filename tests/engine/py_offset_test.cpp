// The offset of generated p-y curves is the active pressure at the
// excavation level, which only a generated earth pressure puts on the wall:
// without it the curves start from zero resistance.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "engine_harness.h"
#include "golden.h"
#include "plot_reader.h"

namespace ramvex::testing {
namespace {

const std::filesystem::path kExamples = std::filesystem::path(RAMVEX_SOURCE_DIR) / "examples";

// The resistance at zero deflection of every generated curve: the middle
// point of the 33 the main sequence assembles.
std::vector<double> offsets(const std::string& data) {
  EngineHarness h;
  h.run(data);
  EXPECT_EQ(h.report().find("ERROR"), std::string::npos) << h.report();
  std::vector<double> result;
  const std::vector<test::PlotBlock> blocks = test::readPlotData(h.plot());
  if (blocks.size() != 1) {
    ADD_FAILURE() << "one block expected";
    return result;
  }
  for (const test::PlotCurve& c : blocks[0].curves) {
    for (const auto& [y, p] : c.points)
      if (y == 0.0) result.push_back(p);
  }
  EXPECT_FALSE(result.empty());
  return result;
}

std::string withEarthPressure(const std::string& option, const std::string& userTable = "") {
  std::string data = test::readTextFile(kExamples / "sand_generated.rv5d");
  const std::string control = "1\t0\t1\t0\t2\t2\t0\t0\t0\t0";
  const size_t at = data.find(control);
  EXPECT_NE(at, std::string::npos);
  data.replace(at, control.size(), "1\t0\t1\t0\t" + option + "\t2\t0\t0\t0\t0");
  if (!userTable.empty()) {
    // The user table comes before the site records.
    const size_t site = data.find("144\t12\t12\t1000");
    EXPECT_NE(site, std::string::npos);
    data.insert(site, userTable);
  }
  return data;
}

TEST(PyOffset, GeneratedEarthPressureShiftsTheCurvesBySigmaKaB) {
  // Sand: Delta = sigma_H Ka b at H = 144 in, with the unit weight 0.0694.
  const double ka = std::pow(std::tan((45.0 - 16.0) / 57.2958), 2.0);
  const double expected = 0.0694 * 144.0 * ka * 12.0;
  for (double p : offsets(withEarthPressure("2"))) EXPECT_NEAR(p, expected, 0.002 * expected);
}

TEST(PyOffset, WithoutGeneratedEarthPressureTheCurvesAreNotShifted) {
  for (double p : offsets(withEarthPressure("0"))) EXPECT_EQ(p, 0.0);
  // A user table reaching below the excavation level already carries the
  // active pressure there; the curves must not count it again.
  for (double p : offsets(withEarthPressure("1", "3\n0\t0\n144\t80\n360\t80\n"))) EXPECT_EQ(p, 0.0);
}

}  // namespace
}  // namespace ramvex::testing
