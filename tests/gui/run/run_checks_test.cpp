#include <gtest/gtest.h>

#include <memory>

#include "ProgramData.h"
#include "RunChecks.h"

namespace ramvex {
namespace {

struct RunChecks : ::testing::Test {
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData project{*tables};

  void SetUp() override {
    project.NewProject();
    project.IncrementCount = 80;
  }
  void Section(int row, int from, int to) {
    TGridTable& t = *project.Tables().PileSect;
    if (t.RowCount() <= row) t.SetRowCount(row + 1);
    t.Column(0)->SetInt(row, from);
    t.Column(1)->SetInt(row, to);
  }
  void Layer(int row, int type, long double angle) {
    TGridTable& soil = *project.Tables().NewSoil;
    if (soil.RowCount() <= row) soil.SetRowCount(row + 1);
    soil.Column(0)->SetInt(row, type);
    soil.Column(1)->SetFloat(row, 10.0L * (row + 1));
    TGridTable* p = soil.Nested(2, row);
    ASSERT_NE(p, nullptr);
    p->Column(1)->SetFloat(0, angle);
  }
};

TEST_F(RunChecks, WallStiffnessNodesBeyondTheWall) {
  Section(0, 0, 40);
  Section(1, 41, 80);
  EXPECT_EQ(CheckProject(project), std::nullopt);

  Section(1, 81, 90);  // From is checked before To
  EXPECT_EQ(CheckProject(project),
            "Initial Node, 81 in row 2 of Wall Stiffness definition\n"
            "is greater than number of nodes defined, 80.\n"
            "Please check on Wall Properties Windows and Wall Stiffness Table");
  Section(1, 41, 85);
  EXPECT_EQ(CheckProject(project),
            "End Node, 85 in row 2 of Wall Stiffness definition\n"
            "is greater than number of nodes defined, 80.\n"
            "Please check on Wall Properties Windows and Wall Stiffness Table");
}

TEST_F(RunChecks, BackfillSteeperThanTheFrictionAngle) {
  Section(0, 0, 80);
  project.BackfillSlope = 35;
  Layer(0, kSoftClay, 0);  // clays have no friction angle to compare
  Layer(1, kSand, 30);
  EXPECT_EQ(CheckProject(project),
            "Slope of the Backfill: 35 deg.\nis greater than friction angle, 30 deg.,\nin layer 2\n"
            "Please check on Wall Configuration and Soil Layers Windows");
  Layer(1, kSilt, 27.5L);
  EXPECT_EQ(CheckProject(project),
            "Slope of the Backfill: 35\nis greater than friction angle, 27.5,\nin layer 2\nPlease check Soil Layers");
  Layer(1, kSand, 35);  // equal is allowed
  EXPECT_EQ(CheckProject(project), std::nullopt);
  project.BackfillSlope = 0;
  Layer(1, kSand, 10);
  EXPECT_EQ(CheckProject(project), std::nullopt);
}

TEST_F(RunChecks, StiffnessIsCheckedBeforeTheSlope) {
  Section(0, 0, 81);
  project.BackfillSlope = 35;
  Layer(0, kSand, 30);
  ASSERT_TRUE(CheckProject(project).has_value());
  EXPECT_EQ(CheckProject(project)->rfind("End Node, 81", 0), 0u);
}

}  // namespace
}  // namespace ramvex
