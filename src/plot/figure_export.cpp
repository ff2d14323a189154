#include "plot/figure_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "plot/svg_device.h"
#include "shell/whole_file.h"

namespace marvane {
namespace {

// The bytes that `write` puts on the device it is given.
template <typename Write>
QByteArray Collect(Write write) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  write(&buffer);
  return bytes;
}

QImage PaintImage(const figure::Figure& f, const FigureSettings& s, int dpi) {
  const QSizeF inches = s.inches;
  QImage image(static_cast<int>(std::lround(inches.width() * dpi)),
               static_cast<int>(std::lround(inches.height() * dpi)), QImage::Format_RGB32);
  const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dpm);
  image.setDotsPerMeterY(dpm);
  image.fill(Qt::white);
  QPainter p(&image);
  PaintFigure(p, f, QRectF(0, 0, image.width(), image.height()), dpi, s.style, s.fontSize);
  return image;
}

// Empty, with the reason in `error`, when the SVG writer cannot be loaded.
QByteArray RenderSvg(const figure::Figure& f, const FigureSettings& s, const QString& title, QString* error) {
  // A pixel a tenth of a millimetre: the drawing's size, which the writer
  // keeps in whole pixels, is exact for sizes typed in centimetres.
  constexpr int kDpi = 254;
  return Collect([&](QIODevice* out) {
    const QSizeF px = s.inches * kDpi;
    const std::unique_ptr<QPaintDevice> svg = NewSvgDevice(out, {.pixels = px, .dpi = kDpi, .title = title}, error);
    if (svg == nullptr) return;
    QPainter p(svg.get());
    PaintFigure(p, f, QRectF(QPointF(0, 0), px), kDpi, s.style, s.fontSize);
  });
}

QByteArray RenderPdf(const figure::Figure& f, const FigureSettings& s, const QString& title) {
  constexpr int kDpi = 300;
  return Collect([&](QIODevice* out) {
    QPdfWriter pdf(out);
    pdf.setTitle(title);
    pdf.setResolution(kDpi);
    pdf.setPageSize(QPageSize(s.inches, QPageSize::Inch, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    // A PDF page is a whole number of points: the figure fills the page
    // the writer made, within half a point of the size asked for.
    const QSizeF page = pdf.pageLayout().fullRectPoints().size();
    QPainter p(&pdf);
    PaintFigure(p, f, QRectF(QPointF(0, 0), page * (kDpi / 72.0)), kDpi, s.style, s.fontSize);
  });
}

}  // namespace

QByteArray RenderFigure(const figure::Figure& f, const FigureSettings& s, const QString& format, const QString& title,
                        QString* error) {
  if (format == QLatin1String("png")) {
    const QImage image = PaintImage(f, s, s.dpi);
    return Collect([&](QIODevice* out) { image.save(out, "PNG"); });
  }
  if (format == QLatin1String("svg")) return RenderSvg(f, s, title, error);
  if (format == QLatin1String("pdf")) return RenderPdf(f, s, title);
  return {};
}

QString WriteFigure(const QString& path, const QString& format, const figure::Figure& f, const FigureSettings& s,
                    const QString& title) {
  const QString kind = format.isEmpty() ? QFileInfo(path).suffix().toLower() : format.toLower();
  if (kind != QLatin1String("png") && kind != QLatin1String("svg") && kind != QLatin1String("pdf")) {
    return QStringLiteral("Could not save %1: the name must end in .png, .svg or .pdf.").arg(path);
  }
  QString why;
  const QByteArray bytes = RenderFigure(f, s, kind, title, &why);
  if (bytes.isEmpty() && why.isEmpty()) why = QStringLiteral("the figure could not be drawn");
  if (bytes.isEmpty()) return QStringLiteral("Could not save %1: %2.").arg(path, why);
  why = WriteWholeFile(path, bytes);
  return why.isEmpty() ? QString() : QStringLiteral("Could not save %1: %2.").arg(path, why);
}

QImage FigureImage(const figure::Figure& f, const FigureSettings& s) {
  return PaintImage(f, s, std::min(s.dpi, 300));
}

}  // namespace marvane
