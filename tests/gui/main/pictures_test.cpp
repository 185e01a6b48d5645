// Pictures of what the user sees: the main window with each menu open and
// each dialog.  Written only when RAMVEX_PICTURE_DIR names a folder, for a
// person to look at; nothing is compared.
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include "About.h"
#include "InputDialog.h"
#include "Stage.h"
#include "main_test_support.h"

namespace ramvex::testing {
namespace {

using C = TCommand;

class PicturesTest : public MainFormTest {
 protected:
  void SetUp() override {
    dir = qEnvironmentVariable("RAMVEX_PICTURE_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "RAMVEX_PICTURE_DIR not set";
    MainFormTest::SetUp();
    form->resize(1100, 760);
    form->show();
    form->OpenStartFile(Example("three_stages.rv5d"));
    Settle();
  }

  void TearDown() override {
    if (form) MainFormTest::TearDown();
  }

  static void Settle() {
    for (int i = 0; i < 5; ++i) {
      QCoreApplication::processEvents();
      QTest::qWait(20);
    }
  }

  void Save(const QImage& image, const QString& name) { EXPECT_TRUE(image.save(dir + "/" + name + ".png")); }

  QImage WithPopup(QWidget* popup) {
    QImage image = form->grab().toImage();
    QPainter p(&image);
    const QPoint at = popup->mapToGlobal(QPoint(0, 0)) - form->mapToGlobal(QPoint(0, 0));
    p.drawPixmap(at, popup->grab());
    return image;
  }

  QString dir;
};

TEST_F(PicturesTest, MainWindowWithEachMenuOpen) {
  Save(form->grab().toImage(), "main");
  int n = 0;
  for (QAction* a : form->menuBar()->actions()) {
    QMenu* menu = a->menu();
    if (menu == nullptr || !a->isVisible()) continue;
    form->menuBar()->setActiveAction(a);
    Settle();
    QImage image = WithPopup(menu);
    // Open submenus of the Data and Options menus as well.
    Save(image, QStringLiteral("menu%1_%2").arg(++n).arg(a->text().remove('&').remove(' ')));
    menu->hide();
    Settle();
  }
  QMenu* options = form->Menu("&Options");
  form->menuBar()->setActiveAction(options->menuAction());
  Settle();
  for (QAction* a : options->actions()) {
    if (a->menu() == nullptr) continue;
    options->setActiveAction(a);
    a->menu()->popup(options->mapToGlobal(options->actionGeometry(a).topRight()));
    Settle();
    QImage image = WithPopup(options);
    QPainter p(&image);
    p.drawPixmap(a->menu()->mapToGlobal(QPoint(0, 0)) - form->mapToGlobal(QPoint(0, 0)), a->menu()->grab());
    p.end();
    Save(image, "submenu_" + a->text().remove('&').remove(' '));
    a->menu()->hide();
  }
  options->hide();
}

TEST_F(PicturesTest, EachDialog) {
  form->Data().ApplyConcentratedLoads = form->Data().ApplySprings = form->Data().ApplyTiebacks = true;
  form->Data().ApplySurcharge = true;
  form->UpdateCommands();
  const std::pair<C, const char*> dialogs[] = {
      {C::DataTitle, "title"},        {C::DataProp, "wall_properties"}, {C::ToolWallConfiguration, "wall_configuration"},
      {C::DataRebar, "surcharge"},    {C::DataBoundCond, "concentrated_loads"},
      {C::TiebackGroundAnchorData1, "tieback"}, {C::DataSoilSpring, "springs"},
      {C::OptionofTexeEditor1, "text_editor"}};
  for (auto [command, name] : dialogs) {
    Trigger(command);
    Settle();
    QWidget* dialog = form->InputDialog(command);
    ASSERT_NE(dialog, nullptr) << name;
    dialog->parentWidget()->adjustSize();
    Settle();
    Save(form->grab().toImage(), QStringLiteral("dialog_") + name);
    dialog->parentWidget()->close();
    Settle();
  }
  form->ShowStageDialog(false);
  Settle();
  Save(form->StageDialog()->grab().toImage(), "dialog_staged_construction");
  form->StageDialog()->close();
  TDlgAbout about(form.get());
  about.show();
  Settle();
  Save(about.grab().toImage(), "dialog_about");
}

}  // namespace
}  // namespace ramvex::testing
