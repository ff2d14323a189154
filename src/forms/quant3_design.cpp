#include <string>

#include "forms/form_design.h"
#include "forms/panel_rows.h"

namespace marvane::forms {
namespace {

// Four sentences, each followed by a run of blanks that, at the label's
// width, pushes the next sentence onto a line of its own (438 characters).
std::string ThreePredictorNote() {
  return "\"X\" is the x-axis variable" + std::string(40, ' ') +
         "\"Z\" and \"V\" are the other main effect variables" + std::string(83, ' ') +
         "Plotting points for the X-Y relationship at each combination of +/- 1 std of Z and V will be given" +
         std::string(104, ' ') + "Enter values to at least 3 decimals" + std::string(5, ' ');
}

}  // namespace

const FormDesign& Quant3Design() {
  static const FormDesign design = [] {
    FormDesign d;
    d.name = "Quant3";
    d.caption = "Quant 3-way";
    d.clientWidth = 13230;
    d.clientHeight = 7455;
    // No position: the window system places the form like any new window.
    Control note = MakeNote("Label6", ThreePredictorNote(), 6240, 240, 5175, 1695);
    d.controls = {
        note,
        MakeButton("Command1", "Compute", 9240, 2160, 1935, 495, 13.5, false, 12, Colour::Green),
        MakeButton("Command2", "Back", 11400, 2160, 975, 495, 12, true, 11, Colour::Blue),
        // The left column reads as the regression equation, one term a line.
        MakeBox("bx", "the weight of X", 480, 600, 1335, 375, 0),
        MakeLabel("Label2", "* X", 2040, 600, 1095, 375, 13.5, false),
        MakeBox("bz", "the weight of Z", 480, 1080, 1335, 375, 1),
        MakeLabel("Label3", "* Z ", 2040, 1080, 1095, 375, 13.5, false),
        MakeBox("bv", "the weight of V", 480, 1560, 1335, 345, 2),
        MakeLabel("Label9", "* V", 2040, 1560, 1095, 375, 13.5, false),
        MakeBox("bxz", "the weight of X*Z", 480, 2070, 1335, 345, 3),
        MakeLabel("Label4", "* XZ", 2040, 2040, 1095, 375, 13.5, false),
        MakeBox("bxv", "the weight of X*V", 480, 2550, 1335, 345, 4),
        MakeLabel("Label12", "* XV", 2040, 2520, 1095, 375, 13.5, false),
        MakeBox("bzv", "the weight of Z*V", 480, 3030, 1335, 345, 5),
        MakeLabel("Label13", "* ZV", 2040, 3000, 1095, 375, 13.5, false),
        MakeBox("bxzv", "the weight of X*Z*V", 480, 3510, 1335, 345, 6),
        MakeLabel("Label15", "* XZV", 2040, 3480, 1095, 375, 13.5, false),
        MakeBox("a", "the constant", 480, 3960, 1335, 375, 7),
        MakeLabel("Label1", "constant", 2160, 3960, 1335, 375, 13.5, false),
        // The standard deviations, each after "std of" and its letter.
        MakeLabel("Label10", "std of", 3360, 600, 840, 375, 12, true),
        MakeLabel("Label11", "X", 4200, 600, 360, 375, 13.5, false),
        MakeBox("stdx", "the standard deviation of X", 4560, 600, 1335, 375, 8),
        MakeLabel("Label7", "std of", 3360, 1080, 840, 375, 12, true),
        MakeLabel("Label8", "Z", 4200, 1080, 360, 375, 13.5, false),
        MakeBox("stdz", "the standard deviation of Z", 4560, 1080, 1335, 375, 9),
        MakeLabel("Label16", "std of", 3360, 1560, 840, 375, 12, true),
        MakeLabel("Label17", "V", 4200, 1560, 360, 375, 13.5, false),
        MakeBox("stdv", "the standard deviation of V", 4560, 1560, 1335, 375, 10),
        // The strip between the last line row and the first point row, right
        // of "Plotting points", is free.
        MakeMessage(2280, 4710, 10920, 555),
        MakePlotButton(11760, 600, 13),
        MakePasteModelButton(11520, 1200, 14),
    };

    AddLinesHeading(d, 4440, 2160);
    const LineColumns lines{.bLeft = 9000, .slopeLeft = 9480, .aLeft = 11040, .interceptLeft = 11520};
    AddLineRow(d, 1, {"+1 std of Z   and  +1 std of V", 4320, 3975}, 2880, lines);
    AddLineRow(d, 2, {"  +1 std of Z   and  -1 std of V", 4200, 4095, 255}, 3360, lines);
    AddLineRow(d, 3, {" -1 std of Z   and  +1 std of V", 4320, 3975}, 3840, lines);
    AddLineRow(d, 4, {" -1 std of Z   and  -1 std of V", 4320, 3975}, 4320, lines);

    AddPointsHeading(d, 240, 4800);
    // This form numbers the labels of a point row from left to right.
    PointColumns points{.x1Left = 5400, .comma1Left = 6720, .y1Left = 7080, .andLeft = 8400,
                        .x2Left = 9240, .comma2Left = 10440, .y2Left = 10800, .alignXRight = true,
                        .digits = PointDigits{.x1 = 2, .comma1 = 3, .y1 = 4, .andWord = 5, .x2 = 6,
                                              .comma2 = 7, .y2 = 8}};
    AddPointRow(d, 1, {"For +1 std of Z   and  +1 std of V,   plot", 120, 5055}, 5280, points);
    AddPointRow(d, 2, {"For +1 std of Z   and  -1 std of V,    plot", 120, 5055, 255}, 5760, points);
    points.y1Width = 1215;
    points.andWidth = 495;
    AddPointRow(d, 3, {"For -1 std of Z   and  +1 std of V,    plot", 120, 5055}, 6240, points);
    AddPointRow(d, 4, {"For -1 std of Z   and  -1 std of V,     plot", 120, 5055}, 6720, points);
    return d;
  }();
  return design;
}

}  // namespace marvane::forms
