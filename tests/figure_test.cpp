// The figure description: tick values and labels, the X range choices, the
// point where the lines meet, and the notes that replace a figure.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "figure/figure.h"
#include "models/mixed2.h"
#include "models/quant.h"

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

}  // namespace
