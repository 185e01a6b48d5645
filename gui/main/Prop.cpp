#include "Prop.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "AssignError.h"
#include "DataEdit.h"
#include "NumberText.h"
#include "ProgramData.h"

namespace ramvex {

namespace {
// Free heights are held in inches and shown in feet in unit system 1.
constexpr long double kFeetPerInch = 1.0L / 12.0L;
}  // namespace

TDlgProp::TDlgProp(TProgramData& data, QMdiArea* area) : TInputDialog(data, area, QStringLiteral("Wall Properties")) {
  auto* grid = new QGridLayout(this);
  increments_ = AddField(grid, 0, QStringLiteral("&Increments (nodes)"), QString());
  increments_->SetIntegerOnly(true);
  increments_->SetMaxVal(300);
  increments_->SetMinVal(1);
  increments_->SetNumber(80);

  auto* stiffness = new QLabel(QStringLiteral("Wall Stiffness (EI)"), this);
  section_ = new QPushButton(QStringLiteral("Enter Section Data"), this);
  grid->addWidget(stiffness, 1, 0);
  grid->addWidget(section_, 1, 1);
  connect(section_, &QPushButton::clicked, this, [this] { ShowEditor(*data_.Tables().PileSect, area_); });

  incrementLength_ = AddField(grid, 2, QStringLiteral("Increment Length"), QStringLiteral("L"),
                              &TProgramData::IncrementLength);
  freeHeight_ = AddField(grid, 3, QStringLiteral("Free Height of Wall"), QStringLiteral("L2"), &TProgramData::FreeHeight,
                         kFeetPerInch);
  maxDeflection_ = AddField(grid, 4, QStringLiteral("Maximum Allowable Deflection for computation iteration"),
                            QStringLiteral("L"), &TProgramData::MaxDeflection);
  grid->addWidget(new QLabel(QStringLiteral("(Approx.10% of the wall height)  "), this), 5, 0);
  tolerance_ = AddField(grid, 6, QStringLiteral("Deflection Closure Tolerance"), QStringLiteral("L"),
                        &TProgramData::ClosureTolerance);
  grid->setRowStretch(7, 1);
}

void TDlgProp::Load() {
  increments_->SetNumber(data_.IncrementCount);
  Loaded(increments_);
  LoadFields();
}

void TDlgProp::Store() {
  if (Edited(increments_)) {
    try {
      int n = static_cast<int>(RoundHalfEven(increments_->Number()));
      if (n != data_.IncrementCount) data_.Modified = true;
      data_.IncrementCount = n;
      Loaded(increments_);
    } catch (const EAssignError&) {
    }
  }
  StoreFields();
}

}  // namespace ramvex
