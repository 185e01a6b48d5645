#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <cstdlib>
#include <filesystem>

#include "PlotForm.h"

namespace ramvex {
namespace {

constexpr TCurveList P1 = TCurveList::Panel1;

// A deflection-like graph: X 0..10, depth 0..100.
struct PlotFormTest : ::testing::Test {
  TGraphPlot g;
  void SetUp() override {
    g.Caption = "Deflection vs Depth";
    g.CurveName = "Load #";
    g.SetCurveCount(P1, 2);
    g.SetPointCount(P1, 11);
    for (int j = 0; j <= 10; ++j) {
      g.Point(P1, 0, j) = {10.0L - j, 10.0L * j};
      g.Point(P1, 1, j) = {5.0L - j / 2.0L, 10.0L * j};
    }
  }
};

QPoint Pixel(const TPlotForm& f, long double x, long double y) {
  const TGraphLayout l = f.Layout();
  return {static_cast<int>(MapX(l.Panels[0], f.View().Scales[0].X, x)),
          static_cast<int>(MapY(l.Panels[0], f.View().Scales[0].Y, true, y))};
}

TEST_F(PlotFormTest, TitleReadsOutTheDataUnderTheMouse) {
  TPlotForm f(g);
  f.resize(800, 600);
  f.show();
  EXPECT_EQ(f.windowTitle(), "Deflection vs Depth");
  QTest::mouseMove(&f, Pixel(f, 5, 50));
  EXPECT_TRUE(f.windowTitle().startsWith("Deflection vs Depth X: ")) << f.windowTitle().toStdString();
  // Outside the plot area the position is clamped to its edge: depth 0.
  QTest::mouseMove(&f, QPoint(400, 2));
  EXPECT_TRUE(f.windowTitle().endsWith(" Y: 0")) << f.windowTitle().toStdString();
}

TEST_F(PlotFormTest, RubberBandZoomsAndRightClickZoomsOut) {
  TPlotForm f(g);
  f.resize(800, 600);
  f.show();
  const TPanelScale full = f.View().Full[0];
  EXPECT_EQ(full.X.Max, 10);
  EXPECT_EQ(full.Y.Max, 100);

  QTest::mousePress(&f, Qt::LeftButton, {}, Pixel(f, 2, 20));
  QTest::mouseMove(&f, Pixel(f, 6, 60));
  EXPECT_TRUE(f.Banding());
  QTest::mouseRelease(&f, Qt::LeftButton, {}, Pixel(f, 6, 60));
  EXPECT_FALSE(f.Banding());
  TPanelScale s = f.View().Scales[0];
  EXPECT_NEAR(static_cast<double>(s.X.Min), 2, 0.05);
  EXPECT_NEAR(static_cast<double>(s.X.Max), 6, 0.05);
  EXPECT_NEAR(static_cast<double>(s.Y.Min), 20, 0.5);
  EXPECT_NEAR(static_cast<double>(s.Y.Max), 60, 0.5);

  QTest::mouseClick(&f, Qt::RightButton, {}, Pixel(f, 4, 40));
  s = f.View().Scales[0];
  EXPECT_NEAR(static_cast<double>(s.X.Width()), 8, 0.1);  // twice as wide
  EXPECT_NEAR(static_cast<double>(s.Y.Width()), 80, 1);
  EXPECT_GE(s.X.Min, full.X.Min);
  EXPECT_LE(s.Y.Max, full.Y.Max);
}

TEST_F(PlotFormTest, TinyBandIsWidenedAndAClickIsNoZoom) {
  TPlotForm f(g);
  f.resize(800, 600);
  f.show();
  QTest::mouseClick(&f, Qt::LeftButton, {}, Pixel(f, 5, 50));
  EXPECT_EQ(f.View().Scales[0], f.View().Full[0]);

  const QPoint a = Pixel(f, 5, 50);
  QTest::mousePress(&f, Qt::LeftButton, {}, a);
  QTest::mouseMove(&f, a + QPoint(2, 2));
  QTest::mouseRelease(&f, Qt::LeftButton, {}, a + QPoint(2, 2));
  const TPanelScale s = f.View().Scales[0];
  EXPECT_NEAR(static_cast<double>(s.X.Width()), 0.5, 1e-9);  // 1/20 of 10
  EXPECT_NEAR(static_cast<double>(s.Y.Width()), 5, 1e-9);
}

TEST_F(PlotFormTest, LegendListsIncludedCurvesAndToggles) {
  g.Curve(P1, 1).Shown = false;
  TPlotForm f(g);
  f.resize(800, 600);
  f.show();
  ASSERT_EQ(f.Legend()->count(), 2);
  EXPECT_EQ(f.Legend()->item(0)->text(), "Load #1 *");
  EXPECT_EQ(f.Legend()->item(1)->text(), "Load #2");
  EXPECT_EQ(f.Legend()->item(1)->foreground().color(), QColor(0, 0, 255));
  const TPixelRect plot = f.Layout().Plot;
  EXPECT_EQ(f.Legend()->geometry().right() + 1, plot.Right);
  emit f.Legend()->itemDoubleClicked(f.Legend()->item(1));
  EXPECT_TRUE(g.Curve(P1, 1).Shown);

  if (const char* folder = std::getenv("RAMVEX_GRAPH_IMAGES")) {
    f.grab().save(QString::fromStdString((std::filesystem::path(folder) / "plot_form.png").string()));
  }
}

TEST_F(PlotFormTest, ShowGraphKeepsOneWindowPerGraph) {
  QMdiArea area;
  area.resize(900, 700);
  area.show();
  TPlotForm* first = ShowGraph(g, area);
  EXPECT_EQ(g.Window.data(), first);
  EXPECT_EQ(ShowGraph(g, area), first);
  EXPECT_EQ(area.subWindowList().size(), 1);
  first->parentWidget()->showMinimized();
  ShowGraph(g, area);
  EXPECT_FALSE(first->parentWidget()->isMinimized());
  // Closing frees the window; the next show builds a new one.
  first->parentWidget()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(g.Window.isNull());
  TPlotForm* second = ShowGraph(g, area);
  EXPECT_NE(second, nullptr);
  EXPECT_EQ(area.subWindowList().size(), 1);
}

}  // namespace
}  // namespace ramvex

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests (and running them from a shell without a display)
  // needs no windowing system.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
