// The OpenGL drawing surface of the three-dimensional view: a widget owning
// a compatibility-profile context, drawn with OpenGL 1.1 immediate mode and
// display lists.  Text labels are painted over the finished frame with
// QPainter, since this platform has no bitmap fonts in OpenGL.
#pragma once

#include <QColor>
#include <QOpenGLWidget>
#include <QString>
#include <QSurfaceFormat>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "SceneSurface.h"

class QMouseEvent;

namespace ramvex {

// A failure of the drawing context.  what() is the message for the user.
class EOpenGL : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A label waiting to be painted over the frame, in window pixels (y down).
struct TScreenLabel {
  double X = 0, Y = 0;
  QString Text;
  QColor Color;
};

// The scene's drawing interface on the OpenGL context that is current.
// Labels are projected to the window when drawn and kept for painting.
class TGLSurface : public TSceneSurface {
 public:
  void Begin(TPrimitive primitive) override;
  void End() override;
  void Vertex(double x, double y, double z) override;
  void Color(double r, double g, double b, double a) override;
  void Translate(double x, double y, double z) override;
  void Rotate(double degrees, double x, double y, double z) override;
  void Scale(double x, double y, double z) override;
  void PushMatrix() override;
  void PopMatrix() override;
  void Enable(TCapability capability) override;
  void Disable(TCapability capability) override;
  void NewList(int list) override;
  void EndList() override;
  void CallList(int list) override;
  void Text(double x, double y, double z, std::string_view text) override;

  std::vector<TScreenLabel> Labels;

 private:
  QColor color_{Qt::black};
};

// The context format the view asks for: double-buffered RGBA with a depth
// buffer, compatibility profile so that immediate mode and lists work.
QSurfaceFormat ViewSurfaceFormat();

// Whether a usable context of that format can be made on this machine;
// when not, reason says why in words for the user.
bool OpenGLAvailable(QString* reason = nullptr);

class TglWindow : public QOpenGLWidget {
  Q_OBJECT
 public:
  explicit TglWindow(QWidget* parent = nullptr);
  ~TglWindow() override;

  // Capability switches of the current context; each change checks the
  // context's error state and raises EOpenGL on failure.
  bool Blending() const;
  void SetBlending(bool on);
  bool PolygonFiltering() const;
  void SetPolygonFiltering(bool on);
  bool DepthTesting() const;
  void SetDepthTesting(bool on);
  bool Fog() const;
  void SetFog(bool on);
  bool Lighting() const;
  void SetLighting(bool on);
  void SetShadeModel(bool smooth);
  bool SmoothShading() const { return smooth_; }

  // The set-up handler runs at the next paint when set-up is pending.
  void MarkSetupPending() { setupPending_ = true; }
  bool SetupPending() const { return setupPending_; }
  void SetupDone() { setupPending_ = false; }

  TGLSurface& Surface() { return surface_; }

  std::function<void()> OnCreate;
  std::function<void()> OnPaint;
  std::function<void(QMouseEvent*)> OnMouseDown, OnMouseUp, OnMouseMove;

 protected:
  void initializeGL() override;
  void resizeGL(int w, int h) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  bool Capability(unsigned cap) const;
  void SetCapability(unsigned cap, bool on);

  TGLSurface surface_;
  bool setupPending_ = true;
  bool smooth_ = true;
};

}  // namespace ramvex
