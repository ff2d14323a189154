#include "shell/choice_form.h"

#include <QPushButton>

#include "shell/navigation.h"

namespace marvane {

ChoiceForm::ChoiceForm() : FormWindow(forms::ChoiceDesign()) {
  connect(Button("Command1"), &QPushButton::clicked, this, &ChoiceForm::Command1_Click);
  connect(Button("Command2"), &QPushButton::clicked, this, &ChoiceForm::Command2_Click);
  connect(Button("Command3"), &QPushButton::clicked, this, &ChoiceForm::Command3_Click);
  connect(Button("Command4"), &QPushButton::clicked, this, &ChoiceForm::Command4_Click);
  connect(Button("Command5"), &QPushButton::clicked, this, &ChoiceForm::Command5_Click);
  connect(Button("Inomplete"), &QPushButton::clicked, this, &ChoiceForm::Inomplete_Click);
}

void ChoiceForm::Command1_Click() { SwitchForm("Quant", this); }
void ChoiceForm::Command2_Click() { SwitchForm("QuantZ", this); }
void ChoiceForm::Command3_Click() { SwitchForm("Mixed2", this); }
void ChoiceForm::Command4_Click() { SwitchForm("Mixed3", this); }
void ChoiceForm::Command5_Click() { SwitchForm("Quant3", this); }
void ChoiceForm::Inomplete_Click() { SwitchForm("Incomplete", this); }

}  // namespace marvane
