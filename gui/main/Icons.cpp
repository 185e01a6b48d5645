#include "Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ramvex {

namespace {

// Every picture is drawn on a 24 by 24 grid.
constexpr int kGrid = 24;

const QColor kInk(40, 40, 40);
const QColor kWall(90, 100, 120);
const QColor kSoil(176, 132, 76);
const QColor kCurve(200, 40, 40);
const QColor kBlue(40, 90, 190);
const QColor kPaper(255, 255, 250);

void Wall(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kWall);
  p.drawRect(QRectF(10, 2, 3, 20));
}

void Soil(QPainter& p, qreal top) {
  p.setPen(Qt::NoPen);
  p.setBrush(kSoil);
  p.drawRect(QRectF(13, top, 10, 22 - top));
  p.drawRect(QRectF(1, 14, 9, 8));
}

void Page(QPainter& p) {
  QPainterPath page;
  page.moveTo(5, 2);
  page.lineTo(15, 2);
  page.lineTo(20, 7);
  page.lineTo(20, 22);
  page.lineTo(5, 22);
  page.closeSubpath();
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kPaper);
  p.drawPath(page);
  p.drawLine(QPointF(15, 2), QPointF(15, 7));
  p.drawLine(QPointF(15, 7), QPointF(20, 7));
}

// A depth diagram: a vertical axis and a curve of the quantity against it.
void Diagram(QPainter& p, const QVector<QPointF>& curve, const QColor& colour) {
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(12, 2), QPointF(12, 22));
  p.drawLine(QPointF(4, 3), QPointF(20, 3));
  p.setPen(QPen(colour, 2));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(curve.data(), static_cast<int>(curve.size()));
}

void Text(QPainter& p, const QRectF& r, const QString& t, const QColor& colour = kInk, qreal size = 9) {
  QFont f(QStringLiteral("Sans"));
  f.setPixelSize(static_cast<int>(size));
  f.setBold(true);
  p.setFont(f);
  p.setPen(colour);
  p.drawText(r, Qt::AlignCenter, t);
}

void Magnifier(QPainter& p, const QString& sign) {
  p.setPen(QPen(kInk, 2));
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
  p.drawLine(QPointF(15, 15), QPointF(21, 21));
  Text(p, QRectF(3.5, 3.5, 13, 13), sign, kInk, 11);
}

void Draw(QPainter& p, TCommand c) {
  using C = TCommand;
  switch (c) {
    case C::FileNew:
      Page(p);
      p.setPen(QPen(QColor(230, 170, 0), 2));
      p.drawLine(QPointF(3, 5), QPointF(9, 5));
      p.drawLine(QPointF(6, 2), QPointF(6, 8));
      break;
    case C::FileOpen: {
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(240, 200, 90));
      p.drawRect(QRectF(2, 6, 17, 14));
      QPainterPath flap;
      flap.moveTo(2, 20);
      flap.lineTo(6, 10);
      flap.lineTo(22, 10);
      flap.lineTo(19, 20);
      flap.closeSubpath();
      p.setBrush(QColor(250, 220, 130));
      p.drawPath(flap);
      break;
    }
    case C::FileSave:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kBlue);
      p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
      p.setBrush(kPaper);
      p.drawRect(QRectF(7, 3, 10, 7));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(7, 14, 10, 7));
      break;
    case C::DataTitle:
      Page(p);
      Text(p, QRectF(5, 6, 15, 14), QStringLiteral("T"), kBlue, 12);
      break;
    case C::DataProp:
      Wall(p);
      p.setPen(QPen(kInk, 1));
      for (int y = 4; y <= 20; y += 4) p.drawLine(QPointF(7, y), QPointF(16, y));
      Text(p, QRectF(14, 0, 10, 10), QStringLiteral("EI"), kBlue, 7);
      break;
    case C::ToolWallConfiguration:
      Soil(p, 8);
      Wall(p);
      p.setPen(QPen(kBlue, 1.5));
      p.drawLine(QPointF(14, 11), QPointF(23, 11));
      break;
    case C::ToolSoilLayers:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(220, 190, 120));
      p.drawRect(QRectF(2, 3, 20, 6));
      p.setBrush(QColor(160, 120, 80));
      p.drawRect(QRectF(2, 9, 20, 6));
      p.setBrush(QColor(120, 120, 120));
      p.drawRect(QRectF(2, 15, 20, 6));
      break;
    case C::CompRun: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(30, 150, 60));
      QPolygonF play({QPointF(6, 3), QPointF(20, 12), QPointF(6, 21)});
      p.drawPolygon(play);
      break;
    }
    case C::ToolStageOption:
      p.setPen(QPen(kInk, 1));
      p.setBrush(kSoil);
      p.drawRect(QRectF(2, 6, 20, 16));
      p.setBrush(kPaper);
      p.drawRect(QRectF(13, 6, 9, 4));
      p.drawRect(QRectF(13, 10, 9, 4));
      p.setBrush(kWall);
      p.drawRect(QRectF(11, 2, 2, 20));
      break;
    case C::CompOutput:
      Page(p);
      p.setPen(QPen(kInk, 1));
      for (int y = 10; y <= 19; y += 3) p.drawLine(QPointF(8, y), QPointF(17, y));
      break;
    case C::ToolViewSoilProfile:
      Soil(p, 6);
      Wall(p);
      p.setPen(QPen(kBlue, 1.2, Qt::DashLine));
      p.drawLine(QPointF(14, 12), QPointF(23, 12));
      break;
    case C::View3D: {
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(150, 170, 210));
      QPolygonF front({QPointF(4, 8), QPointF(15, 8), QPointF(15, 21), QPointF(4, 21)});
      QPolygonF top({QPointF(4, 8), QPointF(9, 3), QPointF(20, 3), QPointF(15, 8)});
      QPolygonF side({QPointF(15, 8), QPointF(20, 3), QPointF(20, 16), QPointF(15, 21)});
      p.drawPolygon(front);
      p.setBrush(QColor(190, 205, 235));
      p.drawPolygon(top);
      p.setBrush(QColor(110, 130, 180));
      p.drawPolygon(side);
      break;
    }
    case C::Comppy:
      p.setPen(QPen(kInk, 1.2));
      p.drawLine(QPointF(3, 21), QPointF(22, 21));
      p.drawLine(QPointF(3, 21), QPointF(3, 2));
      p.setPen(QPen(kCurve, 2));
      p.drawPolyline(QPolygonF({QPointF(3, 21), QPointF(6, 12), QPointF(10, 8), QPointF(15, 6), QPointF(22, 6)}));
      break;
    case C::CompDef:
      Diagram(p, {QPointF(20, 3), QPointF(16, 9), QPointF(13, 15), QPointF(12, 22)}, kCurve);
      break;
    case C::CompMom:
      Diagram(p, {QPointF(12, 3), QPointF(18, 10), QPointF(15, 17), QPointF(12, 22)}, kBlue);
      break;
    case C::CompShear:
      Diagram(p, {QPointF(12, 3), QPointF(17, 8), QPointF(8, 16), QPointF(12, 22)}, QColor(30, 150, 60));
      break;
    case C::CompSoil:
      Diagram(p, {QPointF(12, 3), QPointF(12, 11), QPointF(5, 15), QPointF(18, 20), QPointF(12, 22)},
              QColor(150, 80, 20));
      break;
    case C::DefMomShear:
      p.setPen(QPen(kInk, 1));
      for (qreal x : {4.0, 12.0, 20.0}) p.drawLine(QPointF(x, 3), QPointF(x, 22));
      p.setPen(QPen(kCurve, 1.5));
      p.drawPolyline(QPolygonF({QPointF(7, 3), QPointF(5, 12), QPointF(4, 22)}));
      p.setPen(QPen(kBlue, 1.5));
      p.drawPolyline(QPolygonF({QPointF(12, 3), QPointF(15, 12), QPointF(12, 22)}));
      p.setPen(QPen(QColor(30, 150, 60), 1.5));
      p.drawPolyline(QPolygonF({QPointF(20, 3), QPointF(23, 8), QPointF(17, 15), QPointF(20, 22)}));
      break;
    case C::CompLD: {
      p.setPen(QPen(kInk, 1.2));
      p.drawLine(QPointF(6, 2), QPointF(6, 22));
      p.setBrush(QColor(240, 160, 120));
      QPolygonF tri({QPointF(6, 3), QPointF(20, 21), QPointF(6, 21)});
      p.drawPolygon(tri);
      p.setPen(QPen(kCurve, 1.2));
      for (qreal y : {9.0, 15.0}) p.drawLine(QPointF(6 + (y - 3) * 14 / 18, y), QPointF(7, y));
      break;
    }
    case C::Stage1: case C::Stage2: case C::Stage3: case C::Stage4: case C::Stage5: {
      int k = static_cast<int>(c) - static_cast<int>(C::Stage1) + 1;
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(250, 235, 190));
      p.drawRoundedRect(QRectF(3, 3, 18, 18), 3, 3);
      Text(p, QRectF(3, 3, 18, 18), QString::number(k), kInk, 13);
      break;
    }
    case C::Tool3DPan:
      p.setPen(QPen(kInk, 2));
      p.drawLine(QPointF(12, 3), QPointF(12, 21));
      p.drawLine(QPointF(3, 12), QPointF(21, 12));
      for (auto [a, b, d] : {std::tuple{12.0, 3.0, 0}, {12.0, 21.0, 1}, {3.0, 12.0, 2}, {21.0, 12.0, 3}}) {
        QPointF tip(a, b);
        QPointF l = d < 2 ? QPointF(a - 3, b + (d == 0 ? 3 : -3)) : QPointF(a + (d == 2 ? 3 : -3), b - 3);
        QPointF r = d < 2 ? QPointF(a + 3, b + (d == 0 ? 3 : -3)) : QPointF(a + (d == 2 ? 3 : -3), b + 3);
        p.drawPolyline(QPolygonF({l, tip, r}));
      }
      break;
    case C::Tool3DZoomWindow:
      p.setPen(QPen(kInk, 1.2, Qt::DashLine));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(3, 3, 14, 12));
      p.setPen(QPen(kInk, 2));
      p.drawLine(QPointF(14, 13), QPointF(21, 21));
      break;
    case C::Tool3DZooming:
      Magnifier(p, QStringLiteral("\u00B1"));
      break;
    case C::Tool3DRotating: {
      p.setPen(QPen(kBlue, 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 300 * 16);
      p.setBrush(kBlue);
      p.drawPolygon(QPolygonF({QPointF(19, 3), QPointF(21, 10), QPointF(14, 8)}));
      break;
    }
    case C::Tool3DZoomIn:
      Magnifier(p, QStringLiteral("+"));
      break;
    case C::Tool3DZoomOut:
      Magnifier(p, QStringLiteral("\u2212"));
      break;
    case C::Tool3DRestart:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(150, 170, 210));
      p.drawRect(QRectF(6, 8, 12, 12));
      p.setPen(QPen(QColor(30, 150, 60), 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(3, 2, 18, 12), 20 * 16, 140 * 16);
      break;
    case C::Show3DDeformedShape:
      p.setPen(QPen(kWall, 3));
      p.drawLine(QPointF(8, 2), QPointF(8, 22));
      p.setPen(QPen(kCurve, 2.5));
      p.drawPolyline(QPolygonF({QPointF(17, 2), QPointF(13, 10), QPointF(9, 17), QPointF(8, 22)}));
      break;
    default:
      break;
  }
}

}  // namespace

QIcon CommandIcon(TCommand command) {
  QIcon icon;
  for (int size : {24, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / static_cast<qreal>(kGrid), size / static_cast<qreal>(kGrid));
    Draw(p, command);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QIcon ApplicationIcon() { return QIcon(QStringLiteral(":/ramvex/ramvex2015.svg")); }

}  // namespace ramvex
