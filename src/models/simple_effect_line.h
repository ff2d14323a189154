#pragma once

namespace marvane {

// One simple-effect regression line of Y on X at one moderator setting, with
// its two plotting points at X = -stdx and X = +stdx.
struct SimpleEffectLine {
  double slope = 0;      // b
  double intercept = 0;  // a': Y at X = 0
  double x1 = 0;         // -stdx
  double y1 = 0;
  double x2 = 0;         // stdx
  double y2 = 0;

  friend bool operator==(const SimpleEffectLine&, const SimpleEffectLine&) = default;
};

// The line of that slope and intercept with its plotting points, each
// operation checked (throws Fault):
//   Y2 = intercept + stdx*slope, Y1 = intercept + stdx*(-slope),
//   X1 = -stdx, X2 = stdx.
// Y2 is computed first. The order shows in nothing but which of two
// overflows of the same line is met first, and both are the same fault.
SimpleEffectLine LineWithPoints(double slope, double intercept, double stdx);

}  // namespace marvane
