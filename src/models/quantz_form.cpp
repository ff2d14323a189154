#include "models/quantz_form.h"

#include "forms/form_design.h"
#include "models/quantz.h"

namespace marvane {

QuantZForm::QuantZForm() : TwoPredictorForm(forms::QuantZDesign()) {
  OnCompute("Command1", &QuantZForm::Command1_Click);
  OnClick("Command2", &QuantZForm::Command2_Click);
}

void QuantZForm::Command1_Click() {
  // The Z values first, then the weights and the standard deviation of X.
  Normalize({"hiz", "medz", "loz", "bx", "bz", "bxz", "a", "stdx"});
  const QuantZInputs in{.bx = Number("bx"), .bz = Number("bz"), .bxz = Number("bxz"), .a = Number("a"),
                        .stdx = Number("stdx"), .hiz = Number("hiz"), .medz = Number("medz"),
                        .loz = Number("loz")};
  for (int k = 1; k <= 3; ++k) {
    StageRow(k);
    ShowRow(k, QuantZRow(in, k), "stdx");
  }
  ShowCrossover("Label1", in.bz, in.bxz);
  Publish(QuantZProbe(in));
}

void QuantZForm::Command2_Click() { BackToMenu(); }

}  // namespace marvane
