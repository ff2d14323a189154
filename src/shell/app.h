#pragma once

class QApplication;
class QString;

namespace marvane {

// Application-wide settings: the Fusion style (so that button colours show),
// the design font mapped to an installed sans-serif, and quitting left to the
// forms (the program ends when its last loaded form is unloaded).
void ConfigureApplication(QApplication& app);

// Registers the menu and the model forms with Forms.
void RegisterForms();

// Loads and shows the menu.
void ShowMenu();

// Opens the session file named on the command line from the menu; a file
// that cannot be opened after all (changed since it was checked) is told on
// the menu.
void OpenAtStart(const QString& path);

}  // namespace marvane
