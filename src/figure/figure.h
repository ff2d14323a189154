#pragma once

// The figures as plain descriptions: the X and Y ranges, round tick values
// with their labels, straight lines over the X range, their confidence bands,
// shaded X intervals with their bounds marked, the zero line, the point where
// all lines meet and the bracket of a crossing's interval. Two figures are
// described: the lines figure (Describe) and the region figure of one effect
// along its variable (DescribeRegion). Standard library and the statistics
// layer only; plot/figure_painter.h paints either on any QPainter.

#include <optional>
#include <string>
#include <vector>

#include "models/probe.h"
#include "stats/inference.h"
#include "stats/reference.h"
#include "stats/regions.h"

namespace marvane::figure {

enum class Range { OneSd, TwoSd, Typed };

struct Tick {
  double value = 0;
  std::string label;  // without needless digits: "0.5", "10", "-2"
};

struct Line {
  std::string name;           // the legend's name
  double xFrom = 0, yFrom = 0;  // at the ends of the X range
  double xTo = 0, yTo = 0;
  double x1 = 0, y1 = 0;      // the two plotting points (markers)
  double x2 = 0, y2 = 0;
  int style = 0;              // dash pattern and marker shape, 0, 1, 2, ...
  bool markers = true;        // whether the plotting points are marked
};

// A pointwise confidence band: the area between `lower` and `upper`, sampled
// at increasing `x` from one end of the X range to the other, closely enough
// that the curved edges look smooth. Painted in the style of its line.
struct Band {
  int style = 0;
  std::vector<double> x, lower, upper;  // of equal length, at least two
};

// A shaded X interval; it ends at the range's edge where the set it shows
// goes on beyond it.
struct Span {
  double from = 0, to = 0;  // from < to, inside [xMin, xMax]
};

// A vertical mark at X with its value: "Z = -0.53".
struct Bound {
  double x = 0;
  std::string label;
};

// An interval drawn as a bracket along the X axis; an end cut off by the
// range is left open.
struct Bracket {
  double from = 0, to = 0;  // inside [xMin, xMax], from <= to
  bool openFrom = false, openTo = false;
  double estimate = 0;      // the point estimate, marked on the bracket
  bool estimateShown = false;
  std::string label;        // "lines 1 and 3 cross at X = -2, 95% CI [-3.1, -0.9]"
};

// How the lines figure draws its bands. In colour the region figure fills
// its band and in black and white draws its edges, as its shaded region is
// grey already.
enum class BandStyle {
  Filled,          // light fills, one after another under the lines
  Edges,           // each band's two edges in its line's dashes
  FilledInColour,  // filled in colour, edges in black and white
};

struct MeetingPoint {
  double x = 0, y = 0;
  std::string label;  // "X = -2"
};

struct Figure {
  // Not empty: there is no figure, and this says why in words.
  std::string note;
  std::string xTitle = "X", yTitle = "Y";
  double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
  std::vector<Tick> xTicks, yTicks;
  std::vector<Line> lines;
  std::optional<MeetingPoint> meeting;
  std::vector<Band> bands;
  BandStyle bandStyle = BandStyle::Filled;
  // Not empty when bands were asked for and some or all are not drawn: why.
  std::string bandsNote;
  std::vector<Span> spans;
  std::string spanLegend;  // the legend's name of the shaded intervals, "" for none
  std::vector<Span> unobserved;  // the parts of the range beyond the values observed
  std::string unobservedLegend;
  std::string bandLegend;  // the legend's name of the band, "" for none
  std::vector<Bound> bounds;
  bool zeroLine = false;   // a horizontal line at Y = 0
  std::optional<Bracket> bracket;
};

struct Options {
  Range range = Range::OneSd;
  double typedFrom = 0, typedTo = 0;  // for Range::Typed
  std::string xTitle = "X", yTitle = "Y";
  std::vector<std::string> names;  // legend names by line; missing or empty: the line's own
  // Each line's pointwise confidence band at the reference's level, from the
  // covariance of the weights (needed when `bands` is set).
  bool bands = false;
  const stats::WeightCovariance* covariance = nullptr;
  stats::Reference reference;
  // A crossing of the lines whose interval, when it is a finite interval
  // that reaches into the X range, is bracketed on the X axis; its label
  // names the pair ("lines 1 and 3 cross at X = ...") or says that all
  // lines cross there.
  std::optional<stats::Crossover> crossover;
};

// Whether the crossing is shown unless the user says otherwise: where all
// lines meet in one point or there is one pair of lines. Where several
// pairs cross at different X, a mark for one of them would mislead.
bool CrossingShownByDefault(const Probe& probe);

// The region figure with the titles typed for it: an empty title keeps the
// figure's own. A typed Y title that does not say what is held at which
// value gets it (" at V = +1 SD"), so that each figure of a model with a
// held moderator says which it is.
Figure RegionTitled(Figure f, const std::string& xTitle, const std::string& yTitle, const std::string& heldAt);

struct RegionOptions {
  // The range of the effect's variable: by default +-2 SD around its mean, or on
  // forms that only know typed moderator values, those values widened by
  // half their spread; or typed.
  bool typed = false;
  double typedFrom = 0, typedTo = 0;
  // The titles; unset: the variable's name over the effect's name.
  std::optional<std::string> xTitle, yTitle;
  // The critical value of the band when it is adjusted (0: the reference's).
  double critical = 0;
  // The values of the variable observed in the data, when known: shaded
  // outside them.
  std::optional<std::pair<double, double>> observed;
};

// Round tick values (1, 2 or 5 times a power of ten) covering [lo, hi] with
// about `target` intervals; the first and last tick enclose the range.
// A range of zero width is widened around its value first.
std::vector<Tick> NiceTicks(double lo, double hi, int target = 5);

// A tick value as its label: 15 significant digits at most, so the sums of
// a decimal step (0.30000000000000004) show as written (0.3).
std::string TickLabel(double value);

// The legend's name of line i: the edited name where the options have one,
// else the line's own.
std::string LegendName(const Probe& probe, const Options& options, std::size_t i);

// The lines figure of a probe under the options.
Figure Describe(const Probe& probe, const Options& options);

// The X values at which a band over [from, to] is sampled: evenly spaced,
// with `extra` (the band's narrowest point) added where it falls inside.
std::vector<double> BandSamples(double from, double to, std::optional<double> extra = std::nullopt);

// The region figure: the effect e(u) = P . weights + u * (Q . weights) along
// its variable with its pointwise band at the reference's level, the
// region where the effect is significant shaded (clipped to the range), its
// bounds inside the range marked, and the zero line. A note in words instead
// when the range cannot be set or the effect has no usable standard error.
Figure DescribeRegion(const Probe& probe, const LinearEffect& effect, const stats::WeightCovariance& covariance,
                      const stats::Reference& reference, const stats::Region& region,
                      const RegionOptions& options = {});

}  // namespace marvane::figure
