#include "shell/keyboard.h"

#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "shell/form_window.h"

namespace marvane {

void ConnectEnterToButton(FormWindow& form, std::function<std::string_view(std::string_view box)> target) {
  for (const forms::Control& c : form.Design().controls) {
    if (c.kind != forms::Kind::TextBox) continue;
    QLineEdit* box = form.Box(c.name);
    if (box == nullptr) continue;
    // returnPressed comes for both Return and the keypad's Enter.
    QObject::connect(box, &QLineEdit::returnPressed, &form, [&form, target, name = c.name] {
      const std::string_view button = target(name);
      if (button.empty()) return;
      QPushButton* b = form.Button(button);
      if (b != nullptr && b->isVisibleTo(&form) && b->isEnabled()) b->click();
    });
  }
}

}  // namespace marvane
