#include "py_soil_properties.h"

#include <cmath>
#include <cstdio>

#include "fortran_format.h"
#include "run_errors.h"

namespace ramvex {
namespace {

constexpr double kZeroLength = 1.0e-6;
constexpr double kAtLayerTop = 1.0e-5;
constexpr double kZeroAtStep = 1.0e-20;

enum class Field { Cohesion, Phi, E50, Sixth };

double fieldOf(const StrengthPoint& p, Field f) {
  switch (f) {
    case Field::Cohesion: return p.cohesion;
    case Field::Phi: return p.phi;
    case Field::E50: return p.e50;
    case Field::Sixth: return p.sixth;
  }
  return 0;
}

// The table lookup for x not beyond the last point.  Indices are 0-based:
// k is the first point from the second on with x <= x(k).
double lookup(const std::vector<StrengthPoint>& t, double x, Field f) {
  const size_t n = t.size();
  if (n == 0) return 0;
  if (n == 1) return fieldOf(t[0], f);
  size_t k = 1;
  while (k < n - 1 && x > t[k].x) ++k;
  const StrengthPoint& pk = t[k];
  const bool atPoint = x == pk.x;
  const bool stepBelow = atPoint && k + 1 < n && t[k + 1].x == pk.x;
  if (x == t[n - 1].x || (atPoint && !stepBelow)) return fieldOf(pk, f);
  if (!atPoint) {
    const StrengthPoint& pa = t[k - 1];
    const double span = pk.x - pa.x;
    if (std::fabs(span) < kZeroLength) return fieldOf(pk, f);
    return fieldOf(pa, f) + (fieldOf(pk, f) - fieldOf(pa, f)) * (x - pa.x) / span;
  }
  // x at a layer boundary: the table holds the upper layer's bottom value at
  // k and the lower layer's top value at k + 1.
  const double upper = fieldOf(pk, f);
  const double lower = fieldOf(t[k + 1], f);
  if (f == Field::Cohesion) return lower < kZeroAtStep ? upper : lower;
  if (upper < kZeroAtStep) return lower;
  if (lower < kZeroAtStep) return upper;
  return 0.5 * (upper + lower);
}

bool beyondTable(const PyProfile& profile, double x) {
  return profile.strength.empty() || x > profile.strength.back().x;
}

[[noreturn]] void beyondStrengthTable(RunState& run, double x, const char* beyond, const char* curve, int code) {
  soilModelStop(run, code,
                {"", "", std::string(29, ' ') + "**** WARNING ****",
                 fmt::Record().X(5).lit("THE VALUE OF X =").D(x, 9, 1).lit(beyond).str(),
                 std::string(5, ' ') + curve});
}

}  // namespace

void soilModelStop(RunState& run, int code, const std::vector<std::string>& lines) {
  std::string reason;
  for (const std::string& l : lines) {
    std::fprintf(stderr, "%s\n", l.c_str());
    run.report.line(l);
    if (!l.empty() && l.find_first_not_of(' ') != std::string::npos) {
      if (!reason.empty()) reason += ' ';
      reason += l.substr(l.find_first_not_of(' '));
    }
  }
  throw SoilModelStop{code, reason};
}

double cohesionAt(RunState& run, const PyProfile& profile, double x) {
  if (beyondTable(profile, x)) beyondStrengthTable(run, x, "IS BEYOND THE EXTENT OF", "THE INPUT STRENGTH CURVE", 1);
  return lookup(profile.strength, x, Field::Cohesion);
}

double phiAt(RunState& run, const PyProfile& profile, double x) {
  if (beyondTable(profile, x)) beyondStrengthTable(run, x, " IS BEYOND THE EXTENT OF", "THE INPUT PHI CURVE", 0);
  return lookup(profile.strength, x, Field::Phi);
}

double e50At(const PyProfile& profile, double x) {
  if (profile.strength.empty()) return 0;
  if (x > profile.strength.back().x) return profile.strength.back().e50;
  return lookup(profile.strength, x, Field::E50);
}

double sixthValueAt(const PyProfile& profile, double x) {
  if (profile.strength.empty()) return 0;
  if (x > profile.strength.back().x) return profile.strength.back().sixth;
  return lookup(profile.strength, x, Field::Sixth);
}

double meanUnitWeight(RunState& run, const PyProfile& profile, double x) {
  const std::vector<UnitWeightPoint>& t = profile.unitWeights;
  if (x < kZeroLength) {
    for (const UnitWeightPoint& p : t)
      if (p.weight > 0) return p.weight;
    return 0;
  }
  if (t.empty() || x > t.back().x) {
    soilModelStop(run, 4,
                  {"", fmt::Record().X(5).lit("THE VALUE OF X =").D(x, 9, 1).lit(" IS BEYOND THE EXTENT OF").str(),
                   std::string(5, ' ') + "THE UNIT WEIGHT DISTRIBUTION"});
  }
  // Trapezoids from the excavation level down to x, the weight varying
  // linearly between the points.
  double integral = 0;
  for (size_t i = 0; i + 1 < t.size(); ++i) {
    const double x0 = t[i].x, x1 = t[i + 1].x;
    const double span = x1 - x0;
    if (span < kZeroLength) continue;
    if (x0 >= x) break;
    if (x1 <= x) {
      integral += 0.5 * (t[i].weight + t[i + 1].weight) * span;
    } else {
      const double wx = t[i].weight + (t[i + 1].weight - t[i].weight) * (x - x0) / span;
      integral += 0.5 * (t[i].weight + wx) * (x - x0);
      break;
    }
  }
  return integral / x;
}

double meanCohesion(RunState& run, const PyProfile& profile, double x, int layer) {
  const size_t s1 = 2 * static_cast<size_t>(layer);
  const size_t s2 = s1 + 1;
  if (layer < 0 || s2 >= profile.strength.size()) return 0;
  const StrengthPoint& top = profile.strength[s1];
  const StrengthPoint& bot = profile.strength[s2];
  if (std::fabs(x - top.x) < kAtLayerTop) return cohesionAt(run, profile, x);
  if (x > profile.strength.back().x) {
    run.report.empty();
    run.report.line(std::string(29, ' ') + "**** WARNING ****");
    run.report.line(fmt::Record().X(5).lit("THE VALUE OF X =").E(x, 9, 2).lit("IS BEYOND THE EXTENT OF THE").str());
    run.report.line(std::string(5, ' ') + "INPUT CURVE FOR STRENGTH");
  }
  const double thickness = bot.x - top.x;
  if (thickness < kZeroLength) return 0;
  const double cx = top.cohesion + (bot.cohesion - top.cohesion) * (x - top.x) / thickness;
  return 0.5 * (top.cohesion + cx);
}

double resistanceAbove(const PyProfile& profile, int layer) {
  double f = 0;
  for (int i = 0; i < layer && i < static_cast<int>(profile.layers.size()); ++i) f += profile.layers[static_cast<size_t>(i)].fu;
  return f;
}

}  // namespace ramvex
