#include "ChangeLineNames.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "PlotDraw.h"

namespace ramvex {

const char kLineNeedsName[] = "The line must have a name!";

namespace {

// Enter in the edit box takes the text without closing the dialog, and
// leaving the box takes it too, whether the text changed or not.
class TCommitFilter : public QObject {
 public:
  TCommitFilter(TfrmLineNames* dialog) : QObject(dialog), dialog_(dialog) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) {
      dialog_->CommitEdit();
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        dialog_->CommitEdit();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TfrmLineNames* dialog_;
};

}  // namespace

TfrmLineNames::TfrmLineNames(QWidget* parent, TMessageSink messages)
    : QDialog(parent), messages_(std::move(messages)) {
  setWindowTitle(QStringLiteral("Legend"));
  auto* listLabel = new QLabel(QStringLiteral("Select line to modify:"), this);
  LineList = new QListWidget(this);
  LineList->setObjectName(QStringLiteral("LineList"));
  listLabel->setBuddy(LineList);
  auto* editLabel = new QLabel(QStringLiteral("Type new legend below:"), this);
  NewName = new QLineEdit(this);
  NewName->setObjectName(QStringLiteral("NewName"));
  editLabel->setBuddy(NewName);
  OK = new QPushButton(QStringLiteral("&OK"), this);
  Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  // Enter belongs to the edit box, so neither button is a default button.
  OK->setAutoDefault(false);
  Cancel->setAutoDefault(false);
  connect(OK, &QPushButton::clicked, this, [this] {
    CommitEdit();
    accept();
  });
  connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(LineList, &QListWidget::currentRowChanged, this, &TfrmLineNames::SelectRow);
  NewName->installEventFilter(new TCommitFilter(this));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OK);
  buttons->addWidget(Cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(listLabel);
  layout->addWidget(LineList, 1);
  layout->addWidget(editLabel);
  layout->addWidget(NewName);
  layout->addLayout(buttons);
  setMinimumSize(195, 167);
}

void TfrmLineNames::Load(const TGraphPlot& graph) {
  LineList->clear();
  row_ = -1;
  for (int i = 0; i < graph.CurveCount(); ++i) {
    LineList->addItem(QString::fromStdString(graph.Curve(TCurveList::Panel1, i).LegendText()));
  }
  if (LineList->count() > 0) LineList->setCurrentRow(0);
}

void TfrmLineNames::Store(TGraphPlot& graph) const {
  const std::vector<std::string> names = Names();
  for (int i = 0; i < graph.CurveCount() && i < static_cast<int>(names.size()); ++i) {
    graph.Curve(TCurveList::Panel1, i).Name = names[static_cast<size_t>(i)];
  }
}

std::vector<std::string> TfrmLineNames::Names() const {
  std::vector<std::string> names;
  for (int i = 0; i < LineList->count(); ++i) names.push_back(LineList->item(i)->text().toStdString());
  return names;
}

void TfrmLineNames::SelectRow(int row) {
  row_ = row;
  if (row < 0) {
    NewName->clear();
    return;
  }
  NewName->setText(LineList->item(row)->text());
  // The box takes the colour the curve has in the graph's colour table.
  QPalette pal = NewName->palette();
  pal.setColor(QPalette::Text, CurveQColor(row));
  NewName->setPalette(pal);
}

void TfrmLineNames::CommitEdit() {
  if (row_ < 0 || row_ >= LineList->count()) return;
  QListWidgetItem* item = LineList->item(row_);
  if (NewName->text().isEmpty()) {
    NewName->setText(item->text());
    Tell(kLineNeedsName);
    return;
  }
  item->setText(NewName->text());
}

void TfrmLineNames::Tell(const std::string& message) {
  if (messages_) {
    messages_(message);
  } else {
    QMessageBox::information(this, windowTitle(), QString::fromStdString(message));
  }
}

}  // namespace ramvex
