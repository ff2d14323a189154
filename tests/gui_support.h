#pragma once

// Driving the forms as a user does: open one from the menu, type into boxes,
// click buttons, read captions and visibility. Controls are found by name.
// Also the checks every form's tests share: a result row's values, the panel
// labels of a form, and whether shown texts fit their controls.

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <initializer_list>
#include <string>
#include <utility>

#include "forms/form_design.h"
#include "shell/app.h"
#include "shell/form_window.h"
#include "shell/model_form.h"
#include "shell/navigation.h"

namespace marvane::testing {

// The application as the program sets it up, with every form registered.
// The last work a Compute, Back or closing keeps goes to Qt's test folders
// (~/.qttest), never into the user's own data folder.
inline void StartForms() {
  QStandardPaths::setTestModeEnabled(true);
  ConfigureApplication(*qApp);
  RegisterForms();
}

// Lets deferred deletions and other posted events run.
inline void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// The one visible top-level form (nullptr when there is none, or several).
inline FormWindow* VisibleForm() {
  FormWindow* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible()) continue;
    auto* f = dynamic_cast<FormWindow*>(w);
    if (f == nullptr || found != nullptr) return nullptr;
    found = f;
  }
  return found;
}

inline int VisibleTopLevelCount() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) n += w->isVisible() ? 1 : 0;
  return n;
}

// Unloads whatever is loaded and shows a fresh menu.
inline FormWindow* FreshMenu() {
  Forms& forms = Forms::Instance();
  for (const char* name : {"Choice", "Quant", "QuantZ", "Mixed2", "Mixed3", "Quant3", "Incomplete"}) {
    if (FormWindow* f = forms.Find(name)) forms.Unload(f);
  }
  Settle();
  ShowMenu();
  return VisibleForm();
}

inline std::string Std(const QString& name) { return name.toStdString(); }

inline void Click(FormWindow* form, const QString& button) {
  QPushButton* b = form->Button(Std(button));
  QVERIFY2(b != nullptr, qPrintable(button));
  QVERIFY2(b->isVisible(), qPrintable(button));
  QTest::mouseClick(b, Qt::LeftButton);
  Settle();
}

// Opens a model form from a fresh menu by clicking the menu button.
inline ModelForm* OpenFromMenu(const QString& menuButton) {
  FormWindow* menu = FreshMenu();
  if (menu == nullptr || menu->Button(Std(menuButton)) == nullptr) return nullptr;
  QTest::mouseClick(menu->Button(Std(menuButton)), Qt::LeftButton);
  Settle();
  return dynamic_cast<ModelForm*>(VisibleForm());
}

// Replaces the box's text by typing, key by key.
inline void Type(FormWindow* form, const QString& box, const QString& text) {
  QLineEdit* e = form->Box(Std(box));
  QVERIFY2(e != nullptr, qPrintable(box));
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Delete);
  QTest::keyClicks(e, text);
}

// Types each (box, text) pair in turn.
inline void TypeAll(FormWindow* form, std::initializer_list<std::pair<const char*, const char*>> entries) {
  for (const auto& [box, text] : entries) Type(form, QString::fromUtf8(box), QString::fromUtf8(text));
}

// Types texts[i] into boxes[i], for each text given.
inline void TypeInto(FormWindow* form, const QStringList& boxes, const QStringList& texts) {
  QVERIFY2(texts.size() <= boxes.size(), "more texts than boxes");
  for (qsizetype i = 0; i < texts.size(); ++i) Type(form, boxes[i], texts[i]);
}

// Types each "box=text" entry, in order.
inline void TypeEntries(FormWindow* form, const QStringList& entries) {
  for (const QString& e : entries) Type(form, e.section('=', 0, 0), e.section('=', 1));
}

// Works through `steps` in order: "box=text" types the text into the box, a
// bare name clicks that button.
inline void Drive(FormWindow* form, const QStringList& steps) {
  for (const QString& step : steps) {
    if (step.contains('=')) {
      TypeEntries(form, {step});
    } else {
      Click(form, step);
    }
  }
}

// A label's or button's caption, or a box's text.
inline QString Caption(FormWindow* form, const QString& name) {
  if (QLabel* l = form->Label(Std(name))) return l->text();
  if (QLineEdit* e = form->Box(Std(name))) return e->text();
  if (QPushButton* b = form->Button(Std(name))) return b->text();
  return QStringLiteral("<no control %1>").arg(name);
}

// The captions or texts of `names`, in order.
inline QStringList Texts(FormWindow* form, const QStringList& names) {
  QStringList out;
  for (const QString& name : names) out << Caption(form, name);
  return out;
}

// Each "name=text" entry shows that text now.
inline void CheckTexts(FormWindow* form, const QStringList& entries) {
  for (const QString& e : entries) {
    const QString name = e.section('=', 0, 0);
    const QString expected = e.section('=', 1);
    const QString actual = Caption(form, name);
    QVERIFY2(actual == expected, qPrintable(name + ": \"" + actual + "\" instead of \"" + expected + "\""));
  }
}

// Shown on screen as far as the form is concerned.
inline bool Shown(FormWindow* form, const QString& name) {
  QWidget* w = form->Control(Std(name));
  return w != nullptr && w->isVisibleTo(form);
}

// Every one of `names` is shown (or, with shown false, hidden).
inline void CheckShown(FormWindow* form, const QStringList& names, bool shown = true) {
  for (const QString& name : names) {
    QVERIFY2(Shown(form, name) == shown, qPrintable(name + (shown ? " is hidden" : " is shown")));
  }
}

// The names of the form's result-panel labels, from its design.
inline QStringList PanelNames(const FormWindow* form) {
  QStringList names;
  for (const forms::Control& c : form->Design().controls) {
    if (c.role == forms::Role::Panel) names << QString::fromStdString(c.name);
  }
  return names;
}

// --- Result rows ----------------------------------------------------------

inline QString RowLabel(const char* prefix, int k, int column) {
  return QStringLiteral("%1%2%3").arg(QLatin1String(prefix)).arg(k).arg(column);
}

// Which p-label digits of a point row hold X1, Y1, X2 and Y2.
struct PointLayout {
  int x1, y1, x2, y2;
};
// X1, ",", Y1, "and", X2, ",", Y2 numbered 2, 7, 3, 4, 5, 8, 6: most forms.
inline constexpr PointLayout kUsualPoints{2, 3, 5, 6};
// Numbered left to right: the three-predictor form.
inline constexpr PointLayout kLeftToRightPoints{2, 4, 6, 8};

// Captions of the value labels of result row k, in reading order: slope,
// intercept (se<k>3, se<k>5), X1, Y1, X2, Y2.
inline QStringList RowValues(FormWindow* form, int k, PointLayout points = kUsualPoints) {
  return Texts(form, {RowLabel("se", k, 3), RowLabel("se", k, 5), RowLabel("p", k, points.x1),
                      RowLabel("p", k, points.y1), RowLabel("p", k, points.x2), RowLabel("p", k, points.y2)});
}

// RowValues of rows 1 to `rows`, one after another.
inline QStringList RowsValues(FormWindow* form, int rows, PointLayout points = kUsualPoints) {
  QStringList out;
  for (int k = 1; k <= rows; ++k) out += RowValues(form, k, points);
  return out;
}

// What a good Compute leaves on the form: rows 1, 2, ... of the panel hold
// `rows` (six values a row, as RowValues reads them), the whole panel is
// shown and there is no message. Pressing Compute again without editing
// changes none of it, nor the texts of `kept`.
inline void CheckGoodCompute(FormWindow* form, const QStringList& rows, const QStringList& kept = {},
                             PointLayout points = kUsualPoints) {
  const int n = static_cast<int>(rows.size() / 6);
  for (int k = 1; k <= n; ++k) QCOMPARE(RowValues(form, k, points), rows.mid(6 * (k - 1), 6));
  CheckShown(form, PanelNames(form));
  QVERIFY2(!Shown(form, "message"), qPrintable(Caption(form, "message")));
  const QStringList texts = Texts(form, kept);
  Click(form, "Command1");
  QCOMPARE(RowsValues(form, n, points), rows);
  QCOMPARE(Texts(form, kept), texts);
  QVERIFY2(!Shown(form, "message"), qPrintable(Caption(form, "message")));
}

// How many of the 13 labels of row k (se<k>1..5, p<k>1..8) are shown.
inline int ShownInRow(FormWindow* form, int k) {
  int n = 0;
  for (int c = 1; c <= 5; ++c) n += Shown(form, RowLabel("se", k, c)) ? 1 : 0;
  for (int c = 1; c <= 8; ++c) n += Shown(form, RowLabel("p", k, c)) ? 1 : 0;
  return n;
}

// --- Fitting --------------------------------------------------------------

// Why the label or button does not show its text whole, or "" when it does.
// A label's caption wraps at its width: no word may be wider than the label,
// and the wrapped lines must fit its height. A label too low for two lines
// must hold its caption on one line, descenders included. A button's caption
// is one line with some room to spare at each side.
inline QString CutOff(QWidget* w) {
  const QFontMetrics fm(w->font());
  if (auto* b = qobject_cast<QPushButton*>(w)) {
    if (fm.horizontalAdvance(b->text()) + 8 <= b->width() && fm.height() <= b->height()) return {};
    return QStringLiteral("%1 (%2x%3) does not hold \"%4\"")
        .arg(b->objectName())
        .arg(b->width())
        .arg(b->height())
        .arg(b->text());
  }
  auto* l = qobject_cast<QLabel*>(w);
  if (l == nullptr || l->text().isEmpty()) return {};
  const QRect area = l->contentsRect();
  const QString where = QStringLiteral("%1 (%2x%3) does not hold \"%4\"")
                            .arg(l->objectName())
                            .arg(area.width())
                            .arg(area.height())
                            .arg(l->text());
  for (const QString& word : l->text().split(' ', Qt::SkipEmptyParts)) {
    if (fm.horizontalAdvance(word) > area.width()) return where + ": the word \"" + word + "\" is wider";
  }
  if (area.height() < 2 * fm.lineSpacing()) {
    if (fm.horizontalAdvance(l->text()) > area.width()) return where + " on one line";
    if (fm.ascent() + fm.descent() > area.height()) return where + ": the line is taller";
    return {};
  }
  const QRect wrapped = fm.boundingRect(QRect(0, 0, area.width(), 100000), Qt::TextWordWrap, l->text());
  if (wrapped.height() > area.height()) return where + QStringLiteral(": it needs %1 px").arg(wrapped.height());
  return {};
}

// The fault message is shown, whole.
inline void CheckMessageFits(FormWindow* form) {
  QLabel* m = form->Label("message");
  QVERIFY(m != nullptr);
  QVERIFY(m->isVisibleTo(form));
  const QString why = CutOff(m);
  QVERIFY2(why.isEmpty(), qPrintable(why));
}

// What a user sees of the form is whole: every shown control shows its text
// whole, every control lies inside the client area, and no two controls
// overlap, shown or not (a hidden one may be shown later, as is the message).
inline void CheckLayout(FormWindow* form) {
  QList<QWidget*> shown;
  for (const forms::Control& c : form->Design().controls) {
    QWidget* w = form->Control(c.name);
    QVERIFY2(w != nullptr, c.name.c_str());
    QVERIFY2(form->rect().contains(w->geometry()), c.name.c_str());
    shown << w;
    if (!w->isVisibleTo(form)) continue;
    const QString why = CutOff(w);
    QVERIFY2(why.isEmpty(), qPrintable(why));
  }
  for (qsizetype i = 0; i < shown.size(); ++i) {
    for (qsizetype j = i + 1; j < shown.size(); ++j) {
      QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()),
               qPrintable(shown[i]->objectName() + " overlaps " + shown[j]->objectName()));
    }
  }
}

}  // namespace marvane::testing
