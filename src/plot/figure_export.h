#pragma once

// A figure description written as a PNG, SVG or PDF file or put on the
// clipboard as an image, at the size, resolution and style set in the plot
// window. One painter for all of them, so a file looks like the window.

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

#include "figure/figure.h"
#include "plot/figure_painter.h"

namespace marvane {

struct FigureSettings {
  QSizeF inches{6.5, 4.5};
  int dpi = 300;  // for PNG
  FigureStyle style = FigureStyle::BlackAndWhite;
  double fontSize = figure::kDefaultFontSize;  // points, at any size
};

// The file's bytes in `format` ("png", "svg" or "pdf"); empty for another
// format, or with the reason in `error` when the SVG writer cannot be loaded.
QByteArray RenderFigure(const figure::Figure& f, const FigureSettings& s, const QString& format, const QString& title,
                        QString* error = nullptr);

// Writes the figure to `path` in `format`, or in the format its suffix names
// when `format` is empty. Returns what went wrong, in words, or an empty
// text; the file at `path` is left as it was when writing fails.
QString WriteFigure(const QString& path, const QString& format, const figure::Figure& f, const FigureSettings& s,
                    const QString& title);

// The figure as an image for the clipboard, at no more than 300 dpi.
QImage FigureImage(const figure::Figure& f, const FigureSettings& s);

}  // namespace marvane
