// Time of a whole engine run: a five-stage job of 300 increments per stage,
// each stage with a user earth-pressure table, 30 user p-y curves
// interpolated along the embedded part and two tiebacks, through the entry
// point with every report, run-notes and plot line written.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "five_stage_job.h"
#include "ramvex_entry.h"

using ramvex::bench::FiveStageJobStage;

namespace {


void WholeRunFiveStages(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "ramvex-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    state.SkipWithError("no scratch folder");
    return;
  }
  const std::filesystem::path dir = pattern;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  {
    std::ofstream data("job.rv5d", std::ios::binary);
    for (int k = 1; k <= 5; ++k) data << FiveStageJobStage(k, 5, 96.0 + 24.0 * k);
    std::ofstream("names.dat") << "2015.5.13\njob.rv5d\njob.rv5o\njob.rv5p\njob.rv5r\n";
  }
  for (auto _ : state) benchmark::DoNotOptimize(IRAMVEX(13));
  const auto bytes = std::filesystem::file_size("job.rv5o") + std::filesystem::file_size("job.rv5p") +
                     std::filesystem::file_size("job.rv5r");
  state.counters["bytes_written"] = static_cast<double>(bytes);
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
}
BENCHMARK(WholeRunFiveStages)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
