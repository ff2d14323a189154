// Painting the lines figure at 800 x 500 pixels against a plain QPainter
// drawing the same number of lines, markers and texts with no layout work.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "figure/figure.h"
#include "models/quant3.h"
#include "plot/figure_painter.h"
#include "ratio_report.h"

namespace {

using namespace marvane;

figure::Figure Example() {
  const Probe p = Quant3Probe({.bx = 1, .bz = 2, .bv = 3, .bxz = 0.5, .bxv = 0.25, .bzv = 0.1, .bxzv = 0.05, .a = 10,
                               .stdx = 2, .stdz = 1, .stdv = 4});
  return figure::Describe(p, {});
}

void BM_PaintFigure(benchmark::State& state) {
  const figure::Figure f = Example();
  QImage image(800, 500, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&image);
    PaintFigure(p, f, QRectF(0, 0, 800, 500), 96, FigureStyle::BlackAndWhite);
  }
}
BENCHMARK(BM_PaintFigure);

// The same drawing calls at fixed places, without the layout: the data lines
// across the plot and their legend samples (dashed, antialiased), the two
// axes and the ticks (short solid lines), the markers, and every text.
void BM_PlainPainter(benchmark::State& state) {
  const figure::Figure f = Example();
  QImage image(800, 500, QImage::Format_RGB32);
  const int dataLines = static_cast<int>(f.lines.size());
  const int ticks = static_cast<int>(f.xTicks.size() + f.yTicks.size());
  const int markers = static_cast<int>(3 * f.lines.size());
  QStringList texts;
  for (const auto& t : f.xTicks) texts << QString::fromStdString(t.label);
  for (const auto& t : f.yTicks) texts << QString::fromStdString(t.label);
  for (const auto& l : f.lines) texts << QString::fromStdString(l.name);
  texts << "X" << "Y";
  for (auto _ : state) {
    QPainter p(&image);
    p.fillRect(image.rect(), Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(60, 20), QPointF(60, 400));
    p.drawLine(QPointF(60, 400), QPointF(780, 400));
    for (int i = 0; i < ticks; ++i) p.drawLine(QPointF(60 + 40 * i, 400), QPointF(60 + 40 * i, 405));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 2, Qt::DashLine));
    for (int i = 0; i < dataLines; ++i) p.drawLine(QPointF(60, 300 - 40 * i), QPointF(780, 60 + 40 * i));
    for (int i = 0; i < dataLines; ++i) p.drawLine(QPointF(20 + 200 * i, 450), QPointF(57 + 200 * i, 450));
    p.setBrush(Qt::black);
    for (int i = 0; i < markers; ++i) p.drawEllipse(QPointF(70 + 50 * i, 100), 4, 4);
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    for (int i = 0; i < texts.size(); ++i) p.drawText(QPointF(20, 20 + 20 * i), texts[static_cast<int>(i)]);
  }
}
BENCHMARK(BM_PlainPainter);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  bench::Compare({.title = "Painting the lines figure at 800 x 500 vs plain QPainter calls",
                  .subject = "BM_PaintFigure",
                  .baseline = "BM_PlainPainter",
                  .goal = 1.5});
  return bench::RunAndReport(argc, argv);
}
