#pragma once

// Reads a fitted regression's coefficients as a statistics package printed them, pasted as text, and the covariance
// matrix of its weights where one is pasted before or after them (in any layout ReadPastedMatrix reads): R's
// summary(fit), print(coef(summary(fit))) and print(coef(fit)) (a named vector, also wrapped over several lines), a
// CSV of term, estimate and standard error as write.csv(coef(summary(fit))) writes it, Stata's `regress` table and
// SPSS's Coefficients table (copied from the viewer as tab-separated text). Standard library only.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/matrix_reader.h"

namespace marvane::stats {

struct PastedCoefficient {
  // As printed: "(Intercept)", "Wind_c:Temp_c", "_cons", "c.wind_c#c.temp_c"; a level of a factor in Stata's table
  // is named by the level and the factor, as Stata names it: "2.supp", "VC.supp#c.dose" (the level's label).
  std::string term;
  double estimate = 0;
  int estimateDigits = 0;  // significant digits printed: 6 for "-3.10119", 3 for "0.0540"
  std::optional<double> se;  // the standard error, where printed (not by coef(fit))
  int seDigits = 0;
};

struct PastedModel {
  std::vector<PastedCoefficient> coefficients;  // in the printed order; no term twice
  // The residual degrees of freedom, where printed: R's "Residual standard error: 20.44 on 112 degrees of freedom",
  // the Residual row of Stata's or SPSS's ANOVA table.
  std::optional<double> df;
  // In words: "R's summary", "R's coef(summary(fit))", "R's coef(fit)", "a table of coefficients" (comma-, semicolon-
  // or tab-separated), "Stata's regress", "SPSS's coefficients".
  std::string format;
  // The matrix pasted before or after the coefficients. None with a summary alone: the matrix box then says "this is
  // the model's summary: paste vcov(fit) with it, or use Paste model on the form".
  std::optional<PastedMatrix> matrix;
};

struct ModelReadResult {
  bool ok = false;
  PastedModel model;
  // When !ok, in words naming the line and the column: "Line 7 (Wind_c): the standard error \"NA\" is not a number."
  std::string error;
};

// Reads `text`; never throws. Examples: R's summary(fit) gives its four coefficients with their SEs and df 112, format
// "R's summary" and no matrix; the same with print(vcov(fit)) after it gives the matrix too; print(coef(fit)) gives the
// terms and estimates only. A text with no table of coefficients (a matrix alone, say) is an error that says what to
// paste.
ModelReadResult ReadPastedModel(std::string_view text);

}  // namespace marvane::stats
