#pragma once

#include <string_view>

#include "shell/model_form.h"

namespace marvane {

// The two forms whose lines all meet at one X (Quant and QuantZ) share the
// crossover step.
class TwoPredictorForm : public ModelForm {
 public:
  using ModelForm::ModelForm;

 protected:
  // Writes xcross as the text of (-bz)/bxz, reads that caption back, writes
  // it again floored to two decimals, and reveals the caption label and
  // xcross. With bxz = 0 the lines never meet (or, with bz = 0 too, are one
  // and the same line): xcross says so in words instead of dividing.
  void ShowCrossover(std::string_view captionLabel, double bz, double bxz);
};

class QuantForm : public TwoPredictorForm {
 public:
  QuantForm();

  void Command1_Click();  // Compute
  void Command2_Click();  // Back
};

}  // namespace marvane
