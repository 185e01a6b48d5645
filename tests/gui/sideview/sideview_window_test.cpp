// The soil profile window on the offscreen platform: its parts, the depth in
// the title, activation inside the main window's workspace, printing to a
// PDF file read back with poppler's tools, and pictures of what the user
// sees (written to the build folder for a look, never compared).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

#include "PileSide.h"
#include "sideview_fixture.h"

namespace ramvex {
namespace {

using test::SideViewProject;

QString ImagePath(const char* name) {
  QDir().mkpath(QStringLiteral(RAMVEX_SIDEVIEW_IMAGES));
  return QStringLiteral(RAMVEX_SIDEVIEW_IMAGES "/") + QString::fromLatin1(name);
}

// Output of a poppler tool, empty when the tool is missing or fails.
QString RunTool(const QString& program, const QStringList& args) {
  if (QStandardPaths::findExecutable(program).isEmpty()) return {};
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(20000) || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

void MoveMouse(QWidget* w, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &move);
}

TEST(SideViewWindow, CaptionLabelAndButton) {
  SideViewProject project;
  TDlgSideView view(project.data);
  EXPECT_EQ(view.windowTitle(), "Side View");
  EXPECT_EQ(view.WallProfile->text(), "Wall Profile");
  EXPECT_EQ(view.Print->text(), "Print");
  EXPECT_TRUE(view.testAttribute(Qt::WA_DeleteOnClose));
}

// Layered example: the world window is 13.86 m deep and always fitted by
// widening it (the wall is far narrower than the window), so the depth under
// row y of a canvas h pixels tall is 13.86 y / h - 1.2.
TEST(SideViewWindow, TitleShowsTheDepthUnderTheMouse) {
  SideViewProject project;
  project.OpenExample("layered_sand_clay_rock.rv5d");
  TDlgSideView view(project.data);
  view.resize(800, 560);
  view.show();
  QWidget* canvas = view.Canvas();
  const int h = canvas->height();
  ASSERT_GT(h, 100);
  const int row = h / 2;
  MoveMouse(canvas, {canvas->width() / 3, row});
  EXPECT_EQ(view.windowTitle(), "  Depth: " + QString::number(13.86 * row / h - 1.2, 'f', 1));
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(canvas, &leave);
  EXPECT_EQ(view.windowTitle(), "Side View");
}

// The view reflects the project each time its frame in the workspace is
// activated, and closing the frame frees the view.
TEST(SideViewWindow, ActivationInTheWorkspaceRereadsTheProject) {
  SideViewProject project;
  project.OpenExample("layered_sand_clay_rock.rv5d");
  QMdiArea area;
  area.resize(1000, 700);
  auto* other = area.addSubWindow(new QLabel(QStringLiteral("another window")));
  QPointer<TDlgSideView> view = new TDlgSideView(project.data);
  QMdiSubWindow* frame = area.addSubWindow(view);
  area.show();
  frame->show();
  other->show();
  area.setActiveSubWindow(frame);
  ASSERT_EQ(view->Model().Walls.size(), 1u);
  EXPECT_DOUBLE_EQ(view->Model().Walls[0].XMax, 0.1);

  area.setActiveSubWindow(other);
  project.data.FreeHeight = 8;  // the wall half-thickness is H / 40
  area.setActiveSubWindow(frame);
  EXPECT_DOUBLE_EQ(view->Model().Walls[0].XMax, 0.2);

  frame->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(view.isNull());
}

TEST(SideViewWindow, PrintsALandscapePageWithTheProfile) {
  SideViewProject project;
  project.OpenExample("layered_sand_clay_rock.rv5d");
  TDlgSideView view(project.data);
  const QString pdf = ImagePath("sideview-print.pdf");
  QFile::remove(pdf);
  QPrinter printer(QPrinter::HighResolution);
  TDlgSideView::PreparePrinter(printer);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  QString error;
  ASSERT_TRUE(view.PrintTo(printer, &error)) << error.toStdString();

  const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
  // The printer's font joins "ff" into one ligature glyph; compatibility
  // normalisation splits it again.
  const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                           .normalized(QString::NormalizationForm_KC);
  if (info.isEmpty() || text.isEmpty()) GTEST_SKIP() << "poppler-utils are needed to read the PDF back";
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Soil-Pile Profile")))) << info.toStdString();
  const QRegularExpression size(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)"));
  const auto m = size.match(info);
  ASSERT_TRUE(m.hasMatch()) << info.toStdString();
  EXPECT_GT(m.captured(1).toDouble(), m.captured(2).toDouble()) << "not landscape";
  EXPECT_EQ(info.count(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))), 1);
  for (const char* expected : {"Sand", "ø= 32; gamma= 18", "Stiff clay w/free water", "c= 90; gamma= 19", "Weak Rock",
                               "compressive strength= 5000; gamma= 22", "top view", "side view"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
  }
}

TEST(SideViewWindow, PrinterThatCannotOpenIsReported) {
  SideViewProject project;
  project.OpenExample("layered_sand_clay_rock.rv5d");
  TDlgSideView view(project.data);
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString((project.dir / "no-such-folder" / "profile.pdf").string()));
  QString error;
  EXPECT_FALSE(view.PrintTo(printer, &error));
  EXPECT_FALSE(error.isEmpty());
}

struct PictureCase {
  const char* Name;
  void (*Open)(SideViewProject&);
  const char* File;
};

class SideViewPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(SideViewPicture, WindowAsTheUserSeesIt) {
  SideViewProject project;
  GetParam().Open(project);
  TDlgSideView view(project.data);
  view.resize(800, 560);
  view.show();
  const QImage image = view.grab().toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_TRUE(image.save(ImagePath(GetParam().File)));
}

INSTANTIATE_TEST_SUITE_P(
    Projects, SideViewPicture,
    ::testing::Values(PictureCase{"Layered", [](SideViewProject& p) { p.OpenExample("layered_sand_clay_rock.rv5d"); },
                                  "sideview-layered.png"},
                      PictureCase{"MarkedWall", [](SideViewProject& p) { p.OpenMarkedWall(); },
                                  "sideview-marked-wall.png"},
                      PictureCase{"UserCurves", [](SideViewProject& p) { p.OpenExample("cantilever.rv5d"); },
                                  "sideview-cantilever.png"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace ramvex

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
