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
#include <tuple>
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

// Pixels of a marker outline around (0, 0), drawn once per shape and size
// and kept for the process.
const std::vector<QPoint>& MarkerStamp(int curveIndex, double rx, double ry) {
  static std::mutex lock;
  static std::map<std::tuple<int, double, double>, std::vector<QPoint>> stamps;
  const int shape = curveIndex % 10;
  std::lock_guard guard(lock);
  auto [it, added] = stamps.try_emplace({shape, rx, ry});
  if (!added) return it->second;
  const int reach = static_cast<int>(std::ceil(std::max(rx, ry))) + 2;
  QImage sprite(2 * reach + 1, 2 * reach + 1, QImage::Format_ARGB32_Premultiplied);
  sprite.fill(Qt::transparent);
  {
    QPainter sp(&sprite);
    sp.setPen(QPen(Qt::black, 0));
    DrawMarker(sp, MarkerCorners(shape), QPointF(reach, reach), rx, ry);
  }
  for (int y = 0; y < sprite.height(); ++y) {
    for (int x = 0; x < sprite.width(); ++x) {
      if (qAlpha(sprite.pixel(x, y)) != 0) it->second.emplace_back(x - reach, y - reach);
    }
  }
  return it->second;
}

// The image painted on, when its pixels can be written directly: a 32-bit
// opaque image of its own (not sharing its pixels with a copy), at its own
// scale, without a transformation.  Markers, dotted grid lines and the
// white ground are then set pixel by pixel; they are the bulk of a graph's
// pixels, and the painter's general paths (or its worker threads for
// large fills) cost several times more.
QImage* DirectImage(QPainter& p) {
  QPaintDevice* device = p.device();
  if (!device || device->devType() != QInternal::Image) return nullptr;
  auto* image = static_cast<QImage*>(device);
  if (image->format() != QImage::Format_RGB32 || image->devicePixelRatio() != 1 || !image->isDetached()) {
    return nullptr;
  }
  if (p.worldTransform().type() != QTransform::TxNone) return nullptr;
  return image;
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
      : p_(p),
        g_(g),
        v_(v),
        o_(o),
        d_(d),
        s_(GraphStyle()),
        l_(LayoutGraph(g, d)),
        label_(ramvex::LabelFont(g, d.Dy)),
        bold_(ramvex::LabelFont(g, d.Dy, true)),
        names_(ramvex::LabelFont(TGraphPlot(), d.Dy)) {}

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
    p_.setFont(bold_);
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

    const int tickX = d_.Dy / 16;  // length of a tick on the X axis edge
    const int tickY = d_.Dx / 16;
    // Ticks and grid lines are gathered and drawn in two calls: a graph
    // has hundreds of them, and each call to the painter costs more than
    // the few pixels of a tick.
    std::vector<QLine> ticks, grid;
    struct Label {
      int at;
      QString text;
    };
    std::vector<Label> xLabels, yLabels;

    const long double minorX = stepX / 5;
    auto [x0, x1] = TickIndices(s.X, minorX);
    for (long long k = x0; k <= x1; ++k) {
      const int px = static_cast<int>(MapX(r, s.X, k * minorX));
      if (g_.XOnTop) {
        ticks.emplace_back(px, r.Top, px, r.Top + tickX);
      } else {
        ticks.emplace_back(px, r.Bottom, px, r.Bottom - tickX);
      }
      if (k % 5 != 0) continue;
      grid.emplace_back(px, r.Top, px, r.Bottom);
      xLabels.push_back({px, Q(GeneralText(k * minorX, 4, stepX))});
    }
    const long double minorY = stepY / 5;
    auto [y0, y1] = TickIndices(s.Y, minorY);
    for (long long k = y0; k <= y1; ++k) {
      const int py = static_cast<int>(MapY(r, s.Y, g_.XOnTop, k * minorY));
      ticks.emplace_back(r.Left, py, r.Left + tickY, py);
      if (k % 5 != 0) continue;
      grid.emplace_back(r.Left, py, r.Right, py);
      yLabels.push_back({py, Q(GeneralText(k * minorY, 4, stepY))});
    }
    p_.setPen(QPen(s_.Grid, 0));
    p_.drawLines(ticks.data(), static_cast<int>(ticks.size()));
    DrawDotted(grid);

    p_.setFont(label_);
    p_.setPen(s_.Text);
    const int width = spacing * 2;
    const int y = g_.XOnTop ? r.Top - d_.Dy / 32 - h : r.Bottom + d_.Dy / 16;
    for (const Label& l : xLabels) {
      p_.drawText(QRect(l.at - width / 2, y, width, h), Qt::AlignHCenter | Qt::AlignTop, l.text);
    }
    for (const Label& l : yLabels) DrawUpright(p_, r.Left - d_.Dx / 32 - h, l.at, h, width, l.text);
  }

  void DrawCurves(int panel) {
    const TLineList& lines = g_.Lines(PanelList(panel));
    if (lines.empty() || lines.front()->PointCount() <= 1) return;
    // The three panels follow the flags of panel 1, so one legend governs
    // all of them.
    const TLineList& flags = g_.Lines(P1);
    const TPixelRect& r = Panel(panel);
    const TPanelScale& s = Scale(panel);
    const TAxisMap mapX = XMap(r, s.X);
    const TAxisMap mapY = YMap(r, s.Y, g_.XOnTop);
    p_.save();
    p_.setClipRect(QRect(r.Left, r.Top, r.Width() + 1, r.Height() + 1));
    const int width = (static_cast<int>(std::lround(d_.Dx / 300.0)) + 1) * std::max(1, g_.WidthLine);
    int position = 0;
    QPolygonF points;
    for (size_t i = 0; i < lines.size(); ++i) {
      const TLine& flag = i < flags.size() ? *flags[i] : *lines[i];
      if (!flag.Included) continue;
      const QColor colour = CurveQColor(position++);
      if (!flag.Shown) continue;
      const TLine& line = *lines[i];
      points.resize(line.PointCount());
      for (int j = 0; j < line.PointCount(); ++j) {
        const TFloatPoint& pt = line.Points[static_cast<size_t>(j)];
        points[j] = QPointF(mapX(pt.X), mapY(pt.Y));
      }
      p_.setPen(QPen(colour, width));
      p_.setBrush(Qt::NoBrush);
      // A point that is not a number breaks the curve instead of drawing a
      // line to nowhere.
      qsizetype start = 0;
      for (qsizetype j = 0; j <= points.size(); ++j) {
        if (j < points.size() && !std::isnan(points[j].x()) && !std::isnan(points[j].y())) continue;
        if (j - start > 1) p_.drawPolyline(points.constData() + start, static_cast<int>(j - start));
        start = j + 1;
      }
      if (g_.Markers > 0) DrawMarkers(points, static_cast<int>(i), colour, r);
    }
    p_.restore();
  }

  // Markers at the first point and every Markers-th point.  On a plain
  // 32-bit image the outline of the marker is drawn once into a small stamp
  // and its pixels are copied to every point: markers sit on whole pixels,
  // so this gives the very pixels a drawn outline would, and a graph with a
  // marker on every one of its thousands of points repaints quickly.
  // Other targets (pages, PDF, SVG, scaled images) get true outlines.
  void DrawMarkers(const QPolygonF& points, int curve, const QColor& colour, const TPixelRect& r) {
    const std::vector<QPointF> corners = MarkerCorners(curve);
    const double rx = d_.Dx / 32;
    const double ry = d_.Dy / 32;
    const int reach = static_cast<int>(std::ceil(std::max(rx, ry))) + 2;
    QImage* image = StampTarget();
    if (!image) p_.setPen(QPen(colour, 0));
    const std::vector<QPoint>* stamp = image ? &MarkerStamp(curve, rx, ry) : nullptr;
    // The panel, as the curves are clipped to it, and the image's bounds.
    const int left = std::max(r.Left, 0);
    const int top = std::max(r.Top, 0);
    const int right = image ? std::min(r.Right, image->width() - 1) : r.Right;
    const int bottom = image ? std::min(r.Bottom, image->height() - 1) : r.Bottom;
    const QRgb rgb = colour.rgb();
    // Row addresses are taken from the image's bits once: each scanLine()
    // call checks the image's sharing, which costs more than the pixel.
    uchar* bits = image ? image->bits() : nullptr;
    const qsizetype stride = image ? image->bytesPerLine() : 0;
    for (qsizetype j = 0; j < points.size(); j += g_.Markers) {
      const QPointF at = points[j];
      if (std::isnan(at.x()) || std::isnan(at.y())) continue;
      if (at.x() < left - reach || at.x() > right + reach || at.y() < top - reach || at.y() > bottom + reach) continue;
      if (!image) {
        DrawMarker(p_, corners, at, rx, ry);
        continue;
      }
      const int cx = static_cast<int>(at.x());
      const int cy = static_cast<int>(at.y());
      for (const QPoint& o : *stamp) {
        const int x = cx + o.x();
        const int y = cy + o.y();
        if (x < left || x > right || y < top || y > bottom) continue;
        reinterpret_cast<QRgb*>(bits + y * stride)[x] = rgb;
      }
    }
  }

  // Dotted grid lines, every other pixel lit.  On an image the pixels are
  // set directly: a dashed pen costs more than the rest of the graph.
  void DrawDotted(const std::vector<QLine>& lines) {
    QImage* image = StampTarget();
    if (!image) {
      QPen pen(s_.Grid, 0);
      pen.setDashPattern({1, 1});
      p_.setPen(pen);
      p_.drawLines(lines.data(), static_cast<int>(lines.size()));
      return;
    }
    const QRgb rgb = s_.Grid.rgb();
    const int w = image->width();
    const int h = image->height();
    uchar* bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    for (const QLine& l : lines) {
      if (l.y1() == l.y2()) {
        const int y = l.y1();
        if (y < 0 || y >= h) continue;
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        for (int x = std::min(l.x1(), l.x2()); x <= std::max(l.x1(), l.x2()); x += 2) {
          if (x >= 0 && x < w) row[x] = rgb;
        }
      } else if (l.x1() == l.x2()) {
        const int x = l.x1();
        if (x < 0 || x >= w) continue;
        for (int y = std::min(l.y1(), l.y2()); y <= std::max(l.y1(), l.y2()); y += 2) {
          if (y >= 0 && y < h) reinterpret_cast<QRgb*>(bits + y * stride)[x] = rgb;
        }
      }
    }
  }

  QImage* StampTarget() const { return DirectImage(p_); }

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
    p_.setFont(label_);
    const QFontMetrics fm(label_, p_.device());
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
    p_.setFont(names_);
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


  QPainter& p_;
  const TGraphPlot& g_;
  const TGraphView& v_;
  const TDrawOptions& o_;
  const TDrawDevice& d_;
  const TGraphStyle& s_;
  const TGraphLayout l_;
  // Tick labels; captions and title (bold); layer names (normal size,
  // whatever the graph's font size).
  const QFont label_, bold_, names_;
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

TDrawDevice DeviceFor(const TGraphPlot& graph, const QRect& client, const QPaintDevice* device, const TDrawOptions& o) {
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
  QImage* image = painter.hasClipping() ? nullptr : DirectImage(painter);
  const QRect ground = image ? client.intersected(image->rect()) : QRect();
  if (image && !ground.isEmpty()) {
    const QRgb white = GraphStyle().Background.rgb();
    uchar* bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    for (int y = ground.top(); y <= ground.bottom(); ++y) {
      std::fill_n(reinterpret_cast<QRgb*>(bits + y * stride) + ground.left(), ground.width(), white);
    }
  } else {
    painter.fillRect(client, GraphStyle().Background);
  }
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
