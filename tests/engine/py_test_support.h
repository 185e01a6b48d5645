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
#include "scratch_run.h"

namespace ramvex::testing {

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
