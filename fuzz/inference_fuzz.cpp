// The significance engine on a Quant probe and any symmetric 4 x 4 matrix,
// definite or not (bytes: bx, bz, bxz, a, stdz, stdx; the upper triangle of
// V row by row, ten doubles; df, where a value that is not positive means
// the normal; the level, folded into (0, 1); one more byte whose lowest bit
// leaves the constant out of the matrix).
//
// Properties of every table's every row:
//   - every double is finite, p and p Holm lie in [0, 1];
//   - a Tested row has SE > 0 with SE^2 its variance, stat = estimate / SE,
//     lower <= estimate <= upper, and p Holm >= p on the pairs;
//   - NotTestable has variance 0, NegativeVariance a negative one;
//   - `problem` is set exactly when some row is NegativeVariance or
//     BeyondRange; without the constant, nothing that needs it has numbers.

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "fuzz_support.h"
#include "models/quant.h"
#include "stats/inference.h"

using namespace marvane;
using namespace marvane::fuzz;
using namespace marvane::stats;

namespace {

std::string Describe(const Test& t) {
  return "state " + std::to_string(static_cast<int>(t.state)) + " estimate " + Show(t.estimate) + " se " +
         Show(t.se) + " stat " + Show(t.stat) + " p " + Show(t.p) + " pHolm " + Show(t.pHolm) + " lower " +
         Show(t.lower) + " upper " + Show(t.upper) + " variance " + Show(t.variance);
}

bool CheckRow(const Test& t, bool pair, const std::vector<double>& c, const WeightCovariance& v,
              const std::string& where) {
  const std::string d = where + ": " + Describe(t);
  for (double x : {t.estimate, t.se, t.stat, t.p, t.pHolm, t.lower, t.upper, t.variance}) {
    FUZZ_CHECK(std::isfinite(x), d);
  }
  FUZZ_CHECK(t.p >= 0 && t.p <= 1 && t.pHolm >= 0 && t.pHolm <= 1, d);
  FUZZ_CHECK((t.state == Test::State::NeedsUnknown) == !Computable(c, v), d);
  switch (t.state) {
    case Test::State::Tested:
      FUZZ_CHECK(t.se > 0 && t.variance > 0, d);
      // Subnormal variances keep fewer digits: allow a few of their steps.
      FUZZ_CHECK(std::fabs(t.se * t.se - t.variance) <=
                     1e-12 * t.variance + 4 * std::numeric_limits<double>::denorm_min(),
                 d);
      FUZZ_CHECK(t.stat == t.estimate / t.se, d);
      FUZZ_CHECK(t.lower <= t.estimate && t.estimate <= t.upper, d);
      FUZZ_CHECK(!pair || t.pHolm >= t.p, d);
      break;
    case Test::State::NotTestable:
      FUZZ_CHECK(t.variance == 0 && t.se == 0, d);
      break;
    case Test::State::NegativeVariance:
      FUZZ_CHECK(t.variance < 0, d);
      break;
    case Test::State::NeedsUnknown:
    case Test::State::BeyondRange:
      break;
  }
  return t.state == Test::State::NegativeVariance || t.state == Test::State::BeyondRange;
}

std::vector<double> Minus(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> d(a.size());
  for (std::size_t i = 0; i < a.size(); ++i) d[i] = a[i] - b[i];
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto got = FiniteDoubles<18>(data, size);
  if (!got) return 0;
  const auto& d = *got;
  const QuantInputs in{.bx = d[0], .bz = d[1], .bxz = d[2], .a = d[3], .stdz = d[4], .stdx = d[5]};
  Probe probe;
  try {
    probe = QuantProbe(in);
  } catch (const Fault&) {
    return 0;  // the form itself refuses lines beyond the double range
  }
  WeightCovariance v;
  v.size = 4;
  v.cells.assign(16, 0.0);
  std::size_t next = 6;
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t j = i; j < 4; ++j) v.cells[i * 4 + j] = v.cells[j * 4 + i] = d[next++];
  }
  const bool noConstant = size > 8 * 18 && (data[8 * 18] & 1) != 0;
  v.known = {!noConstant, true, true, true};
  if (noConstant) v.cells[0] = v.cells[1] = v.cells[2] = v.cells[3] = v.cells[4] = v.cells[8] = v.cells[12] = 0;
  stats::Reference r;
  r.normal = !(d[16] > 0);
  r.df = r.normal ? 0 : d[16];
  const double level = std::fabs(std::fmod(d[17], 1.0));
  r.level = level > 0 ? level : 0.95;

  const Tables t = Analyse(probe, v, r);
  const std::string given = "inputs " + Show(d[0]) + " " + Show(d[1]) + " " + Show(d[2]) + " " + Show(d[3]) + " " +
                            Show(d[4]) + " " + Show(d[5]) + " df " + Show(r.df) + " level " + Show(r.level);
  using K = stats::Table::Kind;
  FUZZ_CHECK(t.Rows(K::Slopes).size() == 3 && t.Rows(K::Intercepts).size() == 3 && t.Rows(K::Points).size() == 6 &&
                 t.Rows(K::SlopeDifferences).size() == 3 && t.Rows(K::InterceptDifferences).size() == 3,
             given);
  bool problem = false;
  for (std::size_t k = 0; k < 3; ++k) {
    const ProbeLine& line = probe.lines[k];
    problem |= CheckRow(t.Rows(K::Slopes)[k].test, false, line.slope, v, given + " slope " + std::to_string(k));
    problem |=
        CheckRow(t.Rows(K::Intercepts)[k].test, false, line.intercept, v, given + " intercept " + std::to_string(k));
    for (std::size_t j = 0; j < 2; ++j) {
      const stats::Row& p = t.Rows(K::Points)[2 * k + j];
      FUZZ_CHECK(p.x == (j == 0 ? -in.stdx : in.stdx), given + " point x " + Show(p.x));
      // The point's combination needs the constant exactly as the intercept does.
      problem |= CheckRow(p.test, false, line.intercept, v, given + " point " + std::to_string(2 * k + j));
    }
  }
  for (const K kind : {K::SlopeDifferences, K::InterceptDifferences}) {
    const bool slopes = kind == K::SlopeDifferences;
    for (const stats::Row& row : t.Rows(kind)) {
      const ProbeLine& a = probe.lines[row.k];
      const ProbeLine& b = probe.lines[row.l];
      FUZZ_CHECK(row.k < row.l, given + " " + row.name);
      problem |= CheckRow(row.test, true, slopes ? Minus(a.slope, b.slope) : Minus(a.intercept, b.intercept), v,
                          given + " " + row.name);
    }
  }
  FUZZ_CHECK(problem == !t.problem.empty(), given + " problem \"" + t.problem + "\"");
  return 0;
}
