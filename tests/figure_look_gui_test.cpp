// The figure's look as a user sets it in the plot window: the text size,
// the band style, whether the crossing is shown, and the region figure's
// titles. None of them changes a number, so none of them analyses again;
// each redraws the figure it belongs to and reaches the saved files.
// The weights and matrices are R's fits of tests/data/r_fits.R.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

#include "gui_support.h"
#include "plot/probe_window.h"

using namespace marvane;
using namespace marvane::testing;

namespace {

QString Matrix(const char* file) {
  QFile in(QStringLiteral(MARVANE_MATRIX_DATA "/") + QLatin1String(file));
  return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
}

struct Fit {
  const char* menuButton;
  QStringList steps;
  const char* matrix;
  const char* df;
  bool crossingShown;  // by default: all lines meet, or one pair
};

const Fit kQuant = {"Command1",
                    {"bx=-4.13164904", "bz=-0.03050764", "bxz=0.02784815", "a=18.89840008", "stdz=68.56287",
                     "stdx=0.9784574", "Command1"},
                    "r_print_quant.txt",
                    "28",
                    true};
const Fit kMixed2 = {"Command3",
                     {"bx=7.811429", "bz=-3.7", "bxz=3.904286", "a=20.663333", "stdx=0.6288722", "Command1"},
                     "r_print_mixed2.txt",
                     "56",
                     true};
const Fit kMixed3 = {"Command4",
                     {"rbx=0.6904897", "bz1=1.4345072", "bz2=1.9130694", "bxz1=0.174588", "bxz2=0.2110448",
                      "a=4.7500585", "stdx=0.4358663", "Command1"},
                     "r_print_mixed3.txt",
                     "144",
                     false};
const Fit kQuant3 = {"Command5",
                     {"bx=-0.1781939181", "bz=-1.079466627", "bv=0.1355369276", "bxz=0.0007497731",
                      "bxv=-0.0014875629", "bzv=-0.0110847127", "bxzv=0.0001812756", "a=70.22309871",
                      "stdx=22.71122", "stdz=9.615407", "stdv=41.70485", "Command1"},
                     "r_print_quant3.txt",
                     "39",
                     false};

template <typename T>
T* Find(QWidget* w, const char* name) {
  return w->findChild<T*>(QString::fromLatin1(name));
}

// The plot window of a fit with its matrix pasted and its df typed.
ProbeWindow* Open(const Fit& fit, ModelForm** formOut = nullptr) {
  ModelForm* form = OpenFromMenu(fit.menuButton);
  if (form == nullptr) return nullptr;
  Drive(form, fit.steps);
  QPushButton* plot = form->Button("Plot");
  if (plot == nullptr || !plot->isEnabled()) return nullptr;
  QTest::mouseClick(plot, Qt::LeftButton);
  Settle();
  ProbeWindow* w = form->PlotWindow();
  Find<QPlainTextEdit>(w, "covariance")->setPlainText(Matrix(fit.matrix));
  auto* df = Find<QLineEdit>(w, "df");
  df->clear();
  QTest::keyClicks(df, QString::fromLatin1(fit.df));
  if (formOut != nullptr) *formOut = form;
  return w;
}

QByteArray Saved(ProbeWindow* w, const QString& name, ProbeWindow::Which which = ProbeWindow::Which::Lines) {
  QTemporaryDir dir;
  const QString path = dir.filePath(name);
  if (!w->SaveFigure(path, {}, which)) return {};
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class FigureLookGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  // Shown by default where all lines meet or there is one pair; off where
  // several pairs cross at different X. With the matrix pasted the
  // crossing's bracket names its pair.
  void crossingShownByDefaultWhereThereIsOne_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("Quant") << 0;
    QTest::newRow("Mixed2") << 1;
    QTest::newRow("Mixed3") << 2;
    QTest::newRow("Quant3") << 3;
  }

  void crossingShownByDefaultWhereThereIsOne() {
    QFETCH(int, which);
    const Fit& fit = which == 0 ? kQuant : which == 1 ? kMixed2 : which == 2 ? kMixed3 : kQuant3;
    ProbeWindow* w = Open(fit);
    QVERIFY(w != nullptr);
    auto* shown = Find<QCheckBox>(w, "showCrossing");
    QVERIFY(shown != nullptr);
    QCOMPARE(shown->isChecked(), fit.crossingShown);
    // Quant's crossing (X = 1.1) lies beyond its +-1 SD range: a range to 2.
    Find<QComboBox>(w, "range")->setCurrentIndex(2);
    for (auto [name, text] : {std::pair{"xFrom", "-1"}, std::pair{"xTo", "2"}}) {
      auto* box = Find<QLineEdit>(w, name);
      box->clear();
      QTest::keyClicks(box, QString::fromLatin1(text));
    }
    const int analyses = w->Analyses();
    shown->setChecked(true);
    const figure::Figure& f = w->CurrentFigure();
    if (which == 0) {
      QVERIFY(f.bracket.has_value());
      QVERIFY2(f.bracket->label.rfind("the lines cross at X = 1.1, 95% CI [", 0) == 0, f.bracket->label.c_str());
      QVERIFY(f.meeting.has_value());
    } else if (which == 1) {
      QVERIFY(f.bracket.has_value());
      QVERIFY2(f.bracket->label.rfind("lines 1 and 2 cross at X = 0.948, 95% CI [", 0) == 0, f.bracket->label.c_str());
    }
    shown->setChecked(false);
    QVERIFY(!w->CurrentFigure().bracket.has_value());
    QVERIFY(!w->CurrentFigure().meeting.has_value());
    QCOMPARE(w->Analyses(), analyses);
  }

  // The user's choice stays through later Computes.
  void crossingChoiceStays() {
    ModelForm* form = nullptr;
    ProbeWindow* w = Open(kQuant, &form);
    auto* shown = Find<QCheckBox>(w, "showCrossing");
    QVERIFY(shown->isChecked());
    shown->setChecked(false);
    Click(form, "Command1");
    QVERIFY(!shown->isChecked());
    QVERIFY(!w->CurrentFigure().meeting.has_value());
  }

  // The band style offers filled or edge lines while the bands are on, and
  // shows "None" (no choice) while they are off; the style comes back when
  // they are on again.
  void bandStyleFollowsTheBandsBox() {
    ProbeWindow* w = Open(kQuant3);
    auto* bands = Find<QCheckBox>(w, "bands");
    auto* style = Find<QComboBox>(w, "bandStyle");
    QVERIFY(style != nullptr);
    QVERIFY(!bands->isChecked());
    QVERIFY(!style->isEnabled());
    QCOMPARE(style->currentText(), QStringLiteral("None"));
    bands->setChecked(true);
    QVERIFY(style->isEnabled());
    QCOMPARE(style->currentText(), QStringLiteral("Filled"));
    auto* items = qobject_cast<QStandardItemModel*>(style->model());
    QVERIFY(items != nullptr && !items->item(2)->isEnabled());
    QCOMPARE(w->CurrentFigure().bands.size(), std::size_t{4});
    QVERIFY(w->CurrentFigure().bandStyle == figure::BandStyle::Filled);
    const int analyses = w->Analyses();
    style->setCurrentIndex(1);
    QVERIFY(w->CurrentFigure().bandStyle == figure::BandStyle::Edges);
    QCOMPARE(w->Analyses(), analyses);
    bands->setChecked(false);
    QCOMPARE(style->currentText(), QStringLiteral("None"));
    bands->setChecked(true);
    QCOMPARE(style->currentText(), QStringLiteral("Edge lines"));
  }

  // The text size: 6 to 14 pt, 9 by default; it redraws both figures and
  // reaches the saved SVG of each, without a new analysis.
  void textSizeReachesBothFiguresFiles() {
    ProbeWindow* w = Open(kQuant);
    auto* size = Find<QSpinBox>(w, "fontSize");
    QVERIFY(size != nullptr);
    QCOMPARE(size->value(), 9);
    QCOMPARE(size->minimum(), 6);
    QCOMPARE(size->maximum(), 14);
    // At 254 pixels an inch the drawing's font-size is in the painter's
    // points (its groups scale them to pixels).
    QVERIFY(Saved(w, "a.svg").contains("font-size=\"9\""));
    const int analyses = w->Analyses();
    size->setValue(12);
    QCOMPARE(w->Analyses(), analyses);
    for (ProbeWindow::Which which : {ProbeWindow::Which::Lines, ProbeWindow::Which::Region}) {
      const QByteArray svg = Saved(w, "b.svg", which);
      QVERIFY(svg.contains("font-size=\"12\""));
      QVERIFY(!svg.contains("font-size=\"9\""));
    }
  }

  // The region figure's titles: typed ones replace its own, an emptied one
  // brings its own back, and on Quant3 a typed Y title keeps the value the
  // other moderator is held at. No new analysis.
  void regionTitlesAreEditable() {
    ProbeWindow* w = Open(kQuant3);
    auto* x = Find<QLineEdit>(w, "regionXTitle");
    auto* y = Find<QLineEdit>(w, "regionYTitle");
    QVERIFY(x != nullptr && y != nullptr);
    // Its own titles name the variables as the paste does.
    QCOMPARE(w->RegionFigure().xTitle, std::string("z"));
    QCOMPARE(w->RegionFigure().yTitle, std::string("Slope of x at v = +1 SD (41.7)"));
    QCOMPARE(y->placeholderText(), QStringLiteral("Slope of x at v = +1 SD (41.7)"));
    const int analyses = w->Analyses();
    QTest::keyClicks(x, QStringLiteral("Education"));
    QTest::keyClicks(y, QStringLiteral("Effect of agriculture"));
    QCOMPARE(w->RegionFigure().xTitle, std::string("Education"));
    QCOMPARE(w->RegionFigure().yTitle, std::string("Effect of agriculture at v = +1 SD (41.7)"));
    QCOMPARE(w->Analyses(), analyses);
    // The next figure: the same typed title, its own held value.
    Find<QComboBox>(w, "regionEffect")->setCurrentIndex(1);
    QCOMPARE(w->RegionFigure().yTitle, std::string("Effect of agriculture at v = -1 SD (-41.7)"));
    x->clear();
    QCOMPARE(w->RegionFigure().xTitle, std::string("z"));
    QVERIFY(Saved(w, "r.svg", ProbeWindow::Which::Region).contains("Effect of agriculture at v = -1 SD (-41.7)"));
  }
};

QTEST_MAIN(FigureLookGuiTest)
#include "figure_look_gui_test.moc"
