#include "ResultGraphs.h"

namespace ramvex {

namespace {

void Design(TGraphPlot& g, const char* caption, const char* curveName, const char* xCaption, const char* xUnits,
            const char* yCaption, const char* yUnits, bool xOnTop = true) {
  g.Caption = caption;
  g.CurveName = curveName;
  g.XCaption = xCaption;
  g.XUnits = xUnits;
  g.YCaption = yCaption;
  g.YUnits = yUnits;
  g.XOnTop = xOnTop;
  g.ShowLegend = true;
  g.Markers = 1;
}

}  // namespace

TResultGraphs::TResultGraphs() {
  Design(pltPY, "p-y Curves", "Depth ", "y", "L", "p", "F/L", false);
  Design(pltDef, "Deflection vs Depth", "Load #", "Deflection", "L", "Depth", "");
  Design(pltMom, "Moment vs Depth", "Load #", "Bending Moment", "", "Depth", "");
  Design(pltShear, "Shear vs Depth", "Load #", "Shear", "", "Depth", "");
  Design(pltSoil, "Net Reaction vs Depth", "Load #", "Reaction", "F", "Depth", "");
  Design(pltLD, "Earth Pressure Distribution", "Curve #", "Distributed load", "F/L", "Depth", "");
  Design(pltDMS, "Deflection, Moment, Shear vs Depth", "Curve #", "Deflection", "L", "Depth", "");
  Design(PltCombine, "Earth Pressure Combined", "Curve #", "Distributed Load", "F/L", "Depth", "L2");
}

std::vector<TGraphPlot*> TResultGraphs::All() {
  return {&pltPY, &pltDef, &pltMom, &pltShear, &pltSoil, &pltLD, &pltDMS, &PltCombine};
}

}  // namespace ramvex
