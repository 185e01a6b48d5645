// Project files in the hands of a user: older files opened, stages added and
// removed, stage files gone missing, values at the edge of the number range.
// Each case goes round: read (or type), save, reopen, compare.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "AssignError.h"
#include "ProgramData.h"
#include "WordRead.h"
#include "project_fixture.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

using test::ReadText;
using test::WriteText;

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

struct ProjectFiles : ::testing::Test {
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData data{*tables};
  std::vector<std::string> warnings;
  fs::path dir;
  ProjectFiles() {
    std::random_device rd;
    dir = fs::temp_directory_path() / ("ramvex-files-" + std::to_string(rd()));
    fs::create_directories(dir);
    data.WarningMessage = [this](const std::string& text) { warnings.push_back(text); };
    data.NewProject();
  }
  ~ProjectFiles() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path File(const std::string& name) const { return dir / name; }

  // Saves under name (a staged project where it is, beside its stage
  // files) and opens the saved file in a second project, which saves it
  // again; returns the text, which both saves must write the same.
  std::string SaveAndReopen(const std::string& name, TProgramData& reopened) {
    if (data.StageCount == 1) data.DataFileName = File(name).string();
    data.WriteDataFile();
    const fs::path saved = data.DataFileName;
    const std::string text = ReadText(saved);
    reopened.OpenProject(saved);
    reopened.WriteDataFile();
    EXPECT_EQ(ReadText(saved), text);
    return text;
  }
};

// ---------------------------------------------------------------- 3.0 and 2.0 files in SI units

TEST_F(ProjectFiles, LegacySurchargeOfAnSiFileIsMetresInTheFileAndMillimetresInTheTable) {
  struct Case {
    const char* name;
    int version;
    std::string text;
  };
  const std::string legacy = "0.1 3 100 20 5 2\r\n";  // distance 3 m, strip 2 m wide
  const Case cases[] = {
      {"thirty.rvd", kVersion30,
       "SI legacy\r\n2 0 1 0 2 2 0 1\r\n40 0.2 0.3 0.0001 3\r\n0 40 1 5E4\r\n0\r\n0\r\n"
       "3 1 1 10 10 1 1 0\r\n" + legacy + "1\r\n4 12\r\n19 0 30 0 20000 0\r\n19 0 30 0 20000 0\r\n0\r\n"},
      {"twenty.rvd", kVersion20,
       "SI legacy\r\n2 0 1 0 2 2 0\r\n40 0.2 0.3 0.0001 3\r\n0 40 1 5E4\r\n0\r\n0\r\n"
       "3 1 1 10 10 1 1 0\r\n" + legacy + "1\r\n4 12\r\n19 0 30 0 20000\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteText(File(c.name), c.text);
    data.OpenProject(File(c.name), c.version);
    ASSERT_EQ(data.UnitSystem, 2);
    TGridTable& s = *tables->SurchargeTable;
    ASSERT_EQ(s.RowCount(), 3);
    for (int r = 0; r < 3; ++r) {
      EXPECT_EQ(s.Float(2, r), 3000);  // mm
      EXPECT_EQ(s.Float(3, r), 2000);
    }
    EXPECT_EQ(data.LegacySurcharge[0], 3);  // written back unchanged
    EXPECT_EQ(data.LegacySurcharge[4], 2);

    auto again = CreateProjectTables();
    TProgramData reopened(*again);
    SaveAndReopen("saved.rv5d", reopened);
    EXPECT_EQ(again->SurchargeTable->Float(2, 0), 3000);
    EXPECT_EQ(again->SurchargeTable->Float(3, 2), 2000);
  }
}

// ---------------------------------------------------------------- earth-pressure option 0

TEST_F(ProjectFiles, TurningOnGenerationInAFileWithoutEarthPressureSurvivesASave) {
  WriteText(File("none.rv5d"), "No pressure\r\n1 0 1 0 0 0 0 1 0 0\r\n40 6 10 0.001 96 12\r\n0 40 1 5.336E9\r\n"
                               "0\r\n0\r\n0\r\n");
  data.OpenProject(File("none.rv5d"));
  EXPECT_EQ(data.EarthPressureMode, 2);  // the menu's choices are 1 to 3
  EXPECT_FALSE(data.GeneratePYCurves);
  data.GeneratePYCurves = true;
  data.PYWidth = 12;

  auto again = CreateProjectTables();
  TProgramData reopened(*again);
  SaveAndReopen("generated.rv5d", reopened);
  EXPECT_TRUE(reopened.GeneratePYCurves);
  EXPECT_EQ(reopened.EarthPressureMode, 2);
  EXPECT_EQ(reopened.EarthPressureOption, 2);
  EXPECT_EQ(reopened.PYOption, 2);

  // A file that generates its p-y curves without an earth pressure keeps
  // the generation on.
  WriteText(File("py-only.rv5d"), "p-y only\r\n1 0 1 0 0 2 0 1 0 0\r\n40 6 10 0.001 96 12\r\n0 40 1 5.336E9\r\n"
                                  "0\r\n0\r\n96 12 12 300 300 1 1 0\r\n0 0 0 0 0 0\r\n0\r\n1\r\n4 480\r\n"
                                  "0.07 0 30 0 90 0\r\n0.07 0 30 0 90 0\r\n0\r\n");
  data.OpenProject(File("py-only.rv5d"));
  EXPECT_TRUE(data.GeneratePYCurves);
  EXPECT_EQ(data.EarthPressureMode, 2);
}

// ---------------------------------------------------------------- stage count

TEST_F(ProjectFiles, ChangingTheStageCountKeepsWhatWasTypedInTheCurrentStage) {
  for (int count : {4, 2, 1}) {
    SCOPED_TRACE(count);
    data.NewProject();
    const std::string name = "staged" + std::to_string(count);
    data.DataFileName = File(name + ".rv5d").string();
    data.ChangeStageCount(3);
    data.IncrementCount = 10;  // stage 1
    data.SwitchStage(2);
    data.IncrementCount = 20;  // typed in stage 2, not yet stored
    data.ChangeStageCount(count);
    EXPECT_EQ(data.StageCount, count);
    if (count == 1) {
      // Stage 1 is the project now, not whatever stage was on screen.
      EXPECT_EQ(data.IncrementCount, 10);
      EXPECT_FALSE(fs::exists(File(name + ".st1")));
    } else {
      data.SwitchStage(data.CurrentStage == 2 ? 1 : 2);
      data.SwitchStage(2);
      EXPECT_EQ(data.IncrementCount, 20);
      data.SwitchStage(1);
      EXPECT_EQ(data.IncrementCount, 10);
    }

    auto again = CreateProjectTables();
    TProgramData reopened(*again);
    SaveAndReopen("saved.rv5d", reopened);
    EXPECT_EQ(reopened.StageCount, count);
    EXPECT_EQ(reopened.IncrementCount, 10);
    if (count > 1) {
      reopened.SwitchStage(2);
      EXPECT_EQ(reopened.IncrementCount, 20);
    }
  }
}

// ---------------------------------------------------------------- opening by extension

TEST_F(ProjectFiles, OpeningFollowsTheExtensionOrTheChosenVersion) {
  EXPECT_EQ(TProgramData::VersionOf("wall.rv5d"), kVersion2015);
  EXPECT_EQ(TProgramData::VersionOf("wall.RV4D"), kVersion2013);
  EXPECT_EQ(TProgramData::VersionOf("wall.rvd"), kVersion30);
  EXPECT_EQ(TProgramData::VersionOf("wall.txt"), kVersion2015);
  EXPECT_EQ(TProgramData::VersionOf("wall"), kVersion2015);

  // A current file under another name reads as the current version.
  test::FillFullProject(data);
  const std::string text = data.DataFileText();
  WriteText(File("wall.dat"), text);
  auto again = CreateProjectTables();
  TProgramData reopened(*again);
  reopened.OpenProject(File("wall.dat"));
  EXPECT_EQ(reopened.DataFileText(), text);
  EXPECT_TRUE(reopened.ApplyTiebacks);

  // The 2.0 filter reads a 2.0 file although its extension says 3.0.
  WriteText(File("old.rvd"),
            "Old wall\r\n1 0 1 0 2 2 0\r\n40 6 10 0.001 96\r\n0 40 1 5.336E9\r\n0\r\n0\r\n"
            "96 12 12 300 300 1 1 0\r\n0.1 0 0 0 0 0\r\n2\r\n4 5\r\n0.07 0 30 0 90\r\n4 10\r\n0.07 0 32 0 95\r\n");
  reopened.OpenProject(File("old.rvd"), kVersion20);
  ASSERT_EQ(again->NewSoil->RowCount(), 2);
  EXPECT_EQ(again->NewSoil->Float(1, 1), 15);
  EXPECT_EQ(again->NewSoil->Nested(2, 1)->Float(1, 0), 32);
}

// ---------------------------------------------------------------- two sets of tables

TEST_F(ProjectFiles, ASecondSetOfTablesLeavesTheFirstIntact) {
  const int clay = tables->TblClay1->Identifier();
  auto second = CreateProjectTables();
  EXPECT_EQ(tables->TblClay1->Identifier(), clay);
  EXPECT_EQ(second->TblClay1->Identifier(), clay);

  // The first set still builds its soil rows from its own templates, and
  // a project on it goes round through a file.
  test::FillFullProject(data);
  for (int i = 0; i < 7; ++i) {
    ASSERT_NE(tables->NewSoil->Nested(2, i), nullptr) << i;
    EXPECT_EQ(tables->NewSoil->Nested(2, i)->Caption(), tables->NewSoil->Nested(2, i)->Caption());
  }
  EXPECT_EQ(tables->NewSoil->Nested(2, 0)->Caption(), tables->TblClay1->Caption());
  EXPECT_EQ(tables->NewSoil->Nested(2, 0)->ColumnCount(), tables->TblClay1->ColumnCount());
  TProgramData other(*second);
  SaveAndReopen("first.rv5d", other);
  second.reset();
  tables->NewSoil->Column(0)->SetInt(0, kSand);
  EXPECT_EQ(tables->NewSoil->Nested(2, 0)->Caption(), tables->TblSand1->Caption());
}

// ---------------------------------------------------------------- a missing stage file

TEST_F(ProjectFiles, SavingWithAMissingStageFileTakesItFromTheDataFile) {
  data.DataFileName = File("staged.rv5d").string();
  data.ChangeStageCount(3);
  for (int k = 1; k <= 3; ++k) {
    data.SwitchStage(k);
    data.IncrementCount = 10 * k;
  }
  data.SwitchStage(1);
  data.WriteDataFile();
  const std::string stage2 = ReadText(File("staged.st2"));

  fs::remove(File("staged.st2"));
  data.IncrementCount = 11;  // a change in the current stage
  const std::vector<int> restored = data.WriteDataFile();
  EXPECT_EQ(restored, std::vector<int>{2});
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("stage 2"), std::string::npos) << warnings[0];
  EXPECT_EQ(ReadText(File("staged.st2")), stage2);
  EXPECT_EQ(data.IncrementCount, 11);
  EXPECT_EQ(data.CurrentStage, 1);

  auto again = CreateProjectTables();
  TProgramData reopened(*again);
  reopened.OpenProject(File("staged.rv5d"));
  EXPECT_EQ(reopened.IncrementCount, 11);
  reopened.SwitchStage(2);
  EXPECT_EQ(reopened.IncrementCount, 20);
  reopened.SwitchStage(3);
  EXPECT_EQ(reopened.IncrementCount, 30);
}

// ---------------------------------------------------------------- no infinity in a table

TEST_F(ProjectFiles, AValueThatOverflowsInTheFileUnitsIsRefusedWithItsLine) {
  struct Case {
    const char* name;
    int version;
    std::string text;
    const char* line;
  };
  const std::string head = "Huge\r\n1 0 1 0 2 2 0 1 0 0\r\n40 6 10 0.001 96 12\r\n0 40 1 5.336E9\r\n0\r\n0\r\n"
                           "96 12 12 300 300 1 1 0\r\n0 0 0 0 0 0\r\n0\r\n1\r\n";
  const Case cases[] = {
      {"cohesion.rv5d", kVersion2015, head + "1 480\r\n0.07 1E4931 0 0.02 30 0\r\n0.07 1 0 0.02 30 0\r\n0\r\n",
       "Error on Line 12 Item 2"},
      {"weight.rv5d", kVersion2015, head + "4 480\r\n1E4930 0 30 0 90 0\r\n0.07 0 30 0 90 0\r\n0\r\n",
       "Error on Line 12 Item 1"},
      {"thickness.rvd", kVersion20,
       "Huge\r\n1 0 1 0 2 2 0\r\n40 6 10 0.001 96\r\n0 40 1 5.336E9\r\n0\r\n0\r\n96 12 12 300 300 1 1 0\r\n"
       "0 0 0 0 0 0\r\n2\r\n4 5E4930\r\n0.07 0 30 0 90\r\n4 5E4931\r\n0.07 0 30 0 90\r\n",
       "Error on Line 12 Item 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteText(File(c.name), c.text);
    try {
      data.OpenProject(File(c.name), c.version);
      ADD_FAILURE() << "opened";
    } catch (const EInOutError& e) {
      EXPECT_NE(std::string(e.what()).find(c.line), std::string::npos) << e.what();
    }
    // What was read is kept, and it saves to a file that opens again.
    auto again = CreateProjectTables();
    TProgramData reopened(*again);
    EXPECT_NO_THROW(SaveAndReopen("kept.rv5d", reopened));
  }
}

TEST_F(ProjectFiles, AUnitSwitchThatWouldOverflowIsRefusedWhole) {
  test::FillFullProject(data);
  data.SwitchUnits(2);
  // Typed in SI: a clay cohesion of 1E4931 kPa, beyond any value in psf.
  TGridTable* clay = tables->NewSoil->Nested(2, 0);
  clay->Column(1)->SetText(0, "1E4931");
  const std::string before = data.DataFileText();
  try {
    data.SwitchUnits(1);
    ADD_FAILURE() << "switched";
  } catch (const EAssignError& e) {
    EXPECT_NE(std::string(e.what()).find(clay->EditorTitle() + ", row 1"), std::string::npos) << e.what();
  }
  EXPECT_EQ(data.UnitSystem, 2);
  EXPECT_EQ(data.DataFileText(), before);

  // The same for a scalar field.
  clay->Column(1)->SetFloat(0, 50);
  data.FreeHeight = 1E4931L;
  EXPECT_THROW(data.SwitchUnits(1), EAssignError);
  EXPECT_EQ(data.UnitSystem, 2);
  EXPECT_EQ(tables->PileSect->UnitSystem(), 2);
  data.FreeHeight = 3;

  // No infinity enters a cell however it is set.
  EXPECT_THROW(clay->Column(1)->SetFloat(0, INFINITY), EAssignError);
  EXPECT_THROW(clay->Column(1)->SetFloat(0, NAN), EAssignError);
  EXPECT_EQ(clay->Float(1, 0), 50);

  auto again = CreateProjectTables();
  TProgramData reopened(*again);
  const std::string saved = SaveAndReopen("si.rv5d", reopened);
  EXPECT_EQ(saved.find("INF"), std::string::npos);
}

// ---------------------------------------------------------------- splitting into stages

TEST_F(ProjectFiles, AProjectTitleNamingAStageDoesNotSplitTheFile) {
  data.DataFileName = File("titled.rv5d").string();
  data.Title = "Wall A Stage No : 1";
  data.ChangeStageCount(2);
  data.IncrementCount = 10;
  data.SwitchStage(2);
  data.IncrementCount = 20;
  data.WriteDataFile();
  const std::string saved = ReadText(File("titled.rv5d"));

  auto again = CreateProjectTables();
  TProgramData reopened(*again);
  reopened.OpenProject(File("titled.rv5d"));
  EXPECT_EQ(FirstLine(ReadText(File("titled.st1"))), "Wall A Stage No : 1");
  EXPECT_EQ(FirstLine(ReadText(File("titled.st2"))), " Stage No : 2");
  EXPECT_EQ(reopened.Title, "Wall A Stage No : 1");
  EXPECT_EQ(reopened.IncrementCount, 10);
  reopened.SwitchStage(2);
  EXPECT_EQ(reopened.IncrementCount, 20);
  reopened.SwitchStage(1);
  reopened.WriteDataFile();
  EXPECT_EQ(ReadText(File("titled.rv5d")), saved);
}

// ---------------------------------------------------------------- converting older stage files

TEST_F(ProjectFiles, AConversionThatFailsPartWayOpensNothing) {
  const std::string body =
      "1 0 1 0 0 1 1 2 0\r\n40 6 10 0.001 96\r\n0 40 1 5.336E9\r\n0\r\n0\r\n30 2 1 1\r\n-1 10\r\n1 -10\r\n";
  const std::string broken = "1 0 1 0 0 1 1 2 0\r\n40 6 10 0.001 96\r\n0 40 1 x\r\n";
  WriteText(File("two.rv4d"), "Two stages\r\n" + body + "1\r\n Stage No : 2\r\n" + broken);
  EXPECT_THROW(data.OpenProject(File("two.rv4d")), EInOutError);
  EXPECT_FALSE(fs::exists(File("two.st1")));
  EXPECT_FALSE(fs::exists(File("two.st2")));
  EXPECT_EQ(data.StageCount, 1);
  EXPECT_EQ(data.Title, "New Wall");
}

TEST_F(ProjectFiles, AFileWithFewerStagePartsThanStagesOpensWithAMessageAndSaves) {
  const std::string body = "1 0 1 0 0 0 0 3 0 0\r\n40 6 10 0.001 96 12\r\n0 40 1 5.336E9\r\n0\r\n0\r\n";
  WriteText(File("short.rv5d"), "Three stages\r\n" + body + "1\r\n Stage No : 2\r\n" + body + "2\r\n");
  data.OpenProject(File("short.rv5d"));
  EXPECT_EQ(data.StageCount, 3);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("2 of its 3"), std::string::npos) << warnings[0];

  data.WriteDataFile();
  EXPECT_EQ(warnings.size(), 2u);
  auto again = CreateProjectTables();
  TProgramData reopened(*again);
  reopened.WarningMessage = [this](const std::string& text) { warnings.push_back(text); };
  reopened.OpenProject(File("short.rv5d"));
  EXPECT_EQ(reopened.StageCount, 3);
  EXPECT_EQ(warnings.size(), 2u);  // complete now
  reopened.SwitchStage(3);
  EXPECT_EQ(reopened.IncrementCount, 40);
  EXPECT_EQ(FirstLine(ReadText(File("short.st3"))), " Stage No : 3");
}

// ---------------------------------------------------------------- options without rows

// Found by the project-file fuzzer: the user-curve option on, no curve
// entered yet.  The option must come back as it was saved, or the second
// save writes another p-y option than the first.
TEST_F(ProjectFiles, UserCurveOptionWithoutCurvesSurvivesASave) {
  data.GeneratePYCurves = false;
  data.ApplyExternalPYCurves = true;
  tables->PYCurves2->SetRowCount(0);
  auto again = CreateProjectTables();
  TProgramData reopened(*again);
  const std::string saved = SaveAndReopen("user-curves.rv5d", reopened);
  EXPECT_NE(saved.find("1\t0\t1\t0\t0\t1\t0\t1\t0\t0"), std::string::npos) << saved;
  EXPECT_TRUE(reopened.ApplyExternalPYCurves);
  EXPECT_EQ(reopened.PYOption, 1);
}

}  // namespace
}  // namespace ramvex
