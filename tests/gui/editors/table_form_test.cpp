#include "TableForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "DefinedTables.h"
#include "TableChartForm.h"
#include "TableEditors.h"

// fontconfig keeps its configuration until FcFini, which Qt never calls;
// LeakSanitizer is told so.  Unused without the sanitizer.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace ramvex {

void PrintTo(const TCell& c, std::ostream* os) { *os << "(column " << c.Column << ", row " << c.Row << ")"; }

namespace {

// A work area holding the editors, the project's tables and the messages
// the editors would have shown.
class EditorWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "gui_editor_window_tests";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
  }

  void SetUp() override {
    tables = CreateProjectTables();
    area = std::make_unique<QMdiArea>();
    area->resize(1400, 1000);
    area->show();
    SetEditorNotifier([this](QWidget*, const QString& message) { messages << message; });
  }

  void TearDown() override {
    SetEditorNotifier(nullptr);
    SetProcessStarter(nullptr);
    area.reset();
    QApplication::processEvents();
  }

  TTableForm* Open(TGridTable& table) {
    auto* form = dynamic_cast<TTableForm*>(ShowEditor(table, area.get()));
    QApplication::processEvents();
    return form;
  }

  // Types text into a cell's editor as the user would, without leaving it.
  void Type(TTableForm* form, int column, int row, const QString& text) {
    ASSERT_TRUE(form->GoToCell(column, row));
    TEditorGrid* grid = form->Grid();
    grid->Edit(grid->currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
  }

  void PressEnter(TTableForm* form) {
    TEditorGrid* grid = form->Grid();
    QWidget* editor = grid->indexWidget(grid->currentIndex());
    QTest::keyClick(editor ? editor : grid, Qt::Key_Return);
    QApplication::processEvents();
  }

  QString CellText(TTableForm* form, int column, int row) {
    return form->Model()->data(form->Model()->index(row, column), Qt::DisplayRole).toString();
  }

  std::unique_ptr<TProjectTables> tables;
  std::unique_ptr<QMdiArea> area;
  QStringList messages;
};

TEST_F(EditorWindowTest, TheMainWindowSeesTheEditorAsItsCommitTarget) {
  QWidget* w = ShowEditor(*tables->PileSect, area.get());
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(area->subWindowList().size(), 1);
  EXPECT_EQ(area->subWindowList().front()->widget(), w);
  EXPECT_NE(dynamic_cast<TCommitTarget*>(w), nullptr);
  EXPECT_EQ(area->subWindowList().front()->windowTitle(), "Wall Stiffness ");
  // A second show brings the same window forward.
  EXPECT_EQ(ShowEditor(*tables->PileSect, area.get()), w);
  EXPECT_EQ(area->subWindowList().size(), 1);
}

TEST_F(EditorWindowTest, AnExpressionIsStoredAsItsValue) {
  TTableForm* form = Open(*tables->PYMod);
  Type(form, 1, 0, "2*3");
  PressEnter(form);
  EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
  EXPECT_EQ(tables->PYMod->Float(1, 0), 6);
  EXPECT_EQ(CellText(form, 1, 0), "6");
  // Enter moved down the column.
  EXPECT_EQ(form->CurrentCell(), (TCell{1, 1}));
  EXPECT_TRUE(tables->PYMod->IsChanged());
  // From the last row to the top of the next column.
  Type(form, 1, 1, "0.5");
  PressEnter(form);
  EXPECT_EQ(tables->PYMod->Float(1, 1), 0.5L);
  EXPECT_EQ(form->CurrentCell(), (TCell{2, 0}));
}

TEST_F(EditorWindowTest, AnInvalidEntryKeepsTheCellAndTheWindow) {
  TTableForm* form = Open(*tables->PYMod);
  Type(form, 1, 0, "2*");
  PressEnter(form);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages.front().startsWith("Entry could not be evaluated:\n")) << messages.front().toStdString();
  EXPECT_EQ(form->CurrentCell(), (TCell{1, 0}));
  EXPECT_EQ(CellText(form, 1, 0), "2*");
  EXPECT_EQ(tables->PYMod->Float(1, 0), 1);  // the default stays

  // Neither another cell nor closing is allowed while the entry is wrong.
  EXPECT_FALSE(form->GoToCell(0, 1));
  QMdiSubWindow* sub = area->subWindowList().front();
  EXPECT_FALSE(sub->close());
  EXPECT_FALSE(form->CommitEdit());
  EXPECT_EQ(area->subWindowList().size(), 1);

  // Corrected, the entry is taken and the window closes.
  Type(form, 1, 0, "1.25");
  EXPECT_TRUE(sub->close());
  QApplication::processEvents();
  EXPECT_EQ(tables->PYMod->Float(1, 0), 1.25L);
  EXPECT_TRUE(area->subWindowList().isEmpty());
  EXPECT_FALSE(tables->PYMod->EditorOpen());
}

TEST_F(EditorWindowTest, IntegerCellsCheckTheirLimits) {
  TTableForm* form = Open(*tables->PileSect);
  Type(form, 0, 0, "2.5");
  EXPECT_FALSE(form->CommitEdit());
  Type(form, 0, 0, "-2.5");
  EXPECT_FALSE(form->CommitEdit());
  Type(form, 0, 0, "2147483647");
  EXPECT_FALSE(form->CommitEdit());
  EXPECT_EQ(messages, (QStringList{"Entry must be an integer.", "Entry must be an integer.",
                                   "Entry must be between 0 and 2147483600."}));
  Type(form, 0, 0, "7");
  EXPECT_TRUE(form->CommitEdit());
  EXPECT_EQ(tables->PileSect->Int(0, 0), 7);
}

TEST_F(EditorWindowTest, LeavingAnUntouchedCellKeepsTheStoredDigits) {
  // The cell shows eight digits; passing through it must not round the value.
  tables->PYMod->Column(1)->SetFloat(0, 1.23456789012L);
  TTableForm* form = Open(*tables->PYMod);
  ASSERT_TRUE(form->GoToCell(1, 0));
  form->Grid()->Edit(form->Grid()->currentIndex());
  PressEnter(form);
  EXPECT_EQ(tables->PYMod->Float(1, 0), 1.23456789012L);
}

TEST_F(EditorWindowTest, LongTablesOpenWithTenRowsFiveUnderAChart) {
  tables->DistLoad->SetRowCount(25);
  TTableForm* plain = Open(*tables->DistLoad);
  EXPECT_EQ(plain->ShownRows(), 10);
  EXPECT_TRUE(plain->Grid()->verticalScrollBar()->isVisible());
  EXPECT_FALSE(plain->Grid()->horizontalScrollBar()->isVisible());

  tables->Rows2->SetRowCount(25);
  TTableForm* chart = Open(*tables->Rows2);
  EXPECT_EQ(chart->ShownRows(), 5);
  EXPECT_TRUE(chart->Grid()->verticalScrollBar()->isVisible());

  tables->PYMod->SetRowCount(4);
  TTableForm* small = Open(*tables->PYMod);
  EXPECT_EQ(small->ShownRows(), 4);
  EXPECT_FALSE(small->Grid()->verticalScrollBar()->isVisible());
  // The grid holds exactly the header and the shown rows.
  const int rows = small->Grid()->viewport()->height() / small->Grid()->rowHeight(0);
  EXPECT_EQ(rows, 4);
}

TEST_F(EditorWindowTest, SoilParameterTablesHaveNoRowButtons) {
  TTableForm* form = Open(*tables->TblClay1);
  EXPECT_FALSE(form->AddButton()->isVisibleTo(form));
  EXPECT_FALSE(form->InsertButton()->isVisibleTo(form));
  EXPECT_FALSE(form->DeleteButton()->isVisibleTo(form));
  EXPECT_TRUE(form->CommentLabel()->isVisibleTo(form));
  EXPECT_EQ(form->HeaderRows(), 2);
}

TEST_F(EditorWindowTest, RowCommandsFollowTheLimits) {
  TGridTable& sect = *tables->PileSect;  // 1 to 10 rows
  TTableForm* form = Open(sect);
  EXPECT_FALSE(form->DeleteButton()->isEnabled());
  form->AddButton()->click();
  form->AddButton()->click();
  EXPECT_EQ(sect.RowCount(), 3);
  EXPECT_EQ(form->ShownRows(), 3);
  EXPECT_TRUE(form->DeleteButton()->isEnabled());
  // Insert before the current row: the new row takes its place.
  sect.Column(3)->SetFloat(1, 42);
  ASSERT_TRUE(form->GoToCell(0, 1));
  form->InsertButton()->click();
  EXPECT_EQ(sect.RowCount(), 4);
  EXPECT_EQ(sect.Float(3, 2), 42);
  EXPECT_EQ(sect.Float(3, 1), 0);
  ASSERT_TRUE(form->GoToCell(0, 2));
  form->DeleteButton()->click();
  EXPECT_EQ(sect.RowCount(), 3);
  EXPECT_EQ(sect.Float(3, 1), 0);
  EXPECT_EQ(sect.Float(3, 2), 0);
  for (int i = 0; i < 20; ++i) form->AddButton()->click();
  EXPECT_EQ(sect.RowCount(), 10);
  EXPECT_FALSE(form->AddButton()->isEnabled());
  EXPECT_FALSE(form->InsertButton()->isEnabled());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EditorWindowTest, PastedLinesFillTheCurve) {
  TGridTableChart& curve = *tables->PYCurve2;  // 2 to 17 rows
  auto* form = dynamic_cast<TTableChartForm*>(Open(curve));
  ASSERT_NE(form, nullptr);
  QApplication::clipboard()->setText("-1 10\r\n0 0\r\n1 -10\r\n");
  form->PasteButton()->click();
  EXPECT_EQ(curve.RowCount(), 3);
  EXPECT_EQ(curve.Float(0, 2), 1);
  EXPECT_EQ(curve.Float(1, 2), -10);
  EXPECT_EQ(CellText(form, 1, 2), "-10");
  // The chart shows what was pasted.
  EXPECT_EQ(form->Chart()->Model().First.size(), 3u);

  // The last line, not ended by a break, is not read.
  QApplication::clipboard()->setText("-1 10\r\n0 0\r\n1 -10");
  form->PasteButton()->click();
  EXPECT_EQ(curve.RowCount(), 2);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EditorWindowTest, AClipboardWithoutTextChangesNothing) {
  TGridTableChart& curve = *tables->PYCurve2;
  auto* form = dynamic_cast<TTableChartForm*>(Open(curve));
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::red);
  QApplication::clipboard()->setImage(image);
  form->PasteButton()->click();
  EXPECT_EQ(messages, QStringList{"There is no text on the Clipboard"});
  EXPECT_EQ(curve.RowCount(), 2);

  // Ten megabytes of text without a line of two numbers.
  messages.clear();
  QApplication::clipboard()->setText(QString(10 * 1024 * 1024, QLatin1Char('x')) + "\n");
  form->PasteButton()->click();
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_EQ(curve.RowCount(), 2);
}

TEST_F(EditorWindowTest, AFileFillsAtMostMaxRows) {
  QTemporaryDir dir;
  const QString name = dir.filePath("curve.txt");
  {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Deflection  Resistance\n");
    for (int i = 1; i <= 30; ++i) f.write(QByteArray::number(i) + ", " + QByteArray::number(-5 * i) + "\n");
  }
  TGridTableChart& curve = *tables->PYCurve2;
  auto* form = dynamic_cast<TTableChartForm*>(Open(curve));
  EXPECT_FALSE(form->ReadFileButton()->isEnabled());
  form->FileName()->setText(name);
  EXPECT_TRUE(form->ReadFileButton()->isEnabled());
  EXPECT_TRUE(form->ViewFileButton()->isEnabled());
  form->ReadFileButton()->click();
  EXPECT_EQ(curve.RowCount(), 17);
  EXPECT_EQ(curve.Float(1, 16), -85);
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_TRUE(curve.IsChanged());
}

TEST_F(EditorWindowTest, AFileThatVanishedIsReportedAndNothingChanges) {
  QTemporaryDir dir;
  const QString name = dir.filePath("gone.txt");
  {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1 2\n3 4\n5 6\n");
  }
  TGridTableChart& curve = *tables->PYCurve2;
  auto* form = dynamic_cast<TTableChartForm*>(Open(curve));
  form->FileName()->setText(name);
  ASSERT_TRUE(form->ReadFileButton()->isEnabled());
  QFile::remove(name);
  form->ReadFileClick();
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages.front().startsWith("Cannot open the file")) << messages.front().toStdString();
  EXPECT_EQ(curve.RowCount(), 2);
  EXPECT_FALSE(form->ReadFileButton()->isEnabled());
}

TEST_F(EditorWindowTest, ABinaryFileFillsNoRow) {
  QTemporaryDir dir;
  const QString name = dir.filePath("binary.dat");
  {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i) bytes.append(static_cast<char>(i * 37 % 256));
    f.write(bytes);
  }
  TGridTableChart& curve = *tables->PYCurve2;
  curve.Column(0)->SetFloat(0, 3);
  auto* form = dynamic_cast<TTableChartForm*>(Open(curve));
  form->FileName()->setText(name);
  form->ReadFileButton()->click();
  EXPECT_EQ(curve.RowCount(), 2);
  EXPECT_EQ(curve.Float(0, 0), 3);
}

TEST_F(EditorWindowTest, ViewFileStartsTheEditorWithTheFileAsItsArgument) {
  QTemporaryDir dir;
  const QString name = dir.filePath("with blank; and \"quote\".txt");
  {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QStringList started;
  SetProcessStarter([&](const QString&, const QStringList& args) {
    started = args;
    return true;
  });
  auto* form = dynamic_cast<TTableChartForm*>(Open(*tables->PYCurve2));
  form->FileName()->setText(name);
  form->ViewFileButton()->click();
  EXPECT_EQ(started, QStringList{name});
  EXPECT_TRUE(messages.isEmpty());
  SetProcessStarter([](const QString&, const QStringList&) { return false; });
  form->ViewFileButton()->click();
  EXPECT_EQ(messages, QStringList{"An error occurred in running the Word Processor"});
}

TEST_F(EditorWindowTest, NestedButtonOpensTheNestedEditor) {
  TGridTable& soil = *tables->NewSoil;
  soil.SetRowCount(3);
  soil.Column(0)->SetInt(2, kSand);
  TTableForm* form = Open(soil);
  auto* button = qobject_cast<QPushButton*>(form->ControlAt(2, 2));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), "3: Sand");
  button->click();
  QApplication::processEvents();
  ASSERT_EQ(area->subWindowList().size(), 2);
  QMdiSubWindow* nested = area->activeSubWindow();
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(nested->windowTitle(), "Sand  3");
  EXPECT_EQ(dynamic_cast<TTableForm*>(nested->widget())->Table(), soil.Nested(2, 2));

  // A new soil type replaces the parameter table, and its editor goes.
  auto* combo = qobject_cast<QComboBox*>(form->ControlAt(0, 2));
  ASSERT_NE(combo, nullptr);
  combo->setCurrentIndex(kSoftClay - 1);
  emit combo->activated(kSoftClay - 1);
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(soil.Int(0, 2), kSoftClay);
  EXPECT_EQ(soil.Nested(2, 2)->Caption(), "Clay");
  EXPECT_EQ(button->text(), "3: Clay");
  EXPECT_EQ(area->subWindowList().size(), 1);
}

TEST_F(EditorWindowTest, DeletingARowRenumbersTheNestedEditor) {
  TGridTable& soil = *tables->NewSoil;
  soil.SetRowCount(3);
  TTableForm* form = Open(soil);
  ShowEditor(*soil.Nested(2, 2), area.get());
  QApplication::processEvents();
  ASSERT_TRUE(form->GoToCell(1, 0));
  form->DeleteButton()->click();
  QApplication::processEvents();
  ASSERT_EQ(area->subWindowList().size(), 2);
  EXPECT_EQ(area->subWindowList().back()->windowTitle(), "Clay  2");
  EXPECT_EQ(qobject_cast<QPushButton*>(form->ControlAt(2, 1))->text(), "2: Clay");
}

TEST_F(EditorWindowTest, HidingAnEditorClosesItAndTheNestedOnes) {
  TGridTable& soil = *tables->NewSoil;
  soil.SetRowCount(2);
  Open(soil);
  ShowEditor(*soil.Nested(2, 1), area.get());
  QApplication::processEvents();
  ASSERT_EQ(area->subWindowList().size(), 2);
  HideEditor(soil);
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(area->subWindowList().isEmpty());
  EXPECT_FALSE(soil.EditorOpen());
  EXPECT_FALSE(soil.Nested(2, 1)->EditorOpen());
}

TEST_F(EditorWindowTest, DestroyingTheTablesClosesTheirEditors) {
  Open(*tables->PileSect);
  Open(*tables->PYCurve2);
  tables.reset();
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(area->subWindowList().isEmpty());
}

TEST_F(EditorWindowTest, AModalEditorRefusesToCloseOnAWrongEntry) {
  bool checked = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* form = dialog->findChild<TTableForm*>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->Modal());
    EXPECT_EQ(dialog->windowTitle(), "p-y Modification Factors ");
    Type(form, 0, 0, "1/0");
    dialog->reject();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(messages.size(), 1);
    Type(form, 0, 0, "12");
    dialog->reject();
    checked = true;
  });
  ShowEditorModal(*tables->PYMod, area.get());
  EXPECT_TRUE(checked);
  EXPECT_EQ(tables->PYMod->Float(0, 0), 12);
  EXPECT_FALSE(tables->PYMod->EditorOpen());
}

TEST_F(EditorWindowTest, ResizingSnapsToWholeRows) {
  tables->DistLoad->SetRowCount(25);
  TTableForm* form = Open(*tables->DistLoad);
  QMdiSubWindow* sub = area->subWindowList().front();
  const int rowHeight = form->Grid()->rowHeight(0);
  const QSize before = sub->size();
  sub->resize(before.width(), before.height() - 3 * rowHeight - rowHeight / 2);
  QApplication::processEvents();
  QApplication::processEvents();
  EXPECT_EQ(form->ShownRows(), 6);
  EXPECT_EQ(form->size(), form->sizeHint());
  EXPECT_EQ(sub->height(), before.height() - 4 * rowHeight);
}

TEST_F(EditorWindowTest, AMaximizedEditorStaysMaximized) {
  TTableForm* form = Open(*tables->PileSect);
  QMdiSubWindow* sub = area->subWindowList().front();
  sub->showMaximized();
  QApplication::processEvents();
  const QSize maximized = sub->size();
  form->AddButton()->click();
  QApplication::processEvents();
  QApplication::processEvents();
  EXPECT_TRUE(sub->isMaximized());
  EXPECT_EQ(sub->size(), maximized);
}

TEST_F(EditorWindowTest, AWrongEntryBringsItsWindowBackWhenAnotherIsActivated) {
  TTableForm* first = Open(*tables->PYMod);
  Open(*tables->PileSect);
  QMdiSubWindow* firstSub = area->subWindowList().front();
  QMdiSubWindow* secondSub = area->subWindowList().back();
  area->setActiveSubWindow(firstSub);
  QApplication::processEvents();
  Type(first, 1, 0, "3+");
  area->setActiveSubWindow(secondSub);
  QApplication::processEvents();
  EXPECT_EQ(messages.size(), 1);
  EXPECT_EQ(area->activeSubWindow(), firstSub);
  EXPECT_EQ(tables->PYMod->Float(1, 0), 1);

  // A valid entry is taken over when the window is left.
  Type(first, 1, 0, "3+1");
  area->setActiveSubWindow(secondSub);
  QApplication::processEvents();
  EXPECT_EQ(area->activeSubWindow(), secondSub);
  EXPECT_EQ(tables->PYMod->Float(1, 0), 4);
}

}  // namespace
}  // namespace ramvex
