// The dialogs of the Plot menu: what they show, what they change, and that
// Cancel changes nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "Caption.h"
#include "ChangeActiveLines.h"
#include "ChangeLineNames.h"
#include "DataEdit.h"
#include "PlotCommands.h"
#include "PlotForm.h"
#include "SaveAttb.h"
#include "example_fixture.h"

namespace ramvex {
namespace {

constexpr TCurveList P1 = TCurveList::Panel1;

// Runs `act` on the dialog that the next command opens, once it is shown.
template <class Dialog>
void WhenOpen(std::function<void(Dialog&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

using GraphDialogs = test::StagedExample;

TEST_F(GraphDialogs, LegendDialogListsEveryCurveAndColoursTheEditBox) {
  graphs.pltDef.Curve(P1, 2).Included = false;
  TfrmLineNames d(nullptr, Sink());
  d.Load(graphs.pltDef);
  EXPECT_EQ(d.windowTitle(), "Legend");
  ASSERT_EQ(d.LineList->count(), 3);  // excluded curves too
  EXPECT_EQ(d.LineList->currentRow(), 0);
  EXPECT_EQ(d.NewName->text(), "Stage: 1");
  EXPECT_EQ(d.NewName->palette().color(QPalette::Text), QColor(Qt::black));
  d.LineList->setCurrentRow(2);
  EXPECT_EQ(d.NewName->text(), "Stage: 3");
  EXPECT_EQ(d.NewName->palette().color(QPalette::Text), QColor(0xFF, 0x00, 0x00));
}

TEST_F(GraphDialogs, LegendTextIsTakenOnEnterAndAnEmptyOneIsRefused) {
  TfrmLineNames d(nullptr, Sink());
  d.Load(graphs.pltDef);
  d.show();
  d.LineList->setCurrentRow(1);
  d.NewName->setFocus();
  d.NewName->setText("Second stage");
  QTest::keyClick(d.NewName, Qt::Key_Return);
  EXPECT_EQ(d.LineList->item(1)->text(), "Second stage");
  EXPECT_TRUE(d.isVisible());  // Enter does not close the dialog

  d.NewName->setText("");
  QTest::keyClick(d.NewName, Qt::Key_Return);
  EXPECT_EQ(messages, std::vector<std::string>{kLineNeedsName});
  EXPECT_EQ(d.NewName->text(), "Second stage");
  EXPECT_EQ(d.LineList->item(1)->text(), "Second stage");

  d.Store(graphs.pltDef);
  EXPECT_EQ(graphs.pltDef.Curve(P1, 0).Name, "Stage: 1");
  EXPECT_EQ(graphs.pltDef.Curve(P1, 1).LegendText(), "Second stage");
}

TEST_F(GraphDialogs, EditLegendCommandTakesTheTextsOnOKOnly) {
  TPlotForm form(graphs.pltDef);
  TPlotCommands* commands = PlotCommandsOf(&form);
  commands->SetMessageSink(Sink());
  WhenOpen<TfrmLineNames>([](TfrmLineNames& d) {
    d.NewName->setText("Cancelled");
    d.CommitEdit();
    d.Cancel->click();
  });
  commands->EditLegendClick();
  EXPECT_EQ(graphs.pltDef.Curve(P1, 0).LegendText(), "Stage: 1");

  WhenOpen<TfrmLineNames>([](TfrmLineNames& d) {
    d.NewName->setText("Cantilever stage");
    d.OK->click();  // the pending edit is taken on OK
  });
  commands->EditLegendClick();
  EXPECT_EQ(graphs.pltDef.Curve(P1, 0).Name, "Cantilever stage");
  EXPECT_EQ(form.Legend()->item(0)->text(), "Cantilever stage *");
  EXPECT_TRUE(messages.empty());
}

TEST_F(GraphDialogs, ActiveCurvesDialogRowsAndButtons) {
  graphs.pltDef.Curve(P1, 1).Included = false;
  TfrmActiveLines d;
  d.Load(graphs.pltDef);
  EXPECT_EQ(d.windowTitle(), "Active Curves");
  ASSERT_EQ(d.CurveList->count(), 3);
  EXPECT_EQ(d.CurveList->item(0)->text(), " yes :    Stage: 1");
  EXPECT_EQ(d.CurveList->item(1)->text(), " no  :    Stage: 2");
  EXPECT_TRUE(d.CurveList->item(0)->isSelected());

  emit d.CurveList->itemDoubleClicked(d.CurveList->item(1));
  EXPECT_EQ(d.States(), (std::vector<bool>{true, true, true}));

  d.DeactivateAll->click();
  EXPECT_EQ(d.States(), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(d.CurveList->item(2)->text(), " no  :    Stage: 3");
  d.ActivateAll->click();
  EXPECT_EQ(d.States(), (std::vector<bool>{true, true, true}));

  d.CurveList->clearSelection();
  d.CurveList->item(0)->setSelected(true);
  d.CurveList->item(2)->setSelected(true);
  d.ToggleSelected->click();
  EXPECT_EQ(d.States(), (std::vector<bool>{false, true, false}));
  d.Store(graphs.pltDef);
  EXPECT_FALSE(graphs.pltDef.Curve(P1, 0).Included);
  EXPECT_TRUE(graphs.pltDef.Curve(P1, 1).Included);
}

TEST_F(GraphDialogs, ActiveCurvesCommandAppliesOnOKOnly) {
  TPlotForm form(graphs.pltDef);
  TPlotCommands* commands = PlotCommandsOf(&form);
  WhenOpen<TfrmActiveLines>([](TfrmActiveLines& d) {
    d.DeactivateAll->click();
    d.Cancel->click();
  });
  commands->ActiveCurvesClick();
  EXPECT_EQ(form.Legend()->count(), 3);

  WhenOpen<TfrmActiveLines>([](TfrmActiveLines& d) {
    d.DeactivateAll->click();
    d.CurveList->item(2)->setSelected(false);
    d.CurveList->clearSelection();
    d.CurveList->item(2)->setSelected(true);
    d.ToggleSelected->click();
    d.OK->click();
  });
  commands->ActiveCurvesClick();
  ASSERT_EQ(form.Legend()->count(), 1);
  EXPECT_EQ(form.Legend()->item(0)->text(), "Stage: 3 *");
  // The only curve left takes the first colour.
  EXPECT_EQ(form.Legend()->item(0)->foreground().color(), QColor(Qt::black));
}

TEST_F(GraphDialogs, GraphTitleIsKeptHoweverTheDialogCloses) {
  TPlotForm form(graphs.pltDef);
  form.resize(900, 650);
  TPlotCommands* commands = PlotCommandsOf(&form);
  const TPixelRect before = form.Layout().Plot;
  WhenOpen<TfrmGraphCaption>([](TfrmGraphCaption& d) {
    EXPECT_EQ(d.windowTitle(), "Graph Caption");
    EXPECT_TRUE(d.Bottom->isChecked());
    d.Edit1->setText("Three-stage excavation, wall A");
    d.Top->setChecked(true);
    d.reject();  // closed without OK
  });
  commands->GraphTitleClick();
  EXPECT_EQ(graphs.pltDef.UserTitle, "Three-stage excavation, wall A");
  EXPECT_TRUE(graphs.pltDef.TitleOnTop);
  // A title on top moves the plot area down by h/8 + h.
  const int h = DeviceFor(graphs.pltDef, form.rect(), &form, {}).H;
  EXPECT_EQ(form.Layout().Plot.Top, before.Top + h / 8 + h);

  TfrmGraphCaption d;
  d.Load(graphs.pltDef);
  EXPECT_EQ(d.Edit1->text(), "Three-stage excavation, wall A");
  EXPECT_TRUE(d.Top->isChecked());
}

TEST_F(GraphDialogs, SaveAttributesDefaultsAndLimits) {
  TdlgFormat d(nullptr, Sink());
  EXPECT_EQ(d.windowTitle(), "Save Attributes");
  EXPECT_EQ(d.Height->EditLabel()->text(), "&Height (in)");
  EXPECT_TRUE(d.Colors[1]->isChecked());
  EXPECT_EQ(d.Colors[1]->text(), "16 Colors");
  TBitmapAttributes a;
  a.Colors = TColorDepth::TrueColor;
  d.Store(a);
  EXPECT_EQ(a.HeightIn, 4);
  EXPECT_EQ(a.WidthIn, 6);
  EXPECT_EQ(a.PixelsPerInch, 72);
  EXPECT_EQ(a.Colors, TColorDepth::Colors16);

  d.show();
  d.Height->setText("1.5");
  d.OK->click();
  EXPECT_NE(d.result(), QDialog::Accepted);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "Entry must be greater than or equal to 2");
  EXPECT_EQ(d.Height->Number(), 2);

  d.PixelsPerInch->setText("96.5");
  d.OK->click();
  EXPECT_EQ(messages.back(), "Entry must be an integer.");
  EXPECT_NE(d.result(), QDialog::Accepted);

  d.PixelsPerInch->setText("2*48");
  d.Width->setText("12/2+0.25");
  d.OK->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  d.Store(a);
  EXPECT_EQ(a.PixelsPerInch, 96);
  EXPECT_EQ(BitmapSize(a), QSize(600, 192));
}

}  // namespace
}  // namespace ramvex
