#pragma once

// Fuzzing a model's pure computation: arbitrary finite inputs, and the
// floating-point fault rule as the property. A fault must come exactly where
// plain IEEE arithmetic in the same grouping would first produce an infinity
// or a NaN, and be of the matching kind; without a fault every value is
// finite and equal to the plain IEEE result.
//
// A model's fuzz target is one file: read its inputs with FiniteDoubles<N>,
// then for each row (and each extra value such as a crossover) call
// SameAsUnchecked with the checked computation and the same formula written
// with an Unchecked, and add whatever the model promises beyond that.

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "models/simple_effect_line.h"

namespace marvane::fuzz {

// Plain IEEE double arithmetic that remembers the first step whose result is
// not finite, and what the checked arithmetic calls that fault.
class Unchecked {
 public:
  double Add(double a, double b) { return Note(a + b, FaultKind::Overflow); }
  double Sub(double a, double b) { return Note(a - b, FaultKind::Overflow); }
  double Mul(double a, double b) { return Note(a * b, FaultKind::Overflow); }
  double Div(double a, double b) {
    if (b == 0 && !fault) fault = (a == 0 || std::isnan(a)) ? FaultKind::InvalidOperation : FaultKind::DivisionByZero;
    return Note(a / b, FaultKind::Overflow);
  }
  double Neg(double x) { return Note(x * -1.0, FaultKind::Overflow); }

  std::optional<FaultKind> fault;

 private:
  double Note(double r, FaultKind ifInfinite) {
    if (!fault && std::isnan(r)) fault = FaultKind::InvalidOperation;
    if (!fault && std::isinf(r)) fault = ifInfinite;
    return r;
  }
};

inline bool AllFinite(double v) { return std::isfinite(v); }
inline bool AllFinite(const SimpleEffectLine& l) {
  return std::isfinite(l.slope) && std::isfinite(l.intercept) && std::isfinite(l.x1) && std::isfinite(l.y1) &&
         std::isfinite(l.x2) && std::isfinite(l.y2);
}

inline std::string Show(const SimpleEffectLine& l) {
  return "{b=" + Show(l.slope) + " a=" + Show(l.intercept) + " (" + Show(l.x1) + ", " + Show(l.y1) + ") (" +
         Show(l.x2) + ", " + Show(l.y2) + ")}";
}

// A computation that returns all its rows at once (ComputeQuant3Lines and
// the like) compares as a whole with SameAsUnchecked, its plain version
// evaluating the rows in the same order through one Unchecked: the first
// fault of the rows is then the fault of the whole.
template <typename T, std::size_t N>
bool AllFinite(const std::array<T, N>& rows) {
  for (const T& r : rows) {
    if (!AllFinite(r)) return false;
  }
  return true;
}

template <typename T, std::size_t N>
std::string Show(const std::array<T, N>& rows) {
  std::string out = "[";
  for (std::size_t k = 0; k < N; ++k) out += (k ? ", " : "") + Show(rows[k]);
  return out + "]";
}

// What a computation that may fault came to: its value, or the kind of its
// fault. Two outcomes are equal when both are the same value or both the
// same kind of fault; for comparing a model with itself under inputs that
// the algebra says are equivalent.
template <typename T>
struct Outcome {
  std::optional<T> value;
  std::optional<FaultKind> fault;

  friend bool operator==(const Outcome&, const Outcome&) = default;
};

template <typename F>
auto OutcomeOf(F f) -> Outcome<decltype(f())> {
  try {
    return {f(), std::nullopt};
  } catch (const Fault& fault) {
    return {std::nullopt, fault.kind};
  }
}

template <typename T>
std::string Show(const Outcome<T>& o) {
  return o.value ? Show(*o.value) : std::string("fault ") + KindName(*o.fault);
}

// Runs `checked()` (which may throw Fault) and `plain(Unchecked&)`, the same
// formula without checks, and compares them as described above. Returns the
// checked result when there was no fault.
template <typename Checked, typename Plain>
auto SameAsUnchecked(const std::string& what, Checked checked, Plain plain)
    -> std::optional<decltype(checked())> {
  Unchecked u;
  const auto expected = plain(u);
  try {
    const auto got = checked();
    FUZZ_CHECK(!u.fault, what + " = " + Show(got) + " without the fault " + KindName(*u.fault));
    FUZZ_CHECK(AllFinite(got), what + " = " + Show(got));
    FUZZ_CHECK(got == expected, what + " = " + Show(got) + ", plain IEEE gives " + Show(expected));
    return got;
  } catch (const Fault& f) {
    FUZZ_CHECK(u.fault.has_value(), what + ": fault " + KindName(f.kind) + " where plain IEEE gives " + Show(expected));
    FUZZ_CHECK(f.kind == *u.fault, what + ": fault " + KindName(f.kind) + ", expected " + KindName(*u.fault));
    return std::nullopt;
  }
}

// The line of Y on X at moderator value z for the two-predictor models, in
// plain arithmetic: b = bx + z*bxz, a' = a + z*bz, Y = a' -/+ stdx*b.
inline SimpleEffectLine PlainLineAtZ(Unchecked& u, double bx, double bz, double bxz, double a, double stdx,
                                     double z) {
  SimpleEffectLine l;
  l.slope = u.Add(bx, u.Mul(z, bxz));
  l.intercept = u.Add(a, u.Mul(z, bz));
  l.x1 = u.Neg(stdx);
  l.x2 = stdx;
  l.y1 = u.Sub(l.intercept, u.Mul(stdx, l.slope));
  l.y2 = u.Add(l.intercept, u.Mul(stdx, l.slope));
  return l;
}

}  // namespace marvane::fuzz
