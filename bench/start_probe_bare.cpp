// The baseline start: a bare Qt Widgets program that shows one empty window
// of the menu's size and ends as soon as it has been painted. With the
// argument "text" the window holds one line of text as well, so that the
// cost of loading a font and drawing glyphs at all can be told apart. With
// "menu" it is the program's menu built straight from Qt widgets: the two
// labels and seven buttons (the six models and Open session) with the same
// texts, fonts, sizes and colours, in the Fusion style, the labels aligned
// and wrapped as the menu's are and the window titled and placed as the menu
// is: the same pixels as the program's menu when there is no last work and
// no recent session (start_probe_marvane.cpp starts it so).

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyleFactory>
#include <QWidget>
#include <cstring>

#include "first_paint.h"

namespace {

void BuildMenu(QApplication& app, QWidget& window) {
  app.setStyle(QStyleFactory::create("Fusion"));
  // Where and under what title the program opens its menu.
  window.setWindowTitle(QStringLiteral("Choice"));
  window.setGeometry(203, 347, 505, 456);
  QPalette pal = window.palette();
  pal.setColor(QPalette::Window, QColor(255, 128, 0));
  window.setPalette(pal);
  window.setAutoFillBackground(true);
  QFont titleFont("Liberation Sans");
  titleFont.setPointSizeF(13.5);
  titleFont.setBold(true);
  auto* title = new QLabel(QStringLiteral("Marvane"), &window);
  title->setFont(titleFont);
  title->setTextFormat(Qt::PlainText);
  title->setWordWrap(true);
  title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  title->setGeometry(64, 32, 417, 25);
  QFont bold12("Liberation Sans");
  bold12.setPointSizeF(12);
  bold12.setBold(true);
  auto* note = new QLabel(QStringLiteral("Select the type of model for which you               want to plot the interaction"), &window);
  note->setFont(bold12);
  note->setTextFormat(Qt::PlainText);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  note->setGeometry(80, 64, 313, 49);
  const char* captions[] = {"2 quant predictors w/ +/- Std Z", "2 quant predictors w/ specified Z",
                            "quant and dummy-coded 2-group", "quant and dummy-coded 3-group",
                            "3 quant predictors", "Incomplete Models"};
  int top = 152;
  for (const char* caption : captions) {
    auto* b = new QPushButton(QString::fromUtf8(caption), &window);
    QPalette bp = b->palette();
    bp.setColor(QPalette::Button, QColor(0, 255, 0));
    bp.setColor(QPalette::ButtonText, Qt::black);
    b->setPalette(bp);
    b->setFont(bold12);
    b->setGeometry(16, top, 393, 25);
    top += 40;
  }
  // Below them, as a start without any last work or recent session shows it.
  QFont bold975("Liberation Sans");
  bold975.setPointSizeF(9.75);
  bold975.setBold(true);
  auto* open = new QPushButton(QStringLiteral("Open session\u2026"), &window);
  QPalette op = open->palette();
  op.setColor(QPalette::Button, QColor(0, 255, 0));
  op.setColor(QPalette::ButtonText, Qt::black);
  open->setPalette(op);
  open->setFont(bold975);
  open->setGeometry(16, 386, 129, 25);
}

}  // namespace

int main(int argc, char* argv[]) {
  const bool withText = argc > 1 && std::strcmp(argv[1], "text") == 0;
  const bool menu = argc > 1 && std::strcmp(argv[1], "menu") == 0;
  QApplication app(argc, argv);
  QWidget window;
  window.resize(505, 456);
  if (withText) {
    auto* label = new QLabel(QStringLiteral("Select the type of model"), &window);
    label->move(80, 64);
  }
  if (menu) BuildMenu(app, window);
  window.show();
  new marvane::bench::QuitAfterFirstPaint(&window);
  return app.exec();
}
