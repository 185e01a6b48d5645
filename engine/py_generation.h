// p-y curves generated from the soil layers.
//
// The soil below the excavation level becomes a profile of p-y layers with
// five curve depths each.  At every depth a curve is made for both sides of
// the wall: the excavation side, whose surface is the excavation level, and
// the backfill side, whose surface is the top of the wall, 17 points each.
// The report receives the profile and the curve listings; "SOILDATA" in the
// run's folder receives the user curves and the generated points, for the
// main sequence to read back (soil_curves_file.h).
//
// A soil model is one generator function per type code (pyGeneratorFor);
// it computes its properties, ultimate resistance and points and hands every
// side to emitSidePoints, which applies the multipliers and the earth-pressure
// offset and writes the report lines and the file records.
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
inline constexpr int kMaxPyLayers = 10;
inline constexpr const char* kSoilDataFile = "SOILDATA";

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

struct PyGenerationResult {
  PyProfile profile;
  std::vector<GeneratedCurve> curves;
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

using PyLayerGenerator = void (*)(PyGenContext& ctx, int layer);

// The generator of a type code; codes outside 1..7 are soft clay.
PyLayerGenerator pyGeneratorFor(int typeCode);

// The profile, tables and curve depths of a problem (no output).
PyProfile buildPyProfile(const ProblemInput& input);

// Multipliers at depth z from the top of the wall.
double pMultiplier(const ProblemInput& input, const PyProfile& profile, double z);
double yMultiplier(const ProblemInput& input, double z);

// --- steps shared by the soil models ---

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

// --- entry points ---

// Builds the profile, writes the report sections and "SOILDATA" and
// generates every layer.  Throws ErrorStop or SoilModelStop.
PyGenerationResult generatePyCurves(RunState& run, const ProblemInput& input, double sigmaH);
void runPyGeneration(RunState& run, const ProblemInput& input, double sigmaH);

}  // namespace ramvex
