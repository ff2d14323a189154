#pragma once

#include <QRect>
#include <QString>
#include <string>

#include "models/incomplete.h"
#include "shell/model_form.h"

namespace marvane {

// The incomplete-model form. "GO" reveals one grid row for the constant and
// one per other term; "Compute" folds the held terms into the constant,
// prints the adjusted constant on the form itself and shows the three lines.
class IncompleteForm : public ModelForm {
 public:
  IncompleteForm();

  // Hides the result panel, then the grid and what goes with it.
  void Form_Load() override;

  void Command3_Click();  // GO
  void Command1_Click();  // Compute
  void Command2_Click();  // Back

  // The text Compute last printed on the form's surface ("" before the first
  // Compute) and the rectangle it occupies, in the form's coordinates.
  QString SurfaceText() const override { return surfaceText_; }
  QRect SurfaceTextRect() const;

 protected:
  // GO in `numvars`, Compute (once shown) in every other box.
  std::string_view EnterButton(std::string_view box) const override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // The held term of grid row `row`: its control value read leniently, then
  // its weight read strictly, as typed.
  HeldTerm ReadTerm(int row);
  // Prints `text` on the form's surface in place of what was printed before.
  void PrintOnSurface(const std::string& text);

  QString surfaceText_;
};

}  // namespace marvane
