#pragma once

#include "models/quant_form.h"

namespace marvane {

// Lines at three typed values of Z; the crossover step is shared with Quant.
class QuantZForm : public TwoPredictorForm {
 public:
  QuantZForm();

  void Command1_Click();  // Compute
  void Command2_Click();  // Back
};

}  // namespace marvane
