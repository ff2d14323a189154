#pragma once

// The Paste model window of a model form ("ModelPaste"): the user pastes
// what a statistics package printed of the fit (R's summary, coef(summary),
// coef, a CSV of coefficients, Stata's regress or SPSS's Coefficients table,
// with the covariance matrix or not), picks which term is X (and Z, V, the
// groups), and Apply writes the estimates into the form's boxes as printed.
// The df, the picks and the matrix go with the form to its plot window at
// the next Plot. The form computes only on the user's Compute.

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "analysis/mapping.h"
#include "models/probe.h"
#include "stats/model_reader.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace marvane {

class ModelForm;

// What a model pasted on a form takes to its plot window.
struct PastedModel {
  std::string text;  // as pasted
  bool withMatrix = false;
  std::vector<stats::PastedCoefficient> coefficients;
  std::vector<int> picks;  // by weight of the form's probe: an index into the coefficients, -1 for none
  std::optional<double> df;
};

// The model of `text` read again, with the picks kept (a pick that is no
// term of it is none); nothing when the text is no model.
std::optional<PastedModel> ModelFromText(const std::string& text, std::vector<int> picks);

class ModelPasteWindow : public QWidget {
 public:
  // A top-level window that belongs to `form`.
  explicit ModelPasteWindow(ModelForm* form);

  // Writes the picked estimates into the form's boxes; false, with the
  // reason in modelStatus, when the picks leave a weight without its term.
  bool Apply();

 private:
  void Reread();
  void Repick();
  void SetStatus(const std::string& text, bool problem);

  ModelForm* form_;
  std::vector<ModelWeight> weights_;  // the form's, before any held terms
  bool holdsTerms_ = false;           // the form holds the further terms (Probe::holdsTerms)
  stats::PastedModel model_;
  bool read_ = false;
  mapping::Picks picks_;
  bool filling_ = false;

  QPlainTextEdit* text_ = nullptr;
  QTableWidget* terms_ = nullptr;
  QFormLayout* pickRows_ = nullptr;
  std::vector<QComboBox*> pickBoxes_;  // by weight; nullptr but for the main effects
  QLabel* status_ = nullptr;
  QPushButton* apply_ = nullptr;
};

}  // namespace marvane
