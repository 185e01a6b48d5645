// The "&Plot" menu of a graph window and its commands: what the graph
// shows (legend, soil strip, wall, markers, font size, line width, the
// curves), its title and legend texts, which curves are active, printing,
// page setup and saving to a file.
//
// Every setting lands in the graph, so it outlives the window; the legend's
// place, the zoom and the page margins belong to the window.  The states of
// the menu items come from PlotMenuState when the menu opens.
#pragma once

#include <QObject>
#include <QPointF>

#include <memory>
#include <string>
#include <vector>

#include "GraphSave.h"
#include "PageSet.h"
#include "PlotMenuState.h"
#include "ResultGraphs.h"

class QAction;
class QMenu;
class QPrinter;
class QWidget;

namespace ramvex {

class TPlotForm;

extern const char kNoPrinter[];

class TPlotCommands : public QObject {
  Q_OBJECT

 public:
  explicit TPlotCommands(TPlotForm& form);
  ~TPlotCommands() override;

  QMenu* Menu() const { return menu_; }
  QAction* Action(TPlotItem item) const { return fixed_[static_cast<size_t>(item)]; }
  const std::vector<QAction*>& MarkerActions() const { return markers_; }
  const std::vector<QAction*>& FontSizeActions() const { return fontSizes_; }
  const std::vector<QAction*>& LineWidthActions() const { return lineWidths_; }
  // The curve items after the fixed ones, as of the last update.
  std::vector<QAction*> CurveActions() const;

  // Sets every item from the graph's state; runs whenever the menu opens.
  void UpdateMenu();

  // Where messages go; by default an information box over the window.
  void SetMessageSink(TMessageSink sink) { messages_ = std::move(sink); }

  // The commands.
  void ShowLegendClick();
  void ShowLayersClick();
  void ShowWallClick();
  void MarkersClick(int tag);
  void FontSizeClick(int tag);
  void LineWidthClick(int tag);
  void CurveClick(int curve);
  void GraphTitleClick();
  void EditLegendClick();
  void ActiveCurvesClick();
  void PrintClick();
  void PageSetupClick();
  void SaveClick();

  // What the dialogs do to the graph when they close, apart from the
  // dialogs themselves.
  void TitleChanged();
  void ApplyLineNames(const std::vector<std::string>& names);
  void ApplyActiveCurves(const std::vector<bool>& included);

  // One page on `printer`; the window is repainted afterwards.
  bool PrintTo(QPrinter& printer);
  // The graph saved in the file's format (BMP unless the name ends in .png,
  // .svg or .pdf).
  bool SaveTo(const QString& fileName, const TBitmapAttributes& attributes);

  TPageMargins& Margins() { return margins_; }
  // Top-left corner of the visible legend as fractions of the window, the
  // place of the printed legend box; (-1, -1) without a legend.
  QPointF LegendAt() const;

  // Legend back to the plot area's bottom-right corner.
  void PlaceLegendInCorner();

 private:
  void Tell(const std::string& message);
  void Relayout();
  void RefreshLegend();
  QPrinter& Printer();

  TPlotForm& form_;
  TGraphPlot& graph_;
  QMenu* menu_ = nullptr;
  std::vector<QAction*> fixed_;
  std::vector<QAction*> markers_, fontSizes_, lineWidths_;
  TPageMargins margins_;
  std::unique_ptr<QPrinter> printer_;
  TMessageSink messages_;
};

// Gives a graph window its Plot menu and legend behaviour; the window owns
// the result.
TPlotCommands* AttachPlotCommands(TPlotForm& form);
// The commands of a graph window, or null for any other window.  The main
// window shows Menu() while the graph window is active.
TPlotCommands* PlotCommandsOf(QWidget* window);

}  // namespace ramvex
