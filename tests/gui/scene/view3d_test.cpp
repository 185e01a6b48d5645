// The "3-D View" window and its "Deformed Shape" dialog as widgets.  The
// dialog and the window's switches need no OpenGL; the rendered frames do,
// and are skipped when the machine cannot make a context (run them under a
// virtual X server with Mesa's software renderer).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>

#include "View3dUnit1.h"
#include "glWindow.h"
#include "plot_reader.h"
#include "project_fixture.h"

// Font configuration keeps its caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace ramvex::test {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "view3d_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

class DeformedShapeDialog : public ::testing::Test {
 protected:
  QApplication& app = App();
  TSceneOptions options;
  int rebuilds = 0;
  TDlgDeformedShape dialog{options, [this] { ++rebuilds; }, nullptr};
};

TEST_F(DeformedShapeDialog, EnablesTheFactorOnlyWithTheDeformedShape) {
  dialog.setAttribute(Qt::WA_DeleteOnClose, false);
  dialog.FormActivate();
  EXPECT_EQ(dialog.EditDefFactor->text(), "1");
  EXPECT_FALSE(dialog.EditDefFactor->isEnabled());
  EXPECT_FALSE(dialog.CheckBoxUndeformedModel->isEnabled());
  dialog.CheckBoxDeformedShape->click();
  EXPECT_TRUE(options.DeformedShape);
  EXPECT_TRUE(dialog.EditDefFactor->isEnabled());
  EXPECT_TRUE(dialog.UpDownDefFactorUp->isEnabled());
  dialog.CheckBoxUndeformedModel->click();
  EXPECT_TRUE(options.UndeformedModel);
  EXPECT_EQ(rebuilds, 2);
}

TEST_F(DeformedShapeDialog, UpDownStepsTheLadderAndShowsTheFactor) {
  dialog.setAttribute(Qt::WA_DeleteOnClose, false);
  dialog.CheckBoxDeformedShape->click();
  const char* expected[] = {"2", "3", "4"};
  for (const char* e : expected) {
    dialog.UpDownDefFactorUp->click();
    EXPECT_EQ(dialog.EditDefFactor->text(), e);
  }
  for (int i = 0; i < 4; ++i) dialog.UpDownDefFactorDown->click();
  EXPECT_EQ(dialog.EditDefFactor->text(), "0.9");
  EXPECT_DOUBLE_EQ(options.DeformationFactor, 0.9);
  EXPECT_EQ(rebuilds, 1 + 7);
}

TEST_F(DeformedShapeDialog, ATypedFactorIsTakenAsTyped) {
  dialog.setAttribute(Qt::WA_DeleteOnClose, false);
  dialog.CheckBoxDeformedShape->click();
  const int before = rebuilds;
  dialog.EditDefFactor->clear();
  dialog.EditDefFactor->textEdited("-25");
  EXPECT_DOUBLE_EQ(options.DeformationFactor, -25);
  EXPECT_EQ(rebuilds, before + 1);
  // Not a number: said in the dialog, the factor keeps its value.
  dialog.EditDefFactor->textEdited("2x");
  EXPECT_DOUBLE_EQ(options.DeformationFactor, -25);
  EXPECT_EQ(dialog.FactorMessage->text(), "'2x' is not a valid floating point value");
  EXPECT_EQ(rebuilds, before + 1);
  dialog.EditDefFactor->textEdited("");
  EXPECT_DOUBLE_EQ(options.DeformationFactor, -25);
  dialog.EditDefFactor->textEdited("1e3");
  EXPECT_DOUBLE_EQ(options.DeformationFactor, 1000);
  EXPECT_TRUE(dialog.FactorMessage->text().isEmpty());
}

// The layered metric example: a 12 m wall in sand over stiff clay over weak
// rock, with its computed deflections.
class View3d : public ::testing::Test {
 protected:
  View3d() : tables_(CreateProjectTables()), project_(*tables_) {
    App();
    const std::filesystem::path source = RAMVEX_SOURCE_DIR;
    project_.OpenProject(source / "examples" / "layered_sand_clay_rock.rv5d");
    const auto blocks = readPlotFile(source / "examples" / "golden" / "layered_sand_clay_rock.rv5p");
    const double depthUnit = blocks[0].units == 1 ? 12 : 1;
    for (const PlotNode& n : blocks[0].nodes) computed_.push_back({n.deflection, n.depth / depthUnit});
    deflection_ = computed_;
  }

  std::unique_ptr<TDlgBlock> Window() {
    auto w = std::make_unique<TDlgBlock>(project_);
    w->DeflectionSource = [this] { return deflection_; };
    return w;
  }

  std::unique_ptr<TProjectTables> tables_;
  TProgramData project_;
  std::vector<TNodeDeflection> computed_;
  // What the window's deflection source hands out.
  std::vector<TNodeDeflection> deflection_;
};

TEST_F(View3d, OpensWithEveryElementShownAndTogglesThem) {
  auto w = Window();
  EXPECT_EQ(w->windowTitle(), "3-D View");
  EXPECT_EQ(w->size(), QSize(870, 640));
  const TSceneOptions& o = w->Options();
  EXPECT_TRUE(o.RetainingWall && o.SoilLayers && o.WaterLevel && o.AditionalSurcharge && o.ConcentratedLoads &&
              o.TieBacks && o.BoundaryConditions && o.LateralSprings);
  EXPECT_FALSE(o.DeformedShape);
  w->ShowSoilLayersOption();
  w->ShowTieBacksOption();
  EXPECT_FALSE(o.SoilLayers);
  EXPECT_FALSE(o.TieBacks);
  w->ShowSoilLayersOption();
  EXPECT_TRUE(o.SoilLayers);
  // A new window starts without a mouse mode, whatever the toolbar shows.
  EXPECT_EQ(w->View().MouseMode, kMouseNone);
  w->SetMouseMode(kMouseZoomWindow);
  EXPECT_TRUE(w->View().ZoomWindowFlag);
  w->SetMouseMode(kMouseRotate);
  EXPECT_FALSE(w->View().ZoomWindowFlag);
  w->Zooming(kZoomStep);
  w->Zooming(1 / kZoomStep);
  EXPECT_NEAR(w->View().Zoom, 1, 1e-15);
}

TEST_F(View3d, ClosingAnnouncesItselfAndTakesTheDialogAlong) {
  auto w = Window();
  bool closed = false;
  QObject::connect(w.get(), &TDlgBlock::Closed, [&] { closed = true; });
  w->DeformedShapeWindow();
  QPointer<TDlgDeformedShape> dialog = w->DeformedShapeDialog();
  ASSERT_TRUE(dialog);
  w->DeformedShapeWindow();
  EXPECT_EQ(w->DeformedShapeDialog(), dialog.data());  // one dialog at a time
  w->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(dialog);
}

TEST_F(View3d, WithoutOpenGLTheWindowSaysSo) {
  auto w = Window();
  if (w->gl) GTEST_SKIP() << "this machine offers OpenGL";
  ASSERT_NE(w->NoOpenGLMessage, nullptr);
  EXPECT_TRUE(w->NoOpenGLMessage->text().startsWith("The 3-D view cannot draw on this computer"));
  // The switches and buttons keep working, they only have nothing to draw.
  w->show();
  w->ShowRetainingWallOption();
  w->RestartViewButtonClick();
  EXPECT_TRUE(w->GrabFrame().isNull());
}

// Pixels of a frame close to a colour.
int CountNear(const QImage& img, QColor c, int tolerance = 6) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const QColor p = img.pixelColor(x, y);
      if (std::abs(p.red() - c.red()) <= tolerance && std::abs(p.green() - c.green()) <= tolerance &&
          std::abs(p.blue() - c.blue()) <= tolerance) {
        ++n;
      }
    }
  }
  return n;
}

// The wall's grey in one pixel row: leftmost and rightmost columns.
std::pair<int, int> GreySpan(const QImage& img, int row) {
  int first = -1, last = -1;
  for (int x = 0; x < img.width(); ++x) {
    const QColor p = img.pixelColor(x, row);
    if (std::abs(p.red() - 191) <= 6 && std::abs(p.green() - 191) <= 6 && std::abs(p.blue() - 191) <= 6) {
      if (first < 0) first = x;
      last = x;
    }
  }
  return {first, last};
}

void Save(const QImage& img, const char* name) {
  if (const char* dir = std::getenv("RAMVEX_SCREENSHOT_DIR")) img.save(QString(dir) + "/" + name + ".png");
}

TEST_F(View3d, RendersThePlainAndTheDeformedWall) {
  auto w = Window();
  if (!w->gl) GTEST_SKIP() << "no OpenGL context on this machine";
  w->show();
  QApplication::processEvents();
  const QImage plain = w->GrabFrame();
  ASSERT_FALSE(plain.isNull());
  Save(plain, "layered_plain");
  EXPECT_EQ(plain.pixelColor(2, 2), QColor(Qt::white));

  // With only the wall shown, the elevation shows the wall's grey end face
  // centred across the window, from the top to the tip: 12 m at the fit.
  for (auto toggle : {&TDlgBlock::ShowSoilLayersOption, &TDlgBlock::ShowWaterLevelOption}) (w.get()->*toggle)();
  const QImage wall = w->GrabFrame();
  Save(wall, "layered_wall_only");
  const double fit = w->View().Fit;
  const int w2 = wall.width() / 2, h2 = wall.height() / 2;
  const double D = w->Scene().Extents().D;
  const int midRow = static_cast<int>(h2 - (D / 2 - 6) * fit);  // 6 m down the wall
  const auto [l, r] = GreySpan(wall, midRow);
  ASSERT_GE(l, 0);
  const double t = w->Scene().GetWallThickness() * fit;
  EXPECT_NEAR((l + r) / 2.0, w2, 2);
  EXPECT_NEAR(r - l + 1, t, 3);
  EXPECT_EQ(GreySpan(wall, static_cast<int>(h2 - (D / 2 - 12.5) * fit)).first, -1);  // below the tip

  // Deformed tenfold: the tip moves by ten times its deflection.
  w->Scene().Options.DeformedShape = true;
  w->Scene().Options.DeformationFactor = 10;
  w->RedrawComplete();
  const QImage bent = w->GrabFrame();
  ASSERT_TRUE(w->Scene().DeformedShapeDrawn());
  Save(bent, "layered_wall_deformed");
  const int topRow = static_cast<int>(h2 - (D / 2 - 0.3) * fit);
  const auto [bl, br] = GreySpan(bent, topRow);
  ASSERT_GE(bl, 0);
  EXPECT_NEAR((bl + br) / 2.0, w2 + 10 * deflection_[1].Deflection * fit, 3);

  // Deflections of another wall (the project changed since the run): the
  // wall is drawn straight and the frame says why.
  deflection_.resize(10);
  w->RedrawComplete();
  const QImage stale = w->GrabFrame();
  EXPECT_FALSE(w->Scene().DeformedShapeDrawn());
  const auto [sl, sr] = GreySpan(stale, topRow);
  EXPECT_NEAR((sl + sr) / 2.0, w2, 2);
  EXPECT_GT(CountNear(stale, QColor(Qt::darkRed), 40), 20);
  Save(stale, "layered_stale_deflections");
  deflection_ = computed_;

  for (auto toggle : {&TDlgBlock::ShowSoilLayersOption, &TDlgBlock::ShowWaterLevelOption}) (w.get()->*toggle)();
  Save(w->GrabFrame(), "layered_deformed");
  EXPECT_TRUE(w->Scene().DeformedShapeDrawn());

  // Turned by a drag: the same lists under another transform.
  w->SetMouseMode(kMouseRotate);
  w->Scene().Options.DeformedShape = false;
  w->RedrawComplete();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(400, 300), QPointF(400, 300), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w->gl, &press);
  QMouseEvent move(QEvent::MouseMove, QPointF(520, 230), QPointF(520, 230), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(w->gl, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(520, 230), QPointF(520, 230), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w->gl, &release);
  EXPECT_NE(w->View().Angles[0], 0);
  EXPECT_NE(w->View().Angles[2], 0);
  const QImage turned = w->GrabFrame();
  Save(turned, "layered_turned");
  EXPECT_NE(turned, plain);
}

TEST_F(View3d, RendersEverySymbol) {
  // The layered example with a tieback row, a strip load, a concentrated
  // load, a prescribed slope, springs and water on both sides.
  project_.WaterDepthBackfill = 3;
  project_.WaterDepthExcavation = 6;
  project_.ApplyTiebacks = project_.ApplySurcharge = project_.ApplyConcentratedLoads = true;
  project_.ApplyRestraints = project_.ApplySprings = true;
  tables_->TiebackTable1->SetRowCount(1);
  SetRow(*tables_->TiebackTable1, 0, {2, 1000, 2e8, 6, 20, 2.5, 100});
  tables_->SurchargeTable->SetRowCount(1);
  SetRow(*tables_->SurchargeTable, 0, {3, 20, 6000, 3000});
  tables_->BoundCond->SetRowCount(1);
  SetRow(*tables_->BoundCond, 0, {1, 0, 0, 50, 30, 100});
  tables_->SoilLayer->SetRowCount(1);
  SetRow(*tables_->SoilLayer, 0, {2, 30, 0, 0.001});
  tables_->SoilStrength->SetRowCount(1);
  SetRow(*tables_->SoilStrength, 0, {1, 50, 52, 1000, 0});
  auto w = Window();
  if (!w->gl) GTEST_SKIP() << "no OpenGL context on this machine";
  w->show();
  QApplication::processEvents();
  const QImage elevation = w->GrabFrame();
  Save(elevation, "symbols_elevation");
  EXPECT_GT(CountNear(elevation, QColor(0, 0, 255), 40), 50);  // strip load and water
  w->Scene().Options.DeformedShape = false;
  w->SetMouseMode(kMouseRotate);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(300, 300), QPointF(300, 300), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w->gl, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(420, 220), QPointF(420, 220), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w->gl, &release);
  Save(w->GrabFrame(), "symbols_turned");
}

}  // namespace
}  // namespace ramvex::test
