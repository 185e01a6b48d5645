#include "wall_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "iteration_monitor.h"
#include "wall_test_helpers.h"

namespace ramvex {
namespace {

using testing::buildStations;
using testing::ScratchRun;
using testing::wallProblem;

UserPyCurve userCurve(int station, double pm, double ym, std::vector<double> y, std::vector<double> p) {
  UserPyCurve c;
  c.station = station;
  c.pMultiplier = pm;
  c.yMultiplier = ym;
  c.y = std::move(y);
  c.p = std::move(p);
  return c;
}

// A small anchored wall with every kind of row, in US units.
ProblemInput smallWall() {
  ProblemInput in = wallProblem(1, 4, 24.0, 2.0e9);
  in.control.nstif = 2;
  in.control.pyOption = 1;
  in.control.nupy = 3;
  in.control.ntie = 1;
  in.solution.maxDeflection = 10.0;
  in.solution.closureTolerance = 0.001;
  in.solution.freeHeight = 48.0;
  in.solution.wa = 12.0;
  in.stiffness = {{0, 2, 2, 2.0e9}, {2, 4, 1, 3.0e9}};
  in.loads = {{1, 0, 0, 1500.0, 12000.0, 200.0}, {1, 1, 3, -250.0, 0.0, 0.0}};
  in.springs = {{4, 4, 1, 5.0e3, 1.0e7}};
  TiebackRow t;
  t.depth = 2.0;
  t.area = 1.5;
  t.modulus = 29.0e6;
  t.unbondedLength = 20.0;
  t.angle = 15.0;
  t.spacing = 8.0;
  t.prestress = 20000.0;
  t.station = 1;
  in.tiebacks = {t};
  in.userCurves = {userCurve(1, 1.0, 1.0, {-1.0, 0.0, 1.0}, {40.0, 0.0, -40.0}),
                   userCurve(2, 2.0, 0.5, {-2.0, 0.0, 0.2, 2.0}, {50.0, 0.0, -30.0, -50.0}),
                   userCurve(4, 1.0, 1.0, {-2.0, 0.0, 0.2, 2.0}, {50.0, 0.0, -30.0, -50.0})};
  return in;
}



TEST(WallReport, BlocksMatchGoldenFile) {
  const ProblemInput in = smallWall();
  ScratchRun scratch;
  StationData sd;
  buildStations(scratch.run, in, sd);
  checkBeyondEnd(scratch.run, sd);
  echoUserCurves(scratch.run, in);
  const CurveSet curves = buildCurveSet(scratch.run, in);
  const IterationResult it = iterate(scratch.run, in, sd, curves);
  writeResults(scratch.run, it, computeResults(sd, it.w));
  writeTiebackResults(scratch.run, tiebackResults(sd, it.w));
  const std::string actual = scratch.report() + "---- run notes ----\n" + scratch.notes();

  const std::string path = std::string(RAMVEX_SOURCE_DIR) + "/tests/engine/golden/wall_blocks.txt";
  if (std::getenv("RAMVEX_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << actual;
  }
  std::ifstream f(path, std::ios::binary);
  ASSERT_TRUE(f) << path;
  std::stringstream expected;
  expected << f.rdbuf();
  EXPECT_EQ(actual, expected.str());
}

TEST(WallReport, MonitorLineLayout) {
  struct Case {
    const char* name;
    int n;
    bool off;
    const char* expected;
  };
  const Case cases[] = {
      {"five stations shown", 6, false,
       "      3       NO         12   0.100E+01 0.200E+01 0.300E+01 0.400E+01 0.500E+01"},
      {"off-curve flag", 6, true,
       "      3       YES        12   0.100E+01 0.200E+01 0.300E+01 0.400E+01 0.500E+01"},
      // Stations past N do not exist on the wall: their fields stay blank.
      {"short wall", 2, false, "      3       NO         12   0.100E+01 0.200E+01                              "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchRun scratch;
    std::vector<double> w(static_cast<size_t>(c.n + 8), 0.0);
    for (int j = 1; j <= c.n + 3; ++j) w[static_cast<size_t>(j + 4)] = j;
    writeMonitorLine(scratch.run, 3, c.off, 12, c.n, w);
    EXPECT_EQ(scratch.notes(), std::string(c.expected) + "\n");
  }
}

TEST(WallReport, NoUserCurvesNoTiebacksWriteNothing) {
  ScratchRun scratch;
  ProblemInput in = wallProblem(1, 4, 6.0, 1.0);
  echoUserCurves(scratch.run, in);
  writeTiebackResults(scratch.run, {});
  EXPECT_EQ(scratch.report(), "");
}

TEST(WallReport, UserCurvesWithGeneratedCurvesUseTheToForm) {
  ProblemInput in = wallProblem(2, 4, 0.5, 1.0);
  in.control.pyOption = 2;
  in.userCurves = {userCurve(3, 1.0, 1.0, {0.0, 1.0}, {0.0, -1.0})};
  ScratchRun scratch;
  scratch.run.labels.setFor(2);
  echoUserCurves(scratch.run, in);
  const std::string report = scratch.report();
  EXPECT_NE(report.find("\n            3  0          0.100E+01     0.100E+01            2\n"), std::string::npos) << report;
  EXPECT_NE(report.find("\n                      M                  KN/ M\n"), std::string::npos) << report;
}

}  // namespace
}  // namespace ramvex
