// Projects for the soil profile tests: the bundled examples, opened from a
// scratch copy because opening a staged project writes its stage files
// beside it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "ProgramData.h"
#include "project_fixture.h"

namespace ramvex::test {

namespace fs = std::filesystem;

struct SideViewProject {
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData data{*tables};
  fs::path dir;

  SideViewProject() {
    std::random_device rd;
    dir = fs::temp_directory_path() / ("ramvex-sideview-" + std::to_string(rd()));
    fs::create_directories(dir);
    data.NewProject();
  }
  ~SideViewProject() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  SideViewProject(const SideViewProject&) = delete;
  SideViewProject& operator=(const SideViewProject&) = delete;

  void OpenExample(const std::string& name) {
    const fs::path copy = dir / name;
    fs::copy_file(fs::path(RAMVEX_EXAMPLES_DIR) / name, copy, fs::copy_options::overwrite_existing);
    data.OpenProject(copy);
  }

  // The every-table project of the data tests, with one more spring row
  // above the excavation so that all three kinds of mark are present: a
  // specified deflection at node 60, user p-y curves at nodes 40 and 50,
  // springs at nodes 50 (below the excavation) and 10 (above it).
  void OpenMarkedWall() {
    FillFullProject(data);
    TGridTable& springs = *data.Tables().SoilStrength;
    springs.SetRowCount(2);
    SetRow(springs, 1, {1, 10, 10, 1000, 0});
  }
};

}  // namespace ramvex::test
