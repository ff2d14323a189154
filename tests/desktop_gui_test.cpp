// Keyboard and assistive-technology behaviour of the forms: Return in a box
// does what the compute button's click does, and every control is named in
// words for a screen reader.

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "gui_support.h"
#include "shell/accessibility.h"

using namespace marvane::testing;
using marvane::forms::Kind;

namespace {

// Everything a user can see on the form: each control's text and whether it
// is shown.
QStringList Snapshot(marvane::FormWindow* f) {
  QStringList out;
  for (const marvane::forms::Control& c : f->Design().controls) {
    const QString name = QString::fromStdString(c.name);
    out << name + (Shown(f, name) ? "+" : "-") + Caption(f, name);
  }
  return out;
}

QList<QAccessible::Event> g_events;
QObject* g_alertSource = nullptr;

void RecordUpdate(QAccessibleEvent* event) {
  g_events << event->type();
  if (event->type() == QAccessible::Alert) g_alertSource = event->object();
}

}  // namespace

class DesktopGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    StartForms();
    QAccessible::installUpdateHandler(RecordUpdate);
    QAccessible::setActive(true);  // as when a screen reader is listening
  }

  // steps typed before the last one; the last is the compute button, pressed
  // once by a click and once by Return in `box`.
  void returnDoesWhatTheClickDoes_data() {
    QTest::addColumn<QString>("menuButton");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("box");
    QTest::newRow("Quant") << "Command1" << QStringList{"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdz=2", "stdx=4", "Command1"} << "bx";
    QTest::newRow("Quant fault") << "Command1" << QStringList{"bx=1E308", "bz=1E308", "bxz=1E308", "stdz=1E308", "stdx=1E308", "Command1"} << "stdx";
    QTest::newRow("QuantZ") << "Command2" << QStringList{"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdx=4", "hiz=1.5", "medz=0.5", "loz=-1", "Command1"} << "loz";
    QTest::newRow("Mixed2 Go") << "Command3" << QStringList{"bx=0.5", "bz=1", "bxz=0.25", "a=2", "stdx=2", "Command1"} << "a";
    QTest::newRow("Mixed3 Go") << "Command4" << QStringList{"rbx=0.5", "bz1=1", "bz2=-1", "bxz1=0.25", "bxz2=-0.25", "a=2", "stdx=2", "Command1"} << "rbx";
    QTest::newRow("Quant3") << "Command5" << QStringList{"bx=1", "bz=2", "bv=3", "stdx=2", "stdz=1", "Command1"} << "stdz";
    QTest::newRow("Incomplete GO in numvars") << "Inomplete" << QStringList{"numvars=2", "Command3"} << "numvars";
    QTest::newRow("Incomplete Compute in a grid box") << "Inomplete" << QStringList{"bx=1", "numvars=2", "Command3", "weight_0=4", "weight_1=1", "value_1=1", "Command1"} << "value_1";
    QTest::newRow("Incomplete Compute in bx") << "Inomplete" << QStringList{"numvars=1", "Command3", "bx=2", "weight_1=x", "Command1"} << "bx";
  }

  void returnDoesWhatTheClickDoes() {
    QFETCH(QString, menuButton);
    QFETCH(QStringList, steps);
    QFETCH(QString, box);
    marvane::FormWindow* clicked = OpenFromMenu(menuButton);
    QVERIFY(clicked != nullptr);
    Drive(clicked, steps);
    const QStringList byClick = Snapshot(clicked);

    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
      marvane::FormWindow* f = OpenFromMenu(menuButton);
      Drive(f, steps.mid(0, steps.size() - 1));
      const QStringList before = Snapshot(f);
      f->Box(Std(box))->setFocus();
      QTest::keyClick(f->Box(Std(box)), key);
      Settle();
      QVERIFY2(Snapshot(f) != before, "the key changed nothing");
      QCOMPARE(Snapshot(f), byClick);
    }
  }

  // Before GO, Compute is hidden and Return in a box other than numvars does
  // nothing.
  void returnOnIncompleteBeforeGoDoesNothing() {
    marvane::FormWindow* f = OpenFromMenu("Inomplete");
    Type(f, "bx", "1");
    const QStringList before = Snapshot(f);
    QTest::keyClick(f->Box("bx"), Qt::Key_Return);
    Settle();
    QCOMPARE(Snapshot(f), before);
  }

  void controlsAreNamedInWords_data() {
    QTest::addColumn<QString>("menuButton");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("names");  // control=accessible name
    QTest::newRow("Quant") << "Command1" << QStringList{"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdz=2", "stdx=4", "Command1"}
                           << QStringList{"bx=weight of X", "stdz=standard deviation of Z", "Command1=Compute",
                                          "Command2=Back to the menu", "se13=slope, for 1 std above the mean of Z",
                                          "se35=intercept, for 1 std below the mean of Z",
                                          "p26=Y of the second plotting point, for the mean of Z",
                                          "xcross=crossover point"};
    QTest::newRow("Incomplete") << "Inomplete" << QStringList{"numvars=1", "Command3"}
                                << QStringList{"numvars=number of other terms", "Command3=Go: show a row for each other term",
                                               "weight_1=term weight in row 1"};
  }

  void controlsAreNamedInWords() {
    QFETCH(QString, menuButton);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, names);
    marvane::FormWindow* f = OpenFromMenu(menuButton);
    Drive(f, steps);
    for (const QString& entry : names) {
      const QString control = entry.section('=', 0, 0);
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(f->Control(Std(control)));
      QVERIFY2(a != nullptr, qPrintable(control));
      QCOMPARE(a->text(QAccessible::Name), entry.section('=', 1));
    }
  }

  // Every box, button and result value of every form has a name, boxes a
  // tooltip; a value label's accessible value is the number it shows.
  void everyControlIsNamed() {
    for (const char* menuButton : {"Command1", "Command2", "Command3", "Command4", "Command5", "Inomplete"}) {
      marvane::FormWindow* f = OpenFromMenu(menuButton);
      QVERIFY(f != nullptr);
      for (const marvane::forms::Control& c : f->Design().controls) {
        QWidget* w = f->Control(c.name);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        const bool valueLabel = c.kind == Kind::Label && c.caption.empty() && c.name != "message";
        if (c.kind == Kind::Label && !valueLabel) continue;
        QVERIFY2(!a->text(QAccessible::Name).isEmpty(), c.name.c_str());
        if (c.kind == Kind::TextBox) QVERIFY2(!w->toolTip().isEmpty(), c.name.c_str());
        if (valueLabel) {
          static_cast<QLabel*>(w)->setText("1.25");
          QCOMPARE(a->text(QAccessible::Value), QString("1.25"));
        }
      }
    }
  }

  // A told fault raises an alert on the message label; a good Compute none.
  void faultRaisesAnAlert() {
    // Qt passes events on to its update handler only while a platform
    // accessibility bridge is active, and the offscreen platform has none:
    // the program's own listener sees the same event either way.
    marvane::ListenForAlerts([](const QAccessibleEvent& e) {
      g_events << e.type();
      if (e.type() == QAccessible::Alert) g_alertSource = e.object();
    });
    marvane::FormWindow* f = OpenFromMenu("Command1");
    Drive(f, {"bx=0.5", "stdx=4", "Command1"});
    g_events.clear();
    g_alertSource = nullptr;
    Drive(f, {"bx=1E308", "bz=1E308", "bxz=1E308", "stdz=1E308", "stdx=1E308", "Command1"});
    QVERIFY(!Caption(f, "message").isEmpty());
    QCOMPARE(g_alertSource, static_cast<QObject*>(f->Label("message")));
    g_events.clear();
    Drive(f, {"bx=0.5", "bz=0", "bxz=0", "stdz=1", "stdx=4", "Command1"});
    QVERIFY(Caption(f, "message").isEmpty());
    QVERIFY(!g_events.contains(QAccessible::Alert));
    marvane::ListenForAlerts(nullptr);
  }
};

QTEST_MAIN(DesktopGuiTest)
#include "desktop_gui_test.moc"
