// LenientParse of arbitrary bytes, as a user may type them into a box, and
// the box's text after normalising it.
//
// Properties:
//   - the reading never crashes and yields a finite number, or stops with an
//     Overflow fault (a typed number beyond the double range), nothing else;
//   - the number is the one std::from_chars reads from the longest leading
//     plain number text, once every space, tab and line feed is taken out
//     (a text without one reads as 0);
//   - the canonical text of that number is a plain number text that
//     StrictParse accepts, reading the number rounded to 15 significant
//     digits (the reference rounding goes through the standard library);
//   - normalising a second time changes nothing.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "shell/number_text.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

// The leading number of `typed` as this target reads it: blanks removed, then
// the longest prefix of the form [+-] digits [. digits] [(E|e) [+-] digits]
// with at least one mantissa digit; an exponent without digits is no part of
// it. "" when there is none.
std::string LeadingNumber(std::string_view typed) {
  std::string s;
  for (char c : typed) {
    if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
  }
  auto digit = [&](std::size_t k) { return k < s.size() && s[k] >= '0' && s[k] <= '9'; };
  std::size_t i = 0, digits = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  while (digit(i)) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (digit(i)) ++i, ++digits;
  }
  if (digits == 0) return "";
  std::size_t end = i;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (digit(j)) {
      while (digit(j)) ++j;
      end = j;
    }
  }
  return s.substr(0, end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view typed(reinterpret_cast<const char*>(data), size);

  const std::string leading = LeadingNumber(typed);
  const std::optional<double> reference = leading.empty() ? 0.0 : ReadPlainWithStdlib(leading);

  double x = 0;
  try {
    x = LenientParse(typed);
  } catch (const Fault& f) {
    FUZZ_CHECK(f.kind == FaultKind::Overflow, std::string("fault ") + KindName(f.kind) + " on " + Quote(typed));
    FUZZ_CHECK(!reference, Quote(typed) + " overflowed; its leading number " + Quote(leading) + " reads as " +
                               Show(*reference));
    return 0;
  }
  FUZZ_CHECK(std::isfinite(x), Quote(typed) + " -> " + Show(x));
  FUZZ_CHECK(reference && x == *reference, Quote(typed) + " -> " + Show(x) + "; its leading number " +
                                               Quote(leading) + " reads as " +
                                               (reference ? Show(*reference) : std::string("an overflow")));

  const std::string text = NumberToText(x);
  FUZZ_CHECK(IsPlainNumberText(text), Show(x) + " -> " + Quote(text));

  const std::optional<double> expected = RoundToDigits(x, 15);
  try {
    const double back = StrictParse(text);
    FUZZ_CHECK(expected.has_value() && back == *expected,
               Quote(typed) + " -> " + Show(x) + " -> " + Quote(text) + " -> " + Show(back) + ", expected " +
                   (expected ? Show(*expected) : std::string("an overflow")));
  } catch (const Fault& f) {
    // Only the very top of the range rounds up past the largest double.
    FUZZ_CHECK(!expected.has_value() && f.kind == FaultKind::Overflow,
               Quote(text) + " read back with fault " + KindName(f.kind));
    return 0;
  }

  // Normalising is idempotent: the canonical text reads leniently to a
  // number whose canonical text is the same.
  const std::string again = NumberToText(LenientParse(text));
  FUZZ_CHECK(again == text, Quote(text) + " normalises to " + Quote(again));
  return 0;
}
