// "Graph Caption": the user's title of a graph and whether it stands above
// or below the graph.
#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QPushButton;

namespace ramvex {

class TGraphPlot;

class TfrmGraphCaption : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmGraphCaption(QWidget* parent = nullptr);

  // The title and its position from the graph, and back.  The graph window
  // stores the dialog however it was closed: the title has no Cancel.
  void Load(const TGraphPlot& graph);
  void Store(TGraphPlot& graph) const;

  QLineEdit* Edit1 = nullptr;
  QRadioButton* Top = nullptr;
  QRadioButton* Bottom = nullptr;
  QPushButton* OK = nullptr;
};

}  // namespace ramvex
