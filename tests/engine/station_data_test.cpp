#include "station_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "run_errors.h"
#include "wall_test_helpers.h"

namespace ramvex {
namespace {

using testing::at;
using testing::buildStations;
using testing::ScratchRun;
using testing::wallProblem;

struct DistributionCase {
  const char* name;
  std::function<ProblemInput()> input;
  std::function<void(const StationData&)> check;
};

TEST(StationData, DistributionOfTableRows) {
  const double pi4 = 3.1415998935699463;
  const DistributionCase cases[] = {
      {"one row gives half values at both ends",
       [] { return wallProblem(1, 20, 6.0, 1000.0); },
       [](const StationData& sd) {
         EXPECT_DOUBLE_EQ(at(sd.F, 0), 500.0);
         EXPECT_DOUBLE_EQ(at(sd.F, 1), 1000.0);
         EXPECT_DOUBLE_EQ(at(sd.F, 19), 1000.0);
         EXPECT_DOUBLE_EQ(at(sd.F, 20), 500.0);
         EXPECT_DOUBLE_EQ(at(sd.F, -1), 0.0);
         EXPECT_DOUBLE_EQ(at(sd.F, 21), 0.0);
       }},
      {"two rows meeting give the mean",
       [] {
         ProblemInput in = wallProblem(1, 20, 6.0, 0);
         in.control.nstif = 2;
         in.stiffness = {{0, 10, 1, 100.0}, {10, 20, 1, 300.0}};
         return in;
       },
       [](const StationData& sd) {
         EXPECT_DOUBLE_EQ(at(sd.F, 0), 50.0);
         EXPECT_DOUBLE_EQ(at(sd.F, 5), 100.0);
         EXPECT_DOUBLE_EQ(at(sd.F, 10), 200.0);
         EXPECT_DOUBLE_EQ(at(sd.F, 15), 300.0);
         EXPECT_DOUBLE_EQ(at(sd.F, 20), 150.0);
       }},
      {"a code-2 row varies linearly to the next row's end",
       [] {
         ProblemInput in = wallProblem(1, 20, 6.0, 0);
         in.control.nstif = 2;
         in.stiffness = {{0, 5, 2, 100.0}, {8, 20, 1, 300.0}};
         return in;
       },
       [](const StationData& sd) {
         EXPECT_DOUBLE_EQ(at(sd.F, 0), 50.0);
         for (int k = 1; k < 20; ++k) EXPECT_NEAR(at(sd.F, k), 100.0 + 10.0 * k, 1e-12) << k;
         EXPECT_DOUBLE_EQ(at(sd.F, 20), 150.0);
       }},
      {"a single-station load is not halved; axial held negated",
       [] {
         ProblemInput in = wallProblem(1, 20, 6.0, 1000.0);
         in.loads = {{1, 12, 12, 250.0, 0.0, 40.0}};
         return in;
       },
       [](const StationData& sd) {
         EXPECT_DOUBLE_EQ(at(sd.Q, 12), 250.0);
         EXPECT_DOUBLE_EQ(at(sd.Q, 11), 0.0);
         EXPECT_DOUBLE_EQ(at(sd.Q, 13), 0.0);
         EXPECT_DOUBLE_EQ(at(sd.P, 12), -40.0);
         EXPECT_TRUE(sd.moments.empty());
       }},
      {"a load row with a moment enters the applied-moment list",
       [] {
         ProblemInput in = wallProblem(1, 20, 6.0, 1000.0);
         in.loads = {{1, 3, 7, 0.0, 120.0, 0.0}};
         return in;
       },
       [](const StationData& sd) {
         ASSERT_EQ(sd.moments.size(), 1u);
         EXPECT_EQ(sd.moments[0].station, 3);
         EXPECT_DOUBLE_EQ(sd.moments[0].value, 10.0);  // 120 / (2 * 6)
         EXPECT_DOUBLE_EQ(at(sd.T, 3), 60.0);
         EXPECT_DOUBLE_EQ(at(sd.T, 5), 120.0);
       }},
      {"a tieback of 100 kN at 20 degrees, 2 m spacing",
       [] {
         ProblemInput in = wallProblem(2, 20, 0.5, 1000.0);
         in.control.ntie = 1;
         TiebackRow t;
         t.depth = 3.0;
         t.area = 0.001;
         t.modulus = 2.0e8;
         t.unbondedLength = 5.0;
         t.angle = 20.0;
         t.spacing = 2.0;
         t.prestress = 100.0;
         t.station = 6;
         in.tiebacks = {t};
         return in;
       },
       [pi4](const StationData& sd) {
         const double c = std::cos(20.0 * pi4 / 180.0);
         EXPECT_DOUBLE_EQ(at(sd.Q, 6), -50.0 * c);
         EXPECT_DOUBLE_EQ(at(sd.S, 6), c * 2.0e8 * 0.001 / (2.0 * 5.0));
         // The single-precision angle differs from the exact one in the
         // eighth digit of the load.
         EXPECT_NE(at(sd.Q, 6), -50.0 * std::cos(20.0 * M_PI / 180.0));
       }},
      {"US tieback lengths and spacing are feet",
       [] {
         ProblemInput in = wallProblem(1, 40, 6.0, 1000.0);
         TiebackRow t;
         t.depth = 10.0;
         t.area = 1.0;
         t.modulus = 29.0e6;
         t.unbondedLength = 20.0;
         t.angle = 0.0;
         t.spacing = 8.0;
         t.prestress = 9600.0;
         t.station = 20;
         in.tiebacks = {t};
         in.solution.wa = 12.0;
         return in;
       },
       [](const StationData& sd) {
         EXPECT_DOUBLE_EQ(at(sd.Q, 20), -(12.0 / 96.0) * 9600.0);
         EXPECT_DOUBLE_EQ(at(sd.S, 20), 29.0e6 * 12.0 / (96.0 * 240.0));
         ASSERT_EQ(sd.tiebacks.size(), 1u);
         EXPECT_DOUBLE_EQ(sd.tiebacks[0].depth, 120.0);
       }},
  };
  for (const DistributionCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchRun scratch;
    StationData sd;
    buildStations(scratch.run, c.input(), sd);
    c.check(sd);
  }
}

TEST(StationData, EchoRowFormChosenByState) {
  ProblemInput in = wallProblem(1, 20, 6.0, 0);
  in.control.nstif = 2;
  in.stiffness = {{0, 5, 2, 1.0e7}, {8, 20, 1, 3.0e7}};
  in.loads = {{1, 0, 0, 250.0, 0.0, 0.0}};
  ScratchRun scratch;
  StationData sd;
  buildStations(scratch.run, in, sd);
  const std::string report = scratch.report();
  // s = 2 prints the from station only, s = 3 the to station only, s = 1 both.
  EXPECT_NE(report.find("\n        0      1  0.100E+08 0.000E+00"), std::string::npos) << report;
  EXPECT_NE(report.find("\n           20  0  0.300E+08 0.000E+00"), std::string::npos) << report;
  // The load row shows F at its from station: half of 1.0E7 at the top.
  EXPECT_NE(report.find("\n        0   0  0  0.500E+07 0.250E+03 0.000E+00"), std::string::npos) << report;
  EXPECT_NE(report.find("\n                   LBS-IN**2     LBS     LBS/IN    IN-LBS   IN-LBS     LBS\n"),
            std::string::npos)
      << report;
}

struct StopCase {
  const char* name;
  std::function<void(ProblemInput&)> edit;
  const char* message;
};

TEST(StationData, BadRangesStopTheRun) {
  const StopCase cases[] = {
      {"backward stiffness range", [](ProblemInput& in) { in.stiffness[0] = {10, 5, 1, 1.0}; },
       "     ERROR STOP -- STATIONS NOT IN ORDER"},
      {"interpolated pair ending above its start",
       [](ProblemInput& in) {
         in.stiffness = {{10, 12, 2, 1.0}, {3, 8, 1, 2.0}};
       },
       "     ERROR STOP -- STATIONS NOT IN ORDER"},
      {"range starting above station -3", [](ProblemInput& in) { in.loads = {{1, -7, 2, 1.0, 0, 0}}; },
       "     ERROR STOP -- STATIONS NOT IN ORDER"},
      {"range far below the wall", [](ProblemInput& in) { in.springs = {{5, 100000, 1, 1.0, 0}}; },
       "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"},
      {"tieback below the wall",
       [](ProblemInput& in) {
         TiebackRow t;
         t.station = 500;
         t.spacing = 1;
         t.unbondedLength = 1;
         in.tiebacks = {t};
       },
       "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"},
      {"specified station below the wall", [](ProblemInput& in) { in.specified = {{1, 99, 0.0, 0.0}}; },
       "     ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE BEYOND THE WALL"},
  };
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.name);
    ProblemInput in = wallProblem(1, 20, 6.0, 1000.0);
    c.edit(in);
    ScratchRun scratch;
    StationData sd;
    EXPECT_THROW(buildStations(scratch.run, in, sd), ErrorStop);
    const std::string report = scratch.report();
    EXPECT_NE(report.find(std::string("\n\n") + c.message + "\n"), std::string::npos) << report;
  }
}

TEST(StationData, CheckBeyondEnd) {
  struct Case {
    const char* name;
    std::vector<LoadRow> loads;
    bool stops;
  };
  const Case cases[] = {
      {"data at N only", {{1, 20, 20, 5.0, 7.0, 1.0}}, false},
      {"a load at N + 1", {{1, 21, 21, 5.0, 0.0, 0.0}}, true},
      {"a range ending at N + 1", {{1, 15, 21, 5.0, 0.0, 0.0}}, true},
      // Opposite couples below the wall sum to zero but are still data.
      {"cancelling couples", {{1, 21, 21, 0.0, 5.0, 0.0}, {1, 22, 22, 0.0, -5.0, 0.0}}, true},
      {"a load at N + 3 only", {{1, 23, 23, 5.0, 0.0, 0.0}}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProblemInput in = wallProblem(1, 20, 6.0, 1000.0);
    in.loads = c.loads;
    ScratchRun scratch;
    StationData sd;
    buildStations(scratch.run, in, sd);
    if (c.stops) {
      EXPECT_THROW(checkBeyondEnd(scratch.run, sd), ErrorStop);
      EXPECT_NE(scratch.report().find("\n\n     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END\n"), std::string::npos);
    } else {
      EXPECT_NO_THROW(checkBeyondEnd(scratch.run, sd));
    }
  }
}

TEST(StationData, SpecifiedRowsSetStationCodes) {
  ProblemInput in = wallProblem(1, 20, 6.0, 1000.0);
  in.specified = {{1, 0, 0.25, 0.0}, {2, 8, 0.0, 0.01}, {3, 20, 0.0, 0.0}};
  ScratchRun scratch;
  StationData sd;
  buildStations(scratch.run, in, sd);
  const int expected[][2] = {{0, 2}, {1, 1}, {7, 3}, {8, 1}, {9, 5}, {19, 3}, {20, 4}, {21, 5}, {-1, 1}};
  for (const auto& e : expected) EXPECT_EQ(sd.code[StationData::index(e[0])], e[1]) << "station " << e[0];
  EXPECT_EQ(sd.specDeflection, (std::vector<double>{0.25, 0.0, 0.0}));
  EXPECT_EQ(sd.specSlope, (std::vector<double>{0.0, 0.01, 0.0}));
}

TEST(StationData, EarthPressureLoadsInterpolatedOntoStations) {
  const double h = 2.0;
  ScratchRun scratch;
  StationData sd;
  buildStations(scratch.run, wallProblem(1, 10, h, 1000.0), sd);
  const EarthPressureTable table = {{4.0, 10.0, 10.0, 0.0}, {8.0, 30.0, 30.0, 0.0}};
  // Stations 1..6: depths 2..12; the last two lie past the last point and
  // repeat the load of the station above.
  addEarthPressureLoads(table, 12.0, sd);
  const double expected[] = {0.0, 5.0 * h, 10.0 * h, 20.0 * h, 30.0 * h, 30.0 * h, 30.0 * h, 0.0};
  for (int b = 0; b <= 7; ++b) EXPECT_DOUBLE_EQ(at(sd.Q, b), expected[b]) << "station " << b;
}

TEST(StationData, EarthPressureDeeperThanTheWallIsCaught) {
  ScratchRun scratch;
  StationData sd;
  buildStations(scratch.run, wallProblem(1, 10, 2.0, 1000.0), sd);
  const EarthPressureTable table = {{1.0e9, 10.0, 10.0, 0.0}};
  addEarthPressureLoads(table, 1.0e9, sd);  // must not write past station N + 3
  addEarthPressureLoads(table, std::nan(""), sd);
  EXPECT_THROW(checkBeyondEnd(scratch.run, sd), ErrorStop);
}

TEST(StationData, IncrementCountOutOfRangeStops) {
  for (int n : {0, -5, 301, 1 << 30}) {
    ScratchRun scratch;
    StationData sd;
    EXPECT_THROW(resetStations(scratch.run, wallProblem(1, n, 6.0, 1.0), sd), ErrorStop) << n;
  }
  ScratchRun scratch;
  StationData sd;
  ProblemInput in = wallProblem(1, 10, 0.0, 1.0);
  EXPECT_THROW(resetStations(scratch.run, in, sd), ErrorStop);
}

}  // namespace
}  // namespace ramvex
