#include <gtest/gtest.h>

#include <locale.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "ExportWorkbook.h"
#include "export_fixture.h"
#include "plot_reader.h"
#include "xlsx_reader.h"

// The C library keeps the search path of a locale loaded through LOCPATH
// for as long as the process runs; LeakSanitizer is told so.  Unused
// without the sanitizer.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

namespace ramvex {
namespace {

using test::ExportFixture;
using test::PlotText;
using test::Xlsx;
using test::XlsxSheet;
namespace fs = std::filesystem;
constexpr TCurveList P1 = TCurveList::Panel1;

std::string Ref(int column, int row) { return ExcelColumn(column) + std::to_string(row); }

// The workbook value against the plot file's value as the graph converts it:
// the cell keeps 15 significant digits.
void ExpectCell(const XlsxSheet& sheet, int column, int row, double expected) {
  const std::string ref = Ref(column, row);
  ASSERT_TRUE(sheet.Has(ref)) << sheet.Name << "!" << ref;
  const test::XlsxCell& cell = sheet.Cell(ref);
  ASSERT_TRUE(cell.Number) << sheet.Name << "!" << ref << " holds text \"" << cell.Text << "\"";
  EXPECT_NEAR(cell.Value(), expected, 1e-14 * std::max(1.0, std::fabs(expected))) << sheet.Name << "!" << ref;
}

struct WorkbookTest : ExportFixture {
  std::vector<fs::path> opened;
  TWorkbookOpener opener = [this](const fs::path& p) {
    opened.push_back(p);
    return true;
  };

  TExportOutcome Export(const std::vector<const TGraphPlot*>& picked) {
    TExportOutcome out = ExportGraphs(picked, folder, opener);
    EXPECT_TRUE(out.Workbook.Written) << out.Message;
    return out;
  }
};

TEST_F(WorkbookTest, StagedExampleDeflectionAndPressureAsTheUserPicksThem) {
  ReadStagedExample();
  const TExportOutcome out = Export({&graphs.pltDef, &graphs.pltLD});
  ASSERT_EQ(opened, std::vector<fs::path>{out.File});
  EXPECT_EQ(out.File.parent_path(), folder);
  EXPECT_EQ(out.File.extension(), ".xlsx");
  EXPECT_EQ(out.Message, std::string(kExportCompleted) + "\nThe workbook is the file \"" + out.File.string() +
                             "\" in the temporary folder; it is not saved anywhere else.\n" + kSaveReminder);

  const Xlsx book(out.File);
  EXPECT_EQ(book.Names(), (std::vector<std::string>{"Legend", "Page_1", "Plot_1", "Page_2", "Plot_2"}));
  EXPECT_FALSE(book.Sheet("Page_1").IsChart);
  EXPECT_TRUE(book.Sheet("Plot_1").IsChart);

  // Index sheet.
  const XlsxSheet& legend = book.Sheet("Legend");
  for (int c = 0; c < 5; ++c) {
    const test::XlsxCell& head = legend.Cell(Ref(2 + c, 2));
    EXPECT_EQ(head.Text, kLegendHeaders[static_cast<size_t>(c)]);
    EXPECT_TRUE(book.Formats.at(static_cast<size_t>(head.Style)).Bold) << Ref(2 + c, 2);
    EXPECT_EQ(book.Formats.at(static_cast<size_t>(head.Style)).VerticalAlignment, "center") << Ref(2 + c, 2);
    EXPECT_EQ(legend.Widths.count(2 + c), 1u) << Ref(2 + c, 2);
  }
  // Fitted to the headers, which are longer than what the columns hold:
  // the plot name widest, then the status, the sheet names and the number.
  EXPECT_GT(legend.Widths.at(3), legend.Widths.at(6));
  EXPECT_GT(legend.Widths.at(6), legend.Widths.at(4));
  EXPECT_EQ(legend.Widths.at(4), legend.Widths.at(5));
  EXPECT_GT(legend.Widths.at(4), legend.Widths.at(2));
  const char* captions[] = {"Deflection vs Depth", "Earth Pressure Distribution"};
  for (int k = 1; k <= 2; ++k) {
    const int row = k + 2;
    ExpectCell(legend, 2, row, k);
    EXPECT_EQ(legend.Cell(Ref(3, row)).Text, captions[k - 1]);
    EXPECT_EQ(legend.Cell(Ref(4, row)).Text, "Page_" + std::to_string(k));
    EXPECT_EQ(legend.Links.at(Ref(4, row)), "Page_" + std::to_string(k) + "!A1");
    EXPECT_EQ(legend.Cell(Ref(5, row)).Text, "Plot_" + std::to_string(k));
    EXPECT_EQ(legend.Cell(Ref(6, row)).Text, "Complete");
  }
  EXPECT_FALSE(legend.Has("B5"));

  // Data sheet of the deflection graph against the plot file itself.
  const std::vector<test::PlotBlock> blocks = test::readPlotFile(test::kExamples / "golden" / "three_stages.rv5p");
  ASSERT_EQ(blocks.size(), 3u);
  const XlsxSheet& def = book.Sheet("Page_1");
  EXPECT_EQ(def.Cell("A1").Text, "Deflection vs Depth");
  EXPECT_EQ(def.Cell("A2").Text, "X");
  EXPECT_EQ(def.Cell("B2").Text, "Deflection (in)");
  EXPECT_EQ(def.Cell("A3").Text, "Y");
  EXPECT_EQ(def.Cell("B3").Text, "Depth (ft)");
  EXPECT_EQ(def.Cell("G1").Text, "Go to Legend Page");
  EXPECT_EQ(def.Links.at("G1"), "Legend!A1");
  for (int k = 0; k < 3; ++k) {
    const int x = 2 * k + 1;
    EXPECT_EQ(def.Cell(Ref(x, 4)).Text, "Stage: " + std::to_string(k + 1));
    EXPECT_EQ(def.Cell(Ref(x, 5)).Text, "X");
    EXPECT_EQ(def.Cell(Ref(x + 1, 5)).Text, "Y");
    const auto& nodes = blocks[static_cast<size_t>(k)].nodes;
    ASSERT_EQ(nodes.size(), 61u);
    for (int i = 0; i < 61; ++i) {
      ExpectCell(def, x, 6 + i, nodes[static_cast<size_t>(i)].deflection);
      ExpectCell(def, x + 1, 6 + i, nodes[static_cast<size_t>(i)].depth / 12);
    }
    EXPECT_FALSE(def.Has(Ref(x, 67)));
  }

  // Earth pressure: each block's own points; a shorter block is padded with
  // its last point as in the graph.
  const XlsxSheet& ld = book.Sheet("Page_2");
  EXPECT_EQ(ld.Cell("B2").Text, "Distributed load (lbs/in)");
  size_t rows = 0;
  for (const auto& b : blocks) rows = std::max(rows, b.earthPressure.size());
  for (int k = 0; k < 3; ++k) {
    const auto& ep = blocks[static_cast<size_t>(k)].earthPressure;
    ASSERT_FALSE(ep.empty());
    for (size_t i = 0; i < rows; ++i) {
      const auto& p = ep[std::min(i, ep.size() - 1)];
      ExpectCell(ld, 2 * k + 1, 6 + static_cast<int>(i), p.total);
      ExpectCell(ld, 2 * k + 2, 6 + static_cast<int>(i), p.depth / 12);
    }
  }

  // Chart of the deflection graph.
  const test::XlsxChart& chart = book.Sheet("Plot_1").Chart;
  EXPECT_EQ(chart.Type, "scatterChart");
  EXPECT_EQ(chart.ScatterStyle, "lineMarker");
  EXPECT_TRUE(chart.TitleDeleted);
  ASSERT_EQ(chart.Series.size(), 3u);
  for (int k = 0; k < 3; ++k) {
    const test::XlsxSeries& s = chart.Series[static_cast<size_t>(k)];
    EXPECT_EQ(s.Name, "Stage: " + std::to_string(k + 1));
    const std::string x = ExcelColumn(2 * k + 1), y = ExcelColumn(2 * k + 2);
    EXPECT_EQ(s.XValues, "Page_1!$" + x + "$6:$" + x + "$66");
    EXPECT_EQ(s.YValues, "Page_1!$" + y + "$6:$" + y + "$66");
  }
  ASSERT_EQ(chart.Axes.size(), 2u);
  const test::XlsxAxis& xAxis = chart.Axes[0];
  const test::XlsxAxis& yAxis = chart.Axes[1];
  EXPECT_EQ(xAxis.Position, "t");  // with the depth axis reversed it crosses at the top
  EXPECT_EQ(yAxis.Position, "l");
  EXPECT_EQ(xAxis.Title, "Deflection (in)");
  EXPECT_EQ(yAxis.Title, "Depth (ft)");
  EXPECT_TRUE(xAxis.MajorGridlines);
  EXPECT_TRUE(yAxis.MajorGridlines);
  EXPECT_EQ(xAxis.Labels, "low");
  EXPECT_EQ(yAxis.Labels, "low");
  EXPECT_EQ(xAxis.Orientation, "minMax");
  EXPECT_EQ(yAxis.Orientation, "maxMin");  // depth grows downward
  EXPECT_EQ(book.Sheet("Plot_2").Chart.Series[2].XValues, "Page_2!$E$6:$E$" + std::to_string(5 + rows));
}

TEST_F(WorkbookTest, EveryEntryOfTheStagedExampleInListOrder) {
  ReadStagedExample();
  std::vector<const TGraphPlot*> all;
  for (const TExportEntry& e : ExportEntries(graphs)) all.push_back(e.Graph);
  const TExportOutcome out = Export(all);
  EXPECT_EQ(out.Workbook.Status, std::vector<std::string>(7, "Complete"));
  // A copy to look at in a spreadsheet application.
  if (const char* dir = std::getenv("RAMVEX_EXPORT_SNAPSHOTS")) {
    fs::copy_file(out.File, fs::path(dir) / "all-plots.xlsx", fs::copy_options::overwrite_existing);
  }

  const Xlsx book(out.File);
  std::vector<std::string> names = {"Legend"};
  for (int k = 1; k <= 7; ++k) {
    names.push_back("Page_" + std::to_string(k));
    names.push_back("Plot_" + std::to_string(k));
  }
  EXPECT_EQ(book.Names(), names);
  const XlsxSheet& legend = book.Sheet("Legend");
  for (int k = 1; k <= 7; ++k) {
    EXPECT_EQ(legend.Cell(Ref(3, k + 2)).Text, all[static_cast<size_t>(k - 1)]->Caption);
    EXPECT_EQ(book.Sheet("Page_" + std::to_string(k)).Cell("A1").Text, all[static_cast<size_t>(k - 1)]->Caption);
  }

  // Only the p-y graph keeps its Y axis upright.
  for (int k = 1; k <= 7; ++k) {
    const test::XlsxChart& c = book.Sheet("Plot_" + std::to_string(k)).Chart;
    ASSERT_EQ(c.Axes.size(), 2u);
    EXPECT_EQ(c.Axes[1].Orientation, k == 1 ? "minMax" : "maxMin") << "Plot_" << k;
    EXPECT_EQ(c.Axes[0].Position, k == 1 ? "b" : "t") << "Plot_" << k;
  }

  // p-y curves of the last stage, as read (no unit conversion).
  const auto blocks = test::readPlotFile(test::kExamples / "golden" / "three_stages.rv5p");
  const auto& curves = blocks.back().curves;
  const XlsxSheet& py = book.Sheet("Page_1");
  EXPECT_EQ(py.Cell("B2").Text, "y (in)");
  EXPECT_EQ(py.Cell("B3").Text, "p (lbs/in)");
  ASSERT_EQ(book.Sheet("Plot_1").Chart.Series.size(), curves.size());
  for (size_t c = 0; c < curves.size(); ++c) {
    EXPECT_EQ(py.Cell(Ref(2 * static_cast<int>(c) + 1, 4)).Text, graphs.pltPY.Curve(P1, static_cast<int>(c)).LegendText());
    for (size_t j = 0; j < curves[c].points.size(); ++j) {
      ExpectCell(py, 2 * static_cast<int>(c) + 1, 6 + static_cast<int>(j), curves[c].points[j].first);
      ExpectCell(py, 2 * static_cast<int>(c) + 2, 6 + static_cast<int>(j), curves[c].points[j].second);
    }
  }
  // The combined earth pressure: soils and surcharge parts of the first
  // block, depth in feet.
  const XlsxSheet& combined = book.Sheet("Page_7");
  EXPECT_EQ(combined.Cell("C4").Text, "from Soils ");
  EXPECT_EQ(combined.Cell("B3").Text, "Depth (ft)");
  for (size_t i = 0; i < blocks[0].earthPressure.size(); ++i) {
    const auto& p = blocks[0].earthPressure[i];
    ExpectCell(combined, 3, 6 + static_cast<int>(i), p.soil);
    ExpectCell(combined, 6, 6 + static_cast<int>(i), p.depth / 12);
  }
}

TEST_F(WorkbookTest, CurvesPastColumnZZAndAChartLimitedTo255Series) {
  TGraphPlot g;
  g.Caption = "Many curves";
  g.SetCurveCount(P1, 352);
  g.SetPointCount(P1, 2);
  for (int c = 0; c < 352; ++c) g.Point(P1, c, 1) = {static_cast<long double>(c), 1};
  const TExportOutcome out = Export({&g});
  const Xlsx book(out.File);
  const XlsxSheet& page = book.Sheet("Page_1");
  EXPECT_EQ(page.Cell("ZY4").Text, "Curve #351");
  ExpectCell(page, 701, 7, 350);
  EXPECT_EQ(page.Cell("AAA4").Text, "Curve #352");
  ExpectCell(page, 703, 7, 351);
  ExpectCell(page, 704, 7, 1);
  const test::XlsxChart& chart = book.Sheet("Plot_1").Chart;
  ASSERT_EQ(chart.Series.size(), 255u);
  EXPECT_EQ(chart.Series.back().YValues, "Page_1!$SP$6:$SP$7");
  EXPECT_NE(out.Message.find("Plot_1 shows the first 255 of 352 curves"), std::string::npos) << out.Message;
}

TEST_F(WorkbookTest, ValuesThatAreNotNumbersStayVisibleAsText) {
  TGraphPlot g;
  g.Caption = "Odd values";
  g.SetCurveCount(P1, 1);
  g.SetPointCount(P1, 4);
  const long double inf = std::numeric_limits<long double>::infinity();
  g.Point(P1, 0, 1) = {std::numeric_limits<long double>::quiet_NaN(), inf};
  g.Point(P1, 0, 2) = {-inf, 2.5L};
  const Xlsx book(Export({&g}).File);
  const XlsxSheet& page = book.Sheet("Page_1");
  EXPECT_EQ(page.Cell("A7").Text, "NaN");
  EXPECT_EQ(page.Cell("B7").Text, "INF");
  EXPECT_EQ(page.Cell("A8").Text, "-INF");
  ExpectCell(page, 2, 8, 2.5);
}

TEST_F(WorkbookTest, GraphsWithoutPointsGiveEmptySheetsAndCharts) {
  // No earth pressure in the file: the combined graph, offered anyway, has
  // its three curves without points.
  ASSERT_TRUE(graphs.ReadPlotText(PlotText(1, 2, {}, {{0, 1, 2, 3, 4}, {1, 2, 3, 4, 5}}), project));
  TGraphPlot none;
  none.Caption = "No curves";
  const TExportOutcome out = Export({&graphs.PltCombine, &none});
  const Xlsx book(out.File);
  EXPECT_EQ(book.Sheet("Page_1").Cell("A4").Text, "Total Earth Pressure");
  EXPECT_FALSE(book.Sheet("Page_1").Has("A6"));
  ASSERT_EQ(book.Sheet("Plot_1").Chart.Series.size(), 3u);
  EXPECT_EQ(book.Sheet("Plot_1").Chart.Series[1].XValues, "Page_1!$C$6:$C$6");
  ASSERT_EQ(book.Sheet("Plot_2").Chart.Series.size(), 1u);
  EXPECT_EQ(book.Sheet("Legend").Cell("F4").Text, "Complete");
}

TEST_F(WorkbookTest, ANameThatLooksLikeAFormulaStaysAName) {
  TGraphPlot g;
  g.Caption = "Named";
  g.SetCurveCount(P1, 1);
  g.SetPointCount(P1, 2);
  g.Curve(P1, 0).Name = "=1+1";
  const Xlsx book(Export({&g}).File);
  EXPECT_EQ(book.Sheet("Page_1").Cell("A4").Text, "=1+1");
  EXPECT_EQ(book.Sheet("Plot_1").Chart.Series[0].Name, "Page_1!$A$4");
}

TEST_F(WorkbookTest, NumbersIgnoreADecimalCommaOfTheUsersLocale) {
  // A locale of its own whose only difference is the decimal comma, built
  // from a few lines of source (full locale sources take seconds).
  const fs::path source = folder / "comma.src";
  const fs::path compiled = folder / "comma";
  {
    std::ofstream(source) << "LC_CTYPE\ncopy \"POSIX\"\nEND LC_CTYPE\n"
                             "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\ngrouping 3;3\n"
                             "END LC_NUMERIC\n";
  }
  const std::string cmd = "localedef -c -i '" + source.string() + "' -f ANSI_X3.4-1968 '" + compiled.string() +
                          "' >/dev/null 2>&1";
  [[maybe_unused]] const int built = std::system(cmd.c_str());  // warns of the categories left out
  // The C library finds a locale by name in the folders of LOCPATH only.
  const char* path = std::getenv("LOCPATH");
  const std::string previousPath = path ? path : "";
  setenv("LOCPATH", folder.c_str(), 1);
  locale_t comma = newlocale(LC_NUMERIC_MASK, "comma", locale_t{});
  if (path) {
    setenv("LOCPATH", previousPath.c_str(), 1);
  } else {
    unsetenv("LOCPATH");
  }
  if (comma == locale_t{}) GTEST_SKIP() << "no locale with a decimal comma could be built";
  const locale_t before = uselocale(comma);
  char during[8], after[8];
  std::snprintf(during, sizeof during, "%.1f", 1.5);

  TGraphPlot g;
  g.Caption = "Comma";
  g.SetCurveCount(P1, 1);
  g.SetPointCount(P1, 2);
  g.Point(P1, 0, 1) = {1.5L, 0.25L};
  const TExportOutcome out = ExportGraphs({&g}, folder, opener);
  std::snprintf(after, sizeof after, "%.1f", 1.5);
  uselocale(before);
  freelocale(comma);

  ASSERT_STREQ(during, "1,5") << "the test locale does not use a decimal comma";
  EXPECT_STREQ(after, "1,5") << "the writer left the caller's locale changed";
  ASSERT_TRUE(out.Workbook.Written) << out.Message;
  const Xlsx book(out.File);
  ExpectCell(book.Sheet("Page_1"), 1, 7, 1.5);
  ExpectCell(book.Sheet("Page_1"), 2, 7, 0.25);
}

TEST_F(WorkbookTest, AFolderThatCannotHoldTheWorkbookIsReportedAndNothingOpens) {
  ReadStagedExample();
  const TExportOutcome out = ExportGraphs({&graphs.pltDef}, folder / "missing" / "deeper", opener);
  EXPECT_TRUE(out.File.empty());
  EXPECT_FALSE(out.Workbook.Written);
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(out.Message.rfind("The workbook could not be created in the folder \"" + (folder / "missing" / "deeper").string() + "\": ", 0), 0u)
      << out.Message;
}

TEST_F(WorkbookTest, AFileThatCannotBeWrittenIsReported) {
  ReadStagedExample();
  const TWorkbookResult r = WriteWorkbook(folder / "missing" / "plots.xlsx", {&graphs.pltDef});
  EXPECT_FALSE(r.Written);
  EXPECT_FALSE(r.Error.empty());
  EXPECT_FALSE(fs::exists(folder / "missing" / "plots.xlsx"));
}

TEST_F(WorkbookTest, WhenNothingCanOpenTheWorkbookTheMessageSaysSoAndTheFileStays) {
  ReadStagedExample();
  int calls = 0;
  const TExportOutcome out = ExportGraphs({&graphs.pltDef}, folder, [&](const fs::path&) {
    ++calls;
    return false;
  });
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(out.Opened);
  ASSERT_TRUE(fs::exists(out.File));
  EXPECT_EQ(out.Message, std::string(kExportCompleted) + "\nThe workbook is the file \"" + out.File.string() +
                             "\" in the temporary folder; it is not saved anywhere else.\n"
                             "No spreadsheet application could open it; the file stays there. Open it from that "
                             "folder and save it where it belongs.");
  EXPECT_EQ(Xlsx(out.File).Names().size(), 3u);

  // Every export gets a file of its own.
  const TExportOutcome again = ExportGraphs({&graphs.pltDef}, folder, opener);
  EXPECT_NE(again.File, out.File);
  EXPECT_TRUE(fs::exists(out.File));
}

}  // namespace
}  // namespace ramvex
