// The problem loop of one run: opens the four files, reads and analyses the
// problems of the data file one after the other and closes the run with
// "END OF ANALYSIS".
#pragma once

#include "run_state.h"

namespace ramvex {
void runProblems(RunState& run);
}
