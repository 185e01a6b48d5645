// Stiff clay curves, with and without free water, against the criteria
// written out here from their formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "py_generation.h"
#include "py_stiff_clay_free_water.h"
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

// Sand over a clay whose cohesion grows linearly from cTop to cBottom over
// its depth; b = 1, R = 4 (no group factor), water table far below.
// A soft initial modulus, so that the line k x y governs the first points of
// the shallow curves.
constexpr double kH = 2.0, kB = 1.0, kG = 19.0, kE50 = 0.007, kK = 5000;
constexpr double kClayTop = 4.0, kClayBottom = 14.0, kCTop = 60.0, kCBottom = 120.0;

ProblemInput sandOverClay(int clayType) {
  ProblemInput in = siProblem(kH, 4.0, kB);
  in.layers.push_back(uniformLayer(4, kClayTop, kG, 0, 30, 0, 20000));
  SoilLayer clay = uniformLayer(clayType, kClayBottom, kG, kCTop, 0, kE50, kK);
  clay.bottom[1] = kCBottom;
  in.layers.push_back(clay);
  return in;
}

// Cohesion of the clay at x below the excavation level.
double clayCohesion(double x) {
  const double top = kClayTop - kH, bottom = kClayBottom - kH;
  return kCTop + (kCBottom - kCTop) * (x - top) / (bottom - top);
}

double factorAs(double r) {
  const double table[6] = {0.223, 0.46, 0.55, 0.59, 0.6, 0.6};
  if (r >= 4) return 0.6;
  const int k = static_cast<int>(r);
  return table[k] + (table[k + 1] - table[k]) * (r - k);
}

// The static criterion for stiff clay in free water, piece by piece, at the
// deflection t As y50 (the pieces are chosen by t: the criterion steps by
// 0.0002 pc where the softening branch meets the descent).
double freeWaterP(double t, double pc, double as, double y50, double es) {
  const double ya = as * y50, y = t * ya;
  double p;
  if (t <= 1) p = 0.5 * pc * std::sqrt(y / y50);
  else if (t <= 6) p = 0.5 * pc * std::sqrt(y / y50) - 0.055 * pc * std::pow(t - 1, 1.25);
  else if (t <= 18) p = 0.5 * pc * std::sqrt(6 * as) - 0.411 * pc - 0.0625 * pc / y50 * (y - 6 * ya);
  else p = 0.5 * pc * std::sqrt(6 * as) - 0.411 * pc - 0.75 * pc * as;
  return std::min(p, es * y);
}

TEST(StiffClayFreeWater, AsTableIsLinearBetweenItsPointsAndFlatBeyond) {
  const double cases[][2] = {{0, 0.223}, {0.5, 0.3415}, {1, 0.46}, {2.5, 0.57}, {4, 0.6}, {7, 0.6}};
  for (const auto& c : cases) EXPECT_NEAR(stiffClayFactorAs(c[0]), c[1], 1e-7) << c[0];
}

// Every curve of the clay layer on both sides: the shallow excavation side
// of the first curve where the wedge value governs, the others where flow
// around the element does; the points on the descent and the residual; and
// the initial line k x y over the first points.
TEST(StiffClayFreeWater, CurvesFollowTheCriterionWithTheLayersRunningAverageCohesion) {
  ScratchRun s;
  const PyGenerationResult r = generatePyCurves(s.run, sandOverClay(2), 0.0);
  ASSERT_EQ(r.curves.size(), 10u);
  const double xc[5] = {2.01, 4.5, 7.0, 9.5, 11.99};
  const double multiples[17] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5, 6, 10, 14, 18, 200};
  bool wedge = false, flow = false, capped = false;
  for (int k = 0; k < 5; ++k) {
    const GeneratedCurve& curve = r.curves[5 + static_cast<size_t>(k)];
    ASSERT_NEAR(curve.depth, kH + xc[k], 1e-9);
    const double c = clayCohesion(xc[k]);
    // Trapezoids of a linear cohesion average it exactly.
    const double cbar = 0.5 * (clayCohesion(xc[0]) + c);
    for (int side = 0; side < 2; ++side) {
      const double d = side == 0 ? xc[k] : kH + xc[k];
      const double pct = 2 * cbar * kB + kG * kB * d + 2.83 * cbar * d;
      const double pcd = 11 * c * kB;
      const double pc = std::min(pct, pcd);
      (pct < pcd ? wedge : flow) = true;
      const double as = factorAs(d / kB), y50 = kE50 * kB, es = kK * d;
      const SidePoints& y = side == 0 ? curve.yExcavation : curve.yBackfill;
      const SidePoints& p = side == 0 ? curve.pExcavation : curve.pBackfill;
      for (int j = 0; j < 17; ++j) {
        const std::string what = "curve " + std::to_string(k + 1) + " side " + std::to_string(side + 1) +
                                 " point " + std::to_string(j + 1);
        expectClose(y[j], multiples[j] * as * y50, 1e-6, what);
        expectClose(p[j], j == 0 ? 0.0 : freeWaterP(multiples[j], pc, as, y50, es), 1e-5, what);
        if (j > 0 && es * y[j] < freeWaterP(multiples[j], pc, as, y50, 1e300)) capped = true;
      }
      // Points 14 to 16 on the straight descent, 16 and 17 on the residual.
      const double top = 0.5 * pc * std::sqrt(6 * as) - 0.411 * pc;
      expectClose(p[13], top - 0.0625 * pc * 4 * as, 1e-5, "point 14");
      expectClose(p[14], top - 0.0625 * pc * 8 * as, 1e-5, "point 15");
      expectClose(p[15], top - 0.75 * pc * as, 1e-5, "point 16");
      expectClose(p[16], p[15], 1e-9, "residual");
    }
  }
  EXPECT_TRUE(wedge);
  EXPECT_TRUE(flow);
  EXPECT_TRUE(capped);
  // The report gives the equivalent depth of the clay and no multiplier line.
  const std::string report = s.report();
  EXPECT_NE(report.find(" XEQ 2 "), std::string::npos);
  const size_t clay = report.find("CAVG");
  ASSERT_NE(clay, std::string::npos);
  EXPECT_EQ(report.find("P-Multiplier", clay), std::string::npos);
}

// --- without free water ---------------------------------------------------------

double dryP(double y, double pc, double y50) { return y <= 16 * y50 ? 0.5 * pc * std::pow(y / y50, 0.25) : pc; }

TEST(StiffClayDry, FourthRootParabolaToSixteenY50AndPcBeyondAtThePlainDepth) {
  ScratchRun s;
  const PyGenerationResult r = generatePyCurves(s.run, sandOverClay(3), 0.0);
  ASSERT_EQ(r.curves.size(), 10u);
  // The computed equivalent depth is reported and then replaced by the top.
  EXPECT_EQ(r.profile.layers[1].xeq, r.profile.layers[1].xtop);
  const double factors[15] = {0, 1e-5, 5e-5, 1e-4, 5e-4, 1e-3, 5e-3, 0.01, 0.025, 0.05, 0.075, 0.1, 0.25, 0.5, 1.0};
  const double y50 = 2.5 * kE50 * kB;
  bool wedge = false, flow = false;
  for (size_t k = 5; k < 10; ++k) {
    const GeneratedCurve& curve = r.curves[k];
    const double xc = curve.depth - kH;
    const double c = clayCohesion(xc);
    const double cbar = 0.5 * (kCTop + c);  // from the layer top down to xc
    for (int side = 0; side < 2; ++side) {
      const double d = side == 0 ? xc : kH + xc;
      const double pct = 3 * cbar * kB + kG * kB * d + 0.5 * cbar * d;
      const double pcd = 9 * c * kB;
      const double pc = std::min(pct, pcd);
      (pct < pcd ? wedge : flow) = true;
      const SidePoints& y = side == 0 ? curve.yExcavation : curve.yBackfill;
      const SidePoints& p = side == 0 ? curve.pExcavation : curve.pBackfill;
      for (int j = 0; j < 17; ++j) {
        const double yj = j < 15 ? 16 * y50 * factors[j] : (j == 15 ? 18 : 20) * y50;
        const std::string what = "depth " + std::to_string(curve.depth) + " side " + std::to_string(side + 1) +
                                 " point " + std::to_string(j + 1);
        expectClose(y[j], yj, 1e-6, what);
        expectClose(p[j], dryP(yj, pc, y50), 1e-5, what);
      }
      for (int j = 14; j < 17; ++j) expectClose(p[j], pc, 1e-6, "points 15 to 17 at pc");
    }
  }
  EXPECT_TRUE(wedge);
  EXPECT_TRUE(flow);
  const std::string report = s.report();
  // Two lines for the equivalent depth, computed and replaced, on the first
  // curve; the multiplier line after every side.
  const size_t first = report.find(" XEQ 2 ");
  ASSERT_NE(first, std::string::npos);
  const size_t second = report.find(" XEQ 2 2.0 ", first);
  EXPECT_NE(second, std::string::npos);
  EXPECT_NE(report.find("P-Multiplier", report.find("CAVG")), std::string::npos);
}

// A clay without cohesion or E50 has no resistance, but every point stays
// a number.
TEST(StiffClayDry, NoCohesionOrNoE50GivesZeroResistanceNotNaN) {
  for (int type : {2, 3})
    for (double c : {0.0, 50.0}) {
      ProblemInput in = siProblem(kH, 4.0, kB);
      in.layers.push_back(uniformLayer(type, 12.0, kG, c, 0, c > 0 ? 0.0 : kE50, kK));
      ScratchRun s;
      const PyGenerationResult r = generatePyCurves(s.run, in, 0.0);
      for (const GeneratedCurve& curve : r.curves)
        for (int j = 0; j < 17; ++j) {
          EXPECT_EQ(curve.pExcavation[j], 0.0) << type << " " << c << " " << j;
          EXPECT_EQ(curve.pBackfill[j], 0.0) << type << " " << c << " " << j;
        }
    }
}

}  // namespace
}  // namespace ramvex
