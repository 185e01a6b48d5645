#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "PlotDraw.h"
#include "PlotView.h"
#include "ProgramData.h"
#include "ResultGraphs.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;
constexpr TCurveList P1 = TCurveList::Panel1;

TDrawDevice Screen(int width, int height, int h = 16) {
  TDrawDevice d;
  d.Client = {0, 0, width, height};
  d.H = h;
  return d;
}

// Worked from the layout rules at 96 pixels per inch with a 16-pixel font:
// left = 2h + dx/8 + h/8 = 46, right = 640 - dx/4 - h/2 = 608.
TEST(LayoutGraph, PlotAreaAndPanels) {
  TGraphPlot g;
  TGraphLayout l = LayoutGraph(g, Screen(640, 480));
  EXPECT_EQ(l.Plot, (TPixelRect{46, 46, 608, 448}));
  g.XOnTop = false;
  l = LayoutGraph(g, Screen(640, 480));
  EXPECT_EQ(l.Plot, (TPixelRect{46, 32, 608, 434}));  // top = h/2 + dy/4; bottom = 480 - 46
  g.UserTitle = "Wall A";
  l = LayoutGraph(g, Screen(640, 480));
  EXPECT_EQ(l.Plot.Bottom, 418);  // a bottom title takes h
  g.XOnTop = true;
  g.TitleOnTop = true;
  l = LayoutGraph(g, Screen(640, 480));
  EXPECT_EQ(l.Plot.Top, 46 + 2 + 16);

  TGraphPlot three;
  three.ShowThree = true;
  three.ShowLayers = true;
  l = LayoutGraph(three, Screen(1000, 600));
  // Right edge 1000 - 24 - 8 = 968, less an inch for the strip: 872.
  EXPECT_EQ(l.Strip, (TPixelRect{872 + 19, 46, 968, 568}));
  ASSERT_EQ(l.PanelCount, 3);
  const int w = (872 - 46 - 64 - 48) / 3;  // (plot width - 4h - dx/2) / 3 = 238
  EXPECT_EQ(l.Panels[0], (TPixelRect{46, 46, 46 + w, 568}));
  EXPECT_EQ(l.Panels[1].Left, 46 + w + 32 + 24);
  EXPECT_EQ(l.Panels[1].Width(), w);
  EXPECT_EQ(l.Panels[2].Right, 872);

  TDrawDevice page = Screen(800, 1000);
  page.Client = {100, 100, 700, 900};
  page.Target = TDrawTarget::Printer;
  l = LayoutGraph(g, page);
  EXPECT_EQ(l.Plot.Right, 700);
  EXPECT_EQ(l.Plot.Bottom, 900);
  EXPECT_EQ(l.Plot.Top, 100 + 46 + 24);  // a top title takes dy/4 on paper
}

TEST(Zoom, RubberBandNarrowerThanOneTwentiethIsWidened) {
  const TScale full{0, 100};
  struct Case {
    const char* name;
    long double a, b;
    TScale expected;
  } cases[] = {
      {"wide band kept", 10, 40, {10, 40}},
      {"corners in either order", 40, 10, {10, 40}},
      {"1/100 widened to 1/20 around its centre", 50, 51, {48, 53}},
      {"widened band pushed back inside at the low end", 0, 1, {0, 5}},
      {"and at the high end", 99.5L, 100, {95, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TScale r = ZoomRange(full, c.a, c.b);
    EXPECT_NEAR(static_cast<double>(r.Min), static_cast<double>(c.expected.Min), 1e-12);
    EXPECT_NEAR(static_cast<double>(r.Max), static_cast<double>(c.expected.Max), 1e-12);
  }
}

TEST(Zoom, RightClickDoublesTheRangeInsideTheFullExtent) {
  const TScale full{-10, 10};
  struct Case {
    TScale current;
    long double clicked;
    TScale expected;
  } cases[] = {
      {{0, 2}, 1, {-1, 3}},     // half-width = current width
      {{0, 2}, 9.5L, {6, 10}},  // moved back inside
      {{-8, 8}, 3, {-10, 10}},  // capped at half the full extent
  };
  for (const Case& c : cases) {
    TScale r = ZoomOutRange(c.current, full, c.clicked);
    EXPECT_NEAR(static_cast<double>(r.Min), static_cast<double>(c.expected.Min), 1e-12);
    EXPECT_NEAR(static_cast<double>(r.Max), static_cast<double>(c.expected.Max), 1e-12);
  }
}

TEST(Readout, PixelsBackToDataAndTheTitle) {
  const TPixelRect panel{100, 50, 500, 450};
  const TPanelScale s{{0, 40}, {0, 20}};
  TDataPoint d = PixelToData(panel, s, true, {300, 150});
  EXPECT_NEAR(static_cast<double>(d.X), 20, 1e-12);
  EXPECT_NEAR(static_cast<double>(d.Y), 5, 1e-12);
  d = PixelToData(panel, s, false, {0, 1000});  // clamped to the bottom-left corner
  EXPECT_EQ(d.X, 0);
  EXPECT_EQ(d.Y, 0);
  EXPECT_EQ(MapY(panel, s.Y, false, 5), 350);
  EXPECT_EQ(ReadoutTitle("Deflection vs Depth", 0.123456L, 12), "Deflection vs Depth X: 0.12346 Y: 12");
}

TEST(IncludeCurves, OnlyTheFirstTwentyWhenLimited) {
  TGraphPlot g;
  g.SetCurveCount(P1, 22);
  IncludeCurves(g);
  EXPECT_TRUE(g.Curve(P1, 19).Included);
  EXPECT_FALSE(g.Curve(P1, 20).Included);
  g.LimitTo20 = false;
  IncludeCurves(g);
  EXPECT_TRUE(g.Curve(P1, 21).Included);
}

// Three horizontal curves at depths 3, 5 and 7 on 0..10 scales, looked at
// at X = 4.5, away from the grid lines (every 1 or 2).
struct DrawTest : ::testing::Test {
  TGraphPlot g;
  QImage image{640, 480, QImage::Format_RGB32};

  void SetUp() override {
    g.SetCurveCount(P1, 3);
    g.SetPointCount(P1, 2);
    for (int i = 0; i < 3; ++i) {
      g.Point(P1, i, 0) = {1, 3.0L + 2 * i};
      g.Point(P1, i, 1) = {9, 3.0L + 2 * i};
    }
    g.Markers = 0;
  }
  TGraphView View() {
    TGraphView v = NewGraphView(g);
    v.Scales[0] = {{0, 10}, {0, 10}};
    return v;
  }
  void Paint() {
    image.fill(Qt::gray);
    QPainter p(&image);
    draw(p, image.rect(), g, View(), {TDrawTarget::Screen, 96, 96});
  }
  QColor At(int curve) {
    TGraphLayout l = LayoutGraph(g, DeviceFor(g, image.rect(), &image, {TDrawTarget::Screen, 96, 96}));
    TGraphView v = View();
    return image.pixelColor(static_cast<int>(MapX(l.Panels[0], v.Scales[0].X, 4.5L)),
                            static_cast<int>(MapY(l.Panels[0], v.Scales[0].Y, true, 3.0L + 2 * curve)));
  }
};

TEST_F(DrawTest, CurvesTakeTheColoursOfTheirPositions) {
  Paint();
  EXPECT_EQ(At(0), QColor(Qt::black));
  EXPECT_EQ(At(1), QColor(0, 0, 255));
  EXPECT_EQ(At(2), QColor(255, 0, 0));
}

TEST_F(DrawTest, HiddenCurveKeepsTheColoursOfTheOthers) {
  g.Curve(P1, 1).Shown = false;
  Paint();
  EXPECT_EQ(At(1), QColor(Qt::white));
  EXPECT_EQ(At(2), QColor(255, 0, 0));
  // An excluded curve gives up its colour.
  g.Curve(P1, 1).Included = false;
  Paint();
  EXPECT_EQ(At(2), QColor(0, 0, 255));
}

TEST_F(DrawTest, SinglePointCurvesAreNotDrawn) {
  g.SetPointCount(P1, 1);
  g.SetCurveCount(P1, 1);
  g.Point(P1, 0, 0) = {5, 3};
  Paint();
  EXPECT_EQ(At(0), QColor(Qt::white));
}

// Markers and dotted grid lines are set pixel by pixel on plain 32-bit
// images; any other target draws them with the painter.  Both must give
// the same picture.
TEST_F(DrawTest, DirectPixelsMatchThePaintersDrawing) {
  g.Markers = 1;
  g.SetPointCount(P1, 40);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 40; ++j) g.Point(P1, i, j) = {std::sin(j / 6.0L + i) * 4 + 5, j / 4.0L};
  }
  QImage direct(700, 500, QImage::Format_RGB32);
  QImage painted(700, 500, QImage::Format_ARGB32_Premultiplied);
  for (QImage* image : {&direct, &painted}) {
    QPainter p(image);
    draw(p, image->rect(), g, View(), {TDrawTarget::Screen, 96, 96});
  }
  painted = painted.convertToFormat(QImage::Format_RGB32);
  int differing = 0;
  for (int y = 0; y < direct.height(); ++y) {
    for (int x = 0; x < direct.width(); ++x) differing += direct.pixel(x, y) != painted.pixel(x, y);
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(DrawTest, TargetSmallerThanAnInchIsBlankWhite) {
  image = QImage(90, 300, QImage::Format_RGB32);
  Paint();
  for (int y = 0; y < image.height(); y += 7) {
    for (int x = 0; x < image.width(); x += 3) ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
  }
}

TEST_F(DrawTest, WallIsGrayInTheMiddleFifthOfTheStrip) {
  g.SetCurveCount(TCurveList::Layers, 4);
  g.Curve(TCurveList::Layers, 0).Points = {{1, 4}};   // clay to 4
  g.Curve(TCurveList::Layers, 1).Points = {{7, 10}};  // sand to 10
  g.Curve(TCurveList::Layers, 2).Points = {{0, 9}};   // wall bottom
  g.Curve(TCurveList::Layers, 3).Points = {{0, 3}};   // free height
  g.WallLineCount = 2;
  g.ShowLayers = true;
  g.ShowWall = true;
  Paint();
  TGraphLayout l = LayoutGraph(g, DeviceFor(g, image.rect(), &image, {TDrawTarget::Screen, 96, 96}));
  TGraphView v = View();
  const TPixelRect& s = l.Strip;
  const int mid = (s.Left + s.Right) / 2;
  auto y = [&](long double depth) { return static_cast<int>(MapY(s, v.Scales[0].Y, true, depth)); };
  EXPECT_EQ(image.pixelColor(mid, y(5)), QColor(0x80, 0x80, 0x80));
  EXPECT_NE(image.pixelColor(mid, y(9.5L)), QColor(0x80, 0x80, 0x80)) << "below the wall";
  // The excavation side starts at the free height: the clay box there has
  // its top edge at depth 3, and nothing lies above it.
  EXPECT_EQ(image.pixelColor(s.Right - 5, y(3)), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(s.Right - 5, y(2)), QColor(Qt::white));
  int black = 0;
  for (int x = s.Left + 2; x < s.Left + 10; ++x) black += image.pixelColor(x, y(2)) == QColor(Qt::black);
  EXPECT_GT(black, 0) << "the retained side is hatched from the top";
}

}  // namespace
}  // namespace ramvex
