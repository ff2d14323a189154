// The figure description: tick values and labels, the X range choices, the
// point where the lines meet, and the notes that replace a figure; the
// lines' confidence bands and the crossing's bracket; the region figure's
// range, band, shaded intervals and bounds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "figure/figure.h"
#include "models/mixed2.h"
#include "models/quant.h"
#include "models/quant3.h"
#include "models/quantz.h"
#include "shell/number_text.h"
#include "stats/reference.h"

using namespace marvane;
using namespace marvane::figure;

namespace {

std::vector<std::string> Labels(const std::vector<Tick>& ticks) {
  std::vector<std::string> out;
  for (const Tick& t : ticks) out.push_back(t.label);
  return out;
}

struct TickCase {
  const char* why;
  double lo, hi;
  std::vector<std::string> labels;
};

class Ticks : public ::testing::TestWithParam<TickCase> {};

TEST_P(Ticks, RoundValuesThatEncloseTheRange) {
  const TickCase& c = GetParam();
  const std::vector<Tick> ticks = NiceTicks(c.lo, c.hi);
  EXPECT_EQ(Labels(ticks), c.labels) << c.why;
  ASSERT_FALSE(ticks.empty());
  EXPECT_LE(ticks.front().value, c.lo);
  EXPECT_GE(ticks.back().value, c.hi);
}

INSTANTIATE_TEST_SUITE_P(
    Figure, Ticks,
    ::testing::Values(
        TickCase{"unit range", 0, 1, {"0", "0.2", "0.4", "0.6", "0.8", "1"}},
        TickCase{"decimal steps sum without stray digits", 0.1, 0.9, {"0", "0.2", "0.4", "0.6", "0.8", "1"}},
        TickCase{"symmetric about zero", -4, 4, {"-4", "-2", "0", "2", "4"}},
        TickCase{"negative only", -37, -12, {"-40", "-35", "-30", "-25", "-20", "-15", "-10"}},
        TickCase{"large magnitudes", 12000, 98000, {"0", "20000", "40000", "60000", "80000", "100000"}},
        TickCase{"small magnitudes in exponent form", 0.00001, 0.00004,
                 {"1E-05", "2E-05", "3E-05", "4E-05", "5E-05"}},
        TickCase{"mixed signs", -0.3, 2.6, {"-1", "0", "1", "2", "3"}},
        TickCase{"no width: widened around the value", 3, 3, {"2.6", "2.8", "3", "3.2", "3.4"}},
        TickCase{"no width at zero", 0, 0, {"-1", "-0.5", "0", "0.5", "1"}}),
    [](const auto& info) { return std::to_string(info.index); });

Probe QuantExample(double bxz = 0.125, double stdx = 4) {
  return QuantProbe({.bx = 0.5, .bz = 0.25, .bxz = bxz, .a = 2, .stdz = 2, .stdx = stdx});
}

TEST(Figure, LinesFollowSlopesAndInterceptsOverTheRange) {
  const Probe p = QuantExample();
  const Figure f = Describe(p, {});
  ASSERT_TRUE(f.note.empty()) << f.note;
  ASSERT_EQ(f.lines.size(), 3u);
  EXPECT_EQ(f.xMin, -4);
  EXPECT_EQ(f.xMax, 4);
  // Z = +2: slope 0.75, intercept 2.5; at X = -4 and 4.
  EXPECT_DOUBLE_EQ(f.lines[0].yFrom, 2.5 - 4 * 0.75);
  EXPECT_DOUBLE_EQ(f.lines[0].yTo, 2.5 + 4 * 0.75);
  EXPECT_EQ(f.lines[0].name, "For 1 std above the mean of Z");
  EXPECT_EQ(f.lines[2].name, "For 1 std below the mean of Z");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f.lines[static_cast<std::size_t>(i)].style, i);
  EXPECT_LE(f.yMin, -0.5);
  EXPECT_GE(f.yMax, 5.5);
}

struct RangeCase {
  const char* why;
  Range range;
  double from, to;      // typed
  double stdx;
  double xMin, xMax;    // expected; xMin > xMax: a note instead
};

class Ranges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(Ranges, XRangeOrANote) {
  const RangeCase& c = GetParam();
  Options o;
  o.range = c.range;
  o.typedFrom = c.from;
  o.typedTo = c.to;
  const Figure f = Describe(QuantExample(0.125, c.stdx), o);
  if (c.xMin > c.xMax) {
    EXPECT_FALSE(f.note.empty()) << c.why;
    EXPECT_TRUE(f.lines.empty()) << c.why;
    return;
  }
  EXPECT_TRUE(f.note.empty()) << c.why << ": " << f.note;
  EXPECT_EQ(f.xMin, c.xMin) << c.why;
  EXPECT_EQ(f.xMax, c.xMax) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Figure, Ranges,
    ::testing::Values(RangeCase{"one SD", Range::OneSd, 0, 0, 4, -4, 4},
                      RangeCase{"two SD", Range::TwoSd, 0, 0, 4, -8, 8},
                      RangeCase{"typed", Range::Typed, -1, 10, 4, -1, 10},
                      RangeCase{"typed backwards", Range::Typed, 3, -3, 4, 1, 0},
                      RangeCase{"typed without width", Range::Typed, 2, 2, 4, 1, 0},
                      RangeCase{"stdx zero", Range::OneSd, 0, 0, 0, 1, 0},
                      RangeCase{"stdx negative", Range::TwoSd, 0, 0, -2, 1, 0},
                      RangeCase{"stdx negative, typed range still draws", Range::Typed, -1, 1, -2, -1, 1}),
    [](const auto& info) { return std::to_string(info.index); });

struct MeetingCase {
  const char* why;
  double bxz;
  Range range;
  bool marked;
};

class Meeting : public ::testing::TestWithParam<MeetingCase> {};

// Quant's example meets at X = -bz/bxz: -2 for bxz 0.125, -8 for 0.03125.
TEST_P(Meeting, MarkedOnlyInsideTheRange) {
  const MeetingCase& c = GetParam();
  Options o;
  o.range = c.range;
  const Probe p = QuantExample(c.bxz);
  const Figure f = Describe(p, o);
  ASSERT_EQ(f.meeting.has_value(), c.marked) << c.why;
  if (!c.marked) return;
  EXPECT_DOUBLE_EQ(f.meeting->x, p.meetingX);
  // Every line passes through it.
  for (const ProbeLine& l : p.lines) {
    EXPECT_NEAR(l.line.intercept + f.meeting->x * l.line.slope, f.meeting->y, 1e-12) << c.why;
  }
  EXPECT_EQ(f.meeting->label, "X = " + std::string(c.bxz == 0.125 ? "-2" : "-8"));
}

INSTANTIATE_TEST_SUITE_P(Figure, Meeting,
                         ::testing::Values(MeetingCase{"inside", 0.125, Range::OneSd, true},
                                           MeetingCase{"outside one SD", 0.03125, Range::OneSd, false},
                                           MeetingCase{"on the edge of two SD", 0.03125, Range::TwoSd, true},
                                           MeetingCase{"parallel lines never meet", 0, Range::TwoSd, false}),
                         [](const auto& info) { return std::to_string(info.index); });

TEST(Figure, CoincidingLinesAreAllDrawnAndNothingIsMarked) {
  const Probe p = QuantProbe({.bx = 1, .bz = 0, .bxz = 0, .a = 1, .stdz = 2, .stdx = 1});
  const Figure f = Describe(p, {});
  ASSERT_EQ(f.lines.size(), 3u);
  EXPECT_EQ(f.lines[0].yTo, f.lines[2].yTo);
  EXPECT_FALSE(f.meeting.has_value());
  EXPECT_FALSE(f.yTicks.empty());
}

TEST(Figure, TwoGroupLinesMeetingIsNotMarked) {
  // Only the forms whose lines all meet in one point mark it.
  const Figure f = Describe(Mixed2Probe({.bx = 0.5, .bz = 1, .bxz = 0.25, .a = 2, .stdx = 8}), {});
  EXPECT_FALSE(f.meeting.has_value());
  ASSERT_EQ(f.lines.size(), 2u);
}

TEST(Figure, EditedNamesAndTitlesReplaceTheDefaults) {
  Options o;
  o.names = {"High Z", "", "Low Z"};
  o.xTitle = "Anxiety";
  o.yTitle = "";
  const Figure f = Describe(QuantExample(), o);
  EXPECT_EQ(f.lines[0].name, "High Z");
  EXPECT_EQ(f.lines[1].name, "For the mean of Z");
  EXPECT_EQ(f.lines[2].name, "Low Z");
  EXPECT_EQ(f.xTitle, "Anxiety");
  EXPECT_EQ(f.yTitle, "");
}

TEST(Figure, HugeValuesGiveANoteNotAFigure) {
  Probe p;
  p.stdx = 1e10;
  p.lines.push_back({.name = "steep", .line = {.slope = 1e300}, .slope = {}, .intercept = {}});
  const Figure f = Describe(p, {});
  EXPECT_FALSE(f.note.empty());
  EXPECT_TRUE(f.lines.empty());
}

TEST(Probe, HeadingsAreTrimmedAndCollapsed) {
  EXPECT_EQ(CollapseBlanks("  +1 std of Z   and  -1 std of V"), "+1 std of Z and -1 std of V");
  EXPECT_EQ(LineHeading("Quant3", 2), "+1 std of Z and -1 std of V");
  EXPECT_EQ(LineHeading("Mixed2", 1), "For target group (coded 1)");
  EXPECT_EQ(LineHeading("Nowhere", 1), "");
}

// ---- Confidence bands of the lines --------------------------------------

// A covariance matrix of Quant's four weights (a, bx, bz, bxz), row by row.
stats::WeightCovariance Matrix(std::vector<double> cells, std::vector<bool> known = {true, true, true, true}) {
  stats::WeightCovariance v;
  v.size = known.size();
  v.cells = std::move(cells);
  v.known = std::move(known);
  return v;
}

const std::vector<double> kDiagonal = {0.04, 0, 0, 0, 0, 0.01, 0, 0, 0, 0, 0.02, 0, 0, 0, 0, 0.002};
// With covariances that move each band's narrowest point away from X = 0.
const std::vector<double> kCorrelated = {0.04,  0.012, 0.001, 0.002, 0.012, 0.01,  0.0005, 0.0011,
                                         0.001, 0.0005, 0.02, 0.001, 0.002, 0.0011, 0.001,  0.002};

// Every number a figure holds, to check that none is NaN or infinite.
std::vector<double> Numbers(const Figure& f) {
  std::vector<double> n = {f.xMin, f.xMax, f.yMin, f.yMax};
  for (const auto* ticks : {&f.xTicks, &f.yTicks}) {
    for (const Tick& t : *ticks) n.push_back(t.value);
  }
  for (const Line& l : f.lines) n.insert(n.end(), {l.xFrom, l.yFrom, l.xTo, l.yTo, l.x1, l.y1, l.x2, l.y2});
  if (f.meeting) n.insert(n.end(), {f.meeting->x, f.meeting->y});
  for (const Band& b : f.bands) {
    for (const auto* v : {&b.x, &b.lower, &b.upper}) n.insert(n.end(), v->begin(), v->end());
  }
  for (const Span& s : f.spans) n.insert(n.end(), {s.from, s.to});
  for (const Bound& b : f.bounds) n.push_back(b.x);
  if (f.bracket) n.insert(n.end(), {f.bracket->from, f.bracket->to, f.bracket->estimate});
  return n;
}

bool AllFinite(const Figure& f) {
  for (double x : Numbers(f)) {
    if (!std::isfinite(x)) return false;
  }
  return true;
}

struct BandCase {
  const char* why;
  Probe probe;
  std::vector<double> cells;
  stats::Reference reference;
  Range range;
};

class Bands : public ::testing::TestWithParam<BandCase> {};

// Each band is the line +- critical * SE of (M + x L) . weights, with the
// SE taken here from the combination's own coefficients at every sample.
TEST_P(Bands, ContainTheLineAndWidenAwayFromTheNarrowestPoint) {
  const BandCase& c = GetParam();
  const stats::WeightCovariance v = Matrix(c.cells);
  Options o;
  o.range = c.range;
  o.bands = true;
  o.covariance = &v;
  o.reference = c.reference;
  const Figure f = Describe(c.probe, o);
  ASSERT_TRUE(f.note.empty()) << f.note;
  EXPECT_TRUE(f.bandsNote.empty()) << f.bandsNote;
  ASSERT_EQ(f.bands.size(), c.probe.lines.size()) << c.why;
  EXPECT_TRUE(AllFinite(f)) << c.why;
  const double critical = stats::Critical(c.reference);
  for (std::size_t k = 0; k < f.bands.size(); ++k) {
    const Band& b = f.bands[k];
    const ProbeLine& pl = c.probe.lines[k];
    EXPECT_EQ(b.style, f.lines[k].style);
    ASSERT_GE(b.x.size(), 100u) << "too few samples for a smooth edge";
    ASSERT_EQ(b.lower.size(), b.x.size());
    ASSERT_EQ(b.upper.size(), b.x.size());
    EXPECT_EQ(b.x.front(), f.xMin);
    EXPECT_EQ(b.x.back(), f.xMax);
    std::size_t narrowest = 0;
    for (std::size_t i = 0; i < b.x.size(); ++i) {
      const double x = b.x[i];
      if (i > 0) {
        EXPECT_LT(b.x[i - 1], x);
      }
      std::vector<double> combination(pl.slope.size());
      for (std::size_t j = 0; j < combination.size(); ++j) combination[j] = pl.intercept[j] + x * pl.slope[j];
      const double se = std::sqrt(stats::Covariance(combination, combination, v));
      const double y = pl.line.intercept + x * pl.line.slope;
      EXPECT_LE(b.lower[i], y);
      EXPECT_GE(b.upper[i], y);
      EXPECT_NEAR(b.upper[i] - y, critical * se, 1e-12 * (1 + critical * se)) << c.why << " at X = " << x;
      EXPECT_NEAR(y - b.lower[i], critical * se, 1e-12 * (1 + critical * se)) << c.why << " at X = " << x;
      EXPECT_GE(b.lower[i], f.yMin);
      EXPECT_LE(b.upper[i], f.yMax);
      if (b.upper[i] - b.lower[i] < b.upper[narrowest] - b.lower[narrowest]) narrowest = i;
    }
    // Away from the narrowest point the band only widens, on both sides.
    for (std::size_t i = narrowest + 1; i < b.x.size(); ++i) {
      EXPECT_GE(b.upper[i] - b.lower[i], b.upper[i - 1] - b.lower[i - 1] - 1e-12) << c.why;
    }
    for (std::size_t i = narrowest; i > 0; --i) {
      EXPECT_LE(b.upper[i] - b.lower[i], b.upper[i - 1] - b.lower[i - 1] + 1e-12) << c.why;
    }
    // The narrowest point lies where the variance has its minimum,
    // -M'VL / L'VL, when that is inside the range.
    const double x0 = -stats::Covariance(pl.intercept, pl.slope, v) / stats::Covariance(pl.slope, pl.slope, v);
    if (x0 > f.xMin && x0 < f.xMax) {
      EXPECT_DOUBLE_EQ(b.x[narrowest], x0) << c.why;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Figure, Bands,
    ::testing::Values(BandCase{"diagonal, normal 95%", QuantExample(), kDiagonal, {}, Range::OneSd},
                      BandCase{"correlated, normal 95%", QuantExample(), kCorrelated, {}, Range::OneSd},
                      BandCase{"correlated, t(12) 99%, two SD", QuantExample(), kCorrelated,
                               {.normal = false, .df = 12, .level = 0.99}, Range::TwoSd},
                      BandCase{"two groups", Mixed2Probe({.bx = 0.5, .bz = 1, .bxz = 0.25, .a = 2, .stdx = 8}),
                               kCorrelated, {.normal = true, .df = 0, .level = 0.9}, Range::OneSd}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(Figure, BandsLeaveTheLinesAndDefaultsAsTheyWere) {
  const stats::WeightCovariance v = Matrix(kCorrelated);
  Options with;
  with.bands = true;
  with.covariance = &v;
  Options without;
  without.covariance = &v;  // a matrix alone draws no band
  const Figure a = Describe(QuantExample(), with), b = Describe(QuantExample(), without);
  EXPECT_TRUE(b.bands.empty());
  EXPECT_TRUE(b.bandsNote.empty());
  EXPECT_FALSE(b.zeroLine);
  EXPECT_FALSE(b.bracket.has_value());
  ASSERT_EQ(a.lines.size(), b.lines.size());
  for (std::size_t k = 0; k < a.lines.size(); ++k) {
    EXPECT_EQ(a.lines[k].yFrom, b.lines[k].yFrom);
    EXPECT_EQ(a.lines[k].yTo, b.lines[k].yTo);
    EXPECT_TRUE(a.lines[k].markers);
  }
  // The bands reach beyond the lines, and the Y range follows them.
  ASSERT_EQ(a.bands.size(), 3u);
  double lineLow = 1e9, bandLow = 1e9;
  for (const Line& l : a.lines) lineLow = std::min({lineLow, l.yFrom, l.yTo});
  for (const Band& band : a.bands) bandLow = std::min(bandLow, *std::min_element(band.lower.begin(), band.lower.end()));
  EXPECT_LT(bandLow, lineLow);
  EXPECT_LE(a.yMin, bandLow);
}

struct NoBandCase {
  const char* why;
  stats::WeightCovariance v;
  bool withMatrix;
  stats::Reference reference;
  std::size_t bands;        // how many lines keep theirs
  const char* noteHas;      // a phrase of the note
};

class NoBands : public ::testing::TestWithParam<NoBandCase> {};

TEST_P(NoBands, AreToldInWords) {
  const NoBandCase& c = GetParam();
  Options o;
  o.bands = true;
  o.covariance = c.withMatrix ? &c.v : nullptr;
  o.reference = c.reference;
  const Figure f = Describe(QuantExample(), o);
  ASSERT_TRUE(f.note.empty()) << f.note;
  EXPECT_EQ(f.lines.size(), 3u) << "the lines are drawn all the same";
  EXPECT_EQ(f.bands.size(), c.bands) << c.why;
  EXPECT_NE(f.bandsNote.find(c.noteHas), std::string::npos) << c.why << ": " << f.bandsNote;
  EXPECT_EQ(f.bandsNote.find("nan"), std::string::npos);
  EXPECT_TRUE(AllFinite(f)) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Figure, NoBands,
    ::testing::Values(
        NoBandCase{"the constant is not known", Matrix(kDiagonal, {false, true, true, true}), true, {}, 0,
                   "No bands: every line needs the variance of the constant"},
        NoBandCase{"negative for the mean line only",
                   Matrix({0.04, 0, 0, 0, 0, -0.05, 0, 0, 0, 0, 0.02, 0, 0, 0, 0, 0.02}), true, {}, 2,
                   "No band for For the mean of Z: it has a variance that comes out negative"},
        NoBandCase{"negative for every line",
                   Matrix({0.04, 0, 0, 0, 0, -0.5, 0, 0, 0, 0, 0.02, 0, 0, 0, 0, 0.02}), true, {}, 0,
                   "No band for For 1 std below the mean of Z: it has a variance that comes out negative"},
        NoBandCase{"no matrix", {}, false, {}, 0, "need the covariance matrix"},
        NoBandCase{"a level of 100%", Matrix(kDiagonal), true, {.normal = true, .df = 0, .level = 1}, 0,
                   "confidence level"},
        NoBandCase{"t without degrees of freedom", Matrix(kDiagonal), true, {.normal = false, .df = 0, .level = 0.95},
                   0, "degrees of freedom"}),
    [](const auto& info) { return std::to_string(info.index); });

// ---- The crossing's bracket ----------------------------------------------

struct BracketCase {
  const char* why;
  stats::Crossover crossover;
  bool drawn;
  double from, to;
  bool openFrom, openTo, estimateShown;
  const char* label = "";
};

stats::Crossover Cross(stats::Crossover::Kind kind, double x, double lower, double upper,
                       stats::Test::State state = stats::Test::State::Tested) {
  stats::Crossover c;
  c.name = "all lines";
  c.allLines = true;
  c.state = state;
  c.kind = kind;
  c.x = x;
  c.lower = lower;
  c.upper = upper;
  return c;
}

class Brackets : public ::testing::TestWithParam<BracketCase> {};

// The X range is -4 .. 4.
TEST_P(Brackets, OnlyFiniteIntervalsReachingIntoTheRange) {
  const BracketCase& c = GetParam();
  Options o;
  o.crossover = c.crossover;
  const Figure f = Describe(QuantExample(), o);
  ASSERT_EQ(f.bracket.has_value(), c.drawn) << c.why;
  EXPECT_TRUE(AllFinite(f));
  if (!c.drawn) return;
  EXPECT_EQ(f.bracket->from, c.from) << c.why;
  EXPECT_EQ(f.bracket->to, c.to) << c.why;
  EXPECT_EQ(f.bracket->openFrom, c.openFrom) << c.why;
  EXPECT_EQ(f.bracket->openTo, c.openTo) << c.why;
  EXPECT_EQ(f.bracket->estimateShown, c.estimateShown) << c.why;
  // The label names the pair and gives the whole interval, also where the
  // range cuts it.
  EXPECT_EQ(f.bracket->label, c.label) << c.why;
}

// Lines k and l (from 0) of a pair, as the crossings table has them.
stats::Crossover Pair(std::size_t k, std::size_t l, double x, double lower, double upper) {
  stats::Crossover c = Cross(stats::Crossover::Kind::Interval, x, lower, upper);
  c.allLines = false;
  c.k = k;
  c.l = l;
  c.name = "a vs b";
  return c;
}

using CK = stats::Crossover::Kind;
INSTANTIATE_TEST_SUITE_P(
    Figure, Brackets,
    ::testing::Values(
        BracketCase{"inside", Cross(CK::Interval, -2, -3.1, -0.9), true, -3.1, -0.9, false, false, true,
                    "the lines cross at X = -2, 95% CI [-3.1, -0.9]"},
        BracketCase{"cut on the left", Cross(CK::Interval, -5, -9, 1), true, -4, 1, true, false, false,
                    "the lines cross at X = -5, 95% CI [-9, 1]"},
        BracketCase{"cut on both sides", Cross(CK::Interval, 0.5, -9, 7), true, -4, 4, true, true, true,
                    "the lines cross at X = 0.5, 95% CI [-9, 7]"},
        BracketCase{"a point", Cross(CK::Interval, 1, 1, 1), true, 1, 1, false, false, true,
                    "the lines cross at X = 1, 95% CI [1, 1]"},
        BracketCase{"a pair, named by the lines' places from 1", Pair(0, 2, -13.94, -28.41, -3.818), true, -4, -3.818,
                    true, false, false, "lines 1 and 3 cross at X = -13.9, 95% CI [-28.4, -3.82]"},
        BracketCase{"a pair whose estimate is no number",
                    Pair(1, 2, std::numeric_limits<double>::quiet_NaN(), -1, 2), true, -1, 2, false, false, false,
                    "lines 2 and 3 cross: 95% CI [-1, 2]"},
        BracketCase{"wholly above the range", Cross(CK::Interval, 6, 5, 7), false, 0, 0, false, false, false},
        BracketCase{"wholly below the range", Cross(CK::Interval, -6, -7, -4.5), false, 0, 0, false, false, false},
        BracketCase{"two rays", Cross(CK::Outside, 0, -1, 1), false, 0, 0, false, false, false},
        BracketCase{"everywhere", Cross(CK::Everywhere, 0, 0, 0), false, 0, 0, false, false, false},
        BracketCase{"needs an unknown weight", Cross(CK::Interval, 0, -1, 1, stats::Test::State::NeedsUnknown),
                    false, 0, 0, false, false, false},
        BracketCase{"not a number", Cross(CK::Interval, 0, std::nan(""), 1), false, 0, 0, false, false, false},
        BracketCase{"backwards", Cross(CK::Interval, 0, 1, -1), false, 0, 0, false, false, false}),
    [](const auto& info) { return std::to_string(info.index); });

// ---- The region figure ---------------------------------------------------

const stats::Region kOutside{stats::Region::Kind::Outside, -13.81, -1.93};

struct RegionRangeCase {
  const char* why;
  Probe probe;
  RegionOptions options;
  double from, to;  // from > to: a note instead
};

class RegionRanges : public ::testing::TestWithParam<RegionRangeCase> {};

TEST_P(RegionRanges, FromTheSdTheTypedValuesOrTyped) {
  const RegionRangeCase& c = GetParam();
  const Figure f = DescribeRegion(c.probe, c.probe.effects.front(), Matrix(kCorrelated), {}, kOutside, c.options);
  EXPECT_TRUE(AllFinite(f)) << c.why;
  if (c.from > c.to) {
    EXPECT_FALSE(f.note.empty()) << c.why;
    EXPECT_TRUE(f.lines.empty() && f.bands.empty() && f.spans.empty()) << c.why;
    return;
  }
  ASSERT_TRUE(f.note.empty()) << c.why << ": " << f.note;
  EXPECT_DOUBLE_EQ(f.xMin, c.from) << c.why;
  EXPECT_DOUBLE_EQ(f.xMax, c.to) << c.why;
  ASSERT_EQ(f.lines.size(), 1u);
  EXPECT_EQ(f.lines[0].xFrom, f.xMin);
  EXPECT_EQ(f.lines[0].xTo, f.xMax);
}

Probe QuantZExample(double hi, double med, double lo) {
  return QuantZProbe({.bx = 0.5, .bz = 0.25, .bxz = 0.125, .a = 2, .stdx = 4, .hiz = hi, .medz = med, .loz = lo});
}

RegionOptions Typed(double from, double to) {
  RegionOptions o;
  o.typed = true;
  o.typedFrom = from;
  o.typedTo = to;
  return o;
}

INSTANTIATE_TEST_SUITE_P(
    Figure, RegionRanges,
    ::testing::Values(
        RegionRangeCase{"two SD of Z", QuantExample(), {}, -4, 4},
        RegionRangeCase{"QuantZ: the typed values and half their spread", QuantZExample(1.5, 0.5, -1), {}, -2.25, 2.75},
        RegionRangeCase{"QuantZ: values in any order", QuantZExample(-1, 4, 0), {}, -3.5, 6.5},
        RegionRangeCase{"QuantZ: two equal values", QuantZExample(2, 2, 0), {}, -1, 3},
        RegionRangeCase{"QuantZ: all three equal", QuantZExample(3, 3, 3), {}, 2, 4},
        RegionRangeCase{"typed", QuantExample(), Typed(-1, 10), -1, 10},
        RegionRangeCase{"typed on QuantZ", QuantZExample(1, 2, 3), Typed(-5, 5), -5, 5},
        RegionRangeCase{"typed backwards", QuantExample(), Typed(3, -3), 1, 0},
        RegionRangeCase{"typed without width", QuantExample(), Typed(2, 2), 1, 0},
        RegionRangeCase{"typed not a number", QuantExample(), Typed(std::nan(""), 2), 1, 0},
        RegionRangeCase{"SD zero and no typed values",
                        QuantProbe({.bx = 0.5, .bz = 0.25, .bxz = 0.125, .a = 2, .stdz = 0, .stdx = 4}), {}, 1, 0}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(Figure, RegionFigureDrawsTheEffectItsBandAndTheZeroLine) {
  const Probe p = QuantExample();
  const stats::WeightCovariance v = Matrix(kCorrelated);
  const stats::Reference r{.normal = false, .df = 20, .level = 0.9};
  const Figure f = DescribeRegion(p, p.effects.front(), v, r, kOutside);
  ASSERT_TRUE(f.note.empty()) << f.note;
  EXPECT_EQ(f.xTitle, "Z");
  EXPECT_EQ(f.yTitle, "Slope of X");
  ASSERT_EQ(f.lines.size(), 1u);
  EXPECT_FALSE(f.lines[0].markers);
  // e(z) = bx + z bxz = 0.5 + 0.125 z.
  EXPECT_DOUBLE_EQ(f.lines[0].yFrom, 0.5 - 4 * 0.125);
  EXPECT_DOUBLE_EQ(f.lines[0].yTo, 0.5 + 4 * 0.125);
  EXPECT_TRUE(f.zeroLine);
  EXPECT_LE(f.yMin, 0);
  EXPECT_GE(f.yMax, 0);
  EXPECT_EQ(f.bandLegend, "90% confidence band");
  EXPECT_EQ(f.spanLegend, "significant, p < .1");
  ASSERT_EQ(f.bands.size(), 1u);
  const Band& b = f.bands[0];
  const double t = stats::Critical(r);
  for (std::size_t i = 0; i < b.x.size(); ++i) {
    const double z = b.x[i];
    const double var = v.At(1, 1) + 2 * z * v.At(1, 3) + z * z * v.At(3, 3);
    const double e = 0.5 + 0.125 * z;
    EXPECT_NEAR(b.lower[i], e - t * std::sqrt(var), 1e-12);
    EXPECT_NEAR(b.upper[i], e + t * std::sqrt(var), 1e-12);
    EXPECT_GE(b.lower[i], f.yMin);
    EXPECT_LE(b.upper[i], f.yMax);
  }
}

TEST(Figure, RegionTitlesNameWhatIsHeld) {
  const Probe p = Quant3Probe({.bx = 1, .bz = 2, .bv = 3, .bxz = 0.5, .bxv = 0.25, .bzv = 0.1, .bxzv = 0.05, .a = 10,
                               .stdx = 2, .stdz = 1, .stdv = 4});
  ASSERT_GE(p.effects.size(), 3u);
  stats::WeightCovariance v;
  v.size = p.weights.size();
  v.cells.assign(v.size * v.size, 0);
  for (std::size_t i = 0; i < v.size; ++i) v.cells[i * v.size + i] = 0.01;
  v.known.assign(v.size, true);
  const Figure along = DescribeRegion(p, p.effects[0], v, {}, {});
  EXPECT_EQ(along.yTitle, "Slope of X at " + p.effects[0].heldAt);
  EXPECT_EQ(along.xTitle, p.effects[0].along);
  // Along V: +-2 SD of V.
  const LinearEffect& alongV = p.effects[2];
  ASSERT_EQ(alongV.along, "V");
  const Figure fv = DescribeRegion(p, alongV, v, {}, {});
  EXPECT_EQ(fv.xMin, -8);
  EXPECT_EQ(fv.xMax, 8);
  RegionOptions named;
  named.xTitle = "Anxiety";
  named.yTitle = "";
  const Figure renamed = DescribeRegion(p, p.effects[0], v, {}, {}, named);
  EXPECT_EQ(renamed.xTitle, "Anxiety");
  EXPECT_EQ(renamed.yTitle, "");
}

struct SpanCase {
  const char* why;
  stats::Region region;
  std::vector<std::pair<double, double>> spans;
  std::vector<std::string> bounds;  // labels of the marked bounds
};

class Spans : public ::testing::TestWithParam<SpanCase> {};

// The range is -4 .. 4 (+-2 SD of Z).
TEST_P(Spans, ShadeTheRegionClippedToTheRange) {
  const SpanCase& c = GetParam();
  const Probe p = QuantExample();
  const Figure f = DescribeRegion(p, p.effects.front(), Matrix(kDiagonal), {}, c.region);
  ASSERT_TRUE(f.note.empty()) << f.note;
  std::vector<std::pair<double, double>> spans;
  for (const Span& s : f.spans) {
    spans.emplace_back(s.from, s.to);
    EXPECT_LT(s.from, s.to);
    EXPECT_GE(s.from, f.xMin);
    EXPECT_LE(s.to, f.xMax);
  }
  EXPECT_EQ(spans, c.spans) << c.why;
  std::vector<std::string> labels;
  for (const Bound& b : f.bounds) {
    labels.push_back(b.label);
    EXPECT_GE(b.x, f.xMin);
    EXPECT_LE(b.x, f.xMax);
  }
  EXPECT_EQ(labels, c.bounds) << c.why;
}

using RK = stats::Region::Kind;
INSTANTIATE_TEST_SUITE_P(
    Figure, Spans,
    ::testing::Values(
        SpanCase{"outside, lower bound beyond the range", {RK::Outside, -13.81, -1.93}, {{-1.93, 4}}, {"Z = -1.93"}},
        SpanCase{"outside, both inside", {RK::Outside, -1, 2.5}, {{-4, -1}, {2.5, 4}}, {"Z = -1", "Z = 2.5"}},
        SpanCase{"outside, both beyond", {RK::Outside, -10, 10}, {}, {}},
        SpanCase{"outside, touching bounds", {RK::Outside, 0.5, 0.5}, {{-4, 0.5}, {0.5, 4}}, {"Z = 0.5"}},
        SpanCase{"between, both inside", {RK::Between, -0.53, 3.21}, {{-0.53, 3.21}}, {"Z = -0.53", "Z = 3.21"}},
        SpanCase{"between, wider than the range", {RK::Between, -10, 10}, {{-4, 4}}, {}},
        SpanCase{"between, wholly above", {RK::Between, 5, 10}, {}, {}},
        SpanCase{"between, upper bound beyond", {RK::Between, 1.23456, 9}, {{1.23456, 4}}, {"Z = 1.23"}},
        SpanCase{"above", {RK::Above, 1, 0}, {{1, 4}}, {"Z = 1"}},
        SpanCase{"above, bound below the range", {RK::Above, -5, 0}, {{-4, 4}}, {}},
        SpanCase{"above, bound above the range", {RK::Above, 5, 0}, {}, {}},
        SpanCase{"above, bound on the edge", {RK::Above, 4, 0}, {}, {"Z = 4"}},
        SpanCase{"below", {RK::Below, -2.5, 0}, {{-4, -2.5}}, {"Z = -2.5"}},
        SpanCase{"below, bound above the range", {RK::Below, 9, 0}, {{-4, 4}}, {}},
        SpanCase{"everywhere", {RK::Everywhere, 0, 0}, {{-4, 4}}, {}},
        SpanCase{"nowhere", {RK::Nowhere, 0, 0}, {}, {}}),
    [](const auto& info) { return std::to_string(info.index); });

struct DegenerateCase {
  const char* why;
  Probe probe;
  stats::WeightCovariance v;
  stats::Reference reference;
  stats::Region region;
  const char* noteHas;
};

class DegenerateRegions : public ::testing::TestWithParam<DegenerateCase> {};

TEST_P(DegenerateRegions, GiveWordsNeverNaN) {
  const DegenerateCase& c = GetParam();
  const Figure f = DescribeRegion(c.probe, c.probe.effects.front(), c.v, c.reference, c.region);
  EXPECT_NE(f.note.find(c.noteHas), std::string::npos) << c.why << ": " << f.note;
  EXPECT_TRUE(f.lines.empty() && f.bands.empty() && f.spans.empty() && f.bounds.empty()) << c.why;
  EXPECT_TRUE(AllFinite(f)) << c.why;
  EXPECT_EQ(f.note.find("nan"), std::string::npos);
  EXPECT_EQ(f.note.find("inf"), std::string::npos);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The probe with other weights than its form computed with (which the form's
// checked arithmetic would not let through).
Probe WithWeights(Probe p, const std::vector<double>& values) {
  for (std::size_t i = 0; i < values.size() && i < p.weights.size(); ++i) p.weights[i].value = values[i];
  return p;
}

INSTANTIATE_TEST_SUITE_P(
    Figure, DegenerateRegions,
    ::testing::Values(
        DegenerateCase{"no standard error", QuantExample(), Matrix(std::vector<double>(16, 0.0)), {}, kOutside,
                       "no standard error"},
        DegenerateCase{"the weight of X not known", QuantExample(), Matrix(kDiagonal, {true, false, true, true}), {},
                       kOutside, "variance of the weight of X"},
        DegenerateCase{"a matrix without rows", QuantExample(), stats::WeightCovariance{}, {}, kOutside,
                       "no row for"},
        DegenerateCase{"negative variance", QuantExample(),
                       Matrix({0.04, 0, 0, 0, 0, -0.05, 0, 0, 0, 0, 0.02, 0, 0, 0, 0, 0.002}), {}, kOutside,
                       "comes out negative"},
        DegenerateCase{"level of 0", QuantExample(), Matrix(kDiagonal), {.normal = true, .df = 0, .level = 0},
                       kOutside, "confidence level"},
        DegenerateCase{"weights too large", WithWeights(QuantExample(), {0, 1e308, 0, 1e308}),
                       Matrix(kDiagonal), {}, kOutside, "too large"},
        DegenerateCase{"variances too large", QuantExample(),
                       Matrix({0, 0, 0, 0, 0, 1e308, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1e308}), {}, kOutside, "too large"},
        DegenerateCase{"bounds not numbers", QuantExample(), Matrix(kDiagonal), {}, {RK::Between, kNaN, kNaN},
                       "could not be computed"},
        DegenerateCase{"QuantZ values not numbers",
                       [] {
                         Probe p = QuantZExample(0, 1, 2);
                         p.moderatorValues[0] = kNaN;
                         return p;
                       }(), Matrix(kDiagonal), {}, kOutside,
                       "not all numbers"}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
