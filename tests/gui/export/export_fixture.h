// Result graphs filled from plot files, for the export tests, and a folder
// of their own for the workbooks they write.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ProgramData.h"
#include "ResultGraphs.h"

namespace ramvex::test {

namespace fs = std::filesystem;

inline const fs::path kExamples = fs::path(RAMVEX_SOURCE_DIR) / "examples";

// One plot block in the file's token order: earth-pressure points (depth,
// total, soils, surcharge), the unit code, p-y curves as text, nSets, the
// node records (depth, deflection, moment, shear, reaction).
inline std::string PlotText(int nSets, int units, const std::vector<std::vector<double>>& pressure,
                             const std::vector<std::vector<double>>& nodes, const std::string& curves = "0") {
  std::string s = std::to_string(pressure.size()) + "\n";
  for (const auto& p : pressure) {
    for (double v : p) s += " " + std::to_string(v);
    s += "\n";
  }
  s += std::to_string(units) + " " + curves + "\n";
  s += std::to_string(nSets) + " " + std::to_string(nodes.size()) + " " + std::to_string(units) + "\n";
  for (const auto& n : nodes) {
    for (double v : n) s += " " + std::to_string(v);
    s += "\n";
  }
  return s;
}

struct ExportFixture : ::testing::Test {
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData project{*tables};
  TResultGraphs graphs;
  fs::path folder;

  void SetUp() override {
    project.NewProject();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::temp_directory_path() / "ramvex-export-tests" /
             (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(folder);
  }

  // The staged example (three stages, 61 nodes, US units) as a run leaves it.
  // Opening a staged project writes its stage files beside it, so it is
  // opened from a copy in the test's folder.
  void ReadStagedExample() {
    const fs::path copy = folder / "three_stages.rv5d";
    fs::copy_file(kExamples / "three_stages.rv5d", copy, fs::copy_options::overwrite_existing);
    project.OpenProject(copy);
    ASSERT_TRUE(graphs.ReadPlotFile(kExamples / "golden" / "three_stages.rv5p", project));
  }
};

}  // namespace ramvex::test
