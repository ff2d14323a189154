// The figure's layout in points, without a window: at a journal's single
// column (8.5 x 6 cm) and double column (17.5 x 10 cm), the plot keeps most
// of the figure, the legend goes below, inside or to the right by its
// rules, markers keep clear of the frame, text is the size asked for and
// stays on the page, and titles are wrapped or set smaller but never cut.
// Text is measured here by a fixed-width measure (every character half its
// size wide), so the expected breaks can be worked out by hand. Also the
// look that changes no number: the crossing's mark and band style as the
// figure tab dresses the figure, and the region figure's typed titles.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "figure/figure.h"
#include "figure/layout.h"
#include "models/mixed2.h"
#include "models/mixed3.h"
#include "models/quant.h"
#include "models/quant3.h"
#include "models/quantz.h"

using namespace marvane;
using namespace marvane::figure;

namespace {

constexpr double kPointsPerCm = 72 / 2.54;

// Every character (code point) half the type's size wide; ascent 0.8 and
// descent 0.2 of the size.
class FixedMeasure final : public TextMeasure {
 public:
  double Width(const std::string& text, double size) const override {
    const auto points = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    return 0.5 * size * static_cast<double>(points);
  }
  double Ascent(double size) const override { return 0.8 * size; }
  double Descent(double size) const override { return 0.2 * size; }
};

const FixedMeasure kMeasure;

std::string Matrix(const std::string& file) {
  std::ifstream in(std::string(MARVANE_MATRIX_DATA) + "/" + file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The R fits of tests/data/r_fits.R, as the forms are given them.
Probe QuantFit() {
  return QuantProbe({.bx = -4.13164904, .bz = -0.03050764, .bxz = 0.02784815, .a = 18.89840008, .stdz = 68.56287,
                     .stdx = 0.9784574});
}
Probe Quant3Fit() {
  return Quant3Probe({.bx = -0.1781939181, .bz = -1.079466627, .bv = 0.1355369276, .bxz = 0.0007497731,
                      .bxv = -0.0014875629, .bzv = -0.0110847127, .bxzv = 0.0001812756, .a = 70.22309871,
                      .stdx = 22.71122, .stdz = 9.615407, .stdv = 41.70485});
}
Probe Mixed3Fit() {
  return Mixed3Probe({.rbx = 0.6904897f, .bz1 = 1.4345072, .bz2 = 1.9130694, .bxz1 = 0.174588, .bxz2 = 0.2110448,
                      .a = 4.7500585, .stdx = 0.4358663});
}

enum class Form { Quant, Quant3, Mixed3 };

struct Fit {
  Probe probe;
  const char* matrix;
  const char* df;
};

Fit FitOf(Form form) {
  switch (form) {
    case Form::Quant: return {QuantFit(), "r_print_quant.txt", "28"};
    case Form::Quant3: return {Quant3Fit(), "r_print_quant3.txt", "39"};
    case Form::Mixed3: return {Mixed3Fit(), "r_print_mixed3.txt", "144"};
  }
  return {QuantFit(), "r_print_quant.txt", "28"};
}

// Names as long as the forms' own ("For 1 std above the mean of Z", 29
// characters), and longer ones.
const std::vector<std::string> kLongNames = {"High workload (1 SD above mean)", "Mean workload (sample average)",
                                             "Low workload (1 SD below mean)", "Low workload and low autonomy"};
const std::vector<std::string> kLongerNames = {
    "High workload, one SD above the mean", "Average workload, at the sample mean",
    "Low workload, one SD below the mean", "Low workload and low autonomy at work"};

// The lines figure of a fit as the figure tab shows it, with the matrix
// pasted (its bands and the crossing's bracket when asked for).
struct Asked {
  Form form = Form::Quant;
  bool bands = false;
  int names = 0;  // 0 the lines' own, 1 about thirty characters, 2 about forty
  bool crossing = false;
};

Figure LinesFigure(const Asked& asked) {
  const Fit fit = FitOf(asked.form);
  AnalysisInput in;
  in.pasted = Matrix(fit.matrix);
  in.df = fit.df;
  in.bands = asked.bands;
  const Analysis a = Analyse(fit.probe, in);
  EXPECT_TRUE(a.ready) << a.covarianceStatus.text;
  FigureLabels labels;
  const std::vector<std::string>& names = asked.names == 1 ? kLongNames : kLongerNames;
  if (asked.names > 0) labels.names.assign(names.begin(), names.begin() + static_cast<long>(fit.probe.lines.size()));
  // The form's own names (the analysis names the lines after the paste's variables).
  if (asked.names == 0) {
    for (const ProbeLine& line : fit.probe.lines) labels.names.push_back(line.name);
  }
  // 3: the names the analysis gives, after the paste's variables.
  if (asked.names == 3) labels.names.clear();
  labels.showCrossing = asked.crossing;
  return Dressed(a.lines, labels);
}

Figure RegionFigure() {
  const Fit fit = FitOf(Form::Quant3);
  AnalysisInput in;
  in.pasted = Matrix(fit.matrix);
  in.df = fit.df;
  return Analyse(fit.probe, in).regionFigure;
}

// ---- What every layout keeps to --------------------------------------------

struct Box {
  double left, top, right, bottom;
  bool Overlaps(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

Box TextBox(const TextLine& line, double size) {
  return {line.x, line.y - 0.8 * size, line.x + line.width, line.y + 0.2 * size};
}

// Every horizontal line of text the layout sets, with its size.
std::vector<std::pair<const TextLine*, double>> FlatText(const Layout& l) {
  std::vector<std::pair<const TextLine*, double>> out;
  for (const TextBlock* b : {&l.xLabels, &l.yLabels, &l.xTitle, &l.bracketLabel}) {
    for (const TextLine& line : b->lines) out.emplace_back(&line, b->size);
  }
  for (const LegendEntry& e : l.legend.entries) {
    for (const TextLine& line : e.name) out.emplace_back(&line, l.fontSize);
  }
  return out;
}

std::string Joined(const std::vector<TextLine>& lines) {
  std::string out;
  for (const TextLine& line : lines) out += (out.empty() ? "" : " ") + line.text;
  return out;
}

// The words of a text with its blanks collapsed.
std::string Collapsed(const std::string& text) {
  std::istringstream in(text);
  std::string word, out;
  while (in >> word) out += (out.empty() ? "" : " ") + word;
  return out;
}

void ExpectTextInPlace(const Layout& l, const Figure& f, const std::string& where) {
  // The sizes asked for: a title only ever smaller, down to 70%.
  for (const TextBlock* b : {&l.xLabels, &l.yLabels, &l.bracketLabel}) EXPECT_EQ(b->size, l.fontSize) << where;
  for (const TextBlock* b : {&l.xTitle, &l.yTitle}) {
    EXPECT_LE(b->size, l.fontSize) << where;
    EXPECT_GE(b->size, std::max(6.0, 0.7 * l.fontSize) - 1e-9) << where;
  }
  // Titles never cut.
  EXPECT_EQ(Joined(l.xTitle.lines), Collapsed(f.xTitle)) << where;
  EXPECT_EQ(Joined(l.yTitle.lines), Collapsed(f.yTitle)) << where;
  // On the page, and no line of text over another.
  const auto text = FlatText(l);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Box b = TextBox(*text[i].first, text[i].second);
    EXPECT_TRUE(b.left >= -1e-9 && b.top >= -1e-9 && b.right <= l.width + 1e-9 && b.bottom <= l.height + 1e-9)
        << where << ": \"" << text[i].first->text << "\" leaves the page";
    for (std::size_t j = i + 1; j < text.size(); ++j) {
      EXPECT_FALSE(b.Overlaps(TextBox(*text[j].first, text[j].second)))
          << where << ": \"" << text[i].first->text << "\" runs into \"" << text[j].first->text << "\"";
    }
  }
  // The turned y title stays on the page, left of the tick labels.
  for (const TextLine& line : l.yTitle.lines) {
    EXPECT_GE(line.y - line.width, -1e-9) << where;
    EXPECT_LE(line.y, l.height + 1e-9) << where;
    for (const TextLine& label : l.yLabels.lines) EXPECT_LT(line.x + 0.2 * l.yTitle.size, label.x) << where;
  }
}

// The marker's ink reaches 1.3 times half its size (the diamond's corners)
// and half its pen beyond its point.
constexpr double kInk = 1.3 * kMarker + 0.5;

void ExpectMarkersClearOfTheFrame(const Layout& l, const Figure& f, const std::string& where) {
  for (const Line& line : f.lines) {
    if (!line.markers) continue;
    for (auto [x, y] : {std::pair{line.x1, line.y1}, std::pair{line.x2, line.y2}}) {
      if (x < f.xMin || x > f.xMax) continue;
      const double px = l.X(x), py = l.Y(y);
      EXPECT_GE(px - l.frame.left, kInk) << where << ": a marker on the Y axis";
      EXPECT_GE(l.frame.Bottom() - py, kInk) << where << ": a marker on the X axis";
      EXPECT_GE(l.frame.Right() - px, kInk) << where;
      EXPECT_GE(py - l.frame.top, kInk) << where;
    }
  }
}

// Inside the plot, the legend covers no line and no marker; outside it,
// it is clear of the frame and of the text under the plot.
void ExpectLegendClear(const Layout& l, const Figure& f, const std::string& where) {
  const Rect& box = l.legend.box;
  const Box legend{box.left, box.top, box.Right(), box.Bottom()};
  if (l.legend.place == LegendPlace::Inside) {
    EXPECT_TRUE(l.frame.Contains(box)) << where;
    for (const Line& line : f.lines) {
      for (int i = 0; i <= 200; ++i) {
        const double x = line.xFrom + i / 200.0 * (line.xTo - line.xFrom);
        const double y = line.yFrom + i / 200.0 * (line.yTo - line.yFrom);
        EXPECT_FALSE(legend.Overlaps({l.X(x) - 0.75, l.Y(y) - 0.75, l.X(x) + 0.75, l.Y(y) + 0.75}))
            << where << ": the legend covers " << line.name << " at X = " << x;
      }
      for (auto [x, y] : {std::pair{line.x1, line.y1}, std::pair{line.x2, line.y2}}) {
        EXPECT_FALSE(legend.Overlaps({l.X(x) - kInk, l.Y(y) - kInk, l.X(x) + kInk, l.Y(y) + kInk})) << where;
      }
    }
    return;
  }
  const Box frame{l.frame.left, l.frame.top, l.frame.Right(), l.frame.Bottom()};
  EXPECT_FALSE(legend.Overlaps(frame)) << where;
  for (const TextBlock* b : {&l.xLabels, &l.xTitle, &l.bracketLabel}) {
    for (const TextLine& line : b->lines) EXPECT_FALSE(legend.Overlaps(TextBox(line, b->size))) << where;
  }
}

// ---- The journal's sizes ---------------------------------------------------

enum class Place { Any, Below, Inside };

struct SizeCase {
  const char* why;
  Asked asked;
  double widthCm, heightCm;
  double fontSize;
  Place place;
  double share;  // of the figure's area the frame keeps at least
  double below = 0.2;  // of the figure's height a legend below may take
};

class JournalSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(JournalSizes, PlotKeepsMostOfTheFigure) {
  const SizeCase& c = GetParam();
  const Figure f = LinesFigure(c.asked);
  ASSERT_TRUE(f.note.empty()) << f.note;
  const double w = c.widthCm * kPointsPerCm, h = c.heightCm * kPointsPerCm;
  const Layout l = LayOut(f, w, h, c.fontSize, kMeasure);
  ASSERT_TRUE(l.fits) << c.why;
  EXPECT_EQ(l.fontSize, c.fontSize);
  const double share = l.frame.width * l.frame.height / (w * h);
  EXPECT_GE(share, c.share) << c.why;
  // The data keep at least 60% of the frame's height, and its full width
  // but for the markers' room.
  EXPECT_GE(l.data.height, 0.6 * l.frame.height - 1e-9) << c.why;
  EXPECT_GE(l.data.width, l.frame.width - 2 * (kMeetingRadius + 1) - 1e-9) << c.why;
  if (c.place == Place::Below) {
    EXPECT_EQ(l.legend.place, LegendPlace::Below) << c.why;
  } else if (c.place == Place::Inside) {
    EXPECT_EQ(l.legend.place, LegendPlace::Inside) << c.why;
  }
  // A legend below takes no more than a fifth of the height.
  if (l.legend.place == LegendPlace::Below) {
    EXPECT_LE(l.legend.box.height, c.below * h) << c.why;
  }
  EXPECT_EQ(l.legend.entries.size(), f.lines.size()) << c.why;
  ExpectLegendClear(l, f, c.why);
  ExpectMarkersClearOfTheFrame(l, f, c.why);
  ExpectTextInPlace(l, f, c.why);
}

// At 8.5 x 6 cm (241 x 170 pt) a legend of three or four names of thirty
// characters (entries of 24 + 5 + 15 x 9 = 164 pt) has one column of three
// or four rows of 10 pt: 35 pt or more with its gap, over a fifth of 170 pt;
// inside the plot it fits. At 17.5 x 10 cm two columns fit 488 pt: two rows
// are under a fifth of 283 pt. Four names of forty characters (209 pt) fit
// nowhere but below, in four rows: 40 pt, and the plot keeps what is left.
INSTANTIATE_TEST_SUITE_P(
    Figure, JournalSizes,
    ::testing::Values(
        SizeCase{"Quant, 3 lines, long names, 8.5 x 6", {Form::Quant, false, 1}, 8.5, 6, 9, Place::Inside, 0.55},
        SizeCase{"Quant, bands, long names, 8.5 x 6", {Form::Quant, true, 1}, 8.5, 6, 9, Place::Inside, 0.55},
        SizeCase{"Quant3, 4 lines, long names, 8.5 x 6", {Form::Quant3, false, 1}, 8.5, 6, 9, Place::Inside, 0.55},
        SizeCase{"Quant3, bands, long names, 8.5 x 6", {Form::Quant3, true, 1}, 8.5, 6, 9, Place::Inside, 0.55},
        SizeCase{"Quant3, bands, own names, 8.5 x 6", {Form::Quant3, true, 0}, 8.5, 6, 9, Place::Inside, 0.55},
        SizeCase{"Quant, 3 lines, names of forty characters, 8.5 x 6", {Form::Quant, false, 2}, 8.5, 6, 9,
                 Place::Any, 0.55},
        SizeCase{"Quant3, 4 lines, names of forty characters, 8.5 x 6", {Form::Quant3, false, 2}, 8.5, 6, 9,
                 Place::Below, 0.4, 41 / 170.1},
        SizeCase{"Mixed3, bands, 8.5 x 6", {Form::Mixed3, true, 0}, 8.5, 6, 9, Place::Any, 0.55},
        SizeCase{"Quant, own names, 8.5 x 6", {Form::Quant, false, 0}, 8.5, 6, 9, Place::Any, 0.55},
        SizeCase{"Quant, 3 lines, long names, 17.5 x 10", {Form::Quant, false, 1}, 17.5, 10, 9, Place::Below, 0.6},
        SizeCase{"Quant3, bands, long names, 17.5 x 10", {Form::Quant3, true, 1}, 17.5, 10, 9, Place::Below, 0.6},
        SizeCase{"Quant3, names of forty characters, 17.5 x 10", {Form::Quant3, true, 2}, 17.5, 10, 9, Place::Below,
                 0.6},
        SizeCase{"Mixed3, bands, 17.5 x 10", {Form::Mixed3, true, 0}, 17.5, 10, 9, Place::Below, 0.6},
        SizeCase{"Quant with the crossing's bracket, 8.5 x 6", {Form::Quant, true, 0, true}, 8.5, 6, 9, Place::Any,
                 0.45},
        SizeCase{"Quant with the crossing's bracket, 17.5 x 10", {Form::Quant, true, 0, true}, 17.5, 10, 9, Place::Any,
                 0.55},
        SizeCase{"Quant3 in 6 pt, 8.5 x 6", {Form::Quant3, true, 1}, 8.5, 6, 6, Place::Any, 0.5},
        // Four entries of 24 + 5 + 27 x 7 = 218 pt fit neither inside nor
        // beside a frame of 8.5 cm: four rows of 15 pt below.
        SizeCase{"Quant3 in 14 pt, 8.5 x 6", {Form::Quant3, true, 0}, 8.5, 6, 14, Place::Below, 0.2, 61 / 170.1},
        SizeCase{"Quant3 in 14 pt, 17.5 x 10", {Form::Quant3, true, 1}, 17.5, 10, 14, Place::Any, 0.5},
        // The names the paste gives ("x = +1 SD (9.62), v = -1 SD (-41.7)").
        SizeCase{"Quant3, names from the paste, 8.5 x 6", {Form::Quant3, true, 3}, 8.5, 6, 9, Place::Any, 0.5},
        SizeCase{"Quant, names from the paste, 8.5 x 6", {Form::Quant, true, 3}, 8.5, 6, 9, Place::Any, 0.5},
        SizeCase{"Quant3, names from the paste, 17.5 x 10", {Form::Quant3, true, 3}, 17.5, 10, 9, Place::Below, 0.6}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(Layout, TextIsTheSizeAskedAtAnyFigureSize) {
  const Figure f = LinesFigure({Form::Quant3, true, 0});
  for (double size : {6.0, 9.0, 14.0}) {
    for (auto [w, h] : {std::pair{8.5, 6.0}, std::pair{17.5, 10.0}, std::pair{30.0, 20.0}}) {
      const Layout l = LayOut(f, w * kPointsPerCm, h * kPointsPerCm, size, kMeasure);
      ASSERT_TRUE(l.fits);
      for (const TextBlock* b : {&l.xLabels, &l.yLabels, &l.xTitle, &l.yTitle}) EXPECT_EQ(b->size, size);
      // The tick labels stand at the frame's edges, a tick and a gap away.
      for (const TextLine& label : l.xLabels.lines) {
        EXPECT_NEAR(label.y, l.frame.Bottom() + kTickLength + kTickGap + 0.8 * size, 1e-9);
      }
    }
  }
  // Outside 6 to 14 pt the size is held to the nearer end.
  EXPECT_EQ(LayOut(f, 300, 200, 3, kMeasure).fontSize, 6);
  EXPECT_EQ(LayOut(f, 300, 200, 40, kMeasure).fontSize, 14);
}

TEST(Layout, TheRegionFigureKeepsItsTitlesWhole) {
  Figure f = RegionFigure();
  ASSERT_TRUE(f.note.empty()) << f.note;
  f.yTitle = "Effect of agricultural employment on fertility at one SD above the mean share of Catholics";
  for (auto [w, h] : {std::pair{8.5, 6.0}, std::pair{17.5, 10.0}}) {
    const std::string where = std::to_string(w) + " cm";
    const Layout l = LayOut(f, w * kPointsPerCm, h * kPointsPerCm, 9, kMeasure);
    ASSERT_TRUE(l.fits) << where;
    ExpectTextInPlace(l, f, where);
    ExpectLegendClear(l, f, where);
    for (const TextLine& line : l.yTitle.lines) {
      EXPECT_LE(line.width, l.frame.height + 1e-9) << where << ": " << line.text;
    }
  }
}

// A figure of long tick labels in large type: the labels that would touch
// are thinned, and the label of 0 stays.
TEST(Layout, CrowdedTickLabelsAreThinnedKeepingZero) {
  Figure f;
  f.xMin = -250000;
  f.xMax = 250000;
  f.xTicks = NiceTicks(-250000, 250000, 10);
  f.yTicks = NiceTicks(0, 1);
  f.yMin = 0;
  f.yMax = 1;
  f.lines.push_back({.name = "a", .xFrom = -250000, .yFrom = 0, .xTo = 250000, .yTo = 1, .markers = false});
  const Layout l = LayOut(f, 8.5 * kPointsPerCm, 6 * kPointsPerCm, 14, kMeasure);
  ASSERT_TRUE(l.fits);
  ASSERT_GT(l.xTicks.size(), l.xLabels.lines.size());
  EXPECT_TRUE(std::any_of(l.xLabels.lines.begin(), l.xLabels.lines.end(),
                          [](const TextLine& t) { return t.text == "0"; }));
  ExpectTextInPlace(l, f, "crowded ticks");
}

// ---- Titles: wrapped or set smaller, never cut ------------------------------

struct TitleCase {
  const char* why;
  std::string text;
  double length;
  double size;
  std::vector<std::string> lines;  // expected, worked out at 0.5 x size per character
  double fittedSize;
};

class Titles : public ::testing::TestWithParam<TitleCase> {};

TEST_P(Titles, FitTheirAxis) {
  const TitleCase& c = GetParam();
  const Fitted t = FitTitle(c.text, c.length, c.size, kMeasure);
  EXPECT_EQ(t.lines, c.lines) << c.why;
  EXPECT_DOUBLE_EQ(t.size, c.fittedSize) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Figure, Titles,
    ::testing::Values(
        TitleCase{"fits on one line", "Anxiety", 100, 10, {"Anxiety"}, 10},
        TitleCase{"nothing", "", 100, 10, {}, 10},
        // 23 characters, 115 pt: two lines; the break that keeps the longer
        // line shortest (10 and 12 characters) and parts no "=" from its name.
        TitleCase{"two even lines", "Slope of X at V = +1 SD", 100, 10, {"Slope of X", "at V = +1 SD"}, 10},
        // Ten words of four letters need 24 characters a line on two lines:
        // 8 pt gives 25 to 100 pt, 8.5 pt only 23.
        TitleCase{"smaller, on two lines", "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj", 100, 10,
                  {"aaaa bbbb cccc dddd eeee", "ffff gggg hhhh iiii jjjj"}, 8},
        // 59 characters: not two lines even at 7 pt (28 a line), so three there.
        TitleCase{"at 70% on as many lines as it needs", "Predicted number of days absent from work in the last month",
                  100, 10, {"Predicted number of days", "absent from work in the last", "month"}, 7},
        TitleCase{"a word longer than the axis stays whole", "Counterrevolutionaries", 50, 10,
                  {"Counterrevolutionaries"}, 7},
        TitleCase{"runs of blanks count as one", "  Job   strain ", 100, 9, {"Job strain"}, 9},
        TitleCase{"never below 6 pt", "aaaaaaaaaaaaaaaaaaaa", 10, 7, {"aaaaaaaaaaaaaaaaaaaa"}, 6}),
    [](const auto& info) { return std::to_string(info.index); });

// ---- The look, which changes no number ------------------------------------

TEST(Look, DressingTheCrossingAndTheBands) {
  // The analysis describes the bracket (here: the lines all cross at 1.1,
  // beyond the X range) and the ring; the dressing keeps or drops them.
  const Fit fit = FitOf(Form::Quant);
  AnalysisInput in;
  in.pasted = Matrix(fit.matrix);
  in.df = fit.df;
  in.bands = true;
  const Analysis a = Analyse(fit.probe, in);
  ASSERT_TRUE(a.lines.bracket.has_value());
  EXPECT_EQ(a.lines.bracket->label.rfind("the lines cross at X = 1.1, 95% CI [", 0), 0u) << a.lines.bracket->label;
  FigureLabels shown, hidden;
  hidden.bandStyle = BandStyle::Edges;
  hidden.showCrossing = false;
  const Figure on = Dressed(a.lines, shown);
  const Figure off = Dressed(a.lines, hidden);
  EXPECT_TRUE(on.bracket.has_value());
  EXPECT_FALSE(off.bracket.has_value());
  EXPECT_FALSE(off.meeting.has_value());
  EXPECT_EQ(on.bandStyle, BandStyle::Filled);
  EXPECT_EQ(off.bandStyle, BandStyle::Edges);
  // Everything else is the same figure.
  ASSERT_EQ(off.lines.size(), a.lines.lines.size());
  ASSERT_EQ(off.bands.size(), a.lines.bands.size());
  for (std::size_t i = 0; i < off.bands.size(); ++i) EXPECT_EQ(off.bands[i].upper, a.lines.bands[i].upper);
  EXPECT_EQ(off.yMin, a.lines.yMin);
  EXPECT_EQ(off.yMax, a.lines.yMax);
}

struct DefaultCase {
  const char* why;
  Probe probe;
  bool shown;
};

class CrossingDefault : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(CrossingDefault, ShownWhereThereIsOneCrossing) {
  EXPECT_EQ(CrossingShownByDefault(GetParam().probe), GetParam().shown) << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(
    Look, CrossingDefault,
    ::testing::Values(
        DefaultCase{"Quant: all lines meet", QuantFit(), true},
        DefaultCase{"QuantZ: all lines meet",
                    QuantZProbe(
                        {.bx = 0.5, .bz = 0.25, .bxz = 0.125, .a = 2, .stdx = 4, .hiz = 1, .medz = 0, .loz = -1}),
                    true},
        DefaultCase{"Mixed2: one pair", Mixed2Probe({.bx = 7.8, .bz = -3.7, .bxz = 3.9, .a = 20.7, .stdx = 0.63}),
                    true},
        DefaultCase{"Mixed3: three pairs crossing apart", Mixed3Fit(), false},
        DefaultCase{"Quant3: six pairs crossing apart", Quant3Fit(), false}),
    [](const auto& info) { return std::to_string(info.index); });

struct RetitleCase {
  const char* why;
  std::string x, y, heldAt;
  std::string xTitle, yTitle;  // expected
};

class RegionTitles : public ::testing::TestWithParam<RetitleCase> {};

TEST_P(RegionTitles, TypedOrTheFiguresOwn) {
  const RetitleCase& c = GetParam();
  Figure f;
  f.xTitle = "Z";
  f.yTitle = "Slope of X" + (c.heldAt.empty() ? std::string() : " at " + c.heldAt);
  f.lines.push_back({.name = "slope"});
  const Figure t = RegionTitled(f, c.x, c.y, c.heldAt);
  EXPECT_EQ(t.xTitle, c.xTitle) << c.why;
  EXPECT_EQ(t.yTitle, c.yTitle) << c.why;
  EXPECT_EQ(t.lines.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Look, RegionTitles,
    ::testing::Values(
        RetitleCase{"empty: the figure's own", "", "", "", "Z", "Slope of X"},
        RetitleCase{"typed", "Education", "Effect of agriculture", "", "Education", "Effect of agriculture"},
        RetitleCase{"held value kept", "", "Effect of agriculture", "V = +1 SD", "Z",
                    "Effect of agriculture at V = +1 SD"},
        RetitleCase{"held value typed already", "", "Effect at V = +1 SD", "V = +1 SD", "Z", "Effect at V = +1 SD"},
        RetitleCase{"x only", "Years of schooling", "", "V = -1 SD", "Years of schooling",
                    "Slope of X at V = -1 SD"}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
