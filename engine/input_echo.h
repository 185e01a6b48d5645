// Report echo of the program control parameters and of the specified
// deflections and slopes.
#pragma once

#include "problem_input.h"
#include "run_state.h"

namespace ramvex {

void writeProgramControl(RunState& run, const ProblemControl& control, const SolutionControl& solution);
void writeSpecifiedRows(RunState& run, const std::vector<SpecifiedRow>& rows);

}  // namespace ramvex
