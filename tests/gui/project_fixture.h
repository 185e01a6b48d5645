// A project that fills every table of the data file, for round trips and
// for runs of the engine on the written file.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ProgramData.h"

namespace ramvex::test {

// Whole files, byte for byte, so line ends stay as written.
inline std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteText(const std::filesystem::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

inline void SetRow(TGridTable& t, int row, std::initializer_list<long double> values) {
  int c = 0;
  for (long double v : values) {
    TColumn* col = t.Column(c++);
    if (dynamic_cast<TFloatColumn*>(col)) {
      col->SetFloat(row, v);
    } else {
      col->SetInt(row, static_cast<int>(v));
    }
  }
}

// US customary values as the dialogs and tables hold them: feet for depths,
// per cubic foot and per square foot for soil rows.
inline void FillFullProject(TProgramData& d) {
  TProjectTables& t = d.Tables();
  d.NewProject();
  d.Title = "Anchored wall using every table";
  d.IncrementCount = 60;
  d.IncrementLength = 6;
  d.MaxDeflection = 10;
  d.ClosureTolerance = 0.001L;
  d.FreeHeight = 120;
  d.ActiveWidth = 12;
  d.PYWidth = 12;
  d.WaterDepthBackfill = 240;
  d.WaterDepthExcavation = 300;
  d.ActivePressureFactor = 1;
  d.BackfillSlope = 5;
  d.SurfacePressure = 0.5L;
  d.EarthPressureMode = 3;
  d.ApplyRestraints = d.ApplyConcentratedLoads = d.ApplySprings = d.ApplyTiebacks = d.ApplyPYModification = true;
  d.ApplySurcharge = d.ApplyExternalPYCurves = d.ApplyEICurves = true;

  t.SoilLayer->SetRowCount(1);
  SetRow(*t.SoilLayer, 0, {1, 60, 0, 0});
  t.PileSect->SetRowCount(2);
  SetRow(*t.PileSect, 0, {0, 30, 2, 5.336E9L});
  SetRow(*t.PileSect, 1, {31, 60, 1, 6.5E9L});
  t.BoundCond->SetRowCount(1);
  SetRow(*t.BoundCond, 0, {1, 0, 0, 1500, 2000, 300});
  t.SoilStrength->SetRowCount(1);
  SetRow(*t.SoilStrength, 0, {1, 50, 50, 2500, 0});
  t.TiebackTable1->SetRowCount(1);
  SetRow(*t.TiebackTable1, 0, {5, 1.5L, 29000000, 20, 15, 8, 20000});
  t.PYMod->SetRowCount(2);
  SetRow(*t.PYMod, 0, {10, 0.8L, 1});
  SetRow(*t.PYMod, 1, {30, 0.9L, 1.1L});
  t.SurchargeTable->SetRowCount(3);
  SetRow(*t.SurchargeTable, 0, {1, 1000, 60, 0});
  SetRow(*t.SurchargeTable, 1, {2, 50, 80, 0});
  SetRow(*t.SurchargeTable, 2, {3, 2, 100, 40});

  // Seven layers, one per soil type, each with a top and a bottom row.
  t.NewSoil->SetRowCount(7);
  const long double rows[7][2][6] = {
      {{110, 400, 0.02L, 30, 0.4L}, {112, 500, 0.02L, 30, 0.4L}},
      {{115, 1200, 0.007L, 500, 0}, {116, 1300, 0.007L, 500, 0}},
      {{118, 1500, 0.005L, 0, 0}, {118, 1600, 0.005L, 0, 0}},
      {{120, 32, 90, 0.3L}, {121, 33, 90, 0.3L}},
      {{119, 30, 200, 0.01L, 60, 0}, {119, 31, 220, 0.01L, 60, 0}},
      {{140, 5000}, {140, 5000}},
      {{135, 800, 0.0005L, 200000, 40}, {136, 850, 0.0005L, 210000, 45}},
  };
  const int columns[7] = {5, 5, 5, 4, 6, 2, 5};
  for (int i = 0; i < 7; ++i) {
    t.NewSoil->Column(0)->SetInt(i, i + 1);
    t.NewSoil->Column(1)->SetFloat(i, 4.0L * (i + 1));
    TGridTable* p = t.NewSoil->Nested(2, i);
    for (int r = 0; r < 2; ++r) {
      for (int c = 0; c < columns[i]; ++c) p->Column(c)->SetFloat(r, rows[i][r][c]);
    }
  }

  t.PYCurves2->SetRowCount(2);
  for (int i = 0; i < 2; ++i) {
    SetRow(*t.PYCurves2, i, {40.0L + 10 * i});
    t.PYCurves2->Column(2)->SetFloat(i, 1 + 0.5L * i);
    t.PYCurves2->Column(3)->SetFloat(i, 1);
    TGridTable* c = t.PYCurves2->Nested(1, i);
    c->SetRowCount(3);
    SetRow(*c, 0, {-1, 500});
    SetRow(*c, 1, {0, 0});
    SetRow(*c, 2, {1, -500});
  }
  t.MEICurves2->SetRowCount(1);
  SetRow(*t.MEICurves2, 0, {0, 60});
  TGridTable* mei = t.MEICurves2->Nested(2, 0);
  mei->SetRowCount(3);
  SetRow(*mei, 0, {0, 5.336E9L});
  SetRow(*mei, 1, {2.0E6L, 5.0E9L});
  SetRow(*mei, 2, {4.0E6L, 2.0E9L});
}

}  // namespace ramvex::test
