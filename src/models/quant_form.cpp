#include "models/quant_form.h"


#include "models/quant.h"
#include "shell/number_text.h"

namespace marvane {

void TwoPredictorForm::ShowCrossover(std::string_view captionLabel, double bz, double bxz) {
  Stage("the crossover point", "The three rows are up to date; the crossover point was not computed.");
  if (bxz == 0) {
    // Words instead of a number; the caption spreads into the free room to
    // its right (SetCaption).
    SetCaption("xcross", bz == 0 ? "none: the lines coincide" : "none: the lines are parallel");
  } else {
    SetCaption("xcross", NumberToText(Crossover(bz, bxz)));
    SetCaption("xcross", RoundForDisplay(StrictParse(Caption("xcross")), 100));
  }
  Reveal({captionLabel, "xcross"});
}

QuantForm::QuantForm() : TwoPredictorForm(forms::QuantDesign()) {
  OnCompute("Command1", &QuantForm::Command1_Click);
  OnClick("Command2", &QuantForm::Command2_Click);
}

void QuantForm::Command1_Click() {
  Normalize({"bx", "bz", "bxz", "a", "stdz", "stdx"});
  const QuantInputs in{.bx = Number("bx"), .bz = Number("bz"), .bxz = Number("bxz"),
                       .a = Number("a"), .stdz = Number("stdz"), .stdx = Number("stdx")};
  for (int k = 1; k <= 3; ++k) {
    StageRow(k);
    ShowRow(k, QuantRow(in, k), "stdx");
  }
  ShowCrossover("Label5", in.bz, in.bxz);
  Publish(QuantProbe(in));
}

void QuantForm::Command2_Click() { BackToMenu(); }

}  // namespace marvane
