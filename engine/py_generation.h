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
// side to emitSidePoints (py_model_support.h), which applies the multipliers
// and the earth-pressure offset and writes the report lines and the file
// records.  This file is the dispatch above the models.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "problem_input.h"
#include "py_model_support.h"
#include "py_soil_properties.h"
#include "run_state.h"

namespace ramvex {

inline constexpr int kMaxPyLayers = 10;
inline constexpr const char* kSoilDataFile = "SOILDATA";

struct PyGenerationResult {
  PyProfile profile;
  std::vector<GeneratedCurve> curves;
};

using PyLayerGenerator = void (*)(PyGenContext& ctx, int layer);

// The generator of a type code; codes outside 1..7 are soft clay.
PyLayerGenerator pyGeneratorFor(int typeCode);

// The profile, tables and curve depths of a problem (no output).
PyProfile buildPyProfile(const ProblemInput& input);

// --- entry points ---

// Builds the profile, writes the report sections and "SOILDATA" and
// generates every layer.  Throws ErrorStop or SoilModelStop.
PyGenerationResult generatePyCurves(RunState& run, const ProblemInput& input, double sigmaH);
void runPyGeneration(RunState& run, const ProblemInput& input, double sigmaH);

}  // namespace ramvex
