// The program's own start (what main() does), ending as soon as the menu has
// been painted: start_bench runs it as a process, again and again.

#include <QApplication>

#include "first_paint.h"
#include "shell/app.h"

int main(int argc, char* argv[]) {
  // No last work or recent sessions: the menu shows what the bare menu shows
  // (start_probe_bare.cpp), whoever runs the benchmark. A data folder that
  // does not exist, not Qt's test folder, where the tests leave last work.
  qputenv("XDG_DATA_HOME", "/nonexistent/marvane-start-probe");
  QApplication app(argc, argv);
  marvane::ConfigureApplication(app);
  marvane::RegisterForms();
  marvane::ShowMenu();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible()) new marvane::bench::QuitAfterFirstPaint(w);
  }
  return app.exec();
}
