#include "py_generation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "fortran_format.h"
#include "py_rock.h"
#include "py_sand.h"
#include "py_silt.h"
#include "py_soft_clay.h"
#include "py_stiff_clay_dry.h"
#include "py_stiff_clay_free_water.h"
#include "report_header.h"
#include "run_errors.h"

namespace ramvex {
namespace {

// Depth coincidences with the water table, in the problem's length unit.
constexpr double kDepthTolerance = static_cast<double>(1.0e-5f);

double waterUnitWeight(int units) { return units == 1 ? static_cast<double>(0.036f) : static_cast<double>(9.81f); }

// Offset of the first and last curve from the layer's boundaries, so that no
// curve sits exactly on a step of the strength table.
double boundaryOffset(int units) { return units == 1 ? 0.1 : 0.01; }

const char* soilText(int type) {
  switch (type) {
    case 1: return "THE SOIL IS A SOFT CLAY";
    case 2: return "THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE";
    case 3: return "THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE";
    case 4: return "THE SOIL IS A SAND";
    case 5: return "THE SOIL IS A SILT";
    case 6: return "THE LAYER IS ROCK";
    case 7: return "THE LAYER IS WEAK ROCK";
    default: return "";
  }
}

void writeProfileReport(RunState& run, const ProblemInput& input, const PyProfile& profile) {
  TextOutput& out = run.report;
  const UnitLabels& u = run.labels;
  writeBlockFrame(out, "*        SOIL LAYERS AND STRENGTH DATA           *");
  out.empty();
  out.line(fmt::Record().X(9).lit("X AT THE SURFACE OF EXCAVATION SIDE     = ").F(profile.freeHeight, 10, 2).lit(u.length3));
  out.empty();
  out.line(fmt::Record().X(9).I(static_cast<long long>(profile.layers.size()), 1).lit(" LAYER(S) OF SOIL"));
  for (size_t i = 0; i < profile.layers.size(); ++i) {
    out.empty();
    out.line(fmt::Record().X(9).lit("LAYER").I(static_cast<long long>(i + 1), 3).X(3).lit(soilText(profile.layers[i].type)));
  }

  out.empty(2);
  out.line(fmt::Record()
               .X(9)
               .lit("DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH")
               .X(3)
               .I(static_cast<long long>(profile.unitWeights.size()), 2)
               .lit(" POINTS"));
  out.empty();
  out.line(fmt::Record().X(10).lit("X, ").lit(u.length2).X(6).lit("WEIGHT,").lit(unitWeightLabel(run)));
  for (const UnitWeightPoint& p : profile.unitWeights)
    out.line(fmt::Record().F(profile.freeHeight + p.x, 15, 4).D(p.weight, 15, 4));

  out.empty(2);
  out.line(fmt::Record()
               .X(9)
               .lit("DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH")
               .X(3)
               .I(static_cast<long long>(profile.strength.size()), 2)
               .lit(" POINTS"));
  out.empty();
  out.line(fmt::Record().X(10).lit("X, ").lit(u.length2).X(3).lit("S,").lit(pressureLabel(run)).X(3).lit("PHI,DEGREES").X(8).lit("E50"));
  for (const StrengthPoint& p : profile.strength) {
    fmt::Record row;
    row.F(profile.freeHeight + p.x, 15, 2).D(p.cohesion, 13, 4).F(p.phi / kDegreesToRadians, 13, 3);
    if (p.e50 > 1.0e-6) row.D(p.e50, 15, 4);
    else row.A("-----", 15);
    out.line(row);
  }

  if (!input.pyModifiers.empty()) {
    out.empty(2);
    out.line(fmt::Record().X(6).lit("REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS"));
    out.empty();
    out.line("      DEPTH     P-FACTOR     Y-FACTOR        ");
    for (const PyModRow& r : input.pyModifiers)
      out.line(fmt::Record().X(4).F(r.depth, 7, 2).X(7).F(r.pMultiplier, 6, 2).X(7).F(r.yMultiplier, 6, 2));
  }

  out.empty(2);
  out.line(fmt::Record().X(8).lit("P-Y CURVES DATA"));
}

void writeUserCurves(TextOutput& file, const ProblemInput& input) {
  for (const UserPyCurve& c : input.userCurves) {
    const size_t n = std::min(c.y.size(), c.p.size());
    file.line(" " + fmt::freeInt(c.station) + " " + fmt::freeInt(static_cast<long long>(n)));
    for (size_t k = 0; k < n; ++k)
      file.line(" " + fmt::freeInt(static_cast<long long>(k + 1)) + " " + fmt::freeReal(c.p[k] * c.pMultiplier) + " " +
                fmt::freeReal(c.y[k] * c.yMultiplier));
  }
}

}  // namespace

PyLayerGenerator pyGeneratorFor(int typeCode) {
  switch (typeCode) {
    case 1: return generateSoftClayLayer;
    case 2: return generateStiffClayFreeWaterLayer;
    case 3: return generateStiffClayDryLayer;
    case 4: return generateSandLayer;
    case 5: return generateSiltLayer;
    case 6: return generateStrongRockLayer;
    case 7: return generateWeakRockLayer;
    default: return generateSoftClayLayer;
  }
}

PyProfile buildPyProfile(const ProblemInput& input) {
  PyProfile pr;
  pr.units = input.control.units;
  pr.freeHeight = input.site.freeHeight;
  pr.width = input.site.wp;
  if (input.site.wp > 0) {
    pr.rawRatio = input.site.wa / input.site.wp;
    pr.ratio = std::max(1.0, pr.rawRatio);
  }
  pr.increment = input.solution.h;
  pr.wallLength = input.solution.increments * input.solution.h;
  pr.waterDepth = input.site.waterDepthBackfill;
  pr.gammaW = waterUnitWeight(pr.units);

  const double H = pr.freeHeight;
  const double dw = pr.waterDepth;
  // The second point beyond the wall bottom: curves deeper are never used.
  const double xw = pr.wallLength + 2.0 * pr.increment - H;
  auto belowWater = [&](double x) { return H + x > dw + kDepthTolerance; };
  auto atWater = [&](double x) { return std::fabs(H + x - dw) <= kDepthTolerance; };

  bool truncated = false;
  bool first = true;
  double previousBottom = 0;
  for (const SoilLayer& layer : input.layers) {
    if (!(layer.bottomDepth > H)) continue;
    const double xtop = first ? 0.0 : previousBottom - H;
    double xbot = layer.bottomDepth - H;
    previousBottom = layer.bottomDepth;

    const double gamma = layer.top[0];
    UnitWeightPoint u1{xtop, gamma};
    UnitWeightPoint u2{xbot, gamma};
    const bool hasPrevious = !pr.unitWeights.empty();
    const UnitWeightPoint previous = hasPrevious ? pr.unitWeights.back() : UnitWeightPoint{};
    if (belowWater(xtop) || (atWater(xtop) && hasPrevious && atWater(previous.x))) u1.weight -= pr.gammaW;
    if (belowWater(xbot)) u2.weight -= pr.gammaW;
    if (hasPrevious && previous.x < xtop) u1.x = previous.x;
    if (dw > H + xtop + kDepthTolerance && dw < H + xbot - kDepthTolerance) {
      u2.x = dw - H;
      u2.weight = gamma;
    }
    pr.unitWeights.push_back(u1);
    pr.unitWeights.push_back(u2);
    first = false;

    if (truncated || static_cast<int>(pr.layers.size()) >= kMaxPyLayers) continue;
    StrengthPoint s1{xtop, layer.top[1], layer.top[2], layer.top[3], layer.top[5]};
    StrengthPoint s2{xbot, layer.bottom[1], layer.bottom[2], layer.bottom[3], layer.bottom[5]};
    if (xbot > xw) {
      const double span = xbot - xtop;
      const double f = std::fabs(span) > 0 ? (xw - xtop) / span : 0.0;
      s2.cohesion = s1.cohesion + (s2.cohesion - s1.cohesion) * f;
      s2.phi = s1.phi + (s2.phi - s1.phi) * f;
      s2.e50 = s1.e50 + (s2.e50 - s1.e50) * f;
      s2.sixth = s1.sixth + (s2.sixth - s1.sixth) * f;
      xbot = xw;
      s2.x = xw;
      truncated = true;
    }
    pr.strength.push_back(s1);
    pr.strength.push_back(s2);
    PyLayer l;
    l.type = layer.type;
    l.xtop = xtop;
    l.xbot = xbot;
    l.k = layer.top[4];
    pr.layers.push_back(l);
  }

  const double d = boundaryOffset(pr.units);
  for (const PyLayer& l : pr.layers) {
    const double t = l.xbot - l.xtop;
    for (double xc : {l.xtop + d, l.xtop + 0.25 * t, l.xtop + 0.5 * t, l.xtop + 0.75 * t, l.xbot - d})
      pr.curveDepths.push_back(xc);
  }
  for (StrengthPoint& s : pr.strength) s.phi *= kDegreesToRadians;

  if (!pr.unitWeights.empty() && !pr.strength.empty() && pr.unitWeights.back().x < pr.strength.back().x) {
    const UnitWeightPoint last = pr.unitWeights.back();
    pr.unitWeights.push_back({last.x, last.weight - pr.gammaW});
    pr.unitWeights.push_back({pr.strength.back().x, last.weight - pr.gammaW});
  }

  // Each layer takes the curves whose depths fall within it, the last layer
  // the rest.
  const size_t total = pr.curveDepths.size();
  size_t k = 0;
  for (size_t i = 0; i < pr.layers.size(); ++i) {
    PyLayer& l = pr.layers[i];
    l.firstCurve = static_cast<int>(k);
    if (i + 1 == pr.layers.size()) k = total;
    else
      while (k < total && pr.curveDepths[k] <= l.xbot) ++k;
    l.curveCount = static_cast<int>(k) - l.firstCurve;
  }
  return pr;
}

PyGenerationResult generatePyCurves(RunState& run, const ProblemInput& input, double sigmaH) {
  std::fprintf(stderr, " READ SOIL DATA....\n");
  run.labels.setFor(input.control.units == 1 ? 1 : 2);
  if (!(input.site.wp > 0))
    pyErrorStop(run, "     ERROR STOP -- THE WIDTH FOR SOIL RESISTANCE, WP, MUST BE POSITIVE FOR GENERATED P-Y CURVES");

  PyGenerationResult result;
  result.profile = buildPyProfile(input);
  PyProfile& pr = result.profile;
  writeProfileReport(run, input, pr);

  TextOutput soilData;
  if (!soilData.open(run.workDir + "/" + kSoilDataFile))
    pyErrorStop(run, "     ERROR STOP -- THE P-Y CURVE FILE SOILDATA CANNOT BE WRITTEN");
  soilData.line(" " + fmt::freeInt(static_cast<long long>(input.userCurves.size() +
                                                          static_cast<size_t>(kCurvesPerLayer) * pr.layers.size())));
  writeUserCurves(soilData, input);

  PyGenContext ctx{run, input, pr, sigmaH, soilData, result.curves};
  for (size_t i = 0; i < pr.layers.size(); ++i) {
    pr.layers[i].fu = 0;
    pr.layers[i].xeq = 0;
    if (pr.layers[i].curveCount <= 0) continue;
    pyGeneratorFor(pr.layers[i].type)(ctx, static_cast<int>(i));
  }
  soilData.close();
  return result;
}

void runPyGeneration(RunState& run, const ProblemInput& input, double sigmaH) { generatePyCurves(run, input, sigmaH); }

}  // namespace ramvex
