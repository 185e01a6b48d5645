#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "ProgramData.h"
#include "WordRead.h"
#include "project_fixture.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

using test::ReadText;
using test::WriteText;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return lines;
}

struct ProjectTest : ::testing::Test {
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData data{*tables};
  fs::path dir;
  ProjectTest() {
    std::random_device rd;
    dir = fs::temp_directory_path() / ("ramvex-project-" + std::to_string(rd()));
    fs::create_directories(dir);
    data.NewProject();
  }
  ~ProjectTest() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path File(const std::string& name) const { return dir / name; }
};

TEST_F(ProjectTest, NewProjectWrittenAtOnce) {
  std::vector<std::string> lines = Lines(data.DataFileText());
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(lines[0], "New Wall");
  EXPECT_EQ(lines[1], "1\t0\t1\t0\t2\t2\t0\t1\t0\t0");
  EXPECT_EQ(lines[2], "0\t0\t100\t0.00001\t0\t0");
  EXPECT_EQ(lines[3], "0\t1\t1\t0");
  EXPECT_EQ(lines[4], "0");  // concentrated loads
  EXPECT_EQ(lines[5], "0");  // springs
  EXPECT_EQ(lines[6], "0\t0\t0\t0\t0\t1\t1\t0");  // wall and water record
  EXPECT_EQ(lines[7], "0\t0\t0\t0\t0\t0");
  EXPECT_EQ(lines[8], "0");  // surcharges
  EXPECT_EQ(lines[9], "1");  // one soil layer
  EXPECT_EQ(lines.back(), "0");
  EXPECT_NE(data.DataFileText().find("\r\n"), std::string::npos);
}

TEST_F(ProjectTest, OptionsDecideWhatIsWritten) {
  data.GeneratePYCurves = false;
  std::vector<std::string> lines = Lines(data.DataFileText());
  EXPECT_EQ(lines[1], "1\t0\t1\t0\t0\t0\t0\t1\t0\t0");
  EXPECT_EQ(lines.size(), 7u);  // no site records

  // An Apply option off writes a zero count and leaves the table empty.
  test::FillFullProject(data);
  data.ApplyConcentratedLoads = false;
  data.ApplyRestraints = false;
  lines = Lines(data.DataFileText());
  EXPECT_EQ(lines[1], "1\t0\t2\t2\t3\t2\t2\t1\t1\t1");
  EXPECT_EQ(lines[5], "0");  // concentrated load count
  EXPECT_EQ(tables->BoundCond->RowCount(), 0);
  EXPECT_EQ(tables->SoilLayer->RowCount(), 0);

  data.UserEarthPressure = true;
  data.GeneratePYCurves = false;
  lines = Lines(data.DataFileText());
  EXPECT_EQ(lines[1].substr(0, 11), "1\t0\t2\t2\t1\t1");
}

TEST_F(ProjectTest, WrittenValuesCarryTheFileUnits) {
  test::FillFullProject(data);
  std::vector<std::string> lines = Lines(data.DataFileText());
  auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has("0\t30\t2\t5.336E9"));
  EXPECT_TRUE(has("31\t60\t1\t6.5E9"));
  EXPECT_TRUE(has("50\t50\t1\t2500\t0"));
  EXPECT_TRUE(has("5\t1.5\t29000000\t20\t15\t8\t20000"));
  EXPECT_TRUE(has("120\t0.8\t1"));  // 10 ft
  // Soft clay at 4 ft: 110 pcf = 0.063657407 pci, 400 psf = 2.7777778 psi.
  EXPECT_TRUE(has("1\t48"));
  EXPECT_TRUE(has("0.063657407\t2.7777778\t0\t0.02\t30\t0.4"));
  EXPECT_TRUE(has("4\t192"));
  EXPECT_TRUE(has("0.069444444\t0\t32\t0\t90\t0.3"));
  EXPECT_TRUE(has("6\t288"));
  EXPECT_TRUE(has("0.081018519\t5000\t0\t0\t0\t0"));
  EXPECT_TRUE(has("7\t336"));
  EXPECT_TRUE(has("0.078125\t800\t0\t0.0005\t200000\t40"));
  EXPECT_TRUE(has("40\t3\t1\t1"));
  EXPECT_TRUE(has("0\t60\t3"));
  EXPECT_TRUE(has("4000000\t2E9"));
  EXPECT_EQ(tables->PileSect->Int(2, 1), 1);
}

class RoundTrip : public ProjectTest, public ::testing::WithParamInterface<int> {};

TEST_P(RoundTrip, WriteReadWriteIsIdentical) {
  test::FillFullProject(data);
  data.LongTermAnalysis = true;
  tables->LongSoil->SetRowCount(2);
  tables->LongSoil->Column(0)->SetInt(1, 4);
  tables->LongSoil->Column(1)->SetFloat(1, 30);
  tables->LongSoil->Nested(2, 1)->Column(0)->SetFloat(0, 125);
  data.SwitchUnits(GetParam());
  data.DataFileName = File("wall.rv5d").string();
  data.WriteDataFile();
  const std::string first = ReadText(File("wall.rv5d"));

  auto again = CreateProjectTables();
  tables.reset();
  TProgramData other(*again);
  other.ReadProject(File("wall.rv5d"), kVersion2015);
  EXPECT_EQ(other.UnitSystem, GetParam());
  EXPECT_EQ(other.EarthPressureMode, 3);
  EXPECT_TRUE(other.LongTermAnalysis && other.ApplyEICurves && other.ApplyTiebacks && other.ApplySurcharge);
  EXPECT_FALSE(other.Modified);
  other.DataFileName = File("again.rv5d").string();
  other.WriteDataFile();
  EXPECT_EQ(ReadText(File("again.rv5d")), first);
  EXPECT_NE(first.find("\t9\r\n") == std::string::npos ? first.find("\r\n9\r\n") : 0, std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Units, RoundTrip, ::testing::Values(1, 2));

// Every float of every table, nested ones included, and the scalar fields.
std::vector<long double> AllValues(const TProgramData& d) {
  std::vector<long double> v = {d.IncrementLength, d.MaxDeflection, d.ClosureTolerance, d.FreeHeight,
                                d.ActiveWidth,     d.PYWidth,       d.WaterDepthBackfill, d.WaterDepthExcavation,
                                d.SurfacePressure};
  for (long double x : d.LegacySurcharge) v.push_back(x);
  std::function<void(const TGridTable&)> walk = [&](const TGridTable& t) {
    for (int c = 0; c < t.ColumnCount(); ++c) {
      for (int r = 0; r < t.RowCount(); ++r) {
        if (dynamic_cast<TFloatColumn*>(t.Column(c))) v.push_back(t.Float(c, r));
        if (dynamic_cast<TTableColumn*>(t.Column(c)) && t.Nested(c, r)) walk(*t.Nested(c, r));
      }
    }
  };
  for (TGridTable* t : d.Tables().All()) walk(*t);
  return v;
}

TEST_F(ProjectTest, UnitSwitchingThereAndBackReturnsEveryValue) {
  test::FillFullProject(data);
  data.LegacySurcharge = {10, 200, 30, 4, 5};
  const std::vector<long double> before = AllValues(data);
  data.SwitchUnits(2);
  EXPECT_NEAR(static_cast<double>(data.IncrementLength), 0.1524, 1e-12);
  EXPECT_NEAR(static_cast<double>(tables->SurchargeTable->Float(1, 0)), 4.448222, 1e-6);  // 1000 lb in kN
  EXPECT_NEAR(static_cast<double>(tables->NewSoil->Float(1, 0)), 1.2192, 1e-9);          // 4 ft in m
  for (int i = 0; i < 20; ++i) {
    data.SwitchUnits(1);
    data.SwitchUnits(2);
  }
  data.SwitchUnits(1);
  const std::vector<long double> after = AllValues(data);
  ASSERT_EQ(before.size(), after.size());
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_LE(std::fabs(after[i] - before[i]), 1e-9L * std::fabs(before[i])) << i;
  }
  EXPECT_EQ(tables->SurchargeTable->Int(0, 2), 3);
}

TEST_F(ProjectTest, OlderVersionsAndTheirConversions) {
  // 2.0: seven control integers, thicknesses and one line of five values.
  WriteText(File("old.rvd"),
            "Old wall\r\n1 0 1 0 2 2 0\r\n40 6 10 0.001 96\r\n0 40 1 5.336E9\r\n0\r\n0\r\n"
            "96 12 12 300 300 0.036 1 0\r\n0.1 0 0 0 0 0\r\n3\r\n"
            "4 5\r\n0.07 0 30 0 90\r\n1 10\r\n0.065 3 0 0.02 30\r\n4 15\r\n0.07 0 32 0 95\r\n");
  data.ReadProject(File("old.rvd"), kVersion20);
  ASSERT_EQ(tables->NewSoil->RowCount(), 3);
  EXPECT_EQ(tables->NewSoil->Float(1, 0), 5);
  EXPECT_EQ(tables->NewSoil->Float(1, 1), 15);
  EXPECT_EQ(tables->NewSoil->Float(1, 2), 30);
  TGridTable* clay = tables->NewSoil->Nested(2, 1);
  EXPECT_EQ(clay->Caption(), "Clay");
  EXPECT_EQ(clay->Float(1, 1), 3);  // cohesion, unconverted, in both rows
  EXPECT_EQ(clay->Float(2, 0), 0.02L);
  EXPECT_EQ(tables->NewSoil->Nested(2, 2)->Float(1, 1), 32);
  EXPECT_EQ(data.ActivePressureFactor, 1);
  EXPECT_EQ(data.StageCount, 1);
  EXPECT_EQ(tables->SurchargeTable->RowCount(), 1);  // filled to its minimum
  EXPECT_FALSE(data.ApplySurcharge);

  // 3.0: the legacy surcharge with a distance becomes three rows.
  for (const char* distance : {"0", "10"}) {
    WriteText(File("legacy.rvd"), std::string("Legacy\r\n1 0 1 0 2 2 0 1\r\n40 6 10 0.001 96\r\n0 40 1 5.336E9\r\n0\r\n0\r\n"
                                              "96 12 12 300 300 1 1 0\r\n0.1 ") +
                                      distance +
                                      " 100 20 3 4\r\n1\r\n4 480\r\n0.07 0 30 0 90 0\r\n0.07 0 30 0 90 0\r\n0\r\n");
    data.ReadProject(File("legacy.rvd"), kVersion30);
    SCOPED_TRACE(distance);
    if (std::string(distance) == "0") {
      EXPECT_FALSE(data.ApplySurcharge);
      continue;
    }
    ASSERT_TRUE(data.ApplySurcharge);
    TGridTable& s = *tables->SurchargeTable;
    ASSERT_EQ(s.RowCount(), 3);
    for (int r = 0; r < 3; ++r) {
      EXPECT_EQ(s.Int(0, r), r + 1);
      EXPECT_EQ(s.Float(2, r), 10);
      EXPECT_EQ(s.Float(3, r), 4);
    }
    EXPECT_EQ(s.Float(1, 0), 100);
    EXPECT_EQ(s.Float(1, 1), 20);
    EXPECT_EQ(s.Float(1, 2), 3);
    EXPECT_EQ(tables->NewSoil->Float(1, 0), 40);  // inches to feet
    EXPECT_NEAR(static_cast<double>(tables->NewSoil->Nested(2, 0)->Float(0, 0)), 120.96, 1e-9);
  }
}

TEST_F(ProjectTest, ReadErrorKeepsWhatWasRead) {
  WriteText(File("bad.rv5d"), "Broken\r\n1 0 1 0 0 0 0 1 0 0\r\n40 6 10 0.001 96 12\r\n0 40 1 x\r\n");
  try {
    data.ReadProject(File("bad.rv5d"), kVersion2015);
    FAIL();
  } catch (const EInOutError& e) {
    std::string m = e.what();
    EXPECT_NE(m.find("bad.rv5d"), std::string::npos);
    EXPECT_NE(m.find("Error on Line 4 Item 4"), std::string::npos);
  }
  EXPECT_EQ(data.Title, "Broken");
  EXPECT_EQ(data.IncrementCount, 40);
  EXPECT_EQ(tables->PileSect->Int(1, 0), 40);
  EXPECT_EQ(tables->PYMod->RowCount(), 2);
  EXPECT_FALSE(data.Modified);
}

TEST_F(ProjectTest, FailedSaveLeavesThePreviousFile) {
  data.DataFileName = File("keep.rv5d").string();
  data.WriteDataFile();
  const std::string saved = ReadText(File("keep.rv5d"));
  data.DataFileName = (dir / "missing" / "keep.rv5d").string();
  EXPECT_THROW(data.WriteDataFile(), EInOutError);
  EXPECT_EQ(ReadText(File("keep.rv5d")), saved);
  EXPECT_FALSE(fs::exists(File("keep.rv5d.tmp~")));
}

TEST_F(ProjectTest, StageFiles) {
  data.DataFileName = File("staged.rv5d").string();
  data.ChangeStageCount(3);
  EXPECT_TRUE(fs::exists(File("staged.st1")) && fs::exists(File("staged.st3")));
  data.IncrementCount = 20;
  data.SwitchStage(2);
  EXPECT_EQ(data.CurrentStage, 2);
  data.IncrementCount = 30;
  data.FreeHeight = 72;
  data.SwitchStage(1);
  EXPECT_EQ(data.IncrementCount, 20);
  data.SwitchStage(2);
  EXPECT_EQ(data.IncrementCount, 30);

  // A stage without a file keeps the tables; the next store writes them.
  fs::remove(File("staged.st3"));
  data.SwitchStage(3);
  EXPECT_EQ(data.IncrementCount, 30);
  EXPECT_FALSE(fs::exists(File("staged.st3")));
  data.StoreStage();
  EXPECT_TRUE(fs::exists(File("staged.st3")));
  EXPECT_EQ(Lines(ReadText(File("staged.st3")))[0], " Stage No : 3");

  data.WriteDataFile();
  const std::string merged = ReadText(File("staged.rv5d"));
  EXPECT_EQ(merged, ReadText(File("staged.st1")) + ReadText(File("staged.st2")) + ReadText(File("staged.st3")));

  // Splitting: two marker lines give three stage files.
  for (int k = 1; k <= 3; ++k) fs::remove(File("staged.st" + std::to_string(k)));
  data.SplitStages();
  EXPECT_EQ(ReadText(File("staged.st1")) + ReadText(File("staged.st2")) + ReadText(File("staged.st3")), merged);
  EXPECT_EQ(Lines(ReadText(File("staged.st2")))[0], " Stage No : 2");

  data.CurrentStage = 2;
  data.CopyPreviousStage();
  data.LoadStage();
  EXPECT_EQ(data.IncrementCount, 20);

  data.ChangeStageCount(1);
  EXPECT_EQ(data.CurrentStage, 1);
  EXPECT_FALSE(fs::exists(File("staged.st1")) || fs::exists(File("staged.st2")));
}

TEST_F(ProjectTest, OpeningAStagedFileOfAnOlderVersionConvertsItsStages) {
  const std::string body =
      "1 0 1 0 0 1 1 2 0\r\n40 6 10 0.001 96\r\n0 40 1 5.336E9\r\n0\r\n0\r\n30 2 1 1\r\n-1 10\r\n1 -10\r\n";
  WriteText(File("two.rv4d"), "Two stages\r\n" + body + "1\r\n Stage No : 2\r\n" + body + "2\r\n");
  data.OpenProject(File("two.rv4d"));
  EXPECT_EQ(data.StageCount, 2);
  EXPECT_EQ(data.CurrentStage, 1);
  std::vector<std::string> st2 = Lines(ReadText(File("two.st2")));
  EXPECT_EQ(st2[0], " Stage No : 2");
  EXPECT_EQ(st2[1], "1\t0\t1\t0\t0\t1\t1\t2\t0\t0");
  EXPECT_EQ(st2[2], "40\t6\t10\t0.001\t96\t0");
  EXPECT_EQ(st2.back(), "2");
}

}  // namespace
}  // namespace ramvex
