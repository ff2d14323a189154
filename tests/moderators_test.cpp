// The lines at moderator values the user chooses, the predictors' means,
// the observed ranges and the regions that control the false-discovery rate,
// through the whole analysis step, against R. tests/data/r_moderators.R
// printed tests/data/r_moderators.txt from uncentred fits of R's own
// datasets, one per form: emmeans for every line, predicted value and
// difference, the Johnson-Neyman bounds found by scanning the t statistic,
// Fieller's sets of the crossings, and the critical t of Esarey and
// Sumner's fdrInteraction (R package interactionTest). Here each form's
// probe is built by the form's own builder from R's weights, the covariance
// matrix is pasted as text, and the choices are typed as text, as the plot
// window hands them to Analyse.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "r_fit.h"

namespace marvane {
namespace {

using Fields = std::vector<std::string>;

struct Fit : rdata::RFit {
  std::string df;
};

// One choice of the user on one fit, and what R printed for it.
struct Case {
  Fields typed;  // the case line: id, form, moderators, k, values, valuesV, meanX, meanZ, meanV, effect,
                 // observed from, to, observed X from, to
  std::vector<Fields> rows;
  const std::string& Id() const { return typed[1]; }
  const std::string& Form() const { return typed[2]; }
};

struct RData {
  std::map<std::string, Fit> fits;
  std::vector<Case> cases;
};

Fields Split(const std::string& line) {
  Fields out;
  std::size_t from = 0;
  for (std::size_t at; (at = line.find('\t', from)) != std::string::npos; from = at + 1) {
    out.push_back(line.substr(from, at - from));
  }
  out.push_back(line.substr(from));
  return out;
}

double Num(const std::string& s) {
  if (s == "NA") return std::numeric_limits<double>::quiet_NaN();
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  EXPECT_EQ(*end, '\0') << "not a number: " << s;
  return v;
}

std::vector<double> Nums(const Fields& f, std::size_t from) {
  std::vector<double> v;
  for (std::size_t i = from; i < f.size(); ++i) v.push_back(Num(f[i]));
  return v;
}

void ReadFitLine(RData& d, const Fields& f) {
  Fit& fit = d.fits[f.at(1)];
  const std::string& key = f[0];
  if (key == "fit") {
    fit.df = f.at(2);
  } else if (key == "weight") {
    fit.boxes.push_back(f.at(2));
    fit.weights[f[2]] = Num(f.at(3));
  } else if (key == "vcov") {
    fit.vcov[f.at(2)] = Nums(f, 3);
  } else if (key == "sd") {
    fit.stdx = Num(f.at(2));
    fit.stdz = Num(f.at(3));
    fit.stdv = Num(f.at(4));
  } else if (key == "zvalues") {
    fit.zvalues = Nums(f, 2);
  } else if (key == "held") {
    fit.held = Nums(f, 2);
  }
}

const RData& Data() {
  static const RData data = [] {
    RData d;
    std::ifstream file(MARVANE_TEST_DATA "/r_moderators.txt");
    EXPECT_TRUE(file) << "cannot open " MARVANE_TEST_DATA "/r_moderators.txt";
    std::string line;
    while (std::getline(file, line)) {
      if (line.empty() || line[0] == '#') continue;
      const Fields f = Split(line);
      if (f[0] == "case") {
        EXPECT_EQ(f.size(), 15u) << line;
        d.cases.push_back({f, {}});
      } else if (d.cases.empty()) {
        ReadFitLine(d, f);
      } else {
        EXPECT_EQ(f.at(1), d.cases.back().Id()) << line;
        d.cases.back().rows.push_back(f);
      }
    }
    return d;
  }();
  return data;
}

const Case& FindCase(const std::string& id) {
  for (const Case& c : Data().cases) {
    if (c.Id() == id) return c;
  }
  ADD_FAILURE() << "no case " << id;
  static const Case none;
  return none;
}

// ---- The form's probe and what the window holds -----------------------------

Probe BuildProbe(const std::string& form, const Fit& f) { return rdata::ProbeOfFit(form, f); }

Probe FormProbe(const Case& c) { return BuildProbe(c.Form(), Data().fits.at(c.Form())); }

// R's matrix as the user pastes it: bare rows of 17-digit numbers in the
// probe's order of weights, each pasted row chosen for its weight.
void Paste(AnalysisInput& in, const Probe& p, const Fit& f) {
  const std::size_t n = p.weights.size();
  in.pasted.clear();
  in.mapping = MappingChoice{};
  for (std::size_t i = 0; i < n; ++i) {
    const std::vector<double>& row = f.vcov.at(p.weights[i].box);
    for (std::size_t j = 0; j < n; ++j) {
      std::size_t col = 0;
      while (f.boxes.at(col) != p.weights[j].box) ++col;
      char cell[40];
      std::snprintf(cell, sizeof cell, "%.17g ", row.at(col));
      in.pasted += cell;
    }
    in.pasted += "\n";
    in.mapping->rows.push_back("row " + std::to_string(i + 1));
    in.mapping->rowOf.push_back(static_cast<int>(i));
  }
}

ModeratorChoice Moderators(const std::string& word) {
  if (word == "meansd") return ModeratorChoice::MeanSd;
  if (word == "typed") return ModeratorChoice::Typed;
  return ModeratorChoice::AsOnForm;
}

// The window's boxes as the case types them; the observed values only when
// asked for.
AnalysisInput Typed(const Case& c, const Probe& p, bool observed, bool fdr) {
  const Fields& t = c.typed;
  AnalysisInput in;
  Paste(in, p, Data().fits.at(c.Form()));
  in.df = Data().fits.at(c.Form()).df;
  in.level = "95";
  in.lines = {.moderators = Moderators(t[3]), .sdMultiple = t[4], .values = t[5], .valuesV = t[6], .meanX = t[7],
              .meanZ = t[8], .meanV = t[9]};
  in.regionEffect = std::stoi(t[10]) - 1;
  if (observed) {
    in.observedFrom = t[11];
    in.observedTo = t[12];
    in.observedXFrom = t[13];
    in.observedXTo = t[14];
  }
  in.fdr = fdr;
  return in;
}

// ---- Comparing ------------------------------------------------------------------

constexpr double kTolerance = 1e-9;

bool Close(double ours, double r) { return std::fabs(ours - r) <= kTolerance * std::fabs(r); }

// R's pt gives 0 below the smallest normal double; Boost goes on into the
// subnormal numbers.
bool CloseP(double ours, double r) {
  if (r == 0) return ours >= 0 && ours < std::numeric_limits<double>::min();
  return Close(ours, r);
}

#define EXPECT_CLOSE(ours, r, where) \
  EXPECT_PRED2(Close, ours, r) << (where) << " (" #ours ") off by " << ((ours) - (r)) / (r)

std::vector<std::string> CaseIds() {
  std::vector<std::string> ids;
  for (const Case& c : Data().cases) ids.push_back(c.Id());
  return ids;
}

class AgainstR : public ::testing::TestWithParam<std::string> {};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// estimate, SE, t, p, lower, upper from r[at] on.
void ExpectTest(const stats::Test& t, const Fields& r, std::size_t at, const std::string& where) {
  ASSERT_EQ(t.state, stats::Test::State::Tested) << where;
  EXPECT_CLOSE(t.estimate, Num(r.at(at)), where);
  EXPECT_CLOSE(t.se, Num(r.at(at + 1)), where);
  EXPECT_CLOSE(t.stat, Num(r.at(at + 2)), where);
  EXPECT_PRED2(CloseP, t.p, Num(r.at(at + 3))) << where << " (p)";
  EXPECT_CLOSE(t.lower, Num(r.at(at + 4)), where);
  EXPECT_CLOSE(t.upper, Num(r.at(at + 5)), where);
}

// Every table: the lines' slopes and intercepts, the predicted values at
// meanX - SD, (meanX,) meanX + SD, the differences of every pair with Holm.
TEST_P(AgainstR, EveryTableCell) {
  const Case& c = FindCase(GetParam());
  const Probe form = FormProbe(c);
  const Analysis a = Analyse(form, Typed(c, form, true, false));
  ASSERT_TRUE(a.ready) << a.covarianceStatus.text;
  EXPECT_FALSE(a.notice.problem) << a.notice.text;
  EXPECT_EQ(a.tables.problem, "");
  using K = stats::Table::Kind;
  std::map<std::string, std::size_t> counted;
  std::size_t point = 0;
  for (const Fields& r : c.rows) {
    const std::string& key = r[0];
    const bool pair = key == "slopediff" || key == "interceptdiff";
    if (key != "slope" && key != "intercept" && key != "point" && !pair) continue;
    const std::string where = c.Id() + " " + key + " " + r.at(2) + (pair ? "-" + r[3] : "");
    const std::size_t k = std::stoul(r.at(2)) - 1;
    if (key == "slope" || key == "intercept") {
      const std::vector<stats::Row>& rows = a.tables.Rows(key == "slope" ? K::Slopes : K::Intercepts);
      ASSERT_LT(k, rows.size()) << where;
      EXPECT_EQ(rows[k].name, a.probe.lines.at(k).name) << where;
      ExpectTest(rows[k].test, r, 3, where);
    } else if (key == "point") {
      const std::vector<stats::Row>& rows = a.tables.Rows(K::Points);
      ASSERT_LT(point, rows.size()) << where;
      const stats::Row& p = rows[point++];
      EXPECT_EQ(p.name, a.probe.lines.at(k).name) << where;
      EXPECT_CLOSE(p.x, Num(r.at(3)), where);
      ASSERT_EQ(p.test.state, stats::Test::State::Tested) << where;
      EXPECT_CLOSE(p.test.estimate, Num(r.at(4)), where);
      EXPECT_CLOSE(p.test.se, Num(r.at(5)), where);
      EXPECT_CLOSE(p.test.stat, Num(r.at(6)), where);
      EXPECT_CLOSE(p.test.lower, Num(r.at(8)), where);
      EXPECT_CLOSE(p.test.upper, Num(r.at(9)), where);
    } else {
      const std::size_t l = std::stoul(r.at(3)) - 1;
      const stats::Row* pair = nullptr;
      for (const stats::Row& row : a.tables.Rows(key == "slopediff" ? K::SlopeDifferences : K::InterceptDifferences)) {
        if (row.k == k && row.l == l) pair = &row;
      }
      ASSERT_NE(pair, nullptr) << where;
      ExpectTest(pair->test, {r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[9], r[10]}, 4, where);
      EXPECT_PRED2(CloseP, pair->test.pHolm, Num(r.at(8))) << where << " (p Holm)";
    }
    ++counted[key];
  }
  // The lines drawn and copied: R's slope and intercept, and the plotting
  // points at the first and last X of the predicted values.
  std::map<std::size_t, std::vector<const Fields*>> points;
  for (const Fields& r : c.rows) {
    if (r[0] == "point") points[std::stoul(r[2]) - 1].push_back(&r);
  }
  for (const Fields& r : c.rows) {
    if (r[0] != "slope" && r[0] != "intercept") continue;
    const SimpleEffectLine& line = a.probe.lines.at(std::stoul(r[2]) - 1).line;
    EXPECT_CLOSE(r[0] == "slope" ? line.slope : line.intercept, Num(r.at(3)), c.Id() + " line " + r[2]);
  }
  for (const auto& [k, rows] : points) {
    const SimpleEffectLine& line = a.probe.lines.at(k).line;
    const std::string where = c.Id() + " line " + std::to_string(k + 1) + " plotting points";
    EXPECT_CLOSE(line.x1, Num(rows.front()->at(3)), where);
    EXPECT_CLOSE(line.y1, Num(rows.front()->at(4)), where);
    EXPECT_CLOSE(line.x2, Num(rows.back()->at(3)), where);
    EXPECT_CLOSE(line.y2, Num(rows.back()->at(4)), where);
  }
  const bool means = !c.typed[7].empty() || !c.typed[8].empty() || !c.typed[9].empty();
  EXPECT_EQ(Has(a.notice.text, "With means typed, the weights must be those of the fit of the predictors as measured"),
            means)
      << a.notice.text;
  // R printed a row for every row of every table.
  const std::size_t lines = a.probe.lines.size(), pairs = lines * (lines - 1) / 2;
  EXPECT_GE(lines, 2u);
  EXPECT_EQ(counted["slope"], lines);
  EXPECT_EQ(counted["intercept"], lines);
  EXPECT_EQ(counted["point"], a.tables.Rows(K::Points).size());
  EXPECT_EQ(a.tables.Rows(K::Points).size(), lines * (c.typed[7].empty() ? 2 : 3));
  EXPECT_EQ(counted["slopediff"], pairs);
  EXPECT_EQ(counted["interceptdiff"], pairs);
  ASSERT_EQ(a.significanceTables.size(), a.tables.list.size());
  for (std::size_t t = 0; t < a.tables.list.size(); ++t) {
    EXPECT_EQ(a.significanceTables[t].rows.size(), a.tables.list[t].rows.size()) << a.tables.list[t].id;
  }
}

// ---- Regions and crossings -----------------------------------------------------

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The rows of a clipboard section, after its title and header.
std::vector<Fields> SectionRows(const std::string& sections, const std::string& title) {
  std::vector<Fields> rows;
  const std::vector<std::string> lines = Lines(sections);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != title) continue;
    for (std::size_t j = i + 2; j < lines.size() && !lines[j].empty(); ++j) rows.push_back(Split(lines[j]));
  }
  return rows;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string Decimals(double v, int places) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.*f", places, v);
  std::string s = buf;
  if (s[0] == '-') s.replace(0, 1, "\u2212");
  return s;
}

std::vector<Fields> RowsOf(const Case& c, const std::string& key) {
  std::vector<Fields> out;
  for (const Fields& r : c.rows) {
    if (r[0] == key) out.push_back(r);
  }
  return out;
}

// A region's kind and bounds against R's: kind, bound 1, bound 2 from r[at].
void ExpectRegion(const stats::Region& g, const Fields& r, std::size_t at, const std::string& where) {
  EXPECT_EQ(stats::KindName(g.kind), r.at(at)) << where;
  const double lower = Num(r.at(at + 1)), upper = Num(r.at(at + 2));
  if (!std::isnan(lower)) {
    EXPECT_CLOSE(g.lower, lower, where);
  }
  if (!std::isnan(upper)) {
    EXPECT_CLOSE(g.upper, upper, where);
  }
}

// The part of a region's note on bound j (1 or 2), or "".
std::string NotePart(const std::string& note, std::size_t j) {
  const std::string head = "bound " + std::to_string(j) + ": ";
  const std::size_t at = note.find(head);
  return at == std::string::npos ? "" : note.substr(at, note.find("; ", at) - at);
}

// What the note and sentence of region row i say of its bounds: beyond the
// observed values (where R says it is), or, where no observed values apply,
// far from the typical values when R counts it more than 3 SD from the mean.
void ExpectBoundNotes(const Analysis& a, const Fields& r, bool observedApplies, const std::string& where) {
  const std::size_t i = std::stoul(r.at(2)) - 1;
  const std::string& along = r.at(3);
  const std::string note = a.regionsTable.rows.at(i).back();
  const std::string sentence = Lines(a.regionsText).at(i);
  std::size_t beyond = 0, far = 0;
  for (std::size_t j = 1; j <= 2; ++j) {
    const std::string head = "bound " + std::to_string(j) + ": ";
    const double inSd = Num(r.at(6 + j));
    std::string want;
    if (std::isnan(Num(r.at(4 + j)))) {
      want = "";
    } else if (observedApplies) {
      want = Num(r.at(8 + j)) == 1 ? head + "beyond the observed values of " + along : "";
    } else if (!std::isnan(inSd) && std::fabs(inSd) > 3) {
      char sd[40];
      std::snprintf(sd, sizeof sd, "%.3g", std::fabs(inSd));
      want = head + sd + " SD from the mean, far from the typical values of " + along;
    }
    EXPECT_EQ(NotePart(note, j), want) << where << ": " << note;
    beyond += Has(want, "beyond");
    far += Has(want, "far from");
  }
  EXPECT_EQ(Count(sentence, " lies beyond the observed values of " + along + " ("), beyond)
      << where << ": " << sentence;
  EXPECT_EQ(Count(sentence, " SD from the mean, far from the typical values of " + along + "."), far)
      << where << ": " << sentence;
}

// The regions with the observed values typed: kind, bounds, bounds in SD
// from the typed mean (the copied cells), and which bounds lie beyond the
// observed values of the region figure's variable.
TEST_P(AgainstR, RegionsAndObservedValues) {
  const Case& c = FindCase(GetParam());
  const Probe form = FormProbe(c);
  const Analysis a = Analyse(form, Typed(c, form, true, false));
  ASSERT_TRUE(a.ready) << a.covarianceStatus.text;
  const std::vector<Fields> regions = RowsOf(c, "region");
  ASSERT_EQ(a.regions.size(), regions.size());
  const std::vector<Fields> copied = SectionRows(a.sections, "Regions of significance");
  ASSERT_EQ(copied.size(), regions.size()) << a.sections;
  for (const Fields& r : regions) {
    const std::size_t i = std::stoul(r.at(2)) - 1;
    const std::string where = c.Id() + " effect " + r[2];
    const stats::EffectRegion& e = a.regions[i];
    ASSERT_EQ(e.state, stats::Test::State::Tested) << where;
    EXPECT_EQ(e.along, r.at(3)) << where;
    EXPECT_FALSE(e.adjusted) << where;
    ExpectRegion(e.region, r, 4, where);
    // effect, along, held at, kind, bound 1, bound 2, bound 1 in SD, bound 2 in SD
    const Fields& cells = copied[i];
    EXPECT_EQ(cells.at(3), r[4]) << where;
    for (std::size_t j = 0; j < 4; ++j) {
      const double want = Num(r.at(5 + j));
      if (std::isnan(want)) {
        EXPECT_EQ(cells.at(4 + j), "") << where << " cell " << 4 + j;
      } else {
        EXPECT_CLOSE(Num(cells.at(4 + j)), want, where + " cell " + std::to_string(4 + j));
      }
    }
    ExpectBoundNotes(a, r, !std::isnan(Num(r.at(9))), where);
  }
  // The region figure shades what lies outside the observed values, and
  // nothing inside them.
  EXPECT_FALSE(a.regionStatus.problem) << a.regionStatus.text;
  ASSERT_TRUE(a.regionFigure.note.empty()) << a.regionFigure.note;
  const double lo = Num(c.typed[11]), hi = Num(c.typed[12]);
  const figure::Figure& f = a.regionFigure;
  double shaded = 0;
  for (const figure::Span& s : f.unobserved) {
    EXPECT_TRUE(s.to <= lo || s.from >= hi) << c.Id() << ": " << s.from << " to " << s.to;
    shaded += s.to - s.from;
  }
  const double outside = std::max(0.0, std::min(lo, f.xMax) - f.xMin) + std::max(0.0, f.xMax - std::max(hi, f.xMin));
  EXPECT_NEAR(shaded, outside, 1e-9 * (f.xMax - f.xMin)) << c.Id();
}

// Without observed values every bound more than 3 SD from the typed mean
// is said to be far from the typical values.
TEST_P(AgainstR, BoundsFarFromTheTypicalValues) {
  const Case& c = FindCase(GetParam());
  const Probe form = FormProbe(c);
  const Analysis a = Analyse(form, Typed(c, form, false, false));
  ASSERT_TRUE(a.ready) << a.covarianceStatus.text;
  for (const Fields& r : RowsOf(c, "region")) {
    ExpectBoundNotes(a, r, false, c.Id() + " effect " + r[2] + " without observed values");
    EXPECT_FALSE(Has(a.regionsText, "beyond the observed")) << a.regionsText;
  }
}

// With the false-discovery rate controlled, the effects along the region
// figure's variable are found at fdrInteraction's critical t over 100
// values of the observed range, which the notes and sentences state; the
// others stay as they were.
TEST_P(AgainstR, FalseDiscoveryRate) {
  const Case& c = FindCase(GetParam());
  const Probe form = FormProbe(c);
  const Analysis plain = Analyse(form, Typed(c, form, true, false));
  const Analysis a = Analyse(form, Typed(c, form, true, true));
  ASSERT_TRUE(a.ready) << a.covarianceStatus.text;
  ASSERT_EQ(a.regions.size(), plain.regions.size());
  std::vector<bool> adjusted(a.regions.size(), false);
  for (const Fields& r : RowsOf(c, "fdr")) {
    const std::size_t i = std::stoul(r.at(2)) - 1;
    const std::string where = c.Id() + " effect " + r[2] + " FDR";
    adjusted.at(i) = true;
    const stats::EffectRegion& e = a.regions[i];
    EXPECT_TRUE(e.adjusted) << where;
    EXPECT_CLOSE(e.critical, Num(r.at(3)), where);
    ExpectRegion(e.region, r, 4, where);
    char four[40];
    std::snprintf(four, sizeof four, "%.4g", Num(r[3]));
    const std::string& note = a.regionsTable.rows.at(i).back();
    EXPECT_TRUE(Has(note, std::string("false-discovery rate controlled, critical value ") + four)) << where << note;
    const std::string sentence = Lines(a.regionsText).at(i);
    EXPECT_TRUE(Has(sentence, "with the false-discovery rate controlled over the observed values of " + e.along +
                                  ": critical t = " + Decimals(Num(r[3]), 2) + " (Esarey and Sumner 2018)"))
        << where << ": " << sentence;
  }
  for (std::size_t i = 0; i < a.regions.size(); ++i) {
    if (adjusted[i]) continue;
    EXPECT_FALSE(a.regions[i].adjusted) << c.Id() << " effect " << i + 1;
    EXPECT_EQ(a.regions[i].critical, plain.regions[i].critical);
    EXPECT_EQ(a.regions[i].region.kind, plain.regions[i].region.kind);
    EXPECT_EQ(a.regions[i].region.lower, plain.regions[i].region.lower);
    EXPECT_EQ(a.regions[i].region.upper, plain.regions[i].region.upper);
    EXPECT_FALSE(Has(Lines(a.regionsText).at(i), "false-discovery")) << Lines(a.regionsText).at(i);
  }
  // The region figure's effect is along the observed variable: its band is the adjusted one.
  EXPECT_TRUE(adjusted.at(static_cast<std::size_t>(std::stoi(c.typed[10]) - 1)));
  EXPECT_EQ(a.regionFigure.bandLegend, "95% band, FDR-adjusted");
  EXPECT_FALSE(a.regionStatus.problem) << a.regionStatus.text;
}

// Every crossing: X, its SE, Fieller's set, and the verdict against the
// observed values of X, or without them against meanX -+ SD of X.
TEST_P(AgainstR, Crossings) {
  const Case& c = FindCase(GetParam());
  const Probe form = FormProbe(c);
  const Analysis observed = Analyse(form, Typed(c, form, true, false));
  const Analysis plain = Analyse(form, Typed(c, form, false, false));
  const std::vector<Fields> rows = RowsOf(c, "crossing");
  ASSERT_EQ(observed.crossings.size(), rows.size());
  for (const Fields& r : rows) {
    const std::size_t k = std::stoul(r.at(3)) - 1, l = std::stoul(r.at(4)) - 1;
    const std::string where = c.Id() + " crossing " + r[3] + "-" + r[4];
    std::size_t at = observed.crossings.size();
    for (std::size_t i = 0; i < observed.crossings.size(); ++i) {
      const stats::Crossover& x = observed.crossings[i];
      if (r[2] == "all" ? x.allLines : (x.k == k && x.l == l)) at = i;
    }
    ASSERT_LT(at, observed.crossings.size()) << where;
    const stats::Crossover& x = observed.crossings[at];
    ASSERT_EQ(x.state, stats::Test::State::Tested) << where;
    EXPECT_CLOSE(x.x, Num(r.at(5)), where);
    EXPECT_CLOSE(x.se, Num(r.at(6)), where);
    EXPECT_EQ(stats::KindName(x.kind), r.at(7)) << where;
    if (x.kind != stats::Crossover::Kind::Everywhere) {
      EXPECT_CLOSE(x.lower, Num(r.at(8)), where);
      EXPECT_CLOSE(x.upper, Num(r.at(9)), where);
    }
    EXPECT_EQ(stats::VerdictName(observed.verdicts.at(at)), r.at(10)) << where << " against the observed X";
    EXPECT_EQ(stats::VerdictName(plain.verdicts.at(at)), r.at(11)) << where << " against meanX -+ SD";
  }
  if (!rows.empty()) {
    EXPECT_TRUE(Has(observed.crossingsText, "the observed values of X (")) << observed.crossingsText;
    EXPECT_FALSE(Has(plain.crossingsText, "the observed values of X")) << plain.crossingsText;
  }
}

INSTANTIATE_TEST_SUITE_P(Moderators, AgainstR, ::testing::ValuesIn(CaseIds()),
                         [](const auto& info) { return info.param; });

// ---- As on the form ----------------------------------------------------------------

void ExpectSameTest(const stats::Test& a, const stats::Test& b, const std::string& where) {
  EXPECT_EQ(a.state, b.state) << where;
  for (const auto& [x, y] : {std::pair{a.estimate, b.estimate}, {a.se, b.se}, {a.stat, b.stat}, {a.p, b.p},
                             {a.pHolm, b.pHolm}, {a.lower, b.lower}, {a.upper, b.upper}}) {
    EXPECT_EQ(x, y) << where;
  }
}

// "As on the form" shows the form's own lines and effects, every number as
// the tables, regions and crossings give them for the form's probe itself,
// whatever the other boxes of the choice hold.
TEST(Moderators, AsOnTheFormLeavesEveryNumber) {
  std::size_t checked = 0;
  for (const Case& c : Data().cases) {
    if (c.typed[3] != "form" || !c.typed[7].empty() || !c.typed[8].empty() || !c.typed[9].empty()) continue;
    ++checked;
    const Probe form = FormProbe(c);
    AnalysisInput in = Typed(c, form, false, false);
    const Analysis plain = Analyse(form, in);
    in.lines.sdMultiple = "two";
    in.lines.values = "1 2 3 4 5 6 7 8 9";
    in.lines.valuesV = "x";
    const Analysis a = Analyse(form, in);
    ASSERT_TRUE(a.ready) << c.Id() << ": " << a.covarianceStatus.text;
    EXPECT_EQ(a.notice.text, "The figure shows the lines of the last Compute.") << c.Id();
    ASSERT_EQ(a.probe.lines.size(), form.lines.size()) << c.Id();
    for (std::size_t k = 0; k < form.lines.size(); ++k) {
      EXPECT_EQ(a.probe.lines[k].name, form.lines[k].name) << c.Id();
      EXPECT_EQ(a.probe.lines[k].line, form.lines[k].line) << c.Id() << " line " << k + 1;
      EXPECT_EQ(a.probe.lines[k].slope, form.lines[k].slope) << c.Id();
      EXPECT_EQ(a.probe.lines[k].intercept, form.lines[k].intercept) << c.Id();
    }
    ASSERT_EQ(a.probe.effects.size(), form.effects.size()) << c.Id();
    for (std::size_t i = 0; i < form.effects.size(); ++i) {
      const LinearEffect &e = a.probe.effects[i], &f = form.effects[i];
      EXPECT_EQ(e.name + e.along + e.heldAt, f.name + f.along + f.heldAt) << c.Id();
      EXPECT_EQ(e.p, f.p) << c.Id();
      EXPECT_EQ(e.q, f.q) << c.Id();
      EXPECT_EQ(e.sd, f.sd) << c.Id();
      EXPECT_EQ(e.mean, 0) << c.Id();
    }
    // The tables of the form's probe, straight from the engine.
    const stats::Tables own = stats::Analyse(form, a.covariance, a.reference);
    for (std::size_t t = 0; t < own.list.size(); ++t) {
      ASSERT_EQ(a.tables.list[t].rows.size(), own.list[t].rows.size()) << c.Id();
      for (std::size_t r = 0; r < own.list[t].rows.size(); ++r) {
        const std::string where = c.Id() + " " + own.list[t].id + " row " + std::to_string(r + 1);
        EXPECT_EQ(a.tables.list[t].rows[r].name, own.list[t].rows[r].name) << where;
        EXPECT_EQ(a.tables.list[t].rows[r].x, own.list[t].rows[r].x) << where;
        ExpectSameTest(a.tables.list[t].rows[r].test, own.list[t].rows[r].test, where);
      }
    }
    const std::vector<stats::EffectRegion> regions = stats::Regions(form, a.covariance, a.reference);
    ASSERT_EQ(a.regions.size(), regions.size()) << c.Id();
    for (std::size_t i = 0; i < regions.size(); ++i) {
      EXPECT_EQ(a.regions[i].region.kind, regions[i].region.kind) << c.Id();
      EXPECT_EQ(a.regions[i].region.lower, regions[i].region.lower) << c.Id();
      EXPECT_EQ(a.regions[i].region.upper, regions[i].region.upper) << c.Id();
    }
    const std::vector<stats::Crossover> crossings = stats::Crossovers(form, a.covariance, a.reference);
    ASSERT_EQ(a.crossings.size(), crossings.size()) << c.Id();
    for (std::size_t i = 0; i < crossings.size(); ++i) {
      EXPECT_EQ(a.crossings[i].x, crossings[i].x) << c.Id();
      EXPECT_EQ(a.crossings[i].se, crossings[i].se) << c.Id();
      EXPECT_EQ(a.crossings[i].lower, crossings[i].lower) << c.Id();
      EXPECT_EQ(a.crossings[i].upper, crossings[i].upper) << c.Id();
    }
    // Every copied number and sentence is as without the other boxes.
    EXPECT_EQ(a.sections, plain.sections) << c.Id();
    EXPECT_EQ(a.sentences, plain.sentences) << c.Id();
    EXPECT_EQ(LinesSection(a.probe, {}), LinesSection(form, {})) << c.Id();
  }
  EXPECT_EQ(checked, 6u) << "one case as on the form per form";
}

// ---- Problems in words ------------------------------------------------------------

struct ProblemCase {
  const char* why;
  const char* form;
  ModeratorChoice moderators;
  const char* k;
  const char* values;
  const char* valuesV;
  const char* meanX;
  const char* meanZ;
  bool fdr;
  const char* observedFrom;
  const char* observedTo;
  const char* observedXFrom;
  const char* observedXTo;
  const char* told;    // a phrase of the words
  bool linesProblem;   // told over the figure (else under the region figure)
};

class Problems : public ::testing::TestWithParam<ProblemCase> {};

bool Unreadable(const std::string& text) {
  for (const char* bad : {"nan", "NaN", "inf", "Inf"}) {
    if (Has(text, bad)) return true;
  }
  return false;
}

TEST_P(Problems, AreToldInWordsAndTheFormsLinesStay) {
  const ProblemCase& p = GetParam();
  const Case* c = nullptr;
  for (const Case& each : Data().cases) {
    if (each.Form() == p.form && each.typed[3] == "form" && each.typed[7].empty()) c = &each;
  }
  ASSERT_NE(c, nullptr) << p.form;
  const Probe form = FormProbe(*c);
  AnalysisInput in = Typed(*c, form, false, p.fdr);
  in.lines = {.moderators = p.moderators, .sdMultiple = p.k, .values = p.values, .valuesV = p.valuesV,
              .meanX = p.meanX, .meanZ = p.meanZ, .meanV = ""};
  in.observedFrom = p.observedFrom;
  in.observedTo = p.observedTo;
  in.observedXFrom = p.observedXFrom;
  in.observedXTo = p.observedXTo;
  const Analysis a = Analyse(form, in);
  ASSERT_TRUE(a.ready) << p.why << ": " << a.covarianceStatus.text;
  const StatusText& told = p.linesProblem ? a.notice : a.regionStatus;
  EXPECT_TRUE(told.problem) << p.why;
  EXPECT_TRUE(Has(told.text, p.told)) << p.why << ": " << told.text;
  for (const std::string& text : {a.notice.text, a.regionStatus.text, a.regionsText, a.crossingsText, a.sentences}) {
    EXPECT_FALSE(Unreadable(text)) << p.why << ": " << text;
  }
  if (!p.linesProblem) return;
  EXPECT_TRUE(Has(told.text, "The figure shows the form's lines.")) << p.why << ": " << told.text;
  // The form's lines, plotting points and predicted values, with no typed mean taken.
  ASSERT_EQ(a.probe.lines.size(), form.lines.size()) << p.why;
  for (std::size_t k = 0; k < form.lines.size(); ++k) {
    EXPECT_EQ(a.probe.lines[k].line, form.lines[k].line) << p.why << " line " << k + 1;
    EXPECT_EQ(a.probe.lines[k].slope, form.lines[k].slope) << p.why;
    EXPECT_EQ(a.probe.lines[k].intercept, form.lines[k].intercept) << p.why;
  }
  EXPECT_EQ(a.probe.meanX, 0) << p.why;
  const std::vector<stats::Row>& points = a.tables.Rows(stats::Table::Kind::Points);
  ASSERT_EQ(points.size(), 2 * form.lines.size()) << p.why;
  EXPECT_EQ(points[0].x, -form.stdx) << p.why;
  EXPECT_EQ(points[1].x, form.stdx) << p.why;
  for (const LinearEffect& e : a.probe.effects) EXPECT_EQ(e.mean, 0) << p.why;
}

using M = ModeratorChoice;
const char* const kNoK = "The multiple k of the SD must be a number above 0, such as 1 or 2.";
const char* const kEight = "Type one to eight values of Z, separated by commas or blanks, such as -1, 0, 1.";

INSTANTIATE_TEST_SUITE_P(
    Moderators, Problems,
    ::testing::Values(
        ProblemCase{"k not a number", "Quant", M::MeanSd, "two", "", "", "", "", false, "", "", "", "", kNoK, true},
        ProblemCase{"k empty", "Quant", M::MeanSd, "", "", "", "", "", false, "", "", "", "", kNoK, true},
        ProblemCase{"k zero", "Incomplete", M::MeanSd, "0", "", "", "", "", false, "", "", "", "", kNoK, true},
        ProblemCase{"k below zero", "Quant3", M::MeanSd, "-1", "", "", "", "", false, "", "", "", "", kNoK, true},
        ProblemCase{"k beyond the double range", "Quant", M::MeanSd, "1e999", "", "", "", "", false, "", "", "", "",
                    kNoK, true},
        ProblemCase{"no SD of Z on QuantZ", "QuantZ", M::MeanSd, "1", "", "", "", "", false, "", "", "", "",
                    "The lines at the mean \u00b1 k SD of Z need its SD, which this form does not ask for: choose "
                    "typed values of Z.",
                    true},
        ProblemCase{"nine typed values", "Quant", M::Typed, "1", "1 2 3 4 5 6 7 8 9", "", "", "", false, "", "", "",
                    "", kEight, true},
        ProblemCase{"no typed value", "QuantZ", M::Typed, "1", " ", "", "", "", false, "", "", "", "", kEight, true},
        ProblemCase{"a typed value that is no number", "Incomplete", M::Typed, "1", "10, ten", "", "", "", false, "",
                    "", "", "", kEight, true},
        ProblemCase{"no typed value of V", "Quant3", M::Typed, "1", "18 21", "", "", "", false, "", "", "", "",
                    "Type one to eight values of V", true},
        ProblemCase{"nine typed values of V", "Quant3", M::Typed, "1", "18", "1 2 3 4 5 6 7 8 9", "", "", false, "",
                    "", "", "", "Type one to eight values of V", true},
        ProblemCase{"more than 16 combinations", "Quant3", M::Typed, "1", "18 19 20 21 22", "80 85 90 93", "", "",
                    false, "", "", "", "",
                    "The lines are every combination of the values of Z and V: 5 \u00d7 4 = 20 lines, more than 16.",
                    true},
        ProblemCase{"the groups stay", "Mixed2", M::Typed, "1", "1 2", "", "", "", false, "", "", "", "",
                    "The lines of this form are its groups: they stay as on the form.", true},
        ProblemCase{"a mean of Z that is no number", "Quant", M::MeanSd, "1", "", "", "", "150 hp", false, "", "", "",
                    "", "The mean of Z must be a number, such as 3.2, or left empty for 0.", true},
        ProblemCase{"a mean of X that is no number", "Mixed3", M::AsOnForm, "1", "", "", "1e999", "", false, "", "",
                    "", "", "The mean of X must be a number, such as 3.2, or left empty for 0.", true},
        ProblemCase{"a good mean of X beside a mean of Z that is no number", "Quant", M::MeanSd, "1", "", "", "3.2",
                    "x", false, "", "", "", "", "The mean of Z must be a number", true},
        ProblemCase{"FDR without observed values", "Quant", M::AsOnForm, "1", "", "", "", "", true, "", "", "", "",
                    "The regions that control the false-discovery rate need the observed values of Z: type the lowest "
                    "and the highest.",
                    false},
        ProblemCase{"observed values with one end", "Quant", M::AsOnForm, "1", "", "", "", "", false, "52", "", "",
                    "", "The observed values of Z need two numbers, the lowest and the highest", false},
        ProblemCase{"observed values the wrong way round", "Mixed2", M::AsOnForm, "1", "", "", "", "", true, "2",
                    "0.5", "", "", "The observed values of X need two numbers, the lowest and the highest", false},
        ProblemCase{"observed values of X no number", "Quant3", M::AsOnForm, "1", "", "", "", "", false, "17", "27",
                    "fifty", "80", "The observed values of X need two numbers", false}),
    [](const auto& info) {
      std::string n;
      for (const char* c = info.param.why; *c; ++c) n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return n;
    });

}  // namespace
}  // namespace marvane
