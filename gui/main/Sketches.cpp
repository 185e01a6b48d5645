#include "Sketches.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace ramvex {

namespace {

// Sketches are drawn on a 200 by 160 grid and scaled to the area, keeping
// their proportions.
constexpr qreal kWidth = 200;
constexpr qreal kHeight = 160;

const QColor kInk(30, 30, 30);
const QColor kWallColour(90, 100, 120);
const QColor kBackfill(222, 196, 150);
const QColor kFront(206, 176, 122);
const QColor kWater(60, 110, 210);
const QColor kLoad(200, 40, 40);
const QColor kDimension(20, 90, 40);

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
  p.setPen(QPen(colour, 1.4));
  p.drawLine(from, to);
  QPointF d = to - from;
  qreal len = std::hypot(d.x(), d.y());
  if (len <= 0) return;
  QPointF u = d / len;
  QPointF n(-u.y(), u.x());
  p.setBrush(colour);
  p.drawPolygon(QPolygonF({to, to - u * 6 + n * 3, to - u * 6 - n * 3}));
}

void Label(QPainter& p, QPointF at, const QString& text, const QColor& colour = kInk) {
  QFont f(QStringLiteral("Sans"));
  f.setPixelSize(9);
  p.setFont(f);
  p.setPen(colour);
  p.drawText(at, text);
}

// Vertical dimension line from y0 to y1 at x, named by text.
void Dimension(QPainter& p, qreal x, qreal y0, qreal y1, const QString& text) {
  p.setPen(QPen(kDimension, 1));
  p.drawLine(QPointF(x, y0), QPointF(x, y1));
  p.drawLine(QPointF(x - 3, y0), QPointF(x + 3, y0));
  p.drawLine(QPointF(x - 3, y1), QPointF(x + 3, y1));
  Label(p, QPointF(x + 4, (y0 + y1) / 2 + 3), text, kDimension);
}

void WaterMark(QPainter& p, qreal x, qreal y) {
  p.setPen(QPen(kWater, 1));
  p.setBrush(kWater);
  p.drawPolygon(QPolygonF({QPointF(x, y), QPointF(x - 4, y - 6), QPointF(x + 4, y - 6)}));
  p.drawLine(QPointF(x - 8, y + 2), QPointF(x + 8, y + 2));
  p.drawLine(QPointF(x - 5, y + 5), QPointF(x + 5, y + 5));
}

// The common picture: a wall at x = 100 from y = 20 to 150, backfill on the
// right from y = 30, excavation on the left from y = 90.
void WallAndGround(QPainter& p, qreal slope = 0) {
  p.setPen(Qt::NoPen);
  p.setBrush(kBackfill);
  p.drawPolygon(QPolygonF({QPointF(104, 30), QPointF(195, 30 - slope), QPointF(195, 155), QPointF(104, 155)}));
  p.setBrush(kFront);
  p.drawRect(QRectF(5, 90, 95, 65));
  p.setPen(QPen(kInk, 1));
  p.drawLine(QPointF(104, 30), QPointF(195, 30 - slope));
  p.drawLine(QPointF(5, 90), QPointF(100, 90));
  p.setPen(Qt::NoPen);
  p.setBrush(kWallColour);
  p.drawRect(QRectF(100, 20, 4, 130));
}

void DrawConfiguration(QPainter& p) {
  WallAndGround(p, 18);
  // Uniform surface load on the backfill.
  for (qreal x = 112; x <= 188; x += 12) Arrow(p, QPointF(x, 2 - (x - 104) * 0.2 + 8), QPointF(x, 27 - (x - 104) * 0.2), kLoad);
  Label(p, QPointF(150, 8), QStringLiteral("q"), kLoad);
  Label(p, QPointF(170, 36), QStringLiteral("Beta"));
  Dimension(p, 84, 20, 90, QStringLiteral("H"));
  p.setPen(QPen(kWater, 1, Qt::DashLine));
  p.drawLine(QPointF(104, 70), QPointF(195, 70));
  WaterMark(p, 175, 70);
  Dimension(p, 130, 30, 70, QStringLiteral("DWb"));
  p.setPen(QPen(kWater, 1, Qt::DashLine));
  p.drawLine(QPointF(5, 115), QPointF(100, 115));
  WaterMark(p, 25, 115);
  Dimension(p, 60, 20, 115, QStringLiteral("DWe"));
}

void DrawWidths(QPainter& p) {
  // Plan of three wall units: Wa is their spacing, Wp the width of one.
  p.setPen(QPen(kInk, 1));
  p.setBrush(kBackfill);
  p.drawRect(QRectF(10, 20, 180, 50));
  p.setBrush(kWallColour);
  for (qreal x : {30.0, 95.0, 160.0}) p.drawEllipse(QPointF(x, 80), 12, 12);
  p.setPen(QPen(kDimension, 1));
  p.drawLine(QPointF(30, 110), QPointF(95, 110));
  p.drawLine(QPointF(30, 104), QPointF(30, 116));
  p.drawLine(QPointF(95, 104), QPointF(95, 116));
  Label(p, QPointF(55, 125), QStringLiteral("Wa"), kDimension);
  p.drawLine(QPointF(148, 110), QPointF(172, 110));
  p.drawLine(QPointF(148, 104), QPointF(148, 116));
  p.drawLine(QPointF(172, 104), QPointF(172, 116));
  Label(p, QPointF(152, 125), QStringLiteral("Wp"), kDimension);
  Label(p, QPointF(70, 45), QStringLiteral("backfill"));
  Label(p, QPointF(70, 150), QStringLiteral("excavation"));
}

void DrawSurcharge(QPainter& p) {
  WallAndGround(p);
  // A point load, a line load (drawn end-on) and a strip load, each at its
  // distance from the wall.
  Arrow(p, QPointF(122, 4), QPointF(122, 28), kLoad);
  Label(p, QPointF(114, 12), QStringLiteral("P"), kLoad);
  p.setPen(QPen(kLoad, 2.5));
  Arrow(p, QPointF(146, 4), QPointF(146, 28), kLoad);
  p.setBrush(kLoad);
  p.drawEllipse(QPointF(146, 4), 2.5, 2.5);
  Label(p, QPointF(136, 12), QStringLiteral("Q"), kLoad);
  p.setPen(QPen(kLoad, 1));
  p.drawLine(QPointF(166, 12), QPointF(190, 12));
  for (qreal x = 166; x <= 190; x += 6) Arrow(p, QPointF(x, 12), QPointF(x, 28), kLoad);
  Label(p, QPointF(175, 9), QStringLiteral("q"), kLoad);
  p.setPen(QPen(kDimension, 1));
  p.drawLine(QPointF(104, 44), QPointF(166, 44));
  p.drawLine(QPointF(104, 40), QPointF(104, 48));
  p.drawLine(QPointF(166, 40), QPointF(166, 48));
  p.drawLine(QPointF(166, 52), QPointF(190, 52));
  p.drawLine(QPointF(190, 48), QPointF(190, 56));
  Label(p, QPointF(118, 56), QStringLiteral("distance"), kDimension);
  Label(p, QPointF(168, 64), QStringLiteral("width"), kDimension);
}

void DrawConcentrated(QPainter& p) {
  WallAndGround(p);
  Arrow(p, QPointF(60, 35), QPointF(98, 35), kLoad);
  Label(p, QPointF(40, 32), QStringLiteral("Pt"), kLoad);
  Arrow(p, QPointF(102, 2), QPointF(102, 18), kLoad);
  Label(p, QPointF(108, 12), QStringLiteral("Px"), kLoad);
  p.setPen(QPen(kLoad, 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(80, 48, 44, 24), 200 * 16, 140 * 16);
  Arrow(p, QPointF(118, 68), QPointF(122, 63), kLoad);
  Label(p, QPointF(126, 62), QStringLiteral("Mt"), kLoad);
}

void DrawTieback(QPainter& p) {
  WallAndGround(p);
  // Free length and bond length of the anchor, inclined into the backfill.
  p.setPen(QPen(kInk, 1.5));
  p.drawLine(QPointF(104, 50), QPointF(150, 75));
  p.setPen(QPen(kLoad, 5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(150, 75), QPointF(188, 96));
  p.setPen(QPen(kInk, 1));
  p.setBrush(kInk);
  p.drawRect(QRectF(95, 46, 5, 9));
  Label(p, QPointF(106, 88), QStringLiteral("free length"));
  Label(p, QPointF(138, 112), QStringLiteral("bond length"), kLoad);
  Label(p, QPointF(122, 50), QStringLiteral("angle"));
}

void Spring(QPainter& p, qreal x0, qreal x1, qreal y) {
  QPainterPath path(QPointF(x0, y));
  const int turns = 6;
  qreal step = (x1 - x0) / (turns * 2 + 2);
  path.lineTo(x0 + step, y);
  for (int i = 0; i < turns * 2; ++i) path.lineTo(x0 + step * (i + 1.5), y + (i % 2 == 0 ? -4 : 4));
  path.lineTo(x1 - step, y);
  path.lineTo(x1, y);
  p.setPen(QPen(kDimension, 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.drawLine(QPointF(x0, y - 6), QPointF(x0, y + 6));
}

void DrawSprings(QPainter& p) {
  WallAndGround(p);
  Spring(p, 45, 100, 40);
  Spring(p, 45, 100, 70);
  Label(p, QPointF(20, 30), QStringLiteral("lateral spring"), kDimension);
  p.setPen(QPen(kDimension, 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(84, 118, 36, 24), 0, 270 * 16);
  Label(p, QPointF(108, 150), QStringLiteral("rotational restraint"), kDimension);
}

}  // namespace

void DrawSketch(QPainter& painter, const QRectF& area, TSketch sketch) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  qreal scale = std::min(area.width() / kWidth, area.height() / kHeight);
  painter.translate(area.center().x() - kWidth * scale / 2, area.center().y() - kHeight * scale / 2);
  painter.scale(scale, scale);
  switch (sketch) {
    case TSketch::WallConfiguration: DrawConfiguration(painter); break;
    case TSketch::WallWidths: DrawWidths(painter); break;
    case TSketch::Surcharge: DrawSurcharge(painter); break;
    case TSketch::ConcentratedLoads: DrawConcentrated(painter); break;
    case TSketch::Tieback: DrawTieback(painter); break;
    case TSketch::Springs: DrawSprings(painter); break;
  }
  painter.restore();
}

TSketchView::TSketchView(TSketch sketch, QWidget* parent) : QWidget(parent), sketch_(sketch) {
  setMinimumSize(200, 160);
}

void TSketchView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  DrawSketch(p, QRectF(rect()).adjusted(4, 4, -4, -4), sketch_);
}

}  // namespace ramvex
