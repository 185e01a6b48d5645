// "Active Curves": which curves of a graph are included in its legend and
// may be drawn.  The choice is made in the dialog's list; the graph takes
// it only when the dialog closes with OK.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace ramvex {

class TGraphPlot;

// Row text of the list: the state, three blanks, the legend text.
extern const char kActiveYes[];
extern const char kActiveNo[];
std::string ActiveRowText(bool active, const std::string& legendText);

class TfrmActiveLines : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmActiveLines(QWidget* parent = nullptr);

  void Load(const TGraphPlot& graph);
  // Every curve's included flag takes its row's state.
  void Store(TGraphPlot& graph) const;

  // State of every row as it stands.
  std::vector<bool> States() const;

  void ActivateAllClick();
  void DeactivateAllClick();
  // Toggles the selected rows.
  void ToggleSelectedClick();

  QListWidget* CurveList = nullptr;
  QPushButton* ActivateAll = nullptr;
  QPushButton* DeactivateAll = nullptr;
  QPushButton* ToggleSelected = nullptr;
  QPushButton* OK = nullptr;
  QPushButton* Cancel = nullptr;

 private:
  void SetState(int row, bool active);
  void Toggle(QListWidgetItem* item);

  std::vector<std::string> texts_;
  std::vector<bool> states_;
};

}  // namespace ramvex
