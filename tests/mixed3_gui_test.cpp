// The Mixed3 form as a user drives it: open it from the menu, type, Go.

#include <QTest>

#include "gui_support.h"

using namespace marvane::testing;

namespace {

// Rows 1 and 2 of the panel are the target groups DC1 and DC2, row 3 the
// contrast group.
const QStringList kBoxes{"rbx", "bz1", "bz2", "bxz1", "bxz2", "a", "stdx"};

const QStringList kWorkedExample{"0.5", "1", "-1", "0.25", "-0.25", "2", "2"};
const QStringList kWorkedDc1{"0.75", "3", "-2", "1.5", "2", "4.5"};
const QStringList kWorkedDc2{"0.25", "1", "-2", "0.5", "2", "1.5"};
const QStringList kWorkedContrast{"0.5", "2", "-2", "1", "2", "3"};

}  // namespace

class Mixed3GuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  void computesGroups_data() {
    QTest::addColumn<QStringList>("typed");  // rbx, bz1, bz2, bxz1, bxz2, a, stdx
    QTest::addColumn<QStringList>("boxesAfter");
    QTest::addColumn<QStringList>("dc1");
    QTest::addColumn<QStringList>("dc2");
    QTest::addColumn<QStringList>("contrast");

    QTest::newRow("worked example") << kWorkedExample << kWorkedExample << kWorkedDc1 << kWorkedDc2
                                    << kWorkedContrast;
    QTest::newRow("negative stdx swaps the points")
        << QStringList{"0.5", "1", "-1", "0.25", "-0.25", "2", "-1"}
        << QStringList{"0.5", "1", "-1", "0.25", "-0.25", "2", "-1"}
        << QStringList{"0.75", "3", "1", "3.75", "-1", "2.25"}
        << QStringList{"0.25", "1", "1", "1.25", "-1", "0.75"}
        << QStringList{"0.5", "2", "1", "2.5", "-1", "1.5"};
    // The single nearest 0.7 lies just below it: the double path floors it
    // to 0.699 (and Y2 to 0.69), the contrast slope's single path shows 0.7.
    QTest::newRow("rbx 0.7 in single precision")
        << QStringList{"0.7", "", "", "0", "0", "0", "1"} << QStringList{"0.7", "", "", "0", "0", "0", "1"}
        << QStringList{"0.699", "0", "-1", "-0.7", "1", "0.69"}
        << QStringList{"0.699", "0", "-1", "-0.7", "1", "0.69"}
        << QStringList{"0.7", "0", "-1", "-0.7", "1", "0.69"};
    // Single 12345.6787109375: three decimals on the double path, seven
    // significant digits on the contrast slope's single path.
    QTest::newRow("rbx 12345.6789 in single precision")
        << QStringList{"12345.6789", "", "", "0", "", "", ""}
        << QStringList{"12345.6789", "", "", "0", "", "0", "0"}
        << QStringList{"12345.678", "0", "0", "0", "0", "0"}
        << QStringList{"12345.678", "0", "0", "0", "0", "0"}
        << QStringList{"12345.68", "0", "0", "0", "0", "0"};
    // Weights count up to what LenientParse takes and keep their text; a and
    // stdx are rewritten canonically, and X2 is stdx's new text.
    QTest::newRow("weights read as typed, a and stdx normalised")
        << QStringList{"1,5", "1,5", "abc", " 0.5 0", "-.25xyz", "1,5", " 2.50"}
        << QStringList{"1,5", "1,5", "abc", " 0.5 0", "-.25xyz", "1", "2.5"}
        << QStringList{"1.5", "2", "-2.5", "-1.75", "2.5", "5.75"}
        << QStringList{"0.75", "1", "-2.5", "-0.88", "2.5", "2.87"}
        << QStringList{"1", "1", "-2.5", "-1.5", "2.5", "3.5"};
    QTest::newRow("all empty")
        << QStringList{"", "", "", "", "", "", ""} << QStringList{"", "", "", "", "", "0", "0"}
        << QStringList{"0", "0", "0", "0", "0", "0"} << QStringList{"0", "0", "0", "0", "0", "0"}
        << QStringList{"0", "0", "0", "0", "0", "0"};
    // Taken down, not to the nearest: -0.1231 -> -0.124, 0.1231 -> 0.123,
    // Y 2.999 -> 2.99 while the intercept keeps 2.999.
    QTest::newRow("flooring on the double path")
        << QStringList{"", "", "", "-0.1231", "0.1231", "2.999", ""}
        << QStringList{"", "", "", "-0.1231", "0.1231", "2.999", "0"}
        << QStringList{"-0.124", "2.999", "0", "2.99", "0", "2.99"}
        << QStringList{"0.123", "2.999", "0", "2.99", "0", "2.99"}
        << QStringList{"0", "2.999", "0", "2.99", "0", "2.99"};
    // The single path floors too: single -0.1231 * 1000 -> -123.1 -> -124.
    QTest::newRow("flooring on the single path")
        << QStringList{"-0.1231", "", "", "", "", "", "1"} << QStringList{"-0.1231", "", "", "", "", "0", "1"}
        << QStringList{"-0.124", "0", "-1", "0.12", "1", "-0.13"}
        << QStringList{"-0.124", "0", "-1", "0.12", "1", "-0.13"}
        << QStringList{"-0.124", "0", "-1", "0.12", "1", "-0.13"};
    // 3.4E+35 as a single is 3.400000139122828E+35: fifteen digits on the
    // double path, seven on the single path, whose product is still a single.
    QTest::newRow("largest single product")
        << QStringList{"3.4e35", "", "", "", "", "", ""} << QStringList{"3.4e35", "", "", "", "", "0", "0"}
        << QStringList{"3.40000013912283E+35", "0", "0", "0", "0", "0"}
        << QStringList{"3.40000013912283E+35", "0", "0", "0", "0", "0"}
        << QStringList{"3.4E+35", "0", "0", "0", "0", "0"};
    // Beyond it the contrast slope falls back to the double path.
    QTest::newRow("single product out of range")
        << QStringList{"1e36", "", "", "", "", "", ""} << QStringList{"1e36", "", "", "", "", "0", "0"}
        << QStringList{"9.99999961690316E+35", "0", "0", "0", "0", "0"}
        << QStringList{"9.99999961690316E+35", "0", "0", "0", "0", "0"}
        << QStringList{"9.99999961690316E+35", "0", "0", "0", "0", "0"};
  }

  void computesGroups() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, boxesAfter);
    QFETCH(QStringList, dc1);
    QFETCH(QStringList, dc2);
    QFETCH(QStringList, contrast);
    marvane::ModelForm* f = OpenFromMenu("Command4");
    QVERIFY(f != nullptr);
    TypeInto(f, kBoxes, typed);
    Click(f, "Command1");

    QCOMPARE(Texts(f, kBoxes), boxesAfter);
    CheckGoodCompute(f, dc1 + dc2 + contrast, kBoxes);
  }

  // Each target group follows only its own weights; the contrast group
  // follows neither.
  void groupsIndependent_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("group");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("bz1") << "bz1" << "5" << 1 << QStringList{"0.75", "7", "-2", "5.5", "2", "8.5"};
    QTest::newRow("bxz1") << "bxz1" << "3" << 1 << QStringList{"3.5", "3", "-2", "-4", "2", "10"};
    QTest::newRow("bz2") << "bz2" << "5" << 2 << QStringList{"0.25", "7", "-2", "6.5", "2", "7.5"};
    QTest::newRow("bxz2") << "bxz2" << "3" << 2 << QStringList{"3.5", "1", "-2", "-6", "2", "8"};
  }

  void groupsIndependent() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(int, group);
    QFETCH(QStringList, values);
    marvane::ModelForm* f = OpenFromMenu("Command4");
    TypeInto(f, kBoxes, kWorkedExample);
    Click(f, "Command1");
    Type(f, box, text);
    Click(f, "Command1");
    const QStringList worked[] = {kWorkedDc1, kWorkedDc2, kWorkedContrast};
    for (int k = 1; k <= 3; ++k) {
      QCOMPARE(RowValues(f, k), k == group ? values : worked[k - 1]);
    }
  }

  // A fault while reading the weights comes before a and stdx are
  // normalised: no text and no label changes, on a fresh form or after an
  // earlier Go, and the message names the box.
  void readingFaultChangesNothing_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<bool>("single");  // the message says the weight is a single
    QTest::addColumn<bool>("afterGo");
    for (bool afterGo : {false, true}) {
      const char* when = afterGo ? " after a Go" : " on a fresh form";
      QTest::addRow("rbx beyond single%s", when) << "rbx" << "1E39" << "the weight of X" << true << afterGo;
      QTest::addRow("rbx beyond single, negative%s", when)
          << "rbx" << "-1e39" << "the weight of X" << true << afterGo;
      QTest::addRow("rbx beyond double%s", when) << "rbx" << "1e400" << "the weight of X" << false << afterGo;
      QTest::addRow("bxz2 beyond double%s", when)
          << "bxz2" << "1e999" << "the weight of the interaction X*DC2" << false << afterGo;
    }
  }

  void readingFaultChangesNothing() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, meaning);
    QFETCH(bool, single);
    QFETCH(bool, afterGo);
    marvane::ModelForm* f = OpenFromMenu("Command4");
    if (afterGo) {
      TypeInto(f, kBoxes, kWorkedExample);
      Click(f, "Command1");
    }
    const QStringList rowsBefore = RowsValues(f, 3);
    TypeAll(f, {{"a", "5.0"}, {"stdx", " 3"}});
    Type(f, box, text);
    const QStringList boxesBefore = Texts(f, kBoxes);
    Click(f, "Command1");

    QCOMPARE(Texts(f, kBoxes), boxesBefore);
    QCOMPARE(Caption(f, "a"), QString("5.0"));
    QCOMPARE(RowsValues(f, 3), rowsBefore);
    for (int k = 1; k <= 3; ++k) QCOMPARE(ShownInRow(f, k), afterGo ? 13 : 0);
    QCOMPARE(Shown(f, "se"), afterGo);
    QVERIFY(Shown(f, "message"));
    QVERIFY2(f->MessageText().contains(meaning), qPrintable(f->MessageText()));
    QCOMPARE(f->MessageText().contains("single precision"), single);
    QVERIFY2(f->MessageText().contains("Nothing was computed"), qPrintable(f->MessageText()));

    // Mending the box and pressing Go again clears the message.
    Type(f, box, "1");
    Click(f, "Command1");
    QVERIFY(!Shown(f, "message"));
    QCOMPARE(Caption(f, "a"), QString("5"));
    QCOMPARE(ShownInRow(f, 3), 13);
  }

  // A fault in a group's arithmetic: the groups before it are written and
  // shown, the group itself and those after it keep what they showed.
  void faultInAGroup_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("group");
    QTest::addColumn<QStringList>("earlierRows");  // new values of the groups before
    QTest::addColumn<bool>("afterGo");
    const QStringList dc1Fault{"0", "1e308", "", "", "", "1e308", "1"};
    const QStringList dc2Fault{"0", "", "", "", "1e308", "0", "1e10"};
    const QString twoTo100 = "1267650600228229401496703205376";
    const QStringList contrastFault{twoTo100, "", "", "-" + twoTo100, "-" + twoTo100, "0", "1e300"};
    for (bool afterGo : {false, true}) {
      const char* when = afterGo ? " after a Go" : " on a fresh form";
      // bz1 + a overflows.
      QTest::addRow("DC1 intercept%s", when) << dc1Fault << 1 << QStringList{} << afterGo;
      // DC1 is all zeros; DC2's (b * -1) * stdx overflows.
      QTest::addRow("DC2 low point%s", when)
          << dc2Fault << 2 << QStringList{"0", "0", "-10000000000", "0", "10000000000", "0"} << afterGo;
      // rbx cancels in both target groups; stdx * rbx overflows in the contrast group.
      QTest::addRow("contrast points%s", when)
          << contrastFault << 3
          << QStringList{"0", "0", "-1E+300", "0", "1E+300", "0", "0", "0", "-1E+300", "0", "1E+300", "0"}
          << afterGo;
    }
  }

  void faultInAGroup() {
    QFETCH(QStringList, typed);
    QFETCH(int, group);
    QFETCH(QStringList, earlierRows);
    QFETCH(bool, afterGo);
    marvane::ModelForm* f = OpenFromMenu("Command4");
    if (afterGo) {
      TypeInto(f, kBoxes, kWorkedExample);
      Click(f, "Command1");
    }
    const QStringList before = RowsValues(f, 3);
    TypeInto(f, kBoxes, typed);
    Click(f, "Command1");

    // a and stdx were normalised before the groups were computed.
    QCOMPARE(Caption(f, "a"), typed[5] == "1e308" ? QString("1E+308") : typed[5]);
    QStringList expected = earlierRows + before.mid(6 * (group - 1));
    QCOMPARE(RowsValues(f, 3), expected);
    for (int k = 1; k <= 3; ++k) {
      QCOMPARE(ShownInRow(f, k), k < group || afterGo ? 13 : 0);
    }
    QCOMPARE(Shown(f, "se"), group > 1 || afterGo);
    const QString row = QString("row %1").arg(group);
    QVERIFY2(f->MessageText().contains(row), qPrintable(f->MessageText()));
    QVERIFY2(f->MessageText().contains("overflow"), qPrintable(f->MessageText()));
  }

  // The slope columns are narrow: a long value spreads into the free room
  // before "a=" rather than being cut off, and goes back on a shorter one.
  void longValuesStayReadable() {
    marvane::ModelForm* f = OpenFromMenu("Command4");
    TypeAll(f, {{"rbx", "-12345.6789"}, {"stdx", "-1234.5678"}});
    Click(f, "Command1");
    QCOMPARE(Caption(f, "se13"), QString("-12345.679"));
    QCOMPARE(Caption(f, "se33"), QString("-12345.68"));
    QCOMPARE(Caption(f, "p12"), QString("1234.5678"));
    for (const char* name : {"se13", "se23", "se33", "p12", "p22", "p32"}) {
      QLabel* l = f->Label(name);
      QVERIFY2(l->width() >= l->fontMetrics().horizontalAdvance(l->text()), name);
    }
    QVERIFY(f->Label("se13")->geometry().right() < f->Label("se14")->x());
    QVERIFY(f->Label("p12")->geometry().right() < f->Label("p17")->x());

    const int designWidth = f->Label("se13")->width();
    TypeAll(f, {{"rbx", "1"}, {"stdx", "1"}});
    Click(f, "Command1");
    QVERIFY(f->Label("se13")->width() < designWidth);
    QCOMPARE(f->Label("se13")->width(), marvane::forms::TwipsToPixels(1095));
  }

};

QTEST_MAIN(Mixed3GuiTest)
#include "mixed3_gui_test.moc"
