#include "Caption.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "PltData.h"

namespace ramvex {

TfrmGraphCaption::TfrmGraphCaption(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Graph Caption"));
  auto* label = new QLabel(QStringLiteral("Enter Graph Caption"), this);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  label->setBuddy(Edit1);
  auto* group = new QGroupBox(QStringLiteral("Caption Location"), this);
  Top = new QRadioButton(QStringLiteral("Top"), group);
  Bottom = new QRadioButton(QStringLiteral("Bottom"), group);
  auto* groupLayout = new QHBoxLayout(group);
  groupLayout->addWidget(Top);
  groupLayout->addWidget(Bottom);
  OK = new QPushButton(QStringLiteral("&OK"), this);
  OK->setDefault(true);
  connect(OK, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(Edit1);
  layout->addWidget(group);
  layout->addWidget(OK, 0, Qt::AlignHCenter);
  Edit1->setMinimumWidth(260);
}

void TfrmGraphCaption::Load(const TGraphPlot& graph) {
  Edit1->setText(QString::fromStdString(graph.UserTitle));
  (graph.TitleOnTop ? Top : Bottom)->setChecked(true);
}

void TfrmGraphCaption::Store(TGraphPlot& graph) const {
  graph.UserTitle = Edit1->text().toStdString();
  graph.TitleOnTop = Top->isChecked();
}

}  // namespace ramvex
