// The Quant computation for arbitrary finite weights and standard deviations
// (bx, bz, bxz, a, stdz, stdx from the first 48 bytes).
//
// Properties, besides the fault rule of model_fuzz.h for each row and the
// crossover:
//   - row 2 (Z = 0) is the weights themselves: slope bx and intercept a;
//   - every row plots at X1 = -stdx and X2 = stdx;
//   - ComputeQuantLines gives the three rows and the crossover, or stops
//     with the first of their faults.

#include <cstdint>
#include <string>

#include "model_fuzz.h"
#include "models/quant.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

SimpleEffectLine PlainLine(Unchecked& u, const QuantInputs& in, double z) {
  return PlainLineAtZ(u, in.bx, in.bz, in.bxz, in.a, in.stdx, z);
}

std::string Inputs(const QuantInputs& in) {
  return "bx=" + Show(in.bx) + " bz=" + Show(in.bz) + " bxz=" + Show(in.bxz) + " a=" + Show(in.a) +
         " stdz=" + Show(in.stdz) + " stdx=" + Show(in.stdx);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto v = FiniteDoubles<6>(data, size);
  if (!v) return 0;
  const auto& d = *v;
  const QuantInputs in{.bx = d[0], .bz = d[1], .bxz = d[2], .a = d[3], .stdz = d[4], .stdx = d[5]};
  const std::string given = Inputs(in);

  auto plainRow = [&](Unchecked& u, int row) {
    const double z = row == 1 ? in.stdz : row == 2 ? 0.0 : u.Neg(in.stdz);
    return PlainLine(u, in, z);
  };
  auto plainCrossover = [&](Unchecked& u) { return u.Div(u.Neg(in.bz), in.bxz); };

  std::optional<SimpleEffectLine> rows[3];
  for (int row = 1; row <= 3; ++row) {
    rows[row - 1] = SameAsUnchecked(
        given + ": row " + std::to_string(row), [&] { return QuantRow(in, row); },
        [&](Unchecked& u) { return plainRow(u, row); });
    if (rows[row - 1]) {
      const SimpleEffectLine& l = *rows[row - 1];
      FUZZ_CHECK(l.x1 == -in.stdx && l.x2 == in.stdx, given + ": row " + std::to_string(row) + " " + Show(l));
    }
  }
  if (rows[1]) {
    FUZZ_CHECK(rows[1]->slope == in.bx && rows[1]->intercept == in.a, given + ": row 2 " + Show(*rows[1]));
  }
  const auto crossover = SameAsUnchecked(
      given + ": crossover", [&] { return Crossover(in.bz, in.bxz); }, plainCrossover);

  // The whole computation stops at the first faulting step, rows first.
  std::optional<FaultKind> first;
  for (int row = 1; row <= 3 && !first; ++row) {
    Unchecked u;
    (void)plainRow(u, row);
    first = u.fault;
  }
  if (!first) {
    Unchecked u;
    (void)plainCrossover(u);
    first = u.fault;
  }
  try {
    const QuantResult r = ComputeQuantLines(in);
    FUZZ_CHECK(!first, given + ": all lines computed despite the fault " + KindName(*first));
    for (std::size_t k = 0; k < 3; ++k) {
      FUZZ_CHECK(r.lines[k] == *rows[k], given + ": row " + std::to_string(k + 1) + " " + Show(r.lines[k]));
    }
    FUZZ_CHECK(r.crossover == *crossover, given + ": crossover " + Show(r.crossover));
  } catch (const Fault& f) {
    FUZZ_CHECK(first && f.kind == *first, given + ": fault " + KindName(f.kind) + " instead of " +
                                              (first ? KindName(*first) : "none"));
  }
  return 0;
}
