// The design checks' rewriting of a project and their verdicts, without
// runs: every node reference after a change of length or mesh, the lengths
// that are whole numbers of increments, the sweep and mesh verdicts, and
// the cases read back from their CSV.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "DesignCheck.h"
#include "ProgramData.h"

namespace ramvex {
namespace {

// Node columns as the data file orders them: one line per table row.
std::vector<std::vector<int>> Rows(const TGridTable& t, std::vector<int> columns) {
  std::vector<std::vector<int>> rows;
  for (int r = 0; r < t.RowCount(); ++r) {
    std::vector<int> row;
    for (int c : columns) row.push_back(t.Int(c, r));
    rows.push_back(row);
  }
  return rows;
}

// A 30 ft wall (60 increments of 6 in) with two stiffness sections, a
// restraint at the toe and one at node 10, springs down to the toe, a point
// load at node 5, user p-y curves at nodes 30 and 60 and a moment-EI range
// over the lower section.
class DesignProject : public ::testing::Test {
 protected:
  void SetUp() override {
    p.NewProject();
    p.IncrementCount = 60;
    p.IncrementLength = 6;
    p.FreeHeight = 144;
    TProjectTables& t = *tables;
    t.PileSect->SetRowCount(2);
    SetRow(*t.PileSect, 0, {{0, 0}, {1, 30}});
    SetRow(*t.PileSect, 1, {{0, 30}, {1, 60}});
    p.ApplyRestraints = true;
    t.SoilLayer->SetRowCount(2);
    SetRow(*t.SoilLayer, 0, {{1, 10}});
    SetRow(*t.SoilLayer, 1, {{1, 60}});
    p.ApplySprings = true;
    SetRow(*t.SoilStrength, 0, {{1, 20}, {2, 60}});
    p.ApplyConcentratedLoads = true;
    SetRow(*t.BoundCond, 0, {{1, 5}, {2, 5}});
    p.ApplyExternalPYCurves = true;
    t.PYCurves2->SetRowCount(2);
    SetRow(*t.PYCurves2, 0, {{0, 30}});
    SetRow(*t.PYCurves2, 1, {{0, 60}});
    p.ApplyEICurves = true;
    SetRow(*t.MEICurves2, 0, {{0, 30}, {1, 60}});
  }
  static void SetRow(TGridTable& t, int row, std::vector<std::pair<int, int>> cells) {
    for (auto [c, v] : cells) t.Column(c)->SetInt(row, v);
  }

  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData p{*tables};
};

using Nodes = std::vector<std::vector<int>>;

TEST_F(DesignProject, LongerWallCarriesTheToeReferencesToTheNewToe) {
  SetWallIncrements(p, 80);
  const TProjectTables& t = *tables;
  EXPECT_EQ(p.IncrementCount, 80);
  EXPECT_EQ(Rows(*t.PileSect, {0, 1}), (Nodes{{0, 30}, {30, 80}}));
  EXPECT_EQ(Rows(*t.SoilLayer, {1}), (Nodes{{10}, {80}}));
  EXPECT_EQ(Rows(*t.SoilStrength, {1, 2}), (Nodes{{20, 80}}));
  EXPECT_EQ(Rows(*t.BoundCond, {1, 2}), (Nodes{{5, 5}}));
  // Soil curves belong to their depth, not to the wall's toe.
  EXPECT_EQ(Rows(*t.PYCurves2, {0}), (Nodes{{30}, {60}}));
  EXPECT_EQ(Rows(*t.MEICurves2, {0, 1}), (Nodes{{30, 80}}));
}

TEST_F(DesignProject, ShorterWallDropsTheSectionsBelowTheNewToe) {
  SetWallIncrements(p, 25);
  const TProjectTables& t = *tables;
  EXPECT_EQ(Rows(*t.PileSect, {0, 1}), (Nodes{{0, 25}}));
  EXPECT_EQ(Rows(*t.SoilLayer, {1}), (Nodes{{10}, {25}}));
  EXPECT_EQ(Rows(*t.SoilStrength, {1, 2}), (Nodes{{20, 25}}));
  // The moment-EI range lay wholly below the new toe.
  EXPECT_FALSE(p.ApplyEICurves);
  // The data file the engine reads carries the same counts and ranges.
  const std::string text = p.DataFileText();
  EXPECT_NE(text.find("25\t6\t"), std::string::npos) << text;
  EXPECT_NE(text.find("0\t25\t1\t"), std::string::npos) << text;
}

TEST_F(DesignProject, ALoadBelowTheNewToeRefusesTheLengthAndKeepsTheProject) {
  tables->BoundCond->Column(1)->SetInt(0, 40);
  tables->BoundCond->Column(2)->SetInt(0, 40);
  try {
    SetWallIncrements(p, 30);
    FAIL() << "a load at node 40 of a 30-increment wall was accepted";
  } catch (const EDesignError& e) {
    EXPECT_STREQ(e.what(),
                 "row 1 of \"Concentrated Loads on Wall\" refers to node 40, below the toe of a wall of 30 increments");
  }
  EXPECT_EQ(p.IncrementCount, 60);
  EXPECT_EQ(Rows(*tables->SoilLayer, {1}), (Nodes{{10}, {60}}));
  EXPECT_EQ(Rows(*tables->PileSect, {0, 1}), (Nodes{{0, 30}, {30, 60}}));
}

TEST_F(DesignProject, TableRowsOfAnOptionThatIsOffAreNotChecked) {
  tables->BoundCond->Column(1)->SetInt(0, 40);
  p.ApplyConcentratedLoads = false;
  EXPECT_NO_THROW(SetWallIncrements(p, 30));
}

TEST_F(DesignProject, HalfTheIncrementLengthDoublesEveryNodeReference) {
  const TMeshPlan plan = PlanMesh(p);
  ASSERT_TRUE(plan.Refine);
  EXPECT_EQ(plan.FineIncrements, 120);
  EXPECT_EQ(plan.FineLength, 3.0L);
  SetMesh(p, plan.FineIncrements, plan.FineLength);
  const TProjectTables& t = *tables;
  EXPECT_EQ(p.IncrementCount, 120);
  EXPECT_EQ(p.IncrementLength, 3.0L);
  EXPECT_EQ(Rows(*t.PileSect, {0, 1}), (Nodes{{0, 60}, {60, 120}}));
  EXPECT_EQ(Rows(*t.SoilLayer, {1}), (Nodes{{20}, {120}}));
  EXPECT_EQ(Rows(*t.SoilStrength, {1, 2}), (Nodes{{40, 120}}));
  EXPECT_EQ(Rows(*t.BoundCond, {1, 2}), (Nodes{{10, 10}}));
  EXPECT_EQ(Rows(*t.PYCurves2, {0}), (Nodes{{60}, {120}}));
  EXPECT_EQ(Rows(*t.MEICurves2, {0, 1}), (Nodes{{60, 120}}));
}

TEST_F(DesignProject, BeyondTheLimitTheCoarserMeshIsTheOneMadeWhenEveryNodeIsEven) {
  SetMesh(p, 120, 3);
  SetMesh(p, 240, 1.5L);  // 240 increments: 480 would exceed the limit
  TMeshPlan plan = PlanMesh(p);
  EXPECT_FALSE(plan.Refine);
  EXPECT_EQ(plan.CoarseIncrements, 120);
  EXPECT_EQ(plan.CoarseLength, 3.0L);
  SetMesh(p, plan.CoarseIncrements, plan.CoarseLength);
  EXPECT_EQ(Rows(*tables->BoundCond, {1, 2}), (Nodes{{10, 10}}));

  // An odd node has no station on the coarser mesh.
  SetMesh(p, 240, 1.5L);
  tables->BoundCond->Column(1)->SetInt(0, 21);
  tables->BoundCond->Column(2)->SetInt(0, 21);
  try {
    PlanMesh(p);
    FAIL() << "an odd node was accepted for halving";
  } catch (const EDesignError& e) {
    EXPECT_STREQ(e.what(), "480 increments exceed the limit of 300 and node 21 of \"Concentrated Loads on Wall\" has no "
                           "place on a mesh of half as many");
  }
}

struct TLengthCase {
  const char* Name;
  int Units;
  long double H;
  double Length;
  int Increments;  // 0: refused with Message
  const char* Message;
};

void PrintTo(const TLengthCase& c, std::ostream* os) { *os << c.Name; }

class IncrementsForLengthTest : public ::testing::TestWithParam<TLengthCase> {};

TEST_P(IncrementsForLengthTest, WholeNumbersOfIncrementsOnly) {
  const TLengthCase& c = GetParam();
  auto tables = CreateProjectTables();
  TProgramData p(*tables);
  p.NewProject();
  p.UnitSystem = c.Units;
  p.IncrementLength = c.H;
  if (c.Increments > 0) {
    EXPECT_EQ(IncrementsForLength(p, c.Length), c.Increments);
  } else {
    try {
      IncrementsForLength(p, c.Length);
      FAIL() << "accepted";
    } catch (const EDesignError& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, IncrementsForLengthTest,
    ::testing::Values(TLengthCase{"FeetInUSProjects", 1, 6, 25, 50, ""},
                      TLengthCase{"MetresInSIProjects", 2, 0.2L, 12, 60, ""},
                      TLengthCase{"TypedDecimalOfAWholeCount", 2, 0.1L, 0.3, 3, ""},
                      TLengthCase{"NotAWholeNumber", 1, 6, 25.3,  0,
                                  "the length 25.3 ft is not a whole number of increments of 6 in"},
                      TLengthCase{"BeyondTheEngineLimit", 1, 6, 200, 0,
                                  "the length 200 ft needs 400 increments; the engine takes 1 to 300"},
                      TLengthCase{"NoLength", 2, 0.2L, 0, 0, "a wall length must be above 0 m"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SweepLengths, IncludesTheLastLengthDespiteRounding) {
  EXPECT_EQ(SweepLengths(10, 11, 0.1).size(), 11u);
  EXPECT_EQ(SweepLengths(20, 35, 5), (std::vector<double>{20, 25, 30, 35}));
  EXPECT_THROW(SweepLengths(20, 10, 5), EDesignError);
  EXPECT_THROW(SweepLengths(20, 30, 0), EDesignError);
}

TCaseResult Closed(double length, double top) {
  TCaseResult c;
  c.Length = length;
  c.Ran = true;
  c.Outcome = TOutcome::Closed;
  c.HasResults = true;
  c.TopDeflection = top;
  return c;
}

TCaseResult Failed(double length, TOutcome outcome) {
  TCaseResult c = Closed(length, 50);
  c.Outcome = outcome;
  return c;
}

struct TSweepCase {
  const char* Name;
  std::vector<TCaseResult> Cases;
  double MaxDeflection;  // 0: none
  int Shortest, Critical;
};

void PrintTo(const TSweepCase& c, std::ostream* os) { *os << c.Name; }

class JudgeSweepTest : public ::testing::TestWithParam<TSweepCase> {};

TEST_P(JudgeSweepTest, ShortestAndCriticalLengths) {
  const TSweepCase& c = GetParam();
  const TSweepVerdict v =
      JudgeSweep(c.Cases, 0.05, c.MaxDeflection > 0 ? std::optional<double>(c.MaxDeflection) : std::nullopt);
  EXPECT_EQ(v.Shortest, c.Shortest);
  EXPECT_EQ(v.Critical, c.Critical);
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, JudgeSweepTest,
    ::testing::Values(
        TSweepCase{"Converging", {Closed(20, 3.2), Closed(25, 1.27), Closed(30, 1.354), Closed(35, 1.33)}, 0, 0, 1},
        // 1.4 against 1.33 is 5.3 %: just outside the tolerance.
        TSweepCase{"EdgeOfTolerance", {Closed(20, 1.4), Closed(25, 1.33), Closed(30, 1.33)}, 0, 0, 1},
        TSweepCase{"DeflectionLimit", {Closed(20, 3.2), Closed(25, 1.27), Closed(30, 1.354)}, 1.3, 1, 2},
        TSweepCase{"FailedLengthBreaksTheRun",
                   {Closed(20, 1.33), Failed(25, TOutcome::NotClosed), Closed(30, 1.33), Closed(35, 1.33)}, 0, 0, 2},
        TSweepCase{"LongestFailed", {Closed(20, 1.33), Failed(25, TOutcome::ErrorStop)}, 0, 0, -1},
        TSweepCase{"NoneCloses", {Failed(20, TOutcome::DeflectionExceeded)}, 0, -1, -1}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(JudgeMesh, AdequateUnderTwoPercentAndNamesTheLargestChange) {
  TCaseResult coarse = Closed(30, 1.945), fine = Closed(30, 1.941);
  coarse.Increments = 60;
  fine.Increments = 120;
  fine.IncrementLength = 3;
  coarse.Moment = {true, 383.1, 17};
  fine.Moment = {true, 382.1, 17};
  coarse.Shear = {true, -4.508, 20};
  fine.Shear = {true, -4.531, 20};
  coarse.Tiebacks = {{"T1", 5, -23.0}};
  fine.Tiebacks = {{"T1", 5, -23.2}};
  TMeshVerdict v = JudgeMesh(coarse, fine, SummaryUnits(1));
  ASSERT_TRUE(v.Judged);
  ASSERT_EQ(v.Changes.size(), 4u);
  EXPECT_NEAR(v.Changes[0].Change, 0.004 / 1.941, 1e-12);
  EXPECT_NEAR(v.Changes[3].Change, 0.2 / 23.2, 1e-12);
  EXPECT_TRUE(v.Adequate);

  fine.Shear.Value = -4.7;  // 4.1 % off
  v = JudgeMesh(coarse, fine, SummaryUnits(1));
  EXPECT_FALSE(v.Adequate);
  EXPECT_EQ(v.Text, "The finer mesh is advised: 120 increments of 3 in; Max shear (kips) changes by 4.09 %.");

  fine.Outcome = TOutcome::NotClosed;
  fine.Message = "THE SOLUTION DID NOT CLOSE";
  v = JudgeMesh(coarse, fine, SummaryUnits(1));
  EXPECT_FALSE(v.Judged);
  EXPECT_EQ(v.Text, "No verdict: the run at 120 increments not closed: THE SOLUTION DID NOT CLOSE");
}

TEST(CasesCsv, ReadsBackWhatItWrote) {
  TCaseResult a = Closed(25, -0.0481);
  a.Increments = 50;
  a.IncrementLength = 6;
  a.Embedment = 13;
  a.Moment = {true, -98.07, 12};
  a.Shear = {true, 2.5, 5.5};
  a.Tiebacks = {{"Long-Term T1", 5, -23.14}, {"Long-Term T2", 9.5, -1.0 / 3}};
  TCaseResult b;
  b.Length = 30;
  b.Increments = 60;
  b.Message = "     ERROR STOP -- STATIONS NOT IN ORDER\nsecond line, with \"quotes\" and a \\";
  std::stringstream s;
  WriteCasesCsv(s, {a, b}, 2);
  int units = 0;
  const std::vector<TCaseResult> back = ReadCasesCsv(s, units);
  EXPECT_EQ(units, 2);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].TopDeflection, a.TopDeflection);
  EXPECT_EQ(back[0].Moment.Depth, 12);
  EXPECT_TRUE(back[0].Shear.Valid);
  ASSERT_EQ(back[0].Tiebacks.size(), 2u);
  EXPECT_EQ(back[0].Tiebacks[1].Name, "Long-Term T2");
  EXPECT_EQ(back[0].Tiebacks[1].Force, -1.0 / 3);
  EXPECT_FALSE(back[1].Ran);
  EXPECT_FALSE(back[1].HasResults);
  EXPECT_FALSE(back[1].Moment.Valid);
  EXPECT_EQ(back[1].Outcome, TOutcome::ErrorStop);
  EXPECT_EQ(back[1].Message, b.Message);

  std::stringstream bad("Units,1\r\n" + std::string("Length,Increments,Increment length,Embedment,Ran,Outcome,Top "
                                                    "deflection,Max moment,Moment depth,Max shear,Shear depth,"
                                                    "Tiebacks,Message\r\n") +
                        "25,50,6,x,1,0,1,2,3,4,5,,\r\n");
  try {
    ReadCasesCsv(bad, units);
    FAIL() << "a damaged line was read";
  } catch (const EDesignError& e) {
    EXPECT_STREQ(e.what(), "line 3 of the study's results holds \"x\" where a number belongs");
  }
}

}  // namespace
}  // namespace ramvex
