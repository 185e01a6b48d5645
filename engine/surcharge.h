// Lateral pressure on the wall from point, line and strip surcharges on the
// backfill surface (elastic solutions in the form modified for rigid walls,
// switching formula at a distance ratio m = X/H of 0.4).  The pressures act
// without earth-pressure coefficient and without modification factor.
#pragma once

#include <vector>

#include "problem_input.h"

namespace ramvex {

// Which values stand for 4/pi and 2/pi: those obtained from pi = 3.1416, or
// the rounded 1.273 and 0.6366 of the per-sublayer force integration.
enum class PiConstants { FromPi, Rounded };

// Lateral pressure of one surcharge at depth z below the top of the wall;
// 0 for z <= 0.  H is the free height.
double surchargeEntryPressure(const SurchargeRow& entry, double z, double freeHeight,
                              PiConstants constants = PiConstants::FromPi);

// Summed pressure of all entries at depth `depth`, each taken at the deepest
// of 200 slice depths of the wall length strictly above `depth`.
double surchargePressure(const std::vector<SurchargeRow>& entries, double freeHeight,
                         double wallLength, double depth);

// Surcharge force on a sublayer per unit width of wall: ten slices of the
// sublayer, each entry above 1.0E-4 in magnitude.
double sublayerSurchargeShare(const std::vector<SurchargeRow>& entries, double freeHeight,
                              double ztop, double thickness);

// The surcharges that load the wall: the surcharge table, or, when it is
// empty, the concentrated loads of the site record as table entries.
std::vector<SurchargeRow> effectiveSurcharges(const ProblemInput& input);

// Surcharge pressure of the problem's surcharge table at a depth, as added
// to the rows of a user-specified earth-pressure table.
double surchargePressureAt(const ProblemInput& input, double depth);

// Free height and wall length that the surcharge formulas use.
double problemFreeHeight(const ProblemInput& input);
double wallLength(const ProblemInput& input);

}  // namespace ramvex
