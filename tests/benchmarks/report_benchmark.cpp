// Time of the calculation report against the engine run it reports on: a
// five-stage job of 300 increments per stage (the heaviest job the program
// lets a user build: five stages at the largest wall) and the staged
// example.  The report covers what the runner's --pdf does after the run:
// open the project, read the plot file and the report, echo every stage's
// input and paint every page.  Goal: under 2 s for the five-stage job.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "CalcReport.h"
#include "ProgramData.h"
#include "ResultGraphs.h"
#include "five_stage_job.h"
#include "ramvex_entry.h"

using ramvex::bench::FiveStageJobStage;

namespace {

namespace fs = std::filesystem;


// A scratch folder holding a job and its run outputs, current while it
// lives (the engine works in the current directory).
class TJob {
 public:
  explicit TJob(const std::string& dataText) {
    std::string pattern = (fs::temp_directory_path() / "ramvex-report-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    dir_ = pattern;
    previous_ = fs::current_path();
    fs::current_path(dir_);
    std::ofstream("job.rv5d", std::ios::binary) << dataText;
    std::ofstream("names.dat") << "2015.5.13\njob.rv5d\njob.rv5o\njob.rv5p\njob.rv5r\n";
    IRAMVEX(13);
  }
  ~TJob() {
    if (dir_.empty()) return;
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(dir_, ec);
  }
  bool Ok() const { return !dir_.empty(); }
  fs::path Path(const char* name) const { return dir_ / name; }

 private:
  fs::path dir_, previous_;
};

std::string FiveStages() {
  std::string text;
  for (int k = 1; k <= 5; ++k) text += FiveStageJobStage(k, 5, 96.0 + 24.0 * k);
  return text;
}

std::string StagedExample() {
  std::ifstream in(fs::path(RAMVEX_SOURCE_DIR) / "examples" / "three_stages.rv5d", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void EngineRun(benchmark::State& state, const std::string& data) {
  TJob job(data);
  if (!job.Ok()) return state.SkipWithError("no scratch folder");
  for (auto _ : state) benchmark::DoNotOptimize(IRAMVEX(13));
}

void CalcReport(benchmark::State& state, const std::string& data) {
  TJob job(data);
  if (!job.Ok()) return state.SkipWithError("no scratch folder");
  int problems = 0;
  for (auto _ : state) {
    auto tables = ramvex::CreateProjectTables();
    ramvex::TProgramData project(*tables);
    project.OpenProject(job.Path("job.rv5d"));
    ramvex::TResultGraphs graphs;
    graphs.ReadPlotFile(job.Path("job.rv5p"), project);
    const ramvex::TResultsSummary summary = ramvex::SummarizeRun(project, graphs, job.Path("job.rv5o"));
    ramvex::TCalcReportInput in;
    in.Title = summary.Title;
    in.FileName = "job.rv5d";
    in.Date = ramvex::ReportDate();
    in.Units = summary.Units;
    in.Summary = &summary;
    in.Graphs = &graphs;
    in.PYCurves = ramvex::ReadPYCurves(job.Path("job.rv5p"));
    for (int k = 1; k <= project.StageCount; ++k) {
      project.SwitchStage(k);
      in.Stages.push_back(ramvex::StageInput(project, "Stage " + std::to_string(k)));
    }
    std::string error;
    if (!ramvex::WriteCalcReport(job.Path("report.pdf"), in, error)) return state.SkipWithError(error.c_str());
    problems = static_cast<int>(summary.Problems.size());
  }
  state.counters["problems"] = problems;
  state.counters["pdf_bytes"] = static_cast<double>(fs::file_size(job.Path("report.pdf")));
}

BENCHMARK_CAPTURE(EngineRun, FiveStages, FiveStages())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CalcReport, FiveStages, FiveStages())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EngineRun, StagedExample, StagedExample())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CalcReport, StagedExample, StagedExample())->Unit(benchmark::kMillisecond);

}  // namespace

// The report paints text, which needs a GUI application; no display is
// needed.
int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
