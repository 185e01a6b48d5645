// The soil profile drawing: a schematic elevation of the wall, the ground on
// both sides, the soil layers and the marks of the supports the user
// specified, computed from the project alone.  No widgets: the window, the
// printer, a PDF or an image all paint through DrawSideView.
//
// World coordinates: x across the wall with 0 at its axis, y downward in the
// project's base length unit (inches or metres), with y = depth below the
// top of the wall + O, where O is a tenth of the wall length.  The offset
// leaves room above the wall top for the sloping backfill and the labels.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

class QPainter;
class QPalette;

namespace ramvex {

class TGridTable;
class TProgramData;

struct TWorldWindow {
  double XMin = -10;
  double XMax = 10;
  double YMin = 0;
  double YMax = 10;
  // No positive, finite width or height: nothing can be mapped.
  bool IsEmpty() const;
};

// The wall's elevation: a rectangle in world coordinates.
struct TWallOutline {
  double XMin = 0;
  double YMin = 0;
  double XMax = 0;
  double YMax = 0;
};

// One soil layer of the retained-side profile, in world coordinates.
struct TSoilBand {
  int Type = 0;
  double Top = 0;
  double Bottom = 0;
  // A boundary at or below the excavation level is drawn across both sides
  // of the wall; one above it lies in the retained soil only.
  bool ReachesExcavation = false;
  QString Name;
  QString Properties;
};

// What the view reads from the project each time it becomes active.
struct TSideViewModel {
  TWorldWindow World;
  std::vector<TWallOutline> Walls;
  double Offset = 0;         // O, world y of the wall top
  double FreeHeight = 0;     // H, base length unit
  double BackfillSlope = 0;  // degrees
  double ActiveWidth = 0;    // Wa
  double PYWidth = 0;        // Wp
  // World y of the first pile of the top view.
  double TopViewY = 70;
  bool ShowLayers = false;
  std::vector<TSoilBand> Layers;
  // World y of the nodes carrying each kind of mark.
  std::vector<double> DeflectionMarks;
  std::vector<double> PYCurveMarks;
  std::vector<double> SpringMarks;
};

// Whether the project generates earth pressure or p-y curves from its soil
// layers, with the options derived from the current option flags the way
// the data file writer derives them.
bool LayersShown(const TProgramData& project);

// Soil name of a type code 1..7; empty for any other code.
QString SoilName(int type);
// Properties line of a layer from the bottom row of its parameter table;
// empty when the table is missing or has no bottom row.
QString SoilProperties(int type, const TGridTable* parameters);

// The activation step: wall outline, world window, layers and marks.
TSideViewModel BuildSideView(const TProgramData& project);

// The world window widened in one direction so that it has the aspect ratio
// of a width x height picture.  An empty window or picture is returned as
// it is.
TWorldWindow FitWorldWindow(const TWorldWindow& world, int width, int height);

// Pixel picture of a model in a frame, everything rounded to whole pixels.
enum class TSideViewPen { Line, Mark, Spring };

struct TPictureLine {
  QPoint From;
  QPoint To;
  TSideViewPen Pen = TSideViewPen::Line;
  bool operator==(const TPictureLine&) const = default;
};

// Text placed by its top-left corner.
struct TPictureText {
  QPoint TopLeft;
  QString Text;
};

struct TPictureCircle {
  QPoint Centre;
  int Radius = 0;
};

struct TSideViewPicture {
  bool Empty = true;
  QRect Frame;
  TWorldWindow Fitted;
  // Painted in this order: layer boundaries and the retained ground with its
  // slope or hatch, layer texts, the wall, the ground lines at the wall,
  // the marks, the top view.
  std::vector<TPictureLine> LayerLines;
  std::vector<TPictureText> LayerTexts;
  std::vector<QPolygon> Walls;
  std::vector<TPictureLine> GroundLines;
  std::vector<TPictureLine> Marks;
  std::vector<TPictureCircle> Circles;
  std::vector<TPictureText> Labels;
};

// pixelScale: device pixels per screen pixel, for the fixed pixel lengths
// (hatch strokes, label offset) and pen widths; lineHeight: height of one
// text line in device pixels.
TSideViewPicture LayoutSideView(const TSideViewModel& model, const QRect& frame, double pixelScale = 1,
                                int lineHeight = 16);

// Depth below the wall top under a pixel of the frame; none when the view
// is empty.
std::optional<double> DepthAt(const TSideViewModel& model, const QRect& frame, QPoint pixel);
// The window title while the mouse is over the picture.
QString DepthReadout(double depth);

// Pens, brushes and font of the drawing, in one place.
struct TSideViewStyle {
  QColor Background;
  QColor Ink;  // the wall, lines and texts
  QColor CirclePen;
  QColor CircleFill;
  double LineWidth = 1;
  double MarkWidth = 2;
  double SpringWidth = 5;
  double CircleWidth = 2;
  QFont Font;
};

// The window's colours: its background and text colour, white piles.
TSideViewStyle ScreenSideViewStyle(const QPalette& palette, const QFont& font);
// Paper: white ground, black ink, the piles outlined in black so that they
// do not vanish on white paper.
TSideViewStyle PrintSideViewStyle();

// Paints the model into frame.  Nothing but the background when the world
// window is empty.
void DrawSideView(QPainter& painter, const QRect& frame, const TSideViewModel& model, const TSideViewStyle& style,
                  double pixelScale = 1);

// The print job's page layout: the full page width and the page height
// between 10 % and 90 % of it.
QRect PrintFrame(const QRect& page);

}  // namespace ramvex
