// The SVG writer module (svg_device.h): the one place that links libQt6Svg.

#include <QSvgGenerator>
#include <string_view>
#include <type_traits>

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

// The name and type the program looks the function up by.
static_assert(std::string_view(marvane::kNewSvgDeviceSymbol) == "marvane_new_svg_device_v1");
static_assert(std::is_same_v<decltype(&marvane_new_svg_device_v1), marvane::NewSvgDeviceFunction>);
