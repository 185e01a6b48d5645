#include "NumberText.h"

#include <gtest/gtest.h>

#include <limits>

namespace ramvex {
namespace {

TEST(FormatGeneral, EighteenSignificantDigits) {
  struct Case {
    long double value;
    const char* text;
  };
  const Case cases[] = {
      {0.0L, "0"},
      {-0.0L, "0"},
      {0.25L, "0.25"},
      {-2.5L, "-2.5"},
      {100.0L, "100"},
      {1.0L / 3.0L, "0.333333333333333333"},
      {130.0L / 3.0L, "43.3333333333333333"},
      {2.0L / 3.0L, "0.666666666666666667"},
      {1e-5L, "0.00001"},
      {1.5e-6L, "1.5E-6"},
      {1e17L, "100000000000000000"},
      {123456789012345678.0L, "123456789012345678"},
      {1e18L, "1E18"},
      {-1.25e20L, "-1.25E20"},
      {std::numeric_limits<long double>::max(), "1.18973149535723177E4932"},
      {std::numeric_limits<long double>::infinity(), "INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatGeneral(c.value), c.text);
  EXPECT_EQ(FormatGeneral(1.0L / 3.0L, 4), "0.3333");
  EXPECT_EQ(FormatGeneral(99999.0L, 4), "1E5");
}

TEST(ParseReal, WholeDecimalTextOnly) {
  struct Case {
    const char* text;
    RealParse result;
    long double value;
  };
  const Case cases[] = {
      {"1.5", RealParse::Ok, 1.5L},    {"-2e3", RealParse::Ok, -2000.0L}, {"+4", RealParse::Ok, 4.0L},
      {".5", RealParse::Ok, 0.5L},     {"5.", RealParse::Ok, 5.0L},       {"1E-2", RealParse::Ok, 0.01L},
      {"1e-5000", RealParse::Ok, 0.0L}, {"0.0001e-4940", RealParse::Ok, 0.0L},
      {"1e5000", RealParse::Overflow, 0}, {"12345e4930", RealParse::Overflow, 0},
      {"", RealParse::Invalid, 0},     {"1,5", RealParse::Invalid, 0},   {"+-1", RealParse::Invalid, 0},
      {"inf", RealParse::Invalid, 0},  {"nan", RealParse::Invalid, 0},   {"0x10", RealParse::Invalid, 0},
      {"1e", RealParse::Invalid, 0},   {" 1", RealParse::Invalid, 0},    {"1.5.", RealParse::Invalid, 0},
  };
  for (const Case& c : cases) {
    long double v = -1;
    EXPECT_EQ(ParseReal(c.text, v), c.result) << c.text;
    if (c.result == RealParse::Ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
}

}  // namespace
}  // namespace ramvex
