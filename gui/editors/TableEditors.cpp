// Placeholder editors: a titled child window per table, so that the main
// window can be built and tested before the grid editors exist.
#include "TableEditors.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "Table.h"

namespace ramvex {

QWidget* ShowEditor(TGridTable& table, QMdiArea* area) {
  if (table.VisibleColumnCount() == 0 || area == nullptr) return nullptr;
  auto* w = new QLabel(QString::fromStdString(table.Caption()));
  w->setWindowTitle(QString::fromStdString(table.EditorTitle()));
  QMdiSubWindow* sub = area->addSubWindow(w);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->show();
  return w;
}

void ShowEditorModal(TGridTable&, QWidget*) {}

void HideEditor(TGridTable& table) { table.HideEditor(); }

}  // namespace ramvex
