// The Mixed3 computation for arbitrary finite inputs (rbx, bz1, bz2, bxz1,
// bxz2, a, stdx from the first 56 bytes). The weight of X is read as the
// form reads it: the double converted to the nearest single with
// checked::ToSingle, which faults (Overflow) beyond the single range.
//
// Properties of the lines, besides the fault rule of model_fuzz.h for each of
// them and for all three at once (DC1, DC2, contrast, stopping at the first
// fault):
//   - the contrast line is rbx (widened, exactly) and a themselves, and the
//     dummy-code weights take no part in it: with all four of them 0 the
//     contrast line is the same;
//   - with all four dummy-code weights 0 the three lines are one and the
//     same line, or the same fault;
//   - the two target groups' lines are written in different groupings
//     (b*(stdx*(-1)) and (b*(-1))*stdx) that a change of sign makes equal:
//     with the same weights they are the same line, or the same fault;
//   - every line plots at X1 = -stdx and X2 = stdx.
//
// RoundForDisplaySingle, for the contrast slope as the form passes it and
// for the raw double: let p = b * 1000 as a double.
//   - Overflow exactly when p is beyond the double range, no other fault;
//   - when p is beyond the single range, the text is RoundForDisplay(b, 1000);
//   - otherwise, with s the nearest single to p and k = floor(s), the text is
//     a plain number text whose value is the single nearest to k / 1000,
//     rounded to 7 digits, in exponent form exactly from 1E+07 on; while
//     |k| < 1E+07 that is k / 1000 itself, with at most 3 decimals.

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "model_fuzz.h"
#include "models/mixed3.h"
#include "shell/checked.h"
#include "shell/number_text.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

// The IEEE conversion to single (kept from being folded).
float Single(double x) {
  volatile double v = x;
  return static_cast<float>(v);
}

SimpleEffectLine PlainDc1(Unchecked& u, double rbx, double bz1, double bxz1, double a, double stdx) {
  SimpleEffectLine l;
  l.slope = u.Add(rbx, bxz1);
  l.intercept = u.Add(bz1, a);
  l.y1 = u.Add(u.Mul(l.slope, u.Neg(stdx)), l.intercept);
  l.y2 = u.Add(u.Mul(l.slope, stdx), l.intercept);
  l.x1 = u.Neg(stdx);
  l.x2 = stdx;
  return l;
}

SimpleEffectLine PlainDc2(Unchecked& u, double rbx, double bz2, double bxz2, double a, double stdx) {
  SimpleEffectLine l;
  l.slope = u.Add(rbx, bxz2);
  l.intercept = u.Add(bz2, a);
  l.y1 = u.Add(u.Mul(u.Neg(l.slope), stdx), l.intercept);
  l.y2 = u.Add(u.Mul(l.slope, stdx), l.intercept);
  l.x1 = u.Neg(stdx);
  l.x2 = stdx;
  return l;
}

SimpleEffectLine PlainContrast(Unchecked& u, double rbx, double a, double stdx) {
  SimpleEffectLine l;
  l.slope = rbx;
  l.intercept = a;
  l.y1 = u.Add(a, u.Mul(stdx, u.Neg(rbx)));
  l.y2 = u.Add(a, u.Mul(stdx, rbx));
  l.x1 = u.Neg(stdx);
  l.x2 = stdx;
  return l;
}

std::array<SimpleEffectLine, 3> PlainLines(Unchecked& u, const Mixed3Inputs& in) {
  const double rbx = in.rbx;
  return {PlainDc1(u, rbx, in.bz1, in.bxz1, in.a, in.stdx), PlainDc2(u, rbx, in.bz2, in.bxz2, in.a, in.stdx),
          PlainContrast(u, rbx, in.a, in.stdx)};
}

std::size_t Decimals(const std::string& text) {
  const std::size_t point = text.find('.');
  return point == std::string::npos ? 0 : text.size() - point - 1;
}

void CheckRoundForDisplaySingle(double b) {
  const std::string what = "RoundForDisplaySingle(" + Show(b) + ")";
  const double p = b * 1000;
  std::string text;
  try {
    text = RoundForDisplaySingle(b);
  } catch (const Fault& f) {
    FUZZ_CHECK(f.kind == FaultKind::Overflow && std::isinf(p), what + ": fault " + KindName(f.kind));
    return;
  }
  FUZZ_CHECK(std::isfinite(p), what + " = " + Quote(text) + " though b * 1000 overflows");

  const float s = Single(p);
  if (std::isinf(s)) {
    const std::string doubled = RoundForDisplay(b, 1000);
    FUZZ_CHECK(text == doubled, what + " = " + Quote(text) + ", beyond the single range " + Quote(doubled));
    return;
  }
  FUZZ_CHECK(IsPlainNumberText(text), what + " = " + Quote(text));
  const double v = StrictParse(text);
  const double k = std::floor(static_cast<double>(s));
  const double q = Single(k / 1000);
  const auto expected = RoundToDigits(q, 7);
  const std::string shown = what + " = " + Quote(text) + " (floor of the single product " + Show(k) + ")";
  FUZZ_CHECK(expected && v == *expected, shown + ", expected the 7 digits of " + Show(q));
  FUZZ_CHECK((text.find('E') != std::string::npos) == (std::fabs(v) >= 1e7), shown);
  if (std::fabs(k) < 1e7) {
    FUZZ_CHECK(v == k / 1000, shown + " is not the floored thousandths");
    FUZZ_CHECK(Decimals(text) <= 3, shown);
  }
}

std::string Inputs(const Mixed3Inputs& in) {
  return "rbx=" + Show(in.rbx) + " bz1=" + Show(in.bz1) + " bz2=" + Show(in.bz2) + " bxz1=" + Show(in.bxz1) +
         " bxz2=" + Show(in.bxz2) + " a=" + Show(in.a) + " stdx=" + Show(in.stdx);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto v = FiniteDoubles<7>(data, size);
  if (!v) return 0;
  const auto& d = *v;

  // The display of any double, not only of singles.
  CheckRoundForDisplaySingle(d[0]);

  float rbx = 0;
  try {
    rbx = checked::ToSingle(d[0]);
  } catch (const Fault& f) {
    FUZZ_CHECK(f.kind == FaultKind::Overflow && std::isinf(Single(d[0])),
               "ToSingle(" + Show(d[0]) + "): fault " + KindName(f.kind));
    return 0;
  }
  const Mixed3Inputs in{.rbx = rbx, .bz1 = d[1], .bz2 = d[2], .bxz1 = d[3], .bxz2 = d[4], .a = d[5], .stdx = d[6]};
  const std::string given = Inputs(in);
  const double wide = rbx;

  const auto dc1 = SameAsUnchecked(
      given + ": DC1 target", [&] { return Dc1TargetLine(rbx, in.bz1, in.bxz1, in.a, in.stdx); },
      [&](Unchecked& u) { return PlainDc1(u, wide, in.bz1, in.bxz1, in.a, in.stdx); });
  const auto dc2 = SameAsUnchecked(
      given + ": DC2 target", [&] { return Dc2TargetLine(rbx, in.bz2, in.bxz2, in.a, in.stdx); },
      [&](Unchecked& u) { return PlainDc2(u, wide, in.bz2, in.bxz2, in.a, in.stdx); });
  const auto contrast = SameAsUnchecked(
      given + ": contrast", [&] { return ContrastLine(rbx, in.a, in.stdx); },
      [&](Unchecked& u) { return PlainContrast(u, wide, in.a, in.stdx); });
  for (const auto* line : {&dc1, &dc2, &contrast}) {
    if (*line) FUZZ_CHECK((*line)->x1 == -in.stdx && (*line)->x2 == in.stdx, given + ": " + Show(**line));
  }
  if (contrast) {
    FUZZ_CHECK(contrast->slope == wide && contrast->intercept == in.a, given + ": contrast " + Show(*contrast));
  }
  const auto all = SameAsUnchecked(
      given + ": all three lines", [&] { return ComputeMixed3Lines(in); },
      [&](Unchecked& u) { return PlainLines(u, in); });

  // The two target groups differ only in their weights.
  for (const std::pair<double, double>& weights : {std::pair{in.bz1, in.bxz1}, std::pair{in.bz2, in.bxz2}}) {
    const double bz = weights.first, bxz = weights.second;
    const auto one = OutcomeOf([&] { return Dc1TargetLine(rbx, bz, bxz, in.a, in.stdx); });
    const auto two = OutcomeOf([&] { return Dc2TargetLine(rbx, bz, bxz, in.a, in.stdx); });
    FUZZ_CHECK(one == two, given + ": with bz=" + Show(bz) + " bxz=" + Show(bxz) + " DC1 gives " + Show(one) +
                               ", DC2 " + Show(two));
  }

  // Without any group difference the three lines coincide, and the contrast
  // line is the one computed with the weights typed.
  const Mixed3Inputs flat{.rbx = rbx, .a = in.a, .stdx = in.stdx};
  const auto lines = OutcomeOf([&] { return ComputeMixed3Lines(flat); });
  const auto alone = OutcomeOf([&] { return ContrastLine(rbx, in.a, in.stdx); });
  FUZZ_CHECK(lines.fault == alone.fault, given + ": zero group weights give " + Show(lines) + ", contrast " +
                                             Show(alone));
  if (lines.value) {
    for (std::size_t k = 0; k < 3; ++k) {
      FUZZ_CHECK((*lines.value)[k] == *alone.value, given + ": zero group weights give " + Show(*lines.value));
    }
    if (all) FUZZ_CHECK((*all)[2] == *alone.value, given + ": contrast " + Show((*all)[2]));
  }

  CheckRoundForDisplaySingle(wide);
  return 0;
}
