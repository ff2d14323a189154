#include "forms/form_design.h"
#include "forms/instructions.h"
#include "forms/panel_rows.h"

namespace marvane::forms {

// The Quant layout with three typed Z values in place of the standard
// deviation of Z: the Z boxes stand in a column on the right, the buttons and
// the result panel sit 120 twips higher.
const FormDesign& QuantZDesign() {
  static const FormDesign design = [] {
    FormDesign d;
    d.name = "QuantZ";
    d.caption = "QuantZ";
    d.clientWidth = 12420;
    d.clientHeight = 9375;
    d.position = Point{3045, 5070};
    d.controls = {
        MakeNote("Label9", TwoPredictorNote("Z"), 120, 0, 4455, 855),
        MakeButton("Command1", "Compute", 4920, 240, 1935, 495, 13.5, false, 12, Colour::Green),
        MakeButton("Command2", "Back", 7560, 240, 975, 495, 12, true, 11, Colour::Blue),
        MakeBox("bx", "the weight of X", 720, 1080, 1335, 375, 0),
        MakeLabel("Label3", "* X", 2280, 1080, 855, 375, 13.5, false),
        MakeBox("bz", "the weight of Z", 720, 1680, 1335, 375, 1),
        MakeLabel("Label4", "* Z ", 2280, 1680, 1095, 375, 13.5, false),
        MakeBox("bxz", "the weight of the interaction X*Z", 720, 2190, 1335, 345, 2),
        MakeLabel("Label6", "* Interaction", 2280, 2160, 1935, 375, 13.5, false),
        MakeBox("a", "the constant", 720, 2760, 1335, 375, 3),
        MakeLabel("Label2", "constant", 2400, 2760, 1335, 375, 13.5, false),
        MakeLabel("Label10", "std of", 3240, 1200, 840, 375, 12, true),
        MakeLabel("Label11", "X", 4080, 1200, 360, 375, 13.5, false),
        MakeBox("stdx", "the standard deviation of X", 4440, 1200, 1335, 375, 4),
        MakeLabel("Label7", "high Z value", 6960, 1200, 2175, 375, 12, true),
        MakeBox("hiz", "the high value of Z", 9240, 1200, 1335, 375, 5),
        MakeLabel("Label5", "medium Z value", 6960, 1680, 2175, 375, 12, true),
        MakeBox("medz", "the medium value of Z", 9240, 1680, 1335, 375, 6),
        MakeLabel("Label8", "low Z value", 6960, 2160, 2175, 375, 12, true),
        MakeBox("loz", "the low value of Z", 9240, 2160, 1335, 375, 7),
        // Free band between the inputs and the result panel.
        MakeMessage(4080, 2700, 8160, 1140),
        MakePlotButton(8880, 240, 13),
        MakePasteModelButton(10080, 240, 14),
    };

    // Row headings end where Quant's do (4215 for lines, 4575 for points).
    AddLinesHeading(d, 0, 3960);
    const LineColumns lines{.bLeft = 4920, .slopeLeft = 5400, .aLeft = 6960, .interceptLeft = 7440};
    AddLineRow(d, 1, {"For high value of Z", 1560, 2655}, 4680, lines);
    AddLineRow(d, 2, {"For medium value of Z", 1200, 3015}, 5160, lines);
    AddLineRow(d, 3, {"For low value of Z", 1680, 2535}, 5640, lines);

    AddPointsHeading(d, 240, 6600);
    PointColumns points{.x1Left = 4800, .comma1Left = 6120, .y1Left = 6480, .andLeft = 7800,
                        .x2Left = 8640, .comma2Left = 9840, .y2Left = 10200, .alignXRight = true};
    AddPointRow(d, 1, {"For high value of Z, plot", 1320, 3255}, 7080, points);
    AddPointRow(d, 2, {"For medium value of Z, plot", 960, 3615}, 7560, points);
    points.y1Width = 1215;
    AddPointRow(d, 3, {"For low value of Z,   plot", 1320, 3255}, 8040, points);

    AddPanelLabel(d, "Label1", "the crossover point is at  X=", 360, 8640, 3615, 375, 13.5, false);
    AddPanelLabel(d, "xcross", "", 4200, 8640, 1215, 495, 13.5, false);
    d.controls.back().meaning = "crossover point";
    return d;
  }();
  return design;
}

}  // namespace marvane::forms
