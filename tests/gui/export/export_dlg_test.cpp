#include "ExportDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <cstdlib>

#include "export_fixture.h"
#include "xlsx_reader.h"

// fontconfig keeps its configuration until FcFini, which Qt never calls;
// LeakSanitizer is told so.  Unused without the sanitizer.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace ramvex {
namespace {

namespace fs = std::filesystem;

struct ExportDlgTest : test::ExportFixture {
  static void SetUpTestSuite() {
    if (QApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "export_dlg_tests";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
  }

  std::vector<std::string> messages;
  std::vector<fs::path> opened;

  // The dialog as the main window sets it up, with the message box and the
  // spreadsheet application replaced.
  std::unique_ptr<TExportDlg> MakeDialog(bool ready) {
    auto dlg = std::make_unique<TExportDlg>(graphs);
    dlg->ResultsReady = [ready] { return ready; };
    dlg->Message = [this](const std::string& m) { messages.push_back(m); };
    dlg->Open = [this](const fs::path& p) {
      opened.push_back(p);
      return true;
    };
    dlg->WorkbookFolder = folder;
    return dlg;
  }

  // Saves what the user sees when RAMVEX_EXPORT_SNAPSHOTS names a folder.
  static void Snapshot(QWidget& w, const char* name) {
    if (const char* dir = std::getenv("RAMVEX_EXPORT_SNAPSHOTS")) w.grab().save(QString(dir) + "/" + name + ".png");
  }
};

TEST_F(ExportDlgTest, BeforeAnyRunEveryEntryIsDisabledAndNothingCanBeGenerated) {
  auto dlg = MakeDialog(false);
  dlg->show();
  Snapshot(*dlg, "export-before-run");
  const std::vector<TExportItem> items = dlg->Items();
  ASSERT_EQ(items.size(), 7u);
  for (const TExportItem& i : items) EXPECT_FALSE(i.Enabled || i.Checked) << i.Caption;
  EXPECT_FALSE(dlg->GenerateButton->isEnabled());
  dlg->SelectAllButton->click();
  EXPECT_EQ(CheckedCount(dlg->Items()), 0);
  EXPECT_FALSE(dlg->GenerateButton->isEnabled());
  EXPECT_EQ(dlg->windowTitle(), "Export to Excel");
}

TEST_F(ExportDlgTest, UnsetConditionFollowsTheGraphs) {
  TExportDlg dlg(graphs);
  EXPECT_EQ(CheckedCount(dlg.Items()), 0);
  ReadStagedExample();
  dlg.FormActivate();
  EXPECT_EQ(CheckedCount(dlg.Items()), 7);
}

TEST_F(ExportDlgTest, ButtonsFollowTheCheckMarksAndLeaveDisabledEntriesAlone) {
  // No p-y curves and no earth pressure: those two entries are disabled.
  ASSERT_TRUE(graphs.ReadPlotText(test::PlotText(1, 2, {}, {{0, 1, 2, 3, 4}, {1, 2, 3, 4, 5}}), project));
  auto dlg = MakeDialog(true);
  dlg->show();
  std::vector<TExportItem> items = dlg->Items();
  EXPECT_EQ(items[0].Caption, "p-y Curves");
  EXPECT_FALSE(items[0].Enabled);
  EXPECT_FALSE(items[5].Enabled);
  EXPECT_EQ(CheckedCount(items), 5);
  EXPECT_TRUE(dlg->GenerateButton->isEnabled());

  dlg->UnselectAllButton->click();
  EXPECT_EQ(CheckedCount(dlg->Items()), 0);
  EXPECT_FALSE(dlg->GenerateButton->isEnabled());

  dlg->SetChecked(3, true);  // "Moment vs Depth"
  EXPECT_TRUE(dlg->GenerateButton->isEnabled());
  dlg->SetChecked(0, true);  // disabled: no effect
  EXPECT_FALSE(dlg->Items()[0].Checked);
  dlg->SetChecked(3, false);
  EXPECT_FALSE(dlg->GenerateButton->isEnabled());

  dlg->SelectAllButton->click();
  items = dlg->Items();
  EXPECT_FALSE(items[0].Checked);
  EXPECT_FALSE(items[5].Checked);
  EXPECT_EQ(CheckedCount(items), 5);
  Snapshot(*dlg, "export-two-disabled");
}

TEST_F(ExportDlgTest, GenerateWritesThePickedGraphsInListOrderAndReportsWhereTheFileIs) {
  ReadStagedExample();
  auto dlg = MakeDialog(true);
  dlg->show();
  Snapshot(*dlg, "export-staged");
  dlg->UnselectAllButton->click();
  dlg->SetChecked(5, true);  // "Earth Pressure Distribution"
  dlg->SetChecked(1, true);  // "Deflection vs Depth"
  dlg->GenerateButton->click();

  ASSERT_EQ(messages.size(), 1u);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(messages[0].rfind(kExportCompleted, 0), 0u) << messages[0];
  EXPECT_NE(messages[0].find(opened[0].string()), std::string::npos) << messages[0];
  const test::Xlsx book(opened[0]);
  EXPECT_EQ(book.Names(), (std::vector<std::string>{"Legend", "Page_1", "Plot_1", "Page_2", "Plot_2"}));
  EXPECT_EQ(book.Sheet("Page_1").Cell("A1").Text, "Deflection vs Depth");
  EXPECT_EQ(book.Sheet("Page_2").Cell("A1").Text, "Earth Pressure Distribution");
  if (const char* dir = std::getenv("RAMVEX_EXPORT_SNAPSHOTS")) fs::copy_file(opened[0], fs::path(dir) / "staged.xlsx", fs::copy_options::overwrite_existing);

  // Shown again after the results went away: the marks follow the commands.
  dlg->hide();
  dlg->ResultsReady = [] { return false; };
  dlg->show();
  EXPECT_EQ(CheckedCount(dlg->Items()), 0);
  EXPECT_FALSE(dlg->GenerateButton->isEnabled());
}

TEST_F(ExportDlgTest, AWorkbookThatCannotBeWrittenIsAMessageNotACrash) {
  ReadStagedExample();
  auto dlg = MakeDialog(true);
  dlg->WorkbookFolder = folder / "gone";
  dlg->show();
  const TExportOutcome out = dlg->Generate();
  EXPECT_TRUE(out.File.empty());
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("The workbook could not be created in the folder", 0), 0u) << messages[0];
}

}  // namespace
}  // namespace ramvex
