// Station data of one problem: the wall's stiffness, loads, springs and
// restraints at every station, built from the stiffness, load, spring and
// tieback tables, the specified deflections and slopes and the earth
// pressure.
//
// Station j (from -3 to N + 3) is stored at index j + 4; index 0 is unused.
// Stations -3..-1 and N+1..N+3 lie beyond the ends of the wall and exist only
// for the five-point difference formulas.
#pragma once

#include <vector>

#include "earth_pressure_table.h"
#include "problem_input.h"
#include "run_state.h"

namespace ramvex {

// Applied couple of a concentrated-load row: its from station and
// moment / (2h), used to correct shear and reaction at and beside it.
struct AppliedMoment {
  int station = 0;
  double value = 0;
};

// One tieback with the values its results need.
struct TiebackData {
  int station = 0;
  double depth = 0;     // inches for units 1, metres for units 2
  double angle = 0;     // radians
  double spacing = 0;   // inches for units 1, metres for units 2
  double stie = 0;      // lateral stiffness per station
  double qtie = 0;      // lateral load per station from the prestress
};

struct StationData {
  int n = 0;       // number of increments N
  double h = 0;    // increment length
  int units = 0;
  double wa = 0;   // width receiving earth pressure; scales the tiebacks

  std::vector<double> F, Q, S, T, R, P;  // P holds the negated axial load
  std::vector<int> code;                 // 1 free .. 5, from the specified rows
  std::vector<double> specDeflection, specSlope;  // by specified row, in order
  std::vector<AppliedMoment> moments;
  std::vector<TiebackData> tiebacks;

  static constexpr int index(int j) { return j + 4; }
  int size() const { return n + 8; }
  bool inRange(int j) const { return j >= -3 && j <= n + 3; }

  // Zeroes every array for a wall of n increments of length h and frees
  // every station.
  void reset(int increments, double incrementLength);
};

// Resets the station data from the solution control record.  N outside
// 1..300 or a non-positive or non-finite h writes an error and stops.
void resetStations(RunState& run, const ProblemInput& input, StationData& sd);

// Sets the station codes and the specified values from the specified
// deflection and slope rows.  A row whose station lies outside -1..N+1 (the
// stations the solution covers) writes an error and stops.
void applySpecifiedRows(RunState& run, const ProblemInput& input, StationData& sd);

// Distributes the stiffness, load, spring and tieback tables onto the
// stations and echoes them as the STIFFNESS AND LOAD DATA block.
void distributeWallTables(RunState& run, const ProblemInput& input, StationData& sd);

// Adds the earth-pressure line loads to Q at stations 1..n, n being
// lastDepth / h rounded.
void addEarthPressureLoads(const EarthPressureTable& table, double lastDepth, StationData& sd);

// Stops the run when stiffness, load or spring data reach below station N.
void checkBeyondEnd(RunState& run, const StationData& sd);

// Nearest integer, halves away from zero, clamped to [lo, hi]; NaN gives lo.
int roundedStation(double value, int lo, int hi);

}  // namespace ramvex
