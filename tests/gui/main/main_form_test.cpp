#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>

#include "InputDialog.h"
#include "Stage.h"
#include "TableEditors.h"
#include "main_test_support.h"

// fontconfig keeps its configuration until FcFini, which Qt never calls;
// LeakSanitizer is told so.  Unused without the sanitizer.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace ramvex::testing {
namespace {

using C = TCommand;

// Stands in for an open table editor: a table with a listener counts as
// having one.
class TFakeEditor : public TTableListener {
 public:
  void CellChanged(int, int) override {}
  void StructureChanged() override {}
};

TEST_F(MainFormTest, NewProjectCaptionAndStatus) {
  EXPECT_EQ(form->windowTitle(), "RAMVEX 2015.5.13 - NewWall.rv5d");
  EXPECT_EQ(form->StatusText(), "");
  EXPECT_FALSE(form->IsModified());
  TMainForm fresh;
  EXPECT_EQ(fresh.windowTitle(), "RAMVEX 2015");
}

TEST_F(MainFormTest, CommandLineFileOpensWithoutMessageOrRecentEntry) {
  const QString wall = Example("cantilever.rv5d");
  form->OpenStartFile(folder.filePath("cantilever"));  // the extension is added
  EXPECT_EQ(form->windowTitle(), "RAMVEX 2015.5.13 - Cantilever.rv5d");
  EXPECT_EQ(QString::fromStdString(form->Data().DataFileName), QFileInfo(wall).absoluteFilePath());
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_EQ(form->RecentFiles().Count(), 0);
  EXPECT_FALSE(form->IsModified());
}

TEST_F(MainFormTest, CommandLineStagedProjectGetsItsStageFiles) {
  Example("three_stages.rv5d");
  form->OpenStartFile(Path("three_stages.rv5d"));
  EXPECT_EQ(form->Data().StageCount, 3);
  for (int k = 1; k <= 3; ++k) EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("three_stages.st%1").arg(k)))) << k;
  // So that saving at once merges them back.
  EXPECT_TRUE(form->FileSave());
  EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
}

TEST_F(MainFormTest, CommandLineFileThatDoesNotExistGivesANewProject) {
  form->OpenStartFile(Path("missing.rv5d"));
  EXPECT_EQ(form->windowTitle(), "RAMVEX 2015.5.13 - NewWall.rv5d");
}

TEST_F(MainFormTest, OpenThroughTheDialog) {
  openPath = Example("tieback.rv5d");
  Trigger(C::FileOpen);
  EXPECT_EQ(form->windowTitle(), "RAMVEX 2015.5.13 - Tieback.rv5d");
  EXPECT_EQ(messages, QStringList{"Data file: Tieback.rv5d, has been read by RAMVEX 2015"});
  EXPECT_EQ(QString::fromStdString(form->RecentFiles().Entry(0)), openPath);
  EXPECT_EQ(QDir::currentPath(), QFileInfo(openPath).absolutePath());
  EXPECT_TRUE(form->Data().ApplyTiebacks);
  EXPECT_TRUE(form->Action(C::TiebackGroundAnchorData1)->isEnabled());
  EXPECT_TRUE(form->Action(C::CompInput)->isEnabled());
}

TEST_F(MainFormTest, OpenStagedProjectShowsTheStageMenu) {
  openPath = Example("three_stages.rv5d");
  Trigger(C::FileOpen);
  EXPECT_EQ(form->StatusText(), "Construction Stage Number: 1");
  EXPECT_TRUE(form->Action(C::StageMenu)->isVisible());
  EXPECT_TRUE(form->Action(C::Stage3)->isEnabled());
  EXPECT_FALSE(form->Action(C::Stage4)->isEnabled());
  EXPECT_TRUE(form->Action(C::Stage1)->isChecked());

  Trigger(C::Stage2);
  EXPECT_EQ(form->Data().CurrentStage, 2);
  EXPECT_EQ(form->StatusText(), "Construction Stage Number: 2");
  EXPECT_TRUE(form->Action(C::Stage2)->isChecked());
  EXPECT_FALSE(form->Action(C::OptionsLong)->isEnabled());

  answers = {QMessageBox::No};
  Trigger(C::CopyPreviousStage);
  EXPECT_EQ(questions, QStringList{"Do you want to copy all information from Stage 1 to Stage 2"});
}

TEST_F(MainFormTest, DroppedFileOpensTheFirstOnly) {
  const QString first = Example("tieback.rv5d");
  const QString second = Example("cantilever.rv5d");
  form->OpenDroppedFiles({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
  EXPECT_EQ(form->windowTitle(), "RAMVEX 2015.5.13 - Tieback.rv5d");
  EXPECT_EQ(messages, QStringList{"Data file: Tieback.rv5d, has been read by RAMVEX 2015"});
}

TEST_F(MainFormTest, MissingRecentFileKeepsTheProject) {
  form->Data().Title = "Kept";
  form->OpenFileName(Path("gone.rv5d"), 0);
  EXPECT_EQ(form->Data().Title, "Kept");
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].startsWith("The file ")) << messages[0].toStdString();
}

TEST_F(MainFormTest, NeverSavedProjectAndCancelledSaveAsStopsNewAndExit) {
  form->Data().Title = "Changed";
  form->SetModified(true);
  answers = {QMessageBox::Yes};
  savePath.clear();  // the user cancels the naming
  Trigger(C::FileNew);
  EXPECT_EQ(questions, QStringList{"Do you want to save any changes?"});
  EXPECT_EQ(saveProposals, QStringList{"NewWall.rv5d"});
  EXPECT_EQ(saveTitles, QStringList{"Save NewWall.rv5d As"});
  EXPECT_EQ(form->Data().Title, "Changed");
  EXPECT_TRUE(form->IsModified());

  answers = {QMessageBox::Yes};
  EXPECT_FALSE(form->close());
  answers = {QMessageBox::Cancel};
  EXPECT_FALSE(form->close());
}

TEST_F(MainFormTest, AnswersToSaveChanges) {
  form->Data().Title = "Changed";
  form->SetModified(true);
  answers = {QMessageBox::Yes};
  savePath = Path("named");  // the extension is added
  Trigger(C::FileNew);
  EXPECT_TRUE(QFileInfo::exists(Path("named.rv5d")));
  EXPECT_EQ(form->Data().Title, "New Wall");

  form->SetModified(true);
  answers = {QMessageBox::No};
  Trigger(C::FileNew);
  EXPECT_FALSE(form->IsModified());
  EXPECT_EQ(questions.size(), 2);
  // Not modified: no question.
  Trigger(C::FileNew);
  EXPECT_EQ(questions.size(), 2);
}

TEST_F(MainFormTest, EditedCurveSetAloneAsksToSave) {
  form->Tables().PYCurves2->SetChanged();
  EXPECT_TRUE(form->IsModified());
  answers = {QMessageBox::Cancel};
  EXPECT_FALSE(form->close());
  EXPECT_EQ(questions.size(), 1);
  form->SetModified(false);
  EXPECT_FALSE(form->IsModified());
}

TEST_F(MainFormTest, OlderFileIsSavedAsTheCurrentVersion) {
  const QString wall = Example("cantilever.rv5d");
  form->OpenStartFile(wall);
  form->Data().DataFileName = Path("old.rv4d").toStdString();
  savePath.clear();
  EXPECT_FALSE(form->FileSave());
  EXPECT_EQ(saveProposals, QStringList{Path("old.rv5d")});
  EXPECT_EQ(saveTitles, QStringList{"Save Old.rv5d As"});
  // Cancelled: the project keeps its name.
  EXPECT_EQ(QString::fromStdString(form->Data().DataFileName), Path("old.rv4d"));
}

TEST_F(MainFormTest, SaveAsOfAStagedProjectMovesItsStageFiles) {
  openPath = Example("three_stages.rv5d");
  Trigger(C::FileOpen);
  Trigger(C::Stage2);
  form->Data().IncrementCount = 123;
  savePath = Path("renamed.rv5d");
  Trigger(C::FileSaveAs);
  EXPECT_EQ(form->windowTitle(), "RAMVEX 2015.5.13 - Renamed.rv5d");
  for (int k = 1; k <= 3; ++k) {
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("renamed.st%1").arg(k)))) << k;
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("three_stages.st%1").arg(k)))) << k;
  }
  // The stage being edited went into the new file.
  QFile saved(savePath);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QByteArray text = saved.readAll();
  const qsizetype second = text.indexOf(" Stage No : 2");
  ASSERT_GE(second, 0);
  EXPECT_EQ(text.indexOf("\r\n123\t"), text.indexOf("\r\n", text.indexOf("\r\n", second) + 2));
  EXPECT_EQ(QString::fromStdString(form->RecentFiles().Entry(0)), savePath);
}

TEST_F(MainFormTest, FailedSaveAsKeepsTheOldName) {
  savePath = Path("no such folder/wall.rv5d");
  EXPECT_FALSE(form->FileSaveAs());
  EXPECT_EQ(form->Data().DataFileName, kNewProjectName);
  EXPECT_EQ(form->windowTitle(), "RAMVEX 2015.5.13 - NewWall.rv5d");
  EXPECT_EQ(messages.size(), 1);
}

TEST_F(MainFormTest, SwitchingAnOptionOffClosesItsEditor) {
  struct TToggle {
    C Command;
    bool TProgramData::*Flag;
    TGridTable* Table;
  };
  TProjectTables& t = form->Tables();
  const TToggle toggles[] = {
      {C::OptionsConcentrate, &TProgramData::ApplyConcentratedLoads, t.BoundCond.get()},
      {C::OptionsTipRes, &TProgramData::ApplyRestraints, t.SoilLayer.get()},
      {C::OptionsPYCurves, &TProgramData::ApplyExternalPYCurves, t.PYCurves2.get()},
      {C::OptionsLateralSpring, &TProgramData::ApplySprings, t.SoilStrength.get()},
      {C::OptionsPYMod, &TProgramData::ApplyPYModification, t.PYMod.get()},
      {C::OptionsSurcharge, &TProgramData::ApplySurcharge, t.SurchargeTable.get()},
      {C::OptionsEICurves, &TProgramData::ApplyEICurves, t.MEICurves2.get()},
  };
  TFakeEditor editor;
  for (const TToggle& tg : toggles) {
    TProgramData& d = form->Data();
    d.*tg.Flag = true;
    tg.Table->SetListener(&editor);
    Trigger(tg.Command);
    EXPECT_FALSE(d.*tg.Flag);
    EXPECT_FALSE(tg.Table->EditorOpen()) << tg.Table->Caption();
    EXPECT_TRUE(form->IsModified());
    // Switching on again opens nothing.
    const qsizetype windows = form->MdiArea()->subWindowList().size();
    Trigger(tg.Command);
    EXPECT_TRUE(d.*tg.Flag);
    EXPECT_EQ(form->MdiArea()->subWindowList().size(), windows);
    EXPECT_TRUE(form->Action(tg.Command)->isChecked());
    tg.Table->SetListener(nullptr);
  }
  // The tieback option has no editor to close and leaves others alone.
  t.TiebackTable1->SetListener(&editor);
  form->Data().ApplyTiebacks = true;
  Trigger(C::ApplyTiebackGroundAnchor1);
  EXPECT_FALSE(form->Data().ApplyTiebacks);
  EXPECT_TRUE(t.TiebackTable1->EditorOpen());
  t.TiebackTable1->SetListener(nullptr);
}

TEST_F(MainFormTest, LongTermOptionSwitchesTheDataCommands) {
  Trigger(C::OptionsLong);
  EXPECT_TRUE(form->Data().LongTermAnalysis);
  EXPECT_EQ(form->Data().Continuation, 9);
  EXPECT_FALSE(form->Action(C::DataAxLoads)->isVisible());
  EXPECT_TRUE(form->Action(C::SoilLayerDataMenu)->isVisible());
  EXPECT_FALSE(form->Action(C::OptionsStaged)->isEnabled());
  EXPECT_FALSE(form->Action(C::ToolStageOption)->isEnabled());
  EXPECT_FALSE(form->Action(C::ToolSoilLayers)->isEnabled());
  Trigger(C::OptionsLong);
  EXPECT_TRUE(form->Action(C::DataAxLoads)->isVisible());

  // A staged project cannot take the long-term analysis.
  form->Data().StageCount = 2;
  form->UpdateCommands();
  EXPECT_FALSE(form->Action(C::OptionsLong)->isEnabled());
  form->Data().StageCount = 1;
}

TEST_F(MainFormTest, UnitsAndEarthPressureModes) {
  Trigger(C::UnitsSI);
  EXPECT_EQ(form->Data().UnitSystem, 2);
  EXPECT_TRUE(form->Action(C::UnitsSI)->isChecked());
  EXPECT_FALSE(form->Action(C::UnitsEnglish)->isChecked());
  Trigger(C::EarthPressureUser);
  EXPECT_EQ(form->Data().EarthPressureMode, 1);
  EXPECT_TRUE(form->Data().UserEarthPressure);
  EXPECT_TRUE(form->Action(C::DistributedActiveEarthPressureMenu)->isEnabled());
  Trigger(C::EarthPressureTrapezoidal);
  EXPECT_FALSE(form->Data().UserEarthPressure);
}

TEST_F(MainFormTest, RecentFilesReachTheSettings) {
  form->UpdatePrevFile("/walls/a.rv5d");
  form->UpdatePrevFile("/walls/b.rv5d");
  form->SetEditorPath("/usr/bin/editor");
  form->UpdateRegistry();
  TMainForm other;
  other.ReadSettings();
  EXPECT_EQ(other.RecentFiles().Entry(0), "/walls/b.rv5d");
  EXPECT_EQ(other.RecentFiles().Entry(1), "/walls/a.rv5d");
  EXPECT_EQ(other.RecentFiles().Count(), 2);
  EXPECT_EQ(other.EditorPath(), "/usr/bin/editor");

  // The File menu lists them, numbered, and the separator before Exit shows.
  QMenu* file = form->Menu("&File");
  ASSERT_NE(file, nullptr);
  emit file->aboutToShow();
  QStringList shown;
  for (QAction* a : file->actions()) {
    if (a->isVisible() && a->text().startsWith(QLatin1Char('1'))) shown << a->text();
  }
  EXPECT_EQ(shown, QStringList{"1 /walls/b.rv5d"});

  // A value of another kind clears the editor and the list.
  {
    QSettings s{QStringLiteral("Dalmor"), QStringLiteral("RAMVEX")};
    s.setValue("2015.5.13/File3", QStringList{"x", "y"});
  }
  TMainForm broken;
  broken.ReadSettings();
  EXPECT_EQ(broken.RecentFiles().Count(), 0);
  EXPECT_EQ(broken.EditorPath(), "xdg-open");
  QSettings{QStringLiteral("Dalmor"), QStringLiteral("RAMVEX")}.clear();
}

TEST_F(MainFormTest, WindowMenuListsFiftyChildren) {
  // A table has one editor at most, so the other children are plain windows.
  ShowEditor(*form->Tables().PileSect, form->MdiArea());
  for (int i = 1; i < 51; ++i) {
    QMdiSubWindow* sub = form->MdiArea()->addSubWindow(new QLabel(QStringLiteral("child %1").arg(i)));
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
  }
  QMenu* window = form->Menu("&Window");
  ASSERT_NE(window, nullptr);
  emit window->aboutToShow();
  int listed = 0;
  bool pastSeparator = false;
  for (QAction* a : window->actions()) {
    if (a->isSeparator()) {
      pastSeparator = true;
      EXPECT_TRUE(a->isVisible());
    } else if (pastSeparator && a->isVisible()) {
      ++listed;
    }
  }
  EXPECT_EQ(listed, 50);
  EXPECT_EQ(form->MdiArea()->subWindowList().size(), 51);
  form->CloseChildWindows();
  EXPECT_TRUE(form->MdiArea()->subWindowList().isEmpty());
}

TEST_F(MainFormTest, TextFilesOpenWithAnArgumentList) {
  // A name that a shell would split or run stays one argument.
  const QString odd = Path("a;b \"c\" $(x).rv5d");
  savePath = odd;
  ASSERT_TRUE(form->FileSaveAs());
  Trigger(C::CompInput);
  EXPECT_EQ(started, QStringList{"xdg-open|" + odd});
  startSucceeds = false;
  Trigger(C::CompInput);
  EXPECT_EQ(messages.last(), "An error occurred in running the Word Processor");
  // The report does not exist: its command is off.
  EXPECT_FALSE(form->Action(C::CompOutput)->isEnabled());
}

TEST_F(MainFormTest, RunAnalysisSavesFirst) {
  int runs = 0;
  form->OnRunAnalysis = [&runs] { ++runs; };
  savePath.clear();
  Trigger(C::CompRun);  // the user cancels the naming: no run
  EXPECT_EQ(runs, 0);
  savePath = Path("run.rv5d");
  Trigger(C::CompRun);
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(QFileInfo::exists(savePath));
  Trigger(C::CompRun);  // saved under its name now: no dialog
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(saveProposals.size(), 2);
}

TEST_F(MainFormTest, ResultCommandsFollowTheHooks) {
  savePath = Path("results.rv5d");
  ASSERT_TRUE(form->FileSaveAs());
  QFile plot(Path("results.rv5p"));
  ASSERT_TRUE(plot.open(QIODevice::WriteOnly));
  plot.close();
  std::array<bool, kGraphCount> data{};
  data.fill(true);
  data[static_cast<size_t>(TGraph::pltDef)] = false;  // one point per curve
  form->GraphHasData = [&data](TGraph g) { return data[static_cast<size_t>(g)]; };
  form->ResultsAvailable = true;
  form->UpdateResultCommands();
  EXPECT_FALSE(form->Action(C::CompDef)->isEnabled());
  EXPECT_FALSE(form->Action(C::DefMomShear)->isEnabled());
  EXPECT_TRUE(form->Action(C::CompMom)->isEnabled());
  EXPECT_TRUE(form->Action(C::CompLayers)->isEnabled());

  std::vector<TGraph> shown;
  form->OnShowGraph = [&shown](TGraph g) { shown.push_back(g); };
  Trigger(C::CompMom);
  Trigger(C::CompCombine);
  EXPECT_EQ(shown, (std::vector<TGraph>{TGraph::pltMom, TGraph::PltCombine}));

  // Unset hooks: the 3D view command does nothing.
  Trigger(C::View3D);
  EXPECT_FALSE(form->Action(C::Show3DViewMenu)->isVisible());
  form->OnOpen3DView = [] {};
  Trigger(C::View3D);
  EXPECT_TRUE(form->Action(C::Show3DViewMenu)->isVisible());
  EXPECT_TRUE(form->Action(C::Tool3DPan)->isVisible());
  std::vector<std::pair<int, bool>> modes;
  form->On3DMouseMode = [&modes](int m, bool w) { modes.emplace_back(m, w); };
  Trigger(C::Tool3DZoomWindow);
  Trigger(C::Tool3DPan);
  EXPECT_EQ(modes, (std::vector<std::pair<int, bool>>{{4, true}, {1, false}}));
  EXPECT_TRUE(form->Action(C::Tool3DPan)->isChecked());
  form->Close3DView();
  EXPECT_FALSE(form->Action(C::Tool3DPan)->isVisible());
}

TEST_F(MainFormTest, HelpPagesBesideTheProgram) {
  Trigger(C::HelpContents);
  Trigger(C::HelpUsersManual);
  Trigger(C::HelpTechnicalManual);
  ASSERT_EQ(urls.size(), 3);
  const QString docs = QCoreApplication::applicationDirPath() + "/docs/";
  EXPECT_EQ(urls[0], QUrl::fromLocalFile(docs + "contents.html"));
  EXPECT_EQ(urls[1], QUrl::fromLocalFile(docs + "users-manual.pdf"));
  EXPECT_EQ(urls[2], QUrl::fromLocalFile(docs + "technical-manual.pdf"));
}

TEST_F(MainFormTest, UpdateCheckAddress) {
  Trigger(C::HelpUpdates);
  ASSERT_EQ(urls.size(), 1);
  EXPECT_EQ(urls[0].query(), "RAMVEX;2015.5.13");
  EXPECT_EQ(urls[0].toString(QUrl::RemoveQuery), QString::fromLatin1(TMainForm::kUpdateAddress));
}

TEST_F(MainFormTest, NeverSavedProjectIsNamedBeforeItGetsStages) {
  form->ShowStageDialog(false);
  TDlgStage* stage = form->StageDialog();
  ASSERT_NE(stage, nullptr);
  savePath.clear();
  EXPECT_FALSE(stage->OnAccept(3));
  EXPECT_EQ(form->Data().StageCount, 1);
  savePath = Path("staged.rv5d");
  EXPECT_TRUE(stage->OnAccept(3));
  EXPECT_EQ(form->Data().StageCount, 3);
  EXPECT_TRUE(QFileInfo::exists(Path("staged.st3")));
  EXPECT_EQ(form->StatusText(), "Construction Stage Number: 1");
  EXPECT_TRUE(form->Action(C::Stage3)->isVisible());
  stage->close();
}

}  // namespace
}  // namespace ramvex::testing
