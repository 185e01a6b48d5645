#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace ramvex {

namespace {

// Decimal exponent of the leading digit of a numeric text that from_chars
// found out of range, to tell underflow (negative) from overflow.
long long LeadingExponent(std::string_view t) {
  size_t epos = t.find_first_of("eE");
  std::string_view mant = t.substr(0, epos);
  long long exp = 0;
  if (epos != std::string_view::npos) {
    std::string_view e = t.substr(epos + 1);
    bool neg = false;
    if (!e.empty() && (e[0] == '-' || e[0] == '+')) {
      neg = e[0] == '-';
      e.remove_prefix(1);
    }
    for (char c : e) {
      if (exp < 1000000) exp = exp * 10 + (c - '0');
    }
    if (neg) exp = -exp;
  }
  if (!mant.empty() && mant[0] == '-') mant.remove_prefix(1);
  size_t point = mant.find('.');
  if (point == std::string_view::npos) point = mant.size();
  size_t first = mant.find_first_of("123456789");
  if (first == std::string_view::npos) return -1;  // all zeros: underflow side
  long long lead = first < point ? static_cast<long long>(point - first) - 1
                                 : -static_cast<long long>(first - point);
  return lead + exp;
}

}  // namespace

RealParse ParseReal(std::string_view text, long double& value) {
  std::string_view t = text;
  if (!t.empty() && t[0] == '+') {
    t.remove_prefix(1);
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) return RealParse::Invalid;
  }
  if (t.empty()) return RealParse::Invalid;
  // from_chars also takes "inf", "nan" and friends; a number entry never
  // means those.
  if (t.find_first_not_of("0123456789.eE+-") != std::string_view::npos) return RealParse::Invalid;
  long double v = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
  if (ptr != t.data() + t.size()) return RealParse::Invalid;
  if (ec == std::errc::invalid_argument) return RealParse::Invalid;
  if (ec == std::errc::result_out_of_range) {
    if (LeadingExponent(t) < 0) {
      value = t[0] == '-' ? -0.0L : 0.0L;
      return RealParse::Ok;
    }
    return RealParse::Overflow;
  }
  if (ec != std::errc()) return RealParse::Invalid;
  value = v;
  return RealParse::Ok;
}

long double RoundHalfEven(long double value) {
  long double r = std::floor(value);
  long double diff = value - r;
  if (diff > 0.5L || (diff == 0.5L && std::fmod(r, 2.0L) != 0)) r += 1.0L;
  return r;
}

std::string FormatGeneral(long double value, int digits) {
  if (digits < 1) digits = 1;
  if (digits > 18) digits = 18;
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";

  // to_chars rounds correctly to the requested digits; the layout is then
  // rebuilt from its mantissa digits and exponent.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
  std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
  bool neg = false;
  if (!sci.empty() && sci[0] == '-') {
    neg = true;
    sci.remove_prefix(1);
  }
  size_t epos = sci.find('e');
  std::string mant;
  for (char c : sci.substr(0, epos)) {
    if (c != '.') mant += c;
  }
  int exp = 0;
  std::from_chars(sci.data() + epos + 1 + (sci[epos + 1] == '+' ? 1 : 0), sci.data() + sci.size(), exp);
  while (mant.size() > 1 && mant.back() == '0') mant.pop_back();

  std::string out = neg ? "-" : "";
  if (exp < -5 || exp >= digits) {
    out += mant[0];
    if (mant.size() > 1) {
      out += '.';
      out.append(mant, 1);
    }
    out += 'E';
    out += std::to_string(exp);
  } else if (exp >= 0) {
    size_t intDigits = static_cast<size_t>(exp) + 1;
    if (mant.size() <= intDigits) {
      out += mant;
      out.append(intDigits - mant.size(), '0');
    } else {
      out.append(mant, 0, intDigits);
      out += '.';
      out.append(mant, intDigits);
    }
  } else {
    out += "0.";
    out.append(static_cast<size_t>(-exp - 1), '0');
    out += mant;
  }
  return out;
}

}  // namespace ramvex
