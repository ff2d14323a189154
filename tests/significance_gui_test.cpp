// The significance and regions tabs of the plot window as a user drives
// them: Compute a fit's weights, paste its covariance matrix, read the
// tables; change the mapping, df, N and level; every problem told in words;
// bands, the region figure, Copy table and Copy text.
// The weights, SDs and covariance matrix are those of R's
//   lm(mpg ~ x * z, transform(mtcars, x = wt - mean(wt), z = hp - mean(hp)))
// and the expected numbers are what emmeans::emtrends printed for it
// (tests/data/r_fits.R has the fit).

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QCheckBox>
#include <QImage>

#include "gui_support.h"
#include "plot/probe_window.h"

using namespace marvane;
using namespace marvane::testing;

namespace {

// print(vcov(fit)) as R wrote it.
const char* const kQuantVcov =
    "              (Intercept)             x             z           x:z\n"
    "(Intercept)  0.2457210730  0.0214806379 -1.070833e-04 -2.356788e-03\n"
    "x            0.0214806379  0.2804317024 -2.616133e-03 -5.017476e-04\n"
    "z           -0.0001070833 -0.0026161330  5.629503e-05  2.501265e-06\n"
    "x:z         -0.0023567883 -0.0005017476  2.501265e-06  5.505017e-05\n";

const QStringList kQuantSteps = {"bx=-4.13164904073826", "bz=-0.0305076357995529", "bxz=0.0278481483187412",
                                 "a=18.8984000821063",   "stdz=68.5628735217586",  "stdx=0.978457442989697",
                                 "Command1"};

ProbeWindow* Open(const char* menuButton, const QStringList& steps, ModelForm** formOut = nullptr) {
  ModelForm* form = OpenFromMenu(menuButton);
  if (form == nullptr) return nullptr;
  Drive(form, steps);
  QPushButton* plot = form->Button("Plot");
  if (plot == nullptr || !plot->isEnabled()) return nullptr;
  QTest::mouseClick(plot, Qt::LeftButton);
  Settle();
  if (formOut != nullptr) *formOut = form;
  return form->PlotWindow();
}

template <typename T>
T* Find(QWidget* w, const char* name) {
  return w->findChild<T*>(QString::fromLatin1(name));
}

void Paste(ProbeWindow* w, const QString& text) {
  auto* box = Find<QPlainTextEdit>(w, "covariance");
  box->selectAll();
  QGuiApplication::clipboard()->setText(text);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

void SetBox(ProbeWindow* w, const char* name, const QString& text) {
  auto* box = Find<QLineEdit>(w, name);
  box->selectAll();
  if (text.isEmpty()) {
    QTest::keyClick(box, Qt::Key_Delete);
  } else {
    QTest::keyClicks(box, text);
  }
}

// How many effects along one variable each form states.
std::size_t FormEffects(const QString& menuButton) {
  if (menuButton == QLatin1String("Command4")) return 3;  // Mixed3: DC1, DC2 and DC1 vs DC2
  if (menuButton == QLatin1String("Command5")) return 4;  // Quant3: along Z and along V, each at +-1 SD
  return 1;
}

QString Status(ProbeWindow* w) { return Find<QLabel>(w, "covarianceStatus")->text(); }

QStringList Row(QTableWidget* t, int row) {
  QStringList out;
  for (int c = 0; c < t->columnCount(); ++c) {
    const QTableWidgetItem* item = t->item(row, c);
    out << (item != nullptr ? item->text() : QString());
  }
  return out;
}

QStringList Header(QTableWidget* t) {
  QStringList out;
  for (int c = 0; c < t->columnCount(); ++c) out << t->horizontalHeaderItem(c)->text();
  return out;
}

}  // namespace

class SignificanceGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  void pastedRPrintGivesRsSimpleSlopes() {
    ProbeWindow* w = Open("Command1", kQuantSteps);
    QVERIFY(w != nullptr);
    Paste(w, kQuantVcov);
    SetBox(w, "df", "28");
    QVERIFY2(Status(w).startsWith(QStringLiteral("4 × 4 matrix from R's print; constant = (Intercept)")),
             qPrintable(Status(w)));
    auto* slopes = Find<QTableWidget>(w, "slopes");
    QCOMPARE(Header(slopes), (QStringList{"line", "estimate", "SE", "t", "df", "p", "lower", "upper"}));
    QCOMPARE(slopes->rowCount(), 3);
    // emtrends: -2.222300 0.6858664 28 -3.627234 -0.817366 -3.240 0.0031 (and the rows at Z = 0 and -1 SD)
    QCOMPARE(Row(slopes, 0), (QStringList{"z = +1 SD (68.6)", "-2.222", "0.686", "-3.240", "28",
                                          "0.003", "-3.627", "-0.817"}));
    QCOMPARE(Row(slopes, 1).mid(1), (QStringList{"-4.132", "0.530", "-7.802", "28", "< .001", "-5.216", "-3.047"}));
    QCOMPARE(Row(slopes, 2).mid(1), (QStringList{"-6.041", "0.780", "-7.747", "28", "< .001", "-7.638", "-4.444"}));
    QCOMPARE(Find<QTableWidget>(w, "points")->rowCount(), 6);
    QCOMPARE(Find<QTableWidget>(w, "slopeDifferences")->rowCount(), 3);
    QCOMPARE(Find<QTableWidget>(w, "interceptDifferences")->rowCount(), 3);

    // More decimals, then the normal reference: z and no df.
    Find<QSpinBox>(w, "decimals")->setValue(5);
    QCOMPARE(Row(slopes, 0).at(1), QStringLiteral("-2.22230"));
    SetBox(w, "df", "");
    QCOMPARE(Header(slopes).at(3), QStringLiteral("z"));
    QCOMPARE(Row(slopes, 0).at(4), QString());
    QVERIFY(Status(w).contains(QStringLiteral("normal distribution")));
    // N instead of df: df = N - 4.
    SetBox(w, "sampleSize", "32");
    QCOMPARE(Row(slopes, 0).at(4), QStringLiteral("28"));
    QCOMPARE(Row(slopes, 0).at(6), QStringLiteral("-3.62723"));
    SetBox(w, "df", "28");
    QVERIFY(Status(w).contains(QStringLiteral("df is used")));
    // A 90% level narrows the interval.
    SetBox(w, "level", "90");
    QVERIFY(Row(slopes, 0).at(6).toDouble() > -3.62723);
  }

  void theMappingCanBeChanged() {
    ProbeWindow* w = Open("Command1", kQuantSteps);
    QVERIFY(w != nullptr);
    Paste(w, kQuantVcov);
    auto* bx = Find<QComboBox>(w, "map_bx");
    QVERIFY(bx != nullptr);
    QCOMPARE(bx->currentText(), QStringLiteral("x"));
    QCOMPARE(Find<QComboBox>(w, "map_a")->currentText(), QStringLiteral("(Intercept)"));
    QCOMPARE(Find<QComboBox>(w, "map_bxz")->currentText(), QStringLiteral("x:z"));
    // Without a row for the weight of X, nothing that needs it has a number.
    bx->setCurrentIndex(bx->findText(QStringLiteral("none")));
    auto* slopes = Find<QTableWidget>(w, "slopes");
    QCOMPARE(Row(slopes, 0).at(1), QStringLiteral("needs a weight the matrix has no row for"));
    QVERIFY(Status(w).contains(QStringLiteral("No pasted row for the weight of X")));
    // Intercepts do not need it.
    QVERIFY(Row(Find<QTableWidget>(w, "intercepts"), 0).at(2).toDouble() > 0);
    // One row for two weights is refused.
    bx->setCurrentIndex(bx->findText(QStringLiteral("z")));
    QVERIFY2(Status(w).contains(QStringLiteral("is chosen for both the weight of X and the weight of Z")) ||
                 Status(w).contains(QStringLiteral("is chosen for both the weight of Z and the weight of X")),
             qPrintable(Status(w)));
    QCOMPARE(slopes->rowCount(), 0);
    bx->setCurrentIndex(bx->findText(QStringLiteral("x")));
    QCOMPARE(slopes->rowCount(), 3);
  }

  void everyProblemIsToldInWords_data() {
    QTest::addColumn<QString>("matrix");
    QTest::addColumn<QString>("df");
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("told");
    // Every message is checked on the analysis itself (analysis_test); here
    // one of each kind reaches the window.
    const QString good = QString::fromLatin1(kQuantVcov);
    QTest::newRow("df zero") << good << "0" << "" << "95" << "The df must be above 0.";
    QTest::newRow("level 100") << good << "" << "" << "100" << "The confidence level must be";
    QTest::newRow("not a number") << "1 2\n2 x" << "" << "" << "95" << "x";
    QTest::newRow("beyond the range") << "1e999 0\n0 1" << "" << "" << "95" << "";
  }

  void everyProblemIsToldInWords() {
    QFETCH(QString, matrix);
    QFETCH(QString, df);
    QFETCH(QString, n);
    QFETCH(QString, level);
    QFETCH(QString, told);
    ModelForm* form = nullptr;
    ProbeWindow* w = Open("Command1", kQuantSteps, &form);
    QVERIFY(w != nullptr);
    const QStringList before = Texts(form, PanelNames(form));
    Paste(w, matrix);
    SetBox(w, "df", df);
    SetBox(w, "sampleSize", n);
    SetBox(w, "level", level);
    const QString status = Status(w);
    QVERIFY2(!status.isEmpty() && status.contains(told), qPrintable(status));
    QVERIFY2(!status.contains(QStringLiteral("nan"), Qt::CaseInsensitive) &&
                 !status.contains(QStringLiteral("inf"), Qt::CaseInsensitive),
             qPrintable(status));
    QCOMPARE(Find<QTableWidget>(w, "slopes")->rowCount(), 0);
    // What was typed and pasted stays; the form is not touched.
    QCOMPARE(Find<QPlainTextEdit>(w, "covariance")->toPlainText(), matrix);
    QCOMPARE(Find<QLineEdit>(w, "level")->text(), level);
    QCOMPARE(Texts(form, PanelNames(form)), before);
  }

  void copyTableAndCopyText() {
    ProbeWindow* w = Open("Command1", kQuantSteps);
    QVERIFY(w != nullptr);
    Paste(w, kQuantVcov);
    SetBox(w, "df", "28");
    QTest::mouseClick(Find<QPushButton>(w, "copyTable"), Qt::LeftButton);
    const QStringList sections = QGuiApplication::clipboard()->text().split(QStringLiteral("\n\n"));
    QStringList titles;
    for (const QString& s : sections) titles << s.section('\n', 0, 0);
    // How the pasted rows were mapped comes right after the lines.
    QCOMPARE(titles, (QStringList{"Simple-effect lines", "Mapping", "Simple slopes", "Simple intercepts",
                                  "Predicted values", "Slope differences", "Intercept differences",
                                  "Regions of significance", "Crossovers"}));
    const QStringList slopes = sections[2].split('\n', Qt::SkipEmptyParts);
    QCOMPARE(slopes.size(), 5);
    QCOMPARE(slopes[1], QStringLiteral("line\testimate\tSE\tt\tdf\tp\tlower\tupper"));
    const QStringList first = slopes[2].split('\t');
    QCOMPARE(first.size(), 8);
    QCOMPARE(first[0], QStringLiteral("z = +1 SD (68.6)"));
    QVERIFY(std::abs(first[1].toDouble() - -2.222300) < 1e-6);
    QVERIFY(std::abs(first[2].toDouble() - 0.6858664) < 1e-7);
    QCOMPARE(first[4], QStringLiteral("28"));
    QCOMPARE(sections[4].split('\n', Qt::SkipEmptyParts).size(), 2 + 6);
    // The copied rows are named by the legend names; the along and held-at
    // columns keep the form's words.
    const QStringList region = sections[7].split('\n', Qt::SkipEmptyParts).value(2).split('\t');
    QCOMPARE(region.mid(0, 3), (QStringList{"slope of x", "Z", ""}));
    QCOMPARE(sections[5].split('\n', Qt::SkipEmptyParts).at(1),
             QStringLiteral("lines\testimate\tSE\tt\tdf\tp\tp Holm\tlower\tupper"));
    QCOMPARE(sections[8].split('\n', Qt::SkipEmptyParts).at(2).section('\t', 0, 0), QStringLiteral("all lines"));

    QTest::mouseClick(Find<QPushButton>(w, "copyText"), Qt::LeftButton);
    const QStringList text = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QVERIFY(!text.isEmpty());
    QCOMPARE(text[0], QStringLiteral("z = +1 SD (68.6): b = \u22122.222, SE = 0.686, t(28) = \u22123.24, "
                                     "p = .003, 95% CI [\u22123.627, \u22120.817]"));
    QCOMPARE(text.size(), 3 + 3 + 3 + 3);
    QVERIFY(Find<QLabel>(w, "copyTextDone")->text().startsWith(QStringLiteral("Copied 12 sentences")));
    // Each tab copies its own sentences.
    QTest::mouseClick(Find<QPushButton>(w, "copyRegionsText"), Qt::LeftButton);
    const QStringList regions = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(regions.size(), 2);
    QVERIFY(regions.filter(QStringLiteral("The slope of x is significant")).size() == 1);
    QVERIFY(regions.filter(QStringLiteral("The lines cross at X = ")).size() == 1);
  }

  // The figure's defaults come from the paste's names; what the user typed
  // wins and stays through later pastes and Computes.
  void namesFromThePaste() {
    ModelForm* form = nullptr;
    ProbeWindow* w = Open("Command1", kQuantSteps, &form);
    QVERIFY(w != nullptr);
    QCOMPARE(w->CurrentFigure().xTitle, std::string("X"));
    QCOMPARE(w->CurrentFigure().lines[0].name, std::string("For 1 std above the mean of Z"));
    Paste(w, kQuantVcov);
    QCOMPARE(w->CurrentFigure().xTitle, std::string("x"));
    QCOMPARE(w->CurrentFigure().lines[0].name, std::string("z = +1 SD (68.6)"));
    auto* xTitle = Find<QLineEdit>(w, "xTitle");
    xTitle->selectAll();
    QTest::keyClicks(xTitle, "Weight");
    Find<QTableWidget>(w, "legend")->item(2, 0)->setText("Low horsepower");
    // The same matrix with the variables named as they were measured.
    Paste(w, QStringLiteral("              (Intercept)            wt            hp         wt:hp\n"
                            "(Intercept)  0.2457210730  0.0214806379 -1.070833e-04 -2.356788e-03\n"
                            "wt           0.0214806379  0.2804317024 -2.616133e-03 -5.017476e-04\n"
                            "hp          -0.0001070833 -0.0026161330  5.629503e-05  2.501265e-06\n"
                            "wt:hp       -0.0023567883 -0.0005017476  2.501265e-06  5.505017e-05\n"));
    Click(form, "Command1");
    QCOMPARE(w->CurrentFigure().xTitle, std::string("Weight"));
    QCOMPARE(w->CurrentFigure().lines[2].name, std::string("Low horsepower"));
    QCOMPARE(w->CurrentFigure().lines[0].name, std::string("hp = +1 SD (68.6)"));
    QVERIFY(Find<QLabel>(w, "regionsText")->text().startsWith(QStringLiteral("The slope of wt is significant")));
    QVERIFY(w->TableText().contains("Low horsepower\t"));
  }

  // Which row is which weight, and how that was decided: guesses by place
  // are marked in the terms table and said; a choice of the user's is the
  // user's; the copied table has the Mapping after the lines.
  void mappingDecidedAndGuessesMarked() {
    ProbeWindow* w = Open("Command1", kQuantSteps);
    QVERIFY(w != nullptr);
    Paste(w, kQuantVcov);
    auto* terms = Find<QTableWidget>(w, "terms");
    QCOMPARE(terms->columnCount(), 3);
    QCOMPARE(terms->item(0, 2)->text(), QStringLiteral("name"));
    QCOMPARE(terms->item(1, 2)->text(), QStringLiteral("place: a guess, check it"));
    QVERIFY2(Status(w).contains(QStringLiteral("were taken from their places in the paste: check them")),
             qPrintable(Status(w)));
    auto* bz = Find<QComboBox>(w, "map_bz");
    bz->setCurrentIndex(bz->findText(QStringLiteral("none")));
    QCOMPARE(terms->item(2, 2)->text(), QStringLiteral("none"));
    bz->setCurrentIndex(bz->findText(QStringLiteral("z")));
    QCOMPARE(terms->item(2, 2)->text(), QStringLiteral("you"));
    const QStringList sections = w->TableText().split(QStringLiteral("\n\n"));
    QVERIFY(sections.size() > 2);
    QCOMPARE(sections[1].section('\n', 0, 1), QStringLiteral("Mapping\nweight\tpasted\tdecided by"));
    QVERIFY2(sections[1].contains(QStringLiteral("weight of Z\tz\tyou")), qPrintable(sections[1]));
  }

  // Before a matrix is pasted there is nothing to copy, and the tab says so.
  void copyTextBeforeAPaste() {
    ProbeWindow* w = Open("Command1", kQuantSteps);
    QVERIFY(w != nullptr);
    QTest::mouseClick(Find<QPushButton>(w, "copyRegionsText"), Qt::LeftButton);
    QVERIFY(Find<QLabel>(w, "copyRegionsTextDone")->text().startsWith(QStringLiteral("Nothing to copy yet")));
  }

  void bandsAndTheRegionFigure() {
    ProbeWindow* w = Open("Command1", kQuantSteps);
    QVERIFY(w != nullptr);
    auto* bands = Find<QCheckBox>(w, "bands");
    QVERIFY(bands != nullptr);
    bands->setChecked(true);
    QVERIFY(w->CurrentFigure().bands.empty());
    QVERIFY(Find<QLabel>(w, "notice")->text().contains(QStringLiteral("covariance matrix")));
    Paste(w, kQuantVcov);
    SetBox(w, "df", "28");
    QCOMPARE(w->CurrentFigure().bands.size(), std::size_t{3});
    bands->setChecked(false);
    QVERIFY(w->CurrentFigure().bands.empty());

    auto* regions = Find<QTableWidget>(w, "regions");
    QCOMPARE(regions->rowCount(), 1);
    // The effect is named after the paste's variables; the along column keeps the form's word.
    QCOMPARE(Row(regions, 0).mid(0, 2), (QStringList{"slope of x", "Z"}));
    auto* crossovers = Find<QTableWidget>(w, "crossovers");
    QCOMPARE(crossovers->rowCount(), 1);
    QCOMPARE(Row(crossovers, 0).at(0), QStringLiteral("all lines"));
    // -bz / bxz, where the form's crossover caption comes from.
    QCOMPARE(Row(crossovers, 0).at(1), QStringLiteral("1.095"));
    QVERIFY(!Find<QLabel>(w, "regionsText")->text().isEmpty());

    // The verdict follows the lines figure's X range.
    auto* range = Find<QComboBox>(w, "range");
    range->setCurrentIndex(2);
    SetBox(w, "xFrom", "-1000");
    SetBox(w, "xTo", "1000");
    const QString wide = Row(crossovers, 0).at(6);
    SetBox(w, "xFrom", "100");
    SetBox(w, "xTo", "200");
    QCOMPARE(Row(crossovers, 0).at(6), QStringLiteral("ordinal"));
    QVERIFY(wide == QLatin1String("disordinal") || wide == QLatin1String("undetermined"));

    // The region figure draws, saves and copies like the lines figure.
    QVERIFY(w->findChild<QWidget*>("regionPlot") != nullptr);
    const figure::Figure& region = w->RegionFigure();
    QVERIFY2(region.note.empty(), region.note.c_str());
    QVERIFY(!region.bands.empty());
    QVERIFY(region.zeroLine);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("region.png"));
    QVERIFY(w->SaveFigure(path, {}, ProbeWindow::Which::Region));
    QImage image(path);
    QCOMPARE(image.width(), 1950);
    QTest::mouseClick(Find<QPushButton>(w, "copyRegionFigure"), Qt::LeftButton);
    QVERIFY(!QGuiApplication::clipboard()->image().isNull());
  }

  void everyFormHasItsMapping_data() {
    QTest::addColumn<QString>("menuButton");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("maps");
    QTest::newRow("QuantZ") << "Command2"
                            << QStringList{"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdx=4", "hiz=1.5", "medz=0.5",
                                           "loz=-1", "Command1"}
                            << QStringList{"map_a", "map_bx", "map_bz", "map_bxz"};
    QTest::newRow("Mixed2") << "Command3"
                            << QStringList{"bx=0.5", "bz=1", "bxz=0.25", "a=2", "stdx=2", "Command1"}
                            << QStringList{"map_a", "map_bx", "map_bz", "map_bxz"};
    QTest::newRow("Mixed3") << "Command4"
                            << QStringList{"rbx=0.5", "bz1=1", "bz2=-1", "bxz1=0.25", "bxz2=-0.25", "a=2", "stdx=2",
                                           "Command1"}
                            << QStringList{"map_a", "map_rbx", "map_bz1", "map_bz2", "map_bxz1", "map_bxz2"};
    QTest::newRow("Quant3") << "Command5"
                            << QStringList{"bx=1", "bz=2", "bv=3", "bxz=0.5", "bxv=0.25", "bzv=0.1", "bxzv=0.05",
                                           "a=10", "stdx=2", "stdz=1", "stdv=4", "Command1"}
                            << QStringList{"map_a", "map_bx", "map_bz", "map_bv", "map_bxz", "map_bxv", "map_bzv",
                                           "map_bxzv"};
    QTest::newRow("Incomplete") << "Inomplete"
                                << QStringList{"numvars=1", "Command3", "bx=0.5", "bz=0.25", "bxz=0.125", "stdz=2",
                                               "stdx=4", "weight_0=1", "weight_1=2", "value_1=0.5", "Command1"}
                                << QStringList{"map_weight_0", "map_bx", "map_bz", "map_bxz", "map_weight_1"};
  }

  // Bare numbers, the identity scaled: every weight gets its row in order,
  // and every table fills.
  void everyFormHasItsMapping() {
    QFETCH(QString, menuButton);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, maps);
    ProbeWindow* w = Open(menuButton.toLatin1().constData(), steps);
    QVERIFY(w != nullptr);
    QString bare;
    for (int i = 0; i < maps.size(); ++i) {
      QStringList row;
      for (int j = 0; j < maps.size(); ++j) row << (i == j ? QStringLiteral("0.01") : QStringLiteral("0"));
      bare += row.join(' ') + '\n';
    }
    Paste(w, bare);
    for (int i = 0; i < maps.size(); ++i) {
      auto* combo = w->findChild<QComboBox*>(maps[i]);
      QVERIFY2(combo != nullptr, qPrintable(maps[i]));
      QCOMPARE(combo->currentText(), QStringLiteral("row %1").arg(i + 1));
    }
    QVERIFY2(Status(w).startsWith(QStringLiteral("%1 × %1 matrix").arg(maps.size())), qPrintable(Status(w)));
    const int lines = static_cast<int>(w->CurrentFigure().lines.size());
    QCOMPARE(Find<QTableWidget>(w, "slopes")->rowCount(), lines);
    QCOMPARE(Find<QTableWidget>(w, "points")->rowCount(), 2 * lines);
    QCOMPARE(Find<QTableWidget>(w, "slopeDifferences")->rowCount(), lines * (lines - 1) / 2);
    // Every effect has its row, its sentence and its region figure.
    auto* effect = Find<QComboBox>(w, "regionEffect");
    const int effects = static_cast<int>(w->findChild<QTableWidget*>("regions")->rowCount());
    QCOMPARE(effect->count(), effects);
    QCOMPARE(effects, static_cast<int>(FormEffects(menuButton)));
    QCOMPARE(Find<QLabel>(w, "regionsText")->text().split('\n').size(), effects);
    for (int k = 0; k < effects; ++k) {
      effect->setCurrentIndex(k);
      const figure::Figure& region = w->RegionFigure();
      QVERIFY2(region.note.empty(), region.note.c_str());
      QVERIFY(!region.bands.empty());
      QVERIFY(region.zeroLine);
    }
    QVERIFY(!Find<QLabel>(w, "crossoversText")->text().isEmpty());
  }
};

QTEST_MAIN(SignificanceGuiTest)
#include "significance_gui_test.moc"
