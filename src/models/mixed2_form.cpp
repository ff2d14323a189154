#include "models/mixed2_form.h"

#include "forms/form_design.h"
#include "models/mixed2.h"

namespace marvane {

Mixed2Form::Mixed2Form() : ModelForm(forms::Mixed2Design()) {
  OnCompute("Command1", &Mixed2Form::Command1_Click);
  OnClick("Command2", &Mixed2Form::Command2_Click);
}

void Mixed2Form::Command1_Click() {
  Normalize({"bx", "bz", "bxz", "a", "stdx"});
  const Mixed2Inputs in{.bx = Number("bx"), .bz = Number("bz"), .bxz = Number("bxz"),
                        .a = Number("a"), .stdx = Number("stdx")};
  // Row 1 is the target group, row 2 the contrast group.
  for (int k = 1; k <= 2; ++k) {
    StageRow(k);
    ShowRow(k, Mixed2Row(in, k), "stdx");
  }
  Publish(Mixed2Probe(in));
}

void Mixed2Form::Command2_Click() { BackToMenu(); }

}  // namespace marvane
