// Writers of the plot-data file's blocks: earth pressure, p-y curves and
// the results of one analysed set.
#pragma once

#include <vector>

#include "earth_pressure_table.h"
#include "run_state.h"

namespace ramvex {

struct PlotCurve {
  double label = 0;  // node number, or depth when every curve is generated
  std::vector<double> y, p;
};

struct NodeResult {
  double depth = 0, deflection = 0, moment = 0, shear = 0, reaction = 0;
};

void writePlotEarthPressure(TextOutput& plot, const EarthPressureTable& points);
// `depthLabels`: every curve generated, so labels are depths in a fixed field.
void writePlotCurves(TextOutput& plot, int units, const std::vector<PlotCurve>& curves, bool depthLabels);
void writePlotResults(TextOutput& plot, int resultSets, int units, const std::vector<NodeResult>& nodes);

}  // namespace ramvex
