#include "stats/inference.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "shell/number_text.h"

namespace marvane::stats {

double Covariance(const std::vector<double>& a, const std::vector<double>& b, const WeightCovariance& v) {
  // The combinations are mostly zeros (a slope takes two or four weights of
  // sixteen): the nonzero places of b are found once, not once per row.
  std::vector<std::size_t> places;
  places.reserve(std::min(b.size(), v.size));
  for (std::size_t j = 0; j < b.size() && j < v.size; ++j) {
    if (b[j] != 0) places.push_back(j);
  }
  double sum = 0;
  for (std::size_t i = 0; i < a.size() && i < v.size; ++i) {
    if (a[i] == 0) continue;
    for (const std::size_t j : places) sum += a[i] * v.At(i, j) * b[j];
  }
  return sum;
}

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

Test TestCombination(const std::vector<double>& c, const std::vector<ModelWeight>& weights,
                     const WeightCovariance& v, const Reference& r, double critical) {
  if (!Computable(c, v)) return WithState(Test::State::NeedsUnknown);
  const double estimate = Combine(c, weights);
  const double variance = Covariance(c, c, v);
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
  t.p = TwoSidedP(stat, r);
  t.pHolm = t.p;
  t.lower = lower;
  t.upper = upper;
  return t;
}

std::vector<double> Holm(const std::vector<double>& p) {
  const std::size_t m = p.size();
  std::vector<double> given(m);
  for (std::size_t i = 0; i < m; ++i) given[i] = p[i] >= 0 && p[i] <= 1 ? p[i] : 1.0;  // NaN fails both
  std::vector<std::size_t> order(m);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return given[a] < given[b]; });
  std::vector<double> adjusted(m);
  double running = 0;
  for (std::size_t rank = 0; rank < m; ++rank) {
    const std::size_t i = order[rank];
    running = std::max(running, std::min(1.0, static_cast<double>(m - rank) * given[i]));
    adjusted[i] = running;
  }
  return adjusted;
}

namespace {

std::vector<double> Difference(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> d(std::max(a.size(), b.size()), 0.0);
  for (std::size_t i = 0; i < d.size(); ++i) {
    d[i] = (i < a.size() ? a[i] : 0.0) - (i < b.size() ? b[i] : 0.0);
  }
  return d;
}

// M + x * L, coefficient by coefficient.
std::vector<double> AtX(const std::vector<double>& intercept, const std::vector<double>& slope, double x) {
  std::vector<double> c(std::max(intercept.size(), slope.size()), 0.0);
  for (std::size_t i = 0; i < c.size(); ++i) {
    const double m = i < intercept.size() ? intercept[i] : 0.0;
    const double l = i < slope.size() ? slope[i] : 0.0;
    c[i] = l == 0 ? m : m + x * l;  // 0 * x stays out, so a huge x cannot make 0 * inf
  }
  return c;
}

void AdjustPairs(std::vector<PairRow>& rows) {
  std::vector<double> family;
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
  for (const ProbeLine& line : probe.lines) {
    t.slopes.push_back({line.name, TestCombination(line.slope, w, v, r, critical)});
    problems.Note(t.slopes.back().test, [&] { return "the slope " + line.name; });
  }
  for (const ProbeLine& line : probe.lines) {
    t.intercepts.push_back({line.name, TestCombination(line.intercept, w, v, r, critical)});
    problems.Note(t.intercepts.back().test, [&] { return "the intercept " + line.name; });
  }
  for (const ProbeLine& line : probe.lines) {
    for (const double x : {-probe.stdx, probe.stdx}) {
      t.points.push_back({line.name, x, TestCombination(AtX(line.intercept, line.slope, x), w, v, r, critical)});
      problems.Note(t.points.back().y,
                    [&] { return "the predicted value " + line.name + " at X = " + NumberToText(x); });
    }
  }
  const std::size_t n = probe.lines.size();
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t l = k + 1; l < n; ++l) {
      const ProbeLine& a = probe.lines[k];
      const ProbeLine& b = probe.lines[l];
      t.slopeDifferences.push_back({PairName(a, b), k, l, TestCombination(Difference(a.slope, b.slope), w, v, r, critical)});
    }
  }
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t l = k + 1; l < n; ++l) {
      const ProbeLine& a = probe.lines[k];
      const ProbeLine& b = probe.lines[l];
      t.interceptDifferences.push_back(
          {PairName(a, b), k, l, TestCombination(Difference(a.intercept, b.intercept), w, v, r, critical)});
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
