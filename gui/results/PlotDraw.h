// Painting a result graph.  One routine draws on any QPainter: the graph
// window, a printed page, a PDF, an SVG or a bitmap; only the target's
// rectangle, resolution and kind differ.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>

#include <array>

#include "PlotView.h"

class QPainter;
class QPaintDevice;

namespace ramvex {

// Pens, fonts and colours of the result graphs, in one place.
struct TGraphStyle {
  QColor Background{Qt::white};
  QColor Frame{Qt::black};
  QColor Grid{Qt::black};
  QColor Text{Qt::black};
  QColor Wall{0x80, 0x80, 0x80};
  QColor StripOutline{Qt::black};
  QColor LegendFrame{Qt::black};
  QColor LegendFill{Qt::white};
  const char* FontFamily = "Times New Roman";
  // Base font height in pixels on a 96-pixel-per-inch screen; other
  // targets scale it by their resolution.
  int BasePixelSize = 14;
  int CaptionWeight = 700;
};
const TGraphStyle& GraphStyle();

// What the caller knows of the target beyond its rectangle.
struct TDrawOptions {
  TDrawTarget Target = TDrawTarget::Screen;
  // Pixels per inch; 0 takes the painter's device resolution.
  int Dx = 0, Dy = 0;
  // Printed pages and bitmaps carry a legend box; its top-left corner is
  // placed proportionally to the on-screen legend: these fractions of the
  // window (negative: bottom-right corner of the plot area).
  QPointF LegendAt{-1, -1};
};

// The label font for a graph on a device of dy pixels per inch, and the
// device description (client rectangle, resolution, font height) that the
// layout uses.
QFont LabelFont(const TGraphPlot& graph, int dy, bool bold = false);
TDrawDevice DeviceFor(const TGraphPlot& graph, const QRect& client, const QPaintDevice* device,
                      const TDrawOptions& options);

// Draws the graph into `client` with the view's scales: white ground,
// captions, grid and tick labels, curves with markers, the legend box
// (printer and bitmap), the soil-layer strip, the panel frames.
void draw(QPainter& painter, const QRect& client, const TGraphPlot& graph, const TGraphView& view,
          const TDrawOptions& options = {});

// Fill pattern of a soil-strip code: an own tile for the bitmap patterns
// (fine for screen and bitmaps, coarse for printed pages); a null image for
// the codes drawn with a standard hatch or without fill.
QImage SoilPattern(int code, bool coarse);

// Colour of the curve at this position among the included curves.
QColor CurveQColor(int position);

}  // namespace ramvex
