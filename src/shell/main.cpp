#include <QApplication>

#include "shell/app.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  marvane::ConfigureApplication(app);
  marvane::RegisterForms();
  marvane::ShowMenu();
  return app.exec();
}
