// Sessions from the desktop and the command line: the program started with a
// session file keeps running with it; a file it cannot open is said on
// standard error and ends it with status 2, before any window. The desktop
// entry passes the file (Exec=marvane %f) and names the MIME type, which
// update-mime-database and Qt's MIME database give to *.marvane.

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
  int status = -1;
  QString out, err;
};

Run Start(const QStringList& args, const QString& dataHome) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_DATA_HOME", dataHome);
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(MARVANE_EXE), args);
  if (!p.waitForFinished(20000)) {
    p.kill();
    p.waitForFinished();
    return {};
  }
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
          QString::fromUtf8(p.readAllStandardError())};
}

void Write(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

}  // namespace

class DesktopFilesTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void helpNamesTheSessionFile() {
    const Run r = Start({"--help"}, dir_.path());
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.startsWith("Usage: marvane [options] [FILE.marvane]\n"), qPrintable(r.out));
    QVERIFY2(r.out.simplified().contains("Arguments: FILE.marvane A Marvane session to open."), qPrintable(r.out));
  }

  void badFilesEndTheProgram_data() {
    QTest::addColumn<QByteArray>("text");  // "" for no file, "folder" for a folder
    QTest::addColumn<QString>("words");
    QTest::newRow("not JSON") << QByteArray("{\"format\": \"marvane-session\",\n\"form\": Quant}")
                              << "its text is not JSON (illegal number at line 2, column 9)";
    QTest::newRow("not a session") << QByteArray("[]") << "it is not a Marvane session";
    QTest::newRow("newer") << QByteArray("{\"format\": \"marvane-session\", \"formatVersion\": 2, \"form\": \"Quant\"}")
                           << "it was made by a newer Marvane (session format 2; this Marvane reads format 1)";
    QTest::newRow("unknown form")
        << QByteArray("{\"format\": \"marvane-session\", \"formatVersion\": 1, \"form\": \"Quant9\"}")
        << "it is for a form this Marvane does not have (\"Quant9\")";
    QTest::newRow("missing") << QByteArray() << "there is no such file";
    QTest::newRow("folder") << QByteArray("folder") << "it is a folder, not a session file";
  }

  void badFilesEndTheProgram() {
    QFETCH(QByteArray, text);
    QFETCH(QString, words);
    const QString path = dir_.filePath(QStringLiteral("%1.marvane").arg(QTest::currentDataTag()).replace(' ', '-'));
    if (text == "folder") {
      QVERIFY(QDir().mkpath(path));
    } else if (!text.isEmpty()) {
      Write(path, text);
    }
    const Run r = Start({path}, dir_.path());
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QString());
    QVERIFY2(r.err.startsWith("marvane: Could not open " + path + ": "), qPrintable(r.err));
    QVERIFY2(r.err.contains(words), qPrintable(r.err));
  }

  void twoFilesAreRefused() {
    const Run r = Start({"a.marvane", "b.marvane"}, dir_.path());
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains("opens one session file at a time, but was given 2: 'a.marvane', 'b.marvane'"),
             qPrintable(r.err));
  }

  // A good session: the program keeps running with it until it is ended.
  void goodFileKeepsRunning() {
    const QString path = dir_.filePath("work.marvane");
    Write(path,
          "{\"format\": \"marvane-session\", \"formatVersion\": 1, \"form\": \"Mixed2\",\n"
          " \"boxes\": {\"bx\": \"0.5\", \"stdx\": \"2\"},\n"
          " \"steps\": [{\"button\": \"Command1\", \"boxes\": {\"bx\": \"0.5\", \"stdx\": \"2\"}}],\n"
          " \"plot\": {\"open\": true, \"settings\": {\"xTitle\": \"Dose\"}}}\n");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", dir_.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(MARVANE_EXE), {path});
    QVERIFY(p.waitForStarted());
    QVERIFY2(!p.waitForFinished(2000), qPrintable(QString::fromUtf8(p.readAllStandardError())));
    p.terminate();
    QVERIFY(p.waitForFinished(5000));
  }

  void desktopEntryOpensSessions() {
    QFile file(QStringLiteral(MARVANE_DESKTOP));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    QVERIFY(lines.contains("Exec=marvane %f"));
    QVERIFY(lines.contains("MimeType=application/x-marvane-session;"));
    const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
    QVERIFY2(!validate.isEmpty(), "desktop-file-validate is needed (desktop-file-utils, scripts/setup.sh)");
    QProcess p;
    p.start(validate, {QStringLiteral(MARVANE_DESKTOP)});
    QVERIFY(p.waitForFinished());
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput() + p.readAllStandardError(), QByteArray());
  }

  // The type as update-mime-database builds it from the installed file, and
  // as Qt finds it by the name's suffix.
  void mimeTypeIsKnownBySuffix() {
    const QString share = dir_.filePath("share");
    QVERIFY(QDir().mkpath(share + "/mime/packages"));
    QVERIFY(QFile::copy(QStringLiteral(MARVANE_MIME_XML), share + "/mime/packages/marvane.xml"));
    const QString update = QStandardPaths::findExecutable("update-mime-database");
    QVERIFY2(!update.isEmpty(), "update-mime-database is needed (shared-mime-info, scripts/setup.sh)");
    QProcess p;
    p.start(update, {share + "/mime"});
    QVERIFY(p.waitForFinished());
    QCOMPARE(p.exitCode(), 0);
    QFile globs(share + "/mime/globs2");
    QVERIFY(globs.open(QIODevice::ReadOnly));
    QVERIFY(globs.readAll().contains(":application/x-marvane-session:*.marvane"));

    // Qt reads the MIME folders once, at its first use: this is it.
    qputenv("XDG_DATA_DIRS", share.toUtf8() + ":/usr/share");
    const QMimeDatabase db;
    const QMimeType type = db.mimeTypeForFile(dir_.filePath("results.marvane"), QMimeDatabase::MatchExtension);
    QCOMPARE(type.name(), QStringLiteral("application/x-marvane-session"));
    QCOMPARE(type.comment(), QStringLiteral("Marvane session"));
    QVERIFY(type.inherits("application/json"));
    QVERIFY(type.suffixes().contains("marvane"));
  }
};

QTEST_GUILESS_MAIN(DesktopFilesTest)
#include "desktop_files_test.moc"
