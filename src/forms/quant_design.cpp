#include "forms/form_design.h"
#include "forms/instructions.h"
#include "forms/panel_rows.h"

namespace marvane::forms {

const FormDesign& QuantDesign() {
  static const FormDesign design = [] {
    FormDesign d;
    d.name = "Quant";
    d.caption = "Quant";
    d.clientWidth = 11715;
    d.clientHeight = 9360;
    d.position = Point{3045, 5070};
    d.controls = {
        MakeNote("Label6", TwoPredictorNote("Z"), 120, 120, 4455, 855),
        MakeButton("Command1", "Compute", 4920, 360, 1935, 495, 13.5, false, 7, Colour::Green),
        MakeButton("Command2", "Back", 7560, 360, 975, 495, 12, true, 8, Colour::Blue),
        MakeBox("bx", "the weight of X", 720, 1200, 1335, 375, 0),
        MakeLabel("Label2", "* X", 2280, 1200, 1095, 375, 13.5, false),
        MakeBox("bz", "the weight of Z", 720, 1800, 1335, 375, 1),
        MakeLabel("Label3", "* Z ", 2280, 1800, 1095, 375, 13.5, false),
        MakeBox("bxz", "the weight of the interaction X*Z", 720, 2310, 1335, 345, 2),
        MakeLabel("Label4", "* Interaction", 2280, 2280, 1935, 375, 13.5, false),
        MakeBox("a", "the constant", 720, 2880, 1335, 375, 3),
        MakeLabel("Label1", "constant", 2400, 2880, 1335, 375, 13.5, false),
        MakeLabel("Label10", "std of", 3600, 1320, 840, 375, 12, true),
        MakeLabel("Label11", "X", 4440, 1320, 360, 375, 13.5, false),
        MakeBox("stdx", "the standard deviation of X", 4800, 1320, 1335, 375, 4),
        MakeLabel("Label7", "std of", 3600, 1800, 840, 375, 12, true),
        MakeLabel("Label8", "Z", 4440, 1800, 360, 375, 13.5, false),
        MakeBox("stdz", "the standard deviation of Z", 4800, 1800, 1335, 375, 5),
        MakeMessage(6480, 1200, 5040, 2640),
        MakePlotButton(8880, 360, 9),
        MakePasteModelButton(9960, 360, 10),
    };

    AddLinesHeading(d, 0, 4080);
    const LineColumns lines{.bLeft = 4920, .slopeLeft = 5400, .aLeft = 6960, .interceptLeft = 7440};
    AddLineRow(d, 1, {"For 1 std above the mean of Z", 240, 3975}, 4800, lines);
    AddLineRow(d, 2, {"For the mean of Z", 1680, 2535}, 5280, lines);
    AddLineRow(d, 3, {"For 1 std below the mean of Z", 240, 3975}, 5760, lines);

    AddPointsHeading(d, 240, 6720);
    PointColumns points{.x1Left = 4800, .comma1Left = 6120, .y1Left = 6480, .andLeft = 7800,
                        .x2Left = 8640, .comma2Left = 9840, .y2Left = 10200, .alignXRight = true};
    AddPointRow(d, 1, {"For 1 std above the mean of Z,   plot", 120, 4455}, 7200, points);
    AddPointRow(d, 2, {"For the mean of Z,   plot", 1560, 3015}, 7680, points);
    points.y1Width = 1215;
    AddPointRow(d, 3, {"For 1 std below the mean of Z,   plot", 120, 4455}, 8160, points);

    AddPanelLabel(d, "Label5", "the crossover point is at  X=", 360, 8760, 3615, 375, 13.5, false);
    AddPanelLabel(d, "xcross", "", 4200, 8760, 1215, 495, 13.5, false);
    d.controls.back().meaning = "crossover point";
    return d;
  }();
  return design;
}

}  // namespace marvane::forms
