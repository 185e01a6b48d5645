// The "3-D View" window: the project's block model on an OpenGL surface,
// turned, moved and zoomed with the mouse and the main window's toolbar,
// its elements switched from the main window's "Show 3DView" menu.
//
// The scene is compiled into display lists at every rebuild (option changes,
// deformed-shape changes, resizing); turning, panning and zooming replay the
// lists under a new transform.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "DeformedShape.h"
#include "ProgramData.h"
#include "Scene3D.h"
#include "View3dState.h"

class QLabel;
class QMouseEvent;

namespace ramvex {

class TglWindow;

class TDlgBlock : public QWidget {
  Q_OBJECT
 public:
  TDlgBlock(TProgramData& project, QWidget* parent = nullptr);
  ~TDlgBlock() override;

  // Curve 0 of the deflection graph, asked for at every rebuild: one point
  // per node from the top, deflection and depth as the graph holds them.
  std::function<std::vector<TNodeDeflection>()> DeflectionSource;

  // Switches of the "Show 3DView" menu: each toggles and rebuilds.
  void ShowRetainingWallOption();
  void ShowSoilLayersOption();
  void ShowWaterLevelOption();
  void ShowAditionalSurchargeOption();
  void ShowConcentratedLoadsOption();
  void ShowTieBacksOption();
  void ShowBoundaryConditionsOption();
  void ShowLateralSpringsOption();
  // Their states, for the menu's check marks.
  const TSceneOptions& Options() const { return scene_.Options; }

  // Toolbar: "Panning" 1, "Zooming" 2, "Rotating" 3, "Zoom Window" 4.
  void SetMouseMode(int mode);
  // "Zoom In" is Zooming(kZoomStep), "Zoom Out" Zooming(1 / kZoomStep).
  void Zooming(double factor);
  void RestartViewButtonClick();
  // "Deformed Shape": opens the dialog, or brings it to the front.
  void DeformedShapeWindow();
  TDlgDeformedShape* DeformedShapeDialog() const { return deformedDialog_; }

  // Repaint only; rebuild the lists, fit and projection, then repaint.
  void RedrawFigure();
  void RedrawComplete();
  // First activation computes the extents of the project as it is now.
  void FormActivate();

  // Null when the machine offers no usable OpenGL; the window then shows
  // NoOpenGLMessage instead.
  TglWindow* gl = nullptr;
  QLabel* NoOpenGLMessage = nullptr;

  const TView3dState& View() const { return view_; }
  TScene3D& Scene() { return scene_; }
  // The frame as the user sees it, rendered afresh; null without OpenGL.
  QImage GrabFrame();

 signals:
  // The window closed: the main window hides the 3D menu and buttons and
  // forgets the window.
  void Closed();

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void Toggle(bool& option);
  void glSetupRC();
  void SetOrtho();
  void glRender();
  void DrawFigure();
  void DrawAxes();
  void DrawSelectionBox();
  void GLMouseDown(QMouseEvent* e);
  void GLMouseMove(QMouseEvent* e);
  void GLMouseUp(QMouseEvent* e);

  TProgramData& project_;
  TScene3D scene_;
  TView3dState view_;
  bool extentsComputed_ = false;
  QString paintError_;
  QPointer<TDlgDeformedShape> deformedDialog_;
};

}  // namespace ramvex
