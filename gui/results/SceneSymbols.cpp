#include "SceneSymbols.h"

#include <cmath>
#include <numbers>

namespace ramvex {

namespace {

TVec3 operator+(TVec3 a, TVec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
TVec3 operator-(TVec3 a, TVec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
TVec3 operator*(double k, TVec3 a) { return {k * a.x, k * a.y, k * a.z}; }
double Dot(TVec3 a, TVec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
TVec3 Cross(TVec3 a, TVec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
TVec3 Unit(TVec3 a) {
  const double n = std::sqrt(Dot(a, a));
  return n > 0 ? (1 / n) * a : TVec3{0, 0, 1};
}

void Put(TSceneSurface& s, TVec3 p) { s.Vertex(p.x, p.y, p.z); }

// Two unit vectors (u, v) across an axis, with u x v along the axis, so that
// growing angles run counter-clockwise seen from the axis' tip.
struct TFrame {
  TVec3 u, v, a;
};

TFrame FrameAbout(TVec3 axis) {
  const TVec3 a = Unit(axis);
  const TVec3 ref = std::abs(a.x) < 0.9 ? TVec3{1, 0, 0} : TVec3{0, 1, 0};
  const TVec3 u = Unit(Cross(ref, a));
  return {u, Cross(a, u), a};
}

TVec3 OnCircle(const TFrame& f, TVec3 centre, double r, int i, int segments = kCircleSegments) {
  const double th = 2 * std::numbers::pi * i / segments;
  return centre + r * std::cos(th) * f.u + r * std::sin(th) * f.v;
}

void Circle(TSceneSurface& s, TVec3 centre, TVec3 axis, double r) {
  const TFrame f = FrameAbout(axis);
  s.Begin(TPrimitive::LineLoop);
  for (int i = 0; i < kCircleSegments; ++i) Put(s, OnCircle(f, centre, r, i));
  s.End();
}

// Filled disc seen from the side its normal points to.
void Disc(TSceneSurface& s, TVec3 centre, TVec3 normal, double r) {
  const TFrame f = FrameAbout(normal);
  s.Begin(TPrimitive::TriangleFan);
  Put(s, centre);
  for (int i = 0; i <= kCircleSegments; ++i) Put(s, OnCircle(f, centre, r, i));
  s.End();
}

// Flat ring between radii r and R, seen from the side its normal points to.
void Ring(TSceneSurface& s, TVec3 centre, TVec3 normal, double r, double R) {
  // Outer then inner vertex at growing angles faces against the frame's
  // axis, so the frame is taken about the reversed normal.
  const TFrame f = FrameAbout(-1 * normal);
  s.Begin(TPrimitive::TriangleStrip);
  for (int i = 0; i <= kCircleSegments; ++i) {
    Put(s, OnCircle(f, centre, R, i));
    Put(s, OnCircle(f, centre, r, i));
  }
  s.End();
}

// Open tube from p0 to p1, faces outward.
void Tube(TSceneSurface& s, TVec3 p0, TVec3 p1, double r, int segments = kCircleSegments) {
  const TFrame f = FrameAbout(p1 - p0);
  s.Begin(TPrimitive::TriangleStrip);
  for (int i = 0; i <= segments; ++i) {
    Put(s, OnCircle(f, p1, r, i, segments));
    Put(s, OnCircle(f, p0, r, i, segments));
  }
  s.End();
}

// Cone mantle from a base circle to the apex, faces outward.
void Cone(TSceneSurface& s, TVec3 base, TVec3 apex, double r) {
  const TFrame f = FrameAbout(apex - base);
  s.Begin(TPrimitive::TriangleFan);
  Put(s, apex);
  for (int i = 0; i <= kCircleSegments; ++i) Put(s, OnCircle(f, base, r, i));
  s.End();
}

void Arrow(TSceneSurface& s, int kind, int colorCode, double value, double size, bool tipAtOrigin) {
  if (value == 0 || !std::isfinite(value)) return;
  TVec3 dir = kind == 1 ? TVec3{1, 0, 0} : kind == 2 ? TVec3{0, 1, 0} : TVec3{0, 0, 1};
  if (value < 0) dir = -1 * dir;
  const TVec3 tail = tipAtOrigin ? -size * dir : TVec3{};
  const TVec3 coneBase = tail + 0.75 * size * dir;
  const TVec3 tip = tail + size * dir;
  const double shaft = size / 16;  // radius of the S/8 shaft
  const double head = 3 * size / 16;

  SetColorIndex(s, colorCode);
  Circle(s, tail, dir, shaft);
  Circle(s, coneBase, dir, shaft);
  Circle(s, coneBase, dir, head);

  SetColorIndex(s, colorCode, kSymbolFillAlpha);
  Disc(s, tail, -1 * dir, shaft);
  Tube(s, tail, coneBase, shaft);
  Ring(s, coneBase, -1 * dir, shaft, head);
  Cone(s, coneBase, tip, head);
}

void Arc(TSceneSurface& s, int colorCode, double value, double size) {
  if (value == 0 || !std::isfinite(value)) return;
  const double u = size / 6;
  const double R = 2 * u / 3;
  const double tube = u / 12;
  const double head = u / 4;
  const TVec3 down{0, 0, -1};
  auto at = [&](int i) {
    const double ph = std::numbers::pi * (1.0 - static_cast<double>(i) / kCircleSegments);
    return TVec3{R * std::cos(ph), 0, R * std::sin(ph)};
  };
  const TVec3 left{-R, 0, 0}, right{R, 0, 0};
  const TVec3 headBase = value > 0 ? right : left;

  SetColorIndex(s, colorCode);
  Circle(s, left, down, tube);
  Circle(s, right, down, tube);
  Circle(s, headBase, down, head);

  SetColorIndex(s, colorCode, kSymbolFillAlpha);
  // The arc's tube is a thirty-sixth of the symbol across, a pixel or two
  // on the screen: a coarser section looks the same and keeps an arc at a
  // third of the vertices, which the frame time of many arcs needs.
  for (int i = 0; i < kCircleSegments; ++i) Tube(s, at(i), at(i + 1), tube, kArcTubeSegments);
  Disc(s, left, down, tube);
  Disc(s, right, down, tube);
  Ring(s, headBase, TVec3{0, 0, 1}, tube, head);
  Cone(s, headBase, headBase + TVec3{0, 0, -u / 3}, head);
}

// Emits a convex face as a line loop or as a fan about its centre, wound
// so that it faces away from the solid's centre.
void Face(TSceneSurface& s, const TVec3* corners, int count, TVec3 solidCentre, bool solid) {
  TVec3 centre{};
  for (int i = 0; i < count; ++i) centre = centre + corners[i];
  centre = (1.0 / count) * centre;
  if (!solid) {
    s.Begin(TPrimitive::LineLoop);
    for (int i = 0; i < count; ++i) Put(s, corners[i]);
    s.End();
    return;
  }
  TVec3 normal{};
  for (int i = 0; i < count; ++i) normal = normal + Cross(corners[i] - centre, corners[(i + 1) % count] - centre);
  const bool reverse = Dot(normal, centre - solidCentre) < 0;
  s.Begin(TPrimitive::TriangleFan);
  Put(s, centre);
  for (int k = 0; k <= count; ++k) {
    const int i = (reverse ? count - k : k) % count;
    Put(s, corners[i]);
  }
  s.End();
}

void Hexahedron(TSceneSurface& s, const std::array<TVec3, 8>& c, bool solid) {
  TVec3 centre{};
  for (const TVec3& p : c) centre = centre + p;
  centre = 0.125 * centre;
  const int faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
  for (const auto& f : faces) {
    const TVec3 q[4] = {c[f[0]], c[f[1]], c[f[2]], c[f[3]]};
    Face(s, q, 4, centre, solid);
  }
}

std::array<TVec3, 8> BoxCorners(double sx, double sy, double sz) {
  const double a = sx / 2, b = sy / 2, h = sz / 2;
  return {TVec3{-a, -b, -h}, {a, -b, -h}, {a, b, -h}, {-a, b, -h}, {-a, -b, h}, {a, -b, h}, {a, b, h}, {-a, b, h}};
}

void Pyramid(TSceneSurface& s, double size, bool solid) {
  const double a = size / 2;
  const TVec3 apex{};
  const TVec3 base[4] = {{-a, -a, size}, {a, -a, size}, {a, a, size}, {-a, a, size}};
  // Inside point for the winding: a flat (size 0) pyramid has none, and
  // draws its faces as they come.
  const TVec3 centre{0, 0, 0.75 * size};
  Face(s, base, 4, centre, solid);
  for (int i = 0; i < 4; ++i) {
    const TVec3 side[3] = {apex, base[i], base[(i + 1) % 4]};
    Face(s, side, 3, centre, solid);
  }
}

}  // namespace

void SetColorIndex(TSceneSurface& s, int code, double alpha) {
  switch (code) {
    case 1: s.Color(0, 0, 1, alpha); break;
    case 2: s.Color(0, 1, 0, alpha); break;
    case 3: s.Color(1, 0, 0, alpha); break;
    default: s.Color(0, 0, 0, alpha); break;
  }
}

void SetColorLayer(TSceneSurface& s, int k, double alpha) {
  static constexpr double kColors[10][3] = {{0.8, 0.55, 0},    {0.55, 0.4, 0.2}, {0.4, 0.4, 0.2},  {0.4, 0.4, 0.55},
                                            {0, 0.5, 0.5},     {0.2, 0.2, 0.55}, {0.8, 0, 0.8},    {0.4, 0.4, 0.55},
                                            {0.15, 0.15, 0.45}, {0.65, 0.4, 0.2}};
  const auto& c = kColors[((k % 10) + 10) % 10];
  s.Color(c[0], c[1], c[2], alpha);
}

void DrawPara3D(TSceneSurface& s, double sx, double sy, double sz) { Hexahedron(s, BoxCorners(sx, sy, sz), false); }
void DrawSolidPara3D(TSceneSurface& s, double sx, double sy, double sz) {
  Hexahedron(s, BoxCorners(sx, sy, sz), true);
}
void DrawHexahedron(TSceneSurface& s, const std::array<TVec3, 8>& c) { Hexahedron(s, c, false); }
void DrawSolidHexahedron(TSceneSurface& s, const std::array<TVec3, 8>& c) { Hexahedron(s, c, true); }

void DrawPyramid3D(TSceneSurface& s, double size) { Pyramid(s, size, false); }
void DrawSolidPyramid3D(TSceneSurface& s, double size) { Pyramid(s, size, true); }

void DrawForce(TSceneSurface& s, int kind, int colorCode, double value, double size) {
  Arrow(s, kind, colorCode, value, size, true);
}
void DrawDispl(TSceneSurface& s, int kind, int colorCode, double value, double size) {
  Arrow(s, kind, colorCode, value, size, false);
}

void DrawMoment(TSceneSurface& s, int colorCode, double value, double size) { Arc(s, colorCode, value, size); }
void DrawSlope(TSceneSurface& s, int colorCode, double value, double size) { Arc(s, colorCode, value, size); }

}  // namespace ramvex
