// Sizes and placement of the legend list of a graph window, and the rows it
// holds.  The list widget follows these rules; they are kept apart so that
// tests reach them without a display.
#pragma once

#include <QRect>
#include <QSize>

#include <string>
#include <vector>

#include "PltData.h"

namespace ramvex {

// Width of a new legend list, before any row widens it.
constexpr int kLegendStartWidth = 21;
// Text of a row starts this far from the list's left edge.
constexpr int kLegendTextInset = 4;

// One row of the legend: an included curve.
struct TLegendRow {
  int Curve = 0;     // index in panel 1
  int Position = 0;  // among the included curves: its colour
  std::string Text;  // legend text, " *" appended when the curve is drawn
  bool operator==(const TLegendRow&) const = default;
};

// The rows of the legend, included curves in curve order.
std::vector<TLegendRow> LegendRows(const TGraphPlot& graph);

// Legend font size in points for the graph's font factor.
int LegendPointSize(const TGraphPlot& graph);
// Row height: three halves of the font size.
int LegendRowHeight(int pointSize);
// Height of a list of `rows` rows.
int LegendHeight(int rows, int rowHeight);

// Width after a row of `textWidth` pixels (measured with " *") is shown:
// unchanged when the text fits after its inset, else the text width plus a
// quarter inch (an eighth when the list widens while it draws a row).
int WidenedLegendWidth(int width, int textWidth, int dpi, bool whileDrawing = false);

// The legend moved to `wanted`, kept entirely inside the client area (its
// top-left corner wins when the list is larger than the area).
QRect KeepInside(const QRect& wanted, const QSize& client);

// Top-left corner of the legend as fractions of the window: the printed and
// saved legend box takes the same place on its plot area.
struct TLegendFractions {
  double X = -1, Y = -1;
};
TLegendFractions LegendFractions(const QRect& legend, const QSize& window);

}  // namespace ramvex
