// The block model of a project for the three-dimensional view: the wall as
// twenty panels, the soil layers as translucent blocks, the water tables, and
// the loads, restraints, springs, tiebacks and surcharges as symbols.
//
// Frame: right-handed, x across the wall (negative toward the backfill), y
// along it, z up; the origin at the top of the wall on its middle plane,
// halfway along its length.  Scene unit: feet in US customary projects,
// otherwise the project's length unit as held.
#pragma once

#include <vector>

#include "ProgramData.h"
#include "SceneSurface.h"

namespace ramvex {

// The elements the user switched on in the view.
struct TSceneOptions {
  bool RetainingWall = true;
  bool SoilLayers = true;
  bool WaterLevel = true;
  bool AditionalSurcharge = true;
  bool ConcentratedLoads = true;
  bool TieBacks = true;
  bool BoundaryConditions = true;
  bool LateralSprings = true;
  bool DeformedShape = false;
  bool UndeformedModel = false;
  // Multiplier of the computed deflections; negative bends the other way.
  double DeformationFactor = 1;
};

// One node of the computed deflected wall, as the deflection graph holds it:
// the deflection in the project's deflection unit (inches in US customary
// projects, metres in SI) and the depth in the graph's depth unit (feet or
// metres).  Node 0 is the top of the wall.
struct TNodeDeflection {
  double Deflection = 0;
  double Depth = 0;
};

// Sizes that frame the scene, computed once per view window.
struct TSceneExtents {
  double c = 0;  // reach of the surcharges from the wall
  double b = 0;  // half the ground's length along the wall
  double d = 0;  // half the ground's width across the wall
  double D = 0;  // depth of the model: wall or deepest layer
  double FitWidth() const { return 2 * d; }
  double FitHeight() const;
  double ReferenceSize() const;
  // z of the scene's centre; x and y are 0.
  double CentreZ() const { return -D / 2; }
};

class TScene3D {
 public:
  explicit TScene3D(const TProgramData& project) : project_(project) {}

  TSceneOptions Options;
  // Curve 0 of the deflection graph, read again at every rebuild.
  std::vector<TNodeDeflection> Deflection;

  // Wall quantities in scene units.
  int GetWallNIncr() const;
  double GetWallIncr() const;
  double GetWallLength() const;
  double GetWallWidth() const;
  double GetWallThickness() const;
  double ExcavationDepth() const;

  // Computes the extents from the project and keeps them for the builders.
  const TSceneExtents& GetMaxDims();
  const TSceneExtents& Extents() const { return extents_; }
  void SetExtents(const TSceneExtents& e) { extents_ = e; }

  // Builders of the structure list (wall, springs, loads, restraints,
  // tiebacks, surcharges), the ground list (soil layers and water) and the
  // empty loading list.  Each leaves the surface's transform as it found it.
  void DrawPileCap(TSceneSurface& s);
  void DrawSoilLayers(TSceneSurface& s);
  void DrawLoading(TSceneSurface& s);

  // Whether the deformed shape was asked for and the deflections fit the
  // wall, so that the last DrawPileCap drew it.  When they do not (the wall
  // changed since the run) the plain wall is drawn instead.
  bool DeformedShapeDrawn() const { return deformedDrawn_; }
  bool DeflectionsFitWall() const;

  // Centre of wall unit j (0..19) along y.
  double UnitY(int j) const;
  static constexpr int kUnitCount = 20;

 private:
  double Length(long double heldValue) const;  // held length to scene units
  void DrawWall(TSceneSurface& s);
  void DrawDeformedWall(TSceneSurface& s);
  void DrawSprings(TSceneSurface& s);
  void DrawConcentratedLoads(TSceneSurface& s);
  void DrawRestraints(TSceneSurface& s);
  void DrawTiebacks(TSceneSurface& s);
  void DrawSurcharges(TSceneSurface& s);
  void DrawLayers(TSceneSurface& s);
  void DrawWater(TSceneSurface& s);

  const TProgramData& project_;
  TSceneExtents extents_;
  bool deformedDrawn_ = false;
};

// Nodes of a spring or concentrated-load table, with the row whose values
// they take.  A row covers its From to its To node; a row marked for
// interpolation runs to the To node of the next row, which is then skipped.
// Nodes beyond the wall (0..lastNode) are left out.
struct TNodeRange {
  int Row = 0;
  int First = 0;
  int Last = 0;
};
std::vector<TNodeRange> NodeRanges(const TGridTable& table, int lastNode);

}  // namespace ramvex
