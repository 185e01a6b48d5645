// Consistency checks of a project before it is handed to the engine.  Each
// returns the warning for the first failure, or nothing.
#pragma once

#include <optional>
#include <string>

namespace ramvex {

class TProgramData;

// Every From Node and To Node of the wall stiffness rows lies within the
// wall's increments (row by row, From before To).
std::optional<std::string> CheckWallStiffness(const TProgramData& project);

// With a rising backfill, no sand or silt layer has a friction angle (at
// its top) below the slope: the active wedge would have no solution.
std::optional<std::string> CheckBackfillSlope(const TProgramData& project);

// Both checks in order; the first failure.
std::optional<std::string> CheckProject(const TProgramData& project);

}  // namespace ramvex
