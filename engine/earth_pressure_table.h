// The earth-pressure table of a problem as the wall solution uses it: line
// loads (pressure times the loaded width) at depths from the top of the wall.
// Option 1 builds it from the user rows (plus surcharges), options 2 and 3
// from the generated pressures read back from "BMWALL.001".
#pragma once

#include <vector>

namespace ramvex {

struct EarthPressurePoint {
  double depth = 0;
  double total = 0;      // force per length of wall height
  double soil = 0;       // part from the soil (and water)
  double surcharge = 0;  // part from surcharge loads
};

using EarthPressureTable = std::vector<EarthPressurePoint>;

}  // namespace ramvex
