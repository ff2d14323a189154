#include "plot/probe_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "plot/figure_tab.h"
#include "plot/model_paste_window.h"
#include "plot/panel_parts.h"
#include "plot/regions_tab.h"
#include "plot/save_dialog.h"
#include "plot/significance_tab.h"
#include "shell/number_text.h"
#include "shell/qt_text.h"

namespace marvane {

ProbeWindow::ProbeWindow(QWidget* form) : QWidget(form, Qt::Window) {
  setObjectName(QStringLiteral("Probe"));
  setAttribute(Qt::WA_DeleteOnClose);
  figure_ = new FigureTab(this);
  significance_ = new SignificanceTab(this);
  regions_ = new RegionsTab(this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabs"));
  tabs_->addTab(figure_, QStringLiteral("&Figure"));
  tabs_->addTab(significance_, QStringLiteral("Si&gnificance"));
  tabs_->addTab(regions_, QStringLiteral("Re&gions"));
  auto* whole = new QVBoxLayout(this);
  whole->addWidget(tabs_);
  whole->addLayout(BuildWorkRow());
  resize(1180, 720);

  figure_->onChanged = significance_->onChanged = regions_->onChanged = [this] { Update(); };
  figure_->onSettingsChanged = [this] { regions_->SetSettings(figure_->Settings()); };
  figure_->onSave = [this] {
    const auto [path, format] = AskWhereToSave(this, QStringLiteral("figure.png"));
    if (!path.isEmpty()) SaveFigure(path, format);
  };
  figure_->onCopyFigure = [this] {
    QGuiApplication::clipboard()->setImage(FigureImage(figure_->Figure(), figure_->Settings()));
    figure_->SetNotice(QStringLiteral("Copied the figure to the clipboard."), false);
  };
  figure_->onCopyTable = [this] {
    QGuiApplication::clipboard()->setText(TableText());
    figure_->SetNotice(QStringLiteral("Copied the table of lines to the clipboard."), false);
  };
  regions_->SetSettings(figure_->Settings());
}

QLayout* ProbeWindow::BuildWorkRow() {
  auto* row = new QHBoxLayout;
  auto button = [this, row](const QString& text, const char* name, std::function<void()> act) {
    QPushButton* b = MakeButton(text, name, this);
    connect(b, &QPushButton::clicked, this, std::move(act));
    row->addWidget(b);
  };
  button(QStringLiteral("Save session…"), "saveSession", [this] {
    if (onSaveSession) onSaveSession(true);
  });
  button(QStringLiteral("Open session…"), "openSession", [this] {
    if (onOpenSession) onOpenSession();
  });
  button(QStringLiteral("Save report…"), "saveReport", [this] {
    if (onSaveReport) onSaveReport();
  });
  button(QStringLiteral("Copy R code"), "copyRCode", [this] {
    if (onCopyRCode) onCopyRCode();
  });
  workStatus_ = MakeWordsLabel(QStringLiteral("workStatus"), this);
  row->addWidget(workStatus_, 1);
  connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, [this] {
    if (onSaveSession) onSaveSession(false);
  });
  connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this, [this] {
    if (onOpenSession) onOpenSession();
  });
  return row;
}

void ProbeWindow::SetWorkStatus(const QString& text, bool problem) { ShowStatus(workStatus_, text, problem); }

void ProbeWindow::SetTitleSuffix(const QString& suffix) {
  titleSuffix_ = suffix;
  if (hasProbe_) setWindowTitle(FigureTitle() + titleSuffix_);
}

QString ProbeWindow::FigureTitle() const { return QStringLiteral("Plot — ") + Q(probe_.caption); }

FigureSettings ProbeWindow::Settings() const { return figure_->Settings(); }

QString ProbeWindow::SentencesText() const { return Q(analysis_.sentences); }

void ProbeWindow::ShowProbe(const Probe& probe) {
  probe_ = probe;
  hasProbe_ = true;
  stale_ = false;
  staleMessage_.clear();
  setWindowTitle(FigureTitle() + titleSuffix_);
  figure_->SetProbe(probe_);
  significance_->SetWeights(probe_.weights);
  Update();
}

void ProbeWindow::MarkStale(const QString& formMessage) {
  stale_ = true;
  staleMessage_ = formMessage;
  Update();
}

void ProbeWindow::UsePastedModel(const PastedModel& model) {
  model_ = std::make_shared<const PastedModel>(model);
  significance_->UsePaste(model.withMatrix ? Q(model.text) : QString(),
                          model.df ? Q(NumberToText(*model.df)) : QString());
  Update();
}

void ProbeWindow::Update() {
  if (!hasProbe_) return;
  AnalysisInput in;
  figure_->FillInput(in);
  significance_->FillInput(in);
  regions_->FillInput(in);
  in.stale = stale_;
  if (model_ != nullptr) {
    in.modelCoefficients = model_->coefficients;
    in.modelPicks = model_->picks;
  }
  in.staleMessage = Std(staleMessage_);
  analysis_ = Analyse(probe_, in);
  regionEffect_ = in.regionEffect;
  ++analyses_;
  figure_->Render(analysis_);
  significance_->Render(analysis_);
  regions_->Render(analysis_);
}

const figure::Figure& ProbeWindow::CurrentFigure() const { return figure_->Figure(); }

const figure::Figure& ProbeWindow::RegionFigure() const { return regions_->RegionFigure(); }

FigureStyle ProbeWindow::Style() const { return figure_->Settings().style; }

QSizeF ProbeWindow::FigureInches() const { return figure_->Settings().inches; }

int ProbeWindow::Resolution() const { return figure_->Settings().dpi; }

bool ProbeWindow::SaveFigure(const QString& path, const QString& format, Which which) {
  if (which == Which::Region) return regions_->SaveFigure(path, format, FigureTitle());
  const QString problem = WriteFigure(path, format, figure_->Figure(), figure_->Settings(), FigureTitle());
  figure_->SetNotice(problem.isEmpty() ? QStringLiteral("Saved the figure as %1.").arg(path) : problem,
                     !problem.isEmpty());
  return problem.isEmpty();
}

QString ProbeWindow::TableText() const {
  // The lines shown (the form's, or at the moderator values chosen), then how
  // the pasted rows were mapped, then every table's section.
  const std::string mapping = analysis_.mappingSection.empty() ? "" : "\n" + analysis_.mappingSection + "\n";
  return Q(LinesSection(analysis_.probe, figure_->LegendNames()) + mapping + analysis_.sections);
}

}  // namespace marvane
