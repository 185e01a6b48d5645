#include "surcharge.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ramvex {
namespace {

constexpr double kPi = 3.1416;

// The modified elastic solutions written out in terms of X, z and H.
double pointClosedForm(double P, double X, double z, double H) {
  const double m = X / H, n = z / H;
  if (m <= 0.4) return 0.28 * P / (H * H) * n * n / std::pow(0.16 + n * n, 3);
  return 1.77 * P / (H * H) * m * m * n * n / std::pow(m * m + n * n, 3);
}
double lineClosedForm(double Q, double X, double z, double H) {
  const double m = X / H, n = z / H;
  if (m <= 0.4) return 0.203 * Q / H * n / std::pow(0.16 + n * n, 2);
  return 4.0 * Q / (kPi * H) * m * m * n / std::pow(m * m + n * n, 2);
}
double stripClosedForm(double q, double X, double W, double z) {
  const double a1 = std::atan((X + W / 2) / z), a2 = std::atan((X - W / 2) / z);
  const double b = a1 - a2;
  return 2.0 * q / kPi * (b - std::sin(b) * std::cos(a1 + a2));
}

struct FormulaCase {
  SurchargeRow row;
  double z;
};

class SurchargeFormula : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(SurchargeFormula, MatchesClosedForm) {
  const double H = 120.0;
  const FormulaCase& c = GetParam();
  double expected = 0.0;
  switch (c.row.type) {
    case 2: expected = lineClosedForm(c.row.magnitude, c.row.distance, c.z, H); break;
    case 3: expected = stripClosedForm(c.row.magnitude, c.row.distance, c.row.width, c.z); break;
    default: expected = pointClosedForm(c.row.magnitude, c.row.distance, c.z, H); break;
  }
  EXPECT_NEAR(surchargeEntryPressure(c.row, c.z, H), expected, 1e-6 * std::fabs(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Depths, SurchargeFormula,
    ::testing::Values(
        // point load, m = 0.2 and m = 0.4 (first formula), m = 0.41 and 1 (second)
        FormulaCase{{1, 5000.0, 24.0, 0.0}, 12.0}, FormulaCase{{1, 5000.0, 24.0, 0.0}, 60.0},
        FormulaCase{{1, 5000.0, 48.0, 0.0}, 90.0}, FormulaCase{{1, 5000.0, 49.2, 0.0}, 90.0},
        FormulaCase{{1, 5000.0, 120.0, 0.0}, 30.0}, FormulaCase{{7, 5000.0, 120.0, 0.0}, 150.0},
        // line load
        FormulaCase{{2, 200.0, 24.0, 0.0}, 10.0}, FormulaCase{{2, 200.0, 24.0, 0.0}, 100.0},
        FormulaCase{{2, 200.0, 72.0, 0.0}, 50.0}, FormulaCase{{2, 200.0, 72.0, 0.0}, 200.0},
        // strip load: beside the wall, starting at the wall (a2 = 0), straddling it
        FormulaCase{{3, 5.0, 60.0, 40.0}, 30.0}, FormulaCase{{3, 5.0, 20.0, 40.0}, 30.0},
        FormulaCase{{3, 5.0, 10.0, 40.0}, 80.0}));

TEST(Surcharge, PointLoadSwitchesFormulaAtRatioPointFour) {
  const double H = 120.0, z = 60.0;
  const SurchargeRow at{1, 1000.0, 48.0, 0.0}, beyond{1, 1000.0, 48.01, 0.0};
  EXPECT_NEAR(surchargeEntryPressure(at, z, H), 0.28 * 1000.0 / (H * H) * 0.25 / std::pow(0.41, 3), 1e-7);
  const double m = 48.01 / H;
  EXPECT_NEAR(surchargeEntryPressure(beyond, z, H),
              1.77 * 1000.0 / (H * H) * m * m * 0.25 / std::pow(m * m + 0.25, 3), 1e-7);
}

// SURPRE steps at the 200 slice depths of the wall length.
TEST(Surcharge, PressureTakenAtSliceAbove) {
  const std::vector<SurchargeRow> rows = {{1, 5000.0, 24.0, 0.0}, {3, 5.0, 60.0, 40.0}};
  const double H = 120.0, L = 400.0;  // slices of 2 in
  auto direct = [&](double z) {
    return pointClosedForm(5000.0, 24.0, z, H) + stripClosedForm(5.0, 60.0, 40.0, z);
  };
  const double cases[][2] = {{2.0, 0.0}, {1.0, 0.0}, {2.5, 2.0}, {4.0, 2.0}, {4.0001, 4.0},
                             {100.0, 98.0}, {401.0, 400.0}, {1000.0, 400.0}};
  for (const auto& c : cases) {
    const double expected = c[1] == 0.0 ? 0.0 : direct(c[1]);
    EXPECT_NEAR(surchargePressure(rows, H, L, c[0]), expected, 1e-6 * std::fabs(expected) + 1e-15)
        << "Z = " << c[0];
  }
  EXPECT_EQ(surchargePressure({}, H, L, 50.0), 0.0);
}

// Ten slices, 1.273 for 4/pi and 0.6366 for 2/pi, small loads left out.
TEST(Surcharge, SublayerShare) {
  const double H = 120.0, ztop = 20.0, t = 30.0;
  const std::vector<SurchargeRow> rows = {{2, 200.0, 72.0, 0.0}, {3, 5.0, 60.0, 40.0}, {1, 1.0e-5, 24.0, 0.0}};
  double expected = 0.0;
  for (int j = 1; j <= 10; ++j) {
    const double z = ztop + j * t / 10.0, m = 72.0 / H, n = z / H;
    expected += t / 10.0 * 1.273 * 200.0 / H * m * m * n / std::pow(m * m + n * n, 2);
    expected += t / 10.0 * stripClosedForm(5.0, 60.0, 40.0, z) * (0.6366 * kPi / 2.0);
  }
  EXPECT_NEAR(sublayerSurchargeShare(rows, H, ztop, t), expected, 1e-6 * expected);
}

// Without free height the far-field formulas apply; they do not depend on H.
TEST(Surcharge, ZeroFreeHeightIsTheLimit) {
  for (const SurchargeRow& row : {SurchargeRow{1, 5000.0, 24.0, 0.0}, SurchargeRow{2, 200.0, 24.0, 0.0}}) {
    const double atZero = surchargeEntryPressure(row, 30.0, 0.0);
    EXPECT_TRUE(std::isfinite(atZero));
    EXPECT_NEAR(atZero, surchargeEntryPressure(row, 30.0, 1.0e-3), 1e-9 * atZero);
    EXPECT_NEAR(atZero, surchargeEntryPressure(row, 30.0, -5.0), 1e-9 * atZero);
  }
  EXPECT_EQ(surchargeEntryPressure({1, 5000.0, 0.0, 0.0}, 30.0, 0.0), 0.0);
  EXPECT_EQ(surchargeEntryPressure({3, 5.0, 20.0, 40.0}, 0.0, 120.0), 0.0);
}

TEST(Surcharge, LegacyLoadsStandInForAnEmptyTable) {
  ProblemInput in;
  in.singleSurcharge = {10.0, 36.0, 500.0, 0.0, 3.0, 24.0};
  const auto rows = effectiveSurcharges(in);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].type, 1);
  EXPECT_EQ(rows[0].magnitude, 500.0);
  EXPECT_EQ(rows[1].type, 3);
  EXPECT_EQ(rows[1].width, 24.0);
  EXPECT_EQ(rows[1].distance, 36.0);
  in.surcharges = {{2, 100.0, 12.0, 0.0}};
  ASSERT_EQ(effectiveSurcharges(in).size(), 1u);
  EXPECT_EQ(effectiveSurcharges(in)[0].type, 2);
}

}  // namespace
}  // namespace ramvex
