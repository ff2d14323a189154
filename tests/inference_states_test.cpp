// The significance engine's states, Holm's adjustment and the edges of
// double precision, on hand-made probes and matrices whose numbers can be
// checked by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "models/quant.h"
#include "models/quant3.h"
#include "stats/inference.h"

namespace marvane::stats {
namespace {

using State = Test::State;

const Reference kNormal95{.normal = true, .df = 0, .level = 0.95};

WeightCovariance Matrix(std::size_t n, std::vector<double> cells, std::vector<bool> known = {}) {
  WeightCovariance v;
  v.size = n;
  v.cells = std::move(cells);
  v.known = known.empty() ? std::vector<bool>(n, true) : std::move(known);
  return v;
}

WeightCovariance Diagonal(std::vector<double> d, std::vector<bool> known = {}) {
  const std::size_t n = d.size();
  std::vector<double> cells(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i) cells[i * n + i] = d[i];
  return Matrix(n, std::move(cells), std::move(known));
}

std::vector<ModelWeight> Weights(const std::vector<double>& values) {
  std::vector<ModelWeight> w;
  for (std::size_t i = 0; i < values.size(); ++i) {
    w.push_back(MainWeight("w" + std::to_string(i), "weight", "X", values[i]));
  }
  return w;
}

const char* StateName(State s) {
  switch (s) {
    case State::Tested: return "Tested";
    case State::NotTestable: return "NotTestable";
    case State::NeedsUnknown: return "NeedsUnknown";
    case State::NegativeVariance: return "NegativeVariance";
    case State::BeyondRange: return "BeyondRange";
  }
  return "?";
}

// Every double of a test is finite; p values are probabilities; a Tested
// interval is ordered.
void ExpectSane(const Test& t, const std::string& where) {
  for (double x : {t.estimate, t.se, t.stat, t.p, t.pHolm, t.lower, t.upper, t.variance}) {
    EXPECT_TRUE(std::isfinite(x)) << where << ": " << x << " in state " << StateName(t.state);
  }
  EXPECT_GE(t.p, 0) << where;
  EXPECT_LE(t.p, 1) << where;
  EXPECT_GE(t.pHolm, 0) << where;
  EXPECT_LE(t.pHolm, 1) << where;
  if (t.state == State::Tested) {
    EXPECT_LE(t.lower, t.upper) << where;
  }
}

// ---------------------------------------------------------------------------
// One combination: its state and the numbers that state keeps.

struct CombinationCase {
  const char* name;
  std::vector<double> c, weights;
  WeightCovariance v;
  State state;
  double estimate, variance;  // expected where the state keeps them, else 0
};

class Combination : public ::testing::TestWithParam<CombinationCase> {};

TEST_P(Combination, StateAndKeptNumbers) {
  const CombinationCase& k = GetParam();
  const stats::Test t = TestCombination(k.c, Weights(k.weights), k.v, kNormal95);
  EXPECT_EQ(StateName(t.state), std::string(StateName(k.state)));
  EXPECT_DOUBLE_EQ(t.estimate, k.estimate);
  EXPECT_DOUBLE_EQ(t.variance, k.variance);
  ExpectSane(t, k.name);
  if (t.state != State::Tested) {
    // No test cells: the defaults, never a partial number.
    EXPECT_EQ(t.se, 0);
    EXPECT_EQ(t.stat, 0);
    EXPECT_EQ(t.p, 1);
    EXPECT_EQ(t.lower, 0);
    EXPECT_EQ(t.upper, 0);
  }
}

const double kMax = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    States, Combination,
    ::testing::Values(
        CombinationCase{"unknown constant with a coefficient", {1, 1}, {2, 3}, Diagonal({1, 1}, {false, true}),
                        State::NeedsUnknown, 0, 0},
        CombinationCase{"unknown constant not needed", {0, 1}, {2, 3}, Diagonal({1, 4}, {false, true}),
                        State::Tested, 3, 4},
        CombinationCase{"a coefficient beyond the matrix", {0, 1, 1}, {2, 3, 4}, Diagonal({1, 4}),
                        State::NeedsUnknown, 0, 0},
        CombinationCase{"negative variance", {1, -1}, {2, 3}, Matrix(2, {1, 2, 2, 1}), State::NegativeVariance,
                        -1, -2},
        CombinationCase{"identical lines: all coefficients 0", {0, 0}, {2, 3}, Diagonal({1, 1}),
                        State::NotTestable, 0, 0},
        CombinationCase{"weights without variance", {1, 1}, {2, 3}, Diagonal({0, 0}), State::NotTestable, 5, 0},
        CombinationCase{"variance cancels to 0", {1, 1}, {2, 3}, Matrix(2, {1, -1, -1, 1}), State::NotTestable,
                        5, 0},
        CombinationCase{"estimate overflows", {1, 1}, {1e308, 1e308}, Diagonal({1, 1}), State::BeyondRange, 0, 0},
        CombinationCase{"coefficient times weight overflows", {1e10, 0}, {1e300, 0}, Diagonal({1, 1}),
                        State::BeyondRange, 0, 0},
        CombinationCase{"variance overflows", {1e10, 0}, {1, 0}, Diagonal({1e300, 1}), State::BeyondRange, 0, 0},
        // Four terms of 4 * kMax, beyond the double range, summed in long
        // double: they cancel exactly (in doubles infinity minus infinity
        // was NaN) ...
        CombinationCase{"terms beyond the range cancel", {2, 2}, {1, 1}, Matrix(2, {kMax, kMax, -kMax, -kMax}),
                        State::NotTestable, 4, 0},
        // ... and where they do not, the sum is beyond the range.
        CombinationCase{"terms beyond the range add up", {2, 2}, {1, 1}, Matrix(2, {kMax, kMax, kMax, kMax}),
                        State::BeyondRange, 0, 0},
        // The terms kMax, -kMax, -kMax, kMax sum to 0 without leaving the range.
        CombinationCase{"largest variances cancel", {1, 1}, {1, 1}, Matrix(2, {kMax, -kMax, -kMax, kMax}),
                        State::NotTestable, 2, 0},
        CombinationCase{"statistic overflows", {1, 0}, {1e200, 0}, Diagonal({1e-300, 1}), State::BeyondRange, 0, 0},
        CombinationCase{"huge but finite", {1, 1}, {1e300, 1e300}, Diagonal({1e300, 1e300}), State::Tested, 2e300,
                        2e300},
        CombinationCase{"tiny variance", {1, 0}, {1, 0}, Diagonal({1e-300, 1}), State::Tested, 1, 1e-300},
        CombinationCase{"subnormal variance", {1, 0}, {1e-170, 0}, Diagonal({1e-320, 1}), State::Tested, 1e-170,
                        1e-320}),
    [](const ::testing::TestParamInfo<CombinationCase>& info) {
      std::string n;
      for (const char* c = info.param.name; *c; ++c) n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return n;
    });

// Weights 2 and 3 with Var 1, 2 and Cov 0.5: the sum is 5 with variance
// 1 + 2 + 2 * 0.5 = 4, SE 2 and z = 2.5; the normal tail beyond 2.5 is
// 0.0062096653257761 and the 95% critical value 1.959963984540054.
TEST(Combination, NumbersByHand) {
  const stats::Test t = TestCombination({1, 1}, Weights({2, 3}), Matrix(2, {1, 0.5, 0.5, 2}), kNormal95);
  ASSERT_EQ(t.state, State::Tested);
  EXPECT_DOUBLE_EQ(t.estimate, 5);
  EXPECT_DOUBLE_EQ(t.variance, 4);
  EXPECT_DOUBLE_EQ(t.se, 2);
  EXPECT_DOUBLE_EQ(t.stat, 2.5);
  EXPECT_NEAR(t.p, 2 * 0.0062096653257761, 1e-15);
  EXPECT_NEAR(t.lower, 5 - 2 * 1.959963984540054, 1e-14);
  EXPECT_NEAR(t.upper, 5 + 2 * 1.959963984540054, 1e-14);
  EXPECT_EQ(t.pHolm, t.p);
}

// A tiny variance makes a huge but finite statistic, whose p is 0 and not
// NaN; its interval still brackets the estimate.
TEST(Combination, TinyVarianceGivesZeroP) {
  const stats::Test t = TestCombination({1, 0}, Weights({1, 0}), Diagonal({1e-300, 1}), kNormal95);
  ASSERT_EQ(t.state, State::Tested);
  EXPECT_DOUBLE_EQ(t.stat, 1e150);
  EXPECT_EQ(t.p, 0);
  EXPECT_LE(t.lower, 1);
  EXPECT_GE(t.upper, 1);
}

// ---------------------------------------------------------------------------
// Holm's adjustment on families small enough to work out by hand.

struct HolmCase {
  const char* name;
  std::vector<double> p, adjusted;
};

class HolmFamily : public ::testing::TestWithParam<HolmCase> {};

TEST_P(HolmFamily, ByHand) {
  const HolmCase& k = GetParam();
  const std::vector<double> got = Holm(k.p);
  ASSERT_EQ(got.size(), k.adjusted.size());
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_DOUBLE_EQ(got[i], k.adjusted[i]) << k.name << " at " << i;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Families, HolmFamily,
    ::testing::Values(
        HolmCase{"empty", {}, {}},
        HolmCase{"one", {0.01}, {0.01}},
        // 0.01 * 3, 0.03 * 2, then 0.04 * 1 raised to 0.06.
        HolmCase{"step down, made monotone", {0.01, 0.04, 0.03}, {0.03, 0.06, 0.06}},
        HolmCase{"larger p first", {0.04, 0.01}, {0.04, 0.02}},
        HolmCase{"capped at 1", {0.5, 0.6}, {1, 1}},
        HolmCase{"all tied", {0.02, 0.02, 0.02}, {0.06, 0.06, 0.06}},
        HolmCase{"tie after the smallest", {0.03, 0.01, 0.03}, {0.06, 0.03, 0.06}},
        HolmCase{"zero stays zero", {0, 0.2}, {0, 0.2}},
        HolmCase{"four, the last below its predecessor", {0.001, 0.011, 0.02, 0.015}, {0.004, 0.033, 0.033, 0.033}},
        HolmCase{"NaN and out of range count as 1", {kNaN, 0.01, 1.5}, {1, 0.03, 1}}),
    [](const ::testing::TestParamInfo<HolmCase>& info) { return "case" + std::to_string(info.index); });

// Holm's adjustment against its definition, for families of every size up
// to 40 (a few pairs are sorted one way, many another): the i-th smallest p
// (ties in their given order) is the largest of (m - rank + 1) * p over it
// and the smaller ones, capped at 1.
TEST(Holm, AgreesWithItsDefinitionAtEverySize) {
  unsigned state = 12345;
  auto next = [&] {
    state = state * 1103515245u + 12345u;
    return static_cast<double>((state >> 8) % 1000) / 1000.0;
  };
  for (std::size_t m = 0; m <= 40; ++m) {
    std::vector<double> p(m);
    for (double& x : p) x = next() < 0.2 ? 0.05 : next() / 10;  // ties among them
    std::vector<std::size_t> rank(m);
    for (std::size_t i = 0; i < m; ++i) {
      rank[i] = 0;
      for (std::size_t j = 0; j < m; ++j) rank[i] += p[j] < p[i] || (p[j] == p[i] && j < i) ? 1 : 0;
    }
    const std::vector<double> got = Holm(p);
    ASSERT_EQ(got.size(), m);
    for (std::size_t i = 0; i < m; ++i) {
      double want = 0;
      for (std::size_t j = 0; j < m; ++j) {
        if (rank[j] <= rank[i]) want = std::max(want, std::min(1.0, static_cast<double>(m - rank[j]) * p[j]));
      }
      EXPECT_DOUBLE_EQ(got[i], want) << "family of " << m << ", p " << i;
    }
  }
}

// ---------------------------------------------------------------------------
// Whole probes.

std::vector<const stats::Test*> AllTests(const Tables& t) {
  std::vector<const stats::Test*> all;
  for (const Row& r : t.Rows(Table::Kind::Slopes)) all.push_back(&r.test);
  for (const Row& r : t.Rows(Table::Kind::Intercepts)) all.push_back(&r.test);
  for (const Row& r : t.Rows(Table::Kind::Points)) all.push_back(&r.test);
  for (const Row& r : t.Rows(Table::Kind::SlopeDifferences)) all.push_back(&r.test);
  for (const Row& r : t.Rows(Table::Kind::InterceptDifferences)) all.push_back(&r.test);
  return all;
}

const QuantInputs kQuant{.bx = 0.5, .bz = 0.25, .bxz = 0.125, .a = 2, .stdz = 2, .stdx = 4};
// Var(a, bx, bz, bxz) = 0.04, 0.01, 0.0025, 0.0001, no covariances.
const WeightCovariance kQuantV = Diagonal({0.04, 0.01, 0.0025, 0.0001});

TEST(Analyse, RowsNamesAndOrder) {
  const Probe p = QuantProbe(kQuant);
  const Tables t = Analyse(p, kQuantV, kNormal95);
  ASSERT_EQ(t.Rows(Table::Kind::Slopes).size(), 3u);
  ASSERT_EQ(t.Rows(Table::Kind::Points).size(), 6u);
  ASSERT_EQ(t.Rows(Table::Kind::SlopeDifferences).size(), 3u);
  // Line 1 at Z = +2: slope 0.75, intercept 2.5; its points at X = -4, +4.
  EXPECT_DOUBLE_EQ(t.Rows(Table::Kind::Slopes)[0].test.estimate, 0.75);
  EXPECT_DOUBLE_EQ(t.Rows(Table::Kind::Slopes)[0].test.variance, 0.01 + 4 * 0.0001);
  EXPECT_DOUBLE_EQ(t.Rows(Table::Kind::Intercepts)[0].test.estimate, 2.5);
  EXPECT_EQ(t.Rows(Table::Kind::Points)[0].x, -4);
  EXPECT_EQ(t.Rows(Table::Kind::Points)[1].x, 4);
  EXPECT_DOUBLE_EQ(t.Rows(Table::Kind::Points)[0].test.estimate, 2.5 - 4 * 0.75);
  EXPECT_DOUBLE_EQ(t.Rows(Table::Kind::Points)[1].test.estimate, 2.5 + 4 * 0.75);
  // Var(M + xL) at x = 4: a, bx*4, bz*2, bxz*8.
  EXPECT_DOUBLE_EQ(t.Rows(Table::Kind::Points)[1].test.variance, 0.04 + 16 * 0.01 + 4 * 0.0025 + 64 * 0.0001);
  EXPECT_EQ(t.Rows(Table::Kind::Points)[2].name, p.lines[1].name);
  // Pairs (1,2), (1,3), (2,3), each line k minus line l.
  const std::size_t ks[] = {0, 0, 1}, ls[] = {1, 2, 2};
  for (std::size_t i = 0; i < 3; ++i) {
    const Row& r = t.Rows(Table::Kind::SlopeDifferences)[i];
    EXPECT_EQ(r.k, ks[i]);
    EXPECT_EQ(r.l, ls[i]);
    EXPECT_EQ(r.name, PairName(p.lines[ks[i]], p.lines[ls[i]]));
    EXPECT_DOUBLE_EQ(r.test.estimate, t.Rows(Table::Kind::Slopes)[ks[i]].test.estimate - t.Rows(Table::Kind::Slopes)[ls[i]].test.estimate);
    EXPECT_DOUBLE_EQ(t.Rows(Table::Kind::InterceptDifferences)[i].test.estimate,
                     t.Rows(Table::Kind::Intercepts)[ks[i]].test.estimate - t.Rows(Table::Kind::Intercepts)[ls[i]].test.estimate);
  }
  EXPECT_EQ(t.problem, "");
}

// Without the constant the slopes and even the intercept differences (the
// constant cancels) have numbers; the intercepts and predicted values do not.
TEST(Analyse, UnknownConstant) {
  const Tables t = Analyse(QuantProbe(kQuant), Diagonal({0, 0.01, 0.0025, 0.0001}, {false, true, true, true}),
                           kNormal95);
  for (const Row& r : t.Rows(Table::Kind::Slopes)) EXPECT_EQ(r.test.state, State::Tested) << r.name;
  for (const Row& r : t.Rows(Table::Kind::Intercepts)) EXPECT_EQ(r.test.state, State::NeedsUnknown) << r.name;
  for (const Row& r : t.Rows(Table::Kind::Points)) EXPECT_EQ(r.test.state, State::NeedsUnknown) << r.name;
  for (const Row& r : t.Rows(Table::Kind::InterceptDifferences)) EXPECT_EQ(r.test.state, State::Tested) << r.name;
  EXPECT_EQ(t.problem, "");
}

// Quant3 with stdv = 0 has lines 1 and 2 equal, and 3 and 4: those two
// pairs are NotTestable and the Holm family is the other four pairs.
TEST(Analyse, IdenticalLinesLeaveTheHolmFamily) {
  const Quant3Inputs in{.bx = 1, .bz = 0.5, .bv = 0.25, .bxz = 0.2, .bxv = 0.1, .bzv = 0.05, .bxzv = 0.02,
                        .a = 3, .stdx = 1, .stdz = 2, .stdv = 0};
  const Probe p = Quant3Probe(in);
  const Tables t = Analyse(p, Diagonal({0.1, 0.01, 0.02, 0.03, 0.004, 0.005, 0.006, 0.0007}), kNormal95);
  for (const std::vector<Row>* table : {&t.Rows(Table::Kind::SlopeDifferences), &t.Rows(Table::Kind::InterceptDifferences)}) {
    ASSERT_EQ(table->size(), 6u);
    double smallest = 1;
    for (const Row& r : *table) {
      const bool same = (r.k == 0 && r.l == 1) || (r.k == 2 && r.l == 3);
      EXPECT_EQ(StateName(r.test.state), std::string(same ? "NotTestable" : "Tested")) << r.name;
      if (same) {
        EXPECT_EQ(r.test.estimate, 0) << r.name;
        EXPECT_EQ(r.test.pHolm, 1) << r.name;
      } else {
        smallest = std::min(smallest, r.test.p);
      }
    }
    // The smallest p of a family of four is multiplied by 4, not by 6.
    bool found = false;
    for (const Row& r : *table) {
      if (r.test.state == State::Tested && r.test.p == smallest) {
        EXPECT_DOUBLE_EQ(r.test.pHolm, std::min(1.0, 4 * smallest)) << r.name;
        found = true;
      }
    }
    EXPECT_TRUE(found);
    EXPECT_LT(smallest, 0.25) << "the check needs a p that 4 and 6 tell apart";
  }
}

// Lines whose differences are multiples of one another (a moderator at
// -1 SD, the mean and +1 SD; here also a line beyond them, so that some
// multiples are negative): each pair's test is the one its own combination
// gives, up to rounding, and pairs that are multiples share their p.
TEST(Analyse, PairsThatAreMultiplesOfAnotherAgreeWithTheirOwnTest) {
  Probe p = QuantProbe({.bx = 0.5, .bz = 0.25, .bxz = 0.125, .a = 2, .stdz = 1.7, .stdx = 4});
  ProbeLine beyond = p.lines[0];
  beyond.name = "For Z = 4.1";
  beyond.slope = {0, 1, 0, 4.1};
  beyond.intercept = {1, 0, 4.1, 0};
  p.lines.push_back(beyond);
  const WeightCovariance v = Matrix(4, {0.04, 0.001, 0.002, 0.0001,  //
                                        0.001, 0.01, 0.0003, 0.0002,  //
                                        0.002, 0.0003, 0.0025, 0.00005,  //
                                        0.0001, 0.0002, 0.00005, 0.0001});
  for (const Reference& r : {kNormal95, Reference{.normal = false, .df = 37, .level = 0.9}}) {
    const Tables t = Analyse(p, v, r);
    for (const bool slopes : {true, false}) {
      const std::vector<Row>& rows = slopes ? t.Rows(Table::Kind::SlopeDifferences) : t.Rows(Table::Kind::InterceptDifferences);
      ASSERT_EQ(rows.size(), 6u);
      for (const Row& row : rows) {
        std::vector<double> c(4);
        for (std::size_t i = 0; i < 4; ++i) {
          c[i] = slopes ? p.lines[row.k].slope[i] - p.lines[row.l].slope[i]
                        : p.lines[row.k].intercept[i] - p.lines[row.l].intercept[i];
        }
        const stats::Test own = TestCombination(c, p.weights, v, r);
        const stats::Test& got = row.test;
        ASSERT_EQ(got.state, State::Tested) << row.name;
        for (const auto& [a, b, what] : {std::tuple{got.estimate, own.estimate, "estimate"},
                                          std::tuple{got.se, own.se, "SE"}, std::tuple{got.stat, own.stat, "t"},
                                          std::tuple{got.p, own.p, "p"}, std::tuple{got.lower, own.lower, "lower"},
                                          std::tuple{got.upper, own.upper, "upper"}}) {
          EXPECT_NEAR(a, b, 1e-13 * std::max(1.0, std::fabs(b))) << row.name << " " << what;
        }
      }
      // Every difference is a multiple of bxz (of bz for the intercepts):
      // one |t| and one p for all six pairs.
      for (const Row& row : rows) {
        EXPECT_NEAR(row.test.p, rows[0].test.p, 1e-13) << row.name;
        EXPECT_NEAR(std::fabs(row.test.stat), std::fabs(rows[0].test.stat), 1e-13 * std::fabs(rows[0].test.stat))
            << row.name;
      }
    }
  }
}

// The first negative variance in table order is named, with its value,
// ahead of any overflow.
TEST(Analyse, ProblemNamesTheFirstNegativeVariance) {
  const Probe p = QuantProbe(kQuant);
  // Var(a) = -1: every intercept and predicted value has a negative
  // variance; the slopes are fine, so the first is line 1's intercept.
  const Tables t = Analyse(p, Diagonal({-1, 0.01, 0, 0}), kNormal95);
  EXPECT_EQ(t.Rows(Table::Kind::Slopes)[0].test.state, State::Tested);
  EXPECT_EQ(t.Rows(Table::Kind::Intercepts)[0].test.state, State::NegativeVariance);
  EXPECT_EQ(t.Rows(Table::Kind::Intercepts)[0].test.variance, -1);
  EXPECT_EQ(t.problem, "the variance of the intercept " + p.lines[0].name + " comes out negative (-1)");

  // A negative slope difference comes after the points in table order, but
  // is named when nothing before it is negative.
  const Tables d = Analyse(p, Matrix(4, {0.04, 0, 0, 0, 0, 0.01, 0, 0, 0, 0, 0.0025, 0, 0, 0, 0, -0.0001}),
                           kNormal95);
  EXPECT_EQ(d.problem.rfind("the variance of the slope ", 0), 0u) << d.problem;
  EXPECT_NE(d.problem.find(p.lines[0].name), std::string::npos) << d.problem;
}

// Probes at the edges of double precision: each case says which tables
// must end up BeyondRange; whatever happens, no field is NaN or infinite.
struct ExtremeCase {
  const char* name;
  double bx, bz, bxz, a, stdz, stdx;
  WeightCovariance v;
  bool slopesBeyond, pointsBeyond;
};

class Extreme : public ::testing::TestWithParam<ExtremeCase> {};

Probe HandProbe(const ExtremeCase& k) {
  // Built by hand, since the Quant form itself refuses lines that overflow.
  Probe p;
  p.form = "Quant";
  p.stdx = k.stdx;
  p.weights = {ConstantWeight("a", k.a), MainWeight("bx", "weight of X", "X", k.bx),
               MainWeight("bz", "weight of Z", "Z", k.bz), ProductWeight("bxz", "weight of X*Z", {1, 2}, k.bxz)};
  const double zs[] = {k.stdz, 0, -k.stdz};
  for (int i = 0; i < 3; ++i) {
    p.lines.push_back({.name = "line " + std::to_string(i + 1), .line = {}, .slope = {0, 1, 0, zs[i]},
                       .intercept = {1, 0, zs[i], 0}});
  }
  return p;
}

TEST_P(Extreme, StatesAndNoNaN) {
  const ExtremeCase& k = GetParam();
  for (const Reference& r : {kNormal95, Reference{.normal = false, .df = 1, .level = 0.999999}}) {
    const Tables t = Analyse(HandProbe(k), k.v, r);
    for (const stats::Test* test : AllTests(t)) ExpectSane(*test, k.name);
    EXPECT_EQ(t.Rows(Table::Kind::Slopes)[0].test.state == State::BeyondRange, k.slopesBeyond) << k.name;
    EXPECT_EQ(t.Rows(Table::Kind::Points)[0].test.state == State::BeyondRange, k.pointsBeyond) << k.name;
    // Line 2 (Z = 0) is bx itself: always within range here.
    EXPECT_EQ(t.Rows(Table::Kind::Slopes)[1].test.state, State::Tested) << k.name;
    const bool beyond = k.slopesBeyond || k.pointsBeyond;
    EXPECT_EQ(t.problem.find("beyond the range of double precision") != std::string::npos, beyond)
        << k.name << ": " << t.problem;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, Extreme,
    ::testing::Values(
        ExtremeCase{"huge weights and moderator", 1, 1, 1e300, 1, 1e10, 1, Diagonal({1, 1, 1, 1}), true, true},
        ExtremeCase{"huge stdx", 1, 1, 1, 1, 1, 1e300, Diagonal({1, 1, 1, 1}), false, true},
        ExtremeCase{"huge variances", 1, 1, 1, 1, 1e10, 1, Diagonal({1, 1, 1e300, 1e300}), true, true},
        ExtremeCase{"tiny variances", 1, 1, 1e300, 1, 1, 1, Diagonal({1e-300, 1e-300, 1e-300, 1e-300}), true,
                    true},
        ExtremeCase{"tiny variances, modest weights", 1, 1, 1, 1, 1, 1, Diagonal({1e-300, 1e-300, 1e-300, 1e-300}),
                    false, false},
        ExtremeCase{"largest weights, no overflow", kMax / 4, 0, 0, kMax / 4, 1, 1, Diagonal({1, 1, 1, 1}), false,
                    false}),
    [](const ::testing::TestParamInfo<ExtremeCase>& info) { return "case" + std::to_string(info.index); });

// ---------------------------------------------------------------------------
// The reference distributions beyond what R printed.

TEST(Reference, TApproachesTheNormal) {
  for (double level : {0.5, 0.9, 0.95, 0.99}) {
    const double z = Critical({.normal = true, .df = 0, .level = level});
    const double t = Critical({.normal = false, .df = 1e12, .level = level});
    EXPECT_NEAR(t, z, 1e-9 * z) << level;
    EXPECT_GT(Critical({.normal = false, .df = 28, .level = level}), z) << level;
  }
}

TEST(Reference, TwoSidedPIsEvenAndBounded) {
  const Reference t28{.normal = false, .df = 28, .level = 0.95};
  for (double s : {0.0, 0.3, 2.0, 40.0, 1e5}) EXPECT_EQ(TwoSidedP(s, t28), TwoSidedP(-s, t28)) << s;
  EXPECT_EQ(TwoSidedP(std::numeric_limits<double>::infinity(), t28), 0);
  EXPECT_EQ(TwoSidedP(kNaN, t28), 1);
  EXPECT_EQ(TwoSidedP(0, kNormal95), 1);
  // At the critical value the two-sided p is 1 - level.
  for (const Reference& r : {kNormal95, t28, Reference{.normal = false, .df = 3, .level = 0.9}}) {
    EXPECT_NEAR(TwoSidedP(Critical(r), r), 1 - r.level, 1e-12);
  }
}

}  // namespace
}  // namespace marvane::stats
