#include "InputEcho.h"

#include <string>

#include "ProgramData.h"
#include "ResultsSummary.h"
#include "Units.h"

namespace ramvex {

namespace {

std::string Number(long double v) { return NumberText(static_cast<double>(v), 6); }

// The menu command's caption without its accelerator mark.
std::string UnitSystemText(int system) {
  std::string s = UnitSystemCaption(system);
  std::erase(s, '&');
  return s;
}

const char* YesNo(bool v) { return v ? "yes" : "no"; }

const char* EarthPressureText(const TProgramData& p) {
  if (p.UserEarthPressure) return "user-specified distribution";
  if (!p.GeneratedEarthPressure) return "none";
  return p.EarthPressureMode == 3 ? "generated, trapezoidal (anchored wall)" : "generated, triangular";
}

const char* PYText(const TProgramData& p) {
  if (p.GeneratePYCurves) return p.ApplyExternalPYCurves ? "generated from the soil layers and user curves"
                                                         : "generated from the soil layers";
  return p.ApplyExternalPYCurves ? "user curves" : "none";
}

}  // namespace

void EchoTable(const TGridTable& table, std::vector<TEchoTable>& out) {
  TEchoTable t;
  t.Caption = table.Owner() ? table.EditorTitle() : table.Caption();
  std::vector<const TGridTable*> nested;
  const int columns = table.VisibleColumnCount();
  for (int c = 0; c < columns; ++c) {
    const TColumn* col = table.VisibleColumn(c);
    std::string heading;
    for (int i = 0; i < col->HeaderLineCount(); ++i) {
      std::string line = col->HeaderLine(i);
      while (!line.empty() && line.back() == ' ') line.pop_back();
      if (line.empty()) continue;
      heading += (heading.empty() ? "" : " ") + line;
    }
    t.Heading.push_back(heading);
  }
  for (int r = 0; r < table.RowCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < columns; ++c) {
      const TColumn* col = table.VisibleColumn(c);
      if (col->TypeId() == TTableColumn::kTypeId) {
        const TGridTable* n = col->GetTable(r);
        row.push_back(n ? "table below" : "");
        if (n) nested.push_back(n);
      } else {
        row.push_back(col->GetText(r));
      }
    }
    t.Rows.push_back(std::move(row));
  }
  out.push_back(std::move(t));
  for (const TGridTable* n : nested) EchoTable(*n, out);
}

std::vector<TEchoTable> EchoInput(const TProgramData& p) {
  std::vector<TEchoTable> out;
  const std::string L = RenderUnits("L", p.UnitSystem);
  TEchoTable wall;
  wall.Caption = "Wall and Analysis";
  wall.Heading = {"Item", "Value", "Unit"};
  wall.Rows = {
      {"Number of increments", std::to_string(p.IncrementCount), ""},
      {"Increment length", Number(p.IncrementLength), L},
      {"Wall length", Number(p.IncrementLength * p.IncrementCount), L},
      {"Free height of wall", Number(p.FreeHeight), L},
      {"Maximum allowable deflection", Number(p.MaxDeflection), L},
      {"Deflection closure tolerance", Number(p.ClosureTolerance), L},
      {"Width for active pressure (WA)", Number(p.ActiveWidth), L},
      {"Width for soil resistance (WP)", Number(p.PYWidth), L},
      {"Water depth, backfill side", Number(p.WaterDepthBackfill), L},
      {"Water depth, excavation side", Number(p.WaterDepthExcavation), L},
      {"Backfill slope", Number(p.BackfillSlope), "deg"},
      {"Active pressure factor", Number(p.ActivePressureFactor), ""},
  };
  out.push_back(std::move(wall));

  TEchoTable options;
  options.Caption = "Options";
  options.Heading = {"Option", "Setting"};
  options.Rows = {
      {"Unit system", UnitSystemText(p.UnitSystem)},
      {"Earth pressure", EarthPressureText(p)},
      {"p-y curves", PYText(p)},
      {"p-y modification factors", YesNo(p.ApplyPYModification)},
      {"Specified deflections and slopes", YesNo(p.ApplyRestraints)},
      {"Concentrated loads", YesNo(p.ApplyConcentratedLoads)},
      {"Springs", YesNo(p.ApplySprings)},
      {"Tiebacks", YesNo(p.ApplyTiebacks)},
      {"Surcharge loads", YesNo(p.ApplySurcharge)},
      {"Moment-EI curves", YesNo(p.ApplyEICurves)},
      {"Long-term analysis", YesNo(p.LongTermAnalysis)},
      {"Construction stages", std::to_string(p.StageCount)},
  };
  out.push_back(std::move(options));

  const TProjectTables& t = p.Tables();
  EchoTable(*t.PileSect, out);
  if (p.GeneratedEarthPressure || p.GeneratePYCurves) EchoTable(*t.NewSoil, out);
  if (p.LongTermAnalysis && (p.GeneratedEarthPressure || p.GeneratePYCurves)) EchoTable(*t.LongSoil, out);
  if (p.UserEarthPressure) EchoTable(*t.DistLoad, out);
  if (p.UserEarthPressure && p.LongTermAnalysis) EchoTable(*t.LongDist, out);
  if (p.ApplySurcharge) EchoTable(*t.SurchargeTable, out);
  if (p.ApplyConcentratedLoads) EchoTable(*t.BoundCond, out);
  if (p.ApplyTiebacks) EchoTable(*t.TiebackTable1, out);
  if (p.ApplySprings) EchoTable(*t.SoilStrength, out);
  if (p.ApplyRestraints) EchoTable(*t.SoilLayer, out);
  if (p.ApplyPYModification) EchoTable(*t.PYMod, out);
  if (p.ApplyExternalPYCurves) EchoTable(*t.PYCurves2, out);
  if (p.ApplyEICurves) EchoTable(*t.MEICurves2, out);
  return out;
}

}  // namespace ramvex
