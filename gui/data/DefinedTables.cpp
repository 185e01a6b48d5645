#include "DefinedTables.h"

#include <string>

namespace ramvex {

namespace {

using Lines = std::vector<std::string>;

std::string Pad(const char* text, int blanks) { return std::string(text) + std::string(static_cast<size_t>(blanks), ' '); }

std::string Join(const Lines& lines) {
  std::string s;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) s += '\r';
    s += lines[i];
  }
  return s;
}

// Every table joins the set being built before it takes its identifier, so
// the templates its nested-table columns name are the set's own.
template <class T>
std::unique_ptr<T> NewTable(const std::shared_ptr<TTableScope>& scope, int id, const char* caption, int minRows,
                            int maxRows, const char* topLeft = "") {
  auto t = std::make_unique<T>();
  t->SetScope(scope);
  t->SetIdentifier(id);
  t->SetCaption(caption);
  t->SetMinRows(minRows);
  t->SetMaxRows(maxRows);
  t->SetTopLeft(topLeft);
  t->SetRowGroup(1);
  return t;
}

constexpr int kIntMin = -2147483647 - 1;
constexpr int kIntMax = 2147483647;
constexpr int kNodeMax = 2147483600;

const char kInterpolationComment[] =
    "Linear interpolation (when selected) is performed from START node of previous line to END node of the following "
    "line.";
const char kPressureSketch[] = "PressureSketch";
const char kSpringSketch[] = "SpringTiebackSketch";

const Lines kSoilComment = {
    "The user may optionally enter an earth pressure coefficient for generating ",
    "lateral earth pressure that is equal to the vertical soil pressure multiplied ",
    "by this user-specified coefficient. If the user does not intend to use this option, ",
    "please leave the optional earth pressure coefficient as zero and the program will ",
    "use the active earth pressure coefficient calculated internally.",
};

// Soil layer tables: type, bottom depth and the parameter table of the type.
void AddSoilColumns(TGridTable& t, const char* typeHeader, const char* secondChoice) {
  t.Add<TEnumColumn>({typeHeader, "Type"}, Lines{"Soft Clay", secondChoice, "Stiff Clay w/o Free Water", "Sand",
                                                 "Silt (c-phi soil)", "Strong Rock", "Weak Rock"});
  t.Add<TFloatColumn>({"Depth at Bottom", "of the Layer,"}, "L2");
  t.Add<TTableColumn>({"Edit Soil", "Parameters"}, TGridTableList{{18, true}, {18, true}, {18, true}, {17, true},
                                                                   {29, true}, {30, true}, {31, true}});
}

void AddDistributedLoadColumns(TGridTable& t, int loadBlanks) {
  t.Add<TFloatColumn>({"Depth measured from the top of the wall,"}, "L2");
  t.Add<TFloatColumn>({Pad("Lateral distributed line load,", loadBlanks)}, "F/L2");
  t.SetHelpPicture(kPressureSketch);
}

}  // namespace

std::vector<TGridTable*> TProjectTables::Plain() const {
  return {PileSect.get(), SoilLayer.get(), SoilStrength.get(), PYMod.get(),          DistLoad.get(),
          LongDist.get(), BoundCond.get(), NewSoil.get(),      LongSoil.get(),      SurchargeTable.get(),
          TiebackTable1.get(), TblClay1.get(), TblSand1.get(), TblSilt1.get(),      TblRock1.get(),
          TblRock2.get()};
}

std::vector<TGridTable*> TProjectTables::All() const {
  std::vector<TGridTable*> all = Plain();
  for (TGridTable* t : {static_cast<TGridTable*>(PYCurves2.get()), static_cast<TGridTable*>(PYCurve2.get()),
                        static_cast<TGridTable*>(MEICurves2.get()), static_cast<TGridTable*>(Rows2.get())}) {
    all.push_back(t);
  }
  return all;
}

std::unique_ptr<TProjectTables> CreateProjectTables() {
  auto p = std::make_unique<TProjectTables>();
  p->Scope = std::make_shared<TTableScope>();

  p->PileSect = NewTable<TGridTable>(p->Scope, 15, "Wall Stiffness", 1, 10, "Section");
  {
    TGridTable& t = *p->PileSect;
    t.Add<TIntColumn>({"From Node No. (Start)"}, 0, 0, kNodeMax);
    t.Add<TIntColumn>({"To Node No. (End)"}, 1, 0, kIntMax);
    t.Add<TEnumColumn>({Pad("Constant or Interpolate?", 34)},
                       Lines{"Use Constant Value for all Nodes on this Line", "Linear Interpolate to End Node of Next Line"});
    t.Add<TFloatColumn>({"Flexural Stiffness (EI)"}, "F-L^2");
    t.SetComments(Join({"The nodal number at the top of the wall is set to be 0.",
                        "Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.",
                        kInterpolationComment}));
  }

  p->SoilLayer = NewTable<TGridTable>(p->Scope, 0, "Specify Deflection and Slope on Wall", 1, 10, "No");
  {
    TGridTable& t = *p->SoilLayer;
    t.Add<TEnumColumn>({Pad("Case", 43)}, Lines{"Specify Deflection", "Specify Slope"});
    t.Add<TIntColumn>({"Nodal No."}, 0, 0, kNodeMax);
    t.Add<TFloatColumn>({"Deflection"}, "L");
    t.Add<TFloatColumn>({"Slope"}, "");
  }

  p->SoilStrength = NewTable<TGridTable>(p->Scope, 4, "Lateral Spring and Rotation Spring", 1, 20, "Point");
  {
    TGridTable& t = *p->SoilStrength;
    t.Add<TEnumColumn>({Pad("Constant or Interpolate?", 38)},
                       Lines{Pad("Use Constant Values for all Nodes on this Line", 2),
                             "Linear Interpolate to End Node of Next Line"});
    t.Add<TIntColumn>({"From Node No.", "     (Start)"}, 0, 0, kIntMax);
    t.Add<TIntColumn>({"To Node No.", "   (End)"}, 0, kIntMin, kIntMax);
    t.Add<TFloatColumn>({"Lateral Spring", "Stiffness"}, "F/L");
    t.Add<TFloatColumn>({"Rotational Spr.", "Stiff."}, "F-L/RAD.");
    t.SetComments(Join({"The spring stiffnesses are applied at nodal points only (including the specified START and "
                        "END nodes).",
                        kInterpolationComment}));
    t.SetHelpPicture(kSpringSketch);
  }

  p->PYMod = NewTable<TGridTable>(p->Scope, 16, "p-y Modification Factors", 2, 30);
  {
    TGridTable& t = *p->PYMod;
    t.Add<TFloatColumn>({"Depth"}, "L2");
    t.Add<TFloatColumn>({"p-Multiplier"}, "", 1.0L);
    t.Add<TFloatColumn>({"y-Multiplier"}, "", 1.0L);
  }

  p->DistLoad = NewTable<TGridTable>(p->Scope, 22, "Distributed Loads", 2, 100);
  AddDistributedLoadColumns(*p->DistLoad, 1);
  p->LongDist = NewTable<TGridTable>(p->Scope, 104, "Distributed Load (Long-Term)", 1, 0);
  AddDistributedLoadColumns(*p->LongDist, 0);

  p->BoundCond = NewTable<TGridTable>(p->Scope, 123, "Concentrated Loads on Wall", 1, 20);
  {
    TGridTable& t = *p->BoundCond;
    t.Add<TEnumColumn>({Pad("Constant or Interpolate?", 34)},
                       Lines{"Use Constant Values for all Nodes on this Line", "Linear Interpolate to End Node of Next Line"});
    t.Add<TIntColumn>({"From Node No.", "(Start)"}, 0, 0, kNodeMax);
    t.Add<TIntColumn>({"To Node No.", "(End)"}, 1, 0, kIntMax);
    t.Add<TFloatColumn>({"Lateral Load"}, "F");
    t.Add<TFloatColumn>({"Moment"}, "F-L");
    t.Add<TFloatColumn>({"Axial Load"}, "F");
    t.SetComments(Join({"The concentrated loads are applied at nodal points only (including the specified START and "
                        "END nodes).",
                        kInterpolationComment}));
  }

  p->NewSoil = NewTable<TGridTable>(p->Scope, 19, "Soil Layers", 1, 10);
  AddSoilColumns(*p->NewSoil, "Soil ", "Stiff Clay with Free Water");
  p->LongSoil = NewTable<TGridTable>(p->Scope, 44, "Soil Layers (Long-Term)", 1, 10);
  AddSoilColumns(*p->LongSoil, "Soil", "Stiff Clay with Free water");

  p->SurchargeTable = NewTable<TGridTable>(p->Scope, 23, "Surcharge Loads", 1, 20);
  {
    TGridTable& t = *p->SurchargeTable;
    t.Add<TEnumColumn>({"Load Types"}, Lines{"Point Load", "Line Load", "Strip Load"});
    // No unit token: the magnitude is converted by load type with the project.
    t.Add<TFloatColumn>({"Load Magnitude"}, "SEE NOTES");
    t.Add<TFloatColumn>({"Distance, X"}, "L1");
    t.Add<TFloatColumn>({"Width of Strip Load, W"}, "L1");
    t.SetComments(Join({"The unit for point load is lbs or kN ", "The unit for line load is lbs/in. or kN/m ",
                        "The unit for strip load is lbs/in^2 or kN/m^2 ",
                        "For strip load, Distance X goes from the wall to the middle of the strip width"}));
  }

  p->TiebackTable1 = NewTable<TGridTable>(p->Scope, 77, "Tieback (ground anchor) Table", 1, 20);
  {
    TGridTable& t = *p->TiebackTable1;
    t.Add<TFloatColumn>({"Depth from top", "of wall,"}, "L2");
    t.Add<TFloatColumn>({"Cross sectional area", "of steel rod,"}, "L1^2");
    t.Add<TFloatColumn>({"Elastic modulus", "of steel,"}, "F/L^2");
    t.Add<TFloatColumn>({"Unbonded anchor", "length,"}, "L2");
    t.Add<TFloatColumn>({"Angle from", "horizontal,"}, "DEG.");
    t.Add<TFloatColumn>({"Anchor spacing", "in each row,"}, "L2");
    t.Add<TFloatColumn>({"Prestressing Force"}, "F");
  }

  p->TblClay1 = NewTable<TGridTable>(p->Scope, 18, "Clay", 2, 2);
  {
    TGridTable& t = *p->TblClay1;
    t.Add<TFloatColumn>({"Total Unit", "Weight,"}, "F/L2^3");
    t.Add<TFloatColumn>({"Cohesive", "Strength,"}, "F/L2^2");
    t.Add<TFloatColumn>({"E50", ""}, "");
    t.Add<TFloatColumn>({"k(py)"}, "F/L^3");
    t.Add<TFloatColumn>({"Optional Earth", "Pressure Coefficient"}, "");
    t.SetComments(Join(kSoilComment));
  }
  p->TblSand1 = NewTable<TGridTable>(p->Scope, 17, "Sand", 2, 2);
  {
    TGridTable& t = *p->TblSand1;
    t.Add<TFloatColumn>({"Total Unit", "Weight,"}, "F/L2^3");
    t.Add<TFloatColumn>({"Friction", "Angle, deg."}, "");
    t.Add<TFloatColumn>({"k(py)"}, "F/L^3");
    t.Add<TFloatColumn>({"Optional Earth", "Pressure Coefficient"}, "");
    t.SetComments(Join(kSoilComment));
  }
  p->TblSilt1 = NewTable<TGridTable>(p->Scope, 29, "Silt", 2, 2);
  {
    TGridTable& t = *p->TblSilt1;
    t.Add<TFloatColumn>({"Total Unit ", "Weight,"}, "F/L2^3");
    t.Add<TFloatColumn>({"Friction", "Angle, deg."}, "");
    t.Add<TFloatColumn>({"Cohesive", "Strength,"}, "F/L2^2");
    t.Add<TFloatColumn>({"E50", ""}, "");
    t.Add<TFloatColumn>({"K(py)"}, "F/L^3");
    t.Add<TFloatColumn>({"Optional Earth", "Pressure Coefficient"}, "");
    t.SetComments(Join(kSoilComment));
  }
  p->TblRock1 = NewTable<TGridTable>(p->Scope, 30, "Strong Rock", 2, 2);
  {
    TGridTable& t = *p->TblRock1;
    t.Add<TFloatColumn>({"Total Unit", "Weight,"}, "F/L2^3");
    t.Add<TFloatColumn>({"Uniaxial Compressive", "Strength,"}, "F/L^2");
  }
  p->TblRock2 = NewTable<TGridTable>(p->Scope, 31, "Weak Rock", 2, 2);
  {
    TGridTable& t = *p->TblRock2;
    t.Add<TFloatColumn>({"Total Unit", "Weight,"}, "F/L2^3");
    t.Add<TFloatColumn>({"Uniaxial Compressive", "Strength,"}, "F/L^2");
    t.Add<TFloatColumn>({"krm *"}, "");
    t.Add<TFloatColumn>({"Elastic", "Modulus,"}, "F/L^2");
    t.Add<TFloatColumn>({"RQD", "%"}, "");
    t.SetComments("* krm is a strain constant that seve to establish the overall stiffness of the curves");
  }

  p->PYCurves2 = NewTable<TGridTableChart>(p->Scope, 37, "Sets of Ext. p-y Curves", 2, 30);
  {
    TGridTableChart& t = *p->PYCurves2;
    t.Add<TIntColumn>({"Node # "}, 0, kIntMin, kIntMax);
    t.Add<TTableColumn>({"Curve Sets"}, TGridTableList{{38, true}});
    t.Add<TFloatColumn>({"Multiplier for p-value"}, "", 1.0L);
    t.Add<TFloatColumn>({"Multiplier for y-value"}, "", 1.0L);
  }
  p->PYCurve2 = NewTable<TGridTableChart>(p->Scope, 38, "External p-y Curve", 2, 17, "Point");
  {
    TGridTableChart& t = *p->PYCurve2;
    t.Add<TFloatColumn>({"Lateral Deflection, y (*)"}, "L");
    t.Add<TFloatColumn>({"Soil Resistance, p"}, "F/L");
    t.ChartShown = true;
    t.XColumn = 0;
    t.YColumn = 1;
    t.GetDataFromFile = true;
    t.SetComments(Join({"* Use negative (-) values for deflections to the left (to backfill)",
                        "     and positive (+) to the right (to excavation).",
                        "Lateral movement (y) should start from negative deflection",
                        "     (towards backfill) and gradually increase to positive",
                        "     deflection (towards excavation) for the range of the response.",
                        "Positive soil resistance (p) should correspond to the negative",
                        "     soil movement (-y) and negative soil resistance (-p) should",
                        "     correspond to the positive soil movement (y)."}));
  }
  p->MEICurves2 = NewTable<TGridTableChart>(p->Scope, 36, "Nonlinear Moment vs EI Curves", 1, 20, "Section");
  {
    TGridTableChart& t = *p->MEICurves2;
    t.Add<TIntColumn>({"From Node No. (Start)"}, 0, 0, 1000);
    t.Add<TIntColumn>({"To Node No. (End)"}, 0, 0, 1000);
    t.Add<TTableColumn>({}, TGridTableList{{0, true}});
  }
  p->Rows2 = NewTable<TGridTableChart>(p->Scope, 0, "Moment and EI data", 1, 100, "Point");
  {
    TGridTableChart& t = *p->Rows2;
    t.Add<TFloatColumn>({"Bending moment"}, "F-L");
    t.Add<TFloatColumn>({"Flexural rigidity"}, "F-L^2");
    t.ChartShown = true;
    t.XColumn = 0;
    t.YColumn = 1;
    t.GetDataFromFile = true;
  }
  // Templates exist now; the soil and curve rows can be built.
  for (TGridTable* t : p->All()) t->SetRowCount(t->MinRows());
  return p;
}

}  // namespace ramvex
