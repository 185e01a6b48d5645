// Soft clay p-y curves (type code 1, and any code outside 1 to 7): the
// cube-root parabola of the soft-clay criterion, flat beyond eight times y50.
#pragma once

#include "py_model_support.h"

namespace ramvex {

// Ultimate resistance per length of wall at resistance depth x: the wedge
// formula for discrete elements capped by flow around them; for a continuous
// wall (ratio below 1.1) a passive value at the side's own depth d.
double softClayUltimateResistance(double c, double g, double b, double x, double d, double ratio);

// Depth in a deposit of this clay whose integrated ultimate resistance equals
// f (the resistance of the layers above).
double softClayEquivalentDepth(double c, double g, double b, double f);

// Depth in a clay deposit whose integrated wedge resistance
// (3 + g x/c + x/2b) c b, flow around (9 c b) below xr, equals f.
double clayWedgeEquivalentDepth(double c, double g, double b, double f, double xr);

void generateSoftClayLayer(PyGenContext& ctx, int layer);

}  // namespace ramvex
