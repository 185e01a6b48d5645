#include "py_model_support.h"

#include <cmath>

#include "fortran_format.h"
#include "run_errors.h"

namespace ramvex {
namespace {

// The modification-factor lookup.  Rows are in ascending depth; two rows at
// one depth make a step, and a depth exactly on it takes the lower row.
double tableFactor(const std::vector<PyModRow>& rows, double z, double PyModRow::*field) {
  const size_t n = rows.size();
  if (z < rows[0].depth) return 1.0;
  for (size_t k = 1; k < n; ++k) {
    if (z > rows[k].depth) continue;
    if (z == rows[n - 1].depth) return rows[k].*field;
    if (z != rows[k].depth) {
      const double span = rows[k].depth - rows[k - 1].depth;
      if (!(span > 0)) return rows[k].*field;
      return rows[k - 1].*field + (rows[k].*field - rows[k - 1].*field) * (z - rows[k - 1].depth) / span;
    }
    if (k + 1 < n && rows[k + 1].depth == rows[k].depth) return rows[k + 1].*field;
    return rows[k].*field;
  }
  return 1.0;
}

}  // namespace

double pMultiplier(const ProblemInput& input, const PyProfile& profile, double z) {
  if (input.pyModifiers.empty()) {
    // Group reduction for discrete elements spaced closer than about three
    // widths.
    const double r = profile.rawRatio;
    if (r >= static_cast<double>(1.1f) && r < static_cast<double>(3.1f) && z >= profile.freeHeight)
      return static_cast<double>(0.5292f) * std::pow(r, static_cast<double>(0.5659f));
    return 1.0;
  }
  return tableFactor(input.pyModifiers, z, &PyModRow::pMultiplier);
}

double yMultiplier(const ProblemInput& input, double z) {
  if (input.pyModifiers.empty()) return 1.0;
  return tableFactor(input.pyModifiers, z, &PyModRow::yMultiplier);
}

double sideDepth(const PyProfile& profile, double xc, WallSide side) {
  return side == WallSide::Excavation ? xc : profile.freeHeight + xc;
}

double resistanceDepth(const PyProfile& profile, int layer, double d) {
  if (layer <= 0) return d;
  const PyLayer& l = profile.layers[static_cast<size_t>(layer)];
  return d - l.xtop + l.xeq;
}

std::string pressureLabel(const RunState& run) { return lineLoadLabel(run) + "**2"; }
std::string unitWeightLabel(const RunState& run) { return lineLoadLabel(run) + "**3"; }
std::string lineLoadLabel(const RunState& run) { return run.labels.force4 + "/" + run.labels.length2; }

void pyErrorStop(RunState& run, const std::string& message) {
  run.report.empty(2);
  run.report.line(message);
  throw ErrorStop{};
}

void writeSideBanner(PyGenContext& ctx, WallSide side) {
  ctx.run.report.empty(2);
  ctx.run.report.line(fmt::Record().X(9).lit(side == WallSide::Excavation ? "AT THE EXCAVATION SIDE" : "AT THE BACKFILL SIDE"));
}

void writePointHeading(PyGenContext& ctx) {
  ctx.run.report.empty();
  ctx.run.report.line(fmt::Record().X(36).lit("Y, ").lit(ctx.run.labels.length2).X(12).lit("P, ").lit(lineLoadLabel(ctx.run)));
}

void emitSidePoints(PyGenContext& ctx, int layer, int curve, WallSide side, const SidePoints& y, const SidePoints& p,
                    double delta, const EmitOptions& options) {
  const PyProfile& pr = ctx.profile;
  const double xc = pr.curveDepths[static_cast<size_t>(curve)];
  const double z = pr.freeHeight + xc;
  const double pm = pMultiplier(ctx.input, pr, z);
  const double ym = yMultiplier(ctx.input, z);
  SidePoints yq{}, pq{};
  for (int j = 0; j < kPointsPerSide; ++j) {
    yq[j] = ym * y[j];
    pq[j] = (options.applyPMultiplier ? pm * p[j] : p[j]) + (side == WallSide::Excavation ? -delta : delta);
    if (!std::isfinite(yq[j]) || !std::isfinite(pq[j]))
      pyErrorStop(ctx.run, "     ERROR STOP -- THE SOIL DATA OF P-Y LAYER " + fmt::freeInt(layer + 1) +
                               " GIVE NO DEFINED P-Y CURVE AT DEPTH " + fmt::freeReal(z));
  }

  TextOutput& out = ctx.run.report;
  for (int j = 0; j < kPointsPerSide; ++j) {
    fmt::Record row;
    row.X(21);
    switch (options.reportField) {
      case PointField::Fixed5: row.F(yq[j], 20, 5).F(pq[j], 20, 5); break;
      case PointField::Exponent3: row.E(yq[j], 20, 3).E(pq[j], 20, 3); break;
      case PointField::DExponent5: row.D(yq[j], 20, 5).D(pq[j], 20, 5); break;
    }
    out.line(row);
    if (options.minimumDeflectionWarning && j > 0 && yq[j] < static_cast<double>(1.0e-14f)) {
      out.line(fmt::Record().X(29).lit("**** WARNING ****"));
      out.line(fmt::Record().X(5).lit("DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM"));
      out.line(fmt::Record().X(5).lit("USED A SOIL MODULUS OF ").D(options.initialModulus, 12, 4));
    }
  }
  if (options.multiplierLine)
    out.line(fmt::Record().X(21).lit(" P-Multiplier = ").E(pm, 10, 3).lit(" Y-Multiplier = ").E(ym, 10, 3));

  if (side == WallSide::Excavation) {
    ctx.soilData.line(" " + fmt::freeReal(z) + " " + fmt::freeInt(2 * kPointsPerSide));
    GeneratedCurve g;
    g.layer = layer;
    g.depth = z;
    g.yExcavation = yq;
    g.pExcavation = pq;
    ctx.curves.push_back(g);
  } else if (!ctx.curves.empty()) {
    ctx.curves.back().yBackfill = yq;
    ctx.curves.back().pBackfill = pq;
    ctx.curves.back().delta = delta;
  }
  // Four significant digits: the main sequence works with the values as read.
  for (int j = 0; j < kPointsPerSide; ++j)
    ctx.soilData.line(
        fmt::Record().I(j + 1, 5).X(options.soilDataGapP).PE(pq[j], 10, 3).X(options.soilDataGapY).PE(yq[j], 10, 3));
}

}  // namespace ramvex
