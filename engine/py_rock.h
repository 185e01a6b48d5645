// Rock p-y curves: strong rock (type code 6), a brittle piecewise-straight
// curve governed by the rock strength, and weak rock (type code 7), an
// initial line and a quarter-power branch up to an ultimate resistance
// reduced by the rock quality designation.
//
// Neither uses an earth-pressure offset or an equivalent depth, and neither
// adds to the integrated resistance that a deeper layer's equivalent depth
// has to match.
#pragma once

#include "py_model_support.h"

namespace ramvex {

// Strong rock: the points for a strength qu (s = qu/2) and width b.  The
// rising part carries the p-multiplier pm; beyond the peak at y2 the
// resistance drops to 0.5 g b d, the side's overburden, without it.
struct StrongRockCurve {
  SidePoints y{}, p{};
  double y1 = 0, y2 = 0;
};
StrongRockCurve strongRockCurve(double qu, double b, double g, double d, double pm);

// Weak rock: ultimate resistance and initial modulus at depth xr into the
// rock for the average strength qa, the strength reduction alphaR and the
// rock modulus er.
struct WeakRockResistance {
  double pur = 0;
  double ki = 0;
};
WeakRockResistance weakRockResistance(double qa, double alphaR, double er, double b, double xr);

// Strength reduction for a rock quality designation in percent.
double weakRockStrengthReduction(double rqd);

// The points for pur, ki and yrm = krm b.
void weakRockCurve(const WeakRockResistance& r, double yrm, SidePoints& y, SidePoints& p);

void generateStrongRockLayer(PyGenContext& ctx, int layer);
void generateWeakRockLayer(PyGenContext& ctx, int layer);

}  // namespace ramvex
