// Opens a form the way a user would, types into its boxes, clicks its
// buttons and saves a picture of the window. For looking at the forms (and
// for the README's pictures); run it under Xvfb or QT_QPA_PLATFORM=offscreen.
//
//   marvane_snapshot OUT.png [FORM] [box=text | click=button]...
//
// FORM is opened from the menu by the menu button of that name (Command1,
// Inomplete, ...); without it the menu itself is shown. When the steps open
// the form's plot window (click=Plot), it is saved too, as OUT-plot.png, and
// its figure as OUT-figure.png, .svg and .pdf.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "plot/probe_window.h"
#include "shell/app.h"
#include "shell/form_window.h"
#include "shell/navigation.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.png [MENU-BUTTON] [box=text|click=button]...\n", argv[0]);
    return 2;
  }
  marvane::ConfigureApplication(app);
  marvane::RegisterForms();
  marvane::ShowMenu();
  auto visible = [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* form = dynamic_cast<marvane::FormWindow*>(w);
      if (w->isVisible() && form != nullptr) return form;
    }
    return static_cast<marvane::FormWindow*>(nullptr);
  };
  for (int i = 2; i < argc; ++i) {
    QString arg = QString::fromLocal8Bit(argv[i]);
    marvane::FormWindow* form = visible();
    int eq = arg.indexOf('=');
    if (eq < 0) {
      QTest::mouseClick(form->Button(arg.toStdString()), Qt::LeftButton);
    } else if (arg.left(eq) == "click") {
      QTest::mouseClick(form->Button(arg.mid(eq + 1).toStdString()), Qt::LeftButton);
    } else {
      QLineEdit* box = form->Box(arg.left(eq).toStdString());
      box->clear();
      QTest::keyClicks(box, arg.mid(eq + 1));
    }
    QCoreApplication::processEvents();
  }
  QTest::qWait(200);
  marvane::FormWindow* form = visible();
  if (form == nullptr || !form->grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "could not save %s\n", argv[1]);
    return 1;
  }
  QString base = QString::fromLocal8Bit(argv[1]);
  base.chop(4);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* plot = dynamic_cast<marvane::ProbeWindow*>(w);
    if (plot == nullptr || !plot->isVisible()) continue;
    plot->grab().save(base + "-plot.png");
    for (const char* suffix : {".png", ".svg", ".pdf"}) plot->SaveFigure(base + "-figure" + suffix);
  }
  return 0;
}
