// Report echo of the earth-pressure table of a problem.
#pragma once

#include <vector>

#include "earth_pressure_table.h"
#include "problem_input.h"
#include "run_state.h"

namespace ramvex {

// The points of a generated table that the report prints (and the plot file
// receives): all of them up to 50; beyond that every 6th (units 1) or every
// 4th point (otherwise) from the first, and the last in any case.
std::vector<size_t> printedEarthPressurePoints(size_t count, int units);

// "SPECIFIED ACTIVE EARTH PRESSURE" with the user rows as given.
void writeUserEarthPressure(RunState& run, const ProblemInput& input);
// The table heading and the printed points of a generated table.
void writeGeneratedEarthPressure(RunState& run, const EarthPressureTable& table, const std::vector<size_t>& printed);

}  // namespace ramvex
