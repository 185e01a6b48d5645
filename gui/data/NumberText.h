// Conversion between reals and their text, independent of the process
// locale: '.' is always the decimal separator.
#pragma once

#include <string>
#include <string_view>

namespace ramvex {

enum class RealParse { Ok, Invalid, Overflow };

// Reads the whole of text as a decimal real: optional sign, digits with an
// optional '.', optional exponent (E or e).  Infinities, NaN, hexadecimal
// and surrounding blanks are rejected.  A value too small for long double
// reads as zero; one too large gives Overflow and leaves value untouched.
RealParse ParseReal(std::string_view text, long double& value);

// General format with the given number of significant digits: fixed point
// while the value is at least 1E-5 and has no more integer digits than
// significant digits, otherwise d.dddE-x; trailing zeros and an unneeded
// decimal point are dropped, the exponent has no '+' and no leading zeros.
std::string FormatGeneral(long double value, int digits = 18);

// Nearest integer, halves to the even neighbour.
long double RoundHalfEven(long double value);

}  // namespace ramvex
