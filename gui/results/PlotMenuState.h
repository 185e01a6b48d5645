// The "&Plot" menu of a graph window as data: which items it holds, and
// which are visible, enabled and checked for a graph as it stands.  The
// window applies the table when the menu opens; the rules live here so
// that they can be checked without a display.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "PltData.h"

namespace ramvex {

// Positions of the fixed items; the curve items follow from CurveItemsStart.
enum class TPlotItem {
  ShowLegend = 0,
  ShowSoilLayer,
  ShowWallGeometry,
  ShowMarkers,
  FontSize,
  LineWidth,
  GraphTitle,
  EditLegend,
  ActiveCurves,
  Separator1,
  Print,
  PageSetup,
  SaveToDisk,
  Separator2,
};
constexpr int kFixedPlotItems = 14;

struct TMenuItemState {
  bool Visible = true;
  bool Enabled = true;
  bool Checkable = false;
  bool Checked = false;
  bool operator==(const TMenuItemState&) const = default;
};

// A choice of a submenu: its caption and the value it stores in the graph.
struct TMenuChoice {
  const char* Caption;
  int Tag;
};

// Marker intervals (stored in Markers), font-size factors in tenths
// (SizeFont) and line-width factors (WidthLine).  The captions are the
// program's own, spelling included.
extern const std::array<TMenuChoice, 6> kMarkerChoices;
extern const std::array<TMenuChoice, 6> kFontSizeChoices;
extern const std::array<TMenuChoice, 5> kLineWidthChoices;

// Captions of the fixed items by position; empty for the separators.
extern const std::array<const char*, kFixedPlotItems> kPlotItemCaptions;

// One check item per included curve, in curve order.
struct TCurveItem {
  std::string Caption;  // the curve's legend text
  int Tag = 0;          // index of the curve in panel 1
  bool Checked = false;  // the curve is drawn
  bool operator==(const TCurveItem&) const = default;
};

struct TPlotMenuState {
  std::array<TMenuItemState, kFixedPlotItems> Fixed;
  std::vector<TCurveItem> Curves;
  // Tag of the checked item of each submenu, -1 when none matches.
  int CheckedMarkers = -1;
  int CheckedFontSize = -1;
  int CheckedLineWidth = -1;

  const TMenuItemState& Item(TPlotItem item) const { return Fixed[static_cast<size_t>(item)]; }
};

// The menu as it opens for this graph.  Print and page setup need an
// installed printer.
TPlotMenuState PlotMenuState(const TGraphPlot& graph, bool printerInstalled);

// Tag of the choice equal to `value`, -1 when no choice has it.
template <size_t N>
int CheckedTag(const std::array<TMenuChoice, N>& choices, int value) {
  for (const TMenuChoice& c : choices) {
    if (c.Tag == value) return c.Tag;
  }
  return -1;
}

// A legend text as a menu caption: an ampersand in a curve name is shown
// as itself, not taken as a mnemonic.
std::string MenuCaption(const std::string& text);

}  // namespace ramvex
