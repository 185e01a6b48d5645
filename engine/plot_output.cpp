#include "plot_output.h"

#include <string>

#include "fortran_format.h"

namespace ramvex {

void writePlotEarthPressure(TextOutput& plot, const EarthPressureTable& points) {
  plot.line(fmt::Record().I(static_cast<long long>(points.size()), 5));
  for (const EarthPressurePoint& p : points) {
    // An exact zero soil part is written as 1.0E-7, a value the graphs
    // have always received for it.
    const double soil = p.soil == 0.0 ? 1.0e-7 : p.soil;
    plot.line(fmt::Record().X(2).E(p.depth, 10, 3).X(2).E(p.total, 10, 3).X(2).E(soil, 10, 3).X(2).E(p.surcharge, 10, 3));
  }
}

void writePlotCurves(TextOutput& plot, int units, const std::vector<PlotCurve>& curves, bool depthLabels) {
  plot.line(" " + fmt::freeInt(units) + " " + fmt::freeInt(static_cast<long long>(curves.size())));
  for (const PlotCurve& c : curves) {
    const long long n = static_cast<long long>(c.y.size());
    if (depthLabels) plot.line(fmt::Record().X(1).F(c.label, 10, 2).X(1).I(n, 5));
    else plot.line(" " + fmt::freeInt(static_cast<long long>(c.label)) + " " + fmt::freeInt(n));
    for (size_t k = 0; k < c.y.size(); ++k) plot.line(" " + fmt::freeReal(c.y[k]) + " " + fmt::freeReal(c.p[k]));
  }
}

void writePlotResults(TextOutput& plot, int resultSets, int units, const std::vector<NodeResult>& nodes) {
  plot.line(" " + fmt::freeInt(resultSets) + " " + fmt::freeInt(static_cast<long long>(nodes.size())) + " " +
            fmt::freeInt(units));
  for (const NodeResult& n : nodes)
    plot.line(fmt::Record().X(1).E(n.depth, 13, 4).X(1).E(n.deflection, 13, 4).X(1).E(n.moment, 13, 4)
                  .X(1).E(n.shear, 13, 4).X(1).E(n.reaction, 13, 4));
}

}  // namespace ramvex
