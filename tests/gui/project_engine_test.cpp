#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "ProgramData.h"
#include "../engine/engine_harness.h"
#include "golden.h"
#include "project_fixture.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

struct EngineAgreement : ::testing::Test {
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData data{*tables};
  testing::EngineHarness engine;
};

TEST_F(EngineAgreement, FullProjectIsReadWithoutAnErrorStop) {
  test::FillFullProject(data);
  ASSERT_EQ(engine.run(data.DataFileText()), 0);
  const std::string report = engine.report();
  EXPECT_EQ(report.find("ERROR"), std::string::npos) << report;
  EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos);
  EXPECT_NE(report.find("Anchored wall using every table"), std::string::npos);
  // Layer echo in feet, psi and pci: 4 ft layers, 400 psf = 2.8 psi,
  // 110 pcf = 0.064 pci; the second layer starts at 4 ft (48 in in the file).
  EXPECT_NE(report.find("         1      4.00        2.8     0.0    0.064     F      0.00"), std::string::npos);
  EXPECT_NE(report.find("         2      4.00        8.3     0.0    0.067     F      4.00"), std::string::npos);
  // The tieback of 1.5 in2 at 5 ft acts at station 10 as a spring.
  EXPECT_NE(report.find("       10  10  0  0.553E+10-0.241E+04 0.219E+05"), std::string::npos);
}

TEST_F(EngineAgreement, SIProjectConvertsTiebackAreaToSquareMetres) {
  test::FillFullProject(data);
  data.SwitchUnits(2);
  ASSERT_EQ(engine.run(data.DataFileText()), 0);
  const std::string report = engine.report();
  EXPECT_EQ(report.find("ERROR"), std::string::npos) << report;
  // 21900 lb/in of the English run is 3835 kN/m: the area of 967.7 mm2
  // reaches the engine as 9.677E-4 m2.
  size_t at = report.find("       10  10  0 ");
  ASSERT_NE(at, std::string::npos);
  std::string row = report.substr(at, report.find('\n', at) - at);
  EXPECT_NE(row.find(" 0.38"), std::string::npos) << row;
  EXPECT_NE(row.find("E+04"), std::string::npos) << row;
}

TEST_F(EngineAgreement, ExamplesReadAsProjectsGiveTheSameReport) {
  for (const char* name : {"cantilever", "tieback", "three_stages", "long_term", "sand_triangular",
                           "trapezoid_tieback", "sand_generated", "soft_clay_generated", "layered_sand_clay_rock"}) {
    SCOPED_TRACE(name);
    fs::path example = fs::path(RAMVEX_SOURCE_DIR) / "examples" / (std::string(name) + ".rv5d");
    std::string original = test::readTextFile(example);
    ASSERT_EQ(engine.run(original), 0);
    std::string expected = test::maskDateTime(engine.report());

    fs::copy_file(example, engine.dir() / "project.rv5d", fs::copy_options::overwrite_existing);
    data.OpenProject(engine.dir() / "project.rv5d");
    // Every stage goes through the tables once.
    for (int k = 1; k <= data.StageCount; ++k) data.SwitchStage(k);
    data.WriteDataFile();
    std::string written = test::readTextFile(engine.dir() / "project.rv5d");
    ASSERT_EQ(engine.run(written), 0);
    EXPECT_EQ(test::maskDateTime(engine.report()), expected);
  }
}

}  // namespace
}  // namespace ramvex
