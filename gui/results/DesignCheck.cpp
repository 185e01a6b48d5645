#include "DesignCheck.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <istream>
#include <ostream>
#include <sstream>

#include "ProgramData.h"
#include "ResultsCsv.h"

namespace ramvex {

namespace {

// A node-referencing column of a table.
struct TNodeColumn {
  TGridTable* Table;
  int Column;
};

// Every column of the project that holds a node number, in the tables of
// the data file's sections 4 to 7, 11 and 12.  Tieback, p-y modifier, load
// and soil rows are placed by depth and need no rewriting.
std::vector<TNodeColumn> NodeColumns(const TProgramData& project) {
  TProjectTables& t = project.Tables();
  return {{t.PileSect.get(), 0},     {t.PileSect.get(), 1},  {t.SoilLayer.get(), 1}, {t.SoilStrength.get(), 1},
          {t.SoilStrength.get(), 2}, {t.BoundCond.get(), 1}, {t.BoundCond.get(), 2}, {t.PYCurves2.get(), 0},
          {t.MEICurves2.get(), 0},   {t.MEICurves2.get(), 1}};
}

// Rows that the writer puts in the data file: a table whose option is off is
// emptied when written, so its rows never reach the engine.
int WrittenRows(const TProgramData& p, const TGridTable* table) {
  TProjectTables& t = p.Tables();
  if (table == t.SoilLayer.get() && !p.ApplyRestraints) return 0;
  if (table == t.SoilStrength.get() && !p.ApplySprings) return 0;
  if (table == t.BoundCond.get() && !p.ApplyConcentratedLoads) return 0;
  if (table == t.PYCurves2.get() && !p.ApplyExternalPYCurves) return 0;
  if (table == t.MEICurves2.get() && !p.ApplyEICurves) return 0;
  return table->RowCount();
}

std::string Trimmed(double value) { return NumberText(value, 6); }

// Ends the structural ranges (stiffness, moment-EI) of a wall of oldN
// increments at newN: a range that reached the old toe reaches the new one,
// ranges below the new toe go with the wall they described.  False when no
// range is left on the wall.
bool EndRangesAtToe(TGridTable& table, int oldN, int newN) {
  for (int row = table.RowCount() - 1; row >= 0; --row) {
    if (table.Int(0, row) > newN) {
      if (table.RowCount() == 1) return false;
      table.DeleteRows(row);
      continue;
    }
    const int to = table.Int(1, row);
    if (to == oldN || to > newN) table.Column(1)->SetInt(row, newN);
  }
  return true;
}

}  // namespace

const char* WallLengthUnit(int system) { return system == 1 ? "ft" : system == 2 ? "m" : "L"; }

long double WallLengthFactor(int system) { return system == 1 ? 12.0L : 1.0L; }

double WallLength(const TProgramData& p) {
  return static_cast<double>(p.IncrementCount * p.IncrementLength / WallLengthFactor(p.UnitSystem));
}

int IncrementsForLength(const TProgramData& p, double length) {
  const std::string unit = WallLengthUnit(p.UnitSystem);
  if (!(p.IncrementLength > 0)) throw EDesignError("the project has no increment length");
  if (!(length > 0)) throw EDesignError("a wall length must be above 0 " + unit);
  const long double n = length * WallLengthFactor(p.UnitSystem) / p.IncrementLength;
  const long double whole = std::round(n);
  // Lengths are typed to a few decimals; an increment count within a
  // millionth of a whole number is that number.
  if (std::fabs(n - whole) > 1e-6L * std::max(1.0L, whole)) {
    throw EDesignError("the length " + Trimmed(length) + " " + unit + " is not a whole number of increments of " +
                       Trimmed(static_cast<double>(p.IncrementLength)) + " " + (p.UnitSystem == 1 ? "in" : unit));
  }
  if (whole < 1 || whole > kMaxIncrements) {
    throw EDesignError("the length " + Trimmed(length) + " " + unit + " needs " + Trimmed(static_cast<double>(whole)) +
                       " increments; the engine takes 1 to " + std::to_string(kMaxIncrements));
  }
  return static_cast<int>(whole);
}

std::vector<double> SweepLengths(double from, double to, double step) {
  if (!(step > 0)) throw EDesignError("the length step must be above 0");
  if (!(from > 0) || !(to >= from)) throw EDesignError("the lengths must run upwards from above 0");
  const double count = std::floor((to - from) / step + 1e-9) + 1;
  if (count > kMaxIncrements) throw EDesignError("a sweep takes at most " + std::to_string(kMaxIncrements) + " lengths");
  std::vector<double> lengths;
  for (int i = 0; i < static_cast<int>(count); ++i) lengths.push_back(from + i * step);
  return lengths;
}

void SetWallIncrements(TProgramData& p, int increments) {
  if (increments < 1 || increments > kMaxIncrements) {
    throw EDesignError("a wall takes 1 to " + std::to_string(kMaxIncrements) + " increments");
  }
  TProjectTables& t = p.Tables();
  const int oldN = p.IncrementCount;
  // Boundary rows first, all checked before anything changes, so a length
  // that cannot take them leaves the project whole.
  struct TMove {
    TGridTable* Table;
    int Column, Row, Node;
  };
  std::vector<TMove> moves;
  const std::vector<std::pair<TGridTable*, std::vector<int>>> boundary = {
      {t.SoilLayer.get(), {1}}, {t.SoilStrength.get(), {1, 2}}, {t.BoundCond.get(), {1, 2}}};
  for (const auto& [table, columns] : boundary) {
    for (int row = 0; row < WrittenRows(p, table); ++row) {
      for (int c : columns) {
        int node = table->Int(c, row);
        if (node == oldN) node = increments;
        if (node > increments) {
          throw EDesignError("row " + std::to_string(row + 1) + " of \"" + table->Caption() + "\" refers to node " +
                             std::to_string(node) + ", below the toe of a wall of " + std::to_string(increments) +
                             " increments");
        }
        moves.push_back({table, c, row, node});
      }
    }
  }
  for (const TMove& m : moves) m.Table->Column(m.Column)->SetInt(m.Row, m.Node);
  EndRangesAtToe(*t.PileSect, oldN, increments);
  // Moment-EI curves wholly below the toe leave the wall with the constant
  // stiffness of its sections.
  if (p.ApplyEICurves && !EndRangesAtToe(*t.MEICurves2, oldN, increments)) p.ApplyEICurves = false;
  p.IncrementCount = increments;
  p.Modified = true;
}

TMeshPlan PlanMesh(const TProgramData& p) {
  if (p.IncrementCount < 1 || !(p.IncrementLength > 0)) throw EDesignError("the project has no increments");
  TMeshPlan plan;
  if (2 * p.IncrementCount <= kMaxIncrements) {
    plan.CoarseIncrements = p.IncrementCount;
    plan.CoarseLength = p.IncrementLength;
    plan.FineIncrements = 2 * p.IncrementCount;
    plan.FineLength = p.IncrementLength / 2;
    return plan;
  }
  plan.Refine = false;
  if (p.IncrementCount % 2 != 0) {
    throw EDesignError(std::to_string(2 * p.IncrementCount) + " increments exceed the limit of " +
                       std::to_string(kMaxIncrements) + " and " + std::to_string(p.IncrementCount) +
                       " cannot be halved");
  }
  for (const TNodeColumn& c : NodeColumns(p)) {
    for (int row = 0; row < WrittenRows(p, c.Table); ++row) {
      const int node = c.Table->Int(c.Column, row);
      if (node % 2 != 0) {
        throw EDesignError(std::to_string(2 * p.IncrementCount) + " increments exceed the limit of " +
                           std::to_string(kMaxIncrements) + " and node " + std::to_string(node) + " of \"" +
                           c.Table->Caption() + "\" has no place on a mesh of half as many");
      }
    }
  }
  plan.CoarseIncrements = p.IncrementCount / 2;
  plan.CoarseLength = 2 * p.IncrementLength;
  plan.FineIncrements = p.IncrementCount;
  plan.FineLength = p.IncrementLength;
  return plan;
}

void SetMesh(TProgramData& p, int increments, long double incrementLength) {
  const int oldN = p.IncrementCount;
  const bool finer = increments == 2 * oldN;
  if (!finer && 2 * increments != oldN) throw EDesignError("a mesh is changed by halving or doubling h only");
  if (increments > kMaxIncrements) {
    throw EDesignError("a wall takes at most " + std::to_string(kMaxIncrements) + " increments");
  }
  const std::vector<TNodeColumn> columns = NodeColumns(p);
  if (!finer) {
    for (const TNodeColumn& c : columns) {
      for (int row = 0; row < WrittenRows(p, c.Table); ++row) {
        if (c.Table->Int(c.Column, row) % 2 != 0) {
          throw EDesignError("node " + std::to_string(c.Table->Int(c.Column, row)) + " of \"" + c.Table->Caption() +
                             "\" has no place on a mesh of half as many increments");
        }
      }
    }
  }
  for (const TNodeColumn& c : columns) {
    for (int row = 0; row < WrittenRows(p, c.Table); ++row) {
      const int node = c.Table->Int(c.Column, row);
      c.Table->Column(c.Column)->SetInt(row, finer ? 2 * node : node / 2);
    }
  }
  p.IncrementCount = increments;
  p.IncrementLength = incrementLength;
  p.Modified = true;
}

// ---------------------------------------------------------------- results

namespace {

int Severity(TOutcome o) {
  switch (o) {
    case TOutcome::Closed: return 0;
    case TOutcome::NotClosed: return 1;
    case TOutcome::DeflectionExceeded: return 2;
    case TOutcome::ErrorStop: return 3;
  }
  return 3;
}

void TakeLarger(TExtreme& into, const TExtreme& e) {
  if (e.Valid && (!into.Valid || std::fabs(e.Value) > std::fabs(into.Value))) into = e;
}

}  // namespace

TCaseResult CaseFromSummary(const TResultsSummary& s) {
  TCaseResult c;
  c.Ran = s.ReportRead;
  if (!s.ReportRead) {
    c.Message = "the engine's report cannot be read";
    return c;
  }
  c.Outcome = TOutcome::Closed;
  bool first = true;
  for (const TProblemSummary& p : s.Problems) {
    if (Severity(p.Outcome) > Severity(c.Outcome) || (first && p.Outcome != TOutcome::Closed)) {
      c.Outcome = p.Outcome;
      c.Message = p.Message;
    }
    first = false;
    if (!p.HasResults) continue;
    if (!c.HasResults || std::fabs(p.TopDeflection) > std::fabs(c.TopDeflection)) c.TopDeflection = p.TopDeflection;
    c.HasResults = true;
    TakeLarger(c.Moment, p.Moment);
    TakeLarger(c.Shear, p.Shear);
    for (const TTiebackForce& t : p.Tiebacks) {
      const std::string name = "T" + std::to_string(t.Number);
      c.Tiebacks.push_back({s.Problems.size() > 1 ? p.Name + " " + name : name, t.Depth, t.Force});
    }
  }
  if (s.Problems.empty()) {
    c.Outcome = TOutcome::ErrorStop;
    c.Message = "the report holds no problem";
  } else if (!s.RunClosed && c.Outcome == TOutcome::Closed) {
    c.Outcome = TOutcome::ErrorStop;
    c.Message = "the run ended before \"END OF ANALYSIS\"";
  }
  return c;
}

void SetCaseGeometry(TCaseResult& c, const TProgramData& p) {
  const long double factor = WallLengthFactor(p.UnitSystem);
  c.Increments = p.IncrementCount;
  c.IncrementLength = static_cast<double>(p.IncrementLength);
  c.Length = static_cast<double>(p.IncrementCount * p.IncrementLength / factor);
  c.Embedment = static_cast<double>((p.IncrementCount * p.IncrementLength - p.FreeHeight) / factor);
}

TSweepVerdict JudgeSweep(const std::vector<TCaseResult>& cases, double tolerance,
                         std::optional<double> maxDeflection) {
  TSweepVerdict v;
  auto usable = [](const TCaseResult& c) { return c.Outcome == TOutcome::Closed && c.HasResults; };
  for (size_t i = 0; i < cases.size(); ++i) {
    if (!usable(cases[i])) continue;
    if (maxDeflection && std::fabs(cases[i].TopDeflection) > *maxDeflection) continue;
    v.Shortest = static_cast<int>(i);
    break;
  }
  if (cases.empty() || !usable(cases.back())) return v;
  const double reference = cases.back().TopDeflection;
  // Walking up from the longest wall: the critical length is the last one
  // reached before a wall that fails or differs by the tolerance or more.
  int critical = static_cast<int>(cases.size()) - 1;
  for (int i = critical - 1; i >= 0; --i) {
    if (!usable(cases[i]) || RelativeChange(cases[i].TopDeflection, reference) >= tolerance) break;
    critical = i;
  }
  v.Critical = critical;
  return v;
}

double RelativeChange(double coarse, double fine) {
  if (coarse == fine) return 0;
  if (fine == 0) return INFINITY;
  return std::fabs(fine - coarse) / std::fabs(fine);
}

TMeshVerdict JudgeMesh(const TCaseResult& coarse, const TCaseResult& fine, const TSummaryUnits& u) {
  TMeshVerdict v;
  v.CoarseIncrements = coarse.Increments;
  v.FineIncrements = fine.Increments;
  const bool ok = coarse.Outcome == TOutcome::Closed && fine.Outcome == TOutcome::Closed && coarse.HasResults &&
                  fine.HasResults;
  if (!ok) {
    const TCaseResult& failed = coarse.Outcome != TOutcome::Closed || !coarse.HasResults ? coarse : fine;
    v.Text = "No verdict: the run at " + std::to_string(failed.Increments) + " increments " +
             (failed.Ran ? std::string(OutcomeText(failed.Outcome)) : std::string("failed")) +
             (failed.Message.empty() ? "" : ": " + failed.Message);
    return v;
  }
  v.Judged = true;
  auto add = [&](std::string name, double a, double b) { v.Changes.push_back({std::move(name), a, b, RelativeChange(a, b)}); };
  add("Top deflection (" + u.Deflection + ")", coarse.TopDeflection, fine.TopDeflection);
  add("Max moment (" + u.Moment + ")", coarse.Moment.Value, fine.Moment.Value);
  add("Max shear (" + u.Shear + ")", coarse.Shear.Value, fine.Shear.Value);
  for (const TCaseTieback& t : fine.Tiebacks) {
    auto match = std::find_if(coarse.Tiebacks.begin(), coarse.Tiebacks.end(),
                              [&](const TCaseTieback& c) { return c.Name == t.Name; });
    if (match != coarse.Tiebacks.end()) add("Tieback " + t.Name + " force (" + u.TiebackForce + ")", match->Force, t.Force);
  }
  const auto worst = std::max_element(v.Changes.begin(), v.Changes.end(),
                                      [](const TMeshChange& a, const TMeshChange& b) { return a.Change < b.Change; });
  v.Adequate = worst->Change < kMeshLimit;
  const std::string percent = NumberText(100 * worst->Change, 3) + " %";
  if (v.Adequate) {
    v.Text = "The mesh is adequate: every change from " + std::to_string(coarse.Increments) + " to " +
             std::to_string(fine.Increments) + " increments is under 2 % (largest " + percent + ").";
  } else {
    v.Text = "The finer mesh is advised: " + std::to_string(fine.Increments) + " increments of " +
             NumberText(fine.IncrementLength, 4) + " " + u.Deflection + "; " + worst->Quantity + " changes by " + percent + ".";
  }
  return v;
}

// ---------------------------------------------------------------- tables

namespace {

std::string TiebackText(const std::vector<TCaseTieback>& ties) {
  std::string s;
  for (const TCaseTieback& t : ties) {
    if (!s.empty()) s += "; ";
    s += t.Name + " " + NumberText(t.Force);
  }
  return s.empty() ? "-" : s;
}

}  // namespace

TTextTable SweepTable(const std::vector<TCaseResult>& cases, int units) {
  const TSummaryUnits u = SummaryUnits(units);
  const std::string len = WallLengthUnit(units);
  TTextTable t;
  t.Heading = {"Length", "Embedment", "Top defl.", "Max moment", "at depth", "Max shear", "at depth",
               "Tieback forces", "Outcome"};
  t.Units = {len, len, u.Deflection, u.Moment, u.Depth, u.Shear, u.Depth, u.TiebackForce, ""};
  for (const TCaseResult& c : cases) {
    std::vector<std::string> row = {NumberText(c.Length, 6), NumberText(c.Embedment, 6)};
    if (c.HasResults) {
      row.insert(row.end(), {NumberText(c.TopDeflection), NumberText(c.Moment.Value), NumberText(c.Moment.Depth),
                             NumberText(c.Shear.Value), NumberText(c.Shear.Depth), TiebackText(c.Tiebacks)});
    } else {
      row.insert(row.end(), 6, "-");
    }
    std::string outcome = c.Ran ? OutcomeText(c.Outcome) : "not run";
    if (c.Outcome != TOutcome::Closed && !c.Message.empty()) {
      std::string m = c.Message;
      for (size_t at = 0; (at = m.find('\n', at)) != std::string::npos;) m.replace(at, 1, "; ");
      // The engine writes its messages indented in a fixed layout.
      m.erase(0, m.find_first_not_of(' '));
      outcome += ": " + m;
    }
    row.push_back(outcome);
    t.Rows.push_back(std::move(row));
  }
  return t;
}

TTextTable MeshTable(const TMeshVerdict& v, const TSummaryUnits&) {
  TTextTable t;
  t.Heading = {"Result", "N = " + std::to_string(v.CoarseIncrements), "N = " + std::to_string(v.FineIncrements),
               "Change"};
  t.Units = {"", "", "", "%"};
  for (const TMeshChange& c : v.Changes) {
    t.Rows.push_back({c.Quantity, NumberText(c.Coarse), NumberText(c.Fine), NumberText(100 * c.Change, 3)});
  }
  return t;
}

std::string SweepVerdictText(const std::vector<TCaseResult>& cases, const TSweepVerdict& v, int units,
                             double tolerance, std::optional<double> maxDeflection) {
  const std::string len = WallLengthUnit(units);
  const std::string defl = SummaryUnits(units).Deflection;
  std::string s;
  if (v.Shortest >= 0) {
    s += "Shortest length that closes" +
         (maxDeflection ? " within a top deflection of " + NumberText(*maxDeflection) + " " + defl : std::string()) +
         ": " + NumberText(cases[v.Shortest].Length, 6) + " " + len + "\n";
  } else {
    s += "No length closes" +
         (maxDeflection ? " within a top deflection of " + NumberText(*maxDeflection) + " " + defl : std::string()) +
         "\n";
  }
  if (v.Critical >= 0) {
    s += "Critical length (top deflection within " + NumberText(100 * tolerance, 3) + " % of the longest wall's): " +
         NumberText(cases[v.Critical].Length, 6) + " " + len + "\n";
  } else {
    s += "No critical length: the longest wall did not close\n";
  }
  return s;
}

// ---------------------------------------------------------------- CSV

namespace {

const char kCsvHeading[] =
    "Length,Increments,Increment length,Embedment,Ran,Outcome,Top deflection,Max moment,Moment depth,Max shear,"
    "Shear depth,Tiebacks,Message";

std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char ch = line[i];
    if (quoted) {
      if (ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (ch == '"') {
        quoted = false;
      } else {
        fields.back() += ch;
      }
    } else if (ch == '"') {
      quoted = true;
    } else if (ch == ',') {
      fields.emplace_back();
    } else if (ch != '\r') {
      fields.back() += ch;
    }
  }
  return fields;
}

double ParseNumber(const std::string& text, int line) {
  if (text.empty()) return NAN;
  double v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
    throw EDesignError("line " + std::to_string(line) + " of the study's results holds \"" + text +
                       "\" where a number belongs");
  }
  return v;
}

// Line ends in a message are kept as "\n" escapes, one case per line.
std::string Escape(const std::string& s) {
  std::string out;
  for (char ch : s) {
    if (ch == '\\') out += "\\\\";
    else if (ch == '\n') out += "\\n";
    else if (ch != '\r') out += ch;
  }
  return out;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      out += s[i + 1] == 'n' ? '\n' : s[i + 1];
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

void WriteCasesCsv(std::ostream& out, const std::vector<TCaseResult>& cases, int units) {
  const TSummaryUnits u = SummaryUnits(units);
  out << "Units," << units << ',' << CsvField(WallLengthUnit(units)) << ',' << CsvField(u.Deflection) << ','
      << CsvField(u.Moment) << ',' << CsvField(u.Shear) << ',' << CsvField(u.TiebackForce) << "\r\n";
  out << kCsvHeading << "\r\n";
  for (const TCaseResult& c : cases) {
    std::string ties;
    for (const TCaseTieback& t : c.Tiebacks) {
      if (!ties.empty()) ties += ';';
      ties += t.Name + '|' + CsvNumber(t.Depth) + '|' + CsvNumber(t.Force);
    }
    const double nan = NAN;
    out << CsvNumber(c.Length) << ',' << c.Increments << ',' << CsvNumber(c.IncrementLength) << ','
        << CsvNumber(c.Embedment) << ',' << (c.Ran ? 1 : 0) << ',' << static_cast<int>(c.Outcome) << ','
        << CsvNumber(c.HasResults ? c.TopDeflection : nan) << ','
        << CsvNumber(c.Moment.Valid ? c.Moment.Value : nan) << ',' << CsvNumber(c.Moment.Valid ? c.Moment.Depth : nan)
        << ',' << CsvNumber(c.Shear.Valid ? c.Shear.Value : nan) << ','
        << CsvNumber(c.Shear.Valid ? c.Shear.Depth : nan) << ',' << CsvField(ties) << ','
        << CsvField(Escape(c.Message)) << "\r\n";
  }
}

std::vector<TCaseResult> ReadCasesCsv(std::istream& in, int& units) {
  std::string line;
  if (!std::getline(in, line)) throw EDesignError("the study's results are empty");
  std::vector<std::string> f = SplitCsv(line);
  if (f.size() < 2 || f[0] != "Units") throw EDesignError("line 1 of the study's results does not name the units");
  units = static_cast<int>(ParseNumber(f[1], 1));
  if (!std::getline(in, line) || SplitCsv(line) != SplitCsv(kCsvHeading)) {
    throw EDesignError("line 2 of the study's results does not name its columns");
  }
  std::vector<TCaseResult> cases;
  for (int n = 3; std::getline(in, line); ++n) {
    if (line.empty() || line == "\r") continue;
    f = SplitCsv(line);
    if (f.size() != 13) throw EDesignError("line " + std::to_string(n) + " of the study's results has " +
                                           std::to_string(f.size()) + " fields instead of 13");
    TCaseResult c;
    c.Length = ParseNumber(f[0], n);
    c.Increments = static_cast<int>(ParseNumber(f[1], n));
    c.IncrementLength = ParseNumber(f[2], n);
    c.Embedment = ParseNumber(f[3], n);
    c.Ran = f[4] == "1";
    const int outcome = static_cast<int>(ParseNumber(f[5], n));
    if (outcome < 0 || outcome > 3) throw EDesignError("line " + std::to_string(n) + " names no outcome");
    c.Outcome = static_cast<TOutcome>(outcome);
    const double top = ParseNumber(f[6], n);
    c.HasResults = !std::isnan(top);
    c.TopDeflection = c.HasResults ? top : 0;
    c.Moment.Value = ParseNumber(f[7], n);
    c.Moment.Depth = ParseNumber(f[8], n);
    c.Moment.Valid = !std::isnan(c.Moment.Value);
    c.Shear.Value = ParseNumber(f[9], n);
    c.Shear.Depth = ParseNumber(f[10], n);
    c.Shear.Valid = !std::isnan(c.Shear.Value);
    std::stringstream ties(f[11]);
    for (std::string item; std::getline(ties, item, ';');) {
      std::stringstream parts(item);
      std::string name, depth, force;
      std::getline(parts, name, '|');
      std::getline(parts, depth, '|');
      std::getline(parts, force, '|');
      c.Tiebacks.push_back({name, ParseNumber(depth, n), ParseNumber(force, n)});
    }
    c.Message = Unescape(f[12]);
    cases.push_back(std::move(c));
  }
  return cases;
}

}  // namespace ramvex
