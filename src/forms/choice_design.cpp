#include "forms/form_design.h"

namespace marvane::forms {

const FormDesign& ChoiceDesign() {
  static const FormDesign design = [] {
    FormDesign d;
    d.name = "Choice";
    d.caption = "Choice";
    d.clientWidth = 7575;
    d.clientHeight = 6840;
    d.position = Point{3045, 5205};
    Control title = MakeLabel("Label5", "Marvane", 960, 480, 6255, 375, 13.5, true);
    title.tabIndex = 3;
    Control instruction = MakeNote(
        "Label1", "Select the type of model for which you" + std::string(15, ' ') + "want to plot the interaction",
        1200, 960, 4695, 735, 12);
    instruction.tabIndex = 1;
    d.controls = {
        title,
        instruction,
        MakeButton("Command1", "2 quant predictors w/ +/- Std Z", 240, 2280, 5895, 375, 12, true, 0, Colour::Green),
        MakeButton("Command2", "2 quant predictors w/ specified Z", 240, 2880, 5895, 375, 12, true, 2, Colour::Green),
        MakeButton("Command3", "quant and dummy-coded 2-group", 240, 3480, 5895, 375, 12, true, 4, Colour::Green),
        MakeButton("Command4", "quant and dummy-coded 3-group", 240, 4080, 5895, 375, 12, true, 5, Colour::Green),
        MakeButton("Command5", "3 quant predictors", 240, 4680, 5895, 375, 12, true, 6, Colour::Green),
        MakeButton("Inomplete", "Incomplete Models", 240, 5280, 5895, 375, 12, true, 7, Colour::Green),
    };
    return d;
  }();
  return design;
}

}  // namespace marvane::forms
