// Opens arbitrary bytes as a project file of any version, or as a stage
// file, the way the Open command and the stage switch do; every project that
// opens is saved, opened again and saved again, and both saves must write
// the same text.  Nothing may crash, hang or leak, and a file the program
// wrote must always open again.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "AssignError.h"
#include "DefinedTables.h"
#include "ProgramData.h"
#include "WordRead.h"

namespace fs = std::filesystem;

namespace {

const fs::path& workFolder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "ramvex-project-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return fs::path(pattern);
  }();
  return folder;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void clearFolder() {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(workFolder(), ec)) fs::remove(entry.path(), ec);
}

// Saves the project where it is and returns what was written.
std::string save(ramvex::TProgramData& project) {
  project.WriteDataFile();
  return readFile(project.DataFileName);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  clearFolder();
  // The first byte chooses how the file is opened: the Open dialog's
  // version (0 by extension, 1 to 5 the filters) or a stage file of either
  // stage-file layout; the rest is the file.
  const unsigned mode = data[0] % 8;
  static const char* const kExtensions[] = {".rv5d", ".rv4d", ".rvd", ".dat"};
  const fs::path path = workFolder() / (std::string("case") + kExtensions[(data[0] >> 3) % 4]);
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }

  auto tables = ramvex::CreateProjectTables();
  ramvex::TProgramData project(*tables);
  project.NewProject();
  try {
    if (mode <= 5) {
      project.OpenProject(path, static_cast<int>(mode));
    } else {
      project.DataFileName = (workFolder() / "staged.rv5d").string();
      project.StageFilesHaveMEICount = mode == 7;
      project.StageFilesHaveTiebackCount = mode == 7;
      project.ReadStageFile(path);
    }
  } catch (const ramvex::EInOutError&) {
    // What was read stays; it must save and open like any project.
  } catch (const ramvex::EAssignError&) {
  }
  // A staged project opened from the file keeps its stages beside it; a
  // project that did not open as one is saved on its own.
  if (project.StageCount <= 1 || !fs::exists(project.StageFilePath(1)))
    project.DataFileName = (workFolder() / "saved.rv5d").string();
  if (project.StageCount > 1 && !fs::exists(project.StageFilePath(1))) project.ChangeStageCount(1);

  std::string first;
  try {
    first = save(project);
  } catch (const ramvex::EInOutError&) {
    // A value too large to be written: the save is refused as a whole.
    return 0;
  }

  auto again = ramvex::CreateProjectTables();
  ramvex::TProgramData reopened(*again);
  reopened.NewProject();
  try {
    reopened.OpenProject(project.DataFileName);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "a saved project does not open: %s\n", e.what());
    std::abort();
  }
  const std::string second = save(reopened);
  if (second != first) {
    std::fprintf(stderr, "saved twice, written differently:\n--- first\n%s\n--- second\n%s\n", first.c_str(),
                 second.c_str());
    std::abort();
  }
  return 0;
}
