// The p-y curves of a problem: soil force per station against deflection,
// linearised on the segment where the station's deflection lies and spread
// over the stations either at one station or along interpolated chains.
#pragma once

#include <vector>

#include "problem_input.h"
#include "run_state.h"

namespace ramvex {

struct PyCurve {
  int station = 0;
  std::vector<double> y;      // ascending deflections
  std::vector<double> p;      // soil force per station (line value times h)
  std::vector<double> pLine;  // the same per length of wall, for the plot file
  int interpolate = 0;        // 1: one end of an interpolation to the next curve
  bool generated = false;     // from the soil layers rather than the user
  double depth = 0;           // depth of a generated curve
};

struct CurveSet {
  std::vector<PyCurve> curves;
};

// Appends a curve; the 64th curve writes "TOO MUCH DATA FOR AVAILABLE
// STORAGE" and stops the run.
void appendCurve(RunState& run, CurveSet& set, PyCurve curve);

// The interpolation flag of a user curve: with user curves alone (p-y option
// below 2) a curve at or below the free height starts or continues a chain.
int userCurveFlag(const ProblemInput& input, const UserPyCurve& curve);

// The user curves with their multipliers applied and P times h.
CurveSet buildCurveSet(RunState& run, const ProblemInput& input);

// A curve replaced by the straight line of one segment at deflection w: the
// soil force is intercept - slope * w.
struct Linearized {
  double slope = 0;
  double intercept = 0;
  bool offCurve = false;
};

Linearized linearize(const PyCurve& curve, double w);

// Adds every curve's spring and load to sw and qw (station arrays indexed
// j + 4) at the deflections w of the previous iteration.  Returns true when
// any deflection lay off its curve.  A chain that runs back up the wall
// writes "STATIONS NOT IN ORDER" and stops the run.
bool assignCurves(RunState& run, const CurveSet& set, int n, const std::vector<double>& w,
                  std::vector<double>& sw, std::vector<double>& qw);

}  // namespace ramvex
