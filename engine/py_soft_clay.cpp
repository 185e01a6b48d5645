#include "py_soft_clay.h"

#include <cmath>
#include <limits>

#include "fortran_format.h"

namespace ramvex {
namespace {

constexpr double kJ = static_cast<double>(0.5f);
constexpr double kThird = static_cast<double>(1.0f / 3.0f);
constexpr double kTwoThirds = static_cast<double>(2.0f / 3.0f);
constexpr double kMinDeflection = static_cast<double>(1.0e-14f);
constexpr double kContinuousRatio = static_cast<double>(1.1f);

// Deflections as fractions of 8 y50, the end of the parabola.
constexpr float kPointFactors[kPointsPerSide] = {0.0f,  0.00025f, 0.0025f, 0.0075f, 0.02f, 0.04f,
                                                 0.06f, 0.1f,     0.15f,   0.225f,  0.3f,  0.4f,
                                                 0.5f,  0.65f,    0.8f,    1.0f,    1.2f};

void writeValues(PyGenContext& ctx, double d, double b, double c, double g, double e50) {
  TextOutput& out = ctx.run.report;
  const UnitLabels& u = ctx.run.labels;
  out.line(fmt::Record().X(9).lit("DEPTH BELOW GS").X(6).lit("DIAM").X(8).lit("C").X(6).lit("GAMMA AVG").X(6).lit("E50"));
  out.line(fmt::Record().X(14).lit(u.length3).X(11).lit(u.length3).X(3).lit(pressureLabel(ctx.run)).X(1).lit(unitWeightLabel(ctx.run)));
  out.line(fmt::Record().X(8).F(d, 10, 2).X(6).F(b, 10, 3).X(1).D(c, 10, 4).X(1).D(g, 10, 4).D(e50, 12, 4));
}

}  // namespace

double softClayUltimateResistance(double c, double g, double b, double x, double d, double ratio) {
  if (ratio < kContinuousRatio) return (g * d + 2.0 * c) * b;
  const double np = c > 0 ? 3.0 + g * x / c + kJ * x / b : 0.0;
  return np <= 9.0 ? np * c * b : 9.0 * c * b;
}

double clayWedgeEquivalentDepth(double c, double g, double b, double f, double xr) {
  if (!(f > 0)) return 0;
  // fr: the integral of the wedge resistance (3 + g x/c + x/2b) c b up to xr.
  const double fr = g * b * xr * xr / 2.0 + 3.0 * c * b * xr + c * xr * xr / 4.0;
  double xeq;
  if (f <= fr) {
    const double a = c / 4.0 + g * b / 2.0;
    const double bb = 3.0 * c * b;
    xeq = (-bb + std::sqrt(bb * bb + 4.0 * a * f)) / (2.0 * a);
  } else {
    xeq = xr + (f - fr) / (9.0 * c * b);
  }
  // A clay without strength or weight has no depth that matches.
  return std::isfinite(xeq) ? xeq : 0.0;
}

double softClayEquivalentDepth(double c, double g, double b, double f) {
  // xr: where the wedge formula reaches 9.
  return clayWedgeEquivalentDepth(c, g, b, f, 6.0 * c * b / (kJ * c + g * b));
}

void generateSoftClayLayer(PyGenContext& ctx, int layer) {
  PyProfile& pr = ctx.profile;
  PyLayer& l = pr.layers[static_cast<size_t>(layer)];
  const double b = pr.width;
  double c = 0, g = 0, e50 = 0, puPrevious = 0;
  for (int curve = l.firstCurve; curve < l.firstCurve + l.curveCount; ++curve) {
    const double xc = pr.curveDepths[static_cast<size_t>(curve)];
    for (WallSide side : {WallSide::Excavation, WallSide::Backfill}) {
      const double d = sideDepth(pr, xc, side);
      if (side == WallSide::Excavation) {
        c = cohesionAt(ctx.run, pr, xc);
        g = meanUnitWeight(ctx.run, pr, xc);
        e50 = e50At(pr, xc);
        if (layer > 0 && curve == l.firstCurve) l.xeq = softClayEquivalentDepth(c, g, b, resistanceAbove(pr, layer));
      }
      const double x = resistanceDepth(pr, layer, d);
      const double pu = softClayUltimateResistance(c, g, b, x, d, pr.ratio);
      double delta = b * (ctx.sigmaH - 2.0 * c);
      if (!(delta > 1.0e-10)) delta = 0;

      const double y50 = 2.5 * e50 * b;
      // Secant modulus of the parabola at the smallest deflection it is
      // evaluated at; without a y50 the curve is rigid.
      const double ei = y50 > 0 ? 0.5 * pu * std::pow(y50 / kMinDeflection, kTwoThirds) / y50
                                : std::numeric_limits<double>::infinity();
      SidePoints y{}, p{};
      for (int j = 0; j < kPointsPerSide; ++j) {
        y[j] = 8.0 * y50 * static_cast<double>(kPointFactors[j]);
        if (y[j] < kMinDeflection) p[j] = y[j] > 0 ? ei * y[j] : 0.0;
        else if (y[j] <= 8.0 * y50) p[j] = 0.5 * pu * std::pow(y[j] / y50, kThird);
        else p[j] = pu;
      }

      writeSideBanner(ctx, side);
      writeValues(ctx, d, b, c, g, e50);
      writePointHeading(ctx);
      EmitOptions options;
      options.minimumDeflectionWarning = true;
      options.initialModulus = ei;
      emitSidePoints(ctx, layer, curve, side, y, p, delta, options);

      if (side == WallSide::Excavation) {
        if (curve > l.firstCurve) l.fu += 0.5 * (puPrevious + pu) * (xc - pr.curveDepths[static_cast<size_t>(curve - 1)]);
        puPrevious = pu;
      }
    }
  }
}

}  // namespace ramvex
