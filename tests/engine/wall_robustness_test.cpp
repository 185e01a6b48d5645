// Arbitrary tables, stations and values through the whole wall solution:
// every outcome is either a result or an orderly error stop.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "iteration.h"
#include "run_errors.h"
#include "wall_report.h"
#include "wall_test_helpers.h"

namespace ramvex {
namespace {

TEST(WallRobustness, ArbitraryInputNeverCrashes) {
  std::mt19937 rng(20150513);
  const double specials[] = {0.0, -0.0, 1.0e308, -1.0e308, 1.0e-308, std::numeric_limits<double>::infinity(),
                             std::nan(""), 1.0, -1.0};
  auto value = [&]() {
    if (rng() % 6 == 0) return specials[rng() % std::size(specials)];
    return std::uniform_real_distribution<double>(-1.0e4, 1.0e4)(rng);
  };
  auto station = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n + 12)) - 6; };
  int results = 0, stops = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const int n = 1 + static_cast<int>(rng() % 12);
    ProblemInput in = testing::wallProblem(1 + static_cast<int>(rng() % 2), n, 0.5 + (rng() % 10), 1.0e6);
    in.solution.maxDeflection = rng() % 4 == 0 ? value() : 100.0;
    in.solution.closureTolerance = rng() % 4 == 0 ? value() : 1e-4;
    in.solution.freeHeight = value();
    in.control.pyOption = static_cast<int>(rng() % 3);
    for (unsigned r = rng() % 3; r > 0; --r) in.stiffness.push_back({station(n), station(n), int(rng() % 4), value()});
    for (unsigned r = rng() % 3; r > 0; --r)
      in.loads.push_back({int(rng() % 4), station(n), station(n), value(), value(), value()});
    for (unsigned r = rng() % 2; r > 0; --r) in.springs.push_back({station(n), station(n), int(rng() % 3), value(), value()});
    for (unsigned r = rng() % 2; r > 0; --r) {
      TiebackRow t{value(), value(), value(), value(), value(), value(), value(), station(n)};
      in.tiebacks.push_back(t);
    }
    for (unsigned r = rng() % 2; r > 0; --r) in.specified.push_back({int(rng() % 4), station(n), value(), value()});
    for (unsigned r = rng() % 5; r > 0; --r) {
      UserPyCurve c;
      c.station = station(n);
      c.pMultiplier = value();
      c.yMultiplier = 1.0;
      for (unsigned k = rng() % 6; k > 0; --k) {
        c.y.push_back(value());
        c.p.push_back(value());
      }
      in.userCurves.push_back(c);
    }
    for (unsigned r = rng() % 2; r > 0; --r) {
      MomentEiCurve m{station(n), station(n), {}, {}};
      for (unsigned k = rng() % 4; k > 0; --k) {
        m.moment.push_back(value());
        m.ei.push_back(value());
      }
      in.momentEiCurves.push_back(m);
    }
    testing::ScratchRun scratch;
    try {
      StationData sd;
      testing::buildStations(scratch.run, in, sd);
      addEarthPressureLoads({{value(), value(), 0, 0}, {value(), value(), 0, 0}}, value(), sd);
      checkBeyondEnd(scratch.run, sd);
      echoUserCurves(scratch.run, in);
      const CurveSet curves = buildCurveSet(scratch.run, in);
      const IterationResult it = iterate(scratch.run, in, sd, curves);
      ASSERT_GE(it.iteration, 1);
      ASSERT_LE(it.iteration, kIterationLimit);
      const WallResults res = computeResults(sd, it.w);
      ASSERT_EQ(res.nodes(), n + 1);
      writeResults(scratch.run, it, res);
      writeTiebackResults(scratch.run, tiebackResults(sd, it.w));
      ++results;
    } catch (const ErrorStop&) {
      ++stops;
    }
  }
  // Both outcomes occur, so the loop reached the solver as well as the checks.
  EXPECT_GT(results, 10);
  EXPECT_GT(stops, 10);
}

}  // namespace
}  // namespace ramvex
