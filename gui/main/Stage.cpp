#include "Stage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "AssignError.h"
#include "DataEdit.h"
#include "NumberText.h"

namespace ramvex {

namespace {

const char kExplanation[] =
    "RAMVEX uses a simplified approach for staged construction. Each stage is analysed on its own, with its own "
    "earth pressure, boundary conditions and p-y curves as the initial condition; the stress history of the soil "
    "and of the structure from the earlier stages is not traced.\n\n"
    "The p-y curves of each stage are generated from that stage's excavation depth, wall height and water table.\n\n"
    "The results give general ideas about the pattern of deformation and stress of the wall during construction. "
    "They rely on the user's engineering judgement.";

}  // namespace

TDlgStage::TDlgStage(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Staged Construction Options"));
  auto* layout = new QVBoxLayout(this);
  auto* text = new QPlainTextEdit(QString::fromLatin1(kExplanation), this);
  text->setReadOnly(true);
  text->setMinimumSize(420, 150);
  layout->addWidget(text);

  auto* group = new QGroupBox(this);
  auto* grid = new QGridLayout(group);
  check_ = new QCheckBox(QStringLiteral("Conduct &Staged-Construction Analysis"), group);
  grid->addWidget(check_, 0, 0, 1, 3);
  auto* label = new QLabel(group);
  count_ = new TDataEdit(group);
  count_->SetEditLabel(label);
  count_->SetCaption(QStringLiteral("Enter the total number of stages (Max. = 5, Min =2)"));
  count_->SetIntegerOnly(true);
  count_->SetMaxVal(kMaxStages);
  count_->SetMinVal(1);
  count_->SetNumber(2);
  count_->setMaximumWidth(60);
  up_ = new QToolButton(group);
  up_->setArrowType(Qt::UpArrow);
  down_ = new QToolButton(group);
  down_->setArrowType(Qt::DownArrow);
  auto* spin = new QVBoxLayout;
  spin->setSpacing(0);
  spin->addWidget(up_);
  spin->addWidget(down_);
  grid->addWidget(label, 1, 0);
  grid->addWidget(count_, 1, 1);
  grid->addLayout(spin, 1, 2);
  layout->addWidget(group);

  auto* buttons = new QHBoxLayout;
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  connect(check_, &QCheckBox::clicked, this, &TDlgStage::Checked);
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
  connect(ok_, &QPushButton::clicked, this, &TDlgStage::Ok);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TDlgStage::EnableCount(bool on) {
  count_->setEnabled(on);
  up_->setEnabled(on);
  down_->setEnabled(on);
}

void TDlgStage::Activate(int stageCount) {
  count_->SetNumber(stageCount);
  check_->setChecked(stageCount > 1);
  EnableCount(stageCount > 1);
}

void TDlgStage::Checked(bool on) {
  if (on) {
    long double v = 1;
    try {
      v = count_->Number();
    } catch (const EAssignError&) {
    }
    if (v <= 1) count_->SetNumber(2);
  } else {
    count_->SetNumber(1);
  }
  EnableCount(on);
}

void TDlgStage::Step(int delta) {
  long double v = 2;
  try {
    v = RoundHalfEven(count_->Number());
  } catch (const EAssignError&) {
  }
  // The spin control stays within the staged range 2 to 5.
  if (delta > 0 && v < kMaxStages) count_->SetNumber(v + 1);
  if (delta < 0 && v > 2) count_->SetNumber(v - 1);
}

void TDlgStage::Ok() {
  if (!count_->CheckEntry()) return;
  int n = 1;
  try {
    n = static_cast<int>(RoundHalfEven(count_->Number()));
  } catch (const EAssignError&) {
    return;
  }
  // A checked box asks for a staged analysis; a count of 1 there would
  // silently drop it.
  if (!check_->isChecked()) n = 1;
  if (OnAccept && !OnAccept(n)) return;
  accept();
}

}  // namespace ramvex
