#include "plot/regions_panel.h"

#include "plot/panel_parts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "plot/significance_panel.h"
#include "shell/fault.h"
#include "shell/number_text.h"
#include "stats/report.h"

namespace marvane {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QStringList Cells(const std::vector<std::string>& cells) {
  QStringList out;
  for (const std::string& c : cells) out << Q(c);
  return out;
}

}  // namespace

RegionsPanel::RegionsPanel(std::function<QSizeF()> inches, std::function<FigureStyle()> style, QWidget* parent)
    : QWidget(parent) {
  setObjectName(QStringLiteral("regionsPage"));
  regionsTable_ = MakeResultTable(QStringLiteral("regions"),
                            {QStringLiteral("effect"), QStringLiteral("along"), QStringLiteral("held at"),
                             QStringLiteral("kind"), QStringLiteral("bound 1"), QStringLiteral("bound 2"),
                             QStringLiteral("bound 1 in SD"), QStringLiteral("bound 2 in SD")},
                            this);
  regionsTable_->setAccessibleName(QStringLiteral("Regions of significance"));
  regionsText_ = MakeWordsLabel(QStringLiteral("regionsText"), this);
  crossoversTable_ = MakeResultTable(QStringLiteral("crossovers"),
                               {QStringLiteral("lines"), QStringLiteral("X"), QStringLiteral("SE"),
                                QStringLiteral("kind"), QStringLiteral("lower"), QStringLiteral("upper"),
                                QStringLiteral("verdict")},
                               this);
  crossoversTable_->setAccessibleName(QStringLiteral("Crossovers"));
  crossoversText_ = MakeWordsLabel(QStringLiteral("crossoversText"), this);
  status_ = MakeWordsLabel(QStringLiteral("regionStatus"), this);

  effect_ = new QComboBox(this);
  effect_->setObjectName(QStringLiteral("regionEffect"));
  effect_->setAccessibleName(QStringLiteral("effect of the region figure"));
  range_ = new QComboBox(this);
  range_->setObjectName(QStringLiteral("regionRange"));
  range_->addItems({QStringLiteral("±2 SD, or around the typed values"), QStringLiteral("Typed")});
  range_->setAccessibleName(QStringLiteral("range of the region figure"));
  from_ = new QLineEdit(this);
  from_->setObjectName(QStringLiteral("regionFrom"));
  from_->setAccessibleName(QStringLiteral("region figure from"));
  to_ = new QLineEdit(this);
  to_->setObjectName(QStringLiteral("regionTo"));
  to_->setAccessibleName(QStringLiteral("region figure to"));
  plot_ = new FigureView({.figure = [this]() -> const figure::Figure& { return figure_; },
                          .inches = std::move(inches),
                          .style = std::move(style)},
                         this);
  plot_->setObjectName(QStringLiteral("regionPlot"));
  plot_->setAccessibleName(QStringLiteral("Region figure of the effect"));
  save_ = new QPushButton(QStringLiteral("Save region figure…"), this);
  save_->setObjectName(QStringLiteral("saveRegionFigure"));
  copy_ = new QPushButton(QStringLiteral("Copy region figure"), this);
  copy_->setObjectName(QStringLiteral("copyRegionFigure"));

  auto* tablesBox = new QWidget;
  auto* tables = new QVBoxLayout(tablesBox);
  tables->addWidget(new QLabel(QStringLiteral("<b>Regions of significance</b>"), tablesBox));
  for (QWidget* w : std::initializer_list<QWidget*>{regionsTable_, regionsText_}) {
    w->setParent(tablesBox);
    tables->addWidget(w);
  }
  tables->addWidget(new QLabel(QStringLiteral("<b>Where the lines cross</b>"), tablesBox));
  for (QWidget* w : std::initializer_list<QWidget*>{crossoversTable_, crossoversText_}) {
    w->setParent(tablesBox);
    tables->addWidget(w);
  }
  tables->addStretch(1);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(tablesBox);
  scroll->setWidgetResizable(true);

  auto* controls = new QFormLayout;
  controls->addRow(QStringLiteral("&Effect"), effect_);
  controls->addRow(QStringLiteral("&Range"), range_);
  auto* typed = new QHBoxLayout;
  typed->addWidget(from_);
  typed->addWidget(new QLabel(QStringLiteral("to"), this));
  typed->addWidget(to_);
  controls->addRow(QStringLiteral("Typed from"), typed);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(save_);
  buttons->addWidget(copy_);
  buttons->addStretch(1);

  auto* right = new QVBoxLayout;
  right->addLayout(controls);
  right->addWidget(status_);
  right->addWidget(plot_, 1);
  right->addLayout(buttons);
  auto* top = new QHBoxLayout(this);
  top->addWidget(scroll, 5);
  top->addLayout(right, 4);

  connect(effect_, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_) Redescribe();
  });
  connect(range_, &QComboBox::currentIndexChanged, this, [this] { Redescribe(); });
  for (QLineEdit* e : {from_, to_}) connect(e, &QLineEdit::textChanged, this, [this] { Redescribe(); });
  connect(save_, &QPushButton::clicked, this, [this] {
    if (onSave) onSave();
  });
  connect(copy_, &QPushButton::clicked, this, [this] {
    if (onCopy) onCopy();
  });
}

void RegionsPanel::Update(const Probe& probe, const SignificancePanel& significance, double xFrom, double xTo,
                          bool rangeOk, const QString& rangeWords) {
  probe_ = probe;
  ready_ = significance.Ready();
  covariance_ = significance.Covariance();
  reference_ = significance.Distribution();
  decimals_ = significance.Decimals();
  rangeWords_ = rangeWords;
  rangeOk_ = rangeOk;
  regions_.clear();
  crossovers_.clear();
  verdicts_.clear();
  if (ready_) {
    regions_ = stats::Regions(probe_, covariance_, reference_);
    crossovers_ = stats::Crossovers(probe_, covariance_, reference_);
    for (const stats::Crossover& c : crossovers_) {
      verdicts_.push_back(rangeOk ? stats::Judge(c, xFrom, xTo) : stats::Verdict::Undetermined);
    }
  }

  // The effects to choose from, keeping the choice where it still exists.
  filling_ = true;
  const QString chosen = effect_->currentText();
  effect_->clear();
  for (const LinearEffect& e : probe_.effects) {
    QString name = Q(e.name);
    if (!e.heldAt.empty()) name += QStringLiteral(", ") + Q(e.heldAt);
    name += QStringLiteral(", along ") + Q(e.along);
    effect_->addItem(name);
  }
  const int again = effect_->findText(chosen);
  effect_->setCurrentIndex(again >= 0 ? again : 0);
  filling_ = false;

  if (from_->text().isEmpty() && to_->text().isEmpty() && !probe_.effects.empty() && probe_.effects[0].sd > 0) {
    from_->setText(Q(NumberToText(-2 * probe_.effects[0].sd)));
    to_->setText(Q(NumberToText(2 * probe_.effects[0].sd)));
  }
  FillTables();
  Redescribe();
}

void RegionsPanel::FillTables() {
  const int d = decimals_;
  regionsTable_->setRowCount(0);
  crossoversTable_->setRowCount(0);
  if (!ready_) {
    const QString why = QStringLiteral("Paste the covariance matrix of the weights on the Significance tab to find "
                                       "the regions and the crossing's interval.");
    regionsText_->setText(why);
    crossoversText_->clear();
    return;
  }
  QStringList regionWords;
  regionsTable_->setRowCount(static_cast<int>(regions_.size()));
  for (std::size_t i = 0; i < regions_.size(); ++i) {
    const stats::EffectRegion& e = regions_[i];
    QStringList cells{Q(e.name), Q(e.along), Q(e.heldAt)};
    if (e.state != stats::Test::State::Tested) {
      cells << Q(stats::StateWords(e.state));
    } else {
      cells << Cells(stats::RegionCells(e, [d](double v) { return stats::Fixed(v, d); }));
    }
    SetResultRow(regionsTable_, static_cast<int>(i), cells, 4);
    regionWords << Q(stats::RegionSentence(e, reference_, d));
  }
  regionsText_->setText(regionWords.join(QLatin1Char('\n')));

  QStringList crossWords;
  crossoversTable_->setRowCount(static_cast<int>(crossovers_.size()));
  for (std::size_t i = 0; i < crossovers_.size(); ++i) {
    const stats::Crossover& c = crossovers_[i];
    QStringList cells{Q(c.name), Q(stats::Fixed(c.x, d))};
    if (c.state != stats::Test::State::Tested) {
      cells << QString() << Q(stats::StateWords(c.state));
    } else {
      cells << Cells(stats::CrossoverCells(c, [d](double v) { return stats::Fixed(v, d); }))
            << (rangeOk_ ? QLatin1String(stats::VerdictName(verdicts_[i])) : QString());
    }
    SetResultRow(crossoversTable_, static_cast<int>(i), cells, 4);
    crossWords << Q(stats::CrossoverSentence(c, verdicts_[i], rangeWords_.toStdString(), reference_, d));
  }
  if (crossovers_.empty()) crossWords << QStringLiteral("No two lines have different slopes: no lines cross.");
  crossoversText_->setText(crossWords.join(QLatin1Char('\n')));
}


void RegionsPanel::Redescribe() {
  const bool typed = range_->currentIndex() == 1;
  from_->setEnabled(typed);
  to_->setEnabled(typed);
  figure_ = {};
  const int k = effect_->currentIndex();
  if (!ready_ || k < 0 || static_cast<std::size_t>(k) >= probe_.effects.size() ||
      static_cast<std::size_t>(k) >= regions_.size()) {
    figure_.note = probe_.effects.empty() ? "This model has no effect along a variable to draw."
                                          : "Paste the covariance matrix of the weights on the Significance tab to "
                                            "draw the region figure.";
    ShowStatus(status_, Q(figure_.note), false);
    plot_->update();
    return;
  }
  figure::RegionOptions o;
  if (typed) {
    try {
      o.typed = true;
      o.typedFrom = StrictParse(from_->text().toStdString());
      o.typedTo = StrictParse(to_->text().toStdString());
    } catch (const Fault&) {
      figure_.note = "The typed range of the region figure needs two numbers, such as -4 and 4.";
      ShowStatus(status_, Q(figure_.note), true);
      plot_->update();
      return;
    }
  }
  const std::size_t i = static_cast<std::size_t>(k);
  figure_ = figure::DescribeRegion(probe_, probe_.effects[i], covariance_, reference_, regions_[i].region, o);
  if (!figure_.note.empty()) {
    ShowStatus(status_, Q(figure_.note), true);
  } else {
    ShowStatus(status_, Q(stats::RegionSentence(regions_[i], reference_, decimals_)), false);
  }
  plot_->setAccessibleDescription(Q(figure_.note.empty() ? stats::RegionSentence(regions_[i], reference_, decimals_)
                                                         : figure_.note));
  plot_->update();
}

QString RegionsPanel::SectionsText() const {
  if (!ready_) return {};
  QString out;
  for (const std::string& s : {stats::RegionsSection(regions_), stats::CrossoversSection(crossovers_, verdicts_)}) {
    if (!s.empty()) out += QStringLiteral("\n") + Q(s) + QStringLiteral("\n");
  }
  return out;
}

QString RegionsPanel::SentencesText() const {
  if (!ready_) return {};
  QString out;
  for (const stats::EffectRegion& e : regions_) out += Q(stats::RegionSentence(e, reference_, decimals_)) + '\n';
  for (std::size_t i = 0; i < crossovers_.size(); ++i) {
    out += Q(stats::CrossoverSentence(crossovers_[i], verdicts_[i], rangeWords_.toStdString(), reference_,
                                      decimals_)) +
           '\n';
  }
  return out;
}

}  // namespace marvane
