#pragma once

// A quantitative predictor X and the two dummy codes DC1, DC2 of a
// three-group variable, with the products of X and each code:
//   Y = a + rbx*X + bz1*DC1 + bz2*DC2 + bxz1*X*DC1 + bxz2*X*DC2
// One line of Y on X per group: the DC1 target group (DC1 = 1), the DC2
// target group (DC2 = 1) and the contrast group (both codes 0).
//
// The weight of X, rbx, is an IEEE single; every other number is a double.
// Wherever rbx meets a double it is widened to double, which is exact, and the
// operation is a double operation. Every operation is checked (throws Fault)
// and done in exactly the grouping written beside each function; X1 = -stdx
// and X2 = stdx in every group.

#include <array>
#include <string>

#include "models/probe.h"
#include "models/simple_effect_line.h"

namespace marvane {

struct Mixed3Inputs {
  float rbx = 0;
  double bz1 = 0, bz2 = 0, bxz1 = 0, bxz2 = 0, a = 0, stdx = 0;
};

// DC1 target group:
//   b = rbx + bxz1, a' = bz1 + a, Y1 = b*(stdx*(-1)) + a', Y2 = b*stdx + a'
SimpleEffectLine Dc1TargetLine(float rbx, double bz1, double bxz1, double a, double stdx);

// DC2 target group:
//   b = rbx + bxz2, a' = bz2 + a, Y1 = (b*(-1))*stdx + a', Y2 = b*stdx + a'
SimpleEffectLine Dc2TargetLine(float rbx, double bz2, double bxz2, double a, double stdx);

// Contrast group: depends on rbx, a and stdx alone.
//   b = rbx itself, a' = a, Y1 = a + stdx*(rbx*(-1)), Y2 = a + stdx*rbx
SimpleEffectLine ContrastLine(float rbx, double a, double stdx);

// The three lines in the order the form shows them: DC1, DC2, contrast.
std::array<SimpleEffectLine, 3> ComputeMixed3Lines(const Mixed3Inputs& in);

// The contrast group's slope as its label shows it, through single precision:
//   1. the product b * 1000 is formed and converted to the nearest single;
//   2. that single is floored (toward minus infinity);
//   3. the whole number divided by 1000 is converted to the nearest single;
//   4. the single is written like NumberToText with at most seven significant
//      digits, i.e. NumberToText(x, 7).
// 0.7f -> "0.7" (its product 699.99998... is the single 700), where the double
// path gives "0.699"; 12345.6789f -> "12345.68"; -0.1231f -> "-0.124".
// Exponent form starts at 1E+07, the first magnitude whose whole part needs
// more than the seven digits kept: 12345678.9f -> "1.234568E+07". Small
// magnitudes switch below 0.0001, as NumberToText does.
// A product beyond the single range (|b| above about 3.4E+35) stays a double
// and the text is RoundForDisplay(b, 1000), fifteen digits and all:
// 3.5E+35f -> "3.49999994514427E+35".
std::string RoundForDisplaySingle(double b);


// What the plot window gets from a Go: the weights in R's order for
// y ~ x * f with treatment coding (constant, rbx, bz1, bz2, bxz1, bxz2), rbx
// widened from single; the DC1 line rbx + bxz1 and bz1 + a, the DC2 line
// rbx + bxz2 and bz2 + a, the contrast line rbx and a; and as effects along
// X: DC1 minus contrast, DC2 minus contrast, DC1 minus DC2.
Probe Mixed3Probe(const Mixed3Inputs& in);

}  // namespace marvane
