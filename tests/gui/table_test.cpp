#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "AssignError.h"
#include "Table.h"

namespace ramvex {
namespace {

struct Recorder : TTableListener {
  std::vector<std::pair<int, int>> cells;
  int structure = 0;
  void CellChanged(int column, int row) override { cells.emplace_back(column, row); }
  void StructureChanged() override { ++structure; }
};

// Top and bottom depth of layers, with a value column after them.
std::unique_ptr<TGridTable> DepthTable() {
  auto t = std::make_unique<TGridTable>();
  t->Add<TFloatColumn>({"Top"}, "L2", 0.0L, true);
  t->Add<TFloatColumn>({"Bottom"}, "L2");
  t->Add<TIntColumn>({"Id"}, 7, 0, 100);
  return t;
}

std::vector<long double> ColumnValues(const TGridTable& t, int c) {
  std::vector<long double> v;
  for (int r = 0; r < t.RowCount(); ++r) v.push_back(t.Float(c, r));
  return v;
}

TEST(GridTable, RowGroupsInsertAndDeleteWholeGroups) {
  TGridTable t;
  t.SetRowGroup(3);
  auto* c = t.Add<TIntColumn>({"N"}, 0, -100, 100);
  t.AddRows();
  t.AddRows();
  ASSERT_EQ(t.RowCount(), 6);
  for (int r = 0; r < 6; ++r) c->SetInt(r, r);
  t.InsertRows(4);  // before the group holding row 4: at row 3
  ASSERT_EQ(t.RowCount(), 9);
  EXPECT_EQ(c->GetInt(2), 2);
  EXPECT_EQ(c->GetInt(3), 0);
  EXPECT_EQ(c->GetInt(5), 0);
  EXPECT_EQ(c->GetInt(6), 3);
  t.DeleteRows(1);  // the group 0..2
  ASSERT_EQ(t.RowCount(), 6);
  EXPECT_EQ(c->GetInt(0), 0);
  EXPECT_EQ(c->GetInt(3), 3);
  t.SetRowGroup(0);
  EXPECT_EQ(t.RowGroup(), 1);
}

TEST(GridTable, RowLimitsOfTheEditor) {
  TGridTable fixed;
  fixed.SetMinRows(2);
  fixed.SetMaxRows(2);
  fixed.Add<TFloatColumn>({"A"});
  fixed.SetRowCount(2);
  EXPECT_FALSE(fixed.CanAddRows());
  EXPECT_FALSE(fixed.CanDeleteRows());

  TGridTable open;
  open.SetMaxRows(0);
  open.Add<TFloatColumn>({"A"});
  open.SetRowCount(1);
  EXPECT_FALSE(open.CanDeleteRows());
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(open.CanAddRows());
    open.AddRows();
  }
  EXPECT_TRUE(open.CanDeleteRows());
  EXPECT_THROW(open.SetMinRows(0), ETableError);
  open.SetRowCount(-5);
  EXPECT_EQ(open.RowCount(), 0);
  EXPECT_EQ(open.Column(0)->CellCount(), 0);
}

TEST(GridTable, CellHandlesFollowTheirRow) {
  TGridTable t;
  auto* c = t.Add<TIntColumn>({"N"}, 0, 0, 100);
  t.SetRowCount(3);
  c->SetInt(2, 42);
  TData* handle = t.Cell(0, 2);
  t.InsertRows(0);
  EXPECT_EQ(handle->Row(), 3);
  EXPECT_EQ(handle->GetInt(), 42);
  t.DeleteRows(1);
  EXPECT_EQ(handle->Row(), 2);
  handle->SetInt(5);
  EXPECT_EQ(c->GetInt(2), 5);
  EXPECT_THROW(handle->GetFloat(), EInvalidCast);
  EXPECT_THROW(t.Cell(0, 3), ETableError);
}

TEST(GridTable, TopDepthPairingOnInsertDeleteAndSet) {
  auto t = DepthTable();
  t->SetRowCount(3);
  // Layers 0-5, 5-12, 12-20.
  t->Column(1)->SetFloat(0, 5);
  t->Column(1)->SetFloat(1, 12);
  t->Column(1)->SetFloat(2, 20);
  // Setting a bottom sets the top of the row below.
  EXPECT_EQ(ColumnValues(*t, 0), (std::vector<long double>{0, 5, 12}));
  // Setting a top sets the bottom of the row above.
  t->Column(0)->SetFloat(2, 13);
  EXPECT_EQ(t->Float(1, 1), 13);

  // A row inserted at 1 starts at the bottom of row 0 and ends at the top of
  // the row that follows it.
  t->InsertRows(1);
  EXPECT_EQ(ColumnValues(*t, 0), (std::vector<long double>{0, 5, 5, 13}));
  EXPECT_EQ(ColumnValues(*t, 1), (std::vector<long double>{5, 5, 13, 20}));
  EXPECT_EQ(t->Int(2, 1), 7);

  // Deleting an inner row closes the gap: the following top takes the
  // bottom of the row above.
  t->Column(1)->SetFloat(1, 9);
  t->DeleteRows(2);
  EXPECT_EQ(ColumnValues(*t, 0), (std::vector<long double>{0, 5, 9}));
  EXPECT_EQ(ColumnValues(*t, 1), (std::vector<long double>{5, 9, 20}));
}

TEST(GridTable, TopDepthNeedsAFloatColumnAfterIt) {
  TGridTable t;
  t.Add<TFloatColumn>({"Top"}, "", 0.0L, true);
  t.Add<TIntColumn>({"N"});
  try {
    t.AddRows();
    FAIL();
  } catch (const ETableError& e) {
    EXPECT_STREQ(e.what(), "If column if a topdepth then the next column must be a float column");
  }
  EXPECT_EQ(t.RowCount(), 0);
  EXPECT_EQ(t.Column(1)->CellCount(), 0);
}

TEST(GridTable, IntegerEntryErrorsWhileTheEditorIsOpen) {
  TGridTable t;
  auto* c = t.Add<TIntColumn>({"N"}, 0, -10, 100);
  t.SetRowCount(1);
  Recorder editor;
  t.SetListener(&editor);
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {{"2.5", "Entry must be an integer."},
               {"-2.5", "Entry must be an integer."},
               {"101", "Entry must be between -10 and 100."},
               {"-11", "Entry must be between -10 and 100."}};
  for (const Case& k : cases) {
    try {
      c->SetText(0, k.text);
      ADD_FAILURE() << k.text;
    } catch (const EAssignError& e) {
      EXPECT_STREQ(e.what(), k.message) << k.text;
    }
    EXPECT_EQ(c->GetInt(0), 0);
  }
  c->SetText(0, "3*4+1e-12");
  EXPECT_EQ(c->GetInt(0), 12);
  // Without an editor the value is rounded, halves to even, and the
  // 32-bit range still holds.
  t.HideEditor();
  c->SetText(0, "2.5");
  EXPECT_EQ(c->GetInt(0), 2);
  c->SetText(0, "3.5");
  EXPECT_EQ(c->GetInt(0), 4);
  EXPECT_THROW(c->SetText(0, "1e12"), EAssignError);
  EXPECT_THROW(c->SetText(0, "1/0"), EAssignError);
}

TEST(GridTable, NotificationsReachTheListener) {
  TGridTable t;
  t.Add<TIntColumn>({"N"});
  auto* f = t.Add<TFloatColumn>({"X"}, "L");
  t.SetRowCount(2);
  Recorder editor;
  t.SetListener(&editor);
  f->SetText(1, "2*3");
  EXPECT_EQ(f->GetFloat(1), 6);
  ASSERT_EQ(editor.cells.size(), 1u);
  EXPECT_EQ(editor.cells[0], std::make_pair(1, 1));
  t.AddRows();
  EXPECT_EQ(editor.structure, 1);
  t.SetUnits(2);
  EXPECT_EQ(editor.structure, 2);
  t.SetUnits(2);
  EXPECT_EQ(editor.structure, 2);
  // An editor leaves its table before it goes; the table tells an attached
  // editor when the table itself is destroyed.
  t.SetListener(nullptr);
}

TEST(GridTable, UnitSwitchingConvertsFloatsOnly) {
  TGridTable t;
  t.Add<TEnumColumn>({"Kind"}, std::vector<std::string>{"a", "b"});
  t.Add<TFloatColumn>({"Depth", "of layer"}, "L2");
  t.Add<TFloatColumn>({"Ratio"}, "");
  t.SetRowCount(1);
  t.Column(0)->SetInt(0, 2);
  t.Column(1)->SetFloat(0, 10);
  t.Column(2)->SetFloat(0, 0.3L);
  EXPECT_EQ(t.Column(1)->HeaderLine(0), "Depth");
  EXPECT_EQ(t.Column(1)->HeaderLine(1), "of layer (ft)  ");
  t.SetUnits(2);
  EXPECT_NEAR(static_cast<double>(t.Float(1, 0)), 3.048, 1e-9);
  EXPECT_EQ(t.Column(1)->HeaderLine(1), "of layer (m)  ");
  EXPECT_EQ(t.Float(2, 0), 0.3L);
  EXPECT_EQ(t.Int(0, 0), 2);
  t.SetUnits(3);
  EXPECT_NEAR(static_cast<double>(t.Float(1, 0)), 3.048, 1e-9);
  t.SetUnits(2);
  t.SetUnits(1);
  EXPECT_NEAR(static_cast<double>(t.Float(1, 0)), 10, 1e-12);
}

// Two templates and a layer table that picks one per row by its first
// column.
struct NestedFixture : ::testing::Test {
  TGridTable clay, sand, layers;
  NestedFixture() {
    clay.SetCaption("Clay");
    clay.SetMinRows(2);
    clay.SetMaxRows(2);
    clay.Add<TFloatColumn>({"Weight"}, "F/L2^3");
    sand.SetCaption("Sand");
    sand.SetMinRows(2);
    sand.Add<TFloatColumn>({"Angle"}, "");
    clay.SetIdentifier(9001);
    sand.SetIdentifier(9002);
    layers.Add<TEnumColumn>({"Type"}, std::vector<std::string>{"Soft", "Stiff", "Sand"});
    layers.Add<TTableColumn>({"Parameters"}, TGridTableList{{9001, true}, {9001, true}, {9002, true}});
  }
};

TEST_F(NestedFixture, RowsGetTablesFromTheirTemplate) {
  layers.SetRowCount(3);
  layers.Column(0)->SetInt(2, 3);
  TGridTable* n = layers.Nested(1, 2);
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->Caption(), "Sand");
  EXPECT_EQ(n->RowCount(), 2);
  EXPECT_EQ(n->Owner(), &layers);
  EXPECT_EQ(n->EditorTitle(), "Sand  3");
  EXPECT_EQ(static_cast<TTableColumn*>(layers.Column(1))->ButtonCaption(2), "3: Sand");
  // A template change of the definition does not reach existing copies.
  EXPECT_EQ(layers.Nested(1, 0)->Caption(), "Clay");
}

TEST_F(NestedFixture, ChangingTheChoiceReplacesTheNestedTable) {
  layers.SetRowCount(1);
  TGridTable* before = layers.Nested(1, 0);
  before->Column(0)->SetFloat(0, 120);
  before->SetChanged();
  EXPECT_TRUE(layers.IsChanged());
  // Soft to stiff clay: same template, the data are still discarded.
  layers.Column(0)->SetInt(0, 2);
  TGridTable* after = layers.Nested(1, 0);
  EXPECT_EQ(after->Caption(), "Clay");
  EXPECT_EQ(after->Float(0, 0), 0);
  EXPECT_FALSE(layers.IsChanged());
  // The same value again changes nothing.
  after->Column(0)->SetFloat(0, 5);
  layers.Column(0)->SetInt(0, 2);
  EXPECT_EQ(layers.Nested(1, 0)->Float(0, 0), 5);
}

TEST_F(NestedFixture, NestedTablesAreRenumberedAndFollowUnits) {
  layers.SetRowCount(3);
  layers.Nested(1, 2)->Column(0)->SetFloat(0, 144);
  layers.InsertRows(0);
  EXPECT_EQ(layers.Nested(1, 3)->Number(), 4);
  EXPECT_EQ(layers.Nested(1, 3)->Float(0, 0), 144);
  layers.DeleteRows(0);
  layers.DeleteRows(0);
  EXPECT_EQ(layers.Nested(1, 1)->Number(), 2);
  EXPECT_EQ(layers.Nested(1, 1)->EditorTitle(), "Clay  2");
  layers.SetUnits(2);
  EXPECT_EQ(layers.Nested(1, 1)->UnitSystem(), 2);
  layers.AddRows();
  EXPECT_EQ(layers.Nested(1, 2)->UnitSystem(), 2);
  layers.SetUnits(1);
  EXPECT_NEAR(static_cast<double>(layers.Nested(1, 1)->Float(0, 0)), 144, 1e-9);
}

TEST(GridTable, TitlePathOfDeeplyNestedTables) {
  TGridTable leaf;
  leaf.SetCaption("Curve");
  leaf.SetIdentifier(9100);
  TGridTable mid;
  mid.SetCaption("Set");
  mid.Add<TTableColumn>({"Curve"}, TGridTableList{{9100, true}});
  mid.SetIdentifier(9101);
  TGridTable top;
  top.SetCaption("Sets");
  top.Add<TTableColumn>({"Set"}, TGridTableList{{9101, true}});
  top.SetRowCount(2);
  TGridTable* set = top.Nested(0, 1);
  ASSERT_NE(set, nullptr);
  set->SetRowCount(3);
  EXPECT_EQ(top.EditorTitle(), "Sets ");
  EXPECT_EQ(set->Nested(0, 2)->EditorTitle(), "Curve  2 3");
}

TEST(GridTable, IdentifiersSwapWithinAFamily) {
  TGridTable a, b;
  TGridTableChart c;
  a.SetIdentifier(9200);
  b.SetIdentifier(9201);
  c.SetIdentifier(9200);
  b.SetIdentifier(9200);
  EXPECT_EQ(a.Identifier(), 9201);
  EXPECT_EQ(b.Identifier(), 9200);
  EXPECT_EQ(c.Identifier(), 9200);
  EXPECT_EQ(TGridTable::Find(TTableFamily::Plain, 9200), &b);
  EXPECT_EQ(TGridTable::Find(TTableFamily::Chart, 9200), &c);
  b.SetIdentifier(-3);
  EXPECT_EQ(b.Identifier(), 9200);
}

TEST(ColumnDefinition, RoundTripOfEveryKind) {
  TGridTableChart t;
  t.Add<TEnumColumn>({"Kind  ", "it's"}, std::vector<std::string>{"One", "Two"});
  t.Add<TIntColumn>({"N"}, 3, -5, 2147483647);
  t.Add<TFloatColumn>({"Top"}, "L2", 1.25L, true);
  t.Add<TFloatColumn>({"Bottom"}, "F/L2^3", -0.1L);
  t.Add<TTableColumn>({}, TGridTableList{{38, true}});
  auto* s = t.Add<TStringColumn>({"Name"}, "abc", 1.5L);
  s->SetVisible(false);
  s->SetGroupWide(true);
  t.ChartShown = true;
  t.XColumn = 2;
  t.YColumn = 3;
  std::string text = t.WriteDefinition();
  EXPECT_NE(text.find("'FLOATCOLUMN2'"), std::string::npos);
  EXPECT_NE(text.find("'FLEXCOLUMN2' (38 -1)"), std::string::npos);

  TGridTableChart u;
  u.ReadDefinition(text);
  EXPECT_EQ(u.WriteDefinition(), text);
  ASSERT_EQ(u.ColumnCount(), 6);
  EXPECT_EQ(u.Column(0)->Headers(), (std::vector<std::string>{"Kind  ", "it's"}));
  EXPECT_EQ(static_cast<TIntColumn*>(u.Column(1))->Minimum(), -5);
  EXPECT_TRUE(static_cast<TFloatColumn*>(u.Column(2))->TopDepth());
  EXPECT_EQ(static_cast<TFloatColumn*>(u.Column(3))->Default(), -0.1L);
  EXPECT_FALSE(u.Column(5)->Visible());
  EXPECT_TRUE(u.Column(5)->GroupWide());
  EXPECT_EQ(u.VisibleColumnCount(), 5);
  EXPECT_THROW(u.VisibleColumn(5), ETableError);
  EXPECT_TRUE(u.ChartShown);
  EXPECT_EQ(u.XColumn, 2);
  EXPECT_EQ(u.YColumn, 3);
}

TEST(ColumnDefinition, OlderFloatLayoutAndErrors) {
  TGridTable t;
  t.ReadDefinition("1 2 ('Depth') True False False 'L2'");
  auto* f = dynamic_cast<TFloatColumn*>(t.Column(0));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->UnitString(), "L2");
  EXPECT_EQ(f->Default(), 0);

  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"x", "Error reading column count"},
      {"1 7 () True False", "Error Column Class not defined"},
      {"2 1 ('N') True False 0 0 9 1 ('M') True False 0 zero 9",
       "Error occured when creating column 1: Integer expected"},
  };
  for (const Case& k : cases) {
    TGridTable u;
    try {
      u.ReadDefinition(k.text);
      ADD_FAILURE() << k.text;
    } catch (const ETableError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, std::string(k.message).size()), k.message);
    }
  }
  TGridTableChart c;
  try {
    c.ReadDefinition("0 True False 0");
    FAIL();
  } catch (const ETableError& e) {
    EXPECT_STREQ(e.what(), "Error reading graphic parameters");
  }
}

}  // namespace
}  // namespace ramvex
