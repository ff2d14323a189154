#include "models/quant3.h"

#include "shell/checked.h"

namespace marvane {

using namespace checked;

SimpleEffectLine LineAtZV(const Quant3Inputs& in, double z, double v) {
  SimpleEffectLine line;
  line.slope = Add(Add(Add(in.bx, Mul(in.bxz, z)), Mul(in.bxv, v)), Mul(Mul(in.bxzv, z), v));
  line.intercept = Add(in.a, Add(Add(Mul(in.bz, z), Mul(in.bv, v)), Mul(Mul(in.bzv, z), v)));
  line.y2 = Add(line.intercept, Mul(in.stdx, line.slope));
  line.y1 = Add(line.intercept, Mul(in.stdx, Neg(line.slope)));
  line.x1 = Neg(in.stdx);
  line.x2 = in.stdx;
  return line;
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
