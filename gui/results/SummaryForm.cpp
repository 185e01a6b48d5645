#include "SummaryForm.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include <sstream>

namespace ramvex {

const char kSummaryCaption[] = "Results Summary";

namespace {

// Heading and unit line together in each column's header, as the text
// summary prints them on two lines.
void Fill(QTableWidget* grid, const TTextTable& table) {
  grid->clear();
  grid->setColumnCount(static_cast<int>(table.Heading.size()));
  grid->setRowCount(static_cast<int>(table.Rows.size()));
  QStringList headers;
  for (size_t c = 0; c < table.Heading.size(); ++c) {
    QString h = QString::fromStdString(table.Heading[c]);
    if (c < table.Units.size() && !table.Units[c].empty()) h += "\n(" + QString::fromStdString(table.Units[c]) + ")";
    headers << h;
  }
  grid->setHorizontalHeaderLabels(headers);
  for (size_t r = 0; r < table.Rows.size(); ++r) {
    for (size_t c = 0; c < table.Rows[r].size(); ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(table.Rows[r][c]));
      item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
      item->setTextAlignment((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      grid->setItem(static_cast<int>(r), static_cast<int>(c), item);
    }
  }
  grid->resizeColumnsToContents();
}

QString MessagesText(const TResultsSummary& s) {
  std::ostringstream out;
  for (const TProblemSummary& p : s.Problems) {
    if (!p.Message.empty()) out << p.Name << ": " << p.Message << '\n';
    for (const std::string& w : p.Warnings) out << p.Name << ": warning: " << w << '\n';
  }
  if (s.ReportRead && !s.RunClosed) out << "The run ended before \"END OF ANALYSIS\": the engine stopped early.\n";
  if (!s.ReportRead) out << "The report cannot be read: there are no results.\n";
  const std::string text = out.str();
  return text.empty() ? QStringLiteral("The engine reported no errors and no warnings.") : QString::fromStdString(text);
}

}  // namespace

TSummaryForm::TSummaryForm(const TResultsSummary& summary, QWidget* parent)
    : QWidget(parent),
      heading_(new QLabel(this)),
      problems_(new QTableWidget(this)),
      tiebacks_(new QTableWidget(this)),
      messages_(new QPlainTextEdit(this)) {
  setWindowTitle(kSummaryCaption);
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto* layout = new QVBoxLayout(this);
  for (QTableWidget* grid : {problems_, tiebacks_}) {
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
  }
  messages_->setReadOnly(true);
  layout->addWidget(heading_);
  layout->addWidget(problems_, 3);
  layout->addWidget(tiebacks_, 1);
  layout->addWidget(messages_, 1);
  SetSummary(summary);
}

void TSummaryForm::SetSummary(const TResultsSummary& summary) {
  const char* units = summary.Units == 1 ? "US customary" : summary.Units == 2 ? "SI" : "other units";
  heading_->setText(QString::fromStdString(summary.Title) + QStringLiteral("  (units: ") + units + ")");
  Fill(problems_, ProblemTable(summary));
  const TTextTable tiebacks = TiebackTable(summary);
  Fill(tiebacks_, tiebacks);
  tiebacks_->setVisible(!tiebacks.Rows.empty());
  messages_->setPlainText(MessagesText(summary));
}

}  // namespace ramvex
