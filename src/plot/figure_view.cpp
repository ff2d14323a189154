#include "plot/figure_view.h"

#include <QPainter>
#include <algorithm>

namespace marvane {

FigureView::FigureView(Source source, QWidget* parent) : QWidget(parent), source_(std::move(source)) {
  setMinimumSize(480, 340);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QRectF FigureView::FigureRect() const {
  const QSizeF inches = source_.settings().inches;
  const double scale = std::min(width() / inches.width(), height() / inches.height());
  const QSizeF size = inches * scale;
  return {QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

void FigureView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  const FigureSettings s = source_.settings();
  const QRectF area = FigureRect();
  PaintFigure(p, source_.figure(), area, area.width() / s.inches.width(), s.style, s.fontSize);
}

}  // namespace marvane
