// The embedment sweep's parallel runs against the same runs one after
// another: 40 lengths of the bundled sand wall (20 ft to 59 ft, 40 to 118
// increments), by `ramvex-design -j 2` and by 40 ramvex-run processes
// started in turn on the project saved at each length.  The goal on two
// cores is a speed-up of 1.8 (parallel efficiency 90 %).  Peak memory is the
// largest resident set of any process the benchmark started.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "DesignCheck.h"
#include "ProgramData.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path kBin = fs::path(RAMVEX_BINARY_DIR) / "bin";
const fs::path kSand = fs::path(RAMVEX_SOURCE_DIR) / "examples" / "sand_generated.rv5d";
constexpr int kLengths = 40;

int RunAndWait(const std::vector<std::string>& args, const fs::path& folder) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, (folder / "out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, (folder / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ReportPeakMemory(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  state.counters["peak_process_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

fs::path Scratch(const char* name) {
  const fs::path folder = fs::temp_directory_path() / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

void BM_SweepParallel(benchmark::State& state) {
  const fs::path folder = Scratch("ramvex-design-bench-sweep");
  const std::vector<std::string> args = {(kBin / "ramvex-design").string(), "length", "--from", "20", "--to", "59",
                                         "--step", "1", "-j", std::to_string(state.range(0)), kSand.string()};
  for (auto _ : state) {
    if (RunAndWait(args, folder) != 0) state.SkipWithError("ramvex-design failed");
  }
  ReportPeakMemory(state);
  fs::remove_all(folder);
}
BENCHMARK(BM_SweepParallel)->Arg(2)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SingleRunsInTurn(benchmark::State& state) {
  const fs::path folder = Scratch("ramvex-design-bench-single");
  // The project saved at each length, as the sweep saves it.
  std::vector<fs::path> files;
  {
    auto tables = ramvex::CreateProjectTables();
    ramvex::TProgramData project(*tables);
    for (int k = 0; k < kLengths; ++k) {
      project.NewProject();
      project.ReadProject(kSand, ramvex::kVersion2015);
      ramvex::SetWallIncrements(project, ramvex::IncrementsForLength(project, 20 + k));
      const fs::path dir = folder / ("case-" + std::to_string(k));
      fs::create_directories(dir);
      files.push_back(dir / "sand_generated.rv5d");
      ramvex::SaveTextFile(files.back(), project.DataFileText());
    }
  }
  const std::string runner = (kBin / "ramvex-run").string();
  for (auto _ : state) {
    for (const fs::path& f : files) {
      if (RunAndWait({runner, "-o", f.parent_path().string(), f.string()}, folder) != 0) {
        state.SkipWithError("ramvex-run failed");
      }
    }
  }
  ReportPeakMemory(state);
  fs::remove_all(folder);
}
BENCHMARK(BM_SingleRunsInTurn)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
