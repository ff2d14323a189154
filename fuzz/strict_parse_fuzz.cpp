// StrictParse of arbitrary bytes: the reading a Compute does of a box or a
// caption.
//
// Properties:
//   - it accepts exactly the plain number texts (between leading and trailing
//     spaces and tabs); anything else is a TypeMismatch fault;
//   - an accepted text reads as std::from_chars reads it (a magnitude below
//     the smallest subnormal as a zero of its sign), or as an Overflow fault
//     when its magnitude is beyond the double range; never NaN or infinity;
//   - LenientParse of an accepted text gives the same number (or the same
//     fault), so a box that StrictParse reads is not changed by normalising.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "shell/number_text.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

std::string_view TrimSpacesAndTabs(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

bool SameDouble(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view core = TrimSpacesAndTabs(text);
  const bool plain = IsPlainNumberText(core);
  // What the standard library reads (std::nullopt: beyond the double range).
  const std::optional<double> expected = plain ? ReadPlainWithStdlib(core) : std::nullopt;

  double x = 0;
  try {
    x = StrictParse(text);
  } catch (const Fault& f) {
    if (f.kind == FaultKind::TypeMismatch) {
      FUZZ_CHECK(!plain, Quote(text) + " is a plain number text but was refused");
      return 0;
    }
    FUZZ_CHECK(f.kind == FaultKind::Overflow, std::string("fault ") + KindName(f.kind) + " on " + Quote(text));
    FUZZ_CHECK(plain, Quote(text) + " is no number text but overflowed");
    FUZZ_CHECK(!expected, Quote(text) + " overflowed; the standard library reads " + Show(*expected));
    try {
      (void)LenientParse(text);
      FUZZ_CHECK(false, Quote(text) + " overflows strictly but not leniently");
    } catch (const Fault& g) {
      FUZZ_CHECK(g.kind == FaultKind::Overflow, Quote(text) + " leniently: " + KindName(g.kind));
    }
    return 0;
  }

  FUZZ_CHECK(plain, Quote(text) + " is no plain number text but read as " + Show(x));
  FUZZ_CHECK(std::isfinite(x), Quote(text) + " -> " + Show(x));
  FUZZ_CHECK(expected.has_value(), Quote(text) + " -> " + Show(x) + ", beyond the range for the standard library");
  FUZZ_CHECK(SameDouble(x, *expected), Quote(text) + " -> " + Show(x) + ", the standard library reads " + Show(*expected));

  double lenient = 0;
  try {
    lenient = LenientParse(text);
  } catch (const Fault& f) {
    FUZZ_CHECK(false, Quote(text) + " reads strictly as " + Show(x) + " but leniently faults " + KindName(f.kind));
  }
  FUZZ_CHECK(SameDouble(lenient, x), Quote(text) + " strictly " + Show(x) + ", leniently " + Show(lenient));
  return 0;
}
