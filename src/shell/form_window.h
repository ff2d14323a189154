#pragma once

// A top-level window built from a form design (forms/form_design.h): one
// widget per control row, found again by its name.

#include <QWidget>
#include <map>
#include <string>
#include <string_view>

#include "forms/form_design.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace marvane {

// The family the designs ask for; main() maps it to an installed sans-serif.
inline constexpr const char* kDesignFontFamily = "MS Sans Serif";

class FormWindow : public QWidget {
 public:
  explicit FormWindow(const forms::FormDesign& design);

  const forms::FormDesign& Design() const { return design_; }

  // Controls by name; a missing name is a programming error (asserts in tests
  // through the design invariants) and yields nullptr.
  QWidget* Control(std::string_view name) const;
  QLabel* Label(std::string_view name) const;
  QLineEdit* Box(std::string_view name) const;
  QPushButton* Button(std::string_view name) const;

  // Runs when the form is loaded, before it is shown.
  virtual void Form_Load() {}

  // Gives the focus to the first control in tab order that can take it, as
  // a freshly shown form does.
  void FocusFirstControl();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  const forms::FormDesign& design_;
  std::map<std::string, QWidget*, std::less<>> controls_;  // by name
};

}  // namespace marvane
