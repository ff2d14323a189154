#include "shell/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

#include "shell/checked.h"
#include "shell/fault.h"

namespace marvane {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number taken apart: value = 0.<digits> x 10^(pointPos + exponent),
// where pointPos counts the digits before the decimal point.
struct DecimalParts {
  bool negative = false;
  std::string digits;
  std::int64_t pointPos = 0;
  std::int64_t exponent = 0;
};

// Adds one exponent digit, saturating far beyond any exponent that matters.
void AddExponentDigit(std::int64_t& e, char c) {
  constexpr std::int64_t kCap = 1'000'000'000;
  if (e < kCap) e = e * 10 + (c - '0');
}

// Correctly rounded conversion of the parts, with std::from_chars doing the
// rounding. Leading zeros are stripped and the exponent bounded first, so the
// text handed to from_chars is short in its exponent whatever was typed.
double ToDouble(DecimalParts p) {
  const double zero = p.negative ? -0.0 : 0.0;
  std::size_t first = p.digits.find_first_not_of('0');
  if (first == std::string::npos) return zero;
  std::size_t last = p.digits.find_last_not_of('0');
  std::string_view sig(p.digits.data() + first, last - first + 1);
  // First significant digit d: value = d.ddd x 10^sciExp.
  std::int64_t sciExp = p.pointPos - static_cast<std::int64_t>(first) - 1 + p.exponent;
  if (sciExp > 400) throw Fault(FaultKind::Overflow);
  if (sciExp < -400) return zero;

  std::string buf;
  buf.reserve(sig.size() + 16);
  if (p.negative) buf.push_back('-');
  buf.push_back(sig[0]);
  if (sig.size() > 1) {
    buf.push_back('.');
    buf.append(sig.substr(1));
  }
  buf.push_back('e');
  buf.append(std::to_string(sciExp));

  double value = 0;
  auto [ptr, ec] = std::from_chars(buf.data(), buf.data() + buf.size(), value);
  if (ec == std::errc::result_out_of_range) {
    if (sciExp > 0) throw Fault(FaultKind::Overflow);
    return zero;
  }
  if (ec != std::errc() || ptr != buf.data() + buf.size()) {
    throw Fault(FaultKind::TypeMismatch);  // cannot happen: buf is well formed
  }
  if (std::isinf(value)) throw Fault(FaultKind::Overflow);
  return value;
}

bool IsLenientBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsStrictBlank(char c) { return c == ' ' || c == '\t'; }

// The end of the plain number text that starts at `i` (optional sign, digits
// with at most one point, optional exponent with at least one digit), or
// npos when no digit is found there. `expLetterLeft` reports an exponent
// letter that is not followed by a complete exponent.
std::size_t PlainNumberEnd(std::string_view t, std::size_t i, bool& expLetterLeft) {
  const std::size_t n = t.size();
  expLetterLeft = false;
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  bool seenPoint = false, seenDigit = false;
  for (; i < n; ++i) {
    if (IsDigit(t[i])) {
      seenDigit = true;
    } else if (t[i] == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!seenDigit) return std::string_view::npos;
  if (i < n && (t[i] == 'E' || t[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < n && (t[j] == '+' || t[j] == '-')) ++j;
    std::size_t k = j;
    while (k < n && IsDigit(t[k])) ++k;
    if (k > j) return k;
    expLetterLeft = true;
  }
  return i;
}

// The common case first: a plain number text converted by std::from_chars as
// it stands. Anything out of the ordinary (a result beyond the range or below
// the smallest double) is left to the general path, which tells the two apart.
bool ConvertPlain(std::string_view t, double& value) {
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  return ec == std::errc() && ptr == t.data() + t.size();
}

// The general reader: blanks anywhere, digits gathered, any exponent.
double LenientParseGeneral(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto skipBlanks = [&] {
    while (i < n && IsLenientBlank(text[i])) ++i;
  };

  DecimalParts p;
  skipBlanks();
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    p.negative = text[i] == '-';
    ++i;
  }
  bool seenPoint = false;
  for (;;) {
    skipBlanks();
    if (i >= n) break;
    char c = text[i];
    if (IsDigit(c)) {
      p.digits.push_back(c);
      if (!seenPoint) ++p.pointPos;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
    ++i;
  }
  if (p.digits.empty()) return 0.0;

  skipBlanks();
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    skipBlanks();
    bool negativeExp = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      negativeExp = text[i] == '-';
      ++i;
    }
    for (;;) {
      skipBlanks();
      if (i >= n || !IsDigit(text[i])) break;
      AddExponentDigit(p.exponent, text[i]);
      ++i;
    }
    if (negativeExp) p.exponent = -p.exponent;
  }
  return ToDouble(std::move(p));
}

}  // namespace

double LenientParse(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsLenientBlank(text[start])) ++start;
  bool expLetterLeft = false;
  const std::size_t end = PlainNumberEnd(text, start, expLetterLeft);
  // A blank after the number may be followed by more of it ("1 2"), and an
  // exponent letter by a blank and its digits ("1e 3"): the general reader
  // sorts those out.
  if (end != std::string_view::npos && !expLetterLeft &&
      (end == text.size() || !IsLenientBlank(text[end]))) {
    double value = 0;
    if (ConvertPlain(text.substr(start, end - start), value)) return value;
  }
  return LenientParseGeneral(text);
}

double StrictParse(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsStrictBlank(text[b])) ++b;
  while (e > b && IsStrictBlank(text[e - 1])) --e;
  const std::string_view t = text.substr(b, e - b);
  bool expLetterLeft = false;
  if (PlainNumberEnd(t, 0, expLetterLeft) != t.size()) throw Fault(FaultKind::TypeMismatch);
  double value = 0;
  if (ConvertPlain(t, value)) return value;
  // A plain text without blanks reads the same leniently, and the general
  // reader classifies overflow and underflow.
  return LenientParseGeneral(t);
}

std::string NumberToText(double x, int digits) {
  if (x == 0.0) return "0";  // negative zero too
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x < 0 ? "-Infinity" : "Infinity";

  // The general format with `digits` significant digits is exactly the
  // canonical form: correctly rounded, trailing zeros and a trailing point
  // dropped, exponent form when the rounded exponent is below -4 or at least
  // `digits`, at least two exponent digits. Only the exponent letter differs.
  char buf[40];
  char* const end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, digits).ptr;
  for (char* c = buf; c != end; ++c) {
    if (*c == 'e') {
      *c = 'E';
      break;
    }
  }
  return std::string(buf, end);
}

std::string NumberToText(double x) { return NumberToText(x, 15); }

std::string RoundForDisplay(double value, int factor) {
  return NumberToText(checked::FloorScaled(value, static_cast<double>(factor)));
}

TypedNumber ReadTypedNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  TypedNumber t;
  if (text.empty()) return t;
  t.empty = false;
  try {
    t.value = StrictParse(text);
    t.ok = true;
  } catch (const Fault&) {
  }
  return t;
}

}  // namespace marvane
