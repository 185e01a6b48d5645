// The header that opens every problem in the report: banner, file names,
// date and time of the run and the title line.
#pragma once

#include <ctime>
#include <string>

#include "run_state.h"

namespace ramvex {

// "/home/eng/wall.rv5d" -> folder "/home/eng/", name "wall.rv5d".
struct PathParts {
  std::string folder;
  std::string name;
};
PathParts splitPath(const std::string& path);

// The title line in its three forms: the problem's own title, the long-term
// form and the staged form.
std::string titleLine(const RunState& run, int nstage);

void writeReportHeader(RunState& run, int nstage, const std::tm& now);
// A framed block title: two empty lines and the title between rows of stars.
void writeBlockFrame(TextOutput& out, const std::string& title50);

}  // namespace ramvex
