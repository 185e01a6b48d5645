// "Legend": edits the legend texts of every curve of a graph, included in
// the legend or not.  The texts are edited in the dialog; the graph takes
// them only when the dialog closes with OK.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "ResultGraphs.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace ramvex {

extern const char kLineNeedsName[];

class TfrmLineNames : public QDialog {
  Q_OBJECT

 public:
  // Messages go to `messages`; without one they are shown in an
  // information box.
  explicit TfrmLineNames(QWidget* parent = nullptr, TMessageSink messages = {});

  void Load(const TGraphPlot& graph);
  // Every curve's name becomes its edited text.
  void Store(TGraphPlot& graph) const;

  // The texts as edited so far, one per curve.
  std::vector<std::string> Names() const;

  // Takes the edit box's text for the selected row: refused, with a
  // message and the row's text back in the box, when it is empty.  Runs on
  // Enter and when the box loses the focus.
  void CommitEdit();

  QListWidget* LineList = nullptr;
  QLineEdit* NewName = nullptr;
  QPushButton* OK = nullptr;
  QPushButton* Cancel = nullptr;

 private:
  void SelectRow(int row);
  void Tell(const std::string& message);

  TMessageSink messages_;
  int row_ = -1;
};

}  // namespace ramvex
