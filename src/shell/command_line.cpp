#include "shell/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace marvane {

int HandleCommandLine(int argc, char* argv[]) {
  QCoreApplication::setApplicationName(QStringLiteral("marvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(MARVANE_VERSION));
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Shows the simple-effect lines of a regression with an interaction term."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  if (!parser.parse(arguments)) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for the options.\n",
                 qPrintable(QCoreApplication::applicationName()), qPrintable(parser.errorText()),
                 qPrintable(QCoreApplication::applicationName()));
    return 2;
  }
  if (!parser.positionalArguments().isEmpty()) {
    std::fprintf(stderr, "%s: takes no arguments, but was given '%s'.\n",
                 qPrintable(QCoreApplication::applicationName()),
                 qPrintable(parser.positionalArguments().constFirst()));
    return 2;
  }
  if (parser.isSet(help)) {
    // Without an application object the parser cannot know the program's name.
    QString text = parser.helpText();
    text.replace(QLatin1String("<executable_name>"), QCoreApplication::applicationName());
    std::fputs(qPrintable(text), stdout);
    return 0;
  }
  if (parser.isSet(version)) {
    std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                qPrintable(QCoreApplication::applicationVersion()));
    return 0;
  }
  return -1;
}

}  // namespace marvane
