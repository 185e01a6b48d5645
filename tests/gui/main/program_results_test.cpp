// The complete program without a user: a project opened through the main
// window, the real engine run from its Run Analysis command, and every
// result window opened from its command.  The numbers the graphs hold are
// checked against the engine's own report of the same run.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTableWidget>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "AnalysisRun.h"
#include "ExportDlg.h"
#include "ExportWorkbook.h"
#include "PileSide.h"
#include "PlotCommands.h"
#include "PlotForm.h"
#include "ProgramResults.h"
#include "SummaryForm.h"
#include "View3dUnit1.h"
#include "main_test_support.h"

// Painting text loads the font configuration, which the font library keeps
// until the process ends; the leak checker is told so and nothing more.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace ramvex::testing {
namespace {

using C = TCommand;

// One row of the report's results table ("STA I X DEFL. SLOPE MOMENT SHEAR
// NET REACT/STA EI"), in the report's units (inches, pounds).
struct TReportRow {
  double Depth = 0, Deflection = 0, Moment = 0, Shear = 0;
};

// Every results table of the report, in the order of the problems.
std::vector<std::vector<TReportRow>> ReportTables(const QString& path) {
  std::ifstream in(path.toStdString());
  std::vector<std::vector<TReportRow>> tables;
  std::string line;
  bool inTable = false;
  while (std::getline(in, line)) {
    if (line.find("STA I") != std::string::npos && line.find("DEFL.") != std::string::npos) {
      tables.emplace_back();
      inTable = true;
      continue;
    }
    if (!inTable) continue;
    std::istringstream fields(line);
    int station = 0;
    double v[7];
    if (fields >> station >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5] >> v[6]) {
      tables.back().push_back({v[0], v[1], v[3], v[4]});
    } else if (!tables.back().empty()) {
      inTable = false;
    }
  }
  return tables;
}

// The report prints three significant digits.
bool Near(double shown, double printed) { return std::abs(shown - printed) <= 0.006 * std::abs(printed) + 1e-9; }

// Names and sizes of the files of a folder, not descending.
std::map<QString, qint64> Listing(const QString& folder) {
  std::map<QString, qint64> files;
  for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) files[f.fileName()] = f.size();
  return files;
}

class ProgramTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    form->Warn = [this](const QString& text) { warnings << text; };
    results = std::make_unique<TProgramResults>(*form);
    results->ChooseReportFile = [this](const QString& proposal) {
      reportProposals << proposal;
      return reportPath;
    };
  }

  void TearDown() override {
    results.reset();
    MainFormTest::TearDown();
  }

  // Opens a copy of an example from the temporary folder and runs it.
  void OpenAndRun(const QString& example) {
    openPath = Example(example);
    Trigger(C::FileOpen);
    ASSERT_EQ(QString::fromStdString(form->Data().DataFileName), openPath);
    messages.clear();
    Trigger(C::CompRun);
  }

  QMdiSubWindow* Active() const { return form->MdiArea()->activeSubWindow(); }
  bool InMenuBar(QMenu* menu) const { return menu != nullptr && form->menuBar()->actions().contains(menu->menuAction()); }

  std::unique_ptr<TProgramResults> results;
  QStringList warnings, reportProposals;
  QString reportPath;
};

TEST_F(ProgramTest, RunFillsTheGraphsWithTheEngineResultsAndLeavesNoFileBehind) {
  const QString bin = QCoreApplication::applicationDirPath();
  const auto binBefore = Listing(bin);
  OpenAndRun(QStringLiteral("three_stages.rv5d"));

  EXPECT_EQ(messages, QStringList{QString::fromLatin1(kCompletedMessage)});
  EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
  EXPECT_TRUE(form->ResultsAvailable);
  for (C c : {C::Comppy, C::CompDef, C::CompMom, C::CompShear, C::CompSoil, C::DefMomShear, C::CompLD, C::CompCombine,
              C::ExportExcel, C::CompLayers, C::CompSummary, C::CompCalcReport, C::CompOutput}) {
    EXPECT_TRUE(form->Action(c)->isEnabled()) << static_cast<int>(c);
  }

  // One deflection and one moment curve per stage, each the report's table
  // with depths in feet and moments in inch-kips.
  const auto tables = ReportTables(Path(QStringLiteral("three_stages.rv5o")));
  ASSERT_EQ(tables.size(), 3u);
  TResultGraphs& g = results->Graphs();
  ASSERT_EQ(g.pltDef.CurveCount(), 3);
  ASSERT_EQ(g.pltMom.CurveCount(), 3);
  for (int k = 0; k < 3; ++k) {
    const auto& rows = tables[static_cast<size_t>(k)];
    const auto& def = g.pltDef.Curve(TCurveList::Panel1, k).Points;
    const auto& mom = g.pltMom.Curve(TCurveList::Panel1, k).Points;
    ASSERT_GE(def.size(), rows.size()) << "stage " << k + 1;
    ASSERT_GE(mom.size(), rows.size()) << "stage " << k + 1;
    ASSERT_GT(rows.size(), 10u);
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_TRUE(Near(static_cast<double>(def[i].X), rows[i].Deflection)) << k << " " << i;
      EXPECT_TRUE(Near(static_cast<double>(def[i].Y), rows[i].Depth / 12)) << k << " " << i;
      EXPECT_TRUE(Near(static_cast<double>(mom[i].X), rows[i].Moment / 1000)) << k << " " << i;
    }
  }

  // The engine's names file lives and dies in the run's own folder.
  for (const QString& place : {folder.path(), QDir::currentPath(), bin}) {
    EXPECT_FALSE(QFileInfo::exists(place + QStringLiteral("/names.dat"))) << place.toStdString();
  }
  EXPECT_EQ(Listing(bin), binBefore);
}

// A second run refills the graphs that open windows draw: the windows go
// first, and the new results are whole.
TEST_F(ProgramTest, RunAgainWithResultWindowsOpen) {
  OpenAndRun(QStringLiteral("three_stages.rv5d"));
  Trigger(C::DefMomShear);
  Trigger(C::View3D);
  Trigger(C::CompSummary);
  Trigger(C::CompLayers);
  ASSERT_EQ(form->MdiArea()->subWindowList().size(), 4);
  messages.clear();
  Trigger(C::CompRun);
  QCoreApplication::processEvents();
  EXPECT_EQ(messages, QStringList{QString::fromLatin1(kCompletedMessage)});
  EXPECT_TRUE(form->MdiArea()->subWindowList().isEmpty());
  EXPECT_EQ(results->PlotMenuShown(), nullptr);
  EXPECT_FALSE(form->Action(C::Show3DViewMenu)->isVisible());
  EXPECT_EQ(results->Graphs().pltDef.CurveCount(), 3);
  EXPECT_TRUE(form->Action(C::DefMomShear)->isEnabled());
}

TEST_F(ProgramTest, GraphWindowBringsItsPlotMenuWhileActive) {
  OpenAndRun(QStringLiteral("three_stages.rv5d"));
  Trigger(C::CompDef);
  ASSERT_NE(Active(), nullptr);
  auto* plot = qobject_cast<TPlotForm*>(Active()->widget());
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(&plot->Graph(), &results->Graphs().pltDef);
  QMenu* menu = PlotCommandsOf(plot)->Menu();
  EXPECT_EQ(menu->title(), QStringLiteral("&Plot"));
  EXPECT_TRUE(InMenuBar(menu));
  // Where a merged child menu goes: just before Window.
  const QList<QAction*> bar = form->menuBar()->actions();
  EXPECT_EQ(bar.indexOf(menu->menuAction()) + 1, bar.indexOf(form->Menu(QStringLiteral("&Window"))->menuAction()));

  // Another window takes the menu away; the graph window brings it back.
  Trigger(C::CompLayers);
  ASSERT_NE(results->SideView(), nullptr);
  EXPECT_FALSE(InMenuBar(menu));
  form->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(plot->parentWidget()));
  EXPECT_TRUE(InMenuBar(menu));

  // A second graph's window replaces the first one's menu: one Plot menu.
  Trigger(C::CompMom);
  QMenu* moment = PlotCommandsOf(Active()->widget())->Menu();
  EXPECT_TRUE(InMenuBar(moment));
  EXPECT_FALSE(InMenuBar(menu));

  // Closing the graph windows leaves no Plot menu behind.
  form->CloseChildWindows();
  QCoreApplication::processEvents();
  EXPECT_EQ(results->PlotMenuShown(), nullptr);
  for (QAction* a : form->menuBar()->actions()) EXPECT_NE(a->text(), QStringLiteral("&Plot"));
}

TEST_F(ProgramTest, ResultWindowsOpenFromTheirCommands) {
  OpenAndRun(QStringLiteral("three_stages.rv5d"));

  // Soil profile: one window, brought back by the command.
  Trigger(C::ToolViewSoilProfile);
  TDlgSideView* side = results->SideView();
  ASSERT_NE(side, nullptr);
  Trigger(C::CompLayers);
  EXPECT_EQ(results->SideView(), side);
  EXPECT_EQ(Active()->widget(), side);

  // Export: every graph to a workbook in the temporary folder, the
  // spreadsheet opener replaced.
  std::vector<std::filesystem::path> opened;
  TExportOutcome exported;
  results->RunExportDialog = [&](TExportDlg& dlg) {
    dlg.Open = [&](const std::filesystem::path& f) {
      opened.push_back(f);
      return true;
    };
    dlg.Message = [](const std::string&) {};
    dlg.WorkbookFolder = folder.path().toStdString();
    dlg.FormActivate();
    for (int i = 0; i < static_cast<int>(dlg.Items().size()); ++i) dlg.SetChecked(i, true);
    exported = dlg.Generate();
  };
  Trigger(C::ExportExcel);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(opened[0]));
  EXPECT_EQ(opened[0], exported.File);

  // Summary: one row per stage.
  Trigger(C::CompSummary);
  ASSERT_NE(results->Summary(), nullptr);
  EXPECT_EQ(Active()->widget(), results->Summary());
  EXPECT_EQ(results->Summary()->ProblemGrid()->rowCount(), 3);

  // Design check: one window, for the project in the tables.
  Trigger(C::CompDesignCheck);
  ASSERT_NE(results->DesignCheck(), nullptr);
  EXPECT_EQ(Active()->widget(), results->DesignCheck());
  TDesignCheckForm* design = results->DesignCheck();
  Trigger(C::CompDesignCheck);
  EXPECT_EQ(results->DesignCheck(), design);

  // Calculation report: proposed beside the project, written, offered.
  reportPath = Path(QStringLiteral("calc.pdf"));
  answers = {QMessageBox::Yes};
  Trigger(C::CompCalcReport);
  EXPECT_EQ(reportProposals, QStringList{Path(QStringLiteral("three_stages.pdf"))});
  ASSERT_TRUE(QFileInfo::exists(reportPath));
  ASSERT_EQ(urls.size(), 1);
  EXPECT_EQ(urls[0], QUrl::fromLocalFile(reportPath));
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {reportPath, QStringLiteral("-")});
  if (text.waitForFinished(20000) && text.exitCode() == 0) {
    const QString content = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(content.contains(QStringLiteral("Calculation Report")));
    EXPECT_TRUE(content.contains(QStringLiteral("three_stages.rv5d")));
  }
  EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

TEST_F(ProgramTest, CalcReportThatCannotBeWrittenIsReportedAndCancelWritesNothing) {
  OpenAndRun(QStringLiteral("three_stages.rv5d"));
  reportPath.clear();
  Trigger(C::CompCalcReport);
  EXPECT_TRUE(warnings.isEmpty());
  EXPECT_TRUE(questions.isEmpty());

  reportPath = Path(QStringLiteral("no such folder/calc.pdf"));
  Trigger(C::CompCalcReport);
  ASSERT_EQ(warnings.size(), 1);
  EXPECT_TRUE(warnings[0].startsWith(QStringLiteral("The calculation report could not be written")));
  EXPECT_TRUE(urls.isEmpty());
}

TEST_F(ProgramTest, ThreeDimensionalViewFollowsItsMenuAndToolbar) {
  OpenAndRun(QStringLiteral("three_stages.rv5d"));
  EXPECT_FALSE(form->Action(C::Show3DViewMenu)->isVisible());
  Trigger(C::View3D);
  TDlgBlock* view = results->View3D();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(form->Action(C::Show3DViewMenu)->isVisible());
  EXPECT_TRUE(form->Action(C::Show3DDeformedShape)->isEnabled());
  EXPECT_TRUE(form->Action(C::Show3DWall)->isChecked());

  // The deformed shape is the first stage's deflection, as the graph holds it.
  const auto nodes = view->DeflectionSource();
  const auto& def = results->Graphs().pltDef.Curve(TCurveList::Panel1, 0).Points;
  ASSERT_EQ(nodes.size(), def.size());
  EXPECT_EQ(nodes[5].Deflection, static_cast<double>(def[5].X));
  EXPECT_EQ(nodes[5].Depth, static_cast<double>(def[5].Y));

  Trigger(C::Show3DWall);
  EXPECT_FALSE(view->Options().RetainingWall);
  EXPECT_FALSE(form->Action(C::Show3DWall)->isChecked());
  Trigger(C::Tool3DPan);
  EXPECT_TRUE(form->Action(C::Tool3DPan)->isChecked());
  Trigger(C::Show3DDeformedShape);
  EXPECT_NE(view->DeformedShapeDialog(), nullptr);

  // A second command brings the same window back.
  Trigger(C::View3D);
  EXPECT_EQ(results->View3D(), view);

  qobject_cast<QMdiSubWindow*>(view->parentWidget())->close();
  QCoreApplication::processEvents();
  EXPECT_FALSE(form->Action(C::Show3DViewMenu)->isVisible());
  EXPECT_FALSE(form->Action(C::Tool3DPan)->isVisible());
}

// Opening a project reads the plot file beside it without a word of its
// own; a file that cannot be read leaves the result commands off, also
// without a word.
TEST_F(ProgramTest, OpeningReadsThePlotFileSilently) {
  struct Case {
    const char* name;
    bool brokenPlot;
    bool results;
  };
  for (const Case c : {Case{"intact", false, true}, Case{"broken", true, false}}) {
    SCOPED_TRACE(c.name);
    const QString plot = Path(QStringLiteral("tieback.rv5p"));
    QFile::remove(plot);
    if (c.brokenPlot) {
      QFile f(plot);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("1\n2\nnot a number\n");
    } else {
      ASSERT_TRUE(QFile::copy(QStringLiteral(RAMVEX_SOURCE_DIR "/examples/golden/tieback.rv5p"), plot));
    }
    openPath = Example(QStringLiteral("tieback.rv5d"));
    messages.clear();
    Trigger(C::FileOpen);
    // Only the usual word that the project was read.
    ASSERT_EQ(messages.size(), 1) << messages.join('\n').toStdString();
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Data file:")));
    EXPECT_EQ(form->ResultsAvailable, c.results);
    EXPECT_EQ(form->Action(C::CompDef)->isEnabled(), c.results);
    EXPECT_EQ(form->Action(C::CompSummary)->isEnabled(), c.results);
  }
}

}  // namespace
}  // namespace ramvex::testing
