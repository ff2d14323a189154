// The checked arithmetic on arbitrary finite operands (two doubles from the
// first 16 bytes, the 17th picks the operation).
//
// Properties: each operation gives exactly the IEEE double result when that
// is finite, and a Fault otherwise: DivisionByZero for a non-zero number over
// zero, InvalidOperation for 0/0, Overflow for a result beyond the range.
// ToSingle gives the nearest single, or Overflow exactly when the nearest
// single would be an infinity; FloorScaled is floor(x * f) / f with each step
// under the same rule.

#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "model_fuzz.h"
#include "shell/checked.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

// The IEEE conversion to single, for comparison (kept from being folded).
float Single(double x) {
  volatile double v = x;
  return static_cast<float>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto in = FiniteDoubles<2>(data, size);
  if (!in || size < 17) return 0;
  const double a = (*in)[0], b = (*in)[1];
  const std::string ab = "(" + Show(a) + ", " + Show(b) + ")";

  switch (data[16] % 7) {
    case 0: SameAsUnchecked("Add" + ab, [&] { return checked::Add(a, b); }, [&](Unchecked& u) { return u.Add(a, b); }); break;
    case 1: SameAsUnchecked("Sub" + ab, [&] { return checked::Sub(a, b); }, [&](Unchecked& u) { return u.Sub(a, b); }); break;
    case 2: SameAsUnchecked("Mul" + ab, [&] { return checked::Mul(a, b); }, [&](Unchecked& u) { return u.Mul(a, b); }); break;
    case 3: SameAsUnchecked("Div" + ab, [&] { return checked::Div(a, b); }, [&](Unchecked& u) { return u.Div(a, b); }); break;
    case 4: SameAsUnchecked("Neg" + ab, [&] { return checked::Neg(a); }, [&](Unchecked& u) { return u.Neg(a); }); break;
    case 5:
      SameAsUnchecked("FloorScaled" + ab, [&] { return checked::FloorScaled(a, b); },
                      [&](Unchecked& u) { return u.Div(std::floor(u.Mul(a, b)), b); });
      break;
    case 6: {
      const float expected = Single(a);
      try {
        const float got = checked::ToSingle(a);
        FUZZ_CHECK(!std::isinf(expected), "ToSingle(" + Show(a) + ") = " + Show(got) + " without a fault");
        FUZZ_CHECK(got == expected, "ToSingle(" + Show(a) + ") = " + Show(got) + ", expected " + Show(expected));
      } catch (const Fault& f) {
        FUZZ_CHECK(std::isinf(expected) && f.kind == FaultKind::Overflow,
                   "ToSingle(" + Show(a) + "): fault " + KindName(f.kind) + ", IEEE gives " + Show(expected));
      }
      break;
    }
  }
  return 0;
}
