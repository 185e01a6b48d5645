#include "earth_pressure.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "fortran_format.h"
#include "run_errors.h"
#include "surcharge.h"

namespace ramvex {
namespace {

void emit(TextOutput& out, const fmt::Record& record) { out.line(record.str()); }

// Constants held in single precision.
constexpr double kDegreesPerRadian = static_cast<double>(57.2958f);
constexpr double kTol = kDepthTolerance;
constexpr double kOptionalThreshold = static_cast<double>(1.0e-7f);
constexpr double kClamp = static_cast<double>(1.0e-12f);
constexpr double kApparentFactor = static_cast<double>(1.3f);
constexpr double kMinUniformPressure = 1.0e-6;
constexpr double kMinFreeHeight = 1.0e-6;
// Pressure points per length unit: one per inch, twenty per metre.
constexpr double kSiPointsPerMetre = 20.0;

void errorStop(TextOutput& report, const char* message) {
  report.empty(2);
  report.line(message);
  throw ErrorStop{};
}

[[noreturn]] void soilStop(RunState& run, int code, const char* message) {
  std::cerr << "STOP " << code << '\n';
  run.report.empty();
  run.report.line(message);
  throw SoilModelStop{code, message};
}

// Points of a sublayer of thickness t: ANINT(t) or ANINT(20 t); -1 when the
// value is out of range.
long long pointCount(double t, bool us) {
  const double v = std::round(us ? t : kSiPointsPerMetre * t);
  if (!(v >= 0.0) || v > kMaxPressurePoints) return -1;
  return static_cast<long long>(v);
}

double waterWeightIn(const Sublayer& s, double gammaW) { return s.belowWater && s.drained ? gammaW : 0.0; }

void writeCoefficientHeader(TextOutput& out) {
  writeBanner(out, "* ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *");
  emit(out, fmt::Record().X(6).lit("  LAYER         ACTIVE EARTH     PASSIVE EARTH   ").lit("  OPTIONAL EARTH"));
  emit(out, fmt::Record().X(6).lit("   NO.          COEFFICIENT      COEFFICIENT     ").lit("  COEFFICIENT   "));
}

void writeSlopeWarning(TextOutput& out) {
  out.empty();
  out.line("**** WARNING ******");
  out.line("THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.");
}

void writeCoefficients(RunState& run, const SoilProfile& profile) {
  writeCoefficientHeader(run.report);
  for (size_t i = 0; i < profile.sublayers.size(); ++i) {
    const Sublayer& s = profile.sublayers[i];
    if (s.slopeWarning) {
      writeSlopeWarning(run.notes);
      writeSlopeWarning(run.report);
    }
    emit(run.report, fmt::Record()
                        .X(10)
                        .I(static_cast<long long>(i + 1), 2)
                        .X(9)
                        .E(s.kaReported, 10, 3)
                        .X(8)
                        .E(s.kp, 10, 3)
                        .X(8)
                        .E(s.optionalK, 10, 3));
  }
}

void writeForces(TextOutput& out, const SoilProfile& profile) {
  UnitLabels u;
  u.setFor(profile.us ? 1 : 2);
  // Forces per unit width of wall: force per length.
  const std::string force = u.force4 + "/" + u.length2;
  writeBanner(out, "*      ACTIVE EARTH PRESSURE OF EACH LAYER       *");
  emit(out, fmt::Record().X(6).lit(" LAYER    PA1     Z1       PA2     Z2         PA3     Z3").lit("        PA4"));
  emit(out, fmt::Record()
               .X(6)
               .lit("  NO")
               .A(force, 9)
               .A(u.length3, 7)
               .A(force, 11)
               .A(u.length3, 7)
               .A(force, 11)
               .A(u.length3, 7)
               .A(force, 10));
  for (int i = 0; i < profile.lh; ++i) {
    const Sublayer& s = profile.sublayers[static_cast<size_t>(i)];
    emit(out, fmt::Record()
                 .X(6)
                 .I(i + 1, 2)
                 .X(1).F(s.pa1, 10, 2)
                 .X(1).F(s.z1, 6, 2)
                 .X(1).F(s.pa2, 10, 2)
                 .X(1).F(s.z2, 6, 2)
                 .X(1).F(s.pa3, 10, 2)
                 .X(1).F(s.z3, 6, 2)
                 .F(s.pa4, 10, 2));
  }
}

bool waterAboveExcavation(const SoilProfile& profile) { return profile.lw >= 0 && profile.lw < profile.lh; }

void writeWater(TextOutput& out, const SoilProfile& profile) {
  writeBanner(out, "*      ACTIVE WATER PRESSURE OF EACH LAYER       *");
  emit(out, fmt::Record().X(6).lit(" LAYER    PW1     Z1       PW2     Z2                "));
  emit(out, fmt::Record().X(6).lit("  NO             "));
  out.empty();
  for (int i = profile.lw; i < profile.lh; ++i) {
    const Sublayer& s = profile.sublayers[static_cast<size_t>(i)];
    emit(out, fmt::Record()
                 .X(6)
                 .I(i + 1, 2)
                 .X(1).F(-s.pw1, 10, 2)
                 .X(1).F(s.z1, 6, 2)
                 .X(1).F(-s.pw2, 10, 2)
                 .X(1).F(s.z2, 6, 2));
  }
}

// One real of the file: Fortran exponent form, including the form without
// exponent letter that a three-digit exponent takes ("0.123+100").
bool parseReal(const std::string& token, double& value) {
  if (token.empty()) return false;
  errno = 0;
  const char* begin = token.c_str();
  char* end = nullptr;
  value = std::strtod(begin, &end);
  if (end == begin) return false;
  if (*end == '\0') return true;
  if ((*end == '+' || *end == '-') && end[1] != '\0') {
    const char* digits = end + 1;
    for (const char* p = digits; *p; ++p)
      if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    const double scaled = std::strtod((std::string(begin, static_cast<const char*>(end)) + "E" + end).c_str(), nullptr);
    value = scaled;
    return true;
  }
  return false;
}

}  // namespace

void computeCoefficients(SoilProfile& profile, double backfillSlope) {
  const double beta = std::fabs(backfillSlope);
  for (size_t i = 0; i < profile.sublayers.size(); ++i) {
    Sublayer& s = profile.sublayers[i];
    s.sqrtKa = std::tan((45.0 - s.phi * 0.5) / kDegreesPerRadian);
    s.ka = s.sqrtKa * s.sqrtKa;
    s.slopeWarning = false;
    if (beta > 0.0) {
      if (beta < s.phi) {
        // Rankine coefficient for a backfill sloping at beta.
        const double cb = std::cos(beta / kDegreesPerRadian);
        const double cf = std::cos(s.phi / kDegreesPerRadian);
        const double root = std::sqrt(cb * cb - cf * cf);
        s.ka = cb * (cb - root) / (cb + root);
        s.sqrtKa = std::sqrt(s.ka);
      } else if (static_cast<int>(i) < profile.lh) {
        s.slopeWarning = true;
      }
    }
    s.sqrtKp = std::tan((45.0 + s.phi * 0.5) / kDegreesPerRadian);
    s.kp = s.sqrtKp * s.sqrtKp;
    s.kaReported = s.ka;
    if (s.optionalK > kOptionalThreshold) {
      // A given coefficient replaces Rankine's and carries no cohesion term.
      s.ka = s.optionalK;
      s.sqrtKa = 0.0;
    }
  }
}

double computeForces(SoilProfile& profile, const std::vector<SurchargeRow>& surcharges) {
  const double gw = profile.gammaW;
  double total = 0.0;
  for (int i = 0; i < profile.lh; ++i) {
    Sublayer& s = profile.sublayers[static_cast<size_t>(i)];
    const double sigmaBottom = profile.sublayers[static_cast<size_t>(i) + 1].sigma;
    const double t = s.thickness;
    const double cohesionTerm = 2.0 * s.cohesion * s.sqrtKa;
    s.pa1 = s.sigma * s.ka * t * s.mf;
    s.pa1 += sublayerSurchargeShare(surcharges, profile.freeHeight, s.ztop, t);
    const double g = s.unitWeight - waterWeightIn(s, gw);
    s.pa2 = 0.5 * g * t * t * s.ka * s.mf;
    s.pa3 = -(cohesionTerm * t * s.mf);
    s.z1 = s.ztop + t / 2.0;
    s.z2 = s.ztop + 2.0 * t / 3.0;
    if (s.pa1 + s.pa3 < 0.0) {
      // Tension at the top: only the wedge below the zero-pressure depth
      // pushes on the wall.
      s.pa1 = s.pa2 = s.pa3 = 0.0;
      const double a = cohesionTerm - s.sigma * s.ka;
      const double b = sigmaBottom * s.ka - cohesionTerm;
      const double denominator = b + a;
      // With no compression at the bottom either, no part carries pressure.
      s.zc = b > 0.0 && denominator != 0.0 ? b * t / denominator : 0.0;
      s.pa4 = b > 0.0 ? s.mf * s.zc * b / 2.0 : 0.0;
      s.z3 = (s.ztop + t) - s.zc / 3.0;
    }
  }
  if (waterAboveExcavation(profile)) {
    for (int i = profile.lw; i < profile.lh; ++i) {
      Sublayer& s = profile.sublayers[static_cast<size_t>(i)];
      if (!s.drained || !s.belowWater) continue;
      const double t = s.thickness;
      s.pw1 = -(s.ztop - profile.waterBackfill) * gw * t;
      s.pw2 = -0.5 * gw * t * t;
    }
  }
  for (int i = 0; i < profile.lh; ++i) {
    const Sublayer& s = profile.sublayers[static_cast<size_t>(i)];
    total += s.pa1 + s.pa2 + s.pa3 + s.pa4 - s.pw1 - s.pw2;
  }
  return total;
}

PressureDistribution computeDistribution(const SoilProfile& profile, const std::vector<SurchargeRow>& surcharges,
                                         double wallLength, TextOutput& report) {
  PressureDistribution dist;
  if (profile.sublayers.empty()) return dist;
  const bool us = profile.us;
  const double q = profile.uniformPressure;
  const double gw = profile.gammaW;
  const double H = profile.freeHeight;
  const double dwb = profile.waterBackfill;
  const double dwe = profile.waterExcavation;
  const double sigmaExcavation = profile.sigmaExcavation;

  long long count = 1;
  for (const Sublayer& s : profile.sublayers) {
    const long long n = pointCount(s.thickness, us);
    if (n < 0 || (count += n) > kMaxPressurePoints) errorStop(report, "     ERROR STOP -- TOO MANY EARTH PRESSURE POINTS");
  }
  dist.points.reserve(static_cast<size_t>(count));
  // The last sublayer counts only down to the wall's bottom, so the main
  // sequence reads no pressure below the wall.  A profile ending above the
  // bottom counts more points than it has rows; the reader stops at the rows
  // written.  A last sublayer starting below the wall counts none.
  dist.declaredCount = 1;
  for (size_t i = 0; i < profile.sublayers.size(); ++i) {
    const Sublayer& s = profile.sublayers[i];
    const bool last = i + 1 == profile.sublayers.size();
    dist.declaredCount += std::max(0LL, pointCount(last ? wallLength - s.ztop : s.thickness, us));
  }

  const Sublayer& first = profile.sublayers.front();
  const double surface = first.ka * q * first.mf;
  dist.points.push_back({0.0, surface, 0.0, q > 0.0 ? surface : 0.0});

  double excavationWater = 0.0;
  double previousTotal = 0.0;
  long long k = 1;
  for (size_t i = 0; i < profile.sublayers.size(); ++i) {
    const Sublayer& s = profile.sublayers[i];
    const bool above = static_cast<int>(i) < profile.lh;
    const double water = waterWeightIn(s, gw);
    const double g = s.unitWeight - water;
    const double cohesionTerm = 2.0 * s.cohesion * s.sqrtKa * s.mf;
    double slope, p0, pq;
    if (above) {
      slope = g * s.ka * s.mf + water;
      p0 = (s.ztop - dwb) * water + s.sigma * s.ka * s.mf - cohesionTerm;
      pq = (s.ztop - dwb) * water + q * s.ka * s.mf - cohesionTerm;
    } else {
      // Below the excavation level the backfill pressure stays at its value
      // at the excavation level, without the backfill water term.
      slope = 0.0;
      p0 = sigmaExcavation * s.ka * s.mf - cohesionTerm;
      pq = q * s.ka * s.mf - cohesionTerm;
    }
    if (q < kMinUniformPressure || pq < 0.0) pq = 0.0;

    const long long n = pointCount(s.thickness, us);
    for (long long j = 1; j <= n; ++j) {
      ++k;
      const double dz = static_cast<double>(j) * s.thickness / static_cast<double>(n);
      const double z = s.ztop + dz;
      double p1 = p0 + slope * dz;
      double p2 = p1;
      const double qs = surchargePressure(surcharges, H, wallLength, z);
      double p3 = qs;
      p1 += qs;
      // Water standing in the excavation pushes back on the wall above H;
      // at H itself the value of the point above is kept.
      if (z > dwe && z < H - kTol) {
        excavationWater = (z - dwe) * gw;
      } else if (z > H + kTol || !(z > dwe)) {
        excavationWater = 0.0;
      }
      if (s.belowWater) {
        p1 -= excavationWater;
        p2 -= excavationWater;
      }
      if (p1 < kTol) p1 = static_cast<double>(k) * kClamp;
      if (p2 < kTol) p2 = static_cast<double>(k) * kClamp;
      double increment = (previousTotal + p1) / 2.0;
      if (!us) increment /= kSiPointsPerMetre;
      if (above) dist.total += increment;
      previousTotal = p1;
      p3 += pq;
      p2 -= pq;
      dist.points.push_back({z, p1, p2, p3});
      if (above) dist.lastAboveExcavation = static_cast<int>(dist.points.size()) - 1;
    }
  }
  return dist;
}

std::vector<double> supportDepths(const ProblemInput& input) {
  std::vector<double> depths;
  const double scale = input.control.units == 1 ? 12.0 : 1.0;  // feet to inches
  for (const TiebackRow& t : input.tiebacks) depths.push_back(t.depth * scale);
  return depths;
}

void applyTrapezoid(PressureDistribution& dist, double freeHeight, const std::vector<double>& supports,
                    TextOutput& report) {
  if (supports.empty())
    errorStop(report, "     ERROR STOP -- TRAPEZOIDAL EARTH PRESSURE NEEDS AT LEAST ONE TIEBACK");
  const double H = freeHeight;
  if (!(H > kMinFreeHeight))
    errorStop(report, "     ERROR STOP -- TRAPEZOIDAL EARTH PRESSURE NEEDS A FREE HEIGHT");
  const auto [lowest, highest] = std::minmax_element(supports.begin(), supports.end());
  const double t1 = *lowest;
  const double tn = *highest;
  const bool single = supports.size() == 1;
  const double r1 = 2.0 * t1 / 3.0;
  const double r2 = single ? 2.0 * (H - t1) / 3.0 : 2.0 * (H - tn) / 3.0;
  const double h2 = H - r2;
  // The diagram rises over r1, stays at pmax and falls over r2: its area
  // pmax (H - r1/2 - r2/2) is 1.3 times the active force.
  const double width = H - (r1 + r2) / 2.0;
  if (!(width > kMinFreeHeight))
    errorStop(report, "     ERROR STOP -- TIEBACK DEPTHS DO NOT FIT THE FREE HEIGHT");
  const double pmax = kApparentFactor * dist.total / width;
  for (int k = 1; k <= dist.lastAboveExcavation && k < static_cast<int>(dist.points.size()); ++k) {
    PressurePoint& p = dist.points[static_cast<size_t>(k)];
    const double z = p.depth;
    if (z < r1) {
      p.total = pmax * z / r1;
    } else if (z > h2 && r2 > 0.0) {
      p.total = pmax - (z - h2) * pmax / r2;
    } else {
      p.total = pmax;
    }
  }
}

bool writeEarthPressureFile(const std::string& path, const std::vector<PressurePoint>& points,
                            long long declaredCount) {
  TextOutput file;
  if (!file.open(path)) return false;
  // The count as a list-directed write gives it.
  file.line(fmt::I(declaredCount, 12));
  for (const PressurePoint& p : points)
    emit(file, fmt::Record()
                  .X(5).E(p.depth, 10, 3)
                  .X(4).E(p.total, 10, 3)
                  .X(4).E(p.soil, 10, 3)
                  .X(4).E(p.surcharge, 10, 3));
  return true;
}

double runEarthPressureStep(RunState& run, const ProblemInput& input) {
  SoilProfile profile = buildSoilProfile(input);
  const std::vector<SurchargeRow> surcharges = effectiveSurcharges(input);

  writeWallInformation(run.report, input, profile);
  writeSurchargeInformation(run.report, profile, surcharges);
  writeSoilInformation(run.report, profile);
  if (profile.lh < 0) soilStop(run, 1, "     STOP 1 -- THE EXCAVATION LEVEL IS NOT WITHIN THE SOIL LAYERS");
  if (profile.overflow) soilStop(run, 2, "     STOP 2 -- MORE THAN 20 SOIL SUBLAYERS");

  writeOverburden(run.report, profile);
  computeCoefficients(profile, input.site.backfillSlope);
  writeCoefficients(run, profile);

  const double total = computeForces(profile, surcharges);
  writeForces(run.report, profile);
  if (waterAboveExcavation(profile)) writeWater(run.report, profile);
  if (total < kTol) {
    std::cerr << "\n     Net active pressure is negative.\n";
    run.report.empty();
    run.report.line("     Net active pressure is negative.");
  }

  PressureDistribution dist = computeDistribution(profile, surcharges, wallLength(input), run.report);
  if (input.control.earthPressureOption == 3) {
    const std::vector<double> supports = supportDepths(input);
    if (supports.empty() && input.control.nstage >= 2) {
      // A staged job chooses its option once for all stages, but the stages
      // before the first tieback are cantilevered: they carry the Rankine
      // diagram the apparent-pressure envelope stands in for.
      for (TextOutput* out : {&run.report, &run.notes}) {
        out->empty();
        out->line(kNoTiebackInStage);
      }
    } else {
      applyTrapezoid(dist, profile.freeHeight, supports, run.report);
    }
  }

  const std::string path = run.workDir + "/" + kEarthPressureFile;
  if (!writeEarthPressureFile(path, dist.points, dist.declaredCount))
    errorStop(run.report, "     ERROR STOP -- FILE BMWALL.001 CANNOT BE WRITTEN");
  return profile.sigmaExcavation;
}

EarthPressureTable readEarthPressureFile(RunState& run, const ProblemInput& input) {
  const std::string path = run.workDir + "/" + kEarthPressureFile;
  std::ifstream file(path, std::ios::binary);
  if (!file) errorStop(run.report, "     ERROR STOP -- EARTH PRESSURE FILE BMWALL.001 NOT FOUND");
  std::vector<std::string> tokens;
  for (std::string token; file >> token;) tokens.push_back(token);

  double countValue = 0.0;
  if (tokens.empty() || !parseReal(tokens[0], countValue) || !(countValue >= 0.0) ||
      countValue > kMaxPressurePoints)
    errorStop(run.report, "     ERROR STOP -- EARTH PRESSURE FILE BMWALL.001 CANNOT BE READ");
  // Rows missing at the end of the file are not invented.
  const size_t rows = std::min(static_cast<size_t>(countValue), (tokens.size() - 1) / 4);

  const double H = input.site.freeHeight;
  bool belowExcavation = false;
  EarthPressureTable table;
  table.reserve(rows);
  for (size_t r = 0; r < rows; ++r) {
    double v[4];
    for (size_t c = 0; c < 4; ++c)
      if (!parseReal(tokens[1 + 4 * r + c], v[c]))
        errorStop(run.report, "     ERROR STOP -- EARTH PRESSURE FILE BMWALL.001 CANNOT BE READ");
    if (v[0] > H + kTol) belowExcavation = true;
    const double width = belowExcavation ? input.site.wp : input.site.wa;
    table.push_back({v[0], v[1] * width, v[2] * width, v[3] * width});
  }
  return table;
}

}  // namespace ramvex
