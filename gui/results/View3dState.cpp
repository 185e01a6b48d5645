#include "View3dState.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ramvex {

namespace {

// Pixels kept free around the fitted scene.
constexpr int kFitMargin = 50;
constexpr double kAxisPixels = 80;
// A zoom drag can leave the window far below its press point; the zoom
// never falls below this part of where it started, so the scene never
// collapses to a point or turns inside out.
constexpr double kMinZoomDragFactor = 0.01;


TMatrix4 Multiply(const TMatrix4& a, const TMatrix4& b) {
  TMatrix4 r{};
  for (int c = 0; c < 4; ++c) {
    for (int row = 0; row < 4; ++row) {
      double v = 0;
      for (int k = 0; k < 4; ++k) v += a[k * 4 + row] * b[c * 4 + k];
      r[c * 4 + row] = v;
    }
  }
  return r;
}

// The matrix of a turn by degrees about a unit axis, as OpenGL builds it.
TMatrix4 Rotation(double degrees, double x, double y, double z) {
  const double a = degrees * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a), k = 1 - c;
  return {x * x * k + c,     y * x * k + z * s, x * z * k - y * s, 0,  //
          x * y * k - z * s, y * y * k + c,     y * z * k + x * s, 0,  //
          x * z * k + y * s, y * z * k - x * s, z * z * k + c,     0,  //
          0,                 0,                 0,                 1};
}

TMatrix4 Scaling(double f) { return {f, 0, 0, 0, 0, f, 0, 0, 0, 0, f, 0, 0, 0, 0, 1}; }
TMatrix4 Translation(double x, double y, double z) { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}; }

// With Shift held a drag keeps only its larger component; on a tie the
// vertical one.
void Lock(std::array<double, 3>& v) {
  if (std::abs(v[0]) <= std::abs(v[1])) {
    v[0] = 0;
  } else {
    v[1] = 0;
  }
}

}  // namespace

void TView3dState::SetMouseMode(int mode) {
  MouseMode = mode;
  ZoomWindowFlag = mode == kMouseZoomWindow;
}

void TView3dState::ComputeFit(int clientWidth, int clientHeight, const TSceneExtents& e) {
  // A window smaller than its margin still fits the scene into one pixel
  // rather than mirroring it or dividing by zero later.
  auto term = [](int pixels, double size) {
    const double room = std::max(pixels - kFitMargin, 1);
    return size == 0 ? 1.0 : room / size;
  };
  Fit = std::min(term(clientWidth, e.FitWidth()), term(clientHeight, e.FitHeight()));
  if (!(Fit > 0) || !std::isfinite(Fit)) Fit = 1;
}

double TView3dState::OrthoDepth(int w, int h, const TSceneExtents& e) {
  const double ref = e.ReferenceSize();
  if (ref == 0) return std::max(w, h) / 2.0;
  return e.FitHeight() / ref * (std::min(w, h) / 2.0) * 640;
}

TMatrix4 TView3dState::ModelView(const TSceneExtents& e) const {
  // The elevation turn puts scene z up the screen and scene y into it, the
  // backfill on the left.
  TMatrix4 m = Rotation(-90, 1, 0, 0);
  m = Multiply(m, Rotation(Angles[0], 1, 0, 0));
  m = Multiply(m, Rotation(Angles[1], 0, 1, 0));
  m = Multiply(m, Rotation(Angles[2], 0, 0, 1));
  m = Multiply(m, Scaling(Zoom));
  m = Multiply(m, Scaling(Fit));
  m = Multiply(m, Translation(0, 0, -e.CentreZ()));
  m = Multiply(m, Translation(Pan[0], Pan[1], Pan[2]));
  return m;
}

void TView3dState::RestartView() {
  std::fill(std::begin(Angles), std::end(Angles), 0.0);
  std::fill(std::begin(Pan), std::end(Pan), 0.0);
  Zoom = 1;
}

double TView3dState::AxisLength() const { return kAxisPixels / (Zoom * Fit); }

std::array<double, 3> TView3dState::ToScene(const std::array<double, 3>& v, double divisor) const {
  const TMatrix4& m = ViewMatrix;
  std::array<double, 3> r{};
  for (int j = 0; j < 3; ++j) r[j] = (m[j * 4 + 0] * v[0] + m[j * 4 + 1] * v[1] + m[j * 4 + 2] * v[2]) / divisor;
  return r;
}

bool TView3dState::MouseDown(int x, int y, const TMouseKeys& keys) {
  PointerState = kPointerPressed;
  PressX = x;
  PressY = y;
  if (ZoomWindowFlag && keys.Left) {
    DraggingRectangle = true;
    std::copy(std::begin(Pan), std::end(Pan), basePan_);
    baseZoom_ = Zoom;
  }
  switch (MouseMode) {
    case kMousePan: std::copy(std::begin(Pan), std::end(Pan), basePan_); break;
    case kMouseZoom: baseZoom_ = Zoom; break;
    case kMouseRotate: std::copy(std::begin(Angles), std::end(Angles), baseAngles_); break;
    default: break;
  }
  return false;
}

bool TView3dState::MouseMove(int x, int y, int w, int h, const TMouseKeys& keys) {
  const bool leftOnly = keys.Left && !keys.Right && !keys.Middle && !keys.Alt;
  if (!leftOnly || (keys.Shift && keys.Ctrl)) return false;
  if (ZoomWindowFlag) {
    CornerX = x;
    CornerY = y;
    return DraggingRectangle;
  }
  return UpdateMouseMove(x, y, w, h, keys.Shift);
}

bool TView3dState::MouseUp(int x, int y, int w, int h, const TMouseKeys& keys) {
  PointerState = kPointerReleased;
  bool repaint = false;
  if (ZoomWindowFlag) {
    CornerX = x;
    CornerY = y;
    const bool wasDragging = DraggingRectangle;
    DraggingRectangle = false;
    const int dx = x - PressX, dy = y - PressY;
    if (wasDragging && dx != 0 && dy != 0) {
      const double s = Zoom * Fit;
      const auto shift = ToScene({w / 2.0 - (x + PressX) / 2.0, (y + PressY) / 2.0 - h / 2.0, 0}, s * s);
      for (int i = 0; i < 3; ++i) Pan[i] = basePan_[i] + shift[static_cast<size_t>(i)];
      Zoom = baseZoom_ * std::min(static_cast<double>(h) / std::abs(dy), static_cast<double>(w) / std::abs(dx));
    }
    // A rectangle being dragged was on the screen and must go either way.
    repaint = wasDragging;
  } else {
    repaint = UpdateMouseMove(x, y, w, h, keys.Shift);
  }
  PointerState = kPointerIdle;
  return repaint;
}

bool TView3dState::UpdateMouseMove(int x, int y, int w, int h, bool shift) {
  if (PointerState != kPointerPressed && PointerState != kPointerReleased) return false;
  if (w <= 0 || h <= 0) return false;
  const double s = Zoom * Fit;
  switch (MouseMode) {
    case kMousePan: {
      std::array<double, 3> v{static_cast<double>(x - PressX), static_cast<double>(PressY - y), 0};
      if (shift) Lock(v);
      const auto p = ToScene(v, s * s);
      for (int i = 0; i < 3; ++i) Pan[i] = basePan_[i] + p[static_cast<size_t>(i)];
      return true;
    }
    case kMouseZoom:
      Zoom = baseZoom_ * std::max(1 - static_cast<double>(y - PressY) / h, kMinZoomDragFactor);
      return true;
    case kMouseRotate: {
      // A drag across the whole height (or width) turns by a right angle.
      std::array<double, 3> a{(y - PressY) * 90.0 / h, (x - PressX) * 90.0 / w, 0};
      if (shift) Lock(a);
      auto g = ToScene(a, 1);
      const double la = std::hypot(a[0], a[1], a[2]), lg = std::hypot(g[0], g[1], g[2]);
      if (lg > 0) {
        for (double& c : g) c *= la / lg;
      }
      for (int i = 0; i < 3; ++i) Angles[i] = baseAngles_[i] + g[static_cast<size_t>(i)];
      return true;
    }
    default: return false;
  }
}

bool DeflectionResultsExist(bool deflectionCommandEnabled, int curveCount, int firstCurvePoints) {
  return deflectionCommandEnabled && curveCount >= 1 && firstCurvePoints > 1;
}

double StepDeformationFactor(double factor, bool up) {
  double v = factor;
  const double p = v > 0.1 && v < 1 ? 10 : 1;
  v *= p;
  if (!(v > 0) || !std::isfinite(v)) return 1;
  const double lg = std::log10(v);
  double e = std::trunc(lg);
  if (lg < 0) e -= 1;
  const double g = std::pow(10.0, e);
  // The quotient of a decimal step such as 0.3 x 10 can land a hair below
  // its whole number.
  double k = std::floor(v / g + 1e-9);
  if (up) {
    k = k == 10 ? 20 : k + 1;
  } else {
    k = k == 1 ? 0.9 : k - 1;
  }
  return g * k / p;
}

}  // namespace ramvex
