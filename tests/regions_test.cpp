// Regions of significance and crossover intervals: the quadratic and its
// degenerate cases, a seeded property test of the bounds against the t
// statistic itself, the engine's states, the verdicts, and every form
// against the numbers R found by scanning the t statistic
// (tests/data/r_regions.R, kept with its output).

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <utility>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "models/incomplete.h"
#include "models/mixed2.h"
#include "models/mixed3.h"
#include "models/quant.h"
#include "models/quant3.h"
#include "models/quantz.h"
#include "stats/regions.h"
#include "analysis/report.h"

namespace marvane::stats {
namespace {

using K = Region::Kind;
using CK = Crossover::Kind;
using State = marvane::stats::Test::State;

bool Near(double got, double expected, double rel) {
  return std::fabs(got - expected) <= rel * std::fabs(expected);
}

// ---------------------------------------------------------------- quadratic

struct QuadraticCase {
  const char* name;
  double a, b, c;
  K kind;
  double lower = 0, upper = 0;  // as the kind uses them
};

void PrintTo(const QuadraticCase& q, std::ostream* os) { *os << q.name; }

class Quadratic : public ::testing::TestWithParam<QuadraticCase> {};

TEST_P(Quadratic, KindAndBounds) {
  const QuadraticCase& q = GetParam();
  const Region r = SolveQuadratic(q.a, q.b, q.c);
  ASSERT_EQ(KindName(r.kind), std::string(KindName(q.kind)));
  ASSERT_TRUE(std::isfinite(r.lower) && std::isfinite(r.upper));
  ASSERT_LE(r.lower, r.upper);
  if (q.kind == K::Everywhere || q.kind == K::Nowhere) return;
  EXPECT_TRUE(Near(r.lower, q.lower, 4 * DBL_EPSILON)) << r.lower << " vs " << q.lower;
  if (q.kind == K::Outside || q.kind == K::Between) {
    EXPECT_TRUE(Near(r.upper, q.upper, 4 * DBL_EPSILON)) << r.upper << " vs " << q.upper;
  }
}

const double kTiny = std::ldexp(1.0, -1074);  // the smallest subnormal

INSTANTIATE_TEST_SUITE_P(
    Regions, Quadratic,
    ::testing::Values(
        // The two-root kinds: (u - 1)(u - 2) and its negative.
        QuadraticCase{"outside", 1, -3, 2, K::Outside, 1, 2},
        QuadraticCase{"between", -1, 3, -2, K::Between, 1, 2},
        QuadraticCase{"outside_around_zero", 1, 0, -4, K::Outside, -2, 2},
        QuadraticCase{"c_zero", 1, -2, 0, K::Outside, 0, 2},
        // A exactly 0: the linear cases.
        QuadraticCase{"linear_above", 0, 2, -4, K::Above, 2},
        QuadraticCase{"linear_below", 0, -2, 4, K::Below, 2},
        QuadraticCase{"constant_positive", 0, 0, 1, K::Everywhere},
        QuadraticCase{"constant_negative", 0, 0, -1, K::Nowhere},
        QuadraticCase{"all_zero", 0, 0, 0, K::Nowhere},
        QuadraticCase{"linear_root_zero", 0, 3, 0, K::Above, 0},
        // Negative discriminant.
        QuadraticCase{"no_roots_positive", 1, 0, 1, K::Everywhere},
        QuadraticCase{"no_roots_negative", -1, 1, -1, K::Nowhere},
        // Discriminant exactly 0: everything but the touching root, or nothing.
        QuadraticCase{"touching", 1, -2, 1, K::Outside, 1, 1},
        QuadraticCase{"touching_negative", -1, 2, -1, K::Nowhere},
        QuadraticCase{"touching_at_zero", 1, 0, 0, K::Outside, 0, 0},
        QuadraticCase{"touching_huge", 1e200, -2e200, 1e200, K::Outside, 1, 1},
        QuadraticCase{"touching_tiny", 1e-200, -2e-200, 1e-200, K::Outside, 1, 1},
        // Without cancellation: the small root of u^2 - 1e8 u + 1 keeps its digits.
        QuadraticCase{"small_root", 1, -1e8, 1, K::Outside, 1e-8, 1e8},
        QuadraticCase{"small_root_negative_b", 1, 1e8, 1, K::Outside, -1e8, -1e-8},
        // B^2 and 4AC beyond the double range, or below it.
        QuadraticCase{"huge_coefficients", 1e300, -3e300, 2e300, K::Outside, 1, 2},
        QuadraticCase{"tiny_coefficients", -1e-300, 3e-300, -2e-300, K::Between, 1, 2},
        QuadraticCase{"subnormal_coefficients", 2 * kTiny, -6 * kTiny, 4 * kTiny, K::Outside, 1, 2},
        QuadraticCase{"roots_1e300_and_1e_minus300", 1, -1e300, 1, K::Outside, 1e-300, 1e300},
        QuadraticCase{"root_at_the_top", 1, -DBL_MAX, 0, K::Outside, 0, DBL_MAX},
        QuadraticCase{"a_tiny_root_far", 1e-300, 1, 1, K::Outside, -1e300, -1},
        // A root beyond the double range leaves its side open.
        QuadraticCase{"root_beyond_top", 0.5, -DBL_MAX, 0, K::Below, 0},
        QuadraticCase{"subnormal_a_root_beyond", 1e-320, 1, 1, K::Above, -1},
        QuadraticCase{"between_beyond_both", -kTiny, 0, DBL_MAX, K::Everywhere},
        QuadraticCase{"outside_beyond_both", kTiny, 0, -DBL_MAX, K::Nowhere},
        QuadraticCase{"linear_root_beyond_above", 0, 1e-300, -1e300, K::Nowhere},
        QuadraticCase{"linear_root_beyond_below", 0, 1e-300, 1e300, K::Everywhere},
        // Not finite: no region.
        QuadraticCase{"nan", std::numeric_limits<double>::quiet_NaN(), 1, 1, K::Nowhere},
        QuadraticCase{"infinite", 1, HUGE_VAL, 1, K::Nowhere}),
    [](const auto& info) { return std::string(info.param.name); });

// The region of e(u) = 3u with SE sqrt(1 + u^2) at t = 2 is |u| > 2/sqrt(5);
// scaling e and its SE by lambda and u by mu scales the bounds by mu alone,
// however far out the variances lie.
struct ScaleCase {
  const char* name;
  double lambda, mu;
};

class SignificanceScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(SignificanceScale, BoundsFollowTheVariable) {
  const double lambda = GetParam().lambda, mu = GetParam().mu;
  const double c0 = 0, c1 = 3 * lambda / mu, var0 = lambda * lambda, var1 = (lambda / mu) * (lambda / mu);
  const Region r = SignificanceRegion(c0, c1, var0, 0, var1, 2);
  ASSERT_EQ(r.kind, K::Outside);
  const double bound = 2 / std::sqrt(5.0) * mu;
  EXPECT_TRUE(Near(r.lower, -bound, 1e-14)) << r.lower;
  EXPECT_TRUE(Near(r.upper, bound, 1e-14)) << r.upper;
}

INSTANTIATE_TEST_SUITE_P(Regions, SignificanceScale,
                         ::testing::Values(ScaleCase{"unit", 1, 1}, ScaleCase{"huge_variances", 1e150, 1},
                                           ScaleCase{"tiny_variances", 1e-150, 1},
                                           ScaleCase{"huge_u", 1e-100, 1e-200},
                                           ScaleCase{"tiny_u", 1e100, 1e200},
                                           ScaleCase{"huge_both", 1e150, 1e150},
                                           ScaleCase{"tiny_both", 1e-150, 1e-150}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SignificanceCase {
  const char* name;
  double c0, c1, var0, cov01, var1, t;
  K kind;
  double lower = 0, upper = 0;
};

class Significance : public ::testing::TestWithParam<SignificanceCase> {};

TEST_P(Significance, Kind) {
  const SignificanceCase& s = GetParam();
  const Region r = SignificanceRegion(s.c0, s.c1, s.var0, s.cov01, s.var1, s.t);
  ASSERT_EQ(KindName(r.kind), std::string(KindName(s.kind)));
  if (s.kind == K::Everywhere || s.kind == K::Nowhere) return;
  EXPECT_TRUE(Near(r.lower, s.lower, 1e-15)) << r.lower;
  if (s.kind == K::Outside || s.kind == K::Between) {
    EXPECT_TRUE(Near(r.upper, s.upper, 1e-15)) << r.upper;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Regions, Significance,
    ::testing::Values(
        // e = u with SE 1: |u| > 2.
        SignificanceCase{"slope_known_exactly", 0, 1, 1, 0, 0, 2, K::Outside, -2, 2},
        // e = 1 with SE 1: never beyond 2, always beyond 0.5.
        SignificanceCase{"constant_not_significant", 1, 0, 1, 0, 0, 2, K::Nowhere},
        SignificanceCase{"constant_significant", 1, 0, 1, 0, 0, 0.5, K::Everywhere},
        // e = 4 + u, SE^2 = 1 + u^2, t = 2: (4 + u)^2 > 4 (1 + u^2) is
        // 3u^2 - 8u - 12 < 0: between (8 -+ sqrt(208)) / 6.
        SignificanceCase{"between", 4, 1, 1, 0, 1, 2, K::Between, (8 - std::sqrt(208.0)) / 6,
                         (8 + std::sqrt(208.0)) / 6},
        // c1^2 = t^2 var1 exactly: A = 0, one bound. e = 1 + 2u, SE^2 = 1 + u^2,
        // t = 2: (1 + 2u)^2 > 4 (1 + u^2) is 4u > 3.
        SignificanceCase{"a_exactly_zero", 1, 2, 1, 0, 1, 2, K::Above, 0.75},
        SignificanceCase{"a_exactly_zero_below", -1, 2, 1, 0, 1, 2, K::Below, -0.75},
        // No variance at all: significant wherever e is not 0.
        SignificanceCase{"no_variance", 2, 1, 0, 0, 0, 1.96, K::Outside, -2, -2}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- property

// |c0 + u c1| / sqrt(var0 + 2 u cov + u^2 var1), in long double.
long double Stat(double c0, double c1, double var0, double cov, double var1, long double u) {
  const long double e = c0 + u * c1;
  const long double v = var0 + 2 * u * cov + u * u * var1;
  return std::fabs(e) / std::sqrt(v);
}

bool InSet(const Region& r, long double u) {
  switch (r.kind) {
    case K::Outside: return u < r.lower || u > r.upper;
    case K::Between: return u > r.lower && u < r.upper;
    case K::Above: return u > r.lower;
    case K::Below: return u < r.lower;
    case K::Everywhere: return true;
    case K::Nowhere: return false;
  }
  return false;
}

// For random effects from random positive definite matrices, just inside
// each bound the effect is significant and just outside it is not; far out
// and between the bounds the set says what the statistic says. Points where
// the statistic lies within 1e-9 of the critical value are too close to call
// and are counted, not judged; nearly all cases must be judged.
TEST(RegionsProperty, BoundsSeparateSignificantFromNot) {
  std::mt19937_64 rng(20240611);
  std::normal_distribution<double> normal;
  std::uniform_real_distribution<double> uniform(-0.98, 0.98);
  const double criticals[] = {1.2815515655446004, 1.6448536269514722, 1.959963984540054, 2.7764451051977987};
  int judged = 0, closeCalls = 0;
  const int cases = 4000;
  for (int i = 0; i < cases; ++i) {
    const double scale0 = std::exp(3 * normal(rng)), scale1 = std::exp(3 * normal(rng));
    const double sd0 = scale0 * std::exp(normal(rng)), sd1 = scale1 * std::exp(normal(rng));
    const double rho = uniform(rng);
    const double var0 = sd0 * sd0, var1 = sd1 * sd1, cov = rho * sd0 * sd1;
    const double c0 = 3 * scale0 * normal(rng), c1 = 3 * scale1 * normal(rng);
    const double t = criticals[i % 4];
    const Region r = SignificanceRegion(c0, c1, var0, cov, var1, t);
    ASSERT_TRUE(std::isfinite(r.lower) && std::isfinite(r.upper) && r.lower <= r.upper) << "case " << i;

    const double unit = scale0 / scale1;  // the natural scale of u
    std::vector<long double> points = {-1e3L * unit, -unit, 0, unit, 1e3L * unit};
    std::vector<double> bounds;
    if (r.kind == K::Outside || r.kind == K::Between) bounds = {r.lower, r.upper};
    if (r.kind == K::Above || r.kind == K::Below) bounds = {r.lower};
    for (std::size_t b = 0; b < bounds.size(); ++b) {
      long double h = 1e-6L * (std::fabs(bounds[b]) + unit);
      if (bounds.size() == 2) h = std::min<long double>(h, (r.upper - r.lower) / 4.0L);
      points.push_back(bounds[b] - h);
      points.push_back(bounds[b] + h);
    }
    if (bounds.size() == 2) points.push_back((static_cast<long double>(r.lower) + r.upper) / 2);
    for (long double u : points) {
      const long double s = Stat(c0, c1, var0, cov, var1, u);
      if (std::fabs(s - t) <= 1e-9L * t) {
        ++closeCalls;
        continue;
      }
      ++judged;
      ASSERT_EQ(InSet(r, u), s > t) << "case " << i << ": " << KindName(r.kind) << " [" << r.lower << ", "
                                    << r.upper << "] at u = " << static_cast<double>(u) << ", t stat "
                                    << static_cast<double>(s) << " vs " << t;
    }
  }
  EXPECT_GT(judged, 20 * closeCalls) << judged << " judged, " << closeCalls << " too close";
  std::printf("%d points judged, %d too close to call\n", judged, closeCalls);
}

// ---------------------------------------------------------------- engine

WeightCovariance Matrix(std::size_t n, const std::vector<double>& cells, std::vector<bool> known = {}) {
  WeightCovariance v;
  v.size = n;
  v.cells = cells;
  v.known = known.empty() ? std::vector<bool>(n, true) : std::move(known);
  return v;
}

const Reference kT95{.normal = false, .df = 30, .level = 0.95};

// A Mixed2 fit: the difference bz + x bxz has variances 1 (bz), 0.25 (bxz).
Probe Mixed2Example() { return Mixed2Probe({.bx = 1, .bz = 4, .bxz = -2, .a = 3, .stdx = 1}); }
WeightCovariance Mixed2Matrix() {
  return Matrix(4, {1, 0, 0, 0,  //
                    0, 1, 0, 0,  //
                    0, 0, 1, 0,  //
                    0, 0, 0, 0.25});
}

struct StateCase {
  const char* name;
  WeightCovariance v;
  State region, crossover;
};

class EngineStates : public ::testing::TestWithParam<StateCase> {};

TEST_P(EngineStates, OfRegionsAndCrossovers) {
  const StateCase& c = GetParam();
  const Probe p = Mixed2Example();
  const auto regions = Regions(p, c.v, kT95);
  const auto crossovers = Crossovers(p, c.v, kT95);
  ASSERT_EQ(regions.size(), 1u);
  ASSERT_EQ(crossovers.size(), 1u);
  EXPECT_EQ(regions[0].state, c.region);
  EXPECT_EQ(crossovers[0].state, c.crossover);
  // The crossing itself needs only the weights.
  EXPECT_EQ(crossovers[0].x, 2);
  if (c.crossover != State::Tested) {
    EXPECT_EQ(Judge(crossovers[0], -1, 1), Verdict::Undetermined);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Regions, EngineStates,
    ::testing::Values(
        StateCase{"all_known", Mixed2Matrix(), State::Tested, State::Tested},
        // The constant cancels from every difference.
        StateCase{"no_constant",
                  Matrix(4, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0.25}, {false, true, true, true}),
                  State::Tested, State::Tested},
        StateCase{"no_product", Matrix(4, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}, {true, true, true, false}),
                  State::NeedsUnknown, State::NeedsUnknown},
        StateCase{"negative_variance", Matrix(4, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0.25}),
                  State::NegativeVariance, State::NegativeVariance},
        // Correlation of bz and bxz beyond 1: the variance of bz + x bxz goes
        // below 0 near x = 2.
        StateCase{"indefinite_pair", Matrix(4, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0.6, 0, 0, 0.6, 0.25}),
                  State::NegativeVariance, State::NegativeVariance},
        StateCase{"no_variance", Matrix(4, std::vector<double>(16, 0.0)), State::NotTestable,
                  State::NotTestable}),
    [](const auto& info) { return std::string(info.param.name); });

// A number beyond what a double holds is said to be so, never taken for a
// standard error of 0: along Z of the three-way model at V = +-1e200 the
// effect's variance has V^2 Var(bxv); all lines of Quant at Z = +-1e200
// differ in intercept by 2e200 bz.
TEST(EngineStates, NumbersBeyondTheRangeAreNotAZeroStandardError) {
  const Probe q3 = Quant3Probe({.bx = 1, .bz = 2, .bv = 3, .bxz = 0.5, .bxv = 0.25, .bzv = 0.1, .bxzv = 0.05,
                                .a = 10, .stdx = 2, .stdz = 1, .stdv = 1e200});
  std::vector<double> identity(64, 0.0);
  for (std::size_t i = 0; i < 8; ++i) identity[i * 8 + i] = 1;
  const auto regions = Regions(q3, Matrix(8, identity), kT95);
  ASSERT_EQ(regions.size(), 4u);
  EXPECT_EQ(regions[0].state, State::BeyondRange);
  const std::string sentence = RegionSentence(regions[0], kT95, 2);
  EXPECT_NE(sentence.find("beyond what the program can hold"), std::string::npos) << sentence;
  EXPECT_EQ(StateWords(regions[0].state), "beyond what the program can hold");

  const Probe q = QuantProbe({.bx = 1, .bz = 2, .bxz = 0.5, .a = 0, .stdz = 1e200, .stdx = 1});
  const auto crossings = Crossovers(q, Matrix(4, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}), kT95);
  ASSERT_EQ(crossings.size(), 1u);
  EXPECT_EQ(crossings[0].state, State::BeyondRange);
  const std::string crossing = CrossoverSentence(crossings[0], Verdict::Undetermined, "X", kT95, 2);
  EXPECT_NE(crossing.find("beyond what the program can hold"), std::string::npos) << crossing;
  EXPECT_EQ(crossing.find("standard error is 0"), std::string::npos) << crossing;
}

// A correlation of exactly 1 is no error (a singular matrix), one just
// beyond it by more than rounding is.
TEST(Indefinite, Threshold) {
  EXPECT_FALSE(Indefinite(4, 2, 1));
  EXPECT_FALSE(Indefinite(4, -2, 1));
  EXPECT_FALSE(Indefinite(4, 2 * (1 + 1e-14), 1));
  EXPECT_TRUE(Indefinite(4, 2 * (1 + 1e-11), 1));
  EXPECT_TRUE(Indefinite(0, 1e-300, 1));
  EXPECT_FALSE(Indefinite(0, 0, 0));
  EXPECT_TRUE(Indefinite(-1e-300, 0, 1));
  EXPECT_FALSE(Indefinite(1e300, 1e300, 1e300));
}

// Lines with equal slopes give no row; the forms whose lines all meet give
// one, at the form's own meeting point, even when the first and the last
// line are the same line.
TEST(Crossovers, RowsOfPairs) {
  const Probe parallel = QuantProbe({.bx = 1, .bz = 2, .bxz = 0, .a = 0, .stdz = 1, .stdx = 1});
  const WeightCovariance identity = Matrix(4, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  EXPECT_TRUE(Crossovers(parallel, identity, kT95).empty());

  const Probe qz = QuantZProbe({.bx = 1, .bz = 0.3, .bxz = 0.7, .a = 0, .stdx = 1, .hiz = 10, .medz = 80, .loz = 10});
  const WeightCovariance small = Matrix(4, {1e-4, 0, 0, 0, 0, 1e-4, 0, 0, 0, 0, 1e-4, 0, 0, 0, 0, 1e-4});
  const auto rows = Crossovers(qz, small, kT95);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].name, "all lines");
  EXPECT_EQ(rows[0].x, qz.meetingX);
  EXPECT_EQ(rows[0].k, 0u);
  EXPECT_EQ(rows[0].l, 1u);
  ASSERT_EQ(rows[0].kind, CK::Interval);
  EXPECT_LE(rows[0].lower, rows[0].x);
  EXPECT_GE(rows[0].upper, rows[0].x);

  // Mixed3 with bxz1 = bxz2: DC1 and DC2 are parallel, two rows remain.
  const Probe m3 = Mixed3Probe({.rbx = 1, .bz1 = 1, .bz2 = 2, .bxz1 = 0.5, .bxz2 = 0.5, .a = 0, .stdx = 1});
  const WeightCovariance id6 = Matrix(6, {1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,
                                          0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1});
  const auto m3rows = Crossovers(m3, id6, kT95);
  ASSERT_EQ(m3rows.size(), 2u);
  EXPECT_EQ(m3rows[0].name, PairName(m3.lines[0], m3.lines[2]));
  EXPECT_EQ(m3rows[1].name, PairName(m3.lines[1], m3.lines[2]));
  EXPECT_EQ(m3rows[0].x, -2);
  EXPECT_EQ(m3rows[1].x, -4);
}

// Fieller's interval is the complement of the difference's region of
// significance: a steep, well-known slope difference gives a finite
// interval, a slope difference that is not significant gives two rays or
// no bound at all.
struct FiellerCase {
  const char* name;
  double bz, bxz, varBz, varBxz;
  CK kind;
};

class Fieller : public ::testing::TestWithParam<FiellerCase> {};

TEST_P(Fieller, KindFromTheDifference) {
  const FiellerCase& f = GetParam();
  const Probe p = Mixed2Probe({.bx = 1, .bz = f.bz, .bxz = f.bxz, .a = 3, .stdx = 1});
  const WeightCovariance v = Matrix(4, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, f.varBz, 0, 0, 0, 0, f.varBxz});
  const auto rows = Crossovers(p, v, kT95);
  ASSERT_EQ(rows.size(), 1u);
  const Crossover& c = rows[0];
  ASSERT_EQ(KindName(c.kind), std::string(KindName(f.kind)));
  EXPECT_EQ(c.x, -f.bz / f.bxz);
  // Delta method: Var(x) = (var(bz) + x^2 var(bxz)) / bxz^2.
  EXPECT_TRUE(Near(c.se, std::sqrt(f.varBz + c.x * c.x * f.varBxz) / std::fabs(f.bxz), 1e-15));
  // At each finite end the difference's statistic is the critical value.
  if (c.kind == CK::Interval || c.kind == CK::Outside) {
    for (double end : {c.lower, c.upper}) {
      const long double s = Stat(f.bz, f.bxz, f.varBz, 0, f.varBxz, end);
      EXPECT_NEAR(static_cast<double>(s), Critical(kT95), 1e-12) << end;
    }
  }
  if (c.kind == CK::Interval) {
    EXPECT_LT(c.lower, c.x);
    EXPECT_GT(c.upper, c.x);
  }
  if (c.kind == CK::Outside) {
    EXPECT_TRUE(c.x <= c.lower || c.x >= c.upper);
  }
}

INSTANTIATE_TEST_SUITE_P(Regions, Fieller,
                         ::testing::Values(FiellerCase{"interval", 4, -2, 1, 0.25, CK::Interval},
                                           FiellerCase{"two_rays", 4, -0.5, 0.25, 0.25, CK::Outside},
                                           FiellerCase{"no_bound", 0.5, -0.5, 1, 1, CK::Everywhere}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- verdict

struct VerdictCase {
  const char* name;
  CK kind;
  double lower, upper, from, to;
  Verdict verdict;
  State state = State::Tested;
};

class Verdicts : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(Verdicts, AgainstTheRange) {
  const VerdictCase& v = GetParam();
  Crossover c;
  c.kind = v.kind;
  c.lower = v.lower;
  c.upper = v.upper;
  c.state = v.state;
  EXPECT_STREQ(VerdictName(Judge(c, v.from, v.to)), VerdictName(v.verdict));
}

INSTANTIATE_TEST_SUITE_P(
    Regions, Verdicts,
    ::testing::Values(VerdictCase{"inside", CK::Interval, -0.5, 0.5, -1, 1, Verdict::Disordinal},
                      VerdictCase{"inside_to_the_ends", CK::Interval, -1, 1, -1, 1, Verdict::Disordinal},
                      VerdictCase{"range_reversed", CK::Interval, -0.5, 0.5, 1, -1, Verdict::Disordinal},
                      VerdictCase{"above_the_range", CK::Interval, 1.5, 3, -1, 1, Verdict::Ordinal},
                      VerdictCase{"below_the_range", CK::Interval, -3, -1.5, -1, 1, Verdict::Ordinal},
                      VerdictCase{"across_an_end", CK::Interval, 0.5, 1.5, -1, 1, Verdict::Undetermined},
                      VerdictCase{"around_the_range", CK::Interval, -2, 2, -1, 1, Verdict::Undetermined},
                      // The same interval against a wider range turns disordinal.
                      VerdictCase{"across_an_end_wider", CK::Interval, 0.5, 1.5, -2, 2, Verdict::Disordinal},
                      VerdictCase{"rays_around_the_range", CK::Outside, -2, 2, -1, 1, Verdict::Ordinal},
                      VerdictCase{"rays_into_the_range", CK::Outside, -0.5, 2, -1, 1, Verdict::Undetermined},
                      VerdictCase{"everywhere", CK::Everywhere, 0, 0, -1, 1, Verdict::Undetermined},
                      VerdictCase{"ray_below_the_range", CK::Below, -2, -2, -1, 1, Verdict::Ordinal},
                      VerdictCase{"ray_below_into_it", CK::Below, 0, 0, -1, 1, Verdict::Undetermined},
                      VerdictCase{"ray_above_the_range", CK::Above, 2, 2, -1, 1, Verdict::Ordinal},
                      VerdictCase{"ray_above_into_it", CK::Above, 0, 0, -1, 1, Verdict::Undetermined},
                      VerdictCase{"not_tested", CK::Interval, -0.5, 0.5, -1, 1, Verdict::Undetermined,
                                  State::NeedsUnknown}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- against R

// The records of r_regions.txt, by their first two cells.
struct RData {
  std::map<std::string, std::map<std::string, std::vector<std::string>>> fits;  // form -> record -> cells
  std::vector<std::vector<std::string>> regions, crossovers;
};

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::stringstream in(line);
  std::string cell;
  while (std::getline(in, cell, '\t')) cells.push_back(cell);
  return cells;
}

const RData& LoadR() {
  static const RData data = [] {
    RData d;
    std::ifstream in(MARVANE_TEST_DATA "/r_regions.txt");
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      std::vector<std::string> c = Cells(line);
      if (c[0] == "region") {
        d.regions.push_back(c);
      } else if (c[0] == "crossover") {
        d.crossovers.push_back(c);
      } else {
        d.fits[c[1]][c[0]] = std::vector<std::string>(c.begin() + 2, c.end());
      }
    }
    return d;
  }();
  return data;
}

double Num(const std::string& s) { return std::stod(s); }
std::vector<double> Nums(const std::vector<std::string>& cells) {
  std::vector<double> out;
  for (const std::string& s : cells) out.push_back(Num(s));
  return out;
}

// The form's probe built by its own builder from R's weights.
Probe ProbeFromR(const std::string& form) {
  const auto& f = LoadR().fits.at(form);
  const std::vector<double> w = Nums(f.at("weights")), sd = Nums(f.at("sd"));
  if (form == "Quant") return QuantProbe({.bx = w[1], .bz = w[2], .bxz = w[3], .a = w[0], .stdz = sd[1], .stdx = sd[0]});
  if (form == "QuantZ") {
    const std::vector<double> z = Nums(f.at("zvalues"));
    return QuantZProbe({.bx = w[1], .bz = w[2], .bxz = w[3], .a = w[0], .stdx = sd[0], .hiz = z[0], .medz = z[1],
                        .loz = z[2]});
  }
  if (form == "Mixed2") return Mixed2Probe({.bx = w[1], .bz = w[2], .bxz = w[3], .a = w[0], .stdx = sd[0]});
  if (form == "Mixed3") {
    return Mixed3Probe({.rbx = static_cast<float>(w[1]), .bz1 = w[2], .bz2 = w[3], .bxz1 = w[4], .bxz2 = w[5],
                        .a = w[0], .stdx = sd[0]});
  }
  if (form == "Quant3") {
    return Quant3Probe({.bx = w[1], .bz = w[2], .bv = w[3], .bxz = w[4], .bxv = w[5], .bzv = w[6], .bxzv = w[7],
                        .a = w[0], .stdx = sd[0], .stdz = sd[1], .stdv = sd[2]});
  }
  const std::vector<double> held = Nums(f.at("held"));
  std::vector<HeldTerm> terms;
  for (std::size_t i = 0; i < held.size(); ++i) terms.push_back({.weight = w[4 + i], .value = held[i]});
  return IncompleteProbe(w[0], terms,
                         {.a = FoldControlTerms(w[0], terms), .bx = w[1], .bz = w[2], .bxz = w[3], .sx = sd[0],
                          .sz = sd[1]});
}

WeightCovariance MatrixFromR(const std::string& form) {
  const std::vector<double> cells = Nums(LoadR().fits.at(form).at("vcov"));
  const auto n = static_cast<std::size_t>(std::lround(std::sqrt(static_cast<double>(cells.size()))));
  return Matrix(n, cells);
}

Reference ReferenceFromR(const std::string& form, const std::string& name, const std::string& level) {
  return {.normal = name == "normal", .df = Num(LoadR().fits.at(form).at("fit").at(0)), .level = Num(level)};
}

// Relative agreement, or absolute where R's number is 0.
::testing::AssertionResult Agrees(const std::string& got, double value, const std::string& r) {
  if (r == "NA") return ::testing::AssertionSuccess();
  const double expected = Num(r);
  if (std::fabs(value - expected) <= 1e-8 * std::fabs(expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << got << " = " << value << ", R " << r;
}

// Every form to 1e-8 relative, Mixed3 included: its weight of X goes through
// single precision in the probe, but it enters neither an effect (both codes'
// differences from the contrast line) nor a difference of two lines' slopes
// or intercepts, so R's double weight of X never meets the program's.
class AgainstR : public ::testing::TestWithParam<std::string> {};

TEST_P(AgainstR, RegionsOfEveryEffect) {
  const std::string form = GetParam();
  const Probe p = ProbeFromR(form);
  const WeightCovariance v = MatrixFromR(form);
  int compared = 0;
  for (const auto& rec : LoadR().regions) {
    if (rec[1] != form) continue;
    const auto regions = Regions(p, v, ReferenceFromR(form, rec[2], rec[3]));
    const auto i = static_cast<std::size_t>(std::stoi(rec[4]) - 1);
    ASSERT_LT(i, regions.size());
    const EffectRegion& e = regions[i];
    const std::string where = form + " " + rec[2] + " " + rec[3] + " effect " + rec[4];
    ASSERT_EQ(e.state, State::Tested) << where;
    ASSERT_EQ(KindName(e.region.kind), rec[5]) << where;
    EXPECT_TRUE(Agrees(where + " lower", e.region.lower, rec[6]));
    if (rec[5] == "outside" || rec[5] == "between") {
      EXPECT_TRUE(Agrees(where + " upper", e.region.upper, rec[7]));
    }
    ++compared;
  }
  // Four references for each effect.
  EXPECT_EQ(compared, 4 * static_cast<int>(p.effects.size()));
}

TEST_P(AgainstR, CrossoversOfEveryPair) {
  const std::string form = GetParam();
  const Probe p = ProbeFromR(form);
  const WeightCovariance v = MatrixFromR(form);
  // R's rows by reference (name, level): every row of the program matches one.
  std::map<std::pair<std::string, std::string>, int> rowsOfR;
  for (const auto& rec : LoadR().crossovers) {
    if (rec[1] != form) continue;
    const auto crossovers = Crossovers(p, v, ReferenceFromR(form, rec[2], rec[3]));
    ++rowsOfR[{rec[2], rec[3]}];
    const auto k = static_cast<std::size_t>(std::stoi(rec[4]) - 1), l = static_cast<std::size_t>(std::stoi(rec[5]) - 1);
    const std::string where = form + " " + rec[2] + " " + rec[3] + " lines " + rec[4] + "-" + rec[5];
    const Crossover* row = nullptr;
    for (const Crossover& c : crossovers) {
      if (c.k == k && c.l == l) row = &c;
    }
    ASSERT_NE(row, nullptr) << where;
    EXPECT_EQ(row->name, rec[6] == "all" ? std::string("all lines") : PairName(p.lines[k], p.lines[l])) << where;
    if (rec[6] == "all") {
      EXPECT_EQ(row->x, p.meetingX) << where;
    }
    ASSERT_EQ(row->state, State::Tested) << where;
    EXPECT_TRUE(Agrees(where + " x", row->x, rec[7]));
    EXPECT_TRUE(Agrees(where + " se", row->se, rec[8]));
    ASSERT_EQ(KindName(row->kind), rec[9]) << where;
    if (rec[9] != "everywhere") {
      EXPECT_TRUE(Agrees(where + " lower", row->lower, rec[10]));
    }
    if (rec[9] == "interval" || rec[9] == "outside") {
      EXPECT_TRUE(Agrees(where + " upper", row->upper, rec[11]));
    }
  }
  ASSERT_EQ(rowsOfR.size(), 4u) << "R gives rows at four references";
  for (const auto& [ref, rows] : rowsOfR) {
    const auto crossovers = Crossovers(p, v, ReferenceFromR(form, ref.first, ref.second));
    EXPECT_EQ(static_cast<int>(crossovers.size()), rows) << form << " " << ref.first << " " << ref.second;
  }
}

INSTANTIATE_TEST_SUITE_P(Regions, AgainstR,
                         ::testing::Values("Quant", "QuantZ", "Mixed2", "Mixed3", "Quant3", "Incomplete"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace marvane::stats
