#pragma once

// Regions of significance of effects that are linear in one variable u,
// e(u) = c0 + u * c1 (Johnson-Neyman), and where pairs of lines cross, with
// the delta-method SE and Fieller's interval of the crossing point.
// Standard library and Boost.Math only.

#include <cstddef>
#include <string>
#include <vector>

#include "models/probe.h"
#include "stats/inference.h"
#include "stats/reference.h"

namespace marvane::stats {

// The set of u where A u^2 + B u + C > 0.
struct Region {
  enum class Kind {
    Outside,     // u < lower or u > upper
    Between,     // lower < u < upper
    Above,       // u > lower (one bound)
    Below,       // u < lower (one bound)
    Everywhere,
    Nowhere,
  };
  Kind kind = Kind::Nowhere;
  double lower = 0, upper = 0;  // lower <= upper; only the bounds the kind uses
};

// Solves A u^2 + B u + C > 0 without cancellation; every degenerate case
// (A = 0, discriminant 0 or negative, all zero) gives a kind, never NaN.
// The work is done in long double, so neither B^2 nor 4AC of doubles
// overflows or underflows whatever their magnitudes. The set is the one
// within the doubles: a root beyond the double range leaves the side it
// bounds open (u > r with r below -DBL_MAX is everywhere). A touching root
// (discriminant 0, A > 0) is everything but one point: Outside with
// lower == upper. A coefficient that is not finite gives Nowhere.
Region SolveQuadratic(double a, double b, double c);

// Where |c0 + u c1| / SE exceeds `critical`, from the variances and the
// covariance of c0 and c1: the quadratic with A = c1^2 - t^2 var1,
// B = 2 (c0 c1 - t^2 cov01), C = c0^2 - t^2 var0, formed in long double.
Region SignificanceRegion(double c0, double c1, double var0, double cov01, double var1, double critical);

// Whether the variances of c0 and c1 and their covariance cannot come from a
// positive semi-definite matrix: a variance below 0, or the determinant
// var0 var1 - cov01^2 below -1e-12 var0 var1, more than the rounding in
// forming the three numbers from the weights' matrix can explain. A matrix
// that is indefinite in this plane gives some u a negative variance of
// e(u), where no SE exists.
bool Indefinite(double var0, double cov01, double var1);

const char* KindName(Region::Kind kind);  // "outside", "between", "above", ...

// The critical value of an effect c0 + u c1 with variance `var` (in u) that
// controls the false-discovery rate over `points` evenly spaced values of u
// from `from` to `to`, as Esarey and Sumner (2018) propose for regions of
// significance: Benjamini and Hochberg's step-up over the two-sided p values
// at those values finds the largest i whose i-th smallest p is at most
// (i / points) alpha (i = 1 when none is), and the critical value is the one
// of a two-sided test at (i / points) alpha. 0 when it cannot be found.
double FdrCritical(double c0, double c1, const AffineVariance& var, const Reference& r, double from, double to,
                   int points);

struct EffectRegion {
  LinearEffect::Kind kind = LinearEffect::Kind::Slope;
  std::string name, along, heldAt;
  std::string alongName = {}, heldAtName = {};  // the words of sentences, where the paste names them
  double sd = 0;    // of the variable, 0 when not known
  double mean = 0;  // of the variable: bounds in SD count from it
  Test::State state = Test::State::Tested;
  Region region;
  double critical = 0;  // the critical value the region is found at
  bool adjusted = false;  // the critical value controls the false-discovery rate
  // The values of the variable observed in the data, when typed.
  bool observed = false;
  double observedFrom = 0, observedTo = 0;
  double c0 = 0, c1 = 0;              // P . weights and Q . weights
  double var0 = 0, cov01 = 0, var1 = 0;  // as computed, also when negative
};

// The region of each of the probe's effects. State NeedsUnknown when P or Q
// needs a weight the matrix does not know; BeyondRange when a number of the
// effect or its variance is beyond what a double holds; NegativeVariance when
// Indefinite(); NotTestable when the effect has no variance at all (var0,
// cov01 and var1 all 0): then the region is left Nowhere and only c0, c1
// hold.
std::vector<EffectRegion> Regions(const Probe& probe, const WeightCovariance& v, const Reference& r);

struct Crossover {
  enum class Kind {
    Interval,    // lower .. upper
    Outside,     // (-inf, lower] and [upper, inf)
    Everywhere,  // no bound
    Below,       // (-inf, lower]: the slope difference is exactly at the critical value, or the
    Above,       // [lower, inf)   other end lies beyond the double range
  };
  std::string name;    // "all lines" or "<name k> vs <name l>"
  bool allLines = false;     // the one row of lines that all meet in one point
  std::size_t k = 0, l = 0;  // the pair of lines it comes from, k < l
  Test::State state = Test::State::Tested;
  double x = 0, se = 0;  // x holds in every state; se only when Tested
  Kind kind = Kind::Interval;
  double lower = 0, upper = 0;
};

const char* KindName(Crossover::Kind kind);  // "interval", "outside", "everywhere", "below", "above"

// The crossing of every pair of lines with different slopes; on probes whose
// lines all meet (probe.linesMeet), one row "all lines" instead, from the
// pair whose slopes differ most (every pair's difference is a multiple of
// it), with x = probe.meetingX. Fieller's interval is the set of x where the
// difference of the two lines is not significant, the complement of its
// region of significance. State NeedsUnknown when the differences need a
// weight the matrix does not know (the constant cancels from them);
// BeyondRange when their variances or the crossing's SE are beyond what a
// double holds; NegativeVariance when Indefinite() holds for them;
// NotTestable when they have no variance at all (x only, se 0, kind
// Everywhere). A crossing beyond the double range gives no row, as parallel
// lines do.
std::vector<Crossover> Crossovers(const Probe& probe, const WeightCovariance& v, const Reference& r);

enum class Verdict { Disordinal, Ordinal, Undetermined };
const char* VerdictName(Verdict v);  // "disordinal", "ordinal", "undetermined"

// Disordinal when the whole interval lies inside [from, to], ordinal when it
// lies wholly outside it, undetermined otherwise (also for every state but
// Tested). The ends of [from, to] may come in either order.
Verdict Judge(const Crossover& c, double from, double to);

}  // namespace marvane::stats
