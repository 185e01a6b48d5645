#include "PlotForm.h"

#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace ramvex {

namespace {

constexpr TCurveList P1 = TCurveList::Panel1;

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TPlotForm::TPlotForm(TGraphPlot& graph, QWidget* parent) : QWidget(parent), graph_(graph) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setAutoFillBackground(false);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, GraphStyle().Background);
  setPalette(pal);
  QFont base(GraphStyle().FontFamily);
  base.setStyleHint(QFont::Serif);
  base.setPixelSize(GraphStyle().BasePixelSize);
  setFont(base);
  setWindowTitle(Q(graph.Caption));

  legend_ = new QListWidget(this);
  legend_->setSelectionMode(QAbstractItemView::NoSelection);
  legend_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  legend_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QFont legendFont(GraphStyle().FontFamily);
  legendFont.setStyleHint(QFont::Serif);
  legendFont.setPointSize(std::max(1, graph.LegendFont * graph.SizeFont / 10));
  legend_->setFont(legendFont);
  connect(legend_, &QListWidget::itemDoubleClicked, this, &TPlotForm::ToggleCurve);
  Rebuild();
}

TDrawDevice TPlotForm::Device() const {
  TDrawOptions o;
  return DeviceFor(graph_, rect(), this, o);
}

TGraphLayout TPlotForm::Layout() const { return LayoutGraph(graph_, Device()); }

void TPlotForm::Rebuild() {
  view_ = NewGraphView(graph_);
  IncludeCurves(graph_);
  FillLegend();
  PlaceLegend();
  Refresh();
}

void TPlotForm::Refresh() {
  cache_ = QImage();
  update();
}

void TPlotForm::FillLegend() {
  legend_->clear();
  int position = 0;
  for (int i = 0; i < graph_.CurveCount(); ++i) {
    const TLine& line = graph_.Curve(P1, i);
    if (!line.Included) continue;
    auto* item = new QListWidgetItem(Q(line.LegendText() + (line.Shown ? " *" : "")), legend_);
    item->setForeground(CurveQColor(position++));
    item->setData(Qt::UserRole, i);
  }
  legend_->setVisible(graph_.CurveCount() > 0 && graph_.ShowLegend && legend_->count() > 0);
}

void TPlotForm::PlaceLegend() {
  const int rows = legend_->count();
  const int rowHeight = std::max(1, legend_->sizeHintForRow(0));
  const int width = std::max(21, legend_->sizeHintForColumn(0) + 2 * legend_->frameWidth() + 8);
  const int height = rows * rowHeight + 2 * legend_->frameWidth() + 3;
  const TPixelRect plot = Layout().Plot;
  legend_->setGeometry(plot.Right - width, plot.Bottom - height, width, height);
}

void TPlotForm::ToggleCurve(QListWidgetItem* item) {
  const int i = item->data(Qt::UserRole).toInt();
  if (i < 0 || i >= graph_.CurveCount()) return;
  TLine& line = graph_.Curve(P1, i);
  line.Shown = !line.Shown;
  item->setText(Q(line.LegendText() + (line.Shown ? " *" : "")));
  Refresh();
}

void TPlotForm::paintEvent(QPaintEvent*) {
  legendSettled_ = true;
  const qreal ratio = devicePixelRatioF();
  if (cache_.isNull() || cache_.size() != size() * ratio) {
    cache_ = QImage(size() * ratio, QImage::Format_RGB32);
    cache_.setDevicePixelRatio(ratio);
    cache_.setDotsPerMeterX(static_cast<int>(logicalDpiX() / 0.0254));
    cache_.setDotsPerMeterY(static_cast<int>(logicalDpiY() / 0.0254));
    QPainter p(&cache_);
    // The graph sees the window's own resolution and rectangle whatever
    // the backing image is.
    TDrawOptions o;
    o.Dx = logicalDpiX();
    o.Dy = logicalDpiY();
    draw(p, rect(), graph_, view_, o);
  }
  QPainter p(this);
  p.drawImage(0, 0, cache_);
  if (banding_) {
    // The band inverts what lies under it, so it shows on any colour.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(Band());
  }
}

void TPlotForm::resizeEvent(QResizeEvent*) {
  cache_ = QImage();
  if (!legendSettled_) {
    PlaceLegend();
    return;
  }
  // The legend keeps its place but stays inside the window.
  QRect g = legend_->geometry();
  g.moveLeft(std::clamp(g.left(), 0, std::max(0, width() - g.width())));
  g.moveTop(std::clamp(g.top(), 0, std::max(0, height() - g.height())));
  legend_->setGeometry(g);
}

QPoint TPlotForm::ClampToPlot(QPoint p) const {
  const TPixelRect plot = Layout().Plot;
  return {std::clamp(p.x(), plot.Left, std::max(plot.Left, plot.Right)),
          std::clamp(p.y(), plot.Top, std::max(plot.Top, plot.Bottom))};
}

QRect TPlotForm::Band() const { return QRect(bandStart_, bandEnd_).normalized(); }

void TPlotForm::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const TGraphLayout l = Layout();
  const int panel = PanelAt(l, at);
  const TDataPoint d = PixelToData(l.Panels[static_cast<size_t>(panel)], view_.Scales[static_cast<size_t>(panel)],
                                   graph_.XOnTop, at);
  setWindowTitle(Q(ReadoutTitle(graph_.Caption, d.X, d.Y)));
  if (banding_) {
    bandEnd_ = ClampToPlot(at);
    update();
  }
}

void TPlotForm::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const TGraphLayout l = Layout();
  // Zoom belongs to one-panel graphs: the three panels of the combined
  // graph share their depth axis, and zooming one would misalign them.
  if (l.PanelCount != 1 || !l.Plot.Contains(at)) return;
  if (event->button() == Qt::LeftButton) {
    banding_ = true;
    bandStart_ = bandEnd_ = at;
    update();
  } else if (event->button() == Qt::RightButton) {
    const TDataPoint d = PixelToData(l.Panels[0], view_.Scales[0], graph_.XOnTop, at);
    view_.Scales[0].X = ZoomOutRange(view_.Scales[0].X, view_.Full[0].X, d.X);
    view_.Scales[0].Y = ZoomOutRange(view_.Scales[0].Y, view_.Full[0].Y, d.Y);
    Refresh();
  }
}

void TPlotForm::mouseReleaseEvent(QMouseEvent* event) {
  if (!banding_ || event->button() != Qt::LeftButton) return;
  banding_ = false;
  bandEnd_ = ClampToPlot(event->position().toPoint());
  update();
  if (bandStart_.x() == bandEnd_.x() || bandStart_.y() == bandEnd_.y()) return;
  const TGraphLayout l = Layout();
  const TDataPoint a = PixelToData(l.Panels[0], view_.Scales[0], graph_.XOnTop, bandStart_);
  const TDataPoint b = PixelToData(l.Panels[0], view_.Scales[0], graph_.XOnTop, bandEnd_);
  view_.Scales[0].X = ZoomRange(view_.Full[0].X, a.X, b.X);
  view_.Scales[0].Y = ZoomRange(view_.Full[0].Y, a.Y, b.Y);
  Refresh();
}

TPlotForm* ShowGraph(TGraphPlot& graph, QMdiArea& area) {
  auto* form = qobject_cast<TPlotForm*>(graph.Window.data());
  if (!form) {
    form = new TPlotForm(graph);
    QMdiSubWindow* sub = area.addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    graph.Window = form;
    sub->showMaximized();
  } else if (QWidget* frame = form->parentWidget(); frame && frame->isMinimized()) {
    frame->showMaximized();
  }
  if (QWidget* frame = form->parentWidget()) area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(frame));
  form->show();
  return form;
}

}  // namespace ramvex
