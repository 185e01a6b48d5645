// Reading "SOILDATA" back into the p-y curves of the iteration.
#pragma once

#include <vector>

#include "problem_input.h"
#include "run_state.h"

namespace ramvex {

struct SoilFileCurve {
  bool generated = false;   // from the soil layers; otherwise a user curve
  int station = 0;
  double depth = 0;         // from the top of the wall (generated curves)
  std::vector<double> y;    // ascending
  std::vector<double> pLine;  // soil force per length of wall
  std::vector<double> p;      // soil force per station: pLine times h
  int interpolate = 0;      // 1: one end of an interpolation to the next curve
};

// The curves of the file in its order: the user curves as written (their
// multipliers already applied; interpolation flag 0), then one 33-point curve
// per generated depth, the backfill branch mirrored to negative deflections.
// More than 63 curves, or a file that cannot be read, is an error stop.
std::vector<SoilFileCurve> readSoilCurvesFile(RunState& run, const ProblemInput& input);

}  // namespace ramvex
