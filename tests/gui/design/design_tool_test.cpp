// The design tool against separate runs: every row of a sweep and both
// meshes of a mesh check are compared with ramvex-run on the project saved
// at that length or mesh by the test itself (the data file's records
// rewritten directly, not through the design library), and the node values
// are read from the runner's own results CSV.  Cancelling a study must leave
// neither a process nor a temporary folder.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "DesignCheck.h"
#include "golden.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(RAMVEX_SOURCE_DIR) / "examples";
const fs::path kBin = fs::path(RAMVEX_BINARY_DIR) / "bin";

struct TRun {
  int Status = -1;
  std::string Out, Err;
};

// Runs a program of the build with TMPDIR pointed into the test's folder,
// so that every temporary folder the programs make can be seen.
TRun RunProgram(const fs::path& folder, const std::string& program, const std::string& arguments) {
  const fs::path out = folder / "stdout.txt", err = folder / "stderr.txt";
  fs::create_directories(folder / "tmp");
  const std::string command = "cd '" + folder.string() + "' && TMPDIR='" + (folder / "tmp").string() + "' '" +
                              (kBin / program).string() + "' " + arguments + " >'" + out.string() + "' 2>'" +
                              err.string() + "'";
  const int raw = std::system(command.c_str());
  TRun r;
  r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.Out = test::readTextFile(out);
  r.Err = test::readTextFile(err);
  return r;
}

// The data file's lines, each without its line end.
std::vector<std::string> Lines(const fs::path& path) {
  std::istringstream in(test::readTextFile(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void WriteLines(const fs::path& path, const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& l : lines) out << l << "\r\n";
}

// Fields of a line; a double-quoted field may hold the separator.
std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> cells;
  std::string cell;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == separator && !quoted) {
      cells.push_back(cell);
      cell.clear();
    } else if (c != '\r') {
      cell += c;
    }
  }
  cells.push_back(cell);
  return cells;
}

// Top deflection and the largest moment (sign kept) with its depth, from
// the runner's results CSV of a one-problem job.
struct TReference {
  double Top = NAN, Moment = 0, MomentDepth = 0;
};

TReference Reference(const fs::path& resultsCsv) {
  std::istringstream in(test::readTextFile(resultsCsv));
  std::string line;
  std::getline(in, line);  // heading
  TReference r;
  while (std::getline(in, line)) {
    const std::vector<std::string> c = Split(line, ',');
    if (c.size() < 7) continue;
    const double depth = std::stod(c[1]), deflection = std::stod(c[2]), moment = std::stod(c[4]);
    if (std::isnan(r.Top)) r.Top = deflection;
    if (std::fabs(moment) > std::fabs(r.Moment)) {
      r.Moment = moment;
      r.MomentDepth = depth;
    }
  }
  return r;
}

// The project of `example` saved with `n` increments of `h`, its stiffness
// row ending at the toe and every user p-y curve node multiplied by `scale`:
// the records of the data file written by hand.
fs::path SaveAt(const fs::path& folder, const std::string& example, int n, const std::string& h, int scale = 1,
                const std::string& layerBottom = "") {
  std::vector<std::string> lines = Lines(kExamples / (example + ".rv5d"));
  std::vector<std::string> control = Split(lines[2], '\t');
  control[0] = std::to_string(n);
  control[1] = h;
  std::vector<std::string> stiffness = Split(lines[3], '\t');
  stiffness[1] = std::to_string(n);
  auto join = [](const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& x : v) s += (s.empty() ? "" : "\t") + x;
    return s;
  };
  lines[2] = join(control);
  lines[3] = join(stiffness);
  for (std::string& l : lines) {
    std::vector<std::string> c = Split(l, '\t');
    // A user p-y curve header: node, 5 points, multipliers 1 and 1.
    if (scale != 1 && c.size() == 4 && c[1] == "5" && c[2] == "1" && c[3] == "1") {
      c[0] = std::to_string(std::stoi(c[0]) * scale);
      l = join(c);
    }
    // The sand layer record: type 4 and its bottom depth.
    if (!layerBottom.empty() && c.size() == 2 && c[0] == "4") l = "4\t" + layerBottom;
  }
  fs::create_directories(folder);
  const fs::path path = folder / (example + ".rv5d");
  WriteLines(path, lines);
  return path;
}

std::vector<TCaseResult> ReadCases(const fs::path& csv) {
  std::ifstream in(csv, std::ios::binary);
  int units = 0;
  return ReadCasesCsv(in, units);
}

bool EmptyFolder(const fs::path& folder) { return fs::is_empty(folder); }

class DesignTool : public test::ScratchDirTest {
 protected:
  fs::path Here() const { return scratch_.path(); }
};

TEST_F(DesignTool, EveryRowOfTheSandSweepIsTheSeparateRunAtThatLength) {
  const TRun sweep = RunProgram(Here(), "ramvex-design",
                         "length --from 20 --to 35 --step 5 -j 2 --csv sweep.csv '" +
                             (kExamples / "sand_generated.rv5d").string() + "'");
  ASSERT_EQ(sweep.Status, 0) << sweep.Err;
  const std::vector<TCaseResult> cases = ReadCases(Here() / "sweep.csv");
  ASSERT_EQ(cases.size(), 4u);
  std::vector<double> tops;
  for (size_t k = 0; k < cases.size(); ++k) {
    const double length = 20 + 5.0 * k;
    const int n = static_cast<int>(length * 12 / 6);
    const fs::path folder = Here() / ("at-" + std::to_string(n));
    SaveAt(folder, "sand_generated", n, "6");
    const TRun single = RunProgram(folder, "ramvex-run", "--csv -o out sand_generated.rv5d");
    ASSERT_EQ(single.Status, 0) << single.Err;
    const TReference ref = Reference(folder / "out" / "sand_generated-results.csv");
    const TCaseResult& c = cases[k];
    SCOPED_TRACE("length " + std::to_string(length));
    EXPECT_EQ(c.Length, length);
    EXPECT_EQ(c.Increments, n);
    EXPECT_EQ(c.Embedment, length - 12);  // free height 144 in
    EXPECT_EQ(c.Outcome, TOutcome::Closed);
    EXPECT_DOUBLE_EQ(c.TopDeflection, ref.Top);
    EXPECT_DOUBLE_EQ(c.Moment.Value, ref.Moment);
    EXPECT_DOUBLE_EQ(c.Moment.Depth, ref.MomentDepth);
    tops.push_back(ref.Top);
  }
  // The critical length from the separate runs: the shortest from which on
  // every top deflection is within 5 % of the longest wall's.
  size_t critical = tops.size() - 1;
  while (critical > 0 && std::fabs(tops[critical - 1] - tops.back()) < 0.05 * std::fabs(tops.back())) --critical;
  const std::string expected = "Critical length (top deflection within 5 % of the longest wall's): " +
                               std::to_string(20 + 5 * static_cast<int>(critical)) + " ft";
  EXPECT_NE(sweep.Out.find(expected), std::string::npos) << sweep.Out;
  EXPECT_TRUE(EmptyFolder(Here() / "tmp"));
}

TEST_F(DesignTool, MeshCheckOfTheCantileverReportsTheChangeOfSeparateRuns) {
  const TRun mesh = RunProgram(Here(), "ramvex-design",
                        "mesh --csv mesh.csv '" + (kExamples / "cantilever.rv5d").string() + "'");
  ASSERT_EQ(mesh.Status, 0) << mesh.Err;
  const std::vector<TCaseResult> cases = ReadCases(Here() / "mesh.csv");
  ASSERT_EQ(cases.size(), 2u);

  SaveAt(Here() / "h", "cantilever", 60, "6");
  SaveAt(Here() / "h2", "cantilever", 120, "3", 2);
  ASSERT_EQ(RunProgram(Here() / "h", "ramvex-run", "--csv -o out cantilever.rv5d").Status, 0);
  ASSERT_EQ(RunProgram(Here() / "h2", "ramvex-run", "--csv -o out cantilever.rv5d").Status, 0);
  const TReference coarse = Reference(Here() / "h" / "out" / "cantilever-results.csv");
  const TReference fine = Reference(Here() / "h2" / "out" / "cantilever-results.csv");
  EXPECT_EQ(cases[0].Increments, 60);
  EXPECT_EQ(cases[1].Increments, 120);
  EXPECT_DOUBLE_EQ(cases[0].TopDeflection, coarse.Top);
  EXPECT_DOUBLE_EQ(cases[1].TopDeflection, fine.Top);
  EXPECT_DOUBLE_EQ(cases[1].Moment.Value, fine.Moment);

  // The scheme is first order in h: halving h moves the top deflection, by
  // the amount the two runs show, which the table prints in percent.
  const double change = 100 * std::fabs(fine.Top - coarse.Top) / std::fabs(fine.Top);
  EXPECT_GT(change, 0);
  const std::regex row("Top deflection \\(in\\) +[-0-9.e+]+ +[-0-9.e+]+ +([0-9.e+-]+)");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(mesh.Out, m, row)) << mesh.Out;
  EXPECT_NEAR(std::stod(m[1]), change, 0.0005 * change + 1e-9);
  EXPECT_NE(mesh.Out.find(change < 2 ? "The mesh is adequate" : "The finer mesh is advised"), std::string::npos)
      << mesh.Out;
}

TEST_F(DesignTool, ALengthBeyondTheSoilLayersIsReportedWithTheEnginesMessage) {
  // The sand layer ends at 200 in (16.7 ft), above the toe of both walls.
  const fs::path project = SaveAt(Here() / "project", "sand_generated", 60, "6", 1, "200");
  const TRun sweep = RunProgram(Here(), "ramvex-design", "length --from 20 --to 25 --step 5 --csv sweep.csv '" +
                                                      project.string() + "'");
  ASSERT_EQ(sweep.Status, 0) << sweep.Err;
  const std::vector<TCaseResult> cases = ReadCases(Here() / "sweep.csv");
  ASSERT_EQ(cases.size(), 2u);
  for (const TCaseResult& c : cases) {
    const fs::path folder = Here() / ("at-" + std::to_string(c.Increments));
    SaveAt(folder, "sand_generated", c.Increments, "6", 1, "200");
    const TRun single = RunProgram(folder, "ramvex-run", "-o out sand_generated.rv5d");
    EXPECT_EQ(single.Status, 1);
    // The engine's own line in its report.
    std::string engineLine;
    for (const std::string& l : Lines(folder / "out" / "sand_generated.rv5o")) {
      if (l.find("MAX ALLOWABLE DEFLECTION EXCEEDED") != std::string::npos) engineLine = l;
    }
    ASSERT_FALSE(engineLine.empty());
    // The report frames its words with asterisks and pads the count.
    std::string words;
    std::istringstream in(engineLine);
    for (std::string w; in >> w;) {
      if (w.find_first_not_of('*') != std::string::npos) words += (words.empty() ? "" : " ") + w;
    }
    engineLine = words;
    EXPECT_EQ(c.Outcome, TOutcome::DeflectionExceeded);
    EXPECT_NE(c.Message.find(engineLine), std::string::npos) << c.Message;
    EXPECT_NE(sweep.Out.find(engineLine), std::string::npos) << sweep.Out;
  }
  EXPECT_NE(sweep.Out.find("No length closes"), std::string::npos) << sweep.Out;
}

TEST_F(DesignTool, ALengthThatCannotHoldTheProjectsRowsKeepsItsRow) {
  // A restraint at node 50 of the 30 ft sand wall: a 20 ft wall has no node
  // 50, a 30 ft one has.
  std::vector<std::string> lines = Lines(kExamples / "sand_generated.rv5d");
  std::vector<std::string> control = Split(lines[1], '\t');
  control[1] = "1";
  std::string joined;
  for (const std::string& x : control) joined += (joined.empty() ? "" : "\t") + x;
  lines[1] = joined;
  lines.insert(lines.begin() + 3, "1\t50\t0\t0");
  WriteLines(Here() / "restrained.rv5d", lines);
  const TRun sweep = RunProgram(Here(), "ramvex-design", "length --from 20 --to 30 --step 10 --csv sweep.csv restrained.rv5d");
  ASSERT_EQ(sweep.Status, 0) << sweep.Err;
  const std::vector<TCaseResult> cases = ReadCases(Here() / "sweep.csv");
  ASSERT_EQ(cases.size(), 2u);
  EXPECT_FALSE(cases[0].Ran);
  EXPECT_EQ(cases[0].Length, 20);
  EXPECT_EQ(cases[0].Embedment, 8);
  EXPECT_EQ(cases[0].Message,
            "row 1 of \"Specify Deflection and Slope on Wall\" refers to node 50, below the toe of a wall of 40 "
            "increments");
  EXPECT_TRUE(cases[1].Ran);
  EXPECT_NE(sweep.Out.find("not run: row 1 of"), std::string::npos) << sweep.Out;
}

struct TCommandCase {
  const char* Name;
  const char* Arguments;
  int Status;
  const char* Error;  // on standard error
};

void PrintTo(const TCommandCase& c, std::ostream* os) { *os << c.Name; }

class DesignCommandLine : public test::ScratchDirTest, public ::testing::WithParamInterface<TCommandCase> {};

TEST_P(DesignCommandLine, RefusesWhatItCannotStudy) {
  const TCommandCase& c = GetParam();
  std::string args = c.Arguments;
  for (size_t at; (at = args.find("EXAMPLES")) != std::string::npos;) args.replace(at, 8, kExamples.string());
  const TRun r = RunProgram(scratch_.path(), "ramvex-design", args);
  EXPECT_EQ(r.Status, c.Status) << r.Err;
  EXPECT_NE(r.Err.find(c.Error), std::string::npos) << r.Err;
  EXPECT_TRUE(EmptyFolder(scratch_.path() / "tmp"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DesignCommandLine,
    ::testing::Values(
        TCommandCase{"NoStudy", "EXAMPLES/sand_generated.rv5d", 2, "usage: ramvex-design"},
        TCommandCase{"NoStep", "length --from 20 --to 30 EXAMPLES/sand_generated.rv5d", 2,
                     "length needs --from, --to and --step"},
        TCommandCase{"NotWholeIncrements", "length --from 20 --to 21 --step 0.3 EXAMPLES/sand_generated.rv5d", 2,
                     "the length 20.3 ft is not a whole number of increments of 6 in"},
        TCommandCase{"TooManyIncrements", "length --from 100 --to 200 --step 100 EXAMPLES/sand_generated.rv5d", 2,
                     "the length 200 ft needs 400 increments; the engine takes 1 to 300"},
        TCommandCase{"BadJobs", "mesh -j 0 EXAMPLES/cantilever.rv5d", 2, "-j needs a count of 1 or more"},
        TCommandCase{"Staged", "mesh EXAMPLES/three_stages.rv5d", 2, "a staged project"},
        TCommandCase{"NoFile", "mesh no-such-wall.rv5d", 3, "no such data file: no-such-wall.rv5d"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DesignTool, HelpNamesTheWaysToSpreadTheRuns) {
  const TRun r = RunProgram(Here(), "ramvex-design", "--help");
  EXPECT_EQ(r.Status, 0);
  EXPECT_NE(r.Out.find("GNU parallel"), std::string::npos);
  EXPECT_NE(r.Out.find("scheduler"), std::string::npos);
}

// Processes whose command line mentions the folder.
std::vector<int> ProcessesUsing(const fs::path& folder) {
  std::vector<int> pids;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream in(entry.path() / "cmdline", std::ios::binary);
    std::string cmdline((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (char& ch : cmdline) {
      if (ch == '\0') ch = ' ';
    }
    if (cmdline.find(folder.string()) != std::string::npos) pids.push_back(std::stoi(name));
  }
  return pids;
}

TEST_F(DesignTool, CancelLeavesNoProcessAndNoTemporaryFolder) {
  const fs::path tmp = Here() / "tmp";
  fs::create_directories(tmp);
  int errPipe[2];
  ASSERT_EQ(pipe(errPipe), 0);
  const std::string tool = (kBin / "ramvex-design").string();
  const std::string data = (kExamples / "sand_generated.rv5d").string();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(errPipe[1], 2);
    close(errPipe[0]);
    setenv("TMPDIR", tmp.c_str(), 1);
    execl(tool.c_str(), tool.c_str(), "length", "--from", "20", "--to", "150", "--step", "0.5", "-j", "2",
          data.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(errPipe[1]);
  // Cancel once the first case has finished, with the next ones running.
  std::string err;
  char buf[256];
  while (err.find("[1/") == std::string::npos) {
    const ssize_t n = read(errPipe[0], buf, sizeof buf);
    if (n <= 0) break;
    err.append(buf, static_cast<size_t>(n));
  }
  ASSERT_NE(err.find("[1/261]"), std::string::npos) << err;
  ASSERT_FALSE(fs::is_empty(tmp));
  kill(pid, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  while (true) {
    const ssize_t n = read(errPipe[0], buf, sizeof buf);
    if (n <= 0) break;
    err.append(buf, static_cast<size_t>(n));
  }
  close(errPipe[0]);
  ASSERT_TRUE(WIFEXITED(status)) << err;
  EXPECT_EQ(WEXITSTATUS(status), 130);
  EXPECT_NE(err.find("cancelled"), std::string::npos) << err;
  EXPECT_EQ(err.find("[261/261]"), std::string::npos) << "the study ran to its end";
  EXPECT_TRUE(ProcessesUsing(tmp).empty());
  EXPECT_TRUE(fs::is_empty(tmp)) << fs::directory_iterator(tmp)->path();
}

}  // namespace
}  // namespace ramvex
