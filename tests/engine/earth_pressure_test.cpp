#include "earth_pressure.h"

#include <gtest/gtest.h>

#include <cmath>

#include "earth_test_util.h"
#include "run_errors.h"
#include "surcharge.h"

namespace ramvex {
namespace {

using testing::generatedProblem;
using testing::layer;
using testing::rankineKa;
using testing::sameToThreeDigits;

class EarthPressure : public testing::EarthStepFixture {};

// Dry sand, level ground: p = Ka gamma z down to H, constant below, and the
// force above H is Ka gamma H^2 / 2.
TEST_F(EarthPressure, DryCohesionlessBackfill) {
  const double gamma = 120.0 / 1728.0;  // 120 pcf in lb/in^3
  const double phi = 30.0;
  const double H = 120.0;
  ProblemInput in = generatedProblem(1, 40, 6.0, H);
  in.layers = {layer(4, 200.0, gamma, 0.0, phi)};  // ends above the 240 in wall bottom
  runEarthPressureStep(run, in);

  const double ka = rankineKa(phi);
  int count = 0;
  const auto rows = pressureRows(&count);
  // The surface row and one point per inch down to the bottom of the layers;
  // the count runs to the bottom of the wall, past the rows written.
  ASSERT_EQ(count, 241);
  ASSERT_EQ(rows.size(), 201u);
  for (const auto& r : rows) {
    const double z = r[0];
    const double expected = ka * gamma * std::min(z, H);
    if (z == 0.0) {
      EXPECT_EQ(r[1], 0.0);
      continue;
    }
    EXPECT_TRUE(sameToThreeDigits(r[1], expected)) << "z = " << z;
    EXPECT_EQ(r[2], r[1]);
    EXPECT_EQ(r[3], 0.0);
  }

  // The force above H from the file's points (trapezoidal rule) and from
  // the sublayer forces.
  double force = 0.0;
  for (size_t i = 1; i < rows.size() && rows[i][0] <= H; ++i)
    force += 0.5 * (rows[i - 1][1] + rows[i][1]) * (rows[i][0] - rows[i - 1][0]);
  const double closedForm = 0.5 * ka * gamma * H * H;
  EXPECT_NEAR(force, closedForm, 2e-3 * closedForm);

  SoilProfile profile = buildSoilProfile(in);
  computeCoefficients(profile, 0.0);
  const double total = computeForces(profile, {});
  EXPECT_NEAR(total, closedForm, 1e-5 * closedForm);
  EXPECT_NEAR(profile.sublayers[0].z2, 80.0, 1e-12);

  const std::string report = read("report.txt");
  EXPECT_EQ(report.find("Net active pressure is negative."), std::string::npos);
  EXPECT_EQ(report.find("ACTIVE WATER PRESSURE"), std::string::npos);
}

// Water table inside a sand layer above H (SI): below it the pressure grows
// by Ka gamma' + gamma_w per metre from its value at the water table.
TEST_F(EarthPressure, WaterTableInsideSandLayer) {
  const double gamma = 19.0, phi = 32.0, gw = 9.81;
  const double H = 6.0, dwb = 2.0;
  ProblemInput in = generatedProblem(2, 20, 0.5, H);
  in.site.waterDepthBackfill = dwb;
  in.layers = {layer(4, 12.0, gamma, 0.0, phi)};

  const SoilProfile profile = buildSoilProfile(in);
  ASSERT_EQ(profile.sublayers.size(), 3u);
  EXPECT_EQ(profile.lw, 1);
  EXPECT_EQ(profile.lh, 2);
  EXPECT_NEAR(profile.sublayers[2].sigma, gamma * 2.0 + (gamma - gw) * 4.0, 1e-5);  // 74.76 kPa
  EXPECT_NEAR(profile.sigmaExcavation, 74.76, 1e-5);

  runEarthPressureStep(run, in);
  const double ka = rankineKa(phi);
  const double atWaterTable = ka * gamma * dwb;
  const auto rows = pressureRows();
  int checked = 0;
  for (const auto& r : rows) {
    const double z = r[0];
    for (double target : {1.0, 2.0, 3.0, 4.5, 6.0}) {
      if (std::fabs(z - target) > 1e-9) continue;
      const double expected = z <= dwb ? ka * gamma * z : atWaterTable + (ka * (gamma - gw) + gw) * (z - dwb);
      EXPECT_TRUE(sameToThreeDigits(r[1], expected)) << "z = " << z;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 5);

  // Water forces: the sublayer starting at the water table carries only the
  // triangular part, gamma_w t^2 / 2 = 78.48 kN/m.
  const std::string report = read("report.txt");
  EXPECT_NE(report.find("ACTIVE WATER PRESSURE OF EACH LAYER"), std::string::npos);
  EXPECT_NE(report.find("       2       0.00   4.00      78.48   4.67"), std::string::npos) << report;
}

// Water in the excavation above H pushes back on the wall; at H the value
// of the point above is kept.
TEST_F(EarthPressure, ExcavationSideWaterReducesPressure) {
  const double gamma = 19.0, phi = 32.0, gw = 9.81;
  ProblemInput dry = generatedProblem(2, 20, 0.5, 6.0);
  dry.site.waterDepthBackfill = 2.0;
  dry.layers = {layer(4, 12.0, gamma, 0.0, phi)};
  ProblemInput wet = dry;
  wet.site.waterDepthExcavation = 4.0;

  SoilProfile a = buildSoilProfile(dry), b = buildSoilProfile(wet);
  computeCoefficients(a, 0.0);
  computeCoefficients(b, 0.0);
  const auto pa = computeDistribution(a, {}, 10.0, run.report).points;
  const auto pb = computeDistribution(b, {}, 10.0, run.report).points;
  ASSERT_EQ(pa.size(), pb.size());
  for (size_t i = 0; i < pa.size(); ++i) {
    const double z = pa[i].depth;
    double w = 0.0;
    if (z > 4.0 && z < 6.0 - 1e-9) w = (z - 4.0) * gw;
    if (std::fabs(z - 6.0) < 1e-9) w = (5.95 - 4.0) * gw;
    EXPECT_NEAR(pa[i].total - pb[i].total, w, 1e-4) << "z = " << z;
  }
}

// Clay with a tension crack: zero pressure (the small clamp value) down to
// 2c/(gamma sqrt(Ka)), then the wedge force PA4.
TEST_F(EarthPressure, CohesiveLayerTensionZone) {
  const double gamma = 18.0, c = 20.0, H = 5.0;
  ProblemInput in = generatedProblem(2, 20, 0.5, H);
  in.layers = {layer(1, 10.0, gamma, c, 0.0)};
  runEarthPressureStep(run, in);

  const double ka = rankineKa(0.0);  // 1 for phi = 0
  const double zc = 2.0 * c / (gamma * std::sqrt(ka));
  const auto rows = pressureRows();
  for (size_t k = 1; k < rows.size(); ++k) {
    const double z = rows[k][0];
    if (z > H) break;
    if (z < zc - 1e-6) {
      // Point number k + 1 carries (k + 1) x 1.0E-12.
      EXPECT_TRUE(sameToThreeDigits(rows[k][1], static_cast<double>(k + 1) * 1e-12)) << "z = " << z;
    } else {
      EXPECT_TRUE(sameToThreeDigits(rows[k][1], gamma * ka * z - 2.0 * c * std::sqrt(ka))) << "z = " << z;
    }
  }

  SoilProfile profile = buildSoilProfile(in);
  computeCoefficients(profile, 0.0);
  computeForces(profile, {});
  const Sublayer& s = profile.sublayers[0];
  EXPECT_EQ(s.pa1, 0.0);
  EXPECT_EQ(s.pa2, 0.0);
  EXPECT_EQ(s.pa3, 0.0);
  const double wedge = 0.5 * (H - zc) * (gamma * H * ka - 2.0 * c * std::sqrt(ka));
  EXPECT_NEAR(s.pa4, wedge, 1e-3);  // 69.44 kN/m
  EXPECT_NEAR(s.z3, H - (H - zc) / 3.0, 1e-6);
}

TEST_F(EarthPressure, ClayInTensionOverWholeSublayerHasNoForce) {
  ProblemInput in = generatedProblem(2, 20, 0.5, 2.0);
  in.layers = {layer(1, 10.0, 18.0, 40.0, 0.0)};
  runEarthPressureStep(run, in);
  const std::string report = read("report.txt");
  EXPECT_NE(report.find("       1       0.00   1.00       0.00   1.33       0.00"), std::string::npos);
  EXPECT_NE(report.find("\n     Net active pressure is negative."), std::string::npos);
}

struct CoefficientCase {
  double phi, beta, optional;
  double ka, kaReported, sqrtKa;
  bool warning;
};

// Sloping backfill, slope not below phi, and an optional coefficient.
TEST(EarthPressureCoefficients, RankineSlopeAndOptionalCoefficient) {
  auto sloping = [](double phi, double beta) {
    const double cb = std::cos(beta * M_PI / 180), cf = std::cos(phi * M_PI / 180);
    const double r = std::sqrt(cb * cb - cf * cf);
    return cb * (cb - r) / (cb + r);
  };
  const CoefficientCase cases[] = {
      {30, 0, 0, rankineKa(30), rankineKa(30), std::sqrt(rankineKa(30)), false},
      {30, 20, 0, sloping(30, 20), sloping(30, 20), std::sqrt(sloping(30, 20)), false},
      {30, -20, 0, sloping(30, 20), sloping(30, 20), std::sqrt(sloping(30, 20)), false},
      {30, 30, 0, rankineKa(30), rankineKa(30), std::sqrt(rankineKa(30)), true},
      {0, 10, 0.35, 0.35, rankineKa(0), 0.0, true},
  };
  for (const CoefficientCase& c : cases) {
    SoilProfile p;
    p.lh = 1;
    Sublayer s;
    s.phi = c.phi;
    s.optionalK = c.optional;
    p.sublayers = {s, s};
    computeCoefficients(p, c.beta);
    const Sublayer& r = p.sublayers[0];
    EXPECT_NEAR(r.ka, c.ka, 1e-5) << c.phi << " " << c.beta;
    EXPECT_NEAR(r.kaReported, c.kaReported, 1e-5) << c.phi << " " << c.beta;
    EXPECT_NEAR(r.sqrtKa, c.sqrtKa, 1e-5);
    EXPECT_NEAR(r.kp, 1.0 / rankineKa(c.phi), 1e-4);
    EXPECT_EQ(r.slopeWarning, c.warning);
    EXPECT_FALSE(p.sublayers[1].slopeWarning);  // at or below the excavation level
  }
  EXPECT_NEAR(sloping(30, 20), 0.4142, 1e-4);
}

TEST_F(EarthPressure, SlopeWarningGoesToNotesAndReport) {
  ProblemInput in = generatedProblem(2, 20, 0.5, 4.0);
  in.site.backfillSlope = 35.0;
  in.layers = {layer(4, 10.0, 19.0, 0.0, 30.0)};
  runEarthPressureStep(run, in);
  const std::string warning =
      "\n**** WARNING ******\nTHE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.\n";
  EXPECT_EQ(read("notes.txt"), warning);
  EXPECT_NE(read("report.txt").find(warning), std::string::npos);
}

// The intermediate file, whole: surface row, uniform surcharge split off the
// soil part, pressures constant below H.
TEST_F(EarthPressure, FileLayout) {
  ProblemInput in = generatedProblem(2, 2, 0.1, 0.1);
  in.singleSurcharge.uniform = 10.0;
  in.layers = {layer(4, 0.2, 20.0, 0.0, 30.0)};
  runEarthPressureStep(run, in);
  EXPECT_EQ(read("BMWALL.001"),
            "           5\n"
            "      0.000E+00     0.333E+01     0.000E+00     0.333E+01\n"
            "      0.500E-01     0.367E+01     0.333E+00     0.333E+01\n"
            "      0.100E+00     0.400E+01     0.667E+00     0.333E+01\n"
            "      0.150E+00     0.400E+01     0.667E+00     0.333E+01\n"
            "      0.200E+00     0.400E+01     0.667E+00     0.333E+01\n");
}

// Read back: the rounded values of the file, times WA down to H and WP
// below it.
TEST_F(EarthPressure, ReadBackUsesRoundedValuesAndWidths) {
  ProblemInput in = generatedProblem(2, 2, 0.1, 0.1);
  in.singleSurcharge.uniform = 10.0;
  in.site.wa = 2.0;
  in.site.wp = 3.0;
  in.layers = {layer(4, 0.2, 20.0, 0.0, 30.0)};
  runEarthPressureStep(run, in);
  const EarthPressureTable t = readEarthPressureFile(run, in);
  ASSERT_EQ(t.size(), 5u);
  EXPECT_DOUBLE_EQ(t[1].total, 3.67 * 2.0);
  EXPECT_DOUBLE_EQ(t[1].soil, 0.333 * 2.0);
  EXPECT_DOUBLE_EQ(t[2].total, 4.0 * 2.0);  // at H: still WA
  EXPECT_DOUBLE_EQ(t[3].total, 4.0 * 3.0);
  EXPECT_DOUBLE_EQ(t[4].surcharge, 3.33 * 3.0);
  EXPECT_DOUBLE_EQ(t[4].depth, 0.2);
}

TEST_F(EarthPressure, ReadBackOfMissingOrShortFile) {
  ProblemInput in = generatedProblem(2, 2, 0.1, 0.1);
  EXPECT_THROW(readEarthPressureFile(run, in), ErrorStop);
  {
    std::ofstream f(run.workDir + "/BMWALL.001");
    f << "           3\n      0.000E+00     0.100E+01     0.100E+01     0.000E+00\n"
         "      0.500E-01     0.200+100     0.100E+01     0.000E+00\n";
  }
  const EarthPressureTable t = readEarthPressureFile(run, in);
  ASSERT_EQ(t.size(), 2u);  // a count beyond the rows present reads what is there
  EXPECT_DOUBLE_EQ(t[1].total, 0.2e100);
  {
    std::ofstream f(run.workDir + "/BMWALL.001");
    f << "2\n 0.0 ********** 1.0 0.0\n";
  }
  EXPECT_THROW(readEarthPressureFile(run, in), ErrorStop);
  EXPECT_NE(read("report.txt").find("     ERROR STOP -- EARTH PRESSURE FILE BMWALL.001 CANNOT BE READ"),
            std::string::npos);
}

double diagramArea(const PressureDistribution& d) {
  double area = 0.0;
  for (int k = 1; k <= d.lastAboveExcavation; ++k)
    area += 0.5 * (d.points[k - 1].total + d.points[k].total) * (d.points[k].depth - d.points[k - 1].depth);
  return area;
}

// The apparent-pressure diagram: 0 at the top, pmax from 2T1/3 down to
// H - r2, 0 at H, and an area of 1.3 times the active force.
TEST_F(EarthPressure, TrapezoidalDiagram) {
  const double H = 240.0;  // 20 ft
  const std::vector<std::vector<double>> supportSets = {{6.0}, {4.0, 14.0}, {14.0, 4.0, 9.0}};
  for (const auto& supports : supportSets) {
    ProblemInput in = generatedProblem(1, 60, 6.0, H);
    in.layers = {layer(4, 400.0, 120.0 / 1728.0, 0.0, 30.0)};
    for (double d : supports) {
      TiebackRow t;
      t.depth = d;
      in.tiebacks.push_back(t);
    }
    SoilProfile p = buildSoilProfile(in);
    computeCoefficients(p, 0.0);
    PressureDistribution d = computeDistribution(p, {}, 360.0, run.report);
    const double active = d.total;
    EXPECT_NEAR(active, 0.5 * rankineKa(30) * 120.0 / 1728.0 * H * H, 0.01 * active);
    applyTrapezoid(d, H, supportDepths(in), run.report);
    EXPECT_NEAR(diagramArea(d), 1.3 * active, 1e-3 * active);

    const double t1 = 12.0 * *std::min_element(supports.begin(), supports.end());
    const double tn = 12.0 * *std::max_element(supports.begin(), supports.end());
    const double r1 = 2.0 * t1 / 3.0;
    const double r2 = 2.0 * (H - (supports.size() == 1 ? t1 : tn)) / 3.0;
    const double pmax = 1.3 * active / (H - r1 / 2.0 - r2 / 2.0);
    if (supports.size() == 1) {
      EXPECT_NEAR(pmax, 1.3 * active * 3.0 / (2.0 * H), 1e-9 * pmax);
    }
    for (int k = 1; k <= d.lastAboveExcavation; ++k) {
      const double z = d.points[k].depth;
      double expected = pmax;
      if (z < r1) expected = pmax * z / r1;
      if (z > H - r2) expected = pmax * (H - z) / r2;
      EXPECT_NEAR(d.points[k].total, expected, 1e-6 * pmax) << "z = " << z;
    }
    EXPECT_NEAR(d.points[static_cast<size_t>(d.lastAboveExcavation)].depth, H, 1e-9);
  }
}

// The cantilevered first stage of an anchored excavation has no tieback
// yet: it takes the triangular diagram, says so, and the job goes on.
TEST_F(EarthPressure, StageWithoutTiebackUsesTheTriangularDiagram) {
  ProblemInput in = generatedProblem(2, 20, 0.5, 5.0);
  in.layers = {layer(4, 12.0, 19.0, 0.0, 30.0)};
  in.control.earthPressureOption = 2;
  runEarthPressureStep(run, in);
  const std::vector<std::array<double, 4>> triangular = pressureRows();

  in.control.earthPressureOption = 3;
  in.control.nstage = 3;
  EXPECT_NO_THROW(runEarthPressureStep(run, in));
  EXPECT_EQ(pressureRows(), triangular);
  const std::string said = std::string("\n") + kNoTiebackInStage + "\n";
  EXPECT_NE(read("report.txt").find(said), std::string::npos);
  EXPECT_NE(read("notes.txt").find(said), std::string::npos);
}

TEST_F(EarthPressure, TrapezoidWithoutSupportEndsRun) {
  ProblemInput in = generatedProblem(2, 20, 0.5, 5.0);
  in.control.earthPressureOption = 3;
  in.layers = {layer(4, 12.0, 19.0, 0.0, 30.0)};
  EXPECT_THROW(runEarthPressureStep(run, in), ErrorStop);
  EXPECT_NE(read("report.txt").find("\n\n     ERROR STOP -- TRAPEZOIDAL EARTH PRESSURE NEEDS AT LEAST ONE TIEBACK\n"),
            std::string::npos);
}

TEST_F(EarthPressure, ExcavationBelowLayersStopsWithCode1) {
  ProblemInput in = generatedProblem(2, 20, 0.5, 5.0);
  in.layers = {layer(4, 5.0, 19.0, 0.0, 30.0)};  // layers end at H
  try {
    runEarthPressureStep(run, in);
    FAIL() << "no stop";
  } catch (const SoilModelStop& stop) {
    EXPECT_EQ(stop.code, 1);
  }
  const std::string report = read("report.txt");
  EXPECT_NE(report.find("SOIL INFORMATION"), std::string::npos);  // echo comes first
  EXPECT_NE(report.find("     STOP 1 -- THE EXCAVATION LEVEL IS NOT WITHIN THE SOIL LAYERS"), std::string::npos);
}

TEST_F(EarthPressure, AbsurdPointCountEndsRunInOrder) {
  ProblemInput in = generatedProblem(1, 20, 0.5, 5.0);
  in.layers = {layer(4, 1.0e9, 0.07, 0.0, 30.0)};
  EXPECT_THROW(runEarthPressureStep(run, in), ErrorStop);
  in.layers = {layer(4, 10.0, std::nan(""), 0.0, 30.0)};
  runEarthPressureStep(run, in);  // a NaN weight gives NaN pressures, not a crash
  in.layers = {layer(4, 10.0, 19.0, 0.0, 30.0)};
  run.workDir = run.workDir + "/missing-folder";
  EXPECT_THROW(runEarthPressureStep(run, in), ErrorStop);
  EXPECT_NE(read("report.txt").find("     ERROR STOP -- FILE BMWALL.001 CANNOT BE WRITTEN"), std::string::npos);
}

}  // namespace
}  // namespace ramvex

namespace ramvex {
namespace {

// The report blocks of a layered SI problem: sand over clay, water table in
// the sand above H, uniform, strip and line surcharges.
TEST_F(EarthPressure, ReportBlocksMatchGolden) {
  ProblemInput in = generatedProblem(2, 16, 0.25, 3.0);
  in.site.wp = 1.5;
  in.site.waterDepthBackfill = 1.0;
  in.site.waterDepthExcavation = 10.0;
  in.singleSurcharge.uniform = 10.0;
  in.surcharges = {{3, 20.0, 2.0, 1.0}, {2, 15.0, 0.5, 0.0}};
  in.layers = {layer(4, 2.0, 18.0, 0.0, 30.0), layer(1, 6.0, 17.0, 25.0, 0.0)};
  runEarthPressureStep(run, in);
  std::ifstream golden(std::string(RAMVEX_SOURCE_DIR) + "/tests/engine/golden/earth_pressure_step_si.txt",
                       std::ios::binary);
  std::stringstream expected;
  expected << golden.rdbuf();
  ASSERT_FALSE(expected.str().empty());
  EXPECT_EQ(read("report.txt"), expected.str());
}

}  // namespace
}  // namespace ramvex
