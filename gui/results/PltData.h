// Graph model of the result graphs: a graph holds lists of curves, a curve
// holds points.  The model knows nothing of windows; the scales, the tick
// steps and the axis captions are computed here so that the window, the
// printer, the bitmap export and the tests all share one rule.
#pragma once

#include <QObject>
#include <QPointer>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace ramvex {

class TGraphPlot;

// A point of a curve; a new point is (0, 0).
struct TFloatPoint {
  long double X = 0;
  long double Y = 0;
  bool operator==(const TFloatPoint&) const = default;
};

// One curve of a graph.
class TLine {
 public:
  TLine(TGraphPlot* graph, int pointCount, long double labelValue);

  std::vector<TFloatPoint> Points;
  // Number shown after the graph's CurveName in the default legend text
  // (the load number, the depth of a p-y curve).
  long double LabelValue = 1;
  // Legend text chosen by the reader or the user; empty gives the default.
  std::string Name;
  // Drawn in the graph.
  bool Shown = true;
  // Listed in the legend and allowed to be drawn.
  bool Included = true;

  TGraphPlot* Graph() const { return graph_; }
  int PointCount() const { return static_cast<int>(Points.size()); }
  // Name when set, else the graph's CurveName followed by the label value
  // in its shortest decimal form ("Load #1", "Depth 12.5").
  std::string LegendText() const;

 private:
  TGraphPlot* graph_;
};

using TLineList = std::vector<std::unique_ptr<TLine>>;

// The four curve lists of a graph.  Panel 2 and 3 are used only by the
// three-panel graph; the soil-layer list holds one single-point line per
// soil layer (X = fill code, Y = depth of the layer bottom) followed by the
// two wall lines (wall bottom, then free height).
enum class TCurveList { Panel1 = 0, Layers = 1, Panel2 = 2, Panel3 = 3 };

// Curve list of a panel (0, 1, 2).
TCurveList PanelList(int panel);

// Axis range; Min < Max for every scale the graph computes.
struct TScale {
  long double Min = 0;
  long double Max = 1;
  long double Width() const { return Max - Min; }
  bool operator==(const TScale&) const = default;
};

struct TPanelScale {
  TScale X, Y;
  bool operator==(const TPanelScale&) const = default;
};

// A result graph: its curves and its display settings.  The settings belong
// to the graph, not to its window, so they survive closing and reopening the
// window.  The graph refers to its curves by address, so it is neither
// copied nor moved.
class TGraphPlot {
 public:
  TGraphPlot() = default;
  TGraphPlot(const TGraphPlot&) = delete;
  TGraphPlot& operator=(const TGraphPlot&) = delete;

  std::string Caption;                // window title
  std::string CurveName = "Curve #";  // prefix of default legend texts
  bool ShowLegend = true;
  bool ShowLayers = false;
  bool ShowWall = false;
  int WallLineCount = 0;  // soil-layer lines before the two wall lines
  bool ShowThree = false;
  bool ShowFontWidth = true;
  int Markers = 1;    // a marker every this many points; 0 = none
  int SizeFont = 10;  // label font factor in tenths
  int LegendFont = 11;
  int WidthLine = 1;
  bool XOnTop = true;  // depth plots: X axis on top, Y growing downward
  std::string XCaption, YCaption, XUnits, YUnits;
  std::string XCaption2, YCaption2, XUnits2, YUnits2;
  std::string XCaption3, YCaption3, XUnits3, YUnits3;

  // Title typed by the user, above or below the graph.
  std::string UserTitle;
  bool TitleOnTop = false;
  // Depth at which the soil-layer strip starts.
  long double StripStart = 0;
  // Only the first 20 curves are included when a window is built.
  bool LimitTo20 = true;

  // Unit system used to spell unit strings, clamped to 1..3.
  int Units() const { return units_; }
  void SetUnits(int system);

  // Adds new curves at the end or deletes from the end; negative counts
  // are taken as 0.
  void SetCurveCount(TCurveList list, int count);
  // Gives every curve of the list this many points (new ones are (0, 0)).
  void SetPointCount(TCurveList list, int count);
  int CurveCount(TCurveList list = TCurveList::Panel1) const;
  // Points of curve 0, 0 without curves.
  int PointCount(TCurveList list = TCurveList::Panel1) const;
  TLine& Curve(TCurveList list, int i) { return *lists_[Index(list)].at(static_cast<size_t>(i)); }
  const TLine& Curve(TCurveList list, int i) const { return *lists_[Index(list)].at(static_cast<size_t>(i)); }
  TFloatPoint& Point(TCurveList list, int i, int j) { return Curve(list, i).Points.at(static_cast<size_t>(j)); }
  const TLineList& Lines(TCurveList list = TCurveList::Panel1) const { return lists_[Index(list)]; }

  // Curve 0 of panel 1 has more than one point: the graph command may open
  // the graph.
  bool HasData() const { return CurveCount() > 0 && Curve(TCurveList::Panel1, 0).PointCount() > 1; }

  // Caption and unit string of a panel's axes (panel 0, 1, 2).
  const std::string& XCaptionOf(int panel) const;
  const std::string& YCaptionOf(int panel) const;
  const std::string& XUnitsOf(int panel) const;
  const std::string& YUnitsOf(int panel) const;

  // The open graph window, if any.  The window layer sets it; the pointer
  // clears itself when the window is destroyed.
  QPointer<QObject> Window;

 private:
  static size_t Index(TCurveList list) { return static_cast<size_t>(list); }
  int units_ = 1;
  std::array<TLineList, 4> lists_;
};

// Display text of a unit string: unchanged in system 3; otherwise the first
// of "F2", "F1", "F" found is replaced at all its occurrences, then the first
// of "L2", "L1", "L" ("F/L" reads "lbs/in" or "kN/m").
std::string UnitLabel(const std::string& unitString, int system);

// Axis caption as drawn: the caption followed by " (" unit ")" when the
// unit string is not empty.
std::string AxisCaption(const std::string& caption, const std::string& unitString, int system);

// Rounds an axis range outward to whole multiples of a power of ten: d =
// 10^floor(log10(width)), divided by 10 when the mantissa is below 3.  A
// range of zero width is first opened by 0.01 on each side.
TScale RoundScale(long double min, long double max);

// Scale of one curve list: every point of every curve, 0 always included.
TPanelScale ComputeScale(const TLineList& lines);

// Scales of the three panels (panels 2 and 3 are computed for every graph;
// one-panel graphs ignore them).
std::array<TPanelScale, 3> ComputeScales(const TGraphPlot& graph);

// Distance between labelled grid lines for `intervals` label intervals over
// `width`: the raw step rounded to 1, 2, 5 or 10 times a power of ten.  0
// when there are no intervals.
long double LabelStep(long double width, int intervals);

// Text of a number in the general format with `digits` significant digits;
// values within a millionth of `step` of zero print as 0.
std::string GeneralText(long double value, int digits, long double step = 0);

// The 17 curve colours by position, as 0xRRGGBB.
extern const std::array<unsigned, 17> CurveColours;
// Colour of the curve at this position among the included curves.
unsigned CurveColour(int position);

}  // namespace ramvex
