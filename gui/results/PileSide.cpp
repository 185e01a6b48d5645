#include "PileSide.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ProgramData.h"

namespace ramvex {

namespace {

const char kCaption[] = "Side View";
const char kJobTitle[] = "Soil-Pile Profile";
// Resolution the fixed pixel lengths and pen widths of the drawing were
// chosen for; a printer page is scaled from it.
constexpr double kScreenDpi = 96;

}  // namespace

// The picture itself: paints the model and reports the mouse to the window.
class TSideViewCanvas : public QWidget {
 public:
  explicit TSideViewCanvas(TDlgSideView* view) : QWidget(view), view_(view) {
    setMouseTracking(true);
    setMinimumSize(200, 150);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    DrawSideView(painter, rect(), view_->Model(), ScreenSideViewStyle(palette(), font()));
  }
  void mouseMoveEvent(QMouseEvent* e) override { view_->CanvasMouseMove(e->position().toPoint()); }
  void leaveEvent(QEvent*) override { view_->CanvasLeave(); }

 private:
  TDlgSideView* view_;
};

TDlgSideView::TDlgSideView(TProgramData& project, QWidget* parent) : QWidget(parent), project_(project) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromLatin1(kCaption));
  setObjectName(QStringLiteral("DlgSideView"));

  WallProfile = new QLabel(QStringLiteral("Wall Profile"), this);
  Print = new QPushButton(QStringLiteral("Print"), this);
  canvas_ = new TSideViewCanvas(this);
  WallProfile->setObjectName(QStringLiteral("WallProfile"));
  Print->setObjectName(QStringLiteral("Print"));

  auto* top = new QHBoxLayout;
  top->addWidget(WallProfile);
  top->addStretch(1);
  top->addWidget(Print);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(canvas_, 1);
  resize(640, 480);

  connect(Print, &QPushButton::clicked, this, &TDlgSideView::PrintClick);
  FormActivate();
}

QWidget* TDlgSideView::Canvas() const { return canvas_; }

void TDlgSideView::FormActivate() {
  model_ = BuildSideView(project_);
  canvas_->update();
}

bool TDlgSideView::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::WindowActivate: FormActivate(); break;
    case QEvent::ParentChange: WatchSubWindow(); break;
    default: break;
  }
  return QWidget::event(e);
}

void TDlgSideView::showEvent(QShowEvent* e) {
  FormActivate();
  QWidget::showEvent(e);
}

// Inside the main window's workspace the frame around the view is the
// window that becomes active, so the view follows its activation.
void TDlgSideView::WatchSubWindow() {
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (!sub || sub == watched_) return;
  if (watched_) disconnect(watched_, nullptr, this, nullptr);
  watched_ = sub;
  connect(sub, &QMdiSubWindow::aboutToActivate, this, &TDlgSideView::FormActivate);
}

void TDlgSideView::CanvasMouseMove(QPoint pos) {
  if (auto depth = DepthAt(model_, canvas_->rect(), pos)) setWindowTitle(DepthReadout(*depth));
}

void TDlgSideView::CanvasLeave() { setWindowTitle(QString::fromLatin1(kCaption)); }

void TDlgSideView::PreparePrinter(QPrinter& printer) {
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(QString::fromLatin1(kJobTitle));
}

bool TDlgSideView::PrintTo(QPrinter& printer, QString* error) {
  // The project may have changed since the window was last activated.
  FormActivate();
  QPainter painter;
  if (!painter.begin(&printer)) {
    if (error) *error = QStringLiteral("The printer could not be opened. The profile was not printed.");
    return false;
  }
  const QRect page(0, 0, printer.width(), printer.height());
  DrawSideView(painter, PrintFrame(page), model_, PrintSideViewStyle(), printer.resolution() / kScreenDpi);
  if (!painter.end()) {
    if (error) *error = QStringLiteral("The profile could not be sent to the printer.");
    return false;
  }
  return true;
}

void TDlgSideView::PrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QString error;
  if (!PrintTo(printer, &error)) QMessageBox::information(this, QString::fromLatin1(kCaption), error);
}

}  // namespace ramvex
