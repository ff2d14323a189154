#include "shell/checked.h"

#include <cmath>
#include <limits>

namespace marvane::checked {
namespace {

// Classifies the result of one operation on finite operands.
double Check(double r, FaultKind ifInfinite) {
  if (std::isnan(r)) throw Fault(FaultKind::InvalidOperation);
  if (std::isinf(r)) throw Fault(ifInfinite);
  return r;
}

}  // namespace

double Add(double a, double b) { return Check(a + b, FaultKind::Overflow); }
double Sub(double a, double b) { return Check(a - b, FaultKind::Overflow); }
double Mul(double a, double b) { return Check(a * b, FaultKind::Overflow); }

double Div(double a, double b) {
  if (b == 0.0) {
    throw Fault(a == 0.0 || std::isnan(a) ? FaultKind::InvalidOperation
                                          : FaultKind::DivisionByZero);
  }
  return Check(a / b, FaultKind::Overflow);
}

double Neg(double x) { return Check(x * -1.0, FaultKind::Overflow); }

float ToSingle(double x) {
  if (std::isnan(x)) throw Fault(FaultKind::InvalidOperation);
  // Round-to-nearest sends everything from FLT_MAX + half an ulp upward to
  // infinity: 2^128 - 2^103 is the first such magnitude (ties go to the even
  // neighbour, which is 2^128).
  constexpr double kFirstOverflow = 0x1p128 - 0x1p103;
  if (std::fabs(x) >= kFirstOverflow) throw Fault(FaultKind::Overflow);
  return static_cast<float>(x);
}

double FloorScaled(double x, double factor) {
  return Div(std::floor(Mul(x, factor)), factor);
}

}  // namespace marvane::checked
