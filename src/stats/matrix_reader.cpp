#include "stats/matrix_reader.h"

// How the text is read:
//   1. It is normalised: a byte-order mark is dropped, line ends become \n,
//      the Unicode minus sign U+2212 becomes '-', no-break and thin spaces
//      become spaces. Lines that echo a command ("> vcov(fit)",
//      ". matrix list e(V)") are skipped.
//   2. Its layout is recognised, in this order: Stata's `matrix list` (a line
//      "symmetric e(V)[p,p]" or "e(V)[p,q]"), SPSS's coefficient correlations
//      (a line whose label cell is "Covariances", followed by a name and
//      numbers), then a table whose cells are separated by tabs (any line has
//      one), by commas (any line has one outside quotes and parentheses) or by
//      blanks. A blank-separated table with row names whose first rows hold
//      1 and 2 numbers is a lower triangle as Stata prints it, also without
//      Stata's header line.
//   3. The cells become numbers (std::from_chars, so no locale is followed),
//      the names are checked, and the matrix is checked for negative
//      variances and symmetry.

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace marvane::stats {
namespace {

constexpr double kSymmetryTolerance = 1e-5;

// ---- Words -------------------------------------------------------------

std::string Num(std::size_t k) { return std::to_string(k); }

// "1 number", "3 numbers".
std::string Count(std::size_t k, const char* word) { return Num(k) + " " + word + (k == 1 ? "" : "s"); }

// A number as the messages show it: as few digits as give it back.
std::string ShowNumber(double x) {
  std::array<char, 64> buf{};
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x);
  return std::string(buf.data(), res.ptr);
}

std::string Quoted(std::string_view s) {
  constexpr std::size_t kLongest = 40;
  std::string out = "\"";
  if (s.size() > kLongest) {
    out.append(s.substr(0, kLongest));
    out += "...";
  } else {
    out.append(s);
  }
  return out + "\"";
}

// "row 3" or "row 3 (x:z)".
std::string RowWords(std::size_t i, std::string_view name) {
  std::string out = "row " + Num(i + 1);
  if (!name.empty()) out += " (" + std::string(name) + ")";
  return out;
}

std::string ColumnWords(std::size_t j, std::string_view name) {
  std::string out = "column " + Num(j + 1);
  if (!name.empty()) out += " (" + std::string(name) + ")";
  return out;
}

// ---- Text preparation --------------------------------------------------

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The text with one kind of line end, '-' for U+2212, spaces for the
// Unicode spaces a word processor or web page puts in tables, and other
// control characters (form feed, vertical tab, NUL) as spaces.
// Eight bytes at a time (the text is mostly blanks and digits).
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

std::uint64_t Load8(const char* p) {
  std::uint64_t w = 0;
  std::memcpy(&w, p, 8);
  return w;
}

// A high bit in the lowest byte of w that is zero (the bits above it may be
// set wrongly, so only the lowest counts).
std::uint64_t ZeroByte(std::uint64_t w) { return (w - kOnes) & ~w & kHighBits; }

// Where the first space or tab at or after i stands, or n.
std::size_t NextBlank(std::string_view s, std::size_t i) {
  const std::size_t n = s.size();
  if constexpr (std::endian::native == std::endian::little) {
    while (i + 8 <= n) {
      const std::uint64_t w = Load8(s.data() + i);
      const std::uint64_t m = ZeroByte(w ^ (kOnes * ' ')) | ZeroByte(w ^ (kOnes * '\t'));
      if (m != 0) return i + static_cast<std::size_t>(std::countr_zero(m)) / 8;
      i += 8;
    }
  }
  while (i < n && !IsBlank(s[i])) ++i;
  return i;
}

bool IsPlainByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x20 ? u < 0x80 : (c == '\n' || c == '\t');
}

// Whether the text needs none of that: plain ASCII, \n and \t the only
// control characters. Sixteen bytes at a time in the compiler's vector
// types (SSE2 on x86-64): as signed bytes, those from 0x80 on are negative,
// so one comparison finds them with the control characters.
bool IsPlainText(std::string_view text) {
  using Bytes = signed char __attribute__((vector_size(16)));
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto strange = [&](std::size_t at) {
    Bytes v;
    std::memcpy(&v, text.data() + at, 16);
    return (v < 0x20) & (v != '\n') & (v != '\t');
  };
  while (i + 32 <= n) {
    const Bytes bad = strange(i) | strange(i + 16);
    std::uint64_t halves[2];
    std::memcpy(halves, &bad, 16);
    if ((halves[0] | halves[1]) != 0) return false;
    i += 32;
  }
  for (; i < n; ++i) {
    if (!IsPlainByte(text[i])) return false;
  }
  return true;
}

std::string Normalise(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") i = 3;
  const std::size_t n = text.size();
  auto plain = [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 ? u < 0x80 : (c == '\n' || c == '\t');
  };
  for (; i < n; ++i) {
    // Runs of plain ASCII go over in one piece.
    std::size_t run = i;
    while (run < n && plain(text[run])) ++run;
    if (run > i) {
      out.append(text.substr(i, run - i));
      i = run;
      if (i >= n) break;
    }
    const char c = text[i];
    const auto u = static_cast<unsigned char>(c);
    if (c == '\r') {
      out.push_back('\n');
      if (i + 1 < n && text[i + 1] == '\n') ++i;
    } else if (u == 0xE2 && i + 2 < n && text[i + 1] == '\x88' && text[i + 2] == '\x92') {
      out.push_back('-');  // U+2212 MINUS SIGN
      i += 2;
    } else if (u == 0xC2 && i + 1 < n && text[i + 1] == '\xA0') {
      out.push_back(' ');  // U+00A0 NO-BREAK SPACE
      i += 1;
    } else if (u == 0xE2 && i + 2 < n && text[i + 1] == '\x80' &&
               (text[i + 2] == '\x89' || text[i + 2] == '\xAF' || text[i + 2] == '\x87')) {
      out.push_back(' ');  // U+2009 THIN, U+202F NARROW NO-BREAK, U+2007 FIGURE SPACE
      i += 2;
    } else if (u < 0x20 && c != '\n' && c != '\t') {
      out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// A line that echoes the command that printed the matrix: R's prompt
// ("> vcov(fit)", ">") or Stata's (". matrix list e(V)"). Never a line with
// a tab: those are table rows.
bool IsCommandEcho(std::string_view line, bool textHasTabs) {
  if (textHasTabs && line.find('\t') != std::string_view::npos) return false;
  line = TrimSpaces(line);
  if (line == ">") return true;
  if (line.size() >= 2 && line[0] == '>' && line[1] == ' ') return true;
  if (line.size() >= 3 && line[0] == '.' && line[1] == ' ') {
    const char c = line[2];
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  }
  return false;
}

// ---- Numbers -----------------------------------------------------------

enum class Kind : unsigned char {
  Number,  // a number within the range of doubles (subnormals and zeros included)
  Huge,    // a number text beyond the range of doubles
  Word,    // anything else
  Empty,   // an empty cell (tab- and comma-separated text only)
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether t is a number text: an optional sign, digits with at most one
// decimal separator `point` and at least one digit, an optional exponent
// (e or E, optional sign, at least one digit).
bool HasNumberForm(std::string_view t, char point) {
  std::size_t i = 0;
  const std::size_t n = t.size();
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && IsDigit(t[i])) ++i, ++digits;
  if (i < n && t[i] == point) {
    ++i;
    while (i < n && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    if (i >= n || !IsDigit(t[i])) return false;
    while (i < n && IsDigit(t[i])) ++i;
  }
  return i == n;
}

// The decimal exponent of the first significant digit of a number text
// (d.ddd x 10^result), saturating far out; 0 when every digit is 0.
long long DecimalExponent(std::string_view t) {
  long long beforePoint = 0, leadingZeros = 0, exponent = 0;
  bool seenPoint = false, seenNonZero = false;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  for (; i < t.size() && t[i] != 'e' && t[i] != 'E'; ++i) {
    if (!IsDigit(t[i])) {
      seenPoint = true;
      continue;
    }
    if (!seenPoint) ++beforePoint;
    if (t[i] != '0') seenNonZero = true;
    if (!seenNonZero) ++leadingZeros;
  }
  if (!seenNonZero) return 0;
  if (i < t.size()) {
    ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    for (; i < t.size(); ++i) exponent = std::min(exponent * 10 + (t[i] - '0'), 1'000'000'000'000LL);
    if (negative) exponent = -exponent;
  }
  return beforePoint - leadingZeros - 1 + exponent;
}

// Reads t when it has the form of a number: Number with its value (a text
// below the smallest double reads as a zero of its sign), Huge beyond the
// range, Word otherwise.
Kind ReadNumber(std::string_view t, char point, double& value) {
  // The common case in one call: std::from_chars reads the whole text, which
  // starts as a number text does (a digit or a point, after one sign), so it
  // is no "inf" or "nan". Everything else takes the path below.
  if (point == '.' && !t.empty()) {
    std::string_view u = t;
    if (u.front() == '+') u.remove_prefix(1);
    const std::size_t lead = !u.empty() && u.front() == '-' ? 1 : 0;
    if (u.size() > lead && (IsDigit(u[lead]) || u[lead] == '.') && !(lead == 1 && t.front() == '+')) {
      auto [ptr, ec] = std::from_chars(u.data(), u.data() + u.size(), value);
      if (ec == std::errc() && ptr == u.data() + u.size()) return Kind::Number;
    }
  }
  if (t.empty()) return Kind::Word;
  const char c0 = t.front();
  if (!IsDigit(c0) && c0 != point && c0 != '+' && c0 != '-') return Kind::Word;  // a name, mostly
  if (!HasNumberForm(t, point)) return Kind::Word;
  const bool negative = t.front() == '-';
  if (t.front() == '+') t.remove_prefix(1);
  std::string converted;
  if (point != '.') {
    converted.assign(t);
    std::replace(converted.begin(), converted.end(), point, '.');
    t = converted;
  }
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (ec == std::errc::result_out_of_range) {
    if (DecimalExponent(t) > 0) return Kind::Huge;
    value = negative ? -0.0 : 0.0;
    return Kind::Number;
  }
  if (ec != std::errc() || ptr != t.data() + t.size() || !std::isfinite(value)) return Kind::Word;
  return Kind::Number;
}

// ---- Cells and lines ---------------------------------------------------

enum class Separator { Tab, Comma, Blank };

struct Cell {
  std::string_view text;           // without the blanks around it (and without quotes)
  std::size_t begin = 0, end = 0;  // where it stands in its line
  Kind kind = Kind::Word;
  bool quoted = false;
  bool read = false;  // kind and value already known (a number read as the line was split)
  double value = 0;

  Cell() = default;
  // A number read as the line was split.
  Cell(std::string_view t, std::size_t b, std::size_t e, double v)
      : text(t), begin(b), end(e), kind(Kind::Number), read(true), value(v) {}
};

// A line's cells: a run of the one vector that holds the cells of all lines.
struct CellSpan {
  Cell* data = nullptr;
  std::size_t count = 0;

  std::size_t size() const { return count; }
  bool empty() const { return count == 0; }
  Cell& operator[](std::size_t k) const { return data[k]; }
  Cell* begin() const { return data; }
  Cell* end() const { return data + count; }
  Cell& back() const { return data[count - 1]; }
  void clear() { count = 0; }
};

struct Line {
  std::size_t number = 0;  // in the pasted text, from 1
  std::string_view text;
  CellSpan cells;  // no trailing empty cells; none for a blank line
  std::size_t first = 0;  // where they start in the vector of all cells

  bool HasNumber() const {
    return std::any_of(cells.begin(), cells.end(),
                       [](const Cell& c) { return c.kind == Kind::Number || c.kind == Kind::Huge; });
  }
  bool AllWords() const {
    return !cells.empty() &&
           std::all_of(cells.begin(), cells.end(), [](const Cell& c) { return c.kind == Kind::Word; });
  }
};

void Classify(Cell& c, char point) {
  if (c.read && point == '.') return;
  c.read = false;
  if (c.text.empty()) {
    c.kind = Kind::Empty;
  } else {
    c.kind = ReadNumber(c.text, point, c.value);
  }
}

// A cell that starts as a number text does (a digit or a point, after one
// minus) is read where it stands, which also finds where it ends: the
// number's end, or npos when std::from_chars reads none. Each splitter
// decides what may follow a number in its cells. (The rest, "+1" included,
// is read after the split.)
std::size_t NumberAt(std::string_view line, std::size_t i, double& value) {
  const std::size_t n = line.size();
  const std::size_t lead = i < n && line[i] == '-' ? 1 : 0;
  if (i + lead >= n || !(IsDigit(line[i + lead]) || line[i + lead] == '.')) return std::string_view::npos;
  auto [ptr, ec] = std::from_chars(line.data() + i, line.data() + n, value);
  if (ec != std::errc()) return std::string_view::npos;
  return static_cast<std::size_t>(ptr - line.data());
}

// Appends the cell of the number read at [b, e). The splitters fill each
// cell where it stands in the vector: a cell put together on the stack and
// copied in costs a stalled load per cell (its fields written one by one,
// read back sixteen bytes at a time).
void AddNumberCell(std::vector<Cell>& cells, std::string_view line, std::size_t b, std::size_t e, double value) {
  cells.emplace_back(std::string_view(line.data() + b, e - b), b, e, value);
}

// The splitters append the cells of one line to `cells`, each read as a
// number or a word (with '.' for the point), and tell whether any of them is
// not empty.
bool SplitBlanks(std::string_view line, std::vector<Cell>& cells) {
  const std::size_t first = cells.size();
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n) {
    // Runs of spaces (R pads its columns with them) eight at a time.
    while (i + 8 <= n) {
      std::uint64_t word = 0;
      std::memcpy(&word, line.data() + i, 8);
      word ^= 0x2020202020202020ULL;  // a zero byte for each space
      if (word != 0) {
        if constexpr (std::endian::native == std::endian::little) {
          i += static_cast<std::size_t>(std::countr_zero(word)) / 8;
        }
        break;
      }
      i += 8;
    }
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) break;
    const std::size_t b = i;
    // A number ends its cell where a blank or the line's end follows it.
    double value = 0;
    const std::size_t e = NumberAt(line, i, value);
    if (e != std::string_view::npos && (e == n || IsBlank(line[e]))) {
      AddNumberCell(cells, line, b, e, value);
      i = e;
      continue;
    }
    i = NextBlank(line, i);
    Cell& c = cells.emplace_back();
    c.text = std::string_view(line.data() + b, i - b);
    c.begin = b;
    c.end = i;
    Classify(c, '.');
  }
  return cells.size() > first;  // no cell of blank-separated text is empty
}

void DropTrailingEmpty(std::vector<Cell>& cells, std::size_t first) {
  while (cells.size() > first && cells.back().text.empty() && !cells.back().quoted) cells.pop_back();
}

bool SplitTabs(std::string_view line, std::vector<Cell>& cells) {
  const std::size_t first = cells.size();
  std::size_t b = 0;
  bool any = false;
  for (;;) {
    const std::size_t e = std::min(line.find('\t', b), line.size());
    Cell& c = cells.emplace_back();
    std::string_view raw = line.substr(b, e - b);
    c.text = TrimSpaces(raw);
    c.begin = b + static_cast<std::size_t>(c.text.data() - raw.data());
    c.end = c.begin + c.text.size();
    Classify(c, '.');
    any = any || c.kind != Kind::Empty;
    if (e >= line.size()) break;
    b = e + 1;
  }
  DropTrailingEmpty(cells, first);
  return any;
}

// The comma that separates cells: outside double quotes and parentheses.
bool HasSeparatingComma(std::string_view line) {
  bool inQuotes = false;
  int depth = 0;
  for (char c : line) {
    if (c == '"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes && (c == '(' || c == '[')) {
      ++depth;
    } else if (!inQuotes && (c == ')' || c == ']')) {
      depth = std::max(0, depth - 1);
    } else if (!inQuotes && depth == 0 && c == ',') {
      return true;
    }
  }
  return false;
}

// Comma-separated cells; a cell in double quotes loses them, and "" inside
// stands for one quote (its text is then kept in `store`).
bool SplitCommas(std::string_view line, std::list<std::string>& store, std::vector<Cell>& cells) {
  const std::size_t first = cells.size();
  bool any = false;
  std::size_t i = 0;
  const std::size_t n = line.size();
  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i < n && line[i] != '"') {
      // A number is the cell when only blanks follow it to the comma.
      double value = 0;
      const std::size_t e = NumberAt(line, i, value);
      if (e != std::string_view::npos) {
        std::size_t k = e;
        while (k < n && IsBlank(line[k])) ++k;
        if (k >= n || line[k] == ',') {
          AddNumberCell(cells, line, i, e, value);
          any = true;
          if (k >= n) break;
          i = k + 1;
          continue;
        }
      }
    }
    Cell& c = cells.emplace_back();
    c.begin = i;
    if (i < n && line[i] == '"') {
      c.quoted = true;
      const std::size_t start = i + 1;
      std::size_t j = std::min(line.find('"', start), n);
      if (j + 1 < n && line[j + 1] == '"') {
        // "" inside stands for one quote: the text is put together in `store`.
        std::string unquoted(line.substr(start, j - start));
        for (; j < n; ++j) {
          if (line[j] == '"') {
            if (j + 1 < n && line[j + 1] == '"') {
              unquoted.push_back('"');
              ++j;
              continue;
            }
            break;
          }
          unquoted.push_back(line[j]);
        }
        store.push_back(std::move(unquoted));
        c.text = store.back();
      } else {
        c.text = line.substr(start, j - start);
      }
      i = std::min(j + 1, n);
      // Whatever follows the closing quote up to the comma is kept with it.
      const std::size_t rest = i;
      while (i < n && line[i] != ',') ++i;
      if (!TrimBlanks(line.substr(rest, i - rest)).empty()) {
        c.text = TrimBlanks(line.substr(c.begin, i - c.begin));
        c.quoted = false;
      }
      c.end = i;
    } else {
      int depth = 0;
      const std::size_t start = i;
      for (; i < n; ++i) {
        if (line[i] == '(' || line[i] == '[') ++depth;
        if (line[i] == ')' || line[i] == ']') depth = std::max(0, depth - 1);
        if (line[i] == ',' && depth == 0) break;
      }
      c.text = TrimBlanks(line.substr(start, i - start));
      c.end = c.begin + c.text.size();
    }
    Classify(c, '.');
    any = any || c.kind != Kind::Empty;
    if (i >= n) break;
    ++i;  // the comma
  }
  DropTrailingEmpty(cells, first);
  return any;
}

struct StataHeader {
  std::size_t lineIndex = 0;
  std::string title;  // "e(V)[4,4]"
  std::size_t rows = 0, columns = 0;
};

// "symmetric e(V)[4,4]" or "e(V)[4,4]": spaces only, no tabs.
std::optional<StataHeader> FindStataHeader(const std::vector<Line>& lines) {
  for (std::size_t k = 0; k < lines.size(); ++k) {
    std::string_view t = lines[k].text;
    // Most lines end otherwise: a quick look at the end first.
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    if (t.empty() || t.back() != ']' || t.find('\t') != std::string_view::npos) continue;
    t = TrimSpaces(t);
    if (t.substr(0, 10) == "symmetric ") t = TrimSpaces(t.substr(10));
    if (t.empty() || t.back() != ']' || t.find(' ') != std::string_view::npos) continue;
    const std::size_t open = t.rfind('[');
    if (open == std::string_view::npos || open == 0) continue;
    const std::string_view dims = t.substr(open + 1, t.size() - open - 2);
    const std::size_t comma = dims.find(',');
    if (comma == std::string_view::npos) continue;
    const std::string_view r = dims.substr(0, comma), c = dims.substr(comma + 1);
    auto whole = [](std::string_view s, std::size_t& out) {
      if (s.empty() || s.size() > 6) return false;
      out = 0;
      for (char ch : s) {
        if (!IsDigit(ch)) return false;
        out = out * 10 + static_cast<std::size_t>(ch - '0');
      }
      return true;
    };
    StataHeader h;
    if (!whole(r, h.rows) || !whole(c, h.columns)) continue;
    h.lineIndex = k;
    h.title = std::string(t);
    return h;
  }
  return std::nullopt;
}

struct Prepared {
  std::string text;       // normalised, where the text needed it
  std::string_view view;  // what the lines are views into: `text` or the text as pasted
  std::vector<Line> lines;  // every line, blank ones included, echo lines left out
  Separator separator = Separator::Blank;
  bool commaDecimals = false;
  std::list<std::string> store;
  std::vector<Cell> cells;  // of all lines, in order
  bool hasTabs = false;
};

// Splits the lines into cells and reads every cell that looks like a number.
void PrepareCells(Prepared& p, bool stata) {
  bool commas = false;
  const bool tabs = p.hasTabs;
  if (!tabs && p.view.find(',') != std::string_view::npos) {
    for (const Line& l : p.lines) {
      if (HasSeparatingComma(l.text)) {
        commas = true;
        break;
      }
    }
  }
  p.separator = stata ? Separator::Blank : tabs ? Separator::Tab : commas ? Separator::Comma : Separator::Blank;
  p.cells.reserve(p.view.size() / 16 + 16);
  for (Line& l : p.lines) {
    l.first = p.cells.size();
    bool any = false;
    switch (p.separator) {
      case Separator::Tab: any = SplitTabs(l.text, p.cells); break;
      case Separator::Comma: any = SplitCommas(l.text, p.store, p.cells); break;
      case Separator::Blank: any = SplitBlanks(l.text, p.cells); break;
    }
    if (stata) {
      // Stata never prints a number with a trailing point: "1." over "t2"
      // is the level part of a column name broken over two lines.
      for (std::size_t k = l.first; k < p.cells.size(); ++k) {
        Cell& c = p.cells[k];
        if (c.kind == Kind::Number && c.text.back() == '.') c.kind = Kind::Word;
      }
    }
    if (!any) p.cells.resize(l.first);
  }
  // Now that the vector no longer grows, each line gets its run of it.
  for (std::size_t k = 0; k < p.lines.size(); ++k) {
    Line& l = p.lines[k];
    const std::size_t end = k + 1 < p.lines.size() ? p.lines[k + 1].first : p.cells.size();
    l.cells.data = p.cells.data() + l.first;
    l.cells.count = end - l.first;
  }
  if (p.separator != Separator::Tab) return;
  // Decimal commas: only where no number has a full stop and some cell
  // reads as a number with a comma for the point.
  bool pointNumber = false, commaNumber = false;
  for (const Line& l : p.lines) {
    for (const Cell& c : l.cells) {
      if ((c.kind == Kind::Number || c.kind == Kind::Huge) && c.text.find('.') != std::string_view::npos) {
        pointNumber = true;
      }
      if (c.kind == Kind::Word && c.text.find(',') != std::string_view::npos && HasNumberForm(c.text, ',')) {
        commaNumber = true;
      }
    }
  }
  if (pointNumber || !commaNumber) return;
  p.commaDecimals = true;
  for (Line& l : p.lines) {
    for (Cell& c : l.cells) {
      if (c.kind == Kind::Word) Classify(c, ',');
    }
  }
}

// Fills `p` where it stands: its lines are views into p.text (or into
// `text` itself when nothing needed normalising), so it is never moved.
void Prepare(std::string_view text, Prepared& p, std::optional<StataHeader>& stata) {
  std::string_view all = text;
  if (!IsPlainText(text)) {
    p.text = Normalise(text);
    all = p.text;
  }
  p.view = all;
  const bool tabs = all.find('\t') != std::string_view::npos;
  p.hasTabs = tabs;
  p.lines.reserve(all.size() / 40 + 8);
  std::size_t number = 1, b = 0;
  for (;;) {
    const std::size_t e = std::min(all.find('\n', b), all.size());
    const std::string_view line = all.substr(b, e - b);
    if (!IsCommandEcho(line, tabs)) {
      Line l;
      l.number = number;
      l.text = line;
      p.lines.push_back(std::move(l));
    }
    if (e >= all.size()) break;
    b = e + 1;
    ++number;
  }
  stata = FindStataHeader(p.lines);
  PrepareCells(p, stata.has_value());
}

// ---- Results -------------------------------------------------------------

ReadResult Error(std::string message) {
  ReadResult r;
  r.ok = false;
  r.error = std::move(message);
  if (!r.error.empty()) r.error[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(r.error[0])));
  if (r.error.empty() || r.error.back() != '.') r.error += '.';
  return r;
}

// The error of a cell that should hold a number, or nothing when it does.
std::optional<std::string> DescribeCellError(const Cell& c, std::size_t i, std::string_view rowName, std::size_t j);

inline std::optional<std::string> CellError(const Cell& c, std::size_t i, std::string_view rowName, std::size_t j) {
  if (c.kind == Kind::Number) [[likely]] return std::nullopt;
  return DescribeCellError(c, i, rowName, j);
}

std::optional<std::string> DescribeCellError(const Cell& c, std::size_t i, std::string_view rowName, std::size_t j) {
  const std::string place = RowWords(i, rowName) + ", " + ColumnWords(j, {});
  switch (c.kind) {
    case Kind::Number: return std::nullopt;
    case Kind::Empty: return place + " is empty";
    case Kind::Huge: return place + ": " + Quoted(c.text) + " is beyond the range of double-precision numbers";
    case Kind::Word: {
      std::string e = place + ": " + Quoted(c.text) + " is not a number";
      if (c.text.find(',') != std::string_view::npos && HasNumberForm(c.text, ',')) {
        e += " (a decimal comma is read only in tab-separated text in which no number has a full stop)";
      }
      return e;
    }
  }
  return std::nullopt;
}

// A matrix read from its cells, before its checks.
struct Grid {
  std::vector<std::string> names;  // empty or one per row
  bool namesDistinct = false;      // already found to be different from each other
  std::size_t size = 0;
  std::vector<double> cells;  // size * size
  std::string format;
};

std::string CollapseRuns(std::string_view s) {
  std::string out;
  bool blank = false;
  for (char c : TrimBlanks(s)) {
    if (IsBlank(c)) {
      blank = true;
      continue;
    }
    if (blank) out.push_back(' ');
    blank = false;
    out.push_back(c);
  }
  return out;
}

// A name given to two rows, in words; nothing when every name is different.
template <typename Names>  // a vector of std::string or std::string_view
std::optional<std::string> RepeatedName(const Names& names, const char* what) {
  const std::string one = std::string(what) == "columns" ? "column" : "row";
  if (names.size() <= 64) {
    // Few names: each against the ones before it; the first repeat found is
    // the one whose second row comes first. A key of each name first (its
    // length and its first and last eight bytes), so that two names are
    // compared only when their keys agree.
    std::uint64_t keys[64];
    for (std::size_t k = 0; k < names.size(); ++k) {
      const std::string_view name = names[k];
      std::uint64_t head = 0, tail = 0;
      if (name.size() >= 8) {
        std::memcpy(&head, name.data(), 8);
        std::memcpy(&tail, name.data() + name.size() - 8, 8);
      } else {
        for (const char c : name) head = head << 8 | static_cast<unsigned char>(c);
      }
      keys[k] = (head ^ (tail * 0x9E3779B97F4A7C15ULL)) + name.size();
    }
    for (std::size_t b = 1; b < names.size(); ++b) {
      for (std::size_t a = 0; a < b; ++a) {
        if (keys[a] != keys[b] || std::string_view(names[a]) != std::string_view(names[b])) continue;
        return "the name " + Quoted(names[a]) + " is given to " + what + " " + Num(a + 1) + " and " + Num(b + 1) +
               "; every " + one + " needs a name of its own";
      }
    }
    return std::nullopt;
  }
  std::vector<std::size_t> order(names.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
  std::optional<std::pair<std::size_t, std::size_t>> first;
  for (std::size_t k = 1; k < order.size(); ++k) {
    if (names[order[k]] != names[order[k - 1]]) continue;
    std::pair<std::size_t, std::size_t> pair{std::min(order[k - 1], order[k]), std::max(order[k - 1], order[k])};
    if (!first || pair.second < first->second) first = pair;
  }
  if (!first) return std::nullopt;
  return "the name " + Quoted(names[first->first]) + " is given to " + what + " " + Num(first->first + 1) +
         " and " + Num(first->second + 1) + "; every " + one + " needs a name of its own";
}

// Whether a Stata name is a base or omitted term: one of its parts (split at
// '#') has a level prefix with the letter b or o ("0b.f", "1o.f", "o.x",
// "co.x", "0b.f#co.x").
bool IsBaseOrOmitted(std::string_view name) {
  const std::size_t colon = name.rfind(':');
  if (colon != std::string_view::npos) name.remove_prefix(colon + 1);
  std::size_t b = 0;
  for (;;) {
    const std::size_t e = std::min(name.find('#', b), name.size());
    const std::string_view part = name.substr(b, e - b);
    const std::size_t dot = part.find('.');
    if (dot != std::string_view::npos && dot > 0) {
      const std::string_view prefix = part.substr(0, dot);
      std::size_t k = 0;
      while (k < prefix.size() && IsDigit(prefix[k])) ++k;
      const std::string_view flags = prefix.substr(k);
      const bool onlyFlags = !flags.empty() && flags.find_first_not_of("bnoc") == std::string_view::npos;
      if (onlyFlags && flags.find_first_of("bo") != std::string_view::npos) return true;
    }
    if (e >= name.size()) break;
    b = e + 1;
  }
  return false;
}

// The checks every layout shares: names, variances, symmetry. Rows and
// columns are named in the pasted order.
ReadResult Finish(Grid g) {
  const std::size_t n = g.size;
  if (n == 0) return Error("the text has no numbers");
  // A quoted name keeps no blanks at its ends either.
  bool trimmed = false;
  for (std::string& name : g.names) {
    const std::string_view kept = TrimBlanks(name);
    if (kept.size() != name.size()) {
      name = std::string(kept);
      trimmed = true;
    }
  }
  for (std::size_t i = 0; i < g.names.size(); ++i) {
    if (g.names[i].empty()) return Error(RowWords(i, {}) + " has no name, where the other rows have one");
  }
  if (trimmed || !g.namesDistinct) {
    if (auto repeated = RepeatedName(g.names, "rows")) return Error(*repeated);
  }
  auto name = [&](std::size_t i) -> std::string_view { return g.names.empty() ? std::string_view() : g.names[i]; };
  for (std::size_t i = 0; i < n; ++i) {
    const double v = g.cells[i * n + i];
    if (v < 0) {
      return Error(RowWords(i, name(i)) + ": the variance " + ShowNumber(v) +
                   " is negative; a covariance matrix has no negative numbers on its diagonal");
    }
  }
  std::size_t averaged = 0;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      double& a = g.cells[i * n + j];
      double& b = g.cells[j * n + i];
      if (a == b) continue;
      const double tolerance =
          kSymmetryTolerance * std::sqrt(g.cells[i * n + i]) * std::sqrt(g.cells[j * n + j]);
      if (!(std::fabs(a - b) <= tolerance)) {
        return Error("the matrix is not symmetric: " + RowWords(i, name(i)) + ", " + ColumnWords(j, name(j)) +
                     " holds " + ShowNumber(a) + " but " + RowWords(j, name(j)) + ", " + ColumnWords(i, name(i)) +
                     " holds " + ShowNumber(b));
      }
      const double mean = a / 2 + b / 2;
      a = mean;
      b = mean;
      ++averaged;
    }
  }
  ReadResult r;
  r.ok = true;
  r.matrix.names = std::move(g.names);
  r.matrix.size = n;
  r.matrix.cells = std::move(g.cells);
  r.matrix.format = std::move(g.format);
  r.matrix.averaged = averaged;
  return r;
}

// Leaves out the rows and columns of Stata's base and omitted terms that
// hold only zeros.
void DropBaseTerms(PastedMatrix& m) {
  const std::size_t n = m.size;
  std::vector<bool> keep(n, true);
  for (std::size_t i = 0; i < n; ++i) {
    if (!IsBaseOrOmitted(m.names[i])) continue;
    bool zero = true;
    for (std::size_t j = 0; j < n && zero; ++j) zero = m.cells[i * n + j] == 0;
    if (zero) keep[i] = false;
  }
  if (std::all_of(keep.begin(), keep.end(), [](bool k) { return k; })) return;
  std::vector<std::size_t> kept;
  for (std::size_t i = 0; i < n; ++i) {
    if (keep[i]) {
      kept.push_back(i);
    } else {
      m.dropped.push_back(m.names[i]);
    }
  }
  std::vector<double> cells;
  cells.reserve(kept.size() * kept.size());
  std::vector<std::string> names;
  for (std::size_t i : kept) {
    names.push_back(m.names[i]);
    for (std::size_t j : kept) cells.push_back(m.cells[i * n + j]);
  }
  m.names = std::move(names);
  m.cells = std::move(cells);
  m.size = kept.size();
}

// ---- Stata's matrix list -------------------------------------------------

struct StataRow {
  std::string name;
  std::vector<const Cell*> values;
  std::size_t line = 0;
};

struct StataBlock {
  std::size_t firstLine = 0;
  std::vector<const Line*> header;  // the lines of column names
  std::vector<StataRow> rows;
};

// A line of Stata's rows holds a number or a missing value (".", ".a").
bool HasStataValue(const Line& l) {
  if (l.HasNumber()) return true;
  for (std::size_t k = 1; k < l.cells.size(); ++k) {
    const std::string_view t = l.cells[k].text;
    if (t == "." || (t.size() == 2 && t[0] == '.' && t[1] >= 'a' && t[1] <= 'z')) return true;
  }
  return false;
}

// Stata's `matrix list`: column blocks, each with one or more lines of column
// names (a long name is broken over two lines there) and rows of a name and
// the numbers of the lower triangle. A row name broken over two lines is put
// together again: its first part stands alone on a line, within the column
// of row names (the column names stand to the right of it). The row names
// are the names.
ReadResult ReadStata(const Prepared& p, std::size_t from, const std::optional<StataHeader>& header) {
  std::vector<StataBlock> blocks(1);
  bool blankSinceRow = false;
  std::size_t lastNameEnd = 0;  // where the last row's name ends
  for (std::size_t k = from; k < p.lines.size(); ++k) {
    const Line& l = p.lines[k];
    if (l.cells.empty()) {
      blankSinceRow = true;
      continue;
    }
    if (!HasStataValue(l)) {
      if (!blocks.back().rows.empty()) {
        const bool fragment = !blankSinceRow && l.cells.size() == 1 && l.cells[0].end <= lastNameEnd;
        if (!fragment) blocks.emplace_back();
      }
      if (blocks.back().header.empty()) blocks.back().firstLine = l.number;
      blocks.back().header.push_back(&l);
      continue;
    }
    StataBlock& block = blocks.back();
    if (block.rows.empty() && block.header.empty()) block.firstLine = l.number;
    StataRow row;
    row.line = l.number;
    std::size_t c = 0;
    if (l.cells[0].kind == Kind::Word) {
      row.name = std::string(l.cells[0].text);
      lastNameEnd = l.cells[0].end;
      c = 1;
    }
    // The first parts of a broken name, on the lines just above.
    std::string prefix;
    while (!block.header.empty() && block.header.back()->cells.size() == 1 &&
           block.header.back()->cells[0].end <= std::max(lastNameEnd, c == 1 ? l.cells[0].end : 0)) {
      prefix.insert(0, std::string(block.header.back()->cells[0].text));
      block.header.pop_back();
    }
    row.name = prefix + row.name;
    for (; c < l.cells.size(); ++c) row.values.push_back(&l.cells[c]);
    if (block.header.empty() && block.rows.empty() && blocks.size() > 1) {
      // The line taken for a new block's column names was part of a row name.
      blocks.pop_back();
    }
    blocks.back().rows.push_back(std::move(row));
    blankSinceRow = false;
  }
  while (!blocks.empty() && blocks.back().rows.empty()) blocks.pop_back();
  if (blocks.empty()) return Error("the text has no numbers");

  const std::vector<StataRow>& first = blocks[0].rows;
  const std::size_t n = first.size();
  std::vector<std::string> names;
  for (std::size_t i = 0; i < n; ++i) {
    if (first[i].name.empty()) return Error(RowWords(i, {}) + " has no name, where the other rows have one");
    names.push_back(first[i].name);
  }
  if (auto repeated = RepeatedName(names, "rows")) return Error(*repeated);
  if (header) {
    if (header->rows != header->columns) {
      return Error("the matrix is not square: Stata's header " + Quoted(header->title) + " gives " +
                   Num(header->rows) + " rows and " + Num(header->columns) + " columns");
    }
    if (header->rows != n) {
      return Error("Stata's header " + Quoted(header->title) + " gives " + Num(header->rows) + " rows, but " +
                   Num(n) + (n == 1 ? " was read" : " were read"));
    }
  }
  auto indexOf = [&](const std::string& name) -> std::optional<std::size_t> {
    for (std::size_t i = 0; i < n; ++i) {
      if (names[i] == name) return i;
    }
    return std::nullopt;
  };

  std::vector<double> cells(n * n, 0.0);
  std::vector<bool> set(n * n, false);
  std::size_t c0 = 0;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    std::size_t width = 0;
    for (std::size_t r = 0; r < blocks[b].rows.size(); ++r) {
      const StataRow& row = blocks[b].rows[r];
      std::size_t i = r;
      if (b > 0) {
        auto found = indexOf(row.name);
        if (!found) {
          return Error("the row " + Quoted(row.name) + " on line " + Num(row.line) +
                       " is not among the rows of the first column block");
        }
        i = *found;
      }
      for (std::size_t k = 0; k < row.values.size(); ++k) {
        const std::size_t j = c0 + k;
        if (j >= n) {
          return Error(RowWords(i, names[i]) + " has " + Count(c0 + row.values.size(), "number") +
                       ", but the matrix has " + Count(n, "row"));
        }
        if (auto e = CellError(*row.values[k], i, names[i], j)) return Error(*e);
        cells[i * n + j] = row.values[k]->value;
        set[i * n + j] = true;
      }
      width = std::max(width, row.values.size());
    }
    c0 += width;
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j <= i; ++j) {
      const bool lower = set[i * n + j], upper = set[j * n + i];
      if (!lower && !upper) {
        return Error(RowWords(i, names[i]) + ", " + ColumnWords(j, names[j]) +
                     " is missing: the rows are of unequal length for a lower triangle");
      }
      if (!lower) cells[i * n + j] = cells[j * n + i];
      if (!upper) cells[j * n + i] = cells[i * n + j];
    }
  }
  Grid g;
  g.names = std::move(names);
  g.size = n;
  g.cells = std::move(cells);
  g.format = "Stata's matrix list";
  ReadResult r = Finish(std::move(g));
  if (r.ok) DropBaseTerms(r.matrix);
  return r;
}

// ---- SPSS's coefficient correlations -----------------------------------

bool IsLabel(const Cell& c, std::string_view word) {
  if (c.kind != Kind::Word || c.text.size() != word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    if (std::tolower(static_cast<unsigned char>(c.text[k])) != word[k]) return false;
  }
  return true;
}

bool IsCovarianceLabel(const Cell& c) {
  if (c.text.size() < 10 || c.text.size() > 11 || (c.text[0] | 0x20) != 'c') return false;
  return IsLabel(c, "covariances") || IsLabel(c, "covariance");
}
bool IsCorrelationLabel(const Cell& c) { return IsLabel(c, "correlations") || IsLabel(c, "correlation"); }

// The cells of a line after its label cell, empty ones left out.
std::vector<const Cell*> CellsAfter(const Line& l, std::size_t from) {
  std::vector<const Cell*> out;
  for (std::size_t k = from; k < l.cells.size(); ++k) {
    if (l.cells[k].kind != Kind::Empty) out.push_back(&l.cells[k]);
  }
  return out;
}

// The line where the (last) covariance block starts: a label cell
// "Covariances" followed by a name and at least one number.
std::optional<std::pair<std::size_t, std::size_t>> FindCovarianceBlock(const std::vector<Line>& lines) {
  std::optional<std::pair<std::size_t, std::size_t>> found;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const Line& l = lines[k];
    for (std::size_t c = 0; c < l.cells.size(); ++c) {
      if (!IsCovarianceLabel(l.cells[c])) continue;
      auto rest = CellsAfter(l, c + 1);
      if (rest.size() >= 2 && rest[0]->kind == Kind::Word && rest[1]->kind == Kind::Number) found = {k, c + 1};
      break;
    }
  }
  return found;
}

// SPSS's table: the rows of the covariance block, each a name and the
// numbers; SPSS lists the weights last entered first, so the names and the
// matrix are turned back to the order of entry.
ReadResult ReadSpss(const Prepared& p, std::size_t lineIndex, std::size_t cellIndex) {
  std::vector<std::string> names;
  std::vector<std::vector<const Cell*>> rows;
  std::size_t n = 0;
  for (std::size_t k = lineIndex; k < p.lines.size(); ++k) {
    const Line& l = p.lines[k];
    if (l.cells.empty()) continue;
    std::vector<const Cell*> cells = CellsAfter(l, k == lineIndex ? cellIndex : 0);
    if (k != lineIndex) {
      // The next model's block, or the notes under the table, end it.
      if (std::any_of(l.cells.begin(), l.cells.end(),
                      [](const Cell& c) { return IsCorrelationLabel(c) || IsCovarianceLabel(c); })) {
        break;
      }
      if (!l.HasNumber()) break;
    }
    if (cells.empty()) break;
    const std::size_t i = rows.size();
    if (cells[0]->kind != Kind::Word) return Error(RowWords(i, {}) + " of the covariance block has no name");
    names.emplace_back(cells[0]->text);
    cells.erase(cells.begin());
    if (i == 0) n = cells.size();
    rows.push_back(std::move(cells));
    if (rows.size() == n) break;
  }
  if (rows.size() != n) {
    return Error("the matrix is not square: the covariance block has " + Num(rows.size()) +
                 (rows.size() == 1 ? " row" : " rows") + " of " + Num(n) + (n == 1 ? " number" : " numbers"));
  }
  std::vector<double> cells(n * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < rows[i].size() && j < n; ++j) {
      if (auto e = CellError(*rows[i][j], i, names[i], j)) return Error(*e);
      cells[i * n + j] = rows[i][j]->value;
    }
    if (rows[i].size() != n) {
      return Error(RowWords(i, names[i]) + " of the covariance block has " + Count(rows[i].size(), "number") +
                   ", row 1 has " + Num(n) + ": the rows are of unequal length");
    }
  }
  Grid g;
  g.names = std::move(names);
  g.size = n;
  g.cells = std::move(cells);
  g.format = "SPSS's coefficient correlations";
  ReadResult r = Finish(std::move(g));
  if (!r.ok) return r;
  // Back to the order in which the weights were entered.
  PastedMatrix& m = r.matrix;
  std::reverse(m.names.begin(), m.names.end());
  std::vector<double> reversed(n * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) reversed[i * n + j] = m.cells[(n - 1 - i) * n + (n - 1 - j)];
  }
  m.cells = std::move(reversed);
  return r;
}

// ---- Tables ----------------------------------------------------------------

// The names below are views into the prepared text (or its store of
// unquoted names), which outlives the reading.

// A row put together across the column blocks. With one block its cells
// are the run of them in its line; with more, a run of one vector of
// pointers that holds those of all rows.
struct TableRow {
  std::string_view name;
  const Cell* run = nullptr;
  const Cell* const* gathered = nullptr;
  std::size_t count = 0;

  std::size_t size() const { return count; }
  const Cell& operator[](std::size_t j) const { return gathered != nullptr ? *gathered[j] : run[j]; }
};

// A row of one column block: its name and its run of numbers in its line.
struct BlockRow {
  std::string_view name;
  const Cell* values = nullptr;
  std::size_t count = 0;
};

// The lines of a block's rows: a run of the table's lines.
struct LineRun {
  const Line* const* first = nullptr;
  std::size_t count = 0;

  const Line* const* begin() const { return first; }
  const Line* const* end() const { return first + count; }
  bool empty() const { return count == 0; }
  std::size_t size() const { return count; }
  const Line* operator[](std::size_t k) const { return first[k]; }
};

struct TableBlock {
  const Line* header = nullptr;
  std::vector<std::string_view> headerNames;
  LineRun lines;
  std::vector<BlockRow> rows;
};

bool IsHeaderLine(const Line& l, Separator s) {
  if (!l.HasNumber()) return true;
  // A first cell left empty is the corner above the row names.
  return s != Separator::Blank && l.cells.size() > 1 && l.cells[0].kind == Kind::Empty;
}

// The header of a blank-separated block cut at the right edges of the
// number columns under it (R right-aligns names and numbers alike), for
// names that hold blanks. Nothing when a column gets no name.
std::optional<std::vector<std::string_view>> SplitHeaderAtColumns(const Line& header, const BlockRow& row) {
  std::vector<std::string_view> out(row.count);
  std::size_t k = 0;
  std::vector<std::pair<std::size_t, std::size_t>> spans(row.count, {0, 0});
  std::vector<bool> used(row.count, false);
  for (const Cell& c : header.cells) {
    while (k < row.count && c.end > row.values[k].end) ++k;
    if (k >= row.count) return std::nullopt;
    if (!used[k]) spans[k].first = c.begin;
    spans[k].second = c.end;
    used[k] = true;
  }
  for (std::size_t j = 0; j < out.size(); ++j) {
    if (!used[j]) return std::nullopt;
    out[j] = header.text.substr(spans[j].first, spans[j].second - spans[j].first);
  }
  return out;
}

// Whether the rows of a blank-separated text with row names begin as a
// lower triangle (1, then 2 numbers): Stata's layout without its header.
bool LooksLikeTriangle(const Prepared& p) {
  std::vector<std::size_t> counts;
  for (const Line& l : p.lines) {
    if (l.cells.empty() || !l.HasNumber()) continue;
    if (l.cells[0].kind != Kind::Word) return false;
    counts.push_back(l.cells.size() - 1);
    if (counts.size() == 2) break;
  }
  return counts.size() == 2 && counts[0] == 1 && counts[1] == 2;
}

ReadResult ReadTable(const Prepared& p) {
  const Separator sep = p.separator;
  std::vector<const Line*> lines;
  lines.reserve(p.lines.size());
  for (const Line& l : p.lines) {
    if (!l.cells.empty()) lines.push_back(&l);
  }
  if (lines.empty()) return Error("the text is empty: paste a covariance matrix");

  // Blocks: a line of names, then rows; a blank-separated text may have
  // several (R prints wide matrices in column blocks).
  std::vector<TableBlock> blocks(1);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const Line* l = lines[k];
    const bool header = IsHeaderLine(*l, sep);
    if (header && blocks.back().header == nullptr && blocks.back().lines.empty()) {
      blocks.back().header = l;
    } else if (header && sep == Separator::Blank && blocks[0].header != nullptr && !blocks.back().lines.empty() &&
               l->AllWords()) {
      blocks.emplace_back();
      blocks.back().header = l;
    } else {
      LineRun& run = blocks.back().lines;
      if (run.count == 0) run.first = &lines[k];
      ++run.count;
    }
  }
  if (blocks.back().lines.empty()) {
    if (blocks.size() == 1) return Error("the text has no numbers");
    return Error("the column block that starts on line " + Num(blocks.back().header->number) + " has no rows");
  }

  // Row names: in tab- and comma-separated text, present when the header
  // has the empty corner cell; otherwise when most rows begin with a word.
  bool rowNames = false;
  if (sep != Separator::Blank && blocks[0].header != nullptr && blocks[0].header->cells[0].kind == Kind::Empty) {
    rowNames = true;
  } else {
    std::size_t named = 0, total = 0;
    for (const TableBlock& b : blocks) {
      for (const Line* l : b.lines) {
        ++total;
        const Cell& first = l->cells[0];
        const bool commaNumber = first.kind == Kind::Word && HasNumberForm(first.text, ',');
        if ((first.kind == Kind::Word && !commaNumber) || first.kind == Kind::Empty) ++named;
      }
    }
    const Cell& first = blocks[0].lines[0]->cells[0];
    rowNames = 2 * named > total ||
               (2 * named == total && first.kind == Kind::Word && !HasNumberForm(first.text, ','));
  }

  for (TableBlock& b : blocks) {
    std::size_t expected = 0;  // the numbers a row of this block should have
    if (b.header != nullptr) {
      b.headerNames.reserve(b.header->cells.size());
      for (const Cell& c : b.header->cells) b.headerNames.emplace_back(c.text);
      expected = b.headerNames.size();
    }
    b.rows.reserve(b.lines.size());
    for (const Line* l : b.lines) {
      BlockRow row;
      std::size_t c = 0;
      if (rowNames) {
        if (sep != Separator::Blank) {
          row.name = l->cells[0].text;
          c = 1;
        } else {
          // The name is the leading words (a name may hold blanks); where the
          // line has exactly one cell more than the header has names, only
          // the first.
          const std::size_t total = l->cells.size();
          std::size_t words = 0;
          while (words < total && l->cells[words].kind == Kind::Word) ++words;
          if (expected > 0 && total == expected + 1 && words > 1) words = 1;
          if (words > 0) {
            row.name = l->text.substr(l->cells[0].begin, l->cells[words - 1].end - l->cells[0].begin);
          }
          c = words;
        }
      }
      row.values = l->cells.begin() + c;
      row.count = l->cells.size() - c;
      b.rows.push_back(row);
    }
  }

  // The rows put together across the blocks, row i at i * stride in `all`:
  // room for the widest row of every block.
  const std::size_t m = blocks[0].rows.size();
  std::size_t stride = 0;
  for (const TableBlock& b : blocks) {
    std::size_t widest = 0;
    for (const BlockRow& r : b.rows) widest = std::max(widest, r.count);
    stride += widest;
  }
  std::vector<const Cell*> all(blocks.size() > 1 ? m * stride : 0);
  std::vector<TableRow> rows(m);
  for (std::size_t i = 0; i < m; ++i) {
    const BlockRow& r = blocks[0].rows[i];
    rows[i].name = r.name;
    rows[i].run = r.values;
    rows[i].count = r.count;
    if (blocks.size() > 1) {
      rows[i].gathered = all.data() + i * stride;
      for (std::size_t k = 0; k < r.count; ++k) all[i * stride + k] = r.values + k;
    }
  }
  std::vector<std::string_view> headerNames;
  bool header = blocks[0].header != nullptr;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    TableBlock& block = blocks[b];
    if (b > 0) {
      if (block.rows.size() != m) {
        return Error("the column block that starts on line " + Num(block.header->number) + " has " +
                     Count(block.rows.size(), "row") + ", the first has " + Num(m));
      }
      for (std::size_t i = 0; i < m; ++i) {
        if (block.rows[i].name != rows[i].name) {
          return Error("row " + Num(i + 1) + " of the column block that starts on line " +
                       Num(block.header->number) + " is named " + Quoted(block.rows[i].name) +
                       ", the same row of the first block " + Quoted(rows[i].name));
        }
        const BlockRow& r = block.rows[i];
        for (std::size_t k = 0; k < r.count; ++k) all[i * stride + rows[i].count + k] = r.values + k;
        rows[i].count += r.count;
      }
    }
    if (block.header == nullptr) continue;
    std::vector<std::string_view> names = std::move(block.headerNames);
    std::size_t width = 0;
    for (const BlockRow& r : block.rows) width = std::max(width, r.count);
    const bool fits = names.size() == width || (rowNames && names.size() == width + 1);
    if (sep == Separator::Blank && !fits) {
      // Names with blanks in them, cut at the number columns.
      if (auto split = SplitHeaderAtColumns(*block.header, block.rows[0])) names = std::move(*split);
    }
    // A corner cell above the row names ("" or a word such as "Variable").
    if (rowNames && names.size() == width + 1) names.erase(names.begin());
    if (blocks.size() > 1 && names.size() != width) {
      return Error("the line of names on line " + Num(block.header->number) + " names " +
                   Count(names.size(), "column") + ", but the rows under it have " + Count(width, "number"));
    }
    headerNames.insert(headerNames.end(), names.begin(), names.end());
  }

  // The numbers.
  auto rowName = [&](std::size_t i) -> std::string_view { return rowNames ? rows[i].name : std::string_view(); };
  for (std::size_t i = 0; i < m; ++i) {
    if (rowNames && rows[i].name.empty()) {
      return Error(RowWords(i, {}) + " has no name, where the other rows have one");
    }
    for (std::size_t j = 0; j < rows[i].size(); ++j) {
      if (auto e = CellError(rows[i][j], i, rowName(i), j)) return Error(*e);
    }
  }

  // The shape: a full square or a lower triangle (one block only).
  const std::size_t n0 = rows[0].size();
  bool triangle = false;
  if (n0 == 0) return Error(RowWords(0, rowName(0)) + " has no numbers");
  if (blocks.size() == 1 && m > 1 && n0 == 1 && rows[1].size() == 2) {
    triangle = true;
    for (std::size_t i = 0; i < m; ++i) {
      if (rows[i].size() != i + 1) {
        return Error(RowWords(i, rowName(i)) + " has " + Count(rows[i].size(), "number") + ", where row " +
                     Num(i + 1) + " of a lower triangle has " + Num(i + 1) + ": the rows are of unequal length");
      }
    }
  } else {
    for (std::size_t i = 1; i < m; ++i) {
      if (rows[i].size() != n0) {
        return Error(RowWords(i, rowName(i)) + " has " + Count(rows[i].size(), "number") + ", row 1 has " +
                     Num(n0) + ": the rows are of unequal length");
      }
    }
    if (m != n0) {
      return Error("the matrix is not square: it has " + Num(m) + (m == 1 ? " row" : " rows") + " of " + Num(n0) +
                   (n0 == 1 ? " number" : " numbers"));
    }
  }
  const std::size_t n = m;

  // The names: the row names, else the column names.
  std::vector<std::string_view> names;
  std::vector<std::size_t> columnOrder(n);
  for (std::size_t j = 0; j < n; ++j) columnOrder[j] = j;
  if (header && headerNames.size() != n) {
    return Error("the first line names " + Num(headerNames.size()) +
                 (headerNames.size() == 1 ? " column" : " columns") + ", but the matrix has " + Num(n));
  }
  bool distinct = false;  // the names already checked for repeats
  if (rowNames) {
    for (const TableRow& r : rows) names.push_back(r.name);
    if (header) {
      if (auto repeated = RepeatedName(headerNames, "columns")) return Error(*repeated);
      bool same = true;
      for (std::size_t j = 0; j < n && same; ++j) same = names[j] == headerNames[j];
      distinct = same;  // the row names are the column names, just checked
      std::vector<std::string> rowKeys, columnKeys;
      if (!same) {
        for (std::string_view s : names) rowKeys.push_back(CollapseRuns(s));
        for (std::string_view s : headerNames) columnKeys.push_back(CollapseRuns(s));
      }
      if (rowKeys != columnKeys) {
        // Columns in another order than the rows are put in the rows' order.
        for (std::size_t j = 0; j < n; ++j) {
          auto it = std::find(columnKeys.begin(), columnKeys.end(), rowKeys[j]);
          if (it == columnKeys.end()) {
            std::size_t k = 0;
            while (k < n && rowKeys[k] == columnKeys[k]) ++k;
            return Error("column " + Num(k + 1) + " is named " + Quoted(headerNames[k]) + ", but row " +
                         Num(k + 1) + " is named " + Quoted(names[k]) +
                         ": the rows and columns must name the same weights");
          }
          columnOrder[j] = static_cast<std::size_t>(it - columnKeys.begin());
        }
        if (triangle) {
          return Error("the columns of the lower triangle are named in another order than its rows");
        }
      }
    }
  } else if (header) {
    names = headerNames;
    for (std::size_t j = 0; j < n; ++j) {
      if (names[j].empty()) return Error(ColumnWords(j, {}) + " has no name, where the other columns have one");
    }
    if (auto repeated = RepeatedName(names, "columns")) return Error(*repeated);
    distinct = true;
  }

  Grid g;
  g.size = n;
  g.cells.assign(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < rows[i].size(); ++j) g.cells[i * n + j] = rows[i][columnOrder[j]].value;
  }
  if (triangle) {
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j) g.cells[i * n + j] = g.cells[j * n + i];
    }
  }
  const bool named = !names.empty();
  g.names.assign(names.begin(), names.end());
  g.namesDistinct = distinct;
  if (!named) {
    g.format = triangle ? "a bare lower triangle" : "bare numbers";
  } else if (sep == Separator::Tab) {
    g.format = "a tab-separated table";
  } else if (sep == Separator::Comma) {
    const bool rCsv = blocks[0].header != nullptr && blocks[0].header->cells[0].quoted &&
                      blocks[0].header->cells[0].text.empty();
    g.format = rCsv ? "R's write.csv" : "a comma-separated table";
  } else {
    g.format = "R's print";
  }
  return Finish(std::move(g));
}

}  // namespace

ReadResult ReadPastedMatrix(std::string_view text) {
  try {
    std::optional<StataHeader> stata;
    Prepared p;
    Prepare(text, p, stata);
    bool any = false;
    for (const Line& l : p.lines) any = any || !l.cells.empty();
    if (!any) return Error("the text is empty: paste a covariance matrix");

    if (stata) return ReadStata(p, stata->lineIndex + 1, stata);
    if (auto block = FindCovarianceBlock(p.lines)) {
      ReadResult r = ReadSpss(p, block->first, block->second);
      if (r.ok) r.matrix.commaDecimals = p.commaDecimals;
      return r;
    }
    if (p.separator == Separator::Blank && LooksLikeTriangle(p)) return ReadStata(p, 0, std::nullopt);
    ReadResult r = ReadTable(p);
    if (r.ok) r.matrix.commaDecimals = p.commaDecimals;
    return r;
  } catch (...) {
    // Only an allocation can fail here.
    return Error("the text could not be read: it is too large");
  }
}

std::string WriteMatrix(const PastedMatrix& m) {
  std::string out;
  out.reserve(m.size * m.size * 26 + 64);
  auto name = [&](std::size_t i) { return i < m.names.size() ? m.names[i] : "row " + Num(i + 1); };
  for (std::size_t j = 0; j < m.size; ++j) {
    out += '\t';
    out += name(j);
  }
  out += '\n';
  std::array<char, 64> buf{};
  for (std::size_t i = 0; i < m.size; ++i) {
    out += name(i);
    for (std::size_t j = 0; j < m.size; ++j) {
      out += '\t';
      auto res = std::to_chars(buf.data(), buf.data() + buf.size(), m.cells[i * m.size + j],
                               std::chars_format::general, 17);
      out.append(buf.data(), res.ptr);
    }
    out += '\n';
  }
  return out;
}

}  // namespace marvane::stats
