// Soft clay and sand curves against the criteria written out here, and the
// equivalent depth of a layer under another.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "py_generation.h"
#include "py_sand.h"
#include "py_test_support.h"
#include "run_errors.h"

namespace ramvex {
namespace {

using testing::ScratchRun;
using testing::siProblem;
using testing::uniformLayer;

constexpr double kSoftClayFactors[17] = {0,   0.00025, 0.0025, 0.0075, 0.02, 0.04, 0.06, 0.1, 0.15,
                                         0.225, 0.3,   0.4,    0.5,    0.65, 0.8,  1.0,  1.2};

double softClayPu(double c, double g, double b, double x) {
  return std::min(3.0 + g * x / c + 0.5 * x / b, 9.0) * c * b;
}

void expectRelativelyNear(double actual, double expected, double tolerance, const std::string& what) {
  EXPECT_NEAR(actual, expected, tolerance * std::max(1.0, std::fabs(expected))) << what;
}

// Uniform clay, discrete elements (R = 4, no group factor), no offset.
TEST(SoftClayCurves, CubeRootParabolaToEightY50ThenUltimateAtEveryDepthAndSide) {
  const double c = 20, g = 18, e50 = 0.01, b = 0.5, H = 2;
  ProblemInput in = siProblem(H, 2.0, b);
  in.layers.push_back(uniformLayer(1, 30.0, g, c, 0, e50, 0));
  ScratchRun s;
  const PyGenerationResult r = generatePyCurves(s.run, in, 0.0);
  ASSERT_EQ(r.curves.size(), 5u);
  const double y50 = 2.5 * e50 * b;
  bool shallowWedge = false, capped = false;
  for (const GeneratedCurve& curve : r.curves) {
    const double xc = curve.depth - H;
    for (int side = 0; side < 2; ++side) {
      const double x = side == 0 ? xc : H + xc;
      const double pu = softClayPu(c, g, b, x);
      if (pu < 9 * c * b * 0.5) shallowWedge = true;
      if (pu == 9 * c * b) capped = true;
      const SidePoints& y = side == 0 ? curve.yExcavation : curve.yBackfill;
      const SidePoints& p = side == 0 ? curve.pExcavation : curve.pBackfill;
      for (int j = 0; j < 17; ++j) {
        const double yj = 8 * y50 * kSoftClayFactors[j];
        const double expected = j == 0 ? 0.0 : (yj <= 8 * y50 * (1 + 1e-7) ? 0.5 * pu * std::cbrt(yj / y50) : pu);
        const std::string what = "depth " + std::to_string(curve.depth) + " side " + std::to_string(side) + " point " +
                                 std::to_string(j + 1);
        expectRelativelyNear(y[j], yj, 1e-6, what);
        // Single-precision factors and exponent: agreement to about 1e-6.
        expectRelativelyNear(p[j], expected, 2e-6, what);
      }
      EXPECT_NEAR(p[15], pu, 2e-6 * pu);  // 8 y50 reaches pu
      EXPECT_NEAR(p[16], pu, 1e-12 * pu);
    }
  }
  EXPECT_TRUE(shallowWedge);
  EXPECT_TRUE(capped);
}

TEST(SoftClayCurves, ContinuousWallTakesPassiveValueAtEachSidesOwnDepth) {
  const double c = 15, g = 17, b = 1.0, H = 3;
  ProblemInput in = siProblem(H, 1.0, b);  // R = 1
  in.layers.push_back(uniformLayer(1, 12.0, g, c, 0, 0.02, 0));
  ScratchRun s;
  const PyGenerationResult r = generatePyCurves(s.run, in, 0.0);
  for (const GeneratedCurve& curve : r.curves) {
    const double xc = curve.depth - H;
    EXPECT_NEAR(curve.pExcavation[16], (g * xc + 2 * c) * b, 1e-9);
    EXPECT_NEAR(curve.pBackfill[16], (g * (H + xc) + 2 * c) * b, 1e-9);
  }
}

TEST(SoftClayCurves, ZeroE50GivesFiniteCurveAndTheMinimumDeflectionWarning) {
  ProblemInput in = siProblem(2, 2.0, 0.5);
  in.layers.push_back(uniformLayer(1, 10.0, 18, 20, 0, 0.0, 0));
  ScratchRun s;
  const PyGenerationResult r = generatePyCurves(s.run, in, 0.0);
  for (const GeneratedCurve& curve : r.curves)
    for (int j = 0; j < 17; ++j) {
      EXPECT_EQ(curve.yExcavation[j], 0.0);
      EXPECT_EQ(curve.pExcavation[j], 0.0);
    }
  const std::string report = s.report();
  EXPECT_NE(report.find("     DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM\n     USED A SOIL MODULUS OF "),
            std::string::npos);
  EXPECT_EQ(report.find("NaN"), std::string::npos);
}

// --- sand -------------------------------------------------------------------

constexpr double kPi = 3.1416;
double sq(double v) { return v * v; }

struct SandCheck {
  double pst, psd;
};

SandCheck sandResistances(double phi, double g, double b, double x) {
  const double a = phi / 2, be = kPi / 4 + phi / 2, k0 = 0.4;
  const double ka = sq(std::tan(kPi / 4 - phi / 2));
  const double pst = g * x *
                     (k0 * x * std::tan(phi) * std::sin(be) / (std::tan(be - phi) * std::cos(a)) +
                      std::tan(be) / std::tan(be - phi) * (b + x * std::tan(be) * std::tan(a)) +
                      k0 * x * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(a)) - ka * b);
  const double psd = ka * b * g * x * (std::pow(std::tan(be), 8) - 1) + k0 * b * g * x * std::tan(phi) * std::pow(std::tan(be), 4);
  return {pst, psd};
}

double table(const double (&v)[10], double r) {
  static const double xs[10] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
  if (r >= 6) return v[9];
  int k = 1;
  while (r > xs[k]) ++k;
  return v[k - 1] + (v[k] - v[k - 1]) * (r - xs[k - 1]) / (xs[k] - xs[k - 1]);
}
constexpr double kA[10] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
constexpr double kB[10] = {2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50, 0.50};

TEST(SandCurves, UltimateAndMidPointsFromTheFactorTablesAndInitialSlopeKx) {
  const double phiDeg = 30, g = 18, b = 0.5, k = 30000, H = 2;
  ProblemInput in = siProblem(H, 2.0, b);
  in.layers.push_back(uniformLayer(4, 30.0, g, 0, phiDeg, 0, k));
  ScratchRun s;
  const PyGenerationResult r = generatePyCurves(s.run, in, 0.0);
  ASSERT_EQ(r.curves.size(), 5u);
  const double phi = phiDeg * 3.1416f / 180.0;
  // The first curve lies where the wedge governs, the last where the flow
  // around the element does.
  for (size_t index : {size_t{0}, size_t{4}}) {
    const GeneratedCurve& curve = r.curves[index];
    const double x = curve.depth - H;
    const SandCheck rs = sandResistances(phi, g, b, x);
    if (index == 0) EXPECT_LT(rs.pst, rs.psd);
    else EXPECT_LT(rs.psd, rs.pst);
    const double ps = std::min(rs.pst, rs.psd);
    const double pu = table(kA, x / b) * ps, pm = table(kB, x / b) * ps;
    const SidePoints& y = curve.yExcavation;
    const SidePoints& p = curve.pExcavation;
    EXPECT_NEAR(y[15], 3 * b / 80, 1e-12);
    EXPECT_NEAR(y[12], b / 60, 1e-12);
    expectRelativelyNear(p[15], pu, 1e-5, "pu");
    expectRelativelyNear(p[12], pm, 1e-5, "pm");
    expectRelativelyNear(p[16], pu, 1e-5, "beyond yu");
    expectRelativelyNear(p[1] / y[1], k * x, 1e-9, "initial slope");
    for (int j = 1; j < 17; ++j) EXPECT_LE(p[j], k * x * y[j] * (1 + 1e-12)) << j;
  }
}

TEST(SandCurves, SoftInitialLineStretchesTheCurveSoItEndsAtTheUltimate) {
  const double b = 0.5;
  const double pu = 100, pm = 60, x = 2, kx = 500;  // pu / kx = 0.2 m, far beyond 3b/80
  const SandCurve c = sandCurve(pu, pm, b, kx, x);
  EXPECT_NEAR(c.yu, pu / kx, 1e-12);
  EXPECT_NEAR(c.ym, b / 60 * (pu / kx) / (3 * b / 80), 1e-12);
  EXPECT_NEAR(c.p[15], pu, 1e-9);
  for (int j = 1; j < 17; ++j) EXPECT_GT(c.y[j], c.y[j - 1]);
}

TEST(SandCurves, ZeroFrictionAngleEndsTheRunNamingTheLayer) {
  ProblemInput in = siProblem(2, 2.0, 0.5);
  in.layers.push_back(uniformLayer(1, 5.0, 18, 20, 0, 0.01, 0));
  in.layers.push_back(uniformLayer(4, 15.0, 18, 0, 0, 0, 20000));
  ScratchRun s;
  EXPECT_THROW(generatePyCurves(s.run, in, 0.0), ErrorStop);
  const std::string report = s.report();
  EXPECT_NE(report.find("THE SAND OF P-Y LAYER 2 HAS NO FRICTION ANGLE"), std::string::npos) << report;
  EXPECT_EQ(s.soilData().find("NaN"), std::string::npos);
}

// --- layered soil -------------------------------------------------------------

// Integral from 0 to X of the soft-clay wedge resistance capped at 9 c b.
double softClayIntegral(double c, double g, double b, double X) {
  const double xr = 6 * c * b / (0.5 * c + g * b);
  auto wedge = [&](double x) { return 3 * c * b * x + (g * b + 0.5 * c) * x * x / 2; };
  return X <= xr ? wedge(X) : wedge(xr) + 9 * c * b * (X - xr);
}

struct ClayPair {
  double c1, c2;
  bool beyondWedge;  // the equivalent depth lies where Np is capped at 9
};

class SoftClayUnderSoftClay : public ::testing::TestWithParam<ClayPair> {};

TEST_P(SoftClayUnderSoftClay, EquivalentDepthCarriesTheUpperLayersResistance) {
  const auto [c1, c2, beyondWedge] = GetParam();
  const double g = 18, b = 0.5, H = 2;
  ProblemInput in = siProblem(H, 2.0, b);
  in.layers.push_back(uniformLayer(1, H + 4.0, g, c1, 0, 0.01, 0));
  in.layers.push_back(uniformLayer(1, 30.0, g, c2, 0, 0.01, 0));
  ScratchRun s;
  const PyGenerationResult r = generatePyCurves(s.run, in, 0.0);
  ASSERT_EQ(r.profile.layers.size(), 2u);

  // Trapezoids of the first layer's ultimate resistance over its curves.
  const double xc[5] = {0.01, 1.0, 2.0, 3.0, 3.99};
  double f = 0;
  for (int k = 1; k < 5; ++k) f += 0.5 * (softClayPu(c1, g, b, xc[k - 1]) + softClayPu(c1, g, b, xc[k])) * (xc[k] - xc[k - 1]);
  EXPECT_NEAR(r.profile.layers[0].fu, f, 1e-9 * f);

  const double xeq = r.profile.layers[1].xeq;
  EXPECT_GT(xeq, 0);
  EXPECT_EQ(xeq > 6 * c2 * b / (0.5 * c2 + g * b), beyondWedge);
  EXPECT_NEAR(softClayIntegral(c2, g, b, xeq), f, 1e-9 * f);
  // The first curve of the lower layer uses the equivalent depth.
  const GeneratedCurve& first = r.curves[5];
  const double x = first.depth - H - 4.0 + xeq;
  EXPECT_NEAR(first.pExcavation[16], softClayPu(c2, g, b, x), 1e-9);
}

// A stronger clay below (wedge part of the integral) and a weaker one
// (beyond the depth where the wedge formula reaches 9).
INSTANTIATE_TEST_SUITE_P(Strengths, SoftClayUnderSoftClay,
                         ::testing::Values(ClayPair{20.0, 40.0, false}, ClayPair{40.0, 10.0, true}));

}  // namespace
}  // namespace ramvex
