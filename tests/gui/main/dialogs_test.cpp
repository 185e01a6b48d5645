#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <cmath>

#include "CSD.h"
#include "ConLoads.h"
#include "Options.h"
#include "Prop.h"
#include "Stage.h"
#include "Title.h"
#include "main_test_support.h"

namespace ramvex::testing {
namespace {

using C = TCommand;

class TFakeEditor : public TTableListener {
 public:
  void CellChanged(int, int) override {}
  void StructureChanged() override {}
};

class DialogsTest : public MainFormTest {
 protected:
  template <class T>
  T* Open(C command) {
    Trigger(command);
    auto* d = qobject_cast<T*>(form->InputDialog(command));
    EXPECT_NE(d, nullptr);
    return d;
  }

  // Types into a field as the user would, leaving the focus in it.
  static void Type(TDataEdit* field, const QString& text) {
    field->setFocus();
    field->setText(text);
  }

  static QString LabelOf(const TDataEdit* field) { return field->EditLabel()->text(); }
};

TEST_F(DialogsTest, FreeHeightInFeetInEnglishUnits) {
  form->Data().FreeHeight = 240;  // inches
  auto* prop = Open<TDlgProp>(C::DataProp);
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->parentWidget()->windowTitle(), "Wall Properties");
  EXPECT_EQ(prop->FreeHeight()->text(), "20");
  EXPECT_EQ(LabelOf(prop->FreeHeight()), "Free Height of Wall (ft)");
  EXPECT_EQ(LabelOf(prop->IncrementLength()), "Increment Length (in)");
  Type(prop->FreeHeight(), "25");
  EXPECT_TRUE(form->CommitActiveWindow());
  EXPECT_EQ(form->Data().FreeHeight, 300.0L);
  EXPECT_TRUE(form->IsModified());
}

TEST_F(DialogsTest, LookingAtADialogChangesNothing) {
  form->Data().FreeHeight = 100;  // 8.333... ft: shown rounded, never stored back
  auto* prop = Open<TDlgProp>(C::DataProp);
  ASSERT_NE(prop, nullptr);
  // A new project has no increments; the field shows its lowest value.
  EXPECT_EQ(prop->Increments()->text(), "1");
  EXPECT_TRUE(form->CommitActiveWindow());
  EXPECT_EQ(form->Data().IncrementCount, 0);
  EXPECT_EQ(form->Data().FreeHeight, 100.0L);
  EXPECT_FALSE(form->IsModified());
}

TEST_F(DialogsTest, IncrementsAreWholeNumbersFromOneTo300) {
  auto* prop = Open<TDlgProp>(C::DataProp);
  ASSERT_NE(prop, nullptr);
  Type(prop->Increments(), "0");
  EXPECT_FALSE(form->CommitActiveWindow());
  EXPECT_EQ(fieldMessages, QStringList{"Entry must be greater than or equal to 1"});
  EXPECT_EQ(prop->Increments()->text(), "1");
  EXPECT_EQ(form->Data().IncrementCount, 0);  // nothing stored from a failed entry
  Type(prop->Increments(), "120");
  EXPECT_TRUE(form->CommitActiveWindow());
  EXPECT_EQ(form->Data().IncrementCount, 120);
}

TEST_F(DialogsTest, InvalidEntryStopsACommand) {
  auto* prop = Open<TDlgProp>(C::DataProp);
  ASSERT_NE(prop, nullptr);
  form->SetModified(false);
  Type(prop->Increments(), "2*");
  Trigger(C::FileNew);  // not run: the entry must be corrected first
  EXPECT_NE(form->InputDialog(C::DataProp), nullptr);
  EXPECT_EQ(fieldMessages, QStringList{"Entry must be a valid integer."});
}

TEST_F(DialogsTest, LeavingADialogWithAnInvalidEntryBringsItBack) {
  Trigger(C::DataTitle);
  auto* prop = Open<TDlgProp>(C::DataProp);
  ASSERT_NE(prop, nullptr);
  QMdiSubWindow* propWindow = form->MdiArea()->currentSubWindow();
  ASSERT_EQ(propWindow->widget(), prop);
  Type(prop->Increments(), "0.5");
  QMdiSubWindow* titleWindow = qobject_cast<QMdiSubWindow*>(form->InputDialog(C::DataTitle)->parentWidget());
  ASSERT_NE(titleWindow, nullptr);
  form->MdiArea()->setActiveSubWindow(titleWindow);
  EXPECT_EQ(form->MdiArea()->currentSubWindow(), propWindow);
  EXPECT_EQ(fieldMessages, QStringList{"Entry must be an integer."});
  EXPECT_EQ(form->Data().IncrementCount, 0);
  // Corrected, the switch goes through and the value is stored.
  Type(prop->Increments(), "40");
  form->MdiArea()->setActiveSubWindow(titleWindow);
  EXPECT_EQ(form->MdiArea()->currentSubWindow(), titleWindow);
  EXPECT_EQ(form->Data().IncrementCount, 40);
}

TEST_F(DialogsTest, SurfacePressurePerSquareFootAndSlopeLimit) {
  form->Data().SurfacePressure = 1;  // per square inch
  auto* csd = Open<TDlgCSD>(C::DataCSD);
  ASSERT_NE(csd, nullptr);
  EXPECT_EQ(csd->SurfacePressure()->text(), "144");
  EXPECT_EQ(LabelOf(csd->FreeHeight()), "&Free Height of Wall, H (ft)");
  Type(csd->BackfillSlope(), "50");
  EXPECT_FALSE(form->CommitActiveWindow());
  EXPECT_EQ(fieldMessages, QStringList{"Entry must be less than or equal to 45"});
  EXPECT_EQ(csd->BackfillSlope()->text(), "45");
  EXPECT_TRUE(form->CommitActiveWindow());
  EXPECT_EQ(form->Data().BackfillSlope, 45.0L);
  Type(csd->SurfacePressure(), "288");
  EXPECT_TRUE(form->CommitActiveWindow());
  EXPECT_EQ(form->Data().SurfacePressure, 2.0L);
}

TEST_F(DialogsTest, UnitSwitchRelabelsAnOpenDialog) {
  form->Data().FreeHeight = 240;
  form->Data().IncrementLength = 12;
  auto* prop = Open<TDlgProp>(C::DataProp);
  ASSERT_NE(prop, nullptr);
  Trigger(C::UnitsSI);
  EXPECT_EQ(LabelOf(prop->FreeHeight()), "Free Height of Wall (m)");
  EXPECT_EQ(LabelOf(prop->IncrementLength()), "Increment Length (m)");
  // 240 in = 6.096 m, shown without the feet conversion.
  EXPECT_NEAR(prop->FreeHeight()->text().toDouble(), 6.096, 1e-12);
  EXPECT_NEAR(prop->IncrementLength()->text().toDouble(), 0.3048, 1e-12);
  Trigger(C::UnitsOther);
  EXPECT_EQ(LabelOf(prop->FreeHeight()), "Free Height of Wall (L2)");
}

TEST_F(DialogsTest, ClearingConcentratedLoadsClosesTheEditor) {
  form->Data().ApplyConcentratedLoads = true;
  form->UpdateCommands();
  auto* dlg = Open<TDlgConLoads>(C::DataBoundCond);
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->Check()->isChecked());
  EXPECT_TRUE(dlg->Button()->isEnabled());
  TFakeEditor editor;
  form->Tables().BoundCond->SetListener(&editor);
  dlg->Check()->click();
  EXPECT_FALSE(form->Tables().BoundCond->EditorOpen());
  EXPECT_FALSE(dlg->Button()->isEnabled());
  EXPECT_TRUE(form->Data().ApplyConcentratedLoads);  // stored when the dialog lets go
  EXPECT_TRUE(form->CommitActiveWindow());
  EXPECT_FALSE(form->Data().ApplyConcentratedLoads);
  EXPECT_TRUE(form->IsModified());
}

TEST_F(DialogsTest, TitleIsOneLineOfEightyCharacters) {
  auto* title = Open<TDlgTitle>(C::DataTitle);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->TitleBox()->toPlainText(), "New Wall");
  title->TitleBox()->setFocus();
  title->TitleBox()->setPlainText(QString(50, QLatin1Char('a')) + "\n" + QString(50, QLatin1Char('b')));
  QTest::keyClick(title->TitleBox(), Qt::Key_Return);
  EXPECT_TRUE(form->CommitActiveWindow());
  EXPECT_EQ(form->Data().Title, std::string(50, 'a') + " " + std::string(29, 'b'));
  EXPECT_TRUE(form->IsModified());
}

TEST_F(DialogsTest, DialogsExistOnceAndStoreWhenClosed) {
  Open<TDlgTitle>(C::DataTitle);
  auto* title = Open<TDlgTitle>(C::DataTitle);
  EXPECT_EQ(form->MdiArea()->subWindowList().size(), 1);
  ASSERT_NE(title, nullptr);
  title->TitleBox()->setPlainText("Edited");
  form->SetModified(false);
  // Closing stores; the main window forgets the instance.
  title->parentWidget()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(form->Data().Title, "Edited");
  EXPECT_EQ(form->InputDialog(C::DataTitle), nullptr);
}

TEST_F(DialogsTest, TextEditorOption) {
  auto* options = Open<TDlgOptions>(C::OptionofTexeEditor1);
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->EditorBox()->text(), "xdg-open");
  options->ChooseProgram = [](const QString& preset) { return preset == "xdg-open" ? QString("/usr/bin/vi") : QString(); };
  options->BrowseButton()->click();
  EXPECT_EQ(options->EditorBox()->text(), "/usr/bin/vi");
  EXPECT_TRUE(form->CommitActiveWindow());
  EXPECT_EQ(form->EditorPath(), "/usr/bin/vi");
}

TEST(StageDialog, CheckBoxAndSpinControl) {
  EnsureApplication();
  TDlgStage dlg;
  dlg.Activate(1);
  EXPECT_FALSE(dlg.Check()->isChecked());
  EXPECT_FALSE(dlg.Count()->isEnabled());
  EXPECT_FALSE(dlg.Up()->isEnabled());
  dlg.Check()->click();
  EXPECT_EQ(dlg.Count()->text(), "2");
  EXPECT_TRUE(dlg.Count()->isEnabled());
  for (int i = 0; i < 6; ++i) dlg.Up()->click();
  EXPECT_EQ(dlg.Count()->text(), "5");
  for (int i = 0; i < 6; ++i) dlg.Down()->click();
  EXPECT_EQ(dlg.Count()->text(), "2");
  dlg.Check()->click();
  EXPECT_EQ(dlg.Count()->text(), "1");

  int accepted = 0;
  dlg.OnAccept = [&accepted](int n) {
    accepted = n;
    return true;
  };
  dlg.Activate(4);
  EXPECT_TRUE(dlg.Check()->isChecked());
  dlg.Up()->click();
  dlg.OkButton()->click();
  EXPECT_EQ(accepted, 5);
}

}  // namespace
}  // namespace ramvex::testing
