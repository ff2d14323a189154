// The "Quant 3-way" form as a user drives it: open it from the menu with
// "3 quant predictors", type, Compute.

#include <QTest>

#include "gui_support.h"

using namespace marvane::testing;

namespace {

const QStringList kBoxes{"bx", "bz", "bv", "bxz", "bxv", "bzv", "bxzv", "a", "stdx", "stdz", "stdv"};

// Row k's slope, intercept, X1, Y1, X2, Y2: this form numbers the point
// labels left to right.
QStringList Row(marvane::FormWindow* f, int k) { return RowValues(f, k, kLeftToRightPoints); }

const QStringList kWorked{"1", "2", "3", "0.5", "0.25", "0.1", "0.05", "10", "2", "1", "4"};

}  // namespace

class Quant3GuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  void computesRows_data() {
    QTest::addColumn<QStringList>("typed");  // bx, bz, bv, bxz, bxv, bzv, bxzv, a, stdx, stdz, stdv
    QTest::addColumn<QStringList>("boxesAfter");
    QTest::addColumn<QStringList>("row1");  // slope, intercept, X1, Y1, X2, Y2
    QTest::addColumn<QStringList>("row2");
    QTest::addColumn<QStringList>("row3");
    QTest::addColumn<QStringList>("row4");

    // Row 2's intercept is -0.40000000000000036, floored to -0.401; row 1's
    // Y2 is 29.799999999999997, floored to 29.79.
    QTest::newRow("worked example")
        << kWorked << kWorked << QStringList{"2.7", "24.4", "-2", "19", "2", "29.79"}
        << QStringList{"0.3", "-0.401", "-2", "-1.01", "2", "0.19"}
        << QStringList{"1.3", "19.6", "-2", "17", "2", "22.2"}
        << QStringList{"-0.3", "-3.6", "-2", "-3", "2", "-4.2"};
    // The same numbers typed loosely: read leniently, written back canonically.
    QTest::newRow("worked example typed loosely")
        << QStringList{"1,5", " 2 ", "3e0", "0.50", ".25", "0.1x", "5e-2", "1 0", "2.0", "+1", "4abc"}
        << kWorked << QStringList{"2.7", "24.4", "-2", "19", "2", "29.79"}
        << QStringList{"0.3", "-0.401", "-2", "-1.01", "2", "0.19"}
        << QStringList{"1.3", "19.6", "-2", "17", "2", "22.2"}
        << QStringList{"-0.3", "-3.6", "-2", "-3", "2", "-4.2"};
    // No spread in Z or V: four times the line of slope bx and intercept a.
    const QStringList flat{"1.5", "-2.25", "-1", "-3.75", "1", "-0.75"};
    QTest::newRow("stdz and stdv zero")
        << QStringList{"1.5", "2", "3", "4", "5", "6", "7", "-2.25", "1", "0", "0"}
        << QStringList{"1.5", "2", "3", "4", "5", "6", "7", "-2.25", "1", "0", "0"} << flat << flat << flat
        << flat;
    // A negative deviation of X is used as typed: X1 shows 2, X2 -2, and the
    // two Y values trade places.
    QStringList negative = kWorked;
    negative[8] = "-2";
    QTest::newRow("negative stdx")
        << negative << negative << QStringList{"2.7", "24.4", "2", "29.79", "-2", "19"}
        << QStringList{"0.3", "-0.401", "2", "0.19", "-2", "-1.01"}
        << QStringList{"1.3", "19.6", "2", "22.2", "-2", "17"}
        << QStringList{"-0.3", "-3.6", "2", "-4.2", "-2", "-3"};
    // Empty boxes read as 0; X1 is -0, written 0.
    const QStringList zeros{"0", "0", "0", "0", "0", "0"};
    QTest::newRow("all boxes empty") << QStringList(11, QString()) << QStringList(11, "0") << zeros << zeros
                                     << zeros << zeros;
    // X2 is the text of stdx as normalised; X1 is computed from it.
    QStringList decimals = QStringList(11, "0");
    decimals[0] = "1";
    decimals[8] = "2.50";
    QStringList decimalsAfter = decimals;
    decimalsAfter[8] = "2.5";
    const QStringList decimalRow{"1", "0", "-2.5", "-2.5", "2.5", "2.5"};
    QTest::newRow("stdx with a trailing zero")
        << decimals << decimalsAfter << decimalRow << decimalRow << decimalRow << decimalRow;
  }

  void computesRows() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, boxesAfter);
    QFETCH(QStringList, row1);
    QFETCH(QStringList, row2);
    QFETCH(QStringList, row3);
    QFETCH(QStringList, row4);
    marvane::ModelForm* f = OpenFromMenu("Command5");
    QVERIFY(f != nullptr);
    TypeInto(f, kBoxes, typed);
    Click(f, "Command1");

    QCOMPARE(Texts(f, kBoxes), boxesAfter);
    CheckGoodCompute(f, row1 + row2 + row3 + row4, kBoxes, kLeftToRightPoints);
  }

  // The row headings keep their blanks on screen, as do the other fixed captions.
  void fixedCaptions_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("caption");
    QTest::newRow("se") << "se" << "Simple effect regression models";
    QTest::newRow("se11") << "se11" << "+1 std of Z   and  +1 std of V";
    QTest::newRow("se21") << "se21" << "  +1 std of Z   and  -1 std of V";
    QTest::newRow("se31") << "se31" << " -1 std of Z   and  +1 std of V";
    QTest::newRow("se41") << "se41" << " -1 std of Z   and  -1 std of V";
    QTest::newRow("p") << "p" << "Plotting points";
    QTest::newRow("p11") << "p11" << "For +1 std of Z   and  +1 std of V,   plot";
    QTest::newRow("p21") << "p21" << "For +1 std of Z   and  -1 std of V,    plot";
    QTest::newRow("p31") << "p31" << "For -1 std of Z   and  +1 std of V,    plot";
    QTest::newRow("p41") << "p41" << "For -1 std of Z   and  -1 std of V,     plot";
    QTest::newRow("p13") << "p13" << ",";
    QTest::newRow("p45") << "p45" << "and";
    QTest::newRow("p47") << "p47" << ",";
    QTest::newRow("se42") << "se42" << "b=";
    QTest::newRow("se44") << "se44" << "a=";
    QTest::newRow("Label3") << "Label3" << "* Z ";
    QTest::newRow("Label15") << "Label15" << "* XZV";
    QTest::newRow("Label16") << "Label16" << "std of";
  }

  void fixedCaptions() {
    QFETCH(QString, label);
    QFETCH(QString, caption);
    marvane::ModelForm* f = OpenFromMenu("Command5");
    QVERIFY(f != nullptr);
    Click(f, "Command1");
    QCOMPARE(Caption(f, label), caption);
  }

  // An overflow while row 3 is written: rows 1 and 2 are shown; row 3's
  // slope, intercept and X1 already hold their new text, its Y1 faults
  // (-1e307 times 100), and none of its labels is made visible; row 4 keeps
  // what it had. Run on a fresh form and after a complete Compute.
  void overflowInRowThree_data() {
    QTest::addColumn<bool>("computedBefore");
    QTest::addColumn<QStringList>("row3");
    QTest::addColumn<QStringList>("row4");
    QTest::addColumn<int>("row3Shown");
    QTest::addColumn<int>("row4Shown");
    QTest::newRow("fresh form") << false << QStringList{"1E+305", "0", "-100", "", "", ""}
                                << QStringList{"", "", "", "", "", ""} << 0 << 0;
    QTest::newRow("after the worked example")
        << true << QStringList{"1E+305", "0", "-100", "17", "2", "22.2"}
        << QStringList{"-0.3", "-3.6", "-2", "-3", "2", "-4.2"} << 13 << 13;
  }

  void overflowInRowThree() {
    QFETCH(bool, computedBefore);
    marvane::ModelForm* f = OpenFromMenu("Command5");
    QVERIFY(f != nullptr);
    if (computedBefore) {
      TypeInto(f, kBoxes, kWorked);
      Click(f, "Command1");
      QCOMPARE(ShownInRow(f, 4), 13);
    }
    // Slope bx + bxz*z: 0 where Z is above its mean, 1e305 below it; stdx 100.
    TypeInto(f, kBoxes, QStringList{"5e304", "", "", "-5e304", "", "", "", "", "100", "1", ""});
    Click(f, "Command1");

    QCOMPARE(Texts(f, kBoxes), (QStringList{"5E+304", "0", "0", "-5E+304", "0", "0", "0", "0", "100", "1", "0"}));
    const QStringList flat{"0", "0", "-100", "0", "100", "0"};
    QCOMPARE(Row(f, 1), flat);
    QCOMPARE(Row(f, 2), flat);
    QCOMPARE(ShownInRow(f, 1), 13);
    QCOMPARE(ShownInRow(f, 2), 13);
    QVERIFY(Shown(f, "se") && Shown(f, "p"));
    QFETCH(QStringList, row3);
    QFETCH(QStringList, row4);
    QFETCH(int, row3Shown);
    QFETCH(int, row4Shown);
    QCOMPARE(Row(f, 3), row3);
    QCOMPARE(Row(f, 4), row4);
    QCOMPARE(ShownInRow(f, 3), row3Shown);
    QCOMPARE(ShownInRow(f, 4), row4Shown);
    QVERIFY(Shown(f, "message"));
    QVERIFY2(f->MessageText().contains("row 3"), qPrintable(f->MessageText()));
    QVERIFY(f->MessageText().contains("overflow"));
    CheckMessageFits(f);

    // Mending the input and computing again clears the message and shows all.
    // With stdx 1 the Y values of rows 3 and 4 are -1e305 and 1e305.
    Type(f, "stdx", "1");
    Click(f, "Command1");
    QVERIFY2(!Shown(f, "message"), qPrintable(f->MessageText()));
    QCOMPARE(ShownInRow(f, 3), 13);
    QCOMPARE(ShownInRow(f, 4), 13);
    QCOMPARE(Row(f, 4), (QStringList{"1E+305", "0", "-1", "-1E+305", "1", "1E+305"}));
  }

  // A typed number beyond the double range stops the normalisation at its
  // box: the boxes before it are rewritten, the later ones keep their text.
  void numberBeyondRangeInABox() {
    marvane::ModelForm* f = OpenFromMenu("Command5");
    QVERIFY(f != nullptr);
    TypeAll(f, {{"bx", "2.50"}, {"bz", "1,5"}, {"bv", "-1e999"}, {"bxz", "7.0"}, {"stdv", " 3"}});
    Click(f, "Command1");
    QCOMPARE(Caption(f, "bx"), QString("2.5"));
    QCOMPARE(Caption(f, "bz"), QString("1"));
    QCOMPARE(Caption(f, "bv"), QString("-1e999"));
    QCOMPARE(Caption(f, "bxz"), QString("7.0"));
    QCOMPARE(Caption(f, "stdv"), QString(" 3"));
    QVERIFY(!Shown(f, "se") && !Shown(f, "se11") && !Shown(f, "p11"));
    QVERIFY2(f->MessageText().contains("the weight of V"), qPrintable(f->MessageText()));
  }

};

QTEST_MAIN(Quant3GuiTest)
#include "quant3_gui_test.moc"
