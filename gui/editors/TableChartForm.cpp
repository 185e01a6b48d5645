#include "TableChartForm.h"

#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QSettings>

#include "ValueImport.h"

namespace ramvex {

namespace {

// The chart's size in the window, in pixels.
constexpr int kChartWidth = 285;
constexpr int kChartHeight = 170;

// Files larger than this are no columns of numbers typed or exported by
// hand; reading them would only hold the window up.
constexpr qint64 kMaxImportFileSize = 64LL * 1024 * 1024;

TProcessStarter& Starter() {
  static TProcessStarter starter;
  return starter;
}

// Numbers in the user's files are written with the desktop's decimal
// separator.
char UserDecimalPoint() {
  const QString point = QLocale().decimalPoint();
  return point.size() == 1 && point.at(0).unicode() < 128 ? static_cast<char>(point.at(0).unicode()) : '.';
}

}  // namespace

void SetProcessStarter(TProcessStarter starter) { Starter() = std::move(starter); }

QString TextEditorCommand() {
  QSettings settings(QStringLiteral("Dalmor"), QStringLiteral("RAMVEX"));
  settings.beginGroup(QStringLiteral("2015.5.13"));
  const QString configured = settings.value(QStringLiteral("Word Processor")).toString().trimmed();
  return configured.isEmpty() ? QStringLiteral("xdg-open") : configured;
}

// ---------------------------------------------------------------- TChartView

TChartView::TChartView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void TChartView::SetModel(TChartModel model) {
  model_ = std::move(model);
  update();
}

void TChartView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  DrawChart(p, rect(), model_);
}

// ---------------------------------------------------------------- TTableChartForm

TTableChartForm::TTableChartForm(TGridTableChart& table, bool modal, QWidget* parent)
    : TTableForm(table, modal, parent),
      chartShown_(table.ChartShown),
      fromFile_(table.GetDataFromFile),
      okCancel_(table.OKCancelButtons) {
  chart_ = new TChartView(this);
  chart_->setVisible(chartShown_);
  if (okCancel_) {
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  }
  if (fromFile_) {
    fileLabel_ = new QLabel(QStringLiteral("File Name:"), this);
    fileName_ = new QLineEdit(this);
    fileName_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30);
    browse_ = new QPushButton(QStringLiteral("Browse"), this);
    viewFile_ = new QPushButton(QStringLiteral("View/Edit File"), this);
    readFile_ = new QPushButton(QStringLiteral("Read values from File"), this);
    paste_ = new QPushButton(QStringLiteral("Paste values from  Clipboard (text)"), this);
    for (QPushButton* b : {browse_, viewFile_, readFile_, paste_}) b->setAutoDefault(false);
    connect(browse_, &QPushButton::clicked, this, &TTableChartForm::BrowseClick);
    connect(viewFile_, &QPushButton::clicked, this, &TTableChartForm::ViewFileClick);
    connect(readFile_, &QPushButton::clicked, this, &TTableChartForm::ReadFileClick);
    connect(paste_, &QPushButton::clicked, this, &TTableChartForm::PasteClick);
    connect(fileName_, &QLineEdit::textChanged, this, &TTableChartForm::UpdateFileButtons);
    UpdateFileButtons();
  }
}

TGridTableChart* TTableChartForm::ChartTable() const { return static_cast<TGridTableChart*>(Table()); }

int TTableChartForm::MaxInitialRows() const { return chartShown_ ? kMaxShownRowsUnderChart : kMaxShownRows; }

int TTableChartForm::GridTop() const { return chartShown_ ? 2 * margin_ + kChartHeight : margin_; }

int TTableChartForm::LayoutBelowButtons(int y, int& right) {
  const int m = margin_;
  if (chartShown_) {
    chart_->setGeometry(m, m, kChartWidth, kChartHeight);
    right = std::max(right, m + kChartWidth);
  }
  if (okCancel_) {
    y += m;
    int x = m;
    for (QPushButton* b : {ok_, cancel_}) {
      const QSize s = b->sizeHint();
      b->setGeometry(x, y, s.width(), s.height());
      x += s.width() + m;
    }
    right = std::max(right, x - m);
    y += ok_->sizeHint().height();
  }
  if (fromFile_) {
    y += m;
    const int rowHeight = std::max(fileName_->sizeHint().height(), browse_->sizeHint().height());
    const QSize ls = fileLabel_->sizeHint();
    fileLabel_->setGeometry(2 * m, y + (rowHeight - ls.height()) / 2, ls.width(), ls.height());
    int x = 2 * m;
    // The buttons' row sets the width of the file name field.
    const int buttonsRight = 2 * m + browse_->sizeHint().width() + m + viewFile_->sizeHint().width() + m +
                             readFile_->sizeHint().width();
    const int fieldLeft = fileLabel_->geometry().right() + 1 + m;
    const int fieldWidth = std::max(fileName_->minimumWidth(), buttonsRight - fieldLeft);
    fileName_->setGeometry(fieldLeft, y, fieldWidth, fileName_->sizeHint().height());
    right = std::max(right, fileName_->geometry().right() + 1);
    y += rowHeight + m;
    for (QPushButton* b : {browse_, viewFile_, readFile_}) {
      const QSize s = b->sizeHint();
      b->setGeometry(x, y, s.width(), s.height());
      x += s.width() + m;
    }
    right = std::max(right, readFile_->geometry().right() + 1);
    y += browse_->sizeHint().height() + m;
    // Right-aligned with "Read values from File".
    const QSize ps = paste_->sizeHint();
    paste_->setGeometry(readFile_->geometry().right() + 1 - ps.width(), y, ps.width(), ps.height());
    y += ps.height();
  }
  return y;
}

void TTableChartForm::TableRedrawn() { UpdateChart(); }

void TTableChartForm::UpdateChart() {
  if (!chartShown_ || !ChartTable()) return;
  chart_->SetModel(BuildChartModel(*ChartTable()));
}

void TTableChartForm::mousePressEvent(QMouseEvent* event) {
  // A click on the window's background redraws the chart.
  UpdateChart();
  TTableForm::mousePressEvent(event);
}

void TTableChartForm::UpdateFileButtons() {
  if (!fromFile_) return;
  const QString name = fileName_->text();
  const bool exists = !name.isEmpty() && QFileInfo(name).isFile();
  viewFile_->setEnabled(exists);
  readFile_->setEnabled(exists);
}

void TTableChartForm::BrowseClick() {
  const QString name = QFileDialog::getOpenFileName(
      this, QStringLiteral("Open"), QFileInfo(fileName_->text()).absolutePath(),
      QStringLiteral("Text Files (*.txt);;Data Files (*.dat);;All Files (*)"));
  if (!name.isEmpty()) fileName_->setText(name);
  UpdateFileButtons();
}

void TTableChartForm::ViewFileClick() {
  const QString name = fileName_->text();
  if (name.isEmpty()) return;
  const QString program = TextEditorCommand();
  const bool started = Starter() ? Starter()(program, {name}) : QProcess::startDetached(program, {name});
  if (!started) NotifyUser(this, QStringLiteral("An error occurred in running the Word Processor"));
}

void TTableChartForm::Import(const std::vector<std::string>& lines) {
  if (!Table()) return;
  const TImportResult r = FillTableFromLines(*Table(), lines, [this] { AddRowClick(); }, UserDecimalPoint());
  if (!r.Error.empty()) NotifyUser(this, QString::fromStdString(r.Error).replace('\r', '\n'));
  UpdateChart();
}

void TTableChartForm::ReadFileClick() {
  if (!Table() || !CommitEdit()) return;
  const QString name = fileName_->text();
  QFile file(name);
  // The file may have gone since it was chosen.
  if (!file.open(QIODevice::ReadOnly)) {
    NotifyUser(this, QStringLiteral("Cannot open the file \"%1\":\n%2").arg(name, file.errorString()));
    UpdateFileButtons();
    return;
  }
  if (file.size() > kMaxImportFileSize) {
    NotifyUser(this, QStringLiteral("The file \"%1\" is too large to hold a table of values.").arg(name));
    return;
  }
  const QByteArray content = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    NotifyUser(this, QStringLiteral("Cannot read the file \"%1\":\n%2").arg(name, file.errorString()));
    return;
  }
  Import(FileLines(std::string_view(content.constData(), static_cast<size_t>(content.size()))));
}

void TTableChartForm::PasteClick() {
  if (!Table() || !CommitEdit()) return;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) {
    NotifyUser(this, QStringLiteral("There is no text on the Clipboard"));
    return;
  }
  const QByteArray text = data->text().toUtf8();
  Import(ClipboardLines(std::string_view(text.constData(), static_cast<size_t>(text.size()))));
}

}  // namespace ramvex
