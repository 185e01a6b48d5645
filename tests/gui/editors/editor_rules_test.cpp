#include "EditorRules.h"

#include <gtest/gtest.h>

#include "DefinedTables.h"
#include "Table.h"

namespace ramvex {

void PrintTo(const TResizeLayout& l, std::ostream* os) {
  *os << "{kind " << l.Kind << ", " << l.Width << "x" << l.Height << ", columns " << l.FirstColumn << "+"
      << l.ShownColumns << ", rows " << l.FirstRow << "+" << l.ShownRows << "}";
}

void PrintTo(const TCell& c, std::ostream* os) { *os << "(column " << c.Column << ", row " << c.Row << ")"; }

namespace {

// A grid of three 100-pixel columns and ten 20-pixel rows: 350 x 280 with
// everything shown, 15-pixel scroll bars.
TResizeInput ThreeColumnsTenRows() {
  TResizeInput in;
  in.FixedWidth = 40;
  in.ColumnWidths = {100, 100, 100};
  in.HeaderHeight = 30;
  in.RowHeight = 20;
  in.RowCount = 10;
  in.VScrollWidth = 15;
  in.HScrollHeight = 15;
  in.ChromeWidth = 10;
  in.ChromeHeight = 50;
  in.ShownColumns = 3;
  in.ShownRows = 10;
  return in;
}

struct ResizeCase {
  const char* name;
  int width, height;
  bool widthOnly, heightOnly;
  int firstColumn, firstRow, minWidth;
  TResizeLayout expected;
};

void PrintTo(const ResizeCase& c, std::ostream* os) { *os << c.name; }

class ResizeLayoutTest : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(ResizeLayoutTest, ChoosesTheLeastWastefulLayout) {
  const ResizeCase& c = GetParam();
  TResizeInput in = ThreeColumnsTenRows();
  in.Width = c.width;
  in.Height = c.height;
  in.WidthOnly = c.widthOnly;
  in.HeightOnly = c.heightOnly;
  in.FirstColumn = c.firstColumn;
  in.FirstRow = c.firstRow;
  in.MinWidth = c.minWidth;
  EXPECT_EQ(ChooseResizeLayout(in), c.expected);
}

// Expected layouts worked by hand from the widths and heights above: layout
// width = chrome 10 + fixed 40 + columns (+15 with a vertical bar), height =
// chrome 50 + header 30 + rows x 20 (+15 with a horizontal bar).
INSTANTIATE_TEST_SUITE_P(
    Cases, ResizeLayoutTest,
    ::testing::Values(
        ResizeCase{"ExactFullSize", 350, 280, false, false, 0, 0, 0, {1, 350, 280, 0, 3, 0, 10}},
        // Larger than needed: layouts 1 and 3 waste nothing, the tie goes to 1.
        ResizeCase{"Larger", 400, 300, false, false, 0, 0, 0, {1, 350, 280, 0, 3, 0, 10}},
        // Bottom edge up to 180: five rows with a vertical bar (layout 4
        // wastes as little but loses the tie).
        ResizeCase{"ShorterByBottomEdge", 350, 180, false, true, 0, 0, 0, {3, 365, 180, 0, 3, 0, 5}},
        // Right edge in to 260: two columns with a horizontal bar.
        ResizeCase{"NarrowerByRightEdge", 260, 280, true, false, 0, 0, 0, {2, 250, 295, 0, 2, 0, 10}},
        // Scrolled to the last column, the column to its left is added.
        ResizeCase{"NarrowerScrolledRight", 260, 280, true, false, 2, 0, 0, {2, 250, 295, 1, 2, 0, 10}},
        // The row of buttons keeps the window at least 300 wide, so every
        // column is taken.
        ResizeCase{"ButtonRowMinimum", 200, 280, true, false, 0, 0, 330, {1, 350, 280, 0, 3, 0, 10}},
        // Rows scrolled to 8 of 10: five shown rows start at row 5.
        ResizeCase{"FirstRowKeptInTable", 350, 180, false, true, 0, 8, 0, {3, 365, 180, 0, 3, 5, 5}},
        // Both edges: one column and three rows are what fits 170 x 160.
        ResizeCase{"CornerDrag", 170, 160, false, false, 0, 0, 0, {4, 165, 155, 0, 1, 0, 3}}),
    [](const ::testing::TestParamInfo<ResizeCase>& info) { return std::string(info.param.name); });

TEST(ResizeLayout, NeverNarrowerThanTheButtonRow) {
  TResizeInput in = ThreeColumnsTenRows();
  in.ColumnWidths = {50};
  in.ShownColumns = 1;
  in.MinWidth = 300;
  in.Width = 100;
  in.Height = 280;
  TResizeLayout l = ChooseResizeLayout(in);
  EXPECT_EQ(l.Width, 300);
  EXPECT_EQ(l.ShownColumns, 1);
}

TEST(EnterWalk, DownTheColumnThenToTheNextTextColumn) {
  // Column 2 holds drop-down lists and is passed over.
  const std::vector<bool> text = {true, true, false, true};
  struct {
    TCell from, to;
  } cases[] = {
      {{0, 0}, {0, 1}}, {{0, 2}, {1, 0}}, {{1, 2}, {3, 0}}, {{3, 2}, {0, 0}}, {{3, 1}, {3, 2}},
  };
  for (const auto& c : cases) {
    TCell to = NextCellOnEnter(c.from, 3, text);
    EXPECT_EQ(to, c.to) << "from column " << c.from.Column << " row " << c.from.Row;
  }
  EXPECT_EQ(NextCellOnEnter({0, 0}, 1, {false, true}), (TCell{1, 0}));
  EXPECT_EQ(NextCellOnEnter({1, 0}, 1, {false, true}), (TCell{1, 0}));
}

TEST(RowButtons, FollowTheRowLimits) {
  auto tables = CreateProjectTables();
  // Soil parameters: exactly two rows, no row commands at all.
  EXPECT_FALSE(RowButtonStates(*tables->TblClay1).Visible);
  TGridTable& sect = *tables->PileSect;  // 1 to 10 rows
  sect.SetRowCount(1);
  TRowButtonStates s = RowButtonStates(sect);
  EXPECT_TRUE(s.Visible);
  EXPECT_TRUE(s.AddEnabled);
  EXPECT_TRUE(s.InsertEnabled);
  EXPECT_FALSE(s.DeleteEnabled);
  sect.SetRowCount(10);
  s = RowButtonStates(sect);
  EXPECT_FALSE(s.AddEnabled);
  EXPECT_FALSE(s.InsertEnabled);
  EXPECT_TRUE(s.DeleteEnabled);
  // No upper limit.
  TGridTable& longDist = *tables->LongDist;
  longDist.SetRowCount(500);
  EXPECT_TRUE(RowButtonStates(longDist).AddEnabled);
}

TEST(ShownRows, TenAtMostFiveUnderAChart) {
  EXPECT_EQ(InitialShownRows(25, false), 10);
  EXPECT_EQ(InitialShownRows(25, true), 5);
  EXPECT_EQ(InitialShownRows(3, false), 3);
  EXPECT_EQ(InitialShownRows(3, true), 3);
  // Adding to a window that shows every row shows the new one too.
  EXPECT_EQ(ShownRowsAfterAdding(3, 3, 1), 4);
  EXPECT_EQ(ShownRowsAfterAdding(10, 10, 1), 10);
  EXPECT_EQ(ShownRowsAfterAdding(5, 25, 1), 5);
}

TEST(Margin, ATwentiethOfAnInch) {
  EXPECT_EQ(EditorMargin(96), 4);
  EXPECT_EQ(EditorMargin(120), 6);
  EXPECT_EQ(EditorMargin(144), 7);
}

}  // namespace
}  // namespace ramvex
