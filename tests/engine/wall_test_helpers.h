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
#include "scratch_run.h"
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
