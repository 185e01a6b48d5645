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

#include "ramvex_entry.h"

namespace {

std::string stage(int number, int stages, double freeHeight) {
  const int n = 300;
  const double h = 2.0;
  std::ostringstream s;
  s << (number == 1 ? std::string("FIVE-STAGE EXCAVATION") : " Stage No : " + std::to_string(number)) << "\r\n";
  s << "1 0 1 0 1 1 30 " << stages << " 0 2\r\n";
  s << n << " " << h << " 20 0.0001 " << freeHeight << " 12\r\n";
  s << "0 300 1 5.336E9\r\n0\r\n0\r\n";
  s << "4 1.5 29000000 20 15 8 20000\r\n";
  s << "8 1.5 29000000 20 15 8 20000\r\n";
  s << "3\r\n0 0\r\n" << freeHeight << " 50\r\n600 50\r\n";
  const int first = static_cast<int>(freeHeight / h);
  for (int k = 0; k < 30; ++k) {
    const int station = first + (n - first) * k / 29;
    const double pu = 20.0 + 10.0 * (station - first);
    s << station << " 5 1 1\r\n-3 " << pu << "\r\n-0.3 " << pu << "\r\n0 0\r\n0.3 " << -pu << "\r\n3 " << -pu
      << "\r\n";
  }
  s << number << "\r\n";
  return s.str();
}

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
    for (int k = 1; k <= 5; ++k) data << stage(k, 5, 96.0 + 24.0 * k);
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
