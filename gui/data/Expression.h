// Numeric expression evaluator for every number the user types.
//
// The text is rewritten step by step: parenthesised parts are evaluated
// first and put back as 18-digit text, then the operators are reduced level
// by level (^; * / % &; + - |; =), each result again becoming text.  All
// arithmetic is in long double; only the text splicing rounds.
//
// Errors are EAssignError with the user's message.  Arithmetic faults
// (division by zero, logarithm or square root of a negative number,
// overflow, a ceil/floor/% operand beyond its integer range) are reported
// the same way with a message of their own, so that an infinity or NaN is
// never returned and never stored as an entry.
#pragma once

#include <string_view>

#include "AssignError.h"

namespace ramvex {

namespace entry_messages {
inline constexpr char kBlank[] = "Entry could not be evaluated:\rentry cannot be blank";
inline constexpr char kParentheses[] = "Entry could not be evaluated:\r() (parentheses) do not match";
inline constexpr char kInvalidExpression[] = "Entry could not be evaluated:\rinvalid expression";
inline constexpr char kInvalidCharacters[] = "Entry could not be evaluated:\rinvalid character(s) in expression";
inline constexpr char kInvalidHex[] = "Entry could not be evaluated:\rinvalid use of $ (hex function)";
inline constexpr char kFactorial[] = "Entry could not be evaluated:\r! (factoral) applicable to integers only";
inline constexpr char kDivisionByZero[] = "Entry could not be evaluated:\rdivision by zero";
inline constexpr char kUndefined[] =
    "Entry could not be evaluated:\rundefined result (such as the logarithm or square root of a negative number)";
inline constexpr char kTooLarge[] = "Entry could not be evaluated:\rnumber too large";
inline constexpr char kTooDeep[] = "Entry could not be evaluated:\rexpression nested too deeply";
}  // namespace entry_messages

// Value of an entered expression.
long double Evaluate(std::string_view text);

// Value of one term: a number, pi or e, a function applied to a term, a
// factorial (n!) or a hexadecimal integer ($1F).
long double EvaluateTerm(std::string_view text);

}  // namespace ramvex
