#include "py_stiff_clay_dry.h"

#include <algorithm>
#include <cmath>

#include "fortran_format.h"
#include "py_soft_clay.h"

namespace ramvex {
namespace {

constexpr double f32(float v) { return static_cast<double>(v); }

constexpr double kJ = f32(0.5f);
constexpr double kContinuousRatio = f32(1.1f);

// Deflections of points 1 to 15 as fractions of 16 y50, the end of the
// parabola; points 16 and 17 lie at 18 and 20 y50.
constexpr float kPointFactors[15] = {0.0f,   1.0e-5f, 5.0e-5f, 1.0e-4f, 5.0e-4f, 1.0e-3f, 5.0e-3f, 0.01f,
                                     0.025f, 0.05f,   0.075f,  0.1f,    0.25f,   0.5f,    1.0f};

void writeValues(PyGenContext& ctx, double d, double b, double c, double cbar, double g, double e50) {
  writeStiffClayValues(ctx, 10, d, b, c, cbar, g, e50);
  const UnitLabels& u = ctx.run.labels;
  TextOutput& out = ctx.run.report;
  out.line(fmt::Record().X(38).lit("Y").X(19).lit("P"));
  out.line(fmt::Record().X(37).lit(u.length2).X(15).lit(lineLoadLabel(ctx.run)));
}

std::string xeqLine(int layer, double xeq, double xc) {
  return " XEQ " + fmt::freeInt(layer + 1) + " " + fmt::freeReal(xeq) + " " + fmt::freeReal(xc);
}

}  // namespace

void writeStiffClayValues(PyGenContext& ctx, int headingIndent, double d, double b, double c, double cbar, double g,
                          double e50) {
  TextOutput& out = ctx.run.report;
  const UnitLabels& u = ctx.run.labels;
  out.line(fmt::Record()
               .X(headingIndent)
               .lit("DEPTH BELOW GS")
               .X(15 - headingIndent)
               .lit("DIAM")
               .X(8)
               .lit("C")
               .X(7)
               .lit("CAVG")
               .X(3)
               .lit("GAMMA AVG")
               .X(6)
               .lit("E50"));
  out.line(fmt::Record()
               .X(14)
               .lit(u.length3)
               .X(11)
               .lit(u.length3)
               .X(3)
               .lit(pressureLabel(ctx.run))
               .X(1)
               .lit(pressureLabel(ctx.run))
               .X(1)
               .lit(unitWeightLabel(ctx.run)));
  out.line(fmt::Record().X(8).F(d, 10, 2).X(6).F(b, 10, 3).X(1).D(c, 10, 2).X(1).D(cbar, 10, 2).X(1).D(g, 10, 2).D(e50, 12, 4));
}

double stiffClayDryUltimate(double c, double cbar, double g, double b, double x, double d, double ratio) {
  if (ratio < kContinuousRatio) return g * d * b + f32(2.0f) * c * b;
  const double pct = f32(3.0f) * cbar * b + g * b * x + kJ * cbar * x;
  const double pcd = f32(9.0f) * c * b;
  return std::min(pct, pcd);
}

void stiffClayDryCurve(double pc, double y50, SidePoints& y, SidePoints& p) {
  const double end = f32(16.0f) * y50;
  for (int j = 0; j < 15; ++j) y[j] = end * f32(kPointFactors[j]);
  y[15] = f32(18.0f) * y50;
  y[16] = f32(20.0f) * y50;
  for (int j = 0; j < kPointsPerSide; ++j) {
    if (!(y[j] > 0)) p[j] = 0;
    else if (y[j] <= end) p[j] = f32(0.5f) * pc * std::pow(y[j] / y50, f32(0.25f));
    else p[j] = pc;
  }
}

double stiffClayDryEquivalentDepth(double c, double cbar, double g, double b, double f) {
  // xr: where the wedge value reaches flow around.
  return clayWedgeEquivalentDepth(c, g, b, f, (f32(9.0f) * c * b - f32(3.0f) * cbar * b) / (kJ * c + g * b));
}

void generateStiffClayDryLayer(PyGenContext& ctx, int layer) {
  PyProfile& pr = ctx.profile;
  PyLayer& l = pr.layers[static_cast<size_t>(layer)];
  const double b = pr.width;
  double c = 0, cbar = 0, g = 0, e50 = 0, pcPrevious = 0;
  for (int curve = l.firstCurve; curve < l.firstCurve + l.curveCount; ++curve) {
    const size_t ci = static_cast<size_t>(curve);
    const double xc = pr.curveDepths[ci];
    for (WallSide side : {WallSide::Excavation, WallSide::Backfill}) {
      const double d = sideDepth(pr, xc, side);
      writeSideBanner(ctx, side);
      if (side == WallSide::Excavation) {
        c = cohesionAt(ctx.run, pr, xc);
        cbar = meanCohesion(ctx.run, pr, xc, layer);
        g = meanUnitWeight(ctx.run, pr, xc);
        e50 = e50At(pr, xc);
        if (layer > 0 && curve == l.firstCurve) {
          // Computed for the report; the curves of this clay keep the plain
          // depth, which an equivalent depth equal to the layer's top gives.
          l.xeq = stiffClayDryEquivalentDepth(c, cbar, g, b, resistanceAbove(pr, layer));
          ctx.run.report.line(xeqLine(layer, l.xeq, xc));
          l.xeq = l.xtop;
          ctx.run.report.line(xeqLine(layer, l.xeq, xc));
        }
      }
      const double x = d;
      const double pc = stiffClayDryUltimate(c, cbar, g, b, x, d, pr.ratio);
      SidePoints y{}, p{};
      stiffClayDryCurve(pc, f32(2.5f) * e50 * b, y, p);
      double delta = b * (ctx.sigmaH - 2.0 * c);
      if (!(delta > 1.0e-10)) delta = 0;

      writeValues(ctx, d, b, c, cbar, g, e50);
      ctx.run.report.line(xeqLine(layer, l.xeq, xc) + " " + fmt::freeReal(x));
      emitSidePoints(ctx, layer, curve, side, y, p, delta, EmitOptions{});

      if (side == WallSide::Excavation) {
        if (curve > l.firstCurve) l.fu += 0.5 * (pcPrevious + pc) * (xc - pr.curveDepths[ci - 1]);
        pcPrevious = pc;
      }
    }
  }
}

}  // namespace ramvex
