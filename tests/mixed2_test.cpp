// The two-group computation by itself: expected values from hand calculation.

#include <gtest/gtest.h>

#include <string>

#include "models/mixed2.h"
#include "shell/fault.h"

namespace marvane {
namespace {

TEST(Mixed2Lines, WorkedExample) {
  // bx 0.5, bz 1, bxz 0.25, a 2, stdx 2.
  // Target: b = 0.75, a' = 3, Y = 3 -/+ 1.5. Contrast: b = 0.5, a' = 2, Y = 2 -/+ 1.
  const auto lines = ComputeMixed2Lines(0.5, 1, 0.25, 2, 2);
  EXPECT_EQ(lines[0], (SimpleEffectLine{0.75, 3, -2, 1.5, 2, 4.5}));
  EXPECT_EQ(lines[1], (SimpleEffectLine{0.5, 2, -2, 1, 2, 3}));
  EXPECT_EQ(Mixed2Row({.bx = 0.5, .bz = 1, .bxz = 0.25, .a = 2, .stdx = 2}, 1), lines[0]);
  EXPECT_EQ(Mixed2Row({.bx = 0.5, .bz = 1, .bxz = 0.25, .a = 2, .stdx = 2}, 2), lines[1]);
}

// A negative standard deviation is used as given: the points swap sides.
TEST(Mixed2Lines, NegativeStdx) {
  const auto lines = ComputeMixed2Lines(0.5, 1, 0.25, 2, -1);
  EXPECT_EQ(lines[0], (SimpleEffectLine{0.75, 3, 1, 3.75, -1, 2.25}));
  EXPECT_EQ(lines[1], (SimpleEffectLine{0.5, 2, 1, 2.5, -1, 1.5}));
}

// The contrast group's line is bx and a alone: whatever bz and bxz are, it
// stays b 0.5, a' 2 with points (-2, 1) and (2, 3) for bx 0.5, a 2, stdx 2.
struct WeightsOfGroup {
  const char* name;
  double bz, bxz;
};

class ContrastIgnoresGroupWeights : public ::testing::TestWithParam<WeightsOfGroup> {};

TEST_P(ContrastIgnoresGroupWeights, SameContrastLine) {
  const WeightsOfGroup& w = GetParam();
  const Mixed2Inputs in{.bx = 0.5, .bz = w.bz, .bxz = w.bxz, .a = 2, .stdx = 2};
  EXPECT_EQ(ContrastGroupLine(in), (SimpleEffectLine{0.5, 2, -2, 1, 2, 3}));
}

INSTANTIATE_TEST_SUITE_P(
    Mixed2, ContrastIgnoresGroupWeights,
    ::testing::Values(WeightsOfGroup{"zeros", 0, 0}, WeightsOfGroup{"worked_example", 1, 0.25},
                      WeightsOfGroup{"negative", -7.5, -3}, WeightsOfGroup{"negative_zero", -0.0, -0.0},
                      // The target line overflows with these; the contrast line does not care.
                      WeightsOfGroup{"huge", 1.7e308, 1.7e308}),
    [](const auto& info) { return std::string(info.param.name); });

// The target line over a table of group weights, worked by hand with
// bx 0.5, a 2, stdx 2: b = 0.5 + bxz, a' = 2 + bz, Y = a' -/+ 2b.
struct TargetCase {
  const char* name;
  double bz, bxz;
  SimpleEffectLine expected;
};

class TargetFollowsGroupWeights : public ::testing::TestWithParam<TargetCase> {};

TEST_P(TargetFollowsGroupWeights, Line) {
  const TargetCase& c = GetParam();
  EXPECT_EQ(TargetGroupLine({.bx = 0.5, .bz = c.bz, .bxz = c.bxz, .a = 2, .stdx = 2}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Mixed2, TargetFollowsGroupWeights,
    ::testing::Values(TargetCase{"no_group_effect", 0, 0, {0.5, 2, -2, 1, 2, 3}},
                      TargetCase{"lower_intercept", -1, 0, {0.5, 1, -2, 0, 2, 2}},
                      TargetCase{"slope_reversed", 0.5, -1.5, {-1, 2.5, -2, 4.5, 2, 0.5}}),
    [](const auto& info) { return std::string(info.param.name); });

// The grouping matters where a regrouped formula would round or overflow
// differently.
TEST(Mixed2Grouping, InterceptIsSummedBeforeThePointIsAdded) {
  // a' = 0.1 + 0.2 = 0.30000000000000004, then + 0.3: the well-known
  // 0.6000000000000001 (0.1 + (0.2 + 0.3) would be 0.6). Y1 is a' - 0.3 = 2^-54.
  const SimpleEffectLine t = TargetGroupLine({.bx = 0.3, .bz = 0.2, .bxz = 0, .a = 0.1, .stdx = 1});
  EXPECT_EQ(t.y2, 0.6000000000000001);
  EXPECT_NE(t.y2, 0.6);
  EXPECT_EQ(t.y1, 0x1p-54);
}

TEST(Mixed2Grouping, SlopeIsSummedBeforeItIsScaled) {
  // bx + bxz = 0 first, so stdx * b is 0; stdx*bx + stdx*bxz would overflow.
  const SimpleEffectLine t = TargetGroupLine({.bx = 1e308, .bz = 1, .bxz = -1e308, .a = 2, .stdx = 10});
  EXPECT_EQ(t, (SimpleEffectLine{0, 3, -10, 3, 10, 3}));
}

TEST(Mixed2Grouping, ConstantAndGroupWeightAreSummedFirst) {
  // a + bz = 0 first; (a + stdx*b) + bz would overflow at 2e308.
  const SimpleEffectLine t = TargetGroupLine({.bx = 1e308, .bz = -1e308, .bxz = 0, .a = 1e308, .stdx = 1});
  EXPECT_EQ(t, (SimpleEffectLine{1e308, 0, -1, -1e308, 1, 1e308}));
}

// Faults: which line overflows, and which does not.
struct FaultCase {
  const char* name;
  Mixed2Inputs in;
  bool targetFaults, contrastFaults;
};

class Mixed2Faults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(Mixed2Faults, OverflowIsAFault) {
  const FaultCase& c = GetParam();
  auto faultKind = [](auto compute) -> std::string {
    try {
      (void)compute();
      return "none";
    } catch (const Fault& f) {
      return f.kind == FaultKind::Overflow ? "overflow" : "other fault";
    }
  };
  EXPECT_EQ(faultKind([&] { return TargetGroupLine(c.in); }), c.targetFaults ? "overflow" : "none");
  EXPECT_EQ(faultKind([&] { return ContrastGroupLine(c.in); }), c.contrastFaults ? "overflow" : "none");
}

INSTANTIATE_TEST_SUITE_P(
    Mixed2, Mixed2Faults,
    ::testing::Values(
        // bx + bxz = 2e308.
        FaultCase{"target_slope", {.bx = 1e308, .bz = 0, .bxz = 1e308, .a = 0, .stdx = 0}, true, false},
        // a + bz = 2e308.
        FaultCase{"target_intercept", {.bx = 0, .bz = 1e308, .bxz = 0, .a = 1e308, .stdx = 0}, true, false},
        // Target slope 0; contrast 10 * 1e308.
        FaultCase{"contrast_product", {.bx = 1e308, .bz = 1, .bxz = -1e308, .a = 2, .stdx = 10}, false, true},
        // 2 * 1e308 in both lines' points.
        FaultCase{"both_products", {.bx = 1e308, .bz = 0, .bxz = 0, .a = 1e308, .stdx = 2}, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace marvane
