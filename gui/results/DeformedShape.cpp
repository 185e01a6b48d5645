#include "DeformedShape.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "View3dState.h"

namespace ramvex {

QString FactorText(double factor) { return QString::number(factor, 'g', 15); }

bool ParseFactor(const QString& text, double* value) {
  bool ok = false;
  double v = QLocale().toDouble(text.trimmed(), &ok);
  if (!ok) v = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

TDlgDeformedShape::TDlgDeformedShape(TSceneOptions& options, std::function<void()> rebuild, QWidget* parent)
    : QDialog(parent), options_(options), rebuild_(std::move(rebuild)) {
  setWindowTitle(tr("Deformed Shape"));
  setAttribute(Qt::WA_DeleteOnClose);
  CheckBoxDeformedShape = new QCheckBox(tr("Show Deformed Shape"), this);
  CheckBoxDeformedShape->setObjectName("CheckBoxDeformedShape");
  CheckBoxUndeformedModel = new QCheckBox(tr("Show Undeformed Model"), this);
  CheckBoxUndeformedModel->setObjectName("CheckBoxUndeformedModel");
  auto* label = new QLabel(tr("Deformed Shape Factor"), this);
  EditDefFactor = new QLineEdit(this);
  EditDefFactor->setObjectName("EditDefFactor");
  UpDownDefFactorUp = new QToolButton(this);
  UpDownDefFactorUp->setObjectName("UpDownDefFactorUp");
  UpDownDefFactorUp->setArrowType(Qt::UpArrow);
  UpDownDefFactorDown = new QToolButton(this);
  UpDownDefFactorDown->setObjectName("UpDownDefFactorDown");
  UpDownDefFactorDown->setArrowType(Qt::DownArrow);
  FactorMessage = new QLabel(this);
  FactorMessage->setStyleSheet("color: #b00000");
  auto* close = new QPushButton(tr("Close"), this);

  auto* upDown = new QVBoxLayout;
  upDown->setSpacing(0);
  upDown->addWidget(UpDownDefFactorUp);
  upDown->addWidget(UpDownDefFactorDown);
  auto* factorRow = new QHBoxLayout;
  factorRow->addWidget(label);
  factorRow->addWidget(EditDefFactor, 1);
  factorRow->addLayout(upDown);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CheckBoxDeformedShape);
  layout->addWidget(CheckBoxUndeformedModel);
  layout->addLayout(factorRow);
  layout->addWidget(FactorMessage);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  layout->addLayout(buttons);

  connect(CheckBoxDeformedShape, &QCheckBox::clicked, this, &TDlgDeformedShape::DeformedShapeClick);
  connect(CheckBoxUndeformedModel, &QCheckBox::clicked, this, &TDlgDeformedShape::UndeformedModelClick);
  connect(EditDefFactor, &QLineEdit::textEdited, this, &TDlgDeformedShape::FactorEdited);
  connect(UpDownDefFactorUp, &QToolButton::clicked, this, [this] { StepFactor(true); });
  connect(UpDownDefFactorDown, &QToolButton::clicked, this, [this] { StepFactor(false); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  FormActivate();
}

void TDlgDeformedShape::showEvent(QShowEvent* e) {
  FormActivate();
  QDialog::showEvent(e);
}

void TDlgDeformedShape::FormActivate() {
  EditDefFactor->setText(FactorText(options_.DeformationFactor));
  CheckBoxDeformedShape->setChecked(options_.DeformedShape);
  CheckBoxUndeformedModel->setChecked(options_.UndeformedModel);
  FactorMessage->clear();
  UpdateEnabling();
}

void TDlgDeformedShape::UpdateEnabling() {
  const bool on = CheckBoxDeformedShape->isChecked();
  CheckBoxUndeformedModel->setEnabled(on);
  EditDefFactor->setEnabled(on);
  UpDownDefFactorUp->setEnabled(on);
  UpDownDefFactorDown->setEnabled(on);
}

void TDlgDeformedShape::DeformedShapeClick() {
  options_.DeformedShape = CheckBoxDeformedShape->isChecked();
  UpdateEnabling();
  if (rebuild_) rebuild_();
}

void TDlgDeformedShape::UndeformedModelClick() {
  options_.UndeformedModel = CheckBoxUndeformedModel->isChecked();
  if (rebuild_) rebuild_();
}

void TDlgDeformedShape::FactorEdited(const QString& text) {
  if (text.isEmpty()) return;
  double v = 0;
  // Said in the dialog, not in a message box: a box at every keystroke
  // would interrupt typing "-2" or "1e3" half way.
  if (!ParseFactor(text, &v)) {
    FactorMessage->setText(tr("'%1' is not a valid floating point value").arg(text));
    return;
  }
  FactorMessage->clear();
  options_.DeformationFactor = v;
  if (rebuild_) rebuild_();
}

void TDlgDeformedShape::StepFactor(bool up) {
  options_.DeformationFactor = StepDeformationFactor(options_.DeformationFactor, up);
  EditDefFactor->setText(FactorText(options_.DeformationFactor));
  FactorMessage->clear();
  if (rebuild_) rebuild_();
}

}  // namespace ramvex
