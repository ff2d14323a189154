// The Quant computation by itself: expected values from hand calculation.

#include <gtest/gtest.h>

#include "models/quant.h"
#include "shell/fault.h"

namespace marvane {
namespace {

TEST(QuantLines, WorkedExample) {
  const QuantResult r = ComputeQuantLines({.bx = 0.5, .bz = 0.25, .bxz = 0.125, .a = 2, .stdz = 2, .stdx = 4});
  const SimpleEffectLine expected[] = {
      {0.75, 2.5, -4, -0.5, 4, 5.5},
      {0.5, 2, -4, 0, 4, 4},
      {0.25, 1.5, -4, 0.5, 4, 2.5},
  };
  for (int k = 0; k < 3; ++k) EXPECT_EQ(r.lines[static_cast<std::size_t>(k)], expected[k]) << "row " << k + 1;
  EXPECT_EQ(r.crossover, -2.0);
}

// Row 3 subtracts stdz*bxz: with stdz = 1 and bxz = 0.3333 the slope is
// exactly -0.3333 (the double nearest), not a value rounded some other way.
TEST(QuantLines, RowThreeNegatesExactly) {
  const QuantInputs in{.bx = 0, .bz = 0, .bxz = 0.3333, .a = 0, .stdz = 1, .stdx = 1};
  EXPECT_EQ(QuantRow(in, 3).slope, -0.3333);
  EXPECT_EQ(QuantRow(in, 1).slope, 0.3333);
}

// The middle row is bx and a themselves, whatever bz, bxz and stdz are.
TEST(QuantLines, MiddleRowIsTheWeights) {
  const QuantInputs in{.bx = 0.1, .bz = 1e300, .bxz = -1e300, .a = 0.7, .stdz = 0, .stdx = 3};
  const SimpleEffectLine row2 = QuantRow(in, 2);
  EXPECT_EQ(row2.slope, 0.1);
  EXPECT_EQ(row2.intercept, 0.7);
  EXPECT_EQ(row2.y1, 0.7 - 3 * 0.1);
}

struct CrossoverCase {
  const char* name;
  double bz, bxz;
  FaultKind fault;
};

class CrossoverFaults : public ::testing::TestWithParam<CrossoverCase> {};

TEST_P(CrossoverFaults, FaultsInsteadOfInfinityOrNaN) {
  const CrossoverCase& c = GetParam();
  try {
    (void)Crossover(c.bz, c.bxz);
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind, c.fault);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Quant, CrossoverFaults,
    ::testing::Values(CrossoverCase{"parallel", 1, 0, FaultKind::DivisionByZero},
                      CrossoverCase{"coincident", 0, 0, FaultKind::InvalidOperation},
                      CrossoverCase{"too_far", 1e300, 1e-300, FaultKind::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QuantLines, OverflowInARowIsAFault) {
  const QuantInputs in{.bx = 1e308, .bz = 0, .bxz = 1e308, .a = 0, .stdz = 1, .stdx = 0};
  EXPECT_THROW(QuantRow(in, 1), Fault);     // 1e308 + 1e308
  EXPECT_NO_THROW(QuantRow(in, 3));         // 1e308 - 1e308
}

}  // namespace
}  // namespace marvane
