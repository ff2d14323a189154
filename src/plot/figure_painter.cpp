#include "plot/figure_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace marvane {
namespace {

constexpr double kMargin = 8;       // pt
constexpr double kTickLength = 4;   // pt
constexpr double kTickFont = 9;     // pt
constexpr double kTitleFont = 10;   // pt
constexpr double kLineWidth = 1.5;  // pt
constexpr double kMarker = 3.2;     // pt, half the marker's size
constexpr double kSample = 28;      // pt, the legend's line sample
constexpr double kEdgeWidth = 0.8;  // pt, a band's edges in black and white
constexpr double kBoundWidth = 0.6; // pt, the marks of a region's bounds
constexpr double kBracketTick = 3;  // pt, the ends of the bracket
constexpr double kBandAlpha = 0.18; // the opacity of a band's fill in colour

// The shaded intervals: a grey light enough for the lines and bands over it.
const QColor kSpanGrey(0xE4, 0xE4, 0xE4);

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

QColor BandFill(int style) {
  QColor c = kPalette[style % 6];
  c.setAlphaF(kBandAlpha);
  return c;
}

QPen EdgePen(int style) {
  QPen pen(Qt::black, kEdgeWidth);
  pen.setStyle(kDashes[style % 5]);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

// A band as a closed polygon (colour) or as its two edges (black and white).
template <typename ToX, typename ToY>
void PaintBand(QPainter& p, const figure::Band& b, FigureStyle style, ToX X, ToY Y) {
  const std::size_t n = std::min({b.x.size(), b.lower.size(), b.upper.size()});
  if (n < 2) return;
  QPolygonF lower, upper;
  for (std::size_t i = 0; i < n; ++i) {
    lower << QPointF(X(b.x[i]), Y(b.lower[i]));
    upper << QPointF(X(b.x[i]), Y(b.upper[i]));
  }
  if (style == FigureStyle::Colour) {
    QPolygonF area = upper;
    for (auto it = lower.crbegin(); it != lower.crend(); ++it) area << *it;
    p.setPen(Qt::NoPen);
    p.setBrush(BandFill(b.style));
    p.drawPolygon(area);
  } else {
    p.setPen(EdgePen(b.style));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(lower);
    p.drawPolyline(upper);
  }
}

// How many of the drawn curves' sample points fall in `r`: where a label
// hides least of the figure.
int Crowding(const QRectF& r, const std::vector<QPolygonF>& curves) {
  int n = 0;
  for (const QPolygonF& c : curves) {
    for (const QPointF& q : c) n += r.contains(q) ? 1 : 0;
  }
  return n;
}

// A label with a white, slightly see-through ground, so lines behind it
// stay visible while the text stays legible.
void LabelAt(QPainter& p, const QRectF& box, const QString& text, const QFontMetricsF& fm) {
  QColor ground(Qt::white);
  ground.setAlphaF(0.8);
  p.setPen(Qt::NoPen);
  p.setBrush(ground);
  p.drawRect(box);
  p.setPen(Qt::black);
  p.drawText(QPointF(box.left() + 1, box.top() + 1 + fm.ascent()), text);
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

  // The legend: the lines, then the band and the shaded intervals where
  // they are named; as many columns as the widest name allows.
  enum class Entry { Line, Band, Span };
  struct LegendEntry {
    Entry kind;
    std::size_t line;
    QString name;
  };
  std::vector<LegendEntry> legend;
  for (std::size_t i = 0; i < f.lines.size(); ++i) legend.push_back({Entry::Line, i, QString::fromStdString(f.lines[i].name)});
  if (!f.bandLegend.empty() && !f.bands.empty()) legend.push_back({Entry::Band, 0, QString::fromStdString(f.bandLegend)});
  if (!f.spanLegend.empty()) legend.push_back({Entry::Span, 0, QString::fromStdString(f.spanLegend)});
  double nameWidth = 0;
  for (const LegendEntry& e : legend) nameWidth = std::max(nameWidth, tm.horizontalAdvance(e.name));
  const double entry = kSample + 6 + nameWidth + 14;
  const int columns = std::max(1, std::min(static_cast<int>(legend.size()),
                                           static_cast<int>((size.width() - 2 * kMargin) / entry)));
  const int rows = (static_cast<int>(legend.size()) + columns - 1) / columns;
  const double rowHeight = tm.height() + 2;
  const double legendHeight = rows * rowHeight;
  // The bracket's row under the tick labels: the bracket, then its label.
  const double bracketHeight = f.bracket ? kBracketTick + 3 + tm.height() + 4 : 0;

  double yLabelWidth = 0;
  for (const figure::Tick& t : f.yTicks) yLabelWidth = std::max(yLabelWidth, tm.horizontalAdvance(QString::fromStdString(t.label)));
  const QString xTitle = QString::fromStdString(f.xTitle);
  const QString yTitle = QString::fromStdString(f.yTitle);
  const double left = kMargin + (yTitle.isEmpty() ? 0 : hm.height() + 4) + yLabelWidth + kTickLength + 3;
  const double right = size.width() - kMargin - tm.horizontalAdvance(QString::fromStdString(
                                                    f.xTicks.empty() ? std::string() : f.xTicks.back().label)) / 2;
  const double top = kMargin + tm.height() / 2;
  const double bottom = size.height() - kMargin - legendHeight - 6 - (xTitle.isEmpty() ? 0 : hm.height() + 2) -
                        tm.height() - kTickLength - 3 - bracketHeight;
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
    p.drawText(QPointF(plot.center().x() - w / 2,
                       plot.bottom() + kTickLength + 3 + tm.height() + bracketHeight + hm.ascent()),
               xTitle);
  }
  if (!yTitle.isEmpty()) {
    // A long title (a pair of lines' names) is cut to the plot's height.
    const QString shown = hm.elidedText(yTitle, Qt::ElideRight, plot.height());
    p.save();
    p.translate(kMargin + hm.ascent(), plot.center().y() + hm.horizontalAdvance(shown) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), shown);
    p.restore();
  }

  // Under everything else: the shaded intervals, the zero line, the bands
  // and the marks of the bounds, all inside the plot area.
  p.save();
  p.setClipRect(plot);
  for (const figure::Span& sp : f.spans) {
    const double a = std::max(X(sp.from), plot.left()), b = std::min(X(sp.to), plot.right());
    if (b > a) p.fillRect(QRectF(QPointF(a, plot.top()), QPointF(b, plot.bottom())), kSpanGrey);
  }
  p.setRenderHint(QPainter::Antialiasing, true);
  for (const figure::Band& b : f.bands) PaintBand(p, b, style, X, Y);
  p.setRenderHint(QPainter::Antialiasing, false);
  if (f.zeroLine && f.yMin < 0 && f.yMax > 0) {
    p.setPen(QPen(Qt::black, kBoundWidth));
    p.drawLine(QPointF(plot.left(), Y(0)), QPointF(plot.right(), Y(0)));
  }
  QPen boundPen(Qt::black, kBoundWidth);
  boundPen.setStyle(Qt::DashLine);
  p.setPen(boundPen);
  for (const figure::Bound& b : f.bounds) p.drawLine(QPointF(X(b.x), plot.top()), QPointF(X(b.x), plot.bottom()));
  p.restore();

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
    if (!l.markers) continue;
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
    // On a ground of its own, so band edges behind it do not cross it out.
    LabelAt(p, QRectF(QPointF(lx - 1, ly - tm.ascent() - 1), QSizeF(w + 2, tm.height() + 2)), label, tm);
  }
  p.restore();

  // The bounds' labels: at the top or the bottom of the plot, on either side
  // of the mark, wherever they cover least of the lines and bands; a label
  // that would run into the one before it moves down a row.
  if (!f.bounds.empty()) {
    std::vector<QPolygonF> curves;
    for (const figure::Line& l : f.lines) {
      QPolygonF c;
      for (int i = 0; i <= 80; ++i) {
        const double t = i / 80.0;
        c << QPointF(X(l.xFrom + t * (l.xTo - l.xFrom)), Y(l.yFrom + t * (l.yTo - l.yFrom)));
      }
      curves.push_back(c);
    }
    for (const figure::Band& b : f.bands) {
      QPolygonF lo, hi;
      for (std::size_t i = 0; i < b.x.size() && i < b.lower.size() && i < b.upper.size(); ++i) {
        lo << QPointF(X(b.x[i]), Y(b.lower[i]));
        hi << QPointF(X(b.x[i]), Y(b.upper[i]));
      }
      curves.push_back(lo);
      curves.push_back(hi);
    }
    p.setFont(tickFont);
    std::vector<QRectF> placed;
    for (const figure::Bound& b : f.bounds) {
      const QString label = QString::fromStdString(b.label);
      const QSizeF box(tm.horizontalAdvance(label) + 2, tm.height() + 2);
      const double x = X(b.x);
      QRectF best;
      int bestScore = -1;
      for (int row = 0; row < 3 && bestScore != 0; ++row) {
        const double topY = plot.top() + 2 + row * box.height();
        const double bottomY = plot.bottom() - 2 - (row + 1) * box.height();
        for (double y : {topY, bottomY}) {
          for (double left : {x + 2, x - 2 - box.width()}) {
            const QRectF r(QPointF(std::clamp(left, plot.left() + 1, plot.right() - 1 - box.width()), y), box);
            bool clash = false;
            for (const QRectF& o : placed) clash = clash || o.intersects(r);
            // A label across another bound's mark reads as that bound's.
            int across = 0;
            for (const figure::Bound& other : f.bounds) {
              const double ox = X(other.x);
              across += &other != &b && ox > r.left() && ox < r.right() ? 1 : 0;
            }
            const int score = Crowding(r, curves) + (clash ? 1000 : 0) + 100 * across + row;
            if (bestScore < 0 || score < bestScore) {
              bestScore = score;
              best = r;
            }
          }
        }
      }
      placed.push_back(best);
      LabelAt(p, best, label, tm);
    }
  }

  // The bracket of an interval on X, under the tick labels: its ends turn
  // up towards the axis, an end cut off by the range stays open, the point
  // estimate is a small triangle on it, and its label sits under it.
  if (f.bracket) {
    const figure::Bracket& b = *f.bracket;
    const double y = plot.bottom() + kTickLength + 3 + tm.height() + kBracketTick;
    const double a = X(b.from), c = X(b.to);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(a, y), QPointF(c, y));
    if (!b.openFrom) p.drawLine(QPointF(a, y), QPointF(a, y - kBracketTick));
    if (!b.openTo) p.drawLine(QPointF(c, y), QPointF(c, y - kBracketTick));
    // An open end: a small arrowhead pointing on beyond the range.
    for (auto [open, at, dir] : {std::tuple{b.openFrom, a, -1.0}, std::tuple{b.openTo, c, 1.0}}) {
      if (!open) continue;
      p.drawLine(QPointF(at, y), QPointF(at - dir * 3, y - 2));
      p.drawLine(QPointF(at, y), QPointF(at - dir * 3, y + 2));
    }
    if (b.estimateShown) {
      const double e = X(b.estimate);
      const QPointF tri[] = {{e, y - 0.5}, {e - 2.5, y + 3.5}, {e + 2.5, y + 3.5}};
      p.setBrush(Qt::black);
      p.drawPolygon(tri, 3);
    }
    p.setFont(tickFont);
    const QString label = QString::fromStdString(b.label);
    const double w = tm.horizontalAdvance(label);
    const double lx = std::clamp((a + c) / 2 - w / 2, kMargin, size.width() - kMargin - w);
    p.setPen(Qt::black);
    p.drawText(QPointF(lx, y + 3 + tm.ascent()), label);
  }

  // The legend.
  p.setFont(tickFont);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double legendTop = size.height() - kMargin - legendHeight;
  for (std::size_t i = 0; i < legend.size(); ++i) {
    const LegendEntry& e = legend[i];
    const int row = static_cast<int>(i) / columns, column = static_cast<int>(i) % columns;
    const double x0 = kMargin + column * entry, yMid = legendTop + row * rowHeight + rowHeight / 2;
    const QRectF swatch(QPointF(x0, yMid - tm.ascent() / 2), QSizeF(kSample, tm.ascent()));
    switch (e.kind) {
      case Entry::Line: {
        const figure::Line& l = f.lines[e.line];
        p.setPen(LinePen(l.style, style));
        p.drawLine(QPointF(x0, yMid), QPointF(x0 + kSample, yMid));
        if (l.markers) Marker(p, QPointF(x0 + kSample / 2, yMid), l.style, LineColour(l.style, style));
        break;
      }
      case Entry::Band: {
        const int bandStyle = f.bands.front().style;
        if (style == FigureStyle::Colour) {
          p.fillRect(swatch, BandFill(bandStyle));
        } else {
          p.setPen(EdgePen(bandStyle));
          p.drawLine(swatch.topLeft(), swatch.topRight());
          p.drawLine(swatch.bottomLeft(), swatch.bottomRight());
        }
        break;
      }
      case Entry::Span:
        p.fillRect(swatch, kSpanGrey);
        break;
    }
    p.setPen(Qt::black);
    p.drawText(QPointF(x0 + kSample + 6, yMid + tm.ascent() / 2 - tm.descent() / 2), e.name);
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
