#pragma once

// Double arithmetic under the floating-point fault rule: each operation is an
// ordinary IEEE 754 double operation (rounded to nearest), and a result that
// is an overflow, a division by zero or an invalid operation throws a Fault
// instead of carrying on as infinity or NaN. Underflow, denormals and inexact
// results are not faults.
//
// All operands the program ever passes in are finite (every number comes from
// a text that was read without fault, or from an earlier checked operation), so
// an infinite or NaN result is exactly what the hardware status flags would
// report for these three faults. Testing the result is used instead of the
// flags because compilers may reorder or fold arithmetic around fetestexcept.

#include "shell/fault.h"

namespace marvane::checked {

double Add(double a, double b);
double Sub(double a, double b);
double Mul(double a, double b);
double Div(double a, double b);
// Change of sign: an exact multiplication by -1 (never a fault for a finite x).
double Neg(double x);

// The nearest IEEE single to x. A magnitude beyond the single range is an
// Overflow fault; a magnitude below the smallest single gives 0 or a
// subnormal single without fault.
float ToSingle(double x);

// floor(x * factor) / factor, the display rounding kernel, each step checked.
double FloorScaled(double x, double factor);

}  // namespace marvane::checked
