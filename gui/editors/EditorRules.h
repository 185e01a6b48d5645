// Rules the table editor windows follow, as plain functions: which rows and
// columns a window shows, which row commands are available, where the Enter
// key goes and how a window snaps to whole rows and columns while the user
// resizes it.  The widgets only apply the answers.
#pragma once

#include <vector>

namespace ramvex {

class TGridTable;

// At most this many rows are shown when an editor opens; fewer under a
// chart, which takes the upper part of the window.
constexpr int kMaxShownRows = 10;
constexpr int kMaxShownRowsUnderChart = 5;

// Margin between the controls of an editor: a twentieth of an inch.
int EditorMargin(double pixelsPerInch);

// Rows shown when an editor opens.
int InitialShownRows(int rowCount, bool chartShown);

// Row commands: the three buttons are shown only when the row count can
// change at all; Add and Insert stop at MaxRows, Delete at MinRows.
struct TRowButtonStates {
  bool Visible = false;
  bool AddEnabled = false;
  bool InsertEnabled = false;
  bool DeleteEnabled = false;
};
TRowButtonStates RowButtonStates(const TGridTable& table);

// Shown rows after Add or Insert: a window showing every row grows by one
// group, up to the usual limit, so the new row is in view without the
// window getting taller than an opening one.
int ShownRowsAfterAdding(int shownRows, int rowCountBefore, int rowGroup);

// Cell reached by the Enter key from (column, row), both 0-based over the
// visible table columns.  Enter walks down a column and then to the top of
// the next one; columns with in-place controls are passed over, since their
// cells are edited through the controls.  Returns the cell unchanged when no
// text column exists.
struct TCell {
  int Column = 0;
  int Row = 0;
  bool operator==(const TCell&) const = default;
};
TCell NextCellOnEnter(TCell from, int rowCount, const std::vector<bool>& textColumns);

// Interactive resizing.  A window is laid out in one of four ways: with no
// scroll bar (all rows and columns), with a horizontal one (the columns
// that fit), with a vertical one (the rows that fit) or with both.  Sizes
// in pixels; the chrome values are what the window adds around the grid's
// cells.
struct TResizeInput {
  // Grid: width of the fixed row-label column, width of each visible
  // column, height of the header block and of one row.
  int FixedWidth = 0;
  std::vector<int> ColumnWidths;
  int HeaderHeight = 0;
  int RowHeight = 0;
  int RowCount = 0;
  int VScrollWidth = 0;
  int HScrollHeight = 0;
  // What the window adds to the cells: frame, margins and grid border
  // horizontally; frame, margins, grid border and every control above and
  // below the grid vertically.
  int ChromeWidth = 0;
  int ChromeHeight = 0;
  // The window is never narrower than its row of buttons (plus the frame).
  int MinWidth = 0;
  // Current state.
  int FirstColumn = 0;
  int ShownColumns = 0;
  int FirstRow = 0;
  int ShownRows = 0;
  // Proposed window size and which edges move.
  int Width = 0;
  int Height = 0;
  bool WidthOnly = false;   // left or right edge dragged
  bool HeightOnly = false;  // top or bottom edge dragged
};

struct TResizeLayout {
  int Kind = 1;  // 1 none, 2 horizontal, 3 vertical, 4 both scroll bars
  int Width = 0;
  int Height = 0;
  int FirstColumn = 0;
  int ShownColumns = 0;
  int FirstRow = 0;
  int ShownRows = 0;
  bool operator==(const TResizeLayout&) const = default;
};

// The layout whose size wastes least area against the proposed size:
// least max(w, W) * max(h, H) - W * H, ties going to layouts 1, 3, 2, 4.
TResizeLayout ChooseResizeLayout(const TResizeInput& in);

}  // namespace ramvex
