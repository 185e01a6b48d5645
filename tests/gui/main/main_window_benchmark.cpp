// Time from starting a program to its first painted main window: the
// program's own window (input tables, project, every command, settings, a
// new project) against a bare main window started the same way.  The goal
// is to stay within twice the bare window's time.
//
// Each iteration starts this executable again as a child that builds one of
// the two windows, waits for its first paint and ends, so that loading the
// libraries and starting the application are measured as a user meets them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <cstring>

#include "Main.h"

namespace {

// Ends the application at the first paint of the window's client area.
class TPaintProbe : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return QObject::eventFilter(watched, event);
  }
};

int Child(int argc, char** argv, bool program) {
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  TPaintProbe probe;
  if (program) {
    ramvex::TMainForm form;
    form.ReadSettings();
    form.OpenStartFile(QString());
    form.MdiArea()->viewport()->installEventFilter(&probe);
    form.show();
    return QApplication::exec();
  }
  QMainWindow window;
  auto* area = new QMdiArea(&window);
  window.setCentralWidget(area);
  area->viewport()->installEventFilter(&probe);
  window.resize(1000, 720);
  window.show();
  return QApplication::exec();
}

QString self;

void StartChild(benchmark::State& state, const char* which) {
  for (auto _ : state) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(self, {QString::fromLatin1(which)});
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
      state.SkipWithError("the child did not paint its window");
      return;
    }
  }
}

void BM_BareMainWindowStart(benchmark::State& state) { StartChild(state, "--bare"); }
BENCHMARK(BM_BareMainWindowStart)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MainFormStart(benchmark::State& state) { StartChild(state, "--program"); }
BENCHMARK(BM_MainFormStart)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc > 1 && std::strcmp(argv[1], "--bare") == 0) return Child(argc, argv, false);
  if (argc > 1 && std::strcmp(argv[1], "--program") == 0) return Child(argc, argv, true);
  QCoreApplication app(argc, argv);
  self = QCoreApplication::applicationFilePath();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
