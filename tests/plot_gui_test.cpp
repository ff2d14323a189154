// The plot window as a user drives it: Compute, click Plot, see the lines;
// later Computes redraw it, a faulting one keeps the figure and says so;
// Back and closing the form close it; exports and copies.

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImageReader>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "gui_support.h"
#include "plot/probe_window.h"
#include "plot/svg_device.h"

using namespace marvane;
using namespace marvane::testing;

namespace {

struct Example {
  const char* menuButton;
  QStringList steps;  // ends in the form's compute button
  QString title;
  QStringList table;  // Copy table, line by line
};

const Example kExamples[] = {
    {"Command1",
     {"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdz=2", "stdx=4", "Command1"},
     "Plot — Quant",
     {"Simple-effect lines", "line\tslope\tintercept\tX1\tY1\tX2\tY2",
      "For 1 std above the mean of Z\t0.75\t2.5\t-4\t-0.5\t4\t5.5", "For the mean of Z\t0.5\t2\t-4\t0\t4\t4",
      "For 1 std below the mean of Z\t0.25\t1.5\t-4\t0.5\t4\t2.5"}},
    {"Command2",
     {"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdx=4", "hiz=1.5", "medz=0.5", "loz=-1", "Command1"},
     "Plot — QuantZ",
     {"Simple-effect lines", "line\tslope\tintercept\tX1\tY1\tX2\tY2",
      "For high value of Z\t0.6875\t2.375\t-4\t-0.375\t4\t5.125",
      "For medium value of Z\t0.5625\t2.125\t-4\t-0.125\t4\t4.375",
      "For low value of Z\t0.375\t1.75\t-4\t0.25\t4\t3.25"}},
    {"Command3",
     {"bx=0.5", "bz=1", "bxz=0.25", "a=2", "stdx=2", "Command1"},
     "Plot — Mixed2",
     {"Simple-effect lines", "line\tslope\tintercept\tX1\tY1\tX2\tY2",
      "For target group (coded 1)\t0.75\t3\t-2\t1.5\t2\t4.5", "For contrast group (coded 0)\t0.5\t2\t-2\t1\t2\t3"}},
    {"Command4",
     {"rbx=0.5", "bz1=1", "bz2=-1", "bxz1=0.25", "bxz2=-0.25", "a=2", "stdx=2", "Command1"},
     "Plot — Mixed3",
     {"Simple-effect lines", "line\tslope\tintercept\tX1\tY1\tX2\tY2",
      "For DC1 target group\t0.75\t3\t-2\t1.5\t2\t4.5", "For DC2 target group\t0.25\t1\t-2\t0.5\t2\t1.5",
      "For contrast group\t0.5\t2\t-2\t1\t2\t3"}},
    {"Command5",
     {"bx=1", "bz=2", "bv=3", "bxz=0.5", "bxv=0.25", "bzv=0.1", "bxzv=0.05", "a=10", "stdx=2", "stdz=1", "stdv=4",
      "Command1"},
     "Plot — Quant 3-way",
     {"Simple-effect lines", "line\tslope\tintercept\tX1\tY1\tX2\tY2",
      "+1 std of Z and +1 std of V\t2.7\t24.4\t-2\t19\t2\t29.8",
      "+1 std of Z and -1 std of V\t0.3\t-0.4\t-2\t-1\t2\t0.2",
      "-1 std of Z and +1 std of V\t1.3\t19.6\t-2\t17\t2\t22.2",
      "-1 std of Z and -1 std of V\t-0.3\t-3.6\t-2\t-3\t2\t-4.2"}},
    {"Inomplete",
     {"numvars=1", "Command3", "bx=0.5", "bz=0.25", "bxz=0.125", "stdz=2", "stdx=4", "weight_0=1", "weight_1=2",
      "value_1=0.5", "Command1"},
     "Plot — Incomplete",
     {"Simple-effect lines", "line\tslope\tintercept\tX1\tY1\tX2\tY2",
      "For 1 std above the mean of Z\t0.75\t2.5\t-4\t-0.5\t4\t5.5", "For the mean of Z\t0.5\t2\t-4\t0\t4\t4",
      "For 1 std below the mean of Z\t0.25\t1.5\t-4\t0.5\t4\t2.5"}},
};

ProbeWindow* OpenPlot(ModelForm* form) {
  QPushButton* plot = form->Button("Plot");
  if (plot == nullptr || !plot->isEnabled()) return nullptr;
  QTest::mouseClick(plot, Qt::LeftButton);
  Settle();
  return form->PlotWindow();
}

QString Notice(ProbeWindow* w) { return w->findChild<QLabel*>("notice")->text(); }

}  // namespace

class PlotGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  void everyFormPlotsItsLines_data() {
    QTest::addColumn<int>("example");
    for (int i = 0; i < static_cast<int>(std::size(kExamples)); ++i) QTest::newRow(kExamples[i].menuButton) << i;
  }

  void everyFormPlotsItsLines() {
    QFETCH(int, example);
    const Example& e = kExamples[example];
    ModelForm* form = OpenFromMenu(e.menuButton);
    QVERIFY(form != nullptr);
    QPushButton* plot = form->Button("Plot");
    QVERIFY(plot != nullptr);
    QVERIFY(plot->isVisible());
    QVERIFY2(!plot->isEnabled(), "Plot is enabled before a Compute");
    Drive(form, e.steps);
    CheckLayout(form);
    ProbeWindow* w = OpenPlot(form);
    QVERIFY(w != nullptr);
    QCOMPARE(w->objectName(), QStringLiteral("Probe"));
    QVERIFY(w->isWindow());
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), e.title);
    // The figure's lines are the form's numbers, exactly.
    const ProbeWindow* same = w;
    const figure::Figure& f = w->CurrentFigure();
    QVERIFY2(f.note.empty(), f.note.c_str());
    const Probe* probe = form->LastProbe();
    QVERIFY(probe != nullptr);
    QCOMPARE(f.lines.size(), probe->lines.size());
    for (std::size_t i = 0; i < f.lines.size(); ++i) {
      QCOMPARE(f.lines[i].y1, probe->lines[i].line.y1);
      QCOMPARE(f.lines[i].y2, probe->lines[i].line.y2);
      QCOMPARE(f.lines[i].xFrom, -probe->stdx);
    }
    QCOMPARE(w->TableText().split('\n', Qt::SkipEmptyParts), e.table);
    QTest::mouseClick(w->findChild<QPushButton*>("copyTable"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts), e.table);
    // A second click raises the same window.
    QCOMPARE(OpenPlot(form), same);
    // Back unloads the form, and the plot window goes with it.
    QPointer<ProbeWindow> window(w);
    QPointer<ModelForm> unloaded(form);
    Click(form, "Command2");
    QVERIFY(unloaded.isNull());
    QVERIFY(window.isNull());
  }

  void followsLaterComputesAndFaults() {
    ModelForm* form = OpenFromMenu("Command1");
    Drive(form, kExamples[0].steps);
    ProbeWindow* w = OpenPlot(form);
    QVERIFY(w != nullptr);
    Drive(form, {"bx=1", "Command1"});
    QCOMPARE(w->CurrentFigure().lines[1].yTo, 2 + 4 * 1.0);
    QVERIFY(!Notice(w).contains("not up to date"));
    // A fault keeps the figure and says so, with the form's message.
    Drive(form, {"a=1E308", "bz=1E308", "Command1"});
    QVERIFY(Shown(form, "message"));
    QCOMPARE(w->CurrentFigure().lines[1].yTo, 2 + 4 * 1.0);
    QVERIFY2(Notice(w).contains("not up to date"), qPrintable(Notice(w)));
    QVERIFY2(Notice(w).contains(form->MessageText()), qPrintable(Notice(w)));
    QVERIFY(form->Button("Plot")->isEnabled());
    // The next good Compute brings it up to date.
    Drive(form, {"a=2", "bz=0.25", "Command1"});
    QVERIFY(!Notice(w).contains("not up to date"));
  }

  // A screen reader hears the figure summed up in words.
  void figureHasAnAccessibleDescription() {
    ModelForm* form = OpenFromMenu("Command1");
    Drive(form, kExamples[0].steps);
    ProbeWindow* w = OpenPlot(form);
    QAccessibleInterface* plot = QAccessible::queryAccessibleInterface(w->findChild<QWidget*>("plot"));
    QVERIFY(plot != nullptr);
    const QString text = plot->text(QAccessible::Description);
    for (const char* part : {"3 lines", "For 1 std above the mean of Z: slope 0.75, intercept 2.5",
                             "For 1 std below the mean of Z: slope 0.25", "All lines meet at X = -2"}) {
      QVERIFY2(text.contains(part), qPrintable(text));
    }
  }

  void closingTheWindowKeepsTheForm() {
    ModelForm* form = OpenFromMenu("Command3");
    Drive(form, kExamples[2].steps);
    const QStringList before = RowsValues(form, 2);
    ProbeWindow* w = OpenPlot(form);
    QPointer<ProbeWindow> guard(w);
    w->close();
    Settle();
    QVERIFY(guard.isNull());
    QVERIFY(form->isVisible());
    QCOMPARE(RowsValues(form, 2), before);
    // It opens again from the last Compute.
    QVERIFY(OpenPlot(form) != nullptr);
  }

  void rangeStyleAndNames() {
    ModelForm* form = OpenFromMenu("Command1");
    Drive(form, kExamples[0].steps);
    ProbeWindow* w = OpenPlot(form);
    auto* range = w->findChild<QComboBox*>("range");
    range->setCurrentIndex(1);
    QCOMPARE(w->CurrentFigure().xMin, -8.0);
    range->setCurrentIndex(2);
    auto* from = w->findChild<QLineEdit*>("xFrom");
    auto* to = w->findChild<QLineEdit*>("xTo");
    from->clear();
    QTest::keyClicks(from, "-1");
    to->clear();
    QTest::keyClicks(to, "3");
    QCOMPARE(w->CurrentFigure().xMin, -1.0);
    QCOMPARE(w->CurrentFigure().xMax, 3.0);
    to->clear();
    QTest::keyClicks(to, "x");
    QVERIFY(!w->CurrentFigure().note.empty());
    QVERIFY(!Notice(w).isEmpty());
    range->setCurrentIndex(0);
    auto* legend = w->findChild<QTableWidget*>("legend");
    QCOMPARE(legend->rowCount(), 3);
    legend->item(0, 0)->setText("High anxiety");
    QCOMPARE(w->CurrentFigure().lines[0].name, std::string("High anxiety"));
    auto* xTitle = w->findChild<QLineEdit*>("xTitle");
    xTitle->clear();
    QTest::keyClicks(xTitle, "Stress");
    QCOMPARE(w->CurrentFigure().xTitle, std::string("Stress"));
    // The edits stay through a later Compute.
    Click(form, "Command1");
    QCOMPARE(w->CurrentFigure().lines[0].name, std::string("High anxiety"));
    QVERIFY(w->TableText().contains("High anxiety\t0.75"));
    w->findChild<QComboBox*>("style")->setCurrentIndex(1);
    QVERIFY(w->Style() == FigureStyle::Colour);
  }

  // A Compute analyses the window's inputs once; a title, a legend name, the
  // style or the size only redraws the figure.
  void oneAnalysisPerComputeAndNoneForALabel() {
    ModelForm* form = OpenFromMenu("Command1");
    Drive(form, kExamples[0].steps);
    ProbeWindow* w = OpenPlot(form);
    const int opened = w->Analyses();
    QCOMPARE(opened, 1);
    Click(form, "Command1");
    QCOMPARE(w->Analyses(), opened + 1);
    auto* xTitle = w->findChild<QLineEdit*>("xTitle");
    xTitle->clear();
    QTest::keyClicks(xTitle, "Stress");
    w->findChild<QTableWidget*>("legend")->item(0, 0)->setText("High");
    w->findChild<QComboBox*>("style")->setCurrentIndex(1);
    w->findChild<QDoubleSpinBox*>("figureWidth")->setValue(3);
    QCOMPARE(w->Analyses(), opened + 1);
    QCOMPARE(w->CurrentFigure().xTitle, std::string("Stress"));
    QCOMPARE(w->CurrentFigure().lines[0].name, std::string("High"));
    // A number of the figure does go through the analysis, once.
    w->findChild<QComboBox*>("range")->setCurrentIndex(1);
    QCOMPARE(w->Analyses(), opened + 2);
  }

  // The lines at typed moderator values reach the figure, the legend and
  // the copied table.
  void linesAtTypedValues() {
    ModelForm* form = OpenFromMenu("Command1");
    Drive(form, kExamples[0].steps);
    ProbeWindow* w = OpenPlot(form);
    w->findChild<QComboBox*>("moderators")->setCurrentIndex(2);
    auto* values = w->findChild<QLineEdit*>("moderatorValues");
    QTest::keyClicks(values, "-1, 0, 1, 2");
    QCOMPARE(w->CurrentFigure().lines.size(), std::size_t{4});
    QCOMPARE(w->findChild<QTableWidget*>("legend")->rowCount(), 4);
    QCOMPARE(w->CurrentFigure().lines[3].name, std::string("Z = 2"));
    // Z = 2 is the form's +1 SD line: slope 0.75, intercept 2.5.
    QVERIFY2(w->TableText().contains("\nZ = 2\t0.75\t2.5\t"), qPrintable(w->TableText()));
  }

  void zeroStdxGivesWords() {
    ModelForm* form = OpenFromMenu("Command1");
    Drive(form, {"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdz=2", "stdx=0", "Command1"});
    ProbeWindow* w = OpenPlot(form);
    QVERIFY(w != nullptr);
    QVERIFY(!w->CurrentFigure().note.empty());
    QVERIFY(Notice(w).contains("standard deviation of X"));
    QImage shot = w->grab().toImage();
    QVERIFY(!shot.isNull());
  }

  void exports() {
    ModelForm* form = OpenFromMenu("Command1");
    Drive(form, kExamples[0].steps);
    ProbeWindow* w = OpenPlot(form);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // PNG: the asked pixel size and resolution (default 6.5 x 4.5 in at 300 dpi).
    const QString png = dir.filePath("f.png");
    QVERIFY(w->SaveFigure(png));
    QImage image(png);
    QCOMPARE(image.size(), QSize(1950, 1350));
    QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 300);
    // SVG: parses; each line is one path in the plot and one in its legend
    // sample, and nothing else is drawn as a path.
    const QString svg = dir.filePath("f.svg");
    QVERIFY(w->SaveFigure(svg));
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QFile svgFile(svg);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    const QByteArray svgText = svgFile.readAll();
    QCOMPARE(svgText.count("<path"), 2 * 3);
    // PDF: one page of the asked size (points).
    w->findChild<QComboBox*>("figureUnit")->setCurrentIndex(1);
    QVERIFY(qAbs(w->FigureInches().width() - 6.5) < 1e-9);
    const QString pdf = dir.filePath("f.pdf");
    QVERIFY(w->SaveFigure(pdf));
    QFile pdfFile(pdf);
    QVERIFY(pdfFile.open(QIODevice::ReadOnly));
    const QByteArray pdfText = pdfFile.readAll();
    QVERIFY(pdfText.startsWith("%PDF"));
    QCOMPARE(pdfText.count("/Type /Page\n"), 1);
    QVERIFY2(pdfText.contains("/MediaBox [0 0 468.000000 324.000000]"), "not a 6.5 x 4.5 in page");
    // Unwritable places are told in words; nothing else changes.
    const figure::Figure before = w->CurrentFigure();
    QVERIFY(!w->SaveFigure(dir.filePath("no/such/folder/f.png")));
    QVERIFY2(Notice(w).startsWith("Could not save"), qPrintable(Notice(w)));
    QVERIFY(!w->SaveFigure(dir.filePath("f.bmp")));
    QVERIFY(Notice(w).contains(".png, .svg or .pdf"));
    QCOMPARE(w->CurrentFigure().lines.size(), before.lines.size());
    // Copy figure: an image on the clipboard.
    QTest::mouseClick(w->findChild<QPushButton*>("copyFigure"), Qt::LeftButton);
    QVERIFY(!QGuiApplication::clipboard()->image().isNull());
  }

  // The SVG writer is a module loaded at the first SVG save. Without it an
  // SVG save fails in words that say what to do instead, writes nothing and
  // leaves PNG and PDF working; with it back, SVG works again.
  void svgWithoutItsModuleSaysWhatToDo() {
    ModelForm* form = OpenFromMenu("Command1");
    Drive(form, kExamples[0].steps);
    ProbeWindow* w = OpenPlot(form);
    QVERIFY(w != nullptr);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString modulePath = SvgModulePath();
    SetSvgModulePath(dir.filePath("no-such-module.so"));
    const QString svg = dir.filePath("f.svg");
    QVERIFY(!w->SaveFigure(svg));
    QVERIFY(!QFile::exists(svg));
    QVERIFY2(Notice(w).startsWith("Could not save " + svg), qPrintable(Notice(w)));
    QVERIFY2(Notice(w).contains("save the figure as PNG or PDF instead"), qPrintable(Notice(w)));
    QVERIFY(w->SaveFigure(dir.filePath("f.png")));
    QVERIFY(w->SaveFigure(dir.filePath("f.pdf")));
    SetSvgModulePath(modulePath);
    QVERIFY2(w->SaveFigure(svg), qPrintable(Notice(w)));
    QVERIFY(QSvgRenderer(svg).isValid());
  }

  void programEndsWhenTheFormClosesWithThePlotOpen() {
    ModelForm* form = OpenFromMenu("Command1");
    Drive(form, kExamples[0].steps);
    QVERIFY(OpenPlot(form) != nullptr);
    bool ended = false;
    QTimer::singleShot(0, form, [form] { form->close(); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    ended = QCoreApplication::exec() == 0;
    QVERIFY2(ended, "the program kept running");
    Settle();
    for (QWidget* w : QApplication::topLevelWidgets()) {
      QVERIFY2(!(w->objectName() == "Probe" && w->isVisible()), "the plot window stayed open");
    }
  }
};

QTEST_MAIN(PlotGuiTest)
#include "plot_gui_test.moc"
