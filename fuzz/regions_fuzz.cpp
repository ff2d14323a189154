// The regions of significance for arbitrary finite numbers: SolveQuadratic on
// (a, b, c) from the first 24 bytes, SignificanceRegion on (c0, c1, var0,
// cov01, var1, critical) from the next 48.
//
// Properties of both:
//   - the bounds are finite (never NaN or an infinity) and lower <= upper;
//   - at each probe point where the quadratic is well-conditioned (its value,
//     evaluated in long double, is beyond 1e-9 of the sum of its terms'
//     magnitudes) the point lies in the region exactly when the quadratic is
//     positive there. The probe points are fixed ones across the range and
//     points beside, between and beyond the bounds; the bounds themselves are
//     left out (the region is open there).

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "stats/regions.h"

using namespace marvane;
using namespace marvane::fuzz;
using marvane::stats::Region;

static_assert(LDBL_MAX_EXP >= 16384, "the reference evaluation needs long double's wide exponent");

namespace {

bool InRegion(const Region& r, double u) {
  switch (r.kind) {
    case Region::Kind::Outside: return u < r.lower || u > r.upper;
    case Region::Kind::Between: return u > r.lower && u < r.upper;
    case Region::Kind::Above: return u > r.lower;
    case Region::Kind::Below: return u < r.lower;
    case Region::Kind::Everywhere: return true;
    case Region::Kind::Nowhere: return false;
  }
  return false;
}

std::vector<double> ProbePoints(const Region& r) {
  std::vector<double> points = {0, 1, -1, 1e-300, -1e-300, 1e300, -1e300, DBL_MIN, -DBL_MIN, DBL_MAX, -DBL_MAX};
  std::vector<double> bounds;
  if (r.kind == Region::Kind::Outside || r.kind == Region::Kind::Between) bounds = {r.lower, r.upper};
  if (r.kind == Region::Kind::Above || r.kind == Region::Kind::Below) bounds = {r.lower};
  for (double b : bounds) {
    for (double f : {1e-6, 1e-3, 1.0}) {
      points.push_back(b - f * (std::fabs(b) + 1e-300));
      points.push_back(b + f * (std::fabs(b) + 1e-300));
    }
    points.push_back(std::nextafter(b, -HUGE_VAL));
    points.push_back(std::nextafter(b, HUGE_VAL));
  }
  if (bounds.size() == 2) points.push_back(r.lower / 2 + r.upper / 2);
  std::vector<double> out;
  for (double u : points) {
    if (std::isfinite(u) && u != r.lower && u != r.upper) out.push_back(u);
  }
  return out;
}

// value and the sum of the terms' magnitudes at u
struct Evaluated {
  long double value, magnitude;
};

void Check(const char* what, const std::string& inputs, const Region& r,
           const std::function<Evaluated(long double)>& quadratic) {
  FUZZ_CHECK(std::isfinite(r.lower) && std::isfinite(r.upper),
             std::string(what) + inputs + ": bounds " + Show(r.lower) + ", " + Show(r.upper));
  FUZZ_CHECK(r.lower <= r.upper, std::string(what) + inputs + ": bounds " + Show(r.lower) + " > " + Show(r.upper));
  for (double u : ProbePoints(r)) {
    const Evaluated e = quadratic(u);
    if (!(std::fabs(e.value) > 1e-9L * e.magnitude)) continue;  // too close to call
    FUZZ_CHECK(InRegion(r, u) == (e.value > 0),
               std::string(what) + inputs + ": " + stats::KindName(r.kind) + " [" + Show(r.lower) + ", " +
                   Show(r.upper) + "] at u = " + Show(u) + ", where the quadratic is " +
                   Show(static_cast<double>(e.value)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto in = FiniteDoubles<9>(data, size);
  if (!in) return 0;
  const auto& x = *in;

  const long double a = x[0], b = x[1], c = x[2];
  Check("SolveQuadratic", "(" + Show(x[0]) + ", " + Show(x[1]) + ", " + Show(x[2]) + ")",
        stats::SolveQuadratic(x[0], x[1], x[2]), [&](long double u) {
          return Evaluated{a * u * u + b * u + c, std::fabs(a * u * u) + std::fabs(b * u) + std::fabs(c)};
        });

  const long double c0 = x[3], c1 = x[4], var0 = x[5], cov = x[6], var1 = x[7], t = std::fabs(x[8]);
  Check("SignificanceRegion",
        "(" + Show(x[3]) + ", " + Show(x[4]) + ", " + Show(x[5]) + ", " + Show(x[6]) + ", " + Show(x[7]) + ", " +
            Show(x[8]) + ")",
        stats::SignificanceRegion(x[3], x[4], x[5], x[6], x[7], x[8]), [&](long double u) {
          const long double e = c0 + u * c1, em = std::fabs(c0) + std::fabs(u * c1);
          const long double v = var0 + 2 * u * cov + u * u * var1;
          const long double vm = std::fabs(var0) + std::fabs(2 * u * cov) + std::fabs(u * u * var1);
          return Evaluated{e * e - t * t * v, em * em + t * t * vm};
        });
  return 0;
}
