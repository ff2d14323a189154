#include "plot/significance_panel.h"

#include "plot/panel_parts.h"

#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
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
#include <cmath>

#include "shell/fault.h"
#include "shell/number_text.h"
#include "stats/report.h"
#include "stats/term_mapping.h"

namespace marvane {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

stats::WeightSlot::Kind SlotKind(ModelWeight::Kind k) {
  switch (k) {
    case ModelWeight::Kind::Constant: return stats::WeightSlot::Kind::Constant;
    case ModelWeight::Kind::Main: return stats::WeightSlot::Kind::Main;
    case ModelWeight::Kind::Product: return stats::WeightSlot::Kind::Product;
    case ModelWeight::Kind::Held: return stats::WeightSlot::Kind::Held;
  }
  return stats::WeightSlot::Kind::Main;
}



QStringList Cells(const std::string& name, const std::vector<std::string>& rest) {
  QStringList out{Q(name)};
  for (const std::string& s : rest) out << Q(s);
  return out;
}

// A number typed in a box of the panel: empty gives nullopt; anything else
// must be a plain number.
struct Typed {
  bool empty = true;
  bool ok = false;
  double value = 0;
};

Typed ReadTyped(const QLineEdit* box) {
  Typed t;
  const std::string text = box->text().trimmed().toStdString();
  if (text.empty()) return t;
  t.empty = false;
  try {
    t.value = StrictParse(text);
    t.ok = true;
  } catch (const Fault&) {
    t.ok = false;
  }
  return t;
}

}  // namespace

SignificancePanel::SignificancePanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("significance"));
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("covariance"));
  text_->setPlaceholderText(QStringLiteral(
      "Paste the covariance matrix of the weights here, as your statistics package prints it: "
      "R's vcov(fit), Stata's matrix list e(V), SPSS's coefficient correlations, a spreadsheet, or bare numbers."));
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setAccessibleName(QStringLiteral("covariance matrix of the weights"));
  QFont mono(QStringLiteral("Liberation Mono"));
  mono.setStyleHint(QFont::Monospace);
  text_->setFont(mono);

  terms_ = new QTableWidget(0, 2, this);
  terms_->setObjectName(QStringLiteral("terms"));
  terms_->setHorizontalHeaderLabels({QStringLiteral("Weight"), QStringLiteral("Pasted row")});
  terms_->verticalHeader()->setVisible(false);
  terms_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  terms_->horizontalHeader()->setStretchLastSection(true);
  terms_->setEditTriggers(QAbstractItemView::NoEditTriggers);

  df_ = new QLineEdit(this);
  df_->setObjectName(QStringLiteral("df"));
  df_->setAccessibleName(QStringLiteral("residual degrees of freedom"));
  sampleSize_ = new QLineEdit(this);
  sampleSize_->setObjectName(QStringLiteral("sampleSize"));
  sampleSize_->setAccessibleName(QStringLiteral("sample size"));
  level_ = new QLineEdit(QStringLiteral("95"), this);
  level_->setObjectName(QStringLiteral("level"));
  level_->setAccessibleName(QStringLiteral("confidence level in percent"));
  decimals_ = new QSpinBox(this);
  decimals_->setObjectName(QStringLiteral("decimals"));
  decimals_->setRange(1, 6);
  decimals_->setValue(3);
  decimals_->setAccessibleName(QStringLiteral("decimals shown"));
  status_ = MakeWordsLabel(QStringLiteral("covarianceStatus"), this);

  auto* inputs = new QFormLayout;
  inputs->addRow(QStringLiteral("Residual &df"), df_);
  inputs->addRow(QStringLiteral("or sample si&ze N"), sampleSize_);
  inputs->addRow(QStringLiteral("Confidence &level, %"), level_);
  inputs->addRow(QStringLiteral("Deci&mals shown"), decimals_);

  auto* left = new QVBoxLayout;
  auto* pasteLabel = new QLabel(QStringLiteral("&Covariance matrix of the weights"), this);
  pasteLabel->setBuddy(text_);
  left->addWidget(pasteLabel);
  left->addWidget(text_, 1);
  left->addWidget(new QLabel(QStringLiteral("Which pasted row is which weight"), this));
  left->addWidget(terms_, 1);
  left->addLayout(inputs);
  left->addWidget(status_);

  slopes_ = MakeResultTable(QStringLiteral("slopes"), {}, this);
  intercepts_ = MakeResultTable(QStringLiteral("intercepts"), {}, this);
  points_ = MakeResultTable(QStringLiteral("points"), {}, this);
  slopeDifferences_ = MakeResultTable(QStringLiteral("slopeDifferences"), {}, this);
  interceptDifferences_ = MakeResultTable(QStringLiteral("interceptDifferences"), {}, this);
  tablesNote_ = MakeWordsLabel(QStringLiteral("tablesNote"), this);
  copyText_ = new QPushButton(QStringLiteral("Copy te&xt"), this);
  copyText_->setObjectName(QStringLiteral("copyText"));

  auto* tablesBox = new QWidget;
  auto* tables = new QVBoxLayout(tablesBox);
  const std::pair<const char*, QTableWidget*> titled[] = {
      {"Simple slopes", slopes_}, {"Simple intercepts", intercepts_}, {"Predicted values", points_},
      {"Slope differences", slopeDifferences_}, {"Intercept differences", interceptDifferences_}};
  for (const auto& [title, table] : titled) {
    auto* label = new QLabel(QStringLiteral("<b>%1</b>").arg(QLatin1String(title)), tablesBox);
    tables->addWidget(label);
    table->setParent(tablesBox);
    table->setAccessibleName(QLatin1String(title));
    tables->addWidget(table);
  }
  tablesNote_->setParent(tablesBox);
  tables->addWidget(tablesNote_);
  auto* copyRow = new QHBoxLayout;
  copyText_->setParent(tablesBox);
  copyRow->addWidget(copyText_);
  copyRow->addStretch(1);
  tables->addLayout(copyRow);
  tables->addStretch(1);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(tablesBox);
  scroll->setWidgetResizable(true);

  auto* top = new QHBoxLayout(this);
  top->addLayout(left, 2);
  top->addWidget(scroll, 3);

  // Every input recomputes at once.
  connect(text_, &QPlainTextEdit::textChanged, this, [this] { Recompute(); });
  for (QLineEdit* e : {df_, sampleSize_, level_}) {
    connect(e, &QLineEdit::textChanged, this, [this] { Recompute(); });
  }
  connect(decimals_, &QSpinBox::valueChanged, this, [this] { Recompute(); });
  connect(copyText_, &QPushButton::clicked, this, [this] { CopyText(); });
  ClearTables();
  ShowStatus(status_, QStringLiteral("Paste the covariance matrix of the weights to test the lines."), false);
}

int SignificancePanel::Decimals() const { return decimals_->value(); }

void SignificancePanel::SetProbe(const Probe& probe) {
  const bool sameWeights = hasProbe_ && probe.weights.size() == probe_.weights.size() &&
                           std::equal(probe.weights.begin(), probe.weights.end(), probe_.weights.begin(),
                                      [](const ModelWeight& a, const ModelWeight& b) { return a.box == b.box; });
  probe_ = probe;
  hasProbe_ = true;
  if (!sameWeights) {
    RebuildTerms();
    shownNames_.clear();
    shownRows_ = 0;
  }
  Recompute();
}

void SignificancePanel::RebuildTerms() {
  filling_ = true;
  terms_->setRowCount(static_cast<int>(probe_.weights.size()));
  for (std::size_t i = 0; i < probe_.weights.size(); ++i) {
    const ModelWeight& w = probe_.weights[i];
    const int row = static_cast<int>(i);
    terms_->setItem(row, 0, new QTableWidgetItem(Q(w.meaning)));
    auto* combo = new QComboBox(terms_);
    combo->setObjectName(QStringLiteral("map_") + Q(w.box));
    combo->setAccessibleName(QStringLiteral("pasted row of the ") + Q(w.meaning));
    connect(combo, &QComboBox::currentIndexChanged, this, [this] {
      if (!filling_) Recompute();
    });
    terms_->setCellWidget(row, 1, combo);
  }
  // Every weight's row in sight, up to the eight of the three-way model.
  const int shown = std::min(terms_->rowCount(), 8);
  terms_->setMinimumHeight(terms_->horizontalHeader()->height() + shown * terms_->verticalHeader()->defaultSectionSize() + 4);
  filling_ = false;
}

// Fills every combo box with the pasted names (or "row k") and "none", and
// selects the guess.
void SignificancePanel::ApplyGuess() {
  std::vector<stats::WeightSlot> places;
  for (const ModelWeight& w : probe_.weights) places.push_back({SlotKind(w.kind), w.parts});
  const std::vector<int> guess = stats::GuessMapping(places, matrix_.names, matrix_.size);
  filling_ = true;
  for (int row = 0; row < terms_->rowCount(); ++row) {
    auto* combo = qobject_cast<QComboBox*>(terms_->cellWidget(row, 1));
    if (combo == nullptr) continue;
    combo->clear();
    for (std::size_t k = 0; k < matrix_.size; ++k) {
      const QString label = k < matrix_.names.size() ? Q(matrix_.names[k]) : QStringLiteral("row %1").arg(k + 1);
      combo->addItem(label, static_cast<int>(k));
    }
    combo->addItem(QStringLiteral("none"), -1);
    const int g = static_cast<std::size_t>(row) < guess.size() ? guess[static_cast<std::size_t>(row)] : -1;
    combo->setCurrentIndex(g >= 0 && static_cast<std::size_t>(g) < matrix_.size ? g : combo->count() - 1);
  }
  filling_ = false;
  shownNames_ = matrix_.names;
  shownRows_ = matrix_.size;
}


void SignificancePanel::Recompute() {
  ready_ = false;
  tables_ = {};
  auto fail = [this](const QString& why) {
    ClearTables();
    ShowStatus(status_, why, true);
    if (onChanged) onChanged();
  };
  if (!hasProbe_) return;
  if (text_->toPlainText().trimmed().isEmpty()) {
    ClearTables();
    ShowStatus(status_, QStringLiteral("Paste the covariance matrix of the weights to test the lines."), false);
    if (onChanged) onChanged();
    return;
  }
  const stats::ReadResult read = stats::ReadPastedMatrix(text_->toPlainText().toStdString());
  if (!read.ok) return fail(Q(read.error));
  matrix_ = read.matrix;
  if (matrix_.names != shownNames_ || matrix_.size != shownRows_) ApplyGuess();

  // The mapping: one pasted row for at most one weight.
  const std::size_t n = probe_.weights.size();
  std::vector<int> rowOf(n, -1);
  for (std::size_t i = 0; i < n; ++i) {
    const auto* combo = qobject_cast<QComboBox*>(terms_->cellWidget(static_cast<int>(i), 1));
    if (combo != nullptr) rowOf[i] = combo->currentData().toInt();
    for (std::size_t j = 0; j < i; ++j) {
      if (rowOf[i] >= 0 && rowOf[i] == rowOf[j]) {
        return fail(QStringLiteral("The pasted row \"%1\" is chosen for both the %2 and the %3: each row can hold "
                                   "one weight only.")
                        .arg(combo->currentText(), Q(probe_.weights[j].meaning), Q(probe_.weights[i].meaning)));
      }
    }
  }

  // The reference distribution.
  QStringList notes;
  const Typed df = ReadTyped(df_);
  const Typed size = ReadTyped(sampleSize_);
  const double weights = static_cast<double>(n);
  if (!df.empty && !df.ok) return fail(QStringLiteral("The df must be a number, such as 96."));
  if (!size.empty && !size.ok) return fail(QStringLiteral("The sample size must be a number, such as 100."));
  reference_ = {};
  if (!df.empty) {
    if (df.value <= 0) return fail(QStringLiteral("The df must be above 0."));
    reference_.normal = false;
    reference_.df = df.value;
    if (!size.empty) notes << QStringLiteral("Both df and N are filled: df is used.");
  } else if (!size.empty) {
    const double d = size.value - weights;
    if (!(d > 0)) {
      return fail(QStringLiteral("A sample size of %1 leaves no residual df: N must be above %2, the number of "
                                 "weights of this model.")
                      .arg(Q(NumberToText(size.value)), Q(NumberToText(weights))));
    }
    reference_.normal = false;
    reference_.df = d;
    notes << QStringLiteral("df = N − %1 = %2.").arg(Q(NumberToText(weights)), Q(NumberToText(d)));
  } else {
    notes << QStringLiteral("No df or N: the tests use the normal distribution (z).");
  }
  const Typed level = ReadTyped(level_);
  if (level.empty || !level.ok || !(level.value > 0 && level.value < 100)) {
    return fail(QStringLiteral("The confidence level must be a number of percent above 0 and below 100, such as 95."));
  }
  reference_.level = level.value / 100;

  // The weights' covariance matrix in the model's order.
  covariance_ = {};
  covariance_.size = n;
  covariance_.cells.assign(n * n, 0.0);
  covariance_.known.assign(n, false);
  for (std::size_t i = 0; i < n; ++i) {
    if (rowOf[i] < 0) continue;
    covariance_.known[i] = true;
    for (std::size_t j = 0; j < n; ++j) {
      if (rowOf[j] >= 0) {
        covariance_.cells[i * n + j] =
            matrix_.At(static_cast<std::size_t>(rowOf[i]), static_cast<std::size_t>(rowOf[j]));
      }
    }
  }
  tables_ = stats::Analyse(probe_, covariance_, reference_);
  ready_ = true;
  ShowTables();

  // What was read.
  QString said = QStringLiteral("%1 × %1 matrix from %2").arg(matrix_.size).arg(Q(matrix_.format));
  QStringList mapped, missing;
  for (std::size_t i = 0; i < n; ++i) {
    const auto* combo = qobject_cast<QComboBox*>(terms_->cellWidget(static_cast<int>(i), 1));
    if (rowOf[i] >= 0 && combo != nullptr) {
      mapped << QStringLiteral("%1 = %2").arg(Q(probe_.weights[i].meaning), combo->currentText());
    } else {
      missing << Q(probe_.weights[i].meaning);
    }
  }
  said += QStringLiteral("; ") + mapped.join(QStringLiteral(", ")) + QStringLiteral(".");
  if (matrix_.commaDecimals) notes.prepend(QStringLiteral("Commas were read as decimal points."));
  if (!missing.isEmpty()) {
    notes << QStringLiteral("No pasted row for the %1: what needs it is left empty.")
                 .arg(missing.join(QStringLiteral(", the ")));
  }
  std::size_t used = 0;
  for (int r : rowOf) used += r >= 0 ? 1 : 0;
  if (used < matrix_.size) {
    notes << QStringLiteral("%1 pasted row(s) are not used.").arg(matrix_.size - used);
  }
  if (!tables_.problem.empty()) {
    ShowStatus(status_, said + QStringLiteral(" But ") + Q(tables_.problem) +
                  QStringLiteral(": check the matrix and which row is which weight."),
              true);
  } else {
    ShowStatus(status_, said + QStringLiteral(" ") + notes.join(QStringLiteral(" ")), false);
  }
  if (onChanged) onChanged();
}

void SignificancePanel::ClearTables() {
  for (QTableWidget* t : {slopes_, intercepts_, points_, slopeDifferences_, interceptDifferences_}) {
    t->setRowCount(0);
  }
  tablesNote_->clear();
}

void SignificancePanel::ShowTables() {
  const int d = Decimals();
  const QString stat = reference_.normal ? QStringLiteral("z") : QStringLiteral("t");
  const QStringList lineHeader{QStringLiteral("line"), QStringLiteral("estimate"), QStringLiteral("SE"), stat,
                               QStringLiteral("df"), QStringLiteral("p"), QStringLiteral("lower"),
                               QStringLiteral("upper")};
  QStringList pairHeader = lineHeader;
  pairHeader[0] = QStringLiteral("lines");
  pairHeader.insert(6, QStringLiteral("p Holm"));

  auto fillLines = [&](QTableWidget* t, const std::vector<stats::LineRow>& rows) {
    t->setColumnCount(static_cast<int>(lineHeader.size()));
    t->setHorizontalHeaderLabels(lineHeader);
    t->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
      SetResultRow(t, static_cast<int>(r), Cells(rows[r].name, stats::TestCells(rows[r].test, reference_, d, false)), 1);
    }
  };
  fillLines(slopes_, tables_.slopes);
  fillLines(intercepts_, tables_.intercepts);

  auto fillPairs = [&](QTableWidget* t, const std::vector<stats::PairRow>& rows) {
    t->setColumnCount(static_cast<int>(pairHeader.size()));
    t->setHorizontalHeaderLabels(pairHeader);
    t->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
      SetResultRow(t, static_cast<int>(r), Cells(rows[r].name, stats::TestCells(rows[r].test, reference_, d, true)), 1);
    }
  };
  fillPairs(slopeDifferences_, tables_.slopeDifferences);
  fillPairs(interceptDifferences_, tables_.interceptDifferences);

  points_->setColumnCount(6);
  points_->setHorizontalHeaderLabels({QStringLiteral("line"), QStringLiteral("X"), QStringLiteral("Y"),
                                      QStringLiteral("SE"), QStringLiteral("lower"), QStringLiteral("upper")});
  points_->setRowCount(static_cast<int>(tables_.points.size()));
  for (std::size_t r = 0; r < tables_.points.size(); ++r) {
    const stats::PointRow& p = tables_.points[r];
    const std::vector<std::string> c = stats::TestCells(p.y, reference_, d, false);
    // estimate, SE, t, df, p, lower, upper: the predicted value keeps Y, SE and the interval.
    SetResultRow(points_, static_cast<int>(r),
           Cells(p.name, {stats::Fixed(p.x, d), c[0], c[1], c[5], c[6]}), 1);
  }

  QString note = QStringLiteral(
      "These tables round to the nearest at the decimals chosen; the form's own captions keep their values "
      "taken down. p values are shown to at least three places.");
  bool identical = false;
  for (const auto* rows : {&tables_.slopeDifferences, &tables_.interceptDifferences}) {
    for (const stats::PairRow& r : *rows) identical = identical || r.test.state == stats::Test::State::NotTestable;
  }
  if (identical) {
    note += QStringLiteral(
        " A pair of identical lines (equal moderator values) has a difference of 0 with SE 0: it has no test "
        "and is left out of the Holm adjustment.");
  }
  tablesNote_->setText(note);
}

QString SignificancePanel::SectionsText() const {
  if (!ready_) return {};
  QString out;
  for (const std::string& s :
       {stats::SlopesSection(tables_, reference_), stats::InterceptsSection(tables_, reference_),
        stats::PointsSection(tables_), stats::SlopeDifferencesSection(tables_, reference_),
        stats::InterceptDifferencesSection(tables_, reference_)}) {
    if (!s.empty()) out += QStringLiteral("\n") + Q(s) + QStringLiteral("\n");
  }
  return out;
}

QString SignificancePanel::SentencesText() const {
  if (!ready_) return {};
  QString out;
  for (const std::string& s : stats::Sentences(tables_, reference_, Decimals())) out += Q(s) + QStringLiteral("\n");
  return out;
}

void SignificancePanel::CopyText() {
  if (onCopyText) {
    onCopyText();
    return;
  }
  const QString text = SentencesText();
  if (text.isEmpty()) {
    ShowStatus(status_, status_->text().isEmpty() ? QStringLiteral("Nothing to copy yet: paste the covariance matrix first.")
                                        : status_->text(),
              true);
    return;
  }
  QGuiApplication::clipboard()->setText(text);
}

}  // namespace marvane
