// Editor window of a plain input table: a grid with the column headers
// above, row numbers on the left, drop-down lists and nested-table buttons
// over the cells that are not typed, three row commands, the table's notes
// and its help sketch.  The window holds no data of its own: typed text is
// kept only until it is accepted by the table, everything else is read from
// the table whenever it changes.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QWidget>

#include <functional>
#include <map>
#include <utility>

#include "EditorRules.h"
#include "Table.h"
#include "TableEditors.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace ramvex {

// Shows an entry or command message to the user.  The default is an
// information box with an OK button; tests record the message instead.
using TEditorNotifier = std::function<void(QWidget* window, const QString& message)>;
void SetEditorNotifier(TEditorNotifier notifier);
void NotifyUser(QWidget* window, const QString& message);

// The typed cells of a table, one model column per visible table column.
// A cell the user has typed into shows the typed text until the table
// accepts it; other cells show the table's text.
class TTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TTableModel(TGridTable* table, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Largest number of header lines of the visible columns.
  int HeaderRows() const;
  bool IsTextColumn(int column) const;
  bool HasTypedText(int row, int column) const { return typed_.count({row, column}) != 0; }
  QString Text(int row, int column) const;
  // Drops the typed text of a cell; of every cell.
  void DropTypedText(int row, int column);
  void DropAllTypedText();
  // The table's rows or columns changed; the table is gone (null).
  void Reset(TGridTable* table);
  void CellChanged(int row, int column);

 private:
  TGridTable* table_;
  std::map<std::pair<int, int>, QString> typed_;
};

class TTableForm;

// The grid.  Moves of the current cell are checked by the window first, so
// that an entry that cannot be accepted keeps the user in its cell.
class TEditorGrid : public QTableView {
  Q_OBJECT

 public:
  explicit TEditorGrid(TTableForm* form);
  // Hands the text of an open cell editor to the model.
  void TakeEditorText();
  // Replaces the text of the open cell editor, if any.
  void SetEditorText(const QString& text);
  void Edit(const QModelIndex& index) { edit(index); }
  bool Editing() const { return state() == QAbstractItemView::EditingState; }

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  TTableForm* form_;
};

class TTableForm : public QWidget, public TTableListener, public TCommitTarget {
  Q_OBJECT

 public:
  // Use CreateTableForm; the window must be hosted (HostIn...) before it
  // is shown.
  TTableForm(TGridTable& table, bool modal, QWidget* parent = nullptr);
  ~TTableForm() override;

  TGridTable* Table() const { return table_; }
  bool Modal() const { return modal_; }
  // The window that carries the editor: the child window or the dialog.
  QWidget* Host() const { return host_; }
  void HostIn(QMdiSubWindow* sub, QMdiArea* area);
  void HostIn(QWidget* dialog);
  QMdiArea* Area() const { return area_; }
  void BringToFront();

  // Commits the cell being edited; on an entry error the user is told and
  // stays in the cell.
  bool CommitEdit() override;

  // Table notifications.
  void CellChanged(int column, int row) override;
  void StructureChanged() override;
  void EditorHidden() override;

  // Row commands, as the buttons run them.
  void AddRowClick();
  void InsertRowClick();
  void DeleteRowClick();

  // Current cell as (visible column, row); (-1, -1) when none.
  TCell CurrentCell() const;
  // Makes a cell current, as a click would (with the commit of the cell
  // left).  False when the move was refused.
  bool GoToCell(int column, int row);
  // The Enter key in the grid.
  void EnterKey();

  // What the window shows; exposed for tests and the resize rule.
  TEditorGrid* Grid() const { return grid_; }
  TTableModel* Model() const { return model_; }
  int ShownRows() const { return shownRows_; }
  int ShownColumns() const { return shownColumns_; }
  int HeaderRows() const { return headerRows_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* InsertButton() const { return insert_; }
  QPushButton* DeleteButton() const { return delete_; }
  QLabel* CommentLabel() const { return comments_; }
  QLabel* HelpPictureLabel() const { return picture_; }
  // In-place control of a visible column's row; null when none.
  QWidget* ControlAt(int column, int row) const;
  int Margin() const { return margin_; }
  QSize sizeHint() const override { return clientSize_; }

  // Called by the grid and the controls.
  bool LeaveCell(const QModelIndex& target);
  void ControlEntered(int column, int row);
  void GridKeyReleased(int key);

  // Snaps a user-resized window to whole rows and columns.
  void SnapToRows(bool widthOnly, bool heightOnly, bool leftMoved, bool topMoved);

 protected:
  // Space above the grid (the chart), rows below the buttons and how the
  // window previews the table; the chart editor adds to them.
  virtual int GridTop() const;
  virtual int LayoutBelowButtons(int y, int& right);
  virtual void TableRedrawn() {}
  virtual int MaxInitialRows() const { return kMaxShownRows; }
  void Rebuild();
  void Layout();
  bool CommitCurrent();
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  int margin_ = 4;

 private:
  void BuildControls();
  void SetCurrent(const QModelIndex& index);
  void AddRowInternal();
  void WindowDeactivated();
  void FocusLeftGrid();
  QString EnterText(int visibleColumn, int row) const;
  int VisibleIndexOf(int tableColumn) const;
  int GridWidth(int firstColumn, int columns, bool vScroll) const;
  int GridHeight(int rows, bool hScroll) const;

  TGridTable* table_;
  bool modal_;
  QPointer<QWidget> host_;
  QPointer<QMdiSubWindow> sub_;
  QPointer<QMdiArea> area_;
  TEditorGrid* grid_ = nullptr;
  TTableModel* model_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* insert_ = nullptr;
  QPushButton* delete_ = nullptr;
  QLabel* comments_ = nullptr;
  QLabel* picture_ = nullptr;
  QLabel* corner_ = nullptr;
  std::map<std::pair<int, int>, QPointer<QWidget>> controls_;
  QMetaObject::Connection focusWatch_;
  int headerRows_ = 1;
  int shownRows_ = 0;
  int shownColumns_ = 0;
  int rowHeight_ = 20;
  int fixedWidth_ = 0;
  QSize clientSize_;
  QRect hostGeometry_;
  bool layingOut_ = false;
  bool suspendStructure_ = false;
  bool committing_ = false;
  bool snapPending_ = false;
};

// The table's editor: the chart editor for a chart-previewing table.
TTableForm* CreateTableForm(TGridTable& table, bool modal, QWidget* parent = nullptr);

}  // namespace ramvex
