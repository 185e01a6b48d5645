#include "iteration.h"

#include <cmath>
#include <cstddef>

#include "iteration_monitor.h"

namespace ramvex {

void updateStiffness(const ProblemInput& input, StationData& sd, const std::vector<double>& w) {
  const double h2 = sd.h * sd.h;
  for (const MomentEiCurve& curve : input.momentEiCurves) {
    const size_t n = curve.moment.size() < curve.ei.size() ? curve.moment.size() : curve.ei.size();
    if (n == 0) continue;
    // Curvature needs both neighbours, so only the wall's own stations.
    const int from = curve.from < 0 ? 0 : curve.from;
    const int to = curve.to > sd.n ? sd.n : curve.to;
    for (int j = from; j <= to; ++j) {
      const size_t i = static_cast<size_t>(StationData::index(j));
      if (n == 1) {  // a single point: constant stiffness
        sd.F[i] = curve.ei[0];
        continue;
      }
      const double phi = std::fabs(w[i - 1] - 2.0 * w[i] + w[i + 1]) / h2;
      size_t k = n;  // 1-based
      for (size_t m = 2; m <= n - 1; ++m) {
        if (curve.moment[m - 1] > phi * curve.ei[m - 1]) {
          k = m;
          break;
        }
      }
      const double m0 = curve.moment[k - 2], m1 = curve.moment[k - 1];
      const double e0 = curve.ei[k - 2], e1 = curve.ei[k - 1];
      const double den = (e1 - e0) * phi - (m1 - m0);
      // Parallel lines never meet: keep the segment's first stiffness.
      const double t = den == 0.0 ? 0.0 : (m0 - phi * e0) / den;
      const double ei = e0 + (e1 - e0) * t;
      sd.F[i] = std::isfinite(ei) ? ei : e0;
    }
  }
}

IterationResult iterate(RunState& run, const ProblemInput& input, StationData& sd, const CurveSet& curves) {
  IterationResult res;
  const size_t count = static_cast<size_t>(sd.size());
  const int n = sd.n;
  const double maxDeflection = input.solution.maxDeflection;
  const double tolerance = input.solution.closureTolerance;
  const bool hasMomentEi = !input.momentEiCurves.empty();

  writeMonitorHeader(run);

  std::vector<double> w(count, 0.0), wNew(count, 0.0), wRef(count, 0.0);
  std::vector<double> qw(count, 0.0), sw(count, 0.0);
  SolverWork work;
  if (hasMomentEi) updateStiffness(input, sd, w);

  bool stopped = false;
  for (int it = 1; it <= kIterationLimit; ++it) {
    res.iteration = it;
    for (int j = -1; j <= n + 1; ++j) {
      const size_t i = static_cast<size_t>(StationData::index(j));
      sw[i] = sd.S[i];
      qw[i] = sd.Q[i];
    }
    res.offCurve = assignCurves(run, curves, n, w, sw, qw);
    solveBeam(sd, qw, sw, wNew, work);

    res.beyondLimit = 0;
    res.notClosed = 0;
    for (int j = n; j >= 0; --j) {
      const size_t i = static_cast<size_t>(StationData::index(j));
      // A solution that overflowed counts as beyond the limit, so that it is
      // never reported as closed.
      if (!std::isfinite(wNew[i]) || std::fabs(wNew[i]) > maxDeflection) ++res.beyondLimit;
      if (std::fabs(wNew[i] - w[i]) > tolerance) ++res.notClosed;
    }
    w.swap(wNew);
    writeMonitorLine(run, it, res.offCurve, res.notClosed, n, w);

    if (res.beyondLimit > 0 || res.notClosed > 0) {
      if (res.beyondLimit > 0) {
        stopped = true;
        break;
      }
      continue;
    }
    if (!hasMomentEi) {
      stopped = true;
      break;
    }
    // The stiffness has settled once the deflection no longer moves from
    // the one it was last updated with.  These stations stand as the
    // unclosed ones, so a run that ends at the limit here says so.
    for (int j = 0; j <= n; ++j) {
      const size_t i = static_cast<size_t>(StationData::index(j));
      if (std::fabs(w[i] - wRef[i]) > tolerance) ++res.notClosed;
    }
    if (res.notClosed == 0) {
      stopped = true;
      break;
    }
    for (int j = 0; j <= n; ++j) {
      const size_t i = static_cast<size_t>(StationData::index(j));
      wRef[i] = w[i];
    }
    updateStiffness(input, sd, w);
  }
  if (!stopped) res.iteration = kIterationLimit;
  res.w = std::move(w);
  return res;
}

std::vector<TiebackResult> tiebackResults(const StationData& sd, const std::vector<double>& w) {
  std::vector<TiebackResult> out;
  int number = 0;
  for (const TiebackData& t : sd.tiebacks) {
    TiebackResult r;
    r.number = ++number;
    r.station = t.station;
    r.depth = t.depth;
    const double ws = sd.inRange(t.station) && static_cast<size_t>(StationData::index(t.station)) < w.size()
                          ? w[static_cast<size_t>(StationData::index(t.station))]
                          : 0.0;
    r.horizontal = t.qtie - ws * t.stie;
    r.alongAnchor = r.horizontal / std::cos(t.angle);
    r.perTieback = r.alongAnchor * t.spacing / sd.wa;
    out.push_back(r);
  }
  return out;
}

}  // namespace ramvex
