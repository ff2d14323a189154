#include "models/quant.h"

#include "shell/checked.h"

namespace marvane {

using namespace checked;

SimpleEffectLine LineAtZ(double bx, double bz, double bxz, double a, double stdx, double z) {
  SimpleEffectLine line;
  line.slope = Add(bx, Mul(z, bxz));
  line.intercept = Add(a, Mul(z, bz));
  line.x1 = Neg(stdx);
  line.x2 = stdx;
  line.y1 = Sub(line.intercept, Mul(stdx, line.slope));
  line.y2 = Add(line.intercept, Mul(stdx, line.slope));
  return line;
}

SimpleEffectLine QuantRow(const QuantInputs& in, int row) {
  const double z = row == 1 ? in.stdz : row == 2 ? 0.0 : Neg(in.stdz);
  return LineAtZ(in.bx, in.bz, in.bxz, in.a, in.stdx, z);
}

double Crossover(double bz, double bxz) { return Div(Neg(bz), bxz); }

QuantResult ComputeQuantLines(const QuantInputs& in) {
  QuantResult r;
  for (int row = 1; row <= 3; ++row) r.lines[static_cast<std::size_t>(row - 1)] = QuantRow(in, row);
  r.crossover = Crossover(in.bz, in.bxz);
  return r;
}

}  // namespace marvane
