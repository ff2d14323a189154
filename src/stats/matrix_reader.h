#pragma once

// Reads a covariance matrix of regression weights as a statistics package printed it, pasted as text: R's print()
// (in column blocks too, and with few digits), R's write.csv() and write.csv2(), tab-, semicolon- or comma-separated
// tables with names in the first row and column, Stata's `matrix list e(V)`, SPSS's coefficient correlations table
// (its covariance block), bare numbers (a full square or a lower triangle, row by row). Standard library only.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace marvane::stats {

struct PastedMatrix {
  std::vector<std::string> names;  // the row names as pasted, in their order; empty when the text has none
  std::size_t size = 0;
  // size * size, row-major, symmetric: where entries i,j and j,i differ within the tolerance, both hold their mean.
  std::vector<double> cells;
  // In words, for the status line: "R's print", "R's write.csv", "R's write.csv2", "a tab-separated table", "a
  // semicolon-separated table", "a comma-separated table", "Stata's matrix list", "SPSS's coefficient correlations",
  // "bare numbers", "a bare lower triangle".
  std::string format;
  bool commaDecimals = false;  // decimal commas were read as decimal points (tab- or semicolon-separated text only)
  int digits = 0;  // the fewest significant digits printed in a cell that is not 0 ("1.5e-3" has 2); 0 if all are
  // A unit diagonal and every other entry within [-1, 1]: printed by cov2cor(), say, rather than vcov().
  bool looksLikeCorrelations = false;
  // Stata's base and omitted terms (0b.f, o.x, ...) whose all-zero rows and columns were left out, as pasted.
  std::vector<std::string> dropped;
  std::size_t averaged = 0;  // how many pairs i < j differed within the tolerance and now hold their mean

  double At(std::size_t i, std::size_t j) const { return cells[i * size + j]; }
};
struct ReadResult {
  bool ok = false;
  PastedMatrix matrix;
  // When !ok: what is wrong, in words, naming the row and column or the name ("row 3, column 2: \"abc\" is not a
  // number"). Rows and columns count from 1 over the matrix itself (not the line of column names or the column of row
  // names); where a row has a name, the message gives it too: "row 3 (x:z), column 2: ...".
  std::string error;
};

// Reads `text`. Never throws; every input gives either a symmetric matrix of finite numbers with non-negative
// variances or an error in words. Without names in the text, a table of numbers is "bare numbers" (or "a bare lower
// triangle") whatever separates its cells; "a tab-separated table" and "a comma-separated table" have names in their
// first row or column.
ReadResult ReadPastedMatrix(std::string_view text);
// The matrix written as a tab-separated table with names (row k is named "row k" where it has none) and numbers in
// 17 significant digits, which ReadPastedMatrix reads back to the same numbers.
std::string WriteMatrix(const PastedMatrix& m);

}  // namespace marvane::stats
