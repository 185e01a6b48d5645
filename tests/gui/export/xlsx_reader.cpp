#include "xlsx_reader.h"

#include <zlib.h>

#include <QXmlStreamReader>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace ramvex::test {

namespace {

uint32_t U16(const std::string& s, size_t at) {
  if (at + 2 > s.size()) throw std::runtime_error("zip: truncated record");
  return static_cast<uint32_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8);
}
uint32_t U32(const std::string& s, size_t at) { return U16(s, at) | U16(s, at + 2) << 16; }

std::string Inflate(const std::string& packed, size_t size) {
  std::string out(size, '\0');
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw std::runtime_error("zip: inflateInit failed");
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  z.avail_in = static_cast<uInt>(packed.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  if (rc != Z_STREAM_END || z.total_out != size) throw std::runtime_error("zip: damaged deflate stream");
  return out;
}

// "xl/chartsheets" + "../drawings/drawing1.xml" -> "xl/drawings/drawing1.xml"
std::string Resolve(const std::string& dir, const std::string& target) {
  if (!target.empty() && target[0] == '/') return target.substr(1);
  std::vector<std::string> parts;
  std::stringstream both(dir + "/" + target);
  for (std::string p; std::getline(both, p, '/');) {
    if (p.empty() || p == ".") continue;
    if (p == "..") {
      if (!parts.empty()) parts.pop_back();
    } else {
      parts.push_back(p);
    }
  }
  std::string path;
  for (const std::string& p : parts) path += (path.empty() ? "" : "/") + p;
  return path;
}

std::string Dir(const std::string& part) { return part.substr(0, part.rfind('/')); }
std::string RelsOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  return part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels";
}

// Walks the elements of an XML part; the visitor gets the reader positioned
// on each start element.
void Walk(const std::string& xml, const std::function<void(QXmlStreamReader&)>& visit) {
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  while (!r.atEnd()) {
    if (r.readNext() == QXmlStreamReader::StartElement) visit(r);
  }
  if (r.hasError()) throw std::runtime_error("xml: " + r.errorString().toStdString());
}

std::string Attr(QXmlStreamReader& r, const char* name) { return r.attributes().value(name).toString().toStdString(); }
std::string RelId(QXmlStreamReader& r) {
  for (const QXmlStreamAttribute& a : r.attributes()) {
    if (a.name() == QLatin1String("id")) return a.value().toString().toStdString();
  }
  return {};
}

std::map<std::string, std::string> Relations(const std::map<std::string, std::string>& parts, const std::string& part) {
  std::map<std::string, std::string> rels;
  auto it = parts.find(RelsOf(part));
  if (it == parts.end()) return rels;
  Walk(it->second, [&](QXmlStreamReader& r) {
    if (r.name() == QLatin1String("Relationship")) rels[Attr(r, "Id")] = Resolve(Dir(part), Attr(r, "Target"));
  });
  return rels;
}

const std::string& Part(const std::map<std::string, std::string>& parts, const std::string& name) {
  auto it = parts.find(name);
  if (it == parts.end()) throw std::runtime_error("xlsx: missing part " + name);
  return it->second;
}

XlsxChart ReadChart(const std::string& xml) {
  XlsxChart chart;
  std::vector<std::string> stack;
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  while (!r.atEnd()) {
    const auto token = r.readNext();
    if (token == QXmlStreamReader::EndElement) {
      stack.pop_back();
      continue;
    }
    if (token != QXmlStreamReader::StartElement) continue;
    const std::string name = r.name().toString().toStdString();
    auto inside = [&](const char* e) { return std::find(stack.begin(), stack.end(), e) != stack.end(); };
    const std::string parent = stack.empty() ? "" : stack.back();
    stack.push_back(name);

    if (name.size() > 5 && name.substr(name.size() - 5) == "Chart" && parent == "plotArea") chart.Type = name;
    if (name == "scatterStyle") chart.ScatterStyle = Attr(r, "val");
    if (name == "autoTitleDeleted") chart.TitleDeleted = Attr(r, "val") == "1";
    if (name == "ser") chart.Series.emplace_back();
    if (name == "valAx" || name == "catAx") chart.Axes.emplace_back();
    if (inside("ser") && !inside("xVal") && !inside("yVal") && inside("tx") && (name == "v" || name == "f")) {
      // A name taken from a cell carries the formula and a cached copy of
      // the text; the formula is what the chart refers to.
      const std::string text = r.readElementText().toStdString();
      if (name == "f" || !inside("strRef")) chart.Series.back().Name = text;
      stack.pop_back();
    } else if (inside("ser") && inside("numRef") && name == "f") {
      (inside("xVal") ? chart.Series.back().XValues : chart.Series.back().YValues) = r.readElementText().toStdString();
      stack.pop_back();
    } else if (inside("valAx") || inside("catAx")) {
      XlsxAxis& a = chart.Axes.back();
      if (name == "axPos") a.Position = Attr(r, "val");
      if (name == "orientation") a.Orientation = Attr(r, "val");
      if (name == "majorGridlines") a.MajorGridlines = true;
      if (name == "tickLblPos") a.Labels = Attr(r, "val");
      if (name == "t" && inside("title")) {
        a.Title += r.readElementText().toStdString();
        stack.pop_back();
      }
    }
  }
  if (r.hasError()) throw std::runtime_error("chart xml: " + r.errorString().toStdString());
  return chart;
}

}  // namespace

std::map<std::string, std::string> ReadZip(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("zip: cannot open " + file.string());
  const std::string zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  // The end-of-central-directory record sits at the end, after an optional
  // comment of at most 64 KB.
  size_t end = std::string::npos;
  for (size_t at = zip.size() >= 22 ? zip.size() - 22 : 0;; --at) {
    if (U32(zip, at) == 0x06054b50) {
      end = at;
      break;
    }
    if (at == 0 || zip.size() - at > 22 + 65535) break;
  }
  if (end == std::string::npos) throw std::runtime_error("zip: no central directory");

  std::map<std::string, std::string> parts;
  const uint32_t entries = U16(zip, end + 10);
  size_t at = U32(zip, end + 16);
  for (uint32_t i = 0; i < entries; ++i) {
    if (U32(zip, at) != 0x02014b50) throw std::runtime_error("zip: bad central directory entry");
    const uint32_t method = U16(zip, at + 10);
    const uint32_t packedSize = U32(zip, at + 20);
    const uint32_t size = U32(zip, at + 24);
    const uint32_t nameLength = U16(zip, at + 28);
    const uint32_t extra = U16(zip, at + 30);
    const uint32_t comment = U16(zip, at + 32);
    const uint32_t local = U32(zip, at + 42);
    const std::string name = zip.substr(at + 46, nameLength);
    at += 46 + nameLength + extra + comment;

    if (U32(zip, local) != 0x04034b50) throw std::runtime_error("zip: bad local header of " + name);
    const size_t data = local + 30 + U16(zip, local + 26) + U16(zip, local + 28);
    if (data + packedSize > zip.size()) throw std::runtime_error("zip: truncated " + name);
    const std::string packed = zip.substr(data, packedSize);
    if (method == 0) {
      parts[name] = packed;
    } else if (method == 8) {
      parts[name] = Inflate(packed, size);
    } else {
      throw std::runtime_error("zip: unknown compression of " + name);
    }
  }
  return parts;
}

const XlsxCell& XlsxSheet::Cell(const std::string& ref) const {
  auto it = Cells.find(ref);
  if (it == Cells.end()) throw std::runtime_error("sheet " + Name + " has no cell " + ref);
  return it->second;
}

Xlsx::Xlsx(const std::filesystem::path& file) : Parts(ReadZip(file)) {
  std::vector<std::string> shared;
  if (Parts.count("xl/sharedStrings.xml")) {
    Walk(Parts["xl/sharedStrings.xml"], [&](QXmlStreamReader& r) {
      if (r.name() == QLatin1String("si")) shared.emplace_back();
      if (r.name() == QLatin1String("t")) shared.back() += r.readElementText().toStdString();
    });
  }

  std::vector<bool> boldFonts;
  bool inFonts = false, inCellXfs = false;
  QXmlStreamReader st(QByteArray::fromStdString(Part(Parts, "xl/styles.xml")));
  while (!st.atEnd()) {
    const auto token = st.readNext();
    const QStringView n = st.name();
    if (token == QXmlStreamReader::EndElement) {
      if (n == QLatin1String("fonts")) inFonts = false;
      if (n == QLatin1String("cellXfs")) inCellXfs = false;
      continue;
    }
    if (token != QXmlStreamReader::StartElement) continue;
    if (n == QLatin1String("fonts")) inFonts = true;
    if (n == QLatin1String("cellXfs")) inCellXfs = true;
    if (inFonts && n == QLatin1String("font")) boldFonts.push_back(false);
    if (inFonts && n == QLatin1String("b")) boldFonts.back() = true;
    if (inCellXfs && n == QLatin1String("xf")) {
      const int font = st.attributes().value("fontId").toInt();
      Formats.push_back({font < static_cast<int>(boldFonts.size()) && boldFonts[static_cast<size_t>(font)], ""});
    }
    if (inCellXfs && n == QLatin1String("alignment")) Formats.back().VerticalAlignment = Attr(st, "vertical");
  }

  const std::string workbook = "xl/workbook.xml";
  const auto rels = Relations(Parts, workbook);
  Walk(Part(Parts, workbook), [&](QXmlStreamReader& r) {
    if (r.name() != QLatin1String("sheet")) return;
    XlsxSheet sheet;
    sheet.Name = Attr(r, "name");
    const std::string path = rels.at(RelId(r));
    sheet.IsChart = path.find("chartsheets/") != std::string::npos;
    if (sheet.IsChart) {
      std::string drawing;
      Walk(Part(Parts, path), [&](QXmlStreamReader& d) {
        if (d.name() == QLatin1String("drawing")) drawing = Relations(Parts, path).at(RelId(d));
      });
      std::string chart;
      Walk(Part(Parts, drawing), [&](QXmlStreamReader& d) {
        if (d.name() == QLatin1String("chart")) chart = Relations(Parts, drawing).at(RelId(d));
      });
      sheet.Chart = ReadChart(Part(Parts, chart));
    } else {
      std::string ref, type;
      int style = 0;
      Walk(Part(Parts, path), [&](QXmlStreamReader& c) {
        const QStringView n = c.name();
        if (n == QLatin1String("c")) {
          ref = Attr(c, "r");
          type = Attr(c, "t");
          style = c.attributes().value("s").toInt();
        } else if (n == QLatin1String("v") || (n == QLatin1String("t") && type == "inlineStr")) {
          const std::string v = c.readElementText().toStdString();
          XlsxCell cell{v, type.empty() || type == "n", style};
          if (type == "s") cell.Text = shared.at(std::stoul(v));
          sheet.Cells[ref] = cell;
        } else if (n == QLatin1String("hyperlink")) {
          sheet.Links[Attr(c, "ref")] = Attr(c, "location");
        } else if (n == QLatin1String("col")) {
          for (int i = c.attributes().value("min").toInt(); i <= c.attributes().value("max").toInt(); ++i) {
            sheet.Widths[i] = c.attributes().value("width").toDouble();
          }
        }
      });
    }
    Sheets.push_back(std::move(sheet));
  });
}

std::vector<std::string> Xlsx::Names() const {
  std::vector<std::string> names;
  for (const XlsxSheet& s : Sheets) names.push_back(s.Name);
  return names;
}

const XlsxSheet& Xlsx::Sheet(const std::string& name) const {
  for (const XlsxSheet& s : Sheets) {
    if (s.Name == name) return s;
  }
  throw std::runtime_error("workbook has no sheet " + name);
}

}  // namespace ramvex::test
