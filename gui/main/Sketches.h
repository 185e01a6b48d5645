// Explanatory sketches of the input dialogs, drawn from lines and text so
// that they scale with the window and print sharp.
#pragma once

#include <QRectF>
#include <QWidget>

class QPainter;

namespace ramvex {

enum class TSketch {
  WallConfiguration,  // wall, backfill slope, water tables, surface load
  WallWidths,         // plan of the wall units with Wa and Wp
  Surcharge,          // point, line and strip loads behind the wall
  ConcentratedLoads,  // loads and moments on the wall
  Tieback,            // anchored wall with its tendon and bond length
  Springs,            // lateral and rotational springs along the wall
};

void DrawSketch(QPainter& painter, const QRectF& area, TSketch sketch);

class TSketchView : public QWidget {
 public:
  explicit TSketchView(TSketch sketch, QWidget* parent = nullptr);
  QSize sizeHint() const override { return {260, 220}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TSketch sketch_;
};

}  // namespace ramvex
