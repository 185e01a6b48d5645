#include "View3dUnit1.h"

#include <GL/gl.h>

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <exception>

#include "SceneSymbols.h"
#include "glWindow.h"

namespace ramvex {

namespace {

// Display lists: loading (empty), structure, ground.  Numbers 3, 4 and 6
// are called too but never defined, and draw nothing.
constexpr int kLoadingList = 1, kStructureList = 2, kGroundList = 5;
constexpr int kLastList = 6;

TMouseKeys KeysOf(const QMouseEvent* e) {
  TMouseKeys k;
  const Qt::MouseButtons b = e->buttons();
  k.Left = b & Qt::LeftButton;
  k.Right = b & Qt::RightButton;
  k.Middle = b & Qt::MiddleButton;
  const Qt::KeyboardModifiers m = e->modifiers();
  k.Shift = m & Qt::ShiftModifier;
  k.Ctrl = m & Qt::ControlModifier;
  k.Alt = m & Qt::AltModifier;
  return k;
}

}  // namespace

TDlgBlock::TDlgBlock(TProgramData& project, QWidget* parent)
    : QWidget(parent), project_(project), scene_(project) {
  setWindowTitle(tr("3-D View"));
  resize(870, 640);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  QString reason;
  if (OpenGLAvailable(&reason)) {
    gl = new TglWindow(this);
    gl->setObjectName("gl");
    gl->SetShadeModel(true);
    gl->OnPaint = [this] { glRender(); };
    gl->OnMouseDown = [this](QMouseEvent* e) { GLMouseDown(e); };
    gl->OnMouseMove = [this](QMouseEvent* e) { GLMouseMove(e); };
    gl->OnMouseUp = [this](QMouseEvent* e) { GLMouseUp(e); };
    layout->addWidget(gl);
  } else {
    NoOpenGLMessage = new QLabel(
        tr("The 3-D view cannot draw on this computer: %1.\n\n"
           "It needs OpenGL 1.1 or later with the compatibility profile. "
           "Every other part of the program works as usual.")
            .arg(reason),
        this);
    NoOpenGLMessage->setObjectName("NoOpenGLMessage");
    NoOpenGLMessage->setAlignment(Qt::AlignCenter);
    NoOpenGLMessage->setWordWrap(true);
    layout->addWidget(NoOpenGLMessage);
  }
}

TDlgBlock::~TDlgBlock() = default;

void TDlgBlock::Toggle(bool& option) {
  option = !option;
  RedrawComplete();
}

void TDlgBlock::ShowRetainingWallOption() { Toggle(scene_.Options.RetainingWall); }
void TDlgBlock::ShowSoilLayersOption() { Toggle(scene_.Options.SoilLayers); }
void TDlgBlock::ShowWaterLevelOption() { Toggle(scene_.Options.WaterLevel); }
void TDlgBlock::ShowAditionalSurchargeOption() { Toggle(scene_.Options.AditionalSurcharge); }
void TDlgBlock::ShowConcentratedLoadsOption() { Toggle(scene_.Options.ConcentratedLoads); }
void TDlgBlock::ShowTieBacksOption() { Toggle(scene_.Options.TieBacks); }
void TDlgBlock::ShowBoundaryConditionsOption() { Toggle(scene_.Options.BoundaryConditions); }
void TDlgBlock::ShowLateralSpringsOption() { Toggle(scene_.Options.LateralSprings); }

void TDlgBlock::SetMouseMode(int mode) { view_.SetMouseMode(mode); }

void TDlgBlock::Zooming(double factor) {
  view_.Zooming(factor);
  RedrawFigure();
}

void TDlgBlock::RestartViewButtonClick() {
  view_.RestartView();
  RedrawFigure();
}

void TDlgBlock::DeformedShapeWindow() {
  if (!deformedDialog_) deformedDialog_ = new TDlgDeformedShape(scene_.Options, [this] { RedrawComplete(); }, this);
  deformedDialog_->show();
  deformedDialog_->raise();
  deformedDialog_->activateWindow();
}

void TDlgBlock::RedrawFigure() {
  if (gl) gl->update();
}

void TDlgBlock::RedrawComplete() {
  if (!gl) return;
  gl->MarkSetupPending();
  gl->update();
}

void TDlgBlock::FormActivate() {
  if (!extentsComputed_) {
    scene_.GetMaxDims();
    extentsComputed_ = true;
    if (gl) gl->MarkSetupPending();
  }
  RedrawFigure();
}

QImage TDlgBlock::GrabFrame() { return gl ? gl->grabFramebuffer() : QImage(); }

void TDlgBlock::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  FormActivate();
}

void TDlgBlock::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (gl) gl->MarkSetupPending();
}

void TDlgBlock::closeEvent(QCloseEvent* e) {
  if (deformedDialog_) deformedDialog_->close();
  emit Closed();
  e->accept();
}

void TDlgBlock::SetOrtho() {
  const int w = gl->width(), h = gl->height();
  const double r = TView3dState::OrthoDepth(w, h, scene_.Extents());
  glOrtho(-w / 2.0, w / 2.0, -h / 2.0, h / 2.0, -r, r);
}

void TDlgBlock::glSetupRC() {
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  SetOrtho();
  view_.ComputeFit(gl->width(), gl->height(), scene_.Extents());

  scene_.Deflection = DeflectionSource ? DeflectionSource() : std::vector<TNodeDeflection>{};
  TGLSurface& s = gl->Surface();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  s.NewList(kLoadingList);
  scene_.DrawLoading(s);
  s.EndList();
  s.NewList(kGroundList);
  scene_.DrawSoilLayers(s);
  s.EndList();
  s.NewList(kStructureList);
  scene_.DrawPileCap(s);
  s.EndList();
  gl->SetupDone();
}

void TDlgBlock::glRender() {
  try {
    if (!extentsComputed_) FormActivate();
    if (gl->SetupPending()) glSetupRC();
    DrawFigure();
    paintError_.clear();
  } catch (const std::exception& ex) {
    // A failure while drawing is said on the frame; painting again after
    // the next change may well succeed.
    paintError_ = QString::fromStdString(ex.what());
  }
  if (!paintError_.isEmpty()) {
    gl->Surface().Labels.push_back({12, 24, tr("The view could not be drawn: %1").arg(paintError_), Qt::red});
  }
  if (scene_.Options.DeformedShape && scene_.Options.RetainingWall && !scene_.DeformedShapeDrawn()) {
    gl->Surface().Labels.push_back(
        {12, paintError_.isEmpty() ? 24.0 : 44.0,
         tr("No computed deflections fit the wall as it is now, so it is drawn straight. Run the analysis again."),
         Qt::darkRed});
  }
}

void TDlgBlock::DrawFigure() {
  const TSceneExtents& e = scene_.Extents();
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  // The frame is composed onto the window by its alpha: translucent soil
  // must blend into the colour only, never make the window see-through.
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
  // The labels of the last frame were painted in a projection of their
  // own; the view's is set again rather than trusted to have survived.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  SetOrtho();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glShadeModel(GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  glPushMatrix();
  const TMatrix4 m = view_.ModelView(e);
  glLoadMatrixd(m.data());
  view_.Capture(e);
  for (int list = 1; list <= kLastList; ++list) glCallList(static_cast<GLuint>(list));
  glDisable(GL_DEPTH_TEST);
  DrawAxes();
  glPopMatrix();
  if (view_.DraggingRectangle) DrawSelectionBox();
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void TDlgBlock::DrawAxes() {
  TGLSurface& s = gl->Surface();
  const double a = view_.AxisLength();
  struct TAxis {
    double x, y, z;
    int color;
    const char* label;
  };
  // D for depth: the axis points down the wall.
  for (const TAxis& axis : {TAxis{a, 0, 0, 1, "X"}, TAxis{0, a, 0, 2, "Y"}, TAxis{0, 0, -a, 3, "D"}}) {
    SetColorIndex(s, axis.color);
    s.Begin(TPrimitive::Lines);
    s.Vertex(0, 0, 0);
    s.Vertex(axis.x, axis.y, axis.z);
    s.End();
    s.Text(axis.x, axis.y, axis.z, axis.label);
  }
}

void TDlgBlock::DrawSelectionBox() {
  const double w = gl->width(), h = gl->height();
  auto at = [&](int x, int y) { glVertex3d(x - w / 2, h / 2 - y, 0); };
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glColor4d(0, 1, 0, 1);
  glBegin(GL_LINE_STRIP);
  at(view_.PressX, view_.PressY);
  at(view_.CornerX, view_.PressY);
  at(view_.CornerX, view_.CornerY);
  at(view_.PressX, view_.CornerY);
  at(view_.PressX, view_.PressY);
  glEnd();
}

void TDlgBlock::GLMouseDown(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (view_.MouseDown(p.x(), p.y(), KeysOf(e))) RedrawFigure();
}

void TDlgBlock::GLMouseMove(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (view_.MouseMove(p.x(), p.y(), gl->width(), gl->height(), KeysOf(e))) RedrawFigure();
}

void TDlgBlock::GLMouseUp(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (view_.MouseUp(p.x(), p.y(), gl->width(), gl->height(), KeysOf(e))) RedrawFigure();
}

}  // namespace ramvex
