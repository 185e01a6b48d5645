// Sand p-y curves (type code 4): ultimate resistance from the wedge and the
// flow-around mechanisms, the empirical factors A and B, and a curve of four
// pieces (initial line, parabola to b/60, straight line to 3b/80, constant).
#pragma once

#include "py_model_support.h"

namespace ramvex {

// The sand criterion's pi, a single-precision 3.1416.
inline constexpr double kSandPi = static_cast<double>(3.1416f);

struct SandResistance {
  double pst = 0;  // wedge
  double psd = 0;  // flow around
  double ps = 0;   // governing (passive with wall friction for a continuous wall)
  double ka = 0;
  double kp = 0;
};

// At resistance depth x; d is the side's own depth, used by a continuous wall.
// The silt model evaluates the same mechanisms with a full-precision pi.
SandResistance sandUltimateResistance(double phi, double g, double b, double x, double d, double ratio,
                                      double pi = kSandPi);

// The empirical factors at x/b.
double sandFactorA(double xOverB);
double sandFactorB(double xOverB);

struct SandCurve {
  SidePoints y{}, p{};
  double yu = 0, ym = 0, yk = 0;
};

// The 17 points from pu (at yu = 3b/80), pm (at ym = b/60) and the initial
// slope kx = k x.
SandCurve sandCurve(double pu, double pm, double b, double kx, double x);

// Depth in a deposit of this sand whose integrated ultimate resistance equals
// f; d1 is the depth of the layer's first curve below the excavation level.
double sandEquivalentDepth(double phi, double g, double b, double f, double d1);

// Constants of the sand wedge for the equivalent depth: the wedge resistance
// per unit depth is g b^2 A(x/b) ((x/b)^2 c1 + (x/b) c3), flow around takes
// over below xt with c2.
struct SandWedgeConstants {
  double c1 = 0, c2 = 0, c3 = 0, xt = 0;
};
SandWedgeConstants sandWedgeConstants(double phi, double b, double pi);

void generateSandLayer(PyGenContext& ctx, int layer);

}  // namespace ramvex
