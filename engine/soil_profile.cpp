#include "soil_profile.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "fortran_format.h"

namespace ramvex {
namespace {

void emit(TextOutput& out, const fmt::Record& record) { out.line(record.str()); }

constexpr double kTol = kDepthTolerance;

// Value positions in a layer row.
constexpr int kUnitWeight = 0;
constexpr int kCohesion = 1;
constexpr int kFriction = 2;
constexpr int kOptionalK = 5;

// The distinct values of H and DWb in ascending order, below the surface.
// Sorting three values (H, DWb, H) and dropping coincident neighbours keeps
// the depth order that the walk below depends on.
std::vector<double> specialDepths(double h, double dwb) {
  double s[3] = {h, dwb, h};
  if (s[0] > s[1]) std::swap(s[0], s[1]);
  if (s[0] > s[2]) std::swap(s[0], s[2]);
  if (s[1] > s[2]) std::swap(s[1], s[2]);
  const bool firstTwo = std::fabs(s[0] - s[1]) < kTol;
  const bool lastTwo = std::fabs(s[1] - s[2]) < kTol;
  std::vector<double> out;
  if (firstTwo && lastTwo) {
    out = {s[0]};
  } else if (firstTwo || lastTwo) {
    out = {s[0], s[2]};
  } else {
    out = {s[0], s[1], s[2]};  // cannot happen with two equal entries
  }
  // A depth at or above the surface (or not a number) cuts nothing: a split
  // there would give a sublayer of negative thickness.
  std::vector<double> kept;
  for (double d : out)
    if (d >= kTol && std::isfinite(d)) kept.push_back(d);
  return kept;
}

Sublayer fromLayer(const SoilLayer& layer, double previousBottom, double mf) {
  Sublayer s;
  s.thickness = layer.bottomDepth - previousBottom;
  s.unitWeight = layer.top[kUnitWeight];
  s.cohesion = layer.top[kCohesion];
  s.phi = layer.top[kFriction];
  s.optionalK = layer.top[kOptionalK];
  s.drained = layer.type >= 4;
  if (layer.type == 6 || layer.type == 7) s.optionalK = 0.0;
  s.mf = mf;
  return s;
}

std::string pressureLabel(const UnitLabels& u) { return u.force4 + "/" + u.length2 + "**2"; }

UnitLabels labelsFor(bool us) {
  UnitLabels u;
  u.setFor(us ? 1 : 2);
  return u;
}

}  // namespace

double waterUnitWeight(bool us) { return us ? static_cast<double>(0.036f) : static_cast<double>(9.81f); }

SoilProfile buildSoilProfile(const ProblemInput& input) {
  SoilProfile p;
  p.us = input.control.units == 1;
  p.gammaW = waterUnitWeight(p.us);
  p.freeHeight = input.site.freeHeight;
  p.waterBackfill = input.site.waterDepthBackfill;
  p.waterExcavation = input.site.waterDepthExcavation;
  p.uniformPressure = input.singleSurcharge.uniform;
  const double mf = input.site.activeFactor;

  const std::vector<double> special = specialDepths(p.freeHeight, p.waterBackfill);
  size_t next = 0;

  const size_t layerCount = std::min(input.layers.size(), static_cast<size_t>(kMaxSoilLayers));
  double ztop = 0.0;
  double previousBottom = 0.0;
  for (size_t li = 0; li < layerCount && !p.overflow; ++li) {
    Sublayer s = fromLayer(input.layers[li], previousBottom, mf);
    previousBottom = input.layers[li].bottomDepth;
    // A layer that does not go deeper than the one before ends the list.
    if (!(s.thickness > 0.0)) break;
    s.ztop = ztop;
    p.sublayers.push_back(s);
    const double zb = ztop + s.thickness;
    while (next < special.size()) {
      const double depth = special[next];
      if (std::fabs(zb - depth) < kTol) {
        ++next;
        continue;
      }
      if (zb < depth) break;
      Sublayer& current = p.sublayers.back();
      current.thickness = depth - current.ztop;
      Sublayer lower = current;
      lower.ztop = depth;
      lower.thickness = zb - depth;
      p.sublayers.push_back(lower);
      ++next;
    }
    if (static_cast<int>(p.sublayers.size()) > kMaxSublayers) p.overflow = true;
    ztop = zb;
  }

  for (size_t i = 0; i < p.sublayers.size(); ++i) {
    if (std::fabs(p.sublayers[i].ztop - p.freeHeight) < kTol) p.lh = static_cast<int>(i);
    if (std::fabs(p.sublayers[i].ztop - p.waterBackfill) < kTol) p.lw = static_cast<int>(i);
  }

  // Total vertical stress summed down the profile, less the pore pressure
  // below the backfill water table (for every soil type).
  for (size_t i = 0; i < p.sublayers.size(); ++i) {
    Sublayer& s = p.sublayers[i];
    s.belowWater = s.ztop > p.waterBackfill || std::fabs(s.ztop - p.waterBackfill) < kTol;
    if (i == 0) {
      s.sigma = p.uniformPressure;
    } else {
      const Sublayer& above = p.sublayers[i - 1];
      s.sigma = above.sigma + above.thickness * above.unitWeight;
    }
  }
  for (Sublayer& s : p.sublayers)
    if (s.belowWater) s.sigma -= (s.ztop - p.waterBackfill) * p.gammaW;
  if (!p.sublayers.empty()) p.bottom = p.sublayers.back().ztop + p.sublayers.back().thickness;
  if (p.lh >= 0) p.sigmaExcavation = p.sublayers[static_cast<size_t>(p.lh)].sigma;
  return p;
}

void writeBanner(TextOutput& out, const char* title) {
  const std::string stars(50, '*');
  out.empty(2);
  emit(out, fmt::Record().X(6).lit(stars));
  emit(out, fmt::Record().X(6).lit(title));
  emit(out, fmt::Record().X(6).lit(stars));
  out.empty();
}

void writeWallInformation(TextOutput& out, const ProblemInput& input, const SoilProfile& profile) {
  const UnitLabels u = labelsFor(profile.us);
  const std::string unitWeight = u.force4 + "/" + u.length2 + "**3";
  writeBanner(out, "*                WALL INFORMATION                *");
  auto row = [&](const char* label, double value, const std::string& unit) {
    emit(out, fmt::Record().X(6).lit(label).E(value, 10, 3).lit(unit));
  };
  row("FREE HEIGHT OF WALL                    = ", input.site.freeHeight, u.length3);
  row("WIDTH FOR EARTH PRESSURE, WA           = ", input.site.wa, u.length3);
  row("WIDTH FOR SOIL RESISTANCE, WP          = ", input.site.wp, u.length3);
  row("DEPTH TO THE WATER TABLE AT BACKFILL   = ", input.site.waterDepthBackfill, u.length3);
  row("DEPTH TO THE WATER TABLE AT EXCAVATION = ", input.site.waterDepthExcavation, u.length3);
  row("UNIT WEIGHT OF WATER                   = ", profile.gammaW, unitWeight);
  row("SLOPE OF THE BACKFILL (deg.)           = ", input.site.backfillSlope, "");
  row("MODIFICATION FOR ACTIVE EARTH PRESSURE = ", input.site.activeFactor, "");
}

void writeSurchargeInformation(TextOutput& out, const SoilProfile& profile,
                               const std::vector<SurchargeRow>& surcharges) {
  const UnitLabels u = labelsFor(profile.us);
  const std::string pressure = pressureLabel(u);
  const std::string lineLoad = u.force4 + "/" + u.length2;
  writeBanner(out, "*              SURCHARGE INFORMATION             *");
  auto row = [&](const char* label, double value, const std::string& unit) {
    emit(out, fmt::Record().X(6).lit(label).E(value, 10, 3).lit(unit));
  };
  row("UNIFORM SURFACE PRESSURE     =", profile.uniformPressure, pressure);
  for (size_t i = 0; i < surcharges.size(); ++i) {
    const SurchargeRow& s = surcharges[i];
    emit(out, fmt::Record().X(6).lit("SURCHARGE LOADING NO.        = ").I(static_cast<long long>(i + 1), 10));
    if (s.type == 2 || s.type == 3) {
      if (s.type == 2) {
        row("LINE LOAD                    = ", s.magnitude, lineLoad);
      } else {
        row("STRIP LOAD                   = ", s.magnitude, pressure);
        row("WIDTH OF THE STRIP LOAD      = ", s.width, u.length3);
        row("HORIZONTAL DISTANCE BETWEEN  = ", s.distance, u.length3);
        emit(out, fmt::Record().X(6).lit("WALL AND MIDDLE OF STRIP WIDTH          "));
        continue;
      }
    } else {
      row("POINT LOAD                   = ", s.magnitude, u.force4);
    }
    row("HORIZONTAL DISTANCE BETWEEN  = ", s.distance, u.length3);
    emit(out, fmt::Record().X(6).lit("THE WALL AND SURCHARGE         "));
  }
}

void writeSoilInformation(TextOutput& out, const SoilProfile& profile) {
  writeBanner(out, "*                SOIL INFORMATION                *");
  emit(out, fmt::Record().X(7).lit("         TOTAL   COHESION/       TOTAL UNIT"));
  emit(out, fmt::Record().X(7).lit("LAYER  THICKNESS STRENGTH    PHI   WEIGHT   DRAINED  ZTOP"));
  if (profile.us) {
    emit(out, fmt::Record().X(7).lit("NO.").X(8).lit("FT").X(6).lit("PSI").X(7).lit("DEG").X(4).lit("PCI")
                 .X(5).lit("T OR F").X(4).lit("FT"));
  } else {
    emit(out, fmt::Record().X(7).lit("NO.").X(8).lit(" M").X(6).lit("kPa").X(7).lit("DEG").X(3).lit("kN/M^3")
                 .X(3).lit("T OR F").X(4).lit(" M"));
  }
  // Depths in feet for US units; strengths and unit weights as entered.
  const double lengthScale = profile.us ? 12.0 : 1.0;
  for (size_t i = 0; i < profile.sublayers.size(); ++i) {
    const Sublayer& s = profile.sublayers[i];
    emit(out, fmt::Record()
                 .X(7)
                 .I(static_cast<long long>(i + 1), 3)
                 .F(s.thickness / lengthScale, 10, 2)
                 .F(s.cohesion, 11, 1)
                 .F(s.phi, 8, 1)
                 .F(s.unitWeight, 9, 3)
                 .X(5)
                 .L(s.drained, 1)
                 .F(s.ztop / lengthScale, 10, 2));
  }
}

void writeOverburden(TextOutput& out, const SoilProfile& profile) {
  const UnitLabels u = labelsFor(profile.us);
  writeBanner(out, "*            EFFECTIVE OVERBURDEN STRESS         *");
  emit(out, fmt::Record().X(6).lit("          DEPTH                     STRESS       "));
  emit(out, fmt::Record().X(16).lit(u.length3).X(22).lit(pressureLabel(u)));
  for (const Sublayer& s : profile.sublayers)
    emit(out, fmt::Record().X(12).E(s.ztop, 10, 3).X(17).E(s.sigma, 10, 3));
}

}  // namespace ramvex
