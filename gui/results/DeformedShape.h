// The "Deformed Shape" dialog of the three-dimensional view: whether the
// wall is drawn bent into its computed deflection, whether the straight wall
// is outlined beside it, and the exaggeration of the deflections.
#pragma once

#include <QDialog>
#include <functional>

#include "Scene3D.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace ramvex {

class TDlgDeformedShape : public QDialog {
  Q_OBJECT
 public:
  // options belong to the view; rebuild remakes and repaints its scene.
  TDlgDeformedShape(TSceneOptions& options, std::function<void()> rebuild, QWidget* parent);

  QCheckBox* CheckBoxDeformedShape;
  QCheckBox* CheckBoxUndeformedModel;
  QLineEdit* EditDefFactor;
  // The up-down control: one step of the factor ladder per click.
  QToolButton* UpDownDefFactorUp;
  QToolButton* UpDownDefFactorDown;
  // Why the typed factor was not taken, empty when it was.
  QLabel* FactorMessage;

  // Shows the view's current settings.
  void FormActivate();
  void StepFactor(bool up);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void UpdateEnabling();
  void DeformedShapeClick();
  void UndeformedModelClick();
  void FactorEdited(const QString& text);

  TSceneOptions& options_;
  std::function<void()> rebuild_;
};

// The factor as the edit shows it: up to 15 significant digits.
QString FactorText(double factor);
// A typed factor in the user's or the plain notation; false when the text
// is not a number.
bool ParseFactor(const QString& text, double* value);

}  // namespace ramvex
