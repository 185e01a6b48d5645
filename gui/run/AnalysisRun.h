// Running an analysis: the saved project is handed to the engine library
// through the run-context file, and the plot data file the engine writes is
// read back into the result graphs.
//
// The engine reads "names.dat" from the current directory and leaves its
// intermediate files ("BMWALL.001", "SOILDATA") there, so every run works in
// a private temporary folder that is removed afterwards, whatever the
// outcome: the program's own folder may be read-only, and two running
// copies of the program must not overwrite each other's files.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace ramvex {

class TProgramData;

using TRunMessage = std::function<void(const std::string&)>;

// File name of the engine library on this platform.
std::string EngineLibraryFileName();

// The running program's own folder, where the engine library lies
// (needs a QCoreApplication).
std::filesystem::path ProgramFolder();

// The files of a run, beside the data file.
struct TRunFiles {
  std::filesystem::path Data;    // ".rv5d"
  std::filesystem::path Report;  // ".rv5o"
  std::filesystem::path Plot;    // ".rv5p"
  std::filesystem::path Notes;   // ".rv5r"
};
TRunFiles RunFilesOf(const std::string& dataFileName);

// What the run needs from the program around it.  Every hook may be empty.
struct TRunEnvironment {
  // Folder of the engine library: the program's own folder
  // (QCoreApplication::applicationDirPath()).
  std::filesystem::path ProgramFolder;
  // Information box (OK button).
  TRunMessage Inform;
  // Warning box (OK button), for the project checks.
  TRunMessage Warn;
  // Hourglass cursor on and off around the engine call.
  std::function<void()> BeginWait;
  std::function<void()> EndWait;
  // Reads the plot data file into the result graphs, reporting errors to
  // the given sink; returns whether the whole file was read.
  std::function<bool(const std::filesystem::path& plotFile, const TRunMessage& errors)> ReadPlotFile;
};

enum class TRunStatus {
  NotNamed,        // the project has no file name yet: nothing done, nothing said
  CheckFailed,     // a project check failed; its warning was shown
  AlreadyRunning,  // another run is under way in this process
  NoWorkFolder,    // no temporary working folder could be made
  LoadFailed,      // the engine library could not be loaded or has no entry
  Refused,         // the engine refused the interface number
  Completed,       // the engine ran; its report tells how the analysis went
};

struct TRunOutcome {
  TRunStatus Status = TRunStatus::NotNamed;
  // Set when a plot data file was read: whether the whole file was read.
  // The main window takes it as its results-available state; without a
  // plot data file the graphs and that state stay as they were.
  std::optional<bool> ResultsAvailable;
};

// Runs the engine on the project's data file, which the caller has saved.
// Afterwards the main window refreshes its result commands and closes its
// child windows.
TRunOutcome RunAnalysis(const TProgramData& project, const TRunEnvironment& environment);

// Messages of a run, as the user sees them.
extern const char kReinitializeMessage[];
extern const char kInitializeFailedMessage[];
extern const char kCompletedMessage[];
extern const char kNoWorkFolderMessage[];
extern const char kEditorFailedMessage[];
// The refusal message, lines joined.
std::string RefusedMessage();

// Starts the text editor on a file as a separate process, without a shell
// and without waiting.  The editor is the configured command: a program
// path, or a program with arguments; empty means the desktop's opener
// ("xdg-open").  Returns false when the process cannot be started.
bool StartEditor(const std::string& editor, const std::filesystem::path& file);

// As StartEditor; a failure is reported through `inform` with "An error
// occurred in running the Word Processor".
void OpenInEditor(const std::string& editor, const std::filesystem::path& file, const TRunMessage& inform);

}  // namespace ramvex
