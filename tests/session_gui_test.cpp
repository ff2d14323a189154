// Sessions as a user makes and opens them. The round trip on every form: the
// work saved, every form unloaded, the file opened from the menu; then every
// box, caption, table, copied text, setting and figure is as it was,
// including a session that ends in a faulting Compute and Incomplete with
// twelve terms. The title shows the file and a "*" while the work differs.
// Bad files are told where the user acted, and nothing on screen changes.
// The last work is kept on Compute, Back and closing; the menu offers it and
// the ten recent sessions.

#include <sys/resource.h>

#include <QDir>
#include <QComboBox>
#include <QJsonArray>
#include <QPushButton>
#include <QTableWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "session_support.h"

using namespace marvane;
using namespace marvane::testing;

namespace {

const QStringList kQuant{"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdz=2", "stdx=4", "Command1"};
const QStringList kQuantZ{"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdx=4", "hiz=1.5", "medz=0.5", "loz=-1", "Command1"};

// Incomplete with all twelve other terms.
QStringList TwelveTerms() {
  QStringList steps{"numvars=12", "Command3", "bx=-4.232465", "bz=-0.01681403", "bxz=0.0251592", "stdx=0.9784574",
                    "stdz=68.56287", "weight_0=18.6433"};
  for (int i = 1; i <= 12; ++i) {
    steps << QStringLiteral("weight_%1=0.%2").arg(i).arg(i * 7) << QStringLiteral("value_%1=%2.5").arg(i).arg(i - 6);
  }
  return steps << "Command1";
}

QString ModelSample(const QString& file) {
  QFile f(QStringLiteral(MARVANE_MODEL_DATA "/") + file);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QByteArray FileText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Sentence(const QString& path, const char* words) {
  return QStringLiteral("Could not open %1: ").arg(QFileInfo(path).fileName()) + QString::fromUtf8(words);
}

// Makes the window the active one, as a click on it does, so that its keys
// go to it.
void Activate(QWidget* w) {
  w->activateWindow();
  QApplication::setActiveWindow(w);
  QTRY_COMPARE(QApplication::activeWindow(), w);
}

// The work as a session keeps it, without when and by whom.
QByteArray Work(const ModelForm& f) { return SessionJson(sessions::Capture(f)); }

}  // namespace

class SessionGuiTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

 private slots:
  void initTestCase() {
    StartForms();
    QVERIFY(dir_.isValid());
    sessions::SetDataFolder(dir_.filePath("data"));
  }

  void roundTrip_data() {
    QTest::addColumn<QString>("menuButton");
    QTest::addColumn<QStringList>("steps");  // on the form, before Plot
    QTest::addColumn<QStringList>("plot");   // in the plot window ("" when not opened)
    QTest::addColumn<QStringList>("after");  // on the form again
    QTest::newRow("Quant, every setting of the window")
        << "Command1" << kQuant
        << QStringList{"paste=r_print_quant.txt", "df=28", "level=90", "decimals:=4", "range#2", "xFrom=-2",
                       "xTo=3", "xTitle=Weight (centred)", "yTitle=MPG", "legend[0]=Heavy \u201ccars\u201d",
                       "style#1", "figureUnit#1", "figureWidth:=15", "figureHeight:=10.5", "resolution:=600",
                       "bands!", "regionRange#1", "regionFrom=-100", "regionTo=100"}
        << QStringList{};
    QTest::newRow("Quant, the lines at typed values, observed values and the figure's looks")
        << "Command1" << kQuant
        << QStringList{"paste=r_print_quant.txt", "df=28", "moderators#2", "moderatorValues=-50, 10, 80",
                       "meanX=0.5", "meanZ=20", "observedFrom=-120", "observedTo=160", "observedXFrom=-1.5",
                       "observedXTo=2", "jnAdjustment#1", "fontSize:=11", "bands!", "bandStyle#1", "showCrossing!",
                       "regionXTitle=Wind (mph)", "regionYTitle=Effect of temperature", "legend[1]=Calm"}
        << QStringList{};
    QTest::newRow("Quant3, the lines at the means +- k SD")
        << "Command5"
        << QStringList{"bx=1", "bz=2", "bv=3", "bxz=0.5", "bxv=0.25", "bzv=0.1", "bxzv=0.05", "a=10", "stdx=2",
                       "stdz=1", "stdv=4", "Command1"}
        << QStringList{"moderators#1", "sdMultiple=1.5", "meanV=2", "regionEffect#1"} << QStringList{};
    QTest::newRow("QuantZ, a faulting Compute after the plot, a box typed after it")
        << "Command2" << kQuantZ << QStringList{"paste=r_print_quant.txt", "sampleSize=32", "bands!"}
        << QStringList{"bxz=10", "stdx=1", "hiz=1", "medz=1e308", "Command1", "a=7"};
    QTest::newRow("Mixed2, typed as a user types, a box changed after Compute")
        << "Command3" << QStringList{"bx= 7.81 ", "bz=-3.70", "bxz=3,9", "a=20.66abc", "stdx=0.629", "Command1", "a=5"}
        << QStringList{} << QStringList{};
    QTest::newRow("Mixed3, a weight without its pasted row")
        << "Command4" << QStringList{"rbx=0.6904897", "bz1=1.434507", "bz2=1.913069", "bxz1=0.174588",
                                     "bxz2=0.2110448", "a=4.750058", "stdx=0.4358663", "Command1"}
        << QStringList{"paste=r_print_mixed3.txt", "df=144", "map_bz2@none", "regionEffect#1", "decimals:=2"}
        << QStringList{};
    QTest::newRow("Quant3, the window without a matrix")
        << "Command5"
        << QStringList{"bx=1", "bz=2", "bv=3", "bxz=0.5", "bxv=0.25", "bzv=0.1", "bxzv=0.05", "a=10", "stdx=2",
                       "stdz=1", "stdv=4", "Command1"}
        << QStringList{"xTitle=Agriculture", "legend[3]=Low Z, low V", "range#1", "bands!"} << QStringList{};
    QTest::newRow("Incomplete with twelve terms")
        << "Inomplete" << TwelveTerms()
        << QStringList{"paste=r_csv_wide16.csv", "df=16", "map_weight_12@none", "level=99"} << QStringList{};
    QTest::newRow("Incomplete, GO faults, nothing computed")
        << "Inomplete" << QStringList{"numvars=13", "Command3", "bx=1"} << QStringList{} << QStringList{};
    QTest::newRow("Quant, only typed") << "Command1" << QStringList{"bx=1,5", "stdz= 2"} << QStringList{} << QStringList{};
  }

  void roundTrip() {
    QFETCH(QString, menuButton);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, plot);
    QFETCH(QStringList, after);
    ModelForm* f = OpenFromMenu(menuButton);
    QVERIFY(f != nullptr);
    const QString form = f->objectName();
    Drive(f, steps);
    if (!plot.isEmpty()) {
      Click(f, "Plot");
      QVERIFY(f->PlotWindow() != nullptr);
      for (const QString& step : plot) PlotStep(f->PlotWindow(), step);
    }
    Drive(f, after);
    const QString path = dir_.filePath(form + QStringLiteral("-%1.marvane").arg(QTest::currentDataTag()).remove(' '));
    QCOMPARE(sessions::Save(*f, path), QString());
    Settle();
    QCOMPARE(f->windowTitle(), f->Design().caption.c_str() + QStringLiteral(" — ") + QFileInfo(path).fileName());
    const QStringList before = Snapshot(f);
    const QByteArray work = Work(*f);

    // A fresh program: every form unloaded, the menu shown anew.
    FormWindow* menu = FreshMenu();
    QVERIFY(menu != nullptr);
    QCOMPARE(sessions::Open(path, menu), QString());
    Settle();
    ModelForm* g = Loaded(form.toLatin1().constData());
    QVERIFY(g != nullptr);
    QVERIFY(g->isVisible());
    QCOMPARE(Forms::Instance().LoadedCount(), 1);
    QCOMPARE(g->PlotWindow() != nullptr, !plot.isEmpty());
    const QStringList reopened = Snapshot(g);
    for (qsizetype i = 0; i < std::min(before.size(), reopened.size()); ++i) QCOMPARE(reopened[i], before[i]);
    QCOMPARE(reopened.size(), before.size());
    QCOMPARE(Work(*g), work);
    QCOMPARE(sessions::FileOf(*g), QFileInfo(path).absoluteFilePath());
  }

  // A model pasted on the form is kept: the one the window decides its rows
  // by, and one pasted since that waits for the next Plot.
  void pastedModelIsKept() {
    ModelForm* f = OpenFromMenu("Command1");
    const auto paste = [&](const QStringList& files, const QStringList& picks) {
      QString text;
      for (const QString& file : files) text += ModelSample(file) + "\n";
      Click(f, "pasteModel");
      QWidget* m = f->PasteModelWindow();
      QVERIFY(m != nullptr);
      m->findChild<QPlainTextEdit*>("modelText")->setPlainText(text);
      for (const QString& p : picks) {
        auto* pick = m->findChild<QComboBox*>("pick_" + p.section('=', 0, 0));
        QVERIFY(pick != nullptr);
        pick->setCurrentIndex(pick->findText(p.section('=', 1)));
      }
      QTest::mouseClick(m->findChild<QPushButton*>("applyModel"), Qt::LeftButton);
      Settle();
    };
    paste({"airquality_a_summary.txt", "airquality_a_vcov.txt"}, {"bx=Temp_c", "bz=Wind_c"});
    Drive(f, {"stdz=3.5", "stdx=9.5", "Command1", "Plot"});
    QVERIFY(f->PlotWindow() != nullptr);
    // The pasted row of X and how it was decided.
    const auto decided = [](ModelForm* form) {
      ProbeWindow* w = form->PlotWindow();
      auto* terms = w->findChild<QTableWidget*>("terms");
      auto* row = w->findChild<QComboBox*>("map_bx");
      if (terms == nullptr || row == nullptr || terms->item(1, 2) == nullptr) return QStringLiteral("no mapping of bx");
      return row->currentText() + " by " + terms->item(1, 2)->text();
    };
    QCOMPARE(decided(f), QStringLiteral("Temp_c by model"));
    paste({"airquality_a_summary.txt"}, {"bx=Wind_c", "bz=Temp_c"});
    const QString path = dir_.filePath("model.marvane");
    QCOMPARE(sessions::Save(*f, path), QString());
    const QStringList before = Snapshot(f);
    const QByteArray work = Work(*f);
    QVERIFY(work.contains("\"pending\"") && work.contains("\"used\""));

    QCOMPARE(sessions::Open(path, FreshMenu()), QString());
    Settle();
    ModelForm* g = Loaded("Quant");
    QVERIFY(g != nullptr && g->PlotWindow() != nullptr);
    QCOMPARE(Snapshot(g), before);
    QCOMPARE(Work(*g), work);
    // The next Plot takes the model pasted last, as it would have.
    Click(g, "Command1");
    Click(g, "Plot");
    Settle();
    QCOMPARE(decided(g), QStringLiteral("Wind_c by model"));
  }

  // The title names the file, with a "*" while the work differs from it:
  // typed back as it was, the "*" goes. Ctrl+S on the form and in the window
  // saves to the file without asking.
  void titleFollowsTheFile() {
    ModelForm* f = OpenFromMenu("Command1");
    Drive(f, kQuant);
    Click(f, "Plot");
    ProbeWindow* w = f->PlotWindow();
    const QString path = dir_.filePath("title.marvane");
    QCOMPARE(sessions::Save(*f, path), QString());
    QCOMPARE(f->windowTitle(), QStringLiteral("Quant — title.marvane"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Plot — Quant — title.marvane"));

    Type(f, "bx", "0.75");
    Settle();
    QCOMPARE(f->windowTitle(), QStringLiteral("Quant — title.marvane*"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Plot — Quant — title.marvane*"));
    Type(f, "bx", "0.5");
    Settle();
    QCOMPARE(f->windowTitle(), QStringLiteral("Quant — title.marvane"));

    PlotStep(w, "xTitle=Kept by Ctrl+S");
    QCOMPARE(w->windowTitle(), QStringLiteral("Plot — Quant — title.marvane*"));
    Activate(w);
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    Settle();
    QCOMPARE(w->windowTitle(), QStringLiteral("Plot — Quant — title.marvane"));
    QVERIFY(FileText(path).contains("\"xTitle\": \"Kept by Ctrl+S\""));

    Type(f, "a", "3");
    Click(f, "Command1");
    QCOMPARE(f->windowTitle(), QStringLiteral("Quant — title.marvane*"));
    Activate(f);
    QTest::keyClick(f, Qt::Key_S, Qt::ControlModifier);
    Settle();
    QCOMPARE(f->windowTitle(), QStringLiteral("Quant — title.marvane"));
    const SessionRead read = ReadSessionFile(path);
    QVERIFY(read.Ok());
    QCOMPARE(read.session.steps.back().boxes.at(3), (std::pair<QString, QString>("a", "3")));
  }

  // The buttons with their dialogs: Save session… in the window, Open
  // session… on the menu, Ctrl+O on a form; a form opened from the menu
  // afterwards is fresh.
  void buttonsAndDialogs() {
    ModelForm* f = OpenFromMenu("Command3");
    Drive(f, {"bx=0.5", "bz=1", "bxz=0.25", "a=2", "stdx=2", "Command1"});
    Click(f, "Plot");
    ProbeWindow* w = f->PlotWindow();
    const QString path = dir_.filePath("chosen.marvane");
    AnswerFileDialog(dir_.filePath("chosen"));  // the suffix is added
    QTest::mouseClick(w->findChild<QPushButton*>("saveSession"), Qt::LeftButton);
    Settle();
    QCOMPARE(w->findChild<QLabel*>("workStatus")->text(), QStringLiteral("Saved the session as chosen.marvane."));
    QVERIFY(QFile::exists(path));
    const QStringList before = Snapshot(f);

    FormWindow* menu = FreshMenu();
    AnswerFileDialog(path);
    Click(menu, "openSession");
    ModelForm* g = Loaded("Mixed2");
    QVERIFY(g != nullptr);
    // All but what the window said about the save.
    const QRegularExpression status("^label workStatus=");
    QStringList reopened = Snapshot(g);
    reopened.removeIf([&](const QString& s) { return status.match(s).hasMatch(); });
    QStringList saved = before;
    saved.removeIf([&](const QString& s) { return status.match(s).hasMatch(); });
    QCOMPARE(reopened, saved);

    // Ctrl+O on a form opens the other session; the form left is unloaded.
    const QString other = dir_.filePath("other.marvane");
    QCOMPARE(sessions::Save(*g, other), QString());
    Type(g, "bx", "9");
    Activate(g);
    AnswerFileDialog(path);
    QTest::keyClick(g, Qt::Key_O, Qt::ControlModifier);
    Settle();
    ModelForm* h = Loaded("Mixed2");
    QVERIFY(h != nullptr && h != g);
    QCOMPARE(Caption(h, "bx"), QStringLiteral("0.5"));
    QCOMPARE(h->windowTitle(), QStringLiteral("Mixed2 — chosen.marvane"));

    Click(h, "Command2");
    Click(VisibleForm(), "Command3");
    ModelForm* fresh = Loaded("Mixed2");
    QCOMPARE(Caption(fresh, "bx"), QString());
    QCOMPARE(fresh->windowTitle(), QStringLiteral("Mixed2"));
    QVERIFY(fresh->Steps().empty());
  }

  // A missing file, or a folder, cannot be chosen in the file dialog: they
  // come from the menu's recent sessions.
  void badFilesAreToldWhereTheUserActed_data() {
    QTest::addColumn<QByteArray>("text");  // "" for no file; "folder" for a folder of that name
    QTest::addColumn<QString>("words");
    QTest::newRow("not JSON") << QByteArray("{\n  \"format\": \"marvane-session\",\n  \"form\": Quant\n}")
                              << "it is not a session: its text is not JSON (illegal number at line 3, column 11)";
    QTest::newRow("not a session") << QByteArray("{\"name\": \"a list of groceries\"}")
                                   << "it is not a Marvane session";
    QTest::newRow("newer") << QByteArray("{\"format\": \"marvane-session\", \"formatVersion\": 7, \"form\": \"Quant\"}")
                           << "it was made by a newer Marvane (session format 7; this Marvane reads format 1)";
    QTest::newRow("unknown form")
        << QByteArray("{\"format\": \"marvane-session\", \"formatVersion\": 1, \"form\": \"Quant4\"}")
        << "it is for a form this Marvane does not have (\"Quant4\")";
    QTest::newRow("missing") << QByteArray() << "there is no such file";
    QTest::newRow("a folder") << QByteArray("folder") << "it is a folder, not a session file";
  }

  void badFilesAreToldWhereTheUserActed() {
    QFETCH(QByteArray, text);
    QFETCH(QString, words);
    const QString path = dir_.filePath(QStringLiteral("bad-%1.marvane").arg(QTest::currentDataTag()).replace(' ', '-'));
    if (text == "folder") {
      QVERIFY(QDir().mkpath(path));
    } else if (!text.isEmpty()) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(text);
    }
    const QString expected = Sentence(path, words.toUtf8().constData());

    // From the menu: said above its buttons, in full; the menu stays.
    const bool chosenInTheDialog = !text.isEmpty() && text != "folder";
    FormWindow* menu = FreshMenu();
    if (chosenInTheDialog) {
      AnswerFileDialog(path);
      Click(menu, "openSession");
    } else {
      QFile recent(sessions::DataFolder() + "/recent-sessions.json");
      QVERIFY(recent.open(QIODevice::WriteOnly));
      recent.write(QJsonDocument(QJsonObject{{"recent", QJsonArray{path}}}).toJson());
      recent.close();
      menu = FreshMenu();
      emit qobject_cast<QComboBox*>(menu->Control("recentSessions"))->activated(0);
      Settle();
    }
    QCOMPARE(VisibleForm(), menu);
    QVERIFY(Shown(menu, "sessionMessage"));
    QVERIFY2(Caption(menu, "sessionMessage").startsWith(expected), qPrintable(Caption(menu, "sessionMessage")));
    QCOMPARE(CutOff(menu->Label("sessionMessage")), QString());
    if (!chosenInTheDialog) return;

    // From a form (Ctrl+O): in its message; the work stays as it was.
    ModelForm* f = OpenFromMenu("Command1");
    Drive(f, kQuant);
    Click(f, "Plot");
    PlotStep(f->PlotWindow(), "xTitle=Still here");
    const QStringList before = Snapshot(f);
    Activate(f);
    AnswerFileDialog(path);
    QTest::keyClick(f, Qt::Key_O, Qt::ControlModifier);
    Settle();
    QCOMPARE(Loaded("Quant"), f);
    QVERIFY2(Caption(f, "message").startsWith(expected), qPrintable(Caption(f, "message")));
    CheckMessageFits(f);
    // Nothing else changed.
    auto withoutMessage = [](QStringList texts) {
      texts.removeIf([](const QString& t) { return t.startsWith("message "); });
      return texts;
    };
    QCOMPARE(withoutMessage(Snapshot(f)), withoutMessage(before));

    // From the plot window's button: beside its buttons.
    ProbeWindow* w = f->PlotWindow();
    AnswerFileDialog(path);
    QTest::mouseClick(w->findChild<QPushButton*>("openSession"), Qt::LeftButton);
    Settle();
    QCOMPARE(Loaded("Quant"), f);
    QVERIFY(w->findChild<QLabel*>("workStatus")->text().startsWith(expected));
    QCOMPARE(Caption(f, "xcross"), QStringLiteral("-2"));
  }

  // Saving where it cannot be written is told; the file that was there
  // stays whole.
  void unwritableFileIsTold() {
    ModelForm* f = OpenFromMenu("Command1");
    Drive(f, kQuant);
    Click(f, "Plot");
    const QString nowhere = dir_.filePath("no/such/folder/work.marvane");
    const QString problem = sessions::Save(*f, nowhere);
    QVERIFY2(problem.startsWith("Could not save work.marvane: it cannot be written"), qPrintable(problem));
    QCOMPARE(f->windowTitle(), QStringLiteral("Quant"));

    const QString path = dir_.filePath("whole.marvane");
    QCOMPARE(sessions::Save(*f, path), QString());
    const QByteArray old = FileText(path);
    // A title of 30 000 characters makes the file larger than the limit below.
    f->PlotWindow()->findChild<QLineEdit*>("xTitle")->setText(QString(30000, 'x'));
    QVERIFY(old.size() < 8 * 1024);
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 16 * 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    Activate(f);
    QTest::keyClick(f, Qt::Key_S, Qt::ControlModifier);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    Settle();
    QVERIFY2(Caption(f, "message").startsWith("Could not save whole.marvane: it cannot be written"),
             qPrintable(Caption(f, "message")));
    QVERIFY(Caption(f, "message").contains("left as it was"));
    QCOMPARE(FileText(path), old);
    QCOMPARE(f->windowTitle(), QStringLiteral("Quant — whole.marvane*"));
  }

  // The last work: kept on every Compute without a fault, on Back (with
  // what changed in the window since) and on closing; a form left untouched
  // keeps it as it was. The menu offers it, and it comes back as it was.
  void lastWorkComesBack() {
    sessions::SetDataFolder(dir_.filePath("last"));
    QCOMPARE(sessions::LastWorkPath(), dir_.filePath("last") + "/last-work.marvane");
    FormWindow* menu = FreshMenu();
    QVERIFY(!Shown(menu, "reopenLast"));

    ModelForm* f = OpenFromMenu("Command2");
    Drive(f, kQuantZ);
    SessionRead kept = ReadSessionFile(sessions::LastWorkPath());
    QVERIFY2(kept.Ok(), qPrintable(kept.error));
    QCOMPARE(kept.session.form, QStringLiteral("QuantZ"));
    QCOMPARE(kept.session.steps.size(), std::size_t{1});
    QVERIFY(!kept.session.plotOpen);

    Click(f, "Plot");
    PlotStep(f->PlotWindow(), "paste=r_print_quant.txt");
    PlotStep(f->PlotWindow(), "yTitle=Kept on Back");
    Type(f, "loz", "-2");
    const QStringList before = Snapshot(f);
    Click(f, "Command2");
    kept = ReadSessionFile(sessions::LastWorkPath());
    QVERIFY(kept.Ok());
    QVERIFY(kept.session.plotOpen);
    QCOMPARE(kept.session.plot.value("yTitle").toString(), QStringLiteral("Kept on Back"));

    // An untouched form left does not replace it.
    Click(VisibleForm(), "Command3");
    Click(VisibleForm(), "Command2");
    menu = VisibleForm();
    QVERIFY(Shown(menu, "reopenLast"));
    const QString when = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm");
    const QString caption = Caption(menu, "reopenLast");
    QVERIFY2(caption == "Reopen last work: QuantZ, " + when ||
                 caption.startsWith("Reopen last work: QuantZ, " + when.left(10)),
             qPrintable(caption));
    Click(menu, "reopenLast");
    ModelForm* g = Loaded("QuantZ");
    QVERIFY(g != nullptr);
    QCOMPARE(Snapshot(g), before);
    QCOMPARE(sessions::FileOf(*g), QString());

    // Closing the form keeps it too.
    Type(g, "a", "11");
    g->close();
    Settle();
    kept = ReadSessionFile(sessions::LastWorkPath());
    QVERIFY(kept.Ok());
    QCOMPARE(kept.session.boxes.at(3), (std::pair<QString, QString>("a", "11")));
    sessions::SetDataFolder(dir_.filePath("data"));
  }

  // The ten sessions saved or opened last, newest first, on the menu; none,
  // and the list is hidden. Choosing one opens it.
  void recentSessions() {
    sessions::SetDataFolder(dir_.filePath("recent"));
    FormWindow* menu = FreshMenu();
    QVERIFY(!Shown(menu, "recentSessions"));
    ModelForm* f = OpenFromMenu("Command1");
    Drive(f, kQuant);
    QStringList paths;
    for (int i = 0; i < 12; ++i) {
      paths.prepend(dir_.filePath(QStringLiteral("recent%1.marvane").arg(i)));
      QCOMPARE(sessions::Save(*f, paths.first()), QString());
    }
    QCOMPARE(sessions::RecentSessions(), paths.mid(0, 10));
    menu = FreshMenu();
    auto* list = qobject_cast<QComboBox*>(menu->Control("recentSessions"));
    QVERIFY(Shown(menu, "recentSessions"));
    QCOMPARE(list->count(), 10);
    QCOMPARE(list->itemText(0), QStringLiteral("recent11.marvane"));
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(menu->focusWidget(), menu->Button("Command1"));
    // The arrow keys do not open what they pass.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    Settle();
    QCOMPARE(VisibleForm(), menu);
    emit list->activated(3);
    Settle();
    ModelForm* g = Loaded("Quant");
    QVERIFY(g != nullptr);
    QCOMPARE(g->windowTitle(), QStringLiteral("Quant — recent8.marvane"));
    QCOMPARE(sessions::RecentSessions().first(), paths.at(3));

    // A recent session gone since is told on the menu.
    QFile::remove(paths.at(5));
    menu = FreshMenu();
    list = qobject_cast<QComboBox*>(menu->Control("recentSessions"));
    emit list->activated(list->findText("recent6.marvane"));
    Settle();
    QCOMPARE(VisibleForm(), menu);
    QVERIFY(Caption(menu, "sessionMessage").startsWith("Could not open recent6.marvane: there is no such file"));
    sessions::SetDataFolder(dir_.filePath("data"));
  }

  // marvane FILE.marvane: the file opened from the menu at the start; one
  // that went bad since it was checked is told on the menu.
  void openAtStart() {
    ModelForm* f = OpenFromMenu("Command5");
    Drive(f, {"bx=1", "bz=2", "stdx=2", "stdz=1", "stdv=4", "Command1"});
    const QString path = dir_.filePath("start.marvane");
    QCOMPARE(sessions::Save(*f, path), QString());
    const QStringList before = Snapshot(f);
    FreshMenu();
    OpenAtStart(path);
    Settle();
    QCOMPARE(Snapshot(Loaded("Quant3")), before);

    FormWindow* menu = FreshMenu();
    QFile::remove(path);
    OpenAtStart(path);
    Settle();
    QCOMPARE(VisibleForm(), menu);
    QVERIFY(Caption(menu, "sessionMessage").startsWith("Could not open start.marvane: there is no such file"));
  }
};

QTEST_MAIN(SessionGuiTest)
#include "session_gui_test.moc"
