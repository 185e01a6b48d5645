// Printing a graph and saving it to files: sizes, colour depth, the memory
// failure, a printed PDF read back as text, and vector files that parse.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <cmath>
#include <limits>

#include "PageSet.h"
#include "PlotCommands.h"
#include "PlotForm.h"
#include "example_fixture.h"

namespace ramvex {
namespace {

// Output of a poppler tool, empty when it cannot run.
QString Poppler(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  if (!p.waitForFinished(10000) || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(BitmapSize, InchesTimesPixelsPerInchRounded) {
  struct Case {
    long double height, width;
    int ppi;
    QSize expected;
  } cases[] = {
      {4, 6, 72, QSize(432, 288)},  // the dialog's defaults
      {2, 2, 10, QSize(20, 20)},
      {4.5L, 6.25L, 96, QSize(600, 432)},
      {2.004L, 3.006L, 100, QSize(301, 200)},  // 300.6 and 200.4
      {100, 100, 300, QSize(30000, 30000)},
  };
  for (const Case& c : cases) {
    TBitmapAttributes a;
    a.HeightIn = c.height;
    a.WidthIn = c.width;
    a.PixelsPerInch = c.ppi;
    EXPECT_EQ(BitmapSize(a), c.expected) << c.width << " x " << c.height << " at " << c.ppi;
  }
  TBitmapAttributes huge;
  huge.WidthIn = 1e7L;
  EXPECT_FALSE(BitmapSize(huge));
  TBitmapAttributes nan;
  nan.HeightIn = std::numeric_limits<long double>::quiet_NaN();
  EXPECT_FALSE(BitmapSize(nan));
}

TEST(SaveFormat, ByExtensionWithBitmapAsDefault) {
  EXPECT_EQ(SaveFormatFor("graph.bmp"), TSaveFormat::Bmp);
  EXPECT_EQ(SaveFormatFor("graph.PNG"), TSaveFormat::Png);
  EXPECT_EQ(SaveFormatFor("results/a.b/graph.svg"), TSaveFormat::Svg);
  EXPECT_EQ(SaveFormatFor("graph.pdf"), TSaveFormat::Pdf);
  EXPECT_EQ(SaveFormatFor("graph"), TSaveFormat::Bmp);
  EXPECT_TRUE(SaveFilters().startsWith("Bitmap (*.bmp)"));
  EXPECT_EQ(DefaultSuffix("SVG drawing (*.svg)"), "svg");
}

TEST(PageClient, MarginsFromThePaperCornerRaisedToThePrintableArea) {
  // Letter paper at 600 pixels per inch.
  TPaperGeometry letter{5100, 6600, 600};
  EXPECT_EQ(PageClient(letter, {}), QRect(QPoint(600, 600), QPoint(4499, 5999)));
  // Half-inch and quarter-inch margins; a printer that cannot print the
  // outer 0.3 inch (180 pixels) raises the quarter inch to it.
  letter.MinLeft = letter.MinTop = letter.MinRight = letter.MinBottom = 180;
  EXPECT_EQ(PageClient(letter, {500, 250, 250, 1500}), QRect(QPoint(300, 180), QPoint(5100 - 180 - 1, 6600 - 900 - 1)));
}

struct GraphOutput : test::StagedExample {
  std::unique_ptr<TPlotForm> form;
  TPlotCommands* commands = nullptr;

  void Open(TGraphPlot& g) {
    form = std::make_unique<TPlotForm>(g);
    form->resize(1000, 700);
    form->show();
    commands = PlotCommandsOf(form.get());
    commands->SetMessageSink(Sink());
  }
};

TEST_F(GraphOutput, DefaultBitmapIsSixBySixteenColourInchesAt72PixelsPerInch) {
  Open(graphs.pltDef);
  const QString file = File("deflection.bmp");
  ASSERT_TRUE(commands->SaveTo(file, TBitmapAttributes{}));
  EXPECT_TRUE(messages.empty());
  test::KeepFile(file, "saved_deflection.bmp");
  QImageReader reader(file);
  EXPECT_EQ(reader.format(), "bmp");
  const QImage image = reader.read();
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(432, 288));
  EXPECT_EQ(image.format(), QImage::Format_Indexed8);
  EXPECT_LE(image.colorCount(), 16);
  // The three stage curves keep their exact colours: black, blue, red.
  int blue = 0, red = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y) & 0xFFFFFF;
      blue += c == 0x0000FF;
      red += c == 0xFF0000;
    }
  }
  EXPECT_GT(blue, 50);
  EXPECT_GT(red, 50);
  // The file records its resolution: 72 pixels per inch.
  EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 72, 0.5);
}

TEST_F(GraphOutput, ColourDepthsOfTheBitmap) {
  Open(graphs.pltDef);
  struct Case {
    TColorDepth depth;
    const char* name;
    int maxColours;
  } cases[] = {
      {TColorDepth::BlackWhite, "bw.bmp", 2},
      {TColorDepth::Colors256, "c256.bmp", 256},
      {TColorDepth::TrueColor, "true.png", 0},
  };
  for (const Case& c : cases) {
    TBitmapAttributes a;
    a.Colors = c.depth;
    ASSERT_TRUE(commands->SaveTo(File(c.name), a)) << c.name;
    const QImage image(File(c.name));
    EXPECT_EQ(image.size(), QSize(432, 288)) << c.name;
    if (c.maxColours > 0) {
      EXPECT_LE(image.colorCount(), c.maxColours) << c.name;
    } else {
      EXPECT_FALSE(image.hasAlphaChannel());
      EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
    }
  }
}

TEST_F(GraphOutput, ASizeThatCannotBeAllocatedSavesNothing) {
  Open(graphs.pltDef);
  TBitmapAttributes a;
  a.WidthIn = 5e6L;
  a.PixelsPerInch = 2000;
  for (const char* name : {"huge.bmp", "huge.svg", "huge.pdf"}) {
    messages.clear();
    EXPECT_FALSE(commands->SaveTo(File(name), a));
    EXPECT_EQ(messages, std::vector<std::string>{kNotEnoughMemory});
    EXPECT_FALSE(QFile::exists(File(name))) << name;
  }
  EXPECT_TRUE(RenderBitmap(graphs.pltDef, form->View(), a).isNull());
}

TEST_F(GraphOutput, AFolderThatDoesNotExistIsReported) {
  Open(graphs.pltDef);
  EXPECT_FALSE(commands->SaveTo(File("missing/graph.bmp"), TBitmapAttributes{}));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("could not be saved"), std::string::npos);
}

TEST_F(GraphOutput, SavedSvgParsesAndHoldsTheCaptions) {
  Open(graphs.pltDMS);
  graphs.pltDMS.ShowLayers = true;
  const QString file = File("dms.svg");
  ASSERT_TRUE(commands->SaveTo(file, TBitmapAttributes{}));
  test::KeepFile(file, "saved_dms.svg");
  QSvgRenderer renderer(file);
  EXPECT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 432, 288));

  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&f);
  QString text;
  int elements = 0;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) ++elements;
    if (xml.isCharacters()) text += xml.text();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_GT(elements, 50);
  EXPECT_TRUE(text.contains("Deflection")) << text.left(200).toStdString();
}

TEST_F(GraphOutput, SavedPdfIsOnePageOfTheChosenSize) {
  Open(graphs.pltMom);
  const QString file = File("moment.pdf");
  ASSERT_TRUE(commands->SaveTo(file, TBitmapAttributes{}));
  const QString info = Poppler("pdfinfo", {file});
  if (info.isEmpty()) GTEST_SKIP() << "pdfinfo is not available";
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
  // Six by four inches: 432 by 288 points.
  EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+432 x 288 pts"))) << info.toStdString();
  EXPECT_TRUE(Poppler("pdftotext", {file, "-"}).contains("Bending Moment"));
}

TEST_F(GraphOutput, PrintedPageCarriesTheCaptionsAndTheJobTitle) {
  Open(graphs.pltDef);
  graphs.pltDef.UserTitle = "Three-stage excavation, wall A";
  graphs.pltDef.TitleOnTop = true;
  QPrinter printer(QPrinter::HighResolution);
  const QString file = File("printed.pdf");
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  printer.setPageSize(QPageSize(QPageSize::Letter));
  commands->Margins() = {1000, 500, 1000, 500};
  ASSERT_TRUE(commands->PrintTo(printer));
  EXPECT_TRUE(messages.empty());
  test::KeepFile(file, "printed_deflection.pdf");

  const QString info = Poppler("pdfinfo", {file});
  if (info.isEmpty()) GTEST_SKIP() << "pdfinfo is not available";
  EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Deflection vs Depth\\n"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n")));
  const QString text = Poppler("pdftotext", {file, "-"});
  EXPECT_TRUE(text.contains("Three-stage excavation, wall A")) << text.toStdString();
  EXPECT_TRUE(text.contains("Deflection (in)")) << text.toStdString();
  // The legend box names the shown curves.
  EXPECT_TRUE(text.contains("Stage: 3")) << text.toStdString();

  // The page was drawn inside the margins: one inch left and right, half
  // an inch top and bottom, of an 8.5 by 11 inch page.
  const QString bbox = Poppler("pdftotext", {"-bbox", file, "-"});
  const QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)")re");
  double xMin = 1e9, yMin = 1e9, xMax = 0, yMax = 0;
  for (auto it = word.globalMatch(bbox); it.hasNext();) {
    const auto m = it.next();
    xMin = std::min(xMin, m.captured(1).toDouble());
    yMin = std::min(yMin, m.captured(2).toDouble());
    xMax = std::max(xMax, m.captured(3).toDouble());
    yMax = std::max(yMax, m.captured(4).toDouble());
  }
  EXPECT_GE(xMin, 72 - 1);
  EXPECT_GE(yMin, 36 - 1);
  // The plot area runs to the right and bottom margins, so the last tick
  // labels, centred on the frame's edge, reach half their length past it.
  EXPECT_LE(xMax, 612 - 72 + 12);
  EXPECT_LE(yMax, 792 - 36 + 12);
}

// Left and top edges, in points, of the first word of a PDF that starts
// with `text`.
QPointF WordAt(const QString& pdf, const QString& text) {
  const QString bbox = Poppler("pdftotext", {"-bbox", pdf, "-"});
  const QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re");
  for (auto it = word.globalMatch(bbox); it.hasNext();) {
    const auto m = it.next();
    if (m.captured(3).startsWith(text)) return {m.captured(1).toDouble(), m.captured(2).toDouble()};
  }
  return {-1, -1};
}

TEST_F(GraphOutput, PrintedLegendBoxFollowsTheWindowLegend) {
  Open(graphs.pltDef);
  auto print = [&](const std::string& name) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(File(name));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    EXPECT_TRUE(commands->PrintTo(printer));
    return File(name);
  };
  // In the plot area's bottom-right corner on screen: near the page's
  // bottom-right margin corner (540, 756 points).
  const QPointF corner = WordAt(print("corner.pdf"), "Stage:");
  if (corner.x() < 0) GTEST_SKIP() << "pdftotext is not available";
  EXPECT_GT(corner.x(), 400);
  EXPECT_GT(corner.y(), 600);
  // Dragged to the window's top-left corner: the box starts at the plot
  // area's top-left corner on the page.
  form->Legend()->move(0, 0);
  const QPointF moved = WordAt(print("moved.pdf"), "Stage:");
  EXPECT_LT(moved.x(), 72 + 60);
  EXPECT_LT(moved.y(), 72 + 60);
}

TEST_F(GraphOutput, PrinterMarginsRoundTripInThousandthsOfAnInch) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const TPageMargins m{750, 1000, 1250, 500};
  ApplyMargins(printer, m);
  EXPECT_EQ(MarginsOf(printer), m);
}

}  // namespace
}  // namespace ramvex
