#include "models/simple_effect_line.h"

#include "shell/checked.h"

namespace marvane {

using namespace checked;

SimpleEffectLine LineWithPoints(double slope, double intercept, double stdx) {
  SimpleEffectLine line;
  line.slope = slope;
  line.intercept = intercept;
  line.y2 = Add(intercept, Mul(stdx, slope));
  line.y1 = Add(intercept, Mul(stdx, Neg(slope)));
  line.x1 = Neg(stdx);
  line.x2 = stdx;
  return line;
}

}  // namespace marvane
