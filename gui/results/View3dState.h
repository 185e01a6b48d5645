// How the three-dimensional view looks at the scene: turn, zoom, fit and
// pan, the transform chain they make, and the mouse rules that change them.
// Plain arithmetic, so that every rule runs in a test without a display;
// the window only forwards its events here and repaints when told.
#pragma once

#include <array>

#include "Scene3D.h"

namespace ramvex {

using TMatrix4 = std::array<double, 16>;  // column-major, as OpenGL keeps it

enum TMouseMode { kMouseNone = 0, kMousePan = 1, kMouseZoom = 2, kMouseRotate = 3, kMouseZoomWindow = 4 };
enum TPointerState { kPointerIdle = 0, kPointerPressed = 1, kPointerReleased = 3 };

// Buttons and keys held during a mouse event.
struct TMouseKeys {
  bool Left = false, Right = false, Middle = false;
  bool Shift = false, Ctrl = false, Alt = false;
};

// Zoom In and Zoom Out multiply by this and by its reciprocal.
constexpr double kZoomStep = 1.4142;

class TView3dState {
 public:
  double Angles[3] = {0, 0, 0};  // degrees about the scene's x, y, z
  double Zoom = 1;
  double Fit = 1;
  double Pan[3] = {0, 0, 0};
  int MouseMode = kMouseNone;
  bool ZoomWindowFlag = false;
  int PointerState = kPointerIdle;
  int PressX = 0, PressY = 0;
  int CornerX = 0, CornerY = 0;
  bool DraggingRectangle = false;
  TMatrix4 ViewMatrix{};

  // A mode button of the toolbar: the zoom-window flag follows button 4.
  void SetMouseMode(int mode);

  // Scale fitting the scene into a client area of the given pixels.
  void ComputeFit(int clientWidth, int clientHeight, const TSceneExtents& e);
  // Half depth of the orthographic box for a surface of w x h pixels.
  static double OrthoDepth(int w, int h, const TSceneExtents& e);

  // The model-view transform: elevation turn, user angles, zoom, fit,
  // scene centre to the origin, pan.  Painting captures it afterwards.
  TMatrix4 ModelView(const TSceneExtents& e) const;
  void Capture(const TSceneExtents& e) { ViewMatrix = ModelView(e); }

  void Zooming(double factor) { Zoom *= factor; }
  void RestartView();

  // Mouse events in window pixels, y downward, on a w x h surface.  Each
  // returns whether the view must be repainted.
  bool MouseDown(int x, int y, const TMouseKeys& keys);
  bool MouseMove(int x, int y, int w, int h, const TMouseKeys& keys);
  bool MouseUp(int x, int y, int w, int h, const TMouseKeys& keys);

  // Length of the axes in scene units: 80 pixels whatever the zoom.
  double AxisLength() const;

 private:
  bool UpdateMouseMove(int x, int y, int w, int h, bool shift);
  // M transposed times v, divided by s squared: a window vector in scene
  // units along the scene's axes.
  std::array<double, 3> ToScene(const std::array<double, 3>& v, double divisor) const;

  double basePan_[3] = {0, 0, 0};
  double baseZoom_ = 1;
  double baseAngles_[3] = {0, 0, 0};
};

// Whether a run left a deflected shape to draw: the deflection graph's
// command is enabled and its first curve has more than one point.  The
// "Deformed Shape" menu item and button are enabled by it.
bool DeflectionResultsExist(bool deflectionCommandEnabled, int curveCount, int firstCurvePoints);

// One step of the deformed-shape factor along the ladder 1, 2, 3 ... 9, 10,
// 20, 30 ... and 0.9, 0.8 ... below 1; a factor of 0 or less, or not a
// number, steps to 1.
double StepDeformationFactor(double factor, bool up);

}  // namespace ramvex
