// Every output field against the Fortran run-time library.  The table in
// fortran_reference/cases.txt is written by gfortran (regenerate.sh there);
// each row names a descriptor, a value and the exact field gfortran produced.
#include "fortran_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace ramvex::fmt {
namespace {

struct Descriptor {
  std::string kind;  // "I", "F", "E", "PE", "D", "A", "L"
  int w = 0;
  int d = -1;  // decimals, or the minimum digits of Iw.m
};

Descriptor parseDescriptor(const std::string& text) {
  Descriptor desc;
  std::size_t pos = 0;
  if (text.rfind("1P", 0) == 0) {
    desc.kind = "PE";
    pos = 3;
  } else {
    desc.kind = text.substr(0, 1);
    pos = 1;
  }
  const std::size_t dot = text.find('.', pos);
  desc.w = std::stoi(text.substr(pos, dot - pos));
  if (dot != std::string::npos) desc.d = std::stoi(text.substr(dot + 1));
  return desc;
}

// "[text]" -> "text"
std::string unbracket(const std::string& field) {
  if (field.size() < 2 || field.front() != '[' || field.back() != ']') return "<malformed " + field + ">";
  return field.substr(1, field.size() - 2);
}

std::vector<std::string> splitRow(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = line.find('|', start);
    parts.push_back(line.substr(start, bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return parts;
}

std::string format(const Descriptor& desc, const std::vector<std::string>& row) {
  if (desc.kind == "I") return I(std::stoll(row[2]), desc.w, desc.d);
  if (desc.kind == "A") return A(unbracket(row[2]), desc.w);
  if (desc.kind == "L") return L(row[2] == "T", desc.w);
  const double value = std::bit_cast<double>(static_cast<std::uint64_t>(std::stoull(row[2], nullptr, 16)));
  if (desc.kind == "F") return F(value, desc.w, desc.d);
  if (desc.kind == "E") return E(value, desc.w, desc.d);
  if (desc.kind == "PE") return PE(value, desc.w, desc.d);
  if (desc.kind == "D") return D(value, desc.w, desc.d);
  return "<unknown descriptor>";
}

TEST(FortranFormat, MatchesGfortranReferenceTable) {
  const std::string path = RAMVEX_SOURCE_DIR "/tests/engine/fortran_reference/cases.txt";
  std::ifstream in(path);
  ASSERT_TRUE(in) << "cannot open " << path;
  int lineNo = 0;
  int checked = 0;
  std::string line;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::vector<std::string> row = splitRow(line);
    // R rows carry a readable copy of the value before the field.
    const std::size_t expected = row.empty() ? 0 : (row[0] == "R" ? 4 : 3);
    if (row.size() != expected + 1) {
      ADD_FAILURE() << path << ":" << lineNo << ": malformed row: " << line;
      continue;
    }
    const std::string want = unbracket(row[expected]);
    const std::string got = format(parseDescriptor(row[1]), row);
    ++checked;
    EXPECT_EQ(got, want) << "line " << lineNo << ": " << row[1] << " of "
                         << (row[0] == "R" ? row[3] : row[2]) << "\n  expected [" << want << "]\n  actual   [" << got
                         << "]";
  }
  EXPECT_GT(checked, 0) << "no cases in " << path;
}

// Descriptors no report uses, which must still give a field of the right
// width and never read past a buffer: more decimals than the field holds,
// decimal counts too large to print, empty and negative widths.
TEST(FortranFormat, DegenerateFieldsGiveStarsOfTheirWidth) {
  struct Case {
    const char* what;
    std::string got;
    std::string want;
  };
  const Case cases[] = {
      {"F5.5", F(1.0, 5, 5), "*****"},
      {"F4.2147483647", F(1.0, 4, 2147483647), "****"},
      {"E6.6", E(1.0, 6, 6), "******"},
      {"E3.2147483647", E(1.0, 3, 2147483647), "***"},
      {"1PE4.2147483647", PE(1.0, 4, 2147483647), "****"},
      {"D5.-1", D(1.0, 5, -1), "*****"},
      {"F0.0", F(1.0, 0, 0), ""},
      {"E-3.1", E(1.0, -3, 1), ""},
      {"I-2", I(5, -2), ""},
      {"A0", A("LBS", 0), ""},
      {"L0", L(true, 0), ""},
      {"I3.5", I(5, 3, 5), "***"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

}  // namespace
}  // namespace ramvex::fmt
