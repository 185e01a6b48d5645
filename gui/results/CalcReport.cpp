#include "CalcReport.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>

#include "PlotDraw.h"
#include "ProgramData.h"
#include "ResultGraphs.h"

namespace ramvex {

const std::array<const char*, 4> kReportSections = {"Input Data", "Soil Profile", "Results Summary", "Messages and Warnings"};

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Fonts of the report, by point size, so that they keep their size at any
// device resolution.
QFont ReportFont(double points, bool bold = false) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

const double kBodyPoints = 9;
const double kTablePoints = 8;
const double kMinTablePoints = 5;

using TPaint = std::function<void(QPainter&)>;

// A number, possibly followed by its unit ("12.5 ft"; not a date).
bool Numeric(const QString& text) {
  const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  bool ok = false;
  if (!words.isEmpty() && words.size() <= 2) words.front().toDouble(&ok);
  return ok;
}

// Lays content out top to bottom over pages of equal size; every piece is
// kept as a paint step so that the page count is known before the first
// page is painted (each page says "Page i of n").
class TPageFlow {
 public:
  TPageFlow(QPaintDevice* device, QRect content) : device_(device), content_(content), y_(content.top()) {
    pages_.emplace_back();
  }

  const std::vector<std::vector<TPaint>>& Pages() const { return pages_; }
  QPaintDevice* Device() const { return device_; }
  const QRect& Content() const { return content_; }
  void NewPage() {
    if (y_ == content_.top()) return;
    pages_.emplace_back();
    y_ = content_.top();
  }

  void Space(double lines) {
    y_ += static_cast<int>(LineHeight(ReportFont(kBodyPoints)) * lines);
  }

  void Heading(const QString& text, double points = 14) {
    const QFont font = ReportFont(points, true);
    const int h = static_cast<int>(LineHeight(font) * 1.6);
    Ensure(h + 3 * static_cast<int>(LineHeight(ReportFont(kBodyPoints))));
    const QRect r(content_.left(), y_, content_.width(), h);
    Add([font, text, r](QPainter& p) {
      p.setFont(font);
      p.setPen(Qt::black);
      p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
    });
    y_ += h;
  }

  // A paragraph, wrapped to the page width.
  void Text(const QString& text, bool bold = false, double points = kBodyPoints, int indent = 0) {
    const QFont font = ReportFont(points, bold);
    const QFontMetricsF fm(font, device_);
    const QRect box(content_.left() + indent, 0, content_.width() - indent, 100000);
    const int h = static_cast<int>(std::ceil(fm.boundingRect(box, Qt::TextWordWrap, text).height())) + 2;
    Ensure(h);
    const QRect r(box.left(), y_, box.width(), h);
    Add([font, text, r](QPainter& p) {
      p.setFont(font);
      p.setPen(Qt::black);
      p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    });
    y_ += h;
  }

  // A table with a caption and heading rows; split over pages with the
  // heading repeated.  The font shrinks until the columns fit the width.
  void Table(const QString& caption, const std::vector<std::vector<std::string>>& heading,
             const std::vector<std::vector<std::string>>& rows) {
    size_t columns = 0;
    for (const auto& h : heading) columns = std::max(columns, h.size());
    for (const auto& r : rows) columns = std::max(columns, r.size());
    if (columns == 0) return;
    double points = kTablePoints;
    std::vector<int> width;
    QFont font, bold;
    for (;; points -= 0.5) {
      font = ReportFont(points);
      bold = ReportFont(points, true);
      width = ColumnWidths(font, bold, heading, rows, columns);
      int total = 0;
      for (int w : width) total += w;
      if (total <= content_.width() || points <= kMinTablePoints) break;
    }
    // Columns wider than the page together are narrowed in proportion;
    // their texts are clipped to the cell.
    int total = 0;
    for (int w : width) total += w;
    if (total > content_.width())
      for (int& w : width) w = w * content_.width() / total;
    const int row = static_cast<int>(LineHeight(font) * 1.25);
    const int headRow = static_cast<int>(LineHeight(bold) * 1.25);
    const int headHeight = headRow * static_cast<int>(heading.size());
    if (!caption.isEmpty()) Text(caption, true);
    Ensure(headHeight + row * std::min<int>(3, static_cast<int>(rows.size()) + 1));
    auto paintHeading = [&]() {
      const int top = y_;
      for (size_t k = 0; k < heading.size(); ++k) PaintRow(bold, width, heading[k], top + headRow * static_cast<int>(k), headRow, false);
      const QLine rule(content_.left(), top + headHeight, content_.left() + std::min(total, content_.width()),
                       top + headHeight);
      Add([rule](QPainter& p) {
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(rule);
      });
      y_ += headHeight + row / 6;
    };
    paintHeading();
    for (const auto& cells : rows) {
      if (y_ + row > content_.bottom()) {
        NewPage();
        paintHeading();
      }
      PaintRow(font, width, cells, y_, row, true);
      y_ += row;
    }
    y_ += row / 2;
  }

  // A drawing of fixed height (or the rest of the page, at least
  // `minimum`), painted by `paint` into its frame.
  void Figure(int height, const std::function<void(QPainter&, const QRect&)>& paint) {
    Ensure(height);
    const QRect r(content_.left(), y_, content_.width(), height);
    Add([paint, r](QPainter& p) {
      p.save();
      p.setClipRect(r);
      paint(p, r);
      p.restore();
    });
    y_ += height;
  }

  int Remaining() const { return content_.bottom() - y_; }

 private:
  double LineHeight(const QFont& font) const { return QFontMetricsF(font, device_).lineSpacing(); }

  void Ensure(int height) {
    if (y_ + height > content_.bottom()) NewPage();
  }

  void Add(TPaint paint) { pages_.back().push_back(std::move(paint)); }

  std::vector<int> ColumnWidths(const QFont& font, const QFont& bold, const std::vector<std::vector<std::string>>& heading,
                                const std::vector<std::vector<std::string>>& rows, size_t columns) const {
    const QFontMetricsF fm(font, device_), fb(bold, device_);
    const int pad = static_cast<int>(fm.averageCharWidth() * 2);
    std::vector<int> width(columns, 0);
    for (const auto& h : heading)
      for (size_t c = 0; c < h.size(); ++c)
        width[c] = std::max(width[c], static_cast<int>(std::ceil(fb.horizontalAdvance(Q(h[c])))) + pad);
    for (const auto& r : rows)
      for (size_t c = 0; c < r.size(); ++c)
        width[c] = std::max(width[c], static_cast<int>(std::ceil(fm.horizontalAdvance(Q(r[c])))) + pad);
    return width;
  }

  // Numbers are right-aligned so that their digits line up, texts
  // left-aligned; heading rows are centred.
  void PaintRow(const QFont& font, const std::vector<int>& width, const std::vector<std::string>& cells, int top,
                int height, bool body) {
    std::vector<std::pair<QRect, QString>> texts;
    int x = content_.left();
    const int pad = static_cast<int>(QFontMetricsF(font, device_).averageCharWidth());
    for (size_t c = 0; c < width.size(); ++c) {
      if (c < cells.size() && !cells[c].empty())
        texts.emplace_back(QRect(x + pad, top, width[c] - 2 * pad, height), Q(cells[c]));
      x += width[c];
    }
    Add([font, texts, body](QPainter& p) {
      p.setFont(font);
      p.setPen(Qt::black);
      for (size_t k = 0; k < texts.size(); ++k) {
        const int align = !body ? Qt::AlignHCenter : (Numeric(texts[k].second) ? Qt::AlignRight : Qt::AlignLeft);
        p.save();
        p.setClipRect(texts[k].first);
        p.drawText(texts[k].first, align | Qt::AlignVCenter, texts[k].second);
        p.restore();
      }
    });
  }

  QPaintDevice* device_;
  QRect content_;
  int y_;
  std::vector<std::vector<TPaint>> pages_;
};

// An empty graph with the captions, axes and units of a window's graph.
std::unique_ptr<TGraphPlot> SameAxes(const TGraphPlot& g) {
  auto p = std::make_unique<TGraphPlot>();
  p->Caption = g.Caption;
  p->CurveName = g.CurveName;
  p->XOnTop = g.XOnTop;
  p->XCaption = g.XCaption;
  p->YCaption = g.YCaption;
  p->XUnits = g.XUnits;
  p->YUnits = g.YUnits;
  p->SetUnits(g.Units());
  return p;
}

// A graph of one problem: the settings of the window's graph, one of its
// curves.  Printed graphs carry a legend box; one curve needs no markers.
std::unique_ptr<TGraphPlot> OneCurve(const TGraphPlot& g, int curve, const std::string& name) {
  auto p = SameAxes(g);
  p->Markers = 0;
  p->SetCurveCount(TCurveList::Panel1, 1);
  TLine& line = p->Curve(TCurveList::Panel1, 0);
  line.Points = g.Curve(TCurveList::Panel1, curve).Points;
  line.Name = name;
  return p;
}

// The p-y curves of one problem as the p-y graph shows them.
std::unique_ptr<TGraphPlot> PYGraph(const TResultGraphs& graphs, const std::vector<TPYCurve>& curves) {
  const TGraphPlot& g = graphs.pltPY;
  auto p = SameAxes(g);
  p->Markers = g.Markers;
  size_t longest = 0;
  for (const TPYCurve& c : curves) longest = std::max(longest, c.Points.size());
  p->SetCurveCount(TCurveList::Panel1, static_cast<int>(curves.size()));
  for (size_t k = 0; k < curves.size(); ++k) {
    TLine& line = p->Curve(TCurveList::Panel1, static_cast<int>(k));
    line.LabelValue = curves[k].Label;
    line.Points.clear();
    for (const auto& [y, pv] : curves[k].Points) line.Points.push_back({y, pv});
    // Shorter curves are padded with their last point, as the reader pads
    // them for the window.
    while (!line.Points.empty() && line.Points.size() < longest) line.Points.push_back(line.Points.back());
  }
  return p;
}

bool Drawable(const TGraphPlot& g, int curve) {
  return curve < g.CurveCount() && g.Curve(TCurveList::Panel1, curve).PointCount() > 1;
}

void PaintGraph(QPainter& painter, const QRect& frame, TGraphPlot& graph) {
  IncludeCurves(graph);
  const int dpi = painter.device()->logicalDpiY();
  TDrawOptions options;
  options.Target = TDrawTarget::Printer;
  options.Dx = painter.device()->logicalDpiX();
  options.Dy = dpi;
  draw(painter, frame, graph, NewGraphView(graph), options);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

QString OutcomeLine(const TProblemSummary& p) {
  QString s = QStringLiteral("Outcome: ") + OutcomeText(p.Outcome);
  if (p.HasResults) s += QStringLiteral(" after %1 iteration%2").arg(p.Iterations).arg(p.Iterations == 1 ? "" : "s");
  return s;
}

void Paragraphs(TPageFlow& flow, const std::string& text, int indent) {
  size_t from = 0;
  while (from <= text.size()) {
    size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    flow.Text(Q(text.substr(from, end - from)), false, kBodyPoints, indent);
    from = end + 1;
  }
}

void TitleBlock(TPageFlow& flow, const TCalcReportInput& in) {
  flow.Heading(QStringLiteral("Calculation Report"), 20);
  flow.Heading(Q(in.Title), 14);
  flow.Space(0.5);
  const char* units = in.Units == 1 ? "US customary (pounds, inches; depths in feet)"
                      : in.Units == 2 ? "SI (kilonewtons, metres)"
                                      : "other units";
  flow.Table({}, {},
             {{"Project", in.Title},
              {"Data file", in.FileName},
              {"Date", in.Date},
              {"Program", ProgramVersion()},
              {"Units", units}});
}

void InputSection(TPageFlow& flow, const TCalcReportInput& in) {
  flow.NewPage();
  flow.Heading(kReportSections[0]);
  for (const TStageInput& stage : in.Stages) {
    if (!stage.Name.empty()) flow.Heading(Q(stage.Name), 12);
    for (const TEchoTable& t : stage.Tables) flow.Table(Q(t.Caption), {t.Heading}, t.Rows);
  }
  if (in.Stages.empty()) flow.Text(QStringLiteral("The data file could not be read as a project."));
}

void SoilProfileSection(TPageFlow& flow, const TCalcReportInput& in) {
  for (const TStageInput& stage : in.Stages) {
    if (!stage.SideView) continue;
    flow.NewPage();
    flow.Heading(kReportSections[1] + (stage.Name.empty() ? QString() : QStringLiteral(", ") + Q(stage.Name)));
    const TSideViewModel model = *stage.SideView;
    flow.Figure(flow.Remaining(), [model](QPainter& p, const QRect& r) {
      const double scale = p.device()->logicalDpiY() / 96.0;
      DrawSideView(p, r, model, PrintSideViewStyle(), scale);
    });
  }
}

void SummarySection(TPageFlow& flow, const TCalcReportInput& in) {
  flow.NewPage();
  flow.Heading(kReportSections[2]);
  const TResultsSummary& s = *in.Summary;
  if (!s.ReportRead) {
    flow.Text(QStringLiteral("The engine's report cannot be read: there are no results."));
    return;
  }
  const TTextTable problems = ProblemTable(s);
  flow.Table(QStringLiteral("Problems"), {problems.Heading, problems.Units}, problems.Rows);
  const TTextTable tiebacks = TiebackTable(s);
  if (!tiebacks.Rows.empty()) flow.Table(QStringLiteral("Tieback forces"), {tiebacks.Heading, tiebacks.Units}, tiebacks.Rows);
  if (!s.RunClosed)
    flow.Text(QStringLiteral("The run ended before \"END OF ANALYSIS\": the engine stopped early."), true);
}

void ProblemSection(TPageFlow& flow, const TCalcReportInput& in, size_t k, std::vector<std::unique_ptr<TGraphPlot>>& keep) {
  const TResultsSummary& s = *in.Summary;
  const TProblemSummary& p = s.Problems[k];
  const TSummaryUnits& u = s.Labels;
  flow.NewPage();
  flow.Heading(QStringLiteral("Results: ") + Q(p.Name));
  flow.Text(OutcomeLine(p), true);
  if (!p.Message.empty()) Paragraphs(flow, p.Message, 0);
  if (p.HasResults) {
    auto at = [&](const TExtreme& e, const std::string& unit) {
      return std::vector<std::string>{NumberText(e.Value) + " " + unit, NumberText(e.Depth) + " " + u.Depth};
    };
    std::vector<std::vector<std::string>> rows = {
        {"Top deflection", NumberText(p.TopDeflection) + " " + u.Deflection, NumberText(0) + " " + u.Depth}};
    auto add = [&](const char* name, const TExtreme& e, const std::string& unit) {
      std::vector<std::string> r = {name};
      for (std::string& c : at(e, unit)) r.push_back(std::move(c));
      rows.push_back(std::move(r));
    };
    add("Maximum deflection", p.Deflection, u.Deflection);
    add("Maximum moment", p.Moment, u.Moment);
    add("Maximum shear", p.Shear, u.Shear);
    for (const TTiebackForce& t : p.Tiebacks)
      rows.push_back({"Tieback " + std::to_string(t.Number) + " force", NumberText(t.Force) + " " + u.TiebackForce,
                      NumberText(t.Depth) + " " + u.Depth});
    flow.Table({}, {{"Quantity", "Value", "Depth"}}, rows);
  }
  if (!in.Graphs || !p.HasResults) return;
  const TResultGraphs& g = *in.Graphs;
  const int curve = static_cast<int>(k);
  std::vector<TGraphPlot*> graphs;
  for (const TGraphPlot* source : {&g.pltDef, &g.pltMom, &g.pltShear, &g.pltSoil, &g.pltLD}) {
    if (!Drawable(*source, curve)) continue;
    keep.push_back(OneCurve(*source, curve, p.Name));
    graphs.push_back(keep.back().get());
  }
  if (k < in.PYCurves.size() && !in.PYCurves[k].empty()) {
    keep.push_back(PYGraph(g, in.PYCurves[k]));
    graphs.push_back(keep.back().get());
  }
  // Two graphs to a page; the first shares its page with the values when
  // they leave room for it.
  const int half = flow.Content().height() / 2 - flow.Content().height() / 40;
  for (TGraphPlot* graph : graphs) {
    if (flow.Remaining() < half) flow.NewPage();
    flow.Figure(half, [graph](QPainter& painter, const QRect& r) {
      const QRect frame = r.adjusted(0, r.height() / 40, 0, -r.height() / 40);
      PaintGraph(painter, frame, *graph);
    });
  }
}

void MessagesSection(TPageFlow& flow, const TCalcReportInput& in) {
  flow.NewPage();
  flow.Heading(kReportSections[3]);
  const TResultsSummary& s = *in.Summary;
  bool any = false;
  for (const TProblemSummary& p : s.Problems) {
    if (p.Message.empty() && p.Warnings.empty()) continue;
    any = true;
    flow.Text(Q(p.Name) + QStringLiteral(": ") + OutcomeText(p.Outcome), true);
    if (!p.Message.empty()) Paragraphs(flow, p.Message, 40);
    for (const std::string& w : p.Warnings) flow.Text(QStringLiteral("Warning: ") + Q(w), false, kBodyPoints, 40);
  }
  if (!s.RunClosed) {
    any = true;
    flow.Text(QStringLiteral("The run ended before \"END OF ANALYSIS\": later problems were not analysed."), true);
  }
  if (!any) flow.Text(QStringLiteral("The engine reported no errors and no warnings."));
}

void PageFrame(QPainter& p, const QRect& page, const TCalcReportInput& in, int number, int count) {
  const QFont font = ReportFont(7.5);
  p.setFont(font);
  p.setPen(Qt::black);
  const int h = static_cast<int>(QFontMetricsF(font, p.device()).lineSpacing());
  const QRect top(page.left(), page.top(), page.width(), h);
  p.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, Q(in.Title));
  p.drawText(top, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Calculation Report"));
  p.setPen(QPen(Qt::black, 0));
  p.drawLine(page.left(), top.bottom() + h / 4, page.right(), top.bottom() + h / 4);
  const QRect bottom(page.left(), page.bottom() - h, page.width(), h);
  p.drawLine(page.left(), bottom.top() - h / 4, page.right(), bottom.top() - h / 4);
  p.drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter, Q(in.FileName));
  p.drawText(bottom, Qt::AlignHCenter | Qt::AlignVCenter, Q(in.Date));
  p.drawText(bottom, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(number).arg(count));
}

}  // namespace

TStageInput StageInput(const TProgramData& project, const std::string& name) {
  TStageInput s;
  s.Name = name;
  s.Tables = EchoInput(project);
  s.SideView = BuildSideView(project);
  return s;
}

std::vector<TStageInput> AllStagesInput(TProgramData& project) {
  std::vector<TStageInput> stages;
  if (project.StageCount <= 1) {
    stages.push_back(StageInput(project));
    return stages;
  }
  const int current = project.CurrentStage;
  const bool modified = project.Modified;
  for (int k = 1; k <= project.StageCount; ++k) {
    project.SwitchStage(k);
    stages.push_back(StageInput(project, "Stage " + std::to_string(k)));
  }
  project.SwitchStage(current);
  project.Modified = modified;
  return stages;
}

TCalcReportInput MakeReportInput(TProgramData& project, const TResultGraphs& graphs, const TResultsSummary& summary,
                                 const std::filesystem::path& plotPath) {
  TCalcReportInput in;
  in.Title = summary.Title;
  in.FileName = std::filesystem::path(project.DataFileName).filename().string();
  in.Date = ReportDate();
  in.Units = summary.Units;
  in.Summary = &summary;
  in.Graphs = &graphs;
  in.PYCurves = ReadPYCurves(plotPath);
  in.Stages = AllStagesInput(project);
  return in;
}

std::string ReportDate() {
  static const char* const months[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm t{};
  localtime_r(&now, &t);
  return std::to_string(t.tm_mday) + " " + months[t.tm_mon % 12] + " " + std::to_string(t.tm_year + 1900);
}

std::string ProgramVersion() { return "Ramvex2015, version " RAMVEX_VERSION; }

int PaintCalcReport(QPagedPaintDevice& device, const TCalcReportInput& in) {
  const QRect page(0, 0, device.width(), device.height());
  const int frameLine = static_cast<int>(QFontMetricsF(ReportFont(7.5), &device).lineSpacing());
  const QRect content = page.adjusted(0, 2 * frameLine, 0, -2 * frameLine);
  TPageFlow flow(&device, content);
  std::vector<std::unique_ptr<TGraphPlot>> graphs;
  TitleBlock(flow, in);
  InputSection(flow, in);
  SoilProfileSection(flow, in);
  if (in.Summary) {
    SummarySection(flow, in);
    for (size_t k = 0; k < in.Summary->Problems.size(); ++k) ProblemSection(flow, in, k, graphs);
    MessagesSection(flow, in);
  }
  const auto& pages = flow.Pages();
  QPainter painter(&device);
  const int count = static_cast<int>(pages.size());
  for (int n = 0; n < count; ++n) {
    if (n > 0) device.newPage();
    for (const TPaint& paint : pages[static_cast<size_t>(n)]) paint(painter);
    PageFrame(painter, page, in, n + 1, count);
  }
  painter.end();
  return count;
}

bool WriteCalcReport(const std::filesystem::path& path, const TCalcReportInput& input, std::string& error) {
  const QString name = QString::fromStdString(path.string());
  {
    // QPdfWriter reports no failure to open its file; try it first.
    QFile probe(name);
    if (!probe.open(QIODevice::WriteOnly)) {
      error = "cannot write " + path.string() + ": " + probe.errorString().toStdString();
      return false;
    }
  }
  QPdfWriter writer(name);
  writer.setResolution(300);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                   QPageLayout::Millimeter));
  writer.setTitle(QString::fromStdString(input.Title));
  writer.setCreator(QString::fromStdString(ProgramVersion()));
  PaintCalcReport(writer, input);
  return true;
}

}  // namespace ramvex
