// Command-line runner: analyses one data file with the engine library.
//
//   ramvex-run [-o OUTPUT_FOLDER] [--summary] [--csv] [--pdf FILE] WALL.rv5d
//
// The engine reads its run context from "names.dat" in the current
// directory and leaves intermediate files there, so the runner works in a
// private temporary folder that it removes afterwards.  The report (.rv5o),
// plot data (.rv5p) and run notes (.rv5r) are written beside the data file,
// or into OUTPUT_FOLDER when one is given.
//
// The engine returns 0 even when a problem stops on bad input: it writes how
// each problem ended to the report only.  The runner reads the report back
// and names every problem that did not close on standard error, with a
// non-zero exit status, so that scripts can tell.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "ReportOutcome.h"
#include "run_results.h"

namespace fs = std::filesystem;

namespace {

// Exit status of the runner.
enum TExit {
  kAllClosed = 0,
  kProblemFailed = 1,  // error stop, not closed, deflection exceeded, early end
  kUsage = 2,
  kNoDataFile = 3,
  kNoEngine = 4,
  kNoWorkFolder = 5,
  kEngineRefused = 6,
  kOutputFailed = 7,  // a summary, CSV file or PDF asked for was not written
};

const char kUsageText[] =
    "usage: ramvex-run [-o OUTPUT_FOLDER] [--summary] [--csv] [--pdf FILE] DATA_FILE.rv5d\n";

const char kHelpText[] =
    "\n"
    "Analyses a wall data file with the engine library and writes the report\n"
    "(.rv5o), the plot data (.rv5p) and the run notes (.rv5r) beside the data file.\n"
    "\n"
    "Options:\n"
    "  -o OUTPUT_FOLDER  write the outputs into OUTPUT_FOLDER instead\n"
    "  --summary         print each problem's outcome, iterations, top deflection,\n"
    "                    largest deflection, moment and shear with their depths\n"
    "                    and the tieback forces, in the project's units\n"
    "  --csv             write NAME-results.csv (one row per node and problem:\n"
    "                    depth, deflection, slope, moment, shear, net reaction)\n"
    "                    and NAME-py.csv (the p-y curves) beside the outputs\n"
    "  --pdf FILE        write the calculation report to FILE\n"
    "  --help            print this text and exit\n"
    "\n"
    "Exit status: 0 when every problem closed; 1 when a problem ended in an error\n"
    "stop, without closing or beyond the allowable deflection, or the run ended\n"
    "early (each such problem is named on standard error with the engine's\n"
    "message); 2 for a wrong command line; 3 when the data file is missing; 4 when\n"
    "the engine library cannot be loaded; 5 when no working folder can be made;\n"
    "6 when the engine refuses the call; 7 when an output asked for cannot be\n"
    "written.\n";

int usage() {
  std::fputs(kUsageText, stderr);
  std::fputs("Try 'ramvex-run --help' for more information.\n", stderr);
  return kUsage;
}

// Names every problem that did not close, with the engine's message, on
// standard error.  True when every problem closed in a run that ended in
// order.
bool checkOutcome(const fs::path& report) {
  const ramvex::TReportOutcome outcome = ramvex::ReadReport(report);
  if (!outcome.Read) {
    std::fprintf(stderr, "ramvex-run: the report cannot be read: %s\n", report.string().c_str());
    return false;
  }
  if (outcome.Problems.empty()) {
    std::fprintf(stderr, "ramvex-run: the report holds no problem: %s\n", report.string().c_str());
    return false;
  }
  for (size_t k = 0; k < outcome.Problems.size(); ++k) {
    const ramvex::TReportProblem& p = outcome.Problems[k];
    const ramvex::TOutcome o = p.Outcome();
    if (o == ramvex::TOutcome::Closed) continue;
    std::string message = p.Message;
    for (size_t at = 0; (at = message.find('\n', at)) != std::string::npos;) message.replace(at, 1, "; ");
    std::fprintf(stderr, "ramvex-run: %s: %s%s%s\n", ramvex::ProblemName(outcome, k).c_str(),
                 ramvex::OutcomeText(o), message.empty() ? "" : ": ", message.c_str());
  }
  if (!outcome.Closed) {
    std::fputs("ramvex-run: the run ended before \"END OF ANALYSIS\": the engine stopped early\n", stderr);
  }
  return outcome.AllClosed();
}

fs::path programFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  std::string dataArg, outArg;
  ramvex::run::TRunOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsageText, stdout);
      std::fputs(kHelpText, stdout);
      return kAllClosed;
    } else if (arg == "-o" && i + 1 < argc) {
      outArg = argv[++i];
    } else if (arg == "--summary") {
      options.Summary = true;
    } else if (arg == "--csv") {
      options.Csv = true;
    } else if (arg == "--pdf" && i + 1 < argc && argv[i + 1][0] != '\0') {
      options.Pdf = argv[++i];
    } else if (!arg.empty() && arg[0] == '-') {
      return usage();
    } else if (dataArg.empty()) {
      dataArg = arg;
    } else {
      return usage();
    }
  }
  if (dataArg.empty()) return usage();
  if (options.Any() && !ramvex::run::ResultsAvailable()) {
    std::fputs("ramvex-run: this build has no summary, CSV or PDF output\n", stderr);
    return kUsage;
  }

  std::error_code ec;
  const fs::path data = fs::absolute(dataArg, ec);
  if (ec || !fs::is_regular_file(data, ec)) {
    std::fprintf(stderr, "ramvex-run: no such data file: %s\n", dataArg.c_str());
    return kNoDataFile;
  }
  fs::path outFolder = outArg.empty() ? data.parent_path() : fs::absolute(outArg, ec);
  fs::create_directories(outFolder, ec);
  if (!options.Pdf.empty()) options.Pdf = fs::absolute(options.Pdf, ec);
  const fs::path stem = outFolder / data.stem();
  const std::string report = stem.string() + ".rv5o";
  const std::string plot = stem.string() + ".rv5p";
  const std::string notes = stem.string() + ".rv5r";

  const fs::path libraryPath = programFolder() / "libRamVex2015_DLL.so";
  void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "ramvex-run: cannot load the engine library: %s\n", dlerror());
    return kNoEngine;
  }
  using Entry = int32_t (*)(int32_t);
  auto entry = reinterpret_cast<Entry>(dlsym(library, "_IRAMVEX"));
  if (!entry) {
    std::fprintf(stderr, "ramvex-run: the engine library has no entry _IRAMVEX\n");
    dlclose(library);
    return kNoEngine;
  }

  std::string pattern = (fs::temp_directory_path() / "ramvex-run-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::fprintf(stderr, "ramvex-run: cannot make a working folder\n");
    dlclose(library);
    return kNoWorkFolder;
  }
  const fs::path work = pattern;
  {
    std::ofstream names(work / "names.dat", std::ios::binary);
    names << "2015.5.13\n" << data.string() << "\n" << report << "\n" << plot << "\n" << notes << "\n";
  }
  const fs::path previous = fs::current_path();
  fs::current_path(work, ec);
  const int32_t status = ec ? -1 : entry(13);
  fs::current_path(previous, ec);
  dlclose(library);

  if (status != 0) {
    fs::remove_all(work, ec);
    std::fprintf(stderr, "ramvex-run: the engine refused the call (status %d)\n", static_cast<int>(status));
    return kEngineRefused;
  }
  std::printf("report:     %s\nplot data:  %s\nrun notes:  %s\n", report.c_str(), plot.c_str(), notes.c_str());
  std::fflush(stdout);
  const bool closed = checkOutcome(report);
  bool written = true;
  if (options.Any()) written = ramvex::run::WriteResults({data, report, plot, notes, work}, options, argc, argv);
  fs::remove_all(work, ec);
  if (!closed) return kProblemFailed;
  return written ? kAllClosed : kOutputFailed;
}
