#pragma once

// The design-time description of a form: one row per control, positions and
// sizes in twips as the designer laid them out. The Qt layer builds windows
// from these tables (shell/form_window.h); tests check them without a window.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace marvane::forms {

// List: a drop-down list of choices (the menu's recent sessions).
enum class Kind { Label, TextBox, Button, List };

enum class Align { Left, Right };

// Background colour of a control. Every form, label and text box has the form
// colour RGB(255,128,0); buttons are green RGB(0,255,0) or blue RGB(0,0,255).
enum class Colour { Form, Green, Blue };

// How a control takes part in a model form's behaviour.
enum class Role {
  Fixed,    // always visible (captions, instructions, input boxes, buttons)
  Panel,    // a label of the result panel: hidden at load, revealed by Compute
  Message,  // the label that tells the user about a fault; empty and hidden at load
};

struct Control {
  std::string name;
  Kind kind = Kind::Label;
  std::string caption;  // label caption, button caption or a text box's design text
  int left = 0, top = 0, width = 0, height = 0;  // twips
  double pointSize = 13.5;
  bool bold = false;
  int tabIndex = -1;  // -1: takes no part in the tab order
  Role role = Role::Fixed;
  Align align = Align::Left;
  Colour colour = Colour::Form;
  // For input boxes: how messages name the box ("the weight of X").
  std::string meaning = {};
  // For wrapped notes: each run of two or more blanks inside the caption
  // stands for a line break (the designer filled each line up with blanks).
  // The caption keeps its blanks; the window narrows the wrapping width as
  // far as needed for the text after each run to start a new line in the
  // substitute font.
  bool blankRunsBreakLines = false;
};

struct Point {
  int x = 0, y = 0;
};

struct FormDesign {
  std::string name;     // also the window's objectName
  std::string caption;  // window title
  int clientWidth = 0, clientHeight = 0;  // twips
  std::optional<Point> position;          // client area's top-left on screen; none: window system decides
  std::vector<Control> controls;

  // The control of that name, or nullptr.
  const Control* Find(std::string_view controlName) const;
};

constexpr int kTwipsPerPixel = 15;

// Twips to logical pixels, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips) {
  return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// The seven designs, each built once.
const FormDesign& ChoiceDesign();
const FormDesign& QuantDesign();
const FormDesign& QuantZDesign();
const FormDesign& Mixed2Design();
const FormDesign& Quant3Design();
const FormDesign& Mixed3Design();
const FormDesign& IncompleteDesign();

// Every design the program has, for checks that must hold for all of them.
std::vector<const FormDesign*> AllDesigns();

}  // namespace marvane::forms

namespace marvane::forms {

// Row builders for the design tables.
Control MakeLabel(std::string name, std::string caption, int left, int top, int width, int height,
                  double pointSize, bool bold);
Control MakeBox(std::string name, std::string meaning, int left, int top, int width, int height,
                int tabIndex, double pointSize = 13.5, bool bold = false);
Control MakeButton(std::string name, std::string caption, int left, int top, int width, int height,
                   double pointSize, bool bold, int tabIndex, Colour colour);
// A bold instruction note whose runs of blanks end its lines.
Control MakeNote(std::string name, std::string caption, int left, int top, int width, int height,
                 double pointSize = 9.75);
// The fault message label of a model form, placed in a free area of the form.
Control MakeMessage(int left, int top, int width, int height);
// The button that opens the form's plot window ("Plot"), placed in free room
// of the form and last in its tab order.
Control MakePlotButton(int left, int top, int tabIndex);
// The button that reads a model as a statistics package printed it ("Paste
// model"), placed in free room of each model form after its designed
// controls in the tab order.
Control MakePasteModelButton(int left, int top, int tabIndex);
// A drop-down list, 9.75 pt bold; its choices are filled in at run time.
Control MakeList(std::string name, std::string meaning, int left, int top, int width, int height, int tabIndex);

}  // namespace marvane::forms
