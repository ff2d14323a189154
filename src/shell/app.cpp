#include "shell/app.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QStyleFactory>

#include "models/mixed2_form.h"
#include "models/quant3_form.h"
#include "models/mixed3_form.h"
#include "models/incomplete_form.h"
#include "models/quant_form.h"
#include "models/quantz_form.h"
#include "shell/choice_form.h"
#include "shell/form_window.h"
#include "shell/navigation.h"
#include "shell/sessions.h"
#include "shell/window_icon.h"

namespace marvane {

void ConfigureApplication(QApplication& app) {
  QCoreApplication::setApplicationName(QStringLiteral("marvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(MARVANE_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral(MARVANE_APP_ID));
  QGuiApplication::setWindowIcon(WindowIcon());
  app.setStyle(QStyleFactory::create("Fusion"));
  // Nearest metric match first; any sans-serif after that.
  QFont::insertSubstitutions(kDesignFontFamily, DesignFontSubstitutes());
  // SwitchForm unloads the current form before it shows the next one, so the
  // last visible window closing is not the end: Forms::Unload decides that.
  app.setQuitOnLastWindowClosed(false);
}

void RegisterForms() {
  Forms& forms = Forms::Instance();
  forms.Register("Choice", [] { return new ChoiceForm; });
  forms.Register("Quant", [] { return new QuantForm; });
  forms.Register("QuantZ", [] { return new QuantZForm; });
  forms.Register("Mixed2", [] { return new Mixed2Form; });
  forms.Register("Quant3", [] { return new Quant3Form; });
  forms.Register("Mixed3", [] { return new Mixed3Form; });
  forms.Register("Incomplete", [] { return new IncompleteForm; });
}

void ShowMenu() {
  Forms& forms = Forms::Instance();
  forms.Show(forms.Load("Choice"));
}

void OpenAtStart(const QString& path) {
  FormWindow* menu = Forms::Instance().Find("Choice");
  const QString problem = sessions::Open(path, menu);
  if (problem.isEmpty() || menu == nullptr) return;
  if (QLabel* message = menu->Label("sessionMessage")) {
    message->setText(problem);
    message->setVisible(true);
  }
}

}  // namespace marvane
