// The project's input as tables for the calculation report: the wall and
// analysis settings, the options, and every input table the options bring
// into the analysis, with nested tables (soil parameters, curve points) as
// tables of their own.  Plain data, so the report's pages can be laid out
// and tested without painting.
#pragma once

#include <string>
#include <vector>

namespace ramvex {

class TProgramData;
class TGridTable;

struct TEchoTable {
  std::string Caption;
  std::vector<std::string> Heading;
  std::vector<std::vector<std::string>> Rows;
};

// The input of the project's current stage (the whole project when it has
// no stages).
std::vector<TEchoTable> EchoInput(const TProgramData& project);

// One table: the visible columns, each heading's lines joined, the cells
// as the editor shows them; a nested-table cell reads "table below" and its
// table follows, captioned with the editor's title.
void EchoTable(const TGridTable& table, std::vector<TEchoTable>& out);

}  // namespace ramvex
