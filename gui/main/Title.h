// Title dialog: the one-line project description of the title record.
#pragma once

#include "InputDialog.h"

class QPlainTextEdit;

namespace ramvex {

class TDlgTitle : public TInputDialog {
  Q_OBJECT

 public:
  // The title record is one line of the data file, so the box keeps to one
  // line of at most this many characters.
  static constexpr int kMaxLength = 80;

  TDlgTitle(TProgramData& data, QMdiArea* area);
  QPlainTextEdit* TitleBox() const { return text_; }

 protected:
  void Load() override;
  void Store() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LimitLength();
  QPlainTextEdit* text_;
};

}  // namespace ramvex
