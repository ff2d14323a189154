// The Quant form as a user drives it: open it from the menu, type, Compute.

#include <QTest>

#include "gui_support.h"

using namespace marvane::testing;

namespace {

const QStringList kBoxes{"bx", "bz", "bxz", "a", "stdz", "stdx"};

}  // namespace

class QuantGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  void computesRows_data() {
    QTest::addColumn<QStringList>("typed");  // bx, bz, bxz, a, stdz, stdx
    QTest::addColumn<QStringList>("boxesAfter");
    QTest::addColumn<QStringList>("row1");
    QTest::addColumn<QStringList>("row2");
    QTest::addColumn<QStringList>("row3");
    QTest::addColumn<QString>("crossover");

    QTest::newRow("worked example")
        << QStringList{"0.5", "0.25", "0.125", "2", "2", "4"}
        << QStringList{"0.5", "0.25", "0.125", "2", "2", "4"}
        << QStringList{"0.75", "2.5", "-4", "-0.5", "4", "5.5"}
        << QStringList{"0.5", "2", "-4", "0", "4", "4"}
        << QStringList{"0.25", "1.5", "-4", "0.5", "4", "2.5"} << "-2";
    // Flooring, not truncation, of a negative slope: 0 - 0.3333 -> -0.334.
    QTest::newRow("negative slope floored")
        << QStringList{"0", "1", "0.3333", "0", "1", "1"}
        << QStringList{"0", "1", "0.3333", "0", "1", "1"}
        << QStringList{"0.333", "1", "-1", "0.66", "1", "1.33"}
        << QStringList{"0", "0", "-1", "0", "1", "0"}
        << QStringList{"-0.334", "-1", "-1", "-0.67", "1", "-1.34"} << "-3.01";
    // The crossover 1/3 shows 0.33; -1/3 shows -0.34.
    QTest::newRow("crossover one third")
        << QStringList{"1", "-1", "3", "0", "0", "0"} << QStringList{"1", "-1", "3", "0", "0", "0"}
        << QStringList{"1", "0", "0", "0", "0", "0"} << QStringList{"1", "0", "0", "0", "0", "0"}
        << QStringList{"1", "0", "0", "0", "0", "0"} << "0.33";
    QTest::newRow("crossover minus one third")
        << QStringList{"1", "1", "3", "0", "0", "0"} << QStringList{"1", "1", "3", "0", "0", "0"}
        << QStringList{"1", "0", "0", "0", "0", "0"} << QStringList{"1", "0", "0", "0", "0", "0"}
        << QStringList{"1", "0", "0", "0", "0", "0"} << "-0.34";
    // Typed texts are read leniently and written back canonically; X2 is the
    // normalised text of stdx and X1 its negation.
    QTest::newRow("lenient typing")
        << QStringList{" 1.50", "1,5", "3e-1", "  -.5 ", "2 0", "2.50abc"}
        << QStringList{"1.5", "1", "0.3", "-0.5", "20", "2.5"}
        << QStringList{"7.5", "19.5", "-2.5", "0.75", "2.5", "38.25"}
        << QStringList{"1.5", "-0.5", "-2.5", "-4.25", "2.5", "3.25"}
        << QStringList{"-4.5", "-20.5", "-2.5", "-9.25", "2.5", "-31.75"} << "-3.34";
  }

  void computesRows() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, boxesAfter);
    QFETCH(QStringList, row1);
    QFETCH(QStringList, row2);
    QFETCH(QStringList, row3);
    QFETCH(QString, crossover);
    marvane::ModelForm* f = OpenFromMenu("Command1");
    QVERIFY(f != nullptr);
    TypeInto(f, kBoxes, typed);
    Click(f, "Command1");

    QCOMPARE(Texts(f, kBoxes), boxesAfter);
    QCOMPARE(Caption(f, "xcross"), crossover);
    QCOMPARE(Caption(f, "Label5"), QString("the crossover point is at  X="));
    CheckGoodCompute(f, row1 + row2 + row3, kBoxes + QStringList{"xcross"});
  }

  // bx huge: row 1 and 2 fine; row 3 = bx - stdz*bxz overflows.
  void overflowInRowLeavesEarlierRows() {
    marvane::ModelForm* f = OpenFromMenu("Command1");
    TypeAll(f, {{"bx", "-1e308"}, {"bz", "0"}, {"bxz", "1e308"}, {"a", "0"}, {"stdz", "1"}, {"stdx", "0"}});
    Click(f, "Command1");
    // Row 1: -1e308 + 1e308 = 0. Row 2: bx itself, but x1000 overflows in the display.
    QCOMPARE(Caption(f, "se13"), QString("0"));
    QVERIFY(Shown(f, "se15") && Shown(f, "p16"));
    QCOMPARE(Caption(f, "se23"), QString());
    QVERIFY(!Shown(f, "se21"));
    QVERIFY(!Shown(f, "se31") && !Shown(f, "xcross") && !Shown(f, "Label5"));
    QVERIFY(Shown(f, "message"));
    QVERIFY2(f->MessageText().contains("row 2"), qPrintable(f->MessageText()));
    QVERIFY(f->MessageText().contains("overflow"));

    // Fixing the input and computing again clears the message.
    TypeAll(f, {{"bx", "1"}, {"bxz", "1"}});
    Click(f, "Command1");
    QVERIFY(!Shown(f, "message"));
    QVERIFY(Shown(f, "se31"));
  }

  // An overflow in row 2's own arithmetic (not its display) after row 1.
  void overflowInSecondRowArithmetic() {
    marvane::ModelForm* f = OpenFromMenu("Command1");
    // Row 1's slope is 2 + 1*(-2) = 0, so its Y values are a' itself; row 2's
    // slope is bx = 2 and stdx * 2 = 2e308 overflows before anything of row 2 is written.
    TypeAll(f, {{"bx", "2"}, {"bz", "0"}, {"bxz", "-2"}, {"a", "0"}, {"stdz", "1"}, {"stdx", "1e308"}});
    Click(f, "Command1");
    QVERIFY(Shown(f, "p18"));
    QCOMPARE(Caption(f, "se13"), QString("0"));
    QVERIFY(!Shown(f, "se21"));
    QCOMPARE(Caption(f, "se23"), QString());
    QVERIFY(f->MessageText().contains("row 2"));
  }

  void numberBeyondRangeInABox() {
    marvane::ModelForm* f = OpenFromMenu("Command1");
    TypeAll(f, {{"bx", "2.50"}, {"bz", "1e999"}, {"bxz", "7.0"}});
    Click(f, "Command1");
    // bx was normalised before bz stopped the handler; bxz keeps its text.
    QCOMPARE(Caption(f, "bx"), QString("2.5"));
    QCOMPARE(Caption(f, "bz"), QString("1e999"));
    QCOMPARE(Caption(f, "bxz"), QString("7.0"));
    QVERIFY(!Shown(f, "se"));
    QVERIFY2(f->MessageText().contains("the weight of Z"), qPrintable(f->MessageText()));
  }

};

QTEST_MAIN(QuantGuiTest)
#include "quant_gui_test.moc"
