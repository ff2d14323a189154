#pragma once

// Regions of significance of effects that are linear in one variable u,
// e(u) = c0 + u * c1 (Johnson-Neyman), and where pairs of lines cross, with
// the delta-method SE and Fieller's interval of the crossing point.
// Standard library and Boost.Math only.

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
Region SolveQuadratic(double a, double b, double c);

// Where |c0 + u c1| / SE exceeds `critical`, from the variances and the
// covariance of c0 and c1.
Region SignificanceRegion(double c0, double c1, double var0, double cov01, double var1, double critical);

const char* KindName(Region::Kind kind);  // "outside", "between", "above", ...

struct EffectRegion {
  std::string name, along, heldAt;
  double sd = 0;  // of the variable, 0 when not known
  Test::State state = Test::State::Tested;
  Region region;
};

// The region of each of the probe's effects.
std::vector<EffectRegion> Regions(const Probe& probe, const WeightCovariance& v, const Reference& r);

struct Crossover {
  enum class Kind {
    Interval,    // lower .. upper
    Outside,     // (-inf, lower] and [upper, inf)
    Everywhere,  // no bound
  };
  std::string name;    // "all lines" or "<name k> vs <name l>"
  Test::State state = Test::State::Tested;
  double x = 0, se = 0;
  Kind kind = Kind::Interval;
  double lower = 0, upper = 0;
};

const char* KindName(Crossover::Kind kind);  // "interval", "outside", "everywhere"

// The crossing of every pair of lines with different slopes; on probes whose
// lines all meet (probe.linesMeet), one row "all lines" instead.
std::vector<Crossover> Crossovers(const Probe& probe, const WeightCovariance& v, const Reference& r);

enum class Verdict { Disordinal, Ordinal, Undetermined };
const char* VerdictName(Verdict v);  // "disordinal", "ordinal", "undetermined"

// Disordinal when the whole interval lies inside [from, to], ordinal when it
// lies wholly outside it, undetermined otherwise.
Verdict Judge(const Crossover& c, double from, double to);

}  // namespace marvane::stats
