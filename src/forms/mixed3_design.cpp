#include <string>

#include "forms/form_design.h"
#include "forms/panel_rows.h"

namespace marvane::forms {
namespace {

// Four blanks, "X" is the x-axis variable, 34 blanks, Enter values to at
// least 3 decimals, five blanks: 104 characters, which the label's width
// wraps into one sentence a line.
std::string Mixed3Note() {
  return std::string(4, ' ') + "\"X\" is the x-axis variable" + std::string(34, ' ') +
         "Enter values to at least 3 decimals" + std::string(5, ' ');
}

}  // namespace

const FormDesign& Mixed3Design() {
  static const FormDesign design = [] {
    FormDesign d;
    d.name = "Mixed3";
    d.caption = "Mixed3";
    d.clientWidth = 11430;
    d.clientHeight = 9600;
    d.position = Point{3180, 5070};
    // The weight boxes stand left of their terms, so the column reads as the
    // regression equation; the standard deviation of X has its words to its left.
    d.controls = {
        MakeNote("Label6", Mixed3Note(), 0, 240, 4455, 615),
        MakeButton("Command1", "Go", 5280, 120, 615, 495, 13.5, false, 7, Colour::Green),
        MakeButton("Command2", "Back", 6240, 120, 975, 495, 12, true, 8, Colour::Blue),
        MakeBox("rbx", "the weight of X", 600, 1080, 1335, 375, 0),
        MakeLabel("Label2", "* X", 2160, 1080, 1095, 375, 13.5, false),
        MakeBox("bz1", "the weight of DC1", 600, 1680, 1335, 375, 1),
        MakeLabel("Label3", "* DC1", 2160, 1680, 1095, 375, 13.5, false),
        MakeBox("bz2", "the weight of DC2", 600, 2280, 1335, 375, 2),
        MakeLabel("Label5", "* DC2", 2160, 2280, 1095, 375, 13.5, false),
        MakeBox("bxz1", "the weight of the interaction X*DC1", 600, 2880, 1335, 345, 3),
        MakeLabel("Label4", "* DC1 Interaction", 2160, 2850, 2535, 375, 13.5, false),
        MakeBox("bxz2", "the weight of the interaction X*DC2", 600, 3360, 1335, 345, 4),
        MakeLabel("Label7", "* DC2 Interaction", 2160, 3330, 2535, 375, 13.5, false),
        MakeBox("a", "the constant", 600, 3960, 1335, 375, 5),
        MakeLabel("Label1", "constant", 2160, 3960, 1335, 375, 13.5, false),
        MakeLabel("Label10", "std of", 3840, 1080, 840, 375, 12, true),
        MakeLabel("Label11", "X", 4680, 1080, 360, 375, 13.5, false),
        MakeBox("stdx", "the standard deviation of X", 5040, 1080, 1335, 375, 6),
        // Right of the inputs, above the slope and intercept columns.
        MakeMessage(6600, 1200, 4560, 3120),
        MakePlotButton(7560, 120, 9),
        MakePasteModelButton(8760, 120, 10),
    };

    AddLinesHeading(d, 360, 4680);
    const LineColumns lines{.bLeft = 5280, .slopeLeft = 5760, .aLeft = 7320, .interceptLeft = 7800};
    AddLineRow(d, 1, {"For DC1 target group", 1560, 3015}, 5400, lines);
    AddLineRow(d, 2, {"For DC2 target group", 1560, 3015}, 6000, lines);
    AddLineRow(d, 3, {"For contrast group", 1560, 3015}, 6600, lines);

    AddPointsHeading(d, 240, 7200);
    const PointColumns points{.x1Left = 4680, .comma1Left = 6000, .y1Left = 6360, .andLeft = 7680,
                              .x2Left = 8520, .comma2Left = 9720, .y2Left = 10080};
    AddPointRow(d, 1, {"For DC1 target group,   plot", 360, 3975}, 7680, points);
    AddPointRow(d, 2, {"For DC2 target group,   plot", 360, 3975}, 8280, points);
    AddPointRow(d, 3, {"For contrast group,   plot", 720, 3735}, 8880, points);
    return d;
  }();
  return design;
}

}  // namespace marvane::forms
