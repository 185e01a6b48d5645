// Filling a table from text: a file of columns of numbers, or text copied
// to the clipboard from a spreadsheet or another program.  Lines that do not
// hold exactly one number per column (headings, blank lines, notes) are
// passed over, so a file can carry its own description.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ramvex {

class TGridTable;

// At most this many numbers are taken from one line.
constexpr int kMaxNumbersPerLine = 15;

// Numbers of one line: leading blanks and tabs are skipped; a number ends
// at a blank, tab, comma or carriage return; conversion stops at the first
// text that is not a number, at the end of the line or after 15 numbers.
// decimalPoint is the separator the user's numbers are written with.
std::vector<double> NumbersOfLine(std::string_view line, char decimalPoint = '.');

// Lines of clipboard text.  A line is taken when a line break follows it;
// the text after the last break is not read (it may be a row cut off by the
// selection).  Breaks are CR LF, CR or LF; a lone CR that ends the text does
// not count, so a selection ending in it is read as if cut off there.
std::vector<std::string> ClipboardLines(std::string_view text);

// Lines of a text file.  A file holding a single line fills no row: such a
// file is a heading without data.
std::vector<std::string> FileLines(std::string_view content);

// Result of filling a table.
struct TImportResult {
  int RowsFilled = 0;
  // Entry error of a value, empty when every value was accepted.
  std::string Error;
};

// Fills table rows 0, 1, ... from the lines that hold one number per visible
// column, each number entered as text as if typed (so it is checked like a
// typed entry).  addRow adds a row at the end the way the editor's Add Row
// command does.  Stops at MaxRows (when it is above 0).  When every line
// was read and at least one was used, the rows after the last filled row
// are deleted, as far as MinRows allows, so the table holds exactly the
// rows read.  An entry error stops the reading: the rows filled before it
// stay, the faulty row keeps its previous values.
TImportResult FillTableFromLines(TGridTable& table, const std::vector<std::string>& lines,
                                 const std::function<void()>& addRow, char decimalPoint = '.');

}  // namespace ramvex
