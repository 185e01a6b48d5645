// What a graph window shows of its graph: the layout of the plot area on a
// target, the current scales of the panels with their full extent, the
// mapping between data and pixels, the mouse readout and the zoom rules.
// Pure functions, so the window stays a thin adapter and the rules can be
// tested without a display.
#pragma once

#include <QPoint>

#include <array>
#include <string>

#include "PltData.h"

namespace ramvex {

// Where a graph is drawn.  The screen and bitmap share the plot-area
// formulas; a printed page uses the whole page inside its margins and
// coarse fill patterns.
enum class TDrawTarget { Screen, Printer, Bitmap };

// A rectangle by its edges, as the layout rules state them: the width is
// Right - Left, and a client rectangle of a 640-pixel-wide window runs from
// Left 0 to Right 640.
struct TPixelRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(QPoint p) const { return p.x() >= Left && p.x() <= Right && p.y() >= Top && p.y() <= Bottom; }
  bool operator==(const TPixelRect&) const = default;
};

// The target's size and resolution: dx, dy in pixels per inch; h the
// height of the label font in pixels.
struct TDrawDevice {
  TPixelRect Client;
  int Dx = 96, Dy = 96;
  int H = 16;
  TDrawTarget Target = TDrawTarget::Screen;
};

struct TGraphLayout {
  TPixelRect Plot;                  // all panels together
  std::array<TPixelRect, 3> Panels;  // PanelCount of them are used
  int PanelCount = 1;
  bool HasStrip = false;
  TPixelRect Strip;  // soil-layer strip, right of the plot area
};

// Plot area, panels and soil strip of a graph on a target.
TGraphLayout LayoutGraph(const TGraphPlot& graph, const TDrawDevice& device);

// Too small to draw on: less than an inch either way.
bool TooSmall(const TDrawDevice& device);

// The scales a window shows and their full extent, per panel.  The full
// extent is computed once when the window is built; zooming changes only
// Scales.
struct TGraphView {
  std::array<TPanelScale, 3> Scales;
  std::array<TPanelScale, 3> Full;
};

TGraphView NewGraphView(const TGraphPlot& graph);

// Marks the curves a new window lists and may draw: all of them, or the
// first 20 when the graph limits its legend.
void IncludeCurves(TGraphPlot& graph);

// Data to pixels along one axis of a panel, set up once per panel so that
// mapping a point is a subtraction, a product and a rounding.  Values far
// outside the scale map to far outside the panel (held at 2^24 pixels);
// a value that is not a number stays one.
class TAxisMap {
 public:
  TAxisMap(int from, int length, const TScale& scale, bool reversed);
  double operator()(long double value) const;

 private:
  double from_, min_, factor_;
  bool reversed_;
};

// X grows to the right; Y grows downward when X is on top (depth plots),
// else upward.
TAxisMap XMap(const TPixelRect& panel, const TScale& x);
TAxisMap YMap(const TPixelRect& panel, const TScale& y, bool xOnTop);
double MapX(const TPixelRect& panel, const TScale& x, long double value);
double MapY(const TPixelRect& panel, const TScale& y, bool xOnTop, long double value);

// Pixels to data, the position clamped into the panel first.
struct TDataPoint {
  long double X = 0, Y = 0;
};
TDataPoint PixelToData(const TPixelRect& panel, const TPanelScale& scale, bool xOnTop, QPoint p);

// Panel under the mouse (or nearest to it).
int PanelAt(const TGraphLayout& layout, QPoint p);

// Window title while the mouse is over the graph: the caption, " X: " and
// " Y: " with 5 significant digits.
std::string ReadoutTitle(const std::string& caption, long double x, long double y);

// New range of one axis after a rubber band from a to b.  A range narrower
// than 1/20 of the full extent is widened to 1/20 around its centre and
// moved back inside the full extent.
TScale ZoomRange(const TScale& full, long double a, long double b);

// Zoom out around a clicked value: half-width = the smaller of the current
// width and half the full extent; the range stays inside the full extent.
TScale ZoomOutRange(const TScale& current, const TScale& full, long double clicked);

}  // namespace ramvex
