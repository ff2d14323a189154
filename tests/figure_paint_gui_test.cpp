// The painter on every device the program writes to: both figures, with
// their bands, shaded intervals, bounds and bracket, as PNG, SVG and PDF;
// where the ink lands: on the lines' data coordinates, white elsewhere; the
// files read back at a journal's sizes, with their text in the points asked
// for; and the layout with the program's own type.
// With MARVANE_FIGURE_DUMP set to a folder, the files are also written there
// to be looked at.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTest>
#include <cmath>
#include <functional>

#include "figure/figure.h"
#include "models/quant.h"
#include "models/quant3.h"
#include "plot/figure_export.h"
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

// ---- Reading the files back ------------------------------------------------

// The size of every text of an SVG drawing in points: its font-size times
// the scale of its group's transform, in pixels at `dpi`.
std::vector<double> SvgTextPoints(const QByteArray& svg, double dpi) {
  static const QRegularExpression tag(QStringLiteral("<(g|text)\\s([^>]*)>"));
  static const QRegularExpression matrix(QStringLiteral("transform=\"matrix\\(([^,]+),([^,]+),([^,]+),([^,]+),"));
  static const QRegularExpression size(QStringLiteral("font-size=\"([0-9.]+)\""));
  std::vector<double> points;
  double scale = 1;
  for (auto it = tag.globalMatch(QString::fromUtf8(svg)); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (m.captured(1) == QLatin1String("g")) {
      const QRegularExpressionMatch t = matrix.match(m.captured(2));
      const double a = t.captured(1).toDouble(), b = t.captured(2).toDouble(), c = t.captured(3).toDouble(),
                   d = t.captured(4).toDouble();
      scale = t.hasMatch() ? std::sqrt(std::abs(a * d - b * c)) : 1;
    } else if (const QRegularExpressionMatch sz = size.match(m.captured(2)); sz.hasMatch()) {
      points.push_back(sz.captured(1).toDouble() * scale * 72 / dpi);
    }
  }
  return points;
}

// The content streams of a PDF, inflated.
std::vector<QByteArray> PdfStreams(const QByteArray& pdf) {
  std::vector<QByteArray> streams;
  for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at)) {
    at += 7;
    const qsizetype end = pdf.indexOf("endstream", at);
    if (end < 0) break;
    // qUncompress reads the expected size first: a hint of 1 MB.
    const QByteArray inflated = qUncompress(QByteArray("\x00\x10\x00\x00", 4) + pdf.mid(at, end - at));
    if (!inflated.isEmpty()) streams.push_back(inflated);
    at = end;
  }
  return streams;
}

// The size in points of every text a PDF page shows: the size its font is
// set in (Tf), scaled by the text matrix (Tm) and the transforms (cm) in
// force, which q and Q save and restore.
std::vector<double> PdfTextPoints(const QByteArray& pdf) {
  static const QRegularExpression token(QStringLiteral("<[0-9A-Fa-f]*>|\\[|\\]|[^\\s\\[\\]<>]+"));
  std::vector<double> points;
  for (const QByteArray& stream : PdfStreams(pdf)) {
    std::vector<double> saved, operands;
    double ctm = 1, text = 1, font = 0;
    auto det = [&] {
      const std::size_t n = operands.size();
      return n < 6 ? 1.0 : std::sqrt(std::abs(operands[n - 6] * operands[n - 3] - operands[n - 5] * operands[n - 4]));
    };
    for (auto it = token.globalMatch(QString::fromLatin1(stream)); it.hasNext();) {
      const QString t = it.next().captured(0);
      bool number = false;
      const double v = t.toDouble(&number);
      if (number) {
        operands.push_back(v);
        continue;
      }
      if (t == QLatin1String("q")) saved.push_back(ctm);
      if (t == QLatin1String("Q") && !saved.empty()) ctm = saved.back(), saved.pop_back();
      if (t == QLatin1String("cm")) ctm *= det();
      if (t == QLatin1String("BT")) text = 1;
      if (t == QLatin1String("Tm")) text = det();
      if (t == QLatin1String("Tf") && !operands.empty()) font = operands.back();
      if (t == QLatin1String("Tj") || t == QLatin1String("TJ")) points.push_back(font * text * ctm);
      if (t != QLatin1String("[") && t != QLatin1String("]") && !t.startsWith('<') && !t.startsWith('/')) {
        operands.clear();
      }
    }
  }
  return points;
}

// ---- Figures of three and four lines with the forms' own names -------------

Probe Quant3Example() {
  return Quant3Probe({.bx = -0.178, .bz = -1.08, .bv = 0.136, .bxz = 0.00075, .bxv = -0.00149, .bzv = -0.0111,
                      .bxzv = 0.000181, .a = 70.2, .stdx = 22.7, .stdz = 9.6, .stdv = 41.7});
}

figure::Figure Quant3Figure(bool bands) {
  // The variances of the Swiss fertility fit's weights (R's vcov), no covariances.
  static const stats::WeightCovariance v = [] {
    const double diagonal[] = {2.07, 0.00616, 0.0585, 0.00155, 3.26e-5, 4.54e-6, 5.39e-5, 6.55e-8};
    stats::WeightCovariance m;
    m.size = 8;
    m.cells.assign(64, 0);
    for (std::size_t i = 0; i < 8; ++i) m.cells[i * 9] = diagonal[i];
    m.known.assign(8, true);
    return m;
  }();
  figure::Options o;
  o.bands = bands;
  o.covariance = &v;
  return figure::Describe(Quant3Example(), o);
}

const QSizeF kSingleColumn(8.5 / 2.54, 6 / 2.54), kDoubleColumn(17.5 / 2.54, 10 / 2.54);

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

  // Saved at a journal's single and double column, PNG, SVG and PDF read
  // back: the PNG has the pixels and resolution asked for, and every text of
  // the SVG and the PDF is the size asked for, in points, at either size.
  void filesReadBackAtJournalSizes_data() {
    QTest::addColumn<QSizeF>("inches");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("which");  // 0 three lines with a bracket, 1 four lines, 2 the region figure
    for (auto [name, inches] : {std::pair{"8.5x6 cm", kSingleColumn}, std::pair{"17.5x10 cm", kDoubleColumn}}) {
      for (double points : {9.0, 7.0, 12.0}) {
        for (int which : {0, 1, 2}) {
          QTest::addRow("%s %g pt figure %d", name, points, which) << inches << points << (which == 1 ? 600 : 300)
                                                                   << which;
        }
      }
    }
  }

  void filesReadBackAtJournalSizes() {
    QFETCH(QSizeF, inches);
    QFETCH(double, points);
    QFETCH(int, dpi);
    QFETCH(int, which);
    const figure::Figure f = which == 0 ? LinesFigure(true) : which == 1 ? Quant3Figure(true) : RegionFigure();
    QVERIFY2(f.note.empty(), f.note.c_str());
    const FigureSettings settings{
        .inches = inches, .dpi = dpi, .style = FigureStyle::BlackAndWhite, .fontSize = points};
    QImage png;
    QVERIFY(png.loadFromData(RenderFigure(f, settings, QStringLiteral("png"), QStringLiteral("t")), "PNG"));
    QCOMPARE(png.size(), QSize(qRound(inches.width() * dpi), qRound(inches.height() * dpi)));
    QCOMPARE(qRound(png.dotsPerMeterX() * 0.0254), dpi);
    QCOMPARE(qRound(png.dotsPerMeterY() * 0.0254), dpi);
    QString why;
    const QByteArray svg = RenderFigure(f, settings, QStringLiteral("svg"), QStringLiteral("t"), &why);
    QVERIFY2(!svg.isEmpty(), qPrintable(why));
    // The drawing's size in millimetres, to a hundredth.
    const QString mm = QStringLiteral("<svg width=\"%1mm\" height=\"%2mm\"")
                           .arg(inches.width() * 25.4, 0, 'g', 6)
                           .arg(inches.height() * 25.4, 0, 'g', 6);
    QVERIFY2(svg.contains(mm.toUtf8()), svg.left(200).constData());
    const QByteArray pdf = RenderFigure(f, settings, QStringLiteral("pdf"), QStringLiteral("t"));
    // A PDF page is whole points: the nearest to the size asked.
    const QString page = QStringLiteral("/MediaBox [0 0 %1 %2]")
                             .arg(std::round(inches.width() * 72), 0, 'f', 6)
                             .arg(std::round(inches.height() * 72), 0, 'f', 6);
    QVERIFY2(pdf.contains(page.toLatin1()), qPrintable(page));
    const std::vector<double> svgText = SvgTextPoints(svg, 254), pdfText = PdfTextPoints(pdf);
    // Tick labels, legend names and titles: at least a dozen texts in each.
    QVERIFY2(svgText.size() >= 12, qPrintable(QString::number(svgText.size())));
    QVERIFY2(pdfText.size() >= 12, qPrintable(QString::number(pdfText.size())));
    for (const std::vector<double>* texts : {&svgText, &pdfText}) {
      for (double size : *texts) QVERIFY2(std::abs(size - points) < 0.01, qPrintable(QString::number(size)));
    }
  }

  // With the program's own type, at a journal's single column the plot keeps
  // more than half the figure with three lines and with four, named as the
  // forms name them, with and without bands; its markers stay clear of the
  // frame; and the figure tab's text size holds at both sizes.
  void plotKeepsMostOfASingleColumn_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("bands");
    QTest::addColumn<QSizeF>("inches");
    QTest::addColumn<double>("share");
    for (int lines : {3, 4}) {
      for (bool bands : {false, true}) {
        QTest::addRow("%d lines%s, 8.5x6 cm", lines, bands ? ", bands" : "") << lines << bands << kSingleColumn << 0.55;
        QTest::addRow("%d lines%s, 17.5x10 cm", lines, bands ? ", bands" : "") << lines << bands << kDoubleColumn
                                                                               << 0.6;
      }
    }
  }

  void plotKeepsMostOfASingleColumn() {
    QFETCH(int, lines);
    QFETCH(bool, bands);
    QFETCH(QSizeF, inches);
    QFETCH(double, share);
    figure::Figure f = lines == 3 ? LinesFigure(bands) : Quant3Figure(bands);
    f.bracket.reset();
    QCOMPARE(f.lines.size(), static_cast<std::size_t>(lines));
    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(300 / 0.0254));
    device.setDotsPerMeterY(qRound(300 / 0.0254));
    const QRectF area(QPointF(0, 0), inches * 300);
    const figure::Layout l = FigureLayout(f, area, 300, device);
    QVERIFY(l.fits);
    const double got = l.frame.width * l.frame.height / (l.width * l.height);
    QVERIFY2(got >= share, qPrintable(QString::number(got)));
    QVERIFY(l.legend.place != figure::LegendPlace::None);
    if (l.legend.place == figure::LegendPlace::Below) QVERIFY(l.legend.box.height <= l.height / 5);
    for (const figure::Line& line : f.lines) {
      for (auto [x, y] : {std::pair{line.x1, line.y1}, std::pair{line.x2, line.y2}}) {
        QVERIFY(l.X(x) - l.frame.left >= 1.3 * figure::kMarker + 0.5);
        QVERIFY(l.frame.Bottom() - l.Y(y) >= 1.3 * figure::kMarker + 0.5);
      }
    }
    for (const figure::TextBlock* b : {&l.xLabels, &l.yLabels, &l.xTitle, &l.yTitle}) QCOMPARE(b->size, 9.0);
  }

  // In black and white the bands are light grey fills, deepening where they
  // overlap, under black lines; as edge lines they fill nothing.
  void greyBandsAreFills() {
    const figure::Figure filled = Quant3Figure(true);
    figure::Figure edges = filled;
    edges.bandStyle = figure::BandStyle::Edges;
    const QImage withFills = Png(filled, FigureStyle::BlackAndWhite);
    const QImage withEdges = Png(edges, FigureStyle::BlackAndWhite);
    QCOMPARE(Coloured(withFills), 0);
    // One band alone: black at 12% over white, 224; two overlapping: 197.
    const int one = CountNear(withFills, QColor(224, 224, 224), 3);
    const int two = CountNear(withFills, QColor(197, 197, 197), 3);
    QVERIFY2(one > 5000 && two > 2000, qPrintable(QStringLiteral("%1 and %2").arg(one).arg(two)));
    QVERIFY(CountNear(withEdges, QColor(224, 224, 224), 3) < one / 50);
  }
};

QTEST_MAIN(FigurePaintGuiTest)
#include "figure_paint_gui_test.moc"
