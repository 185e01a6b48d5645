#include "DataEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMessageBox>

#include <algorithm>
#include <cmath>

#include "Expression.h"
#include "NumberText.h"
#include "Units.h"

namespace ramvex {

namespace {

constexpr long double kInt32Min = -2147483648.0L;
constexpr long double kInt32Max = 2147483647.0L;
// Default limits: just below the largest long double, so that their
// 18-digit text still reads back as a finite number.
constexpr long double kUnbounded = 1.1897314953572317599e4932L;

TDataEdit::Notifier& DefaultNotifier() {
  static TDataEdit::Notifier notifier;
  return notifier;
}

void ShowInformation(QWidget* field, const QString& message) {
  QString text = message;
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QMessageBox::information(field, QStringLiteral("Information"), text, QMessageBox::Ok);
}

}  // namespace

TDataEdit::TDataEdit(QWidget* parent)
    : QLineEdit(QStringLiteral("0"), parent),
      minVal_(-kUnbounded),
      maxVal_(kUnbounded) {}

void TDataEdit::SetDefaultNotifier(Notifier notifier) { DefaultNotifier() = std::move(notifier); }

QString TDataEdit::Display(long double value) const {
  if (hex_ && std::isfinite(value)) {
    long double r = RoundHalfEven(value);
    // Only 32 bits read back through "$", so only they are shown that way.
    if (r >= kInt32Min && r <= kInt32Max) {
      auto bits = static_cast<quint32>(static_cast<qint32>(r));
      return QStringLiteral("$") + QString::number(bits, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    }
  }
  return QString::fromStdString(FormatGeneral(value, 18));
}

long double TDataEdit::Number() const { return Evaluate(text().toStdString()); }

bool TDataEdit::CurrentValue(long double& value) const {
  try {
    value = Number();
    return true;
  } catch (const EAssignError&) {
    return false;
  }
}

void TDataEdit::SetNumber(long double value) {
  if (std::isnan(value)) value = 0;
  if (!loading_) {
    if (value < minVal_) value = minVal_;
    if (value > maxVal_) value = maxVal_;
  }
  setText(Display(value));
}

void TDataEdit::SetMinVal(long double value) {
  if (std::isnan(value)) return;
  if (loading_) {
    minVal_ = value;
    return;
  }
  if (value > maxVal_) value = maxVal_;
  if (integerOnly_) value = std::clamp(value, kInt32Min, kInt32Max);
  minVal_ = value;
  long double current;
  if (CurrentValue(current) && current < minVal_) SetNumber(minVal_);
}

void TDataEdit::SetMaxVal(long double value) {
  if (std::isnan(value)) return;
  if (loading_) {
    maxVal_ = value;
    return;
  }
  if (value < minVal_) value = minVal_;
  if (integerOnly_) value = std::clamp(value, kInt32Min, kInt32Max);
  maxVal_ = value;
  long double current;
  if (CurrentValue(current) && current > maxVal_) SetNumber(maxVal_);
}

void TDataEdit::SetIntegerOnly(bool value) {
  integerOnly_ = value;
  if (value && !loading_) {
    SetMaxVal(maxVal_);
    SetMinVal(minVal_);
  }
}

void TDataEdit::SetHex(bool value) { hex_ = value; }

void TDataEdit::SetCaption(const QString& caption) {
  caption_ = caption;
  UpdateLabel();
}

void TDataEdit::SetEditLabel(QLabel* label) {
  if (label_ && label_ != label && label_->buddy() == this) label_->setBuddy(nullptr);
  label_ = label;
  if (label_) label_->setBuddy(this);
  UpdateLabel();
}

void TDataEdit::SetUnitsString(const QString& unitsString) {
  unitsString_ = unitsString;
  UpdateLabel();
}

void TDataEdit::SetUnits(int system) {
  units_ = ClampUnitSystem(system);
  UpdateLabel();
}

void TDataEdit::UpdateLabel() {
  if (!label_) return;
  label_->setEnabled(isEnabled());
  QString text = caption_;
  if (!unitsString_.isEmpty()) {
    text += QStringLiteral(" (") +
            QString::fromStdString(RenderEntryUnits(unitsString_.toStdString(), units_)) + QStringLiteral(")");
  }
  label_->setText(text);
}

bool TDataEdit::CheckEntry() {
  ExitCheck();
  return valid_;
}

void TDataEdit::Fail(const QString& message) {
  const Notifier& notify = notifier_ ? notifier_ : DefaultNotifier();
  if (notify) {
    notify(this, message);
  } else {
    ShowInformation(this, message);
  }
  if (isVisible()) setFocus(Qt::OtherFocusReason);
}

void TDataEdit::ExitCheck() {
  // The message box takes the focus from the field; that focus change must
  // not start another check.
  if (checking_) return;
  checking_ = true;
  valid_ = false;
  emit exited();

  long double value = 0;
  bool evaluated = false;
  QString error;
  try {
    value = Number();
    evaluated = true;
  } catch (const EAssignError& e) {
    error = integerOnly_ ? QStringLiteral("Entry must be a valid integer.") : QString::fromStdString(e.what());
  }
  if (!evaluated) {
    Fail(error);
  } else if (integerOnly_ && value != std::trunc(value)) {
    Fail(QStringLiteral("Entry must be an integer."));
  } else if (value < minVal_) {
    SetNumber(minVal_);
    Fail(QStringLiteral("Entry must be greater than or equal to ") + Display(minVal_));
  } else if (value > maxVal_) {
    SetNumber(maxVal_);
    Fail(QStringLiteral("Entry must be less than or equal to ") + Display(maxVal_));
  } else {
    setText(Display(value));
    valid_ = true;
  }
  checking_ = false;
}

void TDataEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Leaving the field for another control checks it; the window losing
  // activation or a menu opening does not, nor does the field being hidden.
  switch (event->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
      return;
    default:
      break;
  }
  if (isVisible()) ExitCheck();
}

void TDataEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    ExitCheck();
    selectAll();
    event->accept();  // Enter never reaches the dialog's default button
    return;
  }
  // An operator typed over the selected whole text extends the expression
  // instead of replacing it.
  const QString typed = event->text();
  if (typed.size() == 1 && QStringLiteral("+-/*^=%!").contains(typed[0]) && hasSelectedText() &&
      selectedText() == text()) {
    end(false);
  }
  QLineEdit::keyPressEvent(event);
}

void TDataEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) UpdateLabel();
}

}  // namespace ramvex
