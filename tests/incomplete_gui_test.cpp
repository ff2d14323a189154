// The Incomplete form as a user drives it: open it from the menu, type the
// weights and the count, GO, fill in the grid, Compute.

#include <QImage>
#include <QTest>

#include "gui_support.h"
#include "models/incomplete_form.h"

using marvane::IncompleteForm;
using namespace marvane::testing;

namespace {

const QStringList kInputs{"bx", "bz", "bxz", "stdx", "stdz", "numvars"};
const QColor kFormColour(255, 128, 0);

IncompleteForm* Open() { return dynamic_cast<IncompleteForm*>(OpenFromMenu("Inomplete")); }

QString Row(const char* column, int i) { return QString("%1_%2").arg(column).arg(i); }

// The highest grid row shown, -1 for none; fails unless exactly rows 0 to it
// are shown, both boxes of each.
int LastShownRow(marvane::FormWindow* f) {
  int last = -1;
  for (int i = 0; i <= 12; ++i) {
    const bool w = Shown(f, Row("weight", i));
    const bool v = Shown(f, Row("value", i));
    if (w != v || (w && last != i - 1)) return -100;
    if (w) last = i;
  }
  return last;
}

bool HasInk(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) != kFormColour) return true;
    }
  }
  return false;
}

// The corner where the adjusted constant is printed, wide enough for any number text.
const QRect kCorner(0, 0, 200, 16);

}  // namespace

class IncompleteGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  // Nothing is printed on a form fresh from the menu, whether it was never
  // opened before or printed on its last visit; value_0 shows "Constant".
  void freshFormHasNoPrint_data() {
    QTest::addColumn<bool>("visitedBefore");
    QTest::newRow("first visit") << false;
    QTest::newRow("after a visit with a print") << true;
  }

  void freshFormHasNoPrint() {
    QFETCH(bool, visitedBefore);
    IncompleteForm* f = Open();
    QVERIFY(f != nullptr);
    if (visitedBefore) {
      TypeAll(f, {{"bx", "1"}, {"numvars", "2"}});
      Click(f, "Command3");
      TypeAll(f, {{"weight_0", "4"}, {"weight_1", "1"}, {"value_1", "1"}, {"weight_2", "1"}, {"value_2", "1"},
                  {"value_0", "x"}});
      Click(f, "Command1");
      QCOMPARE(f->SurfaceText(), QString("6"));
      QVERIFY(HasInk(f->grab(kCorner).toImage()));
      Click(f, "Command2");
      Click(VisibleForm(), "Inomplete");
      f = dynamic_cast<IncompleteForm*>(VisibleForm());
      QVERIFY(f != nullptr);
    }
    QCOMPARE(f->SurfaceText(), QString());
    QVERIFY(!HasInk(f->grab(kCorner).toImage()));
    QCOMPARE(Caption(f, "value_0"), QString("Constant"));
    QCOMPARE(LastShownRow(f), -1);
  }

  // GO normalises the count and reveals rows 0 to it; a count beyond the grid
  // reveals all 13 rows and then says that only 12 other terms fit.
  void goRevealsRows_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<bool>("compute");  // Label9, Label5 and "Compute" shown
    QTest::addColumn<int>("lastRow");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty: row 0 only") << "" << "0" << true << 0 << "";
    QTest::newRow("negative: no row") << "-1" << "-1" << true << -1 << "";
    QTest::newRow("fraction: rows 0 to 2") << "2.5" << "2.5" << true << 2 << "";
    QTest::newRow("leading number") << " 3abc" << "3" << true << 3 << "";
    QTest::newRow("twelve: every row") << "12" << "12" << true << 12 << "";
    QTest::newRow("thirteen: no row 13")
        << "13" << "13" << true << 12 << "no row 13 in the grid: at most 12 other terms fit";
    QTest::newRow("huge") << "1e300" << "1E+300" << true << 12 << "no row 13 in the grid: at most 12 other terms";
    // Beyond the range of a double: GO stops before it changes anything.
    QTest::newRow("beyond the range") << "1e999" << "1e999" << false << -1
                                      << "the number of other terms is too large";
  }

  void goRevealsRows() {
    QFETCH(QString, typed);
    IncompleteForm* f = Open();
    Type(f, "numvars", typed);
    Click(f, "Command3");
    QFETCH(QString, boxAfter);
    QCOMPARE(Caption(f, "numvars"), boxAfter);
    QFETCH(int, lastRow);
    QCOMPARE(LastShownRow(f), lastRow);
    QFETCH(bool, compute);
    CheckShown(f, {"Label9", "Label5", "Command1"}, compute);
    CheckShown(f, PanelNames(f), false);
    QFETCH(QString, message);
    if (message.isEmpty()) {
      QVERIFY2(!Shown(f, "message"), qPrintable(f->MessageText()));
    } else {
      QVERIFY2(f->MessageText().contains(message), qPrintable(f->MessageText()));
      CheckMessageFits(f);
    }
  }

  // GO only adds rows; Compute folds the rows of the count in the box, not
  // those shown: rows 3 to 5 hold a weight that is no number and are not read.
  void goAddsRowsAndComputeFoldsTheCount() {
    IncompleteForm* f = Open();
    Type(f, "numvars", "5");
    Click(f, "Command3");
    Type(f, "numvars", "2");
    Click(f, "Command3");
    QCOMPARE(LastShownRow(f), 5);
    TypeEntries(f, {"weight_1=1", "value_1=1", "weight_2=2", "value_2=2"});
    for (int i = 3; i <= 5; ++i) TypeEntries(f, {Row("weight", i) + "=abc", Row("value", i) + "=100"});
    Click(f, "Command1");
    QVERIFY2(!Shown(f, "message"), qPrintable(f->MessageText()));
    QCOMPARE(f->SurfaceText(), QString("5"));  // 0 + 1*1 + 2*2
    QCOMPARE(Caption(f, "se25"), QString("5"));
    QCOMPARE(LastShownRow(f), 5);
  }

  void computes_data() {
    QTest::addColumn<QStringList>("inputs");  // bx, bz, bxz, stdx, stdz, numvars
    QTest::addColumn<QStringList>("grid");    // box=text, typed after GO
    QTest::addColumn<QString>("surface");
    QTest::addColumn<QStringList>("row1");
    QTest::addColumn<QStringList>("row2");
    QTest::addColumn<QStringList>("row3");
    QTest::addColumn<QStringList>("textsAfter");  // box=text

    QTest::newRow("worked example")
        << QStringList{"0.5", "1", "0.25", "2", "1.5", "2"}
        << QStringList{"weight_0=2", "weight_1=0.25", "value_1=4", "weight_2=-0.5", "value_2=3"} << "1.5"
        << QStringList{"0.875", "3", "-2", "1.25", "2", "4.75"}
        << QStringList{"0.5", "1.5", "-2", "0.5", "2", "2.5"}
        << QStringList{"0.125", "0", "-2", "-0.25", "2", "0.25"}
        << QStringList{"numvars=2", "weight_0=2", "value_0=Constant", "weight_2=-0.5"};
    // 0.7 * 0.1 is 0.06999999999999999; the term enters as its text 0.07,
    // which shows 0.07 (the raw product would be floored to 0.069).
    const QStringList tiny{"0", "0.07", "-1", "0.07", "1", "0.07"};
    QTest::newRow("term enters as its text")
        << QStringList{"", "", "", "1", "1", "1"} << QStringList{"weight_1=0.7", "value_1=0.1"} << "0.07"
        << tiny << tiny << tiny << QStringList{"bx=0", "bz=0", "bxz=0", "weight_0="};
    // No terms: A is the constant. bx 1, sx 1: Y = 2.5 -/+ 1 on every line.
    const QStringList flat{"1", "2.5", "-1", "1.5", "1", "3.5"};
    QTest::newRow("count empty: the constant alone")
        << QStringList{"1", "", "", "1", "", ""} << QStringList{"weight_0=2.5"} << "2.5" << flat << flat << flat
        << QStringList{"numvars=0", "stdz=0"};
    // 1 + 2*3 + 1*1; the hidden, empty row 3 is not read.
    const QStringList eight{"0", "8", "0", "8", "0", "8"};
    QTest::newRow("fractional count folds two terms")
        << QStringList{"0", "0", "0", "0", "0", "2.5"}
        << QStringList{"weight_0=1", "weight_1=2", "value_1=3", "weight_2=1", "value_2=1"} << "8" << eight
        << eight << eight << QStringList{"numvars=2.5"};
    // The constant and the values are read leniently, the weights strictly as
    // typed; none of the grid boxes is rewritten. 1.5 + 2.5*3 + (-10)*0.5 = 4.
    const QStringList four{"0", "4", "-2.5", "4", "2.5", "4"};
    QTest::newRow("grid read as typed")
        << QStringList{"0", "0", "0", " 2.50", "0", "2"}
        << QStringList{"weight_0=1.5abc", "weight_1= 2.50 ", "value_1=3,5", "weight_2=-1e1", "value_2= .5 x"}
        << "4" << four << four << four
        << QStringList{"stdx=2.5", "weight_0=1.5abc", "weight_1= 2.50 ", "value_1=3,5", "weight_2=-1e1",
                       "value_2= .5 x"};
    // Twelve terms of -0.125 * 3 and an empty constant: A = -4.5. Lines at
    // Z = 1.5, 0, -1.5: b = 0.875, 0.5, 0.125 and a = -3, -4.5, -6.
    QStringList twelve{"weight_0="};
    for (int i = 1; i <= 12; ++i) twelve << Row("weight", i) + "=-0.125" << Row("value", i) + "=3";
    QTest::newRow("twelve terms")
        << QStringList{"0.5", "1", "0.25", "2", "1.5", "12"} << twelve << "-4.5"
        << QStringList{"0.875", "-3", "-2", "-4.75", "2", "-1.25"}
        << QStringList{"0.5", "-4.5", "-2", "-5.5", "2", "-3.5"}
        << QStringList{"0.125", "-6", "-2", "-6.25", "2", "-5.75"} << QStringList{"numvars=12", "weight_0="};
    // Negative standard deviations are used as typed: X1 = 2, X2 = -2, and
    // line 1 is drawn at Z = -1: b1 = 1 - 1 = 0, a1 = 0 - 1 = -1.
    QTest::newRow("negative standard deviations")
        << QStringList{"1", "1", "1", "-2", "-1", "0"} << QStringList{"weight_0=0"} << "0"
        << QStringList{"0", "-1", "2", "-1", "-2", "-1"} << QStringList{"1", "0", "2", "2", "-2", "-2"}
        << QStringList{"2", "1", "2", "5", "-2", "-3"} << QStringList{"stdx=-2", "stdz=-1"};
  }

  void computes() {
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, grid);
    IncompleteForm* f = Open();
    TypeInto(f, kInputs, inputs);
    Click(f, "Command3");
    TypeEntries(f, grid);
    Click(f, "Command1");

    QFETCH(QString, surface);
    QFETCH(QStringList, row1);
    QFETCH(QStringList, row2);
    QFETCH(QStringList, row3);
    QFETCH(QStringList, textsAfter);
    QCOMPARE(f->SurfaceText(), surface);
    CheckTexts(f, textsAfter);
    // Compute again without editing: the same captions, the same single print.
    CheckGoodCompute(f, row1 + row2 + row3, kInputs);
    QCOMPARE(f->SurfaceText(), surface);
  }

  // A fault while reading the terms ends Compute before anything is printed
  // or written; the six boxes are normalised by then.
  void computeFaults_data() {
    QTest::addColumn<QString>("goCount");
    QTest::addColumn<QStringList>("grid");
    QTest::addColumn<QString>("computeCount");
    QTest::addColumn<QStringList>("message");

    QTest::newRow("count raised without GO: hidden empty weight")
        << "2" << QStringList{"weight_1=1", "value_1=1", "weight_2=1", "value_2=1"} << "3"
        << QStringList{"the term weight in row 3", "not a number"};
    QTest::newRow("empty weight in a shown row")
        << "2" << QStringList{"weight_1=1", "value_1=1"} << "2"
        << QStringList{"the term weight in row 2", "not a number"};
    QTest::newRow("weight with a comma")
        << "1" << QStringList{"weight_1=1,5", "value_1=1"} << "1"
        << QStringList{"the term weight in row 1", "not a number"};
    QTest::newRow("weight beyond range")
        << "1" << QStringList{"weight_1=1e999", "value_1=1"} << "1"
        << QStringList{"the term weight in row 1", "too large"};
    QTest::newRow("control value beyond range")
        << "1" << QStringList{"weight_1=1", "value_1=1e999"} << "1"
        << QStringList{"the control value in row 1", "too large"};
    QTest::newRow("constant beyond range")
        << "0" << QStringList{"weight_0=-1e999"} << "0" << QStringList{"the constant", "too large"};
    QTest::newRow("term product overflows")
        << "2" << QStringList{"weight_1=1", "weight_2=1e300", "value_2=1e300"} << "2"
        << QStringList{"overflow", "the term in row 2"};
    QStringList all;
    for (int i = 1; i <= 12; ++i) all << Row("weight", i) + "=1" << Row("value", i) + "=1";
    QTest::newRow("thirteen terms") << "12" << all << "13" << QStringList{"row 13", "at most 12 other terms"};
    QTest::newRow("thirteen at GO and Compute") << "13" << all << "13" << QStringList{"row 13", "at most 12"};
  }

  void computeFaults() {
    QFETCH(QString, goCount);
    QFETCH(QStringList, grid);
    QFETCH(QString, computeCount);
    QFETCH(QStringList, message);
    IncompleteForm* f = Open();
    TypeAll(f, {{"bx", " 1.50"}, {"stdz", "2,5"}});
    Type(f, "numvars", goCount);
    Click(f, "Command3");
    TypeEntries(f, grid);
    Type(f, "numvars", computeCount);
    Click(f, "Command1");

    for (const QString& part : message) {
      QVERIFY2(f->MessageText().contains(part), qPrintable(f->MessageText()));
    }
    CheckMessageFits(f);
    CheckTexts(f, {"bx=1.5", "bz=0", "bxz=0", "stdz=2", "stdx=0"});
    QCOMPARE(f->SurfaceText(), QString());
    QVERIFY(!HasInk(f->grab(kCorner).toImage()));
    CheckShown(f, PanelNames(f), false);
    QCOMPARE(Caption(f, "se13"), QString());
    CheckTexts(f, grid);
  }

  // A fault in a later Compute leaves the earlier results and print alone.
  void faultKeepsEarlierResults() {
    IncompleteForm* f = Open();
    TypeAll(f, {{"bx", "0.5"}, {"bz", "1"}, {"bxz", "0.25"}, {"stdx", "2"}, {"stdz", "1.5"}, {"numvars", "2"}});
    Click(f, "Command3");
    TypeAll(f, {{"weight_0", "2"}, {"weight_1", "0.25"}, {"value_1", "4"}, {"weight_2", "-0.5"}, {"value_2", "3"}});
    Click(f, "Command1");
    Type(f, "weight_2", "x");
    Type(f, "weight_0", "7");
    Click(f, "Command1");
    QVERIFY(f->MessageText().contains("row 2"));
    QCOMPARE(f->SurfaceText(), QString("1.5"));
    QCOMPARE(Caption(f, "se15"), QString("3"));
    QCOMPARE(Caption(f, "se25"), QString("1.5"));
    QVERIFY(Shown(f, "p38"));

    // Mended, the next Compute clears the message and prints the new constant.
    Type(f, "weight_2", "-0.5");
    Click(f, "Command1");
    QVERIFY(!Shown(f, "message"));
    QCOMPARE(f->SurfaceText(), QString("6.5"));
    QCOMPARE(Caption(f, "se25"), QString("6.5"));
  }

  // An overflow in line 2 comes after A was printed and line 1 shown: both stay.
  void overflowInSecondLine() {
    IncompleteForm* f = Open();
    TypeAll(f, {{"bx", "-1e308"}, {"bxz", "1e308"}, {"stdz", "1"}, {"stdx", "0"}, {"numvars", "0"}});
    Click(f, "Command3");
    Type(f, "weight_0", "5");
    Click(f, "Command1");
    QCOMPARE(f->SurfaceText(), QString("5"));
    QCOMPARE(Caption(f, "se13"), QString("0"));  // -1e308 + 1*1e308
    QCOMPARE(Caption(f, "se15"), QString("5"));
    QVERIFY(Shown(f, "p18"));
    QVERIFY(!Shown(f, "se21"));
    QCOMPARE(Caption(f, "se23"), QString());
    QVERIFY2(f->MessageText().contains("row 2"), qPrintable(f->MessageText()));
    CheckMessageFits(f);
  }

  // value_0 shows "Constant" and is never read, whatever it holds.
  void constantCaptionBoxNeverRead_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("as designed") << "Constant";
    QTest::newRow("a number") << "99";
    QTest::newRow("no number") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("beyond range") << "1e999";
  }

  void constantCaptionBoxNeverRead() {
    QFETCH(QString, text);
    IncompleteForm* f = Open();
    TypeAll(f, {{"bx", "0.5"}, {"numvars", "1"}});
    Click(f, "Command3");
    TypeAll(f, {{"weight_0", "2"}, {"weight_1", "3"}, {"value_1", "0.5"}});
    Type(f, "value_0", text);
    Click(f, "Command1");
    QVERIFY(!Shown(f, "message"));
    QCOMPARE(f->SurfaceText(), QString("3.5"));
    QCOMPARE(Caption(f, "se25"), QString("3.5"));
    QCOMPARE(Caption(f, "value_0"), text);
  }

  // The constant is printed at the top-left corner of the form, drawn again
  // whenever the form is painted, clear of every control, and each Compute
  // prints in place of the last.
  void printOnSurface() {
    IncompleteForm* f = Open();
    TypeAll(f, {{"numvars", "0"}});
    Click(f, "Command3");
    Type(f, "weight_0", "1.5");
    const QImage blank = f->grab(kCorner).toImage();
    QVERIFY(!HasInk(blank));
    Click(f, "Command1");
    const QRect r = f->SurfaceTextRect();
    QCOMPARE(r.topLeft(), QPoint(0, 0));
    QVERIFY(kCorner.contains(r));
    const QImage printed = f->grab(kCorner).toImage();
    QVERIFY(HasInk(printed));
    QVERIFY(HasInk(f->grab(r).toImage()));
    for (QWidget* child : f->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (child->isVisibleTo(f)) QVERIFY2(!child->geometry().intersects(r), qPrintable(child->objectName()));
    }

    // Covered, resized and repainted: the print is drawn again.
    f->hide();
    f->show();
    f->resize(f->width() + 40, f->height() + 40);
    Settle();
    f->resize(f->width() - 40, f->height() - 40);
    f->repaint();
    Settle();
    QCOMPARE(f->grab(kCorner).toImage(), printed);
    // GO does not touch it.
    Click(f, "Command3");
    QCOMPARE(f->grab(kCorner).toImage(), printed);

    // A second Compute replaces the print: the corner looks as on a form that
    // printed only the second value.
    Type(f, "weight_0", "-12345.678");
    Click(f, "Command1");
    QCOMPARE(f->SurfaceText(), QString("-12345.678"));
    const QImage replaced = f->grab(kCorner).toImage();
    QVERIFY(replaced != printed);

    IncompleteForm* fresh = Open();
    TypeAll(fresh, {{"numvars", "0"}});
    Click(fresh, "Command3");
    Type(fresh, "weight_0", "-12345.678");
    Click(fresh, "Command1");
    QCOMPARE(fresh->grab(kCorner).toImage(), replaced);
  }

};

QTEST_MAIN(IncompleteGuiTest)
#include "incomplete_gui_test.moc"
