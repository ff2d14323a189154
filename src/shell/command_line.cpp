#include "shell/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "shell/session_file.h"

namespace marvane {
namespace {

int Refuse(const QString& text) {
  std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(text));
  return 2;
}

}  // namespace

int HandleCommandLine(int argc, char* argv[], QString* session) {
  QCoreApplication::setApplicationName(QStringLiteral("marvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(MARVANE_VERSION));
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Shows the simple-effect lines of a regression with an interaction term.\n"
                     "Given a session file (.marvane, saved from a form or its plot window), opens it: the\n"
                     "form with every box as it was typed, its results and its plot window."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE.marvane"), QStringLiteral("A Marvane session to open."),
                               QStringLiteral("[FILE.marvane]"));
  if (!parser.parse(arguments)) {
    return Refuse(parser.errorText() + QStringLiteral("\nTry '%1 --help' for the options.")
                                           .arg(QCoreApplication::applicationName()));
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
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    return Refuse(QStringLiteral("opens one session file at a time, but was given %1: '%2', '%3'%4.")
                      .arg(files.size())
                      .arg(files.at(0), files.at(1), files.size() > 2 ? QStringLiteral(", ...") : QString()));
  }
  if (files.size() == 1) {
    const SessionRead read = ReadSessionFile(files.first());
    if (!read.Ok()) return Refuse(QStringLiteral("Could not open %1: %2").arg(files.first(), read.error));
    *session = files.first();
  }
  return -1;
}

}  // namespace marvane
