#include "plot/work_report.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <algorithm>

#include "analysis/report.h"
#include "plot/figure_painter.h"
#include "shell/number_text.h"
#include "shell/qt_text.h"
#include "shell/whole_file.h"
#include "stats/reference.h"

namespace marvane {
namespace {

QString Esc(const QString& s) { return s.toHtmlEscaped(); }
QString Esc(const std::string& s) { return Q(s).toHtmlEscaped(); }

constexpr const char* kStyle =
    "body { font-family: 'Liberation Sans', Arial, sans-serif; max-width: 62em; margin: 2em auto; "
    "padding: 0 1em; line-height: 1.4; }\n"
    "table { border-collapse: collapse; margin: 0.4em 0 1em 0; }\n"
    "th, td { border: 1px solid #999; padding: 0.15em 0.5em; }\n"
    "th { background: #eee; }\n"
    "pre { white-space: pre-wrap; background: #f6f6f6; padding: 1em; font-size: 85%; }\n"
    "svg { max-width: 100%; height: auto; }\n"
    ".problem { color: #800000; }\n";

// A table as the window shows it; number cells aligned right.
QString TableHtml(const ShownTable& t) {
  // The header row is repeated on each page a table runs over.
  QString out = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n<thead><tr>");
  for (const std::string& h : t.header) out += QStringLiteral("<th>") + Esc(h) + QStringLiteral("</th>");
  out += QStringLiteral("</tr></thead>\n<tbody>\n");
  for (const std::vector<std::string>& row : t.rows) {
    out += QStringLiteral("<tr>");
    for (std::size_t c = 0; c < row.size(); ++c) {
      const bool number = static_cast<int>(c) >= t.firstNumber;
      out += (number ? QStringLiteral("<td align=\"right\">") : QStringLiteral("<td>")) + Esc(row[c]) +
             QStringLiteral("</td>");
    }
    out += QStringLiteral("</tr>\n");
  }
  return out + QStringLiteral("</tbody>\n</table>\n");
}

// Each line of `text` a paragraph.
QString Paragraphs(const std::string& text, bool problem = false) {
  QString out;
  const QString open = problem ? QStringLiteral("<p class=\"problem\">") : QStringLiteral("<p>");
  for (const QString& line : Q(text).split('\n', Qt::SkipEmptyParts)) out += open + Esc(line) + QStringLiteral("</p>\n");
  return out;
}

QString Figure(const ReportContent& r, int n, bool inlineSvg, QString* error) {
  if (!inlineSvg) return QStringLiteral("<p>[[figure %1]]</p>\n").arg(n);
  const figure::Figure& f = n == 0 ? r.lines : r.region;
  QString why;
  QString svg = QString::fromUtf8(RenderFigure(f, r.settings, QStringLiteral("svg"), r.figureTitle, &why));
  if (svg.isEmpty()) {
    if (error != nullptr && error->isEmpty()) *error = why.isEmpty() ? QStringLiteral("a figure could not be drawn") : why;
    return {};
  }
  // The XML declaration has no place inside HTML.
  if (svg.startsWith(QLatin1String("<?xml"))) svg.remove(0, svg.indexOf(QLatin1String("?>")) + 2);
  return QStringLiteral("<div class=\"figure\">") + svg.trimmed() + QStringLiteral("</div>\n");
}

QString ModelPart(const ReportContent& r) {
  const Probe& p = r.analysis.probe;
  QString out = QStringLiteral("<h2>The model and the inputs</h2>\n<p>The form %1 (%2 lines), with the weights "
                               "as it computed with them:</p>\n")
                    .arg(Esc(r.formCaption))
                    .arg(p.lines.size());
  ShownTable weights{.id = "weights", .title = "", .header = {"weight", "box", "value"}, .rows = {}, .firstNumber = 2};
  for (const ModelWeight& w : p.weights) weights.rows.push_back({w.meaning, w.box, NumberToText(w.value)});
  out += TableHtml(weights);
  ShownTable typed{.id = "inputs", .title = "", .header = {"box", "typed"}, .rows = {}, .firstNumber = 1};
  for (const auto& [what, text] : r.inputs) typed.rows.push_back({Std(what), Std(text)});
  out += QStringLiteral("<p>The boxes as typed for that Compute:</p>\n") + TableHtml(typed);
  out += QStringLiteral("<h2>The lines as the form shows them</h2>\n");
  for (const QString& line : r.formLines) out += QStringLiteral("<p>") + Esc(line) + QStringLiteral("</p>\n");
  return out;
}

QString TestsPart(const Analysis& a) {
  QString out = QStringLiteral("<h2>Tests of the lines</h2>\n") + Paragraphs(a.covarianceStatus.text, a.covarianceStatus.problem);
  if (!a.ready) return out;
  // Which pasted row was taken for each weight, and how that was decided: a
  // guess is there for the reader to check.
  ShownTable rows{.id = "mapping", .title = "", .header = {"weight", "pasted row", "decided by"}, .rows = {},
                  .firstNumber = 3};
  for (std::size_t i = 0; i < a.probe.weights.size() && i < a.mapping.rowOf.size(); ++i) {
    const int row = a.mapping.rowOf[i];
    rows.rows.push_back({a.probe.weights[i].meaning, row >= 0 ? a.mapping.rows[static_cast<std::size_t>(row)] : "none",
                         i < a.mapping.decided.size() ? DecidedWords(a.mapping.decided[i]) : ""});
  }
  out += QStringLiteral("<h3>The pasted rows of the weights</h3>\n") + TableHtml(rows);
  for (const ShownTable& t : a.significanceTables) out += QStringLiteral("<h3>") + Esc(t.title) + QStringLiteral("</h3>\n") + TableHtml(t);
  return out + Paragraphs(a.tablesNote);
}

QString RegionsPart(const ReportContent& r, bool inlineSvg, QString* error) {
  const Analysis& a = r.analysis;
  QString out = QStringLiteral("<h2>Regions of significance</h2>\n");
  if (a.ready) out += TableHtml(a.regionsTable);
  out += Paragraphs(a.regionsText);
  if (a.ready && r.region.note.empty()) {
    out += Figure(r, 1, inlineSvg, error) +
           QStringLiteral("<p><b>Figure 2.</b> The %1, with its confidence band; shaded where it is significant.</p>\n")
               .arg(Esc(r.regionEffect));
  }
  out += QStringLiteral("<h2>Where the lines cross</h2>\n");
  if (a.ready) out += TableHtml(a.crossingsTable);
  return out + Paragraphs(a.crossingsText);
}

QString References() {
  const char* refs[] = {
      "Aiken, L. S., &amp; West, S. G. (1991). <i>Multiple regression: Testing and interpreting interactions</i>. "
      "Newbury Park, CA: Sage.",
      "Bauer, D. J., &amp; Curran, P. J. (2005). Probing interactions in fixed and multilevel regression: Inferential "
      "and graphical techniques. <i>Multivariate Behavioral Research, 40</i>(3), 373–400.",
      "Fieller, E. C. (1954). Some problems in interval estimation. <i>Journal of the Royal Statistical Society, "
      "Series B, 16</i>(2), 175–185.",
      "Holm, S. (1979). A simple sequentially rejective multiple test procedure. <i>Scandinavian Journal of "
      "Statistics, 6</i>(2), 65–70.",
      "Johnson, P. O., &amp; Neyman, J. (1936). Tests of certain linear hypotheses and their application to some "
      "educational problems. <i>Statistical Research Memoirs, 1</i>, 57–93.",
      "Preacher, K. J., Curran, P. J., &amp; Bauer, D. J. (2006). Computational tools for probing interactions in "
      "multiple linear regression, multilevel modeling, and latent curve analysis. <i>Journal of Educational and "
      "Behavioral Statistics, 31</i>(4), 437–448.",
  };
  QString out = QStringLiteral("<h3>References</h3>\n");
  for (const char* ref : refs) out += QStringLiteral("<p>") + QString::fromUtf8(ref) + QStringLiteral("</p>\n");
  return out;
}

// The program's version and the date, at the head and at the foot of the report.
QString MadeBy(const ReportContent& r) {
  return QStringLiteral("<p>Made by Marvane %1 on %2.</p>\n")
      .arg(Esc(r.programVersion), Esc(r.written.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
}

QString Tail(const ReportContent& r) {
  QString out = QStringLiteral("<h2>Methods</h2>\n<p>") + Esc(MethodsText(r.analysis)) + QStringLiteral("</p>\n") +
                References() + MadeBy(r);
  out += QStringLiteral("<h2>Appendix: the R code</h2>\n<p>This script, in base R without packages, works every "
                        "number of the tables above out again from the weights and their covariance matrix and "
                        "prints them with 15 significant digits.</p>\n<pre>") +
         Esc(r.rCode) + QStringLiteral("</pre>\n");
  return out;
}

// ---- PDF: the HTML laid out by QTextDocument, the figures drawn in as vectors.

constexpr int kFigureObject = QTextFormat::UserObject + 1;
constexpr int kFigureIndex = QTextFormat::UserProperty + 1;

class FigureObject : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)

 public:
  FigureObject(const ReportContent& r, double dpi) : r_(r), dpi_(dpi) {}

  QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat&) override {
    QSizeF size = r_.settings.inches * dpi_;
    // No wider than the page's text.
    const double room = doc->pageSize().width() - 2 * doc->documentMargin() - 2;
    if (room > 0 && size.width() > room) size *= room / size.width();
    return size;
  }

  void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat& format) override {
    const figure::Figure& f = format.property(kFigureIndex).toInt() == 0 ? r_.lines : r_.region;
    painter->save();
    PaintFigure(*painter, f, rect, dpi_, r_.settings.style, r_.settings.fontSize);
    painter->restore();
  }

 private:
  const ReportContent& r_;
  double dpi_;
};

QByteArray PdfBytes(const ReportContent& r) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setTitle(QStringLiteral("Marvane report: ") + r.formCaption);
  writer.setCreator(QStringLiteral("Marvane ") + r.programVersion);
  writer.setResolution(300);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
  // The figures go in where the HTML holds their places; then the whole is
  // laid out on the PDF's pages at its resolution. (In that order: Qt 6.4
  // lays the headings after a table out without their line when the
  // document changes after it was laid out on the writer, or when a default
  // font is set on it; the page's style sheet sets the fonts.)
  QTextDocument doc;
  doc.setHtml(ReportHtml(r, false));
  for (int n : {0, 1}) {
    QTextCursor at = doc.find(QStringLiteral("[[figure %1]]").arg(n));
    if (at.isNull()) continue;
    QTextCharFormat object;
    object.setObjectType(kFigureObject);
    object.setProperty(kFigureIndex, n);
    at.insertText(QString(QChar::ObjectReplacementCharacter), object);
  }
  FigureObject figures(r, writer.logicalDpiX());
  doc.documentLayout()->registerHandler(kFigureObject, &figures);
  doc.documentLayout()->setPaintDevice(&writer);
  doc.setPageSize(QSizeF(writer.width(), writer.height()));
  doc.print(&writer);
  return bytes;
}

}  // namespace

QString MethodsText(const Analysis& a) {
  if (!a.ready) {
    return QStringLiteral("The lines are the form's simple-effect lines, each a linear combination of the regression "
                          "weights (Aiken & West, 1991). The window had no covariance matrix of the weights, so no "
                          "line was tested: paste the matrix on its Significance tab for the tests, the regions of "
                          "significance and the crossings' intervals.");
  }
  const stats::Reference& ref = a.reference;
  const QString distribution =
      ref.normal ? QStringLiteral("No residual degrees of freedom were given, so the tests and the confidence "
                                  "intervals use the standard normal distribution (z).")
                 : QStringLiteral("The tests and the confidence intervals use Student's t distribution with %1 "
                                  "residual degrees of freedom.")
                       .arg(Q(NumberToText(ref.df, 6)));
  return QStringLiteral(
             "Each simple slope and intercept, each predicted value and each difference between two lines is a "
             "linear combination L\u1d40b of the regression weights b (Aiken & West, 1991); its standard error is "
             "SE = \u221a(L\u1d40VL), where V is the covariance matrix of the weights as pasted. %1 The confidence "
             "intervals are at the %2 level. The p values of the differences between pairs of lines are adjusted "
             "for the number of pairs by Holm's (1979) step-down method. The regions of significance are the "
             "Johnson\u2013Neyman regions (Johnson & Neyman, 1936; Bauer & Curran, 2005; Preacher, Curran & Bauer, "
             "2006): the values u of the moderator where the effect c\u2080 + u c\u2081 divided by its standard "
             "error exceeds the critical value %3 in size, bounded by the roots of the quadratic (c\u2080 + u "
             "c\u2081)\u00b2 \u2212 %3\u00b2 Var(c\u2080 + u c\u2081) = 0. Two lines cross at X = \u2212\u0394a / "
             "\u0394b, the difference of their intercepts over the difference of their slopes; its standard error "
             "comes from the delta method, and its confidence interval is Fieller's (1954): the values of X where "
             "the difference between the two lines is not significant, which may be unbounded.")
      .arg(distribution, Q(stats::LevelText(ref.level)), Q(Fixed(stats::Critical(ref), 3)));
}

QString ReportHtml(const ReportContent& r, bool figures, QString* error) {
  const Analysis& a = r.analysis;
  const QString title = QStringLiteral("Marvane report: ") + r.formCaption;
  QString out = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>") +
                Esc(title) + QStringLiteral("</title>\n<style>\n") + QLatin1String(kStyle) +
                QStringLiteral("</style>\n</head>\n<body>\n<h1>") + Esc(title) + QStringLiteral("</h1>\n");
  out += MadeBy(r) + ModelPart(r);
  // Each figure with its caption after it, so that a page never parts them.
  out += Figure(r, 0, figures, error) +
         QStringLiteral("<p><b>Figure 1.</b> The simple-effect lines of the form's last Compute.</p>\n") +
         Paragraphs(a.notice.text, a.notice.problem);
  out += TestsPart(a) + RegionsPart(r, figures, error);
  if (!a.sentences.empty()) out += QStringLiteral("<h2>The results in words</h2>\n") + Paragraphs(a.sentences);
  return out + Tail(r) + QStringLiteral("</body>\n</html>\n");
}

QString WriteReport(const QString& path, const QString& format, const ReportContent& r) {
  QString kind = format.isEmpty() ? QFileInfo(path).suffix().toLower() : format.toLower();
  if (kind == QLatin1String("htm")) kind = QStringLiteral("html");
  if (kind != QLatin1String("html") && kind != QLatin1String("pdf")) {
    return QStringLiteral("the name must end in .html or .pdf.");
  }
  QByteArray bytes;
  if (kind == QLatin1String("pdf")) {
    bytes = PdfBytes(r);
  } else {
    QString why;
    bytes = ReportHtml(r, true, &why).toUtf8();
    if (!why.isEmpty()) return why + QStringLiteral(". Save the report as PDF instead.");
  }
  const QString why = bytes.isEmpty() ? QStringLiteral("the report could not be made") : WriteWholeFile(path, bytes);
  if (why.isEmpty()) return {};
  return QStringLiteral("it cannot be written (%1). The file that was there is left as it was.").arg(why);
}

}  // namespace marvane

#include "work_report.moc"
