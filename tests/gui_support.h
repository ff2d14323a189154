#pragma once

// Driving the forms as a user does: open one from the menu, type into boxes,
// click buttons, read captions and visibility. Controls are found by name.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <initializer_list>
#include <utility>

#include "shell/app.h"
#include "shell/form_window.h"
#include "shell/model_form.h"
#include "shell/navigation.h"

namespace marvane::testing {

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

inline void Click(FormWindow* form, const char* button) {
  QPushButton* b = form->Button(button);
  QVERIFY2(b != nullptr, button);
  QVERIFY2(b->isVisible(), button);
  QTest::mouseClick(b, Qt::LeftButton);
  Settle();
}

// Opens a model form from a fresh menu by clicking the menu button.
inline ModelForm* OpenFromMenu(const char* menuButton) {
  FormWindow* menu = FreshMenu();
  if (menu == nullptr) return nullptr;
  QTest::mouseClick(menu->Button(menuButton), Qt::LeftButton);
  Settle();
  return dynamic_cast<ModelForm*>(VisibleForm());
}

// Replaces the box's text by typing, key by key.
inline void Type(FormWindow* form, const char* box, const QString& text) {
  QLineEdit* e = form->Box(box);
  QVERIFY2(e != nullptr, box);
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Delete);
  QTest::keyClicks(e, text);
}

// Types each (box, text) pair in turn.
inline void TypeAll(FormWindow* form, std::initializer_list<std::pair<const char*, const char*>> entries) {
  for (const auto& [box, text] : entries) Type(form, box, QString::fromUtf8(text));
}

inline QString Caption(FormWindow* form, const char* name) {
  if (QLabel* l = form->Label(name)) return l->text();
  if (QLineEdit* e = form->Box(name)) return e->text();
  return QStringLiteral("<no control %1>").arg(QString::fromUtf8(name));
}

// Shown on screen as far as the form is concerned.
inline bool Shown(FormWindow* form, const char* name) {
  QWidget* w = form->Control(name);
  return w != nullptr && w->isVisibleTo(form);
}

}  // namespace marvane::testing
