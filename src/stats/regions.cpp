#include "stats/regions.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace marvane::stats {

namespace {

// The quadratic's coefficients and discriminant are worked out in long
// double: squares and products of any two doubles (up to about 1e616, down
// to about 1e-647) lie well inside its range, so they neither overflow nor
// underflow, and it carries more digits than a double.
using Wide = long double;

// The nearest double; beyond the range an infinity of the sign, below it a
// plain zero (never -0).
double ToDouble(Wide a) {
  if (a == 0) return 0;
  const double d = static_cast<double>(a);
  return d == 0 ? 0.0 : d;
}

// A region whose bounds may still be infinite (roots beyond the double
// range), reduced to the set within the doubles.
Region Finish(Region::Kind kind, double lo, double hi) {
  using K = Region::Kind;
  const double inf = HUGE_VAL;
  switch (kind) {
    case K::Above:  // u > lo
      if (lo == inf) return {K::Nowhere};
      if (lo == -inf) return {K::Everywhere};
      return {K::Above, lo, lo};
    case K::Below:  // u < lo
      if (lo == inf) return {K::Everywhere};
      if (lo == -inf) return {K::Nowhere};
      return {K::Below, lo, lo};
    case K::Outside:  // u < lo or u > hi
      if (lo == -inf && hi == inf) return {K::Nowhere};
      if (lo == inf || hi == -inf) return {K::Everywhere};
      if (lo == -inf) return {K::Above, hi, hi};
      if (hi == inf) return {K::Below, lo, lo};
      return {K::Outside, lo, hi};
    case K::Between:  // lo < u < hi
      if (lo == -inf && hi == inf) return {K::Everywhere};
      if (lo == inf || hi == -inf) return {K::Nowhere};
      if (lo == -inf) return {K::Below, hi, hi};
      if (hi == inf) return {K::Above, lo, lo};
      return {K::Between, lo, hi};
    case K::Everywhere:
    case K::Nowhere:
      break;
  }
  return {kind};
}

Region Solve(Wide a, Wide b, Wide c) {
  using K = Region::Kind;
  if (a == 0) {
    if (b == 0) return {c > 0 ? K::Everywhere : K::Nowhere};
    const double root = ToDouble(-(c / b));
    return Finish(b > 0 ? K::Above : K::Below, root, root);
  }
  const Wide d = b * b - 4 * a * c;
  if (d < 0) return {a > 0 ? K::Everywhere : K::Nowhere};
  if (d == 0) {
    if (a < 0) return {K::Nowhere};
    const double root = ToDouble(-(b / a) / 2);
    return Finish(K::Outside, root, root);
  }
  // q = -(B + sign(B) sqrt(D)) / 2 has no cancellation; the roots are q/A
  // and C/q (q is not 0: with B = 0 it is -sqrt(D)/2).
  const Wide s = std::sqrt(d);
  const Wide q = -(b + (b < 0 ? -s : s)) / 2;
  double r1 = ToDouble(q / a), r2 = ToDouble(c / q);
  if (r2 < r1) std::swap(r1, r2);
  return Finish(a > 0 ? K::Outside : K::Between, r1, r2);
}

bool Finite(std::initializer_list<double> xs) {
  return std::all_of(xs.begin(), xs.end(), [](double x) { return std::isfinite(x); });
}

// The crossing of lines k and l; nothing when their slopes are equal or the
// crossing lies beyond the double range. `meetingX`, when given, is the
// crossing as the form computed it.
std::optional<Crossover> Cross(const Probe& probe, std::size_t k, std::size_t l, const WeightCovariance& v,
                               double critical, std::optional<double> meetingX) {
  using K = Crossover::Kind;
  const std::vector<double> dm = Difference(probe.lines[k].intercept, probe.lines[l].intercept);
  const std::vector<double> dl = Difference(probe.lines[k].slope, probe.lines[l].slope);
  const double a = Combine(dm, probe.weights), b = Combine(dl, probe.weights);
  if (b == 0 || !Finite({a, b})) return std::nullopt;
  Crossover c;
  c.allLines = meetingX.has_value();
  c.name = c.allLines ? "all lines" : PairName(probe.lines[k], probe.lines[l]);
  c.k = k;
  c.l = l;
  c.x = meetingX ? *meetingX : -a / b;
  if (!std::isfinite(c.x)) return std::nullopt;
  c.x += 0.0;
  c.kind = K::Everywhere;
  if (!Computable(dm, v) || !Computable(dl, v)) {
    c.state = Test::State::NeedsUnknown;
    return c;
  }
  const AffineVariance var = VarianceOfAffine(dm, dl, v);
  if (!var.Finite()) {
    c.state = Test::State::BeyondRange;
    return c;
  }
  if (Indefinite(var.va, var.cab, var.vb)) {
    c.state = Test::State::NegativeVariance;
    return c;
  }
  if (var.Zero()) {
    c.state = Test::State::NotTestable;
    return c;
  }
  // Delta method: the gradient of -a/b is -(1, x)/b, so Var(x) = Var(a + x b) / b^2.
  c.se = std::sqrt(std::max(0.0, var.At(c.x))) / std::fabs(b);
  if (!std::isfinite(c.se)) {
    c.se = 0;
    c.state = Test::State::BeyondRange;
    return c;
  }
  // Fieller: where the difference a + x b is not significant.
  const Region r = SignificanceRegion(a, b, var.va, var.cab, var.vb, critical);
  switch (r.kind) {
    case Region::Kind::Outside: c.kind = K::Interval; c.lower = r.lower; c.upper = r.upper; break;
    case Region::Kind::Between: c.kind = K::Outside; c.lower = r.lower; c.upper = r.upper; break;
    case Region::Kind::Above: c.kind = K::Below; c.lower = c.upper = r.lower; break;
    case Region::Kind::Below: c.kind = K::Above; c.lower = c.upper = r.lower; break;
    case Region::Kind::Nowhere: c.kind = K::Everywhere; break;
    case Region::Kind::Everywhere:
      // The difference has no variance at the crossing, to rounding: the
      // interval shrinks to the point.
      c.kind = K::Interval;
      c.lower = c.upper = c.x;
      break;
  }
  return c;
}

}  // namespace

Region SolveQuadratic(double a, double b, double c) {
  if (!Finite({a, b, c})) return {Region::Kind::Nowhere};
  return Solve(a, b, c);
}

Region SignificanceRegion(double c0, double c1, double var0, double cov01, double var1, double critical) {
  if (!Finite({c0, c1, var0, cov01, var1, critical})) return {Region::Kind::Nowhere};
  const Wide t2 = Wide{critical} * critical;
  const Wide w0 = c0, w1 = c1;
  const Wide a = w1 * w1 - t2 * var1;
  const Wide b = 2 * (w0 * w1 - t2 * cov01);
  const Wide c = w0 * w0 - t2 * var0;
  return Solve(a, b, c);
}

bool Indefinite(double var0, double cov01, double var1) {
  if (var0 < 0 || var1 < 0) return true;
  const Wide product = Wide{var0} * var1;
  const Wide det = product - Wide{cov01} * cov01;
  return det + product * 1e-12L < 0;
}

const char* KindName(Region::Kind kind) {
  switch (kind) {
    case Region::Kind::Outside: return "outside";
    case Region::Kind::Between: return "between";
    case Region::Kind::Above: return "above";
    case Region::Kind::Below: return "below";
    case Region::Kind::Everywhere: return "everywhere";
    case Region::Kind::Nowhere: return "nowhere";
  }
  return "";
}

double FdrCritical(double c0, double c1, const AffineVariance& var, const Reference& r, double from, double to,
                   int points) {
  if (points < 2 || !Finite({c0, c1, from, to}) || !var.Finite()) return 0;
  std::vector<double> p;
  for (int k = 0; k < points; ++k) {
    const double u = from + (to - from) * k / (points - 1);
    const double v = var.At(u), e = c0 + u * c1;
    if (!std::isfinite(v) || v < 0 || !std::isfinite(e)) return 0;
    p.push_back(v > 0 ? TwoSidedP(e / std::sqrt(v), r) : (e == 0 ? 1.0 : 0.0));
  }
  std::sort(p.begin(), p.end());
  const double alpha = 1 - r.level;
  std::size_t i = p.size();
  while (i > 1 && !(p[i - 1] <= alpha * static_cast<double>(i) / points)) --i;
  Reference adjusted = r;
  adjusted.level = 1 - alpha * static_cast<double>(i) / points;
  return Critical(adjusted);
}

std::vector<EffectRegion> Regions(const Probe& probe, const WeightCovariance& v, const Reference& r) {
  const double critical = Critical(r);
  std::vector<EffectRegion> out;
  for (const LinearEffect& e : probe.effects) {
    EffectRegion er;
    er.kind = e.kind;
    er.name = e.name;
    er.along = e.along;
    er.heldAt = e.heldAt;
    er.alongName = e.alongName;
    er.heldAtName = e.heldAtName;
    er.sd = e.sd;
    er.mean = e.mean;
    er.critical = critical;
    er.c0 = Combine(e.p, probe.weights);
    er.c1 = Combine(e.q, probe.weights);
    if (!Computable(e.p, v) || !Computable(e.q, v)) {
      er.state = Test::State::NeedsUnknown;
    } else {
      const AffineVariance var = VarianceOfAffine(e.p, e.q, v);
      er.var0 = var.va;
      er.cov01 = var.cab;
      er.var1 = var.vb;
      if (!Finite({er.c0, er.c1, er.var0, er.cov01, er.var1})) {
        er.state = Test::State::BeyondRange;
      } else if (Indefinite(er.var0, er.cov01, er.var1)) {
        er.state = Test::State::NegativeVariance;
      } else if (er.var0 == 0 && er.cov01 == 0 && er.var1 == 0) {
        er.state = Test::State::NotTestable;
      } else {
        er.region = SignificanceRegion(er.c0, er.c1, er.var0, er.cov01, er.var1, critical);
      }
    }
    out.push_back(std::move(er));
  }
  return out;
}

const char* KindName(Crossover::Kind kind) {
  switch (kind) {
    case Crossover::Kind::Interval: return "interval";
    case Crossover::Kind::Outside: return "outside";
    case Crossover::Kind::Everywhere: return "everywhere";
    case Crossover::Kind::Below: return "below";
    case Crossover::Kind::Above: return "above";
  }
  return "";
}

std::vector<Crossover> Crossovers(const Probe& probe, const WeightCovariance& v, const Reference& r) {
  const double critical = Critical(r);
  std::vector<Crossover> out;
  const std::size_t n = probe.lines.size();
  if (probe.linesMeet) {
    // Every pair's difference is a multiple of every other's; the pair whose
    // slopes differ most stands for them all.
    std::size_t bestK = 0, bestL = 0;
    double best = 0;
    for (std::size_t k = 0; k < n; ++k) {
      for (std::size_t l = k + 1; l < n; ++l) {
        const double d = std::fabs(Combine(Difference(probe.lines[k].slope, probe.lines[l].slope), probe.weights));
        if (d > best) {
          best = d;
          bestK = k;
          bestL = l;
        }
      }
    }
    if (best > 0) {
      if (auto c = Cross(probe, bestK, bestL, v, critical, probe.meetingX)) out.push_back(std::move(*c));
    }
    return out;
  }
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t l = k + 1; l < n; ++l) {
      if (auto c = Cross(probe, k, l, v, critical, std::nullopt)) out.push_back(std::move(*c));
    }
  }
  return out;
}

const char* VerdictName(Verdict v) {
  switch (v) {
    case Verdict::Disordinal: return "disordinal";
    case Verdict::Ordinal: return "ordinal";
    case Verdict::Undetermined: return "undetermined";
  }
  return "";
}

Verdict Judge(const Crossover& c, double from, double to) {
  if (c.state != Test::State::Tested || !Finite({from, to})) return Verdict::Undetermined;
  const double lo = std::min(from, to), hi = std::max(from, to);
  switch (c.kind) {
    case Crossover::Kind::Interval:
      if (lo <= c.lower && c.upper <= hi) return Verdict::Disordinal;
      if (c.upper < lo || c.lower > hi) return Verdict::Ordinal;
      break;
    case Crossover::Kind::Outside:
      if (c.lower < lo && hi < c.upper) return Verdict::Ordinal;
      break;
    case Crossover::Kind::Below:
      if (c.lower < lo) return Verdict::Ordinal;
      break;
    case Crossover::Kind::Above:
      if (c.lower > hi) return Verdict::Ordinal;
      break;
    case Crossover::Kind::Everywhere:
      break;
  }
  return Verdict::Undetermined;
}

}  // namespace marvane::stats
