#include "About.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Icons.h"
#include "MainFiles.h"

namespace ramvex {

TDlgAbout::TDlgAbout(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About RamVex"));
  setModal(true);
  auto* layout = new QHBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setPixmap(ApplicationIcon().pixmap(64, 64));
  picture->setAlignment(Qt::AlignTop);
  layout->addWidget(picture);
  auto* text = new QVBoxLayout;
  auto* name = new QLabel(QStringLiteral("RamVex"), this);
  QFont f = name->font();
  f.setPointSizeF(f.pointSizeF() * 1.8);
  f.setBold(true);
  name->setFont(f);
  text->addWidget(name);
  text->addWidget(new QLabel(QStringLiteral("Version ") + QLatin1String(kVersionString), this));
  text->addWidget(new QLabel(QStringLiteral("A program for the analysis of flexible retaining structures"), this));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  text->addSpacing(12);
  text->addLayout(buttons);
  layout->addLayout(text);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace ramvex
