#pragma once

// A figure on screen: the same painting as the saved files, scaled to the
// widget with the proportions of the figure's size.

#include <QWidget>
#include <functional>

#include "figure/figure.h"
#include "plot/figure_export.h"

namespace marvane {

class FigureView : public QWidget {
 public:
  struct Source {
    std::function<const figure::Figure&()> figure;
    std::function<FigureSettings()> settings;  // its size, style and text size
  };

  FigureView(Source source, QWidget* parent);

  // Where the figure lies in the widget, in pixels.
  QRectF FigureRect() const;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  Source source_;
};

}  // namespace marvane
