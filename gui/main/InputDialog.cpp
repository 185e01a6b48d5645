#include "InputDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "AssignError.h"
#include "DataEdit.h"
#include "ProgramData.h"

namespace ramvex {

TInputDialog::TInputDialog(TProgramData& data, QMdiArea* area, const QString& title)
    : data_(data), area_(area) {
  setWindowTitle(title);
  setAttribute(Qt::WA_DeleteOnClose);
}

TDataEdit* TInputDialog::AddField(QGridLayout* grid, int row, const QString& caption, const QString& unitString,
                                  long double TProgramData::*field, long double englishFactor) {
  auto* label = new QLabel(this);
  auto* edit = new TDataEdit(this);
  edit->SetEditLabel(label);
  edit->SetCaption(caption);
  edit->SetUnitsString(unitString);
  edit->SetUnits(data_.UnitSystem);
  edit->setMinimumWidth(110);
  grid->addWidget(label, row, 0);
  grid->addWidget(edit, row, 1);
  bindings_.push_back({edit, field, englishFactor, {}});
  return edit;
}

TInputDialog::TBinding* TInputDialog::Find(const TDataEdit* field) {
  for (TBinding& b : bindings_) {
    if (b.Edit == field) return &b;
  }
  return nullptr;
}

const TInputDialog::TBinding* TInputDialog::Find(const TDataEdit* field) const {
  return const_cast<TInputDialog*>(this)->Find(field);
}

long double TInputDialog::Factor(const TBinding& b) const { return data_.UnitSystem == 1 ? b.EnglishFactor : 1; }

bool TInputDialog::Edited(const TDataEdit* field) const {
  const TBinding* b = Find(field);
  return b == nullptr || field->text() != b->LoadedText;
}

void TInputDialog::Loaded(const TDataEdit* field) {
  if (TBinding* b = Find(field)) b->LoadedText = field->text();
}

void TInputDialog::LoadFields() {
  for (TBinding& b : bindings_) {
    if (b.Field == nullptr) continue;
    b.Edit->SetNumber(data_.*b.Field * Factor(b));
    b.LoadedText = b.Edit->text();
  }
}

void TInputDialog::StoreFields() {
  // Only fields the user changed are stored: a value shown in feet and
  // stored back in inches would otherwise drift in its last digits, and a
  // dialog merely looked at would mark the project modified.
  for (TBinding& b : bindings_) {
    if (b.Field == nullptr || !Edited(b.Edit)) continue;
    try {
      data_.*b.Field = b.Edit->Number() / Factor(b);
      data_.Modified = true;
      b.LoadedText = b.Edit->text();
    } catch (const EAssignError&) {
      // The field has told the user and keeps the focus; the project keeps
      // its value until the entry is corrected.
    }
  }
}

void TInputDialog::Activate() {
  for (TBinding& b : bindings_) b.Edit->SetUnits(data_.UnitSystem);
  Load();
}

bool TInputDialog::CommitEdit() {
  if (auto* edit = qobject_cast<TDataEdit*>(focusWidget())) {
    if (!edit->CheckEntry()) return false;
  }
  Store();
  return true;
}

void TInputDialog::closeEvent(QCloseEvent* event) {
  if (!CommitEdit()) {
    event->ignore();
    return;
  }
  event->accept();
}

namespace {

QHBoxLayout* SketchRow(QWidget* owner, TSketch sketch) {
  auto* row = new QHBoxLayout;
  auto* view = new TSketchView(sketch, owner);
  row->addWidget(view, 1);
  return row;
}

}  // namespace

TTableButtonDialog::TTableButtonDialog(TProgramData& data, QMdiArea* area, const QString& title, TSketch sketch,
                                       const QString& buttonCaption, std::function<TGridTable&()> table)
    : TInputDialog(data, area, title) {
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(SketchRow(this, sketch), 1);
  button_ = new QPushButton(buttonCaption, this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(button_);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(button_, &QPushButton::clicked, this, [this, table] { ShowEditor(table(), area_); });
}

TOptionTableDialog::TOptionTableDialog(TProgramData& data, QMdiArea* area, const QString& title, TSketch sketch,
                                       const QString& checkCaption, bool TProgramData::*flag,
                                       const QString& buttonCaption, std::function<TGridTable&()> table)
    : TInputDialog(data, area, title), flag_(flag), table_(std::move(table)) {
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(SketchRow(this, sketch), 1);
  check_ = new QCheckBox(checkCaption, this);
  button_ = new QPushButton(buttonCaption, this);
  auto* row = new QHBoxLayout;
  row->addWidget(check_);
  row->addStretch();
  row->addWidget(button_);
  layout->addLayout(row);
  connect(check_, &QCheckBox::clicked, this, &TOptionTableDialog::Clicked);
  connect(button_, &QPushButton::clicked, this, [this] { ShowEditor(table_(), area_); });
}

void TOptionTableDialog::Load() {
  check_->setChecked(data_.*flag_);
  button_->setEnabled(check_->isChecked());
}

void TOptionTableDialog::Store() {
  if (data_.*flag_ != check_->isChecked()) data_.Modified = true;
  data_.*flag_ = check_->isChecked();
}

void TOptionTableDialog::Clicked(bool checked) {
  button_->setEnabled(checked);
  if (!checked) HideEditor(table_());
  data_.Modified = true;
}

}  // namespace ramvex
