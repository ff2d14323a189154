#pragma once

#include <string_view>

#include "shell/model_form.h"

namespace marvane {

// Quantitative predictor by three-group dummy codes. Unlike the other forms
// it reads the five weights as typed and leaves their boxes alone, holds the
// weight of X in single precision and shows the contrast group's slope
// through single precision.
class Mixed3Form : public ModelForm {
 public:
  Mixed3Form();

  void Command1_Click();  // Go
  void Command2_Click();  // Back

 private:
  // LenientParse of the box's text converted to the nearest single; the box
  // is not written. A number beyond the single range is an Overflow naming
  // the box.
  float Single(std::string_view box) const;
};

}  // namespace marvane
