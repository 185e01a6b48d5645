#include "soil_profile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "earth_test_util.h"

namespace ramvex {
namespace {

using testing::generatedProblem;
using testing::layer;

struct ProfileCase {
  const char* name;
  std::vector<double> bottoms;  // layer bottoms, m
  double H, dwb;
  std::vector<double> ztops;
  int lh, lw;
};

TEST(SoilProfile, SublayersAtExcavationAndWaterTable) {
  const ProfileCase cases[] = {
      {"water above H inside one layer", {10}, 6, 2, {0, 2, 6}, 2, 1},
      {"water below H", {10}, 4, 7, {0, 4, 7}, 1, 2},
      {"water at a layer boundary", {3, 10}, 6, 3 + 5e-6, {0, 3, 6}, 2, 1},
      {"water at the surface", {10}, 6, 0, {0, 6}, 1, 0},
      {"water table at H", {10}, 6, 6, {0, 6}, 1, 1},
      {"water above the surface", {10}, 6, -1, {0, 6}, 1, -1},
      {"water below the layers", {10}, 6, 50, {0, 6}, 1, -1},
      {"H at a layer boundary", {6, 10}, 6, 50, {0, 6}, 1, -1},
      {"ten layers, both inside", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 5.5, 2.5,
       {0, 1, 2, 2.5, 3, 4, 5, 5.5, 6, 7, 8, 9}, 7, 3},
      {"H at the bottom of the layers", {6}, 6, 50, {0}, -1, -1},
      {"no layers", {}, 6, 50, {}, -1, -1},
      {"layer list ends at a non-increasing bottom", {4, 4, 10}, 2, 50, {0, 2}, 1, -1},
  };
  for (const ProfileCase& c : cases) {
    ProblemInput in = generatedProblem(2, 20, 0.5, c.H);
    in.site.waterDepthBackfill = c.dwb;
    for (double b : c.bottoms) in.layers.push_back(layer(4, b, 19.0, 0.0, 30.0));
    const SoilProfile p = buildSoilProfile(in);
    ASSERT_EQ(p.sublayers.size(), c.ztops.size()) << c.name;
    for (size_t i = 0; i < c.ztops.size(); ++i) {
      EXPECT_NEAR(p.sublayers[i].ztop, c.ztops[i], 1e-5) << c.name << " sublayer " << i;
      EXPECT_GT(p.sublayers[i].thickness, 0.0) << c.name;
    }
    EXPECT_EQ(p.lh, c.lh) << c.name;
    EXPECT_EQ(p.lw, c.lw) << c.name;
    EXPECT_FALSE(p.overflow) << c.name;
  }
}

// The running sum uses total unit weights; the pore pressure below DWb is
// subtracted for every soil type, the undrained clay included.
TEST(SoilProfile, EffectiveOverburden) {
  const double q = 12.0, gw = static_cast<double>(9.81f);
  ProblemInput in = generatedProblem(2, 20, 0.5, 6.0);
  in.singleSurcharge.uniform = q;
  in.site.waterDepthBackfill = 2.0;
  in.layers = {layer(4, 3.0, 19.0, 0.0, 30.0), layer(1, 10.0, 17.0, 25.0, 0.0)};
  const SoilProfile p = buildSoilProfile(in);
  ASSERT_EQ(p.sublayers.size(), 4u);  // 0, 2, 3, 6
  EXPECT_DOUBLE_EQ(p.sublayers[0].sigma, q);
  EXPECT_FALSE(p.sublayers[0].belowWater);
  EXPECT_NEAR(p.sublayers[1].sigma, q + 2 * 19.0, 1e-12);
  EXPECT_NEAR(p.sublayers[2].sigma, q + 3 * 19.0 - 1 * gw, 1e-12);
  EXPECT_NEAR(p.sublayers[3].sigma, q + 3 * 19.0 + 3 * 17.0 - 4 * gw, 1e-12);
  EXPECT_TRUE(p.sublayers[3].belowWater);
  EXPECT_FALSE(p.sublayers[3].drained);
  EXPECT_DOUBLE_EQ(p.sigmaExcavation, p.sublayers[3].sigma);
  EXPECT_DOUBLE_EQ(p.bottom, 10.0);
}

TEST(SoilProfile, WaterUnitWeightIsSinglePrecision) {
  EXPECT_EQ(waterUnitWeight(true), 0.035999998450279236);
  EXPECT_EQ(waterUnitWeight(false), 9.8100004196166992);
  EXPECT_EQ(kDepthTolerance, 9.999999747378752e-06);
}

TEST(SoilProfile, RockHasNoOptionalCoefficient) {
  ProblemInput in = generatedProblem(2, 20, 0.5, 6.0);
  in.layers = {layer(6, 4.0, 24.0, 0.0, 0.0, 0.5), layer(5, 10.0, 19.0, 5.0, 25.0, 0.5)};
  const SoilProfile p = buildSoilProfile(in);
  EXPECT_EQ(p.sublayers[0].optionalK, 0.0);
  EXPECT_TRUE(p.sublayers[0].drained);
  EXPECT_EQ(p.sublayers[1].optionalK, 0.5);
}

}  // namespace
}  // namespace ramvex
