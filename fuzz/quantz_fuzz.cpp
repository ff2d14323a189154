// The QuantZ computation for arbitrary finite weights, standard deviation of
// X and Z values (bx, bz, bxz, a, stdx, hiz, medz, loz from the first 64
// bytes).
//
// Properties, besides the fault rule of model_fuzz.h for each row and the
// crossover:
//   - each row uses its own Z value and nothing of the other two: row k is
//     the row 1 of the same inputs with that value typed as the high Z;
//   - a row whose Z is 0 is the weights themselves: slope bx, intercept a;
//   - with hiz = s, medz = 0, loz = -s the whole result is Quant's with
//     stdz = s, faults included;
//   - every row plots at X1 = -stdx and X2 = stdx;
//   - ComputeQuantZLines gives the three rows and the crossover, or stops
//     with the first of their faults.

#include <cstdint>
#include <string>

#include "model_fuzz.h"
#include "models/quant.h"
#include "models/quantz.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

SimpleEffectLine PlainLine(Unchecked& u, const QuantZInputs& in, double z) {
  return PlainLineAtZ(u, in.bx, in.bz, in.bxz, in.a, in.stdx, z);
}

double ZOfRow(const QuantZInputs& in, int row) { return row == 1 ? in.hiz : row == 2 ? in.medz : in.loz; }

std::string Inputs(const QuantZInputs& in) {
  return "bx=" + Show(in.bx) + " bz=" + Show(in.bz) + " bxz=" + Show(in.bxz) + " a=" + Show(in.a) +
         " stdx=" + Show(in.stdx) + " hiz=" + Show(in.hiz) + " medz=" + Show(in.medz) + " loz=" + Show(in.loz);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto v = FiniteDoubles<8>(data, size);
  if (!v) return 0;
  const auto& d = *v;
  const QuantZInputs in{.bx = d[0], .bz = d[1], .bxz = d[2], .a = d[3], .stdx = d[4],
                        .hiz = d[5], .medz = d[6], .loz = d[7]};
  const std::string given = Inputs(in);

  std::optional<SimpleEffectLine> rows[3];
  for (int row = 1; row <= 3; ++row) {
    const std::string what = given + ": row " + std::to_string(row);
    const double z = ZOfRow(in, row);
    rows[row - 1] = SameAsUnchecked(
        what, [&] { return QuantZRow(in, row); }, [&](Unchecked& u) { return PlainLine(u, in, z); });

    // The same Z typed into the high box instead gives the same line, and
    // the other two values take no part.
    QuantZInputs moved = in;
    moved.hiz = z;
    moved.medz = in.hiz;
    moved.loz = in.medz;
    const auto asFirst = OutcomeOf([&] { return QuantZRow(moved, 1); });
    const auto here = OutcomeOf([&] { return QuantZRow(in, row); });
    FUZZ_CHECK(asFirst == here, what + " is " + Show(here) + ", row 1 with hiz=" + Show(z) + " " + Show(asFirst));

    if (rows[row - 1]) {
      const SimpleEffectLine& l = *rows[row - 1];
      FUZZ_CHECK(l.x1 == -in.stdx && l.x2 == in.stdx, what + " " + Show(l));
      if (z == 0) FUZZ_CHECK(l.slope == in.bx && l.intercept == in.a, what + " at Z = 0: " + Show(l));
    }
  }
  const auto crossover = SameAsUnchecked(
      given + ": crossover", [&] { return Crossover(in.bz, in.bxz); },
      [&](Unchecked& u) { return u.Div(u.Neg(in.bz), in.bxz); });

  // The whole computation stops at the first faulting step, rows first.
  Unchecked order;
  for (int row = 1; row <= 3; ++row) (void)PlainLine(order, in, ZOfRow(in, row));
  (void)order.Div(order.Neg(in.bz), in.bxz);
  try {
    const QuantZResult r = ComputeQuantZLines(in);
    FUZZ_CHECK(!order.fault, given + ": all lines computed despite the fault " + KindName(*order.fault));
    for (std::size_t k = 0; k < 3; ++k) {
      FUZZ_CHECK(r.lines[k] == *rows[k], given + ": row " + std::to_string(k + 1) + " " + Show(r.lines[k]));
    }
    FUZZ_CHECK(r.crossover == *crossover, given + ": crossover " + Show(r.crossover));
  } catch (const Fault& f) {
    FUZZ_CHECK(order.fault && f.kind == *order.fault,
               given + ": fault " + KindName(f.kind) + " instead of " + (order.fault ? KindName(*order.fault) : "none"));
  }

  // Z values of +s, 0 and -s are the Quant form's rows: the same lines and
  // crossover, or the same fault.
  const double s = in.hiz;
  const QuantZInputs symmetric{.bx = in.bx, .bz = in.bz, .bxz = in.bxz, .a = in.a, .stdx = in.stdx,
                               .hiz = s, .medz = 0, .loz = -s};
  const QuantInputs quant{.bx = in.bx, .bz = in.bz, .bxz = in.bxz, .a = in.a, .stdz = s, .stdx = in.stdx};
  const auto z = OutcomeOf([&] { return ComputeQuantZLines(symmetric); });
  const auto q = OutcomeOf([&] { return ComputeQuantLines(quant); });
  const std::string sym = given + ": with hiz=" + Show(s) + ", medz=0, loz=" + Show(-s);
  FUZZ_CHECK(z.fault == q.fault, sym + " the fault is " + (z.fault ? KindName(*z.fault) : "none") + ", Quant's " +
                                     (q.fault ? KindName(*q.fault) : "none"));
  if (z.value && q.value) {
    FUZZ_CHECK(z.value->lines == q.value->lines,
               sym + " the rows are " + Show(z.value->lines) + ", Quant's " + Show(q.value->lines));
    FUZZ_CHECK(z.value->crossover == q.value->crossover,
               sym + " the crossover is " + Show(z.value->crossover) + ", Quant's " + Show(q.value->crossover));
  }
  return 0;
}
