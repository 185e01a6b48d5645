#include "AnalysisRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <cstdint>
#include <fstream>

#include "DynamicLibrary.h"
#include "ProgramData.h"
#include "RunChecks.h"

namespace fs = std::filesystem;

namespace ramvex {

const char kReinitializeMessage[] = "Attempt to reinitialize DLL";
const char kInitializeFailedMessage[] = "Attempt to initialize DLL failed";
const char kCompletedMessage[] = "Computations are completed. Please, check output file for results or error messages.";
const char kNoWorkFolderMessage[] =
    "Computations can not be performed: no working folder could be made in the temporary folder.";
const char kEditorFailedMessage[] = "An error occurred in running the Word Processor";

namespace {

// The version line the engine expects first in the run-context file.
const char kRunContextVersion[] = "2015.5.13";
// The interface number the engine accepts.
constexpr int32_t kInterface = 13;
const char kEntryName[] = "_IRAMVEX";
const char kDefaultEditor[] = "xdg-open";

// The engine keeps its working data in globals and is not re-entrant: one
// run per process at a time.
std::atomic<bool> gRunning{false};

void Say(const TRunMessage& sink, const std::string& text) {
  if (sink) sink(text);
}

class TRunGuard {
 public:
  TRunGuard() : owner_(!gRunning.exchange(true)) {}
  ~TRunGuard() {
    if (owner_) gRunning = false;
  }
  bool Owner() const { return owner_; }

 private:
  bool owner_;
};

// The current directory for the engine call, restored however the call
// ends.
class TCurrentFolder {
 public:
  explicit TCurrentFolder(const QString& folder) : previous_(QDir::currentPath()), ok_(QDir::setCurrent(folder)) {}
  ~TCurrentFolder() { QDir::setCurrent(previous_); }
  bool Ok() const { return ok_; }

 private:
  QString previous_;
  bool ok_;
};

bool WriteRunContext(const fs::path& file, const TRunFiles& f) {
  std::ofstream out(file, std::ios::binary);
  out << kRunContextVersion << '\n'
      << f.Data.string() << '\n'
      << f.Report.string() << '\n'
      << f.Plot.string() << '\n'
      << f.Notes.string() << '\n';
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

std::string EngineLibraryFileName() {
#if defined(Q_OS_WIN)
  return "RamVex2015_DLL.dll";
#elif defined(Q_OS_MACOS)
  return "libRamVex2015_DLL.dylib";
#else
  return "libRamVex2015_DLL.so";
#endif
}

std::filesystem::path ProgramFolder() {
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

TRunFiles RunFilesOf(const std::string& dataFileName) {
  // The engine opens the files from its own working folder, so the paths
  // handed over are absolute.
  std::error_code ec;
  fs::path data = fs::absolute(dataFileName, ec);
  if (ec) data = dataFileName;
  TRunFiles f;
  f.Data = data;
  f.Report = fs::path(data).replace_extension(".rv5o");
  f.Plot = fs::path(data).replace_extension(".rv5p");
  f.Notes = fs::path(data).replace_extension(".rv5r");
  return f;
}

std::string RefusedMessage() {
  return std::string("Computations can not be performed. Executable files are not consistent.\n") +
         "You may need to reinstall the program.\n" + "If problem persist please contact DALMOR support at\n" +
         "the support address given with your licence.";
}

TRunOutcome RunAnalysis(const TProgramData& project, const TRunEnvironment& env) {
  TRunOutcome outcome;
  if (project.DataFileName == "NewWall.rv5d" || project.DataFileName.empty()) {
    outcome.Status = TRunStatus::NotNamed;
    return outcome;
  }
  if (auto warning = CheckProject(project)) {
    Say(env.Warn, *warning);
    outcome.Status = TRunStatus::CheckFailed;
    return outcome;
  }

  TRunGuard guard;
  if (!guard.Owner()) {
    Say(env.Inform, kReinitializeMessage);
    outcome.Status = TRunStatus::AlreadyRunning;
    return outcome;
  }

  const TRunFiles files = RunFilesOf(project.DataFileName);
  // The folder, with names.dat and the engine's intermediate files, goes
  // when this object does: on every path out of the run.
  QTemporaryDir work(QDir(QDir::tempPath()).filePath(QStringLiteral("ramvex-run-XXXXXX")));
  if (!work.isValid() || !WriteRunContext(fs::path(work.path().toStdString()) / "names.dat", files)) {
    Say(env.Inform, kNoWorkFolderMessage);
    outcome.Status = TRunStatus::NoWorkFolder;
    return outcome;
  }

  const fs::path libraryPath = env.ProgramFolder / EngineLibraryFileName();
  TDynamicLibrary library;
  using TEntry = int32_t (*)(int32_t);
  TEntry entry = nullptr;
  try {
    library.SetFileName(libraryPath.string());
    library.Load();
    entry = reinterpret_cast<TEntry>(library.Entry(kEntryName));
  } catch (const EDLLError&) {
    entry = nullptr;
  }
  if (!entry) {
    // A library without the entry is as useless as one that will not load.
    library.Unload();
    Say(env.Inform, kInitializeFailedMessage);
    outcome.Status = TRunStatus::LoadFailed;
    return outcome;
  }

  int32_t result = 0;
  {
    TCurrentFolder here(work.path());
    if (!here.Ok()) {
      library.Unload();
      Say(env.Inform, kNoWorkFolderMessage);
      outcome.Status = TRunStatus::NoWorkFolder;
      return outcome;
    }
    if (env.BeginWait) env.BeginWait();
    result = entry(kInterface);
    if (env.EndWait) env.EndWait();
  }
  // Unloaded before anything is shown, so the next run loads the engine
  // afresh with its data at zero.
  library.Unload();

  if (result == 1) {
    Say(env.Inform, RefusedMessage());
    outcome.Status = TRunStatus::Refused;
    return outcome;
  }
  Say(env.Inform, kCompletedMessage);
  outcome.Status = TRunStatus::Completed;
  std::error_code ec;
  if (env.ReadPlotFile && fs::is_regular_file(files.Plot, ec)) {
    outcome.ResultsAvailable = env.ReadPlotFile(files.Plot, env.Inform);
  }
  return outcome;
}

bool StartEditor(const std::string& editor, const fs::path& file) {
  QString program = QString::fromStdString(editor).trimmed();
  QStringList arguments;
  if (program.isEmpty()) {
    program = kDefaultEditor;
  } else if (!QFileInfo(program).isFile()) {
    // Not a program path as it stands: a command with its own arguments.
    arguments = QProcess::splitCommand(program);
    if (arguments.isEmpty()) return false;
    program = arguments.takeFirst();
  }
  arguments << QString::fromStdString(file.string());
  return QProcess::startDetached(program, arguments);
}

void OpenInEditor(const std::string& editor, const fs::path& file, const TRunMessage& inform) {
  if (!StartEditor(editor, file)) Say(inform, kEditorFailedMessage);
}

}  // namespace ramvex
