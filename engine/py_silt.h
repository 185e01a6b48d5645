// Silt (c-phi soil) p-y curves (type code 5): the frictional resistance of
// the sand criterion with a cohesive part from the soft-clay bearing factor.
// Where the initial line k x y meets the rest of the curve decides between
// three shapes: the four-piece sand shape (1), the initial line meeting the
// straight part between b/60 and 3b/80 (2), or the initial line running up
// to the ultimate resistance (3).
#pragma once

#include "py_model_support.h"

namespace ramvex {

struct SiltCurve {
  SidePoints y{}, p{};
  int shape = 1;
  double yu = 0, ym = 0, yk = 0;
  double y1 = 0;  // shape 2: where the initial line meets the straight part
  double y2 = 0;  // shape 3: where the initial line reaches pu
};

// The 17 points from pu (from 3b/80 on), pm (at b/60) and the initial slope
// kx = k x at resistance depth x.
SiltCurve siltCurve(double pu, double pm, double b, double kx, double x);

// The cohesive part at resistance depth x; for a continuous wall (ratio
// below 1.1) a passive value at the side's own depth d.
double siltCohesiveResistance(double c, double g, double b, double x, double d, double ratio);

// The frictional part; a continuous wall takes passive pressure with a wall
// friction of 10 degrees.
double siltFrictionalResistance(double phi, double g, double b, double x, double d, double ratio);

// Depth in a deposit of this silt whose integrated resistance equals f; d1 is
// the depth of the layer's first curve below the excavation level.
double siltEquivalentDepth(double phi, double c, double g, double b, double f, double d1);

void generateSiltLayer(PyGenContext& ctx, int layer);

}  // namespace ramvex
