#pragma once

// The regions tab of the plot window, rendered from the window's analysis:
// for each effect the values of its variable where it is significant
// (Johnson-Neyman), where the lines cross with the crossing's Fieller
// interval and its verdict, each row also in words; and the region figure of
// the effect chosen, with its band and bounds and the titles typed here
// (which only redraw it), to save or copy.

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "analysis/analysis.h"
#include "plot/figure_export.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace marvane {

class FigureView;

class RegionsTab : public QWidget {
 public:
  explicit RegionsTab(QWidget* parent);

  void FillInput(AnalysisInput& in) const;
  void Render(const Analysis& a);
  // The size and style of the figures, as set on the figure tab.
  void SetSettings(const FigureSettings& settings);

  const figure::Figure& RegionFigure() const { return figure_; }
  // Writes the region figure (see WriteFigure); says how it went on the tab.
  bool SaveFigure(const QString& path, const QString& format, const QString& title);

  // Called when an input changes.
  std::function<void()> onChanged;

 private:
  QWidget* BuildTables();
  QLayout* BuildControls();
  QLayout* BuildObserved();
  void ChooseFile();
  void Redress();

  figure::Figure undressed_, figure_;
  std::string heldAt_;  // what the effect shown holds, for a typed Y title
  FigureSettings settings_;
  bool filling_ = false;

  QTableWidget* regionsTable_ = nullptr;
  QLabel* regionsText_ = nullptr;
  QTableWidget* crossoversTable_ = nullptr;
  QLabel* crossoversText_ = nullptr;
  QComboBox* effect_ = nullptr;
  QComboBox* range_ = nullptr;
  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
  QLineEdit* observedFrom_ = nullptr;
  QLineEdit* observedTo_ = nullptr;
  QLineEdit* observedXFrom_ = nullptr;
  QLineEdit* observedXTo_ = nullptr;
  QComboBox* adjustment_ = nullptr;
  QLineEdit* xTitle_ = nullptr;
  QLineEdit* yTitle_ = nullptr;
  QLabel* status_ = nullptr;
  FigureView* plot_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* copy_ = nullptr;
  QLabel* copied_ = nullptr;
  QString sentences_;
};

}  // namespace marvane
