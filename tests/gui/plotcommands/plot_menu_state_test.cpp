#include <gtest/gtest.h>

#include <string>

#include "PlotMenuState.h"

namespace ramvex {
namespace {

constexpr TCurveList P1 = TCurveList::Panel1;

TMenuItemState Hidden() { return {false, true, false, false}; }

// A graph of n curves of two points, as a fresh graph window would see it.
void Fill(TGraphPlot& g, int n) {
  g.SetCurveCount(P1, n);
  g.SetPointCount(P1, 2);
}

TEST(PlotMenuState, FixedItemsOfAPlainGraph) {
  TGraphPlot g;
  g.CurveName = "Load #";
  Fill(g, 3);
  const TPlotMenuState s = PlotMenuState(g, false);
  EXPECT_EQ(s.Item(TPlotItem::ShowLegend), (TMenuItemState{true, true, true, true}));
  // No soil-layer lines and no wall lines: both switches are hidden.
  EXPECT_FALSE(s.Item(TPlotItem::ShowSoilLayer).Visible);
  EXPECT_FALSE(s.Item(TPlotItem::ShowWallGeometry).Visible);
  EXPECT_TRUE(s.Item(TPlotItem::FontSize).Visible);
  EXPECT_TRUE(s.Item(TPlotItem::LineWidth).Visible);
  EXPECT_FALSE(s.Item(TPlotItem::Print).Enabled);
  EXPECT_FALSE(s.Item(TPlotItem::PageSetup).Enabled);
  EXPECT_TRUE(s.Item(TPlotItem::SaveToDisk).Enabled);
  EXPECT_EQ(s.CheckedMarkers, 1);
  EXPECT_EQ(s.CheckedFontSize, 10);
  EXPECT_EQ(s.CheckedLineWidth, 1);
  ASSERT_EQ(s.Curves.size(), 3u);
  EXPECT_EQ(s.Curves[0], (TCurveItem{"Load #1", 0, true}));
  EXPECT_EQ(s.Curves[2], (TCurveItem{"Load #3", 2, true}));

  const TPlotMenuState printing = PlotMenuState(g, true);
  EXPECT_TRUE(printing.Item(TPlotItem::Print).Enabled);
  EXPECT_TRUE(printing.Item(TPlotItem::PageSetup).Enabled);
}

TEST(PlotMenuState, TheWallSwitchFollowsTheSoilStrip) {
  // The combined graph: three layer lines, then the two wall lines.
  TGraphPlot g;
  Fill(g, 1);
  g.SetCurveCount(TCurveList::Layers, 5);
  g.WallLineCount = 3;
  struct Case {
    bool layers, wall;
    TMenuItemState soil, wallItem;
  } cases[] = {
      {false, false, {true, true, true, false}, {true, false, true, false}},
      {true, false, {true, true, true, true}, {true, true, true, false}},
      {true, true, {true, true, true, true}, {true, true, true, true}},
      {false, true, {true, true, true, false}, {true, false, true, true}},
  };
  for (const Case& c : cases) {
    g.ShowLayers = c.layers;
    g.ShowWall = c.wall;
    const TPlotMenuState s = PlotMenuState(g, false);
    EXPECT_EQ(s.Item(TPlotItem::ShowSoilLayer), c.soil) << c.layers << c.wall;
    EXPECT_EQ(s.Item(TPlotItem::ShowWallGeometry), c.wallItem) << c.layers << c.wall;
  }
}

TEST(PlotMenuState, SettingsOfTheGraphCheckTheirItems) {
  TGraphPlot g;
  Fill(g, 4);
  g.ShowLegend = false;
  g.ShowFontWidth = false;
  g.Markers = 4;  // no item has this interval
  g.SizeFont = 20;
  g.WidthLine = 6;
  g.Curve(P1, 1).Shown = false;
  g.Curve(P1, 2).Included = false;
  g.Curve(P1, 3).Name = "Stage 3 & final";
  const TPlotMenuState s = PlotMenuState(g, false);
  EXPECT_FALSE(s.Item(TPlotItem::ShowLegend).Checked);
  EXPECT_EQ(s.Item(TPlotItem::FontSize), Hidden());
  EXPECT_EQ(s.Item(TPlotItem::LineWidth), Hidden());
  EXPECT_EQ(s.CheckedMarkers, -1);
  EXPECT_EQ(s.CheckedFontSize, 20);
  EXPECT_EQ(s.CheckedLineWidth, 6);
  // Only included curves have items; their tag is the curve index.
  ASSERT_EQ(s.Curves.size(), 3u);
  EXPECT_EQ(s.Curves[1], (TCurveItem{"Curve #2", 1, false}));
  EXPECT_EQ(s.Curves[2], (TCurveItem{"Stage 3 & final", 3, true}));
  EXPECT_EQ(MenuCaption(s.Curves[2].Caption), "Stage 3 && final");
}

TEST(PlotMenuState, CaptionsAndTagsOfTheItems) {
  EXPECT_STREQ(kPlotItemCaptions[0], "Show &Legend");
  EXPECT_STREQ(kPlotItemCaptions[9], "");
  EXPECT_STREQ(kPlotItemCaptions[10], "&Print...");
  EXPECT_STREQ(kPlotItemCaptions[12], "&Save To Disk...");
  EXPECT_STREQ(kPlotItemCaptions[13], "");
  std::string markers;
  for (const TMenuChoice& c : kMarkerChoices) markers += std::string(c.Caption) + "=" + std::to_string(c.Tag) + ";";
  EXPECT_EQ(markers,
            "&Never=0;Every &Increment=1;Every &2 Increments=2;Every &3 Incrments=3;Every &5 Increments=5;"
            "Every &10 Incements=10;");
  EXPECT_EQ(CheckedTag(kFontSizeChoices, 25), 25);
  EXPECT_EQ(CheckedTag(kLineWidthChoices, 3), -1);
}

}  // namespace
}  // namespace ramvex
