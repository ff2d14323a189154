#include "plot/figure_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "plot/figure_view.h"
#include "plot/lines_box.h"
#include "plot/panel_parts.h"
#include "shell/number_text.h"
#include "shell/qt_text.h"

namespace marvane {
namespace {

constexpr double kCmPerInch = 2.54;

// A summary of the figure in words, for screen readers.
QString Describe(const figure::Figure& f, const Probe& p) {
  if (!f.note.empty()) return Q(f.note);
  QString text = QStringLiteral("%1 lines of Y on X from X = %2 to %3. ")
                     .arg(f.lines.size())
                     .arg(Q(NumberToText(f.xMin)), Q(NumberToText(f.xMax)));
  for (std::size_t i = 0; i < f.lines.size() && i < p.lines.size(); ++i) {
    text += QStringLiteral("%1: slope %2, intercept %3. ")
                .arg(Q(f.lines[i].name), Q(NumberToText(p.lines[i].line.slope, 4)),
                     Q(NumberToText(p.lines[i].line.intercept, 4)));
  }
  if (p.linesMeet) {
    const bool inside = p.meetingX >= f.xMin && p.meetingX <= f.xMax;
    text += inside
                ? QStringLiteral("All lines meet at X = %1.").arg(Q(NumberToText(p.meetingX, 4)))
                : QStringLiteral("The lines meet outside the range, at X = %1.").arg(Q(NumberToText(p.meetingX, 4)));
  }
  if (f.bracket) text += QStringLiteral(" The bracket under the X axis: %1.").arg(Q(f.bracket->label));
  return text.trimmed();
}

}  // namespace

FigureTab::FigureTab(QWidget* parent) : QWidget(parent) {
  plot_ = new FigureView(
      {.figure = [this]() -> const figure::Figure& { return dressed_; }, .settings = [this] { return Settings(); }},
      this);
  plot_->setObjectName(QStringLiteral("plot"));
  plot_->setAccessibleName(QStringLiteral("Figure of the simple-effect lines"));
  notice_ = MakeWordsLabel(QStringLiteral("notice"), this);
  auto* left = new QVBoxLayout;
  left->addWidget(notice_);
  left->addWidget(plot_, 1);
  // The controls in a column of their own, scrolled where the window is
  // short, so that the figure keeps most of the tab.
  auto* controls = new QWidget;
  controls->setLayout(BuildControls());
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(controls);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setMaximumWidth(400);
  scroll->setMinimumWidth(320);
  auto* top = new QHBoxLayout(this);
  top->addLayout(left, 1);
  top->addWidget(scroll);
}

QLayout* FigureTab::BuildControls() {
  style_ = new QComboBox(this);
  style_->setObjectName(QStringLiteral("style"));
  style_->addItems({QStringLiteral("Black and white"), QStringLiteral("Colour")});
  range_ = new QComboBox(this);
  range_->setObjectName(QStringLiteral("range"));
  range_->addItems({QStringLiteral("±1 SD"), QStringLiteral("±2 SD"), QStringLiteral("Typed")});
  xFrom_ = MakeLineEdit("xFrom", nullptr, this);
  xTo_ = MakeLineEdit("xTo", nullptr, this);
  xTitle_ = MakeLineEdit("xTitle", nullptr, this, QStringLiteral("X"));
  yTitle_ = MakeLineEdit("yTitle", nullptr, this, QStringLiteral("Y"));
  legend_ = new QTableWidget(0, 1, this);
  legend_->setObjectName(QStringLiteral("legend"));
  legend_->setHorizontalHeaderLabels({QStringLiteral("Legend name")});
  legend_->horizontalHeader()->setStretchLastSection(true);
  // Three rows in sight at least: the column scrolls rather than squeeze them.
  legend_->setMinimumHeight(112);
  legend_->setMaximumHeight(150);
  width_ = new QDoubleSpinBox(this);
  width_->setObjectName(QStringLiteral("figureWidth"));
  height_ = new QDoubleSpinBox(this);
  height_->setObjectName(QStringLiteral("figureHeight"));
  for (QDoubleSpinBox* box : {width_, height_}) {
    box->setLocale(QLocale::c());
    box->setDecimals(2);
    box->setRange(1, 40);
    box->setSingleStep(0.5);
  }
  width_->setValue(6.5);
  height_->setValue(4.5);
  unit_ = new QComboBox(this);
  unit_->setObjectName(QStringLiteral("figureUnit"));
  unit_->addItems({QStringLiteral("in"), QStringLiteral("cm")});
  resolution_ = new QSpinBox(this);
  resolution_->setObjectName(QStringLiteral("resolution"));
  resolution_->setLocale(QLocale::c());
  resolution_->setRange(50, 1200);
  resolution_->setValue(300);
  resolution_->setSuffix(QStringLiteral(" dpi"));
  lines_ = new LinesBox(this);
  bands_ = new QCheckBox(QStringLiteral("Confidence &bands"), this);
  bands_->setObjectName(QStringLiteral("bands"));
  fontSize_ = new QSpinBox(this);
  fontSize_->setObjectName(QStringLiteral("fontSize"));
  fontSize_->setLocale(QLocale::c());
  fontSize_->setRange(static_cast<int>(figure::kSmallestFontSize), static_cast<int>(figure::kLargestFontSize));
  fontSize_->setValue(static_cast<int>(figure::kDefaultFontSize));
  fontSize_->setSuffix(QStringLiteral(" pt"));
  fontSize_->setAccessibleName(QStringLiteral("text size of the figure in points"));
  bandStyle_ = new QComboBox(this);
  bandStyle_->setObjectName(QStringLiteral("bandStyle"));
  bandStyle_->addItems({QStringLiteral("Filled"), QStringLiteral("Edge lines"), QStringLiteral("None")});
  bandStyle_->setAccessibleName(QStringLiteral("how the bands are drawn"));
  showCrossing_ = new QCheckBox(QStringLiteral("Show the &crossing"), this);
  showCrossing_->setObjectName(QStringLiteral("showCrossing"));
  showCrossing_->setChecked(true);
  showCrossing_->setToolTip(
      QStringLiteral("Where the lines cross: its interval as a bracket under the X axis, and the point where all "
                     "lines meet"));
  ShowBandChoice();
  return LayOut();
}

QLayout* FigureTab::LayOut() {
  QPushButton* save = MakeButton(QStringLiteral("Save figure…"), "saveFigure", this);
  QPushButton* copyFigure = MakeButton(QStringLiteral("Copy figure"), "copyFigure", this);
  QPushButton* copyTable = MakeButton(QStringLiteral("Copy table"), "copyTable", this);
  auto* controls = new QFormLayout;
  controls->addRow(QStringLiteral("&Style"), style_);
  controls->addRow(QStringLiteral("X &range"), range_);
  controls->addRow(QStringLiteral("Typed X from"), FromTo(xFrom_, xTo_, this));
  controls->addRow(lines_);
  controls->addRow(QStringLiteral("X &title"), xTitle_);
  controls->addRow(QStringLiteral("Y t&itle"), yTitle_);
  controls->addRow(legend_);
  auto* size = new QHBoxLayout;
  size->addWidget(width_);
  size->addWidget(new QLabel(QStringLiteral("×"), this));
  size->addWidget(height_);
  size->addWidget(unit_);
  controls->addRow(QStringLiteral("Size"), size);
  controls->addRow(QStringLiteral("Te&xt size"), fontSize_);
  controls->addRow(QStringLiteral("PNG r&esolution"), resolution_);
  controls->addRow(bands_);
  controls->addRow(QStringLiteral("Band st&yle"), bandStyle_);
  controls->addRow(showCrossing_);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {save, copyFigure, copyTable}) buttons->addWidget(b);
  controls->addRow(buttons);
  connect(save, &QPushButton::clicked, this, [this] {
    if (onSave) onSave();
  });
  connect(copyFigure, &QPushButton::clicked, this, [this] {
    if (onCopyFigure) onCopyFigure();
  });
  connect(copyTable, &QPushButton::clicked, this, [this] {
    if (onCopyTable) onCopyTable();
  });
  Connect();
  return controls;
}

void FigureTab::Connect() {
  // What changes a number goes to the analysis; what only labels or sizes
  // the figure redraws it here.
  auto changed = [this] {
    if (!filling_ && onChanged) onChanged();
  };
  auto settings = [this] {
    plot_->update();
    if (onSettingsChanged) onSettingsChanged();
  };
  connect(range_, &QComboBox::currentIndexChanged, this, changed);
  for (QLineEdit* e : {xFrom_, xTo_}) connect(e, &QLineEdit::textChanged, this, changed);
  connect(bands_, &QCheckBox::toggled, this, [this, changed] {
    ShowBandChoice();
    changed();
  });
  connect(bandStyle_, &QComboBox::currentIndexChanged, this, [this] { Redress(); });
  connect(showCrossing_, &QCheckBox::toggled, this, [this] {
    if (!filling_) crossingChosen_ = true;
    Redress();
  });
  connect(fontSize_, &QSpinBox::valueChanged, this, settings);
  for (QLineEdit* e : {xTitle_, yTitle_}) connect(e, &QLineEdit::textChanged, this, [this] { Redress(); });
  connect(legend_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (!filling_) LegendEdited(item->row());
  });
  lines_->onChanged = changed;
  connect(style_, &QComboBox::currentIndexChanged, this, settings);
  for (QDoubleSpinBox* b : {width_, height_}) connect(b, &QDoubleSpinBox::valueChanged, this, settings);
  connect(resolution_, &QSpinBox::valueChanged, this, settings);
  connect(unit_, &QComboBox::currentIndexChanged, this, [this] { OnUnitChanged(); });
}

void FigureTab::SetProbe(const Probe& probe) {
  filling_ = true;
  lines_->SetProbe(probe);
  if (xFrom_->text().isEmpty() && xTo_->text().isEmpty() && probe.stdx > 0) {
    xFrom_->setText(Q(NumberToText(-2 * probe.stdx)));
    xTo_->setText(Q(NumberToText(2 * probe.stdx)));
  }
  filling_ = false;
}

void FigureTab::ShowLegend(const Probe& shown) {
  std::vector<std::string> own;
  for (const ProbeLine& l : shown.lines) own.push_back(l.name);
  if (own == ownNames_) return;
  ownNames_ = own;
  filling_ = true;
  legend_->setRowCount(static_cast<int>(own.size()));
  for (std::size_t i = 0; i < own.size(); ++i) {
    const auto typed = typedNames_.find(i);
    legend_->setItem(static_cast<int>(i), 0, new QTableWidgetItem(Q(typed != typedNames_.end() ? typed->second : own[i])));
  }
  filling_ = false;
}

void FigureTab::LegendEdited(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= ownNames_.size()) return;
  const std::size_t i = static_cast<std::size_t>(row);
  const std::string text = Std(legend_->item(row, 0)->text().trimmed());
  if (text.empty() || text == ownNames_[i]) {
    typedNames_.erase(i);
  } else {
    typedNames_[i] = text;
  }
  Redress();
}

void FigureTab::FillInput(AnalysisInput& in) const {
  lines_->FillInput(in.lines);
  in.range = static_cast<figure::Range>(range_->currentIndex());
  in.xFrom = Std(xFrom_->text());
  in.xTo = Std(xTo_->text());
  in.bands = bands_->isChecked();
}

void FigureTab::Render(const Analysis& a) {
  const bool typed = range_->currentIndex() == static_cast<int>(figure::Range::Typed);
  xFrom_->setEnabled(typed);
  xTo_->setEnabled(typed);
  probe_ = a.probe;
  ShowLegend(a.probe);
  if (!crossingChosen_) {
    filling_ = true;
    showCrossing_->setChecked(figure::CrossingShownByDefault(a.probe));
    filling_ = false;
  }
  // A title typed (or reopened from a session) wins over the one the paste
  // names: only the title this tab gave itself follows the paste.
  if (xTitle_->text() == xTitleGiven_ && xTitle_->text() != Q(a.xTitle)) {
    xTitleGiven_ = Q(a.xTitle);
    filling_ = true;
    xTitle_->setText(xTitleGiven_);
    filling_ = false;
  }
  undressed_ = a.lines;
  SetNotice(Q(a.notice.text), a.notice.problem);
  Redress();
}

std::vector<std::string> FigureTab::LegendNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < legend_->rowCount(); ++i) {
    const QTableWidgetItem* item = legend_->item(i, 0);
    names.push_back(item != nullptr ? Std(item->text().trimmed()) : std::string());
  }
  return names;
}

void FigureTab::Redress() {
  const figure::BandStyle bands =
      bandStyle_->currentIndex() == 1 ? figure::BandStyle::Edges : figure::BandStyle::Filled;
  dressed_ = Dressed(undressed_, {.xTitle = Std(xTitle_->text()),
                                  .yTitle = Std(yTitle_->text()),
                                  .names = LegendNames(),
                                  .bandStyle = bands,
                                  .showCrossing = showCrossing_->isChecked()});
  plot_->setAccessibleDescription(Describe(dressed_, probe_));
  plot_->update();
}

FigureSettings FigureTab::Settings() const {
  const double k = unit_->currentIndex() == 1 ? 1 / kCmPerInch : 1.0;
  return {.inches = {width_->value() * k, height_->value() * k},
          .dpi = resolution_->value(),
          .style = style_->currentIndex() == 1 ? FigureStyle::Colour : FigureStyle::BlackAndWhite,
          .fontSize = static_cast<double>(fontSize_->value())};
}

void FigureTab::ShowBandChoice() {
  // Without bands the style shows "None" and cannot be chosen; with them,
  // "None" is no choice (the bands box says that) and the last style comes back.
  const bool on = bands_->isChecked();
  const QSignalBlocker block(bandStyle_);
  if (auto* items = qobject_cast<QStandardItemModel*>(bandStyle_->model())) items->item(2)->setEnabled(!on);
  if (on && bandStyle_->currentIndex() == 2) bandStyle_->setCurrentIndex(bandChoice_);
  if (!on && bandStyle_->currentIndex() != 2) {
    bandChoice_ = bandStyle_->currentIndex();
    bandStyle_->setCurrentIndex(2);
  }
  bandStyle_->setEnabled(on);
}

void FigureTab::SetNotice(const QString& text, bool problem) { ShowStatus(notice_, text, problem); }

void FigureTab::OnUnitChanged() {
  // The same size in the other unit.
  const bool cm = unit_->currentIndex() == 1;
  const double k = cm ? kCmPerInch : 1 / kCmPerInch;
  for (QDoubleSpinBox* b : {width_, height_}) {
    const double v = b->value() * k;
    b->setRange(cm ? 2.54 : 1, cm ? 101.6 : 40);
    b->setValue(v);
  }
}

}  // namespace marvane
