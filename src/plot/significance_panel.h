#pragma once

// The significance part of the plot window: the pasted covariance matrix of
// the weights, which pasted row is which weight, the reference distribution
// (df or sample size, level) and the number of decimals; the tables of
// simple slopes, intercepts, predicted values and the differences between
// lines, recomputed at once as any input changes. Problems are told in words
// in covarianceStatus; the form is never touched.

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "models/probe.h"
#include "stats/inference.h"
#include "stats/matrix_reader.h"
#include "stats/reference.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace marvane {

class SignificancePanel : public QWidget {
 public:
  explicit SignificancePanel(QWidget* parent);

  // The probe of the form's last Compute without a fault; recomputes.
  void SetProbe(const Probe& probe);

  // Whether the inputs give tables: a matrix read, a consistent mapping, a
  // valid df and level. The matrix may still leave weights unknown.
  bool Ready() const { return ready_; }
  const stats::WeightCovariance& Covariance() const { return covariance_; }
  const stats::Reference& Distribution() const { return reference_; }
  const stats::Tables& Tables() const { return tables_; }
  int Decimals() const;

  // The clipboard's sections after the lines, each preceded by an empty
  // line; empty when the inputs give no tables.
  QString SectionsText() const;
  // The report sentences, one per line.
  QString SentencesText() const;

  // Called after every recomputation.
  std::function<void()> onChanged;
  // Called by the Copy text button; without it the button copies SentencesText().
  std::function<void()> onCopyText;

 private:
  void Recompute();
  void RebuildTerms();
  void ApplyGuess();
  void ShowTables();
  void ClearTables();
  void CopyText();

  Probe probe_;
  bool hasProbe_ = false;
  stats::PastedMatrix matrix_;
  std::vector<std::string> shownNames_;  // the names the combo boxes offer now
  std::size_t shownRows_ = 0;
  bool ready_ = false;
  bool filling_ = false;
  stats::WeightCovariance covariance_;
  stats::Reference reference_;
  stats::Tables tables_;

  QPlainTextEdit* text_ = nullptr;
  QTableWidget* terms_ = nullptr;
  QLineEdit* df_ = nullptr;
  QLineEdit* sampleSize_ = nullptr;
  QLineEdit* level_ = nullptr;
  QSpinBox* decimals_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* slopes_ = nullptr;
  QTableWidget* intercepts_ = nullptr;
  QTableWidget* points_ = nullptr;
  QTableWidget* slopeDifferences_ = nullptr;
  QTableWidget* interceptDifferences_ = nullptr;
  QLabel* tablesNote_ = nullptr;
  QPushButton* copyText_ = nullptr;
};

}  // namespace marvane
