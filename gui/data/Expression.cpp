#include "Expression.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "NumberText.h"

namespace ramvex {

namespace msg = entry_messages;

namespace {

// Stands in the text for a binary minus once signs are told apart; a typed
// entry never holds it (it is rejected as an invalid character).
constexpr char kSubtract = '\x01';

// Function terms nest by recursion ("sinsinsin1", "3!!!"); a typed entry is
// never this deep, a pasted one must not exhaust the stack.
constexpr int kMaxDepth = 500;

constexpr long double kInt32Min = -2147483648.0L;
constexpr long double kInt32Max = 2147483647.0L;
// 2^63: the first value beyond the 64-bit range.
constexpr long double kInt64Bound = 9223372036854775808.0L;

[[noreturn]] void Fail(const char* message) { throw EAssignError(message); }

long double Checked(long double v) {
  if (std::isnan(v)) Fail(msg::kUndefined);
  if (std::isinf(v)) Fail(msg::kTooLarge);
  return v;
}

std::string Splice(long double v) { return FormatGeneral(v, 18); }

bool IsIntegral(long double v) { return v == std::trunc(v); }

// Names before which a '-' is a sign (compared with the whole text before it).
constexpr const char* kSignNames[] = {
    "arctanh", "arctan", "cotan", "tanh", "tan", "arccosh", "arccos", "cosh", "cos", "sec",
    "arcsinh", "arcsin", "sinh",  "sin",  "cosec", "csc", "abs", "frac", "int", "ln",
    "round",   "ceil",   "floor", "log",  "sqrt",  "!",   "$"};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (x != b[i]) return false;
  }
  return true;
}

bool IsSignName(std::string_view text) {
  for (const char* name : kSignNames) {
    if (EqualsIgnoringCase(text, name)) return true;
  }
  return false;
}

enum class Fn {
  ArcTanh, ArcTan, Cotan, Tanh, Tan, ArcCosh, ArcCos, Cosh, Cosec, Cos, Sec, ArcSinh, ArcSin, Sinh, Sin, Csc,
  Abs, Frac, Int, Ln, Round, Ceil, Floor, Log, Sqrt
};

struct FnName {
  const char* Name;
  Fn Function;
};

// Longer names before the names they begin with.
constexpr FnName kFunctions[] = {
    {"arctanh", Fn::ArcTanh}, {"arctan", Fn::ArcTan}, {"cotan", Fn::Cotan}, {"tanh", Fn::Tanh},
    {"tan", Fn::Tan},         {"arccosh", Fn::ArcCosh}, {"arccos", Fn::ArcCos}, {"cosh", Fn::Cosh},
    {"cosec", Fn::Cosec},     {"cos", Fn::Cos},       {"sec", Fn::Sec},       {"arcsinh", Fn::ArcSinh},
    {"arcsin", Fn::ArcSin},   {"sinh", Fn::Sinh},     {"sin", Fn::Sin},       {"csc", Fn::Csc},
    {"abs", Fn::Abs},         {"frac", Fn::Frac},     {"int", Fn::Int},       {"ln", Fn::Ln},
    {"round", Fn::Round},     {"ceil", Fn::Ceil},     {"floor", Fn::Floor},   {"log", Fn::Log},
    {"sqrt", Fn::Sqrt}};

long double Reciprocal(long double d) {
  if (d == 0) Fail(msg::kDivisionByZero);
  return 1.0L / d;
}

long double ToInt32(long double x) {
  if (x < kInt32Min || x > kInt32Max) Fail(msg::kTooLarge);
  return x;
}

long double Apply(Fn f, long double x) {
  switch (f) {
    case Fn::ArcTanh: return std::atanh(x);
    case Fn::ArcTan: return std::atan(x);
    case Fn::Cotan: return Reciprocal(std::tan(x));
    case Fn::Tanh:
      // Beyond this magnitude tanh is 1 to extended precision.
      if (std::fabs(x) > 5678.22249441322L) return x > 0 ? 1.0L : -1.0L;
      return std::tanh(x);
    case Fn::Tan: return std::tan(x);
    case Fn::ArcCosh: return x <= 1 ? 0.0L : std::acosh(x);
    case Fn::ArcCos: return std::acos(x);
    case Fn::Cosh: return std::cosh(x);
    case Fn::Cosec: return Reciprocal(std::sin(x));
    case Fn::Cos: return std::cos(x);
    case Fn::Sec: return Reciprocal(std::cos(x));
    case Fn::ArcSinh: return std::asinh(x);
    case Fn::ArcSin: return std::asin(x);
    case Fn::Sinh: return std::sinh(x);
    case Fn::Sin: return std::sin(x);
    case Fn::Csc: return Reciprocal(std::sin(x));
    case Fn::Abs: return std::fabs(x);
    case Fn::Frac: return x - std::trunc(x);
    case Fn::Int: return std::trunc(x);
    case Fn::Ln:
      if (x <= 0) Fail(msg::kUndefined);
      return std::log(x);
    case Fn::Round: return RoundHalfEven(x);
    case Fn::Ceil: return ToInt32(std::ceil(x));
    case Fn::Floor: return ToInt32(std::floor(x));
    case Fn::Log:
      if (x <= 0) Fail(msg::kUndefined);
      return std::log10(x);
    case Fn::Sqrt:
      if (x < 0) Fail(msg::kUndefined);
      return std::sqrt(x);
  }
  return x;
}

// |n|! with the sign of n; n is integral.  Stops as soon as the product
// leaves the range (at 1755!), so a huge n cannot hang the loop.
long double Factorial(long double n) {
  long double m = std::fabs(n);
  long double result = 1.0L;
  for (long double i = 2.0L; i <= m; i += 1.0L) {
    result *= i;
    if (std::isinf(result)) Fail(msg::kTooLarge);
  }
  return n < 0 ? -result : result;
}

// "$" followed by at most 32 bits of hexadecimal digits, read as a 32-bit
// two's-complement integer ($FFFFFFFF is -1).
long double Hexadecimal(std::string_view digits) {
  if (digits.empty()) Fail(msg::kInvalidHex);
  std::uint64_t v = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else Fail(msg::kInvalidHex);
    v = v * 16 + static_cast<std::uint64_t>(d);
    if (v > 0xFFFFFFFFull) Fail(msg::kInvalidHex);
  }
  return static_cast<long double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
}

long double Term(std::string t, int depth) {
  if (depth > kMaxDepth) Fail(msg::kTooDeep);
  for (size_t p; (p = t.find("--")) != std::string::npos;) t.erase(p, 2);
  for (char& c : t) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (t == "pi") return std::numbers::pi_v<long double>;
  if (t == "-pi") return -std::numbers::pi_v<long double>;
  if (t == "e") return std::numbers::e_v<long double>;
  if (t == "-e") return -std::numbers::e_v<long double>;

  for (const FnName& f : kFunctions) {
    std::string_view name(f.Name);
    if (std::string_view(t).starts_with(name)) {
      long double x = Term(t.substr(name.size()), depth + 1);
      return Checked(Apply(f.Function, x));
    }
  }
  if (!t.empty() && t.back() == '!') {
    long double n = Term(t.substr(0, t.size() - 1), depth + 1);
    if (!IsIntegral(n)) Fail(msg::kFactorial);
    return Factorial(n);
  }
  if (!t.empty() && t[0] == '$') return Hexadecimal(std::string_view(t).substr(1));

  long double v = 0;
  switch (ParseReal(t, v)) {
    case RealParse::Ok: return v;
    case RealParse::Overflow: Fail(msg::kTooLarge);
    case RealParse::Invalid: break;
  }
  Fail(msg::kInvalidCharacters);
}

// Integer power by squaring, as the reciprocal for a negative exponent.
long double IntPower(long double base, long long n) {
  unsigned long long k = n < 0 ? static_cast<unsigned long long>(-n) : static_cast<unsigned long long>(n);
  long double result = 1.0L;
  long double b = base;
  while (k != 0) {
    if (k & 1u) result *= b;
    k >>= 1;
    if (k != 0) b *= b;
  }
  return n < 0 ? 1.0L / result : result;
}

long double Power(long double a, long double b) {
  if (b == 0) return 1.0L;
  if (a == 0) {
    if (b > 0) return 0.0L;
    Fail(msg::kDivisionByZero);
  }
  if (IsIntegral(b) && b >= kInt32Min && b <= kInt32Max) return IntPower(a, static_cast<long long>(b));
  return std::exp(b * std::log(a));
}

// Remainder of the operands truncated to 64-bit integers, sign of the left.
long double Remainder(long double a, long double b) {
  long double ta = std::trunc(a);
  long double tb = std::trunc(b);
  if (ta < -kInt64Bound || ta >= kInt64Bound || tb < -kInt64Bound || tb >= kInt64Bound) Fail(msg::kTooLarge);
  long long x = static_cast<long long>(ta);
  long long y = static_cast<long long>(tb);
  if (y == 0) Fail(msg::kDivisionByZero);
  if (y == -1) return 0.0L;  // INT64_MIN % -1 would overflow
  return static_cast<long double>(x % y);
}

bool IsOperator(char c) { return std::string_view("^*/%&+|=").find(c) != std::string_view::npos || c == kSubtract; }

int LevelOf(char op) {
  switch (op) {
    case '^': return 1;
    case '*': case '/': case '%': case '&': return 2;
    case '+': case kSubtract: case '|': return 3;
    default: return 4;  // '='
  }
}

long double Reduce(char op, const std::string& left, const std::string& right, int depth) {
  long double a = Term(left, depth);
  if (op == '|') return (a != 0 || Term(right, depth) != 0) ? 1.0L : 0.0L;
  long double b = Term(right, depth);
  switch (op) {
    case '^': return Power(a, b);
    case '*': return a * b;
    case '/':
      if (b == 0) Fail(msg::kDivisionByZero);
      return a / b;
    case '%': return Remainder(a, b);
    case '&': return (a != 0 && b != 0) ? 1.0L : 0.0L;
    case '+': return a + b;
    case kSubtract: return a - b;
    default: return a == b ? 1.0L : 0.0L;  // '='
  }
}

long double EvaluateText(std::string_view input, int depth) {
  if (input.empty()) Fail(msg::kBlank);
  std::string s;
  for (char c : input) {
    if (c != ' ' && c != '\t') s += c;
  }
  if (s.find(kSubtract) != std::string::npos) Fail(msg::kInvalidCharacters);

  // Innermost parentheses first, each replaced by its value as text.
  for (size_t close; (close = s.find(')')) != std::string::npos;) {
    size_t open = close == 0 ? std::string::npos : s.rfind('(', close - 1);
    if (open == std::string::npos) Fail(msg::kParentheses);
    long double v = EvaluateText(std::string_view(s).substr(open + 1, close - open - 1), depth + 1);
    s.replace(open, close - open + 1, Splice(v));
  }

  // A '-' is a sign at the start, after a function name that is all the
  // text before it, after an operator, an exponent letter or another '-';
  // otherwise it subtracts.
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '-') continue;
    bool sign = i == 0 || IsSignName(std::string_view(s).substr(0, i)) ||
                std::string_view("%&*+/=E^e|").find(s[i - 1]) != std::string_view::npos || s[i - 1] == '-' ||
                s[i - 1] == kSubtract;
    if (!sign) s[i] = kSubtract;
  }

  std::vector<std::string> terms;
  std::vector<char> ops;
  for (size_t pos = 0; pos < s.size();) {
    size_t next = pos;
    while (next < s.size() && !IsOperator(s[next])) ++next;
    terms.push_back(s.substr(pos, next - pos));
    if (next == s.size()) break;
    ops.push_back(s[next]);
    pos = next + 1;
  }
  // Also catches an empty text (blanks only) and a trailing operator.
  if (terms.size() != ops.size() + 1) Fail(msg::kInvalidExpression);

  for (int level = 1; level <= 4; ++level) {
    for (size_t i = 0; i < ops.size();) {
      if (LevelOf(ops[i]) != level) {
        ++i;
        continue;
      }
      long double v = Checked(Reduce(ops[i], terms[i], terms[i + 1], depth + 1));
      terms[i] = Splice(v);
      terms.erase(terms.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      ops.erase(ops.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  return Checked(Term(terms[0], depth + 1));
}

}  // namespace

long double Evaluate(std::string_view text) { return EvaluateText(text, 0); }

long double EvaluateTerm(std::string_view text) { return Checked(Term(std::string(text), 0)); }

}  // namespace ramvex
