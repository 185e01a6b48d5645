// The drawing vocabulary of the block model: boxes, pyramids, arrows and
// rotation arcs.  Every symbol is drawn around the surface's current origin;
// the caller moves the origin to the symbol's point first.
#pragma once

#include <array>

#include "SceneSurface.h"

namespace ramvex {

struct TVec3 {
  double x = 0, y = 0, z = 0;
};

// Straight pieces of every circle and cone, and pieces of a rotation arc.
constexpr int kCircleSegments = 40;
// Sides of the thin tube of a rotation arc.
constexpr int kArcTubeSegments = 12;
// Fill opacity of the arrows and arcs, so that the wall shows through them.
constexpr double kSymbolFillAlpha = 0.6;

// Colours by symbol code: 1 blue, 2 green, 3 red; other codes black.
void SetColorIndex(TSceneSurface& s, int code, double alpha = 1);
// Colour of the soil layer with index k (0 for the first layer), repeating
// after ten layers.
void SetColorLayer(TSceneSurface& s, int k, double alpha = 1);

// Box centred on the origin; a size of 0 gives a flat box.
void DrawPara3D(TSceneSurface& s, double sx, double sy, double sz);
void DrawSolidPara3D(TSceneSurface& s, double sx, double sy, double sz);

// Six-faced solid given by its corners: 0-3 one end face, 4-7 the other,
// corner i + 4 opposite corner i.  The faces are wound outward whatever the
// order, so the solid survives back-face culling.
void DrawHexahedron(TSceneSurface& s, const std::array<TVec3, 8>& c);
void DrawSolidHexahedron(TSceneSurface& s, const std::array<TVec3, 8>& c);

// Inverted pyramid: apex at the origin, square base of side size lying
// size above it.
void DrawPyramid3D(TSceneSurface& s, double size);
void DrawSolidPyramid3D(TSceneSurface& s, double size);

// Arrow along +x (kind 1), +y (kind 2) or +z (kind 3), size long; a negative
// value turns it round and a zero value draws nothing.  A force ends with
// its tip at the origin, a displacement starts with its tail there.
void DrawForce(TSceneSurface& s, int kind, int colorCode, double value, double size);
void DrawDispl(TSceneSurface& s, int kind, int colorCode, double value, double size);

// Half-ring arrow about y, over the origin, head down at +x for a positive
// value and at -x for a negative one; zero draws nothing.
void DrawMoment(TSceneSurface& s, int colorCode, double value, double size);
void DrawSlope(TSceneSurface& s, int colorCode, double value, double size);

}  // namespace ramvex
