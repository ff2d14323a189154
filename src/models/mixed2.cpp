#include "models/mixed2.h"

#include "shell/checked.h"

namespace marvane {

using namespace checked;

SimpleEffectLine TargetGroupLine(const Mixed2Inputs& in) {
  return LineWithPoints(Add(in.bx, in.bxz), Add(in.a, in.bz), in.stdx);
}

SimpleEffectLine ContrastGroupLine(const Mixed2Inputs& in) { return LineWithPoints(in.bx, in.a, in.stdx); }

SimpleEffectLine Mixed2Row(const Mixed2Inputs& in, int row) {
  return row == 1 ? TargetGroupLine(in) : ContrastGroupLine(in);
}

std::array<SimpleEffectLine, 2> ComputeMixed2Lines(double bx, double bz, double bxz, double a,
                                                   double stdx) {
  const Mixed2Inputs in{.bx = bx, .bz = bz, .bxz = bxz, .a = a, .stdx = stdx};
  return {TargetGroupLine(in), ContrastGroupLine(in)};
}

}  // namespace marvane
