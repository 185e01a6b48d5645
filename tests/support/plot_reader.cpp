#include "plot_reader.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace ramvex::test {
namespace {

struct Token {
  std::string_view text;
  int line = 0;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

class TokenStream {
 public:
  explicit TokenStream(std::string_view text) {
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
      if (isBlank(text[i])) {
        if (text[i] == '\n') ++line;
        ++i;
        continue;
      }
      const std::size_t start = i;
      while (i < text.size() && !isBlank(text[i])) ++i;
      tokens_.push_back({text.substr(start, i - start), line});
    }
  }

  bool atEnd() const { return next_ == tokens_.size(); }

  int integer(const std::string& what) {
    const Token& t = take(what, "an integer");
    std::string_view s = t.text;
    if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) fail(t, what, "an integer");
    return value;
  }

  // A count of records: a non-negative integer.
  int count(const std::string& what) {
    const int n = integer(what);
    if (n < 0) fail(tokens_[next_ - 1], what, "a count of 0 or more");
    return n;
  }

  double real(const std::string& what) {
    const Token& t = take(what, "a real");
    std::string_view s = t.text;
    if (s.size() > 1 && s[0] == '+' && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) fail(t, what, "a real");
    return value;
  }

 private:
  const Token& take(const std::string& what, const char* kind) {
    if (atEnd()) {
      std::ostringstream msg;
      msg << "plot data ends ";
      if (tokens_.empty()) {
        msg << "before its first token";
      } else {
        msg << "after token " << tokens_.size() << " (line " << tokens_.back().line << ")";
      }
      msg << ": expected " << what << " (" << kind << ")";
      throw std::runtime_error(msg.str());
    }
    return tokens_[next_++];
  }

  [[noreturn]] void fail(const Token& t, const std::string& what, const char* kind) const {
    std::ostringstream msg;
    msg << "plot data token " << next_ << " (line " << t.line << ") \"" << t.text << "\": expected " << what << " ("
        << kind << ")";
    throw std::runtime_error(msg.str());
  }

  std::vector<Token> tokens_;
  std::size_t next_ = 0;
};

PlotBlock readBlock(TokenStream& in, int number) {
  const std::string b = "block " + std::to_string(number) + " ";
  PlotBlock block;
  const int nEP = in.count(b + "B1 nEP");
  for (int i = 0; i < nEP; ++i) {
    const std::string what = b + "B2 earth-pressure point " + std::to_string(i + 1) + " ";
    EarthPressurePoint p;
    p.depth = in.real(what + "depth");
    p.total = in.real(what + "total");
    p.soil = in.real(what + "soil part");
    p.surcharge = in.real(what + "surcharge part");
    block.earthPressure.push_back(p);
  }
  block.units = in.integer(b + "B3 unit system");
  const int nPY = in.count(b + "B4 nPY");
  for (int i = 0; i < nPY; ++i) {
    const std::string what = b + "B5 p-y curve " + std::to_string(i + 1) + " ";
    PlotCurve curve;
    curve.label = in.real(what + "label");
    const int n = in.count(what + "point count");
    for (int k = 0; k < n; ++k) {
      const std::string point = what + "point " + std::to_string(k + 1) + " ";
      const double y = in.real(point + "y");
      const double p = in.real(point + "p");
      curve.points.emplace_back(y, p);
    }
    block.curves.push_back(std::move(curve));
  }
  block.nSets = in.integer(b + "B6 nSets");
  const int nNodes = in.count(b + "B7 nNodes");
  block.nodeUnits = in.integer(b + "B8 unit system");
  for (int i = 0; i < nNodes; ++i) {
    const std::string what = b + "B9 node " + std::to_string(i + 1) + " ";
    PlotNode node;
    node.depth = in.real(what + "depth");
    node.deflection = in.real(what + "deflection");
    node.moment = in.real(what + "moment");
    node.shear = in.real(what + "shear");
    node.reaction = in.real(what + "net reaction");
    block.nodes.push_back(node);
  }
  return block;
}

}  // namespace

std::vector<PlotBlock> readPlotData(std::string_view text) {
  TokenStream in(text);
  if (in.atEnd()) throw std::runtime_error("plot data holds no block");
  std::vector<PlotBlock> blocks;
  while (!in.atEnd()) blocks.push_back(readBlock(in, static_cast<int>(blocks.size()) + 1));
  return blocks;
}

std::vector<PlotBlock> readPlotFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open plot data file " + path.string());
  std::ostringstream content;
  content << file.rdbuf();
  try {
    return readPlotData(content.str());
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(path.string() + ": " + e.what());
  }
}

}  // namespace ramvex::test
