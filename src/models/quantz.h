#pragma once

// The same regression as the Quant form,
//   Y = a + bx*X + bz*Z + bxz*X*Z,
// with lines of Y on X at three values of Z that the user types: a high, a
// medium and a low one, on Z's own scale.

#include <array>

#include "models/probe.h"
#include "models/simple_effect_line.h"

namespace marvane {

struct QuantZInputs {
  double bx = 0, bz = 0, bxz = 0, a = 0, stdx = 0, hiz = 0, medz = 0, loz = 0;
};

struct QuantZResult {
  std::array<SimpleEffectLine, 3> lines;  // Z = hiz, medz, loz
  double crossover = 0;                   // (-bz) / bxz, whatever the Z values
};

// Row 1..3 of the QuantZ form: the line at Z = hiz, medz, loz. The values need
// not be ordered or distinct; each row uses its own. Throws Fault on overflow.
SimpleEffectLine QuantZRow(const QuantZInputs& in, int row);

// All three rows and the crossover, in the order the form computes them.
QuantZResult ComputeQuantZLines(const QuantZInputs& in);


// The QuantZ form's probe (see TwoPredictorProbe): Z at hiz, medz and loz;
// Z's standard deviation is not known here.
Probe QuantZProbe(const QuantZInputs& in);

}  // namespace marvane
