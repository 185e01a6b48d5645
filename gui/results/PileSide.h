// The soil profile window: the drawing of PileSideDrawing in a window with
// its label and its Print button, and the depth under the mouse in the
// window title.
#pragma once

#include <QPointer>
#include <QWidget>

#include "PileSideDrawing.h"

class QLabel;
class QPrinter;
class QPushButton;

namespace ramvex {

class TProgramData;

class TDlgSideView : public QWidget {
  Q_OBJECT

 public:
  // The view reads the project each time it becomes active; the project
  // must outlive the window (the main window closes its child windows
  // before it replaces the project).
  explicit TDlgSideView(TProgramData& project, QWidget* parent = nullptr);

  // Reads the wall, the layers and the marks from the project again and
  // repaints.  Called whenever the window becomes active.
  void FormActivate();
  const TSideViewModel& Model() const { return model_; }
  // The drawing area, below the label and the button.
  QWidget* Canvas() const;

  // Landscape and the job title of the printed profile; the print dialog
  // starts from these.
  static void PreparePrinter(QPrinter& printer);
  // Draws the profile on one page of printer.  False, with the reason in
  // error, when the printer cannot be opened.
  bool PrintTo(QPrinter& printer, QString* error = nullptr);
  // The Print button: the print dialog, then the page.
  void PrintClick();

  QLabel* WallProfile = nullptr;
  QPushButton* Print = nullptr;

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  friend class TSideViewCanvas;
  void CanvasMouseMove(QPoint pos);
  void CanvasLeave();
  void WatchSubWindow();

  TProgramData& project_;
  TSideViewModel model_;
  class TSideViewCanvas* canvas_ = nullptr;
  QPointer<QWidget> watched_;
};

}  // namespace ramvex
