#include "Expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace ramvex {
namespace {

namespace msg = entry_messages;

struct ValueCase {
  const char* text;
  long double expected;  // worked out by hand or a closed form
};

// Test names show the entry: letters and digits kept, the rest as '_'.
template <typename Case>
std::string EntryName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = std::to_string(info.index) + "_";
  for (const char* p = info.param.text; *p != '\0'; ++p) {
    bool alnum = (*p >= '0' && *p <= '9') || (*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z');
    name += alnum ? *p : '_';
  }
  return name;
}

void PrintTo(const ValueCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class EvaluateValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(EvaluateValue, GivesTheWorkedValue) {
  const ValueCase& c = GetParam();
  long double v = Evaluate(c.text);
  // The text splicing rounds to 18 significant digits.
  long double tol = 1e-17L * std::fmax(1.0L, std::fabs(c.expected));
  EXPECT_NEAR(static_cast<double>(v - c.expected), 0.0, static_cast<double>(tol)) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, EvaluateValue,
    ::testing::Values(
        ValueCase{"12*2.5", 30.0L}, ValueCase{"sqrt(2)/2", 0.70710678118654752440L},
        ValueCase{"(150-20)/3", 43.333333333333333333L}, ValueCase{"pi/4", 0.78539816339744830962L},
        ValueCase{"$1F", 31.0L}, ValueCase{"2^3^2", 64.0L}, ValueCase{"5--3", 8.0L},
        ValueCase{"sin-0.5", -0.47942553860420300027L}, ValueCase{"2e-3", 0.002L}, ValueCase{"7%3", 1.0L},
        ValueCase{"-7%3", -1.0L}, ValueCase{"2.9%2", 0.0L}, ValueCase{"1=1", 1.0L}, ValueCase{"1=2", 0.0L},
        ValueCase{"0|5", 1.0L}, ValueCase{"0|0", 0.0L}, ValueCase{"3&0", 0.0L}, ValueCase{"3&2", 1.0L},
        ValueCase{"SIN(0)", 0.0L}, ValueCase{"(-3)!", -6.0L}, ValueCase{"0!", 1.0L}, ValueCase{"5!", 120.0L},
        // precedence and left-to-right reduction
        ValueCase{"1-3-2", -4.0L}, ValueCase{"2+3*4", 14.0L}, ValueCase{"2*3^2", 18.0L},
        ValueCase{"12/4/3", 1.0L}, ValueCase{"1+1=2", 1.0L}, ValueCase{"2*(0-3)", -6.0L},
        ValueCase{"((2+3)*(4-1))", 15.0L}, ValueCase{" 1 +\t2 ", 3.0L}, ValueCase{"--3", 3.0L},
        ValueCase{"1/3*3", 0.999999999999999999L},  // the spliced 1/3 keeps 18 digits
        // powers
        ValueCase{"2^-1", 0.5L}, ValueCase{"2^0.5", 1.4142135623730950488L}, ValueCase{"0^0", 1.0L},
        ValueCase{"0^2", 0.0L}, ValueCase{"(-2)^3", -8.0L}, ValueCase{"10^-5000", 0.0L},
        // functions and constants
        ValueCase{"ln(e)", 1.0L}, ValueCase{"log(1000)", 3.0L}, ValueCase{"abs-3", 3.0L},
        ValueCase{"-pi", -3.1415926535897932385L}, ValueCase{"round(2.5)", 2.0L}, ValueCase{"round(3.5)", 4.0L},
        ValueCase{"round(-2.5)", -2.0L}, ValueCase{"round(2.6)", 3.0L}, ValueCase{"ceil(2.1)", 3.0L},
        ValueCase{"floor(-2.1)", -3.0L}, ValueCase{"int(-2.7)", -2.0L}, ValueCase{"frac(-2.75)", -0.75L},
        ValueCase{"arccosh(0.5)", 0.0L}, ValueCase{"tanh(6000)", 1.0L}, ValueCase{"tanh-6000", -1.0L},
        ValueCase{"cos(pi)", -1.0L}, ValueCase{"arctan(1)*4", 3.1415926535897932385L},
        ValueCase{"cosec(pi/2)", 1.0L}, ValueCase{"csc(pi/6)", 2.0L}, ValueCase{"sec(0)", 1.0L},
        ValueCase{"cotan(pi/4)", 1.0L}, ValueCase{"sqrt4!", 4.8989794855663561964L},
        // hexadecimal: 32-bit two's complement
        ValueCase{"$ffffffff", -1.0L}, ValueCase{"$7FFFFFFF", 2147483647.0L},
        // "|" leaves its right side alone when the left decides
        ValueCase{"1|abc", 1.0L}, ValueCase{"1e-5000", 0.0L}),
    EntryName<ValueCase>);

struct ErrorCase {
  const char* text;
  const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class EvaluateError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(EvaluateError, RaisesTheEntryMessage) {
  const ErrorCase& c = GetParam();
  try {
    Evaluate(c.text);
    ADD_FAILURE() << "no error for " << c.text;
  } catch (const EAssignError& e) {
    EXPECT_STREQ(e.what(), c.message) << c.text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, EvaluateError,
    ::testing::Values(
        ErrorCase{"", msg::kBlank}, ErrorCase{"()", msg::kBlank}, ErrorCase{"   ", msg::kInvalidExpression},
        ErrorCase{"2)", msg::kParentheses}, ErrorCase{")(", msg::kParentheses},
        ErrorCase{"(2", msg::kInvalidCharacters}, ErrorCase{"2*", msg::kInvalidExpression},
        ErrorCase{"2*sin(-0.5)", msg::kInvalidCharacters}, ErrorCase{"e-1", msg::kInvalidCharacters},
        ErrorCase{"$G", msg::kInvalidHex}, ErrorCase{"$", msg::kInvalidHex},
        ErrorCase{"$100000000", msg::kInvalidHex}, ErrorCase{"2.5!", msg::kFactorial},
        ErrorCase{"pi!", msg::kFactorial}, ErrorCase{"abc", msg::kInvalidCharacters},
        ErrorCase{"*2", msg::kInvalidCharacters}, ErrorCase{"sin", msg::kInvalidCharacters},
        ErrorCase{"1,5", msg::kInvalidCharacters}, ErrorCase{"inf", msg::kInvalidCharacters},
        ErrorCase{"nan", msg::kInvalidCharacters}, ErrorCase{"1\x01" "2", msg::kInvalidCharacters},
        // arithmetic faults never give an infinity or NaN
        ErrorCase{"1/0", msg::kDivisionByZero}, ErrorCase{"0/0", msg::kDivisionByZero},
        ErrorCase{"5%0", msg::kDivisionByZero}, ErrorCase{"5%0.5", msg::kDivisionByZero},
        ErrorCase{"0^-1", msg::kDivisionByZero}, ErrorCase{"0^-0.5", msg::kDivisionByZero},
        ErrorCase{"cotan(0)", msg::kDivisionByZero}, ErrorCase{"csc(0)", msg::kDivisionByZero},
        ErrorCase{"ln(0-1)", msg::kUndefined}, ErrorCase{"ln(0)", msg::kUndefined},
        ErrorCase{"log-10", msg::kUndefined}, ErrorCase{"sqrt-4", msg::kUndefined},
        ErrorCase{"arcsin(2)", msg::kUndefined}, ErrorCase{"(-8)^(1/3)", msg::kUndefined},
        ErrorCase{"10^5000", msg::kTooLarge}, ErrorCase{"1e5000", msg::kTooLarge},
        ErrorCase{"1e4932*10", msg::kTooLarge}, ErrorCase{"cosh(20000)", msg::kTooLarge},
        ErrorCase{"ceil(3e9)", msg::kTooLarge}, ErrorCase{"floor(-3e9)", msg::kTooLarge},
        ErrorCase{"1e30%7", msg::kTooLarge}, ErrorCase{"2000!", msg::kTooLarge},
        ErrorCase{"1e300!", msg::kTooLarge}),
    EntryName<ErrorCase>);

TEST(EvaluateError, DeepNestingFailsInsteadOfExhaustingTheStack) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "abs";
  text += "1";
  try {
    Evaluate(text);
    ADD_FAILURE() << "no error";
  } catch (const EAssignError& e) {
    EXPECT_STREQ(e.what(), msg::kTooDeep);
  }
}

TEST(EvaluateTerm, ReadsOneTerm) {
  EXPECT_EQ(EvaluateTerm("$1f"), 31.0L);
  EXPECT_EQ(EvaluateTerm("--4"), 4.0L);
  EXPECT_EQ(EvaluateTerm("ABS-2"), 2.0L);
  EXPECT_THROW(EvaluateTerm("1+1"), EAssignError);
}

}  // namespace
}  // namespace ramvex
