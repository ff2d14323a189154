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
    // The work kept in files, in the free strip below the model buttons and
    // after them in the tab order: open a session, the recent ones (hidden
    // while there are none) and the last work left on a form (hidden while
    // there is none; its caption names the form and when it was left). What
    // went wrong with a file is told in the free strip between the note and
    // the first button.
    d.controls.push_back(
        MakeButton("openSession", "Open session\u2026", 240, 5790, 1935, 375, 9.75, true, 8, Colour::Green));
    d.controls.push_back(MakeList("recentSessions", "a session opened or saved lately", 2295, 5790, 3840, 375, 9));
    d.controls.push_back(
        MakeButton("reopenLast", "Reopen last work", 240, 6270, 5895, 375, 9.75, true, 10, Colour::Green));
    Control message = MakeLabel("sessionMessage", "", 240, 1725, 7095, 540, 8.25, true);
    message.meaning = "what went wrong with a session file";
    d.controls.push_back(message);
    return d;
  }();
  return design;
}

}  // namespace marvane::forms
