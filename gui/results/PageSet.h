// Printing a graph on one page, and the page margins that the page-setup
// dialog edits.
#pragma once

#include <QPointF>
#include <QRect>
#include <QString>

#include "PlotDraw.h"

class QPrinter;
class QWidget;

namespace ramvex {

// Page margins in thousandths of an inch; a new graph window starts with
// one inch on every side.
struct TPageMargins {
  int Left = 1000, Top = 1000, Right = 1000, Bottom = 1000;
  bool operator==(const TPageMargins&) const = default;
};

// The part of the paper a printed graph uses, in device pixels measured
// from the paper's top-left corner.  Each margin is round(margin / 1000 x
// pixels per inch), raised to the printer's unprintable border on that side
// when smaller.
struct TPaperGeometry {
  int Width = 0, Height = 0;  // paper, in device pixels
  int Dpi = 600;
  // Unprintable border on each side, in device pixels.
  int MinLeft = 0, MinTop = 0, MinRight = 0, MinBottom = 0;
};
QRect PageClient(const TPaperGeometry& paper, const TPageMargins& margins);

// The paper of a printer as the page client needs it.
TPaperGeometry PaperOf(const QPrinter& printer);

// Titles the job with the graph's caption and draws the graph on one page
// inside the margins, with the legend box (at `legendAt`, fractions of the
// window) and the coarse soil patterns.  False, with the reason in `error`,
// when the printer cannot be opened.
bool PrintGraph(QPrinter& printer, const TGraphPlot& graph, const TGraphView& view, const TPageMargins& margins,
                QPointF legendAt, QString* error = nullptr);

// The page-setup dialog on `printer`, starting from `margins`; on OK the
// margins take the dialog's values (the platform's minimum margins
// applying).  True when the user pressed OK.
bool PageSetup(QPrinter& printer, TPageMargins& margins, QWidget* parent);

// Sets the printer's margins from ours, and reads them back.
void ApplyMargins(QPrinter& printer, const TPageMargins& margins);
TPageMargins MarginsOf(const QPrinter& printer);

}  // namespace ramvex
