// What every form does alike, checked form by form: how a form looks when it
// is loaded, that Back and reopening gives a fresh form, the tab order, that
// what is shown fits, and that the instruction notes break where they should;
// and what the two forms with a crossover point do alike when there is none.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <iterator>

#include "gui_support.h"
#include "shell/sessions.h"

using namespace marvane::testing;
using marvane::forms::Kind;
using marvane::forms::Role;

namespace {

struct FormFacts {
  const char* menuButton = "";  // "" for the menu itself
  const char* name = "";
  const char* title = "";
  QSize size = {};  // client area in pixels
  int panelLabels = 0;
  const char* computeCaption = "";
  // Hidden at load besides the result panel and the message.
  QStringList hiddenAtLoad = {};
  // The tab order from the control that has the focus at load; Tab on the
  // last one goes back to the first.
  QStringList tabOrder = {};
  // What reveals every control of the tab order.
  QStringList beforeTabbing = {};
  // Ends in a Compute that shows the whole panel.
  QStringList worked = {};
  // The same with the widest texts ordinary inputs give.
  QStringList wide = {};
};

// "weight_i=<weight>" and "value_i=<value>" for the twelve term rows of the
// Incomplete form's grid.
QStringList Grid(const char* weight, const char* value) {
  QStringList out;
  for (int i = 1; i <= 12; ++i) {
    out << QStringLiteral("weight_%1=%2").arg(i).arg(weight) << QStringLiteral("value_%1=%2").arg(i).arg(value);
  }
  return out;
}

// The boxes of that grid, row by row, with or without the constant's row 0.
QStringList GridNames(bool constantRow) {
  QStringList out;
  if (constantRow) out += QStringList{"weight_0", "value_0"};
  for (int i = 1; i <= 12; ++i) out << QStringLiteral("weight_%1").arg(i) << QStringLiteral("value_%1").arg(i);
  return out;
}

QStringList IncompleteTabOrder() {
  QStringList order{"bx", "bz", "bxz", "stdx", "stdz", "numvars", "weight_0"};
  order += GridNames(false) + QStringList{"Command2", "Command1", "Command3", "value_0", "pasteModel"};
  return order;
}

const FormFacts kForms[] = {
    {.menuButton = "",
     .name = "Choice",
     .title = "Choice",
     .size = QSize(505, 456),
     // After the model buttons, what the menu gains when there are recent
     // sessions and a last work (initTestCase makes both).
     .tabOrder = {"Command1", "Command2", "Command3", "Command4", "Command5", "Inomplete", "openSession",
                  "recentSessions", "reopenLast"}},
    {.menuButton = "Command1",
     .name = "Quant",
     .title = "Quant",
     .size = QSize(781, 624),
     .panelLabels = 43,
     .computeCaption = "Compute",
     .tabOrder = {"bx", "bz", "bxz", "a", "stdx", "stdz", "Command1", "Command2", "pasteModel"},
     .worked = {"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdz=2", "stdx=4", "Command1"},
     .wide = {"bx=-123.4567", "bz=-100.25", "bxz=-0.1231", "a=-1234.5678", "stdz=-12.345", "stdx=-12.345", "Command1"}},
    {.menuButton = "Command2",
     .name = "QuantZ",
     .title = "QuantZ",
     .size = QSize(828, 625),
     .panelLabels = 43,
     .computeCaption = "Compute",
     .tabOrder = {"bx", "bz", "bxz", "a", "stdx", "hiz", "medz", "loz", "Command2", "Command1", "pasteModel"},
     .worked = {"bx=0.5", "bz=0.25", "bxz=0.125", "a=2", "stdx=4", "hiz=1.5", "medz=0.5", "loz=-1", "Command1"},
     .wide = {"bx=-123.4567", "bz=-100.25", "bxz=-0.1231", "a=-1234.5678", "stdx=-12.345", "hiz=123.456", "medz=-0.125",
              "loz=-123.456", "Command1"}},
    {.menuButton = "Command3",
     .name = "Mixed2",
     .title = "Mixed2",
     .size = QSize(780, 554),
     .panelLabels = 28,
     .computeCaption = "Go",
     .tabOrder = {"bx", "bz", "bxz", "a", "stdx", "Command2", "Command1", "pasteModel"},
     .worked = {"bx=0.5", "bz=1", "bxz=0.25", "a=2", "stdx=2", "Command1"},
     .wide = {"bx=-123.4567", "bz=-100.25", "bxz=-0.1231", "a=-1234.5678", "stdx=-12.345", "Command1"}},
    {.menuButton = "Command4",
     .name = "Mixed3",
     .title = "Mixed3",
     .size = QSize(762, 640),
     .panelLabels = 41,
     .computeCaption = "Go",
     .tabOrder = {"rbx", "bz1", "bz2", "bxz1", "bxz2", "a", "stdx", "Command1", "Command2", "pasteModel"},
     .worked = {"rbx=0.5", "bz1=1", "bz2=-1", "bxz1=0.25", "bxz2=-0.25", "a=2", "stdx=2", "Command1"},
     .wide = {"rbx=-123.4567", "bz1=-100.25", "bz2=100.25", "bxz1=-0.1231", "bxz2=0.1231", "a=-1234.5678",
              "stdx=-12.345", "Command1"}},
    {.menuButton = "Command5",
     .name = "Quant3",
     .title = "Quant 3-way",
     .size = QSize(882, 497),
     .panelLabels = 54,
     .computeCaption = "Compute",
     .tabOrder = {"bx", "bz", "bv", "bxz", "bxv", "bzv", "bxzv", "a", "stdx", "stdz", "stdv", "Command2", "Command1",
                  "pasteModel"},
     .worked = {"bx=1", "bz=2", "bv=3", "bxz=0.5", "bxv=0.25", "bzv=0.1", "bxzv=0.05", "a=10", "stdx=2", "stdz=1",
                "stdv=4", "Command1"},
     .wide = {"bx=-123.4567", "bz=-100.25", "bv=100.25", "bxz=-0.1231", "bxv=0.1231", "bzv=-1.5", "bxzv=0.0123",
              "a=-1234.5678", "stdx=-12.345", "stdz=12.345", "stdv=-12.345", "Command1"}},
    {.menuButton = "Inomplete",
     .name = "Incomplete",
     .title = "Incomplete",
     .size = QSize(796, 587),
     .panelLabels = 41,
     .computeCaption = "Compute",
     .hiddenAtLoad = QStringList{"Label5", "Label9", "Command1"} + GridNames(true),
     .tabOrder = IncompleteTabOrder(),
     .beforeTabbing = {"numvars=12", "Command3"},
     .worked = {"bx=1", "numvars=2", "Command3", "weight_0=4", "weight_1=1", "value_1=1", "weight_2=1", "value_2=1",
                "value_0=x", "Command1"},
     .wide = QStringList{"bx=-123.4567", "bz=-100.25", "bxz=-0.1231", "stdx=-12.345", "stdz=-12.345", "numvars=12",
                         "Command3", "weight_0=-1234.5678"} +
             Grid("-12.345", "123.456") + QStringList{"Command1"}},
};

// The row of the table for the form of that name.
int FormIndex(const char* name) {
  for (int i = 0; i < static_cast<int>(std::size(kForms)); ++i) {
    if (QByteArray(kForms[i].name) == name) return i;
  }
  return -1;
}

const FormFacts& Facts(int index) { return kForms[index]; }

void AddModelFormRows() {
  QTest::addColumn<int>("form");
  for (int i = 1; i < static_cast<int>(std::size(kForms)); ++i) QTest::newRow(kForms[i].name) << i;
}

marvane::FormWindow* Open(const FormFacts& facts) {
  if (QByteArray(facts.menuButton).isEmpty()) return FreshMenu();
  return OpenFromMenu(facts.menuButton);
}

// A model form as loading leaves it: the boxes hold their design text, the
// panel labels are hidden with their design captions (the value labels
// empty), the message is hidden, every other control is shown unless the
// form hides it at load, and the focus is on the first control in tab order.
void CheckFresh(marvane::FormWindow* f, const FormFacts& facts) {
  QVERIFY(f != nullptr);
  QCOMPARE(f->objectName(), QString(facts.name));
  QCOMPARE(f->windowTitle(), QString(facts.title));
  QCOMPARE(f->size(), facts.size);
  QCOMPARE(VisibleTopLevelCount(), 1);
  QCOMPARE(marvane::Forms::Instance().LoadedCount(), 1);
  QCOMPARE(PanelNames(f).size(), facts.panelLabels);
  for (const marvane::forms::Control& c : f->Design().controls) {
    const QString name = QString::fromStdString(c.name);
    const bool hidden = c.role != Role::Fixed || facts.hiddenAtLoad.contains(name);
    QVERIFY2(Shown(f, name) != hidden, qPrintable(name + (hidden ? " is shown" : " is hidden")));
    if (c.kind != Kind::Button) {
      QVERIFY2(Caption(f, name) == QString::fromStdString(c.caption), qPrintable(name + ": " + Caption(f, name)));
    }
  }
  QCOMPARE(Caption(f, "message"), QString());
  QCOMPARE(f->Button("Command1")->text(), QString(facts.computeCaption));
  QCOMPARE(f->Button("Command2")->text(), QString("Back"));
  QCOMPARE(f->focusWidget(), f->Control(Std(facts.tabOrder.first())));
}

// The menu with all it can show: a recent session, and the last work left
// on the form with the longest caption.
void GiveTheMenuAll() {
  QFile recent(marvane::sessions::DataFolder() + "/recent-sessions.json");
  QVERIFY(recent.open(QIODevice::WriteOnly));
  recent.write(QJsonDocument(QJsonObject{{"recent", QJsonArray{marvane::sessions::DataFolder() + "/work.marvane"}}}).toJson());
  recent.close();
  marvane::Session last;
  last.form = "Quant3";
  last.saved = QDateTime(QDate(2026, 12, 31), QTime(23, 59), Qt::LocalTime);
  QCOMPARE(marvane::WriteSessionFile(marvane::sessions::LastWorkPath(), last), QString());
}

}  // namespace

class FormsGuiTest : public QObject {
  Q_OBJECT

  QTemporaryDir data_;

 private slots:
  void initTestCase() {
    StartForms();
    QVERIFY(data_.isValid());
    marvane::sessions::SetDataFolder(data_.path());
  }


  void freshAtLoad_data() { AddModelFormRows(); }

  void freshAtLoad() {
    QFETCH(int, form);
    CheckFresh(OpenFromMenu(Facts(form).menuButton), Facts(form));
  }

  // Back after a Compute shows the menu as designed; the same menu button
  // then opens a fresh form: nothing typed or computed survives the visit.
  void backThenReopenIsFresh_data() { AddModelFormRows(); }

  void backThenReopenIsFresh() {
    QFETCH(int, form);
    const FormFacts& facts = Facts(form);
    marvane::ModelForm* f = OpenFromMenu(facts.menuButton);
    QVERIFY(f != nullptr);
    Drive(f, facts.worked);
    QVERIFY2(!Shown(f, "message"), qPrintable(f->MessageText()));
    CheckShown(f, PanelNames(f));
    Click(f, "Command2");

    marvane::FormWindow* menu = VisibleForm();
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->objectName(), QString("Choice"));
    QCOMPARE(menu->focusWidget(), menu->Button("Command1"));
    QCOMPARE(marvane::Forms::Instance().LoadedCount(), 1);
    Click(menu, facts.menuButton);
    CheckFresh(VisibleForm(), facts);
  }

  // Tab walks the controls in the order of the design's tab indexes, skips
  // labels, and comes round to the first again.
  void tabOrderFollowsTheTabIndexes_data() {
    QTest::addColumn<int>("form");
    for (int i = 0; i < static_cast<int>(std::size(kForms)); ++i) QTest::newRow(kForms[i].name) << i;
  }

  void tabOrderFollowsTheTabIndexes() {
    QFETCH(int, form);
    const FormFacts& facts = Facts(form);
    if (form == 0) GiveTheMenuAll();
    marvane::FormWindow* f = Open(facts);
    QVERIFY(f != nullptr);
    Drive(f, facts.beforeTabbing);
    f->Control(Std(facts.tabOrder.first()))->setFocus();
    QStringList seen{f->focusWidget()->objectName()};
    for (qsizetype i = 0; i < facts.tabOrder.size(); ++i) {
      QTest::keyClick(f->focusWidget(), Qt::Key_Tab);
      seen << f->focusWidget()->objectName();
    }
    QCOMPARE(seen, facts.tabOrder + QStringList{facts.tabOrder.first()});
  }

  // After a Compute with wide values, or a fault, or words in place of a
  // number: every shown text fits its control, every control lies in the
  // client area and none overlaps another.
  void shownTextsFit_data() {
    QTest::addColumn<int>("form");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("message");
    QTest::newRow("Choice") << FormIndex("Choice") << QStringList{} << false;
    for (int i = 1; i < static_cast<int>(std::size(kForms)); ++i) {
      QTest::addRow("%s: wide values", kForms[i].name) << i << kForms[i].wide << false;
    }
    QTest::newRow("Quant: parallel lines") << FormIndex("Quant") << QStringList{"bz=1", "Command1"} << false;
    QTest::newRow("QuantZ: parallel lines") << FormIndex("QuantZ") << QStringList{"bz=1", "Command1"} << false;
    QTest::newRow("QuantZ: fault in row 2")
        << FormIndex("QuantZ") << QStringList{"bxz=10", "stdx=1", "hiz=1", "medz=1e308", "Command1"} << true;
    QTest::newRow("Mixed3: fault in the reading") << FormIndex("Mixed3") << QStringList{"rbx=1e39", "Command1"} << true;
    QTest::newRow("Incomplete: row 13 at GO")
        << FormIndex("Incomplete") << QStringList{"numvars=13", "Command3"} << true;
  }

  void shownTextsFit() {
    QFETCH(int, form);
    QFETCH(QStringList, steps);
    QFETCH(bool, message);
    if (form == 0) GiveTheMenuAll();
    marvane::FormWindow* f = Open(Facts(form));
    QVERIFY(f != nullptr);
    Drive(f, steps);
    QVERIFY2(Shown(f, "message") == message, qPrintable(Caption(f, "message")));
    if (!message && form > 0) CheckShown(f, PanelNames(f));
    CheckLayout(f);
  }

  // With no interaction the lines do not cross: the rows are shown, the
  // crossover says in words why, and that is no fault. All boxes empty gives
  // one line at zero; bz 1 gives parallel lines.
  void crossoverInWords_data() {
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("label");  // the caption before the crossover value
    QTest::addColumn<QString>("bz");
    QTest::addColumn<QString>("words");
    for (const char* form : {"Quant", "QuantZ"}) {
      const QString label = QByteArray(form) == "Quant" ? "Label5" : "Label1";
      QTest::addRow("%s: all empty, one line", form) << FormIndex(form) << label << ""
                                                     << "none: the lines coincide";
      QTest::addRow("%s: bz 1, parallel", form) << FormIndex(form) << label << "1"
                                                << "none: the lines are parallel";
    }
  }

  void crossoverInWords() {
    QFETCH(int, form);
    QFETCH(QString, label);
    QFETCH(QString, bz);
    QFETCH(QString, words);
    marvane::FormWindow* f = Open(Facts(form));
    QVERIFY(f != nullptr);
    Type(f, "bz", bz);
    Click(f, "Command1");
    for (const marvane::forms::Control& c : f->Design().controls) {
      if (c.kind == Kind::TextBox && c.name != "bz") QCOMPARE(Caption(f, QString::fromStdString(c.name)), QString("0"));
    }
    QCOMPARE(RowsValues(f, 3), QStringList(18, "0"));  // -0 is written 0
    QCOMPARE(Caption(f, "xcross"), words);
    CheckShown(f, {"xcross", label});
    QVERIFY(f->Label("xcross")->width() >= f->Label("xcross")->sizeHint().width());
    QVERIFY2(!Shown(f, "message"), qPrintable(Caption(f, "message")));
  }

  // An instruction note keeps its blanks, and at the label's width each of its
  // sentences starts a line: the text before it (ending in a run of blanks)
  // grows taller when the sentence's first word is added. Short sentences
  // take one line each.
  void notesBreakAtTheirBlankRuns_data() {
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("length");
    QTest::addColumn<QStringList>("sentences");  // the first words of each sentence after the first
    QTest::addColumn<bool>("oneLineEach");
    const QStringList twoPredictors{"\"Z\" defines", "Enter values"};
    const QStringList threePredictors{"\"Z\" and", "Plotting points", "Enter values"};
    QTest::newRow("Choice") << FormIndex("Choice") << "Label1" << 81 << QStringList{"want to"} << true;
    QTest::newRow("Quant") << FormIndex("Quant") << "Label6" << 153 << twoPredictors << true;
    QTest::newRow("QuantZ") << FormIndex("QuantZ") << "Label9" << 153 << twoPredictors << true;
    QTest::newRow("Mixed2") << FormIndex("Mixed2") << "Label6" << 151 << QStringList{"\"group\" is", "Enter values"}
                            << true;
    QTest::newRow("Mixed3") << FormIndex("Mixed3") << "Label6" << 104 << QStringList{"Enter values"} << true;
    QTest::newRow("Quant3") << FormIndex("Quant3") << "Label6" << 438 << threePredictors << false;
    QTest::newRow("Incomplete") << FormIndex("Incomplete") << "Label6" << 153 << twoPredictors << true;
  }

  void notesBreakAtTheirBlankRuns() {
    QFETCH(int, form);
    QFETCH(QString, note);
    QFETCH(int, length);
    QFETCH(QStringList, sentences);
    QFETCH(bool, oneLineEach);
    marvane::FormWindow* f = Open(Facts(form));
    QVERIFY(f != nullptr);
    QLabel* label = f->Label(Std(note));
    QVERIFY(label != nullptr && label->isVisibleTo(f));
    const QString text = label->text();
    QCOMPARE(text.size(), length);
    const QFontMetrics fm(label->font());
    const QRect area = label->contentsRect();
    const int flags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
    auto height = [&](const QString& s) { return fm.boundingRect(area, flags, s).height(); };
    QVERIFY2(height(text) <= label->height(), qPrintable(QString::number(height(text))));
    for (const QString& words : sentences) {
      const qsizetype from = text.indexOf(words);
      QVERIFY2(from > 0, qPrintable(words));
      const QString before = text.left(from);
      QVERIFY2(before.endsWith(QLatin1String("  ")), qPrintable(words));
      QVERIFY2(height(before + words.section(' ', 0, 0)) > height(before), qPrintable(words));
    }
    if (oneLineEach) QCOMPARE(height(text), height(QStringList(sentences.size() + 1, "x").join('\n')));
  }
};

QTEST_MAIN(FormsGuiTest)
#include "forms_gui_test.moc"
