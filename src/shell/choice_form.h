#pragma once

#include "shell/form_window.h"

namespace marvane {

// The model menu: one button per kind of model.
class ChoiceForm : public FormWindow {
 public:
  ChoiceForm();

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Inomplete_Click();
};

}  // namespace marvane
