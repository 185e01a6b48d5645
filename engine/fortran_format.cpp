#include "fortran_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ramvex::fmt {
namespace {

std::string stars(int w) { return std::string(static_cast<size_t>(w > 0 ? w : 0), '*'); }

std::string rightJustify(const std::string& s, int w) {
  if (static_cast<int>(s.size()) > w) return stars(w);
  return std::string(static_cast<size_t>(w) - s.size(), ' ') + s;
}

// Infinity and NaN as the Fortran run-time library spells them, shortened
// to the field.
std::string nonFinite(double value, int w) {
  if (std::isnan(value)) return w >= 3 ? rightJustify("NaN", w) : stars(w);
  const bool negative = value < 0;
  if (negative) {
    if (w >= 9) return rightJustify("-Infinity", w);
    if (w >= 4) return rightJustify("-Inf", w);
    return stars(w);
  }
  if (w >= 8) return rightJustify("Infinity", w);
  if (w >= 3) return rightJustify("Inf", w);
  return stars(w);
}

// printf of one non-negative finite value, however many digits it takes.
std::string printDigits(const char* conversion, int precision, double value) {
  std::string out(64, '\0');
  int n = std::snprintf(out.data(), out.size(), conversion, precision, value);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) >= out.size()) {
    out.assign(static_cast<std::size_t>(n) + 1, '\0');
    n = std::snprintf(out.data(), out.size(), conversion, precision, value);
    if (n < 0) return {};
  }
  out.resize(static_cast<std::size_t>(n));
  return out;
}

// Exponent form with `digits` significant digits and `before` digits before
// the point (0 for Ew.d, 1 for 1PEw.d).  The C library rounds the binary
// value correctly, the same rounding the Fortran library applies.
std::string exponentForm(double value, int w, int d, int before, char letter) {
  if (!std::isfinite(value)) return nonFinite(value, w);
  // The point, d digits and a four-character exponent never fit when d >= w;
  // the bound also keeps the digit count small enough to print.
  if (w <= 0 || d < 0 || d >= w) return stars(w);
  const int significant = before == 0 ? d : d + 1;
  if (significant <= 0) return stars(w);
  const std::string printed = printDigits("%.*e", significant - 1, std::fabs(value));
  // printed: D[.DDD]e±XX
  const std::size_t e = printed.find('e');
  if (e == std::string::npos) return stars(w);
  std::string digits;
  for (std::size_t i = 0; i < e; ++i)
    if (printed[i] != '.') digits += printed[i];
  int exponent = std::atoi(printed.c_str() + e + 1);
  const bool zero = value == 0.0;
  if (before == 0 && !zero) exponent += 1;
  if (zero) exponent = 0;

  std::string mantissa;
  if (before == 0) {
    mantissa = "." + digits;
  } else {
    mantissa = digits.substr(0, 1) + "." + digits.substr(1);
  }

  std::string expText;
  const int absExp = std::abs(exponent);
  char ebuf[16];
  if (absExp <= 99) {
    std::snprintf(ebuf, sizeof ebuf, "%c%c%02d", letter, exponent < 0 ? '-' : '+', absExp);
  } else if (absExp <= 999) {
    std::snprintf(ebuf, sizeof ebuf, "%c%03d", exponent < 0 ? '-' : '+', absExp);
  } else {
    return stars(w);
  }
  expText = ebuf;

  const std::string sign = std::signbit(value) ? "-" : "";
  std::string body = sign + mantissa + expText;
  if (before == 0) {
    // The zero before the point is optional: printed when there is room.
    if (static_cast<int>(body.size()) + 1 <= w) body = sign + "0" + mantissa + expText;
  }
  return rightJustify(body, w);
}

}  // namespace

std::string I(long long value, int w, int m) {
  if (w <= 0) return {};
  std::string digits;
  const unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  if (m == 0 && value == 0) return std::string(static_cast<size_t>(w), ' ');
  digits = std::to_string(magnitude);
  if (m > 0 && static_cast<int>(digits.size()) < m) digits.insert(0, static_cast<size_t>(m) - digits.size(), '0');
  if (value < 0) digits.insert(0, "-");
  return rightJustify(digits, w);
}

std::string F(double value, int w, int d) {
  if (!std::isfinite(value)) return nonFinite(value, w);
  // The point and d decimals alone need d + 1 characters.
  if (w <= 0 || d < 0 || d >= w) return stars(w);
  std::string body = printDigits("%#.*f", d, std::fabs(value));
  if (body.empty()) return stars(w);
  const std::string sign = std::signbit(value) ? "-" : "";
  if (body.size() > 1 && body[0] == '0' && body[1] == '.') {
    // Leading zero is optional; drop it only when the field is too narrow.
    if (static_cast<int>(sign.size() + body.size()) > w) body.erase(0, 1);
  }
  return rightJustify(sign + body, w);
}

std::string E(double value, int w, int d) { return exponentForm(value, w, d, 0, 'E'); }
std::string PE(double value, int w, int d) { return exponentForm(value, w, d, 1, 'E'); }
std::string D(double value, int w, int d) { return exponentForm(value, w, d, 0, 'D'); }

std::string A(std::string_view text, int w) {
  if (w <= 0) return {};
  if (static_cast<int>(text.size()) >= w) return std::string(text.substr(0, static_cast<size_t>(w)));
  return std::string(static_cast<size_t>(w) - text.size(), ' ') + std::string(text);
}

std::string L(bool value, int w) {
  if (w <= 0) return {};
  return std::string(static_cast<size_t>(w) - 1, ' ') + (value ? "T" : "F");
}

std::string freeReal(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
  char buf[64];
  auto result = std::to_chars(buf, buf + sizeof buf, value);
  std::string s(buf, result.ptr);
  // Keep a decimal point or exponent so the value reads back as a real.
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

std::string freeInt(long long value) { return std::to_string(value); }

}  // namespace ramvex::fmt
