#pragma once

// Loading, unloading and switching between the program's forms. Each form has
// one instance at most, built afresh from its design whenever it is loaded.
// The program ends when its last loaded form is unloaded.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace marvane {

class FormWindow;

using FormFactory = std::function<FormWindow*()>;

class Forms {
 public:
  static Forms& Instance();

  void Register(std::string name, FormFactory factory);

  // Loads the form if it is not loaded yet: builds it and runs its Form_Load.
  // Returns the loaded instance (nullptr for a name nobody registered).
  FormWindow* Load(std::string_view name);

  // Hides and discards the form; everything typed into it or shown on it is
  // gone. When no form is left loaded, the application is asked to quit.
  void Unload(FormWindow* form);

  // Shows the loaded form modeless, as the visible form, with the focus on its
  // first control in tab order.
  void Show(FormWindow* form);

  // The loaded instance of that name, or nullptr.
  FormWindow* Find(std::string_view name) const;
  int LoadedCount() const { return static_cast<int>(loaded_.size()); }

 private:
  std::map<std::string, FormFactory, std::less<>> factories_;
  std::map<std::string, FormWindow*, std::less<>> loaded_;
};

// The one navigation step: load the target, unload the current form, show
// the target. The target's Form_Load runs while the current form is still
// loaded, so the program never finds itself without a form in between.
void SwitchForm(std::string_view target, FormWindow* current);

}  // namespace marvane
