#include "models/mixed3_form.h"

#include "forms/form_design.h"
#include "models/mixed3.h"
#include "shell/checked.h"
#include "shell/number_text.h"

namespace marvane {

Mixed3Form::Mixed3Form() : ModelForm(forms::Mixed3Design()) {
  OnCompute("Command1", &Mixed3Form::Command1_Click);
  OnClick("Command2", &Mixed3Form::Command2_Click);
}

float Mixed3Form::Single(std::string_view box) const {
  const double value = Lenient(box);
  try {
    return checked::ToSingle(value);
  } catch (Fault& f) {
    f.where = Design().Find(box)->meaning + " (held in single precision: at most about 3.4E+38)";
    throw;
  }
}

void Mixed3Form::Command1_Click() {
  // The weights as typed, boxes untouched; a fault here changes nothing.
  const float rbx = Single("rbx");
  const double bz1 = Lenient("bz1");
  const double bz2 = Lenient("bz2");
  const double bxz1 = Lenient("bxz1");
  const double bxz2 = Lenient("bxz2");
  Normalize({"a", "stdx"});
  const double a = Number("a");
  const double stdx = Number("stdx");

  StageRow(1);
  ShowRow(1, Dc1TargetLine(rbx, bz1, bxz1, a, stdx), "stdx");
  StageRow(2);
  ShowRow(2, Dc2TargetLine(rbx, bz2, bxz2, a, stdx), "stdx");

  // The contrast group's slope goes through single precision.
  StageRow(3);
  const SimpleEffectLine contrast = ContrastLine(rbx, a, stdx);
  SetCaption("se33", RoundForDisplaySingle(contrast.slope));
  SetCaption("se35", RoundForDisplay(contrast.intercept, 1000));
  RevealLine(3);
  WritePoints(3, contrast, "stdx");
  RevealPoints(3);
  Publish(Mixed3Probe({.rbx = rbx, .bz1 = bz1, .bz2 = bz2, .bxz1 = bxz1, .bxz2 = bxz2, .a = a, .stdx = stdx}));
}

void Mixed3Form::Command2_Click() { BackToMenu(); }

}  // namespace marvane
