#pragma once

// Three quantitative predictors X, Z and V with all their products:
//   Y = a + bx*X + bz*Z + bv*V + bxz*X*Z + bxv*X*V + bzv*Z*V + bxzv*X*Z*V
// with lines of Y on X at the four combinations of Z = +/-stdz and
// V = +/-stdv.

#include <array>

#include "models/probe.h"
#include "models/simple_effect_line.h"

namespace marvane {

struct Quant3Inputs {
  double bx = 0, bz = 0, bv = 0, bxz = 0, bxv = 0, bzv = 0, bxzv = 0, a = 0;
  double stdx = 0, stdz = 0, stdv = 0;
};

// The simple-effect line at the moderator values z and v, every operation
// checked (throws Fault) and grouped exactly so:
//   b  = ((bx + bxz*z) + bxv*v) + (bxzv*z)*v
//   a' = a + ((bz*z + bv*v) + (bzv*z)*v)
//   Y2 = a' + stdx*b, then Y1 = a' + stdx*(-b); X1 = -stdx, X2 = stdx.
// The grouping decides the last bits of the results, which the floored
// display can show (an intercept of -0.40000000000000036 shows as -0.401).
SimpleEffectLine LineAtZV(const Quant3Inputs& in, double z, double v);

// Row k = 1..4 of the form: (Z, V) at (+,+), (+,-), (-,+), (-,-) standard
// deviations; a change of sign is exact.
SimpleEffectLine Quant3Row(const Quant3Inputs& in, int k);

// All four rows in the order the form shows them.
std::array<SimpleEffectLine, 4> ComputeQuant3Lines(const Quant3Inputs& in);


// What the plot window gets from a Compute: the weights in R's order for
// y ~ x * z * v (constant, bx, bz, bv, bxz, bxv, bzv, bxzv); line (z, v) has
// slope bx + z*bxz + v*bxv + z*v*bxzv and intercept a + z*bz + v*bv + z*v*bzv;
// the effects are the slope of X along Z with V at +stdv and -stdv, and
// along V with Z at +stdz and -stdz.
Probe Quant3Probe(const Quant3Inputs& in);

}  // namespace marvane
