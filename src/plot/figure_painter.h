#pragma once

// Paints a figure description (figure/figure.h) on any QPainter: the screen,
// a QImage, a QSvgGenerator or a QPdfWriter. One routine for all of them, so
// a saved file looks like the window.

#include <QRectF>

#include "figure/figure.h"

class QPainter;

namespace marvane {

enum class FigureStyle { BlackAndWhite, Colour };

// Paints `figure` into `area` (device units) of a device with `dpi` dots per
// inch; sizes of type, lines and markers are set in points, so the figure
// keeps its proportions at any resolution. White background, sans-serif type.
void PaintFigure(QPainter& painter, const figure::Figure& figure, const QRectF& area, double dpi,
                 FigureStyle style);

}  // namespace marvane
