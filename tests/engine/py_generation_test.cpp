// The p-y profile, the multipliers, "SOILDATA" and its reading back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "py_generation.h"
#include "py_test_support.h"
#include "run_errors.h"
#include "soil_curves_file.h"

namespace ramvex {
namespace {

using testing::ScratchRun;
using testing::siProblem;
using testing::uniformLayer;

std::string readSource(const std::string& relative) {
  std::ifstream in(std::string(RAMVEX_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// --- profile ------------------------------------------------------------------

TEST(PyProfile, LayerEndingAtExcavationLevelIsSkippedAndLastLayerIsCutBelowTheWall) {
  ProblemInput in = siProblem(3.0, 2.0, 0.5);  // wall 20 m: cut at 20 + 0.4 - 3 = 17.4
  in.layers.push_back(uniformLayer(4, 3.0, 19, 0, 35, 0, 1000));
  in.layers.push_back(uniformLayer(1, 8.0, 18, 20, 0, 0.01, 0));
  SoilLayer deep = uniformLayer(1, 33.0, 17, 30, 0, 0.02, 0);
  deep.bottom[1] = 80;  // cohesion 30 at 8 m, 80 at 33 m
  in.layers.push_back(deep);
  in.layers.push_back(uniformLayer(4, 40.0, 20, 0, 30, 0, 1000));  // below the cut
  const PyProfile p = buildPyProfile(in);

  ASSERT_EQ(p.layers.size(), 2u);
  EXPECT_EQ(p.layers[0].type, 1);
  EXPECT_EQ(p.layers[0].xtop, 0.0);
  EXPECT_EQ(p.layers[0].xbot, 5.0);
  EXPECT_EQ(p.layers[1].xtop, 5.0);
  EXPECT_NEAR(p.layers[1].xbot, 17.4, 1e-12);
  ASSERT_EQ(p.strength.size(), 4u);
  EXPECT_NEAR(p.strength[3].cohesion, 30 + 50 * (17.4 - 5) / 25, 1e-9);
  // The unit-weight table keeps the layer below the cut.
  ASSERT_EQ(p.unitWeights.size(), 6u);
  EXPECT_EQ(p.unitWeights[5].x, 37.0);
  const double xc[10] = {0.01, 1.25, 2.5, 3.75, 4.99, 5.01, 8.1, 11.2, 14.3, 17.39};
  ASSERT_EQ(p.curveDepths.size(), 10u);
  for (int i = 0; i < 10; ++i) EXPECT_NEAR(p.curveDepths[i], xc[i], 1e-9) << i;
  EXPECT_EQ(p.layers[1].firstCurve, 5);
  EXPECT_EQ(p.layers[1].curveCount, 5);
}

struct WaterCase {
  const char* name;
  double waterDepth;
  std::vector<UnitWeightPoint> expected;  // x below the excavation level
};

class PyProfileWater : public ::testing::TestWithParam<WaterCase> {};

// H = 2; layers 18 kN/m3 to 6 m and 20 kN/m3 to 12 m; the wall reaches 20 m,
// so the strength table ends at 10 m below the excavation level.
TEST_P(PyProfileWater, UnitWeightsBelowTheBackfillWaterTableAreReduced) {
  const WaterCase& w = GetParam();
  ProblemInput in = siProblem(2.0, 2.0, 0.5);
  in.layers.push_back(uniformLayer(1, 6.0, 18, 20, 0, 0.01, 0));
  in.layers.push_back(uniformLayer(1, 12.0, 20, 30, 0, 0.01, 0));
  in.site.waterDepthBackfill = w.waterDepth;
  const PyProfile p = buildPyProfile(in);
  ASSERT_EQ(p.unitWeights.size(), w.expected.size());
  for (size_t i = 0; i < w.expected.size(); ++i) {
    EXPECT_NEAR(p.unitWeights[i].x, w.expected[i].x, 1e-12) << i;
    EXPECT_NEAR(p.unitWeights[i].weight, w.expected[i].weight, 1e-9) << i;
  }
}

const double kGw = static_cast<double>(9.81f);
INSTANTIATE_TEST_SUITE_P(
    Cases, PyProfileWater,
    ::testing::Values(
        WaterCase{"AboveExcavation", 1.0, {{0, 18 - kGw}, {4, 18 - kGw}, {4, 20 - kGw}, {10, 20 - kGw}}},
        WaterCase{"InsideFirstLayer", 4.0, {{0, 18}, {2, 18}, {2, 20 - kGw}, {10, 20 - kGw}}},
        WaterCase{"AtLayerBoundary", 6.0, {{0, 18}, {4, 18}, {4, 20 - kGw}, {10, 20 - kGw}}},
        WaterCase{"InsideLastLayer", 9.0, {{0, 18}, {4, 18}, {4, 20}, {7, 20}, {7, 20 - kGw}, {10, 20 - kGw}}},
        WaterCase{"BelowEverything", 50.0, {{0, 18}, {4, 18}, {4, 20}, {10, 20}}}),
    [](const ::testing::TestParamInfo<WaterCase>& info) { return std::string(info.param.name); });

// --- multipliers --------------------------------------------------------------

TEST(PyMultipliers, GroupFactorOfCloselySpacedElementsBelowTheExcavation) {
  struct Case {
    double wa, z, expected;
  } cases[] = {
      {1.0, 5.0, 0.5292 * std::pow(2.0, 0.5659)},  // R = 2: about 0.785
      {1.0, 3.0, 0.5292 * std::pow(2.0, 0.5659)},  // at the excavation level
      {1.0, 2.9, 1.0},                             // above it
      {0.525, 5.0, 1.0},                           // R = 1.05
      {1.6, 5.0, 1.0},                             // R = 3.2
  };
  for (const Case& c : cases) {
    ProblemInput in = siProblem(3.0, c.wa, 0.5);
    const PyProfile p = buildPyProfile(in);
    EXPECT_NEAR(pMultiplier(in, p, c.z), c.expected, 1e-6) << c.wa << " " << c.z;
    EXPECT_EQ(yMultiplier(in, c.z), 1.0);
  }
  EXPECT_NEAR(0.5292 * std::pow(2.0, 0.5659), 0.785, 0.003);
}

TEST(PyMultipliers, ModificationTableInterpolatesAndAStepTakesTheLowerRow) {
  ProblemInput in = siProblem(3.0, 1.0, 0.5);  // R = 2, but the table replaces the group factor
  in.pyModifiers = {{1.0, 1.0, 1.0}, {5.0, 0.5, 0.8}, {5.0, 0.3, 0.6}, {10.0, 0.2, 0.4}};
  const PyProfile p = buildPyProfile(in);
  struct Case {
    double z, pm, ym;
  } cases[] = {{0.5, 1.0, 1.0}, {1.0, 1.0, 1.0}, {3.0, 0.75, 0.9}, {5.0, 0.3, 0.6},
               {7.5, 0.25, 0.5}, {10.0, 0.2, 0.4}, {10.5, 1.0, 1.0}};
  for (const Case& c : cases) {
    EXPECT_NEAR(pMultiplier(in, p, c.z), c.pm, 1e-12) << c.z;
    EXPECT_NEAR(yMultiplier(in, c.z), c.ym, 1e-12) << c.z;
  }
}

TEST(PyMultipliers, GeneratedCurvesCarryTheGroupFactor) {
  ProblemInput in = siProblem(2.0, 1.0, 0.5);  // R = 2
  in.layers.push_back(uniformLayer(1, 10.0, 18, 20, 0, 0.01, 0));
  ScratchRun s;
  generatePyCurves(s.run, in, 0.0);
  const std::string report = s.report();
  size_t count = 0;
  for (size_t at = report.find(" P-Multiplier =  0.783E+00 Y-Multiplier =  0.100E+01"); at != std::string::npos;
       at = report.find(" P-Multiplier =  0.783E+00 Y-Multiplier =  0.100E+01", at + 1))
    ++count;
  EXPECT_EQ(count, 10u);  // five curves, two sides
}

// --- SOILDATA -----------------------------------------------------------------

ProblemInput smallClayProblem() {
  ProblemInput in = siProblem(1.0, 4.0, 1.0);
  in.layers.push_back(uniformLayer(1, 3.0, 10, 10, 0, 0.02, 0));
  UserPyCurve user;
  user.station = 5;
  user.pMultiplier = 2.0;
  user.yMultiplier = 0.5;
  user.y = {0.0, 0.01};
  user.p = {0.0, 10.0};
  in.userCurves.push_back(user);
  in.control.nupy = 1;
  return in;
}

TEST(SoilDataFile, LayoutOfUserAndGeneratedCurves) {
  ScratchRun s;
  generatePyCurves(s.run, smallClayProblem(), 30.0);  // offset b (sigma_H - 2c) = 10
  const std::string text = s.soilData();
  EXPECT_EQ(text, readSource("tests/engine/data/soildata_soft_clay.txt"));
  // Second point of the first curve, worked by hand: y = 8 y50 x 0.00025 with
  // y50 = 2.5 x 0.02 x 1; pu = (3 + 10 x 0.01 / 10 + 0.5 x 0.01) x 10 x 1.
  const double p2 = 0.5 * 30.15 * std::cbrt(1.0e-4 / 0.05);
  EXPECT_NEAR(p2 - 10.0, -8.1007, 1e-4);
  EXPECT_NE(text.find(" 1.01 34\n    1 -1.000E+01  0.000E+00\n    2 -8.101E+00  1.000E-04\n"), std::string::npos);
  EXPECT_NE(text.find("   16  2.015E+01  4.000E-01\n"), std::string::npos);  // 30.15 - 10 at 8 y50
}

TEST(SoilDataFile, ReadBackGivesUserCurvesAndAntisymmetricCurvesThroughTheOffset) {
  for (double sigmaH : {0.0, 30.0}) {
    ProblemInput in = smallClayProblem();
    in.site.freeHeight = 0.0;  // both sides see the same soil
    in.layers[0].bottomDepth = 2.0;
    ScratchRun s;
    const PyGenerationResult generated = generatePyCurves(s.run, in, sigmaH);
    const double delta = generated.curves[0].delta;
    EXPECT_EQ(delta, sigmaH > 0 ? 10.0 : 0.0);
    const std::vector<SoilFileCurve> curves = readSoilCurvesFile(s.run, in);
    ASSERT_EQ(curves.size(), 6u);

    const SoilFileCurve& user = curves[0];
    EXPECT_FALSE(user.generated);
    EXPECT_EQ(user.station, 5);
    EXPECT_EQ(user.interpolate, 0);
    EXPECT_EQ(user.y, (std::vector<double>{0.0, 0.005}));
    EXPECT_EQ(user.pLine, (std::vector<double>{0.0, 20.0}));
    EXPECT_NEAR(user.p[1], 20.0 * 0.2, 1e-12);

    const int stations[5] = {0, 3, 5, 8, 10};  // depths 0.01, 0.5, 1.0, 1.5, 1.99 with h = 0.2
    for (int i = 1; i <= 5; ++i) {
      const SoilFileCurve& c = curves[static_cast<size_t>(i)];
      ASSERT_TRUE(c.generated);
      EXPECT_EQ(c.interpolate, 1);
      EXPECT_EQ(c.station, stations[i - 1]) << c.depth;
      ASSERT_EQ(c.y.size(), 33u);
      ASSERT_EQ(c.pLine.size(), 33u);
      EXPECT_EQ(c.y[16], 0.0);
      EXPECT_NEAR(c.pLine[16], delta, 1e-12);
      for (size_t k = 0; k < 33; ++k) {
        if (k > 0) {
          EXPECT_GE(c.y[k], c.y[k - 1]);
        }
        EXPECT_NEAR(c.p[k], c.pLine[k] * 0.2, 1e-12);
        if (delta == 0) {
          EXPECT_EQ(c.y[k], -c.y[32 - k]) << k;
          EXPECT_EQ(c.pLine[k], -c.pLine[32 - k]) << k;
          if (k < 16) {
            EXPECT_GT(c.pLine[k], 0.0) << k;  // resisting: opposite sign to y
          }
        }
      }
    }
  }
}

TEST(SoilDataFile, MoreThanSixtyThreeCurvesIsTooMuchData) {
  ProblemInput in = siProblem(1.0, 4.0, 1.0);
  for (int i = 1; i <= 10; ++i) in.layers.push_back(uniformLayer(1, 1.0 + i, 18, 20, 0, 0.01, 0));
  UserPyCurve user;
  user.station = 1;
  user.pMultiplier = user.yMultiplier = 1.0;
  user.y = {0.0, 0.01};
  user.p = {0.0, 1.0};
  in.userCurves.assign(14, user);  // 14 + 50 = 64
  ScratchRun s;
  generatePyCurves(s.run, in, 0.0);
  EXPECT_THROW(readSoilCurvesFile(s.run, in), ErrorStop);
  EXPECT_NE(s.report().find("\n\n     TOO MUCH DATA FOR AVAILABLE STORAGE\n\n\n"), std::string::npos);

  in.userCurves.resize(13);  // 63 curves fit
  ScratchRun fits;
  generatePyCurves(fits.run, in, 0.0);
  EXPECT_EQ(readSoilCurvesFile(fits.run, in).size(), 63u);
}

TEST(SoilDataFile, MissingOrDamagedFileIsAnErrorStop) {
  ScratchRun s;
  const ProblemInput in = smallClayProblem();
  EXPECT_THROW(readSoilCurvesFile(s.run, in), ErrorStop);
  generatePyCurves(s.run, in, 0.0);
  std::string text = s.soilData();
  std::ofstream(s.run.workDir + "/SOILDATA", std::ios::binary) << text.substr(0, text.size() / 2);
  EXPECT_THROW(readSoilCurvesFile(s.run, in), ErrorStop);
}

// --- dispatch -----------------------------------------------------------------

TEST(PyDispatch, UnknownCodesAreSoftClayAndEveryTypeCodeGivesCurvesOnBothSides) {
  EXPECT_EQ(pyGeneratorFor(0), pyGeneratorFor(1));
  EXPECT_EQ(pyGeneratorFor(8), pyGeneratorFor(1));
  EXPECT_EQ(pyGeneratorFor(-3), pyGeneratorFor(1));
  // Discrete elements (R = 4) and a continuous wall (R = 1).
  for (double wa : {2.0, 0.5}) {
    for (int type = 1; type <= 7; ++type) {
      // Strength, friction, E50 (krm for weak rock), k (Er), RQD.
      ProblemInput in = siProblem(2.0, wa, 0.5);
      in.layers.push_back(uniformLayer(type, 10.0, 18, 200, 30, 0.005, 20000));
      in.layers.back().top[5] = in.layers.back().bottom[5] = 50;
      ScratchRun s;
      const PyGenerationResult r = generatePyCurves(s.run, in, 0.0);
      const std::string what = "type " + std::to_string(type) + " WA " + std::to_string(wa);
      ASSERT_EQ(r.curves.size(), 5u) << what;
      for (const GeneratedCurve& c : r.curves) {
        // Both halves resist: p grows away from the first point on each side.
        EXPECT_GT(c.yExcavation[16], c.yExcavation[0]) << what;
        EXPECT_GT(c.yBackfill[16], c.yBackfill[0]) << what;
        EXPECT_GT(c.pExcavation[10], c.pExcavation[0]) << what;
        EXPECT_GT(c.pBackfill[10], c.pBackfill[0]) << what;
      }
      const std::string data = s.soilData();
      EXPECT_EQ(data.find("NaN"), std::string::npos) << what;
      EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 1 + 5 * 35) << what;
    }
  }
}

TEST(PyDispatch, ZeroWidthForSoilResistanceIsAnErrorStop) {
  ProblemInput in = siProblem(2.0, 2.0, 0.0);
  in.layers.push_back(uniformLayer(1, 10.0, 18, 20, 0, 0.01, 0));
  ScratchRun s;
  EXPECT_THROW(generatePyCurves(s.run, in, 0.0), ErrorStop);
  EXPECT_NE(s.report().find("WIDTH FOR SOIL RESISTANCE"), std::string::npos);
}

}  // namespace
}  // namespace ramvex
