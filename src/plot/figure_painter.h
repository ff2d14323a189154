#pragma once

// Paints a figure description (figure/figure.h) on any QPainter: the screen,
// a QImage, a QSvgGenerator or a QPdfWriter. One routine for all of them, so
// a saved file looks like the window. Where everything goes is decided by
// the figure layer's layout (figure/layout.h), with the text measured by
// this painter's fonts; the painter only paints it.

#include <QRectF>

#include "figure/figure.h"
#include "figure/layout.h"

class QPainter;
class QPaintDevice;

namespace marvane {

enum class FigureStyle { BlackAndWhite, Colour };

// Paints `figure` into `area` (device units) of a device with `dpi` dots per
// inch; sizes of type, lines and markers are set in points, so the figure
// keeps its proportions at any resolution and its text is `fontSize` points
// at any size. White background, sans-serif type.
void PaintFigure(QPainter& painter, const figure::Figure& figure, const QRectF& area, double dpi, FigureStyle style,
                 double fontSize = figure::kDefaultFontSize);

// The layout PaintFigure paints `figure` by in `area` of `device` at `dpi`,
// in points from the area's top left corner.
figure::Layout FigureLayout(const figure::Figure& figure, const QRectF& area, double dpi, const QPaintDevice& device,
                            double fontSize = figure::kDefaultFontSize);

// Where PaintFigure puts the plot's data area when it paints `figure` into
// `area` of `device` at `dpi`, in device units: X runs from xMin at its left
// edge to xMax at its right, Y from yMin at its bottom to yMax at its top.
// Empty when the figure is a note or too small to draw.
QRectF FigurePlotArea(const figure::Figure& figure, const QRectF& area, double dpi, const QPaintDevice& device,
                      double fontSize = figure::kDefaultFontSize);

// The frame the axes run along (the data area's surroundings, with room
// for the markers at its edges), in device units; empty as above.
QRectF FigureFrame(const figure::Figure& figure, const QRectF& area, double dpi, const QPaintDevice& device,
                   double fontSize = figure::kDefaultFontSize);

}  // namespace marvane
