#include "PlotDraw.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <numbers>
#include <vector>

namespace ramvex {

namespace {

constexpr TCurveList P1 = TCurveList::Panel1;

// A marker of curve m (1..10) as corner directions, measured clockwise
// from straight up: curve 1 a triangle pointing down, curve 2 a square,
// curves 3 to 10 regular polygons with m corners.
std::vector<QPointF> MarkerCorners(int curveIndex) {
  const int m = curveIndex % 10 + 1;
  std::vector<double> angles;
  if (m == 1) {
    angles = {180, 300, 60};
  } else if (m == 2) {
    angles = {45, 135, 225, 315};
  } else {
    for (int k = 0; k < m; ++k) angles.push_back(360.0 * k / m);
  }
  std::vector<QPointF> corners;
  for (double a : angles) {
    const double r = a * std::numbers::pi / 180;
    corners.emplace_back(std::sin(r), -std::cos(r));
  }
  return corners;
}

void DrawMarker(QPainter& p, const std::vector<QPointF>& corners, QPointF at, double rx, double ry) {
  QPolygonF poly;
  poly.reserve(static_cast<qsizetype>(corners.size()));
  for (const QPointF& c : corners) poly << QPointF(at.x() + c.x() * rx, at.y() + c.y() * ry);
  p.drawPolygon(poly);
}

QRect ToRect(const TPixelRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

// Whole multiples of a step between two ends; decimal steps are not exact
// in binary, so quotients within a billionth of a whole number count as it.
long double Snap(long double q) {
  const long double r = std::round(q);
  return std::fabs(q - r) <= 1e-9L * std::max(1.0L, std::fabs(r)) ? r : q;
}

// Text turned 90 degrees (reading upward), its line box spanning x from
// `left` to left + height and centred on y.
void DrawUpright(QPainter& p, int left, int centreY, int height, int length, const QString& text) {
  p.save();
  p.translate(left, centreY);
  p.rotate(-90);
  p.drawText(QRect(-length / 2, 0, length, height), Qt::AlignHCenter | Qt::AlignTop, text);
  p.restore();
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

class TGraphPainter {
 public:
  TGraphPainter(QPainter& p, const TGraphPlot& g, const TGraphView& v, const TDrawOptions& o, const TDrawDevice& d)
      : p_(p), g_(g), v_(v), o_(o), d_(d), s_(GraphStyle()), l_(LayoutGraph(g, d)) {}

  void Draw() {
    DrawCaptions();
    for (int i = 0; i < l_.PanelCount; ++i) DrawGrid(i);
    for (int i = 0; i < l_.PanelCount; ++i) DrawCurves(i);
    if (o_.Target != TDrawTarget::Screen && g_.ShowLegend) DrawLegendBox();
    if (l_.HasStrip) DrawStrip();
    p_.setPen(QPen(s_.Frame, 0));
    p_.setBrush(Qt::NoBrush);
    for (int i = 0; i < l_.PanelCount; ++i) p_.drawRect(ToRect(l_.Panels[static_cast<size_t>(i)]));
  }

 private:
  const TPanelScale& Scale(int panel) const { return v_.Scales[static_cast<size_t>(panel)]; }
  const TPixelRect& Panel(int panel) const { return l_.Panels[static_cast<size_t>(panel)]; }

  void DrawCaptions() {
    const TPixelRect& c = d_.Client;
    const int h = d_.H;
    const bool hasTitle = !g_.UserTitle.empty();
    const bool titleTop = hasTitle && g_.TitleOnTop;
    const bool titleBottom = hasTitle && !g_.TitleOnTop;
    p_.setFont(LabelFont(g_, d_.Dy, true));
    p_.setPen(s_.Text);
    const int units = g_.Units();
    const int length = std::max(c.Width(), c.Height());
    if (l_.PanelCount == 1) {
      const QString x = Q(AxisCaption(g_.XCaption, g_.XUnits, units));
      const int y = g_.XOnTop ? c.Top + (titleTop ? h + h / 8 : 0) : c.Bottom - h - (titleBottom ? h : 0);
      p_.drawText(QRect(c.Left, y, c.Width(), h), Qt::AlignHCenter | Qt::AlignTop, x);
      DrawUpright(p_, c.Left, (c.Top + c.Bottom) / 2, h, length, Q(AxisCaption(g_.YCaption, g_.YUnits, units)));
    } else {
      for (int i = 0; i < l_.PanelCount; ++i) {
        const TPixelRect& r = Panel(i);
        const int y = g_.XOnTop ? c.Top + d_.Dy / 16 + (titleTop ? d_.Dy / 4 : 0)
                                : c.Bottom - d_.Dy / 16 - h - (titleBottom ? d_.Dy / 4 : 0);
        p_.drawText(QRect(r.Left, y, r.Width(), h), Qt::AlignHCenter | Qt::AlignTop,
                    Q(AxisCaption(g_.XCaptionOf(i), g_.XUnitsOf(i), units)));
        DrawUpright(p_, r.Left - (2 * h + d_.Dx / 8 + h / 8), (r.Top + r.Bottom) / 2, h, length,
                    Q(AxisCaption(g_.YCaptionOf(i), g_.YUnitsOf(i), units)));
      }
    }
    if (hasTitle) {
      const int y = titleTop ? c.Top : c.Bottom - h;
      p_.drawText(QRect(c.Left, y, c.Width(), h), Qt::AlignHCenter | Qt::AlignTop, Q(g_.UserTitle));
    }
  }

  // Multiples of `minor` inside [min, max], by index (k * minor).
  static std::pair<long long, long long> TickIndices(const TScale& s, long double minor) {
    const long double lo = std::ceil(Snap(s.Min / minor));
    const long double hi = std::floor(Snap(s.Max / minor));
    if (!(hi >= lo) || hi - lo > 100000) return {1, 0};
    return {static_cast<long long>(lo), static_cast<long long>(hi)};
  }

  void DrawGrid(int panel) {
    const TPixelRect& r = Panel(panel);
    const TPanelScale& s = Scale(panel);
    const int h = d_.H;
    const int spacing = (l_.PanelCount == 3 ? 4 : 6) * h;
    if (spacing <= 0) return;
    const int nx = r.Width() / spacing;
    const int ny = r.Height() / spacing;
    if (nx <= 0 || ny <= 0) return;
    const long double stepX = LabelStep(s.X.Width(), nx);
    const long double stepY = LabelStep(s.Y.Width(), ny);
    if (!(stepX > 0) || !(stepY > 0)) return;

    QPen solid(s_.Grid, 0);
    QPen dotted(s_.Grid, 0, Qt::DotLine);
    p_.setFont(LabelFont(g_, d_.Dy));
    const int tickX = d_.Dy / 16;  // length of a tick on the X axis edge
    const int tickY = d_.Dx / 16;

    const long double minorX = stepX / 5;
    auto [x0, x1] = TickIndices(s.X, minorX);
    for (long long k = x0; k <= x1; ++k) {
      const int px = static_cast<int>(MapX(r, s.X, k * minorX));
      p_.setPen(solid);
      if (g_.XOnTop) {
        p_.drawLine(px, r.Top, px, r.Top + tickX);
      } else {
        p_.drawLine(px, r.Bottom, px, r.Bottom - tickX);
      }
      if (k % 5 != 0) continue;
      p_.setPen(dotted);
      p_.drawLine(px, r.Top, px, r.Bottom);
      p_.setPen(s_.Text);
      const QString text = Q(GeneralText(k * minorX, 4, stepX));
      const int width = spacing * 2;
      const int y = g_.XOnTop ? r.Top - d_.Dy / 32 - h : r.Bottom + d_.Dy / 16;
      p_.drawText(QRect(px - width / 2, y, width, h), Qt::AlignHCenter | Qt::AlignTop, text);
    }
    const long double minorY = stepY / 5;
    auto [y0, y1] = TickIndices(s.Y, minorY);
    for (long long k = y0; k <= y1; ++k) {
      const int py = static_cast<int>(MapY(r, s.Y, g_.XOnTop, k * minorY));
      p_.setPen(solid);
      p_.drawLine(r.Left, py, r.Left + tickY, py);
      if (k % 5 != 0) continue;
      p_.setPen(dotted);
      p_.drawLine(r.Left, py, r.Right, py);
      p_.setPen(s_.Text);
      DrawUpright(p_, r.Left - d_.Dx / 32 - h, py, h, spacing * 2, Q(GeneralText(k * minorY, 4, stepY)));
    }
  }

  void DrawCurves(int panel) {
    const TLineList& lines = g_.Lines(PanelList(panel));
    if (lines.empty() || lines.front()->PointCount() <= 1) return;
    // The three panels follow the flags of panel 1, so one legend governs
    // all of them.
    const TLineList& flags = g_.Lines(P1);
    const TPixelRect& r = Panel(panel);
    const TPanelScale& s = Scale(panel);
    p_.save();
    p_.setClipRect(QRect(r.Left, r.Top, r.Width() + 1, r.Height() + 1));
    const int width = (static_cast<int>(std::lround(d_.Dx / 300.0)) + 1) * std::max(1, g_.WidthLine);
    const double rx = d_.Dx / 32;
    const double ry = d_.Dy / 32;
    int position = 0;
    QPolygonF poly;
    for (size_t i = 0; i < lines.size(); ++i) {
      const TLine& flag = i < flags.size() ? *flags[i] : *lines[i];
      if (!flag.Included) continue;
      const QColor colour = CurveQColor(position++);
      if (!flag.Shown) continue;
      const TLine& line = *lines[i];
      QPen pen(colour, width);
      pen.setJoinStyle(Qt::MiterJoin);
      p_.setPen(pen);
      p_.setBrush(Qt::NoBrush);
      poly.clear();
      poly.reserve(line.PointCount());
      // A point that is not a number breaks the curve instead of drawing a
      // line to nowhere.
      for (const TFloatPoint& pt : line.Points) {
        const QPointF at(MapX(r, s.X, pt.X), MapY(r, s.Y, g_.XOnTop, pt.Y));
        if (std::isnan(at.x()) || std::isnan(at.y())) {
          if (poly.size() > 1) p_.drawPolyline(poly);
          poly.clear();
          continue;
        }
        poly << at;
      }
      if (poly.size() > 1) p_.drawPolyline(poly);
      if (g_.Markers > 0) {
        p_.setPen(QPen(colour, 0));
        const std::vector<QPointF> corners = MarkerCorners(static_cast<int>(i));
        for (int j = 0; j < line.PointCount(); j += g_.Markers) {
          const TFloatPoint& pt = line.Points[static_cast<size_t>(j)];
          const QPointF at(MapX(r, s.X, pt.X), MapY(r, s.Y, g_.XOnTop, pt.Y));
          if (!std::isnan(at.x()) && !std::isnan(at.y())) DrawMarker(p_, corners, at, rx, ry);
        }
      }
    }
    p_.restore();
  }

  void DrawLegendBox() {
    struct Row {
      QString text;
      QColor colour;
      int index;
    };
    std::vector<Row> rows;
    const TLineList& lines = g_.Lines(P1);
    int position = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (!lines[i]->Included) continue;
      const QColor colour = CurveQColor(position++);
      if (lines[i]->Shown) rows.push_back({Q(lines[i]->LegendText()), colour, static_cast<int>(i)});
    }
    if (rows.empty()) return;
    const QFont font = LabelFont(g_, d_.Dy);
    p_.setFont(font);
    const QFontMetrics fm(font, p_.device());
    int w = 0;
    for (const Row& r : rows) w = std::max(w, fm.horizontalAdvance(r.text));
    const int t = fm.height();
    const int dx = d_.Dx;
    const int dy = d_.Dy;
    const int boxW = w + 3 * dx / 16;
    const int boxH = (dy / 32 + t) * static_cast<int>(rows.size()) + dy / 32;
    const TPixelRect& plot = l_.Plot;
    int x, y;
    if (o_.LegendAt.x() >= 0 && o_.LegendAt.y() >= 0) {
      x = plot.Left + static_cast<int>(plot.Width() * o_.LegendAt.x());
      y = plot.Top + static_cast<int>(plot.Height() * o_.LegendAt.y());
    } else {
      x = plot.Right - boxW;
      y = plot.Bottom - boxH;
    }
    p_.setPen(QPen(s_.LegendFrame, 0));
    p_.setBrush(s_.LegendFill);
    p_.drawRect(x, y, boxW, boxH);
    p_.setBrush(Qt::NoBrush);
    int rowTop = y + dy / 32;
    for (const Row& r : rows) {
      p_.setPen(QPen(s_.LegendFrame, 0));
      DrawMarker(p_, MarkerCorners(r.index), QPointF(x + dx / 16, rowTop + t / 2.0), dx / 32, dy / 32);
      p_.setPen(r.colour);
      p_.drawText(QRect(x + dx / 16 + dx / 16, rowTop, w + dx / 16, t), Qt::AlignLeft | Qt::AlignTop, r.text);
      rowTop += dy / 32 + t;
    }
  }

  QBrush FillOf(int code) const {
    switch (code) {
      case 2:
        return QBrush(Qt::black, Qt::FDiagPattern);
      case 3:
        return QBrush(Qt::black, Qt::CrossPattern);
      case 4:
        return QBrush(Qt::black, Qt::DiagCrossPattern);
      case 5:
        return QBrush(Qt::black, Qt::HorPattern);
      case 6:
        return QBrush(Qt::black, Qt::VerPattern);
      default: {
        QImage tile = SoilPattern(code, o_.Target == TDrawTarget::Printer);
        return tile.isNull() ? QBrush(Qt::NoBrush) : QBrush(tile);
      }
    }
  }

  void DrawStrip() {
    const TLineList& lines = g_.Lines(TCurveList::Layers);
    const int layers = std::clamp(g_.WallLineCount, 0, static_cast<int>(lines.size()));
    const bool hasWallLines = static_cast<int>(lines.size()) >= layers + 2;
    const bool withWall = g_.ShowWall && hasWallLines;
    const TPixelRect& strip = l_.Strip;
    const TScale& ys = Scale(0).Y;
    auto depthY = [&](long double depth) {
      return std::clamp(static_cast<int>(MapY(strip, ys, g_.XOnTop, depth)), strip.Top, strip.Bottom);
    };
    auto depthOf = [&](int i) {
      const TLine& line = *lines[static_cast<size_t>(i)];
      return line.Points.empty() ? 0.0L : line.Points.front().Y;
    };
    auto codeOf = [&](int i) {
      const TLine& line = *lines[static_cast<size_t>(i)];
      return line.Points.empty() ? 0 : static_cast<int>(line.Points.front().X);
    };
    p_.save();
    p_.setClipRect(QRect(strip.Left, strip.Top, strip.Width() + 1, strip.Height() + 1));
    p_.setFont(LabelFont(g_, d_.Dy, false, true));
    const int fifth = strip.Width() / 5;
    const int leftEnd = strip.Left + 2 * fifth;
    const int rightStart = strip.Right - 2 * fifth;
    const long double free = withWall ? depthOf(layers + 1) : 0;
    long double top = g_.StripStart;
    for (int i = 0; i < layers; ++i) {
      const long double bottom = depthOf(i);
      const QBrush fill = FillOf(codeOf(i));
      auto box = [&](int left, int right, long double from, long double to) {
        const int y0 = depthY(from);
        const int y1 = depthY(to);
        if (y1 <= y0 || right <= left) return QRect();
        QRect r(left, y0, right - left, y1 - y0);
        p_.setPen(QPen(s_.StripOutline, 0));
        p_.setBrush(Qt::white);
        p_.drawRect(r);
        p_.setBrush(fill);
        p_.drawRect(r);
        return r;
      };
      if (!withWall) {
        const QRect r = box(strip.Left, strip.Right, top, bottom);
        if (!r.isNull()) {
          p_.setPen(s_.Text);
          p_.setBackground(Qt::white);
          p_.setBackgroundMode(Qt::OpaqueMode);
          p_.drawText(r, Qt::AlignCenter, Q(lines[static_cast<size_t>(i)]->Name));
          p_.setBackgroundMode(Qt::TransparentMode);
        }
      } else if (bottom < free) {
        box(strip.Left, leftEnd, top, bottom);
      } else if (top < free) {
        box(strip.Left, leftEnd, top, bottom);
        box(rightStart, strip.Right, free, bottom);
      } else {
        box(strip.Left, strip.Right, top, bottom);
      }
      top = bottom;
    }
    if (withWall) {
      const int y1 = depthY(depthOf(layers));
      const int y0 = depthY(g_.StripStart);
      p_.setPen(QPen(s_.Wall, 0));
      p_.setBrush(s_.Wall);
      if (y1 > y0) p_.drawRect(QRect(leftEnd, y0, rightStart - leftEnd, y1 - y0));
    }
    p_.restore();
  }

  QFont LabelFont(const TGraphPlot& g, int dy, bool bold = false, bool normalSize = false) const {
    if (!normalSize) return ramvex::LabelFont(g, dy, bold);
    TGraphPlot plain;
    return ramvex::LabelFont(plain, dy, bold);
  }

  QPainter& p_;
  const TGraphPlot& g_;
  const TGraphView& v_;
  const TDrawOptions& o_;
  const TDrawDevice& d_;
  const TGraphStyle& s_;
  const TGraphLayout l_;
};

// Tile drawings of the fill patterns, in units of a 16-pixel tile; the
// coarse tiles for printed pages are the same drawings four times larger,
// so that a 600-pixel-per-inch page shows them at about screen size.
void DrawTile(QPainter& p, int code) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  switch (code) {
    case 1:  // clays: close diagonal hatching
      for (int k = -16; k < 32; k += 4) p.drawLine(k, 16, k + 16, 0);
      break;
    case 7:  // sand: scattered dots
      for (QPoint d : {QPoint(2, 3), QPoint(9, 1), QPoint(13, 6), QPoint(5, 9), QPoint(11, 12), QPoint(1, 14),
                       QPoint(7, 14), QPoint(14, 10)}) {
        p.drawPoint(d);
      }
      break;
    case 8:  // silt: short horizontal dashes
      p.drawLine(1, 3, 5, 3);
      p.drawLine(9, 3, 13, 3);
      p.drawLine(5, 11, 9, 11);
      p.drawLine(13, 11, 16, 11);
      p.drawLine(0, 11, 1, 11);
      break;
    case 9:  // strong rock: bricks
    case 10:  // weak rock: bricks crossed by diagonals
      p.drawLine(0, 0, 16, 0);
      p.drawLine(0, 8, 16, 8);
      p.drawLine(4, 0, 4, 8);
      p.drawLine(12, 8, 12, 16);
      if (code == 10) p.drawLine(0, 16, 16, 0);
      break;
    case 11:  // pebbles among dots
    case 12:  // pebbles
      p.drawEllipse(QRectF(1.5, 1.5, 6, 4));
      p.drawEllipse(QRectF(9.5, 8.5, 5, 5));
      if (code == 11) {
        for (QPoint d : {QPoint(12, 3), QPoint(3, 11), QPoint(6, 14), QPoint(14, 15)}) p.drawPoint(d);
      }
      break;
    default:
      break;
  }
}

}  // namespace

const TGraphStyle& GraphStyle() {
  static const TGraphStyle style;
  return style;
}

QColor CurveQColor(int position) { return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | CurveColour(position))); }

QFont LabelFont(const TGraphPlot& graph, int dy, bool bold) {
  const TGraphStyle& s = GraphStyle();
  QFont font(s.FontFamily);
  font.setStyleHint(QFont::Serif);
  const double px = s.BasePixelSize * (dy > 0 ? dy : 96) / 96.0 * std::max(1, graph.SizeFont) / 10.0;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
  if (bold) font.setWeight(static_cast<QFont::Weight>(s.CaptionWeight));
  return font;
}

TDrawDevice DeviceFor(const TGraphPlot& graph, const QRect& client, QPaintDevice* device, const TDrawOptions& o) {
  TDrawDevice d;
  d.Target = o.Target;
  d.Dx = o.Dx > 0 ? o.Dx : (device ? device->logicalDpiX() : 96);
  d.Dy = o.Dy > 0 ? o.Dy : (device ? device->logicalDpiY() : 96);
  d.Client = {client.left(), client.top(), client.left() + client.width(), client.top() + client.height()};
  const QFont font = LabelFont(graph, d.Dy);
  d.H = device ? QFontMetrics(font, device).height() : QFontMetrics(font).height();
  return d;
}

void draw(QPainter& painter, const QRect& client, const TGraphPlot& graph, const TGraphView& view,
          const TDrawOptions& options) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(client, GraphStyle().Background);
  const TDrawDevice device = DeviceFor(graph, client, painter.device(), options);
  if (!TooSmall(device)) TGraphPainter(painter, graph, view, options, device).Draw();
  painter.restore();
}

QImage SoilPattern(int code, bool coarse) {
  const bool drawn = code == 1 || (code >= 7 && code <= 12);
  if (!drawn) return {};
  // The tiles are drawn once per process and shared; images are implicitly
  // shared, so handing out copies is cheap.
  static std::mutex lock;
  static std::map<int, QImage> tiles;
  const int key = code * 2 + (coarse ? 1 : 0);
  std::lock_guard guard(lock);
  auto it = tiles.find(key);
  if (it != tiles.end()) return it->second;
  const int scale = coarse ? 4 : 1;
  QImage tile(16 * scale, 16 * scale, QImage::Format_ARGB32_Premultiplied);
  tile.fill(Qt::white);
  {
    QPainter p(&tile);
    p.scale(scale, scale);
    DrawTile(p, code);
  }
  tiles.emplace(key, tile);
  return tile;
}

}  // namespace ramvex
