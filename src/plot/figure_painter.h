#pragma once

// Paints a figure description (figure/figure.h) on any QPainter: the screen,
// a QImage, a QSvgGenerator or a QPdfWriter. One routine for all of them, so
// a saved file looks like the window.

#include <QRectF>

#include "figure/figure.h"

class QPainter;
class QPaintDevice;

namespace marvane {

enum class FigureStyle { BlackAndWhite, Colour };

// Paints `figure` into `area` (device units) of a device with `dpi` dots per
// inch; sizes of type, lines and markers are set in points, so the figure
// keeps its proportions at any resolution. White background, sans-serif type.
void PaintFigure(QPainter& painter, const figure::Figure& figure, const QRectF& area, double dpi,
                 FigureStyle style);

// Where PaintFigure puts the plot's data area when it paints `figure` into
// `area` of `device` at `dpi`, in device units: X runs from xMin at its left
// edge to xMax at its right, Y from yMin at its bottom to yMax at its top.
// Empty when the figure is a note or too small to draw.
QRectF FigurePlotArea(const figure::Figure& figure, const QRectF& area, double dpi, const QPaintDevice& device);

}  // namespace marvane
