// The graph window: a child window of the main window that shows one result
// graph, reads out the data position under the mouse in its title and
// zooms with a rubber band (left button) and out again (right button).
// Everything it computes comes from PlotView and PlotDraw; the window only
// keeps its view state and forwards mouse events.
#pragma once

#include <QImage>
#include <QWidget>

#include "PlotDraw.h"
#include "PlotView.h"

class QListWidget;
class QListWidgetItem;
class QMdiArea;

namespace ramvex {

class TPlotForm : public QWidget {
  Q_OBJECT

 public:
  // Builds the scales (full extent) and the legend from the graph as it is
  // now; the graph must outlive the window.
  explicit TPlotForm(TGraphPlot& graph, QWidget* parent = nullptr);

  TGraphPlot& Graph() const { return graph_; }
  const TGraphView& View() const { return view_; }
  // Layout of the graph on the window as it is now.
  TGraphLayout Layout() const;

  // Recomputes the scales and the legend from the graph (after its curves
  // changed) and repaints.
  void Rebuild();
  // Repaints after a change of the graph's settings (markers, line width,
  // shown curves, title) that keeps its scales.
  void Refresh();

  QListWidget* Legend() const { return legend_; }
  // Places the legend with its bottom-right corner at the plot area's.
  void PlaceLegend();

  // The rubber band while the left button is held, in window pixels.
  bool Banding() const { return banding_; }
  QRect Band() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FillLegend();
  void ToggleCurve(QListWidgetItem* item);
  QPoint ClampToPlot(QPoint p) const;
  TDrawDevice Device() const;

  TGraphPlot& graph_;
  TGraphView view_;
  QListWidget* legend_;
  // The painted graph, kept while only the rubber band moves over it.
  QImage cache_;
  // Until the window is first painted its size is still settling (an MDI
  // child is maximised after creation); the legend follows the plot area's
  // corner until then and keeps its place afterwards.
  bool legendSettled_ = false;
  bool banding_ = false;
  QPoint bandStart_, bandEnd_;
};

// Shows the graph's window in the main window's area: creates it when the
// graph has none (maximised, with fresh scales and legend), restores it
// when minimised, and brings it to the front.  Closing the window destroys
// it and the graph forgets it.
TPlotForm* ShowGraph(TGraphPlot& graph, QMdiArea& area);

}  // namespace ramvex
