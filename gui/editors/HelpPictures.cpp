#include "HelpPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QRect>

#include <cmath>

namespace ramvex {

namespace {

const QColor kWall(90, 90, 100);
const QColor kSoil(214, 190, 140);
const QColor kLoad(200, 40, 40);
const QColor kSupport(30, 80, 200);

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
  p.setPen(QPen(colour, 1.5));
  p.drawLine(from, to);
  const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
  const double s = 6;
  QPolygonF head;
  head << to << QPointF(to.x() - s * std::cos(a - 0.45), to.y() - s * std::sin(a - 0.45))
       << QPointF(to.x() - s * std::cos(a + 0.45), to.y() - s * std::sin(a + 0.45));
  p.setBrush(colour);
  p.drawPolygon(head);
  p.setBrush(Qt::NoBrush);
}

// Ground on the excavation side of a wall standing at x, from the
// excavation level down.
void Ground(QPainter& p, double left, double right, double top, double bottom) {
  p.setPen(Qt::NoPen);
  p.setBrush(kSoil);
  p.drawRect(QRectF(left, top, right - left, bottom - top));
  p.setPen(QPen(kSoil.darker(130), 1));
  for (double x = left + 4; x < right; x += 10) p.drawLine(QPointF(x, top + 4), QPointF(x - 4, top + 10));
  p.setBrush(Qt::NoBrush);
}

// Distributed load on a wall: a load diagram against the retained face,
// with the depth measured from the top of the wall.
void DrawPressure(QPainter& p, const QRectF& r) {
  const double wallX = r.left() + r.width() * 0.55;
  const double top = r.top() + 22, bottom = r.bottom() - 12;
  Ground(p, wallX + 5, r.right() - 6, top + (bottom - top) * 0.55, bottom);
  Ground(p, r.left() + 6, wallX - 5, top + 4, bottom);
  p.fillRect(QRectF(wallX - 5, top, 10, bottom - top), kWall);

  // Load diagram: loads at depth points joined linearly.
  const double d1 = top + (bottom - top) * 0.15, d2 = top + (bottom - top) * 0.7;
  const double w1 = r.width() * 0.08, w2 = r.width() * 0.3;
  QPolygonF diagram;
  diagram << QPointF(wallX - 5, d1) << QPointF(wallX - 5 - w1, d1) << QPointF(wallX - 5 - w2, d2)
          << QPointF(wallX - 5, d2);
  p.setPen(QPen(kLoad, 1.5));
  p.setBrush(QColor(kLoad.red(), kLoad.green(), kLoad.blue(), 50));
  p.drawPolygon(diagram);
  for (int i = 0; i <= 4; ++i) {
    double f = i / 4.0;
    double y = d1 + f * (d2 - d1);
    double w = w1 + f * (w2 - w1);
    Arrow(p, QPointF(wallX - 5 - w, y), QPointF(wallX - 6, y), kLoad);
  }

  // Depth dimension from the top of the wall.
  const double dimX = wallX + 22;
  p.setPen(QPen(Qt::black, 1, Qt::DashLine));
  p.drawLine(QPointF(wallX + 5, top), QPointF(dimX + 8, top));
  p.drawLine(QPointF(wallX - 5, d2), QPointF(dimX + 8, d2));
  Arrow(p, QPointF(dimX, top), QPointF(dimX, d2), Qt::black);
  p.setPen(Qt::black);
  p.drawText(QRectF(dimX + 4, (top + d2) / 2 - 8, r.right() - dimX, 16), Qt::AlignLeft | Qt::AlignVCenter, "Depth");
  p.drawText(QRectF(r.left() + 4, r.top() + 2, r.width() - 8, 16), Qt::AlignLeft | Qt::AlignVCenter,
             "Lateral distributed line load (p)");
  p.drawText(QRectF(wallX - 5 - w2, d2 + 2, w2, 16), Qt::AlignCenter, "p");
}

void Spring(QPainter& p, QPointF from, double length) {
  QPainterPath path;
  path.moveTo(from);
  const int zigs = 6;
  const double lead = 6, step = (length - 2 * lead) / zigs;
  path.lineTo(from.x() + lead, from.y());
  for (int i = 0; i < zigs; ++i) path.lineTo(from.x() + lead + (i + 0.5) * step, from.y() + (i % 2 ? 5 : -5));
  path.lineTo(from.x() + length - lead, from.y());
  path.lineTo(from.x() + length, from.y());
  p.setPen(QPen(kSupport, 1.5));
  p.drawPath(path);
  p.drawLine(QPointF(from.x() + length, from.y() - 7), QPointF(from.x() + length, from.y() + 7));
}

// Lateral springs at nodes of the wall, a rotational spring and a tieback
// anchored in the retained soil.
void DrawSprings(QPainter& p, const QRectF& r) {
  const double wallX = r.left() + r.width() * 0.45;
  const double top = r.top() + 22, bottom = r.bottom() - 12;
  Ground(p, r.left() + 6, wallX - 5, top + 4, bottom);
  Ground(p, wallX + 5, r.right() - 6, top + (bottom - top) * 0.6, bottom);
  p.fillRect(QRectF(wallX - 5, top, 10, bottom - top), kWall);

  // Tieback: an inclined rod with its bonded length grouted in the soil.
  const QPointF head(wallX - 5, top + (bottom - top) * 0.22);
  const double angle = 0.35;
  const double unbonded = r.width() * 0.2, bonded = r.width() * 0.16;
  const QPointF bondStart(head.x() - unbonded * std::cos(angle), head.y() + unbonded * std::sin(angle));
  const QPointF end(bondStart.x() - bonded * std::cos(angle), bondStart.y() + bonded * std::sin(angle));
  p.setPen(QPen(Qt::black, 1.5));
  p.drawLine(head, bondStart);
  p.setPen(QPen(QColor(120, 120, 120), 7, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(bondStart, end);
  p.setPen(Qt::black);
  p.drawText(QRectF(r.left() + 4, r.top() + 2, wallX - r.left(), 16), Qt::AlignLeft | Qt::AlignVCenter, "Tieback");

  // Lateral springs on the excavation side, at nodal points.
  const double springLength = r.width() * 0.2;
  for (int i = 0; i < 3; ++i) {
    double y = top + (bottom - top) * (0.68 + 0.12 * i);
    Spring(p, QPointF(wallX + 5, y), springLength);
  }
  p.setPen(Qt::black);
  const double labelX = wallX + 5 + springLength + 6;
  p.drawText(QRectF(labelX, top + (bottom - top) * 0.8 - 16, r.right() - labelX, 32), Qt::AlignLeft | Qt::AlignVCenter,
             "Lateral\nsprings");

  // Rotational spring at a node.
  const QPointF node(wallX, top + (bottom - top) * 0.4);
  p.setPen(QPen(kSupport, 1.5));
  p.drawArc(QRectF(node.x() + 6, node.y() - 10, 20, 20), 90 * 16, -270 * 16);
  p.drawArc(QRectF(node.x() + 10, node.y() - 6, 12, 12), 90 * 16, -270 * 16);
  p.setPen(Qt::black);
  p.drawText(QRectF(node.x() + 30, node.y() - 8, r.right() - node.x() - 30, 16), Qt::AlignLeft | Qt::AlignVCenter,
             "Rotational spring");
}

}  // namespace

bool HasHelpPicture(const std::string& name) { return name == kPressureSketch || name == kSpringTiebackSketch; }

QSize HelpPictureSize(const std::string& name) { return HasHelpPicture(name) ? QSize(320, 200) : QSize(); }

void DrawHelpPicture(QPainter& p, const QRect& rect, const std::string& name) {
  if (!HasHelpPicture(name)) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.fillRect(rect, Qt::white);
  p.setPen(QColor(160, 160, 160));
  p.drawRect(rect.adjusted(0, 0, -1, -1));
  QFont f = p.font();
  f.setPointSizeF(8);
  p.setFont(f);
  if (name == kPressureSketch) {
    DrawPressure(p, QRectF(rect));
  } else {
    DrawSprings(p, QRectF(rect));
  }
  p.restore();
}

QPixmap HelpPicturePixmap(const std::string& name) {
  if (!HasHelpPicture(name)) return QPixmap();
  QPixmap pm(HelpPictureSize(name));
  pm.fill(Qt::white);
  QPainter p(&pm);
  DrawHelpPicture(p, QRect(QPoint(0, 0), pm.size()), name);
  return pm;
}

}  // namespace ramvex
