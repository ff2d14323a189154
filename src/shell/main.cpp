#include <QApplication>

#include "shell/app.h"
#include "shell/command_line.h"

int main(int argc, char* argv[]) {
  if (const int status = marvane::HandleCommandLine(argc, argv); status >= 0) return status;
  QApplication app(argc, argv);
  marvane::ConfigureApplication(app);
  marvane::RegisterForms();
  marvane::ShowMenu();
  return app.exec();
}
