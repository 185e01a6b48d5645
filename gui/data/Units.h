// Unit systems and unit strings.
//
// A quantity names its unit by a unit string made of force and length
// tokens ("F-L^2", "F/L2^3").  The string yields the label shown in each
// unit system and the factor that converts stored values between systems.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ramvex {

// 1 English (lbs, in, ft), 2 SI (kN, m, mm), 3 other units (F, L; never
// converted to or from).
constexpr int kEnglishUnits = 1;
constexpr int kSIUnits = 2;
constexpr int kOtherUnits = 3;

// Values outside 1..3 are taken as 1 (0 or less) or 3 (above 3).
int ClampUnitSystem(int system);

// Caption of the system's menu command.
const char* UnitSystemCaption(int system);

struct TUnitToken {
  const char* Token;
  int Index;
  std::array<const char*, 3> Names;  // per system 1, 2, 3
  long double Factor;                // English value = SI value * Factor
};

extern const std::array<TUnitToken, 10> UnitTokens;

// Label of a unit string for table columns: every token replaced by its
// name in the system, two-character tokens first.
std::string RenderUnits(std::string_view unitString, int system);

// Label of a unit string for an entry field: unchanged in system 3;
// otherwise only the first force token found and the first length token
// found are replaced, each at all its occurrences.
std::string RenderEntryUnits(std::string_view unitString, int system);

// Factor by which a value held in system `from` is multiplied to hold it in
// system `to`.  1 unless one side is English and the other SI.
long double UnitFactor(std::string_view unitString, int from, int to);

}  // namespace ramvex
