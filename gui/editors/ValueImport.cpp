#include "ValueImport.h"

#include <cmath>
#include <variant>

#include "AssignError.h"
#include "NumberText.h"
#include "Table.h"

namespace ramvex {

namespace {

bool IsNumberEnd(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r'; }

// A number written with the user's decimal separator.
bool ConvertNumber(std::string_view token, char decimalPoint, double& value) {
  std::string text(token);
  if (decimalPoint != '.') {
    if (text.find('.') != std::string::npos) return false;
    for (char& c : text) {
      if (c == decimalPoint) c = '.';
    }
  }
  if (!text.empty() && text.front() == '+') text.erase(0, 1);
  long double v = 0;
  if (ParseReal(text, v) != RealParse::Ok) return false;
  value = static_cast<double>(v);
  return std::isfinite(value);
}

// Stored value of a cell, to put back when a row cannot be filled.
using TCellValue = std::variant<std::monostate, long double, int, std::string>;

TCellValue SaveCell(const TColumn& c, int row) {
  switch (c.TypeId()) {
    case TFloatColumn::kTypeId: return c.GetFloat(row);
    case TIntColumn::kTypeId: return c.GetInt(row);
    case TStringColumn::kTypeId: return c.GetText(row);
    default: return {};
  }
}

void RestoreCell(TColumn& c, int row, const TCellValue& v) {
  if (auto* f = std::get_if<long double>(&v)) c.SetFloat(row, *f);
  if (auto* i = std::get_if<int>(&v)) c.SetInt(row, *i);
  if (auto* s = std::get_if<std::string>(&v)) c.SetText(row, *s);
}

}  // namespace

std::vector<double> NumbersOfLine(std::string_view line, char decimalPoint) {
  std::vector<double> numbers;
  size_t pos = 0;
  while (static_cast<int>(numbers.size()) < kMaxNumbersPerLine) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    size_t end = pos;
    while (end < line.size() && !IsNumberEnd(line[end])) ++end;
    double v = 0;
    if (!ConvertNumber(line.substr(pos, end - pos), decimalPoint, v)) break;
    numbers.push_back(v);
    if (end >= line.size()) break;
    pos = end + 1;
  }
  return numbers;
}

std::vector<std::string> ClipboardLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    if (c == '\r' && i + 1 == text.size()) break;
    lines.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines;
}

std::vector<std::string> FileLines(std::string_view content) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  if (lines.size() < 2) lines.clear();
  return lines;
}

TImportResult FillTableFromLines(TGridTable& table, const std::vector<std::string>& lines,
                                 const std::function<void()>& addRow, char decimalPoint) {
  TImportResult result;
  const int columns = table.VisibleColumnCount();
  if (columns == 0) return result;
  bool complete = true;
  for (const std::string& line : lines) {
    if (table.MaxRows() > 0 && result.RowsFilled >= table.MaxRows()) break;
    std::vector<double> numbers = NumbersOfLine(line, decimalPoint);
    if (static_cast<int>(numbers.size()) != columns) continue;
    const int row = result.RowsFilled;
    const bool added = row >= table.RowCount();
    if (added) addRow();
    if (row >= table.RowCount()) break;  // the table refused a further row
    std::vector<TCellValue> saved;
    for (int k = 0; k < columns; ++k) saved.push_back(SaveCell(*table.VisibleColumn(k), row));
    try {
      for (int k = 0; k < columns; ++k) table.VisibleColumn(k)->SetText(row, FormatGeneral(numbers[static_cast<size_t>(k)], 15));
    } catch (const EAssignError& e) {
      result.Error = e.what();
      if (added && table.CanDeleteRows()) {
        table.DeleteRows(row);
      } else {
        for (int k = 0; k < columns; ++k) RestoreCell(*table.VisibleColumn(k), row, saved[static_cast<size_t>(k)]);
      }
      complete = result.RowsFilled > 0;
      break;
    }
    ++result.RowsFilled;
  }
  if (complete && result.RowsFilled > 0) {
    while (table.RowCount() > result.RowsFilled && table.CanDeleteRows()) table.DeleteRows(table.RowCount() - 1);
  }
  return result;
}

}  // namespace ramvex
