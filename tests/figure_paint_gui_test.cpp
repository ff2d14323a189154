// The painter on every device the program writes to: both figures, with
// their bands, shaded intervals, bounds and bracket, as PNG, SVG and PDF;
// and where the ink lands: on the lines' data coordinates, white elsewhere.
// With MARVANE_FIGURE_DUMP set to a folder, the files are also written there
// to be looked at.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTest>
#include <cmath>
#include <functional>

#include "figure/figure.h"
#include "models/quant.h"
#include "plot/figure_painter.h"

using namespace marvane;

namespace {

constexpr QSizeF kInches(6, 4.5);

Probe Example() { return QuantProbe({.bx = 0.5, .bz = 0.25, .bxz = 0.125, .a = 2, .stdz = 2, .stdx = 4}); }

stats::WeightCovariance Covariance() {
  stats::WeightCovariance v;
  v.size = 4;
  v.cells = {0.04, 0.002, 0.001, 0, 0.002, 0.01, 0, 0.0005, 0.001, 0, 0.02, 0, 0, 0.0005, 0, 0.002};
  v.known.assign(4, true);
  return v;
}

figure::Figure LinesFigure(bool bands, double lower = -3.1, double upper = -0.9) {
  static const stats::WeightCovariance v = Covariance();
  figure::Options o;
  o.bands = bands;
  o.covariance = &v;
  stats::Crossover c;
  c.kind = stats::Crossover::Kind::Interval;
  c.x = -2;
  c.lower = lower;
  c.upper = upper;
  o.crossover = c;
  return figure::Describe(Example(), o);
}

figure::Figure RegionFigure(stats::Region region = {stats::Region::Kind::Outside, -13.81, -1.93}) {
  const Probe p = Example();
  // Slope of X along Z, 0.5 + 0.125 Z: significant below -13.81 and above -1.93.
  return figure::DescribeRegion(p, p.effects.front(), Covariance(), stats::Reference{}, region);
}

// The figures every export is made of: the worked example, and the crowded
// cases (a bracket cut off on both sides, two bounds close together).
figure::Figure Numbered(int which) {
  switch (which) {
    case 0:
      return LinesFigure(true);
    case 1:
      return RegionFigure();
    case 2:
      return LinesFigure(true, -9, 7);
    default:
      return RegionFigure({stats::Region::Kind::Between, -0.2, 0.1});
  }
}
const char* const kNames[] = {"lines", "region", "lines_open_bracket", "region_close_bounds"};

QImage Png(const figure::Figure& f, FigureStyle style, int dpi = 150) {
  QImage image(static_cast<int>(kInches.width() * dpi), static_cast<int>(kInches.height() * dpi),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  PaintFigure(p, f, QRectF(0, 0, image.width(), image.height()), dpi, style);
  return image;
}

QByteArray Svg(const figure::Figure& f, FigureStyle style) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(96);
  const QSizeF px = kInches * 96;
  svg.setSize(px.toSize());
  svg.setViewBox(QRectF(QPointF(0, 0), px));
  QPainter p(&svg);
  PaintFigure(p, f, QRectF(QPointF(0, 0), px), 96, style);
  p.end();
  return bytes;
}

QByteArray Pdf(const figure::Figure& f, FigureStyle style) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setResolution(300);
  pdf.setPageSize(QPageSize(kInches, QPageSize::Inch, QString(), QPageSize::ExactMatch));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter p(&pdf);
  PaintFigure(p, f, QRectF(0, 0, kInches.width() * 300, kInches.height() * 300), 300, style);
  p.end();
  return bytes;
}

// Pixels within `tolerance` of `colour` in every channel.
int CountNear(const QImage& image, QColor colour, int tolerance) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      n += std::abs(qRed(row[x]) - colour.red()) <= tolerance && std::abs(qGreen(row[x]) - colour.green()) <= tolerance &&
                   std::abs(qBlue(row[x]) - colour.blue()) <= tolerance
               ? 1
               : 0;
    }
  }
  return n;
}

int Coloured(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int r = qRed(row[x]), g = qGreen(row[x]), b = qBlue(row[x]);
      n += std::max({r, g, b}) - std::min({r, g, b}) > 8 ? 1 : 0;
    }
  }
  return n;
}

// The first line's colour, 0072B2, at the band's opacity over white.
const QColor kFirstBand(209, 230, 241);
const QColor kSpan(0xE4, 0xE4, 0xE4);

void Dump(const QString& name, const QByteArray& bytes) {
  const QString dir = qEnvironmentVariable("MARVANE_FIGURE_DUMP");
  if (dir.isEmpty()) return;
  QFile file(QDir(dir).filePath(name));
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

QByteArray PngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// The lines' colours by style: the first three of Okabe and Ito's palette.
const QColor kLineColours[] = {QColor(0x00, 0x72, 0xB2), QColor(0xD5, 0x5E, 0x00), QColor(0x00, 0x9E, 0x73)};

struct Painted {
  QImage image;
  double pixelsPerPoint = 1;
  QRectF plot;   // the data area, in pixels
  QRectF frame;  // the axes' frame around it, in pixels
};

// A figure of `inches` at `dpi` painted `inset` pixels inside a white image,
// as the program saves a PNG (the image knows its resolution).
Painted PaintAt(const figure::Figure& f, FigureStyle style, QSizeF inches, int dpi, int inset) {
  const QSize size(qRound(inches.width() * dpi), qRound(inches.height() * dpi));
  QImage image(size + QSize(2 * inset, 2 * inset), QImage::Format_RGB32);
  const int dpm = qRound(dpi / 0.0254);
  image.setDotsPerMeterX(dpm);
  image.setDotsPerMeterY(dpm);
  image.fill(Qt::white);
  const QRectF area(QPointF(inset, inset), QSizeF(size));
  {
    QPainter p(&image);
    PaintFigure(p, f, area, dpi, style);
  }
  return {image, dpi / 72.0, FigurePlotArea(f, area, dpi, image), FigureFrame(f, area, dpi, image)};
}

QPointF ToPixels(const figure::Figure& f, const QRectF& plot, double x, double y) {
  return {plot.left() + (x - f.xMin) / (f.xMax - f.xMin) * plot.width(),
          plot.bottom() - (y - f.yMin) / (f.yMax - f.yMin) * plot.height()};
}

// Whether a line's marker lies within `reach` pixels of `at`.
bool UnderAMarker(const figure::Figure& f, const QRectF& plot, QPointF at, double reach) {
  for (const figure::Line& l : f.lines) {
    for (QPointF m : {ToPixels(f, plot, l.x1, l.y1), ToPixels(f, plot, l.x2, l.y2)}) {
      if (l.markers && std::hypot(m.x() - at.x(), m.y() - at.y()) < reach) return true;
    }
  }
  return false;
}

using Ink = std::function<bool(QRgb)>;

Ink Dark() {
  return [](QRgb c) { return std::max({qRed(c), qGreen(c), qBlue(c)}) < 90; };
}

Ink Near(QColor colour) {
  return [colour](QRgb c) {
    return std::abs(qRed(c) - colour.red()) <= 40 && std::abs(qGreen(c) - colour.green()) <= 40 &&
           std::abs(qBlue(c) - colour.blue()) <= 40;
  };
}

// Whether a pixel within one pixel of `at` is ink.
bool InkAround(const QImage& image, QPointF at, const Ink& ink) {
  const int cx = static_cast<int>(std::floor(at.x())), cy = static_cast<int>(std::floor(at.y()));
  for (int y = cy - 1; y <= cy + 1; ++y) {
    for (int x = cx - 1; x <= cx + 1; ++x) {
      if (image.valid(x, y) && ink(image.pixel(x, y))) return true;
    }
  }
  return false;
}

// Whether ink lies on the stretch of `reach` pixels either side of `at`
// along `direction`: long enough to span a dash pattern's gap.
bool InkAlong(const QImage& image, QPointF at, QPointF direction, double reach, const Ink& ink) {
  const QPointF unit = direction / std::hypot(direction.x(), direction.y());
  for (double d = -reach; d <= reach; d += 0.5) {
    if (InkAround(image, at + d * unit, ink)) return true;
  }
  return false;
}

// Whether every pixel within two pixels of `at` is white.
bool WhiteAround(const QImage& image, QPointF at) {
  const int cx = static_cast<int>(std::floor(at.x())), cy = static_cast<int>(std::floor(at.y()));
  for (int y = cy - 2; y <= cy + 2; ++y) {
    for (int x = cx - 2; x <= cx + 2; ++x) {
      const QRgb c = image.pixel(x, y);
      if (std::min({qRed(c), qGreen(c), qBlue(c)}) < 250) return false;
    }
  }
  return true;
}

}  // namespace

class FigurePaintGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void figuresAreDescribed() {
    QVERIFY(LinesFigure(true).note.empty());
    QCOMPARE(LinesFigure(true).bands.size(), std::size_t{3});
    QVERIFY(LinesFigure(true).bracket.has_value());
    const figure::Figure r = RegionFigure();
    QVERIFY2(r.note.empty(), r.note.c_str());
    QCOMPARE(r.bounds.size(), std::size_t{1});
  }

  void everyExportOfBothFigures_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("style");
    for (int which : {0, 1, 2, 3}) {
      for (FigureStyle s : {FigureStyle::Colour, FigureStyle::BlackAndWhite}) {
        QTest::addRow("%s %s", kNames[which], s == FigureStyle::Colour ? "colour" : "grey")
            << which << static_cast<int>(s);
      }
    }
  }

  void everyExportOfBothFigures() {
    QFETCH(int, which);
    QFETCH(int, style);
    const FigureStyle s = static_cast<FigureStyle>(style);
    const figure::Figure f = Numbered(which);
    QVERIFY2(f.note.empty(), f.note.c_str());
    const QString stem = QStringLiteral("%1_%2").arg(kNames[which], s == FigureStyle::Colour ? "colour" : "grey");
    const QImage image = Png(f, s);
    Dump(stem + ".png", PngBytes(image));
    QImage reread;
    QVERIFY(reread.loadFromData(PngBytes(image), "PNG"));
    QCOMPARE(reread.size(), image.size());

    const QByteArray svg = Svg(f, s);
    Dump(stem + ".svg", svg);
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QVERIFY(!svg.contains("nan") && !svg.contains("inf"));

    const QByteArray pdf = Pdf(f, s);
    Dump(stem + ".pdf", pdf);
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));

    if (s == FigureStyle::BlackAndWhite) {
      QCOMPARE(Coloured(image), 0);
    }
  }

  void bandsShowAsTheirLinesLightColour() {
    const int with = CountNear(Png(LinesFigure(true), FigureStyle::Colour), kFirstBand, 4);
    const int without = CountNear(Png(LinesFigure(false), FigureStyle::Colour), kFirstBand, 4);
    // A band covers a large area; antialiased line edges only a few pixels.
    QVERIFY2(with > 20 * std::max(without, 50), qPrintable(QStringLiteral("%1 vs %2").arg(with).arg(without)));
  }

  void regionIsShadedGrey() {
    const figure::Figure shaded = RegionFigure();
    figure::Figure plain = shaded;
    plain.spans.clear();
    plain.spanLegend.clear();
    const int with = CountNear(Png(shaded, FigureStyle::BlackAndWhite), kSpan, 2);
    const int without = CountNear(Png(plain, FigureStyle::BlackAndWhite), kSpan, 2);
    QVERIFY2(with > 20 * std::max(without, 50), qPrintable(QStringLiteral("%1 vs %2").arg(with).arg(without)));
  }

  void notesAndTinySizesPaintWithoutFault() {
    // A region figure without a usable SE is a note: its words are painted
    // and no plot is laid out. Both figures on a stamp-sized image say that
    // they do not fit rather than draw lines.
    const Probe p = Example();
    const figure::Figure note = figure::DescribeRegion(p, p.effects.front(), stats::WeightCovariance{},
                                                       stats::Reference{}, stats::Region{});
    QVERIFY(!note.note.empty());
    const QImage noteImage = Png(note, FigureStyle::Colour, 72);
    QVERIFY(CountNear(noteImage, Qt::black, 90) > 50);
    QCOMPARE(Coloured(noteImage), 0);
    QVERIFY(FigurePlotArea(note, QRectF(QPointF(0, 0), kInches * 72), 72, noteImage).isEmpty());
    for (const figure::Figure& f : {RegionFigure(), LinesFigure(true)}) {
      // 1 x 0.6 in is too small for the axes, the legend and a plot.
      const Painted stamp = PaintAt(f, FigureStyle::Colour, QSizeF(1, 0.6), 150, 0);
      QVERIFY(stamp.plot.isEmpty());
      QVERIFY(CountNear(stamp.image, Qt::black, 90) > 20);
      QCOMPARE(Coloured(stamp.image), 0);
      // At 4 dpi a figure of full size is laid out as ever, only tiny.
      const QImage small = Png(f, FigureStyle::Colour, 4);
      const QRectF plot = FigurePlotArea(f, QRectF(QPointF(0, 0), kInches * 4), 4, small);
      QVERIFY(!plot.isEmpty() && QRectF(small.rect()).contains(plot));
    }
    QVERIFY(QSvgRenderer(Svg(note, FigureStyle::BlackAndWhite)).isValid());
  }

  // Ink where the lines are: each line's pixels, mapped from its data
  // coordinates onto the plot's area, in its colour (black in black and
  // white) at a few points between its ends; white far from any line. The
  // ticks drawn on both axes (along the frame, which leaves the markers
  // room) pin the area to the picture.
  void inkLiesAlongTheLines_data() {
    QTest::addColumn<int>("which");  // 0 lines, 1 lines with bands, 2 region
    QTest::addColumn<int>("style");
    QTest::addColumn<QSizeF>("inches");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("inset");
    QTest::addColumn<QPointF>("blank");  // data coordinates far from any line and band
    const QSizeF wide(6.5, 4.5), small(8.5 / 2.54, 6 / 2.54);
    const int colour = static_cast<int>(FigureStyle::Colour), grey = static_cast<int>(FigureStyle::BlackAndWhite);
    QTest::newRow("lines colour 6.5x4.5 in") << 0 << colour << wide << 150 << 0 << QPointF(-3.5, 5);
    QTest::newRow("lines grey 8.5x6 cm") << 0 << grey << small << 200 << 0 << QPointF(-3.5, 5);
    QTest::newRow("lines, bands, grey 6.5x4.5 in") << 1 << grey << wide << 150 << 0 << QPointF(-3.5, 5);
    QTest::newRow("lines, bands, colour 8.5x6 cm inset") << 1 << colour << small << 300 << 40 << QPointF(-3.5, 5);
    QTest::newRow("region grey 6.5x4.5 in") << 2 << grey << wide << 150 << 0 << QPointF(-3.5, 1.0);
    QTest::newRow("region colour 8.5x6 cm") << 2 << colour << small << 200 << 0 << QPointF(-3.5, 1.0);
  }

  void inkLiesAlongTheLines() {
    QFETCH(int, which);
    QFETCH(int, style);
    QFETCH(QSizeF, inches);
    QFETCH(int, dpi);
    QFETCH(int, inset);
    QFETCH(QPointF, blank);
    const figure::Figure f = which == 2 ? RegionFigure() : LinesFigure(which == 1);
    QVERIFY(!f.lines.empty());
    const FigureStyle s = static_cast<FigureStyle>(style);
    const Painted painted = PaintAt(f, s, inches, dpi, inset);
    const QImage& image = painted.image;
    const QRectF& plot = painted.plot;
    const QRectF& frame = painted.frame;
    QVERIFY(!plot.isEmpty());
    QVERIFY(frame.contains(plot));
    const double pt = painted.pixelsPerPoint;
    for (const figure::Tick& t : f.xTicks) {
      const QPointF at(ToPixels(f, plot, t.value, f.yMin).x(), frame.bottom() + 2 * pt);
      QVERIFY2(InkAround(image, at, Dark()), qPrintable(QStringLiteral("x tick %1").arg(t.value)));
    }
    for (const figure::Tick& t : f.yTicks) {
      const QPointF at(frame.left() - 2 * pt, ToPixels(f, plot, f.xMin, t.value).y());
      if (UnderAMarker(f, plot, at, 5 * pt)) continue;  // an open marker's white hides the tick
      QVERIFY2(InkAround(image, at, Dark()), qPrintable(QStringLiteral("y tick %1").arg(t.value)));
    }
    for (const figure::Line& l : f.lines) {
      const Ink ink = s == FigureStyle::Colour ? Near(kLineColours[l.style]) : Dark();
      // Between the markers, where there are any; past the meeting point,
      // where the lines lie apart.
      const double from = l.markers ? l.x1 : l.xFrom, to = l.markers ? l.x2 : l.xTo;
      const QPointF a = ToPixels(f, plot, l.xFrom, l.yFrom), b = ToPixels(f, plot, l.xTo, l.yTo);
      for (double t : {0.55, 0.7, 0.85}) {
        const double x = from + t * (to - from);
        const double y = l.yFrom + (x - l.xFrom) / (l.xTo - l.xFrom) * (l.yTo - l.yFrom);
        QVERIFY2(InkAlong(image, ToPixels(f, plot, x, y), b - a, 10 * pt, ink),
                 qPrintable(QStringLiteral("no ink on %1 at X = %2").arg(QString::fromStdString(l.name)).arg(x)));
      }
    }
    const QPointF blankAt = ToPixels(f, plot, blank.x(), blank.y());
    QVERIFY(plot.contains(blankAt));
    QVERIFY(WhiteAround(image, blankAt));
  }
};

QTEST_MAIN(FigurePaintGuiTest)
#include "figure_paint_gui_test.moc"
