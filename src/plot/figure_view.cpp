#include "plot/figure_view.h"

#include <QPainter>
#include <algorithm>

namespace marvane {

FigureView::FigureView(Source source, QWidget* parent) : QWidget(parent), source_(std::move(source)) {
  setMinimumSize(480, 340);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QRectF FigureView::FigureRect() const {
  const QSizeF inches = source_.inches();
  const double scale = std::min(width() / inches.width(), height() / inches.height());
  const QSizeF size = inches * scale;
  return {QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

void FigureView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  const QRectF area = FigureRect();
  const double fontSize = source_.fontSize ? source_.fontSize() : figure::kDefaultFontSize;
  PaintFigure(p, source_.figure(), area, area.width() / source_.inches().width(), source_.style(), fontSize);
}

}  // namespace marvane
