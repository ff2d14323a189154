// The display rounding of result captions, RoundForDisplay(x, F) with the
// two factors the forms use (1000 for slopes and intercepts, 100 for the Y
// values of plotting points), for arbitrary finite doubles x.
//
// Let p = x * F as a double (the product the rounding floors; 1.005 * 1000 is
// 1004.9999999999999). Properties:
//   - an Overflow fault exactly when p is beyond the double range; no other
//     fault;
//   - otherwise the caption is a plain number text that StrictParse reads as
//     some v. While |p| < 1E+15 the caption keeps every digit of the floor,
//     and then v * F is within a quarter of a whole number k (the rounding
//     errors of v and of the product are far smaller), and k is the floor of
//     p: k <= p < k + 1. The caption is written without exponent and has at
//     most 3 (F = 1000) or 2 (F = 100) decimals.
//   - from |p| >= 1E+15 on, the caption is the 15-digit rounding of a number
//     within 1/F of x: |v - x| <= 1/F + |x| * 1E-14.

#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "shell/number_text.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

std::size_t Decimals(const std::string& text) {
  const std::size_t point = text.find('.');
  return point == std::string::npos ? 0 : text.size() - point - 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto in = FiniteDoubles<1>(data, size);
  if (!in) return 0;
  const double x = (*in)[0];
  const int factor = size > 8 && (data[8] & 1) ? 100 : 1000;
  const double F = factor;
  const double p = x * F;
  const std::string what = "RoundForDisplay(" + Show(x) + ", " + std::to_string(factor) + ")";

  std::string caption;
  try {
    caption = RoundForDisplay(x, factor);
  } catch (const Fault& f) {
    FUZZ_CHECK(f.kind == FaultKind::Overflow && std::isinf(p), what + ": fault " + KindName(f.kind));
    return 0;
  }
  FUZZ_CHECK(std::isfinite(p), what + " = " + Quote(caption) + " though x * F overflows");
  FUZZ_CHECK(IsPlainNumberText(caption), what + " = " + Quote(caption));

  double v = 0;
  try {
    v = StrictParse(caption);
  } catch (const Fault& f) {
    FUZZ_CHECK(false, what + " = " + Quote(caption) + " does not read back: " + KindName(f.kind));
  }
  const std::string shown = what + " = " + Quote(caption) + " (x * F = " + Show(p) + ")";

  if (std::fabs(p) < 1e15) {
    const double scaled = v * F;
    const double k = std::nearbyint(scaled);
    FUZZ_CHECK(std::fabs(scaled - k) <= 0.25, shown + ": v * F = " + Show(scaled) + " is no whole number");
    FUZZ_CHECK(k <= p && p < k + 1, shown + ": " + Show(k) + " is not the floor of x * F");
    FUZZ_CHECK(caption.find('E') == std::string::npos, shown);
    FUZZ_CHECK(Decimals(caption) <= (factor == 1000 ? 3u : 2u), shown);
  } else {
    FUZZ_CHECK(std::fabs(v - x) <= 1 / F + std::fabs(x) * 1e-14, shown + " reads as " + Show(v));
  }
  return 0;
}
