#include "plot/model_paste_window.h"

#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "models/form_weights.h"
#include "plot/panel_parts.h"
#include "shell/model_form.h"
#include "shell/number_text.h"
#include "shell/qt_text.h"
#include "shell/words.h"

namespace marvane {
ModelPasteWindow::ModelPasteWindow(ModelForm* form)
    : QWidget(form, Qt::Window), form_(form) {
  const Probe blank = BlankProbe(form->Design().name);
  weights_ = blank.weights;
  holdsTerms_ = blank.holdsTerms;
  setObjectName(QStringLiteral("ModelPaste"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Paste model — ") + Q(form->Design().caption));
  text_ = MakePasteBox("modelText", "the model as your package printed it",
                       QStringLiteral("Paste the model as your statistics package printed it: R's summary(fit), "
                                      "coef(summary(fit)) or coef(fit), a CSV of coefficients, Stata's regress table "
                                      "or SPSS's Coefficients table; the covariance matrix (vcov(fit), e(V)) may "
                                      "follow it."),
                       this);
  terms_ = MakeResultTable(QStringLiteral("modelTerms"), {QStringLiteral("term"), QStringLiteral("estimate"),
                                                          QStringLiteral("SE")},
                           this);
  pickRows_ = new QFormLayout;
  for (const ModelWeight& w : weights_) {
    QComboBox* pick = nullptr;
    // The main effects are picked; a product follows from its parts, or is
    // picked by hand where its name is not made of theirs.
    if (w.kind == ModelWeight::Kind::Main || w.kind == ModelWeight::Kind::Product) {
      pick = new QComboBox(this);
      pick->setObjectName(QStringLiteral("pick_") + Q(w.box));
      pick->setAccessibleName(QStringLiteral("pasted term of the ") + Q(w.meaning));
      pickRows_->addRow(Q(w.meaning), pick);
      connect(pick, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_) Repick();
      });
    }
    pickBoxes_.push_back(pick);
  }
  status_ = MakeWordsLabel(QStringLiteral("modelStatus"), this);
  apply_ = MakeButton(QStringLiteral("&Apply to the form"), "applyModel", this);

  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(QStringLiteral("<b>Terms read</b>"), this));
  right->addWidget(terms_, 1);
  right->addWidget(new QLabel(QStringLiteral("<b>Which term is which weight</b>"), this));
  right->addLayout(pickRows_);
  right->addWidget(status_);
  right->addWidget(apply_);
  auto* top = new QHBoxLayout(this);
  top->addWidget(text_, 3);
  top->addLayout(right, 2);
  resize(980, 520);

  connect(text_, &QPlainTextEdit::textChanged, this, [this] { Reread(); });
  connect(apply_, &QPushButton::clicked, this, [this] { Apply(); });
  SetStatus("Paste the model as your package printed it.", false);
}

void ModelPasteWindow::SetStatus(const std::string& text, bool problem) { ShowStatus(status_, Q(text), problem); }

void ModelPasteWindow::Reread() {
  const stats::ModelReadResult r = stats::ReadPastedModel(Std(text_->toPlainText()));
  read_ = r.ok;
  model_ = r.ok ? r.model : stats::PastedModel{};
  terms_->setRowCount(0);
  filling_ = true;
  for (QComboBox* pick : pickBoxes_) {
    if (pick != nullptr) pick->clear();
  }
  if (!r.ok) {
    filling_ = false;
    SetStatus(Std(text_->toPlainText()).find_first_not_of(" \t\r\n") == std::string::npos
                  ? "Paste the model as your package printed it."
                  : r.error,
              true);
    return;
  }
  terms_->setRowCount(static_cast<int>(model_.coefficients.size()));
  for (std::size_t k = 0; k < model_.coefficients.size(); ++k) {
    const stats::PastedCoefficient& c = model_.coefficients[k];
    SetResultRow(terms_, static_cast<int>(k),
                 {Q(c.term), Q(NumberToText(c.estimate)), c.se ? Q(NumberToText(*c.se)) : QString()}, 1);
  }
  const std::vector<int> defaults = mapping::DefaultPicks(weights_, model_.coefficients);
  for (std::size_t w = 0; w < pickBoxes_.size(); ++w) {
    QComboBox* pick = pickBoxes_[w];
    if (pick == nullptr) continue;
    if (weights_[w].kind == ModelWeight::Kind::Product) pick->addItem(QStringLiteral("the product of its parts"), -2);
    for (std::size_t k = 0; k < model_.coefficients.size(); ++k) {
      pick->addItem(Q(model_.coefficients[k].term), static_cast<int>(k));
    }
    pick->addItem(QStringLiteral("none"), -1);
    const bool product = weights_[w].kind == ModelWeight::Kind::Product;
    pick->setCurrentIndex(product ? 0 : std::max(0, pick->findData(w < defaults.size() ? defaults[w] : -1)));
  }
  filling_ = false;
  Repick();
}

void ModelPasteWindow::Repick() {
  if (!read_) return;
  std::vector<int> mains;
  for (QComboBox* pick : pickBoxes_) mains.push_back(pick != nullptr ? pick->currentData().toInt() : -1);
  picks_ = mapping::ApplyPicks(weights_, model_.coefficients, mains);
  if (!picks_.faults.empty()) {
    SetStatus(Join(picks_.faults, " "), true);
    return;
  }
  std::vector<std::string> chosen;
  for (std::size_t w = 0; w < weights_.size(); ++w) {
    const int k = picks_.term[w];
    if (k >= 0) chosen.push_back(weights_[w].meaning + " = " + model_.coefficients[static_cast<std::size_t>(k)].term);
  }
  std::string said = "Read " + std::to_string(model_.coefficients.size()) + " terms from " + model_.format +
                     (model_.df ? ", residual df " + NumberToText(*model_.df) : std::string()) + ". " +
                     Join(chosen, ", ") + ".";
  if (!picks_.held.empty()) {
    std::vector<std::string> held;
    for (const int k : picks_.held) held.push_back(model_.coefficients[static_cast<std::size_t>(k)].term);
    said += (holdsTerms_ ? " Held terms: " : " Further terms, left at 0 here: ") +
            Join(held, ", ") + ".";
  }
  if (model_.matrix) said += " The covariance matrix goes to the plot window at the next Plot.";
  SetStatus(said, false);
}

std::optional<PastedModel> ModelFromText(const std::string& text, std::vector<int> picks) {
  const stats::ModelReadResult r = stats::ReadPastedModel(text);
  if (!r.ok) return std::nullopt;
  for (int& k : picks) {
    if (k < 0 || static_cast<std::size_t>(k) >= r.model.coefficients.size()) k = -1;
  }
  return PastedModel{.text = text, .withMatrix = r.model.matrix.has_value(), .coefficients = r.model.coefficients,
                     .picks = std::move(picks), .df = r.model.df};
}

bool ModelPasteWindow::Apply() {
  if (!read_ || !picks_.faults.empty()) {
    SetStatus(read_ ? "Nothing was written: " + Join(picks_.faults, " ")
                    : "Nothing was written: paste the model as your package printed it first.",
              true);
    return false;
  }
  std::vector<ModelWeight> weights = weights_;
  std::vector<int> picks = picks_.term;
  if (holdsTerms_) {
    // As GO does: as many rows of held terms as the paste has other terms.
    form_->Box("numvars")->setText(QString::number(picks_.held.size()));
    form_->Button("Command3")->click();
    weights = BlankProbe(form_->Design().name, picks_.held.size()).weights;
    picks.insert(picks.end(), picks_.held.begin(), picks_.held.end());
  }
  int digits = 17;
  for (std::size_t w = 0; w < weights.size() && w < picks.size(); ++w) {
    if (picks[w] < 0) continue;
    const stats::PastedCoefficient& c = model_.coefficients[static_cast<std::size_t>(picks[w])];
    form_->Box(weights[w].box)->setText(Q(NumberToText(c.estimate)));
    digits = std::min(digits, c.estimateDigits);
  }
  form_->SetPastedModel({.text = Std(text_->toPlainText()), .withMatrix = model_.matrix.has_value(),
                         .coefficients = model_.coefficients, .picks = picks, .df = model_.df});
  std::string said = "Wrote the weights into the form as printed";
  if (digits < 15) {
    said += ", to " + std::to_string(digits) +
            " significant digits (print(coef(fit), digits = 15) gives all of them)";
  }
  said += holdsTerms_ ? ". Type the standard deviations and the values the held terms are held at, then press "
                      "Compute."
                    : ". Type the standard deviations, then press Compute.";
  if (!holdsTerms_ && !picks_.held.empty()) {
    said += " The model has further terms, which this form leaves at 0; the Incomplete form holds them at values "
            "you choose.";
  }
  SetStatus(said, false);
  return true;
}

}  // namespace marvane
