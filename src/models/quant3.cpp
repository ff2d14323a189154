#include "models/quant3.h"

#include "shell/checked.h"

namespace marvane {

using namespace checked;

SimpleEffectLine LineAtZV(const Quant3Inputs& in, double z, double v) {
  const double slope = Add(Add(Add(in.bx, Mul(in.bxz, z)), Mul(in.bxv, v)), Mul(Mul(in.bxzv, z), v));
  const double intercept = Add(in.a, Add(Add(Mul(in.bz, z), Mul(in.bv, v)), Mul(Mul(in.bzv, z), v)));
  return LineWithPoints(slope, intercept, in.stdx);
}

SimpleEffectLine Quant3Row(const Quant3Inputs& in, int k) {
  // Z is above its mean in rows 1 and 2, V in rows 1 and 3.
  const double z = k <= 2 ? in.stdz : Neg(in.stdz);
  const double v = k % 2 == 1 ? in.stdv : Neg(in.stdv);
  return LineAtZV(in, z, v);
}

std::array<SimpleEffectLine, 4> ComputeQuant3Lines(const Quant3Inputs& in) {
  std::array<SimpleEffectLine, 4> lines;
  for (int k = 1; k <= 4; ++k) lines[static_cast<std::size_t>(k - 1)] = Quant3Row(in, k);
  return lines;
}

}  // namespace marvane
