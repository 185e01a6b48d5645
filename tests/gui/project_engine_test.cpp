#include <gtest/gtest.h>

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
}

TEST_F(EngineAgreement, ExamplesReadAsProjectsGiveTheSameReport) {
  // long_term.rv5d gives its long-term problem p-y curves of its own; a
  // project holds one set of curves for both problems, so it cannot come
  // back unchanged.
  for (const char* name : {"cantilever", "tieback", "three_stages"}) {
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
