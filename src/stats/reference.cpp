#include "stats/reference.h"

#include <cmath>

#include "shell/number_text.h"

#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

namespace marvane::stats {

namespace {

// Domain and overflow errors come back as values (NaN, infinity) that the
// callers below turn into bounds, never as exceptions.
using Policy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::ignore_error>,
    boost::math::policies::overflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::evaluation_error<boost::math::policies::ignore_error>>;

}  // namespace

double Critical(const Reference& r) {
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

std::string LevelText(double level) { return NumberToText(level * 100, 6) + "%"; }

std::string AlphaText(double level) {
  std::string a = NumberToText(1 - level, 6);
  if (a.rfind("0.", 0) == 0) a.erase(0, 1);
  return a;
}

}  // namespace marvane::stats
