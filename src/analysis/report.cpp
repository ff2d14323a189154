#include "analysis/report.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "shell/number_text.h"
#include "shell/words.h"

namespace marvane {

using stats::Crossover;
using stats::EffectRegion;
using stats::Reference;
using stats::Region;
using stats::Row;
using stats::Table;
using stats::Tables;
using stats::Test;
using stats::Verdict;
using stats::AlphaText;
using stats::LevelText;

namespace {

constexpr const char* kMinus = "\u2212";

std::string Canonical(double v) { return NumberToText(v); }

// A sentence's number: the table's rounding with a typographic minus.
std::string Word(double v, int decimals) {
  std::string s = Fixed(v, decimals);
  if (!s.empty() && s[0] == '-') s.replace(0, 1, kMinus);
  return s;
}

// A row of the clipboard: its cells tab-separated.
std::string TabRow(const std::vector<std::string>& cells) { return Join(cells, "\t"); }

// The clipboard's cells of a test, after the row's name, in 15-digit text.
std::vector<std::string> CanonicalCells(const Test& t, const Reference& r, bool holm) {
  std::vector<std::string> c;
  const bool tested = t.state == Test::State::Tested;
  const bool numbers = HasNumbers(t);
  c.push_back(numbers ? Canonical(t.estimate) : "");
  c.push_back(numbers ? Canonical(t.se) : "");
  c.push_back(tested ? Canonical(t.stat) : "");
  c.push_back(tested && !r.normal ? Canonical(r.df) : "");
  c.push_back(tested ? Canonical(t.p) : "");
  if (holm) c.push_back(tested ? Canonical(t.pHolm) : "");
  c.push_back(tested ? Canonical(t.lower) : "");
  c.push_back(tested ? Canonical(t.upper) : "");
  return c;
}

std::vector<std::string> PointCells(const Row& row) {
  const Test& y = row.test;
  const bool numbers = HasNumbers(y), tested = y.state == Test::State::Tested;
  return {row.name, Canonical(row.x), numbers ? Canonical(y.estimate) : "", numbers ? Canonical(y.se) : "",
          tested ? Canonical(y.lower) : "", tested ? Canonical(y.upper) : ""};
}

std::string Sentence(const std::string& name, const char* letter, const Test& t, const Reference& r, int decimals,
                     bool holm) {
  std::string s = name + ": " + letter + " = " + Word(t.estimate, decimals) + ", SE = " + Word(t.se, decimals);
  if (t.state != Test::State::Tested) return s + " (no test: the standard error is 0)";
  s += ", " + StatName(r) + " = " + Word(t.stat, 2) + ", " + PPhrase(t.p);
  if (holm) {
    std::string adjusted = PPhrase(t.pHolm);
    adjusted.insert(1, " (Holm)");
    s += ", " + adjusted;
  }
  return s + ", " + LevelText(r.level) + " CI [" + Word(t.lower, decimals) + ", " + Word(t.upper, decimals) + "]";
}

}  // namespace

std::string Fixed(double v, int decimals) {
  if (!std::isfinite(v)) return {};
  decimals = std::clamp(decimals, 0, 17);
  if (std::fabs(v) >= 1e15) return NumberToText(v, 6);
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return NumberToText(v);
  std::string s(buf, end);
  if (s[0] == '-' && s.find_first_not_of("0.", 1) == std::string::npos) s.erase(0, 1);
  return s;
}

std::string PCell(double p, int decimals) {
  if (p < 0.001) return "< .001";
  return Fixed(p, std::max(decimals, 3));
}

std::string PPhrase(double p) {
  if (p < 0.001) return "p < .001";
  std::string s = Fixed(p, 3);
  if (s.rfind("0.", 0) == 0) s.erase(0, 1);
  return "p = " + s;
}

std::string StatName(const Reference& r) {
  if (r.normal) return "z";
  return "t(" + NumberToText(r.df, 6) + ")";
}

std::string StateWords(Test::State s) {
  switch (s) {
    case Test::State::NeedsUnknown: return "needs a weight the matrix has no row for";
    case Test::State::NegativeVariance: return "its variance comes out negative";
    case Test::State::BeyondRange: return "beyond what the program can hold";
    case Test::State::NotTestable: return "standard error 0";
    case Test::State::Tested: break;
  }
  return {};
}

std::vector<std::string> TestCells(const Test& t, const Reference& r, int decimals, bool holm) {
  const std::size_t n = holm ? 8 : 7;
  std::vector<std::string> c;
  switch (t.state) {
    case Test::State::NeedsUnknown:
    case Test::State::NegativeVariance:
    case Test::State::BeyondRange:
      c.push_back(StateWords(t.state));
      break;
    case Test::State::NotTestable:
      c.push_back(Fixed(t.estimate, decimals));
      c.push_back(Fixed(t.se, decimals));
      break;
    case Test::State::Tested:
      c = {Fixed(t.estimate, decimals), Fixed(t.se, decimals), Fixed(t.stat, decimals),
           r.normal ? std::string() : NumberToText(r.df, 6), PCell(t.p, decimals)};
      if (holm) c.push_back(PCell(t.pHolm, decimals));
      c.push_back(Fixed(t.lower, decimals));
      c.push_back(Fixed(t.upper, decimals));
      break;
  }
  c.resize(n);
  return c;
}

std::vector<std::string> TableHeader(const Table& t, const Reference& r) {
  if (t.points) return {"line", "X", "Y", "SE", "lower", "upper"};
  std::vector<std::string> h{t.first, "estimate", "SE", r.normal ? "z" : "t", "df", "p", "lower", "upper"};
  if (t.holm) h.insert(h.begin() + 6, "p Holm");
  return h;
}

std::vector<std::string> RegionsHeader() {
  return {"effect", "along", "held at", "kind", "bound 1", "bound 2", "bound 1 in SD", "bound 2 in SD"};
}

std::vector<std::string> CrossingsHeader() { return {"lines", "X", "SE", "kind", "lower", "upper", "verdict"}; }

std::string Section(const Table& t, const Reference& r) {
  if (std::none_of(t.rows.begin(), t.rows.end(), [](const Row& row) { return HasNumbers(row.test); })) return {};
  std::string out = std::string(t.title) + '\n' + TabRow(TableHeader(t, r));
  if (t.points) {
    for (const Row& row : t.rows) out += '\n' + TabRow(PointCells(row));
    return out;
  }
  for (const Row& row : t.rows) {
    std::vector<std::string> cells{row.name};
    for (std::string& c : CanonicalCells(row.test, r, t.holm)) cells.push_back(std::move(c));
    out += '\n' + TabRow(cells);
  }
  return out;
}

std::vector<std::string> Sentences(const Tables& t, const Reference& r, int decimals) {
  std::vector<std::string> out;
  for (const Table& table : t.list) {
    if (*table.letter == '\0') continue;
    for (const Row& row : table.rows) {
      if (HasNumbers(row.test)) {
        out.push_back(Sentence(row.name + table.sentence, table.letter, row.test, r, decimals, table.holm));
      }
    }
  }
  return out;
}

namespace {

// "p < .05" for the level's two-sided alpha.
std::string AlphaPhrase(const Reference& r) { return "p < " + AlphaText(r.level); }

std::string Subject(const EffectRegion& e) {
  std::string s = e.kind == LinearEffect::Kind::Slope ? "The " + e.name : "The difference " + e.name;
  if (!HeldAtWords(e).empty()) s += " at " + HeldAtWords(e);
  return s;
}

// "below −0.53 and above 3.21" for the bounds b (values or SDs).
std::string Where(Region::Kind k, const std::string& lo, const std::string& hi) {
  switch (k) {
    case Region::Kind::Outside: return "below " + lo + " and above " + hi;
    case Region::Kind::Between: return "between " + lo + " and " + hi;
    case Region::Kind::Above: return "above " + lo;
    case Region::Kind::Below: return "below " + lo;
    default: return {};
  }
}

// The bounds a region has: none, its lower, or both.
std::vector<double> Bounds(const EffectRegion& e) {
  const Region::Kind k = e.region.kind;
  if (k == Region::Kind::Outside || k == Region::Kind::Between) return {e.region.lower, e.region.upper};
  if (k == Region::Kind::Above || k == Region::Kind::Below) return {e.region.lower};
  return {};
}

// A bound in SDs of the variable from its mean.
double InSd(const EffectRegion& e, double bound) { return (bound - e.mean) / e.sd; }

// What a reader should know of bound b: beyond the values observed, or far
// from the typical values (more than 3 SD from the mean) when none are
// typed; empty otherwise.
std::string BoundNote(const EffectRegion& e, double b) {
  if (e.observed) {
    return b < e.observedFrom || b > e.observedTo ? "beyond the observed values of " + AlongWords(e) : "";
  }
  if (e.sd > 0 && std::fabs(InSd(e, b)) > 3) {
    return NumberToText(std::fabs(InSd(e, b)), 3) + " SD from the mean, far from the typical values of " + AlongWords(e);
  }
  return {};
}

}  // namespace

std::vector<std::string> RegionCells(const EffectRegion& e, const std::function<std::string(double)>& write) {
  const std::vector<double> b = Bounds(e);
  const bool sd = e.sd > 0;
  return {KindName(e.region.kind), b.size() > 0 ? write(b[0]) : "", b.size() > 1 ? write(b[1]) : "",
          b.size() > 0 && sd ? write(InSd(e, b[0])) : "", b.size() > 1 && sd ? write(InSd(e, b[1])) : ""};
}

std::string RegionNote(const EffectRegion& e) {
  std::vector<std::string> notes;
  const std::vector<double> b = Bounds(e);
  for (std::size_t i = 0; i < b.size(); ++i) {
    const std::string note = BoundNote(e, b[i]);
    if (!note.empty()) notes.push_back("bound " + std::to_string(i + 1) + ": " + note);
  }
  if (e.adjusted) notes.push_back("false-discovery rate controlled, critical value " + NumberToText(e.critical, 4));
  std::string out;
  for (const std::string& n : notes) out += (out.empty() ? "" : "; ") + n;
  return out;
}

std::vector<std::string> CrossoverCells(const Crossover& c, const std::function<std::string(double)>& write) {
  using K = Crossover::Kind;
  const bool hasLower = c.kind == K::Interval || c.kind == K::Outside || c.kind == K::Above;
  const bool hasUpper = c.kind == K::Interval || c.kind == K::Outside || c.kind == K::Below;
  const double upper = c.kind == K::Below ? c.lower : c.upper;
  return {write(c.se), KindName(c.kind), hasLower ? write(c.lower) : "", hasUpper ? write(upper) : ""};
}

std::string RegionsSection(const std::vector<EffectRegion>& regions) {
  // A column of notes only where a row has one.
  const bool notes = std::any_of(regions.begin(), regions.end(), [](const EffectRegion& e) {
    return e.state == Test::State::Tested && !RegionNote(e).empty();
  });
  std::vector<std::string> header = RegionsHeader();
  if (notes) header.push_back("note");
  std::string out = "Regions of significance\n" + TabRow(header);
  bool any = false;
  for (const EffectRegion& e : regions) {
    if (e.state != Test::State::Tested) continue;
    any = true;
    std::vector<std::string> cells{e.name, e.along, e.heldAt};
    for (std::string& c : RegionCells(e, Canonical)) cells.push_back(std::move(c));
    if (notes) cells.push_back(RegionNote(e));
    out += '\n' + TabRow(cells);
  }
  return any ? out : std::string();
}

std::string CrossoversSection(const std::vector<Crossover>& crossovers, const std::vector<Verdict>& verdicts) {
  std::string out = "Crossovers\n" + TabRow(CrossingsHeader());
  bool any = false;
  for (std::size_t i = 0; i < crossovers.size(); ++i) {
    const Crossover& c = crossovers[i];
    if (c.state != Test::State::Tested) continue;
    any = true;
    std::vector<std::string> cells{c.name, Canonical(c.x)};
    for (std::string& cell : CrossoverCells(c, Canonical)) cells.push_back(std::move(cell));
    cells.push_back(i < verdicts.size() ? VerdictName(verdicts[i]) : "");
    out += '\n' + TabRow(cells);
  }
  return any ? out : std::string();
}

std::string RegionSentence(const EffectRegion& e, const Reference& r, int decimals) {
  const std::string subject = Subject(e);
  std::string alpha = AlphaPhrase(r);
  if (e.adjusted) {
    alpha += ", with the false-discovery rate controlled over the observed values of " + AlongWords(e) + ": critical " +
             (r.normal ? "z" : "t") + " = " + Word(e.critical, 2) + " (Esarey and Sumner 2018)";
  }
  switch (e.state) {
    case Test::State::NeedsUnknown:
      return subject + " has no region: it needs a weight the pasted matrix has no row for.";
    case Test::State::NegativeVariance:
      return subject + " has no region: the variance of its parts comes out negative.";
    case Test::State::NotTestable:
      return subject + " has no region: its standard error is 0.";
    case Test::State::BeyondRange:
      return subject + " has no region: its numbers are beyond what the program can hold.";
    case Test::State::Tested:
      break;
  }
  const Region::Kind k = e.region.kind;
  if (k == Region::Kind::Everywhere) return subject + " is significant (" + alpha + ") for every value of " + AlongWords(e) + ".";
  if (k == Region::Kind::Nowhere) return subject + " is not significant (" + alpha + ") for any value of " + AlongWords(e) + ".";
  std::string s = subject + " is significant (" + alpha + ") for " + AlongWords(e) + " " +
                  Where(k, Word(e.region.lower, decimals), Word(e.region.upper, decimals));
  if (e.sd > 0) {
    s += ", that is " +
         Where(k, Word(InSd(e, e.region.lower), decimals) + " SD", Word(InSd(e, e.region.upper), decimals) + " SD");
  }
  s += ".";
  for (const double b : Bounds(e)) {
    const std::string note = BoundNote(e, b);
    if (note.empty()) continue;
    s += " The bound " + Word(b, decimals) + " lies " + note;
    // With the observed values typed, a note says the bound lies beyond them.
    if (e.observed) {
      s += " (" + Word(e.observedFrom, decimals) + " to " + Word(e.observedTo, decimals) + ")";
    }
    s += ".";
  }
  return s;
}

std::string CrossoverSentence(const Crossover& c, Verdict v, const std::string& rangeWords, const Reference& r,
                              int decimals) {
  const std::string subject = c.allLines ? std::string("The lines cross") : c.name + ": the lines cross";
  switch (c.state) {
    case Test::State::NeedsUnknown:
      return subject + " at X = " + Word(c.x, decimals) +
             "; its interval needs a weight the pasted matrix has no row for.";
    case Test::State::NegativeVariance:
      return subject + " at X = " + Word(c.x, decimals) + "; its interval cannot be computed: a variance comes out negative.";
    case Test::State::NotTestable:
      return subject + " at X = " + Word(c.x, decimals) + "; its interval cannot be computed: the standard error is 0.";
    case Test::State::BeyondRange:
      return subject + " at X = " + Word(c.x, decimals) +
             "; its interval cannot be computed: its numbers are beyond what the program can hold.";
    case Test::State::Tested:
      break;
  }
  std::string s = subject + " at X = " + Word(c.x, decimals) + " (SE = " + Word(c.se, decimals) + "), " + LevelText(r.level) + " CI ";
  switch (c.kind) {
    case Crossover::Kind::Interval:
      s += "[" + Word(c.lower, decimals) + ", " + Word(c.upper, decimals) + "] (Fieller)";
      break;
    case Crossover::Kind::Outside:
      s += "(−∞, " + Word(c.lower, decimals) + "] and [" + Word(c.upper, decimals) + ", ∞) (Fieller)";
      break;
    case Crossover::Kind::Everywhere:
      s += "unbounded: every X (Fieller)";
      break;
    case Crossover::Kind::Below:
      s += "(−∞, " + Word(c.lower, decimals) + "] (Fieller)";
      break;
    case Crossover::Kind::Above:
      s += "[" + Word(c.lower, decimals) + ", ∞) (Fieller)";
      break;
  }
  switch (v) {
    case Verdict::Disordinal: return s + ", within " + rangeWords + ": a disordinal interaction.";
    case Verdict::Ordinal: return s + ", wholly outside " + rangeWords + ": an ordinal interaction.";
    case Verdict::Undetermined: break;
  }
  return s + ", not wholly inside or outside " + rangeWords + ": whether the interaction is disordinal is undetermined.";
}

}  // namespace marvane
