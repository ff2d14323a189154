#include "stats/matrix_reader.h"

// How the text is read:
//   1. It is normalised: a byte-order mark is dropped, line ends become \n,
//      the minus sign U+2212 becomes '-', no-break and thin spaces become
//      spaces. Lines that echo a command ("> vcov(fit)", ". matrix list
//      e(V)") are left out.
//   2. Each line is cut into cells: by tabs when any line has one, else by
//      commas when any line has one outside quotes and parentheses, else by
//      blanks (always for Stata's matrix list). A cell knows where it stands
//      (its line, its first and last column) and is read as a number (in one
//      way: ReadNumber) or taken as a word.
//   3. The layouts of kLayouts (at the end) are tried in their order; the
//      first that recognises the text reads it.
//   4. Finish checks what every layout shares: names, variances, symmetry.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <iterator>
#include <map>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace marvane::stats {
namespace {

constexpr double kSymmetryTolerance = 1e-5;
constexpr auto npos = std::string_view::npos;

// ---- Words ---------------------------------------------------------------------------

std::string Num(std::size_t k) { return std::to_string(k); }

// "1 number", "3 numbers".
std::string Count(std::size_t k, const char* word) { return Num(k) + " " + word + (k == 1 ? "" : "s"); }

// A number as the messages show it: as few digits as give it back.
std::string ShowNumber(double x) {
  std::array<char, 64> buf{};
  return std::string(buf.data(), std::to_chars(buf.data(), buf.data() + buf.size(), x).ptr);
}

std::string Quoted(std::string_view s) { return "\"" + std::string(s.substr(0, 40)) + (s.size() > 40 ? "...\"" : "\""); }

// "row 3" or "row 3 (x:z)"; "column 2" or "column 2 (z)".
std::string Place(const char* what, std::size_t k, std::string_view name) {
  return what + (" " + Num(k + 1)) + (name.empty() ? "" : " (" + std::string(name) + ")");
}
std::string RowWords(std::size_t i, std::string_view name = {}) { return Place("row", i, name); }
std::string ColumnWords(std::size_t j, std::string_view name = {}) { return Place("column", j, name); }

// ---- The text ------------------------------------------------------------------------

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// s without the characters of `chars` at its ends (by default the blanks:
// spaces and tabs).
std::string_view Trim(std::string_view s, std::string_view chars = " \t") {
  const std::size_t b = s.find_first_not_of(chars);
  return b == npos ? s.substr(0, 0) : s.substr(b, s.find_last_not_of(chars) + 1 - b);
}

// What normalising replaces; the other control characters (form feed,
// vertical tab, NUL) become spaces too.
constexpr std::pair<std::string_view, char> kReplaced[] = {
    {"\r\n", '\n'},         {"\r", '\n'},
    {"\xE2\x88\x92", '-'},  // U+2212 MINUS SIGN
    {"\xC2\xA0", ' '},      // U+00A0 NO-BREAK SPACE
    {"\xE2\x80\x89", ' '},  // U+2009 THIN SPACE
    {"\xE2\x80\xAF", ' '},  // U+202F NARROW NO-BREAK SPACE
    {"\xE2\x80\x87", ' '},  // U+2007 FIGURE SPACE
};

std::string Normalise(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte-order mark
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto r = std::find_if(std::begin(kReplaced), std::end(kReplaced),
                                [&](const auto& r) { return text.substr(i).starts_with(r.first); });
    if (r != std::end(kReplaced)) {
      out += r->second;
      i += r->first.size();
      continue;
    }
    const char c = text[i++];
    out += static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t' ? ' ' : c;
  }
  return out;
}

// A line that echoes the command that printed the matrix: R's prompt
// ("> vcov(fit)", ">") or Stata's (". matrix list e(V)"). Never a line with
// a tab: those are table rows.
bool IsCommandEcho(std::string_view line) {
  if (line.find('\t') != npos) return false;
  line = Trim(line, " ");
  const char c = line.size() >= 3 ? line[2] : ' ';
  const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return line == ">" || line.starts_with("> ") || (line.starts_with(". ") && letter);
}

// ---- Numbers -------------------------------------------------------------------------

enum class Kind {
  Number,  // within the range of doubles (subnormals and zeros included)
  Huge,    // a number text beyond the range of doubles
  Word,    // anything else
  Empty,   // an empty cell (tab- and comma-separated text only)
};

// Whether t is a number text: an optional sign, digits with at most one
// decimal `point` and at least one digit, an optional exponent (e or E, an
// optional sign, at least one digit).
bool HasNumberForm(std::string_view t, char point) {
  std::size_t i = t.starts_with('+') || t.starts_with('-') ? 1 : 0;
  auto digits = [&] {
    const std::size_t from = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    return i - from;
  };
  std::size_t count = digits();
  if (i < t.size() && t[i] == point) {
    ++i;
    count += digits();
  }
  if (count == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == t.size();
}

// Whether a number text (with '.' for its point) that is out of the range of
// doubles is beyond it rather than below the smallest: whether its first
// significant digit stands for 10 or more.
bool IsHuge(std::string_view t) {
  const std::size_t e = std::min(t.find_first_of("eE"), t.size());
  const std::size_t first = t.substr(0, e).find_first_of("123456789");
  if (first == npos) return false;
  const std::size_t point = std::min(t.substr(0, e).find('.'), e);
  const long long place = static_cast<long long>(point) - static_cast<long long>(first) - (first < point ? 1 : 0);
  std::string_view written = t.substr(std::min(e + 1, t.size()));
  if (written.starts_with('+')) written.remove_prefix(1);
  long long exponent = 0;
  if (std::from_chars(written.data(), written.data() + written.size(), exponent).ec == std::errc::result_out_of_range) {
    exponent = written.starts_with('-') ? -1'000'000'000'000LL : 1'000'000'000'000LL;
  }
  return place + exponent > 0;
}

struct Reading {
  Kind kind = Kind::Word;
  double value = 0;
};

// The one reading of a number text, with `point` for its decimal separator
// (std::from_chars: no locale is followed). Number with its value (a text
// below the smallest double reads as a zero of its sign), Huge beyond the
// range of doubles, Word for anything else ("inf" and "nan" included).
Reading ReadNumber(std::string_view t, char point) {
  if (!HasNumberForm(t, point)) return {};
  std::string s(t.substr(t.starts_with('+') ? 1 : 0));
  std::replace(s.begin(), s.end(), point, '.');
  double value = 0;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec == std::errc::result_out_of_range) {
    return IsHuge(s) ? Reading{Kind::Huge, 0} : Reading{Kind::Number, s.starts_with('-') ? -0.0 : 0.0};
  }
  if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(value)) return {};
  return {Kind::Number, value};
}

// ---- Cells and lines ---------------------------------------------------------------

enum class Separator { Tab, Comma, Blank };

struct Cell {
  std::string text;                // without the blanks around it (and without its quotes)
  std::size_t line = 0;            // the number of its line in the pasted text, from 1
  std::size_t begin = 0, end = 0;  // where it stands within its line
  bool quoted = false;
  Kind kind = Kind::Word;
  double value = 0;  // of a Number

  void Read(char point) {
    const Reading r = text.empty() ? Reading{Kind::Empty, 0} : ReadNumber(text, point);
    kind = r.kind;
    value = r.value;
  }
  bool IsNumber() const { return kind == Kind::Number || kind == Kind::Huge; }
  // A word that reads as a number with a decimal comma ("0,5").
  bool IsCommaNumber() const {
    return kind == Kind::Word && text.find(',') != npos && ReadNumber(text, ',').kind != Kind::Word;
  }
};

Cell MakeCell(std::string_view text, std::size_t line, std::size_t begin, std::size_t end, bool quoted = false) {
  Cell c{std::string(text), line, begin, end, quoted};
  c.Read('.');
  return c;
}

struct Line {
  std::size_t number = 0;  // in the pasted text, from 1
  std::string text;
  std::vector<Cell> cells;  // none for a blank line; no empty cells at its end

  bool HasNumber() const { return std::any_of(cells.begin(), cells.end(), [](const Cell& c) { return c.IsNumber(); }); }
};

std::vector<Cell> SplitBlanks(std::string_view text, std::size_t line) {
  std::vector<Cell> cells;
  for (std::size_t b = 0, e = 0; (b = text.find_first_not_of(" \t", e)) != npos;) {
    e = std::min(text.find_first_of(" \t", b), text.size());
    cells.push_back(MakeCell(text.substr(b, e - b), line, b, e));
  }
  return cells;
}

std::vector<Cell> SplitTabs(std::string_view text, std::size_t line) {
  std::vector<Cell> cells;
  for (std::size_t b = 0;;) {
    const std::size_t e = std::min(text.find('\t', b), text.size());
    const std::string_view kept = Trim(text.substr(b, e - b), " ");
    const auto begin = static_cast<std::size_t>(kept.data() - text.data());
    cells.push_back(MakeCell(kept, line, begin, begin + kept.size()));
    if (e == text.size()) return cells;
    b = e + 1;
  }
}

// Whether a comma separates cells in the line: one outside double quotes,
// parentheses and brackets.
bool HasSeparatingComma(std::string_view line) {
  bool quoted = false;
  int depth = 0;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (c == '(' || c == '[') {
      ++depth;
    } else if (c == ')' || c == ']') {
      depth = std::max(0, depth - 1);
    } else if (c == ',' && depth == 0) {
      return true;
    }
  }
  return false;
}

// The cell in double quotes that opens at i (left at the comma after it, or
// the line's end): its text without the quotes, "" inside standing for one
// quote. Where more than blanks follows the closing quote, the cell is all
// of its text, quotes and all.
Cell QuotedCell(std::string_view text, std::size_t& i, std::size_t line) {
  const std::size_t begin = i, n = text.size();
  std::string inside;
  for (++i; i < n && !(text[i] == '"' && (i + 1 >= n || text[i + 1] != '"')); ++i) {
    if (text[i] == '"') ++i;  // the first of two
    inside += text[i];
  }
  i = std::min(i + 1, n);
  const std::size_t after = i;
  i = std::min(text.find(',', i), n);
  if (!Trim(text.substr(after, i - after)).empty()) return MakeCell(Trim(text.substr(begin, i - begin)), line, begin, i);
  return MakeCell(inside, line, begin, i, true);
}

// Comma-separated cells; a comma within parentheses or brackets separates
// nothing ("poly(wt, 2)1" is one cell).
std::vector<Cell> SplitCommas(std::string_view text, std::size_t line) {
  std::vector<Cell> cells;
  for (std::size_t i = 0;; ++i) {  // (++i: past the comma)
    i = std::min(text.find_first_not_of(" \t", i), text.size());
    if (i < text.size() && text[i] == '"') {
      cells.push_back(QuotedCell(text, i, line));
    } else {
      const std::size_t begin = i;
      for (int depth = 0; i < text.size() && (text[i] != ',' || depth > 0); ++i) {
        if (text[i] == '(' || text[i] == '[') ++depth;
        if (text[i] == ')' || text[i] == ']') depth = std::max(0, depth - 1);
      }
      const std::string_view kept = Trim(text.substr(begin, i - begin));
      cells.push_back(MakeCell(kept, line, begin, begin + kept.size()));
    }
    if (i >= text.size()) return cells;
  }
}

struct StataHeader {
  std::size_t line = 0;  // its index among the lines
  std::string title;     // "e(V)[4,4]"
  std::size_t rows = 0, columns = 0;
};

// A count of at most six digits.
bool ReadCount(std::string_view s, std::size_t& out) {
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return s.size() <= 6 && ec == std::errc() && ptr == s.data() + s.size();
}

// "symmetric e(V)[4,4]" or "e(V)[4,4]", alone on its line: spaces, no tabs.
std::optional<StataHeader> FindStataHeader(const std::vector<Line>& lines) {
  for (std::size_t k = 0; k < lines.size(); ++k) {
    std::string_view t = Trim(lines[k].text, " ");
    if (t.starts_with("symmetric ")) t = Trim(t.substr(10), " ");
    const std::size_t open = t.rfind('['), comma = open == npos ? npos : t.find(',', open);
    if (!t.ends_with(']') || t.find_first_of(" \t") != npos || open == npos || open == 0 || comma == npos) continue;
    StataHeader h{k, std::string(t)};
    if (ReadCount(t.substr(open + 1, comma - open - 1), h.rows) &&
        ReadCount(t.substr(comma + 1, t.size() - comma - 2), h.columns)) {
      return h;
    }
  }
  return std::nullopt;
}

// A table's lines in column blocks, each a line of names (if any) and the
// lines of its rows, and whether its rows have names.
struct Block {
  const Line* header = nullptr;
  std::vector<const Line*> lines;
};
struct Table {
  std::vector<Block> blocks;
  bool rowNames = false;
  std::string error;  // when the lines make no table
};

// The pasted text in lines of cells.
struct Pasted {
  std::vector<Line> lines;  // every line but the echoed commands, blank ones included
  Separator separator = Separator::Blank;
  bool commaDecimals = false;
  std::optional<StataHeader> stata;
  Table table;  // the lines as a table
};

// Decimal commas (tab-separated text only): read where no number has a full
// stop and some word reads as a number with a comma for the point.
void ReadDecimalCommas(Pasted& p) {
  bool point = false, comma = false;
  for (const Line& l : p.lines) {
    for (const Cell& c : l.cells) {
      point = point || (c.IsNumber() && c.text.find('.') != npos);
      comma = comma || c.IsCommaNumber();
    }
  }
  p.commaDecimals = comma && !point;
  for (Line& l : p.lines) {
    for (Cell& c : l.cells) {
      if (p.commaDecimals && c.kind == Kind::Word) c.Read(',');
    }
  }
}

Pasted Prepare(std::string_view pasted) {
  const std::string text = Normalise(pasted);
  Pasted p;
  for (std::size_t b = 0, number = 1; b <= text.size(); ++number) {
    const std::size_t e = std::min(text.find('\n', b), text.size());
    if (!IsCommandEcho(std::string_view(text).substr(b, e - b))) p.lines.push_back({number, text.substr(b, e - b), {}});
    b = e + 1;
  }
  p.stata = FindStataHeader(p.lines);
  const bool commas = std::any_of(p.lines.begin(), p.lines.end(), [](const Line& l) { return HasSeparatingComma(l.text); });
  if (!p.stata && text.find('\t') != npos) {
    p.separator = Separator::Tab;
  } else if (!p.stata && commas) {
    p.separator = Separator::Comma;
  }
  for (Line& l : p.lines) {
    if (p.separator == Separator::Tab) l.cells = SplitTabs(l.text, l.number);
    if (p.separator == Separator::Comma) l.cells = SplitCommas(l.text, l.number);
    if (p.separator == Separator::Blank) l.cells = SplitBlanks(l.text, l.number);
    for (Cell& c : l.cells) {
      // Stata never prints a number with a trailing point: "1." over "t2" is
      // the level part of a column name broken over two lines.
      if (p.stata && c.kind == Kind::Number && c.text.ends_with('.')) c.kind = Kind::Word;
    }
    while (!l.cells.empty() && l.cells.back().text.empty() && !l.cells.back().quoted) l.cells.pop_back();
    if (std::all_of(l.cells.begin(), l.cells.end(), [](const Cell& c) { return c.kind == Kind::Empty; })) {
      l.cells.clear();
    }
  }
  if (p.separator == Separator::Tab) ReadDecimalCommas(p);
  return p;
}

// ---- What every layout shares --------------------------------------------------------

ReadResult Error(std::string message) {
  ReadResult r;
  r.error = std::move(message);
  if (!r.error.empty() && r.error[0] >= 'a' && r.error[0] <= 'z') r.error[0] = static_cast<char>(r.error[0] - 32);
  if (!r.error.ends_with('.')) r.error += '.';
  return r;
}

// What is wrong with a cell that should hold a number, or nothing.
std::optional<std::string> CellError(const Cell& c, std::size_t i, std::string_view rowName, std::size_t j) {
  const std::string place = RowWords(i, rowName) + ", " + ColumnWords(j);
  if (c.kind == Kind::Number) return std::nullopt;
  if (c.kind == Kind::Empty) return place + " is empty";
  if (c.kind == Kind::Huge) return place + ": " + Quoted(c.text) + " is beyond the range of double-precision numbers";
  std::string e = place + ": " + Quoted(c.text) + " is not a number";
  if (c.IsCommaNumber()) e += " (a decimal comma is read only in tab-separated text in which no number has a full stop)";
  return e;
}

// A name given twice (`one` is "row" or "column"), in words: the repeat
// whose second place comes first. Nothing when every name is different.
std::optional<std::string> RepeatedName(const std::vector<std::string>& names, const std::string& one) {
  std::map<std::string_view, std::size_t> firstPlace;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const auto [it, isNew] = firstPlace.emplace(names[k], k);
    if (isNew) continue;
    return "the name " + Quoted(names[k]) + " is given to " + one + "s " + Num(it->second + 1) + " and " +
           Num(k + 1) + "; every " + one + " needs a name of its own";
  }
  return std::nullopt;
}

// The checks every layout shares: the names (none empty, none twice, unless
// `namesChecked`), the variances, symmetry. Rows and columns are named in the
// pasted order.
ReadResult Finish(PastedMatrix m, bool namesChecked) {
  const std::size_t n = m.size;
  if (n == 0) return Error("the text has no numbers");
  bool trimmed = false;  // a quoted name keeps no blanks at its ends either
  for (std::size_t i = 0; i < m.names.size(); ++i) {
    const std::string kept(Trim(m.names[i]));
    trimmed = trimmed || kept != m.names[i];
    if (kept.empty()) return Error(RowWords(i) + " has no name, where the other rows have one");
    m.names[i] = kept;
  }
  if (trimmed || !namesChecked) {
    if (auto e = RepeatedName(m.names, "row")) return Error(*e);
  }
  auto name = [&](std::size_t i) { return m.names.empty() ? std::string() : m.names[i]; };
  for (std::size_t i = 0; i < n; ++i) {
    if (m.At(i, i) < 0) {
      return Error(RowWords(i, name(i)) + ": the variance " + ShowNumber(m.At(i, i)) +
                   " is negative; a covariance matrix has no negative numbers on its diagonal");
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      double& a = m.cells[i * n + j];
      double& b = m.cells[j * n + i];
      if (a == b) continue;
      if (!(std::fabs(a - b) <= kSymmetryTolerance * std::sqrt(m.At(i, i)) * std::sqrt(m.At(j, j)))) {
        return Error("the matrix is not symmetric: " + RowWords(i, name(i)) + ", " + ColumnWords(j, name(j)) +
                     " holds " + ShowNumber(a) + " but " + RowWords(j, name(j)) + ", " + ColumnWords(i, name(i)) +
                     " holds " + ShowNumber(b));
      }
      a = b = a / 2 + b / 2;
      ++m.averaged;
    }
  }
  ReadResult r;
  r.ok = true;
  r.matrix = std::move(m);
  return r;
}

// ---- Stata's matrix list ---------------------------------------------------------------

// Whether a Stata name is a base or omitted term: one of its parts (split at
// '#') has a level prefix with the letter b or o ("0b.f", "1o.f", "o.x",
// "co.x", "0b.f#co.x").
bool IsBaseOrOmitted(std::string_view name) {
  if (const std::size_t colon = name.rfind(':'); colon != npos) name.remove_prefix(colon + 1);
  for (std::size_t b = 0; b <= name.size();) {
    const std::size_t e = std::min(name.find('#', b), name.size());
    const std::string_view part = name.substr(b, e - b);
    std::string_view flags = part.substr(0, part.find('.'));
    if (flags.size() < part.size() && !flags.empty()) {
      flags.remove_prefix(std::min(flags.find_first_not_of("0123456789"), flags.size()));
      if (!flags.empty() && flags.find_first_not_of("bnoc") == npos && flags.find_first_of("bo") != npos) return true;
    }
    b = e + 1;
  }
  return false;
}

// Leaves out the rows and columns of Stata's base and omitted terms that
// hold only zeros.
void DropBaseTerms(PastedMatrix& m) {
  std::vector<std::size_t> kept;
  for (std::size_t i = 0; i < m.size; ++i) {
    bool zero = true;
    for (std::size_t j = 0; j < m.size; ++j) zero = zero && m.At(i, j) == 0;
    if (zero && IsBaseOrOmitted(m.names[i])) {
      m.dropped.push_back(m.names[i]);
    } else {
      kept.push_back(i);
    }
  }
  std::vector<std::string> names;
  std::vector<double> cells;
  for (const std::size_t i : kept) {
    names.push_back(m.names[i]);
    for (const std::size_t j : kept) cells.push_back(m.At(i, j));
  }
  m.names = std::move(names);
  m.cells = std::move(cells);
  m.size = kept.size();
}

struct StataRow {
  std::string name;
  std::vector<Cell> values;
  std::size_t line = 0;
};
struct StataBlock {
  std::vector<const Line*> header;  // its lines of column names
  std::vector<StataRow> rows;
};

// A line of Stata's rows holds a number or a missing value (".", ".a").
bool HasStataValue(const Line& l) {
  return l.HasNumber() || std::any_of(l.cells.begin() + 1, l.cells.end(), [](const Cell& c) {
           return c.text == "." || (c.text.size() == 2 && c.text[0] == '.' && c.text[1] >= 'a' && c.text[1] <= 'z');
         });
}

// A row: its name and numbers. The first parts of a name broken over lines
// stand alone on the lines just above it, within the column of row names
// (column names stand to the right of it): they are taken back from the
// block's lines of column names.
StataRow ReadStataRow(const Line& l, StataBlock& block, std::size_t& lastNameEnd) {
  StataRow row{"", {}, l.number};
  const bool named = l.cells[0].kind == Kind::Word;
  if (named) {
    row.name = l.cells[0].text;
    lastNameEnd = l.cells[0].end;
  }
  for (; !block.header.empty(); block.header.pop_back()) {
    const std::vector<Cell>& above = block.header.back()->cells;
    if (above.size() != 1 || above[0].end > lastNameEnd) break;
    row.name.insert(0, above[0].text);
  }
  row.values.assign(l.cells.begin() + (named ? 1 : 0), l.cells.end());
  return row;
}

// Stata's column blocks, each with one or more lines of column names (a long
// name is broken over lines there) and rows of a name and the numbers of the
// lower triangle.
std::vector<StataBlock> StataBlocks(const std::vector<Line>& lines, std::size_t from) {
  std::vector<StataBlock> blocks(1);
  bool blankSinceRow = false;
  std::size_t lastNameEnd = 0;  // where the last row's name ends
  for (std::size_t k = from; k < lines.size(); ++k) {
    const Line& l = lines[k];
    if (l.cells.empty()) {
      blankSinceRow = true;
    } else if (!HasStataValue(l)) {
      // Column names: after rows, a new block, unless it is the first part of
      // the next row's name, right under the last row.
      const bool namePart = !blankSinceRow && l.cells.size() == 1 && l.cells[0].end <= lastNameEnd;
      if (!blocks.back().rows.empty() && !namePart) blocks.emplace_back();
      blocks.back().header.push_back(&l);
    } else {
      StataRow row = ReadStataRow(l, blocks.back(), lastNameEnd);
      // A new block whose only "column names" were part of this row's name.
      if (blocks.back().header.empty() && blocks.back().rows.empty() && blocks.size() > 1) blocks.pop_back();
      blocks.back().rows.push_back(std::move(row));
      blankSinceRow = false;
    }
  }
  while (!blocks.empty() && blocks.back().rows.empty()) blocks.pop_back();
  return blocks;
}

// The numbers of the blocks put in place, row by row (the rows of later
// blocks found by their names), the lower triangle mirrored. What is wrong,
// or nothing.
std::optional<std::string> FillStata(const std::vector<StataBlock>& blocks, PastedMatrix& m) {
  const std::size_t n = m.size;
  std::map<std::string, std::size_t> rowOf;
  for (std::size_t i = 0; i < n; ++i) rowOf[m.names[i]] = i;
  m.cells.assign(n * n, 0.0);
  std::vector<bool> set(n * n, false);
  std::size_t c0 = 0;  // the block's first column
  for (const StataBlock& block : blocks) {
    std::size_t width = 0;
    for (std::size_t r = 0; r < block.rows.size(); ++r) {
      const StataRow& row = block.rows[r];
      const auto found = rowOf.find(row.name);
      if (&block != &blocks[0] && found == rowOf.end()) {
        return "the row " + Quoted(row.name) + " on line " + Num(row.line) +
               " is not among the rows of the first column block";
      }
      const std::size_t i = &block == &blocks[0] ? r : found->second;
      for (std::size_t k = 0; k < row.values.size(); ++k) {
        const std::size_t j = c0 + k;
        if (j >= n) {
          return RowWords(i, m.names[i]) + " has " + Count(c0 + row.values.size(), "number") +
                 ", but the matrix has " + Count(n, "row");
        }
        if (auto e = CellError(row.values[k], i, m.names[i], j)) return e;
        m.cells[i * n + j] = row.values[k].value;
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
        return RowWords(i, m.names[i]) + ", " + ColumnWords(j, m.names[j]) +
               " is missing: the rows are of unequal length for a lower triangle";
      }
      if (!lower) m.cells[i * n + j] = m.cells[j * n + i];
      if (!upper) m.cells[j * n + i] = m.cells[i * n + j];
    }
  }
  return std::nullopt;
}

// Stata's `matrix list`, after its header line or (a lower triangle with row
// names) without it. The row names are the names.
ReadResult ReadStata(const Pasted& p, const char* format) {
  const std::vector<StataBlock> blocks = StataBlocks(p.lines, p.stata ? p.stata->line + 1 : 0);
  if (blocks.empty()) return Error("the text has no numbers");
  PastedMatrix m;
  for (const StataRow& row : blocks[0].rows) {
    if (row.name.empty()) return Error(RowWords(m.names.size()) + " has no name, where the other rows have one");
    m.names.push_back(row.name);
  }
  m.size = m.names.size();
  if (auto e = RepeatedName(m.names, "row")) return Error(*e);
  if (const auto& h = p.stata; h && h->rows != h->columns) {
    return Error("the matrix is not square: Stata's header " + Quoted(h->title) + " gives " + Num(h->rows) +
                 " rows and " + Num(h->columns) + " columns");
  }
  if (const auto& h = p.stata; h && h->rows != m.size) {
    return Error("Stata's header " + Quoted(h->title) + " gives " + Num(h->rows) + " rows, but " + Num(m.size) +
                 (m.size == 1 ? " was read" : " were read"));
  }
  if (auto e = FillStata(blocks, m)) return Error(*e);
  m.format = format;
  ReadResult r = Finish(std::move(m), true);
  if (r.ok) DropBaseTerms(r.matrix);
  return r;
}

// Blank-separated text whose rows have names and begin as a lower triangle
// (rows of 1, then 2 numbers): Stata's layout without its header line.
bool IsStataTriangle(const Pasted& p) {
  if (p.separator != Separator::Blank) return false;
  std::vector<std::size_t> counts;
  for (const Line& l : p.lines) {
    if (l.cells.empty() || !l.HasNumber()) continue;
    if (l.cells[0].kind != Kind::Word) return false;
    counts.push_back(l.cells.size() - 1);
    if (counts.size() == 2) break;
  }
  return counts == std::vector<std::size_t>{1, 2};
}

// ---- SPSS's coefficient correlations ---------------------------------------------------

// A label cell, in any case ("Covariances", "COVARIANCE").
bool IsLabel(const Cell& c, std::string_view word) {
  return c.kind == Kind::Word && std::equal(c.text.begin(), c.text.end(), word.begin(), word.end(), [](char a, char b) {
           return (a >= 'A' && a <= 'Z' ? static_cast<char>(a + 32) : a) == b;
         });
}
bool IsCovarianceLabel(const Cell& c) { return IsLabel(c, "covariances") || IsLabel(c, "covariance"); }
bool IsCorrelationLabel(const Cell& c) { return IsLabel(c, "correlations") || IsLabel(c, "correlation"); }

// The cells of a line from `from` on, empty ones left out.
std::vector<Cell> CellsFrom(const Line& l, std::size_t from) {
  std::vector<Cell> out;
  std::copy_if(l.cells.begin() + std::min(from, l.cells.size()), l.cells.end(), std::back_inserter(out),
               [](const Cell& c) { return c.kind != Kind::Empty; });
  return out;
}

// Where the (last) covariance block starts: the line, and the cell after its
// label cell "Covariances", which a name and a number follow.
std::optional<std::pair<std::size_t, std::size_t>> FindCovarianceBlock(const Pasted& p) {
  std::optional<std::pair<std::size_t, std::size_t>> found;
  for (std::size_t k = 0; k < p.lines.size(); ++k) {
    const std::vector<Cell>& cells = p.lines[k].cells;
    const std::size_t c = std::find_if(cells.begin(), cells.end(), IsCovarianceLabel) - cells.begin() + 1;
    const std::vector<Cell> rest = CellsFrom(p.lines[k], c);
    if (c <= cells.size() && rest.size() >= 2 && rest[0].kind == Kind::Word && rest[1].kind == Kind::Number) {
      found = {k, c};
    }
  }
  return found;
}

// The rows of the covariance block, each a name and its numbers. SPSS lists
// the weights last entered first: the names and the matrix are turned back
// to the order of entry.
ReadResult ReadSpss(const Pasted& p, const char* format) {
  const auto [first, firstCell] = *FindCovarianceBlock(p);
  PastedMatrix m;
  std::vector<std::vector<Cell>> rows;
  for (std::size_t k = first; k < p.lines.size() && (rows.empty() || rows.size() < m.size); ++k) {
    const Line& l = p.lines[k];
    if (l.cells.empty()) continue;
    // The next model's block, or the notes under the table, end it.
    const bool label = std::any_of(l.cells.begin(), l.cells.end(),
                                   [](const Cell& c) { return IsCorrelationLabel(c) || IsCovarianceLabel(c); });
    if (k != first && (label || !l.HasNumber())) break;
    std::vector<Cell> cells = CellsFrom(l, k == first ? firstCell : 0);
    if (cells.empty()) break;
    if (cells[0].kind != Kind::Word) return Error(RowWords(rows.size()) + " of the covariance block has no name");
    m.names.push_back(cells[0].text);
    cells.erase(cells.begin());
    if (rows.empty()) m.size = cells.size();
    rows.push_back(std::move(cells));
  }
  const std::size_t n = m.size;
  if (rows.size() != n) {
    return Error("the matrix is not square: the covariance block has " + Count(rows.size(), "row") + " of " +
                 Count(n, "number"));
  }
  m.cells.assign(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < rows[i].size() && j < n; ++j) {
      if (auto e = CellError(rows[i][j], i, m.names[i], j)) return Error(*e);
      m.cells[i * n + j] = rows[i][j].value;
    }
    if (rows[i].size() != n) {
      return Error(RowWords(i, m.names[i]) + " of the covariance block has " + Count(rows[i].size(), "number") +
                   ", row 1 has " + Num(n) + ": the rows are of unequal length");
    }
  }
  m.format = format;
  ReadResult r = Finish(std::move(m), false);
  std::reverse(r.matrix.names.begin(), r.matrix.names.end());
  std::reverse(r.matrix.cells.begin(), r.matrix.cells.end());  // (i, j) goes to (n-1-i, n-1-j)
  return r;
}

// ---- Tables: R's print, R's write.csv, named tables, bare numbers ------------------------

// A line of column names: no number in it, or (in tab- or comma-separated
// text) an empty first cell, the corner above the row names.
bool IsHeaderLine(const Line& l, Separator s) {
  return !l.HasNumber() || (s != Separator::Blank && l.cells.size() > 1 && l.cells[0].kind == Kind::Empty);
}

// Row names: in tab- and comma-separated text, there when the line of names
// starts with the empty corner; otherwise when most rows start with a word.
bool HasRowNames(const std::vector<Block>& blocks, Separator s) {
  const Line* header = blocks[0].header;
  if (s != Separator::Blank && header != nullptr && header->cells[0].kind == Kind::Empty) return true;
  auto isName = [](const Cell& c) { return c.kind == Kind::Word && !c.IsCommaNumber(); };
  std::size_t named = 0, total = 0;
  for (const Block& b : blocks) {
    for (const Line* l : b.lines) {
      ++total;
      if (isName(l->cells[0]) || l->cells[0].kind == Kind::Empty) ++named;
    }
  }
  return 2 * named > total || (2 * named == total && isName(blocks[0].lines[0]->cells[0]));
}

// The lines with cells in blocks: a line of names, then rows. Only blank-
// separated text has more than one block (R prints a wide matrix in blocks of
// columns): there a line of words after rows starts the next.
Table TableOf(const Pasted& p) {
  Table t;
  t.blocks.resize(1);
  for (const Line& l : p.lines) {
    if (l.cells.empty()) continue;
    const bool header = IsHeaderLine(l, p.separator);
    const bool words = std::all_of(l.cells.begin(), l.cells.end(), [](const Cell& c) { return c.kind == Kind::Word; });
    Block& last = t.blocks.back();
    if (header && last.header == nullptr && last.lines.empty()) {
      last.header = &l;
    } else if (header && words && p.separator == Separator::Blank && t.blocks[0].header && !last.lines.empty()) {
      t.blocks.push_back(Block{&l, {}});
    } else {
      last.lines.push_back(&l);
    }
  }
  const Block& last = t.blocks.back();
  if (last.lines.empty() && t.blocks.size() > 1) {
    t.error = "the column block that starts on line " + Num(last.header->number) + " has no rows";
  } else if (last.lines.empty()) {
    t.error = last.header ? "the text has no numbers" : "the text is empty: paste a covariance matrix";
  } else {
    t.rowNames = HasRowNames(t.blocks, p.separator);
  }
  return t;
}

// Whether the text is a table with names (row names, column names or both)
// whose cells `s` separates.
bool IsNamedTable(const Pasted& p, Separator s) {
  return p.separator == s && p.table.error.empty() && (p.table.blocks[0].header || p.table.rowNames);
}

// A table's rows put together across its blocks, with its column names.
struct Row {
  std::string name;  // empty when the rows have none
  std::vector<Cell> cells;
};
struct Rows {
  std::vector<Row> rows;
  bool rowNames = false;
  bool header = false;               // the first block has a line of names
  std::vector<std::string> columns;  // the names it gives
  bool oneBlock = true;
};

// Row names and column names both: the same names, maybe in another order
// (then `order` puts the columns in the rows' order) or with other runs of
// blanks. What is wrong, or nothing.
std::optional<std::string> MatchColumns(const Rows& t, bool triangle, PastedMatrix& m, std::vector<std::size_t>& order,
                                        bool& checked) {
  if (auto e = RepeatedName(t.columns, "column")) return e;
  checked = m.names == t.columns;
  auto collapse = [](std::string_view s) {  // runs of blanks as one space
    std::string out;
    for (const char c : Trim(s)) {
      const bool blank = c == ' ' || c == '\t';
      if (!blank || out.back() != ' ') out += blank ? ' ' : c;
    }
    return out;
  };
  std::vector<std::string> rowKeys, columnKeys;
  for (std::size_t j = 0; j < m.size && !checked; ++j) {
    rowKeys.push_back(collapse(m.names[j]));
    columnKeys.push_back(collapse(t.columns[j]));
  }
  if (rowKeys == columnKeys) return std::nullopt;
  for (std::size_t j = 0; j < m.size; ++j) {
    const auto it = std::find(columnKeys.begin(), columnKeys.end(), rowKeys[j]);
    order[j] = static_cast<std::size_t>(it - columnKeys.begin());
    if (it != columnKeys.end()) continue;
    std::size_t k = 0;
    while (k + 1 < m.size && rowKeys[k] == columnKeys[k]) ++k;
    return "column " + Num(k + 1) + " is named " + Quoted(t.columns[k]) + ", but row " + Num(k + 1) + " is named " +
           Quoted(m.names[k]) + ": the rows and columns must name the same weights";
  }
  if (triangle) return "the columns of the lower triangle are named in another order than its rows";
  return std::nullopt;
}

// The names: the row names, else the column names. What is wrong, or nothing.
std::optional<std::string> NameTheMatrix(const Rows& t, bool triangle, PastedMatrix& m, std::vector<std::size_t>& order,
                                         bool& checked) {
  if (t.header && t.columns.size() != m.size) {
    return "the first line names " + Count(t.columns.size(), "column") + ", but the matrix has " + Num(m.size);
  }
  if (t.rowNames) {
    for (const Row& r : t.rows) m.names.push_back(r.name);
    return t.header ? MatchColumns(t, triangle, m, order, checked) : std::nullopt;
  }
  if (!t.header) return std::nullopt;
  m.names = t.columns;
  checked = true;
  for (std::size_t j = 0; j < m.size; ++j) {
    if (m.names[j].empty()) return ColumnWords(j) + " has no name, where the other columns have one";
  }
  return RepeatedName(m.names, "column");
}

// What every table shares once its rows are put together: the cells, the
// shape (a full square, or a lower triangle in one block only), the names.
ReadResult ReadRows(const Rows& t, const char* format, const char* triangleFormat) {
  const std::size_t n = t.rows.size(), n0 = t.rows[0].cells.size();
  auto name = [&](std::size_t i) { return t.rowNames ? t.rows[i].name : std::string(); };
  for (std::size_t i = 0; i < n; ++i) {
    if (t.rowNames && t.rows[i].name.empty()) return Error(RowWords(i) + " has no name, where the other rows have one");
    for (std::size_t j = 0; j < t.rows[i].cells.size(); ++j) {
      if (auto e = CellError(t.rows[i].cells[j], i, name(i), j)) return Error(*e);
    }
  }
  if (n0 == 0) return Error(RowWords(0, name(0)) + " has no numbers");
  const bool triangle = t.oneBlock && n > 1 && n0 == 1 && t.rows[1].cells.size() == 2;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t size = t.rows[i].cells.size();
    if (size == (triangle ? i + 1 : n0)) continue;
    return Error(RowWords(i, name(i)) + " has " + Count(size, "number") +
                 (triangle ? ", where row " + Num(i + 1) + " of a lower triangle has " + Num(i + 1)
                           : ", row 1 has " + Num(n0)) +
                 ": the rows are of unequal length");
  }
  if (!triangle && n != n0) return Error("the matrix is not square: it has " + Count(n, "row") + " of " + Count(n0, "number"));
  PastedMatrix m;
  m.size = n;
  std::vector<std::size_t> order(n);  // the column of each row's weight
  std::iota(order.begin(), order.end(), std::size_t{0});
  bool checked = false;  // the names already found to differ
  if (auto e = NameTheMatrix(t, triangle, m, order, checked)) return Error(*e);
  m.cells.assign(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < t.rows[i].cells.size(); ++j) m.cells[i * n + j] = t.rows[i].cells[order[j]].value;
    for (std::size_t j = 0; triangle && j < i; ++j) m.cells[j * n + i] = m.cells[i * n + j];
  }
  m.format = triangle ? triangleFormat : format;
  return Finish(std::move(m), checked);
}

// R's print: a row's name is the leading words of its line (a name may hold
// blanks: "poly(wt, 2)1"); only the first where the line has exactly one cell
// more than the line of names above has names.
Row RPrintRow(const Line& l, bool rowNames, std::size_t namesAbove) {
  std::size_t words = 0;
  while (rowNames && words < l.cells.size() && l.cells[words].kind == Kind::Word) ++words;
  if (namesAbove > 0 && l.cells.size() == namesAbove + 1 && words > 1) words = 1;
  Row row{"", {l.cells.begin() + static_cast<std::ptrdiff_t>(words), l.cells.end()}};
  if (words > 0) row.name = l.text.substr(l.cells[0].begin, l.cells[words - 1].end - l.cells[0].begin);
  return row;
}

// R's line of names cut at the right edges of the number columns under it
// (R right-aligns names and numbers alike), for names that hold blanks.
// Nothing when a column gets no name.
std::optional<std::vector<std::string>> CutAtColumns(const Line& header, const std::vector<Cell>& numbers) {
  std::vector<std::size_t> begin(numbers.size(), npos), end(numbers.size());
  std::size_t k = 0;
  for (const Cell& c : header.cells) {
    while (k < numbers.size() && c.end > numbers[k].end) ++k;
    if (k >= numbers.size()) return std::nullopt;
    begin[k] = std::min(begin[k], c.begin);
    end[k] = c.end;
  }
  std::vector<std::string> out;
  for (std::size_t j = 0; j < numbers.size(); ++j) {
    if (begin[j] == npos) return std::nullopt;
    out.push_back(header.text.substr(begin[j], end[j] - begin[j]));
  }
  return out;
}

// The column names of a block of R's print. What is wrong, or nothing.
std::optional<std::string> RPrintColumns(const Block& block, const std::vector<Row>& rows, Rows& t) {
  std::vector<std::string> names;
  for (const Cell& c : block.header->cells) names.push_back(c.text);
  std::size_t width = 0;
  for (const Row& r : rows) width = std::max(width, r.cells.size());
  if (names.size() != width && !(t.rowNames && names.size() == width + 1)) {
    if (auto cut = CutAtColumns(*block.header, rows[0].cells)) names = std::move(*cut);
  }
  // A corner cell above the row names (a word such as "Variable").
  if (t.rowNames && names.size() == width + 1) names.erase(names.begin());
  if (!t.oneBlock && names.size() != width) {
    return "the line of names on line " + Num(block.header->number) + " names " + Count(names.size(), "column") +
           ", but the rows under it have " + Count(width, "number");
  }
  t.columns.insert(t.columns.end(), names.begin(), names.end());
  return std::nullopt;
}

// R's print: blank-separated with names, perhaps in column blocks whose
// rows are put together.
ReadResult ReadRPrint(const Pasted& p, const char* format) {
  const std::vector<Block>& blocks = p.table.blocks;
  Rows t{{}, p.table.rowNames, blocks[0].header != nullptr, {}, blocks.size() == 1};
  for (const Block& block : blocks) {
    std::vector<Row> rows;
    for (const Line* l : block.lines) rows.push_back(RPrintRow(*l, t.rowNames, block.header ? block.header->cells.size() : 0));
    const std::string start = block.header ? "column block that starts on line " + Num(block.header->number) : "";
    if (&block == &blocks[0]) {
      t.rows = rows;
    } else if (rows.size() != t.rows.size()) {
      return Error("the " + start + " has " + Count(rows.size(), "row") + ", the first has " + Num(t.rows.size()));
    }
    for (std::size_t i = 0; &block != &blocks[0] && i < rows.size(); ++i) {
      if (rows[i].name != t.rows[i].name) {
        return Error("row " + Num(i + 1) + " of the " + start + " is named " + Quoted(rows[i].name) +
                     ", the same row of the first block " + Quoted(t.rows[i].name));
      }
      t.rows[i].cells.insert(t.rows[i].cells.end(), rows[i].cells.begin(), rows[i].cells.end());
    }
    if (block.header == nullptr) continue;
    if (auto e = RPrintColumns(block, rows, t)) return Error(*e);
  }
  return ReadRows(t, format, format);
}

// R's write.csv: comma-separated with names, its corner cell a quoted empty
// name.
bool IsRWriteCsv(const Pasted& p) {
  const Line* header = IsNamedTable(p, Separator::Comma) ? p.table.blocks[0].header : nullptr;
  return header && header->cells[0].quoted && header->cells[0].text.empty();
}

// A tab- or comma-separated table with names: in the first cell of each row,
// in the first line, or both (with a corner cell above the row names).
ReadResult ReadNamedTable(const Pasted& p, const char* format) {
  const Block& block = p.table.blocks[0];
  Rows t{{}, p.table.rowNames, block.header != nullptr, {}, true};
  std::size_t width = 0;
  for (const Line* l : block.lines) {
    const std::size_t skip = t.rowNames ? 1 : 0;
    t.rows.push_back(Row{skip ? l->cells[0].text : "", {l->cells.begin() + static_cast<std::ptrdiff_t>(skip), l->cells.end()}});
    width = std::max(width, t.rows.back().cells.size());
  }
  if (t.header) {
    for (const Cell& c : block.header->cells) t.columns.push_back(c.text);
    // A corner cell above the row names ("" or a word such as "Variable").
    if (t.rowNames && t.columns.size() == width + 1) t.columns.erase(t.columns.begin());
  }
  return ReadRows(t, format, format);
}

// Bare numbers, whatever separates them: a full square, or a lower triangle
// row by row. Tried last, it also tells what is wrong with a text that makes
// no table.
ReadResult ReadBare(const Pasted& p, const char* format) {
  if (!p.table.error.empty()) return Error(p.table.error);
  Rows t;
  for (const Line* l : p.table.blocks[0].lines) t.rows.push_back(Row{"", l->cells});
  return ReadRows(t, format, "a bare lower triangle");
}

// ---- The layouts, in the order they are tried --------------------------------------------

struct Layout {
  const char* format;  // in words, for the status line
  bool (*recognises)(const Pasted&);
  ReadResult (*read)(const Pasted&, const char* format);
};

constexpr Layout kLayouts[] = {
    {"Stata's matrix list", [](const Pasted& p) { return p.stata.has_value(); }, ReadStata},
    {"SPSS's coefficient correlations", [](const Pasted& p) { return FindCovarianceBlock(p).has_value(); }, ReadSpss},
    {"Stata's matrix list", IsStataTriangle, ReadStata},  // without its header line
    {"R's print", [](const Pasted& p) { return IsNamedTable(p, Separator::Blank); }, ReadRPrint},
    {"R's write.csv", IsRWriteCsv, ReadNamedTable},
    {"a comma-separated table", [](const Pasted& p) { return IsNamedTable(p, Separator::Comma); }, ReadNamedTable},
    {"a tab-separated table", [](const Pasted& p) { return IsNamedTable(p, Separator::Tab); }, ReadNamedTable},
    {"bare numbers", [](const Pasted&) { return true; }, ReadBare},
};

}  // namespace

ReadResult ReadPastedMatrix(std::string_view text) {
  try {
    Pasted p = Prepare(text);
    if (std::all_of(p.lines.begin(), p.lines.end(), [](const Line& l) { return l.cells.empty(); })) {
      return Error("the text is empty: paste a covariance matrix");
    }
    p.table = TableOf(p);  // (p stays where it is: the table points into its lines)
    for (const Layout& layout : kLayouts) {
      if (!layout.recognises(p)) continue;
      ReadResult r = layout.read(p, layout.format);
      if (r.ok) r.matrix.commaDecimals = p.commaDecimals;
      return r;
    }
    return Error("the text has no numbers");  // (never: bare numbers take every text)
  } catch (...) {
    // Only an allocation can fail here.
    return Error("the text could not be read: it is too large");
  }
}

std::string WriteMatrix(const PastedMatrix& m) {
  auto name = [&](std::size_t i) { return i < m.names.size() ? m.names[i] : "row " + Num(i + 1); };
  std::string out;
  for (std::size_t j = 0; j < m.size; ++j) out += "\t" + name(j);
  out += '\n';
  std::array<char, 64> buf{};
  for (std::size_t i = 0; i < m.size; ++i) {
    out += name(i);
    for (std::size_t j = 0; j < m.size; ++j) {
      out += '\t';
      out.append(buf.data(),
                 std::to_chars(buf.data(), buf.data() + buf.size(), m.At(i, j), std::chars_format::general, 17).ptr);
    }
    out += '\n';
  }
  return out;
}

}  // namespace marvane::stats
