// Speed of the three-dimensional view on the layered example: building the
// scene, compiling it into display lists (a rebuild), and replaying the lists
// after a turn (one frame).  Goals: a rebuild within 100 ms, a frame within
// 16 ms, under Mesa's software renderer.  The OpenGL cases need a display:
// run under xvfb-run with QT_QPA_PLATFORM=xcb; without one they report an
// error and the scene-building case still runs.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <filesystem>
#include <memory>

#include "Scene3D.h"
#include "View3dState.h"
#include "glWindow.h"

namespace {

using namespace ramvex;

constexpr int kWidth = 870, kHeight = 640;

// The example project, and the same with a tieback row, a strip load, a
// concentrated load and springs, so that every kind of symbol is built.
struct TProject {
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData data{*tables};
  explicit TProject(bool symbols) {
    data.OpenProject(std::filesystem::path(RAMVEX_SOURCE_DIR) / "examples" / "layered_sand_clay_rock.rv5d");
    if (!symbols) return;
    data.ApplyTiebacks = data.ApplySurcharge = data.ApplyConcentratedLoads = data.ApplySprings = true;
    auto set = [](TGridTable& t, std::initializer_list<long double> v) {
      t.SetRowCount(1);
      int c = 0;
      for (long double x : v) {
        TColumn* col = t.Column(c++);
        if (dynamic_cast<TFloatColumn*>(col)) {
          col->SetFloat(0, x);
        } else {
          col->SetInt(0, static_cast<int>(x));
        }
      }
    };
    set(*tables->TiebackTable1, {2, 1000, 2e8, 6, 20, 2.5, 100});
    set(*tables->SurchargeTable, {3, 20, 6000, 3000});
    set(*tables->BoundCond, {1, 0, 0, 50, 30, 100});
    set(*tables->SoilStrength, {1, 50, 52, 1000, 0});
  }
};

// Counts what the builders emit, at the cost of a virtual call per vertex.
class TCountingSurface : public TSceneSurface {
 public:
  long Vertices = 0;
  void Begin(TPrimitive) override {}
  void End() override {}
  void Vertex(double, double, double) override { ++Vertices; }
  void Color(double, double, double, double) override {}
  void Translate(double, double, double) override {}
  void Rotate(double, double, double, double) override {}
  void Scale(double, double, double) override {}
  void PushMatrix() override {}
  void PopMatrix() override {}
  void Enable(TCapability) override {}
  void Disable(TCapability) override {}
  void NewList(int) override {}
  void EndList() override {}
  void CallList(int) override {}
  void Text(double, double, double, std::string_view) override {}
};

void BM_SceneBuild(benchmark::State& state) {
  TProject project(state.range(0) != 0);
  TScene3D scene(project.data);
  scene.GetMaxDims();
  TCountingSurface s;
  for (auto _ : state) {
    scene.DrawSoilLayers(s);
    scene.DrawPileCap(s);
  }
  state.counters["vertices"] = static_cast<double>(s.Vertices) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SceneBuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// An offscreen context and framebuffer of the window's size.
struct TContext {
  QOpenGLContext context;
  QOffscreenSurface surface;
  std::unique_ptr<QOpenGLFramebufferObject> fbo;
  bool Make() {
    context.setFormat(ViewSurfaceFormat());
    if (!context.create()) return false;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface)) return false;
    QOpenGLFramebufferObjectFormat f;
    f.setAttachment(QOpenGLFramebufferObject::Depth);
    fbo = std::make_unique<QOpenGLFramebufferObject>(kWidth, kHeight, f);
    return fbo->bind();
  }
};

void Compile(TScene3D& scene, TGLSurface& s) {
  s.NewList(1);
  scene.DrawLoading(s);
  s.EndList();
  s.NewList(5);
  scene.DrawSoilLayers(s);
  s.EndList();
  s.NewList(2);
  scene.DrawPileCap(s);
  s.EndList();
}

void Frame(const TView3dState& view, const TSceneExtents& e) {
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double r = TView3dState::OrthoDepth(kWidth, kHeight, e);
  glOrtho(-kWidth / 2.0, kWidth / 2.0, -kHeight / 2.0, kHeight / 2.0, -r, r);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixd(view.ModelView(e).data());
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  for (GLuint list = 1; list <= 6; ++list) glCallList(list);
  glFinish();
}

void BM_Rebuild(benchmark::State& state) {
  TContext c;
  if (!c.Make()) {
    state.SkipWithError("no OpenGL context: run under xvfb-run with QT_QPA_PLATFORM=xcb");
    return;
  }
  TProject project(state.range(0) != 0);
  TScene3D scene(project.data);
  scene.GetMaxDims();
  TGLSurface s;
  for (auto _ : state) {
    Compile(scene, s);
    glFinish();
  }
}
BENCHMARK(BM_Rebuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FrameAfterRotation(benchmark::State& state) {
  TContext c;
  if (!c.Make()) {
    state.SkipWithError("no OpenGL context: run under xvfb-run with QT_QPA_PLATFORM=xcb");
    return;
  }
  TProject project(state.range(0) != 0);
  TScene3D scene(project.data);
  const TSceneExtents& e = scene.GetMaxDims();
  TGLSurface s;
  Compile(scene, s);
  TView3dState view;
  view.ComputeFit(kWidth, kHeight, e);
  double turn = 0;
  for (auto _ : state) {
    turn += 7;
    view.Angles[0] = 20;
    view.Angles[2] = turn;
    Frame(view, e);
  }
}
BENCHMARK(BM_FrameAfterRotation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
