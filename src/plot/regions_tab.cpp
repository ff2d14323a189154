#include "plot/regions_tab.h"

#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "plot/figure_view.h"
#include "plot/panel_parts.h"
#include "plot/save_dialog.h"
#include "shell/qt_text.h"

namespace marvane {

RegionsTab::RegionsTab(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("regionsPage"));
  auto* top = new QHBoxLayout(this);
  top->addWidget(BuildTables(), 5);
  top->addLayout(BuildControls(), 4);
}

QWidget* RegionsTab::BuildTables() {
  auto* box = new QWidget;
  regionsTable_ = MakeResultTable(QStringLiteral("regions"), {}, box);
  regionsTable_->setAccessibleName(QStringLiteral("Regions of significance"));
  regionsText_ = MakeWordsLabel(QStringLiteral("regionsText"), box);
  crossoversTable_ = MakeResultTable(QStringLiteral("crossovers"), {}, box);
  crossoversTable_->setAccessibleName(QStringLiteral("Crossovers"));
  crossoversText_ = MakeWordsLabel(QStringLiteral("crossoversText"), box);
  auto* tables = new QVBoxLayout(box);
  tables->addWidget(new QLabel(QStringLiteral("<b>Regions of significance</b>"), box));
  tables->addWidget(regionsTable_);
  tables->addWidget(regionsText_);
  tables->addWidget(new QLabel(QStringLiteral("<b>Where the lines cross</b>"), box));
  tables->addWidget(crossoversTable_);
  tables->addWidget(crossoversText_);
  const CopyTextRow copy = MakeCopyTextRow(QStringLiteral("copyRegionsText"), box);
  copied_ = copy.said;
  tables->addLayout(copy.row);
  connect(copy.button, &QPushButton::clicked, this, [this] { CopySentences(copied_, sentences_); });
  // The observed values bear on the tables (the notes, the adjusted
  // regions, the crossing's verdict) as much as on the figure.
  tables->addWidget(new QLabel(QStringLiteral("<b>The values observed in the data</b>"), box));
  tables->addLayout(BuildObserved());
  tables->addStretch(1);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(box);
  scroll->setWidgetResizable(true);
  return scroll;
}

QLayout* RegionsTab::BuildControls() {
  effect_ = new QComboBox(this);
  effect_->setObjectName(QStringLiteral("regionEffect"));
  effect_->setAccessibleName(QStringLiteral("effect of the region figure"));
  range_ = new QComboBox(this);
  range_->setObjectName(QStringLiteral("regionRange"));
  range_->addItems({QStringLiteral("±2 SD, or around the typed values"), QStringLiteral("Typed")});
  range_->setAccessibleName(QStringLiteral("range of the region figure"));
  from_ = MakeLineEdit("regionFrom", "region figure from", this);
  to_ = MakeLineEdit("regionTo", "region figure to", this);
  xTitle_ = MakeLineEdit("regionXTitle", "X title of the region figure, empty for its own", this);
  yTitle_ = MakeLineEdit("regionYTitle", "Y title of the region figure, empty for its own", this);
  status_ = MakeWordsLabel(QStringLiteral("regionStatus"), this);
  plot_ = new FigureView(
      {.figure = [this]() -> const figure::Figure& { return figure_; }, .settings = [this] { return settings_; }},
      this);
  plot_->setObjectName(QStringLiteral("regionPlot"));
  plot_->setAccessibleName(QStringLiteral("Region figure of the effect"));
  save_ = MakeButton(QStringLiteral("Save region figure…"), "saveRegionFigure", this);
  copy_ = MakeButton(QStringLiteral("Copy region figure"), "copyRegionFigure", this);

  auto* controls = new QFormLayout;
  controls->addRow(QStringLiteral("&Effect"), effect_);
  controls->addRow(QStringLiteral("&Range"), range_);
  controls->addRow(QStringLiteral("Typed from"), FromTo(from_, to_, this));
  controls->addRow(QStringLiteral("&X title"), xTitle_);
  controls->addRow(QStringLiteral("&Y title"), yTitle_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(save_);
  buttons->addWidget(copy_);
  buttons->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addLayout(controls);
  right->addWidget(status_);
  right->addWidget(plot_, 1);
  right->addLayout(buttons);

  auto changed = [this] {
    if (!filling_ && onChanged) onChanged();
  };
  connect(effect_, &QComboBox::currentIndexChanged, this, changed);
  connect(range_, &QComboBox::currentIndexChanged, this, changed);
  for (QLineEdit* e : {from_, to_}) connect(e, &QLineEdit::textChanged, this, changed);
  for (QLineEdit* e : {xTitle_, yTitle_}) connect(e, &QLineEdit::textChanged, this, [this] { Redress(); });
  connect(save_, &QPushButton::clicked, this, [this] { ChooseFile(); });
  connect(copy_, &QPushButton::clicked, this, [this] {
    QGuiApplication::clipboard()->setImage(FigureImage(figure_, settings_));
    ShowStatus(status_, QStringLiteral("Copied the region figure to the clipboard."), false);
  });
  return right;
}

// The values observed in the data, and the adjustment of the regions.
QLayout* RegionsTab::BuildObserved() {
  auto line = [this](const char* name, const char* accessible) {
    QLineEdit* e = MakeLineEdit(name, accessible, this);
    connect(e, &QLineEdit::textChanged, this, [this] {
      if (!filling_ && onChanged) onChanged();
    });
    return e;
  };
  observedFrom_ = line("observedFrom", "lowest observed value of the region figure's variable");
  observedTo_ = line("observedTo", "highest observed value of the region figure's variable");
  observedXFrom_ = line("observedXFrom", "lowest observed value of X");
  observedXTo_ = line("observedXTo", "highest observed value of X");
  adjustment_ = new QComboBox(this);
  adjustment_->setObjectName(QStringLiteral("jnAdjustment"));
  adjustment_->addItems({QStringLiteral("none"), QStringLiteral("false-discovery rate")});
  adjustment_->setAccessibleName(QStringLiteral("adjustment of the regions of significance"));
  adjustment_->setToolTip(QStringLiteral("Esarey and Sumner (2018): one critical value that controls the "
                                         "false-discovery rate over the observed values; needs them typed."));
  connect(adjustment_, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_ && onChanged) onChanged();
  });
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Observed from"), FromTo(observedFrom_, observedTo_, this));
  form->addRow(QStringLiteral("Observed X from"), FromTo(observedXFrom_, observedXTo_, this));
  form->addRow(QStringLiteral("&Adjustment"), adjustment_);
  return form;
}

void RegionsTab::FillInput(AnalysisInput& in) const {
  in.observedFrom = Std(observedFrom_->text());
  in.observedTo = Std(observedTo_->text());
  in.observedXFrom = Std(observedXFrom_->text());
  in.observedXTo = Std(observedXTo_->text());
  in.fdr = adjustment_->currentIndex() == 1;
  in.regionEffect = std::max(0, effect_->currentIndex());
  in.regionTyped = range_->currentIndex() == 1;
  in.regionFrom = Std(from_->text());
  in.regionTo = Std(to_->text());
}

void RegionsTab::Render(const Analysis& a) {
  const int shownEffect = effect_->currentIndex();
  heldAt_.clear();
  if (shownEffect >= 0 && static_cast<std::size_t>(shownEffect) < a.probe.effects.size()) {
    const LinearEffect& e = a.probe.effects[static_cast<std::size_t>(shownEffect)];
    heldAt_ = HeldAtWords(e);
  }
  filling_ = true;
  // The effects to choose from, keeping the choice where it still exists.
  const QStringList names = Q(a.effectNames);
  QStringList shown;
  for (int i = 0; i < effect_->count(); ++i) shown << effect_->itemText(i);
  if (names != shown) {
    const QString chosen = effect_->currentText();
    effect_->clear();
    effect_->addItems(names);
    effect_->setCurrentIndex(std::max(0, effect_->findText(chosen)));
  }
  if (from_->text().isEmpty() && to_->text().isEmpty()) {
    from_->setText(Q(a.regionFromDefault));
    to_->setText(Q(a.regionToDefault));
  }
  filling_ = false;
  const bool typed = range_->currentIndex() == 1;
  from_->setEnabled(typed);
  to_->setEnabled(typed);
  ShowTable(regionsTable_, a.regionsTable);
  ShowTable(crossoversTable_, a.crossingsTable);
  regionsText_->setText(Q(a.regionsText));
  sentences_ = Q(a.regionSentences);
  copied_->clear();
  crossoversText_->setText(Q(a.crossingsText));
  undressed_ = a.regionFigure;
  ShowStatus(status_, a.regionStatus);
  plot_->setAccessibleDescription(Q(a.regionStatus.text));
  Redress();
}

void RegionsTab::Redress() {
  xTitle_->setPlaceholderText(Q(undressed_.xTitle));
  yTitle_->setPlaceholderText(Q(undressed_.yTitle));
  figure_ = figure::RegionTitled(undressed_, Std(xTitle_->text().trimmed()), Std(yTitle_->text().trimmed()), heldAt_);
  plot_->update();
}

void RegionsTab::SetSettings(const FigureSettings& settings) {
  settings_ = settings;
  plot_->update();
}

bool RegionsTab::SaveFigure(const QString& path, const QString& format, const QString& title) {
  const QString problem = WriteFigure(path, format, figure_, settings_, title);
  ShowStatus(status_, problem.isEmpty() ? QStringLiteral("Saved the region figure as %1.").arg(path) : problem,
             !problem.isEmpty());
  return problem.isEmpty();
}

void RegionsTab::ChooseFile() {
  const auto [path, format] = AskWhereToSave(this, QStringLiteral("region.png"));
  if (!path.isEmpty()) SaveFigure(path, format, window()->windowTitle());
}

}  // namespace marvane
