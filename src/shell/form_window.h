#pragma once

// A top-level window built from a form design (forms/form_design.h): one
// widget per control row, found again by its name.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <map>
#include <string>
#include <string_view>

#include "forms/form_design.h"

class QColor;
class QLabel;
class QLineEdit;
class QPushButton;

namespace marvane {

// The colour a text that tells a problem is written in: dark red.
QColor ProblemColour();

// A label that tells what went wrong, as a form's message is: in the
// problem colour, its text selectable.
void StyleAsMessage(QLabel* label);

// The family the designs ask for; no Linux desktop has it.
inline constexpr const char* kDesignFontFamily = "MS Sans Serif";

// The installed families that stand in for the design family, nearest metric
// match first; ConfigureApplication sets them up as its substitutes.
QStringList DesignFontSubstitutes();

// The family the forms' fonts ask for: the first stand-in that is installed,
// or the design family itself (left to the substitutes and fontconfig) when
// none is. Needs the application object.
QString DesignFontFamily();

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
