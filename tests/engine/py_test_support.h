// A run context whose report and intermediate files go to a scratch folder,
// and small builders for the problems of the p-y tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "problem_input.h"
#include "run_state.h"

namespace ramvex::testing {

class ScratchRun {
 public:
  ScratchRun() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ramvex-py-XXXXXX").string();
    dir_ = mkdtemp(pattern.data()) ? pattern : std::string();
    run.workDir = dir_.string();
    run.report.open((dir_ / "report.txt").string());
  }
  ~ScratchRun() {
    run.report.close();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  ScratchRun(const ScratchRun&) = delete;
  ScratchRun& operator=(const ScratchRun&) = delete;

  std::string read(const std::string& name) {
    run.report.close();
    std::ifstream in(dir_ / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string report() { return read("report.txt"); }
  std::string soilData() { return read("SOILDATA"); }

  RunState run;

 private:
  std::filesystem::path dir_;
};

// Same values in the top and the bottom row.
inline SoilLayer uniformLayer(int type, double bottom, double gamma, double c, double phiDegrees, double e50, double k) {
  SoilLayer l;
  l.type = type;
  l.bottomDepth = bottom;
  l.top = {gamma, c, phiDegrees, e50, k, 0.0};
  l.bottom = l.top;
  return l;
}

// SI units; 100 increments of 0.2 m (wall 20 m long); water table far below.
inline ProblemInput siProblem(double freeHeight, double wa, double wp) {
  ProblemInput in;
  in.control.units = 2;
  in.control.pyOption = 2;
  in.solution.increments = 100;
  in.solution.h = 0.2;
  in.solution.freeHeight = freeHeight;
  in.hasSite = true;
  in.site.freeHeight = freeHeight;
  in.site.wa = wa;
  in.site.wp = wp;
  in.site.waterDepthBackfill = 100.0;
  in.site.waterDepthExcavation = 100.0;
  return in;
}

}  // namespace ramvex::testing
