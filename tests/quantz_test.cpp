// The QuantZ computation by itself: expected values from hand calculation,
// and its agreement with Quant when the typed Z values are +stdz, 0, -stdz.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "models/quant.h"
#include "models/quantz.h"
#include "shell/fault.h"

namespace marvane {
namespace {

TEST(QuantZLines, WorkedExample) {
  const QuantZResult r = ComputeQuantZLines(
      {.bx = 0.5, .bz = 0.25, .bxz = 0.125, .a = 2, .stdx = 4, .hiz = 1.5, .medz = 0.5, .loz = -1});
  // b = 0.5 + Z/8, a' = 2 + Z/4, Y = a' -/+ 4b: all exact in binary.
  const SimpleEffectLine expected[] = {
      {0.6875, 2.375, -4, -0.375, 4, 5.125},
      {0.5625, 2.125, -4, -0.125, 4, 4.375},
      {0.375, 1.75, -4, 0.25, 4, 3.25},
  };
  for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(r.lines[k], expected[k]) << "row " << k + 1;
  EXPECT_EQ(r.crossover, -2.0);
}

// --- Z values in any order, equal or not ------------------------------------

struct HandCase {
  const char* name;
  QuantZInputs in;
  SimpleEffectLine rows[3];
  double crossover;
};

void PrintTo(const HandCase& c, std::ostream* os) { *os << c.name; }

class QuantZHandRows : public ::testing::TestWithParam<HandCase> {};

TEST_P(QuantZHandRows, EachRowUsesItsOwnZ) {
  const HandCase& c = GetParam();
  const QuantZResult r = ComputeQuantZLines(c.in);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(r.lines[k], c.rows[k]) << "row " << k + 1;
    EXPECT_EQ(QuantZRow(c.in, static_cast<int>(k) + 1), c.rows[k]) << "row " << k + 1;
  }
  EXPECT_EQ(r.crossover, c.crossover);
}

INSTANTIATE_TEST_SUITE_P(
    QuantZ, QuantZHandRows,
    ::testing::Values(
        // Ascending instead of descending: rows follow the boxes, not the order of the values.
        HandCase{"ascending",
                 {.bx = 1, .bz = 2, .bxz = 0.5, .a = 0, .stdx = 2, .hiz = -1, .medz = 0, .loz = 3},
                 {{0.5, -2, -2, -3, 2, -1}, {1, 0, -2, -2, 2, 2}, {2.5, 6, -2, 1, 2, 11}},
                 -4},
        HandCase{"all_equal",
                 {.bx = 1, .bz = 2, .bxz = 0.5, .a = 0, .stdx = 2, .hiz = 2, .medz = 2, .loz = 2},
                 {{2, 4, -2, 0, 2, 8}, {2, 4, -2, 0, 2, 8}, {2, 4, -2, 0, 2, 8}},
                 -4},
        // High and low equal, the medium one above both.
        HandCase{"outer_equal",
                 {.bx = 0.25, .bz = -1, .bxz = 0.75, .a = 1.5, .stdx = 0.5, .hiz = -0.5, .medz = 4, .loz = -0.5},
                 {{-0.125, 2, -0.5, 2.0625, 0.5, 1.9375},
                  {3.25, -2.5, -0.5, -4.125, 0.5, -0.875},
                  {-0.125, 2, -0.5, 2.0625, 0.5, 1.9375}},
                 4.0 / 3.0}),
    [](const auto& info) { return std::string(info.param.name); });

// A medium Z of 0 gives the line of bx and a themselves, to the last bit,
// whatever bz and bxz are.
TEST(QuantZLines, MediumZeroIsTheWeights) {
  const QuantZInputs in{.bx = 0.1, .bz = 1e300, .bxz = -1e300, .a = 0.7, .stdx = 3, .hiz = 1, .medz = 0, .loz = -1};
  const SimpleEffectLine row2 = QuantZRow(in, 2);
  EXPECT_EQ(row2.slope, 0.1);
  EXPECT_EQ(row2.intercept, 0.7);
  EXPECT_EQ(row2.y1, 0.7 - 0.30000000000000004);  // 3 * 0.1 as a double
  EXPECT_EQ(row2.y2, 0.7 + 0.30000000000000004);
}

// --- With Z = +stdz, 0, -stdz the two forms agree ----------------------------

struct AgreeCase {
  const char* name;
  QuantInputs in;
};

void PrintTo(const AgreeCase& c, std::ostream* os) { *os << c.name; }

std::optional<FaultKind> FaultOf(auto&& compute) {
  try {
    (void)compute();
  } catch (const Fault& f) {
    return f.kind;
  }
  return std::nullopt;
}

class QuantZAgreesWithQuant : public ::testing::TestWithParam<AgreeCase> {};

TEST_P(QuantZAgreesWithQuant, SameLinesAndCrossover) {
  const QuantInputs& q = GetParam().in;
  const QuantZInputs z{.bx = q.bx, .bz = q.bz, .bxz = q.bxz, .a = q.a, .stdx = q.stdx,
                       .hiz = q.stdz, .medz = 0, .loz = -q.stdz};
  for (int k = 1; k <= 3; ++k) {
    const std::optional<FaultKind> quantFault = FaultOf([&] { return QuantRow(q, k); });
    const std::optional<FaultKind> quantzFault = FaultOf([&] { return QuantZRow(z, k); });
    ASSERT_EQ(quantFault, quantzFault) << "row " << k;
    if (!quantFault) {
      EXPECT_EQ(QuantZRow(z, k), QuantRow(q, k)) << "row " << k;
    }
  }
  const std::optional<FaultKind> quantFault = FaultOf([&] { return ComputeQuantLines(q); });
  ASSERT_EQ(quantFault, FaultOf([&] { return ComputeQuantZLines(z); }));
  if (quantFault) return;
  const QuantResult expected = ComputeQuantLines(q);
  const QuantZResult got = ComputeQuantZLines(z);
  for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(got.lines[k], expected.lines[k]) << "row " << k + 1;
  EXPECT_EQ(got.crossover, expected.crossover);
}

INSTANTIATE_TEST_SUITE_P(
    QuantZ, QuantZAgreesWithQuant,
    ::testing::Values(
        AgreeCase{"worked_example", {.bx = 0.5, .bz = 0.25, .bxz = 0.125, .a = 2, .stdz = 2, .stdx = 4}},
        AgreeCase{"third", {.bx = 0, .bz = 1, .bxz = 0.3333, .a = 0, .stdz = 1, .stdx = 1}},
        AgreeCase{"inexact_decimals", {.bx = 1.7, .bz = -2.3, .bxz = 0.11, .a = 3.9, .stdz = 0.7, .stdx = 12.5}},
        AgreeCase{"negative_weights", {.bx = -0.42, .bz = -0.07, .bxz = -1.3, .a = -5.1, .stdz = 2.6, .stdx = 0.35}},
        AgreeCase{"large_and_small", {.bx = 1e150, .bz = 3e-200, .bxz = -7e140, .a = 1e-300, .stdz = 1e9, .stdx = 1e-5}},
        // Faults must strike in the same row with the same kind.
        AgreeCase{"parallel", {.bx = 1, .bz = 1, .bxz = 0, .a = 0, .stdz = 1, .stdx = 1}},
        AgreeCase{"coincident", {}},
        AgreeCase{"overflow_row_one", {.bx = 1e308, .bz = 0, .bxz = 1e308, .a = 0, .stdz = 1, .stdx = 0}},
        AgreeCase{"overflow_points", {.bx = 1e300, .bz = 0, .bxz = 0, .a = 0, .stdz = 1, .stdx = 1e10}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Faults ------------------------------------------------------------------

TEST(QuantZLines, OverflowInTheMediumRowOnly) {
  // 1e308 * 10 is beyond the double range; Z = 1 and Z = -1 are not.
  const QuantZInputs in{.bx = 0, .bz = 0, .bxz = 10, .a = 0, .stdx = 1, .hiz = 1, .medz = 1e308, .loz = -1};
  EXPECT_EQ(QuantZRow(in, 1), (SimpleEffectLine{10, 0, -1, -10, 1, 10}));
  EXPECT_EQ(FaultOf([&] { return QuantZRow(in, 2); }), FaultKind::Overflow);
  EXPECT_EQ(QuantZRow(in, 3), (SimpleEffectLine{-10, 0, -1, 10, 1, -10}));
  EXPECT_EQ(FaultOf([&] { return ComputeQuantZLines(in); }), FaultKind::Overflow);
}

TEST(QuantZLines, CrossoverIgnoresTheZValues) {
  // Z values that would overflow nothing, but the crossover 1e300 / 1e-300 does.
  const QuantZInputs in{.bz = -1e300, .bxz = 1e-300, .hiz = 0, .medz = 0, .loz = 0};
  EXPECT_EQ(FaultOf([&] { return ComputeQuantZLines(in); }), FaultKind::Overflow);
  const QuantZInputs zeroWeights{.bx = 1, .bz = 0, .bxz = 0, .a = 1, .stdx = 1, .hiz = 5, .medz = 6, .loz = 7};
  EXPECT_EQ(FaultOf([&] { return ComputeQuantZLines(zeroWeights); }), FaultKind::InvalidOperation);
}

}  // namespace
}  // namespace marvane
