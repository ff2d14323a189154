#include "stats/model_reader.h"

// The coefficients are found by the line that heads them (Estimate and Std. Error; SPSS's B and Std. Error; Stata's
// Coefficient after a '|'), else as a named vector (a line of names over a line of numbers). The lines of the model's
// printout around them (R's Call: to its F-statistic, Stata's and SPSS's ANOVA tables) are set aside; what is left, if
// it has numbers, is read as the matrix, its lines counted as in the whole text.

#include <algorithm>
#include <string>
#include <utility>

#include "stats/pasted_cells.h"

namespace marvane::stats {
namespace {

using namespace pasted;
constexpr auto npos = std::string_view::npos;

struct Fault { std::string words; };
[[noreturn]] void Fail(std::string words) { throw Fault{std::move(words)}; }
std::vector<Line> CutAll(std::vector<Line> lines, Separator s) {
  CutCells(lines, s);
  return lines;
}

// What has been read, and the lines of the model's printout (first to last, as indexes into `lines`).
struct Reading {
  std::vector<Line> lines;  // cut by blanks, or by the separator of the line that heads the coefficients
  PastedModel model;
  std::size_t first = npos, last = 0;
  Separator cut = Separator::Blank;  // what cuts the lines
  bool summary = false;               // R's summary(fit) printed the coefficients
  void Take(std::size_t k) {
    first = std::min(first, k);
    last = std::max(last, k);
  }
};

// The coefficient `term` of line k, from the cells of its estimate and standard error (none where not printed).
void Add(Reading& r, std::size_t k, const std::string& term, const Cell& estimate, const Cell* se) {
  const std::string line = "line " + std::to_string(r.lines[k].number);
  auto number = [&](const Cell& c, const char* what) {
    if (c.kind != Kind::Number) Fail(line + " (" + term + "): the " + what + " " + Quoted(c.text) + " is not a number");
    return c.value;
  };
  if (term.empty()) Fail(line + ": the estimate " + Quoted(estimate.text) + " has no term's name before it");
  for (const PastedCoefficient& c : r.model.coefficients) {
    if (c.term == term) Fail("the term " + Quoted(term) + " is printed twice; " + line + " holds it again");
  }
  PastedCoefficient c{term, number(estimate, "estimate"), PrintedAs(estimate.text).digits, std::nullopt, 0};
  if (se) c.se = number(*se, "standard error");
  if (se) c.seDigits = PrintedAs(se->text).digits;
  r.model.coefficients.push_back(c);
  r.Take(k);
}

// Stata's regress table: under the line whose first heading after the '|' is "Coefficient" (or "Coef."), each row
// holds the term before its '|' and the estimate and standard error as the first two numbers after it. A term broken
// over lines ends in '#' on the line above; the levels of a factor stand under its name, two spaces before the '|'.
bool ReadStata(Reading& r) {
  std::size_t k = 0;
  auto after = [&](std::size_t pipe) {
    std::vector<const Cell*> cells;
    for (const Cell& c : r.lines[k].cells) if (c.begin > pipe) cells.push_back(&c);
    return cells;
  };
  for (; k < r.lines.size(); ++k) {
    const std::size_t pipe = r.lines[k].text.find('|');
    if (pipe != npos && !after(pipe).empty() && Lower(after(pipe)[0]->text).starts_with("coef")) break;
  }
  if (k == r.lines.size()) return false;
  r.model.format = "Stata's regress";
  std::string factor, start;  // the factor over its levels; the start of a term broken over lines
  for (r.Take(k++); k < r.lines.size(); ++k) {
    const std::string_view text = r.lines[k].text;
    const std::size_t pipe = text.find('|');
    if (pipe == npos && !r.model.coefficients.empty() && text.find("---") != npos) break;
    if (pipe == npos) continue;
    const std::string left(Trim(text.substr(0, pipe)));
    const std::vector<const Cell*> numbers = after(pipe);
    const bool level = !factor.empty() && text.substr(0, pipe).ends_with("  ");
    if (numbers.empty() && left.ends_with('#')) start = left;
    if (numbers.empty() && !left.ends_with('#')) factor = left;
    if (numbers.empty()) continue;
    if (!level) factor.clear();
    Add(r, k, level ? left + "." + factor : start + left, *numbers[0], numbers.size() > 1 ? numbers[1] : nullptr);
    start.clear();
  }
  return true;
}

// A table headed by "Estimate" (or "Coef.", "Coefficient", SPSS's "B") and "Std. Error" (or "Std. err.", "SE"). The
// column of each is a cell's place in tab-, semicolon- or comma-separated text, its right edge in blank-separated
// text (R right-aligns headings and numbers alike). Each row has a number (or R's NA) under the estimate; its term is
// what stands before it in blank-separated text, else the last cell before it that is not empty.
bool ReadTable(Reading& r) {
  for (std::size_t h = 0; h < r.lines.size(); ++h) {
    const Separator separator = SeparatorOf({r.lines[h]});
    const std::vector<Line> lines = CutAll({r.lines[h]}, separator);
    const bool blank = separator == Separator::Blank;
    std::size_t estimate = npos, se = npos, k = 0;
    bool spss = false;
    for (const Cell& c : lines[0].cells) {
      const std::string w = Lower(c.text), before = k > 0 ? Lower(lines[0].cells[k - 1].text) : "";
      if (w == "estimate" || w == "coef." || w == "coefficient" || w == "b") estimate = blank ? c.end : k;
      if (w == "std. error" || w == "std.error" || w == "std. err." || w == "se" ||
          (blank && before == "std." && (w == "error" || w == "err.")))
        se = blank ? c.end : k;
      spss = spss || w == "b";
      ++k;
    }
    if (estimate == npos || se == npos) continue;
    if (separator != r.cut) r.lines = CutAll(r.lines, separator);
    r.cut = separator;
    r.model.format = spss ? "SPSS's coefficients" : !blank ? "a table of coefficients" : "R's coef(summary(fit))";
    if (blank && r.summary) r.model.format = "R's summary";
    auto at = [&](const Line& l, std::size_t column) -> const Cell* {
      for (std::size_t j = 0; j < l.cells.size(); ++j) {
        if (blank ? l.cells[j].end == column : j == column) return &l.cells[j];
      }
      return nullptr;
    };
    r.Take(h);
    for (k = h + 1; k < r.lines.size(); ++k) {
      const Line& l = r.lines[k];
      const Cell* cell = at(l, estimate);
      if (!cell || (cell->kind != Kind::Number && cell->text != "NA")) break;
      std::string term(blank ? Trim(std::string_view(l.text).substr(0, cell->begin)) : "");
      for (const Cell* c = cell; !blank && term.empty() && c != l.cells.data();) term = (--c)->text;
      Add(r, k, term, *cell, at(l, se));
    }
    if (r.model.coefficients.empty()) continue;  // headings without rows: another table may follow
    // R prints a wide table in blocks of columns: a line of headings (no term's name), then the rows again.
    const std::vector<PastedCoefficient>& terms = r.model.coefficients;
    auto headings = [&](const Line& l) {
      return !l.HasNumber() && std::none_of(l.cells.begin(), l.cells.end(), [&](const Cell& c) {
        return std::any_of(terms.begin(), terms.end(), [&](auto& t) { return t.term == c.text; });
      });
    };
    for (std::size_t j = 0; blank && k + terms.size() < r.lines.size() && headings(r.lines[k]); k += j + 1) {
      for (j = 0; j < terms.size() && Trim(r.lines[k + 1 + j].text).starts_with(terms[j].term + " "); ++j) {
      }
      if (j < terms.size()) break;
      r.Take(k + j);
    }
    return true;
  }
  return false;
}

// R's print(coef(fit)): lines of names over lines of numbers (R wraps a long vector), each name right-aligned over its
// number; the line after the last numbers is no line of numbers (that would be a matrix).
bool ReadNamedVector(Reading& r) {
  auto only = [](const Line& l, bool numbers) {
    return !l.cells.empty() && std::all_of(l.cells.begin(), l.cells.end(), [&](const Cell& c) {
      return numbers ? c.IsNumber() : c.kind == Kind::Word;
    });
  };
  if (r.cut != Separator::Blank) r.lines = CutAll(r.lines, Separator::Blank);
  r.cut = Separator::Blank;
  for (std::size_t k = 0; k + 1 < r.lines.size(); ++k) {
    const Line &names = r.lines[k], &values = r.lines[k + 1];
    if (!only(names, false) || !only(values, true)) {
      if (!r.model.coefficients.empty()) break;
      continue;
    }
    if (k + 2 < r.lines.size() && only(r.lines[k + 2], true)) return false;
    std::size_t from = 0;  // where the name over a number begins: after the number before
    for (const Cell& value : values.cells) {
      const std::size_t end = std::min(value.end, names.text.size()), begin = std::min(from, end);
      Add(r, k + 1, std::string(Trim(std::string_view(names.text).substr(begin, end - begin))), value, nullptr);
      from = value.end;
    }
    r.Take(k++);
  }
  r.model.format = "R's coef(fit)";
  return !r.model.coefficients.empty();
}

// The lines of a model's printout other than its coefficients (lower case, as they begin).
constexpr std::string_view kPrintout[] = {
    "call:",  "lm(",    "glm(",  "residuals:", "min ",        "coefficients", "---",  "signif. codes", "residual",
    "multiple r-squared", "f-statistic", "(dispersion", "null deviance", "aic:", "number of fisher", "source", "model",
    "total",  "anova",  "a. ",   "b. ",        "number of obs", "root mse"};

}  // namespace

ModelReadResult ReadPastedModel(std::string_view text) {
  ModelReadResult result;
  try {
    Reading r;
    r.lines = CutAll(Lines(text), Separator::Blank);
    const std::vector<Line> lines = r.lines;
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const std::string line = Lower(Trim(lines[k].text));
      std::vector<double> numbers;
      for (const Cell& c : lines[k].cells) if (c.kind == Kind::Number) numbers.push_back(c.value);
      // The residual df: the second number of R's "Residual standard error: 20.44 on 112 degrees of freedom", or of
      // the Residual row of Stata's or SPSS's ANOVA table.
      if (!lines[k].cells.empty() && Lower(lines[k].cells[0].text) == "residual" && numbers.size() >= 2)
        r.model.df = numbers[1];
      r.summary = r.summary || line.starts_with("coefficients:") || line.starts_with("residual standard error");
      if (std::any_of(std::begin(kPrintout), std::end(kPrintout), [&](auto w) { return line.starts_with(w); }))
        r.Take(k);
    }
    if ((!ReadStata(r) && !ReadTable(r) && !ReadNamedVector(r)) || r.model.coefficients.empty())
      Fail("no coefficients were found: paste what R's summary(fit), coef(summary(fit)) or coef(fit) printed, or "
           "Stata's regress table or SPSS's Coefficients table");
    std::string rest;  // the other lines, each at its place in the text
    for (std::size_t k = 0, at = 1; k < lines.size(); ++k) {
      if (k >= r.first && k <= r.last) continue;
      rest.append(lines[k].number - at, '\n');
      rest += lines[k].text;
      at = lines[k].number;
    }
    if (rest.find_first_of("0123456789") != npos) {
      const ReadResult matrix = ReadPastedMatrix(rest);
      if (!matrix.ok) Fail("the coefficients were read, but not the matrix pasted with them: " + matrix.error);
      r.model.matrix = matrix.matrix;
    }
    result.model = std::move(r.model);
    result.ok = true;
    return result;
  } catch (const Fault& fault) {
    result.error = fault.words;
  } catch (...) {  // only an allocation can fail here
    result.error = "the text could not be read: it is too large";
  }
  if (!result.error.empty() && result.error[0] >= 'a' && result.error[0] <= 'z')
    result.error[0] = static_cast<char>(result.error[0] - 'a' + 'A');
  if (!result.error.ends_with('.')) result.error += '.';
  return result;
}

}  // namespace marvane::stats
