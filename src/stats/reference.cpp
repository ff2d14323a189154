#include "stats/reference.h"

#include <cmath>

// Boost.Math 1.74 keeps its table of factorials as a constexpr local array
// when C++14 constexpr is on, which GCC builds on the stack at every look-up:
// the incomplete beta behind every t tail looks up several, and copying the
// table was 40% of a p value's time. Without C++14 constexpr the table is a
// static array, built once. This is the only file that includes Boost.Math,
// so no other file sees a different definition of those functions.
#define BOOST_NO_CXX14_CONSTEXPR

#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

namespace marvane::stats {

namespace {

// Domain and overflow errors come back as values (NaN, infinity) that the
// callers below turn into bounds, never as exceptions. Evaluated in double
// itself, not promoted to the x87 long double: several times faster, and
// still within a few ulps, far inside the digits any table shows.
using Policy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::ignore_error>,
    boost::math::policies::overflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::evaluation_error<boost::math::policies::ignore_error>,
    boost::math::policies::promote_double<false>>;

double FindCritical(const Reference& r) {
  const double tail = (1 - r.level) / 2;
  double q = 0;
  if (r.normal) {
    q = boost::math::quantile(boost::math::complement(boost::math::normal_distribution<double, Policy>(), tail));
  } else {
    q = boost::math::quantile(
        boost::math::complement(boost::math::students_t_distribution<double, Policy>(r.df), tail));
  }
  return std::isfinite(q) && q > 0 ? q : 0;
}

}  // namespace

double Critical(const Reference& r) {
  // The tables, the regions and the crossing all ask for the same quantile
  // on every keystroke in the pasted matrix, and it changes only with the df
  // and the level: the last one found is kept.
  struct Last {
    bool valid = false;
    Reference reference;
    double critical = 0;
  };
  thread_local Last last;
  if (!last.valid || last.reference != r) last = {.valid = true, .reference = r, .critical = FindCritical(r)};
  return last.critical;
}

double TwoSidedP(double stat, const Reference& r) {
  if (std::isnan(stat)) return 1;
  const double a = std::fabs(stat);
  if (std::isinf(a)) return 0;
  double upper = 0;
  if (r.normal) {
    upper = boost::math::cdf(boost::math::complement(boost::math::normal_distribution<double, Policy>(), a));
  } else {
    upper = boost::math::cdf(boost::math::complement(boost::math::students_t_distribution<double, Policy>(r.df), a));
  }
  if (!std::isfinite(upper)) return 1;
  const double p = 2 * upper;
  return p < 0 ? 0 : (p > 1 ? 1 : p);
}

}  // namespace marvane::stats
