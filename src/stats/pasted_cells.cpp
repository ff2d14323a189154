#include "stats/pasted_cells.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <utility>

namespace marvane::stats::pasted {
namespace {

constexpr auto npos = std::string_view::npos;

// What normalising replaces: Windows and old Mac line ends; U+2212 MINUS SIGN; U+00A0 NO-BREAK, U+2009 THIN, U+202F
// NARROW NO-BREAK and U+2007 FIGURE SPACE. Other control characters (form feed, NUL, ...) become spaces too.
constexpr std::pair<std::string_view, char> kReplaced[] = {
    {"\r\n", '\n'},        {"\r", '\n'},          {"\xE2\x88\x92", '-'}, {"\xC2\xA0", ' '},
    {"\xE2\x80\x89", ' '}, {"\xE2\x80\xAF", ' '}, {"\xE2\x80\x87", ' '}};

// The cells of a line: between runs of blanks, or between tabs or commas (a trailing empty cell too). Only at commas
// are commas within brackets part of a cell, and a cell in double quotes loses them ("" inside stands for one quote),
// unless more than blanks follows the closing quote: then the cell is all of its text, quotes and all.
std::vector<Cell> SplitAt(std::string_view text, std::size_t line, Separator s) {
  const bool csv = s == Separator::Comma || s == Separator::Semicolon;
  const std::string_view blanks = s == Separator::Tab ? " " : " \t";
  const char separator = static_cast<char>(s);
  const std::size_t n = text.size();
  auto ends = [&](char c) { return c == separator || (s == Separator::Blank && c == '\t'); };
  std::vector<Cell> cells;
  auto add = [&](std::string_view t, std::size_t begin, std::size_t end, bool quoted) {
    cells.push_back({std::string(t), line, begin, end, quoted});
    cells.back().Read('.');
  };
  for (std::size_t i = 0;; ++i) {  // (++i: past the separator)
    const std::size_t begin = i = std::min(text.find_first_not_of(blanks, i), n);
    if (csv && i < n && text[i] == '"') {
      std::string inside;
      for (++i; i < n && !(text[i] == '"' && (i + 1 >= n || text[i + 1] != '"')); ++i) {
        if (text[i] == '"') ++i;  // the first of two
        inside += text[i];
      }
      const std::size_t after = std::min(i + 1, n);
      i = std::min(text.find(separator, after), n);
      const bool more = !Trim(text.substr(after, i - after)).empty();
      add(more ? Trim(text.substr(begin, i - begin)) : std::string_view(inside), begin, i, !more);
    } else {
      for (int depth = 0; i < n && (!ends(text[i]) || depth > 0); ++i) {
        if (csv && (text[i] == '(' || text[i] == '[')) ++depth;
        if (csv && (text[i] == ')' || text[i] == ']') && depth > 0) --depth;
      }
      const std::string_view kept = Trim(text.substr(begin, i - begin), blanks);
      add(kept, begin, begin + kept.size(), false);
    }
    if (i >= n) return cells;
  }
}

}  // namespace

Printed PrintedAs(std::string_view t) {
  const std::size_t e = std::min(t.find_first_of("eE"), t.size());
  const std::size_t first = t.substr(0, e).find_first_of("123456789"), point = std::min(t.find_first_of(".,"), e);
  const std::size_t last = t.substr(0, e).find_last_of("0123456789");
  std::string_view written = t.substr(std::min(e + 1, t.size()));
  if (written.starts_with('+')) written.remove_prefix(1);
  long long exponent = 0;  // saturating far out
  if (std::from_chars(written.data(), written.data() + written.size(), exponent).ec == std::errc::result_out_of_range)
    exponent = written.starts_with('-') ? -1'000'000'000'000LL : 1'000'000'000'000LL;
  auto place = [&](std::size_t k) {  // of the digit at k: 10^(point - k - 1) before the point, 10^(point - k) after
    return static_cast<long long>(point) - static_cast<long long>(k) - (k < point ? 1 : 0) + exponent;
  };
  const long long end = last == npos ? 0 : place(last);
  return {first == npos ? 0 : static_cast<int>(place(first) - end + 1), first == npos ? 0 : place(first),
          std::pow(10.0, static_cast<double>(std::clamp(end, -400LL, 400LL)))};
}

Kind ReadNumber(std::string_view text, char point, double& value) {
  if (point != '.' && text.find('.') != npos) return Kind::Word;
  // std::from_chars reads no leading '+' (and "+-1" is no number).
  std::string s(text.substr(text.starts_with('+') && !text.starts_with("+-") ? 1 : 0));
  std::replace(s.begin(), s.end(), point, '.');
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ptr != s.data() + s.size() || (ec != std::errc() && ec != std::errc::result_out_of_range)) return Kind::Word;
  if (ec == std::errc::result_out_of_range && PrintedAs(s).first > 0) return Kind::Huge;  // beyond the range, not below
  if (ec == std::errc::result_out_of_range) value = s.starts_with('-') ? -0.0 : 0.0;
  return std::isfinite(value) ? Kind::Number : Kind::Word;
}
std::vector<Line> Lines(std::string_view pasted) {
  if (pasted.starts_with("\xEF\xBB\xBF")) pasted.remove_prefix(3);  // a byte-order mark
  std::string text;
  for (std::size_t i = 0; i < pasted.size();) {
    const auto r = std::find_if(std::begin(kReplaced), std::end(kReplaced),
                                [&](const auto& r) { return pasted.substr(i).starts_with(r.first); });
    const char c = r != std::end(kReplaced) ? r->second : pasted[i];
    i += r != std::end(kReplaced) ? r->first.size() : 1;
    text += static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t' ? ' ' : c;
  }
  std::vector<Line> lines;
  for (std::size_t b = 0, number = 1; b <= text.size(); ++number) {
    const std::size_t e = std::min(text.find('\n', b), text.size());
    // A line that echoes R's prompt ("> vcov(fit)", ">") or Stata's (". matrix list e(V)"), never with a tab (a line
    // with a tab is a table row), is left out.
    const std::string_view line = Trim(std::string_view(text).substr(b, e - b), " ");
    const char c = line.size() >= 3 ? line[2] : ' ';
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (line.find('\t') != npos || !(line == ">" || line.starts_with("> ") || (line.starts_with(". ") && letter)))
      lines.push_back({number, text.substr(b, e - b), {}});
    b = e + 1;
  }
  return lines;
}
Separator SeparatorOf(const std::vector<Line>& lines) {
  auto any = [&](char separator) {  // a tab anywhere; a semicolon or comma outside quotes, parentheses and brackets
    return std::any_of(lines.begin(), lines.end(), [&](const Line& l) {
      bool quoted = false;
      int depth = 0;
      for (const char c : l.text) {
        quoted = quoted != (c == '"');
        if (c == '\t' && separator == '\t') return true;
        if (quoted || c == '"') continue;
        if (c == '(' || c == '[') ++depth;
        if ((c == ')' || c == ']') && depth > 0) --depth;
        if (c == separator && depth == 0) return true;
      }
      return false;
    });
  };
  return any('\t') ? Separator::Tab : any(';') ? Separator::Semicolon : any(',') ? Separator::Comma : Separator::Blank;
}
bool CutCells(std::vector<Line>& lines, Separator separator) {
  bool point = false, comma = false;
  for (Line& l : lines) {
    l.cells = SplitAt(l.text, l.number, separator);
    while (!l.cells.empty() && l.cells.back().text.empty() && !l.cells.back().quoted) l.cells.pop_back();
    if (std::all_of(l.cells.begin(), l.cells.end(), [](const Cell& c) { return c.kind == Kind::Empty; })) l.cells = {};
    for (const Cell& c : l.cells) point = point || (c.IsNumber() && c.text.find('.') != npos);
    for (const Cell& c : l.cells) comma = comma || c.IsCommaNumber();
  }
  if ((separator != Separator::Tab && separator != Separator::Semicolon) || !comma || point) return false;
  for (Line& l : lines) {
    for (Cell& c : l.cells) {
      if (c.kind == Kind::Word) c.Read(',');
    }
  }
  return true;
}
std::string_view Trim(std::string_view s, std::string_view chars) {
  const std::size_t b = s.find_first_not_of(chars);
  return b == npos ? s.substr(0, 0) : s.substr(b, s.find_last_not_of(chars) + 1 - b);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

std::string Quoted(std::string_view s) { return '"' + std::string(s.substr(0, 40)) + (s.size() > 40 ? "...\"" : "\""); }

std::string ShowNumber(double x, int digits) {
  std::array<char, 64> buf{};
  const auto end = digits ? std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::general, digits)
                          : std::to_chars(buf.data(), buf.data() + buf.size(), x);
  return std::string(buf.data(), end.ptr);
}

}  // namespace marvane::stats::pasted
