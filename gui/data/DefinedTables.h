// The input tables of a project, created from their definitions when the
// main window is created.  Soil parameter, p-y curve and moment-EI templates
// are tables of their own that the nested-table columns copy by identifier.
#pragma once

#include <memory>
#include <vector>

#include "Table.h"

namespace ramvex {

struct TProjectTables {
  // The set the tables belong to: their templates are looked up in it.
  std::shared_ptr<TTableScope> Scope;
  // Plain tables, in definition order.
  std::unique_ptr<TGridTable> PileSect, SoilLayer, SoilStrength, PYMod, DistLoad, LongDist, BoundCond, NewSoil,
      LongSoil, SurchargeTable, TiebackTable1, TblClay1, TblSand1, TblSilt1, TblRock1, TblRock2;
  // Chart-previewing tables.
  std::unique_ptr<TGridTableChart> PYCurves2, PYCurve2, MEICurves2, Rows2;

  // Every table, plain ones first, in definition order.
  std::vector<TGridTable*> All() const;
  std::vector<TGridTable*> Plain() const;
};

// Creates the tables with their definitions and MinRows rows each.  The
// identifiers are those the nested-table columns look for, within the set:
// several sets may exist at once.
std::unique_ptr<TProjectTables> CreateProjectTables();

// Template position of a soil type code (1..7) in the soil layer tables.
enum TSoilType { kSoftClay = 1, kStiffClayWater, kStiffClayDry, kSand, kSilt, kStrongRock, kWeakRock };

}  // namespace ramvex
