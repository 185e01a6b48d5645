// A repaint of the three-panel graph (5 curves of 301 points per panel,
// markers on every point, soil strip with the wall) into an image, against
// a bare drawPolyline of the same points with the same pens into the same
// image.  The whole repaint (ground, captions, grid, labels, markers,
// strip, frames) should stay within 3 times the bare polylines.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <vector>

#include "PlotDraw.h"

namespace {

using ramvex::TCurveList;

void Fill(ramvex::TGraphPlot& g) {
  g.ShowThree = true;
  g.ShowLayers = true;
  g.ShowWall = true;
  for (TCurveList list : {TCurveList::Panel1, TCurveList::Panel2, TCurveList::Panel3}) {
    g.SetCurveCount(list, 5);
    for (int i = 0; i < 5; ++i) {
      auto& pts = g.Curve(list, i).Points;
      pts.resize(301);
      for (int j = 0; j < 301; ++j) {
        const long double depth = j * 0.1L;
        pts[static_cast<size_t>(j)] = {std::sin(depth / 5 + i) * (i + 1) * (static_cast<int>(list) + 1), depth};
      }
    }
  }
  g.SetCurveCount(TCurveList::Layers, 5);
  const long double layers[5][2] = {{7, 8}, {1, 15}, {10, 30}, {0, 24}, {0, 6}};
  for (int i = 0; i < 5; ++i) g.Curve(TCurveList::Layers, i).Points = {{layers[i][0], layers[i][1]}};
  g.WallLineCount = 3;
  g.XCaption = "Deflection";
  g.XUnits = "L";
  g.XCaption2 = "Bending Moment (in-kips)";
  g.XCaption3 = "Shear (kips)";
  g.YCaption = g.YCaption2 = g.YCaption3 = "Depth (ft)";
}

void RepaintThreePanels(benchmark::State& state) {
  ramvex::TGraphPlot g;
  Fill(g);
  const ramvex::TGraphView view = ramvex::NewGraphView(g);
  QImage image(1200, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&image);
    ramvex::draw(p, image.rect(), g, view, {ramvex::TDrawTarget::Screen, 96, 96});
  }
}

void BarePolylines(benchmark::State& state) {
  ramvex::TGraphPlot g;
  Fill(g);
  const ramvex::TGraphView view = ramvex::NewGraphView(g);
  QImage image(1200, 800, QImage::Format_RGB32);
  const ramvex::TDrawDevice device = ramvex::DeviceFor(g, image.rect(), &image, {ramvex::TDrawTarget::Screen, 96, 96});
  const ramvex::TGraphLayout layout = ramvex::LayoutGraph(g, device);
  std::vector<QPolygonF> lines;
  for (int panel = 0; panel < 3; ++panel) {
    const auto& r = layout.Panels[static_cast<size_t>(panel)];
    const auto& s = view.Scales[static_cast<size_t>(panel)];
    for (const auto& line : g.Lines(ramvex::PanelList(panel))) {
      QPolygonF poly;
      for (const auto& pt : line->Points) poly << QPointF(ramvex::MapX(r, s.X, pt.X), ramvex::MapY(r, s.Y, true, pt.Y));
      lines.push_back(poly);
    }
  }
  for (auto _ : state) {
    QPainter p(&image);
    for (size_t i = 0; i < lines.size(); ++i) {
      p.setPen(QPen(ramvex::CurveQColor(static_cast<int>(i % 5)), 1));
      p.drawPolyline(lines[i]);
    }
  }
}

}  // namespace

BENCHMARK(RepaintThreePanels)->Unit(benchmark::kMillisecond);
BENCHMARK(BarePolylines)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // Listing the tests (and running them from a shell without a display)
  // needs no windowing system.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
