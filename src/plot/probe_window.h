#pragma once

// The plot window of a model form ("Probe"): three tabs over one analysis.
// The figure tab draws the simple-effect lines of the form's last Compute
// without a fault, the significance tab tests them from a pasted covariance
// matrix, the regions tab gives the regions of significance and where the
// lines cross. On any change of a number the window gathers what the tabs
// hold, analyses it once (analysis/analysis.h) and has every tab render the
// result; the tabs never read each other.
// The window is fed by its form (ModelForm::Publish); it never reads the
// form's boxes or labels. Below the tabs, a row of buttons hands the work on:
// sessions, the report and the R code, done by whoever sets the callbacks
// (shell/sessions.h); Ctrl+S and Ctrl+O save and open sessions.

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "analysis/analysis.h"
#include "models/probe.h"
#include "plot/figure_export.h"
#include "plot/figure_painter.h"

class QLabel;
class QTabWidget;

namespace marvane {

class FigureTab;
struct PastedModel;
class RegionsTab;
class SignificanceTab;

class ProbeWindow : public QWidget {
 public:
  // A top-level window that belongs to `form` (closed and destroyed with it).
  explicit ProbeWindow(QWidget* form);

  // Draws the lines of a Compute without a fault; the figure is up to date.
  void ShowProbe(const Probe& probe);
  // A later Compute faulted: the figure stays, and the window says it is not
  // up to date, with the form's message.
  void MarkStale(const QString& formMessage);

  // What Paste model read on the form: its matrix (with the coefficients)
  // goes into the covariance box, its df into the df box, and its picks
  // decide which pasted row is which weight.
  void UsePastedModel(const PastedModel& model);
  // The model it uses, if any.
  const PastedModel* UsedModel() const { return model_.get(); }

  // The figure as it is drawn now.
  const figure::Figure& CurrentFigure() const;
  // The region figure of the effect chosen on the regions tab.
  const figure::Figure& RegionFigure() const;
  FigureStyle Style() const;
  // The figure's size in inches and the PNG resolution, as set in the window.
  QSizeF FigureInches() const;
  int Resolution() const;
  // How many times the window has analysed its inputs since it was built.
  int Analyses() const { return analyses_; }

  // The figure at the size and resolution set in the window, written as PNG,
  // SVG or PDF by the file's suffix (or `format`: "png", "svg", "pdf").
  // Returns false and tells why on its tab when the file cannot be written;
  // nothing else changes then.
  enum class Which { Lines, Region };
  bool SaveFigure(const QString& path, const QString& format = {}, Which which = Which::Lines);

  // The clipboard's table: the section of simple-effect lines, then the
  // sections the pasted matrix gives, tab-separated.
  QString TableText() const;

  // What the three tabs show now, the figures' settings, and the title the
  // saved figures carry ("Plot — Quant").
  const Analysis& CurrentAnalysis() const { return analysis_; }
  // The effect of the region figure: an index into the analysis's effects.
  int RegionEffect() const { return regionEffect_; }
  FigureSettings Settings() const;
  QString FigureTitle() const;
  // The report sentences, as "Copy text" copies them.
  QString SentencesText() const;

  // The buttons of the work's row: Save session… (chooseFile true) and
  // Ctrl+S (false: the session's own file when it has one), Open session…
  // and Ctrl+O, Save report…, Copy R code.
  std::function<void(bool chooseFile)> onSaveSession;
  std::function<void()> onOpenSession, onSaveReport, onCopyRCode;
  // Tells how an action of that row went, beside its buttons.
  void SetWorkStatus(const QString& text, bool problem);
  // Added to the window's title: the session's file and whether the work
  // differs from it (" — results.marvane*").
  void SetTitleSuffix(const QString& suffix);

 private:
  void Update();
  QLayout* BuildWorkRow();

  Probe probe_;
  bool hasProbe_ = false;
  bool stale_ = false;
  QString staleMessage_;
  Analysis analysis_;
  int analyses_ = 0;
  std::shared_ptr<const PastedModel> model_;
  int regionEffect_ = 0;

  QTabWidget* tabs_ = nullptr;
  FigureTab* figure_ = nullptr;
  SignificanceTab* significance_ = nullptr;
  RegionsTab* regions_ = nullptr;
  QLabel* workStatus_ = nullptr;
  QString titleSuffix_;
};

}  // namespace marvane
