#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "ExportLayout.h"
#include "export_fixture.h"

namespace ramvex {
namespace {

using test::ExportFixture;
using test::PlotText;
constexpr TCurveList P1 = TCurveList::Panel1;

TEST(ExcelColumn, NamesColumnsUpToTheLastOneASheetHas) {
  const struct {
    int column;
    const char* name;
  } cases[] = {
      {1, "A"},     {2, "B"},     {26, "Z"},    {27, "AA"},    {28, "AB"},    {52, "AZ"},  {53, "BA"},
      {676, "YZ"},  {677, "ZA"},  {701, "ZY"},  {702, "ZZ"},   {703, "AAA"},  {704, "AAB"},
      {16384, "XFD"}, {0, ""},    {-1, ""},     {16385, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExcelColumn(c.column), c.name) << "column " << c.column;
}

TEST(ExportItems, BeforeAnyRunNothingCanBeExported) {
  TResultGraphs graphs;
  for (bool ready : {false, true}) {
    std::vector<TExportItem> items = ExportItems(graphs, ready);
    ASSERT_EQ(items.size(), 7u);
    if (!ready) {
      for (const TExportItem& i : items) EXPECT_FALSE(i.Enabled || i.Checked) << i.Caption;
      SetAllChecked(items, true);
      EXPECT_EQ(CheckedCount(items), 0);
    } else {
      // With results but empty graphs only the combined earth pressure,
      // whose command needs no data, is offered.
      for (size_t k = 0; k < 6; ++k) EXPECT_FALSE(items[k].Enabled) << items[k].Caption;
      EXPECT_TRUE(items[6].Enabled && items[6].Checked);
    }
  }
}

TEST_F(ExportFixture, EntriesFollowTheGraphCommandsInListOrder) {
  ReadStagedExample();
  const std::vector<TExportItem> items = ExportItems(graphs, true);
  const std::vector<TExportItem> expected = {
      {"p-y Curves", true, true},          {"Deflection vs Depth", true, true},
      {"Shear vs Depth", true, true},      {"Moment vs Depth", true, true},
      {"Net Reaction vs Depth", true, true}, {"Earth Pressure Distribution", true, true},
      {"Earth Pressure Combined", true, true},
  };
  EXPECT_EQ(items, expected);
  const auto entries = ExportEntries(graphs);
  EXPECT_STREQ(entries[2].Command, "CompShear");
  EXPECT_EQ(entries[2].Graph, &graphs.pltShear);
  EXPECT_EQ(entries[6].Graph, &graphs.PltCombine);

  // The results were read but the plot file is gone: the commands are off.
  for (const TExportItem& i : ExportItems(graphs, false)) EXPECT_FALSE(i.Enabled) << i.Caption;
}

TEST_F(ExportFixture, SelectAllLeavesDisabledEntriesAlone) {
  // No p-y curves and no earth pressure: those entries are disabled.
  ASSERT_TRUE(graphs.ReadPlotText(PlotText(1, 2, {}, {{0, 1, 2, 3, 4}, {1, 2, 3, 4, 5}}), project));
  std::vector<TExportItem> items = ExportItems(graphs, true);
  EXPECT_FALSE(items[0].Enabled);  // p-y curves
  EXPECT_FALSE(items[5].Enabled);  // earth pressure distribution
  EXPECT_TRUE(items[6].Enabled);   // combined: the base condition suffices
  EXPECT_EQ(CheckedCount(items), 5);

  SetAllChecked(items, false);
  EXPECT_EQ(CheckedCount(items), 0);
  // A disabled entry that is somehow checked keeps its mark on Unselect All.
  items[0].Checked = true;
  SetAllChecked(items, false);
  EXPECT_TRUE(items[0].Checked);
  items[0].Checked = false;
  SetAllChecked(items, true);
  EXPECT_FALSE(items[0].Checked);
  EXPECT_FALSE(items[5].Checked);
  EXPECT_EQ(CheckedCount(items), 5);
}

// Three stages of 41 nodes: the deflection graph fills columns A to F, rows
// 6 to 46, and its chart has three series over columns A, C and E.
TEST_F(ExportFixture, ThreeStagesOf41NodesRefersToRows6To46) {
  std::string text;
  for (int k = 0; k < 3; ++k) {
    std::vector<std::vector<double>> nodes;
    for (int i = 0; i < 41; ++i) nodes.push_back({6.0 * i, 0.01 * (k + 1) * i, 1000.0 * i, 100.0 * i, 1.0 * i});
    text += PlotText(3, 1, {{0, 1, 1, 0}}, nodes);
  }
  ASSERT_TRUE(graphs.ReadPlotText(text, project));

  const TSheetLayout l = LayoutGraph(graphs.pltDef, 1);
  EXPECT_EQ(l.DataSheet, "Page_1");
  EXPECT_EQ(l.ChartSheet, "Plot_1");
  EXPECT_EQ(l.Points, 41);
  EXPECT_EQ(l.CurveNames, (std::vector<std::string>{"Stage: 1", "Stage: 2", "Stage: 3"}));
  const std::vector<TSeriesLayout> series = {
      {"Stage: 1", "=Page_1!$A$6:$A$46", "=Page_1!$B$6:$B$46"},
      {"Stage: 2", "=Page_1!$C$6:$C$46", "=Page_1!$D$6:$D$46"},
      {"Stage: 3", "=Page_1!$E$6:$E$46", "=Page_1!$F$6:$F$46"},
  };
  EXPECT_EQ(l.Series, series);
  EXPECT_EQ(l.XTitle, "Deflection (in)");
  EXPECT_EQ(l.YTitle, "Depth (ft)");
  EXPECT_TRUE(l.ReverseY);
  EXPECT_EQ(l.CurvesLeftOut, 0);

  // The number is the export position, not the list position.
  const TSheetLayout ld = LayoutGraph(graphs.pltLD, 2);
  EXPECT_EQ(ld.DataSheet, "Page_2");
  EXPECT_EQ(ld.Series[2].XValues, "=Page_2!$E$6:$E$6");
}

TEST_F(ExportFixture, AxisTitlesCarryTheUnitsOfTheGraphsUnitSystem) {
  const struct {
    const char* name;
    TGraphPlot TResultGraphs::*graph;
    int units;
    const char* x;
    const char* y;
    bool reversed;
  } cases[] = {
      {"p-y, US", &TResultGraphs::pltPY, 1, "y (in)", "p (lbs/in)", false},
      {"p-y, SI", &TResultGraphs::pltPY, 2, "y (m)", "p (kN/m)", false},
      {"deflection, SI", &TResultGraphs::pltDef, 2, "Deflection (m)", "Depth", true},
      {"reaction, US", &TResultGraphs::pltSoil, 1, "Reaction (lbs)", "Depth", true},
      // No unit strings: the bare captions.
      {"moment", &TResultGraphs::pltMom, 1, "Bending Moment", "Depth", true},
      {"combined, SI", &TResultGraphs::PltCombine, 2, "Distributed Load (kN/m)", "Depth (m)", true},
      {"other units", &TResultGraphs::pltLD, 3, "Distributed load (F/L)", "Depth", true},
  };
  for (const auto& c : cases) {
    TGraphPlot& g = graphs.*c.graph;
    g.SetUnits(c.units);
    const TSheetLayout l = LayoutGraph(g, 1);
    EXPECT_EQ(l.XTitle, c.x) << c.name;
    EXPECT_EQ(l.YTitle, c.y) << c.name;
    EXPECT_EQ(l.ReverseY, c.reversed) << c.name;
  }
}

TEST(LayoutGraph, ManyCurvesGoPastZZAndTheChartStopsAtItsLimit) {
  TGraphPlot g;
  g.Caption = "many";
  g.SetCurveCount(TCurveList::Panel1, 400);
  g.SetPointCount(TCurveList::Panel1, 3);
  const TSheetLayout l = LayoutGraph(g, 4);
  ASSERT_EQ(l.CurveNames.size(), 400u);
  EXPECT_EQ(l.CurveNames[350], "Curve #351");
  ASSERT_EQ(static_cast<int>(l.Series.size()), kMaxChartSeries);
  EXPECT_EQ(l.Series.back().XValues, "=Page_4!$" + ExcelColumn(509) + "$6:$" + ExcelColumn(509) + "$8");
  EXPECT_EQ(l.CurvesLeftOut, 0);

  g.SetCurveCount(TCurveList::Panel1, kMaxSheetCurves + 3);
  EXPECT_EQ(LayoutGraph(g, 1).CurvesLeftOut, 3);
}

TEST(LayoutGraph, AGraphWithoutCurvesStillGetsOneEmptySeries) {
  TGraphPlot g;
  const TSheetLayout l = LayoutGraph(g, 1);
  EXPECT_EQ(l.Points, 0);
  ASSERT_EQ(l.Series.size(), 1u);
  EXPECT_EQ(l.Series[0], (TSeriesLayout{"", "=Page_1!$A$6:$A$6", "=Page_1!$B$6:$B$6"}));
}

TEST(SheetNumber, KeepsFifteenSignificantDigits) {
  EXPECT_EQ(SheetNumber(1.0L / 3), 0.333333333333333);
  EXPECT_EQ(SheetNumber(96.0L / 12), 8.0);
  EXPECT_EQ(SheetNumber(-2.5e-300L), -2.5e-300);
  EXPECT_EQ(SheetNumber(123456789012345678.0L), 123456789012346000.0);
  EXPECT_TRUE(std::isinf(SheetNumber(-std::numeric_limits<long double>::infinity())));
}

}  // namespace
}  // namespace ramvex
