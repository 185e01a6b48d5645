// Numeric entry field: a one-line text box that takes a numeric expression,
// checks it against limits and an integer requirement when the user leaves
// it or presses Enter, and keeps an attached label showing its caption and
// its unit in the current unit system.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>

#include <functional>

namespace ramvex {

class TDataEdit : public QLineEdit {
  Q_OBJECT

 public:
  // Shows an entry message to the user; the default is an information box
  // with an OK button.  Replaceable so that the field runs without a user.
  using Notifier = std::function<void(QWidget* field, const QString& message)>;

  explicit TDataEdit(QWidget* parent = nullptr);

  // Reading evaluates the text (EAssignError when it does not evaluate);
  // writing clamps to [MinVal, MaxVal] and shows the display format.
  long double Number() const;
  void SetNumber(long double value);

  long double MinVal() const { return minVal_; }
  void SetMinVal(long double value);
  long double MaxVal() const { return maxVal_; }
  void SetMaxVal(long double value);
  bool IntegerOnly() const { return integerOnly_; }
  void SetIntegerOnly(bool value);
  bool Hex() const { return hex_; }
  void SetHex(bool value);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  QLabel* EditLabel() const { return label_; }
  void SetEditLabel(QLabel* label);
  QString UnitsString() const { return unitsString_; }
  void SetUnitsString(const QString& unitsString);
  int Units() const { return units_; }
  void SetUnits(int system);

  // While loading, MinVal, MaxVal and Number are stored as given, so that
  // a dialog may set them in any order.
  void SetLoading(bool loading) { loading_ = loading; }
  bool Loading() const { return loading_; }

  // Runs the exit check; false keeps a closing dialog open.
  bool CheckEntry();

  // Text of a value in the field's display format.
  QString Display(long double value) const;

  void SetNotifier(Notifier notifier) { notifier_ = std::move(notifier); }
  // Notifier of fields that have none of their own.
  static void SetDefaultNotifier(Notifier notifier);

 signals:
  // Ordinary exit handling, emitted at the start of every exit check.
  void exited();

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ExitCheck();
  void Fail(const QString& message);
  void UpdateLabel();
  bool CurrentValue(long double& value) const;

  long double minVal_;
  long double maxVal_;
  bool integerOnly_ = false;
  bool hex_ = false;
  QString caption_;
  QPointer<QLabel> label_;
  QString unitsString_;
  int units_ = 1;
  bool loading_ = false;
  bool valid_ = false;
  bool checking_ = false;
  Notifier notifier_;
};

}  // namespace ramvex
