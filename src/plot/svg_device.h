#pragma once

// Figures saved as SVG are drawn on Qt's QSvgGenerator, which lives in
// libQt6Svg. Linked into the program, that library was loaded and relocated
// at every start (over a million instructions, most of what the program's
// start did beyond the same menu built from plain Qt widgets), though only
// saving a figure as SVG uses it. So the generator is made in a small module
// of its own (svg_module.cpp, the only code that links libQt6Svg), loaded the
// first time a figure is saved as SVG and kept loaded from then on.

#include <QSizeF>
#include <QString>
#include <memory>

class QIODevice;
class QPaintDevice;

namespace marvane {

// The drawing an SVG device makes: its size in pixels at `dpi` dots per inch
// (also its view box) and its title.
struct SvgPage {
  QSizeF pixels;
  int dpi = 96;
  QString title;
};

// A paint device that writes `page` as an SVG drawing to `out` when the
// painter on it ends. Null when the module cannot be loaded; `error` then
// says why, in words a user can act on.
std::unique_ptr<QPaintDevice> NewSvgDevice(QIODevice* out, const SvgPage& page, QString* error);

// Where NewSvgDevice looks for the module: by default a path fixed at build
// time relative to the program's folder (the same from the build tree and
// from an installed program). SetSvgModulePath puts it elsewhere (the tests:
// a module that is missing).
QString SvgModulePath();
void SetSvgModulePath(const QString& path);

// The one function the module exports, and its type.
inline constexpr char kNewSvgDeviceSymbol[] = "marvane_new_svg_device_v1";
using NewSvgDeviceFunction = QPaintDevice* (*)(QIODevice* out, const SvgPage* page);

}  // namespace marvane
