// The main window: a multiple-document frame that owns the input tables and
// the project, carries every command in its menus and tool bar, and hosts
// the table editors, input dialogs, graphs and views as child windows.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>

#include "DefinedTables.h"
#include "MainCommands.h"
#include "MainFiles.h"
#include "ProgramData.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace ramvex {

class TDlgStage;
class TInputDialog;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  TProgramData& Data() { return *data_; }
  TProjectTables& Tables() { return *tables_; }
  QMdiArea* MdiArea() const { return mdi_; }
  QAction* Action(TCommand command) const { return actions_[static_cast<size_t>(command)]; }
  QMenu* Menu(const QString& title) const;
  QString StatusText() const;

  // Settings of the current user: the text editor and the recent files.
  // Read once at start; written when the recent list changes and on close.
  void ReadSettings();
  void UpdateRegistry();
  QString EditorPath() const { return editorPath_; }
  void SetEditorPath(const QString& path) { editorPath_ = path; }
  const TRecentFiles& RecentFiles() const { return recent_; }
  void UpdatePrevFile(const QString& path);

  // The file named on the command line, or a new project when there is
  // none or it does not exist.  No message and no change of the recent list.
  void OpenStartFile(const QString& argument);
  // Opens a project: version 0 by the extension, 1 to 4 that version.
  void OpenFileName(const QString& path, int version);
  // Files dropped on the window: the first one is opened.
  void OpenDroppedFiles(const QList<QUrl>& urls);
  void FileNew();
  void FileOpen();
  // Save and Save As; false when nothing was written (cancelled or failed).
  bool FileSave();
  bool FileSaveAs();
  // Whether the calling command may go on; asks to save a modified project.
  bool AskSaveChanges();
  bool IsModified() const;
  void SetModified(bool modified);

  void CloseChildWindows();
  // Lets the active child window take over an entry still being edited;
  // false when the entry is invalid and the window keeps the user there.
  bool CommitActiveWindow();

  // Result of the last read of a plot data file.
  bool ResultsAvailable = false;
  // Every command's enabled, checked and visible state from the project.
  void UpdateCommands();
  void UpdateResultCommands() { UpdateCommands(); }
  void UpdateStageButtons() { UpdateCommands(); }
  void UpdateLongTermCommands() { UpdateCommands(); }
  TMainState CurrentState() const;

  void Open3DView();
  void Close3DView();

  // The open instance of an input dialog (title, wall properties, wall
  // configuration, surcharge, concentrated loads, tieback, springs, text
  // editor option), by the command that opens it; null when not open.
  TInputDialog* InputDialog(TCommand command) const;
  // The staged-construction dialog: modal from the Options menu, a window
  // of its own from the tool bar.
  void ShowStageDialog(bool modal);
  TDlgStage* StageDialog() const;

  // Hooks of the analysis run and the results; a command whose hook is unset
  // does nothing.
  std::function<void()> OnRunAnalysis;
  std::function<bool(const QString& plotFile)> ReadPlotFile;
  std::function<bool(TGraph)> GraphHasData;
  std::function<void(TGraph)> OnShowGraph;
  std::function<void()> OnShowSoilProfile;
  std::function<void()> OnExportExcel;
  std::function<void()> OnShowSummary;
  std::function<void()> OnCalcReport;
  std::function<void()> OnDesignCheck;
  std::function<void()> OnOpen3DView;
  std::function<void(int subject)> On3DSwitch;
  std::function<bool(int subject)> View3DSwitchState;
  std::function<void(int mode, bool zoomWindow)> On3DMouseMode;
  std::function<void(double factor)> On3DZoom;
  std::function<void()> On3DRestartView;
  std::function<void()> On3DDeformedShape;

  // The user's side of the window, replaceable so that commands run without
  // a user.  Ask returns the button chosen.
  std::function<QMessageBox::StandardButton(const QString& text, QMessageBox::StandardButtons buttons)> Ask;
  std::function<void(const QString& text)> Inform;
  std::function<void(const QString& text)> Warn;
  // Open dialog: the chosen file and the position (from 1) of the chosen
  // filter; false on cancel.
  std::function<bool(QString& path, int& filter)> ChooseOpenFile;
  // Save As dialog: the chosen file, empty on cancel.
  std::function<QString(const QString& proposal, const QString& title)> ChooseSaveFile;
  std::function<bool(const QString& program, const QString& file)> StartProcess;
  std::function<bool(const QUrl& url)> OpenUrl;

  // Address of the product's update page.
  static const char kUpdateAddress[];

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  QAction* Add(TCommand command, const QString& caption, const QString& hint = {}, bool checkable = false);
  // Connects a command: the active child commits its entry first, and the
  // command states are brought up to date after.
  void On(TCommand command, std::function<void()> handler);
  void MenuOpening(QMenu* menu, bool commit);
  void FillFileMenu();
  void FillWindowMenu();

  void SetCaption();
  void ShowStageState();
  void RefreshDialogs();
  void ReadResults();
  template <class T, class Make>
  void ShowDialog(QPointer<T>& instance, Make make);
  void ShowTable(TGridTable& table);
  void ToggleOption(bool TProgramData::*flag, TGridTable* table);
  void SetUnits(int system);
  void SetEarthPressureMode(int mode);
  bool ApplyStageCount(int count);
  void SwitchStage(int stage);
  void CopyPreviousStage();
  void EditTextFile(const QString& path);
  void OpenHelpFile(const QString& name);
  void ArrangeIcons();
  void SubWindowActivated(QMdiSubWindow* window);
  void Report(const std::exception& e);

  std::unique_ptr<TProjectTables> tables_;
  std::unique_ptr<TProgramData> data_;
  QMdiArea* mdi_;
  QLabel* status_;
  std::array<QAction*, kCommandCount> actions_{};
  std::array<QAction*, TRecentFiles::kSize> recentActions_{};
  QAction* recentSeparator_ = nullptr;
  QAction* windowSeparator_ = nullptr;
  std::array<QAction*, 50> windowActions_{};
  std::array<QPointer<QMdiSubWindow>, 50> windowEntries_{};
  QMenu* fileMenu_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  QString editorPath_;
  TRecentFiles recent_;
  bool view3DOpen_ = false;
  int view3DMouseMode_ = 3;
  QPointer<QMdiSubWindow> lastActive_;
  bool reactivating_ = false;

  QPointer<TInputDialog> title_, prop_, csd_, rebar_, conLoads_, inc_, spring_, options_;
  QPointer<TDlgStage> stage_;
};

}  // namespace ramvex
