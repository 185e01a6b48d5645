// Pictures of the running program for a person to look at: a project run,
// the three-panel graph, the soil profile and the 3D view with its deformed
// shape, each saved as a PNG.  Run on a real display server (a virtual one
// will do); the program's messages are printed instead of shown.
//
//   program_screenshots <project.rv5d> <output folder>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QThread>
#include <QToolButton>

#include <cstdio>

#include "DeformedShape.h"
#include "Main.h"
#include "ProgramResults.h"
#include "View3dUnit1.h"

namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(20);
  }
}

bool Save(const QImage& image, const QString& file) {
  const bool ok = !image.isNull() && image.save(file);
  std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "could not write", qPrintable(file), image.width(), image.height());
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: program_screenshots <project.rv5d> <output folder>\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(out);

  ramvex::TMainForm form;
  ramvex::TProgramResults results(form);
  form.Inform = [](const QString& text) { std::printf("message: %s\n", qPrintable(text)); };
  form.Warn = [](const QString& text) { std::printf("warning: %s\n", qPrintable(text)); };
  form.Ask = [](const QString& text, QMessageBox::StandardButtons) {
    std::printf("question: %s\n", qPrintable(text));
    return QMessageBox::No;
  };
  form.OpenStartFile(QString::fromLocal8Bit(argv[1]));
  form.resize(1280, 900);
  form.show();
  Settle();

  using C = ramvex::TCommand;
  form.Action(C::CompRun)->trigger();
  Settle();
  if (!form.Action(C::DefMomShear)->isEnabled()) {
    std::fprintf(stderr, "the run left no results\n");
    return 1;
  }
  form.Action(C::DefMomShear)->trigger();
  Settle();
  bool ok = Save(form.grab().toImage(), out + QStringLiteral("/graph_dms.png"));

  form.Action(C::CompLayers)->trigger();
  Settle();
  ok = Save(form.grab().toImage(), out + QStringLiteral("/side_view.png")) && ok;

  form.Action(C::View3D)->trigger();
  Settle();
  ramvex::TDlgBlock* view = results.View3D();
  if (view == nullptr) return 1;
  form.Action(C::Show3DDeformedShape)->trigger();
  Settle();
  if (ramvex::TDlgDeformedShape* shape = view->DeformedShapeDialog()) {
    shape->CheckBoxDeformedShape->click();
    for (int i = 0; i < 9; ++i) shape->UpDownDefFactorUp->click();
    Settle();
    Save(shape->grab().toImage(), out + QStringLiteral("/deformed_shape_dialog.png"));
    shape->close();
  }
  Settle();
  ok = Save(form.grab().toImage(), out + QStringLiteral("/view3d_window.png")) && ok;
  const QImage frame = view->GrabFrame();
  if (!frame.isNull()) Save(frame, out + QStringLiteral("/view3d_frame.png"));
  form.CloseChildWindows();
  return ok ? 0 : 1;
}
