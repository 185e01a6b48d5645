#include "ResultsCsv.h"

#include <charconv>
#include <cmath>
#include <ostream>

#include "WordRead.h"

namespace ramvex {

std::vector<std::vector<TPYCurve>> ReadPYCurves(const std::filesystem::path& plotPath) {
  std::vector<std::vector<TPYCurve>> blocks;
  try {
    TWordReader r(plotPath);
    auto real = [&r] { return static_cast<double>(r.ReadReal()); };
    // Counts beyond what a plot file can hold mean a damaged file, not a
    // reason to reserve memory.
    auto count = [&r](int limit) {
      const int n = r.ReadInteger();
      if (n < 0 || n > limit) throw EInOutError("count out of range");
      return n;
    };
    while (true) {
      // Blank lines at the end are not another block.
      bool more = false;
      while (!r.AtEnd() && !more) {
        if (r.WordCount() > 0 && r.WordIndex() < static_cast<size_t>(r.WordCount())) {
          more = true;
        } else {
          r.ReadLine();
        }
      }
      if (!more) break;
      const int pressure = count(100000);
      for (int k = 0; k < 4 * pressure; ++k) real();
      r.ReadInteger();  // unit code
      std::vector<TPYCurve> curves(static_cast<size_t>(count(1000)));
      for (TPYCurve& c : curves) {
        c.Label = real();
        c.Points.resize(static_cast<size_t>(count(10000)));
        for (auto& [y, p] : c.Points) {
          y = real();
          p = real();
        }
      }
      r.ReadInteger();  // result sets
      const int nodes = count(100000);
      r.ReadInteger();  // unit code again
      for (int k = 0; k < 5 * nodes; ++k) real();
      blocks.push_back(std::move(curves));
    }
  } catch (const EInOutError&) {
  }
  return blocks;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CsvNumber(double value) {
  if (std::isnan(value)) return "";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

void WriteResultsCsv(std::ostream& out, const TResultsSummary& s) {
  const TSummaryUnits& u = s.Labels;
  out << "Problem,Depth (" << u.Depth << "),Deflection (" << u.Deflection << "),Slope (rad),Moment (" << u.Moment
      << "),Shear (" << u.Shear << "),Net reaction (" << u.Reaction << ")\r\n";
  for (const TProblemSummary& p : s.Problems) {
    const std::string name = CsvField(p.Name);
    for (const TNodeResult& n : p.Nodes) {
      out << name << ',' << CsvNumber(n.Depth) << ',' << CsvNumber(n.Deflection) << ',' << CsvNumber(n.Slope) << ','
          << CsvNumber(n.Moment) << ',' << CsvNumber(n.Shear) << ',' << CsvNumber(n.Reaction) << "\r\n";
    }
  }
}

void WritePYCsv(std::ostream& out, const TResultsSummary& s, const std::vector<std::vector<TPYCurve>>& curves) {
  out << "Problem,Curve,Label (depth or node),Point,y (" << s.Labels.Y << "),p (" << s.Labels.P << ")\r\n";
  for (size_t b = 0; b < curves.size(); ++b) {
    const std::string name =
        CsvField(b < s.Problems.size() ? s.Problems[b].Name : "Problem " + std::to_string(b + 1));
    for (size_t c = 0; c < curves[b].size(); ++c) {
      const TPYCurve& curve = curves[b][c];
      for (size_t k = 0; k < curve.Points.size(); ++k) {
        out << name << ',' << c + 1 << ',' << CsvNumber(curve.Label) << ',' << k + 1 << ','
            << CsvNumber(curve.Points[k].first) << ',' << CsvNumber(curve.Points[k].second) << "\r\n";
      }
    }
  }
}

}  // namespace ramvex
