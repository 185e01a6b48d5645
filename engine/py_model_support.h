// What the p-y soil models share: the context of one layer's generation,
// the depths and multipliers of a curve, and the emission of a side's
// points to the report and to "SOILDATA".
//
// The models build on this file and the dispatch (py_generation.h) builds on
// the models, so the dependencies run one way: support, models, dispatch.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "problem_input.h"
#include "py_soil_properties.h"
#include "run_state.h"

namespace ramvex {

inline constexpr int kPointsPerSide = 17;
inline constexpr int kCurvesPerLayer = 5;

enum class WallSide { Excavation = 1, Backfill = 2 };

using SidePoints = std::array<double, kPointsPerSide>;

// One generated curve as written: multiplied and offset, before rounding.
struct GeneratedCurve {
  int layer = 0;       // 0-based p-y layer
  double depth = 0;    // from the top of the wall, H + XC
  SidePoints yExcavation{}, pExcavation{};
  SidePoints yBackfill{}, pBackfill{};
  double delta = 0;    // earth-pressure offset of the backfill side
};

// Everything a soil model needs while it generates one layer.
struct PyGenContext {
  RunState& run;
  const ProblemInput& input;
  PyProfile& profile;
  double sigmaH;        // effective overburden at the excavation level, backfill side
  TextOutput& soilData;
  std::vector<GeneratedCurve>& curves;
};

// Multipliers at depth z from the top of the wall.
double pMultiplier(const ProblemInput& input, const PyProfile& profile, double z);
double yMultiplier(const ProblemInput& input, double z);

// Depth below the side's soil surface.
double sideDepth(const PyProfile& profile, double xc, WallSide side);
// Depth for the ultimate resistance: D itself in the first layer, shifted to
// the equivalent depth in a deeper one.
double resistanceDepth(const PyProfile& profile, int layer, double d);
// "AT THE EXCAVATION SIDE" / "AT THE BACKFILL SIDE".
void writeSideBanner(PyGenContext& ctx, WallSide side);
// The "Y" / "P" column heading above the points.
void writePointHeading(PyGenContext& ctx);

// Field of a point's y' and p' in the report listing.
enum class PointField { Fixed5, Exponent3, DExponent5 };

struct EmitOptions {
  bool multiplierLine = true;
  // Soft clay: deflections below the minimum are flagged with the modulus used.
  bool minimumDeflectionWarning = false;
  double initialModulus = 0;
  // Strong rock multiplies only the rising part of its curve and hands in p
  // with the multiplier already applied.
  bool applyPMultiplier = true;
  PointField reportField = PointField::Fixed5;
  // Blanks before p' and before y' on a point line of "SOILDATA".
  int soilDataGapP = 1;
  int soilDataGapY = 1;
};

// Applies pm, ym and the offset (subtracted on the excavation side, added on
// the backfill side), writes the points to the report and to "SOILDATA" (with
// the curve's header line on the excavation side) and records the curve.
// A point that is not a finite number ends the run with an error stop naming
// the layer.
void emitSidePoints(PyGenContext& ctx, int layer, int curve, WallSide side, const SidePoints& y, const SidePoints& p,
                    double delta, const EmitOptions& options);

// Unit texts of the listings.
std::string pressureLabel(const RunState& run);
std::string unitWeightLabel(const RunState& run);
std::string lineLoadLabel(const RunState& run);

// Error stop with one report line.
[[noreturn]] void pyErrorStop(RunState& run, const std::string& message);

}  // namespace ramvex
