#include "ChartPreview.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "DefinedTables.h"
#include "HelpPictures.h"
#include "Table.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace ramvex {
namespace {

void SetCurve(TGridTable& t, const std::vector<std::pair<double, double>>& points) {
  t.SetRowCount(static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) {
    t.Column(0)->SetFloat(static_cast<int>(i), points[i].first);
    t.Column(1)->SetFloat(static_cast<int>(i), points[i].second);
  }
}

TEST(ChartModel, AConstantCurveGetsAnAxisFrom90To110Percent) {
  auto tables = CreateProjectTables();
  SetCurve(*tables->PYCurve2, {{0, 100}, {1, 100}, {2, 100}});
  TChartModel m = BuildChartModel(*tables->PYCurve2);
  EXPECT_TRUE(m.Constant);
  EXPECT_DOUBLE_EQ(m.Left.Min, 90);
  EXPECT_DOUBLE_EQ(m.Left.Max, 110);
  ASSERT_EQ(m.First.size(), 3u);
  // The second point is nudged so that the line is drawn.
  EXPECT_DOUBLE_EQ(m.First[1].Y, 100.1);
  EXPECT_DOUBLE_EQ(m.First[2].Y, 100);
}

TEST(ChartModel, PointsInAscendingXAndAxesFromTheData) {
  auto tables = CreateProjectTables();
  SetCurve(*tables->PYCurve2, {{3, 30}, {-1, -10}, {2, 25}});
  TChartModel m = BuildChartModel(*tables->PYCurve2);
  EXPECT_FALSE(m.Constant);
  ASSERT_EQ(m.First.size(), 3u);
  EXPECT_EQ(m.First[0].X, -1);
  EXPECT_EQ(m.First[1].X, 2);
  EXPECT_EQ(m.First[2].X, 3);
  EXPECT_DOUBLE_EQ(m.Left.Min, -10);
  EXPECT_DOUBLE_EQ(m.Left.Max, 30);
  EXPECT_DOUBLE_EQ(m.Bottom.Min, -1);
  EXPECT_DOUBLE_EQ(m.Bottom.Max, 3);
  EXPECT_EQ(m.Bottom.Title, "Lateral Deflection, y (*)");
  EXPECT_EQ(m.Left.Title, "Soil Resistance, p");
  EXPECT_FALSE(m.SecondActive);
  EXPECT_FALSE(m.LegendShown);
}

TEST(ChartModel, ThreeColumnTableShowsASecondSeriesAndLegend) {
  TGridTableChart t;
  t.Add<TFloatColumn>({"Depth"}, "");
  t.Add<TFloatColumn>({"Upper", "bound"}, "");
  t.Add<TFloatColumn>({"Lower"}, "");
  t.ChartShown = true;
  t.InvertedYAxis = true;
  t.SetRowCount(2);
  t.Column(2)->SetFloat(1, 4);
  TChartModel m = BuildChartModel(t);
  EXPECT_TRUE(m.SecondActive);
  EXPECT_TRUE(m.LegendShown);
  EXPECT_EQ(m.FirstTitle, "Upper");
  EXPECT_EQ(m.SecondTitle, "Lower");
  ASSERT_EQ(m.Second.size(), 2u);
  EXPECT_EQ(m.Second[1].Y, 4);
  // Column 2 differs, so the values are not constant.
  EXPECT_FALSE(m.Constant);
  EXPECT_TRUE(m.Left.Inverted);
  EXPECT_FALSE(m.Bottom.Inverted);
}

TEST(ChartModel, SingleColumnTableCountsRows) {
  TGridTableChart t;
  t.Add<TFloatColumn>({"Load"}, "");
  t.YColumn = 0;
  t.SetRowCount(3);
  TChartModel m = BuildChartModel(t);
  EXPECT_EQ(m.Bottom.Title, "N");
  EXPECT_EQ(m.Bottom.Format, "#,##0");
  EXPECT_EQ(m.First[2].X, 2);
}

TEST(ChartAxis, FormatFromTheRange) {
  struct {
    double min, max;
    const char* format;
  } cases[] = {
      {0, 0, "#,##0.###"},         {1, 10, "#,##0.###"},         {-100000, 100000, "#,##0.###"},
      {0, 200000, "#.0##E-0"},     {-150000, 3, "#.0##E-0"},     {0.0001, 0.0005, "#.0##E-0"},
      {-0.0009, 0.0009, "#.0##E-0"}, {0, 0.001, "#,##0.###"},
  };
  for (const auto& c : cases) EXPECT_EQ(AxisFormat(c.min, c.max), c.format) << c.min << " to " << c.max;
}

TEST(ChartAxis, NumberFormats) {
  struct {
    double value;
    const char* format;
    const char* text;
  } cases[] = {
      {1234.5, "#,##0.###", "1,234.5"}, {0.12345, "#,##0.###", "0.123"}, {-2, "#,##0.###", "-2"},
      {0, "#,##0.###", "0"},            {150000, "#.0##E-0", "1.5E5"},   {0.0005, "#.0##E-0", "5.0E-4"},
      {-123456, "#.0##E-0", "-1.235E5"}, {1234567, "#,##0", "1,234,567"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatAxisNumber(c.value, c.format), c.text) << c.value;
}

class Painting : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QGuiApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "gui_editor_rules_tests";
      static char* argv[] = {name, nullptr};
      new QGuiApplication(argc, argv);
    }
  }
};

int CountPixels(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour ? 1 : 0;
  }
  return n;
}

TEST_F(Painting, TheCurveIsARedLine) {
  auto tables = CreateProjectTables();
  SetCurve(*tables->PYCurve2, {{-1, 10}, {0, 0}, {1, -10}});
  QImage image(285, 170, QImage::Format_RGB32);
  QPainter p(&image);
  DrawChart(p, image.rect(), BuildChartModel(*tables->PYCurve2));
  p.end();
  EXPECT_GT(CountPixels(image, qRgb(255, 0, 0)), 100);
}

TEST_F(Painting, BothHelpSketchesDraw) {
  for (const char* name : {kPressureSketch, kSpringTiebackSketch}) {
    ASSERT_TRUE(HasHelpPicture(name));
    QImage image(HelpPictureSize(name), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    DrawHelpPicture(p, image.rect(), name);
    p.end();
    EXPECT_LT(CountPixels(image, qRgb(255, 255, 255)), image.width() * image.height() * 9 / 10) << name;
  }
  EXPECT_FALSE(HasHelpPicture(""));
  EXPECT_TRUE(HelpPictureSize("").isEmpty());
}

}  // namespace
}  // namespace ramvex
