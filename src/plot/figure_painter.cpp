#include "plot/figure_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cstddef>
#include <tuple>
#include <utility>
#include <vector>

#include "shell/qt_text.h"

namespace marvane {
namespace {

// Sizes, all in points.
constexpr double kMargin = 8;          // around the figure
constexpr double kTickLength = 4;
constexpr double kTickFont = 9;        // tick labels, legend, the labels in the plot
constexpr double kTitleFont = 10;      // axis titles and notes
constexpr double kAxisWidth = 0.8;
constexpr double kLineWidth = 1.5;
constexpr double kMarker = 3.2;        // half the marker's size
constexpr double kMarkerPen = 1.0;     // the outline of markers, the meeting point and the bracket
constexpr double kEdgeWidth = 0.8;     // a band's edges in black and white
constexpr double kBoundWidth = 0.6;    // the zero line and the marks of a region's bounds
constexpr double kBracketTick = 3;     // the ends of the bracket
constexpr double kSample = 28;         // the legend's line sample
constexpr double kSampleGap = 6;       // between a legend sample and its name
constexpr double kEntryGap = 14;       // between legend columns
constexpr double kBandAlpha = 0.18;    // the opacity of a band's fill in colour
constexpr double kLabelGround = 0.8;   // the opacity of a label's white ground

// ---------------------------------------------------------------------------
// The look of a line by its style number (0, 1, 2, ...). Each table is used
// in turn, style modulo its length, so any number of lines gets a look.

struct Rgb {
  int red, green, blue;
};

// Okabe and Ito's palette, without the yellow that fades on white.
constexpr Rgb kPalette[] = {
    {0x00, 0x72, 0xB2},  // blue
    {0xD5, 0x5E, 0x00},  // vermilion
    {0x00, 0x9E, 0x73},  // bluish green
    {0xCC, 0x79, 0xA7},  // reddish purple
    {0xE6, 0x9F, 0x00},  // orange
    {0x56, 0xB4, 0xE9},  // sky blue
};

constexpr Qt::PenStyle kDashes[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};

// A marker's shape: a circle or a square of the marker's size, or the
// polygon of its corners, in units of half its size (y down). Filled and
// open shapes alternate, so even two lines of the same shape class stay
// apart in grey.
enum class Outline { Circle, Square, Polygon };
struct Corner {
  double x, y;
};
struct MarkerShape {
  Outline outline;
  bool filled;  // in the line's colour; open ones are white inside
  int corners;  // of a polygon
  std::array<Corner, 4> corner;
};
constexpr MarkerShape kMarkers[] = {
    {Outline::Circle, true, 0, {}},
    {Outline::Square, false, 0, {}},
    {Outline::Polygon, true, 3, {{{0, -1.2}, {1.1, 0.9}, {-1.1, 0.9}, {0, 0}}}},  // triangle
    {Outline::Polygon, false, 4, {{{0, -1.3}, {1.3, 0}, {0, 1.3}, {-1.3, 0}}}},   // diamond
};

// The shaded intervals: a grey light enough for the lines and bands over it.
constexpr Rgb kSpanGrey{0xE4, 0xE4, 0xE4};

template <typename T, std::size_t N>
const T& ByStyle(const T (&table)[N], int style) {
  const int n = static_cast<int>(N);
  return table[static_cast<std::size_t>((style % n + n) % n)];
}

QColor ToColour(const Rgb& c) { return QColor(c.red, c.green, c.blue); }

QColor LineColour(int style, FigureStyle s) {
  return s == FigureStyle::Colour ? ToColour(ByStyle(kPalette, style)) : QColor(Qt::black);
}

QPen DashedPen(const QColor& colour, double width, int style) {
  QPen pen(colour, width);
  pen.setStyle(ByStyle(kDashes, style));
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

QPen LinePen(int style, FigureStyle s) { return DashedPen(LineColour(style, s), kLineWidth, style); }
QPen EdgePen(int style) { return DashedPen(Qt::black, kEdgeWidth, style); }

QColor BandFill(int style) {
  QColor c = ToColour(ByStyle(kPalette, style));
  c.setAlphaF(kBandAlpha);
  return c;
}

void PaintMarker(QPainter& p, QPointF at, int style, const QColor& colour) {
  const MarkerShape& shape = ByStyle(kMarkers, style);
  p.setPen(QPen(colour, kMarkerPen));
  p.setBrush(shape.filled ? QBrush(colour) : QBrush(Qt::white));
  switch (shape.outline) {
    case Outline::Circle:
      p.drawEllipse(at, kMarker, kMarker);
      return;
    case Outline::Square:
      p.drawRect(QRectF(at.x() - kMarker, at.y() - kMarker, 2 * kMarker, 2 * kMarker));
      return;
    case Outline::Polygon:
      break;
  }
  QPolygonF outline;
  for (int i = 0; i < shape.corners; ++i) {
    const Corner& c = shape.corner[static_cast<std::size_t>(i)];
    outline << QPointF(at.x() + c.x * kMarker, at.y() + c.y * kMarker);
  }
  p.drawPolygon(outline);
}

// ---------------------------------------------------------------------------
// The type and the layout.

// A font of `points` size in the painter's point space (the painter is
// scaled so that one unit is one point).
QFont PointFont(const QPaintDevice* device, double points) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  const int dpi = device != nullptr ? device->logicalDpiY() : 72;
  font.setPointSizeF(points * 72.0 / std::max(1, dpi));
  return font;
}

struct Type {
  explicit Type(const QPaintDevice* device)
      : tick(PointFont(device, kTickFont)), title(PointFont(device, kTitleFont)), tm(tick, device),
        hm(title, device) {}
  QFont tick, title;
  QFontMetricsF tm, hm;  // of the tick font and of the title font
};

enum class EntryKind { Line, Band, Span };
struct LegendEntry {
  EntryKind kind;
  std::size_t line;  // for a line's entry
  QString name;
};

// The legend under everything else: the lines, then the band and the shaded
// intervals where they are named; as many columns as the widest name allows.
struct Legend {
  std::vector<LegendEntry> entries;
  int columns = 1, rows = 0;
  double entryWidth = 0, rowHeight = 0, top = 0;
  double Height() const { return rows * rowHeight; }
};

struct Layout {
  QSizeF size;           // the whole figure's
  bool fits = false;     // else the figure is too small to draw
  QRectF plot;           // the data area
  double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
  double bracketHeight = 0;  // the bracket's row under the tick labels, 0 for none
  double bracketY = 0;       // the bracket's line
  double xTitleBaseline = 0;
  Legend legend;
  double X(double x) const { return plot.left() + (x - xMin) / (xMax - xMin) * plot.width(); }
  double Y(double y) const { return plot.bottom() - (y - yMin) / (yMax - yMin) * plot.height(); }
  QPointF At(double x, double y) const { return {X(x), Y(y)}; }
};

Legend LayOutLegend(const figure::Figure& f, QSizeF size, const Type& type) {
  Legend legend;
  for (std::size_t i = 0; i < f.lines.size(); ++i) {
    legend.entries.push_back({EntryKind::Line, i, Q(f.lines[i].name)});
  }
  if (!f.bandLegend.empty() && !f.bands.empty()) {
    legend.entries.push_back({EntryKind::Band, 0, Q(f.bandLegend)});
  }
  if (!f.spanLegend.empty()) legend.entries.push_back({EntryKind::Span, 0, Q(f.spanLegend)});
  double nameWidth = 0;
  for (const LegendEntry& e : legend.entries) nameWidth = std::max(nameWidth, type.tm.horizontalAdvance(e.name));
  const int count = static_cast<int>(legend.entries.size());
  legend.entryWidth = kSample + kSampleGap + nameWidth + kEntryGap;
  legend.columns = std::max(1, std::min(count, static_cast<int>((size.width() - 2 * kMargin) / legend.entryWidth)));
  legend.rows = (count + legend.columns - 1) / legend.columns;
  legend.rowHeight = type.tm.height() + 2;
  legend.top = size.height() - kMargin - legend.Height();
  return legend;
}

// Where everything goes on a figure of `size` points: the plot's rectangle
// between the y axis's title and tick labels on the left, the last x tick
// label's overhang on the right, and the tick labels, the bracket, the x
// axis's title and the legend below.
Layout LayOut(const figure::Figure& f, QSizeF size, const Type& type) {
  const QFontMetricsF& tm = type.tm;
  const QFontMetricsF& hm = type.hm;
  Layout l;
  l.size = size;
  l.xMin = f.xMin, l.xMax = f.xMax, l.yMin = f.yMin, l.yMax = f.yMax;
  l.legend = LayOutLegend(f, size, type);
  l.bracketHeight = f.bracket ? kBracketTick + 3 + tm.height() + 4 : 0;
  double yLabelWidth = 0;
  for (const figure::Tick& t : f.yTicks) {
    yLabelWidth = std::max(yLabelWidth, tm.horizontalAdvance(Q(t.label)));
  }
  const QString lastXLabel = Q(f.xTicks.empty() ? std::string() : f.xTicks.back().label);
  const double left = kMargin + (f.yTitle.empty() ? 0 : hm.height() + 4) + yLabelWidth + kTickLength + 3;
  const double right = size.width() - kMargin - tm.horizontalAdvance(lastXLabel) / 2;
  const double top = kMargin + tm.height() / 2;
  const double bottom = l.legend.top - 6 - (f.xTitle.empty() ? 0 : hm.height() + 2) - tm.height() - kTickLength -
                        3 - l.bracketHeight;
  l.fits = right - left >= 20 && bottom - top >= 20;
  l.plot = QRectF(QPointF(left, top), QPointF(right, bottom));
  l.bracketY = bottom + kTickLength + 3 + tm.height() + kBracketTick;
  l.xTitleBaseline = bottom + kTickLength + 3 + tm.height() + l.bracketHeight + hm.ascent();
  return l;
}

// ---------------------------------------------------------------------------
// The layers, each painted by a step of its own, bottom to top.

struct Sheet {
  QPainter& p;
  const figure::Figure& f;
  const Layout& at;
  const Type& type;
  FigureStyle style;
};

// Saves the painter's state and clips it to `r` while in scope.
class Clip {
 public:
  Clip(QPainter& p, const QRectF& r) : p_(p) {
    p_.save();
    p_.setClipRect(r);
  }
  ~Clip() { p_.restore(); }
  Clip(const Clip&) = delete;
  Clip& operator=(const Clip&) = delete;

 private:
  QPainter& p_;
};

// A message instead of a figure: the figure's note, or that it does not fit.
void PaintMessage(QPainter& p, const Type& type, const QRectF& box, const QString& text) {
  p.setFont(type.title);
  p.setPen(Qt::black);
  p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
}

// A label with a white, slightly see-through ground, so lines behind it
// stay visible while the text stays legible.
void LabelAt(QPainter& p, const QRectF& box, const QString& text, const QFontMetricsF& fm) {
  QColor ground(Qt::white);
  ground.setAlphaF(kLabelGround);
  p.setPen(Qt::NoPen);
  p.setBrush(ground);
  p.drawRect(box);
  p.setPen(Qt::black);
  p.drawText(QPointF(box.left() + 1, box.top() + 1 + fm.ascent()), text);
}

void PaintAxes(const Sheet& s) {
  const QRectF& plot = s.at.plot;
  s.p.setRenderHint(QPainter::Antialiasing, false);
  s.p.setPen(QPen(Qt::black, kAxisWidth));
  s.p.setBrush(Qt::NoBrush);
  s.p.drawLine(plot.bottomLeft(), plot.bottomRight());
  s.p.drawLine(plot.topLeft(), plot.bottomLeft());
}

void PaintTicks(const Sheet& s) {
  const QRectF& plot = s.at.plot;
  const QFontMetricsF& tm = s.type.tm;
  s.p.setRenderHint(QPainter::Antialiasing, false);
  s.p.setFont(s.type.tick);
  s.p.setPen(QPen(Qt::black, kAxisWidth));
  for (const figure::Tick& t : s.f.xTicks) {
    const double x = s.at.X(t.value);
    s.p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kTickLength));
    const QString label = Q(t.label);
    s.p.drawText(QPointF(x - tm.horizontalAdvance(label) / 2, plot.bottom() + kTickLength + 2 + tm.ascent()), label);
  }
  for (const figure::Tick& t : s.f.yTicks) {
    const double y = s.at.Y(t.value);
    s.p.drawLine(QPointF(plot.left() - kTickLength, y), QPointF(plot.left(), y));
    const QString label = Q(t.label);
    const double w = tm.horizontalAdvance(label);
    s.p.drawText(QPointF(plot.left() - kTickLength - 3 - w, y + tm.ascent() / 2 - tm.descent() / 2), label);
  }
}

void PaintAxisTitles(const Sheet& s) {
  const QFontMetricsF& hm = s.type.hm;
  const QString xTitle = Q(s.f.xTitle);
  const QString yTitle = Q(s.f.yTitle);
  s.p.setFont(s.type.title);
  s.p.setPen(Qt::black);
  if (!xTitle.isEmpty()) {
    s.p.drawText(QPointF(s.at.plot.center().x() - hm.horizontalAdvance(xTitle) / 2, s.at.xTitleBaseline), xTitle);
  }
  if (!yTitle.isEmpty()) {
    // A long title (a pair of lines' names) is cut to the plot's height.
    const QString shown = hm.elidedText(yTitle, Qt::ElideRight, s.at.plot.height());
    s.p.save();
    s.p.translate(kMargin + hm.ascent(), s.at.plot.center().y() + hm.horizontalAdvance(shown) / 2);
    s.p.rotate(-90);
    s.p.drawText(QPointF(0, 0), shown);
    s.p.restore();
  }
}

// Under everything else, inside the plot: the shaded intervals.
void PaintSpans(const Sheet& s) {
  const QRectF& plot = s.at.plot;
  const Clip clip(s.p, plot);
  s.p.setRenderHint(QPainter::Antialiasing, false);
  for (const figure::Span& sp : s.f.spans) {
    const double a = std::max(s.at.X(sp.from), plot.left()), b = std::min(s.at.X(sp.to), plot.right());
    if (b > a) s.p.fillRect(QRectF(QPointF(a, plot.top()), QPointF(b, plot.bottom())), ToColour(kSpanGrey));
  }
}

// A band's lower and upper edges in points.
std::pair<QPolygonF, QPolygonF> BandEdges(const Layout& at, const figure::Band& b) {
  const std::size_t n = std::min({b.x.size(), b.lower.size(), b.upper.size()});
  QPolygonF lower, upper;
  for (std::size_t i = 0; i < n; ++i) {
    lower << at.At(b.x[i], b.lower[i]);
    upper << at.At(b.x[i], b.upper[i]);
  }
  return {lower, upper};
}

// Each band as a light closed area of its line's colour (colour), or as its
// two edges in its line's dashes (black and white).
void PaintBands(const Sheet& s) {
  const Clip clip(s.p, s.at.plot);
  s.p.setRenderHint(QPainter::Antialiasing, true);
  for (const figure::Band& b : s.f.bands) {
    const auto [lower, upper] = BandEdges(s.at, b);
    if (lower.size() < 2) continue;
    if (s.style == FigureStyle::Colour) {
      QPolygonF area = upper;
      for (auto it = lower.crbegin(); it != lower.crend(); ++it) area << *it;
      s.p.setPen(Qt::NoPen);
      s.p.setBrush(BandFill(b.style));
      s.p.drawPolygon(area);
    } else {
      s.p.setPen(EdgePen(b.style));
      s.p.setBrush(Qt::NoBrush);
      s.p.drawPolyline(lower);
      s.p.drawPolyline(upper);
    }
  }
}

// The zero line and the dashed marks of the bounds, over the bands.
void PaintBoundMarks(const Sheet& s) {
  const QRectF& plot = s.at.plot;
  const Clip clip(s.p, plot);
  s.p.setRenderHint(QPainter::Antialiasing, false);
  if (s.f.zeroLine && s.f.yMin < 0 && s.f.yMax > 0) {
    s.p.setPen(QPen(Qt::black, kBoundWidth));
    s.p.drawLine(QPointF(plot.left(), s.at.Y(0)), QPointF(plot.right(), s.at.Y(0)));
  }
  QPen boundPen(Qt::black, kBoundWidth);
  boundPen.setStyle(Qt::DashLine);
  s.p.setPen(boundPen);
  for (const figure::Bound& b : s.f.bounds) {
    s.p.drawLine(QPointF(s.at.X(b.x), plot.top()), QPointF(s.at.X(b.x), plot.bottom()));
  }
}

// The lines, their markers and the meeting point may reach a little beyond
// the plot: a marker at the range's end is drawn whole.
QRectF LinesClip(const Layout& at) { return at.plot.adjusted(-kMarker * 2, -kMarker * 2, kMarker * 2, kMarker * 2); }

void PaintLines(const Sheet& s) {
  const Clip clip(s.p, LinesClip(s.at));
  s.p.setRenderHint(QPainter::Antialiasing, true);
  s.p.setBrush(Qt::NoBrush);
  for (const figure::Line& l : s.f.lines) {
    s.p.setPen(LinePen(l.style, s.style));
    QPainterPath path(s.at.At(l.xFrom, l.yFrom));
    path.lineTo(s.at.At(l.xTo, l.yTo));
    s.p.drawPath(path);
  }
}

void PaintMarkers(const Sheet& s) {
  const Clip clip(s.p, LinesClip(s.at));
  s.p.setRenderHint(QPainter::Antialiasing, true);
  for (const figure::Line& l : s.f.lines) {
    if (!l.markers) continue;
    for (auto [x, y] : {std::pair{l.x1, l.y1}, std::pair{l.x2, l.y2}}) {
      if (x < s.f.xMin || x > s.f.xMax) continue;
      PaintMarker(s.p, s.at.At(x, y), l.style, LineColour(l.style, s.style));
    }
  }
}

// The point where all lines meet: a ring, and its label above it (or under
// it near the top) on a ground of its own, so band edges do not cross it out.
void PaintMeetingPoint(const Sheet& s) {
  if (!s.f.meeting) return;
  const QRectF& plot = s.at.plot;
  const QFontMetricsF& tm = s.type.tm;
  const Clip clip(s.p, LinesClip(s.at));
  s.p.setRenderHint(QPainter::Antialiasing, true);
  const QPointF at = s.at.At(s.f.meeting->x, s.f.meeting->y);
  s.p.setPen(QPen(Qt::black, kMarkerPen));
  s.p.setBrush(Qt::NoBrush);
  s.p.drawEllipse(at, kMarker * 2, kMarker * 2);
  s.p.setFont(s.type.tick);
  const QString label = Q(s.f.meeting->label);
  const double w = tm.horizontalAdvance(label);
  const double lx = std::clamp(at.x() - w / 2, plot.left() + 2, plot.right() - w - 2);
  const double above = at.y() - kMarker * 2 - 3;
  const double ly = above < plot.top() + tm.height() ? at.y() + kMarker * 2 + 3 + tm.ascent() : above;
  LabelAt(s.p, QRectF(QPointF(lx - 1, ly - tm.ascent() - 1), QSizeF(w + 2, tm.height() + 2)), label, tm);
}

// The drawn lines and band edges as points, to count how much a label hides.
std::vector<QPolygonF> DrawnCurves(const Sheet& s) {
  std::vector<QPolygonF> curves;
  for (const figure::Line& l : s.f.lines) {
    QPolygonF c;
    for (int i = 0; i <= 80; ++i) {
      const double t = i / 80.0;
      c << s.at.At(l.xFrom + t * (l.xTo - l.xFrom), l.yFrom + t * (l.yTo - l.yFrom));
    }
    curves.push_back(c);
  }
  for (const figure::Band& b : s.f.bands) {
    auto [lower, upper] = BandEdges(s.at, b);
    curves.push_back(std::move(lower));
    curves.push_back(std::move(upper));
  }
  return curves;
}

// Where bound `b`'s label of `box` size goes: at the top or the bottom of
// the plot, on either side of its mark, wherever it covers least of the
// curves; a label that would run into one placed before, or across another
// bound's mark (it would read as that bound's), moves down a row.
QRectF PlaceBoundLabel(const Sheet& s, const figure::Bound& b, QSizeF box, const std::vector<QRectF>& placed,
                       const std::vector<QPolygonF>& curves) {
  const QRectF& plot = s.at.plot;
  const double x = s.at.X(b.x);
  QRectF best;
  int bestScore = -1;
  for (int row = 0; row < 3 && bestScore != 0; ++row) {
    const double topY = plot.top() + 2 + row * box.height();
    const double bottomY = plot.bottom() - 2 - (row + 1) * box.height();
    for (double y : {topY, bottomY}) {
      for (double left : {x + 2, x - 2 - box.width()}) {
        const QRectF r(QPointF(std::clamp(left, plot.left() + 1, plot.right() - 1 - box.width()), y), box);
        int score = row;
        for (const QRectF& o : placed) score += o.intersects(r) ? 1000 : 0;
        for (const figure::Bound& other : s.f.bounds) {
          const double ox = s.at.X(other.x);
          score += &other != &b && ox > r.left() && ox < r.right() ? 100 : 0;
        }
        for (const QPolygonF& c : curves) {
          for (const QPointF& q : c) score += r.contains(q) ? 1 : 0;
        }
        if (bestScore < 0 || score < bestScore) {
          bestScore = score;
          best = r;
        }
      }
    }
  }
  return best;
}

void PaintBoundLabels(const Sheet& s) {
  if (s.f.bounds.empty()) return;
  const std::vector<QPolygonF> curves = DrawnCurves(s);
  s.p.setRenderHint(QPainter::Antialiasing, false);
  s.p.setFont(s.type.tick);
  std::vector<QRectF> placed;
  for (const figure::Bound& b : s.f.bounds) {
    const QString label = Q(b.label);
    const QSizeF box(s.type.tm.horizontalAdvance(label) + 2, s.type.tm.height() + 2);
    placed.push_back(PlaceBoundLabel(s, b, box, placed, curves));
    LabelAt(s.p, placed.back(), label, s.type.tm);
  }
}

// The bracket of an interval on X, under the tick labels: its ends turn up
// towards the axis, an end cut off by the range is an arrowhead pointing on
// beyond it, the point estimate is a small triangle on it, and its label
// sits under it.
void PaintBracket(const Sheet& s) {
  if (!s.f.bracket) return;
  const figure::Bracket& b = *s.f.bracket;
  const double y = s.at.bracketY;
  const double a = s.at.X(b.from), c = s.at.X(b.to);
  s.p.setRenderHint(QPainter::Antialiasing, true);
  s.p.setPen(QPen(Qt::black, kMarkerPen));
  s.p.setBrush(Qt::NoBrush);
  s.p.drawLine(QPointF(a, y), QPointF(c, y));
  for (auto [open, at, dir] : {std::tuple{b.openFrom, a, -1.0}, std::tuple{b.openTo, c, 1.0}}) {
    if (!open) {
      s.p.drawLine(QPointF(at, y), QPointF(at, y - kBracketTick));
    } else {
      s.p.drawLine(QPointF(at, y), QPointF(at - dir * 3, y - 2));
      s.p.drawLine(QPointF(at, y), QPointF(at - dir * 3, y + 2));
    }
  }
  if (b.estimateShown) {
    const double e = s.at.X(b.estimate);
    const QPointF tri[] = {{e, y - 0.5}, {e - 2.5, y + 3.5}, {e + 2.5, y + 3.5}};
    s.p.setBrush(Qt::black);
    s.p.drawPolygon(tri, 3);
  }
  s.p.setFont(s.type.tick);
  const QString label = Q(b.label);
  const double w = s.type.tm.horizontalAdvance(label);
  const double lx = std::clamp((a + c) / 2 - w / 2, kMargin, s.at.size.width() - kMargin - w);
  s.p.setPen(Qt::black);
  s.p.drawText(QPointF(lx, y + 3 + s.type.tm.ascent()), label);
}

// A legend entry's sample: the line with its marker, the band's fill or
// edges, the grey of the shaded intervals.
void PaintLegendSample(const Sheet& s, const LegendEntry& e, double x0, double yMid) {
  const QRectF swatch(QPointF(x0, yMid - s.type.tm.ascent() / 2), QSizeF(kSample, s.type.tm.ascent()));
  switch (e.kind) {
    case EntryKind::Line: {
      const figure::Line& l = s.f.lines[e.line];
      s.p.setPen(LinePen(l.style, s.style));
      s.p.drawLine(QPointF(x0, yMid), QPointF(x0 + kSample, yMid));
      if (l.markers) PaintMarker(s.p, QPointF(x0 + kSample / 2, yMid), l.style, LineColour(l.style, s.style));
      break;
    }
    case EntryKind::Band: {
      const int bandStyle = s.f.bands.front().style;
      if (s.style == FigureStyle::Colour) {
        s.p.fillRect(swatch, BandFill(bandStyle));
      } else {
        s.p.setPen(EdgePen(bandStyle));
        s.p.drawLine(swatch.topLeft(), swatch.topRight());
        s.p.drawLine(swatch.bottomLeft(), swatch.bottomRight());
      }
      break;
    }
    case EntryKind::Span:
      s.p.fillRect(swatch, ToColour(kSpanGrey));
      break;
  }
}

void PaintLegend(const Sheet& s) {
  const Legend& legend = s.at.legend;
  const QFontMetricsF& tm = s.type.tm;
  s.p.setFont(s.type.tick);
  s.p.setRenderHint(QPainter::Antialiasing, true);
  for (std::size_t i = 0; i < legend.entries.size(); ++i) {
    const int row = static_cast<int>(i) / legend.columns, column = static_cast<int>(i) % legend.columns;
    const double x0 = kMargin + column * legend.entryWidth;
    const double yMid = legend.top + row * legend.rowHeight + legend.rowHeight / 2;
    PaintLegendSample(s, legend.entries[i], x0, yMid);
    s.p.setPen(Qt::black);
    s.p.drawText(QPointF(x0 + kSample + kSampleGap, yMid + tm.ascent() / 2 - tm.descent() / 2), legend.entries[i].name);
  }
}

void PaintInPoints(QPainter& p, const figure::Figure& f, QSizeF size, FigureStyle style) {
  p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
  const Type type(p.device());
  if (!f.note.empty()) {
    const QRectF inside(QPointF(kMargin, kMargin), size - QSizeF(2 * kMargin, 2 * kMargin));
    PaintMessage(p, type, inside, Q(f.note));
    return;
  }
  const Layout layout = LayOut(f, size, type);
  if (!layout.fits) {
    PaintMessage(p, type, QRectF(QPointF(0, 0), size), QStringLiteral("The figure is too small to draw."));
    return;
  }
  const Sheet sheet{p, f, layout, type, style};
  PaintAxes(sheet);
  PaintTicks(sheet);
  PaintAxisTitles(sheet);
  PaintSpans(sheet);
  PaintBands(sheet);
  PaintBoundMarks(sheet);
  PaintLines(sheet);
  PaintMarkers(sheet);
  PaintMeetingPoint(sheet);
  PaintBoundLabels(sheet);
  PaintBracket(sheet);
  PaintLegend(sheet);
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

QRectF FigurePlotArea(const figure::Figure& figure, const QRectF& area, double dpi, const QPaintDevice& device) {
  if (!figure.note.empty() || !(dpi > 0)) return {};
  const double scale = dpi / 72.0;
  const Layout layout = LayOut(figure, area.size() / scale, Type(&device));
  if (!layout.fits) return {};
  return {area.topLeft() + layout.plot.topLeft() * scale, layout.plot.size() * scale};
}

}  // namespace marvane
