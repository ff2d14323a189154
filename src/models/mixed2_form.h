#pragma once

#include "shell/model_form.h"

namespace marvane {

// A quantitative predictor by a two-group dummy code: one line for the target
// group (row 1) and one for the contrast group (row 2).
class Mixed2Form : public ModelForm {
 public:
  Mixed2Form();

  void Command1_Click();  // Go
  void Command2_Click();  // Back
};

}  // namespace marvane
