// The result graphs of the staged example, read from its reference plot
// file with the project opened from a copy (opening a staged project writes
// its stage files beside it).
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DefinedTables.h"
#include "ProgramData.h"
#include "ResultGraphs.h"
#include "golden.h"

namespace ramvex::test {

struct StagedExample : ::testing::Test {
  ScratchDir scratch;
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData project{*tables};
  TResultGraphs graphs;
  std::vector<std::string> messages;

  void SetUp() override {
    const std::filesystem::path examples = std::filesystem::path(RAMVEX_SOURCE_DIR) / "examples";
    const std::filesystem::path copy = scratch.path() / "three_stages.rv5d";
    std::filesystem::copy_file(examples / "three_stages.rv5d", copy);
    project.OpenProject(copy);
    ASSERT_TRUE(graphs.ReadPlotFile(examples / "golden" / "three_stages.rv5p", project));
  }

  TMessageSink Sink() {
    return [this](const std::string& m) { messages.push_back(m); };
  }

  QString File(const std::string& name) const { return QString::fromStdString((scratch.path() / name).string()); }
};

// Keeps a picture for a look by eye when RAMVEX_GRAPH_IMAGES names a folder.
inline void KeepFile(const QString& file, const std::string& name) {
  if (const char* folder = std::getenv("RAMVEX_GRAPH_IMAGES")) {
    std::error_code ignored;
    std::filesystem::copy_file(file.toStdString(), std::filesystem::path(folder) / name,
                               std::filesystem::copy_options::overwrite_existing, ignored);
  }
}

}  // namespace ramvex::test
