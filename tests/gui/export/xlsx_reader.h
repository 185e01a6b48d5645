// Reads a written workbook back for the tests.  An .xlsx is a zip archive
// of XML parts; this reader unpacks it with zlib and reads the parts the
// plot workbook uses: the sheet list, cell values and styles, links, column
// widths and the charts.  It is written from the file format alone, apart
// from the writer, so it checks what a spreadsheet application would see.
#pragma once

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace ramvex::test {

// Every part of a zip archive by its name; throws std::runtime_error on a
// damaged archive.
std::map<std::string, std::string> ReadZip(const std::filesystem::path& file);

struct XlsxCell {
  std::string Text;     // the value as written in the file, or the shared string
  bool Number = false;  // a numeric cell
  int Style = 0;        // index into the cell formats
  double Value() const { return std::stod(Text); }
};

struct XlsxSeries {
  std::string Name;  // a literal name, or the formula it refers to
  std::string XValues, YValues;  // formulas as stored (no leading "=")
};

struct XlsxAxis {
  std::string Position;     // "b", "l", "t", "r"
  std::string Orientation;  // "minMax", or "maxMin" when reversed
  std::string Title;
  bool MajorGridlines = false;
  std::string Labels;  // position of the tick labels: "nextTo", "low", "high"
};

struct XlsxChart {
  std::string Type;         // element name of the plot, "scatterChart"
  std::string ScatterStyle;
  bool TitleDeleted = false;
  std::vector<XlsxSeries> Series;
  std::vector<XlsxAxis> Axes;  // in file order: X, then Y
};

struct XlsxSheet {
  std::string Name;
  bool IsChart = false;
  std::map<std::string, XlsxCell> Cells;     // by reference, "B2"
  std::map<std::string, std::string> Links;  // cell -> location inside the workbook
  std::map<int, double> Widths;              // 1-based column -> width
  XlsxChart Chart;                           // of a chart sheet

  bool Has(const std::string& ref) const { return Cells.count(ref) > 0; }
  const XlsxCell& Cell(const std::string& ref) const;
};

struct XlsxFormat {
  bool Bold = false;
  std::string VerticalAlignment;
};

class Xlsx {
 public:
  explicit Xlsx(const std::filesystem::path& file);

  std::vector<XlsxSheet> Sheets;  // in workbook order
  std::vector<XlsxFormat> Formats;
  std::map<std::string, std::string> Parts;

  std::vector<std::string> Names() const;
  const XlsxSheet& Sheet(const std::string& name) const;
};

}  // namespace ramvex::test
