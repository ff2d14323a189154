// Paste model on every model form, as a user does it: paste what R, Stata or
// SPSS printed, pick which term is X, apply, type the SDs, Compute, Plot; the
// plot window gets the matrix, the df and the picks. What R printed is in
// tests/data/models (make_models.R; the Stata and SPSS layouts imitated).

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include "gui_support.h"
#include "plot/model_paste_window.h"
#include "plot/probe_window.h"

using namespace marvane;
using namespace marvane::testing;

namespace {

QString Sample(const QString& file) {
  QFile f(QStringLiteral(MARVANE_MODEL_DATA "/") + file);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

template <typename T>
T* Find(QWidget* w, const QString& name) {
  return w->findChild<T*>(name);
}

// Opens the form's Paste model window and pastes `text` into it.
QWidget* PasteModel(ModelForm* form, const QString& text) {
  Click(form, "pasteModel");
  QWidget* w = form->PasteModelWindow();
  if (w == nullptr) return nullptr;
  Find<QPlainTextEdit>(w, "modelText")->setPlainText(text);
  return w;
}

void Pick(QWidget* w, const QString& box, const QString& term) {
  auto* pick = Find<QComboBox>(w, QStringLiteral("pick_") + box);
  QVERIFY2(pick != nullptr, qPrintable(box));
  const int at = pick->findText(term);
  QVERIFY2(at >= 0, qPrintable(term));
  pick->setCurrentIndex(at);
}

QString Status(QWidget* w) { return Find<QLabel>(w, "modelStatus")->text(); }

}  // namespace

class ModelPasteGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  // Every form: the paste's terms read, X picked, the products found, the
  // boxes written as printed; Compute and Plot then take the matrix, the df
  // and the picks to the plot window, whose rows are decided by the model.
  void fillsEveryForm_data() {
    QTest::addColumn<QString>("menuButton");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QStringList>("picks");  // box=term
    QTest::addColumn<QStringList>("boxes");  // box=term whose printed estimate it gets
    QTest::addColumn<QStringList>("rest");   // typed before Compute
    QTest::newRow("Quant, R's summary and vcov, Temp as X")
        << "Command1" << "airquality_a" << QStringList{"bx=Temp_c", "bz=Wind_c"}
        << QStringList{"bx=Temp_c", "bz=Wind_c", "bxz=Wind_c:Temp_c", "a=(Intercept)"}
        << QStringList{"stdz=3.5", "stdx=9.5"};
    QTest::newRow("QuantZ, R's summary and vcov")
        << "Command2" << "savings_b" << QStringList{"bx=dpi_c", "bz=pop15_c"}
        << QStringList{"a=(Intercept)", "bxz=dpi_c:pop15_c"} << QStringList{"stdx=990", "hiz=9", "medz=0", "loz=-9"};
    QTest::newRow("Mixed2, R's summary and vcov")
        << "Command3" << "toothgrowth_b" << QStringList{"bx=dose_c", "bz=suppVC"}
        << QStringList{"bz=suppVC", "bxz=dose_c:suppVC"} << QStringList{"stdx=0.6"};
    QTest::newRow("Mixed3, R's summary and vcov")
        << "Command4" << "chickweight_a" << QStringList{"rbx=Time_c", "bz1=Diet2", "bz2=Diet3"}
        << QStringList{"rbx=Time_c", "bz1=Diet2", "bxz2=Diet3:Time_c"} << QStringList{"stdx=6.7"};
    QTest::newRow("Quant3, R's summary and vcov")
        << "Command5" << "stackloss_b"
        << QStringList{"bx=Air.Flow_c", "bz=Water.Temp_c", "bv=Acid.Conc._c"}
        << QStringList{"bxzv=Acid.Conc._c:Water.Temp_c:Air.Flow_c"}
        << QStringList{"stdx=9.2", "stdz=3.2", "stdv=5.4"};
    QTest::newRow("Incomplete, R's summary and vcov")
        << "Inomplete" << "swiss_a" << QStringList{"bx=Education_c", "bz=Agriculture_c"}
        << QStringList{"weight_0=(Intercept)", "weight_1=Catholic", "weight_2=Infant.Mortality"}
        << QStringList{"stdx=9.6", "stdz=22.7", "value_1=41", "value_2=20"};
  }

  void fillsEveryForm() {
    QFETCH(QString, menuButton);
    QFETCH(QString, sample);
    QFETCH(QStringList, picks);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, rest);
    ModelForm* form = OpenFromMenu(menuButton);
    QVERIFY(form != nullptr);
    const QString text = Sample(sample + "_summary.txt") + "\n" + Sample(sample + "_vcov.txt");
    QWidget* w = PasteModel(form, text);
    QVERIFY(w != nullptr);
    QCOMPARE(w->objectName(), QStringLiteral("ModelPaste"));
    QVERIFY2(Status(w).startsWith(QStringLiteral("Read ")), qPrintable(Status(w)));
    for (const QString& p : picks) Pick(w, p.section('=', 0, 0), p.section('=', 1));
    QVERIFY2(!Status(w).contains(QStringLiteral("no pasted term")), qPrintable(Status(w)));
    QTest::mouseClick(Find<QPushButton>(w, "applyModel"), Qt::LeftButton);
    Settle();
    QVERIFY2(Status(w).startsWith(QStringLiteral("Wrote the weights")), qPrintable(Status(w)));
    // Each box holds its term's estimate as printed (the terms table shows it).
    auto* read = Find<QTableWidget>(w, "modelTerms");
    for (const QString& b : boxes) {
      QString printed;
      for (int r = 0; r < read->rowCount(); ++r) {
        if (read->item(r, 0)->text() == b.section('=', 1)) printed = read->item(r, 1)->text();
      }
      QVERIFY2(!printed.isEmpty(), qPrintable(b));
      QCOMPARE(form->Box(Std(b.section('=', 0, 0)))->text(), printed);
    }
    if (menuButton == QLatin1String("Inomplete")) QCOMPARE(form->Box("numvars")->text(), QStringLiteral("2"));
    // The form computes only on the user's Compute.
    QVERIFY(!form->Button("Plot")->isEnabled());
    Drive(form, rest + QStringList{menuButton == "Inomplete" ? "Command1" : "Command1"});
    QVERIFY2(form->MessageText().isEmpty(), qPrintable(form->MessageText()));
    Click(form, "Plot");
    ProbeWindow* plot = form->PlotWindow();
    QVERIFY(plot != nullptr);
    QCOMPARE(Find<QPlainTextEdit>(plot, "covariance")->toPlainText(), text);
    QVERIFY(!Find<QLineEdit>(plot, "df")->text().isEmpty());
    auto* terms = Find<QTableWidget>(plot, "terms");
    for (int r = 0; r < terms->rowCount(); ++r) {
      const QString decided = terms->item(r, 2)->text();
      QVERIFY2(decided == QLatin1String("model") || decided == QLatin1String("estimate"),
               qPrintable(terms->item(r, 0)->text() + ": " + decided));
    }
    QVERIFY(Find<QTableWidget>(plot, "slopes")->rowCount() > 0);
  }

  // Stata's regress table, SPSS's Coefficients table and a CSV of
  // coefficients are read too, and give the same boxes.
  void otherPackagesPrints_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("bx");
    QTest::newRow("Stata's regress") << "stata_airquality_regress.txt" << "1.867513";
    QTest::newRow("SPSS's Coefficients") << "spss_airquality_coefficients.txt" << "1.868";
    QTest::newRow("R's write.csv of coef(summary(fit))") << "airquality_a_coefs.csv" << "1.86751337359898";
  }

  void otherPackagesPrints() {
    QFETCH(QString, file);
    QFETCH(QString, bx);
    ModelForm* form = OpenFromMenu("Command1");
    QWidget* w = PasteModel(form, Sample(file));
    QVERIFY(w != nullptr);
    // X is the temperature, whatever the package calls it.
    auto* pickX = Find<QComboBox>(w, "pick_bx");
    auto* pickZ = Find<QComboBox>(w, "pick_bz");
    for (int i = 0; i < pickX->count(); ++i) {
      const QString term = pickX->itemText(i);
      if (term.contains(QLatin1Char('#')) || term.contains(QLatin1Char(':'))) continue;
      if (term.endsWith(QStringLiteral("temp_c"), Qt::CaseInsensitive)) pickX->setCurrentIndex(i);
      if (term.endsWith(QStringLiteral("wind_c"), Qt::CaseInsensitive)) pickZ->setCurrentIndex(i);
    }
    // SPSS users name a product they made themselves: it is picked by hand.
    auto* product = Find<QComboBox>(w, "pick_bxz");
    if (product->findText(QStringLiteral("WindTemp")) >= 0) {
      QVERIFY2(Status(w).contains(QStringLiteral("No pasted term is the product")), qPrintable(Status(w)));
      product->setCurrentIndex(product->findText(QStringLiteral("WindTemp")));
    }
    QTest::mouseClick(Find<QPushButton>(w, "applyModel"), Qt::LeftButton);
    Settle();
    QVERIFY2(Status(w).startsWith(QStringLiteral("Wrote the weights")), qPrintable(Status(w)));
    QCOMPARE(form->Box("bx")->text(), bx);
  }

  // A product the paste does not have is named, and nothing is written.
  void aMissingProductIsNamed() {
    ModelForm* form = OpenFromMenu("Command1");
    const QString summaryWithoutProduct = QStringLiteral(
        "Coefficients:\n"
        "            Estimate Std. Error t value Pr(>|t|)\n"
        "(Intercept)  42.0987     2.2190  18.972  < 2e-16 ***\n"
        "Wind_c       -3.3332     0.6544  -5.094 1.44e-06 ***\n"
        "Temp_c        1.6521     0.2535   6.516 2.42e-09 ***\n");
    QWidget* w = PasteModel(form, summaryWithoutProduct);
    QVERIFY(w != nullptr);
    QVERIFY2(Status(w).contains(QStringLiteral("No pasted term is the product of `Wind_c` and `Temp_c`")),
             qPrintable(Status(w)));
    QTest::mouseClick(Find<QPushButton>(w, "applyModel"), Qt::LeftButton);
    QVERIFY2(Status(w).startsWith(QStringLiteral("Nothing was written")), qPrintable(Status(w)));
    QCOMPARE(form->Box("bx")->text(), QString());
  }

  // Every common wrong paste into the plot window, told in words there: what
  // the user should do instead, and whether tables are shown.
  void wrongPastesInThePlotWindow_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("df");
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("told");
    QTest::addColumn<bool>("tables");
    const QString summary = Sample("airquality_a_summary.txt");
    const QString vcov = Sample("airquality_a_vcov.txt");
    QTest::newRow("a summary alone") << summary << "" << "" << "95" << "This is the model's summary" << false;
    QTest::newRow("correlations") << Sample("airquality_a_cor.txt") << "" << "" << "95"
                                  << "this looks like correlations" << false;
    QTest::newRow("another model's matrix") << summary + "\n" + Sample("savings_a_vcov.txt") << "" << "" << "95"
                                            << "does not belong to this model" << false;
    QTest::newRow("a level as a proportion") << summary + "\n" + vcov << "" << "" << "0.95" << "0.95 is read as 95"
                                             << true;
    QTest::newRow("df and N disagree") << summary + "\n" + vcov << "110" << "116" << "95" << "leave 112" << true;
    QTest::newRow("three digits") << summary + "\n" + Sample("airquality_a_vcov3.txt") << "" << "" << "95"
                                  << "significant digits; print(vcov(fit), digits = 15)" << true;
    QTest::newRow("write.csv2") << summary + "\n" + Sample("airquality_a_vcov2.csv") << "" << "" << "95"
                                << "from R's write.csv2" << true;
    QTest::newRow("covariates") << Sample("savings6_a_vcov.txt") << "" << "" << "95"
                                << "the intercepts and predicted values here are at those terms = 0" << true;
    QTest::newRow("a guess by place") << vcov << "" << "" << "95"
                                      << "weight of X = `Wind_c`, weight of Z = `Temp_c` were taken from their places"
                                      << true;
  }

  void wrongPastesInThePlotWindow() {
    QFETCH(QString, pasted);
    QFETCH(QString, df);
    QFETCH(QString, n);
    QFETCH(QString, level);
    QFETCH(QString, told);
    QFETCH(bool, tables);
    ModelForm* form = OpenFromMenu("Command1");
    Drive(form, {"bx=1.86751", "bz=-3.10119", "bxz=-0.22391", "a=38.28232", "stdz=3.5", "stdx=9.5", "Command1"});
    Click(form, "Plot");
    ProbeWindow* w = form->PlotWindow();
    QVERIFY(w != nullptr);
    for (const auto& [name, text] : {std::pair{"df", df}, std::pair{"sampleSize", n}, std::pair{"level", level}}) {
      Find<QLineEdit>(w, QLatin1String(name))->setText(text);
    }
    Find<QPlainTextEdit>(w, "covariance")->setPlainText(pasted);
    const QString status = Find<QLabel>(w, "covarianceStatus")->text();
    QVERIFY2(status.contains(told, Qt::CaseInsensitive), qPrintable(status));
    QCOMPARE(Find<QTableWidget>(w, "slopes")->rowCount() > 0, tables);
    // What was pasted stays as it was.
    QCOMPARE(Find<QPlainTextEdit>(w, "covariance")->toPlainText(), pasted);
  }

  // What is not a model is told in words, and the form is untouched.
  void notAModelIsTold() {
    ModelForm* form = OpenFromMenu("Command1");
    QWidget* w = PasteModel(form, Sample("airquality_a_vcov.txt"));
    QVERIFY(w != nullptr);
    QVERIFY2(Status(w).contains(QStringLiteral("No coefficients were found")), qPrintable(Status(w)));
    QTest::mouseClick(Find<QPushButton>(w, "applyModel"), Qt::LeftButton);
    QCOMPARE(form->Box("bx")->text(), QString());
  }
};

QTEST_MAIN(ModelPasteGuiTest)
#include "model_paste_gui_test.moc"
