#include "models/quant3_form.h"

#include "forms/form_design.h"
#include "models/quant3.h"

namespace marvane {
namespace {

// The point rows of this form number their labels left to right:
// X1 p<k>2, Y1 p<k>4, X2 p<k>6, Y2 p<k>8.
constexpr PointLabels kPoints{.x1 = 2, .y1 = 4, .x2 = 6, .y2 = 8};

}  // namespace

Quant3Form::Quant3Form() : ModelForm(forms::Quant3Design()) {
  OnCompute("Command1", &Quant3Form::Command1_Click);
  OnClick("Command2", &Quant3Form::Command2_Click);
}

void Quant3Form::Command1_Click() {
  Normalize({"bx", "bz", "bv", "bxz", "bxv", "bzv", "bxzv", "a", "stdx", "stdz", "stdv"});
  const Quant3Inputs in{.bx = Number("bx"), .bz = Number("bz"), .bv = Number("bv"),
                        .bxz = Number("bxz"), .bxv = Number("bxv"), .bzv = Number("bzv"),
                        .bxzv = Number("bxzv"), .a = Number("a"), .stdx = Number("stdx"),
                        .stdz = Number("stdz"), .stdv = Number("stdv")};
  // Each row writes all six of its values before any of its labels is
  // shown, so a fault part-way leaves that row hidden.
  for (int k = 1; k <= 4; ++k) {
    StageRow(k);
    const SimpleEffectLine line = Quant3Row(in, k);
    WriteLine(k, line);
    WritePoints(k, line, "stdx", kPoints);
    RevealLine(k);
    RevealPoints(k);
  }
  Publish(Quant3Probe(in));
}

void Quant3Form::Command2_Click() { BackToMenu(); }

}  // namespace marvane
