#include "EditorRules.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "Table.h"

namespace ramvex {

int EditorMargin(double pixelsPerInch) { return static_cast<int>(pixelsPerInch) / 20; }

int InitialShownRows(int rowCount, bool chartShown) {
  return std::clamp(rowCount, 0, chartShown ? kMaxShownRowsUnderChart : kMaxShownRows);
}

TRowButtonStates RowButtonStates(const TGridTable& table) {
  TRowButtonStates s;
  s.Visible = table.MinRows() != table.MaxRows();
  s.AddEnabled = table.RowCount() != table.MaxRows();
  s.InsertEnabled = s.AddEnabled;
  s.DeleteEnabled = table.MinRows() < table.RowCount();
  return s;
}

int ShownRowsAfterAdding(int shownRows, int rowCountBefore, int rowGroup) {
  if (shownRows < rowCountBefore) return shownRows;
  return std::min(shownRows + rowGroup, kMaxShownRows);
}

TCell NextCellOnEnter(TCell from, int rowCount, const std::vector<bool>& textColumns) {
  const int columns = static_cast<int>(textColumns.size());
  if (rowCount <= 0 || columns == 0) return from;
  if (from.Row + 1 < rowCount) return {from.Column, from.Row + 1};
  // Down to the first row of the next text column, wrapping to the first.
  for (int step = 1; step <= columns; ++step) {
    int c = (from.Column + step) % columns;
    if (textColumns[static_cast<size_t>(c)]) return {c, 0};
  }
  return from;
}

namespace {

int ColumnsWidth(const TResizeInput& in, int first, int count) {
  int w = 0;
  for (int c = first; c < first + count; ++c) w += in.ColumnWidths[static_cast<size_t>(c)];
  return w;
}

// Width of a layout showing count columns from first.
int LayoutWidth(const TResizeInput& in, bool vScroll, int first, int count) {
  int w = in.ChromeWidth + in.FixedWidth + ColumnsWidth(in, first, count) + (vScroll ? in.VScrollWidth : 0);
  return std::max(w, in.MinWidth);
}

// The columns that fit into the proposed width: to the right of the first
// column in view, then to its left.
void FitColumns(const TResizeInput& in, bool vScroll, TResizeLayout& l) {
  const int n = static_cast<int>(in.ColumnWidths.size());
  if (in.HeightOnly) {
    l.FirstColumn = in.FirstColumn;
    l.ShownColumns = in.ShownColumns;
    return;
  }
  int first = std::clamp(in.FirstColumn, 0, std::max(n - 1, 0));
  int count = n > 0 ? 1 : 0;
  auto base = [&](int f, int c) {
    return in.ChromeWidth + in.FixedWidth + ColumnsWidth(in, f, c) + (vScroll ? in.VScrollWidth : 0);
  };
  auto takes = [&](int f, int c, int extra) {
    int w = base(f, c);
    return w < in.MinWidth || w + extra <= in.Width;
  };
  while (first + count < n && takes(first, count, in.ColumnWidths[static_cast<size_t>(first + count)])) ++count;
  while (first > 0 && takes(first, count, in.ColumnWidths[static_cast<size_t>(first - 1)])) {
    --first;
    ++count;
  }
  l.FirstColumn = first;
  l.ShownColumns = count;
}

// The rows that fit into the proposed height, keeping them within the
// table.
void FitRows(const TResizeInput& in, int fixedHeight, TResizeLayout& l) {
  int count;
  if (in.WidthOnly) {
    count = in.ShownRows;
  } else {
    count = 1;
    while (count < in.RowCount && fixedHeight + (count + 1) * in.RowHeight <= in.Height) ++count;
  }
  count = std::clamp(count, std::min(1, in.RowCount), std::max(in.RowCount, 0));
  l.ShownRows = count;
  l.FirstRow = std::clamp(in.FirstRow, 0, std::max(in.RowCount - count, 0));
}

}  // namespace

TResizeLayout ChooseResizeLayout(const TResizeInput& in) {
  const int n = static_cast<int>(in.ColumnWidths.size());
  // Tie order: the layouts are tried in this order and only a strictly
  // smaller waste replaces the best so far.
  constexpr std::array<int, 4> kOrder = {1, 3, 2, 4};
  TResizeLayout best;
  std::int64_t bestWaste = std::numeric_limits<std::int64_t>::max();
  for (int kind : kOrder) {
    const bool hScroll = kind == 2 || kind == 4;
    const bool vScroll = kind == 3 || kind == 4;
    TResizeLayout l;
    l.Kind = kind;
    if (hScroll) {
      FitColumns(in, vScroll, l);
    } else {
      l.FirstColumn = 0;
      l.ShownColumns = n;
    }
    l.Width = LayoutWidth(in, vScroll, l.FirstColumn, l.ShownColumns);
    const int fixedHeight = in.ChromeHeight + in.HeaderHeight + (hScroll ? in.HScrollHeight : 0);
    if (vScroll) {
      FitRows(in, fixedHeight, l);
    } else {
      l.FirstRow = 0;
      l.ShownRows = in.RowCount;
    }
    l.Height = fixedHeight + l.ShownRows * in.RowHeight;
    const std::int64_t waste = std::int64_t{std::max(l.Width, in.Width)} * std::max(l.Height, in.Height) -
                               std::int64_t{in.Width} * in.Height;
    if (waste < bestWaste) {
      bestWaste = waste;
      best = l;
    }
  }
  return best;
}

}  // namespace ramvex
