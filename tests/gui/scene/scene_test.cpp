// The block model against a recording surface: where each element lands,
// in which colour, and how many of it, for small projects worked by hand and
// for the bundled examples with their computed deflections.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "Scene3D.h"
#include "plot_reader.h"
#include "project_fixture.h"
#include "recording_surface.h"

namespace ramvex::test {
namespace {

constexpr std::array<double, 4> kPanelSolid{0.75, 0.75, 0.75, 1};
constexpr std::array<double, 4> kPlateSolid{0.25, 0.25, 0.25, 1};
constexpr std::array<double, 4> kTiebackSolid{0.5, 0.75, 0.75, 1};
constexpr std::array<double, 4> kSpringSolid{0.5, 0.5, 0.5, 1};
constexpr std::array<double, 4> kUndeformedEdge{0.75, 0.75, 0, 1};

class SceneTest : public ::testing::Test {
 protected:
  SceneTest() : tables_(CreateProjectTables()), project_(*tables_) {
    project_.NewProject();
    // A 20 ft wall of 40 increments of 6 inches, one foot wide and
    // thick, excavated 8 ft, in one 30 ft layer of sand.
    project_.IncrementCount = 40;
    project_.IncrementLength = 6;
    project_.ActiveWidth = 12;
    project_.PYWidth = 120;
    project_.FreeHeight = 96;
    project_.GeneratePYCurves = true;
    tables_->NewSoil->SetRowCount(1);
    tables_->NewSoil->Column(0)->SetInt(0, kSand);
    tables_->NewSoil->Column(1)->SetFloat(0, 30);
  }

  TRecordingSurface Structure(TScene3D& scene) {
    TRecordingSurface s;
    scene.GetMaxDims();
    scene.DrawPileCap(s);
    EXPECT_TRUE(s.Balanced());
    return s;
  }
  TRecordingSurface Ground(TScene3D& scene) {
    TRecordingSurface s;
    scene.GetMaxDims();
    scene.DrawSoilLayers(s);
    EXPECT_TRUE(s.Balanced());
    return s;
  }
  void SetSoil(std::initializer_list<double> bottoms) {
    tables_->NewSoil->SetRowCount(static_cast<int>(bottoms.size()));
    int r = 0;
    for (double b : bottoms) tables_->NewSoil->Column(1)->SetFloat(r++, b);
  }

  std::unique_ptr<TProjectTables> tables_;
  TProgramData project_;
};

TEST_F(SceneTest, FortyIncrementsOfSixInchesMakeATwentyFootWall) {
  TScene3D scene(project_);
  EXPECT_DOUBLE_EQ(scene.GetWallLength(), 20);
  EXPECT_DOUBLE_EQ(scene.GetWallWidth(), 1);
  EXPECT_DOUBLE_EQ(scene.GetWallThickness(), 1);

  TRecordingSurface s = Structure(scene);
  const auto panels = SolidBoxes(s, kPanelSolid);
  const auto plates = SolidBoxes(s, kPlateSolid);
  ASSERT_EQ(panels.size(), 20u);
  ASSERT_EQ(plates.size(), 20u);
  std::set<double> centres;
  for (const TBounds& b : panels) {
    EXPECT_DOUBLE_EQ(b.Max.z, 0);
    EXPECT_DOUBLE_EQ(b.Min.z, -20);
    EXPECT_DOUBLE_EQ(b.Max.x - b.Min.x, 1);
    EXPECT_DOUBLE_EQ(b.Max.y - b.Min.y, 1);
    centres.insert((b.Min.y + b.Max.y) / 2);
  }
  // Ten units each side of the middle, covering -10W to 10W.
  EXPECT_EQ(centres.size(), 20u);
  EXPECT_DOUBLE_EQ(*centres.begin(), -9.5);
  EXPECT_DOUBLE_EQ(*centres.rbegin(), 9.5);
  for (const TBounds& b : plates) EXPECT_DOUBLE_EQ(b.Min.z, b.Max.z);
}

TEST_F(SceneTest, MissingWidthAndThicknessFollowTheWallLength) {
  project_.ActiveWidth = 0;
  project_.PYWidth = 0;
  project_.ApplyTiebacks = true;
  tables_->TiebackTable1->SetRowCount(1);
  SetRow(*tables_->TiebackTable1, 0, {5, 1.5, 29e6, 20, 15, 8, 20000});
  TScene3D scene(project_);
  EXPECT_DOUBLE_EQ(scene.GetWallWidth(), 2);
  EXPECT_DOUBLE_EQ(scene.GetWallThickness(), 0.2);
  TRecordingSurface s = Structure(scene);
  const auto panels = SolidBoxes(s, kPanelSolid);
  ASSERT_EQ(panels.size(), 20u);
  EXPECT_NEAR(panels.front().Max.x - panels.front().Min.x, 0.2, 1e-12);
  EXPECT_NEAR(panels.front().Max.y - panels.front().Min.y, 2, 1e-12);
  EXPECT_TRUE(SolidBoxes(s, kTiebackSolid).empty());
}

TEST_F(SceneTest, ExtentsFrameTheWallTheLayersAndTheSurcharges) {
  TScene3D scene(project_);
  TSceneExtents e = scene.GetMaxDims();
  EXPECT_DOUBLE_EQ(e.b, 5);
  EXPECT_DOUBLE_EQ(e.d, 12.5);
  EXPECT_DOUBLE_EQ(e.D, 30);  // the layer reaches below the 20 ft wall
  EXPECT_DOUBLE_EQ(e.FitHeight(), 60);
  EXPECT_DOUBLE_EQ(e.ReferenceSize(), 10);

  // A strip 20 ft out and 12 ft wide reaches 26 ft; nine tenths of it
  // widens the ground, but only while surcharges apply.
  tables_->SurchargeTable->SetRowCount(1);
  SetRow(*tables_->SurchargeTable, 0, {3, 2, 240, 144});
  EXPECT_DOUBLE_EQ(scene.GetMaxDims().d, 12.5);
  project_.ApplySurcharge = true;
  e = scene.GetMaxDims();
  EXPECT_DOUBLE_EQ(e.c, 0.9 * 26);
  EXPECT_DOUBLE_EQ(e.d, 0.9 * 26);
}

// Soil blocks by the position of the layer against the excavation level
// (8 ft) and the tip (20 ft).  Boxes are x from, x to, top depth, bottom
// depth; the wall is 1 ft thick and d is 12.5 ft.
struct LayerCase {
  const char* name;
  double top, bottom;
  std::vector<std::array<double, 4>> boxes;
};

void PrintTo(const LayerCase& c, std::ostream* os) { *os << c.name; }

class SoilBoxes : public SceneTest, public ::testing::WithParamInterface<LayerCase> {};

TEST_P(SoilBoxes, FollowThePositionTable) {
  const LayerCase& c = GetParam();
  if (c.top > 0) {
    SetSoil({c.top, c.bottom});
  } else {
    SetSoil({c.bottom});
  }
  TScene3D scene(project_);
  scene.Options.WaterLevel = false;
  scene.GetMaxDims();
  scene.SetExtents({0, 5, 12.5, 40});
  TRecordingSurface s;
  scene.DrawSoilLayers(s);
  const int layer = c.top > 0 ? 1 : 0;
  const std::array<double, 3> colours[2] = {{0.8, 0.55, 0}, {0.55, 0.4, 0.2}};
  const auto boxes = SolidBoxes(s, {colours[layer][0], colours[layer][1], colours[layer][2], 0.5});
  ASSERT_EQ(boxes.size(), c.boxes.size());
  for (size_t i = 0; i < boxes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(boxes[i].Min.x, c.boxes[i][0], 1e-12);
    EXPECT_NEAR(boxes[i].Max.x, c.boxes[i][1], 1e-12);
    EXPECT_NEAR(boxes[i].Max.z, -c.boxes[i][2], 1e-12);
    EXPECT_NEAR(boxes[i].Min.z, -c.boxes[i][3], 1e-12);
    EXPECT_NEAR(boxes[i].Min.y, -10, 1e-12);
    EXPECT_NEAR(boxes[i].Max.y, 10, 1e-12);
  }
  // Every block comes with its outline in the full colour, blended.
  EXPECT_EQ(s.Find(TPrimitive::LineLoop, {colours[layer][0], colours[layer][1], colours[layer][2], 1}).size(),
            6 * c.boxes.size());
  for (const auto& p : s.Primitives) EXPECT_TRUE(p.Blend);
}

constexpr double R0 = -25, R1 = -0.5, E0 = 0.5, E1 = 25;
INSTANTIATE_TEST_SUITE_P(
    Scene, SoilBoxes,
    ::testing::Values(LayerCase{"AboveExcavation", 0, 6, {{R0, R1, 0, 6}}},
                      LayerCase{"DownToExcavation", 0, 8, {{R0, R1, 0, 8}}},
                      LayerCase{"AcrossExcavation", 0, 12, {{R0, R1, 0, 8}, {R0, R1, 8, 12}, {E0, E1, 8, 12}}},
                      LayerCase{"AcrossExcavationAndTip",
                                0,
                                30,
                                {{R0, R1, 0, 8}, {R0, R1, 8, 20}, {E0, E1, 8, 20}, {R0, 0, 20, 30}, {0, E1, 20, 30}}},
                      LayerCase{"BetweenExcavationAndTip", 10, 15, {{R0, R1, 10, 15}, {E0, E1, 10, 15}}},
                      LayerCase{"AcrossTip", 10, 25, {{R0, R1, 10, 20}, {E0, E1, 10, 20}, {R0, 0, 20, 25}, {0, E1, 20, 25}}},
                      LayerCase{"BelowTip", 22, 25, {{R0, 0, 22, 25}, {0, E1, 22, 25}}},
                      LayerCase{"BottomAboveTop", 10, 5, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SceneTest, GroundNeedsGeneratedCurves) {
  TScene3D scene(project_);
  EXPECT_FALSE(Ground(scene).Primitives.empty());
  project_.GeneratePYCurves = false;
  EXPECT_TRUE(Ground(scene).Primitives.empty());
}

TEST_F(SceneTest, WaterPlanesCarryTwentyFiveMarkersEach) {
  project_.WaterDepthBackfill = 60;     // 5 ft
  project_.WaterDepthExcavation = 120;  // 10 ft
  TScene3D scene(project_);
  scene.Options.SoilLayers = false;
  TRecordingSurface s = Ground(scene);
  const auto planes = s.Find(TPrimitive::LineLoop, {0, 0, 1, 1});
  // Two plane outlines, then five faces of each pyramid.
  ASSERT_EQ(planes.size(), 2u + 2 * 25 * 5);
  TBounds back, exc;
  for (const TVec3& v : planes[0]->Vertices) back.Add(v);
  for (const TVec3& v : planes[1 + 25 * 5]->Vertices) exc.Add(v);
  EXPECT_DOUBLE_EQ(back.Min.z, -5);
  EXPECT_DOUBLE_EQ(back.Min.x, -25);
  EXPECT_DOUBLE_EQ(back.Max.x, 0);
  EXPECT_DOUBLE_EQ(exc.Min.z, -10);
  EXPECT_DOUBLE_EQ(exc.Max.x, 25);
  // Marker size is four increments (2 ft): the first backfill marker's
  // apex sits on the plane at x = -2d + m, y = -2b + m.
  const auto solidMarkers = s.Find(TPrimitive::TriangleFan, {0, 0, 1, 0.5});
  ASSERT_EQ(solidMarkers.size(), 25u * 5);
  TBounds first;
  for (size_t f = 0; f < 5; ++f)
    for (const TVec3& v : solidMarkers[f]->Vertices) first.Add(v);
  EXPECT_DOUBLE_EQ(first.Min.z, -5);
  EXPECT_DOUBLE_EQ(first.Max.z, -3);
  EXPECT_DOUBLE_EQ((first.Min.x + first.Max.x) / 2, -23);
  EXPECT_DOUBLE_EQ((first.Min.y + first.Max.y) / 2, -8);
  EXPECT_EQ(s.Find(TPrimitive::TriangleFan, {0, 0, 1, 0.75}).size(), 2u * 2 + 25 * 5);
}

// Tiebacks per side: round(10 x width / spacing), at +-spacing (c + 1/2).
struct TiebackCase {
  const char* name;
  double width, spacing;
  int perSide;
};

void PrintTo(const TiebackCase& c, std::ostream* os) { *os << c.name; }

class Tiebacks : public SceneTest, public ::testing::WithParamInterface<TiebackCase> {};

TEST_P(Tiebacks, ArePlacedBySpacing) {
  const TiebackCase& c = GetParam();
  project_.ApplyTiebacks = true;
  project_.ActiveWidth = c.width * 12;
  tables_->TiebackTable1->SetRowCount(1);
  // 5 ft down, 1.44 in^2 rod (0.1 ft side), 20 ft free length at 15 deg.
  SetRow(*tables_->TiebackTable1, 0, {5, 1.44, 29e6, 20, 15, c.spacing, 20000});
  TScene3D scene(project_);
  TRecordingSurface s = Structure(scene);
  const auto boxes = SolidBoxes(s, kTiebackSolid);
  ASSERT_EQ(boxes.size(), 4u * c.perSide);  // rod and anchor block, both sides
  std::multiset<double> ys;
  for (size_t i = 0; i < boxes.size(); i += 2) ys.insert(std::round((boxes[i].Min.y + boxes[i].Max.y) * 1e6) / 2e6);
  for (int k = 0; k < c.perSide; ++k) {
    EXPECT_EQ(ys.count(std::round(c.spacing * (k + 0.5) * 1e6) / 1e6), 1u) << k;
    EXPECT_EQ(ys.count(-std::round(c.spacing * (k + 0.5) * 1e6) / 1e6), 1u) << k;
  }
  if (c.perSide == 0) return;
  // The rod leaves the wall at 5 ft depth into the backfill, 15 deg down,
  // and its anchor block ends at 9/8 of the free length.
  const double a = 15 * 3.14159265358979323846 / 180;
  const TBounds& anchor = boxes[1];
  const TBounds& rod = boxes[0];
  EXPECT_NEAR(rod.Max.x, 0.1 / 2 * std::sin(a), 1e-9);
  EXPECT_NEAR(rod.Min.x, -20 * std::cos(a) - 0.1 / 2 * std::sin(a), 1e-9);
  EXPECT_NEAR(anchor.Min.x, -22.5 * std::cos(a) - 0.2 * std::sin(a), 1e-9);
  EXPECT_NEAR(anchor.Min.z, -5 - 22.5 * std::sin(a) - 0.2 * std::cos(a), 1e-9);
  EXPECT_NEAR(anchor.Max.y - anchor.Min.y, 0.4, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Scene, Tiebacks,
                         ::testing::Values(TiebackCase{"HalfRoundsAwayFromZero", 1, 4, 3},
                                           TiebackCase{"OnePerSide", 1, 8, 1}, TiebackCase{"WiderWall", 2, 5, 4},
                                           TiebackCase{"SpacingBeyondTheWall", 1, 30, 0},
                                           TiebackCase{"ZeroSpacing", 1, 0, 0}, TiebackCase{"NegativeSpacing", 1, -4, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SceneTest, TiebacksNeedTheOptionAndTheDisplay) {
  tables_->TiebackTable1->SetRowCount(1);
  SetRow(*tables_->TiebackTable1, 0, {5, 1.44, 29e6, 20, 15, 4, 20000});
  TScene3D scene(project_);
  EXPECT_TRUE(SolidBoxes(Structure(scene), kTiebackSolid).empty());
  project_.ApplyTiebacks = true;
  scene.Options.TieBacks = false;
  EXPECT_TRUE(SolidBoxes(Structure(scene), kTiebackSolid).empty());
}

// Tips of the downward arrows of a colour: the apex of each cone lies at
// the ground, the fan's first vertex.
std::vector<TVec3> ArrowTips(const TRecordingSurface& s, std::array<double, 3> rgb) {
  std::vector<TVec3> tips;
  for (const auto* p : s.Find(TPrimitive::TriangleFan, {rgb[0], rgb[1], rgb[2], kSymbolFillAlpha})) {
    if (p->Vertices.size() == kCircleSegments + 2 && p->Vertices[0].z > p->Vertices[1].z - 1e-12 &&
        p->Vertices[0].z < p->Vertices[1].z + 1e-12) {
      continue;  // a flat disc, not a cone
    }
    tips.push_back(p->Vertices[0]);
  }
  return tips;
}

TEST_F(SceneTest, StripLoadArrowsStandAtBothEdgesAndTheMiddle) {
  // Distance 10 ft and width 4 ft, held in inches.
  tables_->SurchargeTable->SetRowCount(1);
  SetRow(*tables_->SurchargeTable, 0, {3, 2, 120, 48});
  TScene3D scene(project_);
  TRecordingSurface s = Structure(scene);
  const auto tips = ArrowTips(s, {0, 0, 1});
  ASSERT_EQ(tips.size(), 3u * 21);
  std::set<double> xs, ys;
  for (const TVec3& t : tips) {
    EXPECT_NEAR(t.z, 0, 1e-12);
    xs.insert(std::round(t.x * 1e9) / 1e9);
    ys.insert(std::round(t.y * 1e9) / 1e9);
  }
  EXPECT_EQ(xs, (std::set<double>{-12, -10, -8}));
  EXPECT_EQ(ys.size(), 21u);
  EXPECT_DOUBLE_EQ(*ys.begin(), -10);
  // Downward: the cone's base lies above the tip, the arrow 2W/3 long.
  const auto blue = s.Find(TPrimitive::TriangleFan, {0, 0, 1, kSymbolFillAlpha});
  TBounds arrow;
  for (size_t i = 0; i < 2; ++i)
    for (const TVec3& v : blue[i]->Vertices) arrow.Add(v);
  EXPECT_NEAR(arrow.Max.z, 2.0 / 3, 1e-12);
  // The translucent strip: 4 ft wide, 2W/3 high, blended.
  const auto strip = SolidBoxes(s, {0, 0, 1, 0.25});
  ASSERT_EQ(strip.size(), 20u);
  EXPECT_NEAR(strip[0].Min.x, -12, 1e-12);
  EXPECT_NEAR(strip[0].Max.x, -8, 1e-12);
  EXPECT_NEAR(strip[0].Max.z, 2.0 / 3, 1e-12);
  for (const auto* p : s.Find(TPrimitive::TriangleFan, {0, 0, 1, 0.25})) EXPECT_TRUE(p->Blend);
}

TEST_F(SceneTest, PointAndLineLoadsStandAtTheirDistance) {
  tables_->SurchargeTable->SetRowCount(3);
  SetRow(*tables_->SurchargeTable, 0, {1, 1000, 60, 0});  // 5 ft
  SetRow(*tables_->SurchargeTable, 1, {2, 50, 96, 0});    // 8 ft
  SetRow(*tables_->SurchargeTable, 2, {2, 0, 36, 0});     // zero: lines only
  TScene3D scene(project_);
  TRecordingSurface s = Structure(scene);
  const auto red = ArrowTips(s, {1, 0, 0});
  ASSERT_EQ(red.size(), 20u);
  for (const TVec3& t : red) EXPECT_DOUBLE_EQ(t.x, -5);
  const auto green = ArrowTips(s, {0, 1, 0});
  ASSERT_EQ(green.size(), 21u);
  for (const TVec3& t : green) EXPECT_DOUBLE_EQ(t.x, -8);
  const auto lines = s.Find(TPrimitive::Lines, {0, 1, 0, 1});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_DOUBLE_EQ(lines[0]->Vertices[0].y, -10);
  EXPECT_DOUBLE_EQ(lines[0]->Vertices[3].z, 1);
}

TEST(NodeRangesTest, InterpolationRunsToTheNextRowsEnd) {
  auto tables = CreateProjectTables();
  TGridTable& t = *tables->BoundCond;
  t.SetRowCount(4);
  SetRow(t, 0, {2, 3, 5, 100, 0, 0});   // interpolate: 3 .. 12
  SetRow(t, 1, {1, 8, 12, 999, 0, 0});  // consumed by the row above
  SetRow(t, 2, {1, 20, 15, 50, 0, 0});  // end before start: node 20 alone
  SetRow(t, 3, {2, 38, 45, 50, 0, 0});  // interpolate on the last row: own end, cut at the tip
  const auto r = NodeRanges(t, 40);
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ((std::array{r[0].Row, r[0].First, r[0].Last}), (std::array{0, 3, 12}));
  EXPECT_EQ((std::array{r[1].Row, r[1].First, r[1].Last}), (std::array{2, 20, 20}));
  EXPECT_EQ((std::array{r[2].Row, r[2].First, r[2].Last}), (std::array{3, 38, 40}));

  // A range far beyond the wall is cut to it, not walked node by node.
  SetRow(t, 0, {1, 0, 2147483647, 1, 0, 0});
  t.SetRowCount(1);
  const auto all = NodeRanges(t, 40);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].Last, 40);
}

TEST_F(SceneTest, ConcentratedLoadsRepeatTheFirstRowOverTheRange) {
  project_.ApplyConcentratedLoads = true;
  tables_->BoundCond->SetRowCount(2);
  SetRow(*tables_->BoundCond, 0, {2, 10, 10, 1500, 0, 300});
  SetRow(*tables_->BoundCond, 1, {1, 11, 12, -800, 0, 0});
  TScene3D scene(project_);
  TRecordingSurface s = Structure(scene);
  // Lateral arrows (red) at nodes 10, 11 and 12 of every unit, pointing to
  // +x with their tips on the wall; axial arrows (blue) pointing down.
  const auto red = s.Find(TPrimitive::TriangleFan, {1, 0, 0, kSymbolFillAlpha});
  ASSERT_EQ(red.size(), 2u * 3 * 20);  // tail disc and cone per arrow
  std::set<double> depths;
  for (size_t i = 1; i < red.size(); i += 2) {
    EXPECT_NEAR(red[i]->Vertices[0].x, 0, 1e-12);
    EXPECT_LT(red[i]->Vertices[1].x, 0);
    depths.insert(red[i]->Vertices[0].z);
  }
  EXPECT_EQ(depths, (std::set<double>{-6, -5.5, -5}));
  const auto blue = s.Find(TPrimitive::TriangleFan, {0, 0, 1, kSymbolFillAlpha});
  ASSERT_EQ(blue.size(), 2u * 3 * 20);
  EXPECT_GT(blue[1]->Vertices[1].z, blue[1]->Vertices[0].z);
  // No moment, no arc.
  EXPECT_TRUE(s.Find(TPrimitive::TriangleStrip, {0, 1, 0, kSymbolFillAlpha}).empty());
}

TEST_F(SceneTest, RestraintsWithZeroValuesAreInvisible) {
  project_.ApplyRestraints = true;
  tables_->SoilLayer->SetRowCount(3);
  SetRow(*tables_->SoilLayer, 0, {1, 40, 0, 0});      // deflection 0
  SetRow(*tables_->SoilLayer, 1, {2, 0, 0, 0.001});   // slope at the top
  SetRow(*tables_->SoilLayer, 2, {1, 99, 0.5, 0});    // beyond the tip
  TScene3D scene(project_);
  TRecordingSurface s = Structure(scene);
  EXPECT_TRUE(s.Find(TPrimitive::TriangleFan, {1, 0, 0, kSymbolFillAlpha}).empty());
  // One slope arc per unit: 40 tube pieces, head ring and cone, over the
  // node within 2u/3 = 2W/9 of it.
  const auto tube = s.Find(TPrimitive::TriangleStrip, {0, 1, 0, kSymbolFillAlpha});
  ASSERT_EQ(tube.size(), 20u * 41);
  TBounds arc;
  for (size_t i = 0; i < 41; ++i)
    for (const TVec3& v : tube[i]->Vertices) arc.Add(v);
  const double u = 2.0 / 6;
  // The tube's forty-sided section reaches its full radius only near the top.
  EXPECT_NEAR(arc.Max.z, 2 * u / 3 + u / 12, 1e-4);
  EXPECT_NEAR(arc.Max.x, 2 * u / 3 + u / 4, 1e-4);  // the head at +x
}

TEST_F(SceneTest, SpringsReachHalfTheGroundIntoTheBackfill) {
  project_.ApplySprings = true;
  tables_->SoilStrength->SetRowCount(1);
  SetRow(*tables_->SoilStrength, 0, {1, 4, 6, 2500, 0});
  TScene3D scene(project_);
  TRecordingSurface s = Structure(scene);
  const auto springs = SolidBoxes(s, kSpringSolid);
  ASSERT_EQ(springs.size(), 3u * 20);
  EXPECT_DOUBLE_EQ(springs[0].Min.x, -12.5 / 2);
  EXPECT_DOUBLE_EQ(springs[0].Max.x, 0);
  EXPECT_DOUBLE_EQ(springs[0].Max.z - springs[0].Min.z, 0.25);
  EXPECT_DOUBLE_EQ((springs[0].Max.z + springs[0].Min.z) / 2, -2);
  scene.Options.LateralSprings = false;
  EXPECT_TRUE(SolidBoxes(Structure(scene), kSpringSolid).empty());
}

// A two-increment metric wall bent at the tip, worked by hand: h = 1 m,
// t = 0.2 m, deflections 0, 0, 1 m.
TEST_F(SceneTest, DeformedWallCornersFollowTheSegments) {
  project_.UnitSystem = 2;
  project_.IncrementCount = 2;
  project_.IncrementLength = 1;
  project_.PYWidth = 2;
  project_.ActiveWidth = 1;
  TScene3D scene(project_);
  scene.Options.DeformedShape = true;
  scene.Options.UndeformedModel = true;
  scene.Deflection = {{0, 0}, {0, 1}, {1, 2}};
  TRecordingSurface s = Structure(scene);
  ASSERT_TRUE(scene.DeformedShapeDrawn());
  const auto fans = s.Find(TPrimitive::TriangleFan, kPanelSolid);
  ASSERT_EQ(fans.size(), 20u * 2 * 6);
  auto corners = [&](size_t brick) {
    std::set<std::pair<double, double>> xz;
    for (size_t f = brick * 6; f < brick * 6 + 6; ++f)
      for (size_t v = 1; v < fans[f]->Vertices.size(); ++v)
        xz.insert({std::round(fans[f]->Vertices[v].x * 1e6) / 1e6, std::round(fans[f]->Vertices[v].z * 1e6) / 1e6});
    return xz;
  };
  const double r = std::sqrt(0.5);
  const double ox = 0.05 * (1 + r), oz = 0.05 * r, p = 0.1 * r;
  auto at = [](double x, double z) { return std::pair{std::round(x * 1e6) / 1e6, std::round(z * 1e6) / 1e6}; };
  EXPECT_EQ(corners(0), (std::set{at(0.1, 0), at(-0.1, 0), at(ox, -1 + oz), at(-ox, -1 - oz)}));
  EXPECT_EQ(corners(1), (std::set{at(ox, -1 + oz), at(-ox, -1 - oz), at(1 + p, -2 + p), at(1 - p, -2 - p)}));
  // Each strip is t wide along y around its unit.
  TBounds b;
  for (size_t f = 0; f < 6; ++f)
    for (const TVec3& v : fans[f]->Vertices) b.Add(v);
  EXPECT_NEAR(b.Max.y - b.Min.y, 0.2, 1e-12);
  EXPECT_NEAR((b.Max.y + b.Min.y) / 2, -9.5, 1e-12);
  // The undeformed outline: a t x t x L box per unit.
  EXPECT_EQ(s.Find(TPrimitive::LineLoop, kUndeformedEdge).size(), 20u * 6);
  EXPECT_TRUE(SolidBoxes(s, kPlateSolid).empty());

  // A negative factor bends the wall the other way.
  scene.Options.DeformationFactor = -2;
  TRecordingSurface back = Structure(scene);
  TBounds tip;
  for (const auto* f : back.Find(TPrimitive::TriangleFan, kPanelSolid))
    for (const TVec3& v : f->Vertices) tip.Add(v);
  EXPECT_NEAR(tip.Min.x, -2 - 0.1 / std::sqrt(5.0), 1e-9);
}

TEST_F(SceneTest, DeflectionsThatNoLongerFitTheWallLeaveItStraight) {
  TScene3D scene(project_);
  scene.Options.DeformedShape = true;
  for (int k = 0; k <= 40; ++k) scene.Deflection.push_back({0.01 * k, 0.5 * k});
  Structure(scene);
  EXPECT_TRUE(scene.DeformedShapeDrawn());
  for (auto change : {+[](TProgramData& d) { d.IncrementCount = 50; }, +[](TProgramData& d) { d.IncrementLength = 9; }}) {
    TProgramData saved = project_;
    change(project_);
    TRecordingSurface s = Structure(scene);
    EXPECT_FALSE(scene.DeformedShapeDrawn());
    EXPECT_EQ(SolidBoxes(s, kPanelSolid).size(), 20u);
    project_ = saved;
  }
  scene.Deflection.pop_back();
  Structure(scene);
  EXPECT_FALSE(scene.DeformedShapeDrawn());
}

TEST(SceneExamples, DeformedCantileverFollowsTheComputedDeflections) {
  auto tables = CreateProjectTables();
  TProgramData project(*tables);
  const std::filesystem::path source = RAMVEX_SOURCE_DIR;
  project.OpenProject(source / "examples" / "cantilever.rv5d");
  const auto blocks = readPlotFile(source / "examples" / "golden" / "cantilever.rv5p");
  ASSERT_FALSE(blocks.empty());
  TScene3D scene(project);
  // As the deflection graph holds the nodes: depth in feet or metres,
  // deflection as written.
  const double depthUnit = blocks[0].units == 1 ? 12 : 1;
  for (const PlotNode& n : blocks[0].nodes) scene.Deflection.push_back({n.deflection, n.depth / depthUnit});
  scene.Options.DeformedShape = true;
  scene.Options.DeformationFactor = 10;
  TRecordingSurface s;
  scene.GetMaxDims();
  scene.DrawPileCap(s);
  ASSERT_TRUE(scene.DeformedShapeDrawn());
  const int n = scene.GetWallNIncr();
  ASSERT_EQ(blocks[0].nodes.size(), static_cast<size_t>(n) + 1);
  // The middle of each brick's top edge lies on the bent axis.
  const auto fans = s.Find(TPrimitive::TriangleFan, kPanelSolid);
  ASSERT_EQ(fans.size(), 20u * 6 * static_cast<size_t>(n));
  const double toScene = project.UnitSystem == 1 ? 10.0 / 12 : 10.0;
  for (int i = 0; i < n; i += 7) {
    TBounds b;
    for (size_t f = static_cast<size_t>(i) * 6; f < static_cast<size_t>(i) * 6 + 6; ++f)
      for (const TVec3& v : fans[f]->Vertices) b.Add(v);
    const double mid = (blocks[0].nodes[static_cast<size_t>(i)].deflection +
                        blocks[0].nodes[static_cast<size_t>(i) + 1].deflection) / 2 * toScene;
    EXPECT_NEAR((b.Min.x + b.Max.x) / 2, mid, scene.GetWallThickness()) << i;
  }
}

}  // namespace
}  // namespace ramvex::test
