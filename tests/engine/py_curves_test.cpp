#include "py_curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "iteration.h"
#include "run_errors.h"
#include "wall_test_helpers.h"

namespace ramvex {
namespace {

using testing::at;
using testing::ScratchRun;

PyCurve curve(int station, int flag, std::vector<double> y, std::vector<double> p) {
  PyCurve c;
  c.station = station;
  c.interpolate = flag;
  c.y = std::move(y);
  c.p = std::move(p);
  return c;
}

TEST(PyCurves, Linearize) {
  // Points (-1, 4), (0, 0), (2, -6), (4, -7).
  const PyCurve c = curve(0, 0, {-1.0, 0.0, 2.0, 4.0}, {4.0, 0.0, -6.0, -7.0});
  struct Case {
    double w, slope, intercept;
    bool off;
  };
  const Case cases[] = {
      {-0.5, 4.0, 0.0, false},   // first segment
      {2.0, 3.0, 0.0, false},    // on a point: the segment ending there
      {3.0, 0.5, -5.0, false},   // last segment
      {9.0, 0.5, -5.0, true},    // past the last point: last segment, off
      {-3.0, 4.0, 0.0, true},    // before the first point: first segment, off
      {std::nan(""), 0.5, -5.0, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.w);
    const Linearized l = linearize(c, k.w);
    EXPECT_DOUBLE_EQ(l.slope, k.slope);
    EXPECT_DOUBLE_EQ(l.intercept, k.intercept);
    EXPECT_EQ(l.offCurve, k.off);
    if (std::isfinite(k.w) && !k.off) {
      // The linear force equals the curve at w.
      double p = 0;
      for (size_t i = 1; i < c.y.size(); ++i)
        if (k.w <= c.y[i]) {
          p = c.p[i - 1] + (c.p[i] - c.p[i - 1]) * (k.w - c.y[i - 1]) / (c.y[i] - c.y[i - 1]);
          break;
        }
      EXPECT_DOUBLE_EQ(l.intercept - l.slope * k.w, p);
    }
  }
  const Linearized two = linearize(curve(0, 0, {0.0, 1.0}, {0.0, -3.0}), 0.5);
  EXPECT_TRUE(two.offCurve);
  EXPECT_DOUBLE_EQ(two.slope, 3.0);
  const Linearized vertical = linearize(curve(0, 0, {0.0, 1.0, 1.0}, {0.0, -3.0, -9.0}), 1.0);
  EXPECT_DOUBLE_EQ(vertical.slope, 3.0);
  const Linearized degenerate = linearize(curve(0, 0, {1.0}, {2.0}), 1.0);  // no segment
  EXPECT_TRUE(degenerate.offCurve);
  EXPECT_EQ(degenerate.slope, 0.0);
}

struct Assigned {
  std::vector<double> sw, qw;
  bool off;
};

// A straight curve of spring k and load k, so that the weights show
// directly in both arrays.
PyCurve spring(int station, int flag, double k) {
  return curve(station, flag, {-10.0, 0.0, 10.0}, {10.0 * k + k, k, -10.0 * k + k});
}

Assigned assign(const std::vector<PyCurve>& curves, int n) {
  ScratchRun scratch;
  CurveSet set;
  for (const PyCurve& c : curves) appendCurve(scratch.run, set, c);
  Assigned a;
  const size_t count = static_cast<size_t>(n + 8);
  a.sw.assign(count, 0.0);
  a.qw.assign(count, 0.0);
  const std::vector<double> w(count, 0.0);
  a.off = assignCurves(scratch.run, set, n, w, a.sw, a.qw);
  return a;
}

TEST(PyCurves, AssignmentToStations) {
  struct Case {
    const char* name;
    std::vector<PyCurve> curves;
    std::vector<std::pair<int, double>> expected;  // station, spring
  };
  const int n = 10;
  const Case cases[] = {
      {"a lone curve acts whole at its station", {spring(4, 0, 8.0)}, {{3, 0.0}, {4, 8.0}, {5, 0.0}}},
      {"a chain halves its ends and interpolates",
       {spring(2, 1, 10.0), spring(6, 0, 30.0)},
       {{1, 0.0}, {2, 5.0}, {3, 15.0}, {4, 20.0}, {5, 25.0}, {6, 15.0}, {7, 0.0}}},
      {"two ranges meeting give the full value",
       {spring(2, 1, 10.0), spring(4, 1, 10.0), spring(8, 0, 10.0)},
       {{2, 5.0}, {3, 10.0}, {4, 10.0}, {6, 10.0}, {8, 5.0}}},
      {"a curve at the chain's start station is passed over",
       {spring(2, 1, 10.0), spring(2, 1, 99.0), spring(4, 0, 10.0)},
       {{2, 5.0}, {3, 10.0}, {4, 5.0}}},
      {"a chain ending below N stops at N, fraction from the true end",
       {spring(6, 1, 10.0), spring(14, 0, 90.0)},
       {{6, 5.0}, {8, 30.0}, {10, 50.0}, {11, 0.0}}},
      {"a chain starting at N adds nothing", {spring(10, 1, 10.0), spring(12, 0, 10.0)}, {{10, 0.0}, {11, 0.0}}},
      {"a lone curve below the wall adds nothing", {spring(12, 0, 10.0)}, {{10, 0.0}, {12, 0.0}}},
      {"a chain's last curve with flag 1 is left pending", {spring(8, 1, 10.0)}, {{8, 0.0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Assigned a = assign(c.curves, n);
    for (const auto& [station, k] : c.expected) {
      EXPECT_DOUBLE_EQ(at(a.sw, station), k) << station;
      EXPECT_DOUBLE_EQ(at(a.qw, station), k) << station;  // intercept equals the spring here
    }
  }
}

TEST(PyCurves, ChainOutOfOrderStops) {
  ScratchRun scratch;
  CurveSet set;
  appendCurve(scratch.run, set, spring(6, 1, 1.0));
  appendCurve(scratch.run, set, spring(3, 0, 1.0));
  std::vector<double> sw(18, 0.0), qw(18, 0.0), w(18, 0.0);
  EXPECT_THROW(assignCurves(scratch.run, set, 10, w, sw, qw), ErrorStop);
  EXPECT_NE(scratch.report().find("\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n"), std::string::npos);
}

TEST(PyCurves, StorageLimit) {
  ScratchRun scratch;
  CurveSet set;
  for (int i = 0; i < kMaxCurves; ++i) appendCurve(scratch.run, set, spring(i, 0, 1.0));
  EXPECT_THROW(appendCurve(scratch.run, set, spring(0, 0, 1.0)), ErrorStop);
  EXPECT_EQ(set.curves.size(), static_cast<size_t>(kMaxCurves));
  EXPECT_NE(scratch.report().find("\n\n     TOO MUCH DATA FOR AVAILABLE STORAGE\n\n\n"), std::string::npos);
}

TEST(PyCurves, UserCurvesCarryMultipliersAndFlags) {
  ProblemInput in = testing::wallProblem(1, 20, 6.0, 1.0);
  in.control.pyOption = 1;
  in.solution.freeHeight = 60.0;  // station 10
  UserPyCurve a;
  a.station = 9;
  a.pMultiplier = 2.0;
  a.yMultiplier = 0.5;
  a.y = {0.0, 1.0, 2.0};
  a.p = {0.0, -3.0, -4.0};
  UserPyCurve b = a;
  b.station = 10;
  in.userCurves = {a, b};
  ScratchRun scratch;
  CurveSet set = buildCurveSet(scratch.run, in);
  ASSERT_EQ(set.curves.size(), 2u);
  EXPECT_EQ(set.curves[0].interpolate, 0);  // above the free height
  EXPECT_EQ(set.curves[1].interpolate, 1);  // at it
  EXPECT_EQ(set.curves[0].y, (std::vector<double>{0.0, 0.5, 1.0}));
  EXPECT_EQ(set.curves[0].p, (std::vector<double>{0.0, -36.0, -48.0}));
  EXPECT_EQ(set.curves[0].pLine, (std::vector<double>{0.0, -6.0, -8.0}));
  in.control.pyOption = 2;
  set = buildCurveSet(scratch.run, in);
  EXPECT_EQ(set.curves[1].interpolate, 0);
}

TEST(MomentEi, StiffnessWhereTheCurveMeetsTheCurvature) {
  ProblemInput in = testing::wallProblem(1, 10, 1.0, 100.0);
  // Bilinear: EI 100 up to M = 50, then falling to 20 at M = 60.
  in.momentEiCurves = {{2, 4, {0.0, 50.0, 60.0}, {100.0, 100.0, 20.0}}};
  ScratchRun scratch;
  StationData sd;
  testing::buildStations(scratch.run, in, sd);
  std::vector<double> w(static_cast<size_t>(sd.size()), 0.0);
  // Curvature 1 at station 3, 0.5 at stations 2 and 4.
  w[static_cast<size_t>(StationData::index(3))] = -0.5;
  updateStiffness(in, sd, w);
  // phi = 0.5: M(2) = 50 is not above 0.5 * 100, so the last segment:
  // 50 + 10 t = 0.5 (100 - 80 t) gives t = 0, EI = 100.
  EXPECT_DOUBLE_EQ(at(sd.F, 2), 100.0);
  // phi = 1: on the falling branch M = EI: 50 + 10 t = 100 - 80 t -> t = 5/9.
  EXPECT_NEAR(at(sd.F, 3), 100.0 - 80.0 * 5.0 / 9.0, 1e-12);
  EXPECT_DOUBLE_EQ(at(sd.F, 4), 100.0);
  EXPECT_DOUBLE_EQ(at(sd.F, 5), 100.0);  // outside the curve's range
  EXPECT_DOUBLE_EQ(at(sd.F, 0), 50.0);   // stiffness table's half value kept
}

TEST(MomentEi, DegenerateCurvesStayFinite) {
  ProblemInput in = testing::wallProblem(1, 10, 1.0, 100.0);
  in.momentEiCurves = {{0, 10, {5.0, 5.0}, {100.0, 100.0}},   // parallel: no crossing
                       {-50, 50, {7.0}, {70.0}},              // single point over a wild range
                       {3, 3, {}, {}}};
  ScratchRun scratch;
  StationData sd;
  testing::buildStations(scratch.run, in, sd);
  std::vector<double> w(static_cast<size_t>(sd.size()), 0.0);
  updateStiffness(in, sd, w);
  for (int j = -3; j <= 13; ++j) EXPECT_TRUE(std::isfinite(at(sd.F, j))) << j;
  EXPECT_DOUBLE_EQ(at(sd.F, 5), 70.0);
  EXPECT_DOUBLE_EQ(at(sd.F, -1), 0.0);  // never beyond the wall
  EXPECT_DOUBLE_EQ(at(sd.F, 11), 0.0);
}

TEST(Tiebacks, ResultsFromTheFinalDeflection) {
  StationData sd;
  sd.reset(10, 6.0);
  sd.wa = 12.0;
  const double angle = 15.0 * 3.1415998935699463 / 180.0;
  sd.tiebacks = {{4, 24.0, angle, 96.0, 500.0, -1200.0}};
  std::vector<double> w(18, 0.0);
  w[static_cast<size_t>(StationData::index(4))] = 0.3;
  const std::vector<TiebackResult> r = tiebackResults(sd, w);
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].number, 1);
  EXPECT_EQ(r[0].station, 4);
  EXPECT_DOUBLE_EQ(r[0].depth, 24.0);
  EXPECT_DOUBLE_EQ(r[0].horizontal, -1200.0 - 0.3 * 500.0);
  EXPECT_DOUBLE_EQ(r[0].alongAnchor, -1350.0 / std::cos(angle));
  EXPECT_DOUBLE_EQ(r[0].perTieback, -1350.0 / std::cos(angle) * 96.0 / 12.0);
}

}  // namespace
}  // namespace ramvex
