#include "figure/figure.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "shell/number_text.h"

namespace marvane::figure {
namespace {

bool Finite(double x) { return std::isfinite(x); }

// The widest range Describe will draw: beyond this the tick steps and the
// painter's coordinates lose meaning.
constexpr double kLargest = 1e300;

// How many evenly spaced X values a band is sampled at: enough that the
// hyperbolic edges of a band look smooth at any size a figure is shown.
constexpr int kBandSamples = 121;

// The first weight that `a` or `b` needs and the matrix does not hold, in
// the form's words.
std::string MissingWeight(const std::vector<double>& a, const std::vector<double>& b,
                          const std::vector<ModelWeight>& weights, const stats::WeightCovariance& v) {
  for (const std::vector<double>* c : {&a, &b}) {
    for (std::size_t i = 0; i < c->size(); ++i) {
      if ((*c)[i] != 0 && (i >= v.known.size() || !v.known[i])) {
        return i < weights.size() && !weights[i].meaning.empty() ? weights[i].meaning
                                                                 : "weight " + std::to_string(i + 1);
      }
    }
  }
  return "a weight";
}

// The band of y = y0 + x * slope with variance `curve`, or why there is none.
struct BandOrWhy {
  std::optional<Band> band;
  std::string why;
};

BandOrWhy MakeBand(double y0, double slope, const stats::AffineVariance& curve, double critical, double from, double to,
                   const std::string& variable, int style) {
  BandOrWhy out;
  Band b;
  b.style = style;
  b.x = BandSamples(from, to, curve.Narrowest());
  for (double x : b.x) {
    const double var = curve.At(x);
    if (!Finite(var)) {
      out.why = "has a variance too large to compute";
      return out;
    }
    if (var < 0) {
      out.why = "has a variance that comes out negative (" + NumberToText(var, 3) + " at " + variable + " = " +
                NumberToText(x, 3) + "), so the matrix is not a covariance matrix of these weights";
      return out;
    }
    const double y = y0 + x * slope, half = critical * std::sqrt(var);
    if (!Finite(y - half) || !Finite(y + half) || std::abs(y) + half > kLargest) {
      out.why = "reaches values too large to draw";
      return out;
    }
    b.lower.push_back(y - half);
    b.upper.push_back(y + half);
  }
  out.band = std::move(b);
  return out;
}

// The ticks and the ranges of a figure over X in [from, to] whose drawing
// reaches from yLo to yHi.
void SetAxes(Figure& f, double from, double to, double yLo, double yHi) {
  f.xTicks = NiceTicks(from, to);
  f.yTicks = NiceTicks(yLo, yHi);
  f.xMin = from;
  f.xMax = to;
  f.yMin = f.yTicks.empty() ? yLo : f.yTicks.front().value;
  f.yMax = f.yTicks.empty() ? yHi : f.yTicks.back().value;
  // The X axis spans the range itself; its ticks are those inside it.
  std::erase_if(f.xTicks, [&](const Tick& t) {
    const double eps = (to - from) * 1e-9;
    return t.value < from - eps || t.value > to + eps;
  });
}

std::string Capitalised(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

}  // namespace

std::vector<double> BandSamples(double from, double to, std::optional<double> extra) {
  std::vector<double> xs;
  xs.reserve(kBandSamples + 1);
  for (int i = 0; i < kBandSamples; ++i) {
    const double t = static_cast<double>(i) / (kBandSamples - 1);
    xs.push_back(i == kBandSamples - 1 ? to : from + t * (to - from));
  }
  if (extra && *extra > from && *extra < to) {
    const auto at = std::lower_bound(xs.begin(), xs.end(), *extra);
    if (*at != *extra) xs.insert(at, *extra);
  }
  return xs;
}

std::string TickLabel(double value) {
  if (value == 0) return "0";
  return NumberToText(value);
}

std::vector<Tick> NiceTicks(double lo, double hi, int target) {
  if (!Finite(lo) || !Finite(hi)) return {};
  if (lo > hi) std::swap(lo, hi);
  if (hi - lo <= std::abs(hi) * 1e-12 || hi == lo) {
    const double pad = lo == 0 ? 1.0 : std::abs(lo) * 0.1;
    lo -= pad;
    hi += pad;
  }
  const double raw = (hi - lo) / std::max(1, target);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = power;
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    step = m * power;
    if (step >= raw) break;
  }
  const double first = std::floor(lo / step);
  const double last = std::ceil(hi / step);
  std::vector<Tick> ticks;
  for (double n = first; n <= last && ticks.size() < 64; n += 1) {
    double v = n * step;
    if (std::abs(v) < step * 1e-9) v = 0;
    ticks.push_back({v, TickLabel(v)});
  }
  return ticks;
}

namespace {
void AddBands(Figure& f, const Probe& probe, const Options& options, double from, double to, double& yLo,
              double& yHi);
void AddBracket(Figure& f, const stats::Crossover& c, const stats::Reference& r, double from, double to);
}  // namespace

bool CrossingShownByDefault(const Probe& probe) { return probe.linesMeet || probe.lines.size() <= 2; }

Figure RegionTitled(Figure f, const std::string& xTitle, const std::string& yTitle, const std::string& heldAt) {
  if (!xTitle.empty()) f.xTitle = xTitle;
  if (!yTitle.empty()) {
    f.yTitle = yTitle;
    if (!heldAt.empty() && yTitle.find(heldAt) == std::string::npos) f.yTitle += " at " + heldAt;
  }
  return f;
}

std::string LegendName(const Probe& probe, const Options& options, std::size_t i) {
  if (i < options.names.size() && !options.names[i].empty()) return options.names[i];
  return i < probe.lines.size() ? probe.lines[i].name : std::string();
}

Figure Describe(const Probe& probe, const Options& options) {
  Figure f;
  f.xTitle = options.xTitle;
  f.yTitle = options.yTitle;
  double from = 0, to = 0;
  switch (options.range) {
    case Range::OneSd:
    case Range::TwoSd: {
      const double k = options.range == Range::OneSd ? 1 : 2;
      if (!(probe.stdx > 0)) {
        f.note = "The standard deviation of X is " + NumberToText(probe.stdx) +
                 ": the X range of ±" + (k == 1 ? "1" : "2") +
                 " SD has no width. Type a standard deviation above 0 on the form, or choose a typed range.";
        return f;
      }
      from = probe.meanX - k * probe.stdx;
      to = probe.meanX + k * probe.stdx;
      break;
    }
    case Range::Typed:
      from = options.typedFrom;
      to = options.typedTo;
      if (!Finite(from) || !Finite(to) || !(from < to)) {
        f.note = "The typed X range must run from a lower to a higher number.";
        return f;
      }
      break;
  }
  if (!Finite(from) || !Finite(to) || std::abs(from) > kLargest || std::abs(to) > kLargest) {
    f.note = "The X range is too wide to draw.";
    return f;
  }
  if (probe.lines.empty()) {
    f.note = "There are no lines to draw.";
    return f;
  }
  double yLo = std::numeric_limits<double>::infinity(), yHi = -yLo;
  int style = 0;
  for (const ProbeLine& pl : probe.lines) {
    Line l;
    const std::size_t i = static_cast<std::size_t>(style);
    l.name = LegendName(probe, options, i);
    l.xFrom = from;
    l.xTo = to;
    l.yFrom = pl.line.intercept + from * pl.line.slope;
    l.yTo = pl.line.intercept + to * pl.line.slope;
    l.x1 = pl.line.x1;
    l.y1 = pl.line.y1;
    l.x2 = pl.line.x2;
    l.y2 = pl.line.y2;
    l.style = style++;
    for (double y : {l.yFrom, l.yTo}) {
      yLo = std::min(yLo, y);
      yHi = std::max(yHi, y);
    }
    // The plotting points are marked where they fall inside the X range.
    for (auto [x, y] : {std::pair{l.x1, l.y1}, std::pair{l.x2, l.y2}}) {
      if (x >= from && x <= to) {
        yLo = std::min(yLo, y);
        yHi = std::max(yHi, y);
      }
    }
    f.lines.push_back(l);
  }
  if (!Finite(yLo) || !Finite(yHi) || std::abs(yLo) > kLargest || std::abs(yHi) > kLargest) {
    f.lines.clear();
    f.note = "The lines reach values too large to draw.";
    return f;
  }
  if (probe.linesMeet && Finite(probe.meetingX) && probe.meetingX >= from && probe.meetingX <= to) {
    const ProbeLine& first = probe.lines.front();
    const double y = first.line.intercept + probe.meetingX * first.line.slope;
    if (Finite(y)) f.meeting = MeetingPoint{probe.meetingX, y, "X = " + NumberToText(probe.meetingX, 3)};
  }
  if (options.bands) AddBands(f, probe, options, from, to, yLo, yHi);
  if (options.crossover) AddBracket(f, *options.crossover, options.reference, from, to);
  SetAxes(f, from, to, yLo, yHi);
  return f;
}

namespace {

void AddBands(Figure& f, const Probe& probe, const Options& options, double from, double to, double& yLo,
              double& yHi) {
  const double critical = stats::Critical(options.reference);
  if (options.covariance == nullptr) {
    f.bandsNote = "The bands need the covariance matrix of the weights.";
    return;
  }
  if (!(critical > 0)) {
    f.bandsNote = "The bands need a confidence level between 0% and 100% and degrees of freedom above 0.";
    return;
  }
  const stats::WeightCovariance& v = *options.covariance;
  std::vector<std::string> whys;  // by line, "" where it has a band
  for (std::size_t k = 0; k < probe.lines.size() && k < f.lines.size(); ++k) {
    const ProbeLine& pl = probe.lines[k];
    std::string why;
    if (!stats::Computable(pl.intercept, v) || !stats::Computable(pl.slope, v)) {
      why = "needs the variance of the " + MissingWeight(pl.intercept, pl.slope, probe.weights, v) +
            ", which the matrix has no row for";
    } else {
      BandOrWhy b = MakeBand(pl.line.intercept, pl.line.slope, stats::VarianceOfAffine(pl.intercept, pl.slope, v),
                             critical, from, to, "X", f.lines[k].style);
      if (b.band) {
        for (std::size_t i = 0; i < b.band->x.size(); ++i) {
          yLo = std::min(yLo, b.band->lower[i]);
          yHi = std::max(yHi, b.band->upper[i]);
        }
        f.bands.push_back(std::move(*b.band));
      } else {
        why = b.why;
      }
    }
    whys.push_back(why);
  }
  const bool allSame = !whys.empty() && std::all_of(whys.begin(), whys.end(), [&](const std::string& w) {
    return w == whys.front();
  });
  if (allSame && !whys.front().empty()) {
    f.bandsNote = "No bands: " + std::string(whys.size() == 1 ? "the line" : "every line") + " " +
                  whys.front() + ".";
    return;
  }
  for (std::size_t k = 0; k < whys.size(); ++k) {
    if (whys[k].empty()) continue;
    if (!f.bandsNote.empty()) f.bandsNote += " ";
    f.bandsNote += "No band for " + f.lines[k].name + ": it " + whys[k] + ".";
  }
}

void AddBracket(Figure& f, const stats::Crossover& c, const stats::Reference& r, double from, double to) {
  if (c.state != stats::Test::State::Tested || c.kind != stats::Crossover::Kind::Interval) return;
  if (!Finite(c.lower) || !Finite(c.upper) || c.lower > c.upper) return;
  if (c.upper < from || c.lower > to) return;
  Bracket b;
  b.from = std::max(c.lower, from);
  b.to = std::min(c.upper, to);
  b.openFrom = c.lower < from;
  b.openTo = c.upper > to;
  b.estimate = Finite(c.x) ? c.x : 0;
  b.estimateShown = Finite(c.x) && c.x >= from && c.x <= to;
  const std::string lines = "lines " + std::to_string(c.k + 1) + " and " + std::to_string(c.l + 1);
  const std::string pair = c.allLines ? "the lines cross" : lines + " cross";
  b.label = pair + (Finite(c.x) ? " at X = " + NumberToText(c.x, 3) + "," : ":") + " " + stats::LevelText(r.level) +
            " CI [" + NumberToText(c.lower, 3) + ", " + NumberToText(c.upper, 3) + "]";
  f.bracket = std::move(b);
}

}  // namespace

namespace {

// The range of the region figure's variable, or why there is none.
struct RangeOrWhy {
  double from = 0, to = 0;
  std::string why;
};

RangeOrWhy RegionRange(const Probe& probe, const LinearEffect& effect, const RegionOptions& options,
                       const std::string& variable) {
  RangeOrWhy r;
  if (options.typed) {
    r.from = options.typedFrom;
    r.to = options.typedTo;
    if (!Finite(r.from) || !Finite(r.to) || !(r.from < r.to)) {
      return {0, 0, "The typed range of " + variable + " must run from a lower to a higher number."};
    }
  } else if (effect.sd > 0) {
    r.from = effect.mean - 2 * effect.sd;
    r.to = effect.mean + 2 * effect.sd;
  } else if (!probe.moderatorValues.empty()) {
    const auto [lo, hi] = std::minmax_element(probe.moderatorValues.begin(), probe.moderatorValues.end());
    if (!Finite(*lo) || !Finite(*hi)) return {0, 0, "The typed values of " + variable + " are not all numbers."};
    const double half = (*hi - *lo) / 2;
    r.from = half > 0 ? *lo - half : *lo - 1;
    r.to = half > 0 ? *hi + half : *hi + 1;
  } else {
    return {0, 0, "The standard deviation of " + variable + " is not known: type a range of " + variable + "."};
  }
  if (!Finite(r.from) || !Finite(r.to) || !(r.from < r.to) || std::abs(r.from) > kLargest ||
      std::abs(r.to) > kLargest) {
    return {0, 0, "The range of " + variable + " is too wide to draw."};
  }
  return r;
}

// The band of the effect c0 + u c1 over the range, or why there is none.
BandOrWhy EffectBand(const Probe& probe, const LinearEffect& effect, const stats::WeightCovariance& covariance,
                     const stats::Reference& reference, double c0, double c1, const RangeOrWhy& range,
                     const std::string& variable, const RegionOptions& options) {
  if (!Finite(c0) || !Finite(c1)) return {std::nullopt, "The " + effect.name + " is too large to draw."};
  if (!stats::Computable(effect.p, covariance) || !stats::Computable(effect.q, covariance)) {
    return {std::nullopt, "The region figure needs the variance of the " +
                              MissingWeight(effect.p, effect.q, probe.weights, covariance) +
                              ", which the matrix has no row for."};
  }
  const double critical = options.critical > 0 ? options.critical : stats::Critical(reference);
  if (!(critical > 0)) {
    return {std::nullopt,
            "The region figure needs a confidence level between 0% and 100% and degrees of freedom above 0."};
  }
  const stats::AffineVariance curve = stats::VarianceOfAffine(effect.p, effect.q, covariance);
  if (curve.Zero()) {
    return {std::nullopt, "The " + effect.name + " has no standard error: the matrix gives it a variance of 0."};
  }
  BandOrWhy band = MakeBand(c0, c1, curve, critical, range.from, range.to, variable, 0);
  if (!band.band) band.why = "No region figure: the " + effect.name + " " + band.why + ".";
  return band;
}

// The region shaded inside [from, to] and its bounds there marked; false
// when a bound is no number.
bool Shade(Figure& f, const stats::Region& region, double from, double to, const std::string& variable) {
  using Kind = stats::Region::Kind;
  const bool twoBounds = region.kind == Kind::Outside || region.kind == Kind::Between;
  const bool oneBound = region.kind == Kind::Above || region.kind == Kind::Below;
  if ((twoBounds || oneBound) && (std::isnan(region.lower) || (twoBounds && std::isnan(region.upper)))) return false;
  auto span = [&](double a, double b) {
    a = std::max(a, from);
    b = std::min(b, to);
    if (a < b) f.spans.push_back({a, b});
  };
  switch (region.kind) {
    case Kind::Outside:
      span(from, region.lower);
      span(region.upper, to);
      break;
    case Kind::Between: span(region.lower, region.upper); break;
    case Kind::Above: span(region.lower, to); break;
    case Kind::Below: span(from, region.lower); break;
    case Kind::Everywhere: span(from, to); break;
    case Kind::Nowhere: break;
  }
  std::vector<double> marks;
  if (twoBounds || oneBound) marks.push_back(region.lower);
  if (twoBounds && region.upper != region.lower) marks.push_back(region.upper);
  for (double x : marks) {
    if (Finite(x) && x >= from && x <= to) f.bounds.push_back({x, variable + " = " + NumberToText(x, 3)});
  }
  return true;
}

}  // namespace

Figure DescribeRegion(const Probe& probe, const LinearEffect& effect, const stats::WeightCovariance& covariance,
                      const stats::Reference& reference, const stats::Region& region, const RegionOptions& options) {
  Figure f;
  const std::string& along = AlongWords(effect);
  const std::string& heldAt = HeldAtWords(effect);
  const std::string variable = along.empty() ? "the variable" : along;
  std::string effectName = Capitalised(effect.name.empty() ? "the effect" : effect.name);
  if (!heldAt.empty()) effectName += " at " + heldAt;
  f.xTitle = options.xTitle ? *options.xTitle : variable;
  f.yTitle = options.yTitle ? *options.yTitle : effectName;
  const RangeOrWhy range = RegionRange(probe, effect, options, variable);
  if (!range.why.empty()) {
    f.note = range.why;
    return f;
  }
  const double c0 = Combine(effect.p, probe.weights), c1 = Combine(effect.q, probe.weights);
  BandOrWhy band = EffectBand(probe, effect, covariance, reference, c0, c1, range, variable, options);
  if (!band.band) {
    f.note = band.why;
    return f;
  }
  const Line l{.name = effectName, .xFrom = range.from, .yFrom = c0 + range.from * c1, .xTo = range.to,
               .yTo = c0 + range.to * c1, .markers = false};
  double yLo = std::min({0.0, l.yFrom, l.yTo}), yHi = std::max({0.0, l.yFrom, l.yTo});
  for (std::size_t i = 0; i < band.band->x.size(); ++i) {
    yLo = std::min(yLo, band.band->lower[i]);
    yHi = std::max(yHi, band.band->upper[i]);
  }
  f.lines.push_back(l);
  f.bands.push_back(std::move(*band.band));
  f.bandLegend = stats::LevelText(reference.level) + (options.critical > 0 ? " band, FDR-adjusted" : " confidence band");
  f.bandStyle = BandStyle::FilledInColour;
  if (options.observed) {
    const auto [lo, hi] = *options.observed;
    if (range.from < lo) f.unobserved.push_back({range.from, std::min(lo, range.to)});
    if (hi < range.to) f.unobserved.push_back({std::max(hi, range.from), range.to});
    if (!f.unobserved.empty()) f.unobservedLegend = "beyond the values observed";
  }
  f.zeroLine = true;
  if (!Shade(f, region, range.from, range.to, variable)) {
    f = Figure{};
    f.note = "The region of the " + effect.name + " could not be computed.";
    return f;
  }
  f.spanLegend = "significant, p < " + stats::AlphaText(reference.level);
  SetAxes(f, range.from, range.to, yLo, yHi);
  return f;
}

}  // namespace marvane::figure
