#include "iteration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "fortran_format.h"
#include "run_errors.h"
#include "wall_report.h"
#include "wall_test_helpers.h"

namespace ramvex {
namespace {

using testing::at;
using testing::buildStations;
using testing::ScratchRun;
using testing::wallProblem;

constexpr double kEI = 1.0e7;

UserPyCurve curveAt(int station, std::vector<double> y, std::vector<double> p) {
  UserPyCurve c;
  c.station = station;
  c.pMultiplier = 1.0;
  c.yMultiplier = 1.0;
  c.y = std::move(y);
  c.p = std::move(p);
  return c;
}

// Straight p = -k y through three points.
UserPyCurve linearCurve(int station, double k) {
  return curveAt(station, {-10.0, 0.0, 10.0}, {10.0 * k, 0.0, -10.0 * k});
}

// A free wall of length L on user curves at its two ends, interpolated along
// it (curves below the free height 0 start chains), loaded at the top.
ProblemInput foundationBeam(int n, double length, double load) {
  ProblemInput in = wallProblem(1, n, length / n, kEI);
  in.control.pyOption = 1;
  in.control.nupy = 2;
  in.solution.freeHeight = 0.0;
  in.solution.closureTolerance = 1e-12;
  in.loads = {{1, 0, 0, load, 0.0, 0.0}};
  return in;
}

struct Solved {
  IterationResult it;
  WallResults res;
  std::string report;
  std::string notes;
};

Solved run(const ProblemInput& in) {
  ScratchRun scratch;
  StationData sd;
  buildStations(scratch.run, in, sd);
  const CurveSet curves = buildCurveSet(scratch.run, in);
  Solved s;
  s.it = iterate(scratch.run, in, sd, curves);
  s.res = computeResults(sd, s.it.w);
  writeResults(scratch.run, s.it, s.res);
  s.report = scratch.report();
  s.notes = scratch.notes();
  return s;
}

// End deflection of a free finite beam on an elastic foundation under an end
// load (beams on elastic foundation, free ends).
double hetenyiEndDeflection(double load, double k, double ei, double length) {
  const double lambda = std::pow(k / (4.0 * ei), 0.25);
  const double x = lambda * length;
  return 2.0 * load * lambda / k * (std::sinh(x) * std::cosh(x) - std::sin(x) * std::cos(x)) /
         (std::sinh(x) * std::sinh(x) - std::sin(x) * std::sin(x));
}

TEST(Iteration, BeamOnElasticFoundationMatchesClosedForm) {
  const double k = 50.0, length = 100.0, load = 100.0;
  const double exact = hetenyiEndDeflection(load, k, kEI, length);
  const int meshes[2] = {20, 100};
  double errors[2];
  for (int m = 0; m < 2; ++m) {
    const int n = meshes[m];
    ProblemInput in = foundationBeam(n, length, load);
    in.userCurves = {linearCurve(0, k), linearCurve(n, k)};
    const Solved s = run(in);
    EXPECT_FALSE(s.it.offCurve);
    EXPECT_EQ(s.it.notClosed, 0);
    EXPECT_EQ(s.it.iteration, 2);  // the second pass repeats the first
    errors[m] = std::fabs(s.res.deflection[0] - exact) / exact;
  }
  EXPECT_LT(errors[1], 1.0e-3);
  EXPECT_NEAR(errors[0] / errors[1], 25.0, 3.0);
}

TEST(Iteration, LinearSupportScalesWithTheLoad) {
  auto problem = [](double scale) {
    ProblemInput in = foundationBeam(40, 200.0, 150.0 * scale);
    in.loads.push_back({2, 5, 5, 20.0 * scale, 300.0 * scale, 0.0});
    in.loads.push_back({1, 12, 30, -8.0 * scale, 0.0, 0.0});
    in.springs = {{30, 40, 1, 400.0, 1.0e5}};
    in.userCurves = {linearCurve(10, 30.0), linearCurve(25, 60.0), linearCurve(40, 90.0)};
    return in;
  };
  const Solved once = run(problem(1.0));
  const Solved twice = run(problem(2.0));
  for (int j = 0; j <= 40; ++j) {
    const size_t k = static_cast<size_t>(j);
    EXPECT_NEAR(twice.res.deflection[k], 2.0 * once.res.deflection[k], 1e-12 * std::fabs(once.res.deflection[0]));
    EXPECT_NEAR(twice.res.moment[k], 2.0 * once.res.moment[k], 1e-9 * std::fabs(once.res.moment[20]) + 1e-12);
  }
}

// Resistance rising linearly to a plateau at |y| = 0.5.
ProblemInput plateauWall(double load) {
  const int n = 20;
  ProblemInput in = foundationBeam(n, 200.0, load);
  in.solution.maxDeflection = 50.0;
  in.solution.closureTolerance = 1e-6;
  in.solution.freeHeight = 50.0;  // curves above it act at their own station
  for (int j = 0; j <= n; j += 2) {
    in.userCurves.push_back(
        curveAt(j, {-1000.0, -0.5, 0.0, 0.5, 1000.0}, {20.0, 20.0, 0.0, -20.0, -20.0}));
  }
  in.control.nupy = static_cast<int>(in.userCurves.size());
  return in;
}

TEST(Iteration, PlateauCurveConvergesThenRunsAwayAsLoadGrows) {
  const Solved small = run(plateauWall(900.0));
  EXPECT_EQ(small.it.beyondLimit, 0);
  EXPECT_EQ(small.it.notClosed, 0);
  EXPECT_LT(small.it.iteration, 20);
  EXPECT_GT(small.it.iteration, 2);
  EXPECT_GT(small.res.deflection[0], 0.5);  // the top has reached the plateau
  EXPECT_EQ(small.report.find("MAX ALLOWABLE"), std::string::npos) << small.report;

  // Total capacity is 21 stations' worth of plateau; twice that cannot stand.
  const Solved big = run(plateauWall(4000.0));
  EXPECT_GT(big.it.beyondLimit, 0);
  EXPECT_GT(big.it.iteration, 1);  // the first, linear pass still stands
  EXPECT_LT(big.it.iteration, kIterationLimit);
  const std::string expected = "\n     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***" +
                               fmt::I(big.it.beyondLimit, 4) + "  *** STATIONS *****\n";
  EXPECT_NE(big.report.find(expected), std::string::npos) << big.report;
}

// One soft station on a spring, a curve whose softening branch is steeper
// than the spring: each pass lands on the other segment, so it never closes.
ProblemInput snapThrough() {
  ProblemInput in = wallProblem(1, 2, 1.0, 1.0e-9);
  in.control.pyOption = 1;
  in.solution.maxDeflection = 50.0;
  in.solution.closureTolerance = 1e-6;
  in.solution.freeHeight = 10.0;
  in.springs = {{0, 0, 1, 1.0, 0.0}, {1, 1, 1, 1.0, 0.0}, {2, 2, 1, 1.0, 0.0}};
  in.loads = {{1, 1, 1, 2.5, 0.0, 0.0}};
  in.userCurves = {curveAt(1, {-100.0, 0.0, 1.0, 100.0}, {100.0, 0.0, -1.0, 197.0})};
  return in;
}

TEST(Iteration, OscillatingSolutionStopsAtTheLimit) {
  const Solved s = run(snapThrough());
  EXPECT_EQ(s.it.iteration, kIterationLimit);
  EXPECT_GT(s.it.notClosed, 0);
  EXPECT_NE(s.report.find("\n     RESULTS -- ITERATION100\n"), std::string::npos) << s.report;
  EXPECT_NE(s.report.find("\n\n     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n"),
            std::string::npos);
  EXPECT_EQ(s.report.find("OFF Q - W"), std::string::npos);
  // One run-notes line per pass.
  EXPECT_NE(s.notes.find("\n    100       NO"), std::string::npos) << s.notes;
  EXPECT_EQ(s.notes.find("\n    101"), std::string::npos);
  const double w1 = s.res.deflection[1];
  EXPECT_TRUE(std::fabs(w1 - 0.5) < 1e-6 || std::fabs(w1 - 1.25) < 1e-6) << w1;
}

TEST(Iteration, ToleranceZeroStillClosesALinearWall) {
  ProblemInput in = foundationBeam(20, 100.0, 100.0);
  in.userCurves = {linearCurve(0, 50.0), linearCurve(20, 50.0)};
  in.solution.closureTolerance = 0.0;
  const Solved s = run(in);
  EXPECT_EQ(s.it.iteration, 2);
  EXPECT_EQ(s.it.notClosed, 0);
}

TEST(Iteration, OverflowIsNeverReportedAsClosed) {
  // A vanishing stiffness under a huge load: the deflections overflow to
  // infinity or NaN, which compare false with every limit.
  ProblemInput in = wallProblem(1, 10, 6.0, 1.0e-300);
  in.loads = {{1, 0, 10, 1.0e300, 0.0, 0.0}};
  in.specified = {{3, 10, 0.0, 0.0}};
  in.solution.maxDeflection = 1.0e308;
  const Solved s = run(in);
  EXPECT_GT(s.it.beyondLimit, 0);
  EXPECT_EQ(s.it.iteration, 1);
  EXPECT_NE(s.report.find("MAX ALLOWABLE DEFLECTION EXCEEDED"), std::string::npos);
}

TEST(Iteration, OffCurveReported) {
  // Two-point curves always count as off the curve.
  ProblemInput in = foundationBeam(20, 100.0, 100.0);
  in.userCurves = {curveAt(0, {0.0, 10.0}, {0.0, -500.0}), curveAt(20, {0.0, 10.0}, {0.0, -500.0})};
  const Solved s = run(in);
  EXPECT_TRUE(s.it.offCurve);
  EXPECT_NE(s.report.find("\n\n     ***** DEFLECTION OFF Q - W CURVES *****\n"), std::string::npos) << s.report;
  EXPECT_NE(s.notes.find("      2       YES         0"), std::string::npos) << s.notes;
}

// Base-fixed cantilever loaded at the top, with a moment-EI curve over the
// whole wall.
ProblemInput momentEiCantilever(std::vector<double> moment, std::vector<double> ei) {
  const int n = 20;
  ProblemInput in = wallProblem(1, n, 6.0, kEI);
  in.loads = {{1, 0, 0, 100.0, 0.0, 0.0}};
  in.specified = {{3, n, 0.0, 0.0}};
  in.solution.closureTolerance = 1e-9;
  in.control.nmei = 1;
  in.momentEiCurves = {{0, n, std::move(moment), std::move(ei)}};
  return in;
}

TEST(Iteration, MomentEiUpdatesUntilTheDeflectionSettles) {
  // Constant EI: pass 1 moves from zero, pass 2 repeats it and updates the
  // stiffness (to the same values), pass 3 finds nothing moved.
  const Solved linear = run(momentEiCantilever({0.0, 1.0e6}, {kEI, kEI}));
  EXPECT_EQ(linear.it.iteration, 3);
  EXPECT_EQ(linear.it.notClosed, 0);
  EXPECT_DOUBLE_EQ(linear.res.F[0], kEI);  // replaced whole, no end halving
  EXPECT_DOUBLE_EQ(linear.res.F[20], kEI);

  // Softening beyond M = 6000 (the load times 60 in): the upper half of the
  // wall keeps EI, the lower half loses stiffness and the top moves more.
  const Solved soft = run(momentEiCantilever({0.0, 6000.0, 12000.0, 24000.0}, {kEI, kEI, 0.5 * kEI, 0.25 * kEI}));
  EXPECT_GT(soft.it.iteration, 3);
  EXPECT_LT(soft.it.iteration, kIterationLimit);
  EXPECT_EQ(soft.it.notClosed, 0);
  EXPECT_DOUBLE_EQ(soft.res.F[5], kEI);
  EXPECT_LT(soft.res.F[19], 0.6 * kEI);
  EXPECT_GT(soft.res.deflection[0], 1.2 * linear.res.deflection[0]);
  // At the settled state each station's moment lies on the curve: between
  // M = 6000 and 12000 the curve is M = 6000 + 6000 (1 - EI / kEI) / 0.5.
  for (int j = 11; j < 20; ++j) {
    const double f = soft.res.F[static_cast<size_t>(j)];
    const double m = soft.res.moment[static_cast<size_t>(j)];
    if (f < 0.5 * kEI) continue;
    EXPECT_NEAR(m, 6000.0 + 12000.0 * (1.0 - f / kEI), 1e-3 * m) << j;
  }
}

}  // namespace
}  // namespace ramvex
