#include "ResultsSummary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

#include "ProgramData.h"

namespace ramvex {

namespace {

// Factors from the report's units (inches and pounds in US) to the
// summary's (feet, in-kips, kips), the same the plot reader applies.
struct TReportScale {
  double Depth = 1, Moment = 1, Force = 1;
};
TReportScale ReportScale(int units) {
  if (units == 1) return {1.0 / 12.0, 1.0 / 1000.0, 1.0 / 1000.0};
  return {};
}

TExtreme Largest(const std::vector<TNodeResult>& nodes, double TNodeResult::*value) {
  TExtreme e;
  for (const TNodeResult& n : nodes) {
    const double v = n.*value;
    if (std::isnan(v)) continue;
    // Ties keep the shallower node.
    if (!e.Valid || std::fabs(v) > std::fabs(e.Value)) e = {true, v, n.Depth};
  }
  return e;
}

}  // namespace

TSummaryUnits SummaryUnits(int system) {
  if (system == 1) return {"ft", "in", "in-kips", "kips", "lbs", "kips", "in", "lbs/in"};
  if (system == 2) return {"m", "m", "m-kN", "kN", "kN", "kN", "m", "kN/m"};
  return {"L", "L", "F-L", "F", "F", "F", "L", "F/L"};
}

bool TResultsSummary::AllClosed() const {
  if (!ReportRead || !RunClosed || Problems.empty()) return false;
  return std::all_of(Problems.begin(), Problems.end(),
                     [](const TProblemSummary& p) { return p.Outcome == TOutcome::Closed; });
}

TResultsSummary SummarizeResults(const std::string& title, const TReportOutcome& report, const TPlotValues& plot,
                                 int units) {
  TResultsSummary s;
  s.Title = title;
  s.Units = units;
  s.Labels = SummaryUnits(units);
  s.ReportRead = report.Read;
  s.RunClosed = report.Closed;
  const TReportScale scale = ReportScale(units);
  for (size_t k = 0; k < report.Problems.size(); ++k) {
    const TReportProblem& r = report.Problems[k];
    TProblemSummary p;
    p.Name = ProblemName(report, k);
    // The report cuts a plain problem's title to 70 characters; the
    // project's title is the whole of it.
    if (!p.Name.empty() && title.size() > p.Name.size() && title.compare(0, p.Name.size(), p.Name) == 0)
      p.Name = title;
    p.Outcome = r.Outcome();
    p.Message = r.Message;
    p.Iterations = r.Iterations;
    // A soil-model stop writes its reason as a warning; it is the message.
    std::string flat = r.Message;
    std::replace(flat.begin(), flat.end(), '\n', ' ');
    for (const std::string& w : r.Warnings)
      if (w != flat) p.Warnings.push_back(w);
    p.HasResults = r.HasResults && !r.Rows.empty();
    if (p.HasResults) {
      // Problems with results are the first blocks of the plot file, in
      // order; only a block with the report's node count is the same
      // problem's.
      const bool fromPlot = k < plot.Nodes.size() && plot.Nodes[k].size() == r.Rows.size();
      for (size_t j = 0; j < r.Rows.size(); ++j) {
        const TReportRow& row = r.Rows[j];
        TNodeResult n;
        n.Slope = row.Slope;
        if (fromPlot) {
          const TNodeValues& v = plot.Nodes[k][j];
          n.Depth = static_cast<double>(v.Depth);
          n.Deflection = static_cast<double>(v.Deflection);
          n.Moment = static_cast<double>(v.Moment);
          n.Shear = static_cast<double>(v.Shear);
          n.Reaction = static_cast<double>(v.Reaction);
        } else {
          n.Depth = row.X * scale.Depth;
          n.Deflection = row.Deflection;
          n.Moment = row.Moment * scale.Moment;
          n.Shear = row.Shear * scale.Force;
          n.Reaction = row.Reaction;
        }
        p.Nodes.push_back(n);
      }
      p.TopDeflection = p.Nodes.front().Deflection;
      p.Deflection = Largest(p.Nodes, &TNodeResult::Deflection);
      p.Moment = Largest(p.Nodes, &TNodeResult::Moment);
      p.Shear = Largest(p.Nodes, &TNodeResult::Shear);
    }
    for (const TReportTieback& t : r.Tiebacks)
      p.Tiebacks.push_back({t.Number, t.Depth * scale.Depth, t.TiebackForce * scale.Force});
    s.Problems.push_back(std::move(p));
  }
  return s;
}

TResultsSummary SummarizeRun(const TProgramData& project, const TResultGraphs& graphs,
                             const std::filesystem::path& reportPath) {
  const int units = graphs.Values.Units > 0 ? graphs.Values.Units : project.UnitSystem;
  return SummarizeResults(project.Title, ReadReport(reportPath), graphs.Values, units);
}

std::string NumberText(double value, int digits) {
  if (std::isnan(value)) return "-";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char buf[64];
  const double a = std::fabs(value);
  std::to_chars_result r;
  if (a == 0 || (a >= 1e-4 && a < 1e9)) {
    const int exponent = a == 0 ? 0 : static_cast<int>(std::floor(std::log10(a)));
    const int decimals = std::max(0, digits - 1 - exponent);
    r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string s(buf, r.ptr);
    if (s.find('.') != std::string::npos) {
      s.erase(s.find_last_not_of('0') + 1);
      if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
  }
  r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
  return std::string(buf, r.ptr);
}

TTextTable ProblemTable(const TResultsSummary& s) {
  const TSummaryUnits& u = s.Labels;
  TTextTable t;
  t.Heading = {"Problem", "Outcome", "Iterations", "Top defl.", "Max defl.", "at depth",
               "Max moment", "at depth", "Max shear", "at depth"};
  t.Units = {"", "", "", u.Deflection, u.Deflection, u.Depth, u.Moment, u.Depth, u.Shear, u.Depth};
  for (const TProblemSummary& p : s.Problems) {
    std::vector<std::string> row = {p.Name, OutcomeText(p.Outcome), p.HasResults ? std::to_string(p.Iterations) : "-"};
    if (p.HasResults) {
      row.push_back(NumberText(p.TopDeflection));
      for (const TExtreme* e : {&p.Deflection, &p.Moment, &p.Shear}) {
        row.push_back(e->Valid ? NumberText(e->Value) : "-");
        row.push_back(e->Valid ? NumberText(e->Depth) : "-");
      }
    } else {
      row.resize(t.Heading.size(), "-");
    }
    t.Rows.push_back(std::move(row));
  }
  return t;
}

TTextTable TiebackTable(const TResultsSummary& s) {
  TTextTable t;
  t.Heading = {"Problem", "Tieback", "Depth", "Force per tieback"};
  t.Units = {"", "", s.Labels.Depth, s.Labels.TiebackForce};
  for (const TProblemSummary& p : s.Problems) {
    for (const TTiebackForce& f : p.Tiebacks)
      t.Rows.push_back({p.Name, std::to_string(f.Number), NumberText(f.Depth), NumberText(f.Force)});
  }
  return t;
}

void WriteTextTable(std::ostream& out, const TTextTable& t) {
  std::vector<size_t> width(t.Heading.size(), 0);
  auto widen = [&](const std::vector<std::string>& line) {
    for (size_t c = 0; c < line.size() && c < width.size(); ++c) width[c] = std::max(width[c], line[c].size());
  };
  widen(t.Heading);
  widen(t.Units);
  for (const auto& row : t.Rows) widen(row);
  // The first column is a name, left-aligned; the others are numbers.
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (size_t c = 0; c < width.size(); ++c) {
      const std::string cell = c < cells.size() ? cells[c] : std::string();
      const std::string pad(width[c] - std::min(width[c], cell.size()), ' ');
      if (c > 0) text += "  ";
      text += c == 0 ? cell + pad : pad + cell;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << '\n';
  };
  line(t.Heading);
  line(t.Units);
  for (const auto& row : t.Rows) line(row);
}

void WriteSummary(std::ostream& out, const TResultsSummary& s) {
  out << s.Title << '\n';
  out << "Units: " << (s.Units == 1 ? "US customary" : s.Units == 2 ? "SI" : "other units") << '\n';
  if (!s.ReportRead) {
    out << "\nThe report cannot be read: no results to summarize.\n";
    return;
  }
  out << '\n';
  WriteTextTable(out, ProblemTable(s));
  const TTextTable tiebacks = TiebackTable(s);
  if (!tiebacks.Rows.empty()) {
    out << '\n';
    WriteTextTable(out, tiebacks);
  }
  bool notes = false;
  for (const TProblemSummary& p : s.Problems) {
    if (p.Message.empty() && p.Warnings.empty()) continue;
    if (!notes) out << '\n';
    notes = true;
    std::string message = p.Message;
    for (size_t k = 0; (k = message.find('\n', k)) != std::string::npos; k += 3) message.replace(k, 1, "\n  ");
    if (!message.empty()) out << p.Name << ": " << message << '\n';
    for (const std::string& w : p.Warnings) out << p.Name << ": warning: " << w << '\n';
  }
  if (!s.RunClosed) out << "\nThe run ended before \"END OF ANALYSIS\": later problems were not analysed.\n";
}

}  // namespace ramvex
