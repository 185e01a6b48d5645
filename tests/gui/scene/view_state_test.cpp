// The view's rules without a window: fit, the transform chain, the mouse
// modes with their Shift locking, the zoom buttons and the factor ladder.
#include <gtest/gtest.h>

#include <cmath>

#include "SceneSymbols.h"
#include "View3dState.h"

namespace ramvex::test {
namespace {

// 20 ft wall, 1 ft units: d = 12.5, b = 5, D = 30.
const TSceneExtents kExtents{0, 5, 12.5, 30};
constexpr int kW = 800, kH = 600;
const TMouseKeys kLeft{.Left = true};
const TMouseKeys kLeftShift{.Left = true, .Shift = true};

// Window pixel (y downward) of a scene point under the view's transform and
// the orthographic projection of one pixel per unit.
std::array<double, 2> ToWindow(const TView3dState& v, TVec3 p) {
  const TMatrix4 m = v.ModelView(kExtents);
  const double x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
  const double y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
  return {x + kW / 2.0, kH / 2.0 - y};
}

TView3dState Painted() {
  TView3dState v;
  v.ComputeFit(kW, kH, kExtents);
  v.Capture(kExtents);
  return v;
}

TEST(ViewState, FitTakesTheTighterDirection) {
  TView3dState v;
  v.ComputeFit(kW, kH, kExtents);
  EXPECT_DOUBLE_EQ(v.Fit, std::min(750 / 25.0, 550 / 60.0));
  // A window smaller than its margin shrinks the scene, never mirrors it.
  v.ComputeFit(30, 20, kExtents);
  EXPECT_GT(v.Fit, 0);
  v.ComputeFit(kW, kH, TSceneExtents{});
  EXPECT_DOUBLE_EQ(v.Fit, 1);
  EXPECT_DOUBLE_EQ(TView3dState::OrthoDepth(kW, kH, TSceneExtents{}), 400);
  EXPECT_DOUBLE_EQ(TView3dState::OrthoDepth(kW, kH, kExtents), 60.0 / 10 * 300 * 640);
}

TEST(ViewState, DefaultViewIsAnElevationWithTheBackfillOnTheLeft) {
  const TView3dState v = Painted();
  // The scene centre (mid depth) is the window centre; the top of the wall
  // is above it and the backfill to the left.
  const auto centre = ToWindow(v, {0, 0, -15});
  EXPECT_NEAR(centre[0], kW / 2.0, 1e-9);
  EXPECT_NEAR(centre[1], kH / 2.0, 1e-9);
  const auto top = ToWindow(v, {0, 0, 0});
  EXPECT_NEAR(top[1], kH / 2.0 - 15 * v.Fit, 1e-9);
  EXPECT_LT(ToWindow(v, {-5, 0, -15})[0], kW / 2.0);
  EXPECT_DOUBLE_EQ(v.AxisLength(), 80 / v.Fit);
}

TEST(ViewState, DraggingBeforeAModeIsChosenChangesNothing) {
  TView3dState v = Painted();
  const TView3dState before = v;
  v.MouseDown(100, 100, kLeft);
  EXPECT_FALSE(v.MouseMove(300, 250, kW, kH, kLeft));
  EXPECT_FALSE(v.MouseUp(300, 250, kW, kH, kLeft));
  EXPECT_EQ(v.ModelView(kExtents), before.ModelView(kExtents));
}

TEST(ViewState, PanningKeepsThePointUnderThePointer) {
  TView3dState v = Painted();
  v.Angles[0] = 20;
  v.Angles[2] = 35;
  v.Capture(kExtents);
  v.SetMouseMode(kMousePan);
  const TVec3 p{3, -2, -7};
  const auto start = ToWindow(v, p);
  v.MouseDown(100, 100, kLeft);
  EXPECT_TRUE(v.MouseMove(160, 70, kW, kH, kLeft));
  const auto moved = ToWindow(v, p);
  EXPECT_NEAR(moved[0] - start[0], 60, 1e-9);
  EXPECT_NEAR(moved[1] - start[1], -30, 1e-9);
  // Shift keeps the larger component of the drag only.
  v.MouseMove(160, 70, kW, kH, kLeftShift);
  const auto locked = ToWindow(v, p);
  EXPECT_NEAR(locked[0] - start[0], 60, 1e-9);
  EXPECT_NEAR(locked[1] - start[1], 0, 1e-9);
  // Right button or Alt: not a drag.
  EXPECT_FALSE(v.MouseMove(10, 10, kW, kH, TMouseKeys{.Left = true, .Right = true}));
  EXPECT_FALSE(v.MouseMove(10, 10, kW, kH, TMouseKeys{.Left = true, .Shift = true, .Ctrl = true}));
}

TEST(ViewState, ShiftRotationTurnsAboutOneAxis) {
  struct Case {
    int dx, dy;
    int axis;  // scene axis turned about in the default view
    double degrees;
  };
  // A vertical drag turns about x, a horizontal one about z; a drag across
  // the whole height turns a right angle.
  for (Case c : {Case{0, 300, 0, 45}, Case{200, 0, 2, 22.5}, Case{40, 150, 0, 22.5}, Case{400, -60, 2, 45}}) {
    TView3dState v = Painted();
    v.SetMouseMode(kMouseRotate);
    v.MouseDown(100, 100, kLeftShift);
    v.MouseUp(100 + c.dx, 100 + c.dy, kW, kH, kLeftShift);
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(v.Angles[i], i == c.axis ? c.degrees : 0, 1e-9) << c.dx << "," << c.dy << " axis " << i;
    }
    EXPECT_EQ(v.PointerState, kPointerIdle);
  }
}

TEST(ViewState, ZoomDragAndButtons) {
  TView3dState v = Painted();
  v.SetMouseMode(kMouseZoom);
  v.MouseDown(10, 300, kLeft);
  v.MouseMove(10, 150, kW, kH, kLeft);  // up a quarter of the height
  EXPECT_DOUBLE_EQ(v.Zoom, 1.25);
  // Far below the window the zoom stays positive.
  v.MouseMove(10, 5000, kW, kH, kLeft);
  EXPECT_GT(v.Zoom, 0);
  v.MouseUp(10, 300, kW, kH, kLeft);
  EXPECT_DOUBLE_EQ(v.Zoom, 1);

  v.Zooming(kZoomStep);
  v.Zooming(1 / kZoomStep);
  EXPECT_NEAR(v.Zoom, 1, 1e-15);
  v.Zooming(kZoomStep);
  v.Angles[1] = 30;
  v.Pan[2] = 4;
  v.RestartView();
  EXPECT_EQ(v.ModelView(kExtents), Painted().ModelView(kExtents));
}

TEST(ViewState, ZoomWindowBringsTheRectangleToTheCentre) {
  TView3dState v = Painted();
  v.SetMouseMode(kMouseZoomWindow);
  EXPECT_TRUE(v.ZoomWindowFlag);
  // Flat rectangles leave the view as it was.
  for (auto [x, y] : {std::pair{300, 100}, std::pair{100, 250}}) {
    v.MouseDown(100, 100, kLeft);
    v.MouseMove(x, y, kW, kH, kLeft);
    EXPECT_TRUE(v.DraggingRectangle);
    v.MouseUp(x, y, kW, kH, kLeft);
    EXPECT_EQ(v.ModelView(kExtents), Painted().ModelView(kExtents));
  }
  // 200 x 100 pixels around (300, 200): twice the zoom at most (the
  // window's width over the rectangle's, 4, against the height's, 6).
  v.MouseDown(200, 150, kLeft);
  v.MouseUp(400, 250, kW, kH, kLeft);
  EXPECT_DOUBLE_EQ(v.Zoom, 4);
  EXPECT_FALSE(v.DraggingRectangle);
  // The point that was at the rectangle's centre is now at the window's.
  TView3dState old = Painted();
  const double s = old.Fit;
  const TVec3 p{(300 - kW / 2.0) / s, 0, -15 + (kH / 2.0 - 200) / s};
  const auto now = ToWindow(v, p);
  EXPECT_NEAR(now[0], kW / 2.0, 1e-9);
  EXPECT_NEAR(now[1], kH / 2.0, 1e-9);
}

TEST(DeformedShapeCommand, NeedsARunWithADeflectedCurve) {
  EXPECT_TRUE(DeflectionResultsExist(true, 1, 41));
  EXPECT_FALSE(DeflectionResultsExist(false, 1, 41));  // before any run
  EXPECT_FALSE(DeflectionResultsExist(true, 0, 0));
  EXPECT_FALSE(DeflectionResultsExist(true, 2, 1));
}

TEST(FactorLadder, StepsOneDigitAtATime) {
  struct Case {
    double from, up, down;
  };
  for (Case c : {Case{1, 2, 0.9}, Case{0.5, 0.6, 0.4}, Case{0.9, 1, 0.8}, Case{10, 20, 9}, Case{35, 40, 20},
                 Case{2, 3, 1}, Case{0.3, 0.4, 0.2}, Case{700, 800, 600}, Case{0, 1, 1}, Case{-3, 1, 1},
                 Case{NAN, 1, 1}}) {
    EXPECT_NEAR(StepDeformationFactor(c.from, true), c.up, 1e-12 * std::abs(c.up)) << c.from;
    EXPECT_NEAR(StepDeformationFactor(c.from, false), c.down, 1e-12 * std::abs(c.down)) << c.from;
  }
}

}  // namespace
}  // namespace ramvex::test
