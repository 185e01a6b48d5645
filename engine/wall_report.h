// Report blocks of the wall solution: the user p-y curves, the iteration
// results table and the tieback results; and the iteration lines of the run
// notes.  (The stiffness and load echo is written while the tables are
// distributed, see station_data.h.)
#pragma once

#include <vector>

#include "beam_solver.h"
#include "iteration.h"
#include "problem_input.h"
#include "run_state.h"

namespace ramvex {

// "INPUTTED SOIL RESISTANCE (P-Y) CURVES": nothing when there are no user
// curves.
void echoUserCurves(RunState& run, const ProblemInput& input);

// "RESULTS -- ITERATION", the outcome messages and the station table.
void writeResults(RunState& run, const IterationResult& iteration, const WallResults& results);

// "TIE BACK RESULTS"; nothing without tiebacks.
void writeTiebackResults(RunState& run, const std::vector<TiebackResult>& tiebacks);

}  // namespace ramvex
