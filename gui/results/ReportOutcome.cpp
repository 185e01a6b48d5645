#include "ReportOutcome.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

namespace ramvex {

namespace {

bool Contains(std::string_view line, std::string_view what) { return line.find(what) != std::string_view::npos; }

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

bool Blank(std::string_view line) { return Trim(line).empty(); }

// A real in a fixed field; a field of asterisks (a value too wide for its
// field) or anything else that is not a number gives NaN.
double Field(std::string_view line, size_t from, size_t width) {
  if (from >= line.size()) return std::numeric_limits<double>::quiet_NaN();
  const std::string_view f = Trim(line.substr(from, width));
  double v = 0;
  const auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), v);
  if (ec != std::errc() || end != f.data() + f.size() || f.empty()) return std::numeric_limits<double>::quiet_NaN();
  return v;
}

bool IntField(std::string_view line, size_t from, size_t width, int& value) {
  if (from >= line.size()) return false;
  const std::string_view f = Trim(line.substr(from, width));
  const auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), value);
  return ec == std::errc() && end == f.data() + f.size() && !f.empty();
}

// Results row: 2X, station I4, 2X, x E10.3, six values E12.3.
bool ParseRow(std::string_view line, TReportRow& row) {
  if (!IntField(line, 0, 6, row.Station)) return false;
  row.X = Field(line, 8, 10);
  double* values[] = {&row.Deflection, &row.Slope, &row.Moment, &row.Shear, &row.Reaction, &row.EI};
  for (size_t k = 0; k < 6; ++k) *values[k] = Field(line, 18 + 12 * k, 12);
  return !std::isnan(row.X);
}

// Tieback row: 1X, number I5, 2X, station I5, 2X, depth E12.3, then three
// times 2X and E15.4.
bool ParseTieback(std::string_view line, TReportTieback& t) {
  if (!IntField(line, 0, 6, t.Number) || !IntField(line, 8, 5, t.Station)) return false;
  t.Depth = Field(line, 15, 12);
  t.HorizontalForce = Field(line, 29, 15);
  t.AnchorForce = Field(line, 46, 15);
  t.TiebackForce = Field(line, 63, 15);
  return true;
}

// A line the engine writes only when it stops on bad input or on a
// soil-model stop code.
bool IsErrorLine(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.starts_with("ERROR") || Contains(t, "TOO MUCH DATA FOR AVAILABLE STORAGE")) return true;
  if (t.starts_with("STOP ")) {
    int code = 0;
    const size_t end = t.find(' ', 5);
    return IntField(t, 5, end == std::string_view::npos ? t.size() - 5 : end - 5, code);
  }
  return false;
}

// The engine's text without its frame of asterisks and dashes and with
// single blanks: "***** SOLUTION NOT CLOSED ... *****" reads "SOLUTION NOT
// CLOSED ...", "----WARNING----" disappears.
std::string Clean(std::string_view line) {
  std::string out;
  bool blank = false;
  for (char c : line) {
    if (c == '*' || c == ' ' || c == '\t' || c == '\r') {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  // A leading "WARNING" with its dashes is a frame, not a message.
  const size_t word = out.find_first_not_of('-');
  if (word != std::string::npos && out.compare(word, 7, "WARNING") == 0) {
    size_t k = word + 7;
    while (k < out.size() && (out[k] == '-' || out[k] == ' ')) ++k;
    out.erase(0, k);
  }
  const auto dashes = out.find_first_not_of('-');
  return dashes == std::string::npos ? std::string() : out;
}

bool StartsWithNumber(std::string_view line) {
  const std::string_view t = Trim(line);
  const size_t end = t.find(' ');
  const std::string_view word = t.substr(0, end);
  double v = 0;
  const auto [p, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
  return !word.empty() && ec == std::errc() && p == word.data() + word.size();
}

class TParser {
 public:
  explicit TParser(TReportOutcome& out) : out_(out) {}

  void Line(std::string_view line) {
    if (Contains(line, "END OF ANALYSIS")) {
      EndParagraph();
      out_.Closed = true;
      return;
    }
    if (warning_ > 0) {
      // A warning goes on over the following lines of its paragraph; a row
      // of numbers (a curve's table goes on right after some warnings)
      // ends it as well.
      if (!Blank(line) && !StartsWithNumber(line) && !Contains(line, "WARNING")) {
        const std::string c = Clean(line);
        if (!c.empty()) warningText_ += (warningText_.empty() ? "" : " ") + c;
        if (--warning_ == 0) FinishWarning();
      } else {
        FinishWarning();
      }
    }
    if (line.starts_with("     =====")) {
      // The banner opens every problem's header (twice: above and below
      // the program name).  A banner after a problem's results begins the
      // next problem.
      if (!problem_ || phase_ != kInput || problem_->HasResults) Begin();
      return;
    }
    if (Contains(line, "Time and Date of Analysis")) {
      awaitTitle_ = true;
      return;
    }
    if (awaitTitle_) {
      const std::string_view t = Trim(line);
      if (t.empty() || t.find_first_not_of('-') == std::string_view::npos || Contains(t, "Date:")) return;
      awaitTitle_ = false;
      if (problem_) problem_->Heading = std::string(t);
      return;
    }
    if (Contains(line, "RESULTS -- ITERATION")) {
      if (!problem_) Begin();
      EndParagraph();
      phase_ = kResults;
      table_ = false;
      problem_->HasResults = true;
      problem_->Message.clear();
      const auto at = line.find("ITERATION") + 9;
      int n = 0;
      if (IntField(line, at, line.size() - at, n)) problem_->Iterations = n;
      return;
    }
    switch (phase_) {
      case kInput: Input(line); break;
      case kResults: Results(line); break;
      case kDone: Done(line); break;
    }
  }

  void Finish() {
    FinishWarning();
    EndParagraph();
    for (TReportProblem& p : out_.Problems) {
      if (p.HasResults || !p.Message.empty()) continue;
      // A soil-model stop writes its reason without a fixed marker and the
      // run ends at once: its last paragraph is its message.
      p.Message = !lastParagraph_.empty() && &p == &out_.Problems.back() && !out_.Closed
                      ? lastParagraph_
                      : "The analysis ended without results.";
    }
  }

 private:
  enum TPhase { kInput, kResults, kDone };

  void Begin() {
    EndParagraph();
    out_.Problems.emplace_back();
    problem_ = &out_.Problems.back();
    phase_ = kInput;
    table_ = tieback_ = collecting_ = false;
    lastParagraph_.clear();
  }

  void Warning(std::string_view line) {
    if (!problem_) Begin();
    FinishWarning();
    warningText_ = Clean(line);
    warning_ = 4;  // at most this many lines continue a warning
  }

  void FinishWarning() {
    if (warning_ == 0 && warningText_.empty()) return;
    warning_ = 0;
    if (problem_ && !warningText_.empty()) {
      auto& w = problem_->Warnings;
      if (std::find(w.begin(), w.end(), warningText_) == w.end()) w.push_back(warningText_);
    }
    warningText_.clear();
  }

  void EndParagraph() {
    if (!paragraph_.empty()) lastParagraph_ = paragraph_;
    paragraph_.clear();
    collecting_ = false;
  }

  void Input(std::string_view line) {
    if (!problem_) {
      // The engine stopped before it wrote a header: only its message
      // stands in the report.
      if (Blank(line)) return;
      Begin();
    }
    if (Blank(line)) {
      EndParagraph();
      return;
    }
    if (Contains(line, "WARNING")) Warning(line);
    const std::string c = Clean(line);
    if (!c.empty()) paragraph_ += (paragraph_.empty() ? "" : "\n") + c;
    if (IsErrorLine(line) && problem_->Message.empty()) collecting_ = true;
    if (collecting_ && !c.empty()) problem_->Message += (problem_->Message.empty() ? "" : "\n") + c;
  }

  void Results(std::string_view line) {
    if (!table_) {
      if (Contains(line, "DEFLECTION OFF Q - W CURVES")) {
        problem_->OffCurve = true;
        Note(line);
      } else if (Contains(line, "MAX ALLOWABLE DEFLECTION EXCEEDED AT")) {
        const auto at = line.find("AT ***") + 6;
        int n = 0;
        if (at < line.size() && IntField(line, at, 4, n)) problem_->StationsExceeded = n;
        if (problem_->StationsExceeded == 0) problem_->StationsExceeded = 1;
        Note(line);
      } else if (Contains(line, "SOLUTION NOT CLOSED")) {
        problem_->NotClosed = true;
        Note(line);
      } else if (line.starts_with("   ------")) {
        table_ = true;
      }
      return;
    }
    TReportRow row;
    if (ParseRow(line, row)) {
      problem_->Rows.push_back(row);
    } else if (Blank(line) && !problem_->Rows.empty()) {
      phase_ = kDone;
    }
  }

  // An outcome line of the results: the deflection off the curves is a
  // warning; the others tell why the solution is not a closed one.
  void Note(std::string_view line) {
    std::string c = Clean(line);
    if (problem_->OffCurve && Contains(line, "OFF Q - W")) {
      if (std::find(problem_->Warnings.begin(), problem_->Warnings.end(), c) == problem_->Warnings.end())
        problem_->Warnings.push_back(c);
      return;
    }
    // The allowable deflection message is the stronger one and comes
    // first; the closure message follows it.
    if (problem_->Message.empty()) problem_->Message = c;
  }

  void Done(std::string_view line) {
    if (Contains(line, "TIE BACK RESULTS")) {
      tieback_ = true;
      tiebackRows_ = false;
      return;
    }
    if (tieback_) {
      if (line.starts_with("   -----")) {
        tiebackRows_ = true;
        return;
      }
      TReportTieback t;
      if (tiebackRows_ && ParseTieback(line, t)) {
        problem_->Tiebacks.push_back(t);
        return;
      }
      if (tiebackRows_ && Blank(line)) tieback_ = false;
      if (tieback_ || Blank(line)) return;
    }
    if (Blank(line)) return;
    // Text after a complete problem that is not a header: the next problem
    // stopped before its header was written.
    Begin();
    Input(line);
  }

  TReportOutcome& out_;
  TReportProblem* problem_ = nullptr;
  TPhase phase_ = kInput;
  bool awaitTitle_ = false;
  bool table_ = false;
  bool tieback_ = false;
  bool tiebackRows_ = false;
  bool collecting_ = false;
  int warning_ = 0;
  std::string warningText_;
  std::string paragraph_;
  std::string lastParagraph_;
};

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::string Trimmed(const std::string& s) {
  const auto a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

}  // namespace

// The engine titles stages "Stage No : k" and the long-term problem "Long
// Term :", each followed by the first title.
std::string ProblemName(const TReportOutcome& report, size_t index) {
  const std::string& h = report.Problems[index].Heading;
  if (StartsWith(h, "Stage No :")) {
    int stage = static_cast<int>(index) + 1;
    const std::string rest = Trimmed(h.substr(10));
    std::from_chars(rest.data(), rest.data() + rest.size(), stage);
    return "Stage " + std::to_string(stage);
  }
  if (StartsWith(h, "Long Term :")) return "Long-Term";
  if (index == 0 && report.Problems.size() > 1 && StartsWith(report.Problems[1].Heading, "Long Term :"))
    return "Short-Term";
  if (h.empty()) return "Problem " + std::to_string(index + 1);
  return Trimmed(h);
}

const char* OutcomeText(TOutcome outcome) {
  switch (outcome) {
    case TOutcome::Closed: return "closed";
    case TOutcome::NotClosed: return "not closed";
    case TOutcome::DeflectionExceeded: return "allowable deflection exceeded";
    case TOutcome::ErrorStop: return "error stop";
  }
  return "";
}

TOutcome TReportProblem::Outcome() const {
  if (!HasResults) return TOutcome::ErrorStop;
  if (StationsExceeded > 0) return TOutcome::DeflectionExceeded;
  if (NotClosed) return TOutcome::NotClosed;
  return TOutcome::Closed;
}

bool TReportOutcome::AllClosed() const {
  if (!Read || !Closed || Problems.empty()) return false;
  return std::all_of(Problems.begin(), Problems.end(),
                     [](const TReportProblem& p) { return p.Outcome() == TOutcome::Closed; });
}

TReportOutcome ParseReport(std::string_view text) {
  TReportOutcome out;
  out.Read = true;
  TParser parser(out);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    parser.Line(line);
    pos = end + 1;
  }
  parser.Finish();
  return out;
}

TReportOutcome ReadReport(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream s;
  s << in.rdbuf();
  return ParseReport(s.str());
}

}  // namespace ramvex
