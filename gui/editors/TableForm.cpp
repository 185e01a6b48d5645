#include "TableForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include "AssignError.h"
#include "HelpPictures.h"
#include "TableChartForm.h"

namespace ramvex {

namespace {

TEditorNotifier& Notifier() {
  static TEditorNotifier notifier;
  return notifier;
}

// Messages of the data layer separate their lines with a carriage return.
QString MessageText(const char* text) { return QString::fromUtf8(text).replace('\r', '\n'); }

// Enter walks the grid; the delegate sees the key before the cell editor
// would close on it, so the walk can check the entry first.
class TEnterDelegate : public QStyledItemDelegate {
 public:
  TEnterDelegate(TTableForm* form, QObject* parent) : QStyledItemDelegate(parent), form_(form) {}

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        form_->EnterKey();
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
  }

 private:
  TTableForm* form_;
};

}  // namespace

void SetEditorNotifier(TEditorNotifier notifier) { Notifier() = std::move(notifier); }

void NotifyUser(QWidget* window, const QString& message) {
  if (Notifier()) {
    Notifier()(window, message);
    return;
  }
  QMessageBox::information(window, QStringLiteral("Information"), message, QMessageBox::Ok);
}

// ---------------------------------------------------------------- TTableModel

TTableModel::TTableModel(TGridTable* table, QObject* parent) : QAbstractTableModel(parent), table_(table) {}

int TTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !table_ ? 0 : table_->RowCount();
}

int TTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !table_ ? 0 : table_->VisibleColumnCount();
}

bool TTableModel::IsTextColumn(int column) const {
  return table_ && column >= 0 && column < table_->VisibleColumnCount() &&
         !table_->VisibleColumn(column)->UsesControls();
}

QString TTableModel::Text(int row, int column) const {
  auto it = typed_.find({row, column});
  if (it != typed_.end()) return it->second;
  if (!IsTextColumn(column) || row < 0 || row >= table_->RowCount()) return {};
  return QString::fromStdString(table_->VisibleColumn(column)->GetText(row));
}

QVariant TTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !table_) return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole) return Text(index.row(), index.column());
  return {};
}

bool TTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !IsTextColumn(index.column())) return false;
  const QString text = value.toString();
  const std::pair<int, int> key{index.row(), index.column()};
  // Text equal to the table's own is not an entry: committing it again
  // would round the stored value to the shown digits.
  if (!HasTypedText(index.row(), index.column()) &&
      text == QString::fromStdString(table_->VisibleColumn(index.column())->GetText(index.row()))) {
    return true;
  }
  typed_[key] = text;
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags TTableModel::flags(const QModelIndex& index) const {
  if (!IsTextColumn(index.column())) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

int TTableModel::HeaderRows() const {
  int h = 0;
  if (!table_) return 1;
  for (int c = 0; c < table_->VisibleColumnCount(); ++c) h = std::max(h, table_->VisibleColumn(c)->HeaderLineCount());
  return std::max(h, 1);
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (!table_) return {};
  if (role == Qt::TextAlignmentRole) {
    return orientation == Qt::Horizontal ? QVariant(Qt::AlignLeft | Qt::AlignTop) : QVariant(Qt::AlignCenter);
  }
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section / table_->RowGroup() + 1;
  if (section < 0 || section >= table_->VisibleColumnCount()) return {};
  const TColumn* c = table_->VisibleColumn(section);
  QStringList lines;
  for (int k = 0; k < HeaderRows(); ++k) lines << (k < c->HeaderLineCount() ? QString::fromStdString(c->HeaderLine(k)) : QString());
  return lines.join('\n');
}

void TTableModel::DropTypedText(int row, int column) {
  if (typed_.erase({row, column}) && table_) emit dataChanged(index(row, column), index(row, column));
}

void TTableModel::DropAllTypedText() {
  typed_.clear();
  if (table_ && rowCount() > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void TTableModel::Reset(TGridTable* table) {
  beginResetModel();
  table_ = table;
  typed_.clear();
  endResetModel();
}

void TTableModel::CellChanged(int row, int column) {
  typed_.erase({row, column});
  if (table_ && row >= 0 && row < rowCount() && column >= 0 && column < columnCount()) {
    emit dataChanged(index(row, column), index(row, column));
  }
}

// ---------------------------------------------------------------- TEditorGrid

TEditorGrid::TEditorGrid(TTableForm* form) : QTableView(form), form_(form) {
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setTabKeyNavigation(true);
  setCornerButtonEnabled(false);
  setWordWrap(false);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setHighlightSections(false);
  verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

void TEditorGrid::TakeEditorText() {
  if (state() != QAbstractItemView::EditingState) return;
  if (QWidget* editor = indexWidget(currentIndex())) commitData(editor);
}

void TEditorGrid::SetEditorText(const QString& text) {
  if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(currentIndex()))) editor->setText(text);
}

QModelIndex TEditorGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  QModelIndex target = QTableView::moveCursor(action, modifiers);
  if (target.isValid() && target != currentIndex() && !form_->LeaveCell(target)) return currentIndex();
  return target;
}

void TEditorGrid::mousePressEvent(QMouseEvent* event) {
  QModelIndex target = indexAt(event->position().toPoint());
  if (target.isValid() && target != currentIndex()) {
    if (!(target.flags() & Qt::ItemIsEnabled) || !form_->LeaveCell(target)) {
      event->accept();
      return;
    }
  }
  QTableView::mousePressEvent(event);
}

void TEditorGrid::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    form_->EnterKey();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void TEditorGrid::keyReleaseEvent(QKeyEvent* event) {
  form_->GridKeyReleased(event->key());
  QTableView::keyReleaseEvent(event);
}

// ---------------------------------------------------------------- TTableForm

TTableForm::TTableForm(TGridTable& table, bool modal, QWidget* parent)
    : QWidget(parent), table_(&table), modal_(modal) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  const double ppi = logicalDpiX();
  margin_ = EditorMargin(ppi);

  grid_ = new TEditorGrid(this);
  model_ = new TTableModel(table_, this);
  grid_->setModel(model_);
  grid_->setItemDelegate(new TEnterDelegate(this, grid_));
  corner_ = new QLabel(grid_);
  corner_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  corner_->setMargin(2);
  corner_->setAttribute(Qt::WA_TransparentForMouseEvents);
  // Leaving the grid (its cell editor included) for another control of
  // the window takes the entry over.
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    auto inGrid = [this](QWidget* w) { return w && (w == grid_ || grid_->isAncestorOf(w)); };
    if (inGrid(old) && !inGrid(now)) QTimer::singleShot(0, this, [this] { FocusLeftGrid(); });
  });

  add_ = new QPushButton(QStringLiteral("&Add Row"), this);
  insert_ = new QPushButton(QStringLiteral("&Insert Row"), this);
  delete_ = new QPushButton(QStringLiteral("&Delete Row"), this);
  for (QPushButton* b : {add_, insert_, delete_}) b->setAutoDefault(false);
  connect(add_, &QPushButton::clicked, this, &TTableForm::AddRowClick);
  connect(insert_, &QPushButton::clicked, this, &TTableForm::InsertRowClick);
  connect(delete_, &QPushButton::clicked, this, &TTableForm::DeleteRowClick);

  comments_ = new QLabel(this);
  comments_->setTextFormat(Qt::PlainText);
  picture_ = new QLabel(this);

  // All rows as tall as a drop-down list, so the lists fit their cells.
  QComboBox probe;
  rowHeight_ = std::max(fontMetrics().height() + 8, probe.sizeHint().height() + 4);
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->verticalHeader()->setDefaultSectionSize(rowHeight_);
  const QString topLeft = QString::fromStdString(table_->TopLeft());
  fixedWidth_ = std::max(fontMetrics().horizontalAdvance(topLeft + QStringLiteral("  ")) + 8, static_cast<int>(ppi) / 3);
  corner_->setText(topLeft);

  table_->SetRowCount(std::max(table_->RowCount(), table_->MinRows()));
  table_->SetListener(this);
  shownColumns_ = table_->VisibleColumnCount();
}

TTableForm::~TTableForm() {
  // Focus moves while the children go; the window is no longer one to ask.
  disconnect(focusWatch_);
  if (table_ && table_->Listener() == this) table_->SetListener(nullptr);
}

void TTableForm::HostIn(QMdiSubWindow* sub, QMdiArea* area) {
  host_ = sub;
  sub_ = sub;
  area_ = area;
  shownRows_ = std::min(table_->RowCount(), MaxInitialRows());
  connect(sub, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
    if ((before & Qt::WindowActive) && !(now & Qt::WindowActive)) WindowDeactivated();
  });
  Rebuild();
}

void TTableForm::HostIn(QWidget* dialog) {
  host_ = dialog;
  shownRows_ = std::min(table_->RowCount(), MaxInitialRows());
  Rebuild();
}

void TTableForm::BringToFront() {
  if (sub_ && area_) {
    if (sub_->isMinimized()) sub_->showNormal();
    sub_->show();
    area_->setActiveSubWindow(sub_);
    sub_->raise();
  } else if (host_) {
    host_->raise();
    host_->activateWindow();
  }
}

int TTableForm::VisibleIndexOf(int tableColumn) const {
  if (!table_ || tableColumn < 0 || tableColumn >= table_->ColumnCount() || !table_->Column(tableColumn)->Visible()) return -1;
  int v = 0;
  for (int c = 0; c < tableColumn; ++c) v += table_->Column(c)->Visible() ? 1 : 0;
  return v;
}

QWidget* TTableForm::ControlAt(int column, int row) const {
  auto it = controls_.find({column, row});
  return it == controls_.end() ? nullptr : it->second.data();
}

TCell TTableForm::CurrentCell() const {
  QModelIndex i = grid_->currentIndex();
  return i.isValid() ? TCell{i.column(), i.row()} : TCell{-1, -1};
}

// ---------------------------------------------------------------- committing

QString TTableForm::EnterText(int visibleColumn, int row) const { return model_->Text(row, visibleColumn); }

bool TTableForm::CommitCurrent() {
  if (!table_) return true;
  // While an entry error is being shown the entry is still wrong.
  if (committing_) return false;
  grid_->TakeEditorText();
  const QModelIndex cur = grid_->currentIndex();
  if (!cur.isValid() || cur.row() >= table_->RowCount() || cur.column() >= table_->VisibleColumnCount()) return true;
  TColumn* column = table_->VisibleColumn(cur.column());
  if (column->UsesControls()) return true;
  table_->SetChanged();
  if (!model_->HasTypedText(cur.row(), cur.column())) return true;
  const QString text = EnterText(cur.column(), cur.row());
  try {
    column->SetText(cur.row(), text.toStdString());
  } catch (const EAssignError& e) {
    committing_ = true;
    NotifyUser(this, MessageText(e.what()));
    committing_ = false;
    // The typed text stays for correction.
    if (table_) {
      grid_->setFocus();
      if (!grid_->Editing()) grid_->Edit(cur);
    }
    return false;
  }
  if (!table_) return true;
  model_->DropTypedText(cur.row(), cur.column());
  grid_->SetEditorText(EnterText(cur.column(), cur.row()));
  TableRedrawn();
  return true;
}

bool TTableForm::CommitEdit() { return CommitCurrent(); }

bool TTableForm::LeaveCell(const QModelIndex& target) {
  if (!table_) return true;
  if (target.isValid() && !model_->IsTextColumn(target.column())) return false;
  if (!CommitCurrent()) return false;
  // Every typed cell shows its stored value in the column's format again.
  model_->DropAllTypedText();
  return true;
}

bool TTableForm::GoToCell(int column, int row) {
  QModelIndex target = model_->index(row, column);
  if (!target.isValid()) return false;
  if (target == grid_->currentIndex()) return true;
  if (!LeaveCell(target)) return false;
  SetCurrent(target);
  return true;
}

void TTableForm::SetCurrent(const QModelIndex& index) {
  grid_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  grid_->scrollTo(index);
}

void TTableForm::EnterKey() {
  if (!table_) return;
  const QModelIndex cur = grid_->currentIndex();
  if (!cur.isValid()) return;
  std::vector<bool> text;
  for (int c = 0; c < model_->columnCount(); ++c) text.push_back(model_->IsTextColumn(c));
  TCell next = NextCellOnEnter({cur.column(), cur.row()}, table_->RowCount(), text);
  if (!LeaveCell(model_->index(next.Row, next.Column))) return;
  if (!table_) return;
  QModelIndex target = model_->index(next.Row, next.Column);
  if (target == cur) {
    grid_->SetEditorText(EnterText(cur.column(), cur.row()));
    return;
  }
  SetCurrent(target);
}

void TTableForm::ControlEntered(int column, int row) {
  if (!table_ || committing_) return;
  QModelIndex target = model_->index(row, column);
  if (target == grid_->currentIndex()) return;
  if (!CommitCurrent()) return;
  model_->DropAllTypedText();
  // The control's cell becomes current so that Insert and Delete act on
  // its row; the cell itself is not editable.
  grid_->selectionModel()->setCurrentIndex(target, QItemSelectionModel::Clear);
  grid_->viewport()->update();
}

void TTableForm::GridKeyReleased(int key) {
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
      key == Qt::Key_Down) {
    TableRedrawn();
  }
}

void TTableForm::FocusLeftGrid() {
  if (!table_ || modal_ || committing_) return;
  QWidget* focus = QApplication::focusWidget();
  // Focus moving to another window is handled as a deactivation; focus
  // staying inside the grid (its cell editor) is no leave at all.
  if (!focus || !isAncestorOf(focus) || grid_->isAncestorOf(focus) || focus == grid_) return;
  if (!CommitCurrent()) grid_->setFocus();
}

void TTableForm::WindowDeactivated() {
  if (!table_ || modal_ || committing_) return;
  if (!CommitCurrent() && sub_ && area_) {
    area_->setActiveSubWindow(sub_);
    return;
  }
}

void TTableForm::closeEvent(QCloseEvent* event) {
  if (!CommitCurrent()) {
    event->ignore();
    return;
  }
  // The table has no editor from now on, even before the window is gone.
  if (table_ && table_->Listener() == this) table_->SetListener(nullptr);
  table_ = nullptr;
  model_->Reset(nullptr);
  controls_.clear();
  QWidget::closeEvent(event);
}

// ---------------------------------------------------------------- row commands

void TTableForm::AddRowInternal() {
  if (!table_) return;
  table_->SetChanged();
  suspendStructure_ = true;
  shownRows_ = ShownRowsAfterAdding(shownRows_, table_->RowCount(), table_->RowGroup());
  table_->AddRows();
  suspendStructure_ = false;
  Rebuild();
  if (table_ && table_->RowCount() > 0) grid_->scrollTo(model_->index(table_->RowCount() - 1, 0), QAbstractItemView::PositionAtBottom);
}

void TTableForm::AddRowClick() {
  if (!table_ || !CommitCurrent() || !table_->CanAddRows()) return;
  AddRowInternal();
}

void TTableForm::InsertRowClick() {
  if (!table_ || !CommitCurrent() || !table_->CanAddRows()) return;
  const int row = grid_->currentIndex().row();
  if (row < 0 || row >= table_->RowCount()) {
    NotifyUser(this, QStringLiteral("Grid.Row not in valid range"));
    return;
  }
  table_->SetChanged();
  shownRows_ = ShownRowsAfterAdding(shownRows_, table_->RowCount(), table_->RowGroup());
  table_->InsertRows(row);
}

void TTableForm::DeleteRowClick() {
  if (!table_ || !CommitCurrent() || !(table_->MinRows() < table_->RowCount())) return;
  const int row = grid_->currentIndex().row();
  if (row < 0 || row >= table_->RowCount()) {
    NotifyUser(this, QStringLiteral("Grid.Row not in valid range"));
    return;
  }
  table_->SetChanged();
  table_->DeleteRows(row);
}

// ---------------------------------------------------------------- notifications

void TTableForm::CellChanged(int column, int row) {
  const int v = VisibleIndexOf(column);
  if (v < 0) return;
  TColumn* c = table_->Column(column);
  if (!c->UsesControls()) {
    model_->CellChanged(row, v);
  } else if (QWidget* w = ControlAt(v, row)) {
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      QSignalBlocker block(combo);
      combo->setCurrentIndex(c->GetInt(row) - 1);
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      button->setText(QString::fromStdString(static_cast<TTableColumn*>(c)->ButtonCaption(row)));
    }
  }
  if (!suspendStructure_) TableRedrawn();
}

void TTableForm::StructureChanged() {
  if (!suspendStructure_) Rebuild();
}

void TTableForm::EditorHidden() {
  // The table is hidden or going away: the window must not reach it again.
  table_ = nullptr;
  model_->Reset(nullptr);
  controls_.clear();
  if (!host_) return;
  host_->hide();
  if (modal_) {
    if (auto* dialog = qobject_cast<QDialog*>(host_.data())) dialog->done(QDialog::Rejected);
  } else {
    host_->deleteLater();
  }
}

// ---------------------------------------------------------------- layout

void TTableForm::BuildControls() {
  controls_.clear();
  for (int v = 0; v < table_->VisibleColumnCount(); ++v) {
    TColumn* c = table_->VisibleColumn(v);
    if (auto* e = dynamic_cast<TEnumColumn*>(c)) {
      for (int r = 0; r < table_->RowCount(); ++r) {
        auto* combo = new QComboBox;
        combo->setMaxVisibleItems(11);
        for (const std::string& choice : e->Choices()) combo->addItem(QString::fromStdString(choice));
        combo->setCurrentIndex(e->GetInt(r) - 1);
        combo->installEventFilter(this);
        combo->setProperty("editorCell", QPoint(v, r));
        connect(combo, &QComboBox::activated, this, [this, v, r](int index) {
          if (!table_ || r >= table_->RowCount()) return;
          TColumn* col = table_->VisibleColumn(v);
          if (col->GetInt(r) == index + 1) return;
          table_->SetChanged();
          col->SetInt(r, index + 1);
        });
        grid_->setIndexWidget(model_->index(r, v), combo);
        controls_[{v, r}] = combo;
      }
    } else if (auto* t = dynamic_cast<TTableColumn*>(c)) {
      for (int r = 0; r < table_->RowCount(); ++r) {
        auto* button = new QPushButton(QString::fromStdString(t->ButtonCaption(r)));
        button->setAutoDefault(false);
        button->installEventFilter(this);
        button->setProperty("editorCell", QPoint(v, r));
        connect(button, &QPushButton::clicked, this, [this, v, r] {
          if (!table_ || r >= table_->RowCount() || !CommitCurrent()) return;
          TGridTable* nested = table_->VisibleColumn(v)->GetTable(r);
          if (!nested) return;
          if (modal_) {
            ShowEditorModal(*nested, host_ ? host_.data() : this);
          } else {
            ShowEditor(*nested, area_);
          }
        });
        grid_->setIndexWidget(model_->index(r, v), button);
        controls_[{v, r}] = button;
      }
    }
  }
}

void TTableForm::Rebuild() {
  if (!table_ || !host_) return;
  const int visible = table_->VisibleColumnCount();
  shownColumns_ = std::min(shownColumns_ > 0 ? shownColumns_ : visible, visible);
  shownRows_ = std::min(shownRows_, table_->RowCount());
  if (shownRows_ == 0) shownRows_ = std::min(table_->RowCount(), MaxInitialRows());

  const QModelIndex was = grid_->currentIndex();
  const int firstRow = grid_->verticalScrollBar()->value();
  const int firstColumn = grid_->horizontalScrollBar()->value();
  model_->Reset(table_);
  headerRows_ = model_->HeaderRows();

  auto textWidth = [this](std::string_view s) {
    return fontMetrics().horizontalAdvance(QString::fromUtf8(s.data(), static_cast<int>(s.size())));
  };
  for (int v = 0; v < visible; ++v) {
    TColumn* c = table_->VisibleColumn(v);
    int width = c->MinWidth(textWidth, logicalDpiX()) + 8;
    // A drop-down list shows its longest choice whole: the list's frame and
    // arrow come on top of the text the column was sized for.
    if (auto* e = dynamic_cast<TEnumColumn*>(c)) {
      QComboBox probe;
      for (const std::string& choice : e->Choices()) probe.addItem(QString::fromStdString(choice));
      width = std::max(width, probe.sizeHint().width() + 4);
    }
    grid_->setColumnWidth(v, width);
  }
  grid_->verticalHeader()->setFixedWidth(fixedWidth_);
  grid_->horizontalHeader()->setFixedHeight(headerRows_ * fontMetrics().height() + 8);
  BuildControls();

  const TRowButtonStates states = RowButtonStates(*table_);
  for (QPushButton* b : {add_, insert_, delete_}) b->setVisible(states.Visible);
  add_->setEnabled(states.AddEnabled);
  insert_->setEnabled(states.InsertEnabled);
  delete_->setEnabled(states.DeleteEnabled);

  setWindowTitle(QString::fromStdString(table_->EditorTitle()));
  if (host_ && host_ != sub_) host_->setWindowTitle(windowTitle());
  const QString comments = MessageText(table_->Comments().c_str());
  comments_->setText(comments);
  comments_->setVisible(!comments.isEmpty());
  const QPixmap sketch = HelpPicturePixmap(table_->HelpPicture());
  picture_->setPixmap(sketch);
  picture_->setVisible(!sketch.isNull());

  // The current cell survives the rebuild as far as the table still has it;
  // without one, the first typed cell is current.
  int row = was.isValid() ? std::min(was.row(), table_->RowCount() - 1) : 0;
  int column = was.isValid() ? std::min(was.column(), visible - 1) : 0;
  if (!was.isValid()) {
    for (int c = 0; c < visible; ++c) {
      if (model_->IsTextColumn(c)) {
        column = c;
        break;
      }
    }
  }
  if (row >= 0 && column >= 0) {
    QSignalBlocker block(grid_->selectionModel());
    grid_->selectionModel()->setCurrentIndex(model_->index(row, column), QItemSelectionModel::ClearAndSelect);
  }
  Layout();
  grid_->verticalScrollBar()->setValue(firstRow);
  grid_->horizontalScrollBar()->setValue(firstColumn);
  TableRedrawn();
}

int TTableForm::GridTop() const { return margin_; }

int TTableForm::LayoutBelowButtons(int y, int&) { return y; }

int TTableForm::GridWidth(int firstColumn, int columns, bool vScroll) const {
  int w = 2 * grid_->frameWidth() + fixedWidth_;
  for (int c = firstColumn; c < firstColumn + columns && c < model_->columnCount(); ++c) w += grid_->columnWidth(c);
  if (vScroll) w += grid_->verticalScrollBar()->sizeHint().width();
  return w;
}

int TTableForm::GridHeight(int rows, bool hScroll) const {
  int h = 2 * grid_->frameWidth() + grid_->horizontalHeader()->height() + rows * rowHeight_;
  if (hScroll) h += grid_->horizontalScrollBar()->sizeHint().height();
  return h;
}

void TTableForm::Layout() {
  if (!table_) return;
  layingOut_ = true;
  const int m = margin_;
  const int rows = table_->RowCount();
  const int columns = table_->VisibleColumnCount();
  const bool vScroll = shownRows_ < rows;
  const bool hScroll = shownColumns_ < columns;
  grid_->setVerticalScrollBarPolicy(vScroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  grid_->setHorizontalScrollBarPolicy(hScroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  const int firstColumn = hScroll ? grid_->horizontalScrollBar()->value() : 0;
  const QRect gridRect(m, GridTop(), GridWidth(std::min(firstColumn, columns - shownColumns_), shownColumns_, vScroll),
                       GridHeight(shownRows_, hScroll));
  grid_->setGeometry(gridRect);
  corner_->setGeometry(grid_->frameWidth(), grid_->frameWidth(), fixedWidth_, grid_->horizontalHeader()->height());
  corner_->raise();

  int right = gridRect.right() + 1;
  int y = gridRect.bottom() + 1;
  if (add_->isVisibleTo(this)) {
    y += m;
    int x = m;
    for (QPushButton* b : {add_, insert_, delete_}) {
      const QSize s = b->sizeHint();
      b->setGeometry(x, y, s.width(), s.height());
      x += s.width() + m;
    }
    right = std::max(right, delete_->geometry().right() + 1);
    y += add_->sizeHint().height();
  }
  y = LayoutBelowButtons(y, right);
  if (comments_->isVisibleTo(this)) {
    y += m;
    const QSize s = comments_->sizeHint();
    comments_->setGeometry(m, y, s.width(), s.height());
    right = std::max(right, m + s.width());
    y += s.height();
  }
  if (picture_->isVisibleTo(this)) {
    y += m;
    const QSize s = picture_->sizeHint();
    picture_->setGeometry(m, y, s.width(), s.height());
    right = std::max(right, m + s.width());
    y += s.height() + m;
  } else {
    y += m;
  }
  // The child window's frame, measured before the window is resized.
  const QSize frame = sub_ ? sub_->size() - size() : QSize();
  clientSize_ = QSize(right + m, y);
  updateGeometry();
  resize(clientSize_);
  if (sub_ && (sub_->isMaximized() || sub_->isMinimized())) {
    hostGeometry_ = sub_->geometry();
  } else if (sub_) {
    sub_->resize(clientSize_ + (sub_->isVisible() ? frame : sub_->sizeHint() - clientSize_));
    hostGeometry_ = sub_->geometry();
  } else if (host_) {
    host_->resize(clientSize_);
    hostGeometry_ = host_->geometry();
  }
  layingOut_ = false;
}

void TTableForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (layingOut_ || !table_ || !host_ || size() == clientSize_ || snapPending_) return;
  // A maximized or minimized window takes the size the work area gives it.
  if (sub_ && (sub_->isMaximized() || sub_->isMinimized())) return;
  // A user drag: snap once the drag step is over, so the window is not
  // resized inside its own resize.
  const QRect before = hostGeometry_;
  snapPending_ = true;
  QTimer::singleShot(0, this, [this, before] {
    snapPending_ = false;
    if (!host_ || !table_) return;
    const QRect now = host_->geometry();
    SnapToRows(now.height() == before.height(), now.width() == before.width(), now.left() != before.left(),
               now.top() != before.top());
  });
}

void TTableForm::SnapToRows(bool widthOnly, bool heightOnly, bool leftMoved, bool topMoved) {
  if (!table_ || !host_) return;
  const int columns = table_->VisibleColumnCount();
  if (columns < 1) {
    NotifyUser(this, QStringLiteral("There must be at least 2 columns in grid"));
    return;
  }
  const QRect before = hostGeometry_;
  TResizeInput in;
  in.FixedWidth = fixedWidth_;
  for (int c = 0; c < columns; ++c) in.ColumnWidths.push_back(grid_->columnWidth(c));
  in.HeaderHeight = grid_->horizontalHeader()->height();
  in.RowHeight = rowHeight_;
  in.RowCount = table_->RowCount();
  in.VScrollWidth = grid_->verticalScrollBar()->sizeHint().width();
  in.HScrollHeight = grid_->horizontalScrollBar()->sizeHint().height();
  in.ChromeWidth = 2 * margin_ + 2 * grid_->frameWidth();
  const QRect g = grid_->geometry();
  in.ChromeHeight = clientSize_.height() - g.height() + 2 * grid_->frameWidth();
  // Whatever besides the grid sets the width (buttons, notes, chart).
  in.MinWidth = 0;
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w != grid_ && w->isVisibleTo(this)) in.MinWidth = std::max(in.MinWidth, w->geometry().right() + 1 + margin_);
  }
  in.FirstColumn = grid_->horizontalScrollBar()->value();
  in.ShownColumns = shownColumns_;
  in.FirstRow = grid_->verticalScrollBar()->value();
  in.ShownRows = shownRows_;
  in.Width = width();
  in.Height = height();
  in.WidthOnly = widthOnly;
  in.HeightOnly = heightOnly;
  const TResizeLayout l = ChooseResizeLayout(in);
  shownColumns_ = std::max(1, l.ShownColumns);
  shownRows_ = std::max(std::min(1, table_->RowCount()), l.ShownRows);
  Layout();
  grid_->horizontalScrollBar()->setValue(l.FirstColumn);
  grid_->verticalScrollBar()->setValue(l.FirstRow);
  // The edge opposite the dragged one stays where it was.
  QRect now = host_->geometry();
  if (leftMoved) now.moveRight(before.right());
  if (topMoved) now.moveBottom(before.bottom());
  if (now != host_->geometry()) host_->move(now.topLeft());
  hostGeometry_ = host_->geometry();
}

bool TTableForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    QVariant cell = watched->property("editorCell");
    if (cell.isValid()) {
      const QPoint p = cell.toPoint();
      ControlEntered(p.x(), p.y());
    }
  }
  return QWidget::eventFilter(watched, event);
}

TTableForm* CreateTableForm(TGridTable& table, bool modal, QWidget* parent) {
  if (auto* chart = dynamic_cast<TGridTableChart*>(&table)) return new TTableChartForm(*chart, modal, parent);
  return new TTableForm(table, modal, parent);
}

}  // namespace ramvex
