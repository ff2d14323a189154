#pragma once

// Number texts: how a typed text becomes a double and how a double is written.
// None of these follow the C library's or Qt's locale: the decimal separator is
// always the full stop, whatever the user's settings.

#include <string>
#include <string_view>

namespace marvane {

// Reads the longest leading part of `text` that forms a number and ignores the
// rest; a text without one reads as 0.
//   - spaces, tabs and line feeds are skipped wherever they stand: "1 2" -> 12
//   - optional sign, digits with at most one full stop: "1,5" -> 1, "1.2.3" -> 1.2
//   - optional exponent E or e with optional sign: "1e3" -> 1000
//   - "", "abc", ".", "-" -> 0; "-.5" -> -0.5
// The decimal value is rounded correctly to the nearest double. A magnitude
// beyond the double range throws Fault{Overflow}; one below the smallest
// double reads as 0 (or a subnormal) without fault. Radix prefixes (&H, &O)
// and the exponent letters D and d are not read: "&H10" -> 0, "1D3" -> 1.
double LenientParse(std::string_view text);

// The canonical text of x: rounded to at most 15 significant digits, trailing
// zeros and a trailing point dropped, full stop as decimal point, no plus sign.
//   3 -> "3", 0.5 -> "0.5", -0.25 -> "-0.25", 0 and -0 -> "0"
//   magnitudes from 1E+15 up, and below 0.0001, in exponent form with at least
//   two exponent digits: 1E+15, 1.5E+20, 1.5E-10, 1E-05; 0.0001 -> "0.0001"
// x must be finite (the checked arithmetic never lets anything else through).
std::string NumberToText(double x);

// The same rendering with at most `digits` significant digits (1..17); the
// exponent form starts at 10^digits, so a whole number that needs more digits
// than are kept is never shown with made-up zeros. NumberToText is the case
// digits = 15. Used with 7 digits for single-precision values.
std::string NumberToText(double x, int digits);

// Strict conversion: the whole text, apart from leading and trailing spaces and
// tabs, must be a plain number text: optional + or -, digits with at most one
// full stop (at least one digit), optional exponent E or e with optional sign
// and at least one digit. Anything else (an empty text, "1,5", "12abc",
// "1 2", "&H10") throws Fault{TypeMismatch}; a magnitude beyond the double
// range throws Fault{Overflow}. StrictParse(NumberToText(x)) is x rounded to
// 15 significant digits, for every finite x; for the few doubles from
// 1.797693134862315E+308 up to the largest, that rounding (1.79769313486232E+308)
// lies beyond the range and reads as Fault{Overflow}.
double StrictParse(std::string_view text);

// A number typed in a box of the plot window that may be left empty: a
// StrictParse of the text without blanks at its ends, or empty, or not a
// number (also one beyond the double range).
struct TypedNumber {
  bool empty = true;
  bool ok = false;
  double value = 0;
};
TypedNumber ReadTypedNumber(std::string_view text);

// The display rounding: value times factor, floored (toward minus infinity),
// divided by factor, written with NumberToText. Factor 1000 gives three
// decimals, 100 two: -0.12345 at 1000 -> "-0.124"; 1.005 at 1000 -> "1.004"
// (the product as a double is 1004.9999999999999). The product and quotient
// are checked: an overflow throws Fault{Overflow}.
std::string RoundForDisplay(double value, int factor);

}  // namespace marvane
