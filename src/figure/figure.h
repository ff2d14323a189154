#pragma once

// The lines figure as a plain description: the X and Y ranges, round tick
// values with their labels, one straight line per simple-effect line over
// the X range with markers at its two plotting points, the legend, and the
// point where all lines meet when it lies in the range. Standard library
// only; plot/figure_painter.h paints it on any QPainter.

#include <optional>
#include <string>
#include <vector>

#include "models/probe.h"

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
};

struct Options {
  Range range = Range::OneSd;
  double typedFrom = 0, typedTo = 0;  // for Range::Typed
  std::string xTitle = "X", yTitle = "Y";
  std::vector<std::string> names;  // legend names by line; missing or empty: the line's own
};

// Round tick values (1, 2 or 5 times a power of ten) covering [lo, hi] with
// about `target` intervals; the first and last tick enclose the range.
// A range of zero width is widened around its value first.
std::vector<Tick> NiceTicks(double lo, double hi, int target = 5);

// A tick value as its label: 15 significant digits at most, so the sums of
// a decimal step (0.30000000000000004) show as written (0.3).
std::string TickLabel(double value);

// The figure of a probe under the options.
Figure Describe(const Probe& probe, const Options& options);

}  // namespace marvane::figure
