// Layout of the plot workbook: which result graphs the export dialog
// offers, which of them are enabled, and where every graph lands in the
// workbook (sheet names, cells, chart series, axis titles).  Everything here
// is a plain function of the graphs, so the dialog and the workbook writer
// share one rule and the tests check it without a display or a file.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "PltData.h"

namespace ramvex {

class TResultGraphs;

// One entry of the export list: the graph and the main window's command
// that opens it (the entry follows that command's enabling).
struct TExportEntry {
  const char* Command;
  TGraphPlot* Graph;
};

constexpr int kExportEntryCount = 7;

// The entries in list order: pltPY, pltDef, pltShear, pltMom, pltSoil,
// pltLD, PltCombine.
std::array<TExportEntry, kExportEntryCount> ExportEntries(TResultGraphs& graphs);

// State of one entry of the list as the dialog shows it.
struct TExportItem {
  std::string Caption;
  bool Enabled = false;
  bool Checked = false;
  bool operator==(const TExportItem&) const = default;
};

// The list as it is refilled each time the dialog opens.  `resultsReady` is
// the main window's base condition for its graph commands (a plot file was
// read and still exists).  The graph commands also need their graph to have
// data; "Earth Pressure Combined" needs the base condition only.  An entry
// is checked exactly when it is enabled.
std::vector<TExportItem> ExportItems(TResultGraphs& graphs, bool resultsReady);

// Select All (checked = true) and Unselect All: disabled entries keep their
// state.
void SetAllChecked(std::vector<TExportItem>& items, bool checked);

// Number of checked entries; "Generate Excel File" is enabled when above 0.
int CheckedCount(const std::vector<TExportItem>& items);

// Name of a worksheet column (1-based): "A" to "Z", "AA" to "ZZ" (702),
// then three letters up to "XFD" (16384), the last column a worksheet has.
// Empty outside 1..16384.
std::string ExcelColumn(int column);
constexpr int kMaxExcelColumn = 16384;

// A chart holds at most this many series; the spreadsheet application
// refuses a chart with more.
constexpr int kMaxChartSeries = 255;

// Curves a data sheet can hold: two columns each.
constexpr int kMaxSheetCurves = kMaxExcelColumn / 2;

// Cells of a data sheet, 1-based as the user sees them.
constexpr int kLegendTextRow = 4;  // curve legend texts
constexpr int kHeadRow = 5;        // "X" and "Y"
constexpr int kFirstValueRow = 6;  // first point

// One chart series: its name and the formulas of its X and Y values.
struct TSeriesLayout {
  std::string Name;
  std::string XValues;  // "=Page_1!$A$6:$A$46"
  std::string YValues;
  bool operator==(const TSeriesLayout&) const = default;
};

// Where one graph lands: entry number k counts the exported graphs from 1.
struct TSheetLayout {
  int Number = 0;
  std::string DataSheet;   // "Page_k"
  std::string ChartSheet;  // "Plot_k"
  std::string Caption;
  std::string XTitle, YTitle;
  // Depth grows downward as on screen.
  bool ReverseY = false;
  // Curves laid out on the data sheet (two columns each) and their legend
  // texts.
  std::vector<std::string> CurveNames;
  // Rows of values: the largest point count of the curves.
  int Points = 0;
  // Series of the chart; at most kMaxChartSeries.
  std::vector<TSeriesLayout> Series;
  // Curves of the graph that the data sheet could not hold.
  int CurvesLeftOut = 0;
};

// Axis title: the caption, followed by " (" unit ")" when the unit string is
// not empty (the unit spelled for the graph's unit system).
std::string ExportAxisTitle(const std::string& caption, const std::string& units, int system);

TSheetLayout LayoutGraph(const TGraphPlot& graph, int number);

// Range of a column's values on a data sheet, as a chart formula.
std::string ColumnRange(const std::string& sheet, int column, int firstRow, int lastRow);

// Index sheet "Legend": the headers of B2 to F2 with their blanks, and the
// statuses a graph runs through.
extern const std::array<std::string, 5> kLegendHeaders;
extern const char kStatusData[];
extern const char kStatusChart[];
extern const char kStatusComplete[];
extern const char kLegendSheet[];
extern const char kLegendLinkText[];

// A value as the workbook holds it: rounded to 15 significant digits, the
// most a spreadsheet keeps, so the cell shows what the graph shows.
// Infinities and NaN pass unchanged; the writer spells them as text.
double SheetNumber(long double value);

// Column width, in the sheet's character units, that shows every text of a
// column in bold: the width a spreadsheet's fit-to-contents command gives.
double FittedColumnWidth(const std::vector<std::string>& texts);

}  // namespace ramvex
