#include "ExportWorkbook.h"

#include <locale.h>
#include <xlsxwriter.h>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QUrl>

#include <cmath>
#include <memory>

namespace ramvex {

const char kExportCompleted[] = "Export to Excel Completed";
const char kSaveReminder[] = "Please note that you need to save the excel file";

namespace {

// The library formats numbers with the C library's printf, which follows
// the thread's locale: under a locale with a decimal comma every number of
// the workbook would come out as "1,5" and the file would be unreadable.
// The numeric locale of this thread alone is set to "C" while the workbook
// is built and written, and restored afterwards; the process locale stays
// untouched.
class TCNumericLocale {
 public:
  TCNumericLocale() {
    locale_t base = duplocale(LC_GLOBAL_LOCALE);
    if (base == locale_t{}) return;
    c_ = newlocale(LC_NUMERIC_MASK, "C", base);
    if (c_ == locale_t{}) {
      freelocale(base);
      return;
    }
    previous_ = uselocale(c_);
  }
  ~TCNumericLocale() {
    if (c_ == locale_t{}) return;
    uselocale(previous_);
    freelocale(c_);
  }
  TCNumericLocale(const TCNumericLocale&) = delete;
  TCNumericLocale& operator=(const TCNumericLocale&) = delete;

 private:
  locale_t c_{};
  locale_t previous_ = LC_GLOBAL_LOCALE;
};

// A failed call of the library, carried to the end of the graph's writing.
struct TWriteError {
  std::string Text;
};

void Check(lxw_error e) {
  if (e != LXW_NO_ERROR) throw TWriteError{lxw_strerror(e)};
}

template <typename T>
T* Check(T* made, const std::string& what) {
  if (!made) throw TWriteError{"the " + what + " could not be added"};
  return made;
}

// Rows and columns of the library count from 0.
lxw_row_t Row(int sheetRow) { return static_cast<lxw_row_t>(sheetRow - 1); }
lxw_col_t Col(int sheetColumn) { return static_cast<lxw_col_t>(sheetColumn - 1); }

void WriteText(lxw_worksheet* ws, int row, int col, const std::string& text, lxw_format* format = nullptr) {
  Check(worksheet_write_string(ws, Row(row), Col(col), text.c_str(), format));
}

// A link to a cell of this workbook, showing `text`.
void WriteLink(lxw_worksheet* ws, int row, int col, const std::string& target, const std::string& text) {
  const std::string url = "internal:" + target;
  Check(worksheet_write_url_opt(ws, Row(row), Col(col), url.c_str(), nullptr, text.c_str(), nullptr));
}

// Values go in as numbers, so that the chart has something to draw.  A
// spreadsheet cell cannot hold an infinity or NaN (a run with masked
// floating-point faults may produce them); such a value is kept visible as
// text and the chart leaves a gap there.
void WriteValue(lxw_worksheet* ws, int row, int col, long double value) {
  if (std::isfinite(value)) {
    Check(worksheet_write_number(ws, Row(row), Col(col), SheetNumber(value), nullptr));
  } else {
    WriteText(ws, row, col, std::isnan(value) ? "NaN" : value > 0 ? "INF" : "-INF");
  }
}

class TWorkbookWriter {
 public:
  TWorkbookWriter(lxw_workbook* wb, TWorkbookResult& result) : wb_(wb), result_(result) {}

  void WriteIndex() {
    legend_ = Check(workbook_add_worksheet(wb_, kLegendSheet), "index sheet");
    lxw_format* head = Check(workbook_add_format(wb_), "header format");
    format_set_bold(head);
    format_set_align(head, LXW_ALIGN_VERTICAL_CENTER);
    for (size_t i = 0; i < kLegendHeaders.size(); ++i) WriteText(legend_, 2, 2 + static_cast<int>(i), kLegendHeaders[i], head);

    // Column widths fitted to what each column will hold.
    std::array<std::vector<std::string>, 5> texts;
    for (size_t i = 0; i < texts.size(); ++i) texts[i].push_back(kLegendHeaders[i]);
    for (const TSheetLayout& l : result_.Layouts) {
      texts[0].push_back(std::to_string(l.Number));
      texts[1].push_back(l.Caption);
      texts[2].push_back(l.DataSheet);
      texts[3].push_back(l.ChartSheet);
    }
    texts[4].insert(texts[4].end(), {kStatusData, kStatusChart, kStatusComplete});
    for (size_t i = 0; i < texts.size(); ++i) {
      const lxw_col_t c = Col(2 + static_cast<int>(i));
      Check(worksheet_set_column(legend_, c, c, FittedColumnWidth(texts[i]), nullptr));
    }
    for (const TSheetLayout& l : result_.Layouts) {
      Check(worksheet_write_number(legend_, Row(l.Number + 2), Col(2), l.Number, nullptr));
    }
  }

  void WriteGraph(const TGraphPlot& graph, const TSheetLayout& l, std::string& status) {
    const int row = l.Number + 2;
    SetStatus(row, status, kStatusData);
    WriteText(legend_, row, 3, l.Caption);
    WriteLink(legend_, row, 4, l.DataSheet + "!A1", l.DataSheet);
    WriteText(legend_, row, 5, l.ChartSheet);

    lxw_worksheet* data = Check(workbook_add_worksheet(wb_, l.DataSheet.c_str()), "data sheet " + l.DataSheet);
    WriteLink(data, 1, 7, std::string(kLegendSheet) + "!A1", kLegendLinkText);
    WriteText(data, 1, 1, l.Caption);
    WriteText(data, 2, 1, "X");
    WriteText(data, 2, 2, l.XTitle);
    WriteText(data, 3, 1, "Y");
    WriteText(data, 3, 2, l.YTitle);
    for (size_t c = 0; c < l.CurveNames.size(); ++c) {
      const int x = 2 * static_cast<int>(c) + 1;
      WriteText(data, kLegendTextRow, x, l.CurveNames[c]);
      WriteText(data, kHeadRow, x, "X");
      WriteText(data, kHeadRow, x + 1, "Y");
      const TLine& line = graph.Curve(TCurveList::Panel1, static_cast<int>(c));
      for (int j = 0; j < line.PointCount(); ++j) {
        const TFloatPoint& p = line.Points[static_cast<size_t>(j)];
        WriteValue(data, kFirstValueRow + j, x, p.X);
        WriteValue(data, kFirstValueRow + j, x + 1, p.Y);
      }
    }

    SetStatus(row, status, kStatusChart);
    lxw_chart* chart = Check(workbook_add_chart(wb_, LXW_CHART_SCATTER_STRAIGHT_WITH_MARKERS), "chart");
    for (size_t c = 0; c < l.Series.size(); ++c) {
      const TSeriesLayout& s = l.Series[c];
      lxw_chart_series* series = Check(chart_add_series(chart, s.XValues.c_str(), s.YValues.c_str()), "series");
      if (s.Name.empty()) continue;
      // The library reads a name that starts with "=" as a formula; such a
      // name is taken from its cell on the data sheet instead.
      if (s.Name.front() == '=') {
        chart_series_set_name_range(series, l.DataSheet.c_str(), Row(kLegendTextRow), Col(2 * static_cast<int>(c) + 1));
      } else {
        chart_series_set_name(series, s.Name.c_str());
      }
    }
    chart_title_off(chart);
    chart_axis_set_name(chart->x_axis, l.XTitle.c_str());
    chart_axis_major_gridlines_set_visible(chart->x_axis, LXW_TRUE);
    chart_axis_set_name(chart->y_axis, l.YTitle.c_str());
    chart_axis_major_gridlines_set_visible(chart->y_axis, LXW_TRUE);
    // Depth grows downward, as in the graph window; with the value axis
    // reversed the X axis crosses at its top.
    if (l.ReverseY) chart_axis_set_reverse(chart->y_axis);
    // The axes cross at zero, inside the plot for deflections, moments and
    // p-y curves; their numbers go to the plot's edge, where the graph
    // window has them too, instead of over the curves.
    chart_axis_set_label_position(chart->x_axis, LXW_CHART_AXIS_LABEL_POSITION_LOW);
    chart_axis_set_label_position(chart->y_axis, LXW_CHART_AXIS_LABEL_POSITION_LOW);

    lxw_chartsheet* sheet = Check(workbook_add_chartsheet(wb_, l.ChartSheet.c_str()), "chart sheet " + l.ChartSheet);
    Check(chartsheet_set_chart(sheet, chart));
    SetStatus(row, status, kStatusComplete);
  }

 private:
  // The index sheet shows how far each graph got, so a workbook cut short
  // tells which graph was being written.
  void SetStatus(int row, std::string& status, const char* text) {
    status = text;
    WriteText(legend_, row, 6, text);
  }

  lxw_workbook* wb_;
  TWorkbookResult& result_;
  lxw_worksheet* legend_ = nullptr;
};

std::string PathText(const std::filesystem::path& p) { return QDir::toNativeSeparators(QString::fromStdString(p.string())).toStdString(); }

}  // namespace

TWorkbookResult WriteWorkbook(const std::filesystem::path& file, const std::vector<const TGraphPlot*>& graphs) {
  TWorkbookResult result;
  for (size_t k = 0; k < graphs.size(); ++k) result.Layouts.push_back(LayoutGraph(*graphs[k], static_cast<int>(k) + 1));
  result.Status.assign(graphs.size(), std::string());

  TCNumericLocale cNumbers;
  lxw_workbook_options options{};
  options.constant_memory = LXW_FALSE;  // the status cells are rewritten
  lxw_workbook* wb = workbook_new_opt(file.string().c_str(), &options);
  if (!wb) {
    result.Error = "the workbook could not be created";
    return result;
  }
  TWorkbookWriter writer(wb, result);
  try {
    writer.WriteIndex();
    for (size_t k = 0; k < graphs.size(); ++k) {
      result.FailedGraph = static_cast<int>(k) + 1;
      writer.WriteGraph(*graphs[k], result.Layouts[k], result.Status[k]);
    }
    result.FailedGraph = 0;
  } catch (const TWriteError& e) {
    // What was written so far is still saved, as far as it goes.
    result.Error = e.Text;
  }
  const lxw_error closed = workbook_close(wb);
  if (closed != LXW_NO_ERROR) {
    result.Error = lxw_strerror(closed);
    return result;
  }
  result.Written = true;
  return result;
}

bool OpenWithDesktop(const std::filesystem::path& file) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

TExportOutcome ExportGraphs(const std::vector<const TGraphPlot*>& graphs, const std::filesystem::path& folder,
                            const TWorkbookOpener& open) {
  TExportOutcome out;
  const QString dir = folder.empty() ? QDir::tempPath() : QString::fromStdString(folder.string());
  // A name of its own for every export: an earlier workbook may still be
  // open in the spreadsheet application, and nothing of the user's is ever
  // overwritten.
  QTemporaryFile reserve(QDir(dir).filePath("RamvexPlots-XXXXXX.xlsx"));
  reserve.setAutoRemove(false);
  if (!reserve.open()) {
    out.Message = "The workbook could not be created in the folder \"" + QDir::toNativeSeparators(dir).toStdString() +
                  "\": " + reserve.errorString().toStdString();
    return out;
  }
  out.File = std::filesystem::path(reserve.fileName().toStdString());
  reserve.close();

  out.Workbook = WriteWorkbook(out.File, graphs);
  const TWorkbookResult& wb = out.Workbook;
  const std::string where = "\"" + PathText(out.File) + "\"";
  if (!wb.Written) {
    // A half-written file is of no use to anyone.
    QFile::remove(QString::fromStdString(out.File.string()));
    out.Message = "The workbook could not be written to " + where + ": " + wb.Error;
    out.File.clear();
    return out;
  }

  out.Opened = open && open(out.File);
  std::string& m = out.Message;
  if (wb.Error.empty()) {
    m = kExportCompleted;
  } else {
    const TSheetLayout& failed = wb.Layouts[static_cast<size_t>(wb.FailedGraph - 1)];
    m = "Export to Excel stopped at \"" + failed.Caption + "\" (" + failed.DataSheet + "): " + wb.Error +
        "\nThe workbook holds what was written before; the Legend sheet shows how far each plot got.";
  }
  for (const TSheetLayout& l : wb.Layouts) {
    const int curves = static_cast<int>(l.CurveNames.size()) + l.CurvesLeftOut;
    if (l.CurvesLeftOut > 0) {
      m += "\n" + l.DataSheet + " holds the first " + std::to_string(l.CurveNames.size()) + " of " +
           std::to_string(curves) + " curves: a sheet has no more columns.";
    }
    if (static_cast<int>(l.Series.size()) < static_cast<int>(l.CurveNames.size())) {
      m += "\n" + l.ChartSheet + " shows the first " + std::to_string(l.Series.size()) + " of " +
           std::to_string(l.CurveNames.size()) + " curves, the most a chart can hold; " + l.DataSheet +
           " holds them all.";
    }
  }
  m += "\nThe workbook is the file " + where + " in the temporary folder; it is not saved anywhere else.";
  if (out.Opened) {
    m += "\n";
    m += kSaveReminder;
  } else {
    m += "\nNo spreadsheet application could open it; the file stays there. Open it from that folder and save it "
         "where it belongs.";
  }
  return out;
}

}  // namespace ramvex
