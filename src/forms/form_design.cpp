#include "forms/form_design.h"

#include <utility>

namespace marvane::forms {

const Control* FormDesign::Find(std::string_view controlName) const {
  for (const Control& c : controls) {
    if (c.name == controlName) return &c;
  }
  return nullptr;
}

std::vector<const FormDesign*> AllDesigns() {
  return {
      &ChoiceDesign(),
      &QuantDesign(),
      &QuantZDesign(),
      &Mixed2Design(),
      &Quant3Design(),
      &Mixed3Design(),
      &IncompleteDesign(),
  };
}

}  // namespace marvane::forms

namespace marvane::forms {

Control MakeLabel(std::string name, std::string caption, int left, int top, int width, int height,
                  double pointSize, bool bold) {
  Control c;
  c.name = std::move(name);
  c.kind = Kind::Label;
  c.caption = std::move(caption);
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.pointSize = pointSize;
  c.bold = bold;
  return c;
}

Control MakeBox(std::string name, std::string meaning, int left, int top, int width, int height,
                int tabIndex, double pointSize, bool bold) {
  Control c = MakeLabel(std::move(name), "", left, top, width, height, pointSize, bold);
  c.kind = Kind::TextBox;
  c.tabIndex = tabIndex;
  c.meaning = std::move(meaning);
  return c;
}

Control MakeButton(std::string name, std::string caption, int left, int top, int width, int height,
                   double pointSize, bool bold, int tabIndex, Colour colour) {
  Control c = MakeLabel(std::move(name), std::move(caption), left, top, width, height, pointSize, bold);
  c.kind = Kind::Button;
  c.tabIndex = tabIndex;
  c.colour = colour;
  return c;
}

Control MakeNote(std::string name, std::string caption, int left, int top, int width, int height,
                 double pointSize) {
  Control c = MakeLabel(std::move(name), std::move(caption), left, top, width, height, pointSize, true);
  c.blankRunsBreakLines = true;
  return c;
}

Control MakeMessage(int left, int top, int width, int height) {
  Control c = MakeLabel("message", "", left, top, width, height, 9.75, true);
  c.role = Role::Message;
  return c;
}

Control MakePlotButton(int left, int top, int tabIndex) {
  return MakeButton("Plot", "Plot", left, top, 975, 495, 12, true, tabIndex, Colour::Green);
}

Control MakePasteModelButton(int left, int top, int tabIndex) {
  return MakeButton("pasteModel", "Paste model", left, top, 1455, 495, 9.75, true, tabIndex, Colour::Green);
}

Control MakeList(std::string name, std::string meaning, int left, int top, int width, int height, int tabIndex) {
  Control c = MakeBox(std::move(name), std::move(meaning), left, top, width, height, tabIndex, 9.75, true);
  c.kind = Kind::List;
  return c;
}

}  // namespace marvane::forms
