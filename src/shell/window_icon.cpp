#include "shell/window_icon.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace marvane {

QIcon WindowIcon() {
  QIcon icon;
  for (const IconPixels& p : WindowIconPixels()) {
    // The image only points at the pixels; the pixmap takes a copy.
    const QImage image(reinterpret_cast<const uchar*>(p.argb), p.size, p.size, p.size * 4, QImage::Format_ARGB32);
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace marvane
