#include "Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace ramvex {
namespace {

// Token factors written out, English per SI.
constexpr long double kLbsPerKN = 224.8089237L;
constexpr long double kInPerM = 39.37007874L;
constexpr long double kInPerMm = 0.03937007874L;
constexpr long double kFtPerM = 3.280839895L;

struct FactorCase {
  const char* units;
  long double siToEnglish;
};

void PrintTo(const FactorCase& c, std::ostream* os) { *os << '"' << c.units << '"'; }

class UnitFactorTest : public ::testing::TestWithParam<FactorCase> {};

TEST_P(UnitFactorTest, ConvertsBetweenEnglishAndSI) {
  const FactorCase& c = GetParam();
  long double toEnglish = UnitFactor(c.units, kSIUnits, kEnglishUnits);
  long double toSI = UnitFactor(c.units, kEnglishUnits, kSIUnits);
  EXPECT_NEAR(static_cast<double>(toEnglish / c.siToEnglish), 1.0, 1e-15) << c.units;
  EXPECT_NEAR(static_cast<double>(toSI * c.siToEnglish), 1.0, 1e-15) << c.units;

  // 1 -> 2 -> 1 returns the value to itself.
  const long double value = 123.456789L;
  long double back = value * toSI * toEnglish;
  EXPECT_NEAR(static_cast<double>(back / value), 1.0, 1e-12) << c.units;
  // 1 -> 3 -> 2 leaves the number as it is.
  EXPECT_EQ(value * UnitFactor(c.units, kEnglishUnits, kOtherUnits) * UnitFactor(c.units, kOtherUnits, kSIUnits),
            value)
      << c.units;
}

INSTANTIATE_TEST_SUITE_P(
    UnitStrings, UnitFactorTest,
    ::testing::Values(FactorCase{"F-L^2", kLbsPerKN * kInPerM * kInPerM},
                      FactorCase{"F/L2^3", kLbsPerKN / (kFtPerM * kFtPerM * kFtPerM)},
                      FactorCase{"L1^2", kInPerMm * kInPerMm}, FactorCase{"F", kLbsPerKN},
                      FactorCase{"F/L", kLbsPerKN / kInPerM}, FactorCase{"F/L2", kLbsPerKN / kFtPerM},
                      FactorCase{"F/L^2", kLbsPerKN / (kInPerM * kInPerM)},
                      FactorCase{"F/L2^2", kLbsPerKN / (kFtPerM * kFtPerM)},
                      FactorCase{"F/L^3", kLbsPerKN / (kInPerM * kInPerM * kInPerM)},
                      FactorCase{"F-L", kLbsPerKN * kInPerM}, FactorCase{"F-L/RAD.", kLbsPerKN * kInPerM},
                      FactorCase{"F^2", kLbsPerKN * kLbsPerKN}, FactorCase{"F1/L2", 0.2248089237L / kFtPerM},
                      FactorCase{"F2", 0.1124044745L}, FactorCase{"F4", 5.7101483L},
                      FactorCase{"F6/L", 68.364249L / kInPerM}, FactorCase{"F5", 1.0L}, FactorCase{"L3", 1.0L},
                      FactorCase{"L", kInPerM}, FactorCase{"L1", kInPerMm}, FactorCase{"L2", kFtPerM},
                      FactorCase{"DEG.", 1.0L}, FactorCase{"SEE NOTES", 1.0L}, FactorCase{"", 1.0L}),
    [](const ::testing::TestParamInfo<FactorCase>& info) {
      std::string name = std::to_string(info.index) + "_";
      for (const char* p = info.param.units; *p != '\0'; ++p) {
        bool alnum = (*p >= '0' && *p <= '9') || (*p >= 'A' && *p <= 'Z');
        name += alnum ? *p : '_';
      }
      return name;
    });

TEST(UnitFactor, OnlyEnglishAndSIConvert) {
  for (int from = 1; from <= 3; ++from) {
    for (int to = 1; to <= 3; ++to) {
      if ((from == 1 && to == 2) || (from == 2 && to == 1)) continue;
      EXPECT_EQ(UnitFactor("F/L2^3", from, to), 1.0L) << from << "->" << to;
    }
  }
}

struct RenderCase {
  const char* units;
  const char* column[3];
  const char* entry[3];
};

TEST(RenderUnits, ColumnAndEntryFieldRules) {
  const RenderCase cases[] = {
      {"F-L^2", {"lbs-in^2", "kN-m^2", "F-L^2"}, {"lbs-in^2", "kN-m^2", "F-L^2"}},
      {"F/L2^3", {"lbs/ft^3", "kN/m^3", "F/L^3"}, {"lbs/ft^3", "kN/m^3", "F/L2^3"}},
      {"L1^2", {"in^2", "mm^2", "L^2"}, {"in^2", "mm^2", "L1^2"}},
      {"F-L/RAD.", {"lbs-in/RAD.", "kN-m/RAD.", "F-L/RAD."}, {"lbs-in/RAD.", "kN-m/RAD.", "F-L/RAD."}},
      {"L2", {"ft", "m", "L"}, {"ft", "m", "L2"}},
      {"F4", {"lb-sec2/in", "Mg", "M"}, {"lb-sec2/in", "Mg", "F4"}},
      {"F5", {"sec", "sec", "T"}, {"sec", "sec", "F5"}},
      {"F6/L3", {"slug/rad", "Mg/rad", "F/L"}, {"slug/rad", "Mg/rad", "F6/L3"}},
      {"F1/L2^2", {"kips/ft^2", "kN/m^2", "F/L^2"}, {"kips/ft^2", "kN/m^2", "F1/L2^2"}},
      // the entry rule replaces only the first force and length tokens found
      {"L2/L", {"ft/in", "m/m", "L/L"}, {"ft/L", "m/L", "L2/L"}},
      {"F2-F", {"tons-lbs", "kN-kN", "F-F"}, {"tons-F", "kN-F", "F2-F"}},
      {"DEG.", {"DEG.", "DEG.", "DEG."}, {"DEG.", "DEG.", "DEG."}},
      {"SEE NOTES", {"SEE NOTES", "SEE NOTES", "SEE NOTES"}, {"SEE NOTES", "SEE NOTES", "SEE NOTES"}},
      {"", {"", "", ""}, {"", "", ""}},
  };
  for (const RenderCase& c : cases) {
    for (int s = 1; s <= 3; ++s) {
      EXPECT_EQ(RenderUnits(c.units, s), c.column[s - 1]) << c.units << " system " << s;
      EXPECT_EQ(RenderEntryUnits(c.units, s), c.entry[s - 1]) << c.units << " system " << s;
    }
  }
}

TEST(UnitSystems, ClampAndCaptions) {
  EXPECT_EQ(ClampUnitSystem(0), 1);
  EXPECT_EQ(ClampUnitSystem(-5), 1);
  EXPECT_EQ(ClampUnitSystem(2), 2);
  EXPECT_EQ(ClampUnitSystem(9), 3);
  EXPECT_STREQ(UnitSystemCaption(1), "&English Units (lbs, in)");
  EXPECT_STREQ(UnitSystemCaption(2), "&SI Units (kN, m)");
  EXPECT_STREQ(UnitSystemCaption(3), "&Other Units (F, L)");
  EXPECT_EQ(RenderUnits("F/L2", 0), "lbs/ft");
  EXPECT_EQ(RenderUnits("F/L2", 7), "F/L");
}

}  // namespace
}  // namespace ramvex
