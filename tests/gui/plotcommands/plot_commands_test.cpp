// The Plot menu on a graph window: its items for the graph as it stands,
// and what the commands change in the graph, the legend and the layout.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QTest>

#include "PlotCommands.h"
#include "PlotForm.h"
#include "PlotLegend.h"
#include "example_fixture.h"

namespace ramvex {
namespace {

constexpr TCurveList P1 = TCurveList::Panel1;

struct PlotCommandsTest : test::StagedExample {
  std::unique_ptr<TPlotForm> form;
  TPlotCommands* commands = nullptr;

  void Open(TGraphPlot& g) {
    form = std::make_unique<TPlotForm>(g);
    form->resize(900, 650);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    commands = PlotCommandsOf(form.get());
    ASSERT_NE(commands, nullptr);
    commands->SetMessageSink(Sink());
  }

  std::vector<std::string> MenuTexts() const {
    commands->UpdateMenu();
    std::vector<std::string> texts;
    for (QAction* a : commands->Menu()->actions()) {
      texts.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    }
    return texts;
  }

  std::vector<std::string> LegendTexts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < form->Legend()->count(); ++i) texts.push_back(form->Legend()->item(i)->text().toStdString());
    return texts;
  }

  QPoint PlotCorner() const {
    const TPixelRect p = form->Layout().Plot;
    return {p.Right, p.Bottom};
  }
  QPoint LegendCorner() const {
    const QRect r = form->Legend()->geometry();
    return {r.x() + r.width(), r.y() + r.height()};
  }
};

TEST_F(PlotCommandsTest, MenuHoldsTheFixedItemsThenOneItemPerStage) {
  Open(graphs.pltDef);
  const std::vector<std::string> expected = {
      "Show &Legend", "Show &Soil Layer", "Show &Wall Geometry", "Show &Markers", "&Font Size", "&Line Width",
      "&Graph Title", "&Edit Legend", "&Active Curves", "-", "&Print...", "P&age Setup", "&Save To Disk...", "-",
      "Stage: 1", "Stage: 2", "Stage: 3"};
  EXPECT_EQ(MenuTexts(), expected);
  EXPECT_EQ(commands->Menu()->title(), "&Plot");
  EXPECT_FALSE(commands->Action(TPlotItem::ShowSoilLayer)->isVisible());
  EXPECT_TRUE(commands->Action(TPlotItem::ShowLegend)->isChecked());
  for (QAction* a : commands->CurveActions()) EXPECT_TRUE(a->isChecked());
}

TEST_F(PlotCommandsTest, CombinedGraphOffersTheSoilStripAndTheWallOnlyWithIt) {
  Open(graphs.pltDMS);
  commands->UpdateMenu();
  QAction* soil = commands->Action(TPlotItem::ShowSoilLayer);
  QAction* wall = commands->Action(TPlotItem::ShowWallGeometry);
  ASSERT_TRUE(soil->isVisible());
  ASSERT_TRUE(wall->isVisible());
  EXPECT_FALSE(wall->isEnabled());

  const int rightBefore = form->Layout().Plot.Right;
  soil->trigger();
  EXPECT_TRUE(graphs.pltDMS.ShowLayers);
  EXPECT_TRUE(soil->isChecked());
  EXPECT_TRUE(wall->isEnabled());
  // The strip takes an inch of the plot area; the legend goes back to the
  // plot area's corner.
  EXPECT_EQ(form->Layout().Plot.Right, rightBefore - form->logicalDpiX());
  EXPECT_EQ(LegendCorner(), PlotCorner());
  wall->trigger();
  EXPECT_TRUE(graphs.pltDMS.ShowWall);
}

TEST_F(PlotCommandsTest, CurveItemsAndTheLegendToggleTheSameFlag) {
  Open(graphs.pltDef);
  commands->UpdateMenu();
  QAction* second = commands->CurveActions().at(1);
  second->trigger();
  EXPECT_FALSE(graphs.pltDef.Curve(P1, 1).Shown);
  EXPECT_EQ(LegendTexts(), (std::vector<std::string>{"Stage: 1 *", "Stage: 2", "Stage: 3 *"}));
  commands->UpdateMenu();
  EXPECT_FALSE(commands->CurveActions().at(1)->isChecked());

  // A double click on the legend row shows the curve again.
  QListWidget* legend = form->Legend();
  emit legend->itemDoubleClicked(legend->item(1));
  EXPECT_TRUE(graphs.pltDef.Curve(P1, 1).Shown);
  commands->UpdateMenu();
  EXPECT_TRUE(commands->CurveActions().at(1)->isChecked());
}

TEST_F(PlotCommandsTest, MarkersAndLineWidthAreStoredInTheGraph) {
  Open(graphs.pltDef);
  commands->MarkerActions().at(4)->trigger();  // "Every &5 Increments"
  EXPECT_EQ(graphs.pltDef.Markers, 5);
  commands->LineWidthActions().at(3)->trigger();  // "6 * Default"
  EXPECT_EQ(graphs.pltDef.WidthLine, 6);
  commands->UpdateMenu();
  EXPECT_TRUE(commands->MarkerActions().at(4)->isChecked());
  EXPECT_FALSE(commands->MarkerActions().at(1)->isChecked());
  // An interval no item offers leaves every marker item unchecked.
  graphs.pltDef.Markers = 7;
  commands->UpdateMenu();
  for (QAction* a : commands->MarkerActions()) EXPECT_FALSE(a->isChecked());
}

TEST_F(PlotCommandsTest, DoubleFontSizeDoublesTheLabelsAndPutsTheLegendBackInItsCorner) {
  Open(graphs.pltDef);
  const int labelBefore = LabelFont(graphs.pltDef, 96).pixelSize();
  // The user moved the legend away from the corner.
  form->Legend()->move(40, 40);
  commands->FontSizeActions().at(2)->trigger();  // "2 * Default"
  EXPECT_EQ(graphs.pltDef.SizeFont, 20);
  EXPECT_EQ(LabelFont(graphs.pltDef, 96).pixelSize(), 2 * labelBefore);
  EXPECT_EQ(form->Legend()->font().pointSize(), 22);
  // Three rows of 33 pixels (3/2 of 22) and the list's 3 extra pixels.
  EXPECT_EQ(form->Legend()->height(), 3 * 33 + 3);
  EXPECT_GE(form->Legend()->width(), LegendTextWidth(*form->Legend(), 0) + form->logicalDpiX() / 4);
  EXPECT_EQ(LegendCorner(), PlotCorner());
}

TEST_F(PlotCommandsTest, DeactivatingEveryCurveLeavesAnEmptyLegendAndAnEmptyPlot) {
  Open(graphs.pltDef);
  commands->ApplyActiveCurves({false, false, false});
  EXPECT_EQ(form->Legend()->count(), 0);
  EXPECT_EQ(form->Legend()->height(), 3);
  EXPECT_EQ(MenuTexts().size(), static_cast<size_t>(kFixedPlotItems));
  // Axes and frame, but no curve colour inside the plot area.
  const QImage image = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const TPixelRect p = form->Layout().Plot;
  int coloured = 0;
  for (int y = p.Top + 1; y < p.Bottom; ++y) {
    for (int x = p.Left + 1; x < p.Right; ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() != c.green() || c.green() != c.blue()) ++coloured;
    }
  }
  EXPECT_EQ(coloured, 0);
  EXPECT_EQ(image.pixelColor(p.Left, (p.Top + p.Bottom) / 2), QColor(Qt::black));
}

TEST_F(PlotCommandsTest, ActivatingTheTwentyFirstCurveAddsItsRowAndItemAtTheEnd) {
  TGraphPlot g;
  g.SetCurveCount(P1, 22);
  g.SetPointCount(P1, 3);
  for (int i = 0; i < 22; ++i) g.Point(P1, i, 2) = {static_cast<long double>(i), 10};
  Open(g);
  ASSERT_EQ(form->Legend()->count(), 20);
  std::vector<bool> included(22, true);
  included[21] = false;
  commands->ApplyActiveCurves(included);
  ASSERT_EQ(form->Legend()->count(), 21);
  QListWidgetItem* last = form->Legend()->item(20);
  EXPECT_EQ(last->text(), "Curve #21 *");
  // Position 20 takes colour 20 mod 17 = 3, green.
  EXPECT_EQ(last->foreground().color(), QColor(0x00, 0x80, 0x00));
  EXPECT_EQ(last->data(Qt::UserRole).toInt(), 20);
  EXPECT_EQ(MenuTexts().back(), "Curve #21");
  EXPECT_EQ(commands->CurveActions().back()->data().toInt(), 20);

  // Deactivating an early curve shifts the later rows up, reusing rows.
  included[0] = false;
  commands->ApplyActiveCurves(included);
  EXPECT_EQ(form->Legend()->count(), 20);
  EXPECT_EQ(form->Legend()->item(0)->text(), "Curve #2 *");
  EXPECT_EQ(form->Legend()->item(0)->foreground().color(), QColor(Qt::black));
  EXPECT_EQ(MenuTexts().at(kFixedPlotItems), "Curve #2");
}

TEST_F(PlotCommandsTest, EditedNamesReachTheLegendAndTheMenu) {
  Open(graphs.pltDef);
  commands->ApplyLineNames({"Stage 1", "Stage 2: excavated & braced", "Stage 3"});
  EXPECT_EQ(graphs.pltDef.Curve(P1, 1).Name, "Stage 2: excavated & braced");
  EXPECT_EQ(LegendTexts(), (std::vector<std::string>{"Stage 1 *", "Stage 2: excavated & braced *", "Stage 3 *"}));
  EXPECT_EQ(MenuTexts().at(kFixedPlotItems + 1), "Stage 2: excavated && braced");
  // The longer row widened the list to fit it.
  EXPECT_GE(form->Legend()->width(), LegendTextWidth(*form->Legend(), 1) + 4);
}

TEST_F(PlotCommandsTest, ShowLegendHidesTheList) {
  Open(graphs.pltDef);
  commands->Action(TPlotItem::ShowLegend)->trigger();
  EXPECT_FALSE(graphs.pltDef.ShowLegend);
  EXPECT_FALSE(form->Legend()->isVisible());
  EXPECT_EQ(commands->LegendAt(), QPointF(-1, -1));
  commands->Action(TPlotItem::ShowLegend)->trigger();
  EXPECT_TRUE(form->Legend()->isVisible());
}

TEST_F(PlotCommandsTest, DraggedLegendStaysInsideTheWindow) {
  Open(graphs.pltDef);
  QListWidget* legend = form->Legend();
  QWidget* viewport = legend->viewport();
  const QPoint start(5, 5);
  QTest::mousePress(viewport, Qt::LeftButton, {}, start);
  // Far beyond the top-left corner of the window.
  QMouseEvent move(QEvent::MouseMove, QPointF(-2000, -2000), viewport->mapToGlobal(QPointF(-2000, -2000)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(-2000, -2000));
  EXPECT_EQ(legend->pos(), QPoint(0, 0));
  // The printed legend box follows the window legend's place.
  EXPECT_EQ(commands->LegendAt(), QPointF(0, 0));
}

TEST_F(PlotCommandsTest, ARowThatOutgrowsTheListWidensItWhenDrawn) {
  Open(graphs.pltDef);
  QListWidget* legend = form->Legend();
  const int before = legend->width();
  legend->item(2)->setText("Stage 3, after the second excavation *");
  legend->viewport()->repaint();
  QApplication::processEvents();
  const int text = LegendTextWidth(*legend, 2);
  ASSERT_GT(text + 4, before);
  // Widened while drawing: the text plus an eighth of an inch.
  EXPECT_EQ(legend->width(), text + form->logicalDpiX() / 8);
}

TEST_F(PlotCommandsTest, AGraphShownInTheMainWindowAreaHasItsPlotMenu) {
  QMdiArea area;
  area.resize(900, 650);
  area.show();
  TPlotForm* shown = ShowGraph(graphs.pltMom, area);
  TPlotCommands* own = PlotCommandsOf(shown);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->Menu()->title(), "&Plot");
  EXPECT_EQ(PlotCommandsOf(&area), nullptr);
  // Showing the graph again reuses its window and its menu.
  EXPECT_EQ(PlotCommandsOf(ShowGraph(graphs.pltMom, area)), own);
}

TEST_F(PlotCommandsTest, SettingsOutliveTheWindow) {
  Open(graphs.pltDef);
  commands->FontSizeActions().at(1)->trigger();
  commands->CurveActions().at(0)->trigger();
  form.reset();
  Open(graphs.pltDef);
  commands->UpdateMenu();
  EXPECT_TRUE(commands->FontSizeActions().at(1)->isChecked());
  EXPECT_FALSE(commands->CurveActions().at(0)->isChecked());
  EXPECT_EQ(form->Legend()->item(0)->text(), "Stage: 1");
}

}  // namespace
}  // namespace ramvex
