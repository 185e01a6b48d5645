#include "beam_solver.h"

#include <gtest/gtest.h>

#include <cmath>

#include "wall_test_helpers.h"

namespace ramvex {
namespace {

using testing::at;
using testing::buildStations;
using testing::ScratchRun;
using testing::wallProblem;

// Solves the station data with its own loads and springs, no soil.
std::vector<double> solve(const StationData& sd) {
  std::vector<double> w;
  SolverWork work;
  solveBeam(sd, sd.Q, sd.S, w, work);
  return w;
}

constexpr double kEI = 1.0e7;
constexpr double kLength = 120.0;
constexpr double kLoad = 100.0;

// Cantilever fixed at the base (deflection and slope 0 at station N), free
// top loaded by kLoad; optionally guided at the top (slope 0 at station 0).
StationData cantilever(int n, bool guidedTop) {
  ProblemInput in = wallProblem(1, n, kLength / n, kEI);
  in.loads = {{1, 0, 0, kLoad, 0.0, 0.0}};
  if (guidedTop) in.specified.push_back({2, 0, 0.0, 0.0});
  in.specified.push_back({3, n, 0.0, 0.0});
  ScratchRun scratch;
  StationData sd;
  buildStations(scratch.run, in, sd);
  return sd;
}

double relativeError(double value, double exact) { return std::fabs(value - exact) / std::fabs(exact); }

TEST(BeamSolver, CantileverMatchesBeamTheory) {
  const double exact = kLoad * std::pow(kLength, 3) / (3.0 * kEI);
  double errors[2];
  const int meshes[2] = {20, 100};
  for (int m = 0; m < 2; ++m) {
    const int n = meshes[m];
    const StationData sd = cantilever(n, false);
    const std::vector<double> w = solve(sd);
    const WallResults res = computeResults(sd, w);
    errors[m] = relativeError(res.deflection[0], exact);
    // Interior moments are the load times the depth; the base station
    // carries half the stiffness and so prints half the moment.
    for (int j = 1; j < n; ++j) EXPECT_NEAR(res.moment[static_cast<size_t>(j)], kLoad * j * sd.h, 1e-6 * kLoad * kLength);
    EXPECT_NEAR(res.moment[static_cast<size_t>(n)], 0.5 * kLoad * kLength, 1e-6 * kLoad * kLength);
    EXPECT_NEAR(res.deflection[static_cast<size_t>(n)], 0.0, 1e-15);
    EXPECT_NEAR(res.slope[static_cast<size_t>(n)], 0.0, 1e-15);
    for (int j = 2; j < n - 1; ++j) EXPECT_NEAR(res.shear[static_cast<size_t>(j)], kLoad, 1e-6 * kLoad);
  }
  EXPECT_LT(errors[0], 2.0e-3);
  EXPECT_GT(errors[0], 0.5e-3);
  EXPECT_LT(errors[1], 1.0e-4);
  EXPECT_NEAR(errors[0] / errors[1], 25.0, 3.0);  // second order in h
}

TEST(BeamSolver, GuidedTopUsesTheSlopeCondition) {
  // Slope held at zero at the loaded top: w(0) = P L^3 / (12 EI).
  const double exact = kLoad * std::pow(kLength, 3) / (12.0 * kEI);
  double errors[2];
  const int meshes[2] = {20, 100};
  for (int m = 0; m < 2; ++m) {
    const StationData sd = cantilever(meshes[m], true);
    const WallResults res = computeResults(sd, solve(sd));
    errors[m] = relativeError(res.deflection[0], exact);
    EXPECT_NEAR(res.slope[0], 0.0, 1e-12);
  }
  EXPECT_LT(errors[0], 1.0e-2);
  EXPECT_NEAR(errors[0] / errors[1], 25.0, 3.0);
}

TEST(BeamSolver, ImposedValuesWithoutLoadGiveRigidMotion) {
  const int n = 20;
  const double h = 6.0;
  struct Case {
    const char* name;
    std::vector<SpecifiedRow> rows;
    double w0, theta;  // expected w = w0 + theta * x
  };
  const Case cases[] = {
      {"deflection and slope at the top", {{3, 0, 0.5, 0.01}}, 0.5, 0.01},
      {"deflection and slope at the bottom", {{3, n, -0.2, 0.003}}, -0.2 - 0.003 * n * h, 0.003},
      {"slope mid-wall, deflection below", {{2, 5, 0.0, -0.004}, {1, 10, 0.3, 0.0}}, 0.3 + 0.004 * 10 * h, -0.004},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProblemInput in = wallProblem(1, n, h, kEI);
    in.specified = c.rows;
    ScratchRun scratch;
    StationData sd;
    buildStations(scratch.run, in, sd);
    const WallResults res = computeResults(sd, solve(sd));
    for (int j = 0; j <= n; ++j) {
      EXPECT_NEAR(res.deflection[static_cast<size_t>(j)], c.w0 + c.theta * j * h, 1e-9) << j;
      EXPECT_NEAR(res.slope[static_cast<size_t>(j)], c.theta, 1e-10) << j;
      EXPECT_NEAR(res.moment[static_cast<size_t>(j)], 0.0, 1e-3) << j;
    }
  }
}

TEST(BeamSolver, UnloadedWallStaysStraight) {
  ScratchRun scratch;
  StationData sd;
  buildStations(scratch.run, wallProblem(1, 30, 6.0, kEI), sd);
  const std::vector<double> w = solve(sd);
  for (double v : w) EXPECT_EQ(v, 0.0);
}

TEST(BeamSolver, AppliedMomentCorrectsShearAndReaction) {
  // A couple at the free top of a base-fixed cantilever: constant moment
  // along the wall and no shear once the couple's own terms are removed.
  const int n = 40;
  ProblemInput in = wallProblem(1, n, 3.0, kEI);
  const double couple = 600.0;
  in.loads = {{1, 10, 10, 0.0, couple, 0.0}};
  in.specified = {{3, n, 0.0, 0.0}};
  ScratchRun scratch;
  StationData sd;
  buildStations(scratch.run, in, sd);
  const WallResults res = computeResults(sd, solve(sd));
  for (int j = 12; j < n - 1; ++j) {
    EXPECT_NEAR(std::fabs(res.moment[static_cast<size_t>(j)]), couple, 1e-6 * couple) << j;
    EXPECT_NEAR(res.shear[static_cast<size_t>(j)], 0.0, 1e-6 * couple) << j;
  }
  for (int j = 0; j < 9; ++j) EXPECT_NEAR(res.moment[static_cast<size_t>(j)], 0.0, 1e-6 * couple) << j;
  const double v = couple / (2.0 * 3.0);
  // Without corrections the centred differences spread the jump over three
  // stations; the corrections take it out again.
  EXPECT_NEAR(res.shear[9] + res.shear[10] + res.shear[11], 0.0, 1e-6 * couple) << v;
}

TEST(BeamSolver, ZeroStiffnessAndOverflowNeverCrash) {
  struct Case {
    const char* name;
    double ei, load;
  };
  const Case cases[] = {{"no stiffness at all", 0.0, 10.0},
                        {"huge stiffness", 1.0e300, 1.0e300},
                        {"NaN stiffness", std::nan(""), 1.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProblemInput in = wallProblem(1, 10, 6.0, c.ei);
    in.loads = {{1, 0, 10, c.load, 0.0, 0.0}};
    ScratchRun scratch;
    StationData sd;
    buildStations(scratch.run, in, sd);
    const WallResults res = computeResults(sd, solve(sd));
    EXPECT_EQ(res.nodes(), 11);
  }
}

}  // namespace
}  // namespace ramvex
