#include <string>

#include "forms/form_design.h"
#include "forms/panel_rows.h"

namespace marvane::forms {
namespace {

// Three lines in one caption: the runs of blanks wrap each sentence onto a
// line of its own at the label's width (151 characters in all).
std::string GroupNote() {
  return std::string(4, ' ') + "\"X\" is the x-axis variable" + std::string(33, ' ') +
         "\"group\" is the 2-group dummy code" + std::string(15, ' ') +
         "Enter values to at least 3 decimals" + std::string(5, ' ');
}

}  // namespace

const FormDesign& Mixed2Design() {
  static const FormDesign design = [] {
    FormDesign d;
    d.name = "Mixed2";
    d.caption = "Mixed2";
    d.clientWidth = 11700;
    d.clientHeight = 8310;
    d.position = Point{3180, 5070};
    d.controls = {
        MakeNote("Label6", GroupNote(), 120, 480, 4455, 855),
        MakeButton("Command1", "Go", 5400, 600, 615, 495, 13.5, false, 6, Colour::Green),
        MakeButton("Command2", "Back", 6360, 600, 975, 495, 12, true, 5, Colour::Blue),
        MakeBox("bx", "the weight of X", 720, 1560, 1335, 375, 0),
        MakeLabel("Label2", "* X", 2280, 1560, 1095, 375, 13.5, false),
        MakeBox("bz", "the weight of the group code", 720, 2160, 1335, 375, 1),
        MakeLabel("Label3", "* group", 2280, 2160, 1335, 375, 13.5, false),
        MakeBox("bxz", "the weight of the interaction X*group", 720, 2670, 1335, 345, 2),
        MakeLabel("Label4", "* Interaction", 2280, 2640, 1935, 375, 13.5, false),
        MakeBox("a", "the constant", 720, 3240, 1335, 375, 3),
        MakeLabel("Label1", "constant", 2400, 3240, 1335, 375, 13.5, false),
        MakeLabel("Label10", "std of", 3960, 1560, 840, 375, 12, true),
        MakeLabel("Label11", "X", 4800, 1560, 360, 375, 13.5, false),
        MakeBox("stdx", "the standard deviation of X", 5160, 1560, 1335, 375, 4),
        MakeMessage(6720, 1320, 4860, 2760),
        MakePlotButton(7680, 600, 7),
        MakePasteModelButton(8880, 600, 8),
    };

    AddLinesHeading(d, 240, 4320);
    const LineColumns lines{.bLeft = 5160, .slopeLeft = 5640, .aLeft = 7200, .interceptLeft = 7680};
    AddLineRow(d, 1, {"For target group (coded 1)", 480, 3975}, 5040, lines);
    AddLineRow(d, 2, {"For contrast group (coded 0)", 240, 4215}, 5520, lines);

    AddPointsHeading(d, 240, 6600);
    const PointColumns points{.x1Left = 4680, .comma1Left = 6000, .y1Left = 6360, .andLeft = 7680,
                              .x2Left = 8520, .comma2Left = 9720, .y2Left = 10080};
    AddPointRow(d, 1, {"For target group (coded 1),   plot", 360, 3975}, 7080, points);
    AddPointRow(d, 2, {"For contrast group (coded 0),   plot", 120, 4455}, 7560, points);
    return d;
  }();
  return design;
}

}  // namespace marvane::forms
