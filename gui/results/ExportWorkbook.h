// The plot workbook: an index sheet "Legend", then per graph a data sheet
// with the curves' points and a chart sheet with an XY-scatter chart of
// them.  The workbook is written to a file of its own in the user's
// temporary folder and handed to the desktop's spreadsheet application; the
// program keeps nothing of it.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ExportLayout.h"

namespace ramvex {

// Result of writing one workbook.
struct TWorkbookResult {
  // The file holds a readable workbook (complete, or up to the graph that
  // failed).
  bool Written = false;
  // Empty when every graph was written; else why writing stopped.
  std::string Error;
  // Entry number of the graph being written when writing stopped, 0 if none.
  int FailedGraph = 0;
  // Final status of each graph on the index sheet, in export order.
  std::vector<std::string> Status;
  // Where each graph landed.
  std::vector<TSheetLayout> Layouts;
};

// Writes the workbook for these graphs, in this order, to `file`.
// Numbers go into the cells as numbers, whatever the user's locale.
TWorkbookResult WriteWorkbook(const std::filesystem::path& file, const std::vector<const TGraphPlot*>& graphs);

// Opens a written workbook with the desktop's spreadsheet application;
// false when nothing could be started to open it.
using TWorkbookOpener = std::function<bool(const std::filesystem::path&)>;

// The desktop's opener (needs a running GUI application).
bool OpenWithDesktop(const std::filesystem::path& file);

// Outcome of "Generate Excel File".
struct TExportOutcome {
  std::filesystem::path File;  // empty when no file could be made
  TWorkbookResult Workbook;
  bool Opened = false;
  // The final message for the user.
  std::string Message;
};

// Writes the workbook to a new file in `folder` (the user's temporary
// folder when empty), opens it with `open` and composes the final message.
// Never throws for a folder or file that cannot be written: the message
// says what went wrong.
TExportOutcome ExportGraphs(const std::vector<const TGraphPlot*>& graphs, const std::filesystem::path& folder,
                            const TWorkbookOpener& open);

extern const char kExportCompleted[];
extern const char kSaveReminder[];

}  // namespace ramvex
