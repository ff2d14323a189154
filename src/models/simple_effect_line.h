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

}  // namespace marvane
