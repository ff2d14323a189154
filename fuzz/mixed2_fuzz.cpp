// The Mixed2 computation for arbitrary finite weights and standard deviation
// (bx, bz, bxz, a, stdx from the first 40 bytes, then two more weights bz'
// and bxz' to put in place of bz and bxz).
//
// Properties, besides the fault rule of model_fuzz.h for each line:
//   - the contrast group's line is bx and a themselves, and neither bz nor
//     bxz takes part in it: with bz', bxz' in their place it is the same
//     line, or the same fault;
//   - with bz = bxz = 0 the target group's line is the contrast group's;
//   - both lines plot at X1 = -stdx and X2 = stdx;
//   - ComputeMixed2Lines gives the target line, then the contrast line, or
//     stops with the first of their faults.

#include <array>
#include <cstdint>
#include <string>

#include "model_fuzz.h"
#include "models/mixed2.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

// The line of slope b and intercept a' at -stdx and +stdx, grouped as the
// form computes it: Y1 = a' + stdx*(b*(-1)), Y2 = a' + stdx*b.
SimpleEffectLine PlainLine(Unchecked& u, double b, double a, double stdx) {
  SimpleEffectLine l;
  l.slope = b;
  l.intercept = a;
  l.x1 = u.Neg(stdx);
  l.x2 = stdx;
  l.y1 = u.Add(a, u.Mul(stdx, u.Neg(b)));
  l.y2 = u.Add(a, u.Mul(stdx, b));
  return l;
}

SimpleEffectLine PlainTarget(Unchecked& u, const Mixed2Inputs& in) {
  const double b = u.Add(in.bx, in.bxz);
  const double a = u.Add(in.a, in.bz);
  return PlainLine(u, b, a, in.stdx);
}

SimpleEffectLine PlainContrast(Unchecked& u, const Mixed2Inputs& in) { return PlainLine(u, in.bx, in.a, in.stdx); }

std::string Inputs(const Mixed2Inputs& in) {
  return "bx=" + Show(in.bx) + " bz=" + Show(in.bz) + " bxz=" + Show(in.bxz) + " a=" + Show(in.a) +
         " stdx=" + Show(in.stdx);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto v = FiniteDoubles<7>(data, size);
  if (!v) return 0;
  const auto& d = *v;
  const Mixed2Inputs in{.bx = d[0], .bz = d[1], .bxz = d[2], .a = d[3], .stdx = d[4]};
  const std::string given = Inputs(in);

  const auto target = SameAsUnchecked(
      given + ": target group", [&] { return Mixed2Row(in, 1); }, [&](Unchecked& u) { return PlainTarget(u, in); });
  const auto contrast = SameAsUnchecked(
      given + ": contrast group", [&] { return Mixed2Row(in, 2); },
      [&](Unchecked& u) { return PlainContrast(u, in); });
  for (const auto* line : {&target, &contrast}) {
    if (*line) FUZZ_CHECK((*line)->x1 == -in.stdx && (*line)->x2 == in.stdx, given + ": " + Show(**line));
  }
  if (contrast) {
    FUZZ_CHECK(contrast->slope == in.bx && contrast->intercept == in.a, given + ": contrast " + Show(*contrast));
  }

  // Other weights of the group and of the product leave the contrast line as it is.
  Mixed2Inputs other = in;
  other.bz = d[5];
  other.bxz = d[6];
  const auto here = OutcomeOf([&] { return ContrastGroupLine(in); });
  const auto there = OutcomeOf([&] { return ContrastGroupLine(other); });
  FUZZ_CHECK(here == there, given + ": contrast " + Show(here) + ", with bz=" + Show(other.bz) +
                                " bxz=" + Show(other.bxz) + " " + Show(there));

  // Without a group difference both groups have the same line.
  Mixed2Inputs same = in;
  same.bz = 0;
  same.bxz = 0;
  const auto targetSame = OutcomeOf([&] { return TargetGroupLine(same); });
  FUZZ_CHECK(targetSame == here, given + ": with bz = bxz = 0 the target line is " + Show(targetSame) +
                                     ", the contrast line " + Show(here));

  // Both lines at once: target first, then contrast.
  SameAsUnchecked(
      given + ": both lines",
      [&] { return ComputeMixed2Lines(in.bx, in.bz, in.bxz, in.a, in.stdx); },
      [&](Unchecked& u) { return std::array{PlainTarget(u, in), PlainContrast(u, in)}; });
  return 0;
}
