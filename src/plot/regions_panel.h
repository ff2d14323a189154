#pragma once

// The regions part of the plot window: for each effect of the probe the
// values of its variable where it is significant (Johnson-Neyman), where
// the lines cross with the crossing's Fieller interval and the verdict
// against the lines figure's X range, each row also in words; and the
// region figure of the effect chosen, with its band and bounds.

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "figure/figure.h"
#include "models/probe.h"
#include "plot/figure_view.h"
#include "stats/regions.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace marvane {

class SignificancePanel;

class RegionsPanel : public QWidget {
 public:
  // `inches` and `style` are the window's figure settings.
  RegionsPanel(std::function<QSizeF()> inches, std::function<FigureStyle()> style, QWidget* parent);

  // Recomputes from the probe and the significance inputs; the verdicts are
  // against the lines figure's X range [xFrom, xTo], named in `rangeWords`
  // ("±1 SD of X"); `rangeOk` false when that range cannot be set.
  void Update(const Probe& probe, const SignificancePanel& significance, double xFrom, double xTo, bool rangeOk,
              const QString& rangeWords);

  const figure::Figure& RegionFigure() const { return figure_; }
  // The crossings as computed (empty when the inputs give none).
  const std::vector<stats::Crossover>& CrossoverRows() const { return crossovers_; }

  // The clipboard's regions and crossovers sections, each preceded by an
  // empty line; the sentences, one per line.
  QString SectionsText() const;
  QString SentencesText() const;

  std::function<void()> onSave, onCopy;

 private:
  void Redescribe();
  void FillTables();

  Probe probe_;
  bool ready_ = false;
  stats::WeightCovariance covariance_;
  stats::Reference reference_;
  int decimals_ = 3;
  std::vector<stats::EffectRegion> regions_;
  std::vector<stats::Crossover> crossovers_;
  std::vector<stats::Verdict> verdicts_;
  QString rangeWords_;
  bool rangeOk_ = false;
  figure::Figure figure_;
  bool filling_ = false;

  QTableWidget* regionsTable_ = nullptr;
  QLabel* regionsText_ = nullptr;
  QTableWidget* crossoversTable_ = nullptr;
  QLabel* crossoversText_ = nullptr;
  QComboBox* effect_ = nullptr;
  QComboBox* range_ = nullptr;
  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
  QLabel* status_ = nullptr;
  FigureView* plot_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* copy_ = nullptr;
};

}  // namespace marvane
