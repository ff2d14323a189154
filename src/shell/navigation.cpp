#include "shell/navigation.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include "shell/form_window.h"

namespace marvane {
namespace {

// Keeps a window with a fixed design position on the screen it opens on,
// should the screen be smaller than the design assumed.
void KeepOnScreen(QWidget* w) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect avail = screen->availableGeometry();
  QRect g = w->geometry();
  if (avail.contains(g)) return;
  const int x = std::max(avail.left(), std::min(g.left(), avail.right() - g.width()));
  const int y = std::max(avail.top(), std::min(g.top(), avail.bottom() - g.height()));
  w->move(x, y);
}

}  // namespace

Forms& Forms::Instance() {
  static Forms forms;
  return forms;
}

void Forms::Register(std::string name, FormFactory factory) {
  factories_[std::move(name)] = std::move(factory);
}

FormWindow* Forms::Load(std::string_view name) {
  if (FormWindow* form = Find(name)) return form;
  auto it = factories_.find(name);
  if (it == factories_.end()) return nullptr;
  FormWindow* form = it->second();
  loaded_.emplace(std::string(name), form);
  form->Form_Load();
  return form;
}

void Forms::Unload(FormWindow* form) {
  if (form == nullptr) return;
  for (auto it = loaded_.begin(); it != loaded_.end(); ++it) {
    if (it->second == form) {
      loaded_.erase(it);
      form->hide();
      // The form may be unloading itself from one of its own handlers; it is
      // destroyed once that handler has returned.
      form->deleteLater();
      break;
    }
  }
  if (loaded_.empty()) QCoreApplication::quit();
}

void Forms::Show(FormWindow* form) {
  if (form == nullptr) return;
  if (form->Design().position) KeepOnScreen(form);
  form->show();
  form->FocusFirstControl();
  form->activateWindow();
}

FormWindow* Forms::Find(std::string_view name) const {
  auto it = loaded_.find(name);
  return it == loaded_.end() ? nullptr : it->second;
}

void SwitchForm(std::string_view target, FormWindow* current) {
  Forms& forms = Forms::Instance();
  FormWindow* next = forms.Load(target);
  if (next == nullptr || next == current) return;
  forms.Unload(current);
  forms.Show(next);
}

}  // namespace marvane
