// Silt, strong rock and weak rock curves against their criteria written out
// here, their stops on missing strength, and the point-line layouts of
// "SOILDATA" per model.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <regex>
#include <sstream>
#include <string>

#include "py_generation.h"
#include "py_rock.h"
#include "py_silt.h"
#include "py_test_support.h"
#include "run_errors.h"

namespace ramvex {
namespace {

using testing::ScratchRun;
using testing::siProblem;
using testing::uniformLayer;

void expectClose(double actual, double expected, double tolerance, const std::string& what) {
  EXPECT_NEAR(actual, expected, tolerance * std::max(1.0, std::fabs(expected))) << what;
}

// --- silt: the three curve shapes -----------------------------------------------

struct SiltShapeCase {
  const char* name;
  double pu, pm, kx;
  int shape;
};

void PrintTo(const SiltShapeCase& c, std::ostream* os) { *os << c.name; }

class SiltShapes : public ::testing::TestWithParam<SiltShapeCase> {};

// b = 1: ym = 1/60, yu = 3/80.
TEST_P(SiltShapes, DeflectionsAndResistanceOfTheShapeWhereTheInitialLineMeetsTheCurve) {
  const SiltShapeCase& c = GetParam();
  const double b = 1, ym = b / 60, yu = 3 * b / 80, x = 2;
  const SiltCurve curve = siltCurve(c.pu, c.pm, b, c.kx, x);
  ASSERT_EQ(curve.shape, c.shape);

  const double m = (c.pu - c.pm) / (yu - ym);
  double y[17], p[17];
  if (c.shape == 1) {
    // The initial line meets the parabola C y^(1/n) before ym.
    const double n = c.pm / (std::fabs(m) * ym);
    const double cc = c.pm / std::pow(ym, 1 / n);
    const double yk = std::pow(cc / c.kx, n / (n - 1));
    ASSERT_LT(yk, ym / 5);
    const double yb = yk;
    const double ys[17] = {0, yb / 2, yb, 0, 0, 0, 0, 0, 0, 0, 0, 0, ym, (2 * ym + yu) / 3, (ym + 2 * yu) / 3, yu, 1.2 * yu};
    std::copy(ys, ys + 17, y);
    for (int i = 1; i <= 9; ++i) y[2 + i] = yb + (ym - yb) * i / 10;
    for (int j = 0; j < 17; ++j) {
      const double v = y[j] <= yk ? c.kx * y[j] : y[j] <= ym ? cc * std::pow(y[j], 1 / n) : y[j] <= yu ? c.pm + m * (y[j] - ym) : c.pu;
      p[j] = std::min(v, c.kx * y[j]);
    }
    EXPECT_NEAR(p[12], c.pm, 1e-9 * c.pm);
  } else if (c.shape == 2) {
    // The initial line meets the straight part between ym and yu.
    const double y1 = (c.pm - m * ym) / (c.kx - m);
    ASSERT_GE(y1, ym);
    ASSERT_LT(y1, yu);
    const double eighths[8] = {0, 1, 2, 3, 4, 5, 7, 8};
    for (int j = 0; j < 8; ++j) y[j] = y1 * eighths[j] / 8;
    y[8] = y1;
    for (int i = 1; i <= 5; ++i) y[8 + i] = y1 + (yu - y1) * i / 6;
    y[14] = yu;
    y[15] = 1.1 * yu;
    y[16] = 1.2 * yu;
    for (int j = 0; j < 17; ++j)
      p[j] = y[j] <= y1 ? c.kx * y[j] : y[j] <= yu * (1 + 1e-12) ? c.kx * y1 + m * (y[j] - y1) : c.pu;
    EXPECT_EQ(curve.y[7], curve.y[8]);  // y1 twice, no point at 6/8 of it
  } else {
    // The initial line runs up to pu beyond yu.
    const double y2 = c.pu / c.kx;
    ASSERT_GE(y2, yu);
    for (int j = 0; j < 12; ++j) y[j] = y2 * j / 12;
    const double tail[5] = {1, 1.05, 1.1, 1.15, 1.2};
    for (int j = 0; j < 5; ++j) y[12 + j] = tail[j] * y2;
    for (int j = 0; j < 17; ++j) p[j] = y[j] <= y2 ? c.kx * y[j] : c.pu;
  }
  for (int j = 0; j < 17; ++j) {
    expectClose(curve.y[j], y[j], 1e-12, "y " + std::to_string(j + 1));
    expectClose(curve.p[j], p[j], 1e-9, "p " + std::to_string(j + 1));
  }
  EXPECT_NEAR(curve.p[16], c.pu, 1e-9 * c.pu);
}

INSTANTIATE_TEST_SUITE_P(
    Silt, SiltShapes,
    ::testing::Values(SiltShapeCase{"StiffLineMeetsTheParabola", 100, 80, 1.0e6, 1},
                      // pm above pu (a deep silt): the curve falls from ym to yu.
                      SiltShapeCase{"LineMeetsTheFallingStraightPart", 100, 150, 5000, 2},
                      SiltShapeCase{"SoftLineRunsUpToTheUltimate", 100, 80, 1000, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// The wedge and flow-around resistances of sand with a full-precision pi.
double siltFrictional(double phi, double g, double b, double x) {
  const double pi = std::numbers::pi, a = phi / 2, be = pi / 4 + phi / 2, k0 = 0.4;
  const double ka = std::pow(std::tan(pi / 4 - phi / 2), 2);
  const double pst = g * x *
                     (k0 * x * std::tan(phi) * std::sin(be) / (std::tan(be - phi) * std::cos(a)) +
                      std::tan(be) / std::tan(be - phi) * (b + x * std::tan(be) * std::tan(a)) +
                      k0 * x * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(a)) - ka * b);
  const double psd =
      ka * b * g * x * (std::pow(std::tan(be), 8) - 1) + k0 * b * g * x * std::tan(phi) * std::pow(std::tan(be), 4);
  return std::min(pst, psd);
}

double factorA(double r) {
  const double xs[10] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
  const double a[10] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
  if (r >= 6) return 0.88;
  int k = 1;
  while (r > xs[k]) ++k;
  return a[k - 1] + (a[k] - a[k - 1]) * (r - xs[k - 1]) / (xs[k] - xs[k - 1]);
}

TEST(SiltCurves, UltimateIsTheSandWedgeTimesAAndTheMidPointAddsTheCohesivePart) {
  const double phiDeg = 30, c = 10, g = 18, b = 1, H = 2, k = 1.0e5;
  ProblemInput in = siProblem(H, 4.0, b);
  in.layers.push_back(uniformLayer(5, 14.0, g, c, phiDeg, 0.01, k));
  ScratchRun s;
  const PyGenerationResult r = generatePyCurves(s.run, in, 0.0);
  ASSERT_EQ(r.curves.size(), 5u);
  const double phi = phiDeg * 3.1416f / 180.0;
  int atMidPoint = 0;
  bool falling = false;
  for (const GeneratedCurve& curve : r.curves) {
    for (int side = 0; side < 2; ++side) {
      const double x = side == 0 ? curve.depth - H : curve.depth;
      const double ps = siltFrictional(phi, g, b, x);
      const double pc = std::min(3 + x * g / c + 0.5 * x / b, 9.0) * c * b;
      const double pu = factorA(x / b) * ps, pm = 1.5 * ps + pc;
      if (pm > pu) falling = true;
      const SidePoints& y = side == 0 ? curve.yExcavation : curve.yBackfill;
      const SidePoints& p = side == 0 ? curve.pExcavation : curve.pBackfill;
      expectClose(p[16], pu, 1e-6, "pu at " + std::to_string(x));
      if (std::fabs(y[12] - b / 60) < 1e-15) {  // the four-piece shape, not stretched
        expectClose(p[12], std::min(pm, k * x * y[12]), 1e-6, "pm at " + std::to_string(x));
        ++atMidPoint;
      }
    }
  }
  EXPECT_GT(atMidPoint, 0);
  EXPECT_TRUE(falling);
  // Value line: pc under "Puc" and ps under the Pu-phi label.
  const std::string report = s.report();
  EXPECT_NE(report.find("     DEPTH      DIAM      PHI  GAMMA AVG        A         B     Puc       Pu\xED\n"),
            std::string::npos);
}

// --- rock -----------------------------------------------------------------------

struct StrongRockCase {
  const char* name;
  double wa;  // b = 10: R = wa / 10
};

void PrintTo(const StrongRockCase& c, std::ostream* os) { *os << c.name; }

class StrongRock : public ::testing::TestWithParam<StrongRockCase> {};

// qu = 2000 (s = 1000), b = 10: Ei = 2e6, y1 = 0.004 with p1 = 8000, s b =
// 10000 at y2 = 0.024, points every 0.0016; beyond y2 the resistance drops to
// 0.5 g b D of the side, which the p-multiplier does not touch.
TEST_P(StrongRock, BrittleCurveOfTheWorkedExampleOnBothSides) {
  const double b = 10, g = 22, H = 2;
  ProblemInput in = siProblem(H, GetParam().wa, b);
  in.layers.push_back(uniformLayer(6, 14.0, g, 2000, 0, 0, 0));
  ScratchRun s;
  const PyGenerationResult r = generatePyCurves(s.run, in, 0.0);
  ASSERT_EQ(r.curves.size(), 5u);
  const double ratio = GetParam().wa / b;
  const double pm = ratio >= 1.1 && ratio < 3.1 ? 0.5292 * std::pow(ratio, 0.5659) : 1.0;
  for (const GeneratedCurve& curve : r.curves) {
    EXPECT_EQ(curve.delta, 0.0);
    for (int side = 0; side < 2; ++side) {
      const double d = side == 0 ? curve.depth - H : curve.depth;
      const SidePoints& y = side == 0 ? curve.yExcavation : curve.yBackfill;
      const SidePoints& p = side == 0 ? curve.pExcavation : curve.pBackfill;
      for (int j = 0; j < 17; ++j) {
        const double yj = 0.0016 * j;
        const double expected = yj < 0.004 ? pm * 2.0e6 * yj : j < 16 ? pm * (8000 + 1.0e5 * (yj - 0.004)) : 0.5 * g * b * d;
        const std::string what = "depth " + std::to_string(d) + " point " + std::to_string(j + 1);
        expectClose(y[j], yj, 1e-6, what);
        expectClose(p[j], expected, 2e-6, what);
      }
      expectClose(p[15], pm * 10000, 2e-6, "peak s b at y2");
    }
    EXPECT_GT(curve.pBackfill[16], curve.pExcavation[16]);
  }
  const std::string report = s.report();
  EXPECT_NE(report.find("                 DEPTH-EXCAVATION SIDE     DIAM        C\n"), std::string::npos);
  EXPECT_NE(report.find("                 DEPTH-BACKFILL SIDE       DIAM        C\n"), std::string::npos);
  EXPECT_NE(report.find("0.24000D-01"), std::string::npos);  // y2, D form with five digits
  EXPECT_EQ(report.find("AT THE EXCAVATION SIDE"), std::string::npos);
  EXPECT_EQ(report.find("P-Multiplier"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Rock, StrongRock,
                         ::testing::Values(StrongRockCase{"NoGroupFactor", 40}, StrongRockCase{"GroupFactorOnTheRise", 20}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WeakRock, AtThreeWidthsBothBranchesGiveTheSameResistanceAndModulus) {
  const double qa = 5000, er = 4.0e5, b = 0.8;
  for (double alpha : {1.0, weakRockStrengthReduction(100)}) {
    const WeakRockResistance at = weakRockResistance(qa, alpha, er, b, 3 * b);
    const WeakRockResistance beyond = weakRockResistance(qa, alpha, er, b, 3 * b * (1 + 1e-12));
    expectClose(at.pur, 5.2 * alpha * qa * b, 1e-7, "pur at 3b");
    expectClose(beyond.pur, 5.2 * alpha * qa * b, 1e-7, "pur beyond 3b");
    expectClose(at.ki, 500 * er, 1e-12, "Ki at 3b");
    expectClose(beyond.ki, 500 * er, 1e-12, "Ki beyond 3b");
  }
  EXPECT_NEAR(weakRockStrengthReduction(0), 1.0, 1e-15);
  EXPECT_NEAR(weakRockStrengthReduction(100), 1.0 / 3.0, 1e-7);
}

struct WeakRockCase {
  const char* name;
  double rqd;
  bool underSand;  // a second layer: mean of the top and curve strengths
};

void PrintTo(const WeakRockCase& c, std::ostream* os) { *os << c.name; }

class WeakRockCurves : public ::testing::TestWithParam<WeakRockCase> {};

TEST_P(WeakRockCurves, InitialLineAndQuarterPowerBranchUpToTheReducedUltimate) {
  const WeakRockCase& c = GetParam();
  const double b = 1, g = 22, H = 2, krm = 0.0005, er = 4.0e5, qTop = 4000, qBottom = 6000;
  ProblemInput in = siProblem(H, 4.0, b);
  double top = 0;  // rock top below the excavation level
  if (c.underSand) {
    in.layers.push_back(uniformLayer(4, 4.0, g, 0, 32, 0, 20000));
    top = 2;
  }
  SoilLayer rock = uniformLayer(7, 14.0, g, qTop, 0, krm, er);
  rock.top[5] = rock.bottom[5] = c.rqd;
  rock.bottom[1] = qBottom;
  in.layers.push_back(rock);
  ScratchRun s;
  const PyGenerationResult r = generatePyCurves(s.run, in, 0.0);
  const size_t first = c.underSand ? 5 : 0;
  ASSERT_EQ(r.curves.size(), first + 5);

  const double factors[17] = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                              0.1,    0.25,  0.5,   0.75,  1.0,   4.0,  8.0,  12.0};
  const double alpha = 1 - c.rqd / 150, yrm = krm * b;
  bool shallow = false, deep = false;
  for (size_t k = first; k < r.curves.size(); ++k) {
    const GeneratedCurve& curve = r.curves[k];
    const double xc = curve.depth - H;
    const double qu = qTop + (qBottom - qTop) * (xc - top) / (12 - top);
    // Mean strength from the rock top down to the curve.
    const double qa = 0.5 * (qTop + qu);
    EXPECT_EQ(curve.delta, 0.0);
    for (int side = 0; side < 2; ++side) {
      const double xr = (side == 0 ? xc : H + xc) - top;
      double pur, ki;
      if (xr <= 3 * b) {
        pur = alpha * qa * b * (1 + 1.4 * xr / b);
        ki = (100 + 400 * xr / (3 * b)) * er;
        shallow = true;
      } else {
        pur = 5.2 * alpha * qa * b;
        ki = 500 * er;
        deep = true;
      }
      const SidePoints& y = side == 0 ? curve.yExcavation : curve.yBackfill;
      const SidePoints& p = side == 0 ? curve.pExcavation : curve.pBackfill;
      for (int j = 0; j < 17; ++j) {
        const double yj = yrm * factors[j];
        // The smaller of the initial line and the branch, capped at pur.
        const double expected = std::min({ki * yj, 0.5 * pur * std::pow(yj / yrm, 0.25), pur});
        const std::string what = "xr " + std::to_string(xr) + " point " + std::to_string(j + 1);
        expectClose(y[j], yj, 1e-6, what);
        expectClose(p[j], expected, 1e-6, what);
      }
      EXPECT_GT(y[0], 0.0);
    }
  }
  EXPECT_TRUE(shallow);
  EXPECT_TRUE(deep);
  const std::string report = s.report();
  const size_t rockListing = report.find(" Eu ");
  ASSERT_NE(rockListing, std::string::npos);
  EXPECT_EQ(report.find("P-Multiplier", rockListing), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Rock, WeakRockCurves,
                         ::testing::Values(WeakRockCase{"RqdZero", 0, false}, WeakRockCase{"RqdHundred", 100, false},
                                           WeakRockCase{"UnderSand", 50, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- stops --------------------------------------------------------------------------

struct MissingStrength {
  const char* name;
  int type;
  double strength, phiDegrees;
  const char* message;
};

void PrintTo(const MissingStrength& c, std::ostream* os) { *os << c.name; }

class MissingStrengthStops : public ::testing::TestWithParam<MissingStrength> {};

TEST_P(MissingStrengthStops, EndTheRunWithTheirMessageAndNoUndefinedPoints) {
  const MissingStrength& c = GetParam();
  ProblemInput in = siProblem(2.0, 4.0, 1.0);
  in.layers.push_back(uniformLayer(4, 4.0, 18, 0, 32, 0, 20000));
  in.layers.push_back(uniformLayer(c.type, 14.0, 20, c.strength, c.phiDegrees, 0.0005, 4.0e5));
  ScratchRun s;
  try {
    generatePyCurves(s.run, in, 0.0);
    ADD_FAILURE() << "no stop";
  } catch (const SoilModelStop& stop) {
    EXPECT_EQ(stop.code, 0);
    EXPECT_NE(stop.reason.find(c.message), std::string::npos) << stop.reason;
  }
  EXPECT_NE(s.report().find(c.message), std::string::npos);
  const std::string data = s.soilData();
  EXPECT_EQ(data.find("NaN"), std::string::npos);
  EXPECT_EQ(data.find("Inf"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Models, MissingStrengthStops,
    ::testing::Values(MissingStrength{"StrongRockWithoutStrength", 6, 0, 0, "THE COHESIVE STRENGTH IS 0 FOR ROCK"},
                      MissingStrength{"WeakRockWithoutStrength", 7, 0, 0, "THE COHESIVE STRENGTH IS 0 FOR ROCK"},
                      MissingStrength{"SiltWithoutFriction", 5, 20, 0, "WARNING-------The Angle of the slope can not"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- "SOILDATA" point lines ------------------------------------------------------

// Point number in 5, then p' and y' in 1PE10.3 with the model's blanks.
TEST(SoilDataPointLines, EachModelWritesItsOwnSpacing) {
  const struct {
    int type;
    const char* pattern;
  } cases[] = {
      {1, R"(^ {4}\d [ -]\d\.\d{3}E[+-]\d{2} [ -]\d\.\d{3}E[+-]\d{2}$)"},
      {2, R"(^ {4}\d [ -]\d\.\d{3}E[+-]\d{2} [ -]\d\.\d{3}E[+-]\d{2}$)"},
      {3, R"(^ {4}\d [ -]\d\.\d{3}E[+-]\d{2} [ -]\d\.\d{3}E[+-]\d{2}$)"},
      {4, R"(^ {4}\d [ -]\d\.\d{3}E[+-]\d{2} [ -]\d\.\d{3}E[+-]\d{2}$)"},
      {5, R"(^ {4}\d  [ -]\d\.\d{3}E[+-]\d{2}  [ -]\d\.\d{3}E[+-]\d{2}$)"},
      {6, R"(^ {4}\d [ -]\d\.\d{3}E[+-]\d{2}[ -]\d\.\d{3}E[+-]\d{2}$)"},
      {7, R"(^ {4}\d  [ -]\d\.\d{3}E[+-]\d{2}  [ -]\d\.\d{3}E[+-]\d{2}$)"},
  };
  for (const auto& c : cases) {
    ProblemInput in = siProblem(2.0, 4.0, 0.5);
    in.layers.push_back(uniformLayer(c.type, 10.0, 18, 200, 30, 0.005, 20000));
    ScratchRun s;
    generatePyCurves(s.run, in, 0.0);
    std::istringstream lines(s.soilData());
    std::string line;
    std::getline(lines, line);  // count
    std::getline(lines, line);  // curve header
    for (int j = 1; j <= 9; ++j) {
      ASSERT_TRUE(std::getline(lines, line));
      EXPECT_TRUE(std::regex_match(line, std::regex(c.pattern))) << c.type << ": [" << line << "]";
    }
  }
}

}  // namespace
}  // namespace ramvex
