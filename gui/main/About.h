// About box.
#pragma once

#include <QDialog>

namespace ramvex {

class TDlgAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TDlgAbout(QWidget* parent = nullptr);
};

}  // namespace ramvex
