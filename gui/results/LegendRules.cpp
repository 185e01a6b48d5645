#include "LegendRules.h"

#include <algorithm>

namespace ramvex {

std::vector<TLegendRow> LegendRows(const TGraphPlot& g) {
  std::vector<TLegendRow> rows;
  for (int i = 0; i < g.CurveCount(); ++i) {
    const TLine& line = g.Curve(TCurveList::Panel1, i);
    if (!line.Included) continue;
    const int position = static_cast<int>(rows.size());
    rows.push_back({i, position, line.LegendText() + (line.Shown ? " *" : "")});
  }
  return rows;
}

int LegendPointSize(const TGraphPlot& g) { return std::max(1, g.LegendFont * g.SizeFont / 10); }

int LegendRowHeight(int pointSize) { return std::max(1, pointSize * 3 / 2); }

int LegendHeight(int rows, int rowHeight) { return std::max(0, rows) * rowHeight + 3; }

int WidenedLegendWidth(int width, int textWidth, int dpi, bool whileDrawing) {
  if (kLegendTextInset + textWidth <= width) return width;
  return textWidth + (whileDrawing ? dpi / 8 : dpi / 4);
}

QRect KeepInside(const QRect& wanted, const QSize& client) {
  QRect r = wanted;
  r.moveLeft(std::clamp(r.left(), 0, std::max(0, client.width() - r.width())));
  r.moveTop(std::clamp(r.top(), 0, std::max(0, client.height() - r.height())));
  return r;
}

TLegendFractions LegendFractions(const QRect& legend, const QSize& window) {
  if (window.width() <= 0 || window.height() <= 0) return {};
  return {static_cast<double>(legend.left()) / window.width(), static_cast<double>(legend.top()) / window.height()};
}

}  // namespace ramvex
