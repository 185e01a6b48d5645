// The run notes' iteration monitor: a header per problem and one line per
// iteration.  Apart from the report writers (wall_report.h), which build on
// the iteration's results, so the iteration does not depend on them.
#pragma once

#include <vector>

#include "run_state.h"

namespace ramvex {

void writeMonitorHeader(RunState& run);
void writeMonitorLine(RunState& run, int iteration, bool offCurve, int notClosed, int n,
                      const std::vector<double>& w);

}  // namespace ramvex
