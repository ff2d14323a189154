// The baseline start: a bare Qt Widgets program that shows one empty window
// of the menu's size and ends as soon as it has been painted.

#include <QApplication>
#include <QWidget>

#include "first_paint.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(505, 456);
  window.show();
  new marvane::bench::QuitAfterFirstPaint(&window);
  return app.exec();
}
