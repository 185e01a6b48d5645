#include "ExportDlg.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace ramvex {

TExportDlg::TExportDlg(TResultGraphs& graphs, QWidget* parent) : QDialog(parent), graphs_(graphs) {
  setWindowTitle("Export to Excel");
  setModal(true);

  auto* group = new QGroupBox("Available Plots", this);
  CheckListBoxPlots = new QListWidget(group);
  CheckListBoxPlots->setObjectName("CheckListBoxPlots");
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(CheckListBoxPlots);

  SelectAllButton = new QPushButton("Select All", this);
  UnselectAllButton = new QPushButton("Unselect All", this);
  GenerateButton = new QPushButton("Generate Excel File", this);
  CloseButton = new QPushButton("Close Window", this);
  GenerateButton->setDefault(true);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {SelectAllButton, UnselectAllButton, GenerateButton, CloseButton}) buttons->addWidget(b);
  buttons->addStretch();

  auto* top = new QHBoxLayout;
  top->addWidget(group, 1);
  top->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  for (const char* note : {"An Excel instance (if available) will open. ",
                           "Please wait until all the data has been exported to Excel.",
                           "Please note that you need to save the excel file afterwards."}) {
    auto* label = new QLabel(note, this);
    label->setWordWrap(true);
    layout->addWidget(label);
  }

  connect(CheckListBoxPlots, &QListWidget::itemChanged, this, [this] {
    if (!filling_) CheckGenerateBtn();
  });
  connect(SelectAllButton, &QPushButton::clicked, this, [this] { SetAll(true); });
  connect(UnselectAllButton, &QPushButton::clicked, this, [this] { SetAll(false); });
  connect(GenerateButton, &QPushButton::clicked, this, [this] { Generate(); });
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

  FormActivate();
}

void TExportDlg::showEvent(QShowEvent* event) {
  // The graph commands may have changed since the last use: a run, a new
  // project.  The check marks follow them afresh each time.
  FormActivate();
  QDialog::showEvent(event);
}

void TExportDlg::FormActivate() {
  bool ready = false;
  if (ResultsReady) {
    ready = ResultsReady();
  } else {
    for (const TExportEntry& e : ExportEntries(graphs_)) ready = ready || e.Graph->HasData();
  }
  ShowItems(ExportItems(graphs_, ready));
}

void TExportDlg::ShowItems(const std::vector<TExportItem>& items) {
  filling_ = true;
  CheckListBoxPlots->clear();
  for (const TExportItem& i : items) {
    auto* item = new QListWidgetItem(QString::fromStdString(i.Caption), CheckListBoxPlots);
    Qt::ItemFlags flags = Qt::ItemIsUserCheckable;
    if (i.Enabled) flags |= Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    item->setFlags(flags);
    item->setCheckState(i.Checked ? Qt::Checked : Qt::Unchecked);
  }
  filling_ = false;
  CheckGenerateBtn();
}

std::vector<TExportItem> TExportDlg::Items() const {
  std::vector<TExportItem> items;
  for (int i = 0; i < CheckListBoxPlots->count(); ++i) {
    const QListWidgetItem* item = CheckListBoxPlots->item(i);
    items.push_back({item->text().toStdString(), (item->flags() & Qt::ItemIsEnabled) != 0,
                     item->checkState() == Qt::Checked});
  }
  return items;
}

void TExportDlg::SetChecked(int i, bool checked) {
  QListWidgetItem* item = CheckListBoxPlots->item(i);
  // A disabled entry cannot be clicked.
  if (item && (item->flags() & Qt::ItemIsEnabled)) item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TExportDlg::CheckGenerateBtn() { GenerateButton->setEnabled(CheckedCount(Items()) > 0); }

void TExportDlg::SetAll(bool checked) {
  std::vector<TExportItem> items = Items();
  SetAllChecked(items, checked);
  ShowItems(items);
}

TExportOutcome TExportDlg::Generate() {
  std::vector<const TGraphPlot*> picked;
  const std::vector<TExportItem> items = Items();
  const auto entries = ExportEntries(graphs_);
  for (size_t i = 0; i < items.size() && i < entries.size(); ++i) {
    if (items[i].Checked) picked.push_back(entries[i].Graph);
  }
  if (picked.empty()) return {};

  QApplication::setOverrideCursor(Qt::WaitCursor);
  TExportOutcome out = ExportGraphs(picked, WorkbookFolder, Open ? Open : TWorkbookOpener(OpenWithDesktop));
  QApplication::restoreOverrideCursor();

  if (Message) {
    Message(out.Message);
  } else {
    QMessageBox::information(this, windowTitle(), QString::fromStdString(out.Message));
  }
  return out;
}

}  // namespace ramvex
