// Text editor option: the program that shows the run's text files.
#pragma once

#include <QString>

#include <functional>

#include "InputDialog.h"

class QLineEdit;
class QPushButton;

namespace ramvex {

class TDlgOptions : public TInputDialog {
  Q_OBJECT

 public:
  TDlgOptions(TProgramData& data, QMdiArea* area, std::function<QString()> editorPath,
              std::function<void(const QString&)> setEditorPath);

  QLineEdit* EditorBox() const { return editor_; }
  QPushButton* BrowseButton() const { return browse_; }
  // Replaceable file chooser: returns the chosen file, empty on cancel.
  std::function<QString(const QString& preset)> ChooseProgram;

 protected:
  void Load() override;
  void Store() override;

 private:
  void Browse();
  std::function<QString()> editorPath_;
  std::function<void(const QString&)> setEditorPath_;
  QLineEdit* editor_;
  QPushButton* browse_;
};

}  // namespace ramvex
