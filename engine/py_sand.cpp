#include "py_sand.h"

#include <algorithm>
#include <cmath>

#include "fortran_format.h"

namespace ramvex {
namespace {

constexpr double kPi = kSandPi;
constexpr double kK0 = static_cast<double>(0.4f);
constexpr double kContinuousRatio = static_cast<double>(1.1f);
constexpr double kDeepA = static_cast<double>(0.88f);
constexpr double kLastPoint = static_cast<double>(1.2f);
// Below this the friction angle gives no resistance and the curve exponent
// is 0/0.
constexpr double kMinPhi = 1.0e-10;

// A and B of the static sand criterion against x/b.
constexpr double kRatios[] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
constexpr float kFactorA[] = {2.83f, 2.48f, 2.11f, 1.76f, 1.48f, 1.23f, 1.06f, 0.90f, 0.88f, 0.88f};
constexpr float kFactorB[] = {2.14f, 1.83f, 1.54f, 1.27f, 1.05f, 0.86f, 0.71f, 0.53f, 0.50f, 0.50f};
constexpr size_t kTableSize = sizeof kRatios / sizeof kRatios[0];

// Linear between the points and along the end segments outside them.
double tableAt(const float (&values)[kTableSize], double r) {
  size_t k = 1;
  while (k < kTableSize - 1 && r > kRatios[k]) ++k;
  const double v0 = static_cast<double>(values[k - 1]), v1 = static_cast<double>(values[k]);
  return v0 + (v1 - v0) * (r - kRatios[k - 1]) / (kRatios[k] - kRatios[k - 1]);
}

double squared(double v) { return v * v; }

void writeValues(PyGenContext& ctx, double d, double b, double phi, double g, double a, double bFactor,
                 const SandResistance& r) {
  TextOutput& out = ctx.run.report;
  const UnitLabels& u = ctx.run.labels;
  out.line(fmt::Record()
               .X(11)
               .lit("DEPTH BELOW GS")
               .X(3)
               .lit("DIAM")
               .X(4)
               .lit("PHI")
               .X(2)
               .lit("GAMMA AVG")
               .X(4)
               .lit("A")
               .X(4)
               .lit("B")
               .X(4)
               .lit("PCT")
               .X(6)
               .lit("PCD"));
  out.line(fmt::Record().X(18).lit(u.length3).X(4).lit(u.length3).X(8).lit(unitWeightLabel(ctx.run)));
  out.line(fmt::Record()
               .X(8)
               .F(d, 10, 2)
               .F(b, 7, 2)
               .F(phi / kDegreesToRadians, 7, 2)
               .E(g, 9, 2)
               .F(a, 5, 2)
               .F(bFactor, 5, 2)
               .E(r.pst, 9, 2)
               .E(r.psd, 9, 2));
  out.empty();
}

}  // namespace

double sandFactorA(double xOverB) { return tableAt(kFactorA, xOverB); }
double sandFactorB(double xOverB) { return tableAt(kFactorB, xOverB); }

SandResistance sandUltimateResistance(double phi, double g, double b, double x, double d, double ratio, double pi) {
  SandResistance r;
  const double alpha = phi / 2.0;
  const double beta = pi / 4.0 + phi / 2.0;
  r.ka = squared(std::tan(pi / 4.0 - phi / 2.0));
  r.kp = squared(std::tan(pi / 4.0 + phi / 2.0));
  const double tb = std::tan(beta), tbp = std::tan(beta - phi), tp = std::tan(phi), ta = std::tan(alpha);
  const double t1 = kK0 * x * tp * std::sin(beta) / (tbp * std::cos(alpha));
  const double t2 = tb / tbp * (b + x * tb * ta);
  const double t3 = kK0 * x * tb * (tp * std::sin(beta) - ta);
  r.pst = g * x * (t1 + t2 + t3 - r.ka * b);
  r.psd = r.ka * b * g * x * (std::pow(tb, 8) - 1.0) + kK0 * b * g * x * tp * std::pow(tb, 4);
  r.ps = std::min(r.pst, r.psd);
  if (ratio < kContinuousRatio) {
    // Passive pressure with a wall friction of phi/2.
    const double root = std::sqrt(std::sin(phi) * std::sin(1.5 * phi) / std::cos(phi / 2.0));
    const double kpw = squared(std::cos(phi)) / (std::cos(phi / 2.0) * squared(1.0 - root));
    r.ps = b * kpw * g * d;
  }
  return r;
}

SandCurve sandCurve(double pu, double pm, double b, double kx, double x) {
  SandCurve c;
  double yu = 3.0 * b / 80.0;
  double ym = b / 60.0;
  double yk = 2.0 * b;
  double m = 0, n = 0, cc = 0;
  const bool resisting = pu > 0;
  if (resisting) {
    m = (pu - pm) / (yu - ym);
    if (x > 0) {
      n = pm / (m * ym);
      cc = pm / std::pow(ym, 1.0 / n);
      yk = std::pow(cc / kx, n / (n - 1.0));
    }
    // A soft initial line reaches pu only beyond yu: the curve is stretched
    // so that the line ends at the ultimate resistance.
    if (kx > 0 && yu < yk) {
      ym *= (pu / kx) / yu;
      yu = pu / kx;
      yk = ym / 10.0;
    }
  }
  const double yb = yk <= ym / 5.0 ? yk : ym / 10.0;

  SidePoints& y = c.y;
  y[0] = 0;
  y[1] = yb / 2.0;
  y[2] = yb;
  for (int i = 1; i <= 9; ++i) y[2 + i] = yb + (ym - yb) * i / 10.0;
  y[12] = ym;
  y[13] = (2.0 * ym + yu) / 3.0;
  y[14] = (ym + 2.0 * yu) / 3.0;
  y[15] = yu;
  y[16] = kLastPoint * yu;

  for (int j = 0; j < kPointsPerSide; ++j) {
    const double yj = y[j];
    double p = 0;
    if (resisting) {
      if (yj > yk || yj >= ym) {
        if (yj < ym) p = cc * std::pow(yj, 1.0 / n);
        else if (yj < yu) p = pm + m * (yj - ym);
        else p = pu;
      } else {
        p = kx * yj;
      }
      p = std::min(p, kx * yj);
    }
    c.p[j] = p;
  }
  c.yu = yu;
  c.ym = ym;
  c.yk = yk;
  return c;
}

SandWedgeConstants sandWedgeConstants(double phi, double b, double pi) {
  const double alpha = phi / 2.0;
  const double beta = pi / 4.0 + phi / 2.0;
  const double ka = squared(std::tan(pi / 4.0 - phi / 2.0));
  const double kp = squared(std::tan(pi / 4.0 + phi / 2.0));
  const double tb = std::tan(beta), tp = std::tan(phi), ta = std::tan(alpha);
  SandWedgeConstants k;
  k.c1 = tb * (kK0 * ((1.0 + 1.0 / std::cos(alpha)) * tp * std::sin(beta) - ta) + kp * ta);
  k.c2 = kp * kp * (kp + kK0 * tp) - ka;
  k.c3 = kp - ka;
  k.xt = (k.c2 - k.c3) * b / k.c1;
  return k;
}

double sandEquivalentDepth(double phi, double g, double b, double f, double d1) {
  if (!(f > 0)) return 0;
  const auto [c1, c2, c3, xt] = sandWedgeConstants(phi, b, kPi);
  const double dx = xt / 100.0;
  double s = 0;
  for (int i = 1; i <= 100; ++i) {
    const double xi = i * dx;
    const double previous = s;
    s += g * b * b * sandFactorA(xi / b) * (squared(xi / b) * c1 + xi * c3 / b) * dx;
    if (s > f) {
      const double xeq = xi - (s - f) * dx / (s - previous);
      return std::isfinite(xeq) ? xeq : 0.0;
    }
  }
  const double xeq = xt + (f - s) / (kDeepA * g * b * d1 * c2);
  return std::isfinite(xeq) ? xeq : 0.0;
}

void generateSandLayer(PyGenContext& ctx, int layer) {
  PyProfile& pr = ctx.profile;
  PyLayer& l = pr.layers[static_cast<size_t>(layer)];
  const double b = pr.width;
  const int last = l.firstCurve + l.curveCount - 1;
  double phi = 0, g = 0, puPrevious = 0;
  for (int curve = l.firstCurve; curve <= last; ++curve) {
    const double xc = pr.curveDepths[static_cast<size_t>(curve)];
    for (WallSide side : {WallSide::Excavation, WallSide::Backfill}) {
      const double d = sideDepth(pr, xc, side);
      if (side == WallSide::Excavation) {
        phi = phiAt(ctx.run, pr, xc);
        g = meanUnitWeight(ctx.run, pr, xc);
        if (!(phi >= kMinPhi))
          pyErrorStop(ctx.run, "     ERROR STOP -- THE SAND OF P-Y LAYER " + fmt::freeInt(layer + 1) +
                                   " HAS NO FRICTION ANGLE: ITS P-Y CURVES ARE UNDEFINED");
        if (layer > 0 && curve == l.firstCurve)
          l.xeq = sandEquivalentDepth(phi, g, b, resistanceAbove(pr, layer), pr.curveDepths[static_cast<size_t>(l.firstCurve)]);
      }
      const double x = resistanceDepth(pr, layer, d);
      const SandResistance r = sandUltimateResistance(phi, g, b, x, d, pr.ratio);
      const double a = sandFactorA(d / b);
      const double bf = sandFactorB(d / b);
      // A resistance that is not positive (no weight, or an angle too small
      // for the wedge) leaves the side without soil support.
      const double ps = r.ps > 0 ? r.ps : 0.0;
      const double pu = a * ps;
      const double pm = bf * ps;
      const SandCurve curveShape = sandCurve(pu, pm, b, l.k * x, x);
      double delta = ctx.sigmaH * r.ka * b;
      if (delta < 1.0e-5) delta = 0;

      writeSideBanner(ctx, side);
      writeValues(ctx, d, b, phi, g, a, bf, r);
      writePointHeading(ctx);
      emitSidePoints(ctx, layer, curve, side, curveShape.y, curveShape.p, delta, EmitOptions{});

      if (side == WallSide::Excavation) {
        if (curve > l.firstCurve) l.fu += 0.5 * (puPrevious + pu) * (xc - pr.curveDepths[static_cast<size_t>(curve - 1)]);
        if (curve == last) l.fu += (l.xbot - xc) * pu;
        puPrevious = pu;
      }
    }
  }
}

}  // namespace ramvex
