// The soil profile drawing without a window: what is read from the project,
// where every element lands in a 600 x 400 picture, and the depth readout.
//
// Expected pixels are worked by hand from the project values.  For a wall
// of N increments of length h, free height H: L = N h, O = L / 10, the wall
// half-thickness a = H / 40, the world window x = +-1.05 a, y = 0 .. 1.05
// (O + L).  Fitted to 600 x 400 it widens in x by
// r = 1.5 / (2.1 a / 1.05 (O + L)); pixel row = 400 y / (1.05 (O + L)).
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <ostream>

#include "PileSideDrawing.h"
#include "sideview_fixture.h"

namespace ramvex {

// Readable failures for the picture elements.
void PrintTo(const TPictureLine& l, std::ostream* os) {
  *os << "(" << l.From.x() << "," << l.From.y() << ")-(" << l.To.x() << "," << l.To.y() << ") pen "
      << static_cast<int>(l.Pen);
}

namespace {

using test::SideViewProject;
using Pen = TSideViewPen;

const QRect kFrame(0, 0, 600, 400);
constexpr int kLineHeight = 16;

struct Text {
  QPoint At;
  const char* Value;
};

std::vector<std::pair<QPoint, QString>> Texts(const std::vector<TPictureText>& list) {
  std::vector<std::pair<QPoint, QString>> out;
  for (const TPictureText& t : list) out.emplace_back(t.TopLeft, t.Text);
  return out;
}

std::vector<std::pair<QPoint, QString>> Texts(const std::vector<Text>& list) {
  std::vector<std::pair<QPoint, QString>> out;
  for (const Text& t : list) out.emplace_back(t.At, QString::fromUtf8(t.Value));
  return out;
}

// Four head-and-shaft strokes of a user p-y curve mark at row y: shaft from
// the axis (300) to 45 % (270), tail from 43 % (258) to the tip at 38 %
// (228), head strokes back to 40 % (240) at +-1 % of the width (6).
std::vector<TPictureLine> CurveMark(int y) {
  return {{{300, y}, {270, y}, Pen::Mark},
          {{258, y}, {228, y}, Pen::Mark},
          {{228, y}, {240, y + 6}, Pen::Mark},
          {{228, y}, {240, y - 6}, Pen::Mark}};
}

struct PictureCase {
  const char* Name;
  std::function<void(SideViewProject&)> Open;
  QPolygon Wall;
  std::vector<TPictureLine> LayerLines;
  std::vector<Text> LayerTexts;
  std::vector<TPictureLine> GroundLines;
  std::vector<TPictureLine> Marks;
  std::vector<QPoint> CircleCentres;
  int Radius;
  std::vector<Text> Labels;
};

std::vector<PictureCase> PictureCases() {
  std::vector<PictureCase> cases;

  // SI: N 60, h 0.2 m, H 4 m, Wa = Wp = 1 m, level backfill.  L 12, O 1.2,
  // a 0.1; y range 13.86; r = 99, x range +-10.395.  Rows: O 35, O + H
  // 150, sand bottom 7.2 -> 208, clay bottom 10.2 -> 294, rock bottom 15.2
  // below the picture, wall foot 13.2 -> 381.  Wall sides: 600 (10.395 -+
  // 0.1) / 20.79 -> 297, 303.  Top view: piles at 80 % (480), first centre
  // 70 in = 1.778 m -> 51, then every 2 m: 109, 167, 224, 282; radius
  // 1 m -> 28.86 -> 29; "top view" at 480 - 0.2 * 29.
  cases.push_back({"LayeredSI",
                   [](SideViewProject& p) { p.OpenExample("layered_sand_clay_rock.rv5d"); },
                   QPolygon({{297, 35}, {303, 35}, {303, 381}, {297, 381}}),
                   {{{0, 35}, {300, 35}},
                    {{120, 35}, {135, 40}},
                    {{140, 35}, {155, 40}},
                    {{160, 35}, {175, 40}},
                    {{180, 35}, {195, 40}},
                    {{200, 35}, {215, 40}},
                    {{0, 208}, {600, 208}},
                    {{0, 294}, {600, 294}}},
                   {{{0, 35}, "Sand"},
                    {{0, 51}, "ø= 32; gamma= 18"},
                    {{0, 208}, "Stiff clay w/free water"},
                    {{0, 224}, "c= 90; gamma= 19"},
                    {{0, 294}, "Weak Rock"},
                    {{0, 310}, "compressive strength= 5000; gamma= 22"}},
                   {{{0, 35}, {300, 35}}, {{300, 150}, {600, 150}}},
                   {},
                   {{480, 51}, {480, 109}, {480, 167}, {480, 224}, {480, 282}},
                   29,
                   {{{474, 5}, "top view"}, {{300, 5}, "side view"}}});

  // US: N 60, h 6 in, H 120 in, Wa = Wp = 12 in, backfill slope 5 degrees,
  // seven layers 4 ft thick.  L 360, O 36, a 3; y range 415.8, r = 99, x
  // range +-311.85.  Rows: O 35, O + H 150, layer bottoms 84 .. 372 in ->
  // 81 127 173 219 266 312 358; the first two lie above the excavation
  // (48 and 96 in < 120) and end at the axis.  Slope: from the axis to 25 %
  // (150), rising 150 tan 5 = 13.1 -> row 22.  Marks: deflection at node 60
  // (396 -> 381), arrow to 52 % (312) with heads +-6; curves at nodes 40
  // and 50 (276 -> 266, 336 -> 323); spring at node 10 (96 -> 92) to 60 %
  // (360); the spring at node 50 lies below the excavation.  Top view: 70,
  // 94 .. 166 in -> 67 90 114 137 160; radius 12 * 600 / 623.7 -> 12.
  cases.push_back(
      {"MarkedWallUS",
       [](SideViewProject& p) { p.OpenMarkedWall(); },
       QPolygon({{297, 35}, {303, 35}, {303, 381}, {297, 381}}),
       {{{0, 35}, {300, 35}},
        {{300, 35}, {150, 22}},
        {{0, 81}, {300, 81}},
        {{0, 127}, {300, 127}},
        {{0, 173}, {600, 173}},
        {{0, 219}, {600, 219}},
        {{0, 266}, {600, 266}},
        {{0, 312}, {600, 312}},
        {{0, 358}, {600, 358}}},
       {{{0, 35}, "Soft clay"},
        {{0, 51}, "c= 500; gamma= 112"},
        {{0, 81}, "Stiff clay w/free water"},
        {{0, 97}, "c= 1300; gamma= 116"},
        {{0, 127}, "Stiff clay w/o free water"},
        {{0, 143}, "c= 1600; gamma= 118"},
        {{0, 173}, "Sand"},
        {{0, 189}, "ø= 33; gamma= 121"},
        {{0, 219}, "Silt"},
        {{0, 235}, "ø= 31; c= 220; gamma= 119"},
        {{0, 266}, "Rock"},
        {{0, 282}, "compressive strength= 5000; gamma= 140"},
        {{0, 312}, "Weak Rock"},
        {{0, 328}, "compressive strength= 850; gamma= 136"}},
       {{{0, 35}, {300, 35}}, {{300, 150}, {600, 150}}},
       [] {
         std::vector<TPictureLine> m = {{{300, 381}, {312, 381}, Pen::Mark},
                                        {{300, 381}, {312, 387}, Pen::Mark},
                                        {{300, 381}, {312, 375}, Pen::Mark}};
         for (int y : {266, 323}) {
           for (const TPictureLine& l : CurveMark(y)) m.push_back(l);
         }
         m.push_back({{300, 92}, {360, 92}, Pen::Spring});
         return m;
       }(),
       {{480, 67}, {480, 90}, {480, 114}, {480, 137}, {480, 160}},
       12,
       {{{478, 5}, "top view"}, {{300, 5}, "side view"}}});

  // User earth pressure and user p-y curves only: no layers, no retained
  // hatch; the curve marks at nodes 30 to 60 (216 .. 396 in -> 208 266 323
  // 381).  US, H 180 in: a 4.5, r = 66, x range +-311.85 again, sides
  // 600 (311.85 -+ 4.5) / 623.7 -> 296, 304; O + H = 216 -> 208.  Without
  // generated soil data the file holds no widths, so there is no top view.
  cases.push_back({"UserCurvesOnly",
                   [](SideViewProject& p) { p.OpenExample("cantilever.rv5d"); },
                   QPolygon({{296, 35}, {304, 35}, {304, 381}, {296, 381}}),
                   {},
                   {},
                   {{{0, 35}, {300, 35}}, {{300, 208}, {600, 208}}},
                   [] {
                     std::vector<TPictureLine> m;
                     for (int y : {208, 266, 323, 381}) {
                       for (const TPictureLine& l : CurveMark(y)) m.push_back(l);
                     }
                     return m;
                   }(),
                   {},
                   0,
                   {}});
  return cases;
}

class PictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PictureTest, ElementsLandOnHandWorkedPixels) {
  const PictureCase& c = GetParam();
  SideViewProject project;
  c.Open(project);
  const TSideViewPicture pic = LayoutSideView(BuildSideView(project.data), kFrame, 1, kLineHeight);
  ASSERT_FALSE(pic.Empty);
  ASSERT_EQ(pic.Walls.size(), 1u);
  EXPECT_EQ(pic.Walls[0], c.Wall);
  EXPECT_EQ(pic.LayerLines, c.LayerLines);
  EXPECT_EQ(Texts(pic.LayerTexts), Texts(c.LayerTexts));
  EXPECT_EQ(pic.GroundLines, c.GroundLines);
  EXPECT_EQ(pic.Marks, c.Marks);
  std::vector<QPoint> centres;
  for (const TPictureCircle& circle : pic.Circles) {
    centres.push_back(circle.Centre);
    EXPECT_EQ(circle.Radius, c.Radius);
  }
  EXPECT_EQ(centres, c.CircleCentres);
  EXPECT_EQ(Texts(pic.Labels), Texts(c.Labels));
}

INSTANTIATE_TEST_SUITE_P(Projects, PictureTest, ::testing::ValuesIn(PictureCases()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SideViewModel, LayeredExampleReadsWallAndLayers) {
  SideViewProject project;
  project.OpenExample("layered_sand_clay_rock.rv5d");
  const TSideViewModel m = BuildSideView(project.data);
  EXPECT_DOUBLE_EQ(m.Offset, 1.2);
  ASSERT_EQ(m.Walls.size(), 1u);
  EXPECT_DOUBLE_EQ(m.Walls[0].XMin, -0.1);
  EXPECT_DOUBLE_EQ(m.Walls[0].YMax, 13.2);
  EXPECT_DOUBLE_EQ(m.World.XMin, -0.105);
  EXPECT_DOUBLE_EQ(m.World.XMax, 0.105);
  EXPECT_DOUBLE_EQ(m.World.YMin, 0);
  EXPECT_DOUBLE_EQ(m.World.YMax, 13.86);
  ASSERT_EQ(m.Layers.size(), 3u);
  // SI depths are metres in the table already: bottoms 6, 9, 14 m below
  // the wall top, all below the 4 m excavation.
  const double bottoms[] = {7.2, 10.2, 15.2};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(m.Layers[i].Bottom, bottoms[i], 1e-12);
    EXPECT_TRUE(m.Layers[i].ReachesExcavation);
  }
  EXPECT_NEAR(m.Layers[1].Top, 7.2, 1e-12);
  EXPECT_TRUE(m.DeflectionMarks.empty());
  EXPECT_TRUE(m.SpringMarks.empty());
}

// The generated trapezoidal (anchored-wall) earth pressure is computed from
// the soil layers as the triangular one is, so its layers are drawn even
// though the p-y curves are the user's.  The depth is 600 in in the file,
// 50 ft in the table; the unit weight 0.0694 lb/in^3 is 119.9232 lb/ft^3.
TEST(SideViewModel, TrapezoidalEarthPressureShowsItsLayers) {
  SideViewProject project;
  project.OpenExample("trapezoid_tieback.rv5d");
  const TSideViewModel m = BuildSideView(project.data);
  ASSERT_TRUE(m.ShowLayers);
  ASSERT_EQ(m.Layers.size(), 1u);
  EXPECT_NEAR(m.Layers[0].Bottom, 600 + 36, 1e-9);
  EXPECT_EQ(m.Layers[0].Name, "Sand");
  EXPECT_EQ(m.Layers[0].Properties, QString::fromUtf8("ø= 32; gamma= 119.9232"));
}

struct OptionCase {
  const char* Name;
  bool User, Generated, GeneratePY, External;
  int Mode;
  bool Shown;
};

class LayerOptionTest : public ::testing::TestWithParam<OptionCase> {};

TEST_P(LayerOptionTest, LayersFollowTheDerivedOptions) {
  const OptionCase& c = GetParam();
  SideViewProject project;
  TProgramData& d = project.data;
  d.UserEarthPressure = c.User;
  d.GeneratedEarthPressure = c.Generated;
  d.GeneratePYCurves = c.GeneratePY;
  d.ApplyExternalPYCurves = c.External;
  d.EarthPressureMode = c.Mode;
  EXPECT_EQ(LayersShown(d), c.Shown);
  EXPECT_EQ(BuildSideView(d).Layers.empty(), !c.Shown);
}

INSTANTIATE_TEST_SUITE_P(
    Options, LayerOptionTest,
    ::testing::Values(OptionCase{"NewProject", false, false, true, false, 2, true},
                      OptionCase{"UserPressureGeneratedCurves", true, false, true, false, 2, true},
                      OptionCase{"UserPressureUserCurves", true, false, false, true, 2, false},
                      OptionCase{"NothingGenerated", false, false, false, false, 2, false},
                      OptionCase{"TriangularFromFileUserCurves", false, true, false, true, 2, true},
                      OptionCase{"TrapezoidalFromFileUserCurves", false, true, false, true, 3, true},
                      OptionCase{"UserPressureFromFileModeLeftAt1", false, true, false, true, 1, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SideViewModel, WithoutWallStiffnessRowsTheDefaultWindowStays) {
  SideViewProject project;
  project.OpenExample("layered_sand_clay_rock.rv5d");
  project.data.Tables().PileSect->SetRowCount(0);
  const TSideViewModel m = BuildSideView(project.data);
  EXPECT_TRUE(m.Walls.empty());
  EXPECT_EQ(m.World.XMin, -10);
  EXPECT_EQ(m.World.XMax, 10);
  EXPECT_EQ(m.World.YMin, 0);
  EXPECT_EQ(m.World.YMax, 10);
  const TSideViewPicture pic = LayoutSideView(m, kFrame, 1, kLineHeight);
  EXPECT_FALSE(pic.Empty);
  EXPECT_TRUE(pic.Walls.empty());
}

// A wall without free height has no thickness: the world window has no
// width and nothing but the background is painted.  The same project with
// its height restored draws again.
TEST(SideViewDrawing, ZeroFreeHeightPaintsOnlyTheBackground) {
  SideViewProject project;
  project.OpenExample("layered_sand_clay_rock.rv5d");
  project.data.FreeHeight = 0;
  const TSideViewModel empty = BuildSideView(project.data);
  EXPECT_TRUE(empty.World.IsEmpty());
  EXPECT_TRUE(LayoutSideView(empty, kFrame).Empty);
  EXPECT_FALSE(DepthAt(empty, kFrame, {10, 10}).has_value());

  const TSideViewStyle style = PrintSideViewStyle();
  QImage image(kFrame.size(), QImage::Format_RGB32);
  image.fill(Qt::red);
  {
    QPainter painter(&image);
    DrawSideView(painter, kFrame, empty, style);
  }
  for (int y = 0; y < image.height(); y += 7) {
    for (int x = 0; x < image.width(); x += 7) ASSERT_EQ(image.pixelColor(x, y), style.Background) << x << "," << y;
  }

  project.data.FreeHeight = 4;
  EXPECT_FALSE(LayoutSideView(BuildSideView(project.data), kFrame).Empty);
}

TEST(SideViewDrawing, PaintsTheWallInInk) {
  SideViewProject project;
  project.OpenExample("layered_sand_clay_rock.rv5d");
  const TSideViewStyle style = PrintSideViewStyle();
  QImage image(kFrame.size(), QImage::Format_RGB32);
  {
    QPainter painter(&image);
    DrawSideView(painter, kFrame, BuildSideView(project.data), style);
  }
  // Inside the wall (columns 297..303, rows 35..381) and well clear of it.
  EXPECT_EQ(image.pixelColor(300, 300), style.Ink);
  EXPECT_EQ(image.pixelColor(290, 300), style.Background);
  EXPECT_EQ(image.pixelColor(300, 390), style.Background);
}

struct MarkCase {
  const char* Name;
  int Node;
  bool Marked;
};

class SpringMarkTest : public ::testing::TestWithParam<MarkCase> {};

// Springs are marked only where the wall stands free; node numbers far past
// the wall foot give no mark and no overflow.
TEST_P(SpringMarkTest, OnlyAboveTheExcavation) {
  const MarkCase& c = GetParam();
  SideViewProject project;
  project.OpenExample("cantilever.rv5d");  // h 6 in, H 180 in: excavation at node 30
  project.data.ApplySprings = true;
  TGridTable& springs = *project.data.Tables().SoilStrength;
  springs.SetRowCount(1);
  springs.Column(1)->SetInt(0, c.Node);
  const TSideViewPicture pic = LayoutSideView(BuildSideView(project.data), kFrame);
  int springMarks = 0;
  for (const TPictureLine& l : pic.Marks) springMarks += l.Pen == Pen::Spring;
  EXPECT_EQ(springMarks, c.Marked ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Nodes, SpringMarkTest,
                         ::testing::Values(MarkCase{"Top", 0, true}, MarkCase{"JustAbove", 29, true},
                                           MarkCase{"AtExcavation", 30, false}, MarkCase{"Below", 45, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SideViewDrawing, MarksOffThePictureAreDropped) {
  SideViewProject project;
  project.OpenExample("cantilever.rv5d");
  project.data.ApplyRestraints = true;
  TGridTable& deflections = *project.data.Tables().SoilLayer;
  deflections.SetRowCount(1);
  deflections.Column(1)->SetInt(0, 2147483600);
  project.data.ApplyExternalPYCurves = false;
  const TSideViewPicture pic = LayoutSideView(BuildSideView(project.data), kFrame);
  EXPECT_FALSE(pic.Empty);
  EXPECT_TRUE(pic.Marks.empty());
}

struct SlopeCase {
  const char* Name;
  double Degrees;
  std::vector<TPictureLine> Lines;  // after the retained ground line
};

class BackfillTest : public ::testing::TestWithParam<SlopeCase> {};

// The layered example (retained ground at row 35, axis at 300, 25 % at
// 150) with other backfill slopes.  60 degrees would rise 150 tan 60 = 260
// pixels: the line is cut at the top edge, 35 / tan 60 = 20 pixels left of
// the axis.
TEST_P(BackfillTest, SlopeOrHatchOnTheRetainedGround) {
  const SlopeCase& c = GetParam();
  SideViewProject project;
  project.OpenExample("layered_sand_clay_rock.rv5d");
  project.data.BackfillSlope = c.Degrees;
  const TSideViewPicture pic = LayoutSideView(BuildSideView(project.data), kFrame);
  ASSERT_GE(pic.LayerLines.size(), 1u);
  EXPECT_EQ(pic.LayerLines.front(), (TPictureLine{{0, 35}, {300, 35}, Pen::Line}));
  // The layer boundaries follow the ground details.
  const std::vector<TPictureLine> details(pic.LayerLines.begin() + 1, pic.LayerLines.end() - 2);
  EXPECT_EQ(details, c.Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Slopes, BackfillTest,
    ::testing::Values(SlopeCase{"Level",
                                0,
                                {{{120, 35}, {135, 40}},
                                 {{140, 35}, {155, 40}},
                                 {{160, 35}, {175, 40}},
                                 {{180, 35}, {195, 40}},
                                 {{200, 35}, {215, 40}}}},
                      SlopeCase{"Gentle", 5, {{{300, 35}, {150, 22}}}},
                      SlopeCase{"SteepCutAtTheTop", 60, {{{300, 35}, {280, 0}}}},
                      SlopeCase{"Vertical", 90, {{{300, 35}, {300, 0}}}},
                      SlopeCase{"Falling", -5, {}}),
    [](const auto& info) { return std::string(info.param.Name); });

struct FitCase {
  const char* Name;
  TWorldWindow World;
  int Width, Height;
  TWorldWindow Fitted;
};

class FitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitTest, WindowTakesThePictureAspect) {
  const FitCase& c = GetParam();
  const TWorldWindow f = FitWorldWindow(c.World, c.Width, c.Height);
  EXPECT_DOUBLE_EQ(f.XMin, c.Fitted.XMin);
  EXPECT_DOUBLE_EQ(f.XMax, c.Fitted.XMax);
  EXPECT_DOUBLE_EQ(f.YMin, c.Fitted.YMin);
  EXPECT_DOUBLE_EQ(f.YMax, c.Fitted.YMax);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, FitTest,
    ::testing::Values(FitCase{"WidePictureWidensX", {-1, 1, 0, 10}, 600, 400, {-7.5, 7.5, 0, 10}},
                      FitCase{"TallPictureDeepensY", {-10, 10, 0, 10}, 200, 400, {-10, 10, 0, 40}},
                      FitCase{"SameAspectUnchanged", {-10, 10, 0, 10}, 400, 200, {-10, 10, 0, 10}},
                      FitCase{"EmptyWindowAsItIs", {0, 0, 0, 10}, 600, 400, {0, 0, 0, 10}},
                      FitCase{"EmptyPictureAsItIs", {-1, 1, 0, 10}, 0, 400, {-1, 1, 0, 10}}),
    [](const auto& info) { return std::string(info.param.Name); });

struct ReadoutCase {
  const char* Name;
  int Row;
  const char* Title;
};

class ReadoutTest : public ::testing::TestWithParam<ReadoutCase> {};

// Layered example in 600 x 400: depth = 13.86 row / 400 - 1.2 m.
TEST_P(ReadoutTest, DepthUnderTheMouse) {
  const ReadoutCase& c = GetParam();
  SideViewProject project;
  project.OpenExample("layered_sand_clay_rock.rv5d");
  const auto depth = DepthAt(BuildSideView(project.data), kFrame, {123, c.Row});
  ASSERT_TRUE(depth.has_value());
  EXPECT_EQ(DepthReadout(*depth), QString::fromLatin1(c.Title));
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadoutTest,
                         ::testing::Values(ReadoutCase{"AboveTheWall", 0, "  Depth: -1.2"},
                                           ReadoutCase{"WallTop", 35, "  Depth: 0.0"},
                                           ReadoutCase{"Excavation", 150, "  Depth: 4.0"},
                                           ReadoutCase{"Bottom", 400, "  Depth: 12.7"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SideViewReadout, OneDecimalWithoutNegativeZero) {
  EXPECT_EQ(DepthReadout(-0.04), "  Depth: 0.0");
  EXPECT_EQ(DepthReadout(-0.06), "  Depth: -0.1");
  EXPECT_EQ(DepthReadout(123.44), "  Depth: 123.4");
}

TEST(SoilText, NamesAndMissingTables) {
  EXPECT_EQ(SoilName(1), "Soft clay");
  EXPECT_EQ(SoilName(6), "Rock");
  EXPECT_EQ(SoilName(0), "");
  EXPECT_EQ(SoilName(8), "");
  EXPECT_EQ(SoilProperties(4, nullptr), "");
  SideViewProject project;
  // A sand parameter table under an unknown type code gives no line.
  EXPECT_EQ(SoilProperties(9, project.data.Tables().NewSoil->Nested(2, 0)), "");
}

TEST(SideViewPrint, FrameIsTheMiddleEightTenthsOfThePage) {
  EXPECT_EQ(PrintFrame(QRect(0, 0, 3300, 2550)), QRect(0, 255, 3300, 2040));
}

}  // namespace
}  // namespace ramvex

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
