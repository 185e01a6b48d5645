#include "py_curves.h"

#include <cstddef>
#include <utility>

#include "run_errors.h"

namespace ramvex {

void appendCurve(RunState& run, CurveSet& set, PyCurve curve) {
  if (set.curves.size() >= static_cast<size_t>(kMaxCurves)) {
    run.report.empty(2);
    run.report.line("     TOO MUCH DATA FOR AVAILABLE STORAGE");
    run.report.empty(2);
    throw ErrorStop{};
  }
  set.curves.push_back(std::move(curve));
}

int userCurveFlag(const ProblemInput& input, const UserPyCurve& curve) {
  if (input.control.pyOption >= 2) return 0;
  return curve.station * input.solution.h >= input.solution.freeHeight ? 1 : 0;
}

CurveSet buildCurveSet(RunState& run, const ProblemInput& input) {
  CurveSet set;
  const double h = input.solution.h;
  for (const UserPyCurve& u : input.userCurves) {
    PyCurve c;
    c.station = u.station;
    c.interpolate = userCurveFlag(input, u);
    const size_t n = u.y.size() < u.p.size() ? u.y.size() : u.p.size();
    for (size_t k = 0; k < n; ++k) {
      c.y.push_back(u.yMultiplier * u.y[k]);
      c.pLine.push_back(u.pMultiplier * u.p[k]);
      c.p.push_back(h * u.pMultiplier * u.p[k]);
    }
    appendCurve(run, set, std::move(c));
  }
  return set;
}

Linearized linearize(const PyCurve& curve, double w) {
  Linearized out;
  const size_t n = curve.y.size() < curve.p.size() ? curve.y.size() : curve.p.size();
  if (n < 2) {  // no segment: the curve carries nothing
    out.offCurve = true;
    return out;
  }
  size_t k = n;  // 1-based point number
  if (n < 3) {
    out.offCurve = true;
  } else {
    size_t found = 0;
    for (size_t m = 2; m <= n; ++m) {
      if (w <= curve.y[m - 1]) {
        found = m;
        break;
      }
    }
    if (found == 0) {
      out.offCurve = true;  // beyond the last point, or a NaN deflection
    } else {
      k = found;
      if (w < curve.y[k - 1] && w < curve.y[0]) out.offCurve = true;
    }
  }
  const double y0 = curve.y[k - 2], y1 = curve.y[k - 1];
  const double p0 = curve.p[k - 2], p1 = curve.p[k - 1];
  if (y1 != y0) {
    out.slope = -(p1 - p0) / (y1 - y0);
    out.intercept = out.slope * y0 + p0;
  }
  return out;
}

bool assignCurves(RunState& run, const CurveSet& set, int n, const std::vector<double>& w,
                  std::vector<double>& sw, std::vector<double>& qw) {
  bool offCurve = false;
  auto deflection = [&](int k) { return w[static_cast<size_t>(k + 4)]; };
  auto add = [&](int k, double weight, double slope, double intercept) {
    sw[static_cast<size_t>(k + 4)] += weight * slope;
    qw[static_cast<size_t>(k + 4)] += weight * intercept;
  };

  int pending = 0;
  const PyCurve* start = nullptr;
  for (const PyCurve& curve : set.curves) {
    if (pending == 0) {
      if (curve.interpolate == 0) {
        // Soil acts on the wall only: a curve above the top or below the
        // bottom station carries nothing.
        if (curve.station >= 0 && curve.station <= n) {
          const Linearized l = linearize(curve, deflection(curve.station));
          offCurve |= l.offCurve;
          add(curve.station, 1.0, l.slope, l.intercept);
        }
      } else {
        start = &curve;
        pending = 1;
      }
      continue;
    }
    const int a = start->station;
    const int b = curve.station;
    if (b < a) {
      run.report.empty(2);
      run.report.line("     ERROR STOP -- STATIONS NOT IN ORDER");
      throw ErrorStop{};
    }
    if (b == a) continue;  // passed over; the chain goes on from the start curve
    if (a < n) {
      const int last = b < n ? b : n;
      const double span = static_cast<double>(b - a);
      for (int k = a < 0 ? 0 : a; k <= last; ++k) {
        const double t = static_cast<double>(k - a) / span;
        const double wk = deflection(k);
        const Linearized l0 = linearize(*start, wk);
        const Linearized l1 = linearize(curve, wk);
        offCurve |= l0.offCurve || l1.offCurve;
        const double weight = (k == a || k == b) ? 0.5 : 1.0;
        add(k, weight, l0.slope + (l1.slope - l0.slope) * t,
            l0.intercept + (l1.intercept - l0.intercept) * t);
      }
    }
    start = &curve;
    pending = curve.interpolate;
  }
  return offCurve;
}

}  // namespace ramvex
