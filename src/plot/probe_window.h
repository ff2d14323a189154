#pragma once

// The plot window of a model form ("Probe"): the simple-effect lines of the
// form's last Compute without a fault as a figure, which follows the form's
// later Computes; its X range, style, titles and legend names; saving it as
// PNG, SVG or PDF, and copying the figure and the table of lines.
// The window is fed by its form (ModelForm::Publish); it never reads the
// form's boxes or labels.

#include <QString>
#include <QWidget>

#include "figure/figure.h"
#include "models/probe.h"
#include "plot/figure_painter.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace marvane {

class FigureView;
class RegionsPanel;
class SignificancePanel;

class ProbeWindow : public QWidget {
 public:
  // A top-level window that belongs to `form` (closed and destroyed with it).
  explicit ProbeWindow(QWidget* form);

  // Draws the lines of a Compute without a fault; the figure is up to date.
  void ShowProbe(const Probe& probe);
  // A later Compute faulted: the figure stays, and the window says it is not
  // up to date, with the form's message.
  void MarkStale(const QString& formMessage);

  // The figure as it is drawn now.
  const figure::Figure& CurrentFigure() const { return figure_; }
  // The region figure of the effect chosen on the regions tab.
  const figure::Figure& RegionFigure() const;
  // The style chosen.
  FigureStyle Style() const;

  // The figure at the size and resolution set in the window, written as PNG,
  // SVG or PDF by the file's suffix (or `format`: "png", "svg", "pdf").
  // Returns false and tells why in the notice when the file cannot be
  // written; nothing else changes then.
  enum class Which { Lines, Region };
  bool SaveFigure(const QString& path, const QString& format = {}, Which which = Which::Lines);
  // The figure's size in inches and the PNG resolution, as set in the window.
  QSizeF FigureInches() const;
  int Resolution() const;

  // The clipboard's table: the section of simple-effect lines, then the
  // significance sections the pasted matrix gives, tab-separated.
  QString TableText() const;

 private:
  void Redraw();
  void SyncLegend();
  void OnUnitChanged();
  void SaveFigureClicked(Which which);
  void CopyFigure(Which which);
  void CopyText();
  void CopyTable();
  void SetNotice(const QString& text, bool problem);
  figure::Options CurrentOptions() const;

  Probe probe_;
  bool hasProbe_ = false;
  bool stale_ = false;
  QString staleMessage_;
  figure::Figure figure_;

  FigureView* plot_ = nullptr;
  QLabel* notice_ = nullptr;
  QComboBox* style_ = nullptr;
  QComboBox* range_ = nullptr;
  QLineEdit* xFrom_ = nullptr;
  QLineEdit* xTo_ = nullptr;
  QLineEdit* xTitle_ = nullptr;
  QLineEdit* yTitle_ = nullptr;
  QTableWidget* legend_ = nullptr;
  QDoubleSpinBox* width_ = nullptr;
  QDoubleSpinBox* height_ = nullptr;
  QComboBox* unit_ = nullptr;
  QSpinBox* resolution_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* copyFigure_ = nullptr;
  QPushButton* copyTable_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  SignificancePanel* significance_ = nullptr;
  RegionsPanel* regions_ = nullptr;
  QCheckBox* bands_ = nullptr;
  bool syncing_ = false;
};

}  // namespace marvane
