#include "ChangeActiveLines.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "PltData.h"

namespace ramvex {

const char kActiveYes[] = " yes : ";
const char kActiveNo[] = " no  : ";

std::string ActiveRowText(bool active, const std::string& legendText) {
  return std::string(active ? kActiveYes : kActiveNo) + "   " + legendText;
}

TfrmActiveLines::TfrmActiveLines(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Active Curves"));
  auto* heading = new QLabel(QStringLiteral("Select Curve to Active/Desactive"), this);
  auto* activeLabel = new QLabel(QStringLiteral("Active :"), this);
  auto* curveLabel = new QLabel(QStringLiteral("Curve"), this);
  CurveList = new QListWidget(this);
  CurveList->setObjectName(QStringLiteral("CurveList"));
  CurveList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ActivateAll = new QPushButton(QStringLiteral("Activate All"), this);
  DeactivateAll = new QPushButton(QStringLiteral("Deactivate All"), this);
  ToggleSelected = new QPushButton(QStringLiteral("Activate/Deactivate Selected"), this);
  OK = new QPushButton(QStringLiteral("&OK"), this);
  Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  OK->setDefault(true);

  connect(CurveList, &QListWidget::itemDoubleClicked, this, &TfrmActiveLines::Toggle);
  connect(ActivateAll, &QPushButton::clicked, this, &TfrmActiveLines::ActivateAllClick);
  connect(DeactivateAll, &QPushButton::clicked, this, &TfrmActiveLines::DeactivateAllClick);
  connect(ToggleSelected, &QPushButton::clicked, this, &TfrmActiveLines::ToggleSelectedClick);
  connect(OK, &QPushButton::clicked, this, &QDialog::accept);
  connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* columns = new QHBoxLayout;
  columns->addWidget(activeLabel);
  columns->addWidget(curveLabel, 1);
  auto* buttons = new QGridLayout;
  buttons->addWidget(ActivateAll, 0, 0);
  buttons->addWidget(DeactivateAll, 0, 1);
  buttons->addWidget(ToggleSelected, 1, 0, 1, 2);
  buttons->addWidget(OK, 2, 0);
  buttons->addWidget(Cancel, 2, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addLayout(columns);
  layout->addWidget(CurveList, 1);
  layout->addLayout(buttons);
  setMinimumSize(190, 234);
}

void TfrmActiveLines::Load(const TGraphPlot& graph) {
  CurveList->clear();
  texts_.clear();
  states_.clear();
  for (int i = 0; i < graph.CurveCount(); ++i) {
    const TLine& line = graph.Curve(TCurveList::Panel1, i);
    texts_.push_back(line.LegendText());
    states_.push_back(line.Included);
    CurveList->addItem(QString::fromStdString(ActiveRowText(line.Included, line.LegendText())));
  }
  if (CurveList->count() > 0) {
    CurveList->setCurrentRow(0);
    CurveList->item(0)->setSelected(true);
  }
}

void TfrmActiveLines::Store(TGraphPlot& graph) const {
  for (int i = 0; i < graph.CurveCount() && i < static_cast<int>(states_.size()); ++i) {
    graph.Curve(TCurveList::Panel1, i).Included = states_[static_cast<size_t>(i)];
  }
}

std::vector<bool> TfrmActiveLines::States() const { return states_; }

void TfrmActiveLines::SetState(int row, bool active) {
  if (row < 0 || row >= static_cast<int>(states_.size())) return;
  states_[static_cast<size_t>(row)] = active;
  CurveList->item(row)->setText(QString::fromStdString(ActiveRowText(active, texts_[static_cast<size_t>(row)])));
}

void TfrmActiveLines::Toggle(QListWidgetItem* item) {
  const int row = CurveList->row(item);
  if (row >= 0) SetState(row, !states_[static_cast<size_t>(row)]);
}

void TfrmActiveLines::ActivateAllClick() {
  for (int i = 0; i < static_cast<int>(states_.size()); ++i) SetState(i, true);
}

void TfrmActiveLines::DeactivateAllClick() {
  for (int i = 0; i < static_cast<int>(states_.size()); ++i) SetState(i, false);
}

void TfrmActiveLines::ToggleSelectedClick() {
  for (QListWidgetItem* item : CurveList->selectedItems()) Toggle(item);
}

}  // namespace ramvex
