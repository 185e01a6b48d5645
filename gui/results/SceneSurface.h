// What the three-dimensional scene is drawn on.  The scene builders speak
// only to this interface, so the same code compiles the OpenGL display lists
// of the view and fills the recording surface of the tests, which need no
// drawing context at all.
#pragma once

#include <string_view>

namespace ramvex {

enum class TPrimitive { Lines, LineStrip, LineLoop, TriangleFan, TriangleStrip };

enum class TCapability { DepthTest, Blend, CullFace };

class TSceneSurface {
 public:
  virtual ~TSceneSurface() = default;

  virtual void Begin(TPrimitive primitive) = 0;
  virtual void End() = 0;
  virtual void Vertex(double x, double y, double z) = 0;
  // Fractions 0..1; alpha 1 is opaque.
  virtual void Color(double r, double g, double b, double a = 1) = 0;

  virtual void Translate(double x, double y, double z) = 0;
  // Degrees about the axis (x, y, z), counter-clockwise looking down the
  // axis toward the origin.
  virtual void Rotate(double degrees, double x, double y, double z) = 0;
  virtual void Scale(double x, double y, double z) = 0;
  virtual void PushMatrix() = 0;
  virtual void PopMatrix() = 0;

  // Blending always mixes by the source alpha (source alpha, one minus
  // source alpha): the only mix the scene uses.
  virtual void Enable(TCapability capability) = 0;
  virtual void Disable(TCapability capability) = 0;

  // Display lists: what is drawn between NewList and EndList is kept under
  // the number and replayed by CallList.
  virtual void NewList(int list) = 0;
  virtual void EndList() = 0;
  virtual void CallList(int list) = 0;

  // A label whose lower left corner sits at the point, drawn upright on the
  // screen whatever the scene's turn.
  virtual void Text(double x, double y, double z, std::string_view text) = 0;
};

}  // namespace ramvex
