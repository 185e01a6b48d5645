#include "py_rock.h"

#include <algorithm>
#include <cmath>

#include "fortran_format.h"

namespace ramvex {
namespace {

constexpr double f32(float v) { return static_cast<double>(v); }

constexpr double kNoStrength = f32(1.0e-10f);
// Just below the layer top, so that the lookup takes the layer's own value.
constexpr double kBelowTop = f32(1.0e-8f);

// Deflections of weak rock in units of yrm = krm b; the first is not zero,
// so that the two halves of a curve do not meet at y = 0.
constexpr float kWeakRockFactors[kPointsPerSide] = {0.0005f, 0.001f, 0.003f, 0.006f, 0.009f, 0.02f,
                                                    0.04f,   0.06f,  0.08f,  0.1f,   0.25f,  0.5f,
                                                    0.75f,   1.0f,   4.0f,   8.0f,   12.0f};

// A rock without strength has no curve (strong rock divides by it).
[[noreturn]] void noStrengthStop(RunState& run) {
  const std::string indent(7, ' ');
  soilModelStop(run, 0,
                {"", indent + "--------------------WARNING----------------------",
                 indent + "THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT",
                 indent + "DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."});
}

void writeStrongRockValues(PyGenContext& ctx, WallSide side, double depth, double b, double s) {
  TextOutput& out = ctx.run.report;
  const UnitLabels& u = ctx.run.labels;
  out.empty(2);
  out.line(fmt::Record()
               .X(17)
               .lit(side == WallSide::Excavation ? "DEPTH-EXCAVATION SIDE" : "DEPTH-BACKFILL SIDE  ")
               .X(5)
               .lit("DIAM")
               .X(8)
               .lit("C"));
  out.line(fmt::Record().X(30).lit(u.length3).X(12).lit(u.length3).X(5).lit(pressureLabel(ctx.run)));
  out.line(fmt::Record().X(24).F(depth, 10, 2).X(5).F(b, 10, 3).E(s, 10, 1));
  out.line(fmt::Record().X(38).lit("Y").X(19).lit("P"));
  out.line(fmt::Record().X(38).lit(u.length2).X(15).lit(lineLoadLabel(ctx.run)));
}

void writeWeakRockValues(PyGenContext& ctx, double d, double b, double qu, double er, double g, double krm) {
  TextOutput& out = ctx.run.report;
  const UnitLabels& u = ctx.run.labels;
  out.empty(2);
  out.line(fmt::Record()
               .X(14)
               .lit("DEPTH")
               .X(5)
               .lit("DIAM")
               .X(7)
               .lit("Qu")
               .X(7)
               .lit(" Eu ")
               .X(3)
               .lit("GAMMA AVG")
               .X(6)
               .lit("E50"));
  out.line(fmt::Record()
               .X(16)
               .lit(u.length3)
               .X(7)
               .lit(u.length3)
               .X(4)
               .lit(pressureLabel(ctx.run) + " ")
               .lit(pressureLabel(ctx.run) + " ")
               .lit(unitWeightLabel(ctx.run) + " "));
  // The columns headed Eu and E50 hold the rock modulus and the strain
  // constant krm.
  out.line(fmt::Record().X(10).F(d, 10, 2).F(b, 10, 3).E(qu, 10, 2).E(er, 10, 2).E(g, 10, 2).E(krm, 12, 3));
  out.line(fmt::Record().X(37).lit("Y").X(19).lit("P"));
  out.line(fmt::Record().X(37).lit(u.length2).X(16).lit(lineLoadLabel(ctx.run)));
}

}  // namespace

StrongRockCurve strongRockCurve(double qu, double b, double g, double d, double pm) {
  StrongRockCurve c;
  const double s = f32(0.5f) * qu;  // shear strength
  const double ei = f32(2000.0f) * s;
  const double slope = f32(100.0f) * s;
  c.y1 = f32(0.0004f) * b;
  const double p1 = ei * c.y1;
  c.y2 = c.y1 + (s * b - p1) / slope;
  const double step = c.y2 / f32(15.0f);
  for (int j = 0; j < kPointsPerSide; ++j) {
    const double y = j * step;
    c.y[j] = y;
    // The point at y2 carries the peak s b; the brittle drop lies beyond it.
    if (y < c.y1) c.p[j] = pm * ei * y;
    else if (j <= 15) c.p[j] = pm * (p1 + slope * (y - c.y1));
    else c.p[j] = f32(0.5f) * g * b * d;
  }
  return c;
}

double weakRockStrengthReduction(double rqd) { return 1.0 - rqd * f32(1.0f / 150.0f); }

WeakRockResistance weakRockResistance(double qa, double alphaR, double er, double b, double xr) {
  WeakRockResistance r;
  // Near the rock surface both grow with depth up to three widths.
  if (xr <= 3.0 * b) {
    r.pur = alphaR * qa * b * (1.0 + f32(1.4f) * xr / b);
    r.ki = (100.0 + 400.0 * xr / (3.0 * b)) * er;
  } else {
    r.pur = f32(5.2f) * alphaR * qa * b;
    r.ki = 500.0 * er;
  }
  return r;
}

void weakRockCurve(const WeakRockResistance& r, double yrm, SidePoints& y, SidePoints& p) {
  const double half = 0.5 * r.pur;
  // Where the initial line meets the quarter-power branch.
  const double ya = std::pow(half / (std::pow(yrm, 0.25) * r.ki), 4.0 / 3.0);
  for (int j = 0; j < kPointsPerSide; ++j) {
    y[j] = yrm * f32(kWeakRockFactors[j]);
    p[j] = y[j] < ya ? r.ki * y[j] : std::min(half * std::pow(y[j] / yrm, 0.25), r.pur);
  }
}

void generateStrongRockLayer(PyGenContext& ctx, int layer) {
  PyProfile& pr = ctx.profile;
  const PyLayer& l = pr.layers[static_cast<size_t>(layer)];
  const double b = pr.width;
  double qu = 0, g = 0;
  for (int curve = l.firstCurve; curve < l.firstCurve + l.curveCount; ++curve) {
    const double xc = pr.curveDepths[static_cast<size_t>(curve)];
    const double pm = pMultiplier(ctx.input, pr, pr.freeHeight + xc);
    for (WallSide side : {WallSide::Excavation, WallSide::Backfill}) {
      if (side == WallSide::Excavation) {
        qu = cohesionAt(ctx.run, pr, xc);
        g = meanUnitWeight(ctx.run, pr, xc);
        if (!(qu >= kNoStrength)) noStrengthStop(ctx.run);
      }
      const double d = sideDepth(pr, xc, side);
      const StrongRockCurve c = strongRockCurve(qu, b, g, d, pm);
      writeStrongRockValues(ctx, side, d, b, f32(0.5f) * qu);
      EmitOptions options;
      options.multiplierLine = false;
      options.applyPMultiplier = false;
      options.reportField = PointField::DExponent5;
      options.soilDataGapY = 0;
      emitSidePoints(ctx, layer, curve, side, c.y, c.p, 0.0, options);
    }
  }
}

void generateWeakRockLayer(PyGenContext& ctx, int layer) {
  PyProfile& pr = ctx.profile;
  const PyLayer& l = pr.layers[static_cast<size_t>(layer)];
  const double b = pr.width;
  const double er = l.k;
  double qu = 0, qa = 0, krm = 0, rqd = 0, g = 0;
  for (int curve = l.firstCurve; curve < l.firstCurve + l.curveCount; ++curve) {
    const double xc = pr.curveDepths[static_cast<size_t>(curve)];
    for (WallSide side : {WallSide::Excavation, WallSide::Backfill}) {
      if (side == WallSide::Excavation) {
        qu = cohesionAt(ctx.run, pr, xc);
        // Checked at every curve: without strength the quarter-power branch
        // and its meeting with the initial line are undefined.
        if (!(qu >= kNoStrength)) noStrengthStop(ctx.run);
        krm = e50At(pr, xc);
        rqd = sixthValueAt(pr, xc);
        g = meanUnitWeight(ctx.run, pr, xc);
        qa = layer == 0 ? meanCohesion(ctx.run, pr, xc, 0) : 0.5 * (cohesionAt(ctx.run, pr, l.xtop + kBelowTop) + qu);
      }
      const double d = sideDepth(pr, xc, side);
      const double xr = d - l.xtop + kBelowTop;
      const WeakRockResistance r = weakRockResistance(qa, weakRockStrengthReduction(rqd), er, b, xr);
      SidePoints y{}, p{};
      weakRockCurve(r, krm * b, y, p);

      writeSideBanner(ctx, side);
      writeWeakRockValues(ctx, d, b, qu, er, g, krm);
      EmitOptions options;
      options.multiplierLine = false;
      options.reportField = PointField::Exponent3;
      options.soilDataGapP = 2;
      options.soilDataGapY = 2;
      emitSidePoints(ctx, layer, curve, side, y, p, 0.0, options);
    }
  }
}

}  // namespace ramvex
