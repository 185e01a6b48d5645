#include "PageSet.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace ramvex {

namespace {

int Pixels(int thousandths, int dpi) { return static_cast<int>(std::lround(thousandths / 1000.0 * dpi)); }

}  // namespace

QRect PageClient(const TPaperGeometry& p, const TPageMargins& m) {
  const int left = std::max(Pixels(m.Left, p.Dpi), p.MinLeft);
  const int top = std::max(Pixels(m.Top, p.Dpi), p.MinTop);
  const int right = p.Width - std::max(Pixels(m.Right, p.Dpi), p.MinRight);
  const int bottom = p.Height - std::max(Pixels(m.Bottom, p.Dpi), p.MinBottom);
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

TPaperGeometry PaperOf(const QPrinter& printer) {
  TPaperGeometry g;
  g.Dpi = printer.resolution();
  const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
  g.Width = paper.width();
  g.Height = paper.height();
  // The unprintable border in pixels: a copy of the layout whose margins
  // are the printer's minimum ones.
  QPageLayout least = printer.pageLayout();
  least.setMode(QPageLayout::FullPageMode);
  least.setMargins(least.minimumMargins());
  const QMargins min = least.marginsPixels(g.Dpi);
  g.MinLeft = min.left();
  g.MinTop = min.top();
  g.MinRight = min.right();
  g.MinBottom = min.bottom();
  return g;
}

bool PrintGraph(QPrinter& printer, const TGraphPlot& graph, const TGraphView& view, const TPageMargins& margins,
                QPointF legendAt, QString* error) {
  printer.setDocName(QString::fromStdString(graph.Caption));
  // The margins are applied here, from the paper's corner, so the painter
  // must start there too.
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) {
    if (error) *error = QStringLiteral("The printer could not be opened. The graph was not printed.");
    return false;
  }
  const TPaperGeometry paper = PaperOf(printer);
  TDrawOptions o;
  o.Target = TDrawTarget::Printer;
  o.Dx = o.Dy = paper.Dpi;
  o.LegendAt = legendAt;
  draw(painter, PageClient(paper, margins), graph, view, o);
  if (!painter.end()) {
    if (error) *error = QStringLiteral("The graph could not be sent to the printer.");
    return false;
  }
  return true;
}

void ApplyMargins(QPrinter& printer, const TPageMargins& m) {
  printer.setPageMargins(QMarginsF(m.Left / 1000.0, m.Top / 1000.0, m.Right / 1000.0, m.Bottom / 1000.0),
                         QPageLayout::Inch);
}

TPageMargins MarginsOf(const QPrinter& printer) {
  const QMarginsF m = printer.pageLayout().margins(QPageLayout::Inch);
  auto k = [](double inches) { return static_cast<int>(std::lround(inches * 1000)); };
  return {k(m.left()), k(m.top()), k(m.right()), k(m.bottom())};
}

bool PageSetup(QPrinter& printer, TPageMargins& margins, QWidget* parent) {
  ApplyMargins(printer, margins);
  QPageSetupDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  margins = MarginsOf(printer);
  return true;
}

}  // namespace ramvex
