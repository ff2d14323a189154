// The report of a plot window, read back: the HTML parsed as XML (every
// table as the window shows it, both figures inline as SVG, the form's lines,
// the sentences, the methods with their references, the version and the
// date, the R code), the PDF rendered with pdftoppm and read with pdftotext
// (its figures drawn as vectors: pdfimages finds no image in it). And the R
// code copied from the window. MARVANE_KEEP_REPORT=/some/name keeps the HTML
// and the PDF made as /some/name.html and .pdf, to look at.

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <cstdlib>

#include "plot/svg_device.h"
#include "session_support.h"
#include "shell/qt_text.h"

using namespace marvane;
using namespace marvane::testing;

namespace {

// The Quant fit of tests/data/r_fits.R, as typed off R's summary.
const QStringList kFit{"bx=-4.131649", "bz=-0.03050764", "bxz=0.02784815", "a=18.8984",
                       "stdz=68.56287", "stdx=0.9784574", "Command1"};

struct Html {
  QString title;
  QStringList headings, paragraphs;
  std::vector<std::vector<QStringList>> tables;  // rows of cells, the header row first
  int svgs = 0;
  QStringList svgTexts;  // the texts drawn in the figures
  QString pre;
  QString error;  // what made the text no well-formed XML
};

// The report as XML: every element closed, every character escaped.
Html ParseHtml(const QByteArray& text) {
  Html h;
  QXmlStreamReader xml(text);
  std::vector<QStringList>* table = nullptr;
  int inSvg = 0;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    const QString name = xml.name().toString();
    if (token == QXmlStreamReader::StartElement) {
      if (name == "svg") ++inSvg, ++h.svgs;
      if (inSvg > 0 && name == "text") h.svgTexts << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
      if (inSvg > 0) continue;
      if (name == "title") h.title = xml.readElementText();
      if (name == "h1" || name == "h2" || name == "h3") h.headings << xml.readElementText(QXmlStreamReader::IncludeChildElements);
      if (name == "p") h.paragraphs << xml.readElementText(QXmlStreamReader::IncludeChildElements);
      if (name == "pre") h.pre = xml.readElementText();
      if (name == "table") table = &h.tables.emplace_back();
      if (name == "tr" && table != nullptr) table->emplace_back();
      if ((name == "td" || name == "th") && table != nullptr) table->back() << xml.readElementText();
    } else if (token == QXmlStreamReader::EndElement) {
      if (name == "svg") --inSvg;
      if (name == "table") table = nullptr;
    }
  }
  if (xml.hasError()) h.error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
  return h;
}

std::vector<QStringList> Rows(const ShownTable& t) {
  std::vector<QStringList> rows{Q(t.header)};
  for (const auto& r : t.rows) rows.push_back(Q(r));
  return rows;
}

bool HasTable(const Html& h, const ShownTable& t) {
  const std::vector<QStringList> want = Rows(t);
  for (const auto& table : h.tables) {
    if (table == want) return true;
  }
  return false;
}

QString Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) {
    return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
  }
  return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList Lines(const std::string& text) { return Q(text).split('\n', Qt::SkipEmptyParts); }

}  // namespace

class ReportGuiTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  ModelForm* form_ = nullptr;
  ProbeWindow* window_ = nullptr;

  // The fit of a form, its plot window with the matrix pasted and renamed,
  // retitled lines.
  void Open(const QStringList& plot) {
    form_ = OpenFromMenu("Command1");
    QVERIFY(form_ != nullptr);
    Drive(form_, kFit);
    Click(form_, "Plot");
    window_ = form_->PlotWindow();
    QVERIFY(window_ != nullptr);
    for (const QString& step : plot) PlotStep(window_, step);
  }

 private slots:
  void initTestCase() {
    StartForms();
    QVERIFY(dir_.isValid());
    sessions::SetDataFolder(dir_.filePath("data"));
  }

  void htmlHoldsWhatTheWindowShows() {
    Open({"paste=r_print_quant.txt", "df=28", "decimals:=4", "legend[0]=Heavy cars", "xTitle=Weight", "bands!"});
    const QString path = dir_.filePath("report.html");
    QCOMPARE(sessions::SaveReport(*form_, *window_, path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    if (const char* keep = std::getenv("MARVANE_KEEP_REPORT")) QFile::copy(path, QString::fromLocal8Bit(keep) + ".html");
    const Html h = ParseHtml(text);
    QVERIFY2(h.error.isEmpty(), qPrintable(h.error));
    const Analysis& a = window_->CurrentAnalysis();

    QCOMPARE(h.title, QStringLiteral("Marvane report: Quant"));
    // The version and the date, at the top and again at the end.
    const QRegularExpression made("^Made by Marvane " + QRegularExpression::escape(QCoreApplication::applicationVersion()) +
                                  " on " + QDate::currentDate().toString("yyyy-MM-dd") + " \\d\\d:\\d\\d\\.$");
    QCOMPARE(h.paragraphs.filter(made).size(), 2);
    // The model and the boxes as typed.
    QVERIFY(HasTable(h, {.id = "", .title = "", .header = {"weight", "box", "value"},
                         .rows = {{"constant", "a", "18.8984"},
                                  {"weight of X", "bx", "-4.131649"},
                                  {"weight of Z", "bz", "-0.03050764"},
                                  {"weight of X*Z", "bxz", "0.02784815"}},
                         .firstNumber = 2}));
    // Which pasted row is which weight, a guess said so.
    QVERIFY(HasTable(h, {.id = "", .title = "", .header = {"weight", "pasted row", "decided by"},
                         .rows = {{"constant", "(Intercept)", "name"},
                                  {"weight of X", "x", "place: a guess, check it"},
                                  {"weight of Z", "z", "place: a guess, check it"},
                                  {"weight of X*Z", "x:z", "name"}},
                         .firstNumber = 3}));
    QVERIFY(HasTable(h, {.id = "", .title = "", .header = {"box", "typed"},
                         .rows = {{"the weight of X", "-4.131649"},
                                  {"the weight of Z", "-0.03050764"},
                                  {"the weight of the interaction X*Z", "0.02784815"},
                                  {"the constant", "18.8984"},
                                  {"the standard deviation of X", "0.9784574"},
                                  {"the standard deviation of Z", "68.56287"}},
                         .firstNumber = 1}));
    // The form's lines as it shows them.
    for (const QString& line : form_->PublishedLines()) QVERIFY2(h.paragraphs.contains(line), qPrintable(line));
    QVERIFY(h.paragraphs.contains("For 1 std above the mean of Z b= -2.223 a= 16.806"));
    QVERIFY(h.paragraphs.contains("the crossover point is at X= 1.09"));
    // Every table at the decimals chosen, the regions and crossings with their sentences.
    QCOMPARE(a.significanceTables.size(), std::size_t{5});
    for (const ShownTable& t : a.significanceTables) {
      QVERIFY2(HasTable(h, t), t.title.c_str());
      QVERIFY(h.headings.contains(Q(t.title)));
    }
    QCOMPARE(a.significanceTables[0].rows[0][2], std::string("0.6859"));
    QVERIFY(HasTable(h, a.regionsTable));
    QVERIFY(HasTable(h, a.crossingsTable));
    for (const QString& s : Lines(a.regionsText) + Lines(a.crossingsText) + Lines(a.sentences)) {
      QVERIFY2(h.paragraphs.contains(s), qPrintable(s));
    }
    // Both figures inline, as drawn: the names and titles typed.
    QCOMPARE(h.svgs, 2);
    QVERIFY2(h.svgTexts.contains("Heavy cars") && h.svgTexts.contains("Weight"), qPrintable(h.svgTexts.join('|')));
    QVERIFY(h.paragraphs.contains("Figure 1. The simple-effect lines of the form's last Compute."));
    QVERIFY(h.paragraphs.contains("Figure 2. The slope of x, along z, with its confidence band; shaded where it is "
                                  "significant."));
    // The methods with their references; the R code.
    const QString methods = h.paragraphs.filter("SE = \u221a(L\u1d40VL)").value(0);
    for (const char* words : {"Student's t distribution with 28 residual degrees of freedom", "95% level", "Holm's (1979)",
                              "Johnson\u2013Neyman", "Fieller's (1954)", "delta method"}) {
      QVERIFY2(methods.contains(QString::fromUtf8(words)), words);
    }
    for (const char* ref : {"Fieller, E. C. (1954)", "Holm, S. (1979)", "Johnson, P. O., & Neyman, J. (1936)",
                            "Bauer, D. J., & Curran, P. J. (2005)", "Aiken, L. S., & West, S. G. (1991)",
                            "Preacher, K. J., Curran, P. J., & Bauer, D. J. (2006)"}) {
      QVERIFY2(!h.paragraphs.filter(QString::fromUtf8(ref)).isEmpty(), ref);
    }
    QCOMPARE(h.pre.mid(h.pre.indexOf("\n\n")), RCodeBody(*window_));
  }

  // The report follows the window: no matrix, and it says so, in its
  // methods too.
  void htmlWithoutAMatrix() {
    Open({});
    const QString path = dir_.filePath("plain.html");
    QCOMPARE(sessions::SaveReport(*form_, *window_, path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const Html h = ParseHtml(file.readAll());
    QVERIFY2(h.error.isEmpty(), qPrintable(h.error));
    QCOMPARE(h.svgs, 1);
    QVERIFY(h.paragraphs.contains("Paste the covariance matrix of the weights to test the lines."));
    QVERIFY(h.pre.contains("this script gives the lines only"));
    const QStringList methods = h.paragraphs.filter("The window had no covariance matrix of the weights, so no line");
    QCOMPARE(methods.size(), 1);
    QVERIFY(!methods.first().contains("Holm"));
  }

  void pdfIsReadBack() {
    for (const char* tool : {"pdftoppm", "pdftotext", "pdfimages"}) {
      QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), "poppler-utils are needed (scripts/setup.sh)");
    }
    Open({"paste=r_print_quant.txt", "df=28", "legend[2]=Light cars"});
    const QString path = dir_.filePath("report.pdf");
    QCOMPARE(sessions::SaveReport(*form_, *window_, path), QString());
    if (const char* keep = std::getenv("MARVANE_KEEP_REPORT")) QFile::copy(path, QString::fromLocal8Bit(keep) + ".pdf");

    const QString words = Run("pdftotext", {"-layout", path, "-"}).simplified();
    const Analysis& a = window_->CurrentAnalysis();
    for (const QString& w : QStringList{"Marvane report: Quant", "Simple slopes", "Slope differences",
                                        "Regions of significance", "Fieller", "Appendix: the R code",
                                        "Light cars", Q(a.significanceTables[0].rows[2][1]),
                                        Q(a.crossingsTable.rows[0][5]), "level <- 0.94999999999999996"}) {
      QVERIFY2(words.contains(w), qPrintable(w + " not in: " + words.left(2000)));
    }
    // The figures are vectors: no image in the file.
    const QStringList images = Run("pdfimages", {"-list", path}).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(images.size(), 2);  // the list's two header lines only

    QVERIFY(!Run("pdftoppm", {"-r", "30", "-png", path, dir_.filePath("page")}).startsWith("<"));
    const QStringList pages = QDir(dir_.path()).entryList({"page-*.png"});
    QVERIFY2(pages.size() >= 3, qPrintable(pages.join(' ')));
    const QImage first(dir_.filePath(pages.first()));
    QVERIFY(!first.isNull());
    int dark = 0;
    for (int y = 0; y < first.height(); ++y) {
      for (int x = 0; x < first.width(); ++x) dark += qGray(first.pixel(x, y)) < 128 ? 1 : 0;
    }
    QVERIFY2(dark > 500, "the first page is blank");
  }

  // The figures in the PDF keep the text size chosen for the figure.
  void pdfFiguresKeepTheirTextSize() {
    Open({"paste=r_print_quant.txt", "df=28", "legend[2]=Lightcars", "fontSize:=14"});
    const QString path = dir_.filePath("large.pdf");
    QCOMPARE(sessions::SaveReport(*form_, *window_, path), QString());
    // pdftotext -bbox: each word with its box, in points.
    const QString boxes = Run("pdftotext", {"-bbox", path, "-"});
    const QRegularExpression word(
        QStringLiteral("yMin=\"([0-9.]+)\"[^>]*yMax=\"([0-9.]+)\">Lightcars<"));
    const QRegularExpressionMatch m = word.match(boxes);
    QVERIFY2(m.hasMatch(), qPrintable(boxes.left(2000)));
    const double height = m.captured(2).toDouble() - m.captured(1).toDouble();
    QVERIFY2(height > 0.9 * 14 && height < 1.6 * 14, qPrintable(QString::number(height)));
  }

  // A report that cannot be made or written is told, and the file that was
  // there stays as it was.
  void problemsAreTold() {
    Open({});
    const QString path = dir_.filePath("kept.html");
    QCOMPARE(sessions::SaveReport(*form_, *window_, path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray old = file.readAll();
    file.close();
    QCOMPARE(sessions::SaveReport(*form_, *window_, dir_.filePath("report.txt")),
             QStringLiteral("Could not save report.txt: the name must end in .html or .pdf."));
    const QString module = SvgModulePath();
    SetSvgModulePath(dir_.filePath("no-such-module.so"));
    const QString problem = sessions::SaveReport(*form_, *window_, path);
    SetSvgModulePath(module);
    QVERIFY2(problem.startsWith("Could not save kept.html: the SVG writer"), qPrintable(problem));
    QVERIFY2(problem.endsWith("Save the report as PDF instead."), qPrintable(problem));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
  }

  // The buttons: Save report… with its dialog, Copy R code.
  void buttons() {
    Open({"paste=r_print_quant.txt"});
    AnswerFileDialog(dir_.filePath("chosen.pdf"));
    QTest::mouseClick(window_->findChild<QPushButton*>("saveReport"), Qt::LeftButton);
    Settle();
    QCOMPARE(window_->findChild<QLabel*>("workStatus")->text(), QStringLiteral("Saved the report as chosen.pdf."));
    QVERIFY(QFileInfo(dir_.filePath("chosen.pdf")).size() > 1000);

    QTest::mouseClick(window_->findChild<QPushButton*>("copyRCode"), Qt::LeftButton);
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY(copied.startsWith("# Marvane " + QCoreApplication::applicationVersion() + ": the numbers of the plot window"));
    QCOMPARE(copied.mid(copied.indexOf("\n\n")), RCodeBody(*window_));
    QVERIFY(copied.contains("V <- matrix("));
    QCOMPARE(window_->findChild<QLabel*>("workStatus")->text(),
             QStringLiteral("Copied the R code to the clipboard: it runs in R as it is."));
  }
};

QTEST_MAIN(ReportGuiTest)
#include "report_gui_test.moc"
