#include "stats/inference.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "shell/number_text.h"

namespace marvane::stats {

namespace {

// The nonzero places of a combination and their coefficients, on the stack
// for a model of up to kPlaces weights (a slope takes two or four weights of
// sixteen).
class Nonzero {
 public:
  Nonzero(const std::vector<double>& c, std::size_t size) {
    const std::size_t width = std::min(c.size(), size);
    if (width > kPlaces) {
      heapPlaces_.resize(width);
      heapValues_.resize(width);
      places_ = heapPlaces_.data();
      values_ = heapValues_.data();
    }
    // Without a branch on each coefficient: whether it is zero follows no
    // pattern a processor could guess.
    // (In locals: the stores through the pointers could otherwise be taken
    // to change the count.)
    std::size_t* places = places_;
    double* values = values_;
    std::size_t count = 0;
    for (std::size_t j = 0; j < width; ++j) {
      places[count] = j;
      values[count] = c[j];
      count += c[j] != 0 ? 1 : 0;
    }
    count_ = count;
    for (std::size_t j = width; j < c.size() && !beyond_; ++j) beyond_ = c[j] != 0;
  }
  std::size_t count() const { return count_; }
  // A nonzero coefficient beyond the matrix's weights.
  bool beyond() const { return beyond_; }
  std::size_t place(std::size_t k) const { return places_[k]; }
  double value(std::size_t k) const { return values_[k]; }

 private:
  static constexpr std::size_t kPlaces = 32;
  std::size_t stackPlaces_[kPlaces];
  double stackValues_[kPlaces];
  std::vector<std::size_t> heapPlaces_;
  std::vector<double> heapValues_;
  std::size_t* places_ = stackPlaces_;
  double* values_ = stackValues_;
  std::size_t count_ = 0;
  bool beyond_ = false;
};

// c' V c over the pairs i <= j: V is symmetric, so each pair i < j counts twice.
double VarianceOf(const Nonzero& nc, const WeightCovariance& v) {
  double sum = 0;
  for (std::size_t k = 0; k < nc.count(); ++k) {
    const double* row = &v.cells[nc.place(k) * v.size];
    double inner = 0;
    for (std::size_t l = k + 1; l < nc.count(); ++l) inner += row[nc.place(l)] * nc.value(l);
    // (diagonal + inner) + inner, not 2 * inner: terms near the double
    // range that cancel still cancel.
    sum += nc.value(k) * ((row[nc.place(k)] * nc.value(k) + inner) + inner);
  }
  return sum;
}

}  // namespace

double Covariance(const std::vector<double>& a, const std::vector<double>& b, const WeightCovariance& v) {
  const Nonzero na(a, v.size), nb(b, v.size);
  double sum = 0;
  for (std::size_t k = 0; k < na.count(); ++k) {
    const double* row = &v.cells[na.place(k) * v.size];
    double inner = 0;
    for (std::size_t l = 0; l < nb.count(); ++l) inner += row[nb.place(l)] * nb.value(l);
    sum += na.value(k) * inner;
  }
  return sum;
}

double Variance(const std::vector<double>& c, const WeightCovariance& v) { return VarianceOf(Nonzero(c, v.size), v); }

bool Computable(const std::vector<double>& c, const WeightCovariance& v) {
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (c[i] != 0 && (i >= v.known.size() || !v.known[i])) return false;
  }
  return true;
}

namespace {

Test WithState(Test::State state) {
  Test t;
  t.state = state;
  return t;
}

}  // namespace

Test TestCombination(const std::vector<double>& c, const std::vector<ModelWeight>& weights,
                     const WeightCovariance& v, const Reference& r) {
  return TestCombination(c, weights, v, r, Critical(r));
}

namespace {

// The SE, statistic and interval of an estimate with its variance, and with
// `withTest` also its p value.
Test FromVariance(double estimate, double variance, const Reference& r, double critical, bool withTest) {
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
  if (withTest) {
    t.p = TwoSidedP(stat, r);
    t.pHolm = t.p;
  }
  return t;
}

// c . weights with its SE and interval, and with `withTest` also its
// statistic and p value.
Test Evaluate(const std::vector<double>& c, const std::vector<ModelWeight>& weights, const WeightCovariance& v,
              const Reference& r, double critical, bool withTest) {
  // One pass finds the nonzero coefficients; whether their weights are
  // known, the estimate (as Combine has it) and the variance use only them.
  const Nonzero nc(c, v.size);
  if (nc.beyond()) {
    // Coefficients beyond the matrix: the general path.
    if (!Computable(c, v)) return WithState(Test::State::NeedsUnknown);
    return FromVariance(Combine(c, weights), VarianceOf(nc, v), r, critical, withTest);
  }
  double estimate = 0;
  for (std::size_t k = 0; k < nc.count(); ++k) {
    const std::size_t i = nc.place(k);
    if (i >= v.known.size() || !v.known[i]) return WithState(Test::State::NeedsUnknown);
    if (i < weights.size()) estimate += nc.value(k) * weights[i].value;
  }
  return FromVariance(estimate, VarianceOf(nc, v), r, critical, withTest);
}

}  // namespace

Test TestCombination(const std::vector<double>& c, const std::vector<ModelWeight>& weights,
                     const WeightCovariance& v, const Reference& r, double critical) {
  return Evaluate(c, weights, v, r, critical, true);
}

std::vector<double> Holm(const std::vector<double>& p) {
  const std::size_t m = p.size();
  // p itself keeps the given values: a p outside [0, 1] is read as 1 where
  // it is used (NaN fails both comparisons).
  auto given = [&](std::size_t i) { return p[i] >= 0 && p[i] <= 1 ? p[i] : 1.0; };
  std::vector<double> adjusted(m);
  // The p values in increasing order, ties in their given order: a table has
  // a few pairs, which an insertion sort puts in order without the buffer
  // std::stable_sort takes from the heap.
  std::vector<std::size_t> order(m);
  std::iota(order.begin(), order.end(), std::size_t{0});
  auto before = [&](std::size_t a, std::size_t b) { return given(a) < given(b); };
  if (m > 32) {
    std::stable_sort(order.begin(), order.end(), before);
  } else {
    for (std::size_t k = 1; k < m; ++k) {
      const std::size_t moving = order[k];
      std::size_t at = k;
      for (; at > 0 && before(moving, order[at - 1]); --at) order[at] = order[at - 1];
      order[at] = moving;
    }
  }
  double running = 0;
  for (std::size_t rank = 0; rank < m; ++rank) {
    const std::size_t i = order[rank];
    running = std::max(running, std::min(1.0, static_cast<double>(m - rank) * given(i)));
    adjusted[i] = running;
  }
  return adjusted;
}

const std::vector<double>& Difference(const std::vector<double>& a, const std::vector<double>& b,
                                      std::vector<double>& out) {
  out.assign(std::max(a.size(), b.size()), 0.0);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = (i < a.size() ? a[i] : 0.0) - (i < b.size() ? b[i] : 0.0);
  }
  return out;
}

namespace {

// M + x * L, coefficient by coefficient, into `out`.
const std::vector<double>& AtX(const std::vector<double>& intercept, const std::vector<double>& slope, double x,
                               std::vector<double>& out) {
  out.assign(std::max(intercept.size(), slope.size()), 0.0);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double m = i < intercept.size() ? intercept[i] : 0.0;
    const double l = i < slope.size() ? slope[i] : 0.0;
    out[i] = l == 0 ? m : m + x * l;  // 0 * x stays out, so a huge x cannot make 0 * inf
  }
  return out;
}

bool HasNumbers(const Test& t) { return t.state == Test::State::Tested || t.state == Test::State::NotTestable; }

// The predicted value M + xL of a line whose intercept M and slope L both
// have numbers: a + x b, with the variance Var(M) + 2x Cov(M, L) + x^2 Var(L)
// (as the bands have it), `covariance` being Cov(M, L). Otherwise the
// combination itself is evaluated.
Test PredictedValue(const ProbeLine& line, double x, const Test& intercept, const Test& slope, double covariance,
                    const std::vector<ModelWeight>& w, const WeightCovariance& v, const Reference& r,
                    double critical, std::vector<double>& scratch) {
  if (!HasNumbers(intercept) || !HasNumbers(slope)) {
    return Evaluate(AtX(line.intercept, line.slope, x, scratch), w, v, r, critical, false);
  }
  // Every number here is finite, so x = 0 or a zero slope adds exactly 0.
  const double variance = intercept.variance + x * (2 * covariance + x * slope.variance);
  return FromVariance(intercept.estimate + x * slope.estimate, variance, r, critical, false);
}

// The pairs of one table, with the combination each was tested as. Lines at
// -1 SD, the mean and +1 SD of one moderator differ by multiples of one
// combination (the slope differences all by multiples of the product's
// weight): a pair whose combination is lambda times an earlier one's has that
// pair's test scaled by lambda, the same t up to its sign and the same p, so
// only one p value is worked out for them all.
class PairTests {
 public:
  PairTests(const std::vector<ModelWeight>& w, const WeightCovariance& v, const Reference& r, double critical)
      : w_(w), v_(v), r_(r), critical_(critical) {}

  Test Of(const std::vector<double>& c) {
    for (const Tested& earlier : tested_) {
      double lambda = 0;
      if (!Multiple(c, earlier.c, lambda)) continue;
      if (auto scaled = Scaled(earlier.test, lambda)) return *scaled;
    }
    const Test t = TestCombination(c, w_, v_, r_, critical_);
    if (t.state == Test::State::Tested) tested_.push_back({c, t});
    return t;
  }

 private:
  struct Tested {
    std::vector<double> c;
    Test test;
  };

  // Whether c = lambda * d coefficient by coefficient, exactly, with lambda
  // not 0.
  static bool Multiple(const std::vector<double>& c, const std::vector<double>& d, double& lambda) {
    if (c.size() != d.size()) return false;
    std::size_t j = 0;
    while (j < d.size() && d[j] == 0) ++j;
    if (j == d.size() || c[j] == 0) return false;
    lambda = c[j] / d[j];
    for (std::size_t i = 0; i < c.size(); ++i) {
      if (c[i] != lambda * d[i]) return false;
    }
    return std::isfinite(lambda);
  }

  // The test of lambda times a tested combination; nothing where a number
  // leaves the double range (the combination is then tested itself).
  static std::optional<Test> Scaled(const Test& t, double lambda) {
    Test s = t;
    s.estimate = lambda * t.estimate;
    s.variance = lambda * lambda * t.variance;
    s.se = std::fabs(lambda) * t.se;
    s.lower = lambda * (lambda < 0 ? t.upper : t.lower);
    s.upper = lambda * (lambda < 0 ? t.lower : t.upper);
    if (!(s.se > 0) || !(s.variance > 0)) return std::nullopt;
    // The earlier pair's statistic up to its sign, worked out again so that
    // it is this pair's estimate over its SE to the last bit.
    s.stat = s.estimate / s.se;
    for (const double x : {s.estimate, s.variance, s.se, s.stat, s.lower, s.upper}) {
      if (!std::isfinite(x)) return std::nullopt;
    }
    return s;
  }

  const std::vector<ModelWeight>& w_;
  const WeightCovariance& v_;
  const Reference& r_;
  double critical_;
  std::vector<Tested> tested_;
};

void AdjustPairs(std::vector<PairRow>& rows) {
  std::vector<double> family;
  family.reserve(rows.size());
  for (const PairRow& row : rows) {
    if (row.test.state == Test::State::Tested) family.push_back(row.test.p);
  }
  const std::vector<double> adjusted = Holm(family);
  std::size_t next = 0;
  for (PairRow& row : rows) {
    if (row.test.state == Test::State::Tested) row.test.pHolm = adjusted[next++];
  }
}

// The first problem in table order: a negative variance before anything
// beyond the double range. The words naming a row are only put together for
// a row that has a problem: this runs on every keystroke in the matrix.
struct ProblemFinder {
  std::string negative, beyond;

  template <typename What>
  void Note(const Test& t, What what) {
    if (t.state == Test::State::NegativeVariance && negative.empty()) {
      negative = "the variance of " + what() + " comes out negative (" + NumberToText(t.variance) + ")";
    } else if (t.state == Test::State::BeyondRange && beyond.empty()) {
      beyond = "the numbers of " + what() + " are beyond the range of double precision";
    }
  }
  std::string Words() const { return negative.empty() ? beyond : negative; }
};

}  // namespace

Tables Analyse(const Probe& probe, const WeightCovariance& v, const Reference& r) {
  Tables t;
  ProblemFinder problems;
  const std::vector<ModelWeight>& w = probe.weights;
  const double critical = Critical(r);
  const std::size_t n = probe.lines.size();
  t.slopes.reserve(n);
  t.intercepts.reserve(n);
  t.points.reserve(2 * n);
  t.slopeDifferences.reserve(n * (n - 1) / 2);
  t.interceptDifferences.reserve(n * (n - 1) / 2);
  std::vector<double> scratch;
  for (const ProbeLine& line : probe.lines) {
    t.slopes.push_back({line.name, TestCombination(line.slope, w, v, r, critical)});
    problems.Note(t.slopes.back().test, [&] { return "the slope " + line.name; });
  }
  for (const ProbeLine& line : probe.lines) {
    t.intercepts.push_back({line.name, TestCombination(line.intercept, w, v, r, critical)});
    problems.Note(t.intercepts.back().test, [&] { return "the intercept " + line.name; });
  }
  for (std::size_t k = 0; k < n; ++k) {
    const ProbeLine& line = probe.lines[k];
    const Test& intercept = t.intercepts[k].test;
    const Test& slope = t.slopes[k].test;
    const double covariance =
        HasNumbers(intercept) && HasNumbers(slope) ? Covariance(line.intercept, line.slope, v) : 0.0;
    for (const double x : {-probe.stdx, probe.stdx}) {
      // The table of predicted values shows no test: no p value is worked out.
      t.points.push_back(
          {line.name, x, PredictedValue(line, x, intercept, slope, covariance, w, v, r, critical, scratch)});
      problems.Note(t.points.back().y,
                    [&] { return "the predicted value " + line.name + " at X = " + NumberToText(x); });
    }
  }
  PairTests slopePairs(w, v, r, critical), interceptPairs(w, v, r, critical);
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t l = k + 1; l < n; ++l) {
      const ProbeLine& a = probe.lines[k];
      const ProbeLine& b = probe.lines[l];
      std::string name = PairName(a, b);
      t.slopeDifferences.push_back({name, k, l, slopePairs.Of(Difference(a.slope, b.slope, scratch))});
      t.interceptDifferences.push_back(
          {std::move(name), k, l, interceptPairs.Of(Difference(a.intercept, b.intercept, scratch))});
    }
  }
  for (const PairRow& row : t.slopeDifferences) {
    problems.Note(row.test, [&] { return "the slope difference " + row.name; });
  }
  for (const PairRow& row : t.interceptDifferences) {
    problems.Note(row.test, [&] { return "the intercept difference " + row.name; });
  }
  AdjustPairs(t.slopeDifferences);
  AdjustPairs(t.interceptDifferences);
  t.problem = problems.Words();
  return t;
}

}  // namespace marvane::stats
