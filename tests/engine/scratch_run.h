// A run state for tests of single engine steps: its report and run notes,
// and the intermediate files of the steps, go to a private scratch folder
// that is removed afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "run_state.h"

namespace ramvex::testing {

class ScratchRun {
 public:
  ScratchRun() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ramvex-step-XXXXXX").string();
    dir_ = mkdtemp(pattern.data()) ? pattern : std::string();
    run.workDir = dir_.string();
    run.report.open((dir_ / "report.txt").string());
    run.notes.open((dir_ / "notes.txt").string());
    run.labels.setFor(1);
  }
  ~ScratchRun() {
    run.report.close();
    run.notes.close();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  ScratchRun(const ScratchRun&) = delete;
  ScratchRun& operator=(const ScratchRun&) = delete;

  // The outputs are closed when read: read them once, at the end.
  std::string report() {
    run.report.close();
    return read("report.txt");
  }
  std::string notes() {
    run.notes.close();
    return read("notes.txt");
  }
  std::string soilData() { return read("SOILDATA"); }
  std::string read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  RunState run;

 private:
  std::filesystem::path dir_;
};

}  // namespace ramvex::testing
