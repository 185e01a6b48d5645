// "Save Attributes": the size of a saved graph in inches, its resolution
// and the colour depth of a bitmap.
#pragma once

#include <QDialog>

#include <array>

#include "GraphSave.h"

class QRadioButton;
class QPushButton;

namespace ramvex {

class TDataEdit;

class TdlgFormat : public QDialog {
  Q_OBJECT

 public:
  // Entry messages go to `messages`; without one the fields show them in
  // information boxes.
  explicit TdlgFormat(QWidget* parent = nullptr, TMessageSink messages = {});

  void Load(const TBitmapAttributes& attributes);
  // The fields as entered; call after the dialog closed with OK.
  void Store(TBitmapAttributes& attributes) const;

  // OK: the fields are checked first; the dialog stays open on a bad
  // entry.
  void OKClick();

  TDataEdit* Height = nullptr;
  TDataEdit* Width = nullptr;
  TDataEdit* PixelsPerInch = nullptr;
  // In the order of TColorDepth.
  std::array<QRadioButton*, 5> Colors{};
  QPushButton* OK = nullptr;
  QPushButton* Cancel = nullptr;
};

}  // namespace ramvex
