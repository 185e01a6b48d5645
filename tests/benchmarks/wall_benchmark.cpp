#include <benchmark/benchmark.h>

#include <cmath>

#include "beam_solver.h"
#include "iteration.h"
#include "py_curves.h"
#include "station_data.h"

namespace {

using namespace ramvex;

// A wall of n increments with soil curves along its whole length and
// moment-EI curves over it, loaded at the top; the negative tolerance keeps
// every pass unclosed, so the iteration runs to its limit.
ProblemInput largeWall(int n, int curves, int momentEiCurves) {
  ProblemInput in;
  in.control.units = 1;
  in.control.nstif = 1;
  in.control.pyOption = 1;
  in.solution.increments = n;
  in.solution.h = 6.0;
  in.solution.maxDeflection = 1.0e30;
  in.solution.closureTolerance = -1.0;
  in.solution.freeHeight = 0.0;
  in.solution.wa = 12.0;
  in.stiffness.push_back({0, n, 1, 3.0e9});
  in.loads.push_back({1, 0, 0, 2.0e4, 0.0, 0.0});
  for (int i = 0; i < curves; ++i) {
    UserPyCurve c;
    c.station = static_cast<int>(std::lround(static_cast<double>(i) * n / (curves - 1)));
    c.pMultiplier = 1.0;
    c.yMultiplier = 1.0;
    for (int k = 0; k < 17; ++k) {
      const double y = -2.0 + 0.25 * k;
      c.y.push_back(y);
      c.p.push_back(-200.0 * std::tanh(y / 0.3));
    }
    in.userCurves.push_back(c);
  }
  const int span = (n + 1) / momentEiCurves;
  for (int i = 0; i < momentEiCurves; ++i) {
    MomentEiCurve m;
    m.from = i * span;
    m.to = i * span + span - 1;
    for (int k = 0; k < 100; ++k) {
      m.moment.push_back(1.0e4 * k);
      m.ei.push_back(3.0e9 / (1.0 + 0.01 * k));
    }
    in.momentEiCurves.push_back(m);
  }
  return in;
}

void BM_IterateToLimit(benchmark::State& state) {
  const ProblemInput in = largeWall(300, 63, 20);
  RunState run;
  for (auto _ : state) {
    StationData sd;
    resetStations(run, in, sd);
    distributeWallTables(run, in, sd);
    const CurveSet curves = buildCurveSet(run, in);
    const IterationResult r = iterate(run, in, sd, curves);
    if (r.iteration != kIterationLimit) state.SkipWithError("iteration stopped early");
    benchmark::DoNotOptimize(r.w.data());
  }
}
BENCHMARK(BM_IterateToLimit)->Unit(benchmark::kMillisecond);

void BM_Solve(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ProblemInput in = largeWall(n, 2, 1);
  in.springs.push_back({0, n, 1, 500.0, 0.0});
  RunState run;
  StationData sd;
  resetStations(run, in, sd);
  distributeWallTables(run, in, sd);
  std::vector<double> w;
  SolverWork work;
  for (auto _ : state) {
    solveBeam(sd, sd.Q, sd.S, w, work);
    benchmark::DoNotOptimize(w.data());
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_Solve)->Arg(75)->Arg(150)->Arg(300)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
