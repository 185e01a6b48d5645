// The run-context file "names.dat": the version text and the paths of the
// data file, the report, the plot-data file and the run notes.
#pragma once

#include <optional>
#include <string>

#include "run_state.h"

namespace ramvex {

struct RunContext {
  std::string versionText;  // 12 characters, blank padded
  std::string dataPath, reportPath, plotPath, notesPath;  // trailing blanks removed
};

// Finds "names.dat" in `folder` whatever the letter case of its name.
std::optional<std::string> findNamesFile(const std::string& folder);
// Parses the file's text; empty when it holds fewer than five lines.
std::optional<RunContext> parseRunContext(const std::string& text);
// Reads the current directory's run context into the run state.
bool readRunContext(RunState& run);

}  // namespace ramvex
