#pragma once

// Shared pieces of the fuzz targets: stopping with a readable report when a
// property fails, reference roundings that do not go through the code under
// test, and reading doubles out of the fuzzer's bytes.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "shell/fault.h"

namespace marvane::fuzz {

// Stops the run: libFuzzer treats the abort as a crash and keeps the input.
[[noreturn]] inline void Fail(const char* file, int line, const char* property, const std::string& detail) {
  std::fprintf(stderr, "\n%s:%d: property failed: %s\n  %s\n", file, line, property, detail.c_str());
  std::abort();
}

#define FUZZ_CHECK(cond, detail)                                      \
  do {                                                                \
    if (!(cond)) ::marvane::fuzz::Fail(__FILE__, __LINE__, #cond, (detail)); \
  } while (false)

// A double written with all its digits (and its sign when it is -0).
inline std::string Show(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", x);
  return buf;
}

// A text as a C string literal would spell it, so that blanks and odd bytes show.
inline std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
      out.push_back(static_cast<char>(c));
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", c);
      out += buf;
    }
  }
  return out + "\"";
}

inline const char* KindName(FaultKind k) {
  switch (k) {
    case FaultKind::Overflow: return "Overflow";
    case FaultKind::DivisionByZero: return "DivisionByZero";
    case FaultKind::InvalidOperation: return "InvalidOperation";
    case FaultKind::TypeMismatch: return "TypeMismatch";
    case FaultKind::MissingElement: return "MissingElement";
  }
  return "?";
}

// Outcome of a decimal reading done by the standard library.
struct Reference {
  enum Status { Value, OutOfRange, Malformed } status = Malformed;
  double value = 0;
};

// std::from_chars over the whole text.
inline Reference ReadWithStdlib(std::string_view text) {
  Reference r;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, r.value);
  if (ec == std::errc::result_out_of_range) {
    r.status = Reference::OutOfRange;
  } else if (ec == std::errc() && ptr == end) {
    r.status = Reference::Value;
  }
  return r;
}

// x rounded to `digits` significant decimal digits and read back to the
// nearest double, through the standard library alone; std::nullopt when the
// rounded decimal lies beyond the double range (as 1.79769313486232E+308
// does at 15 digits).
inline std::optional<double> RoundToDigits(double x, int digits) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, digits - 1);
  if (res.ec != std::errc()) Fail(__FILE__, __LINE__, "to_chars", Show(x));
  Reference r = ReadWithStdlib(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)));
  if (r.status == Reference::Value) return r.value;
  if (r.status == Reference::OutOfRange && std::fabs(x) > 1) return std::nullopt;
  Fail(__FILE__, __LINE__, "from_chars of a to_chars text", Show(x));
}

// True when `text` is a plain number text: optional sign, digits with at most
// one full stop and at least one digit, optional exponent (E or e, optional
// sign, at least one digit). A recogniser of its own, for comparing with
// StrictParse.
inline bool IsPlainNumberText(std::string_view t) {
  std::size_t i = 0;
  const std::size_t n = t.size();
  auto digit = [&](std::size_t k) { return k < n && t[k] >= '0' && t[k] <= '9'; };
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t mantissaDigits = 0;
  while (digit(i)) ++i, ++mantissaDigits;
  if (i < n && t[i] == '.') {
    ++i;
    while (digit(i)) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    if (!digit(i)) return false;
    while (digit(i)) ++i;
  }
  return i == n;
}

// The decimal exponent of the first significant digit of a plain number text
// (d.ddd x 10^result), saturating far out; 0 for a text whose digits are all 0.
inline long long DecimalExponent(std::string_view t) {
  long long beforePoint = 0, leadingZeros = 0, exponent = 0;
  bool seenPoint = false, seenNonZero = false;
  std::size_t i = (t.front() == '+' || t.front() == '-') ? 1 : 0;
  for (; i < t.size() && t[i] != 'e' && t[i] != 'E'; ++i) {
    if (t[i] == '.') {
      seenPoint = true;
    } else {
      if (!seenPoint) ++beforePoint;
      if (t[i] != '0') seenNonZero = true;
      if (!seenNonZero) ++leadingZeros;
    }
  }
  if (!seenNonZero) return 0;
  if (i < t.size()) {
    ++i;
    bool negative = false;
    if (t[i] == '+' || t[i] == '-') negative = t[i++] == '-';
    for (; i < t.size(); ++i) exponent = std::min(exponent * 10 + (t[i] - '0'), 1'000'000'000'000LL);
    if (negative) exponent = -exponent;
  }
  return beforePoint - leadingZeros - 1 + exponent;
}

// The standard library's reading of a plain number text (a leading plus sign
// is allowed): its value, or std::nullopt when the magnitude is beyond the
// double range; a magnitude below the smallest subnormal reads as a zero of
// the text's sign.
inline std::optional<double> ReadPlainWithStdlib(std::string_view t) {
  const bool negative = !t.empty() && t.front() == '-';
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  const Reference r = ReadWithStdlib(t);
  if (r.status == Reference::Value) return r.value;
  if (r.status == Reference::OutOfRange) {
    const long long e = DecimalExponent(t);
    if (e >= 308) return std::nullopt;
    if (e <= -324) return negative ? -0.0 : 0.0;
  }
  Fail(__FILE__, __LINE__, "the standard library cannot read a plain number text", Quote(t));
}

// N doubles from the first 8*N bytes; std::nullopt when there are too few
// bytes or any of them is not finite (every number the program computes with
// is finite: it comes from a text read without fault).
template <std::size_t N>
std::optional<std::array<double, N>> FiniteDoubles(const std::uint8_t* data, std::size_t size) {
  if (size < 8 * N) return std::nullopt;
  std::array<double, N> out{};
  for (std::size_t k = 0; k < N; ++k) {
    std::memcpy(&out[k], data + 8 * k, 8);
    if (!std::isfinite(out[k])) return std::nullopt;
  }
  return out;
}

}  // namespace marvane::fuzz
