// The backfill-side soil profile of the earth-pressure step: the soil layers
// cut into sublayers at the excavation level and the backfill water table,
// with the effective overburden stress at the top of every sublayer.
#pragma once

#include <vector>

#include "problem_input.h"
#include "run_state.h"

namespace ramvex {

// Depth coincidence tolerance: 1.0E-5 held in single precision.
inline constexpr double kDepthTolerance = static_cast<double>(1.0e-5f);
// 20 real sublayers plus the terminating slot.
inline constexpr int kMaxSublayers = 20;

struct Sublayer {
  double thickness = 0;
  double ztop = 0;
  double cohesion = 0;
  double phi = 0;          // friction angle, degrees
  double unitWeight = 0;   // total unit weight
  double optionalK = 0;    // optional earth-pressure coefficient, 0 = none
  bool drained = false;    // sand, silt and rock: water pressure carried apart
  double mf = 1;           // modification factor for active pressure
  bool belowWater = false;
  double sigma = 0;        // effective overburden stress at the top

  // Coefficients and forces per unit width of wall.
  double sqrtKa = 0, ka = 0, sqrtKp = 0, kp = 0;
  double kaReported = 0;   // Rankine (or sloping-backfill) value before any optional coefficient
  bool slopeWarning = false;
  double pa1 = 0, pa2 = 0, pa3 = 0, pa4 = 0, pw1 = 0, pw2 = 0;
  double z1 = -1000.0, z2 = -1000.0, z3 = -static_cast<double>(1.0e-5f), zc = 0;
};

struct SoilProfile {
  bool us = true;              // unit system 1; every other code is treated as SI
  double gammaW = 0;           // unit weight of water
  double freeHeight = 0;       // H
  double waterBackfill = 0;    // DWb
  double waterExcavation = 0;  // DWe
  double uniformPressure = 0;  // q on the backfill surface
  std::vector<Sublayer> sublayers;  // the real sublayers, top down
  double bottom = 0;           // bottom of the last sublayer
  int lh = -1;                 // index of the sublayer starting at H, -1 when none
  int lw = -1;                 // index of the sublayer starting at DWb, -1 when none
  bool overflow = false;       // more than kMaxSublayers sublayers
  // Effective overburden at the excavation level on the backfill side, the
  // value the p-y generation starts from; 0 when H is not a sublayer top.
  double sigmaExcavation = 0;
};

// Builds the sublayers, the below-water flags and the effective overburden
// from the site and layer records.  Writes nothing.
SoilProfile buildSoilProfile(const ProblemInput& input);

// Unit weight of water of a unit system: lb/in^3 or kN/m^3.
double waterUnitWeight(bool us);

// Report blocks of the profile.
void writeBanner(TextOutput& out, const char* title);
void writeWallInformation(TextOutput& out, const ProblemInput& input, const SoilProfile& profile);
void writeSurchargeInformation(TextOutput& out, const SoilProfile& profile,
                               const std::vector<SurchargeRow>& surcharges);
void writeSoilInformation(TextOutput& out, const SoilProfile& profile);
void writeOverburden(TextOutput& out, const SoilProfile& profile);

}  // namespace ramvex
