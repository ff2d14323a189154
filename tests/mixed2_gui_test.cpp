// The Mixed2 form (a quantitative predictor by a two-group dummy code) as a
// user drives it: open it from the menu, type, Go.

#include <QTest>

#include "gui_support.h"

using namespace marvane::testing;

namespace {

// Row 1 of the panel is the target group, row 2 the contrast group.
const QStringList kBoxes{"bx", "bz", "bxz", "a", "stdx"};

}  // namespace

class Mixed2GuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  void computesBothGroups_data() {
    QTest::addColumn<QStringList>("typed");  // bx, bz, bxz, a, stdx
    QTest::addColumn<QStringList>("boxesAfter");
    QTest::addColumn<QStringList>("target");    // b, a, X1, Y1, X2, Y2
    QTest::addColumn<QStringList>("contrast");

    QTest::newRow("worked example")
        << QStringList{"0.5", "1", "0.25", "2", "2"} << QStringList{"0.5", "1", "0.25", "2", "2"}
        << QStringList{"0.75", "3", "-2", "1.5", "2", "4.5"}
        << QStringList{"0.5", "2", "-2", "1", "2", "3"};
    // Taken down, not to the nearest: slope -0.1231 -> -0.124, Y 2.999 -> 2.99.
    QTest::newRow("flooring")
        << QStringList{"0", "0.999", "-0.1231", "2", "0"} << QStringList{"0", "0.999", "-0.1231", "2", "0"}
        << QStringList{"-0.124", "2.999", "0", "2.99", "0", "2.99"}
        << QStringList{"0", "2", "0", "2", "0", "2"};
    // Every box reads 0; X1 is 0 * -1, a negative zero, written 0.
    QTest::newRow("all empty")
        << QStringList{"", "", "", "", ""} << QStringList{"0", "0", "0", "0", "0"}
        << QStringList{"0", "0", "0", "0", "0", "0"} << QStringList{"0", "0", "0", "0", "0", "0"};
    // A negative standard deviation is used as typed: the points swap sides.
    QTest::newRow("negative stdx")
        << QStringList{"0.5", "1", "0.25", "2", "-1"} << QStringList{"0.5", "1", "0.25", "2", "-1"}
        << QStringList{"0.75", "3", "1", "3.75", "-1", "2.25"}
        << QStringList{"0.5", "2", "1", "2.5", "-1", "1.5"};
    // Both points at X = 0, with Y the intercept taken down to two decimals.
    QTest::newRow("stdx zero")
        << QStringList{"0.5", "1", "0.25", "2.345", "0"} << QStringList{"0.5", "1", "0.25", "2.345", "0"}
        << QStringList{"0.75", "3.345", "0", "3.34", "0", "3.34"}
        << QStringList{"0.5", "2.345", "0", "2.34", "0", "2.34"};
    // X2 is the normalised text of stdx (2.50 -> 2.5), X1 its negation.
    QTest::newRow("stdx typed 2.50")
        << QStringList{"0.5", "1", "0.25", "2", "2.50"} << QStringList{"0.5", "1", "0.25", "2", "2.5"}
        << QStringList{"0.75", "3", "-2.5", "1.12", "2.5", "4.87"}
        << QStringList{"0.5", "2", "-2.5", "0.75", "2.5", "3.25"};
    // Typed texts are read leniently and written back canonically.
    QTest::newRow("lenient typing")
        << QStringList{" 1.50", "1,5", "3e-1", "  -.5 ", "2.50abc"}
        << QStringList{"1.5", "1", "0.3", "-0.5", "2.5"}
        << QStringList{"1.8", "0.5", "-2.5", "-4", "2.5", "5"}
        << QStringList{"1.5", "-0.5", "-2.5", "-4.25", "2.5", "3.25"};
  }

  void computesBothGroups() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, boxesAfter);
    QFETCH(QStringList, target);
    QFETCH(QStringList, contrast);
    marvane::ModelForm* f = OpenFromMenu("Command3");
    QVERIFY(f != nullptr);
    TypeInto(f, kBoxes, typed);
    Click(f, "Command1");

    QCOMPARE(Texts(f, kBoxes), boxesAfter);
    CheckGoodCompute(f, target + contrast, kBoxes);
  }

  // After the worked example, new group weights change the target row only.
  void groupWeightsMoveOnlyTheTarget_data() {
    QTest::addColumn<QString>("bz");
    QTest::addColumn<QString>("bxz");
    QTest::addColumn<QStringList>("target");
    QTest::newRow("lower intercept") << "-1" << "0" << QStringList{"0.5", "1", "-2", "0", "2", "2"};
    QTest::newRow("slope reversed") << "0.5" << "-1.5" << QStringList{"-1", "2.5", "-2", "4.5", "2", "0.5"};
    QTest::newRow("both cleared") << "" << "" << QStringList{"0.5", "2", "-2", "1", "2", "3"};
  }

  void groupWeightsMoveOnlyTheTarget() {
    QFETCH(QString, bz);
    QFETCH(QString, bxz);
    QFETCH(QStringList, target);
    marvane::ModelForm* f = OpenFromMenu("Command3");
    QVERIFY(f != nullptr);
    TypeInto(f, kBoxes, {"0.5", "1", "0.25", "2", "2"});
    Click(f, "Command1");
    const QStringList contrast = RowValues(f, 2);
    QCOMPARE(contrast, (QStringList{"0.5", "2", "-2", "1", "2", "3"}));

    Type(f, "bz", bz);
    Type(f, "bxz", bxz);
    Click(f, "Command1");
    QCOMPARE(RowValues(f, 1), target);
    QCOMPARE(RowValues(f, 2), contrast);
  }

  // An overflow while the contrast group is computed or shown: the target row
  // is shown with the new values, the contrast row keeps what it showed, and
  // the message says where it stopped.
  void faultInContrastRow_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("target");
    // Target slope 1e308 - 1e308 = 0; contrast Y1 = 2 + 10 * -1e308 overflows.
    QTest::newRow("in the arithmetic")
        << QStringList{"1e308", "1", "-1e308", "2", "10"} << QStringList{"0", "3", "-10", "3", "10", "3"};
    // Contrast arithmetic is fine; its slope 1e306 times 1000 is beyond the double range.
    QTest::newRow("in the display")
        << QStringList{"1e306", "1", "-1e306", "2", "1"} << QStringList{"0", "3", "-1", "3", "1", "3"};
  }

  void faultInContrastRow() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, target);
    marvane::ModelForm* f = OpenFromMenu("Command3");
    QVERIFY(f != nullptr);

    // First time: nothing of the contrast group was ever shown.
    TypeInto(f, kBoxes, typed);
    Click(f, "Command1");
    QCOMPARE(RowValues(f, 1), target);
    CheckShown(f, {"se", "se11", "se15", "p", "p11", "p16", "p18"});
    CheckShown(f, {"se21", "se23", "se25", "p21", "p22", "p26", "p28"}, false);
    QCOMPARE(RowValues(f, 2), (QStringList{"", "", "", "", "", ""}));
    QVERIFY(Shown(f, "message"));
    QVERIFY2(f->MessageText().contains("overflow"), qPrintable(f->MessageText()));
    QVERIFY2(f->MessageText().contains("row 2"), qPrintable(f->MessageText()));
    CheckMessageFits(f);

    // After a good Go, the same fault leaves the contrast row's old values.
    TypeInto(f, kBoxes, {"0.5", "1", "0.25", "2", "2"});
    Click(f, "Command1");
    QVERIFY(!Shown(f, "message"));
    TypeInto(f, kBoxes, typed);
    Click(f, "Command1");
    QCOMPARE(RowValues(f, 1), target);
    QCOMPARE(RowValues(f, 2), (QStringList{"0.5", "2", "-2", "1", "2", "3"}));
    QVERIFY(Shown(f, "se21") && Shown(f, "p28"));
    QVERIFY(Shown(f, "message"));
  }

  // A fault in the target row stops before anything is shown.
  void faultInTargetRow() {
    marvane::ModelForm* f = OpenFromMenu("Command3");
    QVERIFY(f != nullptr);
    TypeInto(f, kBoxes, {"1e308", "0", "1e308", "0", "0"});
    Click(f, "Command1");
    CheckShown(f, PanelNames(f), false);
    QVERIFY2(f->MessageText().contains("row 1"), qPrintable(f->MessageText()));
  }

  void numberBeyondRangeInABox() {
    marvane::ModelForm* f = OpenFromMenu("Command3");
    QVERIFY(f != nullptr);
    TypeInto(f, kBoxes, {"2.50", "1e999", "7.0", "", ""});
    Click(f, "Command1");
    // bx was normalised before bz stopped the handler; bxz keeps its text.
    QCOMPARE(Texts(f, kBoxes), (QStringList{"2.5", "1e999", "7.0", "", ""}));
    QVERIFY(!Shown(f, "se"));
    QVERIFY2(f->MessageText().contains("the weight of the group code"), qPrintable(f->MessageText()));
  }

};

QTEST_MAIN(Mixed2GuiTest)
#include "mixed2_gui_test.moc"
