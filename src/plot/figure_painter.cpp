#include "plot/figure_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

namespace marvane {
namespace {

constexpr double kMargin = 8;       // pt
constexpr double kTickLength = 4;   // pt
constexpr double kTickFont = 9;     // pt
constexpr double kTitleFont = 10;   // pt
constexpr double kLineWidth = 1.5;  // pt
constexpr double kMarker = 3.2;     // pt, half the marker's size
constexpr double kSample = 28;      // pt, the legend's line sample

// Okabe and Ito's palette, without the yellow that fades on white.
const QColor kPalette[] = {QColor(0x00, 0x72, 0xB2), QColor(0xD5, 0x5E, 0x00), QColor(0x00, 0x9E, 0x73),
                           QColor(0xCC, 0x79, 0xA7), QColor(0xE6, 0x9F, 0x00), QColor(0x56, 0xB4, 0xE9)};
const Qt::PenStyle kDashes[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};

QColor LineColour(int style, FigureStyle s) {
  return s == FigureStyle::Colour ? kPalette[style % 6] : QColor(Qt::black);
}

// A font of `points` size in the painter's point space (the painter is
// scaled so that one unit is one point).
QFont PointFont(const QPainter& painter, double points, bool bold = false) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  const int dpi = painter.device() != nullptr ? painter.device()->logicalDpiY() : 72;
  font.setPointSizeF(points * 72.0 / std::max(1, dpi));
  font.setBold(bold);
  return font;
}

void Marker(QPainter& p, QPointF at, int style, const QColor& colour) {
  const double r = kMarker;
  p.setPen(QPen(colour, 1.0));
  // Filled and open shapes alternate, so even two lines of the same shape
  // class stay apart in grey.
  const bool filled = style % 2 == 0;
  p.setBrush(filled ? QBrush(colour) : QBrush(Qt::white));
  switch (style % 4) {
    case 0:
      p.drawEllipse(at, r, r);
      break;
    case 1:
      p.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
      break;
    case 2: {
      const QPointF tri[] = {{at.x(), at.y() - r * 1.2}, {at.x() + r * 1.1, at.y() + r * 0.9},
                             {at.x() - r * 1.1, at.y() + r * 0.9}};
      p.drawPolygon(tri, 3);
      break;
    }
    default: {
      const QPointF dia[] = {{at.x(), at.y() - r * 1.3}, {at.x() + r * 1.3, at.y()},
                             {at.x(), at.y() + r * 1.3}, {at.x() - r * 1.3, at.y()}};
      p.drawPolygon(dia, 4);
      break;
    }
  }
}

QPen LinePen(int style, FigureStyle s) {
  QPen pen(LineColour(style, s), kLineWidth);
  pen.setStyle(kDashes[style % 5]);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

void PaintInPoints(QPainter& p, const figure::Figure& f, QSizeF size, FigureStyle style) {
  p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
  const QFont tickFont = PointFont(p, kTickFont);
  const QFont titleFont = PointFont(p, kTitleFont);
  const QFontMetricsF tm(tickFont, p.device());
  const QFontMetricsF hm(titleFont, p.device());
  p.setPen(Qt::black);
  if (!f.note.empty()) {
    p.setFont(titleFont);
    p.drawText(QRectF(QPointF(kMargin, kMargin), size - QSizeF(2 * kMargin, 2 * kMargin)),
               Qt::AlignCenter | Qt::TextWordWrap, QString::fromStdString(f.note));
    return;
  }

  // The legend: as many columns as the widest name allows.
  double nameWidth = 0;
  for (const figure::Line& l : f.lines) nameWidth = std::max(nameWidth, tm.horizontalAdvance(QString::fromStdString(l.name)));
  const double entry = kSample + 6 + nameWidth + 14;
  const int columns = std::max(1, std::min(static_cast<int>(f.lines.size()),
                                           static_cast<int>((size.width() - 2 * kMargin) / entry)));
  const int rows = (static_cast<int>(f.lines.size()) + columns - 1) / columns;
  const double rowHeight = tm.height() + 2;
  const double legendHeight = rows * rowHeight;

  double yLabelWidth = 0;
  for (const figure::Tick& t : f.yTicks) yLabelWidth = std::max(yLabelWidth, tm.horizontalAdvance(QString::fromStdString(t.label)));
  const QString xTitle = QString::fromStdString(f.xTitle);
  const QString yTitle = QString::fromStdString(f.yTitle);
  const double left = kMargin + (yTitle.isEmpty() ? 0 : hm.height() + 4) + yLabelWidth + kTickLength + 3;
  const double right = size.width() - kMargin - tm.horizontalAdvance(QString::fromStdString(
                                                    f.xTicks.empty() ? std::string() : f.xTicks.back().label)) / 2;
  const double top = kMargin + tm.height() / 2;
  const double bottom = size.height() - kMargin - legendHeight - 6 - (xTitle.isEmpty() ? 0 : hm.height() + 2) -
                        tm.height() - kTickLength - 3;
  if (right - left < 20 || bottom - top < 20) {
    p.setFont(titleFont);
    p.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("The figure is too small to draw."));
    return;
  }
  const QRectF plot(QPointF(left, top), QPointF(right, bottom));
  const double xSpan = f.xMax - f.xMin, ySpan = f.yMax - f.yMin;
  auto X = [&](double x) { return plot.left() + (x - f.xMin) / xSpan * plot.width(); };
  auto Y = [&](double y) { return plot.bottom() - (y - f.yMin) / ySpan * plot.height(); };

  // Axes, ticks and their labels.
  p.setFont(tickFont);
  p.setPen(QPen(Qt::black, 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(plot.left(), plot.bottom()), QPointF(plot.right(), plot.bottom()));
  p.drawLine(QPointF(plot.left(), plot.top()), QPointF(plot.left(), plot.bottom()));
  for (const figure::Tick& t : f.xTicks) {
    const double x = X(t.value);
    p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kTickLength));
    const QString label = QString::fromStdString(t.label);
    const double w = tm.horizontalAdvance(label);
    p.drawText(QPointF(x - w / 2, plot.bottom() + kTickLength + 2 + tm.ascent()), label);
  }
  for (const figure::Tick& t : f.yTicks) {
    const double y = Y(t.value);
    p.drawLine(QPointF(plot.left() - kTickLength, y), QPointF(plot.left(), y));
    const QString label = QString::fromStdString(t.label);
    const double w = tm.horizontalAdvance(label);
    p.drawText(QPointF(plot.left() - kTickLength - 3 - w, y + tm.ascent() / 2 - tm.descent() / 2), label);
  }
  p.setFont(titleFont);
  if (!xTitle.isEmpty()) {
    const double w = hm.horizontalAdvance(xTitle);
    p.drawText(QPointF(plot.center().x() - w / 2, plot.bottom() + kTickLength + 3 + tm.height() + hm.ascent()),
               xTitle);
  }
  if (!yTitle.isEmpty()) {
    p.save();
    p.translate(kMargin + hm.ascent(), plot.center().y() + hm.horizontalAdvance(yTitle) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), yTitle);
    p.restore();
  }

  // The lines, clipped to the plot area, then their markers.
  p.save();
  p.setClipRect(plot.adjusted(-kMarker * 2, -kMarker * 2, kMarker * 2, kMarker * 2));
  p.setRenderHint(QPainter::Antialiasing, true);
  for (const figure::Line& l : f.lines) {
    p.setPen(LinePen(l.style, style));
    QPainterPath path(QPointF(X(l.xFrom), Y(l.yFrom)));
    path.lineTo(QPointF(X(l.xTo), Y(l.yTo)));
    p.drawPath(path);
  }
  for (const figure::Line& l : f.lines) {
    for (auto [x, y] : {std::pair{l.x1, l.y1}, std::pair{l.x2, l.y2}}) {
      if (x < f.xMin || x > f.xMax) continue;
      Marker(p, QPointF(X(x), Y(y)), l.style, LineColour(l.style, style));
    }
  }
  if (f.meeting) {
    const QPointF at(X(f.meeting->x), Y(f.meeting->y));
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, kMarker * 2, kMarker * 2);
    p.setFont(tickFont);
    const QString label = QString::fromStdString(f.meeting->label);
    const double w = tm.horizontalAdvance(label);
    const double lx = std::clamp(at.x() - w / 2, plot.left() + 2, plot.right() - w - 2);
    const double ly = at.y() - kMarker * 2 - 3 < plot.top() + tm.height() ? at.y() + kMarker * 2 + 3 + tm.ascent()
                                                                            : at.y() - kMarker * 2 - 3;
    p.drawText(QPointF(lx, ly), label);
  }
  p.restore();

  // The legend.
  p.setFont(tickFont);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double legendTop = size.height() - kMargin - legendHeight;
  for (std::size_t i = 0; i < f.lines.size(); ++i) {
    const figure::Line& l = f.lines[i];
    const int row = static_cast<int>(i) / columns, column = static_cast<int>(i) % columns;
    const double x0 = kMargin + column * entry, yMid = legendTop + row * rowHeight + rowHeight / 2;
    p.setPen(LinePen(l.style, style));
    p.drawLine(QPointF(x0, yMid), QPointF(x0 + kSample, yMid));
    Marker(p, QPointF(x0 + kSample / 2, yMid), l.style, LineColour(l.style, style));
    p.setPen(Qt::black);
    p.drawText(QPointF(x0 + kSample + 6, yMid + tm.ascent() / 2 - tm.descent() / 2), QString::fromStdString(l.name));
  }
}

}  // namespace

void PaintFigure(QPainter& painter, const figure::Figure& figure, const QRectF& area, double dpi,
                 FigureStyle style) {
  painter.save();
  painter.translate(area.topLeft());
  const double scale = dpi / 72.0;
  painter.scale(scale, scale);
  PaintInPoints(painter, figure, area.size() / scale, style);
  painter.restore();
}

}  // namespace marvane
