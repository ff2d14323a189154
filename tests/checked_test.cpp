// Checked arithmetic: which results are faults, and that the classification
// agrees with the floating-point status flags the hardware raises.

#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "shell/checked.h"
#include "shell/fault.h"

namespace marvane {
namespace {

enum class Op { Add, Sub, Mul, Div };

struct OpCase {
  const char* name;
  Op op;
  double a, b;
  std::optional<FaultKind> fault;  // nullopt: a number, no fault
};

double Apply(Op op, double a, double b) {
  switch (op) {
    case Op::Add: return checked::Add(a, b);
    case Op::Sub: return checked::Sub(a, b);
    case Op::Mul: return checked::Mul(a, b);
    case Op::Div: return checked::Div(a, b);
  }
  return 0;
}

// The same operation on the hardware, through volatile operands so that the
// compiler cannot fold it away; returns the raised flags among the three.
int HardwareFlags(Op op, double a, double b) {
  volatile double x = a, y = b, r = 0;
  std::feclearexcept(FE_ALL_EXCEPT);
  switch (op) {
    case Op::Add: r = x + y; break;
    case Op::Sub: r = x - y; break;
    case Op::Mul: r = x * y; break;
    case Op::Div: r = x / y; break;
  }
  (void)r;
  return std::fetestexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID);
}

int FlagFor(FaultKind k) {
  switch (k) {
    case FaultKind::Overflow: return FE_OVERFLOW;
    case FaultKind::DivisionByZero: return FE_DIVBYZERO;
    case FaultKind::InvalidOperation: return FE_INVALID;
    default: return 0;
  }
}

class CheckedOps : public ::testing::TestWithParam<OpCase> {};

TEST_P(CheckedOps, FaultsExactlyWhenTheHardwareFlagsOne) {
  const OpCase& c = GetParam();
  std::optional<FaultKind> got;
  try {
    (void)Apply(c.op, c.a, c.b);
  } catch (const Fault& f) {
    got = f.kind;
  }
  EXPECT_EQ(got, c.fault);
  EXPECT_EQ(HardwareFlags(c.op, c.a, c.b), c.fault ? FlagFor(*c.fault) : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CheckedOps,
    ::testing::Values(OpCase{"add_overflow", Op::Add, DBL_MAX, DBL_MAX, FaultKind::Overflow},
                      OpCase{"sub_overflow", Op::Sub, -DBL_MAX, DBL_MAX, FaultKind::Overflow},
                      OpCase{"mul_overflow", Op::Mul, 1e200, -1e200, FaultKind::Overflow},
                      OpCase{"div_overflow", Op::Div, 1e300, 1e-300, FaultKind::Overflow},
                      OpCase{"div_by_zero", Op::Div, 1, 0, FaultKind::DivisionByZero},
                      OpCase{"negative_div_by_zero", Op::Div, -1, 0, FaultKind::DivisionByZero},
                      OpCase{"div_by_negative_zero", Op::Div, 1, -0.0, FaultKind::DivisionByZero},
                      OpCase{"zero_over_zero", Op::Div, 0, 0, FaultKind::InvalidOperation}),
    [](const auto& info) { return std::string(info.param.name); });

// Underflow, denormal results and inexact results are not faults.
INSTANTIATE_TEST_SUITE_P(
    NotFaults, CheckedOps,
    ::testing::Values(OpCase{"underflow_to_zero", Op::Mul, 1e-200, 1e-200, std::nullopt},
                      OpCase{"denormal_result", Op::Div, 0x1p-1000, 0x1p60, std::nullopt},
                      OpCase{"largest_sum", Op::Add, DBL_MAX, 0x1p969, std::nullopt},
                      OpCase{"cancellation", Op::Sub, DBL_MAX, DBL_MAX, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct SingleCase {
  const char* name;
  double in;
  std::optional<float> out;  // nullopt: overflow fault
};

class ToSingle : public ::testing::TestWithParam<SingleCase> {};

TEST_P(ToSingle, NearestSingleOrOverflow) {
  const SingleCase& c = GetParam();
  if (c.out) {
    EXPECT_EQ(checked::ToSingle(c.in), *c.out);
  } else {
    EXPECT_THROW(checked::ToSingle(c.in), Fault);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Range, ToSingle,
    ::testing::Values(SingleCase{"point_seven", 0.7, 0x1.666666p-1f},
                      SingleCase{"largest", FLT_MAX, FLT_MAX},
                      SingleCase{"just_below_the_tie", 0x1p128 - 0x1p103 - 0x1p75, FLT_MAX},
                      SingleCase{"tie_rounds_to_infinity", 0x1p128 - 0x1p103, std::nullopt},
                      SingleCase{"negative_beyond", -3.5e38, std::nullopt},
                      SingleCase{"far_beyond", 1e39, std::nullopt},
                      SingleCase{"below_smallest_is_zero", 1e-50, 0.0f},
                      SingleCase{"subnormal", 0x1p-140, 0x1p-140f}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Checked, NegIsExact) {
  EXPECT_EQ(checked::Neg(0.1), -0.1);
  EXPECT_TRUE(std::signbit(checked::Neg(0.0)));
  EXPECT_EQ(checked::Neg(-DBL_MAX), DBL_MAX);
}

}  // namespace
}  // namespace marvane
