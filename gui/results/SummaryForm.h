// The "Results Summary" child window: the problem table, the tieback
// forces and the engine's messages and warnings of the last run.
#pragma once

#include <QWidget>

#include "ResultsSummary.h"

class QLabel;
class QPlainTextEdit;
class QTableWidget;

namespace ramvex {

class TSummaryForm : public QWidget {
  Q_OBJECT

 public:
  TSummaryForm(const TResultsSummary& summary, QWidget* parent = nullptr);

  // Shows another run's summary (after a new run or a project opened).
  void SetSummary(const TResultsSummary& summary);

  QLabel* Heading() const { return heading_; }
  QTableWidget* ProblemGrid() const { return problems_; }
  QTableWidget* TiebackGrid() const { return tiebacks_; }
  QPlainTextEdit* Messages() const { return messages_; }

 private:
  QLabel* heading_;
  QTableWidget* problems_;
  QTableWidget* tiebacks_;
  QPlainTextEdit* messages_;
};

// Window title of the summary window.
extern const char kSummaryCaption[];

}  // namespace ramvex
