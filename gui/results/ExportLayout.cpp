#include "ExportLayout.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "ResultGraphs.h"

namespace ramvex {

const std::array<std::string, 5> kLegendHeaders = {
    "     N    ",
    "                             Plot Name                             ",
    "  Sheet Name  ",
    "  Chart Name  ",
    "          Status          ",
};
const char kStatusData[] = "In Progress, Data";
const char kStatusChart[] = "In Progress, Chart";
const char kStatusComplete[] = "Complete";
const char kLegendSheet[] = "Legend";
const char kLegendLinkText[] = "Go to Legend Page";

std::array<TExportEntry, kExportEntryCount> ExportEntries(TResultGraphs& g) {
  return {{
      {"Comppy", &g.pltPY},
      {"CompDef", &g.pltDef},
      {"CompShear", &g.pltShear},
      {"CompMom", &g.pltMom},
      {"CompSoil", &g.pltSoil},
      {"CompLD", &g.pltLD},
      {"CompCombine", &g.PltCombine},
  }};
}

std::vector<TExportItem> ExportItems(TResultGraphs& graphs, bool resultsReady) {
  std::vector<TExportItem> items;
  for (const TExportEntry& e : ExportEntries(graphs)) {
    // The combined earth-pressure command is offered as soon as results
    // exist; the other graph commands open a window and need a curve to
    // draw.
    const bool combined = e.Graph == &graphs.PltCombine;
    const bool enabled = resultsReady && (combined || e.Graph->HasData());
    items.push_back({e.Graph->Caption, enabled, enabled});
  }
  return items;
}

void SetAllChecked(std::vector<TExportItem>& items, bool checked) {
  for (TExportItem& i : items) {
    if (i.Enabled) i.Checked = checked;
  }
}

int CheckedCount(const std::vector<TExportItem>& items) {
  return static_cast<int>(std::count_if(items.begin(), items.end(), [](const TExportItem& i) { return i.Checked; }));
}

std::string ExcelColumn(int column) {
  if (column < 1 || column > kMaxExcelColumn) return {};
  // Bijective base 26: there is no zero digit, "Z" is followed by "AA".
  std::string name;
  for (int c = column; c > 0; c = (c - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
  return name;
}

std::string ColumnRange(const std::string& sheet, int column, int firstRow, int lastRow) {
  const std::string col = ExcelColumn(column);
  return "=" + sheet + "!$" + col + "$" + std::to_string(firstRow) + ":$" + col + "$" + std::to_string(lastRow);
}

std::string ExportAxisTitle(const std::string& caption, const std::string& units, int system) {
  return AxisCaption(caption, units, system);
}

TSheetLayout LayoutGraph(const TGraphPlot& graph, int number) {
  TSheetLayout l;
  l.Number = number;
  l.DataSheet = "Page_" + std::to_string(number);
  l.ChartSheet = "Plot_" + std::to_string(number);
  l.Caption = graph.Caption;
  l.XTitle = ExportAxisTitle(graph.XCaption, graph.XUnits, graph.Units());
  l.YTitle = ExportAxisTitle(graph.YCaption, graph.YUnits, graph.Units());
  l.ReverseY = graph.XOnTop;

  const int curves = graph.CurveCount();
  const int laidOut = std::min(curves, kMaxSheetCurves);
  l.CurvesLeftOut = curves - laidOut;
  for (int c = 0; c < laidOut; ++c) {
    const TLine& line = graph.Curve(TCurveList::Panel1, c);
    l.CurveNames.push_back(line.LegendText());
    // The reader gives every curve of a graph the same point count; should
    // one ever be longer, its points are still written in full and the
    // shorter curves end in blank cells, which a chart skips.
    l.Points = std::max(l.Points, line.PointCount());
  }

  // A graph without points still gets a one-row range: a chart needs a
  // series to be written, and an empty row draws nothing.
  const int lastRow = kFirstValueRow + std::max(l.Points, 1) - 1;
  const int series = std::min(laidOut, kMaxChartSeries);
  if (series == 0) {
    l.Series.push_back({"", ColumnRange(l.DataSheet, 1, kFirstValueRow, lastRow),
                        ColumnRange(l.DataSheet, 2, kFirstValueRow, lastRow)});
  }
  for (int c = 0; c < series; ++c) {
    l.Series.push_back({l.CurveNames[static_cast<size_t>(c)],
                        ColumnRange(l.DataSheet, 2 * c + 1, kFirstValueRow, lastRow),
                        ColumnRange(l.DataSheet, 2 * c + 2, kFirstValueRow, lastRow)});
  }
  return l;
}

double SheetNumber(long double value) {
  if (!std::isfinite(value)) return static_cast<double>(value);
  // to_chars and from_chars ignore the locale, so a comma as the user's
  // decimal separator cannot creep in.
  char text[64];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
  double rounded = 0;
  std::from_chars(text, written.ptr, rounded);
  return rounded;
}

double FittedColumnWidth(const std::vector<std::string>& texts) {
  // Widths are counted in digit widths of the default font.  Blanks are
  // about half a digit wide, bold letters a tenth wider than a digit; the
  // spreadsheet adds a little padding after the widest text.
  double widest = 0;
  for (const std::string& t : texts) {
    double w = 0;
    for (char ch : t) w += ch == ' ' ? 0.45 : 1.1;
    widest = std::max(widest, w);
  }
  return widest + 1;
}

}  // namespace ramvex
