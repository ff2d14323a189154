#pragma once

// Two quantitative predictors X and Z and their product:
//   Y = a + bx*X + bz*Z + bxz*X*Z
// with lines of Y on X at Z = +stdz, 0 and -stdz.

#include <array>
#include <string_view>

#include "models/probe.h"
#include "models/simple_effect_line.h"

namespace marvane {

struct QuantInputs {
  double bx = 0, bz = 0, bxz = 0, a = 0, stdz = 0, stdx = 0;
};

struct QuantResult {
  std::array<SimpleEffectLine, 3> lines;  // Z = +stdz, 0, -stdz
  double crossover = 0;                   // (-bz) / bxz
};

// The simple-effect line at moderator value z:
//   b = bx + (z * bxz), a' = a + (z * bz), Y1 = a' - (stdx * b), Y2 = a' + (stdx * b)
// X1 = -stdx, X2 = stdx. Every operation is checked (throws Fault). With
// z = -stdz this is exactly bx - (stdz * bxz), since a change of sign is exact;
// with z = 0 it is bx and a themselves for any weight that is not -0.
SimpleEffectLine LineAtZ(double bx, double bz, double bxz, double a, double stdx, double z);

// Row 1..3 of the Quant form: Z = +stdz, 0, -stdz.
SimpleEffectLine QuantRow(const QuantInputs& in, int row);

// The X at which all lines meet: (-bz) / bxz. Throws Fault when bxz is 0
// (a division by zero, or an invalid operation when bz is 0 too).
double Crossover(double bz, double bxz);

// All three rows and the crossover, in the order the form computes them.
QuantResult ComputeQuantLines(const QuantInputs& in);


// What the plot window gets from a Compute of the two-predictor forms: the
// lines at the moderator values z[0..2] (already computed), the weights in
// R's order for y ~ x * z (constant, bx, bz, bxz), each line's slope
// bx + z*bxz and intercept a + z*bz as coefficients over them, where all
// lines meet, and the slope of X along Z as the effect for the regions
// (`stdz` 0 when Z's standard deviation is not known).
Probe TwoPredictorProbe(std::string_view form, std::string_view caption, double bx, double bz, double bxz,
                        double a, double stdx, double stdz, const std::array<double, 3>& z,
                        const std::array<SimpleEffectLine, 3>& lines);

// The Quant form's probe: Z at +stdz, 0 and -stdz.
Probe QuantProbe(const QuantInputs& in);

}  // namespace marvane
