#pragma once

// An incomplete model: two quantitative predictors X and Z, their product,
// and up to twelve further terms held at values the user chooses:
//   Y = c + bx*X + bz*Z + bxz*X*Z + w1*T1 + ... + wN*TN
// The held terms are folded into the constant, giving the adjusted constant
// A = c + w1*v1 + ... + wN*vN, and the lines of Y on X are drawn from A at
// Z = +sz, 0 and -sz.

#include <array>
#include <functional>
#include <vector>

#include "models/probe.h"
#include "models/simple_effect_line.h"

namespace marvane {

// One held term: its regression weight and the control value it is held at.
struct HeldTerm {
  double weight = 0;
  double value = 0;
};

// One step of the fold: a + LenientParse(NumberToText(weight * value)).
// The term enters the sum through its text, with the 15 digits NumberToText
// writes, not as the raw product: 0.7 * 0.1 is 0.06999999999999999 as a
// double and enters as 0.07. Product and sum are checked (throw Fault).
double FoldTerm(double a, const HeldTerm& term);

// Reads term `row` (1, 2, ...) when the fold needs it, so that a term that
// cannot be read stops the fold at that row and not before.
using TermReader = std::function<HeldTerm(int row)>;

// A = c, then for row = 1, 2, ... as long as row <= n: A = FoldTerm(A,
// readTerm(row)). n is compared with the row as a number and never rounded:
// n = 2.5 folds rows 1 and 2, any n below 1 folds nothing. Rows are read and
// folded one at a time, left to right. readTerm must throw for a row it does
// not have; that is what ends a count beyond the rows there are.
double FoldControlTerms(double c, double n, const TermReader& readTerm);

// The same fold over a list of terms, row 1 first; an empty list gives c.
double FoldControlTerms(double c, const std::vector<HeldTerm>& terms);

// The numbers the three lines are drawn from.
struct IncompleteInputs {
  double a = 0;  // the adjusted constant A
  double bx = 0, bz = 0, bxz = 0;
  double sx = 0, sz = 0;
};

// Line 1, Z one standard deviation above its mean:
//   b1 = bx + sz*bxz, a1 = A + sz*bz, YL1 = a1 + sx*(-b1), YH1 = a1 + sx*b1
SimpleEffectLine LineAboveMean(const IncompleteInputs& in);
// Line 2, Z at its mean: b2 = bx, a2 = A, YL2 = A + sx*(-bx), YH2 = A + sx*bx
SimpleEffectLine LineAtMean(const IncompleteInputs& in);
// Line 3, Z one standard deviation below its mean:
//   b3 = bx + sz*(-bxz), a3 = A + sz*(-bz), YL3 = a3 + sx*(-b3), YH3 = a3 + sx*b3
SimpleEffectLine LineBelowMean(const IncompleteInputs& in);
// Each line has X1 = -sx and X2 = sx; every operation is checked.

// Line k = 1, 2, 3 of the form.
SimpleEffectLine IncompleteLine(const IncompleteInputs& in, int k);

// The three lines in the order of the form: above, at and below the mean.
std::array<SimpleEffectLine, 3> ComputeIncompleteLines(double a, double bx, double bz, double bxz,
                                                       double sx, double sz);


// What the plot window gets from a Compute: the weights in the order
// constant c, bx, bz, bxz, then the held terms' weights in the grid's order;
// line k's slope bx + z*bxz and intercept c + z*bz + w1*v1 + ... + wN*vN as
// coefficients over them (the held terms' control values are the
// intercept's coefficients); the lines as computed from the folded constant
// `in.a`; where they meet; and the slope of X along Z.
Probe IncompleteProbe(double c, const std::vector<HeldTerm>& held, const IncompleteInputs& in);

}  // namespace marvane
