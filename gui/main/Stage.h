// Staged-construction dialog: switches the staged analysis on and sets the
// number of stages.  A window of its own, not a child of the main window.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QPushButton;
class QToolButton;

namespace ramvex {

class TDataEdit;

class TDlgStage : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxStages = 5;

  explicit TDlgStage(QWidget* parent = nullptr);

  // Shows the project's stage count.
  void Activate(int stageCount);
  // Called with the new stage count when the user presses OK; returns false
  // when the count could not be applied, which keeps the dialog open.
  std::function<bool(int)> OnAccept;

  QCheckBox* Check() const { return check_; }
  TDataEdit* Count() const { return count_; }
  QToolButton* Up() const { return up_; }
  QToolButton* Down() const { return down_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  void Checked(bool on);
  void Step(int delta);
  void Ok();
  void EnableCount(bool on);

  QCheckBox* check_;
  TDataEdit* count_;
  QToolButton* up_;
  QToolButton* down_;
  QPushButton* ok_;
};

}  // namespace ramvex
