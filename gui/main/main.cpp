// The interactive program: the main window on the project named by the
// first argument, or on a new project.
#include <QApplication>
#include <QStringList>

#include "Icons.h"
#include "Main.h"
#include "ProgramResults.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Dalmor"));
  QApplication::setApplicationName(QStringLiteral("RAMVEX"));
  QApplication::setApplicationVersion(QLatin1String(ramvex::kVersionString));
  QApplication::setWindowIcon(ramvex::ApplicationIcon());
  // Lets the desktop match the window to its launcher and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("ramvex2015"));

  ramvex::TMainForm form;
  // Before the start file is opened: opening reads the project's plot file.
  ramvex::TProgramResults results(form);
  form.ReadSettings();
  const QStringList args = QApplication::arguments();
  form.OpenStartFile(args.size() > 1 ? args.at(1) : QString());
  form.show();
  return QApplication::exec();
}
