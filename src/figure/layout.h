#pragma once

// Where everything of a figure goes on a page of a given size, in points:
// the plot's frame and the data area inside it, the tick labels, the axis
// titles (wrapped or set smaller to fit, never cut), the crossing's bracket
// and its label, and the legend (below the plot, inside it or to its right).
// Text is measured through TextMeasure, which the painter supplies from its
// font metrics (a test may supply any measure), so every decision can be
// checked without a window. Standard library and the figure description only;
// plot/figure_painter.h paints what this lays out.
//
// The rules, at any size of the figure and of its text:
//  - All text is set in the one size asked for (6 to 14 pt); only an axis
//    title that does not fit its axis in two lines is set smaller, down to
//    70% of it (never below 6 pt), and then in as many lines as it needs.
//  - The legend goes below the plot when it takes no more than a fifth of
//    the figure's height there; else inside the plot where it covers no
//    line, band, marker or mark; else inside a corner with the data moved
//    clear of it, when the data keep at least 60% of the plot's height;
//    else to the right, when the plot keeps half the figure's width; else
//    below all the same.
//  - Markers, and the ring where the lines meet, never touch the frame: the
//    data area is inset from the frame where one would.
//  - Tick labels that would run into each other are thinned to every second
//    (third, ...) tick, keeping the label of 0. Where the frame reaches
//    beyond the figure's range, its ticks go on at the same step.

#include <cstddef>
#include <string>
#include <vector>

#include "figure/figure.h"

namespace marvane::figure {

// The sizes of a figure's text, in points.
inline constexpr double kDefaultFontSize = 9;
inline constexpr double kSmallestFontSize = 6;
inline constexpr double kLargestFontSize = 14;

// The fixed sizes of the drawing, in points, shared with the painter.
inline constexpr double kMargin = 4;          // around the figure
inline constexpr double kTickLength = 3.5;
inline constexpr double kTickGap = 2;         // between a tick and its label
inline constexpr double kTitleGap = 3;        // between the tick labels and an axis title
inline constexpr double kMarker = 3.2;        // half a marker's size
inline constexpr double kMarkerReach = 4.7;   // how far a marker's ink reaches from its point
inline constexpr double kMeetingRadius = 6.4; // the ring where all lines meet
inline constexpr double kBracketTick = 3;     // the upturned ends of the crossing's bracket
inline constexpr double kCrossMark = 2.5;     // half the size of the crossing's mark on the bracket
inline constexpr double kSample = 24;         // a legend entry's sample of its line
inline constexpr double kSampleGap = 5;       // between a sample and its name
inline constexpr double kEntryGap = 12;       // between the legend's columns
inline constexpr double kLegendPad = 3;       // inside the frame of a legend in the plot
inline constexpr double kLegendGap = 5;       // between the plot's parts and a legend outside it

// Measures text set in the figure's type. All numbers in points.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // How far `text` (UTF-8) in type of `size` points advances.
  virtual double Width(const std::string& text, double size) const = 0;
  // How far the type reaches above and below its baseline.
  virtual double Ascent(double size) const = 0;
  virtual double Descent(double size) const = 0;
  double LineHeight(double size) const { return Ascent(size) + Descent(size); }
};

// A rectangle in points, y down.
struct Rect {
  double left = 0, top = 0, width = 0, height = 0;
  double Right() const { return left + width; }
  double Bottom() const { return top + height; }
  bool Intersects(const Rect& o) const {
    return left <= o.Right() && o.left <= Right() && top <= o.Bottom() && o.top <= Bottom();
  }
  bool Contains(const Rect& o) const {
    return o.left >= left && o.Right() <= Right() && o.top >= top && o.Bottom() <= Bottom();
  }
};

// One line of text: it begins at (x, y) on its baseline and is `width` long.
// A turned line (the y axis's title) runs upward from (x, y).
struct TextLine {
  std::string text;
  double x = 0, y = 0, width = 0;
};

// Lines of text of one size.
struct TextBlock {
  double size = 0;
  std::vector<TextLine> lines;
};

enum class LegendPlace { None, Below, Right, Inside };
enum class EntryKind { Line, Band, Span, Unobserved };

struct LegendEntry {
  EntryKind kind = EntryKind::Line;
  std::size_t line = 0;      // the line's index, for a line's entry
  double sampleX = 0;        // where its sample begins
  double sampleY = 0;        // the middle of its first line of text
  std::vector<TextLine> name;
};

struct LegendLayout {
  LegendPlace place = LegendPlace::None;
  Rect box;  // around its entries; inside the plot, its white ground and frame
  std::vector<LegendEntry> entries;
};

struct Layout {
  bool fits = false;  // else the figure is too small to draw
  double width = 0, height = 0;
  double fontSize = kDefaultFontSize;
  Rect frame;  // the axes run along its left and bottom edges; the drawing is clipped to it
  // Where the figure's ranges lie: xMin at data's left edge to xMax at its
  // right, yMin at its bottom to yMax at its top. Inside the frame.
  Rect data;
  double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
  // The ticks: the figure's, and where the frame reaches beyond its range
  // (the data moved clear of a legend), more of the same step.
  std::vector<Tick> xTicks, yTicks;
  TextBlock xLabels, yLabels;  // the tick labels shown (labels may be thinned)
  TextBlock xTitle, yTitle;    // the y title's lines are turned
  double bracketY = 0;         // the line of the crossing's bracket, when there is one
  TextBlock bracketLabel;
  LegendLayout legend;

  double X(double x) const { return data.left + (x - xMin) / (xMax - xMin) * data.width; }
  double Y(double y) const { return data.Bottom() - (y - yMin) / (yMax - yMin) * data.height; }
};

// The layout of `f` on a page of `width` x `height` points with its text in
// `fontSize` points (held within 6 to 14). A figure with a note is not laid
// out (fits is false).
Layout LayOut(const Figure& f, double width, double height, double fontSize, const TextMeasure& measure);

// `text` broken at blanks into lines no longer than `width`; a word longer
// than that has a line of its own. Never cuts a word.
std::vector<std::string> Wrap(const std::string& text, double width, double size, const TextMeasure& measure);

// `text` set to fit `length`: on one line, else on two, else smaller (down
// to 70% of `size`, not below 6 pt) on two, else at that size on as many
// lines as it needs. Empty text gives no lines.
struct Fitted {
  double size = 0;
  std::vector<std::string> lines;
};
Fitted FitTitle(const std::string& text, double length, double size, const TextMeasure& measure);

}  // namespace marvane::figure
