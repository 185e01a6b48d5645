#include "ValueImport.h"

#include <gtest/gtest.h>

#include <string>

#include "DefinedTables.h"
#include "Table.h"

namespace ramvex {
namespace {

TEST(NumbersOfLine, ReadsUpToTheFirstTextThatIsNoNumber) {
  struct {
    const char* line;
    std::vector<double> numbers;
  } cases[] = {
      {"1 2", {1, 2}},
      {" \t 1.5\t-2e3", {1.5, -2000}},
      {"1,2,3", {1, 2, 3}},
      {"1  2", {1, 2}},
      {"+3 4\r", {3, 4}},
      {"Deflection  Resistance", {}},
      {"1 x 2", {1}},
      {"1,,2", {1}},
      {"1e999 2", {}},
      {"", {}},
      {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
  };
  for (const auto& c : cases) EXPECT_EQ(NumbersOfLine(c.line), c.numbers) << '"' << c.line << '"';
}

TEST(NumbersOfLine, UsesTheGivenDecimalSeparator) {
  EXPECT_EQ(NumbersOfLine("1;5 2", ';'), (std::vector<double>{1.5, 2}));
  // A point is then no decimal separator.
  EXPECT_EQ(NumbersOfLine("1.5 2", ';'), (std::vector<double>{}));
}

TEST(ClipboardLines, TakesOnlyLinesEndedByABreak) {
  using L = std::vector<std::string>;
  EXPECT_EQ(ClipboardLines("1 2\r\n3 4\r\n5 6\r\n"), (L{"1 2", "3 4", "5 6"}));
  EXPECT_EQ(ClipboardLines("1 2\r\n3 4\r\n5 6"), (L{"1 2", "3 4"}));
  // Text copied on this desktop ends its lines with a line feed alone.
  EXPECT_EQ(ClipboardLines("1 2\n3 4\n"), (L{"1 2", "3 4"}));
  EXPECT_EQ(ClipboardLines("1 2\r3 4\r"), (L{"1 2"}));
  EXPECT_EQ(ClipboardLines(""), L{});
}

TEST(FileLines, ASingleLineFileFillsNothing) {
  using L = std::vector<std::string>;
  EXPECT_EQ(FileLines("1 2\n"), L{});
  EXPECT_EQ(FileLines("y p\r\n1 2\r\n3 4"), (L{"y p", "1 2", "3 4"}));
  EXPECT_EQ(FileLines(""), L{});
}

std::vector<std::string> Pairs(int n) {
  std::vector<std::string> lines = {"Deflection Resistance"};
  for (int i = 1; i <= n; ++i) lines.push_back(std::to_string(i) + " " + std::to_string(10 * i));
  return lines;
}

TEST(FillTable, StopsAtMaxRows) {
  auto tables = CreateProjectTables();
  TGridTable& curve = *tables->PYCurve2;  // 2 to 17 rows
  TImportResult r = FillTableFromLines(curve, Pairs(30), [&] { curve.AddRows(); });
  EXPECT_EQ(r.RowsFilled, 17);
  EXPECT_TRUE(r.Error.empty());
  EXPECT_EQ(curve.RowCount(), 17);
  EXPECT_EQ(curve.Float(0, 16), 17);
  EXPECT_EQ(curve.Float(1, 16), 170);
}

TEST(FillTable, DeletesTheRowsAfterTheLastOneRead) {
  auto tables = CreateProjectTables();
  TGridTable& curve = *tables->PYCurve2;
  curve.SetRowCount(9);
  FillTableFromLines(curve, Pairs(3), [&] { curve.AddRows(); });
  EXPECT_EQ(curve.RowCount(), 3);
  EXPECT_EQ(curve.Float(0, 2), 3);
  // One line read: the table cannot go below its two rows.
  FillTableFromLines(curve, Pairs(1), [&] { curve.AddRows(); });
  EXPECT_EQ(curve.RowCount(), 2);
  EXPECT_EQ(curve.Float(0, 0), 1);
  // Nothing read: nothing changes.
  FillTableFromLines(curve, {"no numbers", "\x01\x02\xff"}, [&] { curve.AddRows(); });
  EXPECT_EQ(curve.RowCount(), 2);
  EXPECT_EQ(curve.Float(0, 0), 1);
}

// Receiver that stands for an open editor, so that integer entries are
// checked as typed ones are.
struct OpenEditor : TTableListener {
  void CellChanged(int, int) override {}
  void StructureChanged() override {}
};

TEST(FillTable, AnEntryErrorKeepsTheRowsReadBeforeIt) {
  TGridTable t;
  t.SetMinRows(1);
  t.Add<TIntColumn>({"Node"}, 0, 0, 10);
  t.Add<TFloatColumn>({"Value"}, "");
  t.SetRowCount(4);
  OpenEditor editor;
  t.SetListener(&editor);
  TImportResult r = FillTableFromLines(t, {"1 1.5", "2 2.5", "99 3", "4 4"}, [&] { t.AddRows(); });
  EXPECT_EQ(r.RowsFilled, 2);
  EXPECT_EQ(r.Error, "Entry must be between 0 and 10.");
  EXPECT_EQ(t.RowCount(), 2);
  EXPECT_EQ(t.Int(0, 1), 2);
  EXPECT_EQ(t.Float(1, 1), 2.5L);

  // A fault in the first line leaves the table as it was.
  t.Column(0)->SetInt(0, 5);
  t.Column(1)->SetFloat(0, 7.5L);
  r = FillTableFromLines(t, {"2.5 1"}, [&] { t.AddRows(); });
  EXPECT_EQ(r.RowsFilled, 0);
  EXPECT_EQ(r.Error, "Entry must be an integer.");
  EXPECT_EQ(t.RowCount(), 2);
  EXPECT_EQ(t.Int(0, 0), 5);
  EXPECT_EQ(t.Float(1, 0), 7.5L);
  // ... and a row added for the faulty line goes again.
  t.SetRowCount(1);
  r = FillTableFromLines(t, {"1 1", "11 2"}, [&] { t.AddRows(); });
  EXPECT_EQ(r.RowsFilled, 1);
  EXPECT_EQ(t.RowCount(), 1);
  t.SetListener(nullptr);
}

}  // namespace
}  // namespace ramvex
