// The Quant3 computation for arbitrary finite weights and standard
// deviations (bx, bz, bv, bxz, bxv, bzv, bxzv, a, stdx, stdz, stdv from the
// first 88 bytes).
//
// Properties, besides the fault rule of model_fuzz.h for each row and for all
// four at once (stopping at the first fault):
//   - with stdz = stdv = 0 the four rows are one line of slope bx and
//     intercept a, which is Quant's line at Z = 0 for the same bx, a and
//     stdx; or all four have the fault of that line;
//   - when V takes no part (bv = bxv = bzv = bxzv = 0), rows 1 and 2 are
//     Quant's line at Z = +stdz and rows 3 and 4 its line at Z = -stdz, or
//     the same faults;
//   - every row plots at X1 = -stdx and X2 = stdx.

#include <array>
#include <cstdint>
#include <string>

#include "model_fuzz.h"
#include "models/quant.h"
#include "models/quant3.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

//   b  = ((bx + bxz*z) + bxv*v) + (bxzv*z)*v
//   a' = a + ((bz*z + bv*v) + (bzv*z)*v)
//   Y2 = a' + stdx*b, Y1 = a' + stdx*(-b)
SimpleEffectLine PlainRow(Unchecked& u, const Quant3Inputs& in, int k) {
  const double z = k <= 2 ? in.stdz : u.Neg(in.stdz);
  const double v = k % 2 == 1 ? in.stdv : u.Neg(in.stdv);
  SimpleEffectLine l;
  l.slope = u.Add(u.Add(u.Add(in.bx, u.Mul(in.bxz, z)), u.Mul(in.bxv, v)), u.Mul(u.Mul(in.bxzv, z), v));
  l.intercept = u.Add(in.a, u.Add(u.Add(u.Mul(in.bz, z), u.Mul(in.bv, v)), u.Mul(u.Mul(in.bzv, z), v)));
  l.y2 = u.Add(l.intercept, u.Mul(in.stdx, l.slope));
  l.y1 = u.Add(l.intercept, u.Mul(in.stdx, u.Neg(l.slope)));
  l.x1 = u.Neg(in.stdx);
  l.x2 = in.stdx;
  return l;
}

std::string Inputs(const Quant3Inputs& in) {
  return "bx=" + Show(in.bx) + " bz=" + Show(in.bz) + " bv=" + Show(in.bv) + " bxz=" + Show(in.bxz) +
         " bxv=" + Show(in.bxv) + " bzv=" + Show(in.bzv) + " bxzv=" + Show(in.bxzv) + " a=" + Show(in.a) +
         " stdx=" + Show(in.stdx) + " stdz=" + Show(in.stdz) + " stdv=" + Show(in.stdv);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto d = FiniteDoubles<11>(data, size);
  if (!d) return 0;
  const auto& w = *d;
  const Quant3Inputs in{.bx = w[0], .bz = w[1], .bv = w[2], .bxz = w[3], .bxv = w[4], .bzv = w[5],
                        .bxzv = w[6], .a = w[7], .stdx = w[8], .stdz = w[9], .stdv = w[10]};
  const std::string given = Inputs(in);

  for (int k = 1; k <= 4; ++k) {
    const std::string what = given + ": row " + std::to_string(k);
    const auto row = SameAsUnchecked(
        what, [&] { return Quant3Row(in, k); }, [&](Unchecked& u) { return PlainRow(u, in, k); });
    if (row) FUZZ_CHECK(row->x1 == -in.stdx && row->x2 == in.stdx, what + " " + Show(*row));
  }
  SameAsUnchecked(
      given + ": all four rows", [&] { return ComputeQuant3Lines(in); },
      [&](Unchecked& u) {
        return std::array{PlainRow(u, in, 1), PlainRow(u, in, 2), PlainRow(u, in, 3), PlainRow(u, in, 4)};
      });

  // Both moderators at their means: every row is the line of the weights of
  // X and the constant alone.
  Quant3Inputs atMeans = in;
  atMeans.stdz = 0;
  atMeans.stdv = 0;
  const auto means = OutcomeOf([&] { return ComputeQuant3Lines(atMeans); });
  const QuantInputs quant{.bx = in.bx, .bz = in.bz, .bxz = in.bxz, .a = in.a, .stdz = in.stdz, .stdx = in.stdx};
  const auto zeroZ = OutcomeOf([&] { return QuantRow(quant, 2); });
  FUZZ_CHECK(means.fault == zeroZ.fault,
             given + ": with stdz = stdv = 0 " + Show(means) + ", Quant at Z = 0 " + Show(zeroZ));
  if (means.value) {
    for (const SimpleEffectLine& l : *means.value) {
      FUZZ_CHECK(l == *zeroZ.value && l.slope == in.bx && l.intercept == in.a,
                 given + ": with stdz = stdv = 0 " + Show(*means.value) + ", Quant at Z = 0 " + Show(*zeroZ.value));
    }
  }

  // Without V the rows pair up into Quant's lines at +stdz and -stdz.
  Quant3Inputs noV = in;
  noV.bv = noV.bxv = noV.bzv = noV.bxzv = 0;
  for (int k = 1; k <= 4; ++k) {
    const auto row = OutcomeOf([&] { return Quant3Row(noV, k); });
    const auto quantRow = OutcomeOf([&] { return QuantRow(quant, k <= 2 ? 1 : 3); });
    FUZZ_CHECK(row == quantRow, given + ": without V, row " + std::to_string(k) + " " + Show(row) +
                                    ", Quant's row " + std::to_string(k <= 2 ? 1 : 3) + " " + Show(quantRow));
  }
  return 0;
}
