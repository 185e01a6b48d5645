// Small builders for wall-solution tests: a problem with one stiffness row,
// and a run whose report and notes go to scratch files that can be read
// back.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "problem_input.h"
#include "run_state.h"
#include "station_data.h"

namespace ramvex::testing {

inline ProblemInput wallProblem(int units, int n, double h, double ei) {
  ProblemInput in;
  in.control.units = units;
  in.control.nstif = 1;
  in.solution.increments = n;
  in.solution.h = h;
  in.solution.maxDeflection = 1e30;
  in.solution.closureTolerance = 1e-9;
  in.solution.wa = 1.0;
  in.stiffness.push_back({0, n, 1, ei});
  return in;
}

// A run state writing to files in the temporary folder, removed on exit.
class ScratchRun {
 public:
  ScratchRun() {
    static int counter = 0;
    const std::string base = (std::filesystem::temp_directory_path() /
                              ("ramvex_wall_" + std::to_string(::getpid()) + "_" + std::to_string(counter++)))
                                 .string();
    reportPath_ = base + ".rv5o";
    notesPath_ = base + ".rv5r";
    run.report.open(reportPath_);
    run.notes.open(notesPath_);
    run.labels.setFor(1);
  }
  ~ScratchRun() {
    run.report.close();
    run.notes.close();
    std::remove(reportPath_.c_str());
    std::remove(notesPath_.c_str());
  }
  // Closes the file and returns what it holds; read once, at the end.
  std::string report() { return read(run.report, reportPath_); }
  std::string notes() { return read(run.notes, notesPath_); }

  RunState run;

 private:
  static std::string read(TextOutput& out, const std::string& path) {
    out.close();
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
  std::string reportPath_, notesPath_;
};

// Station data of a problem: reset, specified rows and the tables.
inline void buildStations(RunState& run, const ProblemInput& in, StationData& sd) {
  resetStations(run, in, sd);
  applySpecifiedRows(run, in, sd);
  distributeWallTables(run, in, sd);
}

inline double at(const std::vector<double>& v, int station) {
  return v[static_cast<size_t>(StationData::index(station))];
}

}  // namespace ramvex::testing
