// Design checks from the command line: the embedment sweep and the mesh
// check of a wall data file.
//
//   ramvex-design length --from L1 --to L2 --step DL [options] WALL.rv5d
//   ramvex-design mesh [options] WALL.rv5d
//
// Every case is the project rewritten through the project object (wall
// length, or increment length with every node reference scaled), saved in a
// folder of its own and analysed by a separate ramvex-run process: the
// engine keeps its working files in the current directory and is not
// re-entrant, so parallel runs need separate processes and folders.  All
// folders live under one temporary folder, removed at the end and on
// SIGINT, SIGTERM or SIGHUP after the running cases have been stopped.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "DesignCheck.h"
#include "ProgramData.h"
#include "ResultGraphs.h"
#include "ResultsSummary.h"

namespace fs = std::filesystem;
using namespace ramvex;

namespace {

enum TExit {
  kDone = 0,
  kNoVerdict = 1,  // a mesh check whose runs did not both close
  kUsage = 2,
  kNoDataFile = 3,
  kNoRunner = 4,
  kNoWorkFolder = 5,
  kNoCsv = 7,
  kCancelled = 130,
};

const char kUsageText[] =
    "usage: ramvex-design length --from L1 --to L2 --step DL [--max-deflection D]\n"
    "                            [--tolerance T] [-j N] [--csv FILE] WALL.rv5d\n"
    "       ramvex-design mesh [-j N] [--csv FILE] WALL.rv5d\n";

const char kHelpText[] =
    "\n"
    "Design checks of a wall by repeated analysis.\n"
    "\n"
    "length  analyses the wall at every length from L1 to L2 by DL (feet in US\n"
    "        projects, metres in SI ones; each a whole number of increments of the\n"
    "        project's increment length, at most 300).  Each row gives the length,\n"
    "        the embedment below the excavation, the top deflection, the largest\n"
    "        moment and shear with their depths, the tieback forces and how the\n"
    "        run ended; a length whose run fails keeps its row with the engine's\n"
    "        message.  Then the shortest length that closes (within D when given)\n"
    "        and the critical length, from which on the top deflection differs by\n"
    "        less than T from the longest wall's.\n"
    "mesh    analyses the wall at h and at h/2 (or, beyond 300 increments, at 2h\n"
    "        and h when every node reference is even) and reports the change of\n"
    "        the top deflection, largest moment and shear and tieback forces: the\n"
    "        mesh is adequate when every change is under 2 %.\n"
    "\n"
    "Options:\n"
    "  --from L1, --to L2, --step DL  the wall lengths of the sweep\n"
    "  --max-deflection D  largest acceptable top deflection (in for US projects,\n"
    "                      m for SI ones)\n"
    "  --tolerance T       change of the top deflection, in percent, below which\n"
    "                      a longer wall gains nothing (default 5)\n"
    "  -j N                cases analysed at once (default: the number of cores)\n"
    "  --csv FILE          write the cases to FILE as CSV\n"
    "  --help              print this text and exit\n"
    "\n"
    "Every case is a separate run of ramvex-run (found beside this program) on the\n"
    "project saved at that length or mesh, in a temporary folder of its own.  The\n"
    "runs are independent commands: for studies beyond one machine, save the\n"
    "project at each length and spread the 'ramvex-run --summary -o FOLDER\n"
    "WALL.rv5d' commands with GNU parallel or a cluster's scheduler.  Progress goes\n"
    "to standard error as '[k/n]' lines.  Ctrl-C stops the running cases and\n"
    "removes every temporary folder.\n"
    "\n"
    "Exit status: 0 when the study was made (failed lengths are part of it); 1 when\n"
    "a mesh check has no verdict because a run did not close; 2 for a wrong command\n"
    "line or a study that cannot be set up; 3 when the data file cannot be read;\n"
    "4 when ramvex-run cannot be started; 5 when no working folder can be made;\n"
    "7 when the CSV file cannot be written; 130 when cancelled.\n";

// The signals that stop a study, and SIGCHLD, are blocked for the whole
// run and taken synchronously, so that none arrives between a look at the
// running cases and the wait for the next event.
volatile sig_atomic_t g_cancel = 0;

sigset_t StudySignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGCHLD}) sigaddset(&set, s);
  return set;
}

// Waits until a case ends or the study is stopped (at most a second).
void WaitForSignal() {
  const sigset_t set = StudySignals();
  const timespec timeout{1, 0};
  const int signo = sigtimedwait(&set, nullptr, &timeout);
  if (signo == SIGINT || signo == SIGTERM || signo == SIGHUP) g_cancel = signo;
}

// A stop that came while the study was being set up.
void TakePendingStop() {
  sigset_t pending;
  sigpending(&pending);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) {
    if (sigismember(&pending, s)) {
      const sigset_t set = StudySignals();
      const timespec none{0, 0};
      const int signo = sigtimedwait(&set, nullptr, &none);
      if (signo == SIGINT || signo == SIGTERM || signo == SIGHUP) g_cancel = signo;
    }
  }
}

int Usage(const std::string& message = {}) {
  if (!message.empty()) std::fprintf(stderr, "ramvex-design: %s\n", message.c_str());
  std::fputs(kUsageText, stderr);
  std::fputs("Try 'ramvex-design --help' for more information.\n", stderr);
  return kUsage;
}

bool ParseNumber(const char* text, double& value) {
  std::string s = text;
  if (!s.empty() && s.back() == '%') s.pop_back();
  const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
  return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(value);
}

fs::path ProgramFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : self.parent_path();
}

struct TOptions {
  std::string Mode;
  std::optional<double> From, To, Step, MaxDeflection;
  double Tolerance = 0.05;
  int Jobs = 0;
  std::string Csv;
  std::string Data;
};

// One case of the study: its folder, the project saved there, and what the
// run gave.
struct TCase {
  fs::path Folder;
  fs::path Data;
  bool Prepared = false;
  TCaseResult Result;
};

// Removes the study's folder on every way out.
struct TWorkFolder {
  fs::path Path;
  ~TWorkFolder() {
    std::error_code ec;
    if (!Path.empty()) fs::remove_all(Path, ec);
  }
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The runner's own words when it failed before the engine wrote a report.
std::string RunnerMessage(const fs::path& errors, int status) {
  std::istringstream in(ReadText(errors));
  std::string message;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("ramvex-run: ", 0) == 0) line.erase(0, 12);
    if (line.empty() || line.rfind("usage:", 0) == 0 || line.rfind("Try ", 0) == 0) continue;
    if (!message.empty()) message += "; ";
    message += line;
  }
  if (message.empty()) message = "ramvex-run ended with status " + std::to_string(status);
  return message;
}

class TRunner {
 public:
  TRunner(fs::path runner, TProgramData& project, std::vector<TCase>& cases, int jobs)
      : runner_(std::move(runner)), project_(project), cases_(cases), jobs_(jobs) {}

  // Runs every prepared case; false when cancelled (the running cases are
  // stopped and waited for).
  bool Run() {
    total_ = 0;
    for (const TCase& c : cases_) total_ += c.Prepared ? 1 : 0;
    size_t next = 0;
    TakePendingStop();
    while (true) {
      while (!g_cancel && running_.size() < static_cast<size_t>(jobs_) && next < cases_.size()) {
        if (cases_[next].Prepared) Start(next);
        ++next;
      }
      if (g_cancel) break;
      if (running_.empty()) return true;
      int status = 0;
      const pid_t pid = waitpid(-1, &status, WNOHANG);
      if (pid == 0 || (pid < 0 && errno == EINTR)) {
        WaitForSignal();
        continue;
      }
      if (pid < 0) break;
      auto it = running_.find(pid);
      if (it == running_.end()) continue;
      const size_t index = it->second;
      running_.erase(it);
      Finish(index, status);
    }
    StopAll();
    return !g_cancel;
  }

 private:
  void Start(size_t index) {
    TCase& c = cases_[index];
    const std::string folder = c.Folder.string();
    const std::string out = (c.Folder / "run.out").string();
    const std::string err = (c.Folder / "run.err").string();
    const std::string runner = runner_.string();
    const std::string data = c.Data.string();
    std::vector<char*> argv = {const_cast<char*>(runner.c_str()), const_cast<char*>("-o"),
                               const_cast<char*>(folder.c_str()), const_cast<char*>(data.c_str()), nullptr};
    const pid_t pid = fork();
    if (pid == 0) {
      // A process group of its own: a Ctrl-C at the terminal reaches this
      // program alone, which then stops each case in order.
      setpgid(0, 0);
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      if (chdir(folder.c_str()) != 0) _exit(126);
      // The runner's own temporary folder goes inside the case's folder, so
      // removing the study's folder removes it too.
      setenv("TMPDIR", folder.c_str(), 1);
      const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (o >= 0) dup2(o, 1);
      if (e >= 0) dup2(e, 2);
      execv(runner.c_str(), argv.data());
      const char msg[] = "ramvex-run: cannot be started\n";
      if (write(2, msg, sizeof msg - 1) < 0) _exit(127);
      _exit(127);
    }
    if (pid < 0) {
      c.Result.Message = "no process could be started for the run";
      Report(index);
      return;
    }
    setpgid(pid, pid);
    running_[pid] = index;
  }

  void Finish(size_t index, int status) {
    TCase& c = cases_[index];
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const fs::path report = c.Folder / (c.Data.stem().string() + ".rv5o");
    const fs::path plot = c.Folder / (c.Data.stem().string() + ".rv5p");
    std::error_code ec;
    // 0: every problem closed; 1: a problem did not close, which the report
    // tells.  Any other status is the runner's own failure.
    if ((code == 0 || code == 1) && fs::is_regular_file(report, ec)) {
      TResultGraphs graphs;
      graphs.ReadPlotFile(plot, project_);
      TCaseResult r = CaseFromSummary(SummarizeRun(project_, graphs, report));
      r.Length = c.Result.Length;
      r.Increments = c.Result.Increments;
      r.IncrementLength = c.Result.IncrementLength;
      r.Embedment = c.Result.Embedment;
      c.Result = std::move(r);
    } else {
      c.Result.Ran = false;
      c.Result.Outcome = TOutcome::ErrorStop;
      c.Result.Message = code == 127 ? "ramvex-run cannot be started" : RunnerMessage(c.Folder / "run.err", code);
    }
    Report(index);
  }

  void Report(size_t index) {
    const TCaseResult& r = cases_[index].Result;
    ++done_;
    std::fprintf(stderr, "ramvex-design: [%d/%d] %s %s, %d increments: %s\n", done_, total_,
                 NumberText(r.Length, 6).c_str(), WallLengthUnit(project_.UnitSystem), r.Increments,
                 r.Ran ? OutcomeText(r.Outcome) : "not run");
  }

  void StopAll() {
    for (const auto& [pid, index] : running_) kill(-pid, SIGTERM);
    // A case that ignores the request is ended after two seconds.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!running_.empty()) {
      for (auto it = running_.begin(); it != running_.end();) {
        int status = 0;
        const pid_t r = waitpid(it->first, &status, WNOHANG);
        it = r == it->first || (r < 0 && errno == ECHILD) ? running_.erase(it) : std::next(it);
      }
      if (running_.empty()) break;
      if (std::chrono::steady_clock::now() > deadline) {
        for (const auto& [pid, index] : running_) kill(-pid, SIGKILL);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  fs::path runner_;
  TProgramData& project_;
  std::vector<TCase>& cases_;
  int jobs_;
  std::map<pid_t, size_t> running_;
  int done_ = 0;
  int total_ = 0;
};

bool WriteCsv(const std::string& path, const std::vector<TCase>& cases, int units) {
  std::vector<TCaseResult> results;
  for (const TCase& c : cases) results.push_back(c.Result);
  std::ostringstream out;
  WriteCasesCsv(out, results, units);
  try {
    SaveTextFile(path, out.str());
    return true;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ramvex-design: cannot write %s: %s\n", path.c_str(), e.what());
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  TOptions o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    auto number = [&](std::optional<double>& into) {
      double v = 0;
      if (!hasValue || !ParseNumber(argv[++i], v)) return false;
      into = v;
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsageText, stdout);
      std::fputs(kHelpText, stdout);
      return kDone;
    } else if (o.Mode.empty() && (arg == "length" || arg == "mesh")) {
      o.Mode = arg;
    } else if (arg == "--from") {
      if (!number(o.From)) return Usage("--from needs a length");
    } else if (arg == "--to") {
      if (!number(o.To)) return Usage("--to needs a length");
    } else if (arg == "--step") {
      if (!number(o.Step)) return Usage("--step needs a length");
    } else if (arg == "--max-deflection") {
      if (!number(o.MaxDeflection) || *o.MaxDeflection <= 0) return Usage("--max-deflection needs a deflection above 0");
    } else if (arg == "--tolerance") {
      std::optional<double> t;
      if (!number(t) || *t <= 0 || *t >= 100) return Usage("--tolerance needs a percentage between 0 and 100");
      o.Tolerance = *t / 100;
    } else if (arg == "-j" || arg.rfind("-j", 0) == 0) {
      const std::string value = arg == "-j" ? (hasValue ? argv[++i] : "") : arg.substr(2);
      int n = 0;
      const auto r = std::from_chars(value.data(), value.data() + value.size(), n);
      if (r.ec != std::errc() || r.ptr != value.data() + value.size() || n < 1) return Usage("-j needs a count of 1 or more");
      o.Jobs = n;
    } else if (arg == "--csv" && hasValue && argv[i + 1][0] != '\0') {
      o.Csv = argv[++i];
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage("unknown option " + arg);
    } else if (o.Data.empty() && !o.Mode.empty()) {
      o.Data = arg;
    } else {
      return Usage();
    }
  }
  if (o.Mode.empty() || o.Data.empty()) return Usage();
  if (o.Mode == "length" && (!o.From || !o.To || !o.Step)) return Usage("length needs --from, --to and --step");
  if (o.Mode == "mesh" && (o.From || o.To || o.Step || o.MaxDeflection)) {
    return Usage("mesh takes no lengths or deflection limit");
  }
  if (o.Jobs == 0) o.Jobs = std::max(1u, std::thread::hardware_concurrency());

  std::error_code ec;
  const fs::path data = fs::absolute(o.Data, ec);
  if (ec || !fs::is_regular_file(data, ec)) {
    std::fprintf(stderr, "ramvex-design: no such data file: %s\n", o.Data.c_str());
    return kNoDataFile;
  }
  const fs::path runner = ProgramFolder() / "ramvex-run";
  if (access(runner.c_str(), X_OK) != 0) {
    std::fprintf(stderr, "ramvex-design: ramvex-run is not beside this program: %s\n", runner.c_str());
    return kNoRunner;
  }

  const sigset_t stops = StudySignals();
  sigprocmask(SIG_BLOCK, &stops, nullptr);

  std::string pattern = (fs::temp_directory_path(ec) / "ramvex-design-XXXXXX").string();
  if (ec || !mkdtemp(pattern.data())) {
    std::fputs("ramvex-design: cannot make a working folder\n", stderr);
    return kNoWorkFolder;
  }
  TWorkFolder work{pattern};

  // The project is opened from a copy: opening a staged project writes stage
  // files beside it.
  auto tables = CreateProjectTables();
  TProgramData project(*tables);
  const fs::path source = work.Path / "source" / data.filename();
  try {
    fs::create_directories(source.parent_path());
    fs::copy_file(data, source);
    project.NewProject();
    project.OpenProject(source);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ramvex-design: %s cannot be read as a project: %s\n", o.Data.c_str(), e.what());
    return kNoDataFile;
  }
  if (project.StageCount > 1) {
    std::fputs("ramvex-design: a staged project has one wall per stage; the design checks take an unstaged one\n",
               stderr);
    return kUsage;
  }
  const int units = project.UnitSystem;

  // Every case starts from the project as read, so that no case depends on
  // the rewriting of another.
  auto reload = [&] {
    project.NewProject();
    project.OpenProject(source);
  };
  std::vector<TCase> cases;
  auto prepare = [&](const std::function<void()>& rewrite) {
    TCase c;
    c.Folder = work.Path / ("case-" + std::to_string(cases.size() + 1));
    c.Data = c.Folder / data.filename();
    try {
      reload();
      rewrite();
      SetCaseGeometry(c.Result, project);
      fs::create_directories(c.Folder);
      SaveTextFile(c.Data, project.DataFileText());
      c.Prepared = true;
    } catch (const EDesignError& e) {
      c.Result.Message = e.what();
    }
    cases.push_back(std::move(c));
  };

  TMeshPlan plan;
  try {
    if (o.Mode == "length") {
      const std::vector<double> lengths = SweepLengths(*o.From, *o.To, *o.Step);
      std::vector<int> counts;
      for (double l : lengths) counts.push_back(IncrementsForLength(project, l));
      for (size_t k = 0; k < lengths.size(); ++k) {
        prepare([&] { SetWallIncrements(project, counts[k]); });
        // A case that could not be written keeps its length in the table.
        if (!cases.back().Prepared) {
          TCaseResult& r = cases.back().Result;
          r.Length = lengths[k];
          r.Increments = counts[k];
          r.IncrementLength = static_cast<double>(project.IncrementLength);
          r.Embedment = lengths[k] - static_cast<double>(project.FreeHeight / WallLengthFactor(units));
        }
      }
    } else {
      plan = PlanMesh(project);
      prepare([&] { if (!plan.Refine) SetMesh(project, plan.CoarseIncrements, plan.CoarseLength); });
      prepare([&] { if (plan.Refine) SetMesh(project, plan.FineIncrements, plan.FineLength); });
    }
  } catch (const EDesignError& e) {
    std::fprintf(stderr, "ramvex-design: %s\n", e.what());
    return kUsage;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ramvex-design: the project cannot be written: %s\n", e.what());
    return kNoWorkFolder;
  }

  TRunner run(runner, project, cases, o.Jobs);
  if (!run.Run()) {
    std::fputs("ramvex-design: cancelled; the running cases were stopped\n", stderr);
    return kCancelled;
  }

  const TSummaryUnits labels = SummaryUnits(units);
  std::vector<TCaseResult> results;
  for (const TCase& c : cases) results.push_back(c.Result);
  int status = kDone;
  std::cout << project.Title << '\n';
  if (o.Mode == "length") {
    std::cout << "Embedment sweep, " << results.size() << " lengths\n\n";
    WriteTextTable(std::cout, SweepTable(results, units));
    std::cout << '\n'
              << SweepVerdictText(results, JudgeSweep(results, o.Tolerance, o.MaxDeflection), units, o.Tolerance,
                                  o.MaxDeflection);
  } else {
    const TMeshVerdict verdict = JudgeMesh(results[0], results[1], labels);
    std::cout << "Mesh check: " << results[0].Increments << " increments of " << NumberText(results[0].IncrementLength)
              << " against " << results[1].Increments << " of " << NumberText(results[1].IncrementLength) << "\n\n";
    if (verdict.Judged) {
      WriteTextTable(std::cout, MeshTable(verdict, labels));
      std::cout << '\n';
    }
    std::cout << verdict.Text << '\n';
    if (!verdict.Judged) status = kNoVerdict;
  }
  std::cout.flush();
  if (!o.Csv.empty() && !WriteCsv(fs::absolute(o.Csv, ec).string(), cases, units)) status = kNoCsv;
  return status;
}
