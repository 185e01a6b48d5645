// Editor window of a curve table: the grid editor with a chart of the curve
// above the grid and, for tables that ask for it, commands that fill the
// table from a text file or from text on the clipboard.
#pragma once

#include <QWidget>

#include <functional>

#include "ChartPreview.h"
#include "TableForm.h"

class QLineEdit;

namespace ramvex {

// Starts a program with its arguments as a separate process; false when it
// could not be started.  Replaceable so that tests start nothing.
using TProcessStarter = std::function<bool(const QString& program, const QStringList& arguments)>;
void SetProcessStarter(TProcessStarter starter);

// Command of the text editor that shows a data file: the configured one, or
// the desktop's opener of text files.
QString TextEditorCommand();

class TChartView : public QWidget {
 public:
  explicit TChartView(QWidget* parent = nullptr);
  void SetModel(TChartModel model);
  const TChartModel& Model() const { return model_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TChartModel model_;
};

class TTableChartForm : public TTableForm {
  Q_OBJECT

 public:
  TTableChartForm(TGridTableChart& table, bool modal, QWidget* parent = nullptr);

  TChartView* Chart() const { return chart_; }
  QLineEdit* FileName() const { return fileName_; }
  QPushButton* BrowseButton() const { return browse_; }
  QPushButton* ViewFileButton() const { return viewFile_; }
  QPushButton* ReadFileButton() const { return readFile_; }
  QPushButton* PasteButton() const { return paste_; }

  void BrowseClick();
  void ViewFileClick();
  void ReadFileClick();
  void PasteClick();
  // Redraws the chart from the table.
  void UpdateChart();

 protected:
  int GridTop() const override;
  int LayoutBelowButtons(int y, int& right) override;
  void TableRedrawn() override;
  int MaxInitialRows() const override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void UpdateFileButtons();
  void Import(const std::vector<std::string>& lines);
  TGridTableChart* ChartTable() const;

  // Fixed by the table's definition when the window opens.
  bool chartShown_;
  bool fromFile_;
  bool okCancel_;
  TChartView* chart_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* fileLabel_ = nullptr;
  QLineEdit* fileName_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* viewFile_ = nullptr;
  QPushButton* readFile_ = nullptr;
  QPushButton* paste_ = nullptr;
};

}  // namespace ramvex
