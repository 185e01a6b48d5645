// Generated active earth pressure (earth-pressure options 2 and 3): the
// coefficients, the resultant forces of the sublayers above the excavation
// level, and the pressure distribution handed to the wall solution through
// the intermediate file "BMWALL.001".
#pragma once

#include <string>
#include <vector>

#include "earth_pressure_table.h"
#include "problem_input.h"
#include "run_state.h"
#include "soil_profile.h"

namespace ramvex {

inline constexpr const char* kEarthPressureFile = "BMWALL.001";
// More points than any wall of 300 increments needs; guards the point count.
inline constexpr int kMaxPressurePoints = 100000;
// Said in the report and the run notes when a stage of a job with the
// trapezoidal option has no tieback yet.
inline constexpr const char* kNoTiebackInStage =
    "     NO TIEBACK IN THIS STAGE -- TRIANGULAR EARTH PRESSURE USED";

// One row of the distribution: pressures (force per unit area) at a depth.
struct PressurePoint {
  double depth = 0;
  double total = 0;      // P1
  double soil = 0;       // P2, soil and water less the uniform-surcharge share
  double surcharge = 0;  // P3, surcharge loads and the uniform-surcharge share
};

struct PressureDistribution {
  std::vector<PressurePoint> points;  // the surface row first
  int lastAboveExcavation = 0;        // index of the last point of a sublayer above H
  double total = 0;                   // force above H summed point by point
  // The count written at the head of "BMWALL.001": one point per length
  // unit down to the bottom of the wall, not to the bottom of the profile,
  // so the main sequence reads no pressure below the wall.
  long long declaredCount = 0;
};

// Rankine coefficients of every sublayer; flags the sublayers above the
// excavation level whose friction angle does not exceed the backfill slope.
void computeCoefficients(SoilProfile& profile, double backfillSlope);

// Forces of the sublayers above the excavation level and the sum of the
// active and water forces.
double computeForces(SoilProfile& profile, const std::vector<SurchargeRow>& surcharges);

// Pressures point by point down the profile.  Throws ErrorStop (message in
// `report`) when the point count is out of range.
PressureDistribution computeDistribution(const SoilProfile& profile, const std::vector<SurchargeRow>& surcharges,
                                         double wallLength, TextOutput& report);

// Depths of the support rows (the tiebacks) in the problem's length unit.
std::vector<double> supportDepths(const ProblemInput& input);

// Replaces the pressures above the excavation level by the trapezoidal
// apparent-pressure diagram of anchored walls, whose area is 1.3 times the
// active force.  Throws ErrorStop when there is no support row or no free
// height.
void applyTrapezoid(PressureDistribution& dist, double freeHeight, const std::vector<double>& supports,
                    TextOutput& report);

// Writes the distribution in the layout the main sequence reads back; false
// when the file cannot be created.
bool writeEarthPressureFile(const std::string& path, const std::vector<PressurePoint>& points,
                            long long declaredCount);

// The whole step for one problem: report blocks, run-notes warnings and the
// file "BMWALL.001" in run.workDir.  Returns the effective overburden at the
// excavation level on the backfill side, the p-y generation's offset.
// Throws SoilModelStop (codes 1 and 2) or ErrorStop.
double runEarthPressureStep(RunState& run, const ProblemInput& input);

// Reads "BMWALL.001" back and turns its pressures into line loads: times WA
// down to the free height, times WP from the first point below it.  Throws
// ErrorStop when the file is missing or cannot be read.
EarthPressureTable readEarthPressureFile(RunState& run, const ProblemInput& input);

}  // namespace ramvex
