#pragma once

// The plot window's numbers as a script in base R (no packages), runnable as
// it is: the weights and their covariance matrix written with 17 significant
// digits, each line's slope and intercept as combination vectors over the
// weights, the effects along a moderator, and code that works every number
// out again and prints the same sections the window copies: the lines, the
// five tables of tests (Holm's adjustment through p.adjust), the regions of
// significance (the Johnson-Neyman quadratic solved) and the crossings with
// Fieller's intervals, tab-separated, 15 significant digits.
//
// Made from the analysis the window shows, so it follows whatever lines the
// window analyses. Standard library only.

#include <string>

#include "analysis/analysis.h"

namespace marvane {

struct RCodeHeader {
  std::string programVersion;  // "0.1"
  std::string written;         // when, in words: "2026-12-09 22:40"
};

std::string RCode(const Analysis& a, const RCodeHeader& header);

// A number as R reads it back to the same double: 17 significant digits
// ("0.1" is 0.10000000000000001); "Inf", "-Inf", "NaN" where not finite.
std::string RNumber(double v);

// A text as an R string literal, with quotes, backslashes and every character
// beyond ASCII escaped ("±1 SD" -> "\u00b11 SD"), so the script reads the
// same in any locale.
std::string RString(const std::string& text);

}  // namespace marvane
