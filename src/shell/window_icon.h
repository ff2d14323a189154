#pragma once

#include <cstdint>
#include <span>

class QIcon;

namespace marvane {

// One size of the program's icon: size x size pixels, row by row from the
// top, each 0xAARRGGBB (QImage::Format_ARGB32).
struct IconPixels {
  int size;
  const std::uint32_t* argb;
};

// The program's icon at each size it is installed at for the desktop up to
// 64 pixels (a title bar or task bar, also at twice the scale), smallest
// first: packaging/marvane.svg rendered at build time as for the installed
// PNG files (the file is written by tools/icon_pixels.cpp). On X11 every
// window sends all of them to the window manager, twice as it is created,
// and the 128-pixel one alone had two thirds of the pixels.
std::span<const IconPixels> WindowIconPixels();

// The window icon, made from WindowIconPixels. Looking the installed icon up
// in the icon themes instead cost 4 to 10 ms of every start on a desktop (the
// themes' index files, a stat of each of their folders, the PNG and SVG
// readers); this reads no file and loads no plugin.
QIcon WindowIcon();

}  // namespace marvane
