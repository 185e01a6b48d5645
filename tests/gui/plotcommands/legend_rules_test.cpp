#include <gtest/gtest.h>

#include "LegendRules.h"

namespace ramvex {
namespace {

constexpr TCurveList P1 = TCurveList::Panel1;

TEST(LegendRules, RowsAreTheIncludedCurvesColouredByPosition) {
  TGraphPlot g;
  g.CurveName = "Load #";
  g.SetCurveCount(P1, 4);
  g.Curve(P1, 1).Included = false;
  g.Curve(P1, 2).Shown = false;
  const std::vector<TLegendRow> rows = LegendRows(g);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (TLegendRow{0, 0, "Load #1 *"}));
  EXPECT_EQ(rows[1], (TLegendRow{2, 1, "Load #3"}));
  EXPECT_EQ(rows[2], (TLegendRow{3, 2, "Load #4 *"}));
}

TEST(LegendRules, FontAndRowSizesFollowTheFontFactor) {
  TGraphPlot g;
  EXPECT_EQ(LegendPointSize(g), 11);
  g.SizeFont = 20;
  EXPECT_EQ(LegendPointSize(g), 22);
  g.SizeFont = 15;
  EXPECT_EQ(LegendPointSize(g), 16);  // 11 x 15 / 10, whole points
  EXPECT_EQ(LegendRowHeight(11), 16);
  EXPECT_EQ(LegendRowHeight(22), 33);
  EXPECT_EQ(LegendHeight(3, 16), 51);
  EXPECT_EQ(LegendHeight(0, 16), 3);
}

TEST(LegendRules, TheListWidensOnlyWhenARowDoesNotFit) {
  struct Case {
    int width, text, dpi;
    bool drawing;
    int expected;
  } cases[] = {
      {21, 10, 96, false, 21},    // 4 + 10 fits in 21
      {21, 17, 96, false, 21},    // exactly fits
      {21, 18, 96, false, 42},    // a quarter inch past the text
      {21, 50, 96, true, 62},     // an eighth inch while drawing
      {100, 96, 96, false, 100},  // fits
      {21, 50, 120, false, 80},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WidenedLegendWidth(c.width, c.text, c.dpi, c.drawing), c.expected) << c.width << " " << c.text;
  }
}

TEST(LegendRules, ADraggedLegendStaysInsideTheWindow) {
  const QSize client(800, 600);
  EXPECT_EQ(KeepInside(QRect(100, 100, 80, 50), client), QRect(100, 100, 80, 50));
  EXPECT_EQ(KeepInside(QRect(-30, 580, 80, 50), client), QRect(0, 550, 80, 50));
  EXPECT_EQ(KeepInside(QRect(790, -5, 80, 50), client), QRect(720, 0, 80, 50));
  // Larger than the window: its top-left corner stays visible.
  EXPECT_EQ(KeepInside(QRect(50, 50, 900, 50), client), QRect(0, 50, 900, 50));
}

TEST(LegendRules, PrintedLegendPlaceIsAFractionOfTheWindow) {
  const TLegendFractions f = LegendFractions(QRect(600, 150, 80, 50), QSize(800, 600));
  EXPECT_DOUBLE_EQ(f.X, 0.75);
  EXPECT_DOUBLE_EQ(f.Y, 0.25);
  EXPECT_EQ(LegendFractions(QRect(0, 0, 1, 1), QSize(0, 0)).X, -1);
}

}  // namespace
}  // namespace ramvex
