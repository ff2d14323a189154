#pragma once

// A quantitative predictor X with a two-group dummy code (group = 1 for the
// target group, 0 for the contrast group) and their product:
//   Y = a + bx*X + bz*group + bxz*X*group
// with one line of Y on X per group.

#include <array>

#include "models/probe.h"
#include "models/simple_effect_line.h"

namespace marvane {

struct Mixed2Inputs {
  double bx = 0, bz = 0, bxz = 0, a = 0, stdx = 0;
};

// The target group (coded 1):
//   b = bx + bxz, a' = a + bz, Y1 = a' + stdx*(b*(-1)), Y2 = a' + stdx*b
// X1 = -stdx, X2 = stdx. Every operation is checked (throws Fault).
SimpleEffectLine TargetGroupLine(const Mixed2Inputs& in);

// The contrast group (coded 0): bx and a themselves,
//   Y1 = a + stdx*(bx*(-1)), Y2 = a + stdx*bx
// X1 = -stdx, X2 = stdx. Neither bz nor bxz takes part.
SimpleEffectLine ContrastGroupLine(const Mixed2Inputs& in);

// Row 1 is the target group, row 2 the contrast group.
SimpleEffectLine Mixed2Row(const Mixed2Inputs& in, int row);

// Both lines, target first, then contrast.
std::array<SimpleEffectLine, 2> ComputeMixed2Lines(double bx, double bz, double bxz, double a,
                                                   double stdx);


// What the plot window gets from a Compute: the weights in R's order for
// y ~ x * group (constant, bx, bz, bxz); target line b = bx + bxz,
// a' = a + bz; contrast line bx and a; the difference between the target
// and the contrast line along X, bz + x*bxz, as the effect for the regions.
Probe Mixed2Probe(const Mixed2Inputs& in);

}  // namespace marvane
