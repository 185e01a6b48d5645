#include "Options.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ramvex {

TDlgOptions::TDlgOptions(TProgramData& data, QMdiArea* area, std::function<QString()> editorPath,
                         std::function<void(const QString&)> setEditorPath)
    : TInputDialog(data, area, QStringLiteral("Control Options")),
      editorPath_(std::move(editorPath)),
      setEditorPath_(std::move(setEditorPath)) {
  auto* grid = new QGridLayout(this);
  auto* label = new QLabel(QStringLiteral("&Text Editor:"), this);
  editor_ = new QLineEdit(this);
  editor_->setMinimumWidth(300);
  label->setBuddy(editor_);
  browse_ = new QPushButton(QStringLiteral("&Browse..."), this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(editor_, 0, 1);
  grid->addWidget(browse_, 0, 2);
  grid->setRowStretch(1, 1);
  connect(browse_, &QPushButton::clicked, this, &TDlgOptions::Browse);
  ChooseProgram = [this](const QString& preset) {
    return QFileDialog::getOpenFileName(this, QStringLiteral("Text Editor"), preset,
                                        QStringLiteral("Programs (*);;All Files (*)"));
  };
}

void TDlgOptions::Browse() {
  QString chosen = ChooseProgram ? ChooseProgram(editor_->text()) : QString();
  if (!chosen.isEmpty()) editor_->setText(chosen);
}

void TDlgOptions::Load() { editor_->setText(editorPath_()); }

void TDlgOptions::Store() { setEditorPath_(editor_->text().trimmed()); }

}  // namespace ramvex
