// Saving a result graph to a file: a bitmap (BMP by default, or PNG) of a
// size given in inches and pixels per inch, or the same picture as vector
// drawing in SVG or PDF.  Every format is painted by the one graph drawing
// routine; only the target differs.
#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>

#include <optional>

#include "PlotDraw.h"
#include "ResultGraphs.h"

namespace ramvex {

// Colour depth of a saved bitmap.  Vector files keep full colour.
enum class TColorDepth { BlackWhite, Colors16, Colors256, HighColor, TrueColor };

// What the "Save Attributes" dialog asks for.
struct TBitmapAttributes {
  long double HeightIn = 4;
  long double WidthIn = 6;
  int PixelsPerInch = 72;
  TColorDepth Colors = TColorDepth::Colors16;
};

// Smallest values the dialog accepts.
constexpr long double kMinBitmapInches = 2;
constexpr int kMinPixelsPerInch = 10;

// The largest side of a saved picture: the painter's integer coordinates
// and the file formats' headers stay well inside their range below it.
constexpr int kMaxBitmapSide = 32767;

enum class TSaveFormat { Bmp, Png, Svg, Pdf };

// Format by the file's extension (case ignored); anything else is a BMP,
// the dialog's default.
TSaveFormat SaveFormatFor(const QString& fileName);

// Filters of the save dialog, BMP first, and the extension that each adds
// to a name typed without one.
QString SaveFilters();
QString DefaultSuffix(const QString& filter);

// Pixels of the picture: round(pixels per inch x inches) each way.  Empty
// when either side is below one pixel or above kMaxBitmapSide, or a value
// is not a number.
std::optional<QSize> BitmapSize(const TBitmapAttributes& attributes);

// Shown when the picture cannot be made; nothing is saved then.
extern const char kNotEnoughMemory[];

// Where the picture is placed and how it is measured.
struct TSaveOptions {
  // The screen's pixels per inch: ticks, markers and fonts of a saved
  // picture keep their screen size, so a small bitmap reads like the window.
  int ScreenDpi = 96;
  // Top-left corner of the on-screen legend as fractions of the window;
  // negative puts the legend box in the plot area's bottom-right corner.
  QPointF LegendAt{-1, -1};
};

// Paints the graph into a new bitmap of the attributes' size and colour
// depth.  A null image when it cannot be made (too large, out of memory).
QImage RenderBitmap(const TGraphPlot& graph, const TGraphView& view, const TBitmapAttributes& attributes,
                    const TSaveOptions& options = {});

// Saves the graph in the file's format.  False after telling `errors` why:
// kNotEnoughMemory when the picture cannot be made, or that the file could
// not be written.
bool SaveGraph(const QString& fileName, const TGraphPlot& graph, const TGraphView& view,
               const TBitmapAttributes& attributes, const TSaveOptions& options, const TMessageSink& errors);

}  // namespace ramvex
