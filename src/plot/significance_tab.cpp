#include "plot/significance_tab.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "plot/panel_parts.h"
#include "shell/form_window.h"
#include "shell/qt_text.h"

namespace marvane {

SignificanceTab::SignificanceTab(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("significance"));
  auto* top = new QHBoxLayout(this);
  top->addWidget(BuildInputs(), 2);
  top->addWidget(BuildTables(), 3);
  ShowStatus(status_, QStringLiteral("Paste the covariance matrix of the weights to test the lines."), false);
}

QWidget* SignificanceTab::BuildInputs() {
  auto* box = new QWidget(this);
  text_ = MakePasteBox("covariance", "covariance matrix of the weights",
                       QStringLiteral("Paste the covariance matrix of the weights here, as your statistics package "
                                      "prints it: R's vcov(fit), Stata's matrix list e(V), SPSS's coefficient "
                                      "correlations, a spreadsheet, or bare numbers."),
                       box);

  terms_ = new QTableWidget(0, 3, box);
  terms_->setObjectName(QStringLiteral("terms"));
  terms_->setHorizontalHeaderLabels({QStringLiteral("Weight"), QStringLiteral("Pasted row"), QStringLiteral("Decided by")});
  terms_->verticalHeader()->setVisible(false);
  terms_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  terms_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  terms_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  terms_->setEditTriggers(QAbstractItemView::NoEditTriggers);

  df_ = MakeLineEdit("df", "residual degrees of freedom", box);
  sampleSize_ = MakeLineEdit("sampleSize", "sample size", box);
  level_ = MakeLineEdit("level", "confidence level in percent", box, QStringLiteral("95"));
  decimals_ = new QSpinBox(box);
  decimals_->setObjectName(QStringLiteral("decimals"));
  decimals_->setRange(1, 6);
  decimals_->setValue(3);
  decimals_->setAccessibleName(QStringLiteral("decimals shown"));
  status_ = MakeWordsLabel(QStringLiteral("covarianceStatus"), box);

  auto* inputs = new QFormLayout;
  inputs->addRow(QStringLiteral("Residual &df"), df_);
  inputs->addRow(QStringLiteral("or sample si&ze N"), sampleSize_);
  inputs->addRow(QStringLiteral("Confidence &level, %"), level_);
  inputs->addRow(QStringLiteral("Deci&mals shown"), decimals_);
  auto* left = new QVBoxLayout(box);
  left->setContentsMargins(0, 0, 0, 0);
  auto* pasteLabel = new QLabel(QStringLiteral("&Covariance matrix of the weights"), box);
  pasteLabel->setBuddy(text_);
  left->addWidget(pasteLabel);
  left->addWidget(text_, 1);
  left->addWidget(new QLabel(QStringLiteral("Which pasted row is which weight"), box));
  left->addWidget(terms_, 1);
  left->addLayout(inputs);
  left->addWidget(status_);

  auto changed = [this] {
    if (!filling_ && onChanged) onChanged();
  };
  connect(text_, &QPlainTextEdit::textChanged, this, changed);
  for (QLineEdit* e : {df_, sampleSize_, level_}) connect(e, &QLineEdit::textChanged, this, changed);
  connect(decimals_, &QSpinBox::valueChanged, this, changed);
  return box;
}

QWidget* SignificanceTab::BuildTables() {
  auto* tablesBox = new QWidget;
  auto* tables = new QVBoxLayout(tablesBox);
  for (const stats::Table& t : stats::EmptyTables()) {
    tables->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(QLatin1String(t.title)), tablesBox));
    QTableWidget* table = MakeResultTable(QLatin1String(t.id), {}, tablesBox);
    table->setAccessibleName(QLatin1String(t.title));
    tables->addWidget(table);
    tables_.push_back(table);
  }
  tablesNote_ = MakeWordsLabel(QStringLiteral("tablesNote"), tablesBox);
  tables->addWidget(tablesNote_);
  const CopyTextRow copy = MakeCopyTextRow(QStringLiteral("copyText"), tablesBox);
  copied_ = copy.said;
  tables->addLayout(copy.row);
  tables->addStretch(1);
  connect(copy.button, &QPushButton::clicked, this, [this] { CopySentences(copied_, sentences_); });
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(tablesBox);
  scroll->setWidgetResizable(true);
  return scroll;
}

void SignificanceTab::SetWeights(const std::vector<ModelWeight>& weights) {
  std::vector<std::string> boxes;
  for (const ModelWeight& w : weights) boxes.push_back(w.box);
  if (boxes == boxes_) return;
  boxes_ = boxes;
  offered_.clear();
  filling_ = true;
  terms_->setRowCount(static_cast<int>(weights.size()));
  for (std::size_t i = 0; i < weights.size(); ++i) {
    const ModelWeight& w = weights[i];
    const int row = static_cast<int>(i);
    terms_->setItem(row, 0, new QTableWidgetItem(Q(w.meaning)));
    auto* combo = new QComboBox(terms_);
    combo->setObjectName(QStringLiteral("map_") + Q(w.box));
    combo->setAccessibleName(QStringLiteral("pasted row of the ") + Q(w.meaning));
    connect(combo, &QComboBox::currentIndexChanged, this, [this] {
      if (!filling_ && onChanged) onChanged();
    });
    terms_->setCellWidget(row, 1, combo);
  }
  // Every weight's row in sight, up to the eight of the three-way model.
  const int shown = std::min(terms_->rowCount(), 8);
  terms_->setMinimumHeight(terms_->horizontalHeader()->height() +
                           shown * terms_->verticalHeader()->defaultSectionSize() + 4);
  filling_ = false;
}

void SignificanceTab::FillInput(AnalysisInput& in) const {
  in.pasted = Std(text_->toPlainText());
  in.df = Std(df_->text());
  in.sampleSize = Std(sampleSize_->text());
  in.level = Std(level_->text());
  in.decimals = decimals_->value();
  if (offered_.empty()) return;
  // A box the user changed is decided by them; the others as they were.
  MappingChoice choice{.rows = offered_, .rowOf = {}, .decided = {}};
  for (int row = 0; row < terms_->rowCount(); ++row) {
    const auto* combo = qobject_cast<QComboBox*>(terms_->cellWidget(row, 1));
    const int chosen = combo != nullptr ? combo->currentData().toInt() : -1;
    const std::size_t i = static_cast<std::size_t>(row);
    const bool same = i < shown_.rowOf.size() && shown_.rowOf[i] == chosen && i < shown_.decided.size();
    choice.rowOf.push_back(chosen);
    choice.decided.push_back(same ? shown_.decided[i] : chosen >= 0 ? "you" : "none");
  }
  in.mapping = std::move(choice);
}

// The mapping boxes offer the pasted rows and "none", and show the mapping used.
void SignificanceTab::ShowMapping(const Analysis& a) {
  filling_ = true;
  const bool refill = a.rowChoices != offered_;
  for (int row = 0; row < terms_->rowCount(); ++row) {
    auto* combo = qobject_cast<QComboBox*>(terms_->cellWidget(row, 1));
    if (combo == nullptr) continue;
    if (refill) {
      combo->clear();
      for (std::size_t k = 0; k < a.rowChoices.size(); ++k) combo->addItem(Q(a.rowChoices[k]), static_cast<int>(k));
      combo->addItem(QStringLiteral("none"), -1);
    }
    const std::size_t i = static_cast<std::size_t>(row);
    const int chosen = i < a.mapping.rowOf.size() ? a.mapping.rowOf[i] : -1;
    combo->setCurrentIndex(std::max(0, combo->findData(chosen)));
    // A row taken by its place only is a guess, marked so.
    const std::string decided = i < a.mapping.decided.size() ? a.mapping.decided[i] : "";
    const QString words = Q(DecidedWords(decided));
    if (terms_->item(row, 2) != nullptr && terms_->item(row, 2)->text() == words) continue;
    auto* item = new QTableWidgetItem(words);
    if (IsGuess(decided)) item->setForeground(ProblemColour());
    terms_->setItem(row, 2, item);
  }
  offered_ = a.rowChoices;
  shown_ = a.mapping;
  filling_ = false;
}

void SignificanceTab::UsePaste(const QString& pasted, const QString& df) {
  // A model applied anew decides the rows again, by its picks: the rows
  // chosen before are not kept over it.
  offered_.clear();
  filling_ = true;
  if (!pasted.isEmpty()) text_->setPlainText(pasted);
  if (!df.isEmpty() && df_->text().trimmed().isEmpty()) df_->setText(df);
  filling_ = false;
}

void SignificanceTab::Render(const Analysis& a) {
  ShowMapping(a);
  for (std::size_t k = 0; k < tables_.size() && k < a.significanceTables.size(); ++k) {
    ShowTable(tables_[k], a.significanceTables[k]);
  }
  tablesNote_->setText(Q(a.tablesNote));
  sentences_ = Q(a.significanceSentences);
  copied_->clear();
  ShowStatus(status_, a.covarianceStatus);
}

}  // namespace marvane
