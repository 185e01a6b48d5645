#include "report_header.h"

#include "fortran_format.h"

namespace ramvex {
namespace {

std::string trimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

}  // namespace

PathParts splitPath(const std::string& path) {
  const std::string trimmed = trimRight(path);
  const size_t slash = trimmed.find_last_of('/');
  if (slash == std::string::npos) return {"", trimmed};
  return {trimmed.substr(0, slash + 1), trimmed.substr(slash + 1)};
}

std::string titleLine(const RunState& run, int nstage) {
  fmt::Record r;
  r.X(6);
  if (nstage < 2) {
    if (run.problemCounter == 1) r.lit(run.currentTitle);
    else r.lit("Long Term :").X(2).lit(run.firstTitle);
  } else {
    r.lit("Stage No :").I(run.problemCounter, 2).X(2).lit(run.firstTitle);
  }
  return r.str();
}

void writeReportHeader(RunState& run, int nstage, const std::tm& now) {
  TextOutput& out = run.report;
  const std::string rule = std::string(5, ' ') + std::string(73, '=');
  const std::string dashes = std::string(5, ' ') + std::string(73, '-');
  const std::string indent(20, ' ');
  out.line(rule);
  out.empty();
  out.line(indent + "  RAMVEX for Windows, Version " + run.versionText);
  out.empty();
  out.line(indent + "   A Program for the Analysis of ");
  out.line(indent + "   Flexible Retaining Walls ");
  out.empty();
  out.line(rule);
  out.empty(2);

  const PathParts data = splitPath(run.dataPath);
  out.line("     Path to file locations      : " + data.folder);
  out.line("     Name of input data file     : " + data.name);
  out.line("     Name of output file         : " + splitPath(run.reportPath).name);
  out.line("     Name of plot output file    : " + splitPath(run.plotPath).name);
  out.empty();

  out.line(dashes);
  out.line(std::string(26, ' ') + "Time and Date of Analysis");
  out.line(dashes);
  out.empty();
  if (now.tm_mon >= 0 && now.tm_mon < 12) {
    fmt::Record r;
    r.X(15).lit("Date:  ").lit(kMonths[now.tm_mon]).X(1).I(now.tm_mday, 2, 2).lit(", ").I(now.tm_year + 1900, 4)
        .X(5).lit("Time:  ").I(now.tm_hour, 2, 2).lit(":").I(now.tm_min, 2, 2).lit(":").I(now.tm_sec, 2, 2);
    out.line(r.str());
  }
  out.empty();
  out.line(titleLine(run, nstage));
}

void writeBlockFrame(TextOutput& out, const std::string& title50) {
  const std::string stars = std::string(6, ' ') + std::string(50, '*');
  out.empty(2);
  out.line(stars);
  out.line(std::string(6, ' ') + title50);
  out.line(stars);
}

}  // namespace ramvex
