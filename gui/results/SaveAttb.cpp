#include "SaveAttb.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

#include "DataEdit.h"

namespace ramvex {

TdlgFormat::TdlgFormat(QWidget* parent, TMessageSink messages) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Save Attributes"));
  auto field = [&](const char* name, const char* caption, long double min, bool integer) {
    auto* edit = new TDataEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    auto* label = new QLabel(this);
    edit->SetIntegerOnly(integer);
    edit->SetMinVal(min);
    edit->SetCaption(QString::fromLatin1(caption));
    edit->SetEditLabel(label);
    if (messages) {
      edit->SetNotifier([messages](QWidget*, const QString& text) { messages(text.toStdString()); });
    }
    return std::pair{label, edit};
  };
  auto [heightLabel, height] = field("Height", "&Height (in)", kMinBitmapInches, false);
  auto [widthLabel, width] = field("Width", "&Width (in)", kMinBitmapInches, false);
  auto [ppiLabel, ppi] = field("PixelsPerInch", "&Pixels Per Inch", kMinPixelsPerInch, true);
  Height = height;
  Width = width;
  PixelsPerInch = ppi;

  auto* group = new QGroupBox(QStringLiteral("Colors"), this);
  auto* groupLayout = new QVBoxLayout(group);
  const char* colours[] = {"Black and White", "16 Colors", "256 Colors", "High Color (16 bit)",
                           "True Color (24 bit)"};
  for (size_t i = 0; i < Colors.size(); ++i) {
    Colors[i] = new QRadioButton(QString::fromLatin1(colours[i]), group);
    groupLayout->addWidget(Colors[i]);
  }

  OK = new QPushButton(QStringLiteral("&OK"), this);
  Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  OK->setAutoDefault(false);
  Cancel->setAutoDefault(false);
  connect(OK, &QPushButton::clicked, this, &TdlgFormat::OKClick);
  connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* fields = new QFormLayout;
  fields->addRow(heightLabel, Height);
  fields->addRow(widthLabel, Width);
  fields->addRow(ppiLabel, PixelsPerInch);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OK);
  buttons->addWidget(Cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(group);
  layout->addLayout(buttons);
  Load(TBitmapAttributes{});
}

void TdlgFormat::Load(const TBitmapAttributes& a) {
  Height->SetNumber(a.HeightIn);
  Width->SetNumber(a.WidthIn);
  PixelsPerInch->SetNumber(a.PixelsPerInch);
  Colors[static_cast<size_t>(a.Colors)]->setChecked(true);
}

void TdlgFormat::Store(TBitmapAttributes& a) const {
  a.HeightIn = Height->Number();
  a.WidthIn = Width->Number();
  // The field accepts whole numbers only; the range keeps the cast safe.
  const long double ppi = PixelsPerInch->Number();
  a.PixelsPerInch = ppi > 1e9L ? 1000000000 : static_cast<int>(std::lround(ppi));
  for (size_t i = 0; i < Colors.size(); ++i) {
    if (Colors[i]->isChecked()) a.Colors = static_cast<TColorDepth>(i);
  }
}

void TdlgFormat::OKClick() {
  for (TDataEdit* field : {Height, Width, PixelsPerInch}) {
    if (!field->CheckEntry()) return;
  }
  accept();
}

}  // namespace ramvex
