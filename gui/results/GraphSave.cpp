#include "GraphSave.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>
#include <new>

namespace ramvex {

const char kNotEnoughMemory[] = "There is not enough memory to complete this task.";

namespace {

struct TFormatFilter {
  TSaveFormat Format;
  const char* Filter;
  const char* Suffix;
};

constexpr TFormatFilter kFilters[] = {
    {TSaveFormat::Bmp, "Bitmap (*.bmp)", "bmp"},
    {TSaveFormat::Png, "PNG image (*.png)", "png"},
    {TSaveFormat::Svg, "SVG drawing (*.svg)", "svg"},
    {TSaveFormat::Pdf, "PDF document (*.pdf)", "pdf"},
};

// The sixteen colours of the classic palette hold every curve colour, so a
// 16-colour bitmap keeps the curves exact.
QList<QRgb> SixteenColours() {
  QList<QRgb> table;
  for (unsigned c : CurveColours) {
    const QRgb rgb = 0xFF000000u | c;
    if (!table.contains(rgb)) table << rgb;
  }
  table << qRgb(255, 255, 255);
  return table;
}

// A line drawing in black and white: whatever is not paper is ink, so light
// curve colours (yellow, aqua) do not vanish.
QImage BlackAndWhite(const QImage& image) {
  QImage mono(image.size(), QImage::Format_Mono);
  if (mono.isNull()) return mono;
  mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mono.setDotsPerMeterX(image.dotsPerMeterX());
  mono.setDotsPerMeterY(image.dotsPerMeterY());
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) mono.setPixel(x, y, (line[x] & 0xFFFFFFu) == 0xFFFFFFu ? 0 : 1);
  }
  return mono;
}

QImage WithDepth(const QImage& image, TColorDepth depth) {
  switch (depth) {
    case TColorDepth::BlackWhite:
      return BlackAndWhite(image);
    case TColorDepth::Colors16:
      return image.convertToFormat(QImage::Format_Indexed8, SixteenColours(), Qt::ThresholdDither);
    case TColorDepth::Colors256:
      return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    case TColorDepth::HighColor:
      return image.convertToFormat(QImage::Format_RGB16);
    case TColorDepth::TrueColor:
      return image;
  }
  return image;
}

TDrawOptions SaveDrawOptions(const TSaveOptions& o) {
  TDrawOptions d;
  d.Target = TDrawTarget::Bitmap;
  d.Dx = d.Dy = o.ScreenDpi > 0 ? o.ScreenDpi : 96;
  d.LegendAt = o.LegendAt;
  return d;
}

bool SaveSvg(const QString& fileName, const TGraphPlot& graph, const TGraphView& view, QSize size, int ppi,
             const TSaveOptions& options) {
  QSvgGenerator svg;
  svg.setFileName(fileName);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(ppi);
  svg.setTitle(QString::fromStdString(graph.Caption));
  QPainter p;
  if (!p.begin(&svg)) return false;
  draw(p, QRect(QPoint(0, 0), size), graph, view, SaveDrawOptions(options));
  return p.end();
}

bool SavePdf(const QString& fileName, const TGraphPlot& graph, const TGraphView& view, QSize size, int ppi,
             const TSaveOptions& options) {
  QPdfWriter pdf(fileName);
  pdf.setTitle(QString::fromStdString(graph.Caption));
  pdf.setCreator(QStringLiteral("Ramvex2015"));
  // One page of exactly the picture's size, without margins: at the
  // chosen resolution the page has the bitmap's pixel count, so the PDF
  // shows the bitmap's picture as vector drawing.
  pdf.setResolution(ppi);
  const QPageSize page(QSizeF(static_cast<double>(size.width()) / ppi, static_cast<double>(size.height()) / ppi),
                       QPageSize::Inch, QString(), QPageSize::ExactMatch);
  if (!pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()))) return false;
  QPainter p;
  if (!p.begin(&pdf)) return false;
  draw(p, QRect(QPoint(0, 0), size), graph, view, SaveDrawOptions(options));
  return p.end();
}

}  // namespace

TSaveFormat SaveFormatFor(const QString& fileName) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  for (const TFormatFilter& f : kFilters) {
    if (suffix == QLatin1String(f.Suffix)) return f.Format;
  }
  return TSaveFormat::Bmp;
}

QString SaveFilters() {
  QStringList filters;
  for (const TFormatFilter& f : kFilters) filters << QString::fromLatin1(f.Filter);
  return filters.join(QStringLiteral(";;"));
}

QString DefaultSuffix(const QString& filter) {
  for (const TFormatFilter& f : kFilters) {
    if (filter == QLatin1String(f.Filter)) return QString::fromLatin1(f.Suffix);
  }
  return QStringLiteral("bmp");
}

std::optional<QSize> BitmapSize(const TBitmapAttributes& a) {
  const long double w = std::round(static_cast<long double>(a.PixelsPerInch) * a.WidthIn);
  const long double h = std::round(static_cast<long double>(a.PixelsPerInch) * a.HeightIn);
  // Written so that a NaN fails too.
  if (!(w >= 1 && w <= kMaxBitmapSide && h >= 1 && h <= kMaxBitmapSide)) return std::nullopt;
  return QSize(static_cast<int>(w), static_cast<int>(h));
}

QImage RenderBitmap(const TGraphPlot& graph, const TGraphView& view, const TBitmapAttributes& a,
                    const TSaveOptions& options) {
  const std::optional<QSize> size = BitmapSize(a);
  if (!size) return {};
  QImage image;
  try {
    image = QImage(*size, QImage::Format_RGB32);
  } catch (const std::bad_alloc&) {
    return {};
  }
  if (image.isNull()) return image;
  const int dotsPerMeter = static_cast<int>(std::lround(a.PixelsPerInch / 0.0254));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  {
    QPainter p(&image);
    draw(p, image.rect(), graph, view, SaveDrawOptions(options));
  }
  try {
    return WithDepth(image, a.Colors);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

bool SaveGraph(const QString& fileName, const TGraphPlot& graph, const TGraphView& view, const TBitmapAttributes& a,
               const TSaveOptions& options, const TMessageSink& errors) {
  auto fail = [&](const std::string& message) {
    if (errors) errors(message);
    return false;
  };
  const std::optional<QSize> size = BitmapSize(a);
  if (!size) return fail(kNotEnoughMemory);
  const std::string cannotWrite =
      "The graph could not be saved to " + fileName.toStdString() + ". Check the folder and the file name.";
  switch (SaveFormatFor(fileName)) {
    case TSaveFormat::Svg:
      return SaveSvg(fileName, graph, view, *size, a.PixelsPerInch, options) || fail(cannotWrite);
    case TSaveFormat::Pdf:
      return SavePdf(fileName, graph, view, *size, a.PixelsPerInch, options) || fail(cannotWrite);
    case TSaveFormat::Png:
    case TSaveFormat::Bmp: {
      const QImage image = RenderBitmap(graph, view, a, options);
      if (image.isNull()) return fail(kNotEnoughMemory);
      const char* format = SaveFormatFor(fileName) == TSaveFormat::Png ? "PNG" : "BMP";
      return image.save(fileName, format) || fail(cannotWrite);
    }
  }
  return false;
}

}  // namespace ramvex
