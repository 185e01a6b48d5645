// Every result graph of the staged example painted into an image.  Set
// RAMVEX_GRAPH_IMAGES to a folder to keep the images as PNG files for a
// look by eye.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "PlotDraw.h"
#include "ProgramData.h"
#include "ResultGraphs.h"
#include "golden.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(RAMVEX_SOURCE_DIR) / "examples";

// Pixels of the panel that are neither white nor the black of the frame,
// grid and text: curve colours.
int ColouredPixels(const QImage& image, const TPixelRect& r) {
  int n = 0;
  for (int y = r.Top + 1; y < r.Bottom; ++y) {
    for (int x = r.Left + 1; x < r.Right; ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c != QColor(Qt::white) && c != QColor(Qt::black)) ++n;
    }
  }
  return n;
}

QImage Paint(const TGraphPlot& g, int width, int height, TDrawTarget target = TDrawTarget::Screen) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter p(&image);
  draw(p, image.rect(), g, NewGraphView(g), {target, 96, 96});
  return image;
}

void Keep(const QImage& image, const std::string& name) {
  if (const char* folder = std::getenv("RAMVEX_GRAPH_IMAGES")) {
    image.save(QString::fromStdString((fs::path(folder) / (name + ".png")).string()));
  }
}

struct ExampleGraphs : ::testing::Test {
  test::ScratchDir scratch;
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData project{*tables};
  TResultGraphs graphs;

  void Load(const char* name) {
    // Opening a staged project writes its stage files beside it: open a copy.
    const fs::path copy = scratch.path() / (std::string(name) + ".rv5d");
    fs::copy_file(kExamples / (std::string(name) + ".rv5d"), copy);
    project.OpenProject(copy);
    ASSERT_TRUE(graphs.ReadPlotFile(kExamples / "golden" / (std::string(name) + ".rv5p"), project));
  }
};

TEST_F(ExampleGraphs, EveryGraphOfTheStagedExampleShowsItsCurves) {
  Load("three_stages");
  const char* names[] = {"py", "deflection", "moment", "shear", "reaction", "earth_pressure", "dms", "combined"};
  int i = 0;
  for (TGraphPlot* g : graphs.All()) {
    SCOPED_TRACE(g->Caption);
    if (g == &graphs.pltDMS) {
      g->ShowLayers = true;
      g->ShowWall = true;
    }
    QImage image = Paint(*g, 1000, 700);
    Keep(image, std::string("three_stages_") + names[i++]);
    TGraphLayout l = LayoutGraph(*g, DeviceFor(*g, image.rect(), &image, {TDrawTarget::Screen, 96, 96}));
    for (int k = 0; k < l.PanelCount; ++k) EXPECT_GT(ColouredPixels(image, l.Panels[static_cast<size_t>(k)]), 100);
  }
}

TEST_F(ExampleGraphs, SoilStripOfALayeredWall) {
  Load("layered_sand_clay_rock");
  graphs.pltDMS.ShowLayers = true;
  Keep(Paint(graphs.pltDMS, 1000, 700), "layered_dms_layers");
  graphs.pltDMS.ShowWall = true;
  Keep(Paint(graphs.pltDMS, 1000, 700), "layered_dms_wall");
  graphs.pltDef.UserTitle = "Layered wall";
  Keep(Paint(graphs.pltDef, 576, 384, TDrawTarget::Bitmap), "layered_deflection_bitmap");
}

}  // namespace
}  // namespace ramvex
