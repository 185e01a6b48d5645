// The results side of the program: the analysis run, the result graphs, the
// graph windows with their Plot menu, the soil profile, the 3D view, the
// spreadsheet export, the results summary and the calculation report, all
// connected to the main window's commands.
//
// The main window only knows its commands and hooks; this object owns the
// result graphs for the window's whole life and fills the hooks, so that
// the window's library never depends on the results libraries and a test
// can drive the complete program through the window's commands.
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

#include "DesignCheckForm.h"
#include "MainCommands.h"
#include "PileSide.h"
#include "ResultGraphs.h"
#include "SummaryForm.h"
#include "View3dUnit1.h"

class QMdiSubWindow;

namespace ramvex {

class TExportDlg;
class TMainForm;

class TProgramResults : public QObject {
  Q_OBJECT

 public:
  // Fills the window's result hooks.  The window must outlive this object,
  // which closes the result windows and empties the hooks when it goes.
  explicit TProgramResults(TMainForm& form);
  ~TProgramResults() override;

  TResultGraphs& Graphs() { return graphs_; }
  TGraphPlot& Graph(TGraph graph);

  // The open windows, null when closed.
  TDlgSideView* SideView() const { return sideView_; }
  TDlgBlock* View3D() const { return view3D_; }
  TSummaryForm* Summary() const { return summary_; }
  TDesignCheckForm* DesignCheck() const { return designCheck_; }
  // The graph window's Plot menu now in the main window's menu bar.
  QMenu* PlotMenuShown() const { return plotMenu_; }

  // Runs the export dialog; modal unless replaced (a test sets the opener
  // and generates without a user).
  std::function<void(TExportDlg& dialog)> RunExportDialog;
  // Save dialog of the calculation report: the chosen PDF, empty on cancel.
  std::function<QString(const QString& proposal)> ChooseReportFile;

  void RunAnalysis();
  void ShowGraph(TGraph graph);
  void ShowSoilProfile();
  void Open3DView();
  void ExportExcel();
  void ShowSummary();
  void WriteCalcReport();
  void ShowDesignCheck();

 private:
  // Qt's window area has no menu merging: the active graph window's menu
  // is put into the menu bar by hand and taken out again.
  void SubWindowActivated(QMdiSubWindow* window);
  void ShowPlotMenu(QMenu* menu);
  void CloseResultWindows();
  QMdiSubWindow* AddChild(QWidget* widget);
  void Activate(QWidget* widget);
  bool ResultsReady() const;
  void Switch3D(int subject);
  bool SwitchState(int subject) const;

  TMainForm& form_;
  TResultGraphs graphs_;
  QPointer<TDlgSideView> sideView_;
  QPointer<TDlgBlock> view3D_;
  QPointer<TSummaryForm> summary_;
  QPointer<TDesignCheckForm> designCheck_;
  QPointer<QMenu> plotMenu_;
  QPointer<QMdiSubWindow> plotWindow_;
};

// Title of the calculation report's save dialog and the question after it.
extern const char kCalcReportTitle[];
extern const char kOpenCalcReportQuestion[];

}  // namespace ramvex
