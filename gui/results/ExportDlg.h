// The dialog "Export to Excel": the user picks result graphs and writes
// them to a workbook that the desktop's spreadsheet application opens.
//
// The dialog only binds the list to the rules of ExportLayout and hands the
// picked graphs to ExportGraphs; the opener, the folder and the final
// message are injectable so that the whole command runs without a display
// or a spreadsheet application.
#pragma once

#include <QDialog>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ExportLayout.h"
#include "ExportWorkbook.h"
#include "ResultGraphs.h"

class QListWidget;
class QPushButton;

namespace ramvex {

class TExportDlg : public QDialog {
 public:
  explicit TExportDlg(TResultGraphs& graphs, QWidget* parent = nullptr);

  // The main window's base condition for its graph commands: results were
  // read and the plot file still exists.  Unset, it is taken as "a graph of
  // the list has data".
  std::function<bool()> ResultsReady;
  // Receives the final message (an information box unless replaced).
  TMessageSink Message;
  // Opens the written workbook (the desktop's spreadsheet application
  // unless replaced).
  TWorkbookOpener Open;
  // Folder of the workbook; empty means the user's temporary folder.
  std::filesystem::path WorkbookFolder;

  // Refills the list from the graphs and their commands; runs whenever the
  // dialog is shown.
  void FormActivate();
  // The list as shown.
  std::vector<TExportItem> Items() const;
  // Checks or unchecks entry i as a click would.
  void SetChecked(int i, bool checked);
  // "Generate Excel File" is enabled while an entry is checked.
  void CheckGenerateBtn();
  // Writes the checked graphs; returns what happened.
  TExportOutcome Generate();

  QListWidget* CheckListBoxPlots = nullptr;
  QPushButton* SelectAllButton = nullptr;
  QPushButton* UnselectAllButton = nullptr;
  QPushButton* GenerateButton = nullptr;
  QPushButton* CloseButton = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowItems(const std::vector<TExportItem>& items);
  void SetAll(bool checked);

  TResultGraphs& graphs_;
  // Set while the list is refilled, so that the item signals do not run
  // the button update for every half-built row.
  bool filling_ = false;
};

}  // namespace ramvex
