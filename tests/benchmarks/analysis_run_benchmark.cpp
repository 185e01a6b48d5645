// Run Analysis of the heaviest bundled example (three construction stages)
// through the program's run path: checks, private working folder, loading
// the engine library, the engine call, unloading, and reading the plot file
// into the graphs.  Against it, the engine call alone on a library loaded
// once, in a folder prepared once.  The run path should stay within 1.5
// times the engine call.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QLibrary>
#include <QTemporaryDir>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>

#include "AnalysisRun.h"
#include "ProgramData.h"
#include "ResultGraphs.h"

namespace fs = std::filesystem;

namespace {

const fs::path kExample = fs::path(RAMVEX_SOURCE_DIR) / "examples" / "three_stages.rv5d";

// The example opened and saved in a folder of its own.
struct SavedProject {
  QTemporaryDir folder;
  std::unique_ptr<ramvex::TProjectTables> tables = ramvex::CreateProjectTables();
  ramvex::TProgramData project{*tables};
  SavedProject() {
    const fs::path copy = fs::path(folder.path().toStdString()) / "three_stages.rv5d";
    fs::copy_file(kExample, copy);
    project.OpenProject(copy);
    project.DataFileName = copy.string();
    project.WriteDataFile();
  }
};

void RunPathToGraphs(benchmark::State& state) {
  SavedProject saved;
  ramvex::TResultGraphs graphs;
  ramvex::TRunEnvironment env;
  env.ProgramFolder = ENGINE_FOLDER;
  env.ReadPlotFile = [&](const fs::path& plot, const ramvex::TRunMessage& errors) {
    return graphs.ReadPlotFile(plot, saved.project, errors);
  };
  for (auto _ : state) {
    const ramvex::TRunOutcome outcome = ramvex::RunAnalysis(saved.project, env);
    if (outcome.ResultsAvailable != std::optional<bool>(true)) {
      state.SkipWithError("the run did not fill the graphs");
      break;
    }
    benchmark::DoNotOptimize(graphs.pltDef.PointCount());
  }
}

void EngineCallAlone(benchmark::State& state) {
  SavedProject saved;
  const ramvex::TRunFiles files = ramvex::RunFilesOf(saved.project.DataFileName);
  QTemporaryDir work;
  {
    std::ofstream names(fs::path(work.path().toStdString()) / "names.dat", std::ios::binary);
    names << "2015.5.13\n"
          << files.Data.string() << '\n'
          << files.Report.string() << '\n'
          << files.Plot.string() << '\n'
          << files.Notes.string() << '\n';
  }
  QLibrary library(QString::fromStdString((fs::path(ENGINE_FOLDER) / ramvex::EngineLibraryFileName()).string()));
  auto entry = reinterpret_cast<int32_t (*)(int32_t)>(library.resolve("_IRAMVEX"));
  if (!entry) {
    state.SkipWithError("no engine library");
    return;
  }
  const QString previous = QDir::currentPath();
  QDir::setCurrent(work.path());
  for (auto _ : state) benchmark::DoNotOptimize(entry(13));
  QDir::setCurrent(previous);
  library.unload();
}

}  // namespace

BENCHMARK(RunPathToGraphs)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineCallAlone)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
