#include "ChartPreview.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Table.h"

namespace ramvex {

namespace {

// Numeric value of a cell of any numeric column; choice and integer cells
// count by their number, other cells as 0.
double CellValue(const TGridTable& t, int column, int row) {
  if (column < 0 || column >= t.ColumnCount()) return 0;
  const TColumn* c = t.Column(column);
  switch (c->TypeId()) {
    case TFloatColumn::kTypeId: return static_cast<double>(c->GetFloat(row));
    case TIntColumn::kTypeId:
    case TEnumColumn::kTypeId: return c->GetInt(row);
    default: return 0;
  }
}

std::string FirstHeader(const TGridTable& t, int column) {
  if (column < 0 || column >= t.ColumnCount()) return {};
  const TColumn* c = t.Column(column);
  return c->HeaderLineCount() > 0 ? c->Headers().front() : std::string();
}

// Automatic range of an axis: the data's extent, widened when it is a single
// value so that the axis still has a length.
void AutoRange(const std::vector<TChartPoint>& a, const std::vector<TChartPoint>& b, bool useX, TChartAxis& axis) {
  bool any = false;
  double lo = 0, hi = 0;
  for (const auto* s : {&a, &b}) {
    for (const TChartPoint& p : *s) {
      double v = useX ? p.X : p.Y;
      if (!std::isfinite(v)) continue;
      if (!any) lo = hi = v;
      lo = std::min(lo, v);
      hi = std::max(hi, v);
      any = true;
    }
  }
  if (!any) {
    lo = 0;
    hi = 1;
  } else if (lo == hi) {
    double d = lo == 0 ? 1 : std::fabs(lo) * 0.1;
    lo -= d;
    hi += d;
  }
  axis.Min = lo;
  axis.Max = hi;
}

std::string GroupThousands(const std::string& digits) {
  std::string out;
  const int n = static_cast<int>(digits.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += ',';
    out += digits[static_cast<size_t>(i)];
  }
  return out;
}

// Step between axis labels: 1, 2 or 5 times a power of ten giving about
// five intervals.
double NiceStep(double range) {
  if (!(range > 0) || !std::isfinite(range)) return 1;
  double raw = range / 5;
  double p = std::pow(10.0, std::floor(std::log10(raw)));
  double f = raw / p;
  double nice = f < 1.5 ? 1 : f < 3.5 ? 2 : f < 7.5 ? 5 : 10;
  return nice * p;
}

}  // namespace

std::string AxisFormat(double min, double max) {
  const double amin = std::fabs(min), amax = std::fabs(max);
  if (amin == 0 && amax == 0) return "#,##0.###";
  if (std::max(amin, amax) > 100000 || (amin < 0.001 && amax < 0.001)) return "#.0##E-0";
  return "#,##0.###";
}

std::string FormatAxisNumber(double value, const std::string& format) {
  if (!std::isfinite(value)) return "";
  char buf[64];
  if (format == "#.0##E-0") {
    if (value == 0) return "0.0E0";
    std::snprintf(buf, sizeof buf, "%.3E", value);
    std::string s(buf);
    size_t e = s.find('E');
    std::string mantissa = s.substr(0, e);
    int exponent = std::atoi(s.c_str() + e + 1);
    // Optional digits drop their trailing zeros; one decimal stays.
    while (mantissa.size() > 1 && mantissa.back() == '0' && mantissa[mantissa.size() - 2] != '.') mantissa.pop_back();
    return mantissa + "E" + std::to_string(exponent);
  }
  const int decimals = format == "#,##0" ? 0 : 3;
  std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(value));
  std::string s(buf);
  std::string intPart = s.substr(0, s.find('.'));
  std::string frac = s.find('.') == std::string::npos ? std::string() : s.substr(s.find('.') + 1);
  while (!frac.empty() && frac.back() == '0') frac.pop_back();
  std::string out = GroupThousands(intPart);
  if (!frac.empty()) out += "." + frac;
  if (value < 0 && out.find_first_not_of("0.,") != std::string::npos) out = "-" + out;
  return out;
}

TChartModel BuildChartModel(const TGridTableChart& t) {
  TChartModel m;
  const int n = t.RowCount();
  const bool single = t.ColumnCount() == 1;
  const int X = t.XColumn, Y = t.YColumn;
  m.SecondActive = t.VisibleColumnCount() == 3 && X == 0 && Y == 1;
  m.LegendShown = m.SecondActive;
  if (m.SecondActive) {
    m.FirstTitle = FirstHeader(t, 1);
    m.SecondTitle = FirstHeader(t, 2);
  }
  const double y0 = n > 0 ? CellValue(t, Y, 0) : 0;
  m.Constant = n > 1;
  for (int i = 0; i < n && m.Constant; ++i) {
    if (CellValue(t, Y, i) != y0) m.Constant = false;
    if (m.SecondActive && CellValue(t, 2, i) != y0) m.Constant = false;
  }
  for (int i = 0; i < n; ++i) {
    double x = single ? i : CellValue(t, X, i);
    double y = CellValue(t, Y, i);
    if (m.Constant && i == 1) y *= 1.001;
    m.First.push_back({x, y});
    if (m.SecondActive) m.Second.push_back({x, CellValue(t, 2, i)});
  }
  auto byX = [](const TChartPoint& a, const TChartPoint& b) { return a.X < b.X; };
  std::stable_sort(m.First.begin(), m.First.end(), byX);
  std::stable_sort(m.Second.begin(), m.Second.end(), byX);

  m.Bottom.Title = single ? "N" : FirstHeader(t, X);
  m.Left.Title = FirstHeader(t, Y);
  m.Bottom.Inverted = t.InvertedXAxis;
  m.Left.Inverted = t.InvertedYAxis;
  AutoRange(m.First, m.Second, true, m.Bottom);
  if (m.Constant && y0 != 0) {
    m.Left.Min = std::min(0.9 * y0, 1.1 * y0);
    m.Left.Max = std::max(0.9 * y0, 1.1 * y0);
  } else {
    AutoRange(m.First, m.Second, false, m.Left);
  }
  m.Bottom.Format = single ? "#,##0" : AxisFormat(m.Bottom.Min, m.Bottom.Max);
  m.Left.Format = AxisFormat(m.Left.Min, m.Left.Max);
  return m;
}

void DrawChart(QPainter& p, const QRect& rect, const TChartModel& m) {
  p.save();
  p.fillRect(rect, Qt::white);
  QFont font = p.font();
  font.setPointSizeF(7.5);
  p.setFont(font);
  const QFontMetrics fm(font);
  const int lh = fm.height();

  // Label widths decide the plot's left edge.
  const double ystep = NiceStep(m.Left.Max - m.Left.Min);
  std::vector<double> yticks, xticks;
  for (double v = std::ceil(m.Left.Min / ystep) * ystep; v <= m.Left.Max + ystep * 1e-9; v += ystep) yticks.push_back(v);
  const double xstep = NiceStep(m.Bottom.Max - m.Bottom.Min);
  for (double v = std::ceil(m.Bottom.Min / xstep) * xstep; v <= m.Bottom.Max + xstep * 1e-9; v += xstep)
    xticks.push_back(v);
  int labelWidth = 0;
  for (double v : yticks) {
    labelWidth = std::max(labelWidth, fm.horizontalAdvance(QString::fromStdString(FormatAxisNumber(v, m.Left.Format))));
  }
  const QRect plot(rect.left() + lh + 4 + labelWidth + 4, rect.top() + lh / 2 + 2,
                   std::max(10, rect.width() - (lh + 8 + labelWidth) - 10),
                   std::max(10, rect.height() - 2 * lh - 8 - lh / 2));
  auto px = [&](double x) {
    double f = (x - m.Bottom.Min) / (m.Bottom.Max - m.Bottom.Min);
    if (m.Bottom.Inverted) f = 1 - f;
    return plot.left() + f * plot.width();
  };
  auto py = [&](double y) {
    double f = (y - m.Left.Min) / (m.Left.Max - m.Left.Min);
    if (m.Left.Inverted) f = 1 - f;
    return plot.bottom() - f * plot.height();
  };

  p.setPen(QPen(QColor(220, 220, 220), 1));
  for (double v : yticks) p.drawLine(QPointF(plot.left(), py(v)), QPointF(plot.right(), py(v)));
  for (double v : xticks) p.drawLine(QPointF(px(v), plot.top()), QPointF(px(v), plot.bottom()));
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(plot);
  for (double v : yticks) {
    QString s = QString::fromStdString(FormatAxisNumber(std::fabs(v) < ystep * 1e-9 ? 0 : v, m.Left.Format));
    p.drawText(QRectF(plot.left() - labelWidth - 4, py(v) - lh / 2.0, labelWidth, lh), Qt::AlignRight | Qt::AlignVCenter, s);
  }
  for (double v : xticks) {
    QString s = QString::fromStdString(FormatAxisNumber(std::fabs(v) < xstep * 1e-9 ? 0 : v, m.Bottom.Format));
    int w = fm.horizontalAdvance(s);
    p.drawText(QRectF(px(v) - w / 2.0 - 2, plot.bottom() + 2, w + 4, lh), Qt::AlignCenter, s);
  }
  p.drawText(QRect(plot.left(), plot.bottom() + lh + 2, plot.width(), lh), Qt::AlignCenter,
             QString::fromStdString(m.Bottom.Title));
  p.save();
  p.translate(rect.left() + 2, plot.center().y());
  p.rotate(-90);
  p.drawText(QRect(-plot.height() / 2, 0, plot.height(), lh), Qt::AlignCenter, QString::fromStdString(m.Left.Title));
  p.restore();

  p.setClipRect(plot.adjusted(-3, -3, 3, 3));
  p.setRenderHint(QPainter::Antialiasing, true);
  auto drawLine = [&](const std::vector<TChartPoint>& pts, const QColor& colour, bool marks) {
    if (pts.empty()) return;
    QPainterPath path;
    path.moveTo(px(pts.front().X), py(pts.front().Y));
    for (size_t i = 1; i < pts.size(); ++i) path.lineTo(px(pts[i].X), py(pts[i].Y));
    p.setPen(QPen(colour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    if (marks) {
      p.setBrush(colour);
      p.setPen(QPen(colour.darker(), 1));
      for (const TChartPoint& q : pts) p.drawRect(QRectF(px(q.X) - 2, py(q.Y) - 2, 4, 4));
    }
  };
  drawLine(m.First, Qt::red, false);
  if (m.SecondActive) drawLine(m.Second, QColor(0, 160, 0), true);
  p.setClipping(false);

  if (m.LegendShown) {
    const QString a = QString::fromStdString(m.FirstTitle), b = QString::fromStdString(m.SecondTitle);
    const int w = std::max(fm.horizontalAdvance(a), fm.horizontalAdvance(b)) + 28;
    QRect box(plot.right() - w - 4, plot.top() + 4, w, 2 * lh + 6);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(box.left() + 4, box.top() + 3 + lh / 2, box.left() + 18, box.top() + 3 + lh / 2);
    p.setPen(QPen(QColor(0, 160, 0), 2));
    p.drawLine(box.left() + 4, box.top() + 3 + lh + lh / 2, box.left() + 18, box.top() + 3 + lh + lh / 2);
    p.setPen(Qt::black);
    p.drawText(box.left() + 22, box.top() + 3 + fm.ascent(), a);
    p.drawText(box.left() + 22, box.top() + 3 + lh + fm.ascent(), b);
  }
  p.restore();
}

}  // namespace ramvex
