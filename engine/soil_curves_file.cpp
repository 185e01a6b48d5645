#include "soil_curves_file.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "py_generation.h"
#include "run_errors.h"

namespace ramvex {
namespace {

[[noreturn]] void unreadable(RunState& run) {
  run.report.empty(2);
  run.report.line("     ERROR STOP -- THE P-Y CURVE FILE SOILDATA CANNOT BE READ");
  throw ErrorStop{};
}

template <typename T>
T next(RunState& run, std::istream& in) {
  T value{};
  if (!(in >> value)) unreadable(run);
  return value;
}

// Station of a depth: the nearest one, halves away from zero.
int nearestStation(RunState& run, double depth, double h) {
  if (!(h > 0)) unreadable(run);
  const double s = std::round(depth / h);
  if (!(std::fabs(s) <= 1.0e6)) unreadable(run);
  return static_cast<int>(s);
}

}  // namespace

std::vector<SoilFileCurve> readSoilCurvesFile(RunState& run, const ProblemInput& input) {
  std::ifstream file(run.workDir + "/" + kSoilDataFile, std::ios::binary);
  if (!file) unreadable(run);
  std::ostringstream text;
  text << file.rdbuf();
  std::istringstream in(text.str());

  const long long count = next<long long>(run, in);
  if (count < 0) unreadable(run);
  if (count > kMaxCurves) {
    run.report.empty(2);
    run.report.line("     TOO MUCH DATA FOR AVAILABLE STORAGE");
    run.report.empty(2);
    throw ErrorStop{};
  }
  const double h = input.solution.h;
  const long long userCount = static_cast<long long>(input.userCurves.size());
  std::vector<SoilFileCurve> curves;
  for (long long i = 0; i < count; ++i) {
    SoilFileCurve c;
    if (i < userCount) {
      c.station = next<int>(run, in);
      const int n = next<int>(run, in);
      if (n < 0 || n > kMaxUserCurvePoints) unreadable(run);
      for (int k = 0; k < n; ++k) {
        next<int>(run, in);
        c.pLine.push_back(next<double>(run, in));
        c.y.push_back(next<double>(run, in));
      }
    } else {
      c.generated = true;
      c.depth = next<double>(run, in);
      if (!std::isfinite(c.depth)) unreadable(run);
      if (next<int>(run, in) != 2 * kPointsPerSide) unreadable(run);
      c.station = nearestStation(run, c.depth, h);
      double pr[2 * kPointsPerSide], yr[2 * kPointsPerSide];
      for (int k = 0; k < 2 * kPointsPerSide; ++k) {
        next<int>(run, in);
        pr[k] = next<double>(run, in);
        yr[k] = next<double>(run, in);
      }
      // Backfill branch (records 18 to 34) reversed to negative deflections,
      // then the excavation branch after its first point, resisting.
      for (int k = 2 * kPointsPerSide - 1; k >= kPointsPerSide; --k) {
        c.y.push_back(-yr[k]);
        c.pLine.push_back(pr[k]);
      }
      for (int k = 1; k < kPointsPerSide; ++k) {
        c.y.push_back(yr[k]);
        c.pLine.push_back(-pr[k]);
      }
      c.interpolate = 1;
    }
    for (double v : c.pLine) c.p.push_back(v * h);
    curves.push_back(std::move(c));
  }
  return curves;
}

}  // namespace ramvex
