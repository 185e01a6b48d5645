#include "PlotLegend.h"

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>

#include <algorithm>

#include "PlotDraw.h"

namespace ramvex {

namespace {

constexpr char kStar[] = " *";

QString MeasuredText(const QString& text) {
  return text.endsWith(QLatin1String(kStar)) ? text : text + QLatin1String(kStar);
}

int RowHeight(const QListWidget& legend) { return LegendRowHeight(std::max(1, legend.font().pointSize())); }

// Rows drawn as the legend has always looked: white ground, the text in
// its curve's colour a few pixels from the left edge.
class TLegendDelegate : public QStyledItemDelegate {
 public:
  TLegendDelegate(QListWidget* legend) : QStyledItemDelegate(legend), legend_(legend) {}

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    p->save();
    p->fillRect(option.rect, Qt::white);
    const QVariant colour = index.data(Qt::ForegroundRole);
    p->setPen(colour.canConvert<QBrush>() ? colour.value<QBrush>().color() : QColor(Qt::black));
    p->setFont(legend_->font());
    const QString text = index.data(Qt::DisplayRole).toString();
    p->drawText(option.rect.adjusted(kLegendTextInset, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    p->restore();
    // A row whose text outgrew the list (a curve shown again gets its
    // " *" back) widens it by the smaller allowance; the list is resized
    // after this paint, never during it.
    const int width = legend_->fontMetrics().horizontalAdvance(MeasuredText(text));
    const int wanted = WidenedLegendWidth(legend_->width(), width, legend_->logicalDpiX(), true);
    if (wanted != legend_->width()) {
      QPointer<QListWidget> legend(legend_);
      QMetaObject::invokeMethod(
          legend_, [legend, wanted] { if (legend && legend->width() < wanted) legend->resize(wanted, legend->height()); },
          Qt::QueuedConnection);
    }
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
    const int text = legend_->fontMetrics().horizontalAdvance(MeasuredText(index.data(Qt::DisplayRole).toString()));
    // The graph window adds 8 pixels to the widest row when it places the
    // legend; the hint leaves them out so that the list comes out as wide
    // as its own widening rule makes it.
    return QSize(std::max(0, WidenedLegendWidth(0, text, legend_->logicalDpiX()) - 8), RowHeight(*legend_));
  }

 private:
  QListWidget* legend_;
};

// Moves the legend with the left button, inside the window.  The press is
// passed on, so that a double click still reaches the list.
class TLegendDragger : public QObject {
 public:
  TLegendDragger(QListWidget* legend, QWidget* window) : QObject(legend), legend_(legend), window_(window) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) {
          pressed_ = true;
          moving_ = false;
          pressAt_ = e->globalPosition().toPoint();
          startAt_ = legend_->pos();
        }
        break;
      }
      case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (!pressed_ || !(e->buttons() & Qt::LeftButton)) break;
        const QPoint by = e->globalPosition().toPoint() - pressAt_;
        if (!moving_ && by.manhattanLength() < QApplication::startDragDistance()) return true;
        moving_ = true;
        legend_->setGeometry(KeepInside(QRect(startAt_ + by, legend_->size()), window_->size()));
        return true;
      }
      case QEvent::MouseButtonRelease:
        pressed_ = false;
        if (moving_) {
          moving_ = false;
          return true;
        }
        break;
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QListWidget* legend_;
  QWidget* window_;
  bool pressed_ = false;
  bool moving_ = false;
  QPoint pressAt_, startAt_;
};

}  // namespace

void InstallLegendBehaviour(QListWidget& legend, QWidget& window, const TGraphPlot& graph) {
  legend.setFrameShape(QFrame::NoFrame);
  legend.setUniformItemSizes(true);
  QPalette pal = legend.palette();
  pal.setColor(QPalette::Base, Qt::white);
  legend.setPalette(pal);
  legend.setItemDelegate(new TLegendDelegate(&legend));
  legend.viewport()->installEventFilter(new TLegendDragger(&legend, &window));
  SetLegendFont(legend, graph);
}

void SetLegendFont(QListWidget& legend, const TGraphPlot& graph) {
  QFont font = legend.font();
  font.setPointSize(LegendPointSize(graph));
  legend.setFont(font);
  // Rows are measured again with the new font.
  legend.doItemsLayout();
}

void SyncLegend(QListWidget& legend, const TGraphPlot& graph) {
  const std::vector<TLegendRow> rows = LegendRows(graph);
  for (size_t k = 0; k < rows.size(); ++k) {
    QListWidgetItem* item = static_cast<int>(k) < legend.count() ? legend.item(static_cast<int>(k))
                                                                  : new QListWidgetItem(&legend);
    item->setText(QString::fromStdString(rows[k].Text));
    item->setForeground(CurveQColor(rows[k].Position));
    item->setData(Qt::UserRole, rows[k].Curve);
  }
  while (legend.count() > static_cast<int>(rows.size())) delete legend.takeItem(legend.count() - 1);
}

int LegendTextWidth(const QListWidget& legend, int row) {
  if (row < 0 || row >= legend.count()) return 0;
  return legend.fontMetrics().horizontalAdvance(MeasuredText(legend.item(row)->text()));
}

void FitLegend(QListWidget& legend, bool resetWidth) {
  int width = resetWidth ? kLegendStartWidth : legend.width();
  for (int row = 0; row < legend.count(); ++row) {
    width = WidenedLegendWidth(width, LegendTextWidth(legend, row), legend.logicalDpiX());
  }
  legend.resize(width, LegendHeight(legend.count(), RowHeight(legend)));
}

}  // namespace ramvex
