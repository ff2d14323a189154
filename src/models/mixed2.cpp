#include "models/mixed2.h"

#include "shell/checked.h"

namespace marvane {

using namespace checked;

namespace {

// The line with slope b and intercept a' at X = -stdx and X = +stdx:
// Y1 = a' + stdx*(b*(-1)), Y2 = a' + stdx*b, in that grouping.
SimpleEffectLine LineThrough(double slope, double intercept, double stdx) {
  SimpleEffectLine line;
  line.slope = slope;
  line.intercept = intercept;
  line.x1 = Neg(stdx);
  line.x2 = stdx;
  line.y1 = Add(intercept, Mul(stdx, Neg(slope)));
  line.y2 = Add(intercept, Mul(stdx, slope));
  return line;
}

}  // namespace

SimpleEffectLine TargetGroupLine(const Mixed2Inputs& in) {
  return LineThrough(Add(in.bx, in.bxz), Add(in.a, in.bz), in.stdx);
}

SimpleEffectLine ContrastGroupLine(const Mixed2Inputs& in) { return LineThrough(in.bx, in.a, in.stdx); }

SimpleEffectLine Mixed2Row(const Mixed2Inputs& in, int row) {
  return row == 1 ? TargetGroupLine(in) : ContrastGroupLine(in);
}

std::array<SimpleEffectLine, 2> ComputeMixed2Lines(double bx, double bz, double bxz, double a,
                                                   double stdx) {
  const Mixed2Inputs in{.bx = bx, .bz = bz, .bxz = bxz, .a = a, .stdx = stdx};
  return {TargetGroupLine(in), ContrastGroupLine(in)};
}

}  // namespace marvane
