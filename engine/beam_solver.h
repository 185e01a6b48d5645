// Finite-difference solution of the beam-column: the five-term equation at
// stations -1..N+1, solved by one recursion down the wall and one back
// substitution up it, storage proportional to N and no matrix.
#pragma once

#include <vector>

#include "station_data.h"

namespace ramvex {

// Recursion coefficients w(j) = A(j) + B(j) w(j+1) + C(j) w(j+2), kept
// between calls so that an iteration does not reallocate.
struct SolverWork {
  std::vector<double> A, B, C;
};

// Solves for w at stations -1..N+1 (w(N+2) = w(N+3) = 0; w(-3), w(-2) are
// left at 0) with the working loads qw and springs sw (indexed as the station
// arrays).  w is resized to the station count.
void solveBeam(const StationData& sd, const std::vector<double>& qw, const std::vector<double>& sw,
               std::vector<double>& w, SolverWork& work);

// The quantities reported per station 0..N.
struct WallResults {
  std::vector<double> x, deflection, slope, moment, shear, reaction, F;
  int nodes() const { return static_cast<int>(x.size()); }
};

WallResults computeResults(const StationData& sd, const std::vector<double>& w);

}  // namespace ramvex
