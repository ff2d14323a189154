#include <QApplication>
#include <QString>

#include "shell/app.h"
#include "shell/command_line.h"

int main(int argc, char* argv[]) {
  QString session;
  if (const int status = marvane::HandleCommandLine(argc, argv, &session); status >= 0) return status;
  QApplication app(argc, argv);
  marvane::ConfigureApplication(app);
  marvane::RegisterForms();
  marvane::ShowMenu();
  if (!session.isEmpty()) marvane::OpenAtStart(session);
  return app.exec();
}
