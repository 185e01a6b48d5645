#include "Units.h"

namespace ramvex {

const std::array<TUnitToken, 10> UnitTokens = {{
    {"F", 0, {"lbs", "kN", "F"}, 224.8089237L},
    {"F1", 1, {"kips", "kN", "F"}, 0.2248089237L},
    {"F2", 2, {"tons", "kN", "F"}, 0.1124044745L},
    {"L", 3, {"in", "m", "L"}, 39.37007874L},
    {"L1", 4, {"in", "mm", "L"}, 0.03937007874L},
    {"L2", 5, {"ft", "m", "L"}, 3.280839895L},
    {"F4", 6, {"lb-sec2/in", "Mg", "M"}, 5.7101483L},
    {"F5", 7, {"sec", "sec", "T"}, 1.0L},
    {"L3", 8, {"rad", "rad", "L"}, 1.0L},
    {"F6", 9, {"slug", "Mg", "F"}, 68.364249L},
}};

namespace {

const TUnitToken& TokenNamed(std::string_view token) {
  for (const TUnitToken& t : UnitTokens) {
    if (token == t.Token) return t;
  }
  return UnitTokens[0];
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
}

long double IntPower(long double base, int exponent) {
  long double result = 1.0L;
  for (int i = 0; i < exponent; ++i) result *= base;
  return result;
}

// Exponent digit in the fourth position of a term; a malformed string
// without one counts as the first power.
int ExponentAt(const std::string& part) {
  if (part.size() > 3 && part[3] >= '0' && part[3] <= '9') return part[3] - '0';
  return 1;
}

// Factor of the numerator or denominator of a unit string: an optional
// force term (F, F1 ... F6, maybe ^n) followed by an optional length term
// (L, L1 ... L3, maybe ^n), read from the beginning.
long double PartFactor(std::string part) {
  long double force = 1.0L;
  int forceExp = 0;
  if (!part.empty() && part[0] == 'F') {
    char d = part.size() > 1 ? part[1] : '\0';
    if (std::string_view("012456").find(d) == std::string_view::npos) part.insert(1, "0");
    int index = 0;
    switch (part[1]) {
      case '1': index = 1; break;
      case '2': index = 2; break;
      case '4': index = 6; break;
      case '5': index = 7; break;
      case '6': index = 9; break;
      default: index = 0; break;
    }
    force = UnitTokens[static_cast<size_t>(index)].Factor;
    if (part.size() > 2 && part[2] == '^') {
      forceExp = ExponentAt(part);
      part.erase(0, 5);
    } else {
      forceExp = 1;
      part.erase(0, 3);
    }
  }
  long double length = 1.0L;
  int lengthExp = 0;
  if (!part.empty() && part[0] == 'L') {
    char d = part.size() > 1 ? part[1] : '\0';
    if (std::string_view("0123").find(d) == std::string_view::npos) part.insert(1, "0");
    int index = 5;
    switch (part[1]) {
      case '0': index = 3; break;
      case '1': index = 4; break;
      case '3': index = 8; break;
      default: index = 5; break;
    }
    length = UnitTokens[static_cast<size_t>(index)].Factor;
    lengthExp = part.size() > 2 ? ExponentAt(part) : 1;
  }
  return IntPower(force, forceExp) * IntPower(length, lengthExp);
}

}  // namespace

int ClampUnitSystem(int system) {
  if (system < 1) return 1;
  if (system > 3) return 3;
  return system;
}

const char* UnitSystemCaption(int system) {
  switch (ClampUnitSystem(system)) {
    case 1: return "&English Units (lbs, in)";
    case 2: return "&SI Units (kN, m)";
    default: return "&Other Units (F, L)";
  }
}

std::string RenderUnits(std::string_view unitString, int system) {
  const size_t s = static_cast<size_t>(ClampUnitSystem(system) - 1);
  std::string text(unitString);
  // Two-character tokens before "F" and "L"; no name holds an upper-case F
  // or L, so a name put in is never taken for a token.
  for (const char* token : {"F2", "F1", "F4", "F5", "F6", "F", "L3", "L2", "L1", "L"}) {
    ReplaceAll(text, token, TokenNamed(token).Names[s]);
  }
  return text;
}

std::string RenderEntryUnits(std::string_view unitString, int system) {
  system = ClampUnitSystem(system);
  std::string text(unitString);
  if (system == kOtherUnits) return text;
  const size_t s = static_cast<size_t>(system - 1);
  for (const char* token : {"F6", "F5", "F4", "F2", "F1", "F"}) {
    if (text.find(token) != std::string::npos) {
      ReplaceAll(text, token, TokenNamed(token).Names[s]);
      break;
    }
  }
  for (const char* token : {"L2", "L1", "L3", "L"}) {
    if (text.find(token) != std::string::npos) {
      ReplaceAll(text, token, TokenNamed(token).Names[s]);
      break;
    }
  }
  return text;
}

long double UnitFactor(std::string_view unitString, int from, int to) {
  int e = 0;
  if (from == kEnglishUnits && to == kSIUnits) e = -1;
  if (from == kSIUnits && to == kEnglishUnits) e = 1;
  if (e == 0) return 1.0L;
  size_t slash = unitString.find('/');
  std::string numerator(unitString.substr(0, slash));
  std::string denominator = slash == std::string_view::npos ? std::string() : std::string(unitString.substr(slash + 1));
  long double ratio = PartFactor(numerator) / PartFactor(denominator);
  return e > 0 ? ratio : 1.0L / ratio;
}

}  // namespace ramvex
