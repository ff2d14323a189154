#pragma once

// The report of a plot window, for a paper's supplement: one self-contained
// HTML file (the figures inline as SVG) or a PDF (the figures as vectors).
// It holds the model and the inputs as typed, the form's lines as the form
// shows them, the figure, every table at the decimals chosen, the regions
// and the crossings with their sentences, a paragraph on the methods with
// references, the program's version and the date, and the R code as an
// appendix. Everything after the form's lines comes from the window's
// analysis, so it follows whatever lines the window shows.

#include <QDateTime>
#include <QString>
#include <utility>
#include <vector>

#include "analysis/analysis.h"
#include "figure/figure.h"
#include "plot/figure_export.h"

namespace marvane {

struct ReportContent {
  QString formCaption;
  QString programVersion;
  QDateTime written;
  // What each box holds and what was typed in it, for the lines analysed.
  std::vector<std::pair<QString, QString>> inputs;
  // The form's texts as it showed them after that Compute, a row a line.
  std::vector<QString> formLines;
  Analysis analysis;
  figure::Figure lines;   // as drawn: with the titles and legend names typed
  figure::Figure region;  // the region figure of the effect chosen
  QString regionEffect;   // that effect in words: "slope of X, along Z"
  FigureSettings settings;
  QString figureTitle;
  QString rCode;
};

// The report as HTML. With `figures` the figures are inline SVG (empty when
// the SVG writer cannot be loaded: `error` then says why); without, each
// figure is a paragraph "[[figure N]]" (N = 0 for the lines, 1 for the
// region figure) for the PDF to put a drawing in.
QString ReportHtml(const ReportContent& r, bool figures, QString* error = nullptr);

// Writes the report to `path` as "html" or "pdf" (by the name's suffix when
// `format` is empty). Returns "" or what went wrong, as a clause that
// follows "Could not save <file>: "; the file at `path` is then left as it was.
QString WriteReport(const QString& path, const QString& format, const ReportContent& r);

// The paragraph on the methods, for the reference distribution used.
QString MethodsText(const Analysis& a);

}  // namespace marvane
