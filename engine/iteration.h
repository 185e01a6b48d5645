// The nonlinear iteration: each pass replaces the p-y curves by the straight
// line of the segment the deflection lies on, solves the linear wall, and
// stops when the deflections close, exceed the allowable deflection or the
// iteration limit is reached.  Moment-EI curves update the stiffness after a
// closed pass until the deflection stops changing.
#pragma once

#include <vector>

#include "beam_solver.h"
#include "problem_input.h"
#include "py_curves.h"
#include "run_state.h"
#include "station_data.h"

namespace ramvex {

inline constexpr int kIterationLimit = 100;

struct IterationResult {
  int iteration = 0;       // as reported: the limit when it was reached
  bool offCurve = false;   // of the last iteration
  int beyondLimit = 0;     // stations with |w| above the allowable deflection
  int notClosed = 0;       // stations whose change exceeded the tolerance
  std::vector<double> w;   // final deflections, indexed as the station arrays
};

// Replaces F at the stations of every moment-EI curve by the stiffness where
// the curve meets the current curvature.
void updateStiffness(const ProblemInput& input, StationData& sd, const std::vector<double>& w);

// Runs the iteration; writes the run-notes header and one line per pass.
// F of sd is changed by the moment-EI curves.
IterationResult iterate(RunState& run, const ProblemInput& input, StationData& sd, const CurveSet& curves);

struct TiebackResult {
  int number = 0;
  int station = 0;
  double depth = 0;
  double horizontal = 0;  // per station
  double alongAnchor = 0; // per station
  double perTieback = 0;
};

std::vector<TiebackResult> tiebackResults(const StationData& sd, const std::vector<double>& w);

}  // namespace ramvex
