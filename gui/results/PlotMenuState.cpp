#include "PlotMenuState.h"

namespace ramvex {

const std::array<TMenuChoice, 6> kMarkerChoices = {{
    {"&Never", 0},
    {"Every &Increment", 1},
    {"Every &2 Increments", 2},
    {"Every &3 Incrments", 3},
    {"Every &5 Increments", 5},
    {"Every &10 Incements", 10},
}};

const std::array<TMenuChoice, 6> kFontSizeChoices = {{
    {"&Default", 10},
    {"1.5 * Default", 15},
    {"2 * Default", 20},
    {"2.5 * Default", 25},
    {"3 * Default", 30},
    {"4 * Default", 40},
}};

const std::array<TMenuChoice, 5> kLineWidthChoices = {{
    {"&Default", 1},
    {"2 * Default", 2},
    {"4 * Default", 4},
    {"6 * Default", 6},
    {"10 * Default", 10},
}};

const std::array<const char*, kFixedPlotItems> kPlotItemCaptions = {
    "Show &Legend", "Show &Soil Layer", "Show &Wall Geometry", "Show &Markers", "&Font Size",
    "&Line Width",  "&Graph Title",     "&Edit Legend",        "&Active Curves", "",
    "&Print...",    "P&age Setup",      "&Save To Disk...",    "",
};

TPlotMenuState PlotMenuState(const TGraphPlot& g, bool printerInstalled) {
  TPlotMenuState s;
  auto item = [&](TPlotItem i) -> TMenuItemState& { return s.Fixed[static_cast<size_t>(i)]; };

  item(TPlotItem::ShowLegend) = {true, true, true, g.ShowLegend};
  item(TPlotItem::ShowSoilLayer) = {g.CurveCount(TCurveList::Layers) > 0, true, true, g.ShowLayers};
  // The wall is drawn inside the soil strip, so it can only be switched
  // while the strip is shown.
  item(TPlotItem::ShowWallGeometry) = {g.WallLineCount > 0, g.ShowLayers, true, g.ShowWall};
  item(TPlotItem::FontSize).Visible = g.ShowFontWidth;
  item(TPlotItem::LineWidth).Visible = g.ShowFontWidth;
  item(TPlotItem::Print).Enabled = printerInstalled;
  item(TPlotItem::PageSetup).Enabled = printerInstalled;

  for (int i = 0; i < g.CurveCount(); ++i) {
    const TLine& line = g.Curve(TCurveList::Panel1, i);
    if (line.Included) s.Curves.push_back({line.LegendText(), i, line.Shown});
  }
  s.CheckedMarkers = CheckedTag(kMarkerChoices, g.Markers);
  s.CheckedFontSize = CheckedTag(kFontSizeChoices, g.SizeFont);
  s.CheckedLineWidth = CheckedTag(kLineWidthChoices, g.WidthLine);
  return s;
}

std::string MenuCaption(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

}  // namespace ramvex
