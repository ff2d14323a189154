#include "stats/inference.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "shell/number_text.h"

namespace marvane::stats {

double Covariance(const std::vector<double>& a, const std::vector<double>& b, const WeightCovariance& v) {
  // Summed in long double: the variance of a predicted value of an
  // uncentred three-way fit is up to 1e8 times smaller than the terms that
  // make it, and a sum in doubles keeps only about eight of its digits.
  // A sum beyond the double range comes back as an infinity.
  long double sum = 0;
  for (std::size_t i = 0; i < a.size() && i < v.size; ++i) {
    if (a[i] == 0) continue;
    long double inner = 0;
    for (std::size_t j = 0; j < b.size() && j < v.size; ++j) {
      if (b[j] != 0) inner += static_cast<long double>(v.At(i, j)) * b[j];
    }
    sum += a[i] * inner;
  }
  return static_cast<double>(sum);
}

double Variance(const std::vector<double>& c, const WeightCovariance& v) { return Covariance(c, c, v); }

std::vector<double> Difference(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> out(std::max(a.size(), b.size()), 0.0);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = (i < a.size() ? a[i] : 0.0) - (i < b.size() ? b[i] : 0.0);
  }
  return out;
}

bool Computable(const std::vector<double>& c, const WeightCovariance& v) {
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (c[i] != 0 && (i >= v.known.size() || !v.known[i])) return false;
  }
  return true;
}

double AffineVariance::At(double x) const {
  // x = 0 or a zero Var(b) adds exactly nothing, even where x^2 would
  // overflow.
  const double linear = cab == 0 ? 0.0 : 2 * x * cab;
  const double square = vb == 0 ? 0.0 : x * x * vb;
  const double v = va + linear + square;
  if (!std::isfinite(v) || !std::isfinite(linear) || !std::isfinite(square)) return HUGE_VAL;
  const double scale = std::fabs(va) + std::fabs(linear) + std::fabs(square);
  return std::fabs(v) <= scale * 1e-12 ? 0.0 : v;
}

std::optional<double> AffineVariance::Narrowest() const {
  if (!(vb > 0)) return std::nullopt;
  const double x = -cab / vb;
  return std::isfinite(x) ? std::optional<double>(x) : std::nullopt;
}

bool AffineVariance::Finite() const { return std::isfinite(va) && std::isfinite(cab) && std::isfinite(vb); }

AffineVariance VarianceOfAffine(const std::vector<double>& a, const std::vector<double>& b, const WeightCovariance& v) {
  return {Variance(a, v), Covariance(a, b, v), Variance(b, v)};
}

bool HasNumbers(const Test& t) { return t.state == Test::State::Tested || t.state == Test::State::NotTestable; }

namespace {

Test WithState(Test::State state) {
  Test t;
  t.state = state;
  return t;
}

// The SE, statistic and interval of an estimate with its variance, and with
// `withP` also its p value.
Test FromVariance(double estimate, double variance, const Reference& r, double critical, bool withP) {
  // Infinity or NaN here means a product or a sum left the double range.
  if (!std::isfinite(estimate) || !std::isfinite(variance)) return WithState(Test::State::BeyondRange);
  Test t;
  t.estimate = estimate;
  t.variance = variance;
  if (variance < 0) {
    t.state = Test::State::NegativeVariance;
    return t;
  }
  if (variance == 0) {
    t.state = Test::State::NotTestable;
    return t;
  }
  // A positive variance, however small, has a positive root: the smallest
  // subnormal gives about 2e-162.
  const double se = std::sqrt(variance);
  const double stat = estimate / se;
  const double half = critical * se;
  const double lower = estimate - half, upper = estimate + half;
  if (!std::isfinite(stat) || !std::isfinite(lower) || !std::isfinite(upper)) {
    return WithState(Test::State::BeyondRange);
  }
  t.se = se;
  t.stat = stat;
  t.lower = lower;
  t.upper = upper;
  if (withP) t.p = t.pHolm = TwoSidedP(stat, r);
  return t;
}

// The predicted value M + xL of a line, its variance from the line's
// intercept M and slope L.
Test PredictedValue(const ProbeLine& line, double x, const std::vector<ModelWeight>& w, const WeightCovariance& v,
                    const Reference& r, double critical) {
  if (!Computable(line.intercept, v) || (x != 0 && !Computable(line.slope, v))) {
    return WithState(Test::State::NeedsUnknown);
  }
  const double slope = Combine(line.slope, w), intercept = Combine(line.intercept, w);
  const double estimate = slope == 0 ? intercept : intercept + x * slope;
  return FromVariance(estimate, VarianceOfAffine(line.intercept, line.slope, v).At(x), r, critical, false);
}

void AdjustPairs(std::vector<Row>& rows) {
  std::vector<double> family;
  for (const Row& row : rows) {
    if (row.test.state == Test::State::Tested) family.push_back(row.test.p);
  }
  const std::vector<double> adjusted = Holm(family);
  std::size_t next = 0;
  for (Row& row : rows) {
    if (row.test.state == Test::State::Tested) row.test.pHolm = adjusted[next++];
  }
}

}  // namespace

std::vector<Table> EmptyTables() {
  using K = Table::Kind;
  auto table = [](K kind, const char* id, const char* title, const char* letter, const char* sentence) {
    const bool pairs = kind == K::SlopeDifferences || kind == K::InterceptDifferences;
    return Table{.kind = kind, .id = id, .title = title, .first = pairs ? "lines" : "line", .letter = letter,
                 .sentence = sentence, .holm = pairs, .points = kind == K::Points, .rows = {}};
  };
  return {table(K::Slopes, "slopes", "Simple slopes", "b", ""),
          table(K::Intercepts, "intercepts", "Simple intercepts", "a", ""),
          table(K::Points, "points", "Predicted values", "", ""),
          table(K::SlopeDifferences, "slopeDifferences", "Slope differences", "b", ", difference in slope"),
          table(K::InterceptDifferences, "interceptDifferences", "Intercept differences", "a",
                ", difference in intercept")};
}

namespace {

// What a table's row is, in the words of the problem line: "the slope For
// 1 std above the mean of Z".
std::string RowWords(const Table& t, const Row& row) {
  switch (t.kind) {
    case Table::Kind::Slopes: return "the slope " + row.name;
    case Table::Kind::Intercepts: return "the intercept " + row.name;
    case Table::Kind::Points: return "the predicted value " + row.name + " at X = " + NumberToText(row.x);
    case Table::Kind::SlopeDifferences: return "the slope difference " + row.name;
    case Table::Kind::InterceptDifferences: return "the intercept difference " + row.name;
  }
  return row.name;
}

// The first problem in table order: a negative variance before anything
// beyond the double range.
std::string FirstProblem(const std::vector<Table>& tables) {
  for (const Test::State wanted : {Test::State::NegativeVariance, Test::State::BeyondRange}) {
    for (const Table& t : tables) {
      for (const Row& row : t.rows) {
        if (row.test.state != wanted) continue;
        if (wanted == Test::State::NegativeVariance) {
          return "the variance of " + RowWords(t, row) + " comes out negative (" + NumberToText(row.test.variance) +
                 ")";
        }
        return "the numbers of " + RowWords(t, row) + " are beyond the range of double precision";
      }
    }
  }
  return {};
}

// c . weights with its test, the critical value of `r` given.
Test Evaluate(const std::vector<double>& c, const std::vector<ModelWeight>& w, const WeightCovariance& v,
              const Reference& r, double critical) {
  if (!Computable(c, v)) return WithState(Test::State::NeedsUnknown);
  return FromVariance(Combine(c, w), Variance(c, v), r, critical, true);
}

}  // namespace

Test TestCombination(const std::vector<double>& c, const std::vector<ModelWeight>& weights, const WeightCovariance& v,
                     const Reference& r) {
  return Evaluate(c, weights, v, r, Critical(r));
}

std::vector<double> Holm(const std::vector<double>& p) {
  const std::size_t m = p.size();
  auto given = [&](std::size_t i) { return p[i] >= 0 && p[i] <= 1 ? p[i] : 1.0; };
  // The p values in increasing order, ties in their given order.
  std::vector<std::size_t> order(m);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return given(a) < given(b); });
  std::vector<double> adjusted(m);
  double running = 0;
  for (std::size_t rank = 0; rank < m; ++rank) {
    const std::size_t i = order[rank];
    running = std::max(running, std::min(1.0, static_cast<double>(m - rank) * given(i)));
    adjusted[i] = running;
  }
  return adjusted;
}

Tables Analyse(const Probe& probe, const WeightCovariance& v, const Reference& r) {
  using K = Table::Kind;
  Tables t;
  t.list = EmptyTables();
  auto rows = [&](K kind) -> std::vector<Row>& { return t.list[static_cast<std::size_t>(kind)].rows; };
  const std::vector<ModelWeight>& w = probe.weights;
  const std::size_t n = probe.lines.size();
  const double critical = Critical(r);
  for (const ProbeLine& line : probe.lines) {
    rows(K::Slopes).push_back({line.name, Evaluate(line.slope, w, v, r, critical)});
    rows(K::Intercepts).push_back({line.name, Evaluate(line.intercept, w, v, r, critical)});
    std::vector<double> xs{probe.meanX - probe.stdx, probe.meanX + probe.stdx};
    if (probe.meanXTyped) xs.insert(xs.begin() + 1, probe.meanX);
    for (const double x : xs) rows(K::Points).push_back({line.name, PredictedValue(line, x, w, v, r, critical), x});
  }
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t l = k + 1; l < n; ++l) {
      const ProbeLine& a = probe.lines[k];
      const ProbeLine& b = probe.lines[l];
      const std::string name = PairName(a, b);
      rows(K::SlopeDifferences).push_back({name, Evaluate(Difference(a.slope, b.slope), w, v, r, critical), 0, k, l});
      rows(K::InterceptDifferences)
          .push_back({name, Evaluate(Difference(a.intercept, b.intercept), w, v, r, critical), 0, k, l});
    }
  }
  for (Table& table : t.list) {
    if (table.holm) AdjustPairs(table.rows);
  }
  t.problem = FirstProblem(t.list);
  return t;
}

}  // namespace marvane::stats
