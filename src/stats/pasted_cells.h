#pragma once

// Pasted text as lines of cells, for the readers of what a statistics package printed (stats/matrix_reader.h): the
// text normalised and cut into lines, each line cut into cells that know where they stand, each cell read as a number
// or taken as a word. Standard library only.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace marvane::stats::pasted {

// A Number is within the range of doubles (subnormals and zeros included), a Huge number text beyond it; an Empty cell
// is one between two tabs, semicolons or commas; a Word is anything else.
enum class Kind { Number, Huge, Word, Empty };
// The one reading of a number text, with `point` for its decimal separator, by std::from_chars (no locale is
// followed): an optional sign, digits with at most one point, an optional exponent. Number with its `value` (below the
// smallest double, a zero of its sign), Huge beyond the range, Word for anything else ("inf", "nan", "0x1" too).
Kind ReadNumber(std::string_view text, char point, double& value);
// How finely a number text is printed: its significant digits ("0.0120": 3, "-1.5e3": 2, "0.00": 0), the power of ten
// its first significant digit stands for ("0.0120": -2, "-1.5e3": 3), and the unit of its last digit ("0.0120":
// 0.0001, "-1.5e3": 100, "120": 1).
struct Printed { int digits = 0; long long first = 0; double unit = 1; };
Printed PrintedAs(std::string_view number);
struct Cell {
  std::string text;                // without the blanks around it (and without its quotes)
  std::size_t line = 0;            // the number of its line in the pasted text, from 1
  std::size_t begin = 0, end = 0;  // where it stands within its line
  bool quoted = false;
  Kind kind = Kind::Word;
  double value = 0;  // of a Number
  void Read(char point) { kind = text.empty() ? Kind::Empty : ReadNumber(text, point, value); }
  bool IsNumber() const { return kind == Kind::Number || kind == Kind::Huge; }
  bool IsCommaNumber() const {  // a word that reads as a number with a decimal comma ("0,5")
    double v = 0;
    return kind == Kind::Word && text.find(',') != std::string::npos && ReadNumber(text, ',', v) != Kind::Word;
  }
};
struct Line {
  std::size_t number = 0;   // in the pasted text, from 1
  std::string text;
  std::vector<Cell> cells;  // none for a blank line; no empty cells at its end
  bool HasNumber() const { return std::any_of(cells.begin(), cells.end(), [](const Cell& c) { return c.IsNumber(); }); }
};
// The lines of the text without their cells, each with its number. The text is normalised first: a byte-order mark
// is dropped, line ends become \n, the minus sign U+2212 becomes '-', no-break and thin spaces and the other control
// characters become spaces. Lines that echo a command ("> vcov(fit)", ". matrix list e(V)") are left out.
std::vector<Line> Lines(std::string_view text);
// Tabs where any line has one, else semicolons, else commas where any line has one outside double quotes and
// brackets, else blanks.
enum class Separator : char { Tab = '\t', Semicolon = ';', Comma = ',', Blank = ' ' };
Separator SeparatorOf(const std::vector<Line>& lines);
// Cuts each line into cells, each read with '.' for the point. Blanks separate one cell from the next; a tab separates
// two cells (spaces around a cell are not part of it); a semicolon or comma too, except within parentheses or brackets
// ("poly(wt, 2)1" is one cell), and a cell in double quotes loses them. Empty cells at the end of a line are left out,
// and all of them where every cell is empty. In tab- or semicolon-separated text where no number has a full stop and
// some word reads as a number with a decimal comma, the words are read again so; returns whether they were.
bool CutCells(std::vector<Line>& lines, Separator separator);
// s without the characters of `chars` at its ends (by default the blanks: spaces and tabs).
std::string_view Trim(std::string_view s, std::string_view chars = " \t");
// s with its ASCII capitals in lower case, whatever the locale: names are compared byte by byte.
char Lower(char c);
std::string Lower(std::string_view s);
// ---- Words of the readers' messages
// A cell's text in double quotes, cut after 40 characters: "\"Adjusted R-squared: 0.6161\"".
std::string Quoted(std::string_view s);
// A number in `digits` significant digits, or with 0 as few as give it back: ShowNumber(0.29912, 3) is "0.299".
std::string ShowNumber(double x, int digits = 0);

}  // namespace marvane::stats::pasted
