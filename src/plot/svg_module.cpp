// The SVG writer module (svg_device.h): the one place that links libQt6Svg.

#include <QSvgGenerator>

#include "plot/svg_device.h"

extern "C" Q_DECL_EXPORT QPaintDevice* marvane_new_svg_device_v1(QIODevice* out, const marvane::SvgPage* page) {
  auto* svg = new QSvgGenerator;
  svg->setOutputDevice(out);
  svg->setResolution(page->dpi);
  svg->setSize(page->pixels.toSize());
  svg->setViewBox(QRectF(QPointF(0, 0), page->pixels));
  svg->setTitle(page->title);
  return svg;
}
