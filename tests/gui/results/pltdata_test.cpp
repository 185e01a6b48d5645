#include <gtest/gtest.h>

#include <cmath>

#include "PltData.h"

namespace ramvex {
namespace {

struct ScaleCase {
  const char* name;
  long double min, max;
  long double lo, hi;
};

// Worked by hand: d = 10^floor(log10(width)), divided by 10 when the
// mantissa of the width is below 3; ends rounded away from zero.
TEST(RoundScale, RoundsOutwardToTheStepOfTheRange) {
  const ScaleCase cases[] = {
      {"positive values keep 0: 0.13..8.7 -> 0..9", 0, 8.7L, 0, 9},
      {"width 2.5 is below 3: steps of 0.1", 0, 2.5L, 0, 2.5L},
      {"width 2.53 rounds to 2.6", 0, 2.53L, 0, 2.6L},
      {"negative end rounds down", -0.37L, 0, -0.4L, 0},
      {"both signs", -12.5L, 48, -20, 50},
      {"exact multiples stay", 0, 0.7L, 0, 0.7L},
      {"1.1 stays 1.1 despite binary 11.000000002", 0, 1.1L, 0, 1.1L},
      {"zero width opens by 0.01: then step 0.001", 0, 0, -0.01L, 0.01L},
      {"large range", 0, 41060, 0, 50000},
      {"width 3 exactly uses d = 1", 0, 3, 0, 3},
  };
  for (const ScaleCase& c : cases) {
    SCOPED_TRACE(c.name);
    TScale s = RoundScale(c.min, c.max);
    EXPECT_NEAR(static_cast<double>(s.Min), static_cast<double>(c.lo), 1e-12);
    EXPECT_NEAR(static_cast<double>(s.Max), static_cast<double>(c.hi), 1e-12);
  }
}

TEST(RoundScale, ScaleOfCurvesAlwaysContainsZero) {
  TGraphPlot g;
  g.SetCurveCount(TCurveList::Panel1, 2);
  g.SetPointCount(TCurveList::Panel1, 2);
  g.Point(TCurveList::Panel1, 0, 0) = {0.13L, 3};
  g.Point(TCurveList::Panel1, 0, 1) = {8.7L, 4};
  g.Point(TCurveList::Panel1, 1, 0) = {1, 3.5L};
  g.Point(TCurveList::Panel1, 1, 1) = {2, 3.2L};
  TPanelScale s = ComputeScale(g.Lines());
  EXPECT_EQ(s.X.Min, 0);
  EXPECT_NEAR(static_cast<double>(s.X.Max), 9, 1e-12);
  EXPECT_EQ(s.Y.Min, 0);
  EXPECT_NEAR(static_cast<double>(s.Y.Max), 4, 1e-12);
}

TEST(RoundScale, NonFinitePointsAreLeftOutOfTheExtent) {
  TGraphPlot g;
  g.SetCurveCount(TCurveList::Panel1, 1);
  g.SetPointCount(TCurveList::Panel1, 2);
  g.Point(TCurveList::Panel1, 0, 0) = {INFINITY, NAN};
  g.Point(TCurveList::Panel1, 0, 1) = {5, -5};
  TPanelScale s = ComputeScale(g.Lines());
  EXPECT_NEAR(static_cast<double>(s.X.Max), 5, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.Y.Min), -5, 1e-12);
  EXPECT_TRUE(std::isfinite(s.X.Min) && std::isfinite(s.Y.Max));
}

struct StepCase {
  long double width;
  int intervals;
  long double step;
};

TEST(LabelStep, RoundsTheRawStepToOneTwoOrFive) {
  // raw = width / intervals; t = leading digit of raw.
  const StepCase cases[] = {
      {2.5L, 25, 0.1L},   // raw 0.1: t = 1
      {9, 5, 1},          // raw 1.8: t = 1
      {9, 4, 2},          // raw 2.25: t = 2
      {10, 2, 5},         // raw 5
      {0.9L, 1, 1},       // raw 0.9: t = 9 gives 10g
      {50000, 6, 5000},   // raw 8333: t = 8 gives 5g
      {1, 0, 0},          // no interval: nothing drawn
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.width));
    const long double expected = c.step;
    EXPECT_NEAR(static_cast<double>(LabelStep(c.width, c.intervals)), static_cast<double>(expected),
                1e-12 * static_cast<double>(expected + 1));
  }
}

TEST(UnitLabel, SpellsTheFirstForceAndLengthTokens) {
  struct Case {
    const char* units;
    int system;
    const char* text;
  } cases[] = {
      {"F/L", 1, "lbs/in"},    {"F/L", 2, "kN/m"},        {"L2", 1, "ft"},           {"L2", 2, "m"},
      {"L1", 2, "mm"},         {"F1-L2", 1, "kips-ft"},   {"F2", 1, "tons"},         {"F/L2^2", 1, "lbs/ft^2"},
      {"F/L", 3, "F/L"},       {"F-L^2", 0, "lbs-in^2"},  {"", 2, ""},               {"deg.", 1, "deg."},
      // Only the first token found is spelled; the plain one stays.
      {"F1/F", 1, "kips/F"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.units);
    EXPECT_EQ(UnitLabel(c.units, c.system), c.text);
  }
  EXPECT_EQ(AxisCaption("Deflection", "L", 1), "Deflection (in)");
  EXPECT_EQ(AxisCaption("Depth (ft)", "", 1), "Depth (ft)");
}

TEST(GraphModel, NewCurvesTakeThePointCountAndTheNextLabel) {
  TGraphPlot g;
  g.CurveName = "Load #";
  g.SetCurveCount(TCurveList::Panel1, 1);
  g.SetPointCount(TCurveList::Panel1, 4);
  g.SetCurveCount(TCurveList::Panel1, 3);
  ASSERT_EQ(g.CurveCount(), 3);
  EXPECT_EQ(g.Curve(TCurveList::Panel1, 2).PointCount(), 4);
  EXPECT_EQ(g.Curve(TCurveList::Panel1, 2).Points[3], TFloatPoint{});
  EXPECT_EQ(g.Curve(TCurveList::Panel1, 0).LegendText(), "Load #1");
  EXPECT_EQ(g.Curve(TCurveList::Panel1, 2).LegendText(), "Load #3");
  g.Curve(TCurveList::Panel1, 1).Name = "Stage: 2";
  EXPECT_EQ(g.Curve(TCurveList::Panel1, 1).LegendText(), "Stage: 2");
  g.Curve(TCurveList::Panel1, 0).LabelValue = 12.5L;
  EXPECT_EQ(g.Curve(TCurveList::Panel1, 0).LegendText(), "Load #12.5");
  EXPECT_TRUE(g.Curve(TCurveList::Panel1, 0).Shown && g.Curve(TCurveList::Panel1, 0).Included);

  g.SetCurveCount(TCurveList::Panel1, -2);
  EXPECT_EQ(g.CurveCount(), 0);
  EXPECT_EQ(g.PointCount(), 0);
  EXPECT_FALSE(g.HasData());
}

TEST(GraphModel, DefaultsAndUnitClamp) {
  TGraphPlot g;
  EXPECT_EQ(g.CurveName, "Curve #");
  EXPECT_TRUE(g.ShowLegend && g.XOnTop && g.ShowFontWidth && g.LimitTo20);
  EXPECT_FALSE(g.ShowLayers || g.ShowWall || g.ShowThree);
  EXPECT_EQ(g.Markers, 1);
  EXPECT_EQ(g.SizeFont, 10);
  EXPECT_EQ(g.LegendFont, 11);
  EXPECT_EQ(g.WidthLine, 1);
  g.SetUnits(7);
  EXPECT_EQ(g.Units(), 3);
  g.SetUnits(-1);
  EXPECT_EQ(g.Units(), 1);
}

TEST(CurveColours, PositionsWrapAfterSeventeen) {
  EXPECT_EQ(CurveColour(0), 0x000000u);
  EXPECT_EQ(CurveColour(2), 0xFF0000u);
  EXPECT_EQ(CurveColour(16), 0x00FFFFu);
  EXPECT_EQ(CurveColour(17), 0x000000u);
  EXPECT_EQ(CurveColour(18), 0x0000FFu);
}

TEST(GeneralText, FourSignificantDigitsAndCleanZero) {
  EXPECT_EQ(GeneralText(12.3456L, 4), "12.35");
  EXPECT_EQ(GeneralText(1e-17L, 4, 0.5L), "0");
  EXPECT_EQ(GeneralText(-0.25L, 4), "-0.25");
  EXPECT_EQ(GeneralText(123456, 5), "1.2346E5");
}

}  // namespace
}  // namespace ramvex
