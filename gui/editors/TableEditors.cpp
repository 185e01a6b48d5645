#include "TableEditors.h"

#include <QCloseEvent>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVBoxLayout>

#include "Table.h"
#include "TableForm.h"

namespace ramvex {

namespace {

// Modal host of an editor: closing it, by the title bar or Escape, is
// refused while the entry in the grid cannot be accepted.
class TEditorDialog : public QDialog {
 public:
  explicit TEditorDialog(QWidget* parent) : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
  }
  void SetForm(TTableForm* form) {
    form_ = form;
    layout()->addWidget(form);
  }
  void reject() override {
    if (form_ && !form_->CommitEdit()) return;
    QDialog::reject();
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (form_ && !form_->CommitEdit()) {
      event->ignore();
      return;
    }
    QDialog::closeEvent(event);
  }

 private:
  QPointer<TTableForm> form_;
};

TTableForm* OpenForm(const TGridTable& table) { return dynamic_cast<TTableForm*>(table.Listener()); }

}  // namespace

QWidget* ShowEditor(TGridTable& table, QMdiArea* area) {
  if (table.VisibleColumnCount() == 0 || area == nullptr) return nullptr;
  if (TTableForm* open = OpenForm(table)) {
    open->BringToFront();
    return open;
  }
  TTableForm* form = CreateTableForm(table, false);
  QMdiSubWindow* sub = area->addSubWindow(form);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  form->HostIn(sub, area);
  sub->show();
  form->BringToFront();
  return form;
}

void ShowEditorModal(TGridTable& table, QWidget* parent) {
  if (table.VisibleColumnCount() == 0) return;
  if (TTableForm* open = OpenForm(table)) {
    // Already open as a child window: a second window on the same table
    // would show two states of it.
    open->BringToFront();
    return;
  }
  QPointer<TEditorDialog> dialog = new TEditorDialog(parent);
  TTableForm* form = CreateTableForm(table, true);
  dialog->SetForm(form);
  form->HostIn(dialog.data());
  dialog->exec();
  delete dialog.data();
}

void HideEditor(TGridTable& table) { table.HideEditor(); }

}  // namespace ramvex
