#pragma once

// Tests and intervals of the linear combinations of the regression weights
// that a probe's tables need: simple slopes and intercepts, predicted values
// at the plotting points, and the differences between pairs of lines.
// One engine for all forms; each form states its combinations in its probe.
// Standard library and Boost.Math only.

#include <cstddef>
#include <string>
#include <vector>

#include "models/probe.h"
#include "stats/reference.h"

namespace marvane::stats {

// The covariance matrix of the probe's weights, in the probe's order of
// weights. A weight the pasted matrix has no row for (the constant, when
// SPSS leaves it out) is not known: every combination that needs it has no
// number.
struct WeightCovariance {
  std::size_t size = 0;
  std::vector<double> cells;  // size * size, row-major, 0 where not known
  std::vector<bool> known;    // by weight

  double At(std::size_t i, std::size_t j) const { return cells[i * size + j]; }
};

// a' V b over the weights; the caller makes sure every weight a or b needs
// is known.
double Covariance(const std::vector<double>& a, const std::vector<double>& b, const WeightCovariance& v);
// c' V c, the same as Covariance(c, c, v) but over half the pairs: V is
// symmetric.
double Variance(const std::vector<double>& c, const WeightCovariance& v);

// a - b, coefficient by coefficient (the shorter one padded with zeros),
// into `out`, whose room is reused; returns `out`.
const std::vector<double>& Difference(const std::vector<double>& a, const std::vector<double>& b,
                                      std::vector<double>& out);

// Whether every weight with a non-zero coefficient is known.
bool Computable(const std::vector<double>& c, const WeightCovariance& v);

struct Test {
  enum class State {
    Tested,        // every number below holds
    NotTestable,   // SE is 0 (identical lines): estimate only; the test cells stay empty
    NeedsUnknown,  // needs a weight the matrix has no row for: no numbers
    NegativeVariance,  // its variance comes out negative: no numbers but `estimate` and `variance`
    BeyondRange,   // the estimate, its variance, the statistic or a bound is beyond the
                   // double range (weights or variances near 1e308): no numbers
  };
  State state = State::Tested;
  // Every field is finite in every state; a field the state gives no number
  // for keeps its default. pHolm is the p adjusted within its table's family
  // of pairs; a slope, intercept or predicted value is a family of its own,
  // so there it is p.
  double estimate = 0, se = 0, stat = 0, p = 1, pHolm = 1, lower = 0, upper = 0;
  double variance = 0;  // c' V c as computed, also when negative
};

// c . weights with its SE, statistic, two-sided p and interval.
Test TestCombination(const std::vector<double>& c, const std::vector<ModelWeight>& weights,
                     const WeightCovariance& v, const Reference& r);
// The same with the critical value of `r` given, so that a table of many rows
// finds the quantile once.
Test TestCombination(const std::vector<double>& c, const std::vector<ModelWeight>& weights,
                     const WeightCovariance& v, const Reference& r, double critical);

struct LineRow { std::string name; Test test; };
// A predicted value has its estimate, SE, statistic and interval; its table
// shows no test, so no p value is worked out: y.p and y.pHolm keep their
// defaults.
struct PointRow { std::string name; double x = 0; Test y; };
struct PairRow { std::string name; std::size_t k = 0, l = 0; Test test; };

struct Tables {
  std::vector<LineRow> slopes, intercepts;
  std::vector<PointRow> points;  // two rows per line: X = -stdx, then X = stdx
  std::vector<PairRow> slopeDifferences, interceptDifferences;  // k < l
  // Set when a combination a table needs has a negative variance: names the
  // first such one, in the order of the tables above, in words ("the variance
  // of the slope For 1 std above the mean of Z comes out negative
  // (-0.0012)"). Without a negative variance, names the first combination
  // that is BeyondRange. Empty when every combination has its numbers or
  // only lacks an unknown weight.
  std::string problem;
};

// Holm's step-down adjustment of a family of p values, in their order: the
// i-th smallest p (ties in their given order) times (m - i + 1), made
// non-decreasing along that order and capped at 1. A p outside [0, 1] or NaN
// counts as 1.
std::vector<double> Holm(const std::vector<double>& p);

// Every table of the probe. Pairs that are NotTestable are left out of their
// table's Holm family.
Tables Analyse(const Probe& probe, const WeightCovariance& v, const Reference& r);

}  // namespace marvane::stats
