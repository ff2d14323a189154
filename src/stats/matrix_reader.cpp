#include "stats/matrix_reader.h"

// The text is cut into lines of cells (stats/pasted_cells.h). The layouts are tried in their order (ReadLayout); the
// first that recognises the text reads it, up to the first fault (Fail), which becomes the error in words.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <map>
#include <optional>
#include <utility>

#include "stats/pasted_cells.h"

namespace marvane::stats {
namespace {
using namespace pasted;
using enum Kind;
using Names = std::vector<std::string>;
using Grid = std::vector<const Cell*>;  // size * size, row-major: the cell each entry is read from, or none
constexpr double kSymmetryTolerance = 1e-5;
constexpr auto npos = std::string_view::npos;
// ---- Words and faults --------------------------------------------------------------------------------------------
std::string Num(std::size_t k) { return std::to_string(k); }
std::string Count(std::size_t k, const char* word) { return Num(k) + " " + word + (k == 1 ? "" : "s"); }  // "3 rows"
// "row 3" or "row 3 (x:z)"; "column 2" or "column 2 (z)".
std::string Place(const char* what, std::size_t k, std::string_view name) {
  return what + (" " + Num(k + 1)) + (name.empty() ? "" : " (" + std::string(name) + ")");
}
std::string RowWords(std::size_t i, std::string_view name = {}) { return Place("row", i, name); }
std::string ColumnWords(std::size_t j, std::string_view name = {}) { return Place("column", j, name); }
// What is wrong with the text, in words: thrown where it is found, caught by ReadPastedMatrix.
struct Fault { std::string words; };
[[noreturn]] void Fail(std::string words) { throw Fault{std::move(words)}; }
// ---- The text as lines of cells ----------------------------------------------------------------------------------
struct Row { std::string name; std::vector<Cell> cells; };  // of a table or of Stata's list: the cells after the name
struct Block { const Line* header = nullptr; std::vector<const Line*> lines; };  // a line of names, if any, and rows
struct Pasted {
  std::vector<Line> lines;  // every line but the echoed commands, blank ones included
  Separator separator = Separator::Blank;
  // Stata's header line, "symmetric e(V)[4,4]" or "e(V)[4,4]", alone on its line: its index, title and numbers.
  std::size_t stata = npos, stataRows = 0, stataColumns = 0;
  std::string stataTitle;
  std::vector<Block> blocks;  // the lines as a table (TableOf)
  bool rowNames = false;
  std::string fault;  // where the lines make no table
};

void FindStataHeader(Pasted& p) {
  auto count = [](std::string_view s, std::size_t& out) {  // at most six digits
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return s.size() <= 6 && ec == std::errc() && ptr == s.data() + s.size();
  };
  for (std::size_t k = 0; k < p.lines.size() && p.stata == npos; ++k) {
    std::string_view t = Trim(p.lines[k].text, " ");
    if (t.starts_with("symmetric ")) t = Trim(t.substr(10), " ");
    const std::size_t open = t.rfind('['), comma = open == npos ? npos : t.find(',', open);
    if (t.ends_with(']') && t.find_first_of(" \t") == npos && open != npos && open > 0 && comma != npos &&
        count(t.substr(open + 1, comma - open - 1), p.stataRows) &&
        count(t.substr(comma + 1, t.size() - comma - 2), p.stataColumns)) {
      p.stata = k;
      p.stataTitle = t;
    }
  }
}
// ---- What every layout shares ------------------------------------------------------------------------------------
// A cell that should hold a number: the cell, or the fault.
const Cell* NumberIn(const Cell& c, std::size_t i, std::string_view rowName, std::size_t j, Separator s) {
  const std::string place = RowWords(i, rowName) + ", " + ColumnWords(j), quoted = Quoted(c.text);
  if (c.kind == Empty) Fail(place + " is empty");
  if (c.kind == Huge) Fail(place + ": " + quoted + " is beyond the range of double-precision numbers");
  if (c.kind == Word && c.IsCommaNumber())
    Fail(place + ": " + quoted + " is not a number (a decimal comma is read only in " +
         (s == Separator::Tab ? "tab" : "tab- or semicolon") + "-separated text in which no number has a full stop)");
  if (c.kind == Word) Fail(place + ": " + quoted + " is not a number");
  return &c;
}
// A fault where a name is given twice (`one`: "row" or "column"): the repeat whose second place comes first.
void CheckDistinct(const Names& names, const std::string& one) {
  std::map<std::string_view, std::size_t> firstPlace;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const auto [it, isNew] = firstPlace.emplace(names[k], k);
    if (!isNew) Fail("the name " + Quoted(names[k]) + " is given to " + one + "s " + Num(it->second + 1) + " and " +
                     Num(k + 1) + "; every " + one + " needs a name of its own");
  }
}
// The matrix of the cells read, checked: the names (none empty, none twice), the variances, symmetry (pairs within the
// tolerance hold their mean). Where every column is printed in one shape, as R prints them (the same digits after the
// point, with or without an exponent), entries (i, j) and (j, i) that agree to their printed digits are symmetric.
PastedMatrix Finish(PastedMatrix m, const Grid& read, const char* format) {
  const std::size_t n = m.size;
  m.format = format;
  auto shape = [](std::string_view t) {
    const std::size_t e = std::min(t.find_first_of("eE"), t.size());
    return std::pair(e - std::min(t.find_first_of(".,"), e), e == t.size());
  };
  bool columns = true;
  for (std::size_t k = 0; k < read.size(); ++k) {
    const int digits = PrintedAs(read[k]->text).digits;
    m.cells.push_back(read[k]->value);
    columns = columns && shape(read[k]->text) == shape(read[k % n]->text);
    if (digits > 0 && (m.digits == 0 || digits < m.digits)) m.digits = digits;
  }
  auto printed = [&](std::size_t k) { return columns ? PrintedAs(read[k]->text).unit / 2 : 0; };
  for (std::size_t i = 0; i < m.names.size(); ++i) {
    m.names[i] = std::string(Trim(m.names[i]));
    if (m.names[i].empty()) Fail(RowWords(i) + " has no name, where the other rows have one");
  }
  CheckDistinct(m.names, "row");
  auto name = [&](std::size_t i) { return m.names.empty() ? std::string() : m.names[i]; };
  auto at = [&](std::size_t i, std::size_t j) { return RowWords(i, name(i)) + ", " + ColumnWords(j, name(j)); };
  for (std::size_t i = 0; i < n; ++i) {
    if (!(m.At(i, i) >= 0)) Fail(RowWords(i, name(i)) + ": the variance " + ShowNumber(m.At(i, i)) +
                                 " is negative; a covariance matrix has no negative numbers on its diagonal");
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      double &a = m.cells[i * n + j], &b = m.cells[j * n + i];
      if (a == b) continue;
      if (!(std::fabs(a - b) <= kSymmetryTolerance * std::sqrt(m.At(i, i)) * std::sqrt(m.At(j, j))) &&
          !(std::fabs(a - b) < printed(i * n + j) + printed(j * n + i)))
        Fail("the matrix is not symmetric: " + at(i, j) + " holds " + ShowNumber(a) + " but " + at(j, i) + " holds " +
             ShowNumber(b));
      a = b = a / 2 + b / 2;
      ++m.averaged;
    }
  }
  m.looksLikeCorrelations = n > 1;
  for (std::size_t k = 0; k < n * n; ++k)
    m.looksLikeCorrelations = m.looksLikeCorrelations && std::fabs(m.cells[k]) <= 1 && (k % (n + 1) || m.cells[k] == 1);
  return m;
}
// ---- Stata's matrix list -----------------------------------------------------------------------------------------
// Whether a Stata name is a base or omitted term: a part has a level prefix with b or o ("0b.f", "o.x", "0b.f#co.x").
bool IsBaseOrOmitted(std::string_view name) {
  name.remove_prefix(name.rfind(':') == npos ? 0 : name.rfind(':') + 1);
  for (std::size_t b = 0; b <= name.size(); b = std::min(name.find('#', b), name.size()) + 1) {
    const std::string_view part = name.substr(b, name.find('#', b) - b);
    std::string_view flags = part.substr(0, part.find('.'));  // "0b", "1o", "o", "co": a level and its flags
    flags.remove_prefix(std::min(flags.find_first_not_of("0123456789"), flags.size()));
    if (part.find('.') != npos && !flags.empty() && flags.find_first_not_of("bnoc") == npos) {
      if (flags.find_first_of("bo") != npos) return true;
    }
  }
  return false;
}
struct StataBlock { std::vector<const Line*> header; std::vector<Row> rows; };  // lines of column names, rows
// Stata's column blocks. A row's line holds a number or a missing value (".", ".a"). The first parts of a row name
// broken over lines stand alone on the lines above it, within the column of row names.
std::vector<StataBlock> StataBlocks(const std::vector<Line>& lines, std::size_t from) {
  auto missing = [](const Cell& c) {
    return c.text == "." || (c.text.size() == 2 && c.text[0] == '.' && c.text[1] >= 'a' && c.text[1] <= 'z');
  };
  std::vector<StataBlock> blocks(1);
  bool blankSinceRow = false;
  std::size_t nameEnd = 0;  // where the last row's name ends
  for (std::size_t k = from; k < lines.size(); ++k) {
    const Line& l = lines[k];
    if (l.cells.empty()) {
      blankSinceRow = true;
    } else if (!l.HasNumber() && std::none_of(l.cells.begin() + 1, l.cells.end(), missing)) {
      // Column names: after rows, a new block, unless the first part of a row name, right under the last row.
      const bool namePart = !blankSinceRow && l.cells.size() == 1 && l.cells[0].end <= nameEnd;
      if (!blocks.back().rows.empty() && !namePart) blocks.emplace_back();
      blocks.back().header.push_back(&l);
    } else {
      const bool named = l.cells[0].kind == Word;
      Row row{named ? l.cells[0].text : "", {l.cells.begin() + (named ? 1 : 0), l.cells.end()}};
      if (named) nameEnd = l.cells[0].end;
      for (auto& above = blocks.back().header; !above.empty(); above.pop_back()) {
        if (above.back()->cells.size() != 1 || above.back()->cells[0].end > nameEnd) break;
        row.name.insert(0, above.back()->cells[0].text);
      }
      // A new block whose only "column names" were part of this row's name.
      if (blocks.back().header.empty() && blocks.back().rows.empty() && blocks.size() > 1) blocks.pop_back();
      blocks.back().rows.push_back(std::move(row));
      blankSinceRow = false;
    }
  }
  while (!blocks.empty() && blocks.back().rows.empty()) blocks.pop_back();
  return blocks;
}
// Stata's `matrix list`, with its header line or (a lower triangle) without. The rows of later blocks are found by
// their names; the rows and columns of base and omitted terms that hold only zeros are left out.
PastedMatrix ReadStata(const Pasted& p, const char* format) {
  const std::vector<StataBlock> blocks = StataBlocks(p.lines, p.stata == npos ? 0 : p.stata + 1);
  if (blocks.empty()) Fail("the text has no numbers");
  PastedMatrix m;
  std::map<std::string, std::size_t> rowOf;
  for (const Row& row : blocks[0].rows) {
    if (row.name.empty()) Fail(RowWords(m.names.size()) + " has no name, where the other rows have one");
    rowOf[row.name] = m.names.size();
    m.names.push_back(row.name);
  }
  const std::size_t n = m.size = m.names.size();
  CheckDistinct(m.names, "row");
  const std::string header = "Stata's header " + Quoted(p.stataTitle) + " gives " + Num(p.stataRows) + " rows";
  if (p.stata != npos && p.stataRows != p.stataColumns)
    Fail("the matrix is not square: " + header + " and " + Num(p.stataColumns) + " columns");
  if (p.stata != npos && p.stataRows != n) Fail(header + ", but " + Num(n) + (n == 1 ? " was read" : " were read"));
  Grid read(n * n, nullptr);
  std::size_t c0 = 0;  // the block's first column
  for (const StataBlock& block : blocks) {
    std::size_t width = 0;
    for (std::size_t r = 0; r < block.rows.size(); ++r) {
      const Row& row = block.rows[r];
      const bool first = &block == &blocks[0];
      if (!first && !rowOf.contains(row.name))
        Fail("the row " + Quoted(row.name) + " on line " + Num(row.cells[0].line) +
             " is not among the rows of the first column block");
      const std::size_t i = first ? r : rowOf[row.name];
      for (std::size_t j = c0; j < c0 + row.cells.size(); ++j) {
        if (j >= n)
          Fail(RowWords(i, m.names[i]) + " has " + Count(c0 + row.cells.size(), "number") + ", but the matrix has " +
               Count(n, "row"));
        read[i * n + j] = NumberIn(row.cells[j - c0], i, m.names[i], j, p.separator);
      }
      width = std::max(width, row.cells.size());
    }
    c0 += width;
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j <= i; ++j) {
      const Cell *&lower = read[i * n + j], *&upper = read[j * n + i];
      if (!lower && !upper) Fail(RowWords(i, m.names[i]) + ", " + ColumnWords(j, m.names[j]) +
                                 " is missing: the rows are of unequal length for a lower triangle");
      lower = lower ? lower : upper;
      upper = upper ? upper : lower;
    }
  }
  m = Finish(std::move(m), read, format);
  for (std::size_t i = m.size; i-- > 0;) {
    const auto row = m.cells.begin() + i * m.size;
    if (std::any_of(row, row + m.size, [](double x) { return x != 0; }) || !IsBaseOrOmitted(m.names[i])) continue;
    m.dropped.insert(m.dropped.begin(), m.names[i]);
    m.names.erase(m.names.begin() + i);
    m.cells.erase(row, row + m.size);
    for (std::size_t r = m.size - 1; r-- > 0;) m.cells.erase(m.cells.begin() + r * m.size + i);
    --m.size;
  }
  return m;
}
// Blank-separated rows with names that begin a lower triangle (1, then 2 numbers): Stata's without its header line.
bool IsStataTriangle(const Pasted& p) {
  std::vector<std::size_t> counts;  // of the numbers after the name, in the first two lines with a number
  for (const Line& l : p.lines)
    if (l.HasNumber() && counts.size() < 2) counts.push_back(l.cells[0].kind == Word ? l.cells.size() - 1 : 0);
  return p.separator == Separator::Blank && counts == std::vector<std::size_t>{1, 2};
}
// ---- SPSS's coefficient correlations -----------------------------------------------------------------------------
// A label cell: `word` in any case, with or without a plural s ("Covariances", "COVARIANCE").
bool IsLabel(const Cell& c, std::string_view word) {
  std::string lower;
  for (const char ch : c.text) lower += ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
  return c.kind == Word && (lower == word || lower == std::string(word) + "s");
}
// The cells of a line from `from` on, empty ones left out.
std::vector<Cell> CellsFrom(const Line& l, std::size_t from) {
  std::vector<Cell> out(l.cells.begin() + std::min(from, l.cells.size()), l.cells.end());
  out.erase(std::remove_if(out.begin(), out.end(), [](const Cell& c) { return c.kind == Empty; }), out.end());
  return out;
}
// Where the (last) covariance block starts: its line, and the cell after its label "Covariances" (a name, a number).
std::optional<std::pair<std::size_t, std::size_t>> FindCovarianceBlock(const Pasted& p) {
  std::optional<std::pair<std::size_t, std::size_t>> found;
  for (std::size_t k = 0; k < p.lines.size(); ++k) {
    const std::vector<Cell>& cells = p.lines[k].cells;
    const auto label = std::find_if(cells.begin(), cells.end(), [](const Cell& c) { return IsLabel(c, "covariance"); });
    const auto after = static_cast<std::size_t>(label - cells.begin()) + 1;
    const std::vector<Cell> rest = CellsFrom(p.lines[k], after);
    if (label != cells.end() && rest.size() >= 2 && rest[0].kind == Word && rest[1].kind == Number) found = {k, after};
  }
  return found;
}
// The covariance block's rows, up to the next model or the notes; SPSS lists the last entered first: turned back.
PastedMatrix ReadSpss(const Pasted& p, const char* format) {
  const auto [first, firstCell] = *FindCovarianceBlock(p);
  PastedMatrix m;
  std::vector<std::vector<Cell>> rows;
  for (std::size_t k = first; k < p.lines.size() && (rows.empty() || rows.size() < m.size); ++k) {
    const Line& l = p.lines[k];
    const std::vector<Cell> cells = CellsFrom(l, k == first ? firstCell : 0);
    const bool label = std::any_of(l.cells.begin(), l.cells.end(),
                                   [](const Cell& c) { return IsLabel(c, "correlation") || IsLabel(c, "covariance"); });
    if (l.cells.empty()) continue;
    if ((k != first && (label || !l.HasNumber())) || cells.empty()) break;
    if (cells[0].kind != Word) Fail(RowWords(rows.size()) + " of the covariance block has no name");
    m.names.push_back(cells[0].text);
    rows.emplace_back(cells.begin() + 1, cells.end());
    m.size = rows[0].size();
  }
  const std::size_t n = m.size;
  if (rows.size() != n)
    Fail("the matrix is not square: the covariance block has " + Count(rows.size(), "row") + " of " +
         Count(n, "number"));
  Grid read(n * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < rows[i].size() && j < n; ++j)
      read[i * n + j] = NumberIn(rows[i][j], i, m.names[i], j, p.separator);
    if (rows[i].size() != n)
      Fail(RowWords(i, m.names[i]) + " of the covariance block has " + Count(rows[i].size(), "number") +
           ", row 1 has " + Num(n) + ": the rows are of unequal length");
  }
  m = Finish(std::move(m), read, format);
  std::reverse(m.names.begin(), m.names.end());
  std::reverse(m.cells.begin(), m.cells.end());  // (i, j) goes to (n-1-i, n-1-j)
  return m;
}
// ---- Tables: R's print, R's write.csv, named tables, bare numbers ------------------------------------------------
// The lines in blocks: a line of names (no number in it, or an empty first cell, the corner above the row names), then
// rows. Only R's print has more blocks of columns: a line of words after rows starts the next. Row names: where the
// line of names starts with that corner, or most rows start with a word.
void TableOf(Pasted& p) {
  const bool blank = p.separator == Separator::Blank;
  p.blocks.resize(1);
  for (const Line& l : p.lines) {
    if (l.cells.empty()) continue;
    const bool header = !l.HasNumber() || (!blank && l.cells.size() > 1 && l.cells[0].kind == Empty);
    const bool words = std::all_of(l.cells.begin(), l.cells.end(), [](const Cell& c) { return c.kind == Word; });
    Block& last = p.blocks.back();
    if (header && last.header == nullptr && last.lines.empty()) {
      last.header = &l;
    } else if (header && words && blank && p.blocks[0].header && !last.lines.empty()) {
      p.blocks.push_back(Block{&l, {}});
    } else {
      last.lines.push_back(&l);
    }
  }
  const Block& last = p.blocks.back();
  if (last.lines.empty())
    p.fault = p.blocks.size() > 1 ? "the column block that starts on line " + Num(last.header->number) + " has no rows"
              : last.header ? "the text has no numbers" : "the text is empty: paste a covariance matrix";
  if (!p.fault.empty()) return;
  auto isName = [](const Cell& c) { return c.kind == Word && !c.IsCommaNumber(); };
  std::size_t named = 0, total = 0;
  for (const Block& b : p.blocks) {
    for (const Line* l : b.lines) named += isName(l->cells[0]) || l->cells[0].kind == Empty ? 1 : 0;
    total += b.lines.size();
  }
  const Line* header = p.blocks[0].header;
  p.rowNames = (!blank && header != nullptr && header->cells[0].kind == Empty) || 2 * named > total ||
               (2 * named == total && isName(p.blocks[0].lines[0]->cells[0]));
}
// A table's rows across its blocks, and its column names. A row's name is its first cell, in R's print its leading
// words ("poly(wt, 2)1"), but only the first where the line has one cell more than the names. A corner cell names no
// column. In R's print, names that do not fit the columns are cut at the numbers' right edges (R right-aligns both).
std::vector<Row> TableRows(const Pasted& p, Names& columns) {
  const bool blank = p.separator == Separator::Blank;
  std::vector<Row> all;
  for (const Block& block : p.blocks) {
    std::vector<Row> rows;
    std::size_t width = 0;
    for (const Line* l : block.lines) {
      std::size_t words = p.rowNames && !blank ? 1 : 0;
      while (p.rowNames && blank && words < l->cells.size() && l->cells[words].kind == Word) ++words;
      if (block.header && l->cells.size() == block.header->cells.size() + 1 && words > 1) words = 1;
      rows.push_back({words == 1 ? l->cells[0].text : "", {l->cells.begin() + words, l->cells.end()}});
      if (words > 1) rows.back().name = l->text.substr(l->cells[0].begin, l->cells[words - 1].end - l->cells[0].begin);
      width = std::max(width, rows.back().cells.size());
    }
    const bool first = &block == &p.blocks[0];
    const std::string start = first ? "" : "column block that starts on line " + Num(block.header->number);
    if (first) all = rows;
    if (!first && rows.size() != all.size())
      Fail("the " + start + " has " + Count(rows.size(), "row") + ", the first has " + Num(all.size()));
    for (std::size_t i = 0; !first && i < rows.size(); ++i) {
      if (rows[i].name != all[i].name)
        Fail("row " + Num(i + 1) + " of the " + start + " is named " + Quoted(rows[i].name) +
             ", the same row of the first block " + Quoted(all[i].name));
      all[i].cells.insert(all[i].cells.end(), rows[i].cells.begin(), rows[i].cells.end());
    }
    if (!block.header) continue;
    const Line& header = *block.header;
    Names names;
    for (const Cell& c : header.cells) names.push_back(c.text);
    if (blank && names.size() != width && !(p.rowNames && names.size() == width + 1)) {
      const std::vector<Cell>& numbers = rows[0].cells;
      Names cut(numbers.size());
      std::size_t k = 0, from = 0;  // the column, and where its name begins
      for (const Cell& c : header.cells) {
        while (k < numbers.size() && c.end > numbers[k].end) ++k;
        if (k >= numbers.size()) break;
        from = cut[k].empty() ? c.begin : from;
        cut[k] = header.text.substr(from, c.end - from);
      }
      if (k < numbers.size() && std::none_of(cut.begin(), cut.end(), [](auto& name) { return name.empty(); }))
        names = std::move(cut);
    }
    if (p.rowNames && names.size() == width + 1) names.erase(names.begin());
    if (p.blocks.size() > 1 && names.size() != width)
      Fail("the line of names on line " + Num(header.number) + " names " + Count(names.size(), "column") +
           ", but the rows under it have " + Count(width, "number"));
    columns.insert(columns.end(), names.begin(), names.end());
  }
  return all;
}
// Row and column names: the same, maybe in another order (`order`: each row's column) or with other runs of blanks.
void MatchColumns(const Names& rows, const Names& columns, bool triangle, std::vector<std::size_t>& order) {
  CheckDistinct(columns, "column");
  auto key = [](std::string s) {  // runs of blanks as one space
    std::replace(s.begin(), s.end(), '\t', ' ');
    s.erase(std::unique(s.begin(), s.end(), [](char a, char b) { return a == ' ' && b == ' '; }), s.end());
    return std::string(Trim(s));
  };
  Names rowKeys, columnKeys;
  std::transform(rows.begin(), rows.end(), std::back_inserter(rowKeys), key);
  std::transform(columns.begin(), columns.end(), std::back_inserter(columnKeys), key);
  if (rowKeys == columnKeys) return;
  for (std::size_t j = 0, k = 0; j < rows.size(); ++j) {
    const auto it = std::find(columnKeys.begin(), columnKeys.end(), rowKeys[j]);
    order[j] = static_cast<std::size_t>(it - columnKeys.begin());
    if (it != columnKeys.end()) continue;
    while (k + 1 < rows.size() && rowKeys[k] == columnKeys[k]) ++k;
    Fail("column " + Num(k + 1) + " is named " + Quoted(columns[k]) + ", but row " + Num(k + 1) + " is named " +
         Quoted(rows[k]) + ": the rows and columns must name the same weights");
  }
  if (triangle) Fail("the columns of the lower triangle are named in another order than its rows");
}
// A table: a full square, or a lower triangle in one block; named by its rows, else by its columns.
PastedMatrix ReadTable(const Pasted& p, const char* format) {
  Names columns;
  const std::vector<Row> rows = TableRows(p, columns);
  const std::size_t n = rows.size(), n0 = rows[0].cells.size();
  auto name = [&](std::size_t i) { return p.rowNames ? rows[i].name : std::string(); };
  for (std::size_t i = 0; i < n; ++i) {
    if (p.rowNames && rows[i].name.empty()) Fail(RowWords(i) + " has no name, where the other rows have one");
    for (std::size_t j = 0; j < rows[i].cells.size(); ++j) NumberIn(rows[i].cells[j], i, name(i), j, p.separator);
  }
  if (n0 == 0) Fail(RowWords(0, name(0)) + " has no numbers");
  const bool triangle = p.blocks.size() == 1 && n > 1 && n0 == 1 && rows[1].cells.size() == 2;
  for (std::size_t i = 0; i < n; ++i) {
    if (rows[i].cells.size() != (triangle ? i + 1 : n0))
      Fail(RowWords(i, name(i)) + " has " + Count(rows[i].cells.size(), "number") + ", " +
           (triangle ? "where row " + Num(i + 1) + " of a lower triangle has " + Num(i + 1) : "row 1 has " + Num(n0)) +
           ": the rows are of unequal length");
  }
  if (!triangle && n != n0) Fail("the matrix is not square: it has " + Count(n, "row") + " of " + Count(n0, "number"));
  const bool header = p.blocks[0].header != nullptr;
  if (header && columns.size() != n)
    Fail("the first line names " + Count(columns.size(), "column") + ", but the matrix has " + Num(n));
  PastedMatrix m;
  m.size = n;
  std::vector<std::size_t> order(n);  // the column of each row's weight
  for (std::size_t j = 0; j < n; ++j) order[j] = j;
  if (p.rowNames) {
    for (const Row& r : rows) m.names.push_back(r.name);
    if (header) MatchColumns(m.names, columns, triangle, order);
  } else if (header) {
    for (std::size_t j = 0; j < n; ++j) {
      if (columns[j].empty()) Fail(ColumnWords(j) + " has no name, where the other columns have one");
    }
    CheckDistinct(columns, "column");
    m.names = columns;
  }
  Grid read(n * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < rows[i].cells.size(); ++j) read[i * n + j] = &rows[i].cells[order[j]];
    for (std::size_t j = 0; triangle && j < i; ++j) read[j * n + i] = read[i * n + j];
  }
  const bool bare = std::string_view(format) == "bare numbers";
  return Finish(std::move(m), read, triangle && bare ? "a bare lower triangle" : format);
}
// ---- The layouts, in the order they are tried --------------------------------------------------------------------
PastedMatrix ReadLayout(const Pasted& p) {
  const Line* h = p.blocks[0].header;
  auto named = [&](Separator s) { return p.separator == s && p.fault.empty() && (h || p.rowNames); };
  // By R's write.csv or write.csv2: named, the corner a quoted empty name.
  auto written = [&](Separator s) { return named(s) && h && h->cells[0].quoted && h->cells[0].text.empty(); };
  if (p.stata != npos) return ReadStata(p, "Stata's matrix list");
  if (FindCovarianceBlock(p)) return ReadSpss(p, "SPSS's coefficient correlations");
  if (IsStataTriangle(p)) return ReadStata(p, "Stata's matrix list");  // without its header line
  if (named(Separator::Blank)) return ReadTable(p, "R's print");
  if (written(Separator::Comma)) return ReadTable(p, "R's write.csv");
  if (written(Separator::Semicolon)) return ReadTable(p, "R's write.csv2");
  if (named(Separator::Comma)) return ReadTable(p, "a comma-separated table");
  if (named(Separator::Semicolon)) return ReadTable(p, "a semicolon-separated table");
  if (named(Separator::Tab)) return ReadTable(p, "a tab-separated table");
  // Bare numbers, whatever separates them. Tried last, they also tell what is wrong with a text that makes no table.
  if (!p.fault.empty()) Fail(p.fault);
  return ReadTable(p, "bare numbers");
}

}  // namespace

ReadResult ReadPastedMatrix(std::string_view text) {
  ReadResult r;
  try {
    Pasted p;
    p.lines = Lines(text);
    FindStataHeader(p);
    p.separator = p.stata != npos ? Separator::Blank : SeparatorOf(p.lines);
    const bool commaDecimals = CutCells(p.lines, p.separator);
    for (Line& l : p.lines) {  // Stata prints no number with a trailing point: "1." over "t2" is part of a name
      for (Cell& c : l.cells) c.kind = p.stata < npos && c.kind == Number && c.text.back() == '.' ? Word : c.kind;
    }
    TableOf(p);  // (p stays where it is: the table points into its lines)
    r.matrix = ReadLayout(p);
    r.matrix.commaDecimals = commaDecimals;
    r.ok = true;
    return r;
  } catch (const Fault& fault) {
    r.error = fault.words;
  } catch (...) {  // only an allocation can fail here
    r.error = "the text could not be read: it is too large";
  }
  // The words of the fault as a sentence: a capital first, a full stop last.
  if (!r.error.empty() && r.error[0] >= 'a' && r.error[0] <= 'z') r.error[0] = static_cast<char>(r.error[0] - 32);
  if (!r.error.ends_with('.')) r.error += '.';
  return r;
}

std::string WriteMatrix(const PastedMatrix& m) {
  auto name = [&](std::size_t i) { return i < m.names.size() ? m.names[i] : "row " + Num(i + 1); };
  std::string out;
  for (std::size_t j = 0; j < m.size; ++j) out += '\t' + name(j);
  for (std::size_t i = 0; i < m.size; ++i) {
    out += '\n' + name(i);
    for (std::size_t j = 0; j < m.size; ++j) out += '\t' + ShowNumber(m.At(i, j), 17);
  }
  return out + "\n";
}

}  // namespace marvane::stats
