// The soil below the excavation level as the p-y generators see it, and the
// lookups of strength and unit weight at a depth.
//
// Depths x of the tables are measured downward from the excavation level.
#pragma once

#include <vector>

#include "run_state.h"

namespace ramvex {

// Friction angles are held in radians, converted with this factor both ways.
inline constexpr double kDegreesToRadians = static_cast<double>(3.1416f) / 180.0;

struct PyLayer {
  int type = 0;     // soil type code as given
  double xtop = 0;  // below the excavation level
  double xbot = 0;
  double k = 0;     // initial p-y modulus (fifth value of the top row)
  double xeq = 0;   // equivalent depth, 0 for the first layer
  double fu = 0;    // ultimate resistance integrated over the layer's curves
  int firstCurve = 0;  // index into PyProfile::curveDepths
  int curveCount = 0;
};

struct UnitWeightPoint {
  double x = 0;
  double weight = 0;  // effective
};

struct StrengthPoint {
  double x = 0;
  double cohesion = 0;
  double phi = 0;  // radians
  double e50 = 0;
  double sixth = 0;
};

struct PyProfile {
  int units = 0;
  double freeHeight = 0;  // H
  double width = 0;       // b = WP
  double ratio = 1;       // R = WA/WP, at least 1
  double rawRatio = 0;    // WA/WP without the lower bound
  double wallLength = 0;  // N h
  double increment = 0;   // h
  double waterDepth = 0;  // backfill water table, from the top of the wall
  double gammaW = 0;
  std::vector<PyLayer> layers;
  std::vector<UnitWeightPoint> unitWeights;
  std::vector<StrengthPoint> strength;
  std::vector<double> curveDepths;  // XC, below the excavation level
};

// Strength values at depth x.  At a layer boundary, where the table steps,
// the cohesion is the lower layer's and phi and E50 are averaged.  Beyond the
// table the cohesion and phi lookups stop the run (SoilModelStop); E50 keeps
// the last value.
double cohesionAt(RunState& run, const PyProfile& profile, double x);
double phiAt(RunState& run, const PyProfile& profile, double x);
double e50At(const PyProfile& profile, double x);
// The sixth value of the rows (the rock quality designation of weak rock),
// looked up as E50 is.
double sixthValueAt(const PyProfile& profile, double x);

// Mean effective unit weight from the excavation level down to x; stop code 4
// beyond the table.
double meanUnitWeight(RunState& run, const PyProfile& profile, double x);

// Mean cohesion of layer n (0-based) from its top down to x.
double meanCohesion(RunState& run, const PyProfile& profile, double x, int layer);

// The integrated ultimate resistance of the layers above layer n (0-based):
// the quantity an equivalent depth has to match.
double resistanceAbove(const PyProfile& profile, int layer);

// Ends the run for a soil-model step: the lines go to the console channel
// and to the report, then SoilModelStop is thrown.
[[noreturn]] void soilModelStop(RunState& run, int code, const std::vector<std::string>& lines);

}  // namespace ramvex
