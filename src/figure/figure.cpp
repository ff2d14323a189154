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

}  // namespace

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
      from = -k * probe.stdx;
      to = k * probe.stdx;
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
    l.name = i < options.names.size() && !options.names[i].empty() ? options.names[i] : pl.name;
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
  return f;
}

}  // namespace marvane::figure
