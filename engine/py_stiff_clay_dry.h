// Stiff clay without free water p-y curves (type code 3): a fourth-root
// parabola up to 16 y50 and the ultimate resistance beyond.
#pragma once

#include "py_model_support.h"

namespace ramvex {

// Ultimate resistance: the smaller of the wedge value at depth x (with the
// layer's average cohesion) and flow around the element; for a continuous
// wall (ratio below 1.1) a passive value at the side's own depth d.
double stiffClayDryUltimate(double c, double cbar, double g, double b, double x, double d, double ratio);

// The 17 points from pc and y50 = 2.5 E50 b.
void stiffClayDryCurve(double pc, double y50, SidePoints& y, SidePoints& p);

// Depth in a deposit of this clay whose integrated resistance equals f.
double stiffClayDryEquivalentDepth(double c, double cbar, double g, double b, double f);

void generateStiffClayDryLayer(PyGenContext& ctx, int layer);

// The heading, unit and value lines that both stiff-clay models list per
// side; their headings stand at different indents.
void writeStiffClayValues(PyGenContext& ctx, int headingIndent, double d, double b, double c, double cbar, double g,
                          double e50);

}  // namespace ramvex
