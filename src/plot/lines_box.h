#pragma once

// The figure tab's choice of lines: the moderator values (as on the form,
// mean ± k SD, or typed values of Z, and of V on the three-way form) and the
// predictors' means, for uncentred fits.

#include <QGroupBox>
#include <functional>

#include "analysis/lines.h"
#include "models/probe.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace marvane {

class LinesBox : public QGroupBox {
 public:
  explicit LinesBox(QWidget* parent);

  // Offers what the form's moderators allow: nothing but "as on the form"
  // on the forms of groups, V's values and mean only on the three-way form.
  void SetProbe(const Probe& probe);
  void FillInput(LineChoices& choices) const;

  std::function<void()> onChanged;

 private:
  void Enable();

  bool twoModerators_ = false;
  bool groups_ = false;
  QComboBox* moderators_ = nullptr;
  QLineEdit* sdMultiple_ = nullptr;
  QLineEdit* values_ = nullptr;
  QLineEdit* valuesV_ = nullptr;
  QLineEdit* meanX_ = nullptr;
  QLineEdit* meanZ_ = nullptr;
  QLineEdit* meanV_ = nullptr;
};

}  // namespace marvane
