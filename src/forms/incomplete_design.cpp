#include <string>

#include "forms/form_design.h"
#include "forms/instructions.h"
#include "forms/panel_rows.h"

namespace marvane::forms {

namespace {

// The term grid: row i holds weight_i (the constant in row 0, a term weight
// below it) and value_i (the fixed word "Constant" in row 0, a control value
// below it).
constexpr int kGridRows = 13;
constexpr int kWeightLeft = 8760, kWeightWidth = 1215;
constexpr int kValueLeft = 10200, kValueWidth = 1335;
constexpr int kGridTop = 600, kGridPitch = 480, kGridHeight = 375;

// Tab order: the six input boxes 0..5, weight_0 6, then each term row's weight
// and value, then Back, Compute and GO, and value_0 last.
constexpr int kFirstTermTab = 7;
constexpr int kBackTab = kFirstTermTab + 2 * (kGridRows - 1);

void AddGrid(FormDesign& d) {
  for (int i = 0; i < kGridRows; ++i) {
    const std::string row = std::to_string(i);
    const int top = kGridTop + kGridPitch * i;
    if (i == 0) {
      d.controls.push_back(MakeBox("weight_0", "the constant (row 0 of the grid)", kWeightLeft, top,
                                   kWeightWidth, kGridHeight, 6, 9.75, true));
      Control constant = MakeBox("value_0", "the box captioned Constant", kValueLeft, top, kValueWidth,
                                 kGridHeight, kBackTab + 3, 12, true);
      constant.caption = "Constant";
      d.controls.push_back(constant);
      continue;
    }
    const int tab = kFirstTermTab + 2 * (i - 1);
    d.controls.push_back(MakeBox("weight_" + row, "the term weight in row " + row, kWeightLeft, top,
                                 kWeightWidth, kGridHeight, tab, 9.75, true));
    d.controls.push_back(MakeBox("value_" + row, "the control value in row " + row, kValueLeft, top,
                                 kValueWidth, kGridHeight, tab + 1, 9.75, true));
  }
}

}  // namespace

const FormDesign& IncompleteDesign() {
  static const FormDesign design = [] {
    FormDesign d;
    d.name = "Incomplete";
    d.caption = "Incomplete";
    d.clientWidth = 11940;
    d.clientHeight = 8805;
    // No fixed position: the window system places the window.
    d.controls = {
        MakeNote("Label6", TwoPredictorNote("Z"), 120, 240, 4455, 855),
        MakeButton("Command2", "Back", 4920, 480, 975, 495, 12, true, kBackTab, Colour::Blue),
        MakeLabel("Label9",
                  "Fill in the regression weights and the population value at which you want to hold "
                  "that variable constant.  Then press the \"Compute\" button below.",
                  6240, 240, 2295, 2175, 9.75, true),
        MakeLabel("Label5", "  b weight        control value", 8760, 120, 2775, 375, 9.75, true),

        MakeBox("bx", "the weight of X", 720, 1320, 1335, 375, 0),
        MakeLabel("Label2", "* X", 2280, 1320, 975, 375, 13.5, false),
        MakeBox("bz", "the weight of Z", 720, 1920, 1335, 375, 1),
        MakeLabel("Label3", "* Z ", 2280, 1920, 975, 375, 13.5, false),
        MakeBox("bxz", "the weight of the product XZ", 720, 2430, 1335, 345, 2),
        MakeLabel("Label4", "* XZ", 2280, 2400, 975, 375, 13.5, false),
        MakeLabel("Label10", "std of", 3360, 1440, 840, 375, 12, true),
        MakeLabel("Label11", "X", 4200, 1440, 360, 375, 13.5, false),
        MakeBox("stdx", "the standard deviation of X", 4560, 1440, 1335, 375, 3),
        MakeLabel("Label7", "std of", 3360, 1920, 840, 375, 12, true),
        MakeLabel("Label8", "Z", 4200, 1920, 360, 375, 13.5, false),
        MakeBox("stdz", "the standard deviation of Z", 4560, 1920, 1335, 375, 4),

        MakeBox("numvars", "the number of other terms", 480, 3240, 615, 510, 5, 13.5, true),
        MakeLabel("Label1",
                  "Enter the number of other terms that are there in the model -- including main and "
                  "interaction effects?  Then click the \"GO\" button on the right.",
                  1320, 3000, 3735, 975, 9.75, true),
        MakeButton("Command3", "GO", 5160, 3240, 735, 615, 12, true, kBackTab + 2, Colour::Green),
        MakeButton("Command1", "Compute", 6480, 3360, 1935, 495, 13.5, false, kBackTab + 1, Colour::Green),
    };
    // Between "Compute" and the first line row, right of the panel heading,
    // the one free area wide enough for a message; a smaller type than the
    // other forms' lets the longest message fit in it.
    Control message = MakeMessage(4800, 3990, 3840, 915);
    message.pointSize = 8.25;
    d.controls.push_back(message);
    // Below the note that GO reveals and above "Compute", left of the grid.
    d.controls.push_back(MakePasteModelButton(6060, 2640, kBackTab + 5));
    d.controls.push_back(MakePlotButton(7620, 2640, kBackTab + 4));
    AddGrid(d);

    AddLinesHeading(d, 240, 4200);
    const LineColumns lines{.bLeft = 4680, .slopeLeft = 5160, .aLeft = 6480, .interceptLeft = 6960};
    AddLineRow(d, 1, {"For 1 std above the mean of Z", 480, 3975}, 4920, lines);
    AddLineRow(d, 2, {"For the mean of Z", 1920, 2535, 255}, 5400, lines);
    AddLineRow(d, 3, {"For 1 std below the mean of Z", 480, 3975}, 5880, lines);

    AddPointsHeading(d, 480, 6480);
    PointColumns points{.x1Left = 5040, .comma1Left = 6360, .y1Left = 6720, .andLeft = 8040,
                        .x2Left = 8880, .comma2Left = 10080, .y2Left = 10440};
    AddPointRow(d, 1, {"For 1 std above the mean of Z,   plot", 360, 4455}, 6960, points);
    AddPointRow(d, 2, {"For the mean of Z,   plot", 1800, 3015, 255}, 7440, points);
    points.y1Width = 1215;
    points.andWidth = 495;
    AddPointRow(d, 3, {"For 1 std below the mean of Z,   plot", 360, 4455}, 7920, points);
    return d;
  }();
  return design;
}

}  // namespace marvane::forms
