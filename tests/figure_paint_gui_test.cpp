// The painter on every device the program writes to: both figures, with
// their bands, shaded intervals, bounds and bracket, as PNG, SVG and PDF.
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
    // A region figure without a usable SE is a note; painting it, and both
    // figures on a stamp-sized image, must not fail.
    const Probe p = Example();
    const figure::Figure note = figure::DescribeRegion(p, p.effects.front(), stats::WeightCovariance{},
                                                       stats::Reference{}, stats::Region{});
    QVERIFY(!note.note.empty());
    QVERIFY(!Png(note, FigureStyle::Colour, 72).isNull());
    QVERIFY(!Png(RegionFigure(), FigureStyle::Colour, 4).isNull());
    QVERIFY(QSvgRenderer(Svg(note, FigureStyle::BlackAndWhite)).isValid());
  }
};

QTEST_MAIN(FigurePaintGuiTest)
#include "figure_paint_gui_test.moc"
