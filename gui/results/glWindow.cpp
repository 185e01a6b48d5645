#include "glWindow.h"

#include <GL/gl.h>

#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>

namespace ramvex {

namespace {

GLenum ToGL(TPrimitive p) {
  switch (p) {
    case TPrimitive::Lines: return GL_LINES;
    case TPrimitive::LineStrip: return GL_LINE_STRIP;
    case TPrimitive::LineLoop: return GL_LINE_LOOP;
    case TPrimitive::TriangleFan: return GL_TRIANGLE_FAN;
    case TPrimitive::TriangleStrip: return GL_TRIANGLE_STRIP;
  }
  return GL_LINES;
}

GLenum ToGL(TCapability c) {
  switch (c) {
    case TCapability::DepthTest: return GL_DEPTH_TEST;
    case TCapability::Blend: return GL_BLEND;
    case TCapability::CullFace: return GL_CULL_FACE;
  }
  return GL_BLEND;
}

void CheckError() {
  const GLenum e = glGetError();
  if (e == GL_NO_ERROR) return;
  while (glGetError() != GL_NO_ERROR) {
  }
  if (e == GL_INVALID_OPERATION) throw EOpenGL("operation cannot be performed between glBegin and glEnd");
  throw EOpenGL("OpenGL reported error " + std::to_string(e));
}

}  // namespace

void TGLSurface::Begin(TPrimitive p) { glBegin(ToGL(p)); }
void TGLSurface::End() { glEnd(); }
void TGLSurface::Vertex(double x, double y, double z) { glVertex3d(x, y, z); }
void TGLSurface::Color(double r, double g, double b, double a) {
  glColor4d(r, g, b, a);
  color_ = QColor::fromRgbF(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
}
void TGLSurface::Translate(double x, double y, double z) { glTranslated(x, y, z); }
void TGLSurface::Rotate(double degrees, double x, double y, double z) { glRotated(degrees, x, y, z); }
void TGLSurface::Scale(double x, double y, double z) { glScaled(x, y, z); }
void TGLSurface::PushMatrix() { glPushMatrix(); }
void TGLSurface::PopMatrix() { glPopMatrix(); }
void TGLSurface::Enable(TCapability c) {
  glEnable(ToGL(c));
  if (c == TCapability::Blend) glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
void TGLSurface::Disable(TCapability c) { glDisable(ToGL(c)); }
void TGLSurface::NewList(int list) { glNewList(static_cast<GLuint>(list), GL_COMPILE); }
void TGLSurface::EndList() { glEndList(); }
void TGLSurface::CallList(int list) { glCallList(static_cast<GLuint>(list)); }

void TGLSurface::Text(double x, double y, double z, std::string_view text) {
  // Project the point as OpenGL would, to paint the label there after the
  // frame: object to eye to clip to window coordinates.
  GLdouble mv[16], pr[16];
  GLint vp[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, mv);
  glGetDoublev(GL_PROJECTION_MATRIX, pr);
  glGetIntegerv(GL_VIEWPORT, vp);
  double eye[4], clip[4];
  const double in[4] = {x, y, z, 1};
  for (int r = 0; r < 4; ++r) eye[r] = mv[r] * in[0] + mv[4 + r] * in[1] + mv[8 + r] * in[2] + mv[12 + r] * in[3];
  for (int r = 0; r < 4; ++r) clip[r] = pr[r] * eye[0] + pr[4 + r] * eye[1] + pr[8 + r] * eye[2] + pr[12 + r] * eye[3];
  if (clip[3] == 0) return;
  const double nx = clip[0] / clip[3], ny = clip[1] / clip[3];
  const double wx = vp[0] + (nx + 1) / 2 * vp[2];
  const double wy = vp[1] + (ny + 1) / 2 * vp[3];
  Labels.push_back({wx, vp[1] + vp[3] - wy, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    color_});
}

QSurfaceFormat ViewSurfaceFormat() {
  QSurfaceFormat f;
  f.setRenderableType(QSurfaceFormat::OpenGL);
  f.setProfile(QSurfaceFormat::CompatibilityProfile);
  f.setVersion(2, 1);
  f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  f.setRedBufferSize(8);
  f.setGreenBufferSize(8);
  f.setBlueBufferSize(8);
  f.setAlphaBufferSize(8);
  // 24 bits of depth are what every current driver offers; 32 often is not.
  f.setDepthBufferSize(24);
  return f;
}

bool OpenGLAvailable(QString* reason) {
  static int known = -1;
  static QString why;
  if (known < 0) {
    known = 0;
    QOpenGLContext context;
    context.setFormat(ViewSurfaceFormat());
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    if (!context.create()) {
      why = QStringLiteral("no OpenGL context could be created");
    } else if (surface.create(), !surface.isValid()) {
      why = QStringLiteral("no OpenGL drawing surface could be created");
    } else if (!context.makeCurrent(&surface)) {
      why = QStringLiteral("the OpenGL context could not be made current");
    } else if (context.isOpenGLES()) {
      why = QStringLiteral("only OpenGL ES is offered, without the drawing calls the view needs");
      context.doneCurrent();
    } else if (glGetString(GL_VERSION) == nullptr) {
      why = QStringLiteral("the OpenGL driver does not answer");
      context.doneCurrent();
    } else {
      known = 1;
      context.doneCurrent();
    }
  }
  if (reason) *reason = why;
  return known == 1;
}

TglWindow::TglWindow(QWidget* parent) : QOpenGLWidget(parent) {
  setFormat(ViewSurfaceFormat());
  setMouseTracking(true);
}

TglWindow::~TglWindow() {
  // Display lists die with the context; nothing else is held on the GPU.
  if (!isValid()) return;
  makeCurrent();
  glDeleteLists(1, 6);
  doneCurrent();
}

bool TglWindow::Capability(unsigned cap) const {
  if (!isValid()) throw EOpenGL("the drawing context is not ready");
  const_cast<TglWindow*>(this)->makeCurrent();
  const bool on = glIsEnabled(cap) == GL_TRUE;
  CheckError();
  return on;
}

void TglWindow::SetCapability(unsigned cap, bool on) {
  if (!isValid()) throw EOpenGL("the drawing context is not ready");
  makeCurrent();
  on ? glEnable(cap) : glDisable(cap);
  CheckError();
}

bool TglWindow::Blending() const { return Capability(GL_BLEND); }
void TglWindow::SetBlending(bool on) { SetCapability(GL_BLEND, on); }
bool TglWindow::PolygonFiltering() const { return Capability(GL_POLYGON_SMOOTH); }
void TglWindow::SetPolygonFiltering(bool on) { SetCapability(GL_POLYGON_SMOOTH, on); }
bool TglWindow::DepthTesting() const { return Capability(GL_DEPTH_TEST); }
void TglWindow::SetDepthTesting(bool on) { SetCapability(GL_DEPTH_TEST, on); }
bool TglWindow::Fog() const { return Capability(GL_FOG); }
void TglWindow::SetFog(bool on) { SetCapability(GL_FOG, on); }
bool TglWindow::Lighting() const { return Capability(GL_LIGHTING); }
void TglWindow::SetLighting(bool on) { SetCapability(GL_LIGHTING, on); }

void TglWindow::SetShadeModel(bool smooth) {
  smooth_ = smooth;
  // Before the context exists the model is only kept, and set when the
  // context is made.
  if (!isValid()) return;
  makeCurrent();
  glShadeModel(smooth ? GL_SMOOTH : GL_FLAT);
  CheckError();
}

void TglWindow::initializeGL() {
  setupPending_ = true;
  glShadeModel(smooth_ ? GL_SMOOTH : GL_FLAT);
  if (OnCreate) OnCreate();
}

void TglWindow::resizeGL(int w, int h) {
  glViewport(0, 0, w, h);
  setupPending_ = true;
}

void TglWindow::paintGL() {
  // The label painter of the last frame leaves its shader program bound,
  // which would take over the fixed-function drawing below.
  if (QOpenGLContext* c = QOpenGLContext::currentContext()) c->functions()->glUseProgram(0);
  const qreal ratio = devicePixelRatioF();
  glViewport(0, 0, static_cast<GLsizei>(width() * ratio), static_cast<GLsizei>(height() * ratio));
  surface_.Labels.clear();
  if (OnPaint) OnPaint();
  while (glGetError() != GL_NO_ERROR) {
  }
  glFlush();
  if (surface_.Labels.empty()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  for (const TScreenLabel& l : surface_.Labels) {
    painter.setPen(l.Color);
    painter.drawText(QPointF(l.X / ratio, l.Y / ratio), l.Text);
  }
}

void TglWindow::mousePressEvent(QMouseEvent* e) {
  if (OnMouseDown) OnMouseDown(e);
}
void TglWindow::mouseReleaseEvent(QMouseEvent* e) {
  if (OnMouseUp) OnMouseUp(e);
}
void TglWindow::mouseMoveEvent(QMouseEvent* e) {
  if (OnMouseMove) OnMouseMove(e);
}

}  // namespace ramvex
