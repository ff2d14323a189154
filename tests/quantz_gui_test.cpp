// The QuantZ form as a user drives it: open it from the menu, type, Compute.

#include <QTest>

#include "gui_support.h"

using namespace marvane::testing;

namespace {

// The boxes in the order of the typed lists below (not the order Compute
// normalises them in).
const QStringList kBoxes{"bx", "bz", "bxz", "a", "stdx", "hiz", "medz", "loz"};

}  // namespace

class QuantZGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  void computesRows_data() {
    QTest::addColumn<QStringList>("typed");  // bx, bz, bxz, a, stdx, hiz, medz, loz
    QTest::addColumn<QStringList>("boxesAfter");
    QTest::addColumn<QStringList>("row1");  // slope, intercept, X1, Y1, X2, Y2
    QTest::addColumn<QStringList>("row2");
    QTest::addColumn<QStringList>("row3");
    QTest::addColumn<QString>("crossover");

    // b = 0.5 + Z/8 and a' = 2 + Z/4 at Z = 1.5, 0.5, -1; 0.6875 shows 0.687, -0.375 shows -0.38.
    QTest::newRow("worked example")
        << QStringList{"0.5", "0.25", "0.125", "2", "4", "1.5", "0.5", "-1"}
        << QStringList{"0.5", "0.25", "0.125", "2", "4", "1.5", "0.5", "-1"}
        << QStringList{"0.687", "2.375", "-4", "-0.38", "4", "5.12"}
        << QStringList{"0.562", "2.125", "-4", "-0.13", "4", "4.37"}
        << QStringList{"0.375", "1.75", "-4", "0.25", "4", "3.25"} << "-2";
    // Negative values go down, never toward zero: slope -0.0375 -> -0.038,
    // a' -0.6504 -> -0.651, Y -1.6629 -> -1.67, Y -0.0504 -> -0.06.
    QTest::newRow("negative values floored")
        << QStringList{"0.25", "0.5", "-0.125", "-0.3004", "3", "2.3", "-0.7", "-4"}
        << QStringList{"0.25", "0.5", "-0.125", "-0.3004", "3", "2.3", "-0.7", "-4"}
        << QStringList{"-0.038", "0.849", "-3", "0.96", "3", "0.73"}
        << QStringList{"0.337", "-0.651", "-3", "-1.67", "3", "0.36"}
        << QStringList{"0.75", "-2.301", "-3", "-4.56", "3", "-0.06"} << "4";
    // Low below medium below high is no requirement: each row uses its own box.
    QTest::newRow("ascending Z values")
        << QStringList{"1", "2", "0.5", "0", "2", "-1", "0", "3"}
        << QStringList{"1", "2", "0.5", "0", "2", "-1", "0", "3"}
        << QStringList{"0.5", "-2", "-2", "-3", "2", "-1"}
        << QStringList{"1", "0", "-2", "-2", "2", "2"}
        << QStringList{"2.5", "6", "-2", "1", "2", "11"} << "-4";
    QTest::newRow("equal Z values")
        << QStringList{"1", "2", "0.5", "0", "2", "2", "2", "2"}
        << QStringList{"1", "2", "0.5", "0", "2", "2", "2", "2"}
        << QStringList{"2", "4", "-2", "0", "2", "8"}
        << QStringList{"2", "4", "-2", "0", "2", "8"}
        << QStringList{"2", "4", "-2", "0", "2", "8"} << "-4";
    // The crossover -1/3 is floored to -0.34; rows at Z = 0.5, 0, -0.5.
    QTest::newRow("crossover floored")
        << QStringList{"0", "1", "3", "0", "1", "0.5", "0", "-0.5"}
        << QStringList{"0", "1", "3", "0", "1", "0.5", "0", "-0.5"}
        << QStringList{"1.5", "0.5", "-1", "-1", "1", "2"}
        << QStringList{"0", "0", "-1", "0", "1", "0"}
        << QStringList{"-1.5", "-0.5", "-1", "1", "1", "-2"} << "-0.34";
    QTest::newRow("crossover one third")
        << QStringList{"", "-1", "3", "", "", "", "", ""}
        << QStringList{"0", "-1", "3", "0", "0", "0", "0", "0"}
        << QStringList{"0", "0", "0", "0", "0", "0"}
        << QStringList{"0", "0", "0", "0", "0", "0"}
        << QStringList{"0", "0", "0", "0", "0", "0"} << "0.33";
    // Typed texts are read leniently and written back canonically; X2 is the
    // normalised text of stdx and X1 its negation.
    QTest::newRow("lenient typing")
        << QStringList{" 1.50", "1,5", "3e-1", "  -.5 ", "2.50abc", "1 6", "+.125", "-1e1x"}
        << QStringList{"1.5", "1", "0.3", "-0.5", "2.5", "16", "0.125", "-10"}
        << QStringList{"6.3", "15.5", "-2.5", "-0.25", "2.5", "31.25"}
        << QStringList{"1.537", "-0.375", "-2.5", "-4.22", "2.5", "3.46"}
        << QStringList{"-1.5", "-10.5", "-2.5", "-6.75", "2.5", "-14.25"} << "-3.34";
  }

  void computesRows() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, boxesAfter);
    QFETCH(QStringList, row1);
    QFETCH(QStringList, row2);
    QFETCH(QStringList, row3);
    QFETCH(QString, crossover);
    marvane::ModelForm* f = OpenFromMenu("Command2");
    QVERIFY(f != nullptr);
    TypeInto(f, kBoxes, typed);
    Click(f, "Command1");

    QCOMPARE(Texts(f, kBoxes), boxesAfter);
    QCOMPARE(Caption(f, "xcross"), crossover);
    CheckGoodCompute(f, row1 + row2 + row3, kBoxes + QStringList{"xcross"});
  }

  // The fixed captions of the result panel, once revealed, and the note.
  void fixedCaptions() {
    marvane::ModelForm* f = OpenFromMenu("Command2");
    Click(f, "Command1");
    CheckTexts(f, {"Label9=    \"X\" is the x-axis variable" + QString(33, ' ') + "\"Z\" defines the simple effect values" +
                       QString(14, ' ') + "Enter values to at least 3 decimals     "});
    CheckTexts(f, {"se=Simple effect regression models", "se11=For high value of Z",
                      "se21=For medium value of Z", "se31=For low value of Z", "p=Plotting points",
                      "p11=For high value of Z, plot", "p21=For medium value of Z, plot",
                      "p31=For low value of Z,   plot", "Label1=the crossover point is at  X="});
    for (int k = 1; k <= 3; ++k) {
      const QString r = QString::number(k);
      CheckTexts(f, {"se" + r + "2=b=", "se" + r + "4=a=", "p" + r + "7=,", "p" + r + "8=,", "p" + r + "4=and"});
    }
  }

  // A fault part-way: what was written before it stays, nothing after it is
  // written, and the message says where it stopped.
  void faultPartWay_data() {
    QTest::addColumn<QStringList>("typed");  // bx, bz, bxz, a, stdx, hiz, medz, loz
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("hidden");
    QTest::addColumn<QString>("where");

    const QStringList row1Shown{"se", "se11", "se12", "se13", "se14", "se15", "p", "p11", "p12", "p13",
                                "p14", "p15", "p16", "p17", "p18"};
    // 1e308 * 10 overflows before anything of row 2 is written.
    QTest::newRow("row 2 slope overflows")
        << QStringList{"0", "0", "10", "0", "1", "1", "1e308", "0"}
        << QStringList{"se13=10", "se15=0", "p12=-1", "p13=-10", "p15=1", "p16=10", "se23=", "se25=",
                       "p22=", "p23=", "xcross="}
        << row1Shown
        << QStringList{"se21", "se22", "se23", "se24", "se25", "p21", "p22", "p23", "p25", "p26",
                       "se31", "p31", "Label1", "xcross"}
        << "row 2";
    // Row 2's line 1e305 shows; its Y1 = -100 * 1e305 is fine but times 100
    // for the display overflows: X1 is written, Y1 and the rest of the
    // points are not, and the point row stays hidden.
    QTest::newRow("row 2 Y1 display overflows")
        << QStringList{"0", "0", "1", "0", "100", "0", "1e305", "0"}
        << QStringList{"se13=0", "se15=0", "p12=-100", "p13=0", "p15=100", "p16=0", "se23=1E+305",
                       "se25=0", "p22=-100", "p23=", "p25=", "p26="}
        << row1Shown + QStringList{"se21", "se22", "se23", "se24", "se25"}
        << QStringList{"p21", "p22", "p23", "p24", "p25", "p26", "p27", "p28", "se31", "p31", "Label1",
                       "xcross"}
        << "row 2";
    // All three rows, then -1e300 / 1e-300 at the crossover.
    QTest::newRow("crossover overflows")
        << QStringList{"", "1e300", "1e-300", "", "", "", "", ""}
        << QStringList{"se33=0", "se35=0", "p36=0", "xcross="}
        << row1Shown + QStringList{"se31", "se35", "p31", "p36", "p38"}
        << QStringList{"Label1", "xcross"}
        << "the crossover point";
  }

  void faultPartWay() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, hidden);
    QFETCH(QString, where);
    marvane::ModelForm* f = OpenFromMenu("Command2");
    TypeInto(f, kBoxes, typed);
    Click(f, "Command1");
    CheckTexts(f, captions);
    CheckShown(f, shown);
    CheckShown(f, hidden, false);
    QVERIFY(Shown(f, "message"));
    const QString message = f->MessageText();
    QVERIFY2(message.contains("overflow") && message.contains(" in " + where + "."), qPrintable(message));
  }

  // A fault on a second Compute leaves the rows of the first one from the
  // faulting row on: nothing is hidden, nothing cleared.
  void faultAfterAGoodCompute() {
    marvane::ModelForm* f = OpenFromMenu("Command2");
    TypeInto(f, kBoxes, {"0.5", "0.25", "0.125", "2", "4", "1.5", "0.5", "-1"});
    Click(f, "Command1");
    // Row 2's slope 0.5 + 1e308/8 is a double, but times 1000 it is not.
    Type(f, "medz", "1e308");
    Click(f, "Command1");
    QCOMPARE(RowValues(f, 1), (QStringList{"0.687", "2.375", "-4", "-0.38", "4", "5.12"}));
    QCOMPARE(RowValues(f, 2), (QStringList{"0.562", "2.125", "-4", "-0.13", "4", "4.37"}));
    QCOMPARE(RowValues(f, 3), (QStringList{"0.375", "1.75", "-4", "0.25", "4", "3.25"}));
    QCOMPARE(Caption(f, "xcross"), QString("-2"));
    CheckShown(f, PanelNames(f));
    QCOMPARE(Caption(f, "medz"), QString("1E+308"));
    QVERIFY2(f->MessageText().contains("row 2"), qPrintable(f->MessageText()));
    QVERIFY(f->MessageText().contains("The rows above row 2 are up to date"));
  }

  // A number beyond the double range stops the normalisation at its box:
  // the boxes normalised before it (hiz, medz, loz, bx, ... in that order)
  // show their canonical text, it and the ones after keep what was typed.
  void numberBeyondRange_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QStringList>("after");  // bx, bz, bxz, a, stdx, hiz, medz, loz
    QTest::newRow("hiz") << "hiz" << "the high value of Z"
                         << QStringList{"2.50", "+1", " 3", "4.0", "5e0", "1e999", "7.00", "08"};
    QTest::newRow("loz") << "loz" << "the low value of Z"
                         << QStringList{"2.50", "+1", " 3", "4.0", "5e0", "6", "7", "1e999"};
    QTest::newRow("a") << "a" << "the constant"
                       << QStringList{"2.5", "1", "3", "1e999", "5e0", "6", "7", "8"};
  }

  void numberBeyondRange() {
    QFETCH(QString, box);
    QFETCH(QString, meaning);
    QFETCH(QStringList, after);
    QStringList typed{"2.50", "+1", " 3", "4.0", "5e0", "6.", "7.00", "08"};
    typed[kBoxes.indexOf(box)] = "1e999";
    marvane::ModelForm* f = OpenFromMenu("Command2");
    TypeInto(f, kBoxes, typed);
    Click(f, "Command1");
    QCOMPARE(Texts(f, kBoxes), after);
    CheckShown(f, PanelNames(f), false);
    QVERIFY2(f->MessageText().contains(meaning) && f->MessageText().contains("too large"),
             qPrintable(f->MessageText()));
  }

};

QTEST_MAIN(QuantZGuiTest)
#include "quantz_gui_test.moc"
