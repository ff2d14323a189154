#include "plot/figure_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "shell/qt_text.h"

namespace marvane {
namespace {

using figure::kMarker;

// Sizes, all in points; the layout's own are in figure/layout.h.
constexpr double kAxisWidth = 0.8;
constexpr double kLineWidth = 1.5;
constexpr double kMarkerPen = 1.0;     // the outline of markers, the meeting point and the bracket
constexpr double kEdgeWidth = 0.8;     // a band's edges
constexpr double kBoundWidth = 0.6;    // the zero line and the marks of a region's bounds
constexpr double kLegendFrame = 0.5;   // the frame of a legend inside the plot
constexpr double kBandAlpha = 0.18;    // the opacity of a band's fill in colour
constexpr double kGreyBandAlpha = 0.12;  // the opacity of a band's black fill in black and white
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
QPen EdgePen(int style, FigureStyle s) { return DashedPen(LineColour(style, s), kEdgeWidth, style); }

// A band's fill: its line's colour, light, or in black and white a light
// grey that deepens where bands overlap.
QColor BandFill(int style, FigureStyle s) {
  QColor c = s == FigureStyle::Colour ? ToColour(ByStyle(kPalette, style)) : QColor(Qt::black);
  c.setAlphaF(s == FigureStyle::Colour ? kBandAlpha : kGreyBandAlpha);
  return c;
}

bool BandFilled(figure::BandStyle band, FigureStyle s) {
  switch (band) {
    case figure::BandStyle::Filled: return true;
    case figure::BandStyle::Edges: return false;
    case figure::BandStyle::FilledInColour: return s == FigureStyle::Colour;
  }
  return true;
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
// The type, measured for the layout.

// A font of `points` size in the painter's point space (the painter is
// scaled so that one unit is one point). Unhinted, so that its measures
// grow in proportion with its size on every device.
QFont PointFont(const QPaintDevice* device, double points) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setHintingPreference(QFont::PreferNoHinting);
  const int dpi = device != nullptr ? device->logicalDpiY() : 72;
  font.setPointSizeF(points * 72.0 / std::max(1, dpi));
  return font;
}

// The layout's measure of text: the metrics of the fonts painted with.
class QtMeasure final : public figure::TextMeasure {
 public:
  explicit QtMeasure(const QPaintDevice* device) : device_(device) {}
  double Width(const std::string& text, double size) const override { return Metrics(size).horizontalAdvance(Q(text)); }
  double Ascent(double size) const override { return Metrics(size).ascent(); }
  double Descent(double size) const override { return Metrics(size).descent(); }
  QFont Font(double size) const { return PointFont(device_, size); }

 private:
  const QFontMetricsF& Metrics(double size) const {
    auto at = metrics_.find(size);
    if (at == metrics_.end()) at = metrics_.emplace(size, QFontMetricsF(Font(size), device_)).first;
    return at->second;
  }
  const QPaintDevice* device_;
  mutable std::map<double, QFontMetricsF> metrics_;
};

// ---------------------------------------------------------------------------
// The layers, each painted by a step of its own, bottom to top.

struct Sheet {
  QPainter& p;
  const figure::Figure& f;
  const figure::Layout& at;
  const QtMeasure& type;
  FigureStyle style;
  double Size() const { return at.fontSize; }
};

QRectF ToQt(const figure::Rect& r) { return {r.left, r.top, r.width, r.height}; }
QPointF At(const figure::Layout& at, double x, double y) { return {at.X(x), at.Y(y)}; }

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
void PaintMessage(QPainter& p, const QtMeasure& type, double size, const QRectF& box, const QString& text) {
  p.setFont(type.Font(size));
  p.setPen(Qt::black);
  p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
}

void PaintText(QPainter& p, const figure::TextLine& line) { p.drawText(QPointF(line.x, line.y), Q(line.text)); }

// A label with a white, slightly see-through ground, so lines behind it
// stay visible while the text stays legible.
void LabelAt(const Sheet& s, const QRectF& box, const QString& text) {
  QColor ground(Qt::white);
  ground.setAlphaF(kLabelGround);
  s.p.setPen(Qt::NoPen);
  s.p.setBrush(ground);
  s.p.drawRect(box);
  s.p.setPen(Qt::black);
  s.p.drawText(QPointF(box.left() + 1, box.top() + 1 + s.type.Ascent(s.Size())), text);
}

// Under everything else, inside the frame: the shaded intervals, reaching
// the frame's edge where they reach the range's.
void PaintSpans(const Sheet& s) {
  const QRectF frame = ToQt(s.at.frame);
  const Clip clip(s.p, frame);
  s.p.setRenderHint(QPainter::Antialiasing, false);
  for (const figure::Span& sp : s.f.spans) {
    const double a = sp.from <= s.at.xMin ? frame.left() : s.at.X(sp.from);
    const double b = sp.to >= s.at.xMax ? frame.right() : s.at.X(sp.to);
    if (b > a) s.p.fillRect(QRectF(QPointF(a, frame.top()), QPointF(b, frame.bottom())), ToColour(kSpanGrey));
  }
}

// Beyond the values observed: a light hatch over the frame, so that it
// reads apart from the grey of the significant intervals.
QBrush UnobservedBrush() { return QBrush(QColor(0x80, 0x80, 0x80), Qt::BDiagPattern); }

void PaintUnobserved(const Sheet& s) {
  const QRectF frame = ToQt(s.at.frame);
  const Clip clip(s.p, frame);
  for (const figure::Span& sp : s.f.unobserved) {
    const double a = sp.from <= s.at.xMin ? frame.left() : s.at.X(sp.from);
    const double b = sp.to >= s.at.xMax ? frame.right() : s.at.X(sp.to);
    if (b > a) s.p.fillRect(QRectF(QPointF(a, frame.top()), QPointF(b, frame.bottom())), UnobservedBrush());
  }
}

// A band's lower and upper edges in points.
std::pair<QPolygonF, QPolygonF> BandEdges(const figure::Layout& at, const figure::Band& b) {
  const std::size_t n = std::min({b.x.size(), b.lower.size(), b.upper.size()});
  QPolygonF lower, upper;
  for (std::size_t i = 0; i < n; ++i) {
    lower << At(at, b.x[i], b.lower[i]);
    upper << At(at, b.x[i], b.upper[i]);
  }
  return {lower, upper};
}

// Each band as a light closed area, one after another (grey in black and
// white, deepening where they overlap), or as its two edges in its line's
// dashes.
void PaintBands(const Sheet& s) {
  const Clip clip(s.p, ToQt(s.at.frame));
  s.p.setRenderHint(QPainter::Antialiasing, true);
  const bool filled = BandFilled(s.f.bandStyle, s.style);
  for (const figure::Band& b : s.f.bands) {
    const auto [lower, upper] = BandEdges(s.at, b);
    if (lower.size() < 2) continue;
    if (filled) {
      QPolygonF area = upper;
      for (auto it = lower.crbegin(); it != lower.crend(); ++it) area << *it;
      s.p.setPen(Qt::NoPen);
      s.p.setBrush(BandFill(b.style, s.style));
      s.p.drawPolygon(area);
    } else {
      s.p.setPen(EdgePen(b.style, s.style));
      s.p.setBrush(Qt::NoBrush);
      s.p.drawPolyline(lower);
      s.p.drawPolyline(upper);
    }
  }
}

// The zero line and the dashed marks of the bounds, over the bands.
void PaintBoundMarks(const Sheet& s) {
  const QRectF frame = ToQt(s.at.frame);
  const Clip clip(s.p, frame);
  s.p.setRenderHint(QPainter::Antialiasing, false);
  // Where the frame reaches 0 (also beyond the figure's range, where the
  // data were moved clear of the legend).
  const double zero = s.at.Y(0);
  if (s.f.zeroLine && zero > frame.top() && zero < frame.bottom()) {
    s.p.setPen(QPen(Qt::black, kBoundWidth));
    s.p.drawLine(QPointF(frame.left(), zero), QPointF(frame.right(), zero));
  }
  QPen boundPen(Qt::black, kBoundWidth);
  boundPen.setStyle(Qt::DashLine);
  s.p.setPen(boundPen);
  for (const figure::Bound& b : s.f.bounds) {
    s.p.drawLine(QPointF(s.at.X(b.x), frame.top()), QPointF(s.at.X(b.x), frame.bottom()));
  }
}

void PaintAxes(const Sheet& s) {
  const QRectF frame = ToQt(s.at.frame);
  s.p.setRenderHint(QPainter::Antialiasing, false);
  s.p.setPen(QPen(Qt::black, kAxisWidth));
  s.p.setBrush(Qt::NoBrush);
  s.p.drawLine(frame.bottomLeft(), frame.bottomRight());
  s.p.drawLine(frame.topLeft(), frame.bottomLeft());
}

// A tick at every tick value; the labels the layout shows.
void PaintTicks(const Sheet& s) {
  const QRectF frame = ToQt(s.at.frame);
  s.p.setRenderHint(QPainter::Antialiasing, false);
  s.p.setPen(QPen(Qt::black, kAxisWidth));
  for (const figure::Tick& t : s.at.xTicks) {
    const double x = s.at.X(t.value);
    s.p.drawLine(QPointF(x, frame.bottom()), QPointF(x, frame.bottom() + figure::kTickLength));
  }
  for (const figure::Tick& t : s.at.yTicks) {
    const double y = s.at.Y(t.value);
    s.p.drawLine(QPointF(frame.left() - figure::kTickLength, y), QPointF(frame.left(), y));
  }
  s.p.setFont(s.type.Font(s.Size()));
  for (const figure::TextBlock* labels : {&s.at.xLabels, &s.at.yLabels}) {
    for (const figure::TextLine& line : labels->lines) PaintText(s.p, line);
  }
}

// The x title's lines under the axis; the y title's turned, reading upward.
void PaintAxisTitles(const Sheet& s) {
  s.p.setPen(Qt::black);
  s.p.setFont(s.type.Font(s.at.xTitle.size));
  for (const figure::TextLine& line : s.at.xTitle.lines) PaintText(s.p, line);
  s.p.setFont(s.type.Font(s.at.yTitle.size));
  for (const figure::TextLine& line : s.at.yTitle.lines) {
    s.p.save();
    s.p.translate(line.x, line.y);
    s.p.rotate(-90);
    s.p.drawText(QPointF(0, 0), Q(line.text));
    s.p.restore();
  }
}

// The lines, their markers and the meeting point: the data area keeps them
// clear of the frame, and they are clipped a marker's reach around it.
QRectF LinesClip(const figure::Layout& at) {
  const double r = figure::kMeetingRadius + 1;
  return ToQt(at.frame).adjusted(-r, -r, r, r);
}

void PaintLines(const Sheet& s) {
  const Clip clip(s.p, ToQt(s.at.frame));
  s.p.setRenderHint(QPainter::Antialiasing, true);
  s.p.setBrush(Qt::NoBrush);
  for (const figure::Line& l : s.f.lines) {
    s.p.setPen(LinePen(l.style, s.style));
    QPainterPath path(At(s.at, l.xFrom, l.yFrom));
    path.lineTo(At(s.at, l.xTo, l.yTo));
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
      PaintMarker(s.p, At(s.at, x, y), l.style, LineColour(l.style, s.style));
    }
  }
}

// The point where all lines meet: a ring, and its label above it (or under
// it near the top) on a ground of its own, so band edges do not cross it out.
void PaintMeetingPoint(const Sheet& s) {
  if (!s.f.meeting) return;
  const QRectF frame = ToQt(s.at.frame);
  const Clip clip(s.p, LinesClip(s.at));
  s.p.setRenderHint(QPainter::Antialiasing, true);
  const QPointF at = At(s.at, s.f.meeting->x, s.f.meeting->y);
  const double r = figure::kMeetingRadius, line = s.type.LineHeight(s.Size()), ascent = s.type.Ascent(s.Size());
  s.p.setPen(QPen(Qt::black, kMarkerPen));
  s.p.setBrush(Qt::NoBrush);
  s.p.drawEllipse(at, r, r);
  s.p.setFont(s.type.Font(s.Size()));
  const QString label = Q(s.f.meeting->label);
  const double w = s.type.Width(s.f.meeting->label, s.Size());
  const double lx = std::clamp(at.x() - w / 2, frame.left() + 2, std::max(frame.left() + 2, frame.right() - w - 2));
  const double above = at.y() - r - 3;
  const double ly = above < frame.top() + line ? at.y() + r + 3 + ascent : above;
  LabelAt(s, QRectF(QPointF(lx - 1, ly - ascent - 1), QSizeF(w + 2, line + 2)), label);
}

// The drawn lines and band edges as points, to count how much a label hides.
std::vector<QPolygonF> DrawnCurves(const Sheet& s) {
  std::vector<QPolygonF> curves;
  for (const figure::Line& l : s.f.lines) {
    QPolygonF c;
    for (int i = 0; i <= 80; ++i) {
      const double t = i / 80.0;
      c << At(s.at, l.xFrom + t * (l.xTo - l.xFrom), l.yFrom + t * (l.yTo - l.yFrom));
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
// the frame, on either side of its mark, wherever it covers least of the
// curves; a label that would run into one placed before (or the legend),
// or across another bound's mark (it would read as that bound's), moves
// down a row.
QRectF PlaceBoundLabel(const Sheet& s, const figure::Bound& b, QSizeF box, const std::vector<QRectF>& placed,
                       const std::vector<QPolygonF>& curves) {
  const QRectF frame = ToQt(s.at.frame);
  const double x = s.at.X(b.x);
  QRectF best;
  int bestScore = -1;
  for (int row = 0; row < 3 && bestScore != 0; ++row) {
    const double topY = frame.top() + 2 + row * box.height();
    const double bottomY = frame.bottom() - 2 - (row + 1) * box.height();
    for (double y : {topY, bottomY}) {
      for (double left : {x + 2, x - 2 - box.width()}) {
        const QRectF r(QPointF(std::clamp(left, frame.left() + 1, frame.right() - 1 - box.width()), y), box);
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
  s.p.setFont(s.type.Font(s.Size()));
  std::vector<QRectF> placed;
  if (s.at.legend.place == figure::LegendPlace::Inside) placed.push_back(ToQt(s.at.legend.box));
  for (const figure::Bound& b : s.f.bounds) {
    const QSizeF box(s.type.Width(b.label, s.Size()) + 2, s.type.LineHeight(s.Size()) + 2);
    placed.push_back(PlaceBoundLabel(s, b, box, placed, curves));
    LabelAt(s, placed.back(), Q(b.label));
  }
}

// The crossing's own mark on the bracket: a cross, which no line's marker is.
void PaintCrossMark(QPainter& p, QPointF at) {
  const double r = figure::kCrossMark;
  p.setPen(QPen(Qt::black, kMarkerPen * 1.2));
  p.drawLine(at + QPointF(-r, -r), at + QPointF(r, r));
  p.drawLine(at + QPointF(-r, r), at + QPointF(r, -r));
}

// The bracket of an interval on X, under the tick labels: its ends turn up
// towards the axis, an end cut off by the range is an arrowhead pointing on
// beyond it, the point estimate is the crossing's mark, and its label (the
// pair, the estimate and the interval) sits under it.
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
      s.p.drawLine(QPointF(at, y), QPointF(at, y - figure::kBracketTick));
    } else {
      s.p.drawLine(QPointF(at, y), QPointF(at - dir * 3, y - 2));
      s.p.drawLine(QPointF(at, y), QPointF(at - dir * 3, y + 2));
    }
  }
  if (b.estimateShown) PaintCrossMark(s.p, QPointF(s.at.X(b.estimate), y));
  s.p.setFont(s.type.Font(s.Size()));
  s.p.setPen(Qt::black);
  for (const figure::TextLine& line : s.at.bracketLabel.lines) PaintText(s.p, line);
}

// A legend entry's sample: the line with its marker, the band's fill or
// edges, the grey of the shaded intervals.
void PaintLegendSample(const Sheet& s, const figure::LegendEntry& e) {
  const double ascent = s.type.Ascent(s.Size()), x0 = e.sampleX, yMid = e.sampleY;
  const QRectF swatch(QPointF(x0, yMid - ascent / 2), QSizeF(figure::kSample, ascent));
  switch (e.kind) {
    case figure::EntryKind::Line: {
      const figure::Line& l = s.f.lines[e.line];
      s.p.setPen(LinePen(l.style, s.style));
      s.p.drawLine(QPointF(x0, yMid), QPointF(x0 + figure::kSample, yMid));
      if (l.markers) PaintMarker(s.p, QPointF(x0 + figure::kSample / 2, yMid), l.style, LineColour(l.style, s.style));
      break;
    }
    case figure::EntryKind::Band: {
      const int bandStyle = s.f.bands.front().style;
      if (BandFilled(s.f.bandStyle, s.style)) {
        s.p.fillRect(swatch, BandFill(bandStyle, s.style));
      } else {
        s.p.setPen(EdgePen(bandStyle, s.style));
        s.p.drawLine(swatch.topLeft(), swatch.topRight());
        s.p.drawLine(swatch.bottomLeft(), swatch.bottomRight());
      }
      break;
    }
    case figure::EntryKind::Span:
      s.p.fillRect(swatch, ToColour(kSpanGrey));
      break;
    case figure::EntryKind::Unobserved:
      s.p.fillRect(swatch, UnobservedBrush());
      break;
  }
}

// The legend; inside the plot on a white ground in a thin frame.
void PaintLegend(const Sheet& s) {
  const figure::LegendLayout& legend = s.at.legend;
  if (legend.place == figure::LegendPlace::Inside) {
    s.p.setRenderHint(QPainter::Antialiasing, false);
    s.p.setPen(QPen(QColor(0x80, 0x80, 0x80), kLegendFrame));
    s.p.setBrush(Qt::white);
    s.p.drawRect(ToQt(legend.box));
  }
  s.p.setFont(s.type.Font(s.Size()));
  s.p.setRenderHint(QPainter::Antialiasing, true);
  for (const figure::LegendEntry& e : legend.entries) {
    if (e.kind == figure::EntryKind::Line && e.line >= s.f.lines.size()) continue;
    if (e.kind == figure::EntryKind::Band && s.f.bands.empty()) continue;
    PaintLegendSample(s, e);
    s.p.setPen(Qt::black);
    for (const figure::TextLine& line : e.name) PaintText(s.p, line);
  }
}

void PaintInPoints(QPainter& p, const figure::Figure& f, QSizeF size, FigureStyle style, double fontSize) {
  p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
  const QtMeasure type(p.device());
  const double textSize = std::clamp(fontSize, figure::kSmallestFontSize, figure::kLargestFontSize);
  if (!f.note.empty()) {
    const QRectF inside(QPointF(figure::kMargin, figure::kMargin),
                        size - QSizeF(2 * figure::kMargin, 2 * figure::kMargin));
    PaintMessage(p, type, textSize, inside, Q(f.note));
    return;
  }
  const figure::Layout layout = figure::LayOut(f, size.width(), size.height(), fontSize, type);
  if (!layout.fits) {
    PaintMessage(p, type, textSize, QRectF(QPointF(0, 0), size),
                 QStringLiteral("The figure is too small for its text: make it larger, or its text smaller."));
    return;
  }
  const Sheet sheet{p, f, layout, type, style};
  for (void (*step)(const Sheet&) :
       {PaintSpans, PaintUnobserved, PaintBands, PaintBoundMarks, PaintAxes, PaintTicks, PaintAxisTitles, PaintLines,
        PaintMarkers, PaintMeetingPoint, PaintBoundLabels, PaintBracket, PaintLegend}) {
    step(sheet);
  }
}

}  // namespace

void PaintFigure(QPainter& painter, const figure::Figure& figure, const QRectF& area, double dpi, FigureStyle style,
                 double fontSize) {
  painter.save();
  painter.translate(area.topLeft());
  const double scale = dpi / 72.0;
  painter.scale(scale, scale);
  const double size = std::isfinite(fontSize) ? fontSize : figure::kDefaultFontSize;
  PaintInPoints(painter, figure, area.size() / scale, style, size);
  painter.restore();
}

figure::Layout FigureLayout(const figure::Figure& figure, const QRectF& area, double dpi, const QPaintDevice& device,
                            double fontSize) {
  if (!(dpi > 0)) return {};
  const double scale = dpi / 72.0;
  return figure::LayOut(figure, area.width() / scale, area.height() / scale, fontSize, QtMeasure(&device));
}

namespace {
QRectF InDevice(const figure::Rect& r, const QRectF& area, double dpi) {
  const double scale = dpi / 72.0;
  return {area.topLeft() + QPointF(r.left, r.top) * scale, QSizeF(r.width, r.height) * scale};
}
}  // namespace

QRectF FigurePlotArea(const figure::Figure& figure, const QRectF& area, double dpi, const QPaintDevice& device,
                      double fontSize) {
  const figure::Layout layout = FigureLayout(figure, area, dpi, device, fontSize);
  return layout.fits ? InDevice(layout.data, area, dpi) : QRectF();
}

QRectF FigureFrame(const figure::Figure& figure, const QRectF& area, double dpi, const QPaintDevice& device,
                   double fontSize) {
  const figure::Layout layout = FigureLayout(figure, area, dpi, device, fontSize);
  return layout.fits ? InDevice(layout.frame, area, dpi) : QRectF();
}

}  // namespace marvane
