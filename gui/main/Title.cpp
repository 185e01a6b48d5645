#include "Title.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ProgramData.h"

namespace ramvex {

TDlgTitle::TDlgTitle(TProgramData& data, QMdiArea* area) : TInputDialog(data, area, QStringLiteral("Project Title")) {
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QGroupBox(this);
  auto* inner = new QVBoxLayout(frame);
  auto* label = new QLabel(QStringLiteral("Enter text line for project description:"), frame);
  text_ = new QPlainTextEdit(frame);
  text_->setTabChangesFocus(true);
  text_->setMinimumWidth(380);
  text_->setFixedHeight(text_->fontMetrics().lineSpacing() * 3 + 12);
  label->setBuddy(text_);
  inner->addWidget(label);
  inner->addWidget(text_);
  layout->addWidget(frame);
  layout->addStretch();
  text_->installEventFilter(this);
  connect(text_, &QPlainTextEdit::textChanged, this, &TDlgTitle::LimitLength);
}

bool TDlgTitle::eventFilter(QObject* watched, QEvent* event) {
  if (watched == text_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
  }
  return TInputDialog::eventFilter(watched, event);
}

void TDlgTitle::LimitLength() {
  // Pasted text may carry line breaks or run long; the title stays one line.
  QString t = text_->toPlainText();
  QString clean = t;
  clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  clean.truncate(kMaxLength);
  if (clean == t) return;
  QSignalBlocker block(text_);
  text_->setPlainText(clean);
  QTextCursor c = text_->textCursor();
  c.movePosition(QTextCursor::End);
  text_->setTextCursor(c);
}

void TDlgTitle::Load() {
  QSignalBlocker block(text_);
  text_->setPlainText(QString::fromStdString(data_.Title));
}

void TDlgTitle::Store() {
  std::string t = text_->toPlainText().toStdString();
  if (t != data_.Title) {
    data_.Title = t;
    data_.Modified = true;
  }
}

}  // namespace ramvex
