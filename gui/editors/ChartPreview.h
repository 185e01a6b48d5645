// Line chart previewing a curve table (a p-y curve, a moment-EI curve) above
// its grid, so that a mistyped point shows at once as a kink.  The chart is
// computed into a plain model from the table and painted by one routine
// that serves the window and any image.
#pragma once

#include <string>
#include <vector>

class QPainter;
class QRect;

namespace ramvex {

class TGridTableChart;

struct TChartPoint {
  double X = 0;
  double Y = 0;
};

struct TChartAxis {
  std::string Title;
  double Min = 0;
  double Max = 1;
  bool Inverted = false;
  // Number format of the axis labels: "#,##0.###", "#.0##E-0" or "#,##0".
  std::string Format;
};

struct TChartModel {
  // Red line of column Y against column X, in ascending x.
  std::vector<TChartPoint> First;
  // Green line with square marks of column 2, used by three-column tables.
  bool SecondActive = false;
  std::vector<TChartPoint> Second;
  bool LegendShown = false;
  std::string FirstTitle;
  std::string SecondTitle;
  // Every y value equals the first one; the line is then nudged and the
  // left axis spans 0.9 to 1.1 times that value, since a flat line on an
  // axis of zero extent would not show.
  bool Constant = false;
  TChartAxis Bottom;
  TChartAxis Left;
};

// The chart of a table's current values.
TChartModel BuildChartModel(const TGridTableChart& table);

// Label format of an axis from its range.
std::string AxisFormat(double min, double max);

// A value in one of the axis label formats, with '.' and ',' as the decimal
// and thousands separators.
std::string FormatAxisNumber(double value, const std::string& format);

// Paints the chart into rect: white background, axes with titles and
// labels, the lines and, when shown, the legend.
void DrawChart(QPainter& painter, const QRect& rect, const TChartModel& model);

}  // namespace ramvex
