#include <gtest/gtest.h>

#include <string>

#include "DefinedTables.h"
#include "NumberText.h"

namespace ramvex {
namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string Headers(const TColumn& c) {
  std::string s;
  for (size_t i = 0; i < c.Headers().size(); ++i) s += (i ? " / " : "") + Quoted(c.Headers()[i]);
  return s;
}

// One line per column: kind, headers and the fields of its kind.
std::string Describe(const TGridTable& t) {
  std::string s = std::to_string(t.Identifier()) + " " + Quoted(t.Caption()) + " rows " + std::to_string(t.MinRows()) +
                  ".." + std::to_string(t.MaxRows()) + " topleft " + Quoted(t.TopLeft()) + "\n";
  for (int i = 0; i < t.ColumnCount(); ++i) {
    const TColumn* c = t.Column(i);
    if (!c->Visible() || c->GroupWide()) s += "hidden or group-wide ";
    if (auto* e = dynamic_cast<const TEnumColumn*>(c)) {
      s += "choice " + Headers(*c) + ":";
      for (const std::string& x : e->Choices()) s += " " + Quoted(x);
    } else if (auto* n = dynamic_cast<const TIntColumn*>(c)) {
      s += "int " + Headers(*c) + " " + std::to_string(n->Default()) + " " + std::to_string(n->Minimum()) + " " +
           std::to_string(n->Maximum());
    } else if (auto* f = dynamic_cast<const TFloatColumn*>(c)) {
      s += std::string(f->TopDepth() ? "top-depth " : "") + "float " + Headers(*c) + " " + Quoted(f->UnitString()) +
           " " + FormatGeneral(f->Default(), 8);
    } else if (auto* n2 = dynamic_cast<const TTableColumn*>(c)) {
      s += "table " + Headers(*c) + ":";
      for (const TIntWrapper& w : n2->Templates()) s += " " + std::to_string(w.Value);
    }
    s += "\n";
  }
  return s;
}

const char kSoilComment[] =
    "The user may optionally enter an earth pressure coefficient for generating \r"
    "lateral earth pressure that is equal to the vertical soil pressure multiplied \r"
    "by this user-specified coefficient. If the user does not intend to use this option, \r"
    "please leave the optional earth pressure coefficient as zero and the program will \r"
    "use the active earth pressure coefficient calculated internally.";
const char kInterp[] =
    "Linear interpolation (when selected) is performed from START node of previous line to END node of the following "
    "line.";


TEST(DefinedTables, EachTableHasItsDefinition) {
  auto tables = CreateProjectTables();
  TProjectTables& p = *tables;
  const std::string blanks34(34, ' ');
  struct Row {
    TGridTable* table;
    std::string description;
    std::string comments;
    bool picture;
  } rows[] = {
      {p.PileSect.get(),
       "15 \"Wall Stiffness\" rows 1..10 topleft \"Section\"\n"
       "int \"From Node No. (Start)\" 0 0 2147483600\n"
       "int \"To Node No. (End)\" 1 0 2147483647\n"
       "choice \"Constant or Interpolate?" + blanks34 +
           "\": \"Use Constant Value for all Nodes on this Line\" \"Linear Interpolate to End Node of Next Line\"\n"
           "float \"Flexural Stiffness (EI)\" \"F-L^2\" 0\n",
       std::string("The nodal number at the top of the wall is set to be 0.\r"
                   "Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.\r") +
           kInterp,
       false},
      {p.SoilLayer.get(),
       "0 \"Specify Deflection and Slope on Wall\" rows 1..10 topleft \"No\"\n"
       "choice \"Case" + std::string(43, ' ') + "\": \"Specify Deflection\" \"Specify Slope\"\n"
       "int \"Nodal No.\" 0 0 2147483600\n"
       "float \"Deflection\" \"L\" 0\n"
       "float \"Slope\" \"\" 0\n",
       "", false},
      {p.SoilStrength.get(),
       "4 \"Lateral Spring and Rotation Spring\" rows 1..20 topleft \"Point\"\n"
       "choice \"Constant or Interpolate?" + std::string(38, ' ') +
           "\": \"Use Constant Values for all Nodes on this Line  \" \"Linear Interpolate to End Node of Next Line\"\n"
           "int \"From Node No.\" / \"     (Start)\" 0 0 2147483647\n"
           "int \"To Node No.\" / \"   (End)\" 0 -2147483648 2147483647\n"
           "float \"Lateral Spring\" / \"Stiffness\" \"F/L\" 0\n"
           "float \"Rotational Spr.\" / \"Stiff.\" \"F-L/RAD.\" 0\n",
       std::string("The spring stiffnesses are applied at nodal points only (including the specified START and END "
                   "nodes).\r") +
           kInterp,
       true},
      {p.PYMod.get(),
       "16 \"p-y Modification Factors\" rows 2..30 topleft \"\"\n"
       "float \"Depth\" \"L2\" 0\nfloat \"p-Multiplier\" \"\" 1\nfloat \"y-Multiplier\" \"\" 1\n",
       "", false},
      {p.DistLoad.get(),
       "22 \"Distributed Loads\" rows 2..100 topleft \"\"\n"
       "float \"Depth measured from the top of the wall,\" \"L2\" 0\n"
       "float \"Lateral distributed line load, \" \"F/L2\" 0\n",
       "", true},
      {p.LongDist.get(),
       "104 \"Distributed Load (Long-Term)\" rows 1..0 topleft \"\"\n"
       "float \"Depth measured from the top of the wall,\" \"L2\" 0\n"
       "float \"Lateral distributed line load,\" \"F/L2\" 0\n",
       "", true},
      {p.BoundCond.get(),
       "123 \"Concentrated Loads on Wall\" rows 1..20 topleft \"\"\n"
       "choice \"Constant or Interpolate?" + blanks34 +
           "\": \"Use Constant Values for all Nodes on this Line\" \"Linear Interpolate to End Node of Next Line\"\n"
           "int \"From Node No.\" / \"(Start)\" 0 0 2147483600\n"
           "int \"To Node No.\" / \"(End)\" 1 0 2147483647\n"
           "float \"Lateral Load\" \"F\" 0\nfloat \"Moment\" \"F-L\" 0\nfloat \"Axial Load\" \"F\" 0\n",
       std::string("The concentrated loads are applied at nodal points only (including the specified START and END "
                   "nodes).\r") +
           kInterp,
       false},
      {p.NewSoil.get(),
       "19 \"Soil Layers\" rows 1..10 topleft \"\"\n"
       "choice \"Soil \" / \"Type\": \"Soft Clay\" \"Stiff Clay with Free Water\" \"Stiff Clay w/o Free Water\" \"Sand\" "
       "\"Silt (c-phi soil)\" \"Strong Rock\" \"Weak Rock\"\n"
       "float \"Depth at Bottom\" / \"of the Layer,\" \"L2\" 0\n"
       "table \"Edit Soil\" / \"Parameters\": 18 18 18 17 29 30 31\n",
       "", false},
      {p.LongSoil.get(),
       "44 \"Soil Layers (Long-Term)\" rows 1..10 topleft \"\"\n"
       "choice \"Soil\" / \"Type\": \"Soft Clay\" \"Stiff Clay with Free water\" \"Stiff Clay w/o Free Water\" \"Sand\" "
       "\"Silt (c-phi soil)\" \"Strong Rock\" \"Weak Rock\"\n"
       "float \"Depth at Bottom\" / \"of the Layer,\" \"L2\" 0\n"
       "table \"Edit Soil\" / \"Parameters\": 18 18 18 17 29 30 31\n",
       "", false},
      {p.SurchargeTable.get(),
       "23 \"Surcharge Loads\" rows 1..20 topleft \"\"\n"
       "choice \"Load Types\": \"Point Load\" \"Line Load\" \"Strip Load\"\n"
       "float \"Load Magnitude\" \"SEE NOTES\" 0\nfloat \"Distance, X\" \"L1\" 0\n"
       "float \"Width of Strip Load, W\" \"L1\" 0\n",
       "The unit for point load is lbs or kN \rThe unit for line load is lbs/in. or kN/m \r"
       "The unit for strip load is lbs/in^2 or kN/m^2 \r"
       "For strip load, Distance X goes from the wall to the middle of the strip width",
       false},
      {p.TiebackTable1.get(),
       "77 \"Tieback (ground anchor) Table\" rows 1..20 topleft \"\"\n"
       "float \"Depth from top\" / \"of wall,\" \"L2\" 0\n"
       "float \"Cross sectional area\" / \"of steel rod,\" \"L1^2\" 0\n"
       "float \"Elastic modulus\" / \"of steel,\" \"F/L^2\" 0\n"
       "float \"Unbonded anchor\" / \"length,\" \"L2\" 0\n"
       "float \"Angle from\" / \"horizontal,\" \"DEG.\" 0\n"
       "float \"Anchor spacing\" / \"in each row,\" \"L2\" 0\n"
       "float \"Prestressing Force\" \"F\" 0\n",
       "", false},
      {p.TblClay1.get(),
       "18 \"Clay\" rows 2..2 topleft \"\"\n"
       "float \"Total Unit\" / \"Weight,\" \"F/L2^3\" 0\nfloat \"Cohesive\" / \"Strength,\" \"F/L2^2\" 0\n"
       "float \"E50\" / \"\" \"\" 0\nfloat \"k(py)\" \"F/L^3\" 0\n"
       "float \"Optional Earth\" / \"Pressure Coefficient\" \"\" 0\n",
       kSoilComment, false},
      {p.TblSand1.get(),
       "17 \"Sand\" rows 2..2 topleft \"\"\n"
       "float \"Total Unit\" / \"Weight,\" \"F/L2^3\" 0\nfloat \"Friction\" / \"Angle, deg.\" \"\" 0\n"
       "float \"k(py)\" \"F/L^3\" 0\nfloat \"Optional Earth\" / \"Pressure Coefficient\" \"\" 0\n",
       kSoilComment, false},
      {p.TblSilt1.get(),
       "29 \"Silt\" rows 2..2 topleft \"\"\n"
       "float \"Total Unit \" / \"Weight,\" \"F/L2^3\" 0\nfloat \"Friction\" / \"Angle, deg.\" \"\" 0\n"
       "float \"Cohesive\" / \"Strength,\" \"F/L2^2\" 0\nfloat \"E50\" / \"\" \"\" 0\nfloat \"K(py)\" \"F/L^3\" 0\n"
       "float \"Optional Earth\" / \"Pressure Coefficient\" \"\" 0\n",
       kSoilComment, false},
      {p.TblRock1.get(),
       "30 \"Strong Rock\" rows 2..2 topleft \"\"\n"
       "float \"Total Unit\" / \"Weight,\" \"F/L2^3\" 0\nfloat \"Uniaxial Compressive\" / \"Strength,\" \"F/L^2\" 0\n",
       "", false},
      {p.TblRock2.get(),
       "31 \"Weak Rock\" rows 2..2 topleft \"\"\n"
       "float \"Total Unit\" / \"Weight,\" \"F/L2^3\" 0\nfloat \"Uniaxial Compressive\" / \"Strength,\" \"F/L^2\" 0\n"
       "float \"krm *\" \"\" 0\nfloat \"Elastic\" / \"Modulus,\" \"F/L^2\" 0\nfloat \"RQD\" / \"%\" \"\" 0\n",
       "* krm is a strain constant that seve to establish the overall stiffness of the curves", false},
      {p.PYCurves2.get(),
       "37 \"Sets of Ext. p-y Curves\" rows 2..30 topleft \"\"\n"
       "int \"Node # \" 0 -2147483648 2147483647\ntable \"Curve Sets\": 38\n"
       "float \"Multiplier for p-value\" \"\" 1\nfloat \"Multiplier for y-value\" \"\" 1\n",
       "", false},
      {p.PYCurve2.get(),
       "38 \"External p-y Curve\" rows 2..17 topleft \"Point\"\n"
       "float \"Lateral Deflection, y (*)\" \"L\" 0\nfloat \"Soil Resistance, p\" \"F/L\" 0\n",
       "* Use negative (-) values for deflections to the left (to backfill)\r"
       "     and positive (+) to the right (to excavation).\r"
       "Lateral movement (y) should start from negative deflection\r"
       "     (towards backfill) and gradually increase to positive\r"
       "     deflection (towards excavation) for the range of the response.\r"
       "Positive soil resistance (p) should correspond to the negative\r"
       "     soil movement (-y) and negative soil resistance (-p) should\r"
       "     correspond to the positive soil movement (y).",
       false},
      {p.MEICurves2.get(),
       "36 \"Nonlinear Moment vs EI Curves\" rows 1..20 topleft \"Section\"\n"
       "int \"From Node No. (Start)\" 0 0 1000\nint \"To Node No. (End)\" 0 0 1000\ntable : 0\n",
       "", false},
      {p.Rows2.get(),
       "0 \"Moment and EI data\" rows 1..100 topleft \"Point\"\n"
       "float \"Bending moment\" \"F-L\" 0\nfloat \"Flexural rigidity\" \"F-L^2\" 0\n",
       "", false},
  };
  ASSERT_EQ(std::size(rows), p.All().size());
  for (const Row& r : rows) {
    SCOPED_TRACE(r.table->Caption());
    EXPECT_EQ(Describe(*r.table), r.description);
    EXPECT_EQ(r.table->Comments(), r.comments);
    EXPECT_EQ(!r.table->HelpPicture().empty(), r.picture);
    EXPECT_EQ(r.table->RowGroup(), 1);
    EXPECT_EQ(r.table->RowCount(), r.table->MinRows());
  }
  EXPECT_EQ(p.DistLoad->HelpPicture(), p.LongDist->HelpPicture());
  EXPECT_NE(p.DistLoad->HelpPicture(), p.SoilStrength->HelpPicture());

  // Chart parameters.
  EXPECT_FALSE(p.PYCurves2->ChartShown);
  EXPECT_FALSE(p.MEICurves2->ChartShown);
  for (TGridTableChart* c : {p.PYCurve2.get(), p.Rows2.get()}) {
    EXPECT_TRUE(c->ChartShown);
    EXPECT_FALSE(c->SegmentDrawing);
    EXPECT_EQ(c->XColumn, 0);
    EXPECT_EQ(c->YColumn, 1);
    EXPECT_TRUE(c->GetDataFromFile);
    EXPECT_FALSE(c->OKCancelButtons || c->InvertedXAxis || c->InvertedYAxis);
  }
  EXPECT_FALSE(p.PYCurves2->GetDataFromFile || p.MEICurves2->GetDataFromFile);

  // Identifier 0 names one table in each family.
  EXPECT_EQ(TGridTable::Find(TTableFamily::Plain, 0), p.SoilLayer.get());
  EXPECT_EQ(TGridTable::Find(TTableFamily::Chart, 0), p.Rows2.get());
}

TEST(DefinedTables, NestedCellsComeFromTheirTemplates) {
  auto tables = CreateProjectTables();
  TProjectTables& p = *tables;
  const char* captions[] = {"Clay", "Clay", "Clay", "Sand", "Silt", "Strong Rock", "Weak Rock"};
  const int templates[] = {18, 18, 18, 17, 29, 30, 31};
  p.NewSoil->SetRowCount(3);
  for (int type = 1; type <= 7; ++type) {
    p.NewSoil->Column(0)->SetInt(2, type);
    TGridTable* n = p.NewSoil->Nested(2, 2);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->Caption(), captions[type - 1]);
    EXPECT_EQ(n->RowCount(), 2);
    EXPECT_EQ(n->EditorTitle(), std::string(captions[type - 1]) + "  3");
    // The columns are clones of the template's.
    const std::string copy = Describe(*n);
    const std::string source = Describe(*TGridTable::Find(TTableFamily::Plain, templates[type - 1]));
    EXPECT_EQ(copy.substr(copy.find('\n')), source.substr(source.find('\n')));
  }
  TGridTable* curve = p.PYCurves2->Nested(1, 1);
  ASSERT_NE(curve, nullptr);
  EXPECT_EQ(curve->Family(), TTableFamily::Chart);
  EXPECT_EQ(curve->RowCount(), 2);
  EXPECT_EQ(curve->EditorTitle(), "External p-y Curve  2");
  TGridTable* mei = p.MEICurves2->Nested(2, 0);
  ASSERT_NE(mei, nullptr);
  EXPECT_EQ(mei->Caption(), "Moment and EI data");
}

TEST(DefinedTables, DefinitionsSurviveTheirTextForm) {
  auto tables = CreateProjectTables();
  for (TGridTable* t : tables->All()) {
    SCOPED_TRACE(t->Caption());
    std::string text = t->WriteDefinition();
    std::unique_ptr<TGridTable> copy;
    if (t->Family() == TTableFamily::Chart) {
      copy = std::make_unique<TGridTableChart>();
    } else {
      copy = std::make_unique<TGridTable>();
    }
    copy->ReadDefinition(text);
    EXPECT_EQ(copy->WriteDefinition(), text);
    EXPECT_EQ(Describe(*copy).substr(Describe(*copy).find('\n')), Describe(*t).substr(Describe(*t).find('\n')));
  }
}

}  // namespace
}  // namespace ramvex
