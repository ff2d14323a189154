// The three-group computation, its single-precision slope text and the form's
// design, without a window. Expected values come from the worked example and
// from hand calculation (single values worked out bit by bit).

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "forms/form_design.h"
#include "models/mixed3.h"
#include "shell/fault.h"

namespace marvane {
namespace {

// The single nearest 0.7: 0x1.666666p-1 = 0.699999988079071044921875.
constexpr float kSevenTenths = 0x1.666666p-1f;

TEST(Mixed3Lines, WorkedExample) {
  const Mixed3Inputs in{.rbx = 0.5f, .bz1 = 1, .bz2 = -1, .bxz1 = 0.25, .bxz2 = -0.25, .a = 2, .stdx = 2};
  const auto lines = ComputeMixed3Lines(in);
  EXPECT_EQ(lines[0], (SimpleEffectLine{0.75, 3, -2, 1.5, 2, 4.5}));
  EXPECT_EQ(lines[1], (SimpleEffectLine{0.25, 1, -2, 0.5, 2, 1.5}));
  EXPECT_EQ(lines[2], (SimpleEffectLine{0.5, 2, -2, 1, 2, 3}));
}

// The single weight meets the doubles as a double: its sums and products
// are double operations on the exact single value, not single operations and
// not operations on the decimal that was typed.
TEST(Mixed3Lines, SingleWeightWidenedExactly) {
  // 0.7f * 3 needs 25 significant bits: exact as a double, rounded as a single.
  constexpr double kThreeTimes = 0x1.0CCCCC8p+1;
  const SimpleEffectLine dc1 = Dc1TargetLine(kSevenTenths, 0, 0, 0, 3);
  EXPECT_EQ(dc1.slope, 0x1.666666p-1);
  EXPECT_EQ(dc1.y2, kThreeTimes);
  EXPECT_EQ(dc1.y1, -kThreeTimes);
  const SimpleEffectLine dc2 = Dc2TargetLine(kSevenTenths, 0, 0, 0, 3);
  EXPECT_EQ(dc2.y1, -kThreeTimes);
  EXPECT_EQ(dc2.y2, kThreeTimes);
  const SimpleEffectLine contrast = ContrastLine(kSevenTenths, 0, 3);
  EXPECT_EQ(contrast.slope, 0x1.666666p-1);
  EXPECT_EQ(contrast.y1, -kThreeTimes);
  EXPECT_EQ(contrast.y2, kThreeTimes);

  // 12345.6789 as a single is 12345.6787109375; plus 0.001 in double precision
  // is 12345.6797109375 to within rounding (a single sum would be 12345.6796875).
  EXPECT_EQ(Dc1TargetLine(12345.6789f, 0, 0.001, 0, 0).slope, 12345.6797109375);
  EXPECT_EQ(Dc2TargetLine(12345.6789f, 0, 0.001, 0, 0).slope, 12345.6797109375);
}

// Which group's arithmetic overflows; the other groups compute without fault.
struct GroupFaultCase {
  const char* name;
  Mixed3Inputs in;
  int faultingGroup;  // 0 DC1, 1 DC2, 2 contrast
};

class Mixed3GroupFaults : public ::testing::TestWithParam<GroupFaultCase> {};

TEST_P(Mixed3GroupFaults, OnlyTheGroupThatOverflowsFaults) {
  const GroupFaultCase& c = GetParam();
  const Mixed3Inputs& in = c.in;
  auto group = [&](int g) {
    if (g == 0) return Dc1TargetLine(in.rbx, in.bz1, in.bxz1, in.a, in.stdx);
    if (g == 1) return Dc2TargetLine(in.rbx, in.bz2, in.bxz2, in.a, in.stdx);
    return ContrastLine(in.rbx, in.a, in.stdx);
  };
  for (int g = 0; g < 3; ++g) {
    if (g == c.faultingGroup) {
      try {
        (void)group(g);
        ADD_FAILURE() << "group " << g << " did not fault";
      } catch (const Fault& f) {
        EXPECT_EQ(f.kind, FaultKind::Overflow);
      }
    } else {
      EXPECT_NO_THROW((void)group(g)) << "group " << g;
    }
  }
  EXPECT_THROW((void)ComputeMixed3Lines(in), Fault);
}

constexpr float kTwoTo100 = 0x1p100f;

INSTANTIATE_TEST_SUITE_P(
    Mixed3, Mixed3GroupFaults,
    ::testing::Values(
        // bz1 + a beyond the double range.
        GroupFaultCase{"dc1_intercept", {.bz1 = 1e308, .a = 1e308, .stdx = 1}, 0},
        // (b * -1) * stdx with b = 1e308.
        GroupFaultCase{"dc2_low_point", {.bxz2 = 1e308, .stdx = 1e10}, 1},
        // rbx cancels in both target groups; stdx * rbx overflows in the contrast group.
        GroupFaultCase{"contrast_points",
                       {.rbx = kTwoTo100, .bxz1 = -0x1p100, .bxz2 = -0x1p100, .stdx = 1e300}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

struct SingleTextCase {
  const char* name;
  float b;
  const char* text;
};

class Mixed3SingleSlopeText : public ::testing::TestWithParam<SingleTextCase> {};

TEST_P(Mixed3SingleSlopeText, ShowsTheSingleValue) {
  EXPECT_EQ(RoundForDisplaySingle(static_cast<double>(GetParam().b)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Mixed3, Mixed3SingleSlopeText,
    ::testing::Values(
        // 0.7f * 1000 = 699.99998807907... whose nearest single is 700: the
        // path shows 0.7 where the double path shows 0.699.
        SingleTextCase{"product_rounds_up_to_whole", kSevenTenths, "0.7"},
        // 12345.6787109375 * 1000 rounds to the single 12345679; /1000 back to
        // the single 12345.6787109375, shown with seven digits.
        SingleTextCase{"seven_digits", 12345.6789f, "12345.68"},
        // 12345605 / 1000 is the double 12345.604999..., shown 12345.6; its
        // nearest single is 12345.60546875, shown 12345.61.
        SingleTextCase{"quotient_back_to_single", 12345.605f, "12345.61"},
        SingleTextCase{"exact_half", 0.5f, "0.5"},
        SingleTextCase{"zero", 0.0f, "0"},
        SingleTextCase{"negative_zero", -0.0f, "0"},
        // Flooring goes down: -123.1 -> -124.
        SingleTextCase{"negative_floored_down", -0.1231f, "-0.124"},
        SingleTextCase{"small_negative", -0.0004f, "-0.001"},
        SingleTextCase{"small_positive", 0.0004f, "0"},
        // 1234.5677490234375 * 1000 -> single 1234567.75 -> 1234567.
        SingleTextCase{"floor_after_single_rounding", 1234.5678f, "1234.567"},
        // Eight whole digits need the exponent form.
        SingleTextCase{"exponent_from_1e7", 12345678.9f, "1.234568E+07"},
        SingleTextCase{"below_1e7_plain", 9999999.0f, "9999999"},
        // 3.4E+35: the product 3.4E+38 is still a single.
        SingleTextCase{"largest_single_product", 3.4e35f, "3.4E+35"},
        // Beyond: the product stays a double, fifteen digits are shown.
        SingleTextCase{"double_fallback", 3.5e35f, "3.49999994514427E+35"},
        SingleTextCase{"double_fallback_negative", -3.5e35f, "-3.49999994514427E+35"},
        SingleTextCase{"double_fallback_1e36", 1e36f, "9.99999961690316E+35"},
        SingleTextCase{"double_fallback_near_max", 3.4e38f, "3.39999995214436E+38"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The design ---------------------------------------------------------

using forms::Control;
using forms::Kind;
using forms::Role;

TEST(Mixed3Design, ResultPanelIsTheFortyOneLabels) {
  std::set<std::string> expected = {"se", "p"};
  for (int k = 1; k <= 3; ++k) {
    for (int col = 1; col <= 5; ++col) expected.insert("se" + std::to_string(k) + std::to_string(col));
    for (int col = 1; col <= 8; ++col) expected.insert("p" + std::to_string(k) + std::to_string(col));
  }
  std::set<std::string> panel;
  for (const Control& c : forms::Mixed3Design().controls) {
    if (c.role == Role::Panel) {
      EXPECT_EQ(c.kind, Kind::Label) << c.name;
      panel.insert(c.name);
    }
  }
  EXPECT_EQ(expected.size(), 41u);
  EXPECT_EQ(panel, expected);
}

TEST(Mixed3Design, TabOrder) {
  std::vector<const Control*> tabbed;
  for (const Control& c : forms::Mixed3Design().controls) {
    if (c.kind != Kind::Label) tabbed.push_back(&c);
  }
  std::sort(tabbed.begin(), tabbed.end(), [](auto* x, auto* y) { return x->tabIndex < y->tabIndex; });
  std::vector<std::string> order;
  for (const Control* c : tabbed) order.push_back(c->kind == Kind::Button ? c->caption : c->name);
  EXPECT_EQ(order, (std::vector<std::string>{"rbx", "bz1", "bz2", "bxz1", "bxz2", "a", "stdx", "Go", "Back", "Plot", "Paste model"}));
}

TEST(Mixed3Design, InstructionWrapsTwoSentences) {
  const Control* note = forms::Mixed3Design().Find("Label6");
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->caption.size(), 104u);
  EXPECT_EQ(note->caption.rfind("    \"X\" is the x-axis variable", 0), 0u);
  EXPECT_EQ(note->caption.substr(30, 34), std::string(34, ' '));
  EXPECT_EQ(note->caption.substr(64), "Enter values to at least 3 decimals     ");
}

// Nothing overlaps anything else and everything lies inside the client area;
// in particular the message label has a free area of its own.
TEST(Mixed3Design, ControlsInsideAndApart) {
  const forms::FormDesign& d = forms::Mixed3Design();
  ASSERT_NE(d.Find("message"), nullptr);
  for (const Control& c : d.controls) {
    EXPECT_GE(c.left, 0) << c.name;
    EXPECT_GE(c.top, 0) << c.name;
    EXPECT_LE(c.left + c.width, d.clientWidth) << c.name;
    EXPECT_LE(c.top + c.height, d.clientHeight) << c.name;
  }
  for (std::size_t i = 0; i < d.controls.size(); ++i) {
    for (std::size_t j = i + 1; j < d.controls.size(); ++j) {
      const Control& x = d.controls[i];
      const Control& y = d.controls[j];
      const bool apart = x.left + x.width <= y.left || y.left + y.width <= x.left ||
                         x.top + x.height <= y.top || y.top + y.height <= x.top;
      EXPECT_TRUE(apart) << x.name << " overlaps " << y.name;
    }
  }
}

}  // namespace
}  // namespace marvane
