#include "analysis/analysis.h"

#include <algorithm>

#include "analysis/mapping.h"
#include "analysis/report.h"
#include "shell/fault.h"
#include "shell/number_text.h"
#include "shell/words.h"
#include "stats/matrix_reader.h"
#include "stats/term_mapping.h"

namespace marvane {
namespace {

using stats::Test;

// Two typed numbers, such as a range's ends; nothing unless both are numbers.
std::optional<std::pair<double, double>> ReadRange(const std::string& from, const std::string& to) {
  const TypedNumber a = ReadTypedNumber(from), b = ReadTypedNumber(to);
  if (!a.ok || !b.ok) return std::nullopt;
  return std::pair{a.value, b.value};
}

// ---- The reference distribution ------------------------------------------

struct ReferenceRead {
  stats::Reference reference;
  std::string problem;
  std::vector<std::string> notes;
};

ReferenceRead ReadReference(const AnalysisInput& in, std::size_t weightCount, std::optional<double> printedDf) {
  ReferenceRead out;
  const TypedNumber df = ReadTypedNumber(in.df), size = ReadTypedNumber(in.sampleSize);
  const double weights = static_cast<double>(weightCount);
  if (!df.empty && !df.ok) return {{}, "The df must be a number, such as 96.", {}};
  if (!size.empty && !size.ok) return {{}, "The sample size must be a number, such as 100.", {}};
  if (!df.empty) {
    if (df.value <= 0) return {{}, "The df must be above 0.", {}};
    out.reference = {.normal = false, .df = df.value};
    if (!size.empty) {
      const std::string differ = mapping::CheckDegrees(df.value, size.value, weightCount);
      out.notes.push_back(differ.empty() ? "Both df and N are filled: df is used." : differ);
    }
  } else if (!size.empty) {
    const double d = size.value - weights;
    if (!(d > 0)) {
      return {{},
              "A sample size of " + NumberToText(size.value) + " leaves no residual df: N must be above " +
                  NumberToText(weights) + ", the number of weights of this model.",
              {}};
    }
    out.reference = {.normal = false, .df = d};
    out.notes.push_back("df = N \u2212 " + NumberToText(weights) + " = " + NumberToText(d) + ".");
  } else if (printedDf && *printedDf > 0) {
    out.reference = {.normal = false, .df = *printedDf};
    out.notes.push_back("df = " + NumberToText(*printedDf) + ", as printed with the coefficients.");
  } else {
    out.notes.push_back("No df or N: the tests use the normal distribution (z).");
  }
  const TypedNumber level = ReadTypedNumber(in.level);
  std::string levelNote;
  const double percent = level.ok ? mapping::LevelPercent(level.value, levelNote) : 0;
  if (!level.ok || !(percent > 0 && percent < 100)) {
    return {{}, "The confidence level must be a number of percent above 0 and below 100, such as 95.", {}};
  }
  if (!levelNote.empty()) out.notes.push_back(levelNote);
  out.reference.level = percent / 100;
  return out;
}

// ---- Which pasted row is which weight --------------------------------------

std::vector<std::string> RowChoices(const stats::PastedMatrix& m) {
  std::vector<std::string> rows;
  for (std::size_t k = 0; k < m.size; ++k)
    rows.push_back(k < m.names.size() ? m.names[k] : "row " + std::to_string(k + 1));
  return rows;
}

// The model's picks (by weight, an index into the model's coefficients) as
// indexes into the coefficients pasted with the matrix, found by their terms.
std::vector<int> PicksAmong(const AnalysisInput& in, const std::vector<stats::PastedCoefficient>& coefficients) {
  std::vector<int> picks;
  for (const int k : in.modelPicks) {
    int found = -1;
    if (k >= 0 && static_cast<std::size_t>(k) < in.modelCoefficients.size()) {
      const std::string& term = in.modelCoefficients[static_cast<std::size_t>(k)].term;
      for (std::size_t j = 0; j < coefficients.size() && found < 0; ++j) {
        if (coefficients[j].term == term) found = static_cast<int>(j);
      }
    }
    picks.push_back(found);
  }
  return picks;
}

// The user's choices while the paste names the same rows; else each row
// decided by the model pasted on the form, an estimate, the names or the
// place. `problem` tells a product mapped to a row of other parts.
MappingChoice ChooseMapping(const Probe& probe, const stats::PastedMatrix& m,
                            const std::vector<stats::PastedCoefficient>& pastedCoefficients, const AnalysisInput& in,
                            std::string& problem) {
  MappingChoice choice{.rows = RowChoices(m), .rowOf = {}, .decided = {}};
  const std::optional<MappingChoice>& kept = in.mapping;
  if (kept && kept->rows == choice.rows && kept->rowOf.size() == probe.weights.size()) return *kept;
  // Without coefficients in the box, the model's own, to find its picks' rows.
  const bool own = pastedCoefficients.empty();
  const std::vector<stats::PastedCoefficient>& coefficients = own ? in.modelCoefficients : pastedCoefficients;
  const mapping::Paste paste{.names = m.names, .rows = m.size, .coefficients = coefficients,
                             .picks = own ? in.modelPicks : PicksAmong(in, coefficients)};
  const mapping::Mapping decided = mapping::Map(probe.weights, paste);
  for (const mapping::RowOfWeight& r : decided.rows) {
    choice.rowOf.push_back(r.row >= 0 && static_cast<std::size_t>(r.row) < m.size ? r.row : -1);
    choice.decided.push_back(mapping::Words(r.row >= 0 ? r.by : mapping::Decided::None));
  }
  problem = decided.problem;
  return choice;
}

// One pasted row chosen for two weights, in words; empty when none is.
std::string RowChosenTwice(const Probe& probe, const MappingChoice& c) {
  for (std::size_t i = 0; i < c.rowOf.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (c.rowOf[i] < 0 || c.rowOf[i] != c.rowOf[j]) continue;
      return "The pasted row \"" + c.rows[static_cast<std::size_t>(c.rowOf[i])] + "\" is chosen for both the " +
             probe.weights[j].meaning + " and the " + probe.weights[i].meaning + ": each row can hold one weight only.";
    }
  }
  return {};
}

stats::WeightCovariance InModelOrder(const stats::PastedMatrix& m, const std::vector<int>& rowOf) {
  const std::size_t n = rowOf.size();
  stats::WeightCovariance v{.size = n, .cells = std::vector<double>(n * n, 0.0), .known = std::vector<bool>(n)};
  for (std::size_t i = 0; i < n; ++i) {
    if (rowOf[i] < 0) continue;
    v.known[i] = true;
    for (std::size_t j = 0; j < n; ++j) {
      if (rowOf[j] >= 0)
        v.cells[i * n + j] = m.At(static_cast<std::size_t>(rowOf[i]), static_cast<std::size_t>(rowOf[j]));
    }
  }
  return v;
}

// The pasted rows no weight takes, in words: covariates of a larger model
// leave the intercepts and predicted values at those covariates = 0.
std::string UnusedRows(const stats::PastedMatrix& m, const MappingChoice& c, const Probe& probe) {
  std::vector<std::string> unused;
  for (std::size_t r = 0; r < m.size; ++r) {
    if (std::find(c.rowOf.begin(), c.rowOf.end(), static_cast<int>(r)) == c.rowOf.end()) unused.push_back(c.rows[r]);
  }
  const std::string n = std::to_string(unused.size());
  std::string s = n + (unused.size() == 1 ? " pasted row is" : " pasted rows are") + " not used (" +
                  Join(unused, ", ") + "). If the model has further terms (covariates), the intercepts and predicted "
                  "values here are at those terms = 0";
  s += probe.holdsTerms ? ": give each of them a row of held terms to hold it at a value you choose."
                                  : "; the Incomplete form holds them at values you choose.";
  return s;
}

// The rows taken only by their place in the paste, in words: guesses the
// user should check.
std::string Guesses(const Probe& probe, const MappingChoice& c) {
  std::vector<std::string> guessed;
  for (std::size_t i = 0; i < c.rowOf.size() && i < c.decided.size(); ++i) {
    if (!IsGuess(c.decided[i]) || c.rowOf[i] < 0) continue;
    guessed.push_back(probe.weights[i].meaning + " = `" + c.rows[static_cast<std::size_t>(c.rowOf[i])] + "`");
  }
  if (guessed.empty()) return {};
  if (guessed.size() == c.rowOf.size()) {
    return "Every weight was taken from its place in the paste: check which row is which weight.";
  }
  return Join(guessed, ", ") + (guessed.size() == 1 ? " was" : " were") +
         " taken from " + (guessed.size() == 1 ? "its place" : "their places") + " in the paste: check " +
         (guessed.size() == 1 ? "it." : "them.");
}

// The clipboard's Mapping section: each weight, its pasted row and how that
// was decided.
std::string MappingSection(const Probe& probe, const MappingChoice& c) {
  std::string out = "Mapping\nweight\tpasted\tdecided by";
  for (std::size_t i = 0; i < probe.weights.size() && i < c.rowOf.size(); ++i) {
    const int row = c.rowOf[i];
    out += "\n" + probe.weights[i].meaning + "\t" + (row >= 0 ? c.rows[static_cast<std::size_t>(row)] : "") + "\t" +
           (i < c.decided.size() ? c.decided[i] : "");
  }
  return out;
}

// What was read and how it is used, for the status line.
StatusText MatrixWords(const Probe& probe, const stats::PastedMatrix& m, const MappingChoice& c,
                       const std::vector<std::string>& referenceNotes, const std::string& problem) {
  std::vector<std::string> mapped, missing, notes;
  std::size_t used = 0;
  for (std::size_t i = 0; i < probe.weights.size(); ++i) {
    if (c.rowOf[i] >= 0) {
      mapped.push_back(probe.weights[i].meaning + " = " + c.rows[static_cast<std::size_t>(c.rowOf[i])]);
      ++used;
    } else {
      missing.push_back(probe.weights[i].meaning);
    }
  }
  const std::string n = std::to_string(m.size);
  const std::string said = n + " \u00d7 " + n + " matrix from " + m.format + "; " + Join(mapped, ", ") + ".";
  if (!problem.empty()) return {said + " But " + problem + ": check the matrix and which row is which weight.", true};
  if (m.commaDecimals) notes.push_back("Commas were read as decimal points.");
  notes.insert(notes.end(), referenceNotes.begin(), referenceNotes.end());
  if (!missing.empty())
    notes.push_back("No pasted row for the " + Join(missing, ", the ") + ": what needs it is left empty.");
  if (used < m.size) notes.push_back(UnusedRows(m, c, probe));
  if (m.digits > 0 && m.digits < 7) {
    notes.push_back("The matrix was read with " + std::to_string(m.digits) +
                    " significant digits; print(vcov(fit), digits = 15) gives all of them.");
  }
  const std::string guesses = Guesses(probe, c);
  if (!guesses.empty()) notes.push_back(guesses);
  return {said + " " + Join(notes, " "), used < m.size || !guesses.empty()};
}

// ---- Tables as shown --------------------------------------------------------

ShownTable ShowTable(const stats::Table& t, const stats::Reference& r, int decimals) {
  ShownTable s{.id = t.id, .title = t.title, .header = TableHeader(t, r), .rows = {}, .firstNumber = 1};
  for (const stats::Row& row : t.rows) {
    std::vector<std::string> cells = TestCells(row.test, r, decimals, t.holm);
    if (t.points) {
      // estimate, SE, t, df, p, lower, upper: a predicted value keeps Y, SE and the interval.
      cells = {Fixed(row.x, decimals), cells[0], cells[1], cells[5], cells[6]};
    }
    cells.insert(cells.begin(), row.name);
    s.rows.push_back(std::move(cells));
  }
  return s;
}

std::string TablesNote(const stats::Tables& t) {
  std::string note =
      "These tables round to the nearest at the decimals chosen; the form's own captions keep their values "
      "taken down. p values are shown to at least three places.";
  bool identical = false;
  for (const stats::Table& table : t.list) {
    for (const stats::Row& row : table.rows)
      identical = identical || (table.holm && row.test.state == Test::State::NotTestable);
  }
  if (identical) {
    note +=
        " A pair of identical lines (equal moderator values) has a difference of 0 with SE 0: it has no test "
        "and is left out of the Holm adjustment.";
  }
  return note;
}

void ShowRegions(Analysis& a, bool rangeOk, const std::string& rangeWords, int d) {
  auto write = [d](double v) { return Fixed(v, d); };
  std::vector<std::string> words;
  for (const stats::EffectRegion& e : a.regions) {
    // The variable and what is held in the form's words, as the copied table has them.
    std::vector<std::string> cells{e.name, e.along, e.heldAt};
    if (e.state != Test::State::Tested) {
      cells.push_back(StateWords(e.state));
    } else {
      for (std::string& c : RegionCells(e, write)) cells.push_back(std::move(c));
      cells.push_back(RegionNote(e));
    }
    a.regionsTable.rows.push_back(std::move(cells));
    words.push_back(RegionSentence(e, a.reference, d));
  }
  a.regionsText = Join(words, "\n");
  words.clear();
  for (std::size_t i = 0; i < a.crossings.size(); ++i) {
    const stats::Crossover& c = a.crossings[i];
    std::vector<std::string> cells{c.name, write(c.x)};
    if (c.state != Test::State::Tested) {
      cells.insert(cells.end(), {"", StateWords(c.state)});
    } else {
      for (std::string& cell : CrossoverCells(c, write)) cells.push_back(std::move(cell));
      cells.push_back(rangeOk ? stats::VerdictName(a.verdicts[i]) : "");
    }
    a.crossingsTable.rows.push_back(std::move(cells));
    words.push_back(CrossoverSentence(c, a.verdicts[i], rangeWords, a.reference, d));
  }
  if (a.crossings.empty()) words.push_back("No two lines have different slopes: no lines cross.");
  a.crossingsText = Join(words, "\n");
}

// ---- The significance tab -----------------------------------------------

// What the paste gives: a matrix read and mapped, with its reference
// distribution; none when the paste cannot give tables (the status says why).
struct Pasted {
  std::optional<stats::PastedMatrix> matrix;
  std::vector<std::string> referenceNotes;
};

// The matrix in the box, with the coefficients printed with it where they
// are; the problem in words where there is none to use.
struct Read {
  std::optional<stats::PastedMatrix> matrix;
  std::vector<stats::PastedCoefficient> coefficients;
  std::optional<double> df;
  std::string problem;
};

Read ReadBox(const std::string& text) {
  const stats::ModelReadResult model = stats::ReadPastedModel(text);
  Read r;
  if (model.ok) {
    if (!model.model.matrix) {
      r.problem = "This is the model's summary: paste vcov(fit) with it, or use Paste model on the form.";
      return r;
    }
    r.matrix = model.model.matrix;
    r.coefficients = model.model.coefficients;
    r.df = model.model.df;
  } else {
    const stats::ReadResult read = stats::ReadPastedMatrix(text);
    if (!read.ok) return {.matrix = {}, .coefficients = {}, .df = {}, .problem = read.error};
    r.matrix = read.matrix;
  }
  if (r.matrix->looksLikeCorrelations) {
    r.problem = "This looks like correlations, not covariances: paste the covariance matrix of the weights (R's "
                "vcov(fit), Stata's matrix list e(V), SPSS's covariances).";
  }
  return r;
}

Pasted ReadPaste(Analysis& a, const Probe& probe, const AnalysisInput& in) {
  if (in.mapping) {
    a.mapping = *in.mapping;
    a.rowChoices = in.mapping->rows;
  }
  if (in.pasted.find_first_not_of(" \t\r\n") == std::string::npos) {
    a.covarianceStatus = {"Paste the covariance matrix of the weights to test the lines.", false};
    return {};
  }
  const Read read = ReadBox(in.pasted);
  if (!read.problem.empty()) {
    a.covarianceStatus = {read.problem, true};
    return {};
  }
  const stats::PastedMatrix& m = *read.matrix;
  std::string productProblem;
  a.mapping = ChooseMapping(probe, m, read.coefficients, in, productProblem);
  a.rowChoices = a.mapping.rows;
  std::string problem = RowChosenTwice(probe, a.mapping);
  if (problem.empty()) problem = productProblem;
  if (problem.empty()) problem = mapping::CheckStandardErrors(read.coefficients, m);
  const ReferenceRead ref = ReadReference(in, probe.weights.size(), read.df);
  if (problem.empty()) problem = ref.problem;
  if (!problem.empty()) {
    a.covarianceStatus = {problem, true};
    return {};
  }
  a.reference = ref.reference;
  a.covariance = InModelOrder(m, a.mapping.rowOf);
  return {m, ref.notes};
}

// The pasted name of each weight's row, "" where it has none.
std::vector<std::string> WeightNames(const Pasted& pasted, const MappingChoice& mapping) {
  std::vector<std::string> names;
  for (const int row : mapping.rowOf) {
    const bool named = pasted.matrix && row >= 0 && static_cast<std::size_t>(row) < pasted.matrix->names.size();
    names.push_back(named ? pasted.matrix->names[static_cast<std::size_t>(row)] : "");
  }
  return names;
}

// The tables of the lines shown.
void TestLines(Analysis& a, const Probe& shown, const Pasted& pasted) {
  if (!pasted.matrix) return;
  a.tables = stats::Analyse(shown, a.covariance, a.reference);
  a.ready = true;
  a.mappingSection = MappingSection(shown, a.mapping);
  a.covarianceStatus = MatrixWords(shown, *pasted.matrix, a.mapping, pasted.referenceNotes, a.tables.problem);
  a.tablesNote = TablesNote(a.tables);
}

// ---- The figures ------------------------------------------------------------

std::string RangeWords(const figure::Figure& plain, figure::Range range) {
  switch (range) {
    case figure::Range::OneSd: return "\u00b11 SD of X";
    case figure::Range::TwoSd: return "\u00b12 SD of X";
    case figure::Range::Typed: break;
  }
  return "X from " + NumberToText(plain.xMin) + " to " + NumberToText(plain.xMax);
}

// The first crossing that is a finite interval, for the figure's bracket.
std::optional<stats::Crossover> Bracketed(const std::vector<stats::Crossover>& crossings) {
  for (const stats::Crossover& c : crossings) {
    if (c.state == Test::State::Tested && c.kind == stats::Crossover::Kind::Interval) return c;
  }
  return std::nullopt;
}

// The values observed in the data, as typed: of the region figure's variable
// and of X.
struct Observed {
  std::string variable;  // the region figure's variable
  std::optional<std::pair<double, double>> values, x;
  std::string problem;
};

Observed ReadObserved(const Probe& p, const AnalysisInput& in) {
  Observed o;
  const std::size_t k = static_cast<std::size_t>(std::max(0, in.regionEffect));
  o.variable = k < p.effects.size() ? p.effects[k].along : "the variable";
  auto read = [&o](const std::string& from, const std::string& to, const std::string& name) {
    std::optional<std::pair<double, double>> range;
    if (Trim(from).empty() && Trim(to).empty()) return range;
    range = ReadRange(from, to);
    if (!range || !(range->first < range->second)) {
      o.problem = "The observed values of " + name + " need two numbers, the lowest and the highest, such as -2 and 3.";
      range.reset();
    }
    return range;
  };
  o.values = read(in.observedFrom, in.observedTo, o.variable);
  o.x = read(in.observedXFrom, in.observedXTo, "X");
  if (in.fdr && !o.values && o.problem.empty()) {
    o.problem = "The regions that control the false-discovery rate need the observed values of " + o.variable +
                ": type the lowest and the highest.";
  }
  return o;
}

// The regions along the region figure's variable know its observed values;
// with `fdr` they are found at the critical value that controls the
// false-discovery rate over them.
void AdjustRegions(Analysis& a, const Observed& o, bool fdr) {
  if (!o.values) return;
  for (stats::EffectRegion& e : a.regions) {
    if (e.along != o.variable) continue;
    e.observed = true;
    e.observedFrom = o.values->first;
    e.observedTo = o.values->second;
    if (!fdr || e.state != Test::State::Tested) continue;
    const double critical = stats::FdrCritical(e.c0, e.c1, {e.var0, e.cov01, e.var1}, a.reference, e.observedFrom,
                                               e.observedTo, kFdrPoints);
    if (!(critical > 0)) continue;
    e.region = stats::SignificanceRegion(e.c0, e.c1, e.var0, e.cov01, e.var1, critical);
    e.critical = critical;
    e.adjusted = true;
  }
}

// The lines figure, and the crossings judged against the observed values of
// X or else its X range, which it returns in words ("±1 SD of X").
std::string DescribeLines(Analysis& a, const Probe& probe, const AnalysisInput& in, const Observed& observed) {
  figure::Options o;
  o.range = in.range;
  std::string rangeProblem;
  if (in.range == figure::Range::Typed) {
    const auto typed = ReadRange(in.xFrom, in.xTo);
    if (!typed) rangeProblem = "The typed X range needs two numbers, such as -4 and 4.";
    o.typedFrom = typed ? typed->first : 0;
    o.typedTo = typed ? typed->second : 0;
  }
  const figure::Figure plain = figure::Describe(probe, o);
  const bool rangeOk = observed.x || (rangeProblem.empty() && plain.note.empty());
  const double from = observed.x ? observed.x->first : plain.xMin, to = observed.x ? observed.x->second : plain.xMax;
  a.verdictRangeKnown = rangeOk;
  a.verdictFrom = from;
  a.verdictTo = to;
  for (const stats::Crossover& c : a.crossings) {
    a.verdicts.push_back(rangeOk ? stats::Judge(c, from, to) : stats::Verdict::Undetermined);
  }
  const std::string rangeWords = observed.x ? "the observed values of X (" + NumberToText(from) + " to " +
                                                  NumberToText(to) + ")"
                                            : RangeWords(plain, in.range);
  ShowRegions(a, rangeOk, rangeWords, in.decimals);
  if (a.ready) {
    o.covariance = &a.covariance;
    o.reference = a.reference;
    o.bands = in.bands;
    o.crossover = Bracketed(a.crossings);
  }
  a.lines = o.bands || o.crossover ? figure::Describe(probe, o) : plain;
  if (!rangeProblem.empty()) a.lines.note = rangeProblem;
  if (in.bands && !a.ready && a.lines.bandsNote.empty()) {
    a.lines.bandsNote = "The bands need the covariance matrix of the weights: paste it on the Significance tab.";
  }
  return rangeWords;
}

void DescribeRegionFigure(Analysis& a, const Probe& probe, const AnalysisInput& in, const Observed& observed) {
  const int k = in.regionEffect;
  if (!a.ready || k < 0 || static_cast<std::size_t>(k) >= probe.effects.size()) {
    a.regionFigure.note = probe.effects.empty() ? "This model has no effect along a variable to draw."
                                                : "Paste the covariance matrix of the weights on the Significance "
                                                  "tab to draw the region figure.";
    a.regionStatus = {a.regionFigure.note, false};
    return;
  }
  figure::RegionOptions o;
  if (in.regionTyped) {
    const auto typed = ReadRange(in.regionFrom, in.regionTo);
    if (!typed) {
      a.regionFigure.note = "The typed range of the region figure needs two numbers, such as -4 and 4.";
      a.regionStatus = {a.regionFigure.note, true};
      return;
    }
    o.typed = true;
    o.typedFrom = typed->first;
    o.typedTo = typed->second;
  }
  const std::size_t i = static_cast<std::size_t>(k);
  if (a.regions[i].adjusted) o.critical = a.regions[i].critical;
  o.observed = observed.values;
  a.regionFigure = figure::DescribeRegion(probe, probe.effects[i], a.covariance, a.reference, a.regions[i].region, o);
  a.regionStatus = a.regionFigure.note.empty()
                       ? StatusText{RegionSentence(a.regions[i], a.reference, in.decimals), false}
                       : StatusText{a.regionFigure.note, true};
}

// ---- The clipboard -----------------------------------------------------------

void Collect(Analysis& a, const std::string& rangeWords, int decimals) {
  if (!a.ready) return;
  std::vector<std::string> sections;
  for (const stats::Table& t : a.tables.list) sections.push_back(Section(t, a.reference));
  sections.push_back(RegionsSection(a.regions));
  sections.push_back(CrossoversSection(a.crossings, a.verdicts));
  for (const std::string& s : sections) {
    if (!s.empty()) a.sections += "\n" + s + "\n";
  }
  for (const std::string& s : Sentences(a.tables, a.reference, decimals)) a.significanceSentences += s + "\n";
  if (!a.regionsText.empty()) a.regionSentences += a.regionsText + "\n";
  for (std::size_t i = 0; i < a.crossings.size(); ++i) {
    a.regionSentences += CrossoverSentence(a.crossings[i], a.verdicts[i], rangeWords, a.reference, decimals) + "\n";
  }
  a.sentences = a.significanceSentences + a.regionSentences;
}

void ShowTables(Analysis& a, int decimals) {
  for (const stats::Table& t : a.tables.list) a.significanceTables.push_back(ShowTable(t, a.reference, decimals));
  a.regionsTable = {
      .id = "regions", .title = "Regions of significance", .header = RegionsHeader(), .rows = {}, .firstNumber = 4};
  a.regionsTable.header.push_back("note");
  a.crossingsTable = {
      .id = "crossovers", .title = "Crossovers", .header = CrossingsHeader(), .rows = {}, .firstNumber = 4};
}

// The notice over the lines figure: a later Compute that faulted, then what
// keeps the figure or its bands from being drawn, then the lines' choices.
StatusText Notice(const Analysis& a, const AnalysisInput& in, const ShownLines& shown) {
  if (in.stale) {
    return {"The figure is not up to date: it shows the last Compute that ended without a fault. " + in.staleMessage,
            true};
  }
  if (!a.lines.note.empty()) return {a.lines.note, true};
  if (!shown.problem.empty()) return {shown.problem + " The figure shows the form's lines.", true};
  if (!a.lines.bandsNote.empty()) return {a.lines.bandsNote, true};
  std::string text = "The figure shows the lines of the last Compute.";
  if (!shown.note.empty()) text += " " + shown.note;
  return {text, false};
}

// The typed ranges' defaults: +-2 SD of X and of the first effect's
// variable, around their means.
void Defaults(Analysis& a, const Probe& p) {
  if (!p.effects.empty() && p.effects[0].sd > 0) {
    const LinearEffect& e = p.effects[0];
    a.regionFromDefault = NumberToText(e.mean - 2 * e.sd);
    a.regionToDefault = NumberToText(e.mean + 2 * e.sd);
  }
  if (p.stdx > 0) {
    a.xFromDefault = NumberToText(p.meanX - 2 * p.stdx);
    a.xToDefault = NumberToText(p.meanX + 2 * p.stdx);
  }
}

}  // namespace

Analysis Analyse(const Probe& form, const AnalysisInput& in) {
  Analysis a;
  const Pasted pasted = ReadPaste(a, form, in);
  LineChoices choices = in.lines;
  choices.weightNames = WeightNames(pasted, a.mapping);
  const ShownLines shown = ShowLines(form, choices);
  a.probe = shown.probe;
  a.xTitle = shown.xTitle;
  const Probe& probe = a.probe;
  TestLines(a, probe, pasted);
  const Observed observed = ReadObserved(probe, in);
  if (a.ready) {
    a.regions = stats::Regions(probe, a.covariance, a.reference);
    a.crossings = stats::Crossovers(probe, a.covariance, a.reference);
    a.fdr = in.fdr;
    AdjustRegions(a, observed, in.fdr);
  }
  ShowTables(a, in.decimals);
  const std::string rangeWords = DescribeLines(a, probe, in, observed);
  a.notice = Notice(a, in, shown);
  if (!a.ready) {
    a.regionsText =
        "Paste the covariance matrix of the weights on the Significance tab to find the regions and "
        "the crossing's interval.";
    a.crossingsText.clear();
  }
  for (const LinearEffect& e : probe.effects) {
    // In the paste's names where it gives them, as the sentences are.
    const std::string& heldAt = HeldAtWords(e);
    a.effectNames.push_back(e.name + (heldAt.empty() ? "" : ", " + heldAt) + ", along " + AlongWords(e));
  }
  DescribeRegionFigure(a, probe, in, observed);
  if (!observed.problem.empty()) a.regionStatus = {observed.problem, true};
  Defaults(a, probe);
  Collect(a, rangeWords, in.decimals);
  return a;
}

std::string LinesSection(const Probe& probe, const std::vector<std::string>& legend) {
  std::string out = "Simple-effect lines\nline\tslope\tintercept\tX1\tY1\tX2\tY2\n";
  for (std::size_t i = 0; i < probe.lines.size(); ++i) {
    const ProbeLine& l = probe.lines[i];
    out += i < legend.size() && !legend[i].empty() ? legend[i] : l.name;
    for (double v : {l.line.slope, l.line.intercept, l.line.x1, l.line.y1, l.line.x2, l.line.y2}) {
      out += '\t' + NumberToText(v);
    }
    out += '\n';
  }
  return out;
}

figure::Figure Dressed(figure::Figure f, const FigureLabels& labels) {
  f.xTitle = labels.xTitle;
  f.yTitle = labels.yTitle;
  for (std::size_t i = 0; i < f.lines.size() && i < labels.names.size(); ++i) {
    if (!labels.names[i].empty()) f.lines[i].name = labels.names[i];
  }
  f.bandStyle = labels.bandStyle;
  if (!labels.showCrossing) {
    f.bracket.reset();
    f.meeting.reset();
  }
  return f;
}

}  // namespace marvane
