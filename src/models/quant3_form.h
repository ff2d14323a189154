#pragma once

#include "shell/model_form.h"

namespace marvane {

// "Quant 3-way": lines of Y on X at the four combinations of +/- one
// standard deviation of Z and V.
class Quant3Form : public ModelForm {
 public:
  Quant3Form();

  void Command1_Click();  // Compute
  void Command2_Click();  // Back
};

}  // namespace marvane
