// How the rest of the program opens the editor windows of the input tables.
// The main window and the input dialogs see only these functions; the editor
// classes stay private to this library.
#pragma once

class QMdiArea;
class QWidget;

namespace ramvex {

class TGridTable;

// A child window that holds an entry the user may still be typing.  The main
// window asks the active child to take it over before any command runs, so
// nothing typed is lost.  Returns false when the entry is invalid; the window
// has then told the user and keeps the entry for correction.
class TCommitTarget {
 public:
  virtual ~TCommitTarget() = default;
  virtual bool CommitEdit() = 0;
};

// Shows the editor of table as a child window of area, creating it when none
// is open and bringing the open one to the front otherwise.  Does nothing for
// a table without visible columns and then returns nullptr.
QWidget* ShowEditor(TGridTable& table, QMdiArea* area);

// Shows the editor of table modally over parent and returns when it closes.
void ShowEditorModal(TGridTable& table, QWidget* parent);

// Closes the open editor of table and those of its nested tables.
void HideEditor(TGridTable& table);

}  // namespace ramvex
