#include "ProgramResults.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

#include <filesystem>

#include "AnalysisRun.h"
#include "CalcReport.h"
#include "ExportDlg.h"
#include "Main.h"
#include "MainFiles.h"
#include "PileSide.h"
#include "PlotCommands.h"
#include "PlotForm.h"
#include "ProgramData.h"
#include "ResultsSummary.h"
#include "SummaryForm.h"
#include "View3dUnit1.h"

namespace ramvex {

const char kCalcReportTitle[] = "Save the Calculation Report";
const char kOpenCalcReportQuestion[] = "The calculation report was written to\n%1\n\nOpen it now?";

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::filesystem::path P(const QString& s) { return std::filesystem::path(s.toStdString()); }

}  // namespace

TProgramResults::TProgramResults(TMainForm& form) : form_(form) {
  RunExportDialog = [](TExportDlg& dialog) { dialog.exec(); };
  ChooseReportFile = [this](const QString& proposal) {
    QFileDialog dialog(&form_, QLatin1String(kCalcReportTitle), proposal);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PDF documents (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(proposal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
  };

  form.OnRunAnalysis = [this] { RunAnalysis(); };
  // Opening a project reads its plot file without a word: a missing or
  // broken file only leaves the result commands disabled.
  form.ReadPlotFile = [this](const QString& plotFile) { return graphs_.ReadPlotFile(P(plotFile), form_.Data()); };
  form.GraphHasData = [this](TGraph graph) { return Graph(graph).HasData(); };
  form.OnShowGraph = [this](TGraph graph) { ShowGraph(graph); };
  form.OnShowSoilProfile = [this] { ShowSoilProfile(); };
  form.OnExportExcel = [this] { ExportExcel(); };
  form.OnShowSummary = [this] { ShowSummary(); };
  form.OnCalcReport = [this] { WriteCalcReport(); };
  form.OnDesignCheck = [this] { ShowDesignCheck(); };
  form.OnOpen3DView = [this] { Open3DView(); };
  form.On3DSwitch = [this](int subject) { Switch3D(subject); };
  form.View3DSwitchState = [this](int subject) { return SwitchState(subject); };
  form.On3DMouseMode = [this](int mode, bool) {
    if (view3D_) view3D_->SetMouseMode(mode);
  };
  form.On3DZoom = [this](double factor) {
    if (view3D_) view3D_->Zooming(factor);
  };
  form.On3DRestartView = [this] {
    if (view3D_) view3D_->RestartViewButtonClick();
  };
  form.On3DDeformedShape = [this] {
    if (view3D_) view3D_->DeformedShapeWindow();
  };

  connect(form.MdiArea(), &QMdiArea::subWindowActivated, this, &TProgramResults::SubWindowActivated);
}

TProgramResults::~TProgramResults() {
  // The hooks capture this object; a window that outlives it must not call
  // into freed memory.
  form_.OnRunAnalysis = nullptr;
  form_.ReadPlotFile = nullptr;
  form_.GraphHasData = nullptr;
  form_.OnShowGraph = nullptr;
  form_.OnShowSoilProfile = nullptr;
  form_.OnExportExcel = nullptr;
  form_.OnShowSummary = nullptr;
  form_.OnDesignCheck = nullptr;
  form_.OnCalcReport = nullptr;
  form_.OnOpen3DView = nullptr;
  form_.On3DSwitch = nullptr;
  form_.View3DSwitchState = nullptr;
  form_.On3DMouseMode = nullptr;
  form_.On3DZoom = nullptr;
  form_.On3DRestartView = nullptr;
  form_.On3DDeformedShape = nullptr;
  ShowPlotMenu(nullptr);
  // The result windows read the graphs and views held here: they go first.
  auto discard = [](QWidget* w) {
    if (w == nullptr) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
      delete sub;
    } else {
      delete w;
    }
  };
  for (TGraphPlot* g : graphs_.All()) discard(qobject_cast<QWidget*>(g->Window.data()));
  discard(sideView_);
  discard(view3D_);
  discard(summary_);
}

TGraphPlot& TProgramResults::Graph(TGraph graph) {
  switch (graph) {
    case TGraph::pltPY: return graphs_.pltPY;
    case TGraph::pltDef: return graphs_.pltDef;
    case TGraph::pltMom: return graphs_.pltMom;
    case TGraph::pltShear: return graphs_.pltShear;
    case TGraph::pltSoil: return graphs_.pltSoil;
    case TGraph::pltDMS: return graphs_.pltDMS;
    case TGraph::pltLD: return graphs_.pltLD;
    case TGraph::PltCombine:
    case TGraph::Count: break;
  }
  return graphs_.PltCombine;
}

void TProgramResults::RunAnalysis() {
  TRunEnvironment env;
  env.ProgramFolder = ProgramFolder();
  env.Inform = [this](const std::string& m) {
    if (form_.Inform) form_.Inform(Q(m));
  };
  env.Warn = [this](const std::string& m) {
    if (form_.Warn) form_.Warn(Q(m));
  };
  env.BeginWait = [] { QApplication::setOverrideCursor(Qt::WaitCursor); };
  env.EndWait = [] { QApplication::restoreOverrideCursor(); };
  env.ReadPlotFile = [this](const std::filesystem::path& plotFile, const TRunMessage& errors) {
    // The windows that draw the graphs go before the graphs are refilled,
    // not with the others after the run, so that none paints a half-read
    // graph.  A run stopped by a project check leaves every window open.
    CloseResultWindows();
    return graphs_.ReadPlotFile(plotFile, form_.Data(), errors);
  };
  const TRunOutcome outcome = ramvex::RunAnalysis(form_.Data(), env);
  if (outcome.ResultsAvailable) form_.ResultsAvailable = *outcome.ResultsAvailable;
  form_.UpdateResultCommands();
  form_.CloseChildWindows();
  if (summary_) summary_->SetSummary(SummarizeRun(form_.Data(), graphs_, SiblingFile(form_.Data().DataFileName, ".rv5o")));
}

void TProgramResults::CloseResultWindows() {
  auto close = [](QWidget* w) {
    if (w == nullptr) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
      sub->close();
    } else {
      w->close();
    }
  };
  for (TGraphPlot* g : graphs_.All()) close(qobject_cast<QWidget*>(g->Window.data()));
  close(view3D_);
  close(summary_);
}

bool TProgramResults::ResultsReady() const {
  const std::string& data = form_.Data().DataFileName;
  return form_.ResultsAvailable && !data.empty() && QFileInfo::exists(Q(SiblingFile(data, ".rv5p")));
}

void TProgramResults::ShowGraph(TGraph graph) {
  TGraphPlot& plot = Graph(graph);
  // The command is disabled without data; a graph emptied since (a failed
  // read) must still not open an empty window.
  if (!plot.HasData() && graph != TGraph::PltCombine) return;
  ramvex::ShowGraph(plot, *form_.MdiArea());
}

QMdiSubWindow* TProgramResults::AddChild(QWidget* widget) {
  QMdiSubWindow* sub = form_.MdiArea()->addSubWindow(widget);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(form_.windowIcon());
  sub->show();
  return sub;
}

void TProgramResults::Activate(QWidget* widget) {
  auto* sub = qobject_cast<QMdiSubWindow*>(widget->parentWidget());
  if (sub == nullptr) return;
  if (sub->isMinimized()) sub->showNormal();
  sub->show();
  form_.MdiArea()->setActiveSubWindow(sub);
}

void TProgramResults::ShowSoilProfile() {
  // One profile at a time: the command brings the open one to the front.
  if (!sideView_) {
    sideView_ = new TDlgSideView(form_.Data());
    AddChild(sideView_);
  }
  Activate(sideView_);
}

void TProgramResults::Open3DView() {
  if (!view3D_) {
    view3D_ = new TDlgBlock(form_.Data());
    view3D_->DeflectionSource = [this] {
      std::vector<TNodeDeflection> nodes;
      const TGraphPlot& def = graphs_.pltDef;
      if (def.CurveCount() == 0) return nodes;
      for (const TFloatPoint& p : def.Curve(TCurveList::Panel1, 0).Points) {
        nodes.push_back({static_cast<double>(p.X), static_cast<double>(p.Y)});
      }
      return nodes;
    };
    connect(view3D_, &TDlgBlock::Closed, &form_, [this] { form_.Close3DView(); });
    AddChild(view3D_);
  }
  Activate(view3D_);
}

void TProgramResults::Switch3D(int subject) {
  if (!view3D_) return;
  switch (subject) {
    case 0: view3D_->ShowRetainingWallOption(); break;
    case 1: view3D_->ShowSoilLayersOption(); break;
    case 2: view3D_->ShowWaterLevelOption(); break;
    case 3: view3D_->ShowAditionalSurchargeOption(); break;
    case 4: view3D_->ShowConcentratedLoadsOption(); break;
    case 5: view3D_->ShowTieBacksOption(); break;
    case 6: view3D_->ShowBoundaryConditionsOption(); break;
    case 7: view3D_->ShowLateralSpringsOption(); break;
    default: break;
  }
}

bool TProgramResults::SwitchState(int subject) const {
  if (!view3D_) return false;
  const TSceneOptions& o = view3D_->Options();
  const bool states[k3DSubjectCount] = {o.RetainingWall,     o.SoilLayers, o.WaterLevel,         o.AditionalSurcharge,
                                        o.ConcentratedLoads, o.TieBacks,   o.BoundaryConditions, o.LateralSprings};
  return subject >= 0 && subject < k3DSubjectCount && states[subject];
}

void TProgramResults::ExportExcel() {
  TExportDlg dialog(graphs_, &form_);
  dialog.ResultsReady = [this] { return ResultsReady(); };
  if (RunExportDialog) RunExportDialog(dialog);
}

void TProgramResults::ShowSummary() {
  const std::string& data = form_.Data().DataFileName;
  const TResultsSummary summary = SummarizeRun(form_.Data(), graphs_, SiblingFile(data, ".rv5o"));
  if (summary_) {
    summary_->SetSummary(summary);
  } else {
    summary_ = new TSummaryForm(summary);
    AddChild(summary_);
  }
  Activate(summary_);
}

// The design check studies the project as it stands in the tables; it runs
// its analyses in processes of their own, so the window stays usable.  When
// the user applies a recommended length, the project has changed and must be
// saved like any other edit.
void TProgramResults::ShowDesignCheck() {
  if (!designCheck_) {
    designCheck_ = new TDesignCheckForm(form_.Data());
    connect(designCheck_, &TDesignCheckForm::ProjectChanged, this, [this] {
      form_.SetModified(true);
      form_.UpdateCommands();
    });
    AddChild(designCheck_);
  }
  Activate(designCheck_);
}

void TProgramResults::WriteCalcReport() {
  const std::string data = form_.Data().DataFileName;
  if (data.empty() || !ChooseReportFile) return;
  const QString pdf = ChooseReportFile(Q(SiblingFile(data, ".pdf")));
  if (pdf.isEmpty()) return;
  const TResultsSummary summary = SummarizeRun(form_.Data(), graphs_, SiblingFile(data, ".rv5o"));
  std::string error;
  bool written = false;
  {
    // Painting every stage's input and graph takes a moment.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TCalcReportInput input = MakeReportInput(form_.Data(), graphs_, summary, SiblingFile(data, ".rv5p"));
    written = ramvex::WriteCalcReport(P(pdf), input, error);
    QApplication::restoreOverrideCursor();
  }
  if (!written) {
    if (form_.Warn) {
      form_.Warn(QStringLiteral("The calculation report could not be written:\n%1")
                     .arg(error.empty() ? pdf : Q(error)));
    }
    return;
  }
  const QString text = QString::fromLatin1(kOpenCalcReportQuestion).arg(pdf);
  if (form_.Ask && form_.Ask(text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes && form_.OpenUrl) {
    form_.OpenUrl(QUrl::fromLocalFile(pdf));
  }
}

void TProgramResults::SubWindowActivated(QMdiSubWindow* window) {
  // Null: the program lost the focus, or the last child went.  The menu of
  // a graph window that is still there stays; a closed one's goes with it.
  if (window == nullptr) {
    if (!plotWindow_ || !plotWindow_->isVisible()) ShowPlotMenu(nullptr);
    return;
  }
  TPlotCommands* commands = PlotCommandsOf(window->widget());
  plotWindow_ = commands ? window : nullptr;
  ShowPlotMenu(commands ? commands->Menu() : nullptr);
}

void TProgramResults::ShowPlotMenu(QMenu* menu) {
  if (menu == plotMenu_) return;
  QMenuBar* bar = form_.menuBar();
  if (plotMenu_) bar->removeAction(plotMenu_->menuAction());
  plotMenu_ = menu;
  if (menu == nullptr) return;
  // The Plot menu sits before the Window menu, as a merged child menu does.
  QMenu* window = form_.Menu(QStringLiteral("&Window"));
  bar->insertMenu(window ? window->menuAction() : nullptr, menu);
}

}  // namespace ramvex
