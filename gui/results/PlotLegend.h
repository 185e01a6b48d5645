// The legend list of a graph window: owner-drawn rows in the curve
// colours, its size rules, keeping it in step with the graph's included
// curves, and moving it with the mouse inside the window.
#pragma once

#include <QRect>

#include "LegendRules.h"

class QListWidget;
class QWidget;

namespace ramvex {

// Owner-drawn rows, the graph's legend font, no frame, and dragging by the
// mouse kept inside `window`.
void InstallLegendBehaviour(QListWidget& legend, QWidget& window, const TGraphPlot& graph);

// Legend font of the graph's font factor (LegendFont x SizeFont / 10
// points); the row height follows it.
void SetLegendFont(QListWidget& legend, const TGraphPlot& graph);

// Rows for the included curves in curve order: existing rows are reused,
// missing ones added at the end, surplus ones deleted from the end.
void SyncLegend(QListWidget& legend, const TGraphPlot& graph);

// Width a row needs: its text with " *", in the legend's font.
int LegendTextWidth(const QListWidget& legend, int row);

// The list's height from its rows, its width widened to fit every row
// (first reset to the starting width when `resetWidth`).
void FitLegend(QListWidget& legend, bool resetWidth);

}  // namespace ramvex
