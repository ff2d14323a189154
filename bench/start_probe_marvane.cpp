// The program's own start (what main() does), ending as soon as the menu has
// been painted: start_bench runs it as a process, again and again.

#include <QApplication>
#include <QStandardPaths>

#include "first_paint.h"
#include "shell/app.h"

int main(int argc, char* argv[]) {
  // No last work or recent sessions of the user's: the menu shows what the
  // bare menu shows (start_probe_bare.cpp), whoever runs the benchmark.
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  marvane::ConfigureApplication(app);
  marvane::RegisterForms();
  marvane::ShowMenu();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible()) new marvane::bench::QuitAfterFirstPaint(w);
  }
  return app.exec();
}
