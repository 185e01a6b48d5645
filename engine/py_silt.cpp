#include "py_silt.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "fortran_format.h"
#include "py_sand.h"

namespace ramvex {
namespace {

constexpr double f32(float v) { return static_cast<double>(v); }

constexpr double kPi = std::numbers::pi;
constexpr double kContinuousRatio = f32(1.1f);
constexpr double kWallFriction = f32(0.17453f);  // 10 degrees
constexpr double kDeepA = f32(0.88f);
constexpr int kEquivalentDepthSteps = 50;

double squared(double v) { return v * v; }

[[noreturn]] void noFrictionStop(RunState& run) {
  // The friction angle enters the wedge as a slope limit; without one the
  // frictional part and the curve exponent are undefined.
  const std::string indent(7, ' ');
  soilModelStop(run, 0,
                {"", "", indent + "WARNING-------The Angle of the slope can not",
                 indent + "              be greater than the internal  ",
                 indent + "              friction angle of the sand.   ", ""});
}

void writeValues(PyGenContext& ctx, double d, double b, double phi, double g, double a, double bFactor, double pc,
                 double ps) {
  TextOutput& out = ctx.run.report;
  const UnitLabels& u = ctx.run.labels;
  out.empty(2);
  out.line(fmt::Record()
               .X(5)
               .lit("DEPTH")
               .X(6)
               .lit("DIAM")
               .X(6)
               .lit("PHI")
               .X(2)
               .lit("GAMMA AVG")
               .X(8)
               .lit("A")
               .X(9)
               .lit("B")
               .X(5)
               .lit("Puc")
               .X(7)
               .lit("Pu\xED"));  // Pu-phi in the report's code page
  out.line(fmt::Record().X(7).lit(u.length2).X(8).lit(u.length2).X(12).lit(unitWeightLabel(ctx.run)));
  out.line(fmt::Record()
               .F(d, 10, 2)
               .F(b, 10, 2)
               .F(phi * 180.0 / kPi, 10, 1)
               .E(g, 10, 3)
               .F(a, 10, 2)
               .F(bFactor, 10, 2)
               .E(pc, 10, 3)
               .E(ps, 10, 3));
  out.empty();
  out.line(fmt::Record().X(37).lit("Y").X(19).lit("P"));
  out.line(fmt::Record().X(37).lit(u.length2).X(16).lit(lineLoadLabel(ctx.run)));
}

}  // namespace

SiltCurve siltCurve(double pu, double pm, double b, double kx, double x) {
  SiltCurve s;
  double yu = 3.0 * b / 80.0;
  double ym = b / 60.0;
  double yk = 2.0 * b, y1 = 0, y2 = 0;
  int shape = 1;
  double m = 0, n = 0, cc = 0;
  // Without resistance or initial stiffness there is no curve to shape.
  const bool resisting = pm > 0 && kx > 0;
  if (resisting) {
    // m < 0 when pm exceeds pu: the curve falls from ym to pu at yu.
    m = (pu - pm) / (yu - ym);
    n = pm / (std::fabs(m) * ym);
    cc = pm / std::pow(ym, 1.0 / n);
    if (x > 0) {
      yk = std::pow(cc / kx, n / (n - 1.0));
      if (yk >= 0 && yk < ym) {
        shape = 1;
      } else {
        y1 = (pm - m * ym) / (kx - m);
        if (y1 >= ym && y1 < yu) {
          shape = 2;
        } else {
          y2 = pu / kx;
          shape = y2 >= yu ? 3 : 1;
        }
      }
    }
    // The initial line passes the straight part: the curve is stretched so
    // that the line ends at the ultimate resistance.
    if (shape == 1 && yk > yu) {
      ym *= (pu / kx) / yu;
      yu = pu / kx;
      yk = ym / 10.0;
    }
  }

  SidePoints& y = s.y;
  switch (shape) {
    case 1: {
      const double yb = yk <= ym / 5.0 ? yk : ym / 10.0;
      y[0] = 0;
      y[1] = yb / 2.0;
      y[2] = yb;
      for (int i = 1; i <= 9; ++i) y[2 + i] = yb + (ym - yb) * i / 10.0;
      y[12] = ym;
      y[13] = (2.0 * ym + yu) / 3.0;
      y[14] = (ym + 2.0 * yu) / 3.0;
      y[15] = yu;
      y[16] = 1.2 * yu;
      break;
    }
    case 2: {
      // Eighths of y1 without the sixth; y1 itself twice.
      constexpr double kEighths[8] = {0, 1, 2, 3, 4, 5, 7, 8};
      for (int j = 0; j < 8; ++j) y[j] = y1 * kEighths[j] / 8.0;
      y[8] = y1;
      for (int i = 1; i <= 5; ++i) y[8 + i] = y1 + (yu - y1) * i / 6.0;
      y[14] = yu;
      y[15] = 1.1 * yu;
      y[16] = 1.2 * yu;
      break;
    }
    default: {
      for (int j = 0; j < 12; ++j) y[j] = y2 * j / 12.0;
      y[12] = y2;
      y[13] = 1.05 * y2;
      y[14] = 1.1 * y2;
      y[15] = 1.15 * y2;
      y[16] = 1.2 * y2;
      break;
    }
  }

  for (int j = 0; j < kPointsPerSide; ++j) {
    const double yj = y[j];
    double p = 0;
    if (resisting) {
      if (shape == 1) {
        if (yj <= yk) p = kx * yj;
        else if (yj <= ym) p = cc * std::pow(yj, 1.0 / n);
        else if (yj <= yu) p = pm + m * (yj - ym);
        else p = pu;
      } else if (shape == 2) {
        if (yj <= y1) p = kx * yj;
        else if (yj <= yu) p = kx * y1 + m * (yj - y1);
        else p = pu;
      } else {
        p = yj <= y2 ? kx * yj : pu;
      }
      p = std::min(p, kx * yj);
    }
    s.p[j] = p;
  }
  s.shape = shape;
  s.yu = yu;
  s.ym = ym;
  s.yk = yk;
  s.y1 = y1;
  s.y2 = y2;
  return s;
}

double siltCohesiveResistance(double c, double g, double b, double x, double d, double ratio) {
  if (ratio < kContinuousRatio) return 2.0 * c * b + g * d * b;
  if (!(c > 0)) return 0;
  const double np = 3.0 + x * g / c + 0.5 * x / b;
  return np < 9.0 ? c * np * b : 9.0 * c * b;
}

double siltFrictionalResistance(double phi, double g, double b, double x, double d, double ratio) {
  if (ratio < kContinuousRatio) {
    const double cd = std::cos(kWallFriction);
    const double root = std::sqrt(std::sin(phi) * std::sin(phi + kWallFriction) / cd);
    const double kpw = squared(std::cos(phi)) / (cd * squared(1.0 - root));
    return b * kpw * g * d;
  }
  // The discrete-element mechanisms of sand; the ratio bound keeps the sand
  // routine off its own continuous-wall value.
  return sandUltimateResistance(phi, g, b, x, d, kContinuousRatio, kPi).ps;
}

double siltEquivalentDepth(double phi, double c, double g, double b, double f, double d1) {
  if (!(f > 0)) return 0;
  // The wedge and flow-around resistances of the sand meet at xt.
  const auto [c1, c2, c3, xt] = sandWedgeConstants(phi, b, kPi);
  const double dx = xt / kEquivalentDepthSteps;
  double s = 0;
  for (int i = 1; i <= kEquivalentDepthSteps; ++i) {
    const double xi = i * dx;
    const double previous = s;
    // Sand wedge plus the uncapped soft-clay wedge (3 + g x/c + x/2b) c b.
    s += (g * b * b * sandFactorA(xi / b) * (squared(xi / b) * c1 + xi * c3 / b) + 0.5 * xi * c + xi * g * b +
          3.0 * c * b) *
         dx;
    if (s > f) {
      const double xeq = xi - (s - f) * dx / (s - previous);
      return std::isfinite(xeq) ? xeq : 0.0;
    }
  }
  const double xeq = xt + (f - s) / (9.0 * c * b + kDeepA * g * b * d1 * c2);
  return std::isfinite(xeq) ? xeq : 0.0;
}

void generateSiltLayer(PyGenContext& ctx, int layer) {
  PyProfile& pr = ctx.profile;
  PyLayer& l = pr.layers[static_cast<size_t>(layer)];
  const double b = pr.width;
  const int last = l.firstCurve + l.curveCount - 1;
  double phi = 0, c = 0, g = 0, puPrevious = 0;
  for (int curve = l.firstCurve; curve <= last; ++curve) {
    const size_t ci = static_cast<size_t>(curve);
    const double xc = pr.curveDepths[ci];
    for (WallSide side : {WallSide::Excavation, WallSide::Backfill}) {
      const double d = sideDepth(pr, xc, side);
      if (side == WallSide::Excavation) {
        phi = phiAt(ctx.run, pr, xc);
        c = cohesionAt(ctx.run, pr, xc);
        g = meanUnitWeight(ctx.run, pr, xc);
        e50At(pr, xc);  // looked up, not used by this criterion
      }
      if (!(1.0 - squared(std::cos(phi)) >= 1.0e-10)) noFrictionStop(ctx.run);
      if (side == WallSide::Excavation && layer > 0 && curve == l.firstCurve)
        l.xeq = siltEquivalentDepth(phi, c, g, b, resistanceAbove(pr, layer), pr.curveDepths[static_cast<size_t>(l.firstCurve)]);

      const double x = resistanceDepth(pr, layer, d);
      const double ka = squared(std::tan(kPi / 4.0 - phi / 2.0));
      double delta = ctx.sigmaH * ka * b - 2.0 * c * std::sqrt(ka) * b;
      if (!(delta >= 1.0e-5)) delta = 0;
      // A frictional part that is not positive (no weight) gives no support.
      const double ps = std::max(siltFrictionalResistance(phi, g, b, x, d, pr.ratio), 0.0);
      const double pc = siltCohesiveResistance(c, g, b, x, d, pr.ratio);
      const double a = sandFactorA(x / b);
      const double bf = sandFactorB(x / b);
      const double pu = a * ps;
      const double pm = 1.5 * ps + pc;
      const SiltCurve shape = siltCurve(pu, pm, b, l.k * x, x);

      writeSideBanner(ctx, side);
      writeValues(ctx, d, b, phi, g, a, bf, pc, ps);
      EmitOptions options;
      options.reportField = PointField::Exponent3;
      options.soilDataGapP = 2;
      options.soilDataGapY = 2;
      emitSidePoints(ctx, layer, curve, side, shape.y, shape.p, delta, options);

      if (side == WallSide::Excavation) {
        if (curve > l.firstCurve) l.fu += 0.5 * (puPrevious + pu) * (xc - pr.curveDepths[ci - 1]);
        if (curve == last) l.fu += (l.xbot - xc) * pu;
        puPrevious = pu;
      }
    }
  }
}

}  // namespace ramvex
