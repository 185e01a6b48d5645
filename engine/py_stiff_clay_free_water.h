// Stiff clay with free water p-y curves (type code 2): a square-root
// parabola to As y50, a softening branch to 6 As y50, a straight descent to
// 18 As y50 and a constant residual, all capped by the initial line k x y.
#pragma once

#include "py_model_support.h"

namespace ramvex {

// The empirical factor As of the criterion against x/b, linear between the
// points and along the last segment beyond them.
double stiffClayFactorAs(double xOverB);

// Ultimate resistance: the smaller of the wedge value at depth x (with the
// layer's average cohesion) and flow around the element; for a continuous
// wall (ratio below 1.1) a passive value at the side's own depth d.
double stiffClayFreeWaterUltimate(double c, double cbar, double g, double b, double x, double d, double ratio);

// The 17 points from pc, y50 = E50 b, As and the initial slope es = k x.
void stiffClayFreeWaterCurve(double pc, double y50, double as, double es, SidePoints& y, SidePoints& p);

// Share of pc the curve keeps at large deflection, 1.225 sqrt(As) - 0.75 As
// - 0.411: the weight of pc in the integrated resistance.
double stiffClayResidualShare(double as);

// Depth in a deposit of this clay whose integrated resistance equals f.
double stiffClayFreeWaterEquivalentDepth(double c, double cbar, double g, double b, double f);

void generateStiffClayFreeWaterLayer(PyGenContext& ctx, int layer);

}  // namespace ramvex
