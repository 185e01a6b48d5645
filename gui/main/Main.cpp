#include "Main.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include <filesystem>

#include "About.h"
#include "AssignError.h"
#include "CSD.h"
#include "ConLoads.h"
#include "Icons.h"
#include "Inc.h"
#include "Options.h"
#include "Prop.h"
#include "Rebar.h"
#include "Spring.h"
#include "Stage.h"
#include "TableEditors.h"
#include "Title.h"
#include "WordRead.h"

namespace ramvex {

const char TMainForm::kUpdateAddress[] = "https://www.dalmor.example/ramvex/updates";

namespace {

using C = TCommand;

// Where the settings live: organization, application and the version group.
constexpr char kOrganization[] = "Dalmor";
constexpr char kApplication[] = "RAMVEX";
constexpr char kSettingsGroup[] = "2015.5.13";
constexpr char kEditorKey[] = "Word Processor";
// The desktop's opener shows a text file in the user's preferred editor.
constexpr char kDefaultEditor[] = "xdg-open";

constexpr char kOpenFilters[] =
    "RamVex 2015 (*.rv5d);;RamVex 2013 (*.rv4d);;RamVex 3.0 (*.rvd);;RamVex 2.0 (*.rvd);;All Files (*)";
constexpr char kSaveFilters[] = "RamVex 2015 (*.rv5d);;All Files (*)";

// Help documents, in the docs folder beside the program.
constexpr char kHelpContents[] = "contents.html";
constexpr char kUsersManual[] = "users-manual.pdf";
constexpr char kTechnicalManual[] = "technical-manual.pdf";

constexpr int kMaxListedWindows = 50;

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// Messages of the data layer separate their lines with carriage returns.
QString MessageText(const char* what) {
  QString t = QString::fromUtf8(what);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), tables_(CreateProjectTables()), data_(std::make_unique<TProgramData>(*tables_)) {
  setWindowTitle(QLatin1String(kProgramTitle));
  setWindowIcon(ApplicationIcon());
  setAcceptDrops(true);
  mdi_ = new QMdiArea(this);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  status_ = new QLabel(this);
  statusBar()->addWidget(status_, 1);
  data_->StatusMessage = [this](const std::string& text) { status_->setText(Q(text)); };
  connect(mdi_, &QMdiArea::subWindowActivated, this, &TMainForm::SubWindowActivated);

  editorPath_ = QLatin1String(kDefaultEditor);
  Ask = [this](const QString& text, QMessageBox::StandardButtons buttons) {
    return QMessageBox::question(this, QLatin1String(kProgramTitle), text, buttons);
  };
  Inform = [this](const QString& text) {
    QMessageBox::information(this, QLatin1String(kProgramTitle), text, QMessageBox::Ok);
  };
  Warn = [this](const QString& text) {
    QMessageBox::warning(this, QLatin1String(kProgramTitle), text, QMessageBox::Ok);
  };
  ChooseOpenFile = [this](QString& path, int& filter) {
    QFileDialog dialog(this, QStringLiteral("Open"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = QString::fromLatin1(kOpenFilters).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().constFirst();
    filter = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
  };
  ChooseSaveFile = [this](const QString& proposal, const QString& title) {
    QFileDialog dialog(this, title, proposal);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(QString::fromLatin1(kSaveFilters).split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(QStringLiteral("rv5d"));
    dialog.selectFile(proposal);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      const QString chosen = dialog.selectedFiles().constFirst();
      QFileInfo info(chosen);
      if (info.exists() && !info.isWritable()) {
        Inform(QStringLiteral("%1 is read-only.\nPlease choose another name.").arg(QDir::toNativeSeparators(chosen)));
        continue;
      }
      return chosen;
    }
    return QString();
  };
  StartProcess = [](const QString& program, const QString& file) {
    // An argument list, never a shell command line: a file name with quotes,
    // blanks or semicolons stays one argument and runs nothing.
    return QProcess::startDetached(program, {file});
  };
  OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

  CreateActions();
  CreateMenus();
  CreateToolBar();
  UpdateCommands();
  resize(1000, 720);
}

TMainForm::~TMainForm() {
  // Child windows refer to the project; they go first.
  mdi_->closeAllSubWindows();
  for (QMdiSubWindow* w : mdi_->subWindowList()) delete w;
  delete stage_;
}

// ---------------------------------------------------------------- commands

QAction* TMainForm::Add(TCommand command, const QString& caption, const QString& hint, bool checkable) {
  auto* a = new QAction(caption, this);
  a->setCheckable(checkable);
  a->setIconVisibleInMenu(false);
  if (!hint.isEmpty()) {
    a->setToolTip(hint);
    a->setStatusTip(hint);
    a->setIcon(CommandIcon(command));
  }
  actions_[static_cast<size_t>(command)] = a;
  return a;
}

void TMainForm::On(TCommand command, std::function<void()> handler) {
  connect(Action(command), &QAction::triggered, this, [this, handler = std::move(handler)] {
    if (!CommitActiveWindow()) {
      UpdateCommands();
      return;
    }
    handler();
    UpdateCommands();
  });
}

void TMainForm::CreateActions() {
  const QString none;
  Add(C::FileNew, QStringLiteral("&New"), QStringLiteral("New Data File"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
  Add(C::FileOpen, QStringLiteral("&Open..."), QStringLiteral("Open Data File"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
  Add(C::FileSave, QStringLiteral("&Save"), QStringLiteral("Save Data File"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
  Add(C::FileSaveAs, QStringLiteral("Save &As..."));
  Add(C::FileExit, QStringLiteral("E&xit"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));

  Add(C::DataTitle, QStringLiteral("&Title"), QStringLiteral("Title"));
  Add(C::DataProp, QStringLiteral("Wall &Properties"), QStringLiteral("Wall Properties"));
  Add(C::DataCSD, QStringLiteral("&Wall Configuration"));
  Add(C::ToolWallConfiguration, QStringLiteral("&Wall Configuration"), QStringLiteral("Wall Configuration"));
  Add(C::DataAxLoads, QStringLiteral("&Soil Layer Data"));
  Add(C::ToolSoilLayers, QStringLiteral("&Soil Layer Data"), QStringLiteral("Soil Layers"));
  Add(C::SoilShortTerm, QStringLiteral("Short-Term"));
  Add(C::SoilLongTerm, QStringLiteral("Long-Term"));
  Add(C::DistributedActiveEarthPressureMenu, QStringLiteral("&Distributed Active Earth Pressure"));
  Add(C::DistShortTerm, QStringLiteral("Short-Term"));
  Add(C::DistLongTerm, QStringLiteral("Long-Term"));
  Add(C::DataRebar, QStringLiteral("&Additional Surcharge Loads"));
  Add(C::DataBoundCond, QStringLiteral("&Concentrated Loads on the Wall"));
  Add(C::TiebackGroundAnchorData1, QStringLiteral("Tieback (Ground Anchor) Data"));
  Add(C::DataSoilLayer, QStringLiteral("&Boundary Condition on Deflection or Slope"));
  Add(C::DataPYMod, QStringLiteral("Modification &Factors for p-y Curves"));
  Add(C::DataPYCurves, QStringLiteral("Sets of &External p-y Curves"));
  Add(C::DataSoilSpring, QStringLiteral("&Lateral Springs and Rotational Restraints"));
  Add(C::DataEICurves, QStringLiteral("Sets of Nonlinear Moment vs EI Curves"));

  Add(C::UnitsEnglish, QStringLiteral("&English Units (lbs, in)"), none, true);
  Add(C::UnitsSI, QStringLiteral("&SI Units (kN, m)"), none, true);
  Add(C::UnitsOther, QStringLiteral("&Other Units (F, L)"), none, true);
  Add(C::EarthPressureUser, QStringLiteral("Earth-Pressure Specified by User"), none, true);
  Add(C::EarthPressureTriangular, QStringLiteral("Generate Triangular-Distribution Earth-Pressure"), none, true);
  Add(C::EarthPressureTrapezoidal, QStringLiteral("Generate Trapezoidal-Distribution Pressure (Anchored Walls)"), none,
      true);
  for (auto group : {std::array{C::UnitsEnglish, C::UnitsSI, C::UnitsOther},
                     std::array{C::EarthPressureUser, C::EarthPressureTriangular, C::EarthPressureTrapezoidal}}) {
    auto* g = new QActionGroup(this);
    for (C c : group) g->addAction(Action(c));
  }
  Add(C::OptionsKPYOP, QStringLiteral("Generate &p-y Curves"), none, true);
  Add(C::OptionsConcentrate, QStringLiteral("Apply &Concentrated Loads"), none, true);
  Add(C::ApplyTiebackGroundAnchor1, QStringLiteral("Apply Tieback (Ground  Anchor)"), none, true);
  Add(C::OptionsTipRes, QStringLiteral("Apply &Restraints on Deflection or Slope"), none, true);
  Add(C::OptionsPYCurves, QStringLiteral("Apply User Specified p-y Curves (&External)"), none, true);
  Add(C::OptionsLateralSpring, QStringLiteral("Apply &Lateral Springs and Rotation Restraints"), none, true);
  Add(C::OptionsPYMod, QStringLiteral("Apply External p-y &Modification Factors "), none, true);
  Add(C::OptionsSurcharge, QStringLiteral("Apply Additional Surcharge Loads"), none, true);
  Add(C::OptionsEICurves, QStringLiteral("Apply Nonlinear Moment vs EI Curves"), none, true);
  Add(C::OptionsLong, QStringLiteral("Conduct Short-Term and Long-Term &Analyses"), none, true);
  Add(C::OptionsStaged, QStringLiteral("Conduct &Staged-Construction Analysis..."), none, true);
  Add(C::ToolStageOption, QStringLiteral("Conduct &Staged-Construction Analysis..."),
      QStringLiteral("Stage Construction Option"));
  Add(C::OptionofTexeEditor1, QStringLiteral("&Option of Text Editor..."));

  auto* stages = new QActionGroup(this);
  for (int k = 1; k <= 5; ++k) {
    C c = static_cast<C>(static_cast<int>(C::Stage1) + k - 1);
    stages->addAction(Add(c, QStringLiteral("Stage &%1").arg(k), QStringLiteral("Stage Const. %1").arg(k), true));
  }
  Add(C::CopyPreviousStage, QStringLiteral("Copy &Previous Stage"));

  Add(C::CompRun, QStringLiteral("&Run Analysis"), QStringLiteral("Run Analysis"));
  Add(C::CompInput, QStringLiteral("Edit I&nput Text"));
  Add(C::CompKernel, QStringLiteral("Edit &Processor-Run Notes"));
  Add(C::CompOutput, QStringLiteral("Edit &Output Text"), QStringLiteral("View Output File"));
  Add(C::CompLayers, QStringLiteral("&View Wall Geometry"));
  Add(C::ToolViewSoilProfile, QStringLiteral("&View Wall Geometry"), QStringLiteral("View Soil Profile"));
  Add(C::View3D, QStringLiteral("3D View"), QStringLiteral("3D View"));
  Add(C::CompSummary, QStringLiteral("Results &Summary"));
  Add(C::CompCalcReport, QStringLiteral("Calculation &Report..."));
  Add(C::CompDesignCheck, QStringLiteral("Design &Check..."));

  Add(C::Comppy, QStringLiteral("p-&y Curves"), QStringLiteral("View p-y Curves"));
  Add(C::CompDef, QStringLiteral("&Deflection vs Depth"), QStringLiteral("Deflection Diagram"));
  Add(C::CompMom, QStringLiteral("&Moment vs Depth"), QStringLiteral("Moment Diagram"));
  Add(C::CompShear, QStringLiteral("&Shear vs Depth"), QStringLiteral("Shear Diagram"));
  Add(C::CompSoil, QStringLiteral("Net &Reaction vs Depth"), QStringLiteral("Net Reaction Diagram"));
  Add(C::DefMomShear, QStringLiteral("&Deflection, Moment and Shear"), QStringLiteral("DMV Diagrams"));
  Add(C::CompLD, QStringLiteral("Earth &Pressure Distribution"), QStringLiteral("Pressure Diagram"));
  Add(C::CompCombine, QStringLiteral("Earth Pressure Combined"));
  Add(C::ExportExcel, QStringLiteral("Export Plots To Excel"));

  const char* subjects[] = {"Wall",          "Soil Layers",         "Water Level",
                            "Additional Surcharge", "Concentrated Loads", "Tie Backs",
                            "Boundary Conditions",  "Lateral Springs"};
  for (int i = 0; i < k3DSubjectCount; ++i) {
    Add(static_cast<C>(static_cast<int>(C::Show3DWall) + i), QString::fromLatin1(subjects[i]), none, true);
  }
  Add(C::Show3DDeformedShape, QStringLiteral("Deformed Shape"), QStringLiteral("Deformed Shape"));
  auto* modes = new QActionGroup(this);
  modes->addAction(Add(C::Tool3DPan, QStringLiteral("Panning"), QStringLiteral("Panning"), true));
  modes->addAction(Add(C::Tool3DZoomWindow, QStringLiteral("Zoom Window"), QStringLiteral("Zoom Window"), true));
  modes->addAction(Add(C::Tool3DZooming, QStringLiteral("Zooming"), QStringLiteral("Zooming"), true));
  modes->addAction(Add(C::Tool3DRotating, QStringLiteral("Rotating"), QStringLiteral("Rotating"), true));
  Add(C::Tool3DZoomIn, QStringLiteral("Zoom In"), QStringLiteral("Zoom In"));
  Add(C::Tool3DZoomOut, QStringLiteral("Zoom Out"), QStringLiteral("Zoom Out"));
  Add(C::Tool3DRestart, QStringLiteral("Restart View"), QStringLiteral("Restart View"));

  Add(C::WindowCascade, QStringLiteral("&Cascade"));
  Add(C::WindowTile, QStringLiteral("&Tile"));
  Add(C::WindowArrangeIcons, QStringLiteral("&Arrange Icons"));
  Add(C::HelpContents, QStringLiteral("&Contents"));
  Add(C::HelpUsersManual, QStringLiteral("&User's Manual"));
  Add(C::HelpTechnicalManual, QStringLiteral("&Technical Manual"));
  Add(C::HelpAbout, QStringLiteral("&About..."));
  Add(C::HelpUpdates, QStringLiteral("Check for &Updates"));

  // File.
  On(C::FileNew, [this] { FileNew(); });
  On(C::FileOpen, [this] { FileOpen(); });
  On(C::FileSave, [this] { FileSave(); });
  On(C::FileSaveAs, [this] { FileSaveAs(); });
  connect(Action(C::FileExit), &QAction::triggered, this, &QWidget::close);

  // Data.
  TProgramData& d = *data_;
  On(C::DataTitle, [this] { ShowDialog(title_, [this] { return new TDlgTitle(*data_, mdi_); }); });
  On(C::DataProp, [this] { ShowDialog(prop_, [this] { return new TDlgProp(*data_, mdi_); }); });
  for (C c : {C::DataCSD, C::ToolWallConfiguration}) {
    On(c, [this] { ShowDialog(csd_, [this] { return new TDlgCSD(*data_, mdi_); }); });
  }
  for (C c : {C::DataAxLoads, C::ToolSoilLayers, C::SoilShortTerm}) On(c, [this] { ShowTable(*tables_->NewSoil); });
  On(C::SoilLongTerm, [this] { ShowTable(*tables_->LongSoil); });
  for (C c : {C::DistributedActiveEarthPressureMenu, C::DistShortTerm}) On(c, [this] { ShowTable(*tables_->DistLoad); });
  On(C::DistLongTerm, [this] { ShowTable(*tables_->LongDist); });
  On(C::DataRebar, [this] { ShowDialog(rebar_, [this] { return new TDlgRebar(*data_, mdi_); }); });
  On(C::DataBoundCond, [this] { ShowDialog(conLoads_, [this] { return new TDlgConLoads(*data_, mdi_); }); });
  On(C::TiebackGroundAnchorData1, [this] { ShowDialog(inc_, [this] { return new TDlgInc(*data_, mdi_); }); });
  On(C::DataSoilLayer, [this] { ShowTable(*tables_->SoilLayer); });
  On(C::DataPYMod, [this] { ShowTable(*tables_->PYMod); });
  On(C::DataPYCurves, [this] { ShowTable(*tables_->PYCurves2); });
  On(C::DataSoilSpring, [this] { ShowDialog(spring_, [this] { return new TDlgSpring(*data_, mdi_); }); });
  On(C::DataEICurves, [this] { ShowTable(*tables_->MEICurves2); });

  // Options.
  On(C::UnitsEnglish, [this] { SetUnits(1); });
  On(C::UnitsSI, [this] { SetUnits(2); });
  On(C::UnitsOther, [this] { SetUnits(3); });
  On(C::EarthPressureUser, [this] { SetEarthPressureMode(1); });
  On(C::EarthPressureTriangular, [this] { SetEarthPressureMode(2); });
  On(C::EarthPressureTrapezoidal, [this] { SetEarthPressureMode(3); });
  On(C::OptionsKPYOP, [&d] {
    d.GeneratePYCurves = !d.GeneratePYCurves;
    d.Modified = true;
  });
  On(C::OptionsConcentrate, [this] { ToggleOption(&TProgramData::ApplyConcentratedLoads, tables_->BoundCond.get()); });
  On(C::ApplyTiebackGroundAnchor1, [this] { ToggleOption(&TProgramData::ApplyTiebacks, nullptr); });
  On(C::OptionsTipRes, [this] { ToggleOption(&TProgramData::ApplyRestraints, tables_->SoilLayer.get()); });
  On(C::OptionsPYCurves, [this] { ToggleOption(&TProgramData::ApplyExternalPYCurves, tables_->PYCurves2.get()); });
  On(C::OptionsLateralSpring, [this] { ToggleOption(&TProgramData::ApplySprings, tables_->SoilStrength.get()); });
  On(C::OptionsPYMod, [this] { ToggleOption(&TProgramData::ApplyPYModification, tables_->PYMod.get()); });
  On(C::OptionsSurcharge, [this] { ToggleOption(&TProgramData::ApplySurcharge, tables_->SurchargeTable.get()); });
  On(C::OptionsEICurves, [this] { ToggleOption(&TProgramData::ApplyEICurves, tables_->MEICurves2.get()); });
  On(C::OptionsLong, [this, &d] {
    if (d.StageCount != 1) return;
    d.LongTermAnalysis = !d.LongTermAnalysis;
    if (d.LongTermAnalysis) d.Continuation = 9;
    d.Modified = true;
    UpdateLongTermCommands();
  });
  On(C::OptionsStaged, [this] { ShowStageDialog(true); });
  On(C::ToolStageOption, [this] { ShowStageDialog(false); });
  On(C::OptionofTexeEditor1, [this] {
    ShowDialog(options_, [this] {
      return new TDlgOptions(
          *data_, mdi_, [this] { return editorPath_; }, [this](const QString& p) { editorPath_ = p; });
    });
  });

  // Stages.
  for (int k = 1; k <= 5; ++k) On(static_cast<C>(static_cast<int>(C::Stage1) + k - 1), [this, k] { SwitchStage(k); });
  On(C::CopyPreviousStage, [this] { CopyPreviousStage(); });

  // Computation.
  On(C::CompRun, [this] {
    if (!FileSave()) return;
    if (OnRunAnalysis) OnRunAnalysis();
  });
  On(C::CompInput, [this] { EditTextFile(Q(data_->DataFileName)); });
  On(C::CompKernel, [this] { EditTextFile(Q(SiblingFile(data_->DataFileName, ".rv5r"))); });
  On(C::CompOutput, [this] { EditTextFile(Q(SiblingFile(data_->DataFileName, ".rv5o"))); });
  for (C c : {C::CompLayers, C::ToolViewSoilProfile}) {
    On(c, [this] {
      if (OnShowSoilProfile) OnShowSoilProfile();
    });
  }
  On(C::View3D, [this] { Open3DView(); });
  On(C::CompSummary, [this] {
    if (OnShowSummary) OnShowSummary();
  });
  On(C::CompCalcReport, [this] {
    if (OnCalcReport) OnCalcReport();
  });
  On(C::CompDesignCheck, [this] {
    if (OnDesignCheck) OnDesignCheck();
  });

  // Graphics.
  const C graphCommands[] = {C::Comppy, C::CompDef, C::CompMom, C::CompShear,
                             C::CompSoil, C::DefMomShear, C::CompLD, C::CompCombine};
  for (int g = 0; g < kGraphCount; ++g) {
    On(graphCommands[g], [this, g] {
      if (OnShowGraph) OnShowGraph(static_cast<TGraph>(g));
    });
  }
  On(C::ExportExcel, [this] {
    if (OnExportExcel) OnExportExcel();
  });

  // Three-dimensional view.
  for (int i = 0; i < k3DSubjectCount; ++i) {
    On(static_cast<C>(static_cast<int>(C::Show3DWall) + i), [this, i] {
      if (On3DSwitch) On3DSwitch(i);
    });
  }
  On(C::Show3DDeformedShape, [this] {
    if (On3DDeformedShape) On3DDeformedShape();
  });
  const std::pair<C, int> mouseModes[] = {
      {C::Tool3DPan, 1}, {C::Tool3DZooming, 2}, {C::Tool3DRotating, 3}, {C::Tool3DZoomWindow, 4}};
  for (auto [c, mode] : mouseModes) {
    On(c, [this, mode] {
      view3DMouseMode_ = mode;
      if (On3DMouseMode) On3DMouseMode(mode, mode == 4);
    });
  }
  On(C::Tool3DZoomIn, [this] {
    if (On3DZoom) On3DZoom(1.4142);
  });
  On(C::Tool3DZoomOut, [this] {
    if (On3DZoom) On3DZoom(0.70711356243812756);
  });
  On(C::Tool3DRestart, [this] {
    if (On3DRestartView) On3DRestartView();
  });

  // Window and Help.
  On(C::WindowCascade, [this] { mdi_->cascadeSubWindows(); });
  On(C::WindowTile, [this] { mdi_->tileSubWindows(); });
  On(C::WindowArrangeIcons, [this] { ArrangeIcons(); });
  On(C::HelpContents, [this] { OpenHelpFile(QLatin1String(kHelpContents)); });
  On(C::HelpUsersManual, [this] { OpenHelpFile(QLatin1String(kUsersManual)); });
  On(C::HelpTechnicalManual, [this] { OpenHelpFile(QLatin1String(kTechnicalManual)); });
  On(C::HelpAbout, [this] {
    TDlgAbout about(this);
    about.exec();
  });
  On(C::HelpUpdates, [this] {
    QUrl url{QLatin1String(kUpdateAddress)};
    url.setQuery(QStringLiteral("RAMVEX;") + QLatin1String(kVersionString));
    if (OpenUrl) OpenUrl(url);
  });
}

QMenu* TMainForm::Menu(const QString& title) const {
  for (QAction* a : menuBar()->actions()) {
    if (a->menu() != nullptr && a->text() == title) return a->menu();
  }
  return nullptr;
}

void TMainForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  auto add = [this](QMenu* m, std::initializer_list<C> commands) {
    for (C c : commands) m->addAction(Action(c));
  };

  fileMenu_ = bar->addMenu(QStringLiteral("&File"));
  add(fileMenu_, {C::FileNew, C::FileOpen, C::FileSave, C::FileSaveAs});
  fileMenu_->addSeparator();
  for (int i = 0; i < TRecentFiles::kSize; ++i) {
    recentActions_[static_cast<size_t>(i)] = fileMenu_->addAction(QString());
    QAction* a = recentActions_[static_cast<size_t>(i)];
    a->setVisible(false);
    connect(a, &QAction::triggered, this, [this, i] {
      if (!CommitActiveWindow()) return;
      const std::string path = recent_.Entry(i);
      if (path.empty() || !AskSaveChanges()) return;
      OpenFileName(Q(path), 0);
    });
  }
  recentSeparator_ = fileMenu_->addSeparator();
  add(fileMenu_, {C::FileExit});
  connect(fileMenu_, &QMenu::aboutToShow, this, [this] {
    MenuOpening(fileMenu_, true);
    FillFileMenu();
  });

  QMenu* data = bar->addMenu(QStringLiteral("Da&ta"));
  add(data, {C::DataTitle});
  data->addSeparator();
  add(data, {C::DataProp, C::DataCSD, C::DataAxLoads});
  QMenu* soil = data->addMenu(QStringLiteral("&Soil Layer Data"));
  add(soil, {C::SoilShortTerm, C::SoilLongTerm});
  actions_[static_cast<size_t>(C::SoilLayerDataMenu)] = soil->menuAction();
  data->addSeparator();
  add(data, {C::DistributedActiveEarthPressureMenu});
  QMenu* dist = data->addMenu(QStringLiteral("&Distributed Active Earth Pressure"));
  add(dist, {C::DistShortTerm, C::DistLongTerm});
  actions_[static_cast<size_t>(C::DataLoading)] = dist->menuAction();
  add(data, {C::DataRebar, C::DataBoundCond, C::TiebackGroundAnchorData1});
  data->addSeparator();
  add(data, {C::DataSoilLayer, C::DataPYMod});
  data->addSeparator();
  add(data, {C::DataPYCurves, C::DataSoilSpring, C::DataEICurves});
  connect(data, &QMenu::aboutToShow, this, [this, data] { MenuOpening(data, true); });

  QMenu* options = bar->addMenu(QStringLiteral("&Options"));
  QMenu* units = options->addMenu(QStringLiteral("&Units"));
  add(units, {C::UnitsEnglish, C::UnitsSI, C::UnitsOther});
  options->addSeparator();
  QMenu* pressure = options->addMenu(QStringLiteral("Earth-Pressure Options"));
  add(pressure, {C::EarthPressureUser, C::EarthPressureTriangular, C::EarthPressureTrapezoidal});
  connect(pressure, &QMenu::aboutToShow, this, [this] {
    // A project without a choice gets the user-specified mode, as the
    // menu shows it.
    if (data_->EarthPressureMode == 0) {
      data_->EarthPressureMode = 1;
      data_->UserEarthPressure = true;
    }
    UpdateCommands();
  });
  add(options, {C::OptionsKPYOP});
  options->addSeparator();
  add(options, {C::OptionsConcentrate, C::ApplyTiebackGroundAnchor1, C::OptionsTipRes, C::OptionsPYCurves,
                C::OptionsLateralSpring, C::OptionsPYMod, C::OptionsSurcharge, C::OptionsEICurves});
  options->addSeparator();
  add(options, {C::OptionsLong, C::OptionsStaged});
  options->addSeparator();
  add(options, {C::OptionofTexeEditor1});
  connect(options, &QMenu::aboutToShow, this, [this, options] {
    if (data_->LongTermAnalysis) data_->Continuation = 9;
    data_->UserEarthPressure = data_->EarthPressureMode == 1;
    MenuOpening(options, true);
  });

  QMenu* stage = bar->addMenu(QStringLiteral("&Stage Construction"));
  add(stage, {C::Stage1, C::Stage2, C::Stage3, C::Stage4, C::Stage5});
  stage->addSeparator();
  add(stage, {C::CopyPreviousStage});
  actions_[static_cast<size_t>(C::StageMenu)] = stage->menuAction();
  connect(stage, &QMenu::aboutToShow, this, [this, stage] { MenuOpening(stage, true); });

  QMenu* comp = bar->addMenu(QStringLiteral("&Computation"));
  add(comp, {C::CompRun});
  comp->addSeparator();
  add(comp, {C::CompInput, C::CompKernel, C::CompOutput});
  comp->addSeparator();
  add(comp, {C::CompLayers, C::View3D});
  comp->addSeparator();
  add(comp, {C::CompSummary, C::CompCalcReport});
  comp->addSeparator();
  add(comp, {C::CompDesignCheck});
  connect(comp, &QMenu::aboutToShow, this, [this, comp] { MenuOpening(comp, true); });

  QMenu* graphics = bar->addMenu(QStringLiteral("&Graphics"));
  add(graphics, {C::Comppy});
  graphics->addSeparator();
  add(graphics, {C::CompDef, C::CompMom, C::CompShear, C::CompSoil, C::DefMomShear});
  graphics->addSeparator();
  add(graphics, {C::CompLD, C::CompCombine});
  graphics->addSeparator();
  add(graphics, {C::ExportExcel});
  connect(graphics, &QMenu::aboutToShow, this, [this, graphics] { MenuOpening(graphics, false); });

  windowMenu_ = bar->addMenu(QStringLiteral("&Window"));
  add(windowMenu_, {C::WindowCascade, C::WindowTile, C::WindowArrangeIcons});
  windowSeparator_ = windowMenu_->addSeparator();
  for (int i = 0; i < kMaxListedWindows; ++i) {
    QAction* a = windowMenu_->addAction(QString());
    a->setCheckable(true);
    a->setVisible(false);
    windowActions_[static_cast<size_t>(i)] = a;
    connect(a, &QAction::triggered, this, [this, i] {
      if (QMdiSubWindow* w = windowEntries_[static_cast<size_t>(i)]) mdi_->setActiveSubWindow(w);
    });
  }
  connect(windowMenu_, &QMenu::aboutToShow, this, [this] {
    MenuOpening(windowMenu_, true);
    FillWindowMenu();
  });

  QMenu* show3D = bar->addMenu(QStringLiteral("Show 3DView"));
  add(show3D, {C::Show3DWall, C::Show3DSoilLayers, C::Show3DWaterLevel, C::Show3DSurcharge, C::Show3DConcentratedLoads,
               C::Show3DTieBacks, C::Show3DBoundaryConditions, C::Show3DLateralSprings});
  show3D->addSeparator();
  add(show3D, {C::Show3DDeformedShape});
  actions_[static_cast<size_t>(C::Show3DViewMenu)] = show3D->menuAction();
  connect(show3D, &QMenu::aboutToShow, this, [this, show3D] { MenuOpening(show3D, false); });

  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  add(help, {C::HelpContents, C::HelpUsersManual, C::HelpTechnicalManual});
  help->addSeparator();
  add(help, {C::HelpAbout, C::HelpUpdates});
  connect(help, &QMenu::aboutToShow, this, [this, help] { MenuOpening(help, true); });
}

void TMainForm::CreateToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Commands"));
  bar->setObjectName(QStringLiteral("Commands"));
  bar->setIconSize(QSize(24, 24));
  bar->setMovable(false);
  const std::initializer_list<C> groups[] = {
      {C::FileNew, C::FileOpen, C::FileSave},
      {C::DataTitle, C::DataProp, C::ToolWallConfiguration, C::ToolSoilLayers},
      {C::CompRun, C::ToolStageOption, C::CompOutput, C::ToolViewSoilProfile, C::View3D},
      {C::Comppy, C::CompDef, C::CompMom, C::CompShear, C::CompSoil, C::DefMomShear, C::CompLD},
      {C::Stage1, C::Stage2, C::Stage3, C::Stage4, C::Stage5},
  };
  for (const auto& group : groups) {
    for (C c : group) bar->addAction(Action(c));
    bar->addSeparator();
  }
  // The 3D view's buttons, shown only while the view is open.
  for (C c : {C::Tool3DPan, C::Tool3DZoomWindow, C::Tool3DZooming, C::Tool3DRotating, C::Tool3DZoomIn, C::Tool3DZoomOut,
              C::Tool3DRestart, C::Show3DDeformedShape}) {
    bar->addAction(Action(c));
  }
}

void TMainForm::MenuOpening(QMenu* menu, bool commit) {
  if (commit && !CommitActiveWindow()) {
    // The entry is wrong and its window has the user back; the menu must
    // not run a command over it.
    QMetaObject::invokeMethod(menu, &QMenu::hide, Qt::QueuedConnection);
    return;
  }
  UpdateCommands();
}

void TMainForm::FillFileMenu() {
  const std::string folder = S(QDir::currentPath());
  const int count = recent_.Count();
  for (int i = 0; i < TRecentFiles::kSize; ++i) {
    QAction* a = recentActions_[static_cast<size_t>(i)];
    if (i < count) {
      QString caption = Q(RecentCaption(i + 1, recent_.Entry(i), folder));
      // A "&" in a path is part of the name, not an access key.
      caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
      a->setText(caption);
      a->setVisible(true);
    } else {
      a->setVisible(false);
    }
  }
  recentSeparator_->setVisible(count > 0);
}

void TMainForm::FillWindowMenu() {
  const QList<QMdiSubWindow*> windows = mdi_->subWindowList(QMdiArea::CreationOrder);
  QMdiSubWindow* active = mdi_->currentSubWindow();
  for (int i = 0; i < kMaxListedWindows; ++i) {
    QAction* a = windowActions_[static_cast<size_t>(i)];
    if (i < windows.size()) {
      QString caption = windows[i]->windowTitle();
      caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
      a->setText(caption);
      a->setChecked(windows[i] == active);
      a->setVisible(true);
      windowEntries_[static_cast<size_t>(i)] = windows[i];
    } else {
      a->setVisible(false);
      windowEntries_[static_cast<size_t>(i)] = nullptr;
    }
  }
  windowSeparator_->setVisible(!windows.isEmpty());
}

TMainState TMainForm::CurrentState() const {
  TMainState s = ProjectState(*data_);
  s.ResultsAvailable = ResultsAvailable;
  const std::string& file = data_->DataFileName;
  s.DataFileExists = Exists(file);
  s.ReportExists = Exists(SiblingFile(file, ".rv5o"));
  s.RunNotesExists = Exists(SiblingFile(file, ".rv5r"));
  s.PlotFileExists = Exists(SiblingFile(file, ".rv5p"));
  for (int g = 0; g < kGraphCount; ++g) {
    s.GraphHasData[static_cast<size_t>(g)] = GraphHasData && GraphHasData(static_cast<TGraph>(g));
  }
  s.View3DOpen = view3DOpen_;
  for (int i = 0; i < k3DSubjectCount; ++i) {
    s.View3DSwitches[static_cast<size_t>(i)] = View3DSwitchState && View3DSwitchState(i);
  }
  s.View3DMouseMode = view3DMouseMode_;
  return s;
}

void TMainForm::UpdateCommands() {
  const TCommandStates states = ComputeCommandStates(CurrentState());
  for (int i = 0; i < kCommandCount; ++i) {
    QAction* a = actions_[static_cast<size_t>(i)];
    if (a == nullptr) continue;
    const TCommandState& s = states[static_cast<size_t>(i)];
    a->setEnabled(s.Enabled);
    if (a->isCheckable()) a->setChecked(s.Checked);
    a->setVisible(s.Visible);
  }
}

// ---------------------------------------------------------------- settings

void TMainForm::ReadSettings() {
  QSettings settings{QLatin1String(kOrganization), QLatin1String(kApplication)};
  settings.beginGroup(QLatin1String(kSettingsGroup));
  auto text = [&settings](const QString& key, QString& out) {
    const QVariant v = settings.value(key);
    if (!v.isValid()) return true;
    if (!v.canConvert<QString>() || v.typeId() == QMetaType::QStringList) return false;
    out = v.toString();
    return true;
  };
  QString editor;
  bool ok = text(QLatin1String(kEditorKey), editor);
  std::array<QString, TRecentFiles::kSize> files;
  for (int i = 0; ok && i < TRecentFiles::kSize; ++i) ok = text(QStringLiteral("File%1").arg(i + 1), files[i]);
  if (!ok) {
    // A value of another kind: the settings are not ours to trust.
    editorPath_ = QLatin1String(kDefaultEditor);
    recent_.Clear();
    return;
  }
  if (!editor.isEmpty()) editorPath_ = editor;
  for (int i = 0; i < TRecentFiles::kSize; ++i) recent_.SetEntry(i, S(files[static_cast<size_t>(i)]));
}

void TMainForm::UpdateRegistry() {
  QSettings settings{QLatin1String(kOrganization), QLatin1String(kApplication)};
  settings.beginGroup(QLatin1String(kSettingsGroup));
  settings.setValue(QLatin1String(kEditorKey), editorPath_);
  for (int i = 0; i < TRecentFiles::kSize; ++i) settings.setValue(QStringLiteral("File%1").arg(i + 1), Q(recent_.Entry(i)));
  settings.endGroup();
  settings.sync();
}

void TMainForm::UpdatePrevFile(const QString& path) {
  if (recent_.Use(S(path))) UpdateRegistry();
}

// ---------------------------------------------------------------- files

void TMainForm::Report(const std::exception& e) { Inform(MessageText(e.what())); }

void TMainForm::SetCaption() { setWindowTitle(Q(MainCaption(data_->DataFileName))); }

QString TMainForm::StatusText() const { return status_->text(); }

void TMainForm::ShowStageState() {
  if (data_->StageCount > 1) {
    status_->setText(QStringLiteral("Construction Stage Number: %1").arg(data_->CurrentStage));
  } else {
    status_->clear();
  }
}

bool TMainForm::IsModified() const {
  if (data_->Modified) return true;
  for (TGridTable* t : tables_->All()) {
    if (t->IsChanged()) return true;
  }
  return false;
}

void TMainForm::SetModified(bool modified) {
  data_->Modified = modified;
  if (!modified) {
    for (TGridTable* t : tables_->All()) t->ResetChanged();
  }
}

void TMainForm::ReadResults() {
  const QString plot = Q(SiblingFile(data_->DataFileName, ".rv5p"));
  ResultsAvailable = QFileInfo::exists(plot) && ReadPlotFile && ReadPlotFile(plot);
}

void TMainForm::OpenStartFile(const QString& argument) {
  CloseChildWindows();
  const QString path = argument.isEmpty() ? QString() : Q(CommandLineProjectPath(S(argument)));
  bool read = false;
  if (!path.isEmpty() && QFileInfo(path).isFile()) {
    const QFileInfo info(path);
    QDir::setCurrent(info.absolutePath());
    try {
      // Opened like a file from the Open dialog, without the message: an
      // older file is read by its extension and a staged project gets its
      // stage files, so that the first save finds them.
      OpenProjectFile(*data_, S(info.absoluteFilePath()), 0);
    } catch (const std::exception& e) {
      Report(e);
    }
    read = true;
  }
  if (!read) {
    data_->NewProject();
    SetModified(false);
  }
  SetCaption();
  ReadResults();
  ShowStageState();
  RefreshDialogs();
  UpdateCommands();
}

void TMainForm::FileNew() {
  if (!AskSaveChanges()) return;
  CloseChildWindows();
  data_->NewProject();
  SetModified(false);
  SetCaption();
  ShowStageState();
  UpdateCommands();
}

void TMainForm::FileOpen() {
  if (!AskSaveChanges()) return;
  QString path;
  int filter = 0;
  if (!ChooseOpenFile || !ChooseOpenFile(path, filter) || path.isEmpty()) return;
  OpenFileName(path, OpenFilterVersion(filter));
}

void TMainForm::OpenFileName(const QString& path, int version) {
  const QFileInfo info(path);
  if (!info.isFile()) {
    // Checked before the project is discarded: a recent entry or a dropped
    // name may point at a file that has gone.
    Inform(QStringLiteral("The file %1 does not exist.").arg(QDir::toNativeSeparators(path)));
    return;
  }
  CloseChildWindows();
  QDir::setCurrent(info.absolutePath());
  const std::string file = S(info.absoluteFilePath());
  bool ok = true;
  try {
    OpenProjectFile(*data_, file, version);
  } catch (const std::exception& e) {
    Report(e);
    ok = false;
  }
  SetModified(false);
  SetCaption();
  ReadResults();
  if (ok) {
    UpdatePrevFile(Q(file));
    Inform(QStringLiteral("Data file: ") + Q(DisplayName(file)) + QStringLiteral(", has been read by RAMVEX 2015"));
  }
  ShowStageState();
  RefreshDialogs();
  UpdateCommands();
}

bool TMainForm::FileSave() {
  TProgramData& d = *data_;
  try {
    if (d.StageCount > 1) d.StoreStage();
    d.SaveFileName = d.DataFileName;
    if (d.DataFileName == kNewProjectName || LowerExtension(d.DataFileName) != ".rv5d") return FileSaveAs();
    d.WriteDataFile();
    SetModified(false);
  } catch (const std::exception& e) {
    Report(e);
    return false;
  }
  UpdateCommands();
  return true;
}

bool TMainForm::FileSaveAs() {
  TProgramData& d = *data_;
  const std::string proposal = SaveAsProposal(d.DataFileName);
  QString chosen = ChooseSaveFile ? ChooseSaveFile(Q(proposal), Q(SaveAsTitle(proposal))) : QString();
  if (chosen.isEmpty()) return false;
  if (QFileInfo(chosen).suffix().isEmpty()) chosen += QStringLiteral(".rv5d");
  chosen = QFileInfo(chosen).absoluteFilePath();
  const std::string previous = d.DataFileName;
  try {
    if (d.StageCount > 1) {
      // The tables hold the current stage; its file must carry them before
      // the stage files are merged into the new data file.
      d.StoreStage();
      d.PreviousFileName = previous;
      d.SaveFileName = S(chosen);
      d.MergeStages(d.SaveFileName, d.PreviousFileName);
      d.DataFileName = d.SaveFileName;
      SetModified(false);
    } else {
      d.DataFileName = S(chosen);
      d.WriteDataFile();
      SetModified(false);
    }
  } catch (const std::exception& e) {
    // The project stays under its old name, which still names what is on
    // disk.
    d.DataFileName = previous;
    Report(e);
    return false;
  }
  SetCaption();
  UpdatePrevFile(chosen);
  CloseChildWindows();
  UpdateResultCommands();
  return true;
}

bool TMainForm::AskSaveChanges() {
  if (!IsModified()) return true;
  const QMessageBox::StandardButton answer =
      Ask(QStringLiteral("Do you want to save any changes?"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::No) return true;
  if (answer != QMessageBox::Yes) return false;
  if (!FileSave()) return false;
  return data_->DataFileName != kNewProjectName;
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!CommitActiveWindow() || !AskSaveChanges()) {
    event->ignore();
    return;
  }
  UpdateRegistry();
  CloseChildWindows();
  if (stage_) stage_->close();
  event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!urls.isEmpty() && urls.constFirst().isLocalFile()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.constFirst().isLocalFile()) return;
  event->acceptProposedAction();
  OpenDroppedFiles(urls);
}

void TMainForm::OpenDroppedFiles(const QList<QUrl>& urls) {
  // Only the first file: one project at a time.
  if (urls.isEmpty() || !urls.constFirst().isLocalFile()) return;
  const QString file = urls.constFirst().toLocalFile();
  if (!CommitActiveWindow() || !AskSaveChanges()) return;
  OpenFileName(file, 0);
  UpdateCommands();
}

// ---------------------------------------------------------------- windows

void TMainForm::CloseChildWindows() {
  for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder)) w->close();
}

bool TMainForm::CommitActiveWindow() {
  QMdiSubWindow* sub = mdi_->currentSubWindow();
  if (sub == nullptr) return true;
  if (auto* target = dynamic_cast<TCommitTarget*>(sub->widget())) return target->CommitEdit();
  return true;
}

void TMainForm::SubWindowActivated(QMdiSubWindow* window) {
  // Null means the whole program lost the focus; the child keeps its entry
  // as it is and finds it again when the program comes back.
  if (window == nullptr || reactivating_ || window == lastActive_) return;
  if (lastActive_) {
    if (auto* target = dynamic_cast<TCommitTarget*>(lastActive_->widget())) {
      if (!target->CommitEdit()) {
        reactivating_ = true;
        mdi_->setActiveSubWindow(lastActive_);
        reactivating_ = false;
        return;
      }
    }
  }
  lastActive_ = window;
  if (auto* dialog = qobject_cast<TInputDialog*>(window->widget())) dialog->Activate();
  UpdateCommands();
}

template <class T, class Make>
void TMainForm::ShowDialog(QPointer<T>& instance, Make make) {
  if (!instance) {
    instance = make();
    QMdiSubWindow* sub = mdi_->addSubWindow(instance);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
  }
  instance->Activate();
  QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(instance->parentWidget());
  if (sub == nullptr) return;
  sub->show();
  lastActive_ = sub;
  mdi_->setActiveSubWindow(sub);
}

void TMainForm::ShowTable(TGridTable& table) {
  if (QWidget* editor = ShowEditor(table, mdi_)) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget())) lastActive_ = sub;
  }
}

TDlgStage* TMainForm::StageDialog() const { return stage_; }

TInputDialog* TMainForm::InputDialog(TCommand command) const {
  switch (command) {
    case C::DataTitle: return title_;
    case C::DataProp: return prop_;
    case C::DataCSD: case C::ToolWallConfiguration: return csd_;
    case C::DataRebar: return rebar_;
    case C::DataBoundCond: return conLoads_;
    case C::TiebackGroundAnchorData1: return inc_;
    case C::DataSoilSpring: return spring_;
    case C::OptionofTexeEditor1: return options_;
    default: return nullptr;
  }
}

void TMainForm::RefreshDialogs() {
  for (TInputDialog* d : {title_.data(), prop_.data(), csd_.data(), rebar_.data(), conLoads_.data(), inc_.data(),
                          spring_.data(), options_.data()}) {
    if (d != nullptr) d->Activate();
  }
}

void TMainForm::ArrangeIcons() {
  // Minimised children line up along the bottom edge, left to right.
  const QRect area = mdi_->viewport()->rect();
  int x = 0;
  for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder)) {
    if (!w->isMinimized()) continue;
    const QSize size = w->size();
    if (x > 0 && x + size.width() > area.width()) x = 0;
    w->move(x, area.bottom() - size.height() + 1);
    x += size.width();
  }
}

// ---------------------------------------------------------------- options

void TMainForm::ToggleOption(bool TProgramData::*flag, TGridTable* table) {
  TProgramData& d = *data_;
  d.*flag = !(d.*flag);
  d.Modified = true;
  if (!(d.*flag) && table != nullptr) HideEditor(*table);
  RefreshDialogs();
}

void TMainForm::SetUnits(int system) {
  if (system == data_->UnitSystem) return;
  data_->SwitchUnits(system);
  data_->Modified = true;
  RefreshDialogs();
}

void TMainForm::SetEarthPressureMode(int mode) {
  if (data_->EarthPressureMode != mode) data_->Modified = true;
  data_->EarthPressureMode = mode;
  data_->UserEarthPressure = mode == 1;
}

void TMainForm::ShowStageDialog(bool modal) {
  if (stage_) {
    stage_->show();
    stage_->raise();
    stage_->activateWindow();
    return;
  }
  stage_ = new TDlgStage(this);
  stage_->setAttribute(Qt::WA_DeleteOnClose);
  stage_->Activate(data_->StageCount);
  stage_->OnAccept = [this](int count) { return ApplyStageCount(count); };
  if (modal) {
    stage_->exec();
  } else {
    stage_->show();
  }
}

bool TMainForm::ApplyStageCount(int count) {
  TProgramData& d = *data_;
  if (count == d.StageCount) return true;
  // Stage files live beside the data file, so a project that was never
  // saved gets its name first.
  if (count > 1 && d.DataFileName == kNewProjectName && !FileSaveAs()) return false;
  try {
    d.ChangeStageCount(count);
  } catch (const std::exception& e) {
    Report(e);
  }
  ShowStageState();
  RefreshDialogs();
  UpdateCommands();
  return true;
}

void TMainForm::SwitchStage(int stage) {
  TProgramData& d = *data_;
  if (stage == d.CurrentStage || stage < 1 || stage > d.StageCount) return;
  try {
    d.SwitchStage(stage);
  } catch (const std::exception& e) {
    Report(e);
  }
  ShowStageState();
  RefreshDialogs();
}

void TMainForm::CopyPreviousStage() {
  TProgramData& d = *data_;
  if (d.StageCount <= 1 || d.CurrentStage <= 1) return;
  const QString question = QStringLiteral("Do you want to copy all information from Stage %1 to Stage %2")
                               .arg(d.CurrentStage - 1)
                               .arg(d.CurrentStage);
  if (Ask(question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) return;
  try {
    d.CopyPreviousStage();
  } catch (const std::exception& e) {
    Report(e);
  }
  RefreshDialogs();
}

// ---------------------------------------------------------------- outside

void TMainForm::EditTextFile(const QString& path) {
  if (!StartProcess || !StartProcess(editorPath_, QFileInfo(path).absoluteFilePath())) {
    Inform(QStringLiteral("An error occurred in running the Word Processor"));
  }
}

void TMainForm::OpenHelpFile(const QString& name) {
  // A missing document is not reported: the command simply opens nothing.
  const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/docs/") + name;
  if (OpenUrl && QFileInfo::exists(path)) OpenUrl(QUrl::fromLocalFile(path));
}

void TMainForm::Open3DView() {
  if (!OnOpen3DView) return;
  OnOpen3DView();
  view3DOpen_ = true;
  UpdateCommands();
}

void TMainForm::Close3DView() {
  view3DOpen_ = false;
  UpdateCommands();
}

}  // namespace ramvex
