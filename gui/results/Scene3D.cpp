#include "Scene3D.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "SceneSymbols.h"

namespace ramvex {

namespace {

// Column positions of the tables the scene reads.
enum { kRangeKind = 0, kRangeFrom = 1, kRangeTo = 2 };
enum { kSpringLateral = 3 };
enum { kLoadLateral = 3, kLoadMoment = 4, kLoadAxial = 5 };
enum { kRestraintCase = 0, kRestraintNode = 1, kRestraintDeflection = 2, kRestraintSlope = 3 };
enum { kSoilBottom = 1 };
enum { kSurchargeType = 0, kSurchargeLoad = 1, kSurchargeDistance = 2, kSurchargeWidth = 3 };
enum { kTiebackDepth = 0, kTiebackArea = 1, kTiebackFree = 3, kTiebackAngle = 4, kTiebackSpacing = 5 };

constexpr int kInterpolateToNextRow = 2;
constexpr int kSpecifySlope = 2;
constexpr int kPointLoad = 1, kLineLoad = 2, kStripLoad = 3;
// Arrows of a line or strip load stand every wall width over the twenty
// units: 0, +-W, ..., +-10W.
constexpr int kLoadArrowsPerSide = 10;
// Tiebacks drawn per side of the wall's middle at most, so that a spacing
// typed far too small cannot stall the view.
constexpr int kMaxTiebacksPerSide = 1000;

struct TRgb {
  double r, g, b;
};
constexpr TRgb kPlate{0.25, 0.25, 0.25}, kPlateEdge{1, 0.5, 0};
constexpr TRgb kPanel{0.75, 0.75, 0.75}, kPanelEdge{0.9, 0.9, 0};
constexpr TRgb kUndeformed{0.75, 0.75, 0};
constexpr TRgb kSpring{0.5, 0.5, 0.5}, kSpringEdge{1, 0.5, 0};
constexpr TRgb kTieback{0.5, 0.75, 0.75}, kTiebackEdge{1, 0.5, 0};
constexpr TRgb kBlue{0, 0, 1};

void SetColor(TSceneSurface& s, TRgb c, double alpha = 1) { s.Color(c.r, c.g, c.b, alpha); }

// Solid box with its outline, centred at (x, y, z).
void Box(TSceneSurface& s, TVec3 at, TVec3 size, TRgb solid, TRgb edge, double solidAlpha = 1) {
  s.PushMatrix();
  s.Translate(at.x, at.y, at.z);
  SetColor(s, edge);
  DrawPara3D(s, size.x, size.y, size.z);
  SetColor(s, solid, solidAlpha);
  DrawSolidPara3D(s, size.x, size.y, size.z);
  s.PopMatrix();
}

bool IsStrip(const TGridTable& t, int row) { return t.Int(kSurchargeType, row) == kStripLoad; }

}  // namespace

double TSceneExtents::FitHeight() const { return std::max({2 * D, d, b}); }
double TSceneExtents::ReferenceSize() const { return std::min(2 * d, 2 * b); }

std::vector<TNodeRange> NodeRanges(const TGridTable& t, int lastNode) {
  std::vector<TNodeRange> ranges;
  for (int r = 0; r < t.RowCount(); ++r) {
    const int first = t.Int(kRangeFrom, r);
    int last = t.Int(kRangeTo, r);
    const int row = r;
    if (t.Int(kRangeKind, r) == kInterpolateToNextRow && r + 1 < t.RowCount()) last = t.Int(kRangeTo, ++r);
    if (last < first) last = first;
    const int a = std::max(first, 0), b = std::min(last, lastNode);
    if (a <= b) ranges.push_back({row, a, b});
  }
  return ranges;
}

double TScene3D::Length(long double held) const {
  return static_cast<double>(project_.UnitSystem == 1 ? held / 12 : held);
}

int TScene3D::GetWallNIncr() const { return std::max(project_.IncrementCount, 0); }
double TScene3D::GetWallIncr() const { return Length(project_.IncrementLength); }
double TScene3D::GetWallLength() const { return GetWallNIncr() * GetWallIncr(); }
double TScene3D::GetWallWidth() const {
  const double w = Length(project_.ActiveWidth);
  return w == 0 ? 0.1 * GetWallLength() : w;
}
double TScene3D::GetWallThickness() const {
  const double t = 0.1 * Length(project_.PYWidth);
  return t == 0 ? 0.01 * GetWallLength() : t;
}
double TScene3D::ExcavationDepth() const { return Length(project_.FreeHeight); }

double TScene3D::UnitY(int j) const { return GetWallWidth() * (j - (kUnitCount - 1) / 2.0); }

const TSceneExtents& TScene3D::GetMaxDims() {
  const TProjectTables& tables = project_.Tables();
  // Surcharge distances and widths are held in inches or millimetres.
  const double surcharge = project_.UnitSystem == 1 ? 12 : 1000;
  double c = 0;
  if (project_.ApplySurcharge) {
    const TGridTable& t = *tables.SurchargeTable;
    for (int r = 0; r < t.RowCount(); ++r) {
      double e = static_cast<double>(t.Float(kSurchargeDistance, r)) / surcharge;
      if (IsStrip(t, r)) e += static_cast<double>(t.Float(kSurchargeWidth, r)) / surcharge / 2;
      c = std::max(c, 0.9 * e);
    }
  }
  TSceneExtents e;
  e.c = c;
  e.b = 5 * GetWallWidth();
  e.d = std::max(2.5 * e.b, c);
  e.D = GetWallLength();
  const TGridTable& soil = *tables.NewSoil;
  if (soil.RowCount() > 0) e.D = std::max(e.D, static_cast<double>(soil.Float(kSoilBottom, soil.RowCount() - 1)));
  extents_ = e;
  return extents_;
}

bool TScene3D::DeflectionsFitWall() const {
  const int n = GetWallNIncr();
  if (n < 1 || Deflection.size() < static_cast<size_t>(n) + 1) return false;
  for (int k = 0; k <= n; ++k) {
    if (!std::isfinite(Deflection[static_cast<size_t>(k)].Deflection)) return false;
  }
  // The plot file keeps four significant digits of a depth: a wall whose
  // length changed since the run shows at the tip.
  const double L = GetWallLength();
  return std::abs(Deflection[static_cast<size_t>(n)].Depth - L) <= 0.005 * L;
}

void TScene3D::DrawLoading(TSceneSurface&) {}

void TScene3D::DrawPileCap(TSceneSurface& s) {
  deformedDrawn_ = false;
  if (Options.RetainingWall) {
    if (Options.DeformedShape && DeflectionsFitWall()) {
      DrawDeformedWall(s);
      deformedDrawn_ = true;
    } else {
      DrawWall(s);
    }
  }
  if (Options.LateralSprings && project_.ApplySprings) DrawSprings(s);
  if (Options.ConcentratedLoads && project_.ApplyConcentratedLoads) DrawConcentratedLoads(s);
  if (Options.BoundaryConditions && project_.ApplyRestraints) DrawRestraints(s);
  if (Options.TieBacks && project_.ApplyTiebacks) DrawTiebacks(s);
  if (Options.AditionalSurcharge) DrawSurcharges(s);
}

void TScene3D::DrawWall(TSceneSurface& s) {
  const double t = GetWallThickness(), W = GetWallWidth(), L = GetWallLength();
  for (int j = 0; j < kUnitCount; ++j) {
    const double y = UnitY(j);
    Box(s, {0, y, 0}, {t, W, 0}, kPlate, kPlateEdge);
    Box(s, {0, y, -L / 2}, {t, W, L}, kPanel, kPanelEdge);
  }
}

void TScene3D::DrawDeformedWall(TSceneSurface& s) {
  const int n = GetWallNIncr();
  const double h = GetWallIncr(), t = GetWallThickness(), L = GetWallLength();
  // Deflections are held in inches in US customary projects, whose scene
  // runs in feet; a factor of 1 draws the wall at true scale.
  const double unit = project_.UnitSystem == 1 ? 1.0 / 12 : 1.0;
  std::vector<double> dx(static_cast<size_t>(n) + 1);
  for (int k = 0; k <= n; ++k) dx[static_cast<size_t>(k)] = Deflection[static_cast<size_t>(k)].Deflection * Options.DeformationFactor * unit;

  // Corners in (x, z) on the excavation (plus) and backfill (minus) face.
  // Inside the wall a corner sits on the mean of the two segments' normals,
  // so neighbouring bricks share it and the bent wall shows no gaps.
  struct TXZ {
    double x, z;
  };
  std::vector<std::array<TXZ, 4>> segments;  // top plus, top minus, bottom plus, bottom minus
  TXZ topPlus{}, topMinus{};
  for (int i = 1; i <= n; ++i) {
    const double delta = dx[static_cast<size_t>(i)] - dx[static_cast<size_t>(i) - 1];
    const double A = std::sqrt(delta * delta + h * h);
    const double p = t / 2 * h / A, q = t / 2 * delta / A;
    if (i == 1) {
      topPlus = {dx[0] + p, q};
      topMinus = {dx[0] - p, -q};
    }
    TXZ bottomPlus, bottomMinus;
    if (i == n) {
      bottomPlus = {dx[static_cast<size_t>(n)] + p, -n * h + q};
      bottomMinus = {dx[static_cast<size_t>(n)] - p, -n * h - q};
    } else {
      const double next = dx[static_cast<size_t>(i) + 1] - dx[static_cast<size_t>(i)];
      const double G = std::sqrt(h * h + next * next);
      const double gx = h / G, gz = next / G;
      const double ox = t / 4 * (h / A + gx), oz = t / 4 * (delta / A + gz);
      bottomPlus = {dx[static_cast<size_t>(i)] + ox, -i * h + oz};
      bottomMinus = {dx[static_cast<size_t>(i)] - ox, -i * h - oz};
    }
    segments.push_back({topPlus, topMinus, bottomPlus, bottomMinus});
    topPlus = bottomPlus;
    topMinus = bottomMinus;
  }

  for (int j = 0; j < kUnitCount; ++j) {
    const double y0 = UnitY(j) - t / 2, y1 = UnitY(j) + t / 2;
    for (const auto& c : segments) {
      const std::array<TVec3, 8> brick = {
          TVec3{c[0].x, y0, c[0].z}, {c[1].x, y0, c[1].z}, {c[3].x, y0, c[3].z}, {c[2].x, y0, c[2].z},
          TVec3{c[0].x, y1, c[0].z}, {c[1].x, y1, c[1].z}, {c[3].x, y1, c[3].z}, {c[2].x, y1, c[2].z}};
      SetColor(s, kPanelEdge);
      DrawHexahedron(s, brick);
      SetColor(s, kPanel);
      DrawSolidHexahedron(s, brick);
    }
    if (Options.UndeformedModel) {
      s.PushMatrix();
      s.Translate(0, UnitY(j), -L / 2);
      SetColor(s, kUndeformed);
      DrawPara3D(s, t, t, L);
      s.PopMatrix();
    }
  }
}

void TScene3D::DrawSprings(TSceneSurface& s) {
  const double h = GetWallIncr(), t = GetWallThickness(), d = extents_.d;
  const auto ranges = NodeRanges(*project_.Tables().SoilStrength, GetWallNIncr());
  for (int j = 0; j < kUnitCount; ++j) {
    for (const TNodeRange& r : ranges) {
      for (int k = r.First; k <= r.Last; ++k) {
        Box(s, {-d / 4, UnitY(j), -k * h}, {d / 2, t, h / 2}, kSpring, kSpringEdge);
      }
    }
  }
}

void TScene3D::DrawConcentratedLoads(TSceneSurface& s) {
  const TGridTable& t = *project_.Tables().BoundCond;
  const double h = GetWallIncr(), W = GetWallWidth();
  const auto ranges = NodeRanges(t, GetWallNIncr());
  for (int j = 0; j < kUnitCount; ++j) {
    for (const TNodeRange& r : ranges) {
      const double lateral = static_cast<double>(t.Float(kLoadLateral, r.Row));
      const double moment = static_cast<double>(t.Float(kLoadMoment, r.Row));
      const double axial = static_cast<double>(t.Float(kLoadAxial, r.Row));
      for (int k = r.First; k <= r.Last; ++k) {
        s.PushMatrix();
        s.Translate(0, UnitY(j), -k * h);
        DrawForce(s, 1, 3, lateral, 4 * W / 3);
        DrawMoment(s, 2, moment, 4 * W);
        // A positive axial load presses down on the node.
        DrawForce(s, 3, 1, -axial, 4 * W / 3);
        s.PopMatrix();
      }
    }
  }
}

void TScene3D::DrawRestraints(TSceneSurface& s) {
  const TGridTable& t = *project_.Tables().SoilLayer;
  const double h = GetWallIncr(), W = GetWallWidth();
  const int n = GetWallNIncr();
  for (int j = 0; j < kUnitCount; ++j) {
    for (int r = 0; r < t.RowCount(); ++r) {
      const int k = t.Int(kRestraintNode, r);
      if (k < 0 || k > n) continue;
      s.PushMatrix();
      s.Translate(0, UnitY(j), -k * h);
      if (t.Int(kRestraintCase, r) == kSpecifySlope) {
        DrawSlope(s, 2, static_cast<double>(t.Float(kRestraintSlope, r)), 2 * W);
      } else {
        DrawDispl(s, 1, 3, static_cast<double>(t.Float(kRestraintDeflection, r)), 2 * W / 3);
      }
      s.PopMatrix();
    }
  }
}

void TScene3D::DrawTiebacks(TSceneSurface& s) {
  const TGridTable& t = *project_.Tables().TiebackTable1;
  // The active width itself, not the panel width's substitute: a wall
  // without a width has no tieback rows to space.
  const double wa = Length(project_.ActiveWidth);
  for (int r = 0; r < t.RowCount(); ++r) {
    const double spacing = static_cast<double>(t.Float(kTiebackSpacing, r));
    if (!(spacing > 0)) continue;
    const double perSide = std::round(10 * wa / spacing);
    if (!(perSide >= 1)) continue;
    const int count = static_cast<int>(std::min<double>(perSide, kMaxTiebacksPerSide));
    const double depth = static_cast<double>(t.Float(kTiebackDepth, r));
    const double free = static_cast<double>(t.Float(kTiebackFree, r));
    const double angle = static_cast<double>(t.Float(kTiebackAngle, r));
    const double area = std::max(0.0, static_cast<double>(t.Float(kTiebackArea, r)));
    // Rod areas are held in square inches or square millimetres.
    double a = project_.UnitSystem == 2 ? std::sqrt(area / 1e6) : std::sqrt(area);
    if (project_.UnitSystem == 1) a /= 12;
    for (int c = 0; c < count; ++c) {
      for (int sign : {-1, 1}) {
        s.PushMatrix();
        s.Translate(0, sign * spacing * (c + 0.5), -depth);
        // Turned from +x into the backfill, inclined down by the angle.
        s.Rotate(180 - angle, 0, 1, 0);
        Box(s, {free / 2, 0, 0}, {free, a, a}, kTieback, kTiebackEdge);
        Box(s, {free * 17 / 16, 0, 0}, {free / 8, 4 * a, 4 * a}, kTieback, kTiebackEdge);
        s.PopMatrix();
      }
    }
  }
}

void TScene3D::DrawSurcharges(TSceneSurface& s) {
  const TGridTable& t = *project_.Tables().SurchargeTable;
  const double W = GetWallWidth();
  const double surcharge = project_.UnitSystem == 1 ? 12 : 1000;
  auto force = [&](double x, double y, double z, int colour, double value, double size) {
    s.PushMatrix();
    s.Translate(x, y, z);
    DrawForce(s, 3, colour, value, size);
    s.PopMatrix();
  };
  for (int r = 0; r < t.RowCount(); ++r) {
    const double x0 = -static_cast<double>(t.Float(kSurchargeDistance, r)) / surcharge;
    const double P = static_cast<double>(t.Float(kSurchargeLoad, r));
    switch (t.Int(kSurchargeType, r)) {
      case kPointLoad:
        for (int j = 0; j < kUnitCount; ++j) force(x0, UnitY(j), 0, 3, -P, 4 * W / 3);
        break;
      case kLineLoad:
        for (int i = -kLoadArrowsPerSide; i <= kLoadArrowsPerSide; ++i) force(x0, i * W, 0, 2, -P, W);
        SetColorIndex(s, 2);
        s.Begin(TPrimitive::Lines);
        for (double z : {0.0, W}) {
          s.Vertex(x0, -kLoadArrowsPerSide * W, z);
          s.Vertex(x0, kLoadArrowsPerSide * W, z);
        }
        s.End();
        break;
      case kStripLoad: {
        const double B = static_cast<double>(t.Float(kSurchargeWidth, r)) / surcharge;
        const double e = B / 2;
        for (double x : {x0 - e, x0, x0 + e}) {
          for (int i = -kLoadArrowsPerSide; i <= kLoadArrowsPerSide; ++i) force(x, i * W, 0, 1, -P, 2 * W / 3);
        }
        s.Enable(TCapability::Blend);
        for (int j = 0; j < kUnitCount; ++j) Box(s, {x0, UnitY(j), W / 3}, {B, W, 2 * W / 3}, kBlue, kBlue, 0.25);
        s.Disable(TCapability::Blend);
        break;
      }
      default: break;
    }
  }
}

void TScene3D::DrawSoilLayers(TSceneSurface& s) {
  if (!project_.GeneratePYCurves) return;
  if (Options.SoilLayers) DrawLayers(s);
  if (Options.WaterLevel) DrawWater(s);
}

void TScene3D::DrawLayers(TSceneSurface& s) {
  const TGridTable& soil = *project_.Tables().NewSoil;
  const double d = extents_.d, b = extents_.b, t = GetWallThickness();
  const double H = ExcavationDepth(), L = GetWallLength();
  enum TSide { kRetained, kExcavation, kLeft, kRight };
  const double xs[4][2] = {{-2 * d, -t / 2}, {t / 2, 2 * d}, {-2 * d, 0}, {0, 2 * d}};
  s.Enable(TCapability::Blend);
  for (int k = 0; k < soil.RowCount(); ++k) {
    const double top = k == 0 ? 0 : static_cast<double>(soil.Float(kSoilBottom, k - 1));
    const double bottom = static_cast<double>(soil.Float(kSoilBottom, k));
    auto block = [&](std::initializer_list<TSide> sides, double from, double to) {
      // A layer entered above the previous one, or an excavation below the
      // tip, leaves an empty range: nothing to draw there.
      if (!(to > from)) return;
      for (TSide side : sides) {
        const double x0 = xs[side][0], x1 = xs[side][1];
        s.PushMatrix();
        s.Translate((x0 + x1) / 2, 0, -(from + to) / 2);
        SetColorLayer(s, k);
        DrawPara3D(s, x1 - x0, 4 * b, to - from);
        SetColorLayer(s, k, 0.5);
        DrawSolidPara3D(s, x1 - x0, 4 * b, to - from);
        s.PopMatrix();
      }
    };
    // The wall splits a layer into a block on each side, leaving its
    // thickness free; below the tip the block runs through; above the
    // excavation level there is soil on the retained side only.
    if (bottom <= H) {
      block({kRetained}, top, bottom);
    } else if (top < H) {
      block({kRetained}, top, H);
      if (bottom < L) {
        block({kRetained, kExcavation}, H, bottom);
      } else {
        block({kRetained, kExcavation}, H, L);
        block({kLeft, kRight}, L, bottom);
      }
    } else if (top <= L) {
      if (bottom < L) {
        block({kRetained, kExcavation}, top, bottom);
      } else {
        block({kRetained, kExcavation}, top, L);
        block({kLeft, kRight}, L, bottom);
      }
    } else {
      block({kLeft, kRight}, top, bottom);
    }
  }
  s.Disable(TCapability::Blend);
}

void TScene3D::DrawWater(TSceneSurface& s) {
  const double d = extents_.d, b = extents_.b;
  const double m = 4 * GetWallIncr();
  struct TPlane {
    double z, x0, x1, markerX0, markerAlpha;
  };
  const TPlane planes[2] = {
      {-Length(project_.WaterDepthBackfill), -2 * d, 0, -2 * d + m, 0.5},
      {-Length(project_.WaterDepthExcavation), 0, 2 * d, m, 0.75},
  };
  s.Enable(TCapability::Blend);
  for (const TPlane& p : planes) {
    const TVec3 corners[4] = {{p.x0, -2 * b, p.z}, {p.x1, -2 * b, p.z}, {p.x1, 2 * b, p.z}, {p.x0, 2 * b, p.z}};
    SetColor(s, kBlue);
    s.Begin(TPrimitive::LineLoop);
    for (const TVec3& c : corners) s.Vertex(c.x, c.y, c.z);
    s.End();
    // The plane is seen from above and from below, so both windings are
    // drawn; culling keeps one of them.
    SetColor(s, kBlue, 0.75);
    for (bool up : {true, false}) {
      s.Begin(TPrimitive::TriangleFan);
      s.Vertex((p.x0 + p.x1) / 2, 0, p.z);
      for (int i = 0; i <= 4; ++i) {
        const TVec3& c = corners[(up ? i : 4 - i) % 4];
        s.Vertex(c.x, c.y, c.z);
      }
      s.End();
    }
    for (int i = 0; i <= 4; ++i) {
      for (int j = 0; j <= 4; ++j) {
        s.PushMatrix();
        s.Translate(p.markerX0 + i * (2 * d - 2 * m) / 4, -2 * b + m + j * (b - m), p.z);
        SetColor(s, kBlue);
        DrawPyramid3D(s, m);
        SetColor(s, kBlue, p.markerAlpha);
        DrawSolidPyramid3D(s, m);
        s.PopMatrix();
      }
    }
  }
  s.Disable(TCapability::Blend);
}

}  // namespace ramvex
