#include "py_stiff_clay_free_water.h"

#include <algorithm>
#include <cmath>

#include "fortran_format.h"
#include "py_stiff_clay_dry.h"

namespace ramvex {
namespace {

constexpr double f32(float v) { return static_cast<double>(v); }

constexpr double kContinuousRatio = f32(1.1f);
constexpr int kEquivalentDepthSteps = 40;

// As of the static criterion at x/b = 0, 1, ..., 5.
constexpr float kFactorAs[] = {0.223f, 0.46f, 0.55f, 0.59f, 0.6f, 0.6f};
constexpr int kAsPoints = sizeof kFactorAs / sizeof kFactorAs[0];

// Deflections of the points in units of As y50: the rise and softening in
// half steps to 6, the descent to 18 and one point far on the residual.
constexpr float kPointMultiples[kPointsPerSide] = {0.0f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f,  3.0f,  3.5f,  4.0f,
                                                   4.5f, 5.0f, 5.5f, 6.0f, 10.0f, 14.0f, 18.0f, 200.0f};

void writeValues(PyGenContext& ctx, int layer, double xc, double d, double b, double c, double cbar, double g,
                 double e50) {
  writeStiffClayValues(ctx, 9, d, b, c, cbar, g, e50);
  TextOutput& out = ctx.run.report;
  const PyLayer& l = ctx.profile.layers[static_cast<size_t>(layer)];
  out.line(" XEQ " + fmt::freeInt(layer + 1) + " " + fmt::freeReal(l.xeq) + " " + fmt::freeReal(xc));
}

}  // namespace

double stiffClayFactorAs(double xOverB) {
  int k = 1;
  while (k < kAsPoints - 1 && xOverB > k) ++k;
  const double a0 = f32(kFactorAs[k - 1]), a1 = f32(kFactorAs[k]);
  return a0 + (a1 - a0) * (xOverB - (k - 1));
}

double stiffClayFreeWaterUltimate(double c, double cbar, double g, double b, double x, double d, double ratio) {
  if (ratio < kContinuousRatio) return g * d * b + f32(2.0f) * c * b;
  const double pct = f32(2.0f) * cbar * b + g * b * x + f32(2.83f) * cbar * x;
  const double pcd = f32(11.0f) * c * b;
  return std::min(pct, pcd);
}

void stiffClayFreeWaterCurve(double pc, double y50, double as, double es, SidePoints& y, SidePoints& p) {
  const double ya = as * y50;  // end of the parabola
  const double half = f32(0.5f);
  // The descent starts where the softening branch has taken 0.411 pc off
  // the parabola and ends on the residual at 18 As y50.
  const double top = half * pc * std::sqrt(f32(6.0f) * as) - f32(0.411f) * pc;
  for (int j = 0; j < kPointsPerSide; ++j) {
    const double yj = f32(kPointMultiples[j]) * ya;
    double pj;
    if (!(yj > 0)) pj = 0;
    else if (yj <= ya) pj = half * pc * std::pow(yj / y50, half);
    else if (yj <= f32(6.0f) * ya)
      pj = half * pc * std::pow(yj / y50, half) - f32(0.055f) * pc * std::pow(yj / ya - 1.0, f32(1.25f));
    else if (yj <= f32(18.0f) * ya) pj = top - (f32(0.0625f) * pc / y50) * (yj - f32(6.0f) * ya);
    else pj = top - f32(0.75f) * pc * as;
    y[j] = yj;
    p[j] = std::min(pj, es * yj);
  }
}

double stiffClayResidualShare(double as) { return f32(1.225f) * std::sqrt(as) - f32(0.75f) * as - f32(0.411f); }

double stiffClayFreeWaterEquivalentDepth(double c, double cbar, double g, double b, double f) {
  if (!(f > 0)) return 0;
  // xr: where the wedge value reaches flow around the element.
  const double xr = (f32(11.0f) * c * b - f32(2.0f) * cbar * b) / (f32(2.83f) * cbar + g * b);
  const double dx = xr / kEquivalentDepthSteps;
  double s = 0, share = 0;
  for (int i = 1; i <= kEquivalentDepthSteps; ++i) {
    const double xi = i * dx;
    share = stiffClayResidualShare(stiffClayFactorAs(xi / b));
    const double previous = s;
    s += (f32(2.83f) * cbar * xi + g * b * xi + f32(2.0f) * cbar * b) * share * dx;
    if (s > f) {
      const double xeq = xi - (s - f) * dx / (s - previous);
      return std::isfinite(xeq) ? xeq : 0.0;
    }
  }
  const double xeq = xr + (f - s) / (f32(11.0f) * c * b * share);
  return std::isfinite(xeq) ? xeq : 0.0;
}

void generateStiffClayFreeWaterLayer(PyGenContext& ctx, int layer) {
  PyProfile& pr = ctx.profile;
  PyLayer& l = pr.layers[static_cast<size_t>(layer)];
  const double b = pr.width;
  double c = 0, cbar = 0, g = 0, e50 = 0, pcPrevious = 0, cPrevious = 0, cohesionSum = 0;
  for (int curve = l.firstCurve; curve < l.firstCurve + l.curveCount; ++curve) {
    const size_t ci = static_cast<size_t>(curve);
    const double xc = pr.curveDepths[ci];
    for (WallSide side : {WallSide::Excavation, WallSide::Backfill}) {
      const double d = sideDepth(pr, xc, side);
      if (side == WallSide::Excavation) {
        c = cohesionAt(ctx.run, pr, xc);
        g = meanUnitWeight(ctx.run, pr, xc);
        e50 = e50At(pr, xc);
        // Running trapezoidal average of the cohesion over the layer's
        // curves, kept on the excavation side: the backfill side at the same
        // elevation uses the same soil, as for every other property.
        if (curve == l.firstCurve) {
          cohesionSum = 0;
          cbar = c;
        } else {
          cohesionSum += 0.5 * (cPrevious + c) * (xc - pr.curveDepths[ci - 1]);
          cbar = cohesionSum / (xc - pr.curveDepths[static_cast<size_t>(l.firstCurve)]);
        }
        cPrevious = c;
        if (layer == 0) cbar = meanCohesion(ctx.run, pr, xc, 0);
        if (layer > 0 && curve == l.firstCurve)
          l.xeq = stiffClayFreeWaterEquivalentDepth(c, cbar, g, b, resistanceAbove(pr, layer));
      }
      // The curves use the plain depth; the equivalent depth is reported.
      const double x = d;
      const double pc = stiffClayFreeWaterUltimate(c, cbar, g, b, x, d, pr.ratio);
      const double y50 = e50 * b;
      const double as = stiffClayFactorAs(d / b);
      SidePoints y{}, p{};
      stiffClayFreeWaterCurve(pc, y50, as, l.k * x, y, p);
      double delta = b * (ctx.sigmaH - 2.0 * c);
      if (!(delta > 1.0e-10)) delta = 0;

      writeSideBanner(ctx, side);
      writeValues(ctx, layer, xc, d, b, c, cbar, g, e50);
      writePointHeading(ctx);
      EmitOptions options;
      options.multiplierLine = false;
      emitSidePoints(ctx, layer, curve, side, y, p, delta, options);

      if (side == WallSide::Excavation) {
        if (curve > l.firstCurve)
          l.fu += 0.5 * (pcPrevious + pc) * stiffClayResidualShare(as) * (xc - pr.curveDepths[ci - 1]);
        pcPrevious = pc;
      }
    }
  }
}

}  // namespace ramvex
