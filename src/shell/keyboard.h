#pragma once

// Return and Enter in a box of a form press that form's compute button.

#include <functional>
#include <string_view>

namespace marvane {

class FormWindow;

// Connects every box of `form` so that Return or Enter clicks the button
// `target(box)` names, through QPushButton::click, so the handler, results
// and messages are those of a click. Nothing happens while that button is
// hidden or disabled, or when `target` gives an empty name.
void ConnectEnterToButton(FormWindow& form, std::function<std::string_view(std::string_view box)> target);

}  // namespace marvane
