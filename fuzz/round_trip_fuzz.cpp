// Number -> text -> number for arbitrary doubles: what a caption written by
// NumberToText reads back as.
//
// Properties, for every finite x (the reference rounding goes through
// std::to_chars and std::from_chars, not through the code under test):
//   - NumberToText(x) is a plain number text with at most 15 significant
//     digits, in exponent form exactly when the rounded magnitude is 1E+15 or
//     more or below 0.0001;
//   - StrictParse of it is x rounded to 15 significant digits, or an Overflow
//     fault for the few x at the very top of the range whose rounding lies
//     beyond the largest double;
//   - writing the number read back gives the same text;
//   - with 7 digits (single-precision values), likewise with 7.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "shell/number_text.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

std::size_t SignificantDigits(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (c == 'E') break;
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? 1 : digits.size() - first;
}

void CheckRoundTrip(double x, int digits) {
  const std::string text = NumberToText(x, digits);
  const std::string what = "NumberToText(" + Show(x) + ", " + std::to_string(digits) + ") = " + Quote(text);
  FUZZ_CHECK(IsPlainNumberText(text), what);
  FUZZ_CHECK(text.front() != '+', what);
  FUZZ_CHECK(SignificantDigits(text) <= static_cast<std::size_t>(digits), what);

  const std::optional<double> expected = RoundToDigits(x, digits);
  double back = 0;
  try {
    back = StrictParse(text);
  } catch (const Fault& f) {
    FUZZ_CHECK(!expected && f.kind == FaultKind::Overflow, what + " read back with fault " + KindName(f.kind));
    return;
  }
  FUZZ_CHECK(expected.has_value(), what + " read back as " + Show(back) + " though its rounding overflows");
  FUZZ_CHECK(back == *expected, what + " read back as " + Show(back) + ", expected " + Show(*expected));

  const double magnitude = std::fabs(*expected);
  const bool exponentForm = text.find('E') != std::string::npos;
  const bool wantExponent = magnitude != 0 && (magnitude >= std::pow(10.0, digits) || magnitude < 1e-4);
  FUZZ_CHECK(exponentForm == wantExponent, what);

  FUZZ_CHECK(NumberToText(back, digits) == text, what + " but " + Show(back) + " is written " +
                                                     Quote(NumberToText(back, digits)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto x = FiniteDoubles<1>(data, size);
  if (!x) return 0;
  CheckRoundTrip((*x)[0], 15);
  CheckRoundTrip((*x)[0], 7);
  return 0;
}
