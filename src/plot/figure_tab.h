#pragma once

// The figure tab of the plot window: the lines figure rendered from the
// window's analysis, dressed with the titles, legend names, band style and
// crossing's mark chosen here; the X range, bands, style, size, text size
// and resolution; saving and copying the figure, and copying the table.

#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "models/probe.h"
#include "plot/figure_export.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace marvane {

class FigureView;
class LinesBox;

class FigureTab : public QWidget {
 public:
  explicit FigureTab(QWidget* parent);

  // A new Compute: the typed X range's default where it is empty, and the
  // choices of lines the form allows.
  void SetProbe(const Probe& probe);
  void FillInput(AnalysisInput& in) const;
  void Render(const Analysis& a);

  // The figure as drawn: the analysis's, with the titles and names typed here.
  const figure::Figure& Figure() const { return dressed_; }
  FigureSettings Settings() const;
  // The legend names typed, by line ("" where the line keeps its own).
  std::vector<std::string> LegendNames() const;
  void SetNotice(const QString& text, bool problem);

  std::function<void()> onChanged;          // an input of the analysis changed
  std::function<void()> onSettingsChanged;  // the size or the style changed
  std::function<void()> onSave, onCopyFigure, onCopyTable;

 private:
  QLayout* BuildControls();
  QLayout* LayOut();
  void Connect();
  void Redress();
  void OnUnitChanged();
  void ShowLegend(const Probe& shown);
  void LegendEdited(int row);
  void ShowBandChoice();

  Probe probe_;  // the lines shown
  // One legend row per line shown, with the line's own name unless a name
  // was typed for that row: what is typed wins and stays through later
  // Computes, pastes and choices of lines.
  std::vector<std::string> ownNames_;
  std::map<std::size_t, std::string> typedNames_;
  QString xTitleGiven_ = QStringLiteral("X");  // the X title the tab put in its box, not typed
  figure::Figure undressed_, dressed_;
  bool filling_ = false;
  bool crossingChosen_ = false;  // the user set showCrossing: a new Compute keeps it
  int bandChoice_ = 0;           // the band style while the bands are off

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
  QCheckBox* bands_ = nullptr;
  LinesBox* lines_ = nullptr;
  QSpinBox* fontSize_ = nullptr;
  QComboBox* bandStyle_ = nullptr;
  QCheckBox* showCrossing_ = nullptr;
};

}  // namespace marvane
