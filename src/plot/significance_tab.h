#pragma once

// The significance tab of the plot window: the pasted covariance matrix of
// the weights, which pasted row is which weight, the reference distribution
// (df or sample size, level) and the number of decimals; and, rendered from
// the window's analysis, the tables of simple slopes, intercepts, predicted
// values and the differences between lines, with the status in words.

#include <QWidget>
#include <functional>
#include <vector>

#include "analysis/analysis.h"
#include "models/probe.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace marvane {

class SignificanceTab : public QWidget {
 public:
  explicit SignificanceTab(QWidget* parent);

  // One mapping box per weight, named map_<box>; rebuilt only when the
  // weights differ from the ones shown.
  void SetWeights(const std::vector<ModelWeight>& weights);
  // Writes what the tab holds into the analysis input.
  void FillInput(AnalysisInput& in) const;
  void Render(const Analysis& a);
  // Puts a model's paste into the covariance box (when not empty) and its df
  // into the df box (when given and the box is empty), without analysing.
  void UsePaste(const QString& pasted, const QString& df);

  // Called when any input changes.
  std::function<void()> onChanged;

 private:
  QWidget* BuildInputs();
  QWidget* BuildTables();
  void ShowMapping(const Analysis& a);

  std::vector<std::string> boxes_;          // the weights' boxes the rows are for
  std::vector<std::string> offered_;        // what each mapping box offers before "none"
  MappingChoice shown_;                     // the mapping the boxes show, with how each row was decided
  bool filling_ = false;

  QPlainTextEdit* text_ = nullptr;
  QTableWidget* terms_ = nullptr;
  QLineEdit* df_ = nullptr;
  QLineEdit* sampleSize_ = nullptr;
  QLineEdit* level_ = nullptr;
  QSpinBox* decimals_ = nullptr;
  QLabel* status_ = nullptr;
  std::vector<QTableWidget*> tables_;  // in the order of the analysis's tables
  QLabel* tablesNote_ = nullptr;
  QLabel* copied_ = nullptr;
  QString sentences_;
};

}  // namespace marvane
