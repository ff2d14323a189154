// The baseline start: a bare Qt Widgets program that shows one empty window
// of the menu's size and ends as soon as it has been painted. With the
// argument "text" the window holds one line of text as well, so that the
// cost of loading a font and drawing glyphs at all can be told apart.

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

#include "first_paint.h"

int main(int argc, char* argv[]) {
  const bool withText = argc > 1 && std::strcmp(argv[1], "text") == 0;
  QApplication app(argc, argv);
  QWidget window;
  window.resize(505, 456);
  if (withText) {
    auto* label = new QLabel(QStringLiteral("Select the type of model"), &window);
    label->move(80, 64);
  }
  window.show();
  new marvane::bench::QuitAfterFirstPaint(&window);
  return app.exec();
}
