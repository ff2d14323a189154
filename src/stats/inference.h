#pragma once

// Tests and intervals of the linear combinations of the regression weights
// that a probe's tables need: simple slopes and intercepts, predicted values
// at the plotting points, and the differences between pairs of lines.
// One engine for all forms; each form states its combinations in its probe.
// Standard library and Boost.Math only.

#include <cstddef>
#include <optional>
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

// a' V b over the weights; a coefficient beyond the matrix counts as 0.
double Covariance(const std::vector<double>& a, const std::vector<double>& b, const WeightCovariance& v);
double Variance(const std::vector<double>& c, const WeightCovariance& v);

// a - b, coefficient by coefficient (the shorter one padded with zeros).
std::vector<double> Difference(const std::vector<double>& a, const std::vector<double>& b);

// Whether every weight with a non-zero coefficient is known.
bool Computable(const std::vector<double>& c, const WeightCovariance& v);

// The variance of an affine effect a + x b as a quadratic in x, from
// Var(a), Cov(a, b) and Var(b). The one formula behind the predicted values,
// the bands, the regions and the crossing's SE.
struct AffineVariance {
  double va = 0, cab = 0, vb = 0;

  // Var(a) + 2x Cov(a, b) + x^2 Var(b). Rounding leaves a variance that is 0
  // in exact arithmetic a few units of the last place on either side: within
  // that it is 0. Infinity where a term leaves the double range.
  double At(double x) const;
  // Where the variance is smallest, when it has a minimum.
  std::optional<double> Narrowest() const;
  bool Zero() const { return va == 0 && cab == 0 && vb == 0; }
  bool Finite() const;
};

AffineVariance VarianceOfAffine(const std::vector<double>& a, const std::vector<double>& b, const WeightCovariance& v);

struct Test {
  enum class State {
    Tested,            // every number below holds
    NotTestable,       // SE is 0 (identical lines): estimate only; the test cells stay empty
    NeedsUnknown,      // needs a weight the matrix has no row for: no numbers
    NegativeVariance,  // its variance comes out negative: no numbers but `estimate` and `variance`
    BeyondRange,       // the estimate, its variance, the statistic or a bound is beyond what a
                       // double holds (weights or variances near 1e308): no numbers
  };
  State state = State::Tested;
  // Every field is finite in every state; a field the state gives no number
  // for keeps its default. pHolm is the p adjusted within its table's family
  // of pairs; elsewhere it is p.
  double estimate = 0, se = 0, stat = 0, p = 1, pHolm = 1, lower = 0, upper = 0;
  double variance = 0;  // c' V c as computed, also when negative
};

// Whether a test has an estimate and an SE to show (Tested or NotTestable).
bool HasNumbers(const Test& t);

// c . weights with its SE, statistic, two-sided p and interval.
Test TestCombination(const std::vector<double>& c, const std::vector<ModelWeight>& weights, const WeightCovariance& v,
                     const Reference& r);

// One row of a table: a line, a predicted value of a line at `x`, or the
// difference of lines k and l (k < l).
struct Row {
  std::string name;
  Test test;
  double x = 0;
  std::size_t k = 0, l = 0;
};

// The tables, each described by data: what its rows are and how they are
// shown, tested and reported.
struct Table {
  enum class Kind { Slopes, Intercepts, Points, SlopeDifferences, InterceptDifferences };
  Kind kind = Kind::Slopes;
  const char* id = "";        // the window's name of its table: "slopes"
  const char* title = "";     // "Simple slopes"
  const char* first = "";     // the header of the name column: "line" or "lines"
  const char* letter = "";    // the estimate's letter in a sentence: "b", "a"; "" for no sentences
  const char* sentence = "";  // what follows a pair's names in a sentence: ", difference in slope"
  bool holm = false;          // a family of pairs, Holm-adjusted
  bool points = false;        // predicted values: X, Y, SE and interval, no test
  std::vector<Row> rows;
};

// The five tables, without rows, in the order of Table::Kind.
std::vector<Table> EmptyTables();

struct Tables {
  std::vector<Table> list = EmptyTables();
  // Set when a combination a table needs has a negative variance: names the
  // first such one, in table order, in words ("the variance of the slope For
  // 1 std above the mean of Z comes out negative (-0.0012)"). Without a
  // negative variance, names the first combination that is BeyondRange.
  // Empty when every combination has its numbers or only lacks an unknown
  // weight.
  std::string problem;

  const std::vector<Row>& Rows(Table::Kind k) const { return list[static_cast<std::size_t>(k)].rows; }
};

// Holm's step-down adjustment of a family of p values, in their order: the
// i-th smallest p (ties in their given order) times (m - i + 1), made
// non-decreasing along that order and capped at 1. A p outside [0, 1] or NaN
// counts as 1.
std::vector<double> Holm(const std::vector<double>& p);

// Every table of the probe. Pairs that are NotTestable are left out of their
// table's Holm family. A predicted value's table shows no test, so its p
// value is not worked out: it keeps its default.
Tables Analyse(const Probe& probe, const WeightCovariance& v, const Reference& r);

}  // namespace marvane::stats
