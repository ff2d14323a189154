#pragma once

class QApplication;

namespace marvane {

// Application-wide settings: the Fusion style (so that button colours show),
// the design font mapped to an installed sans-serif, and quitting left to the
// forms (the program ends when its last loaded form is unloaded).
void ConfigureApplication(QApplication& app);

// Registers the menu and the model forms with Forms.
void RegisterForms();

// Loads and shows the menu.
void ShowMenu();

}  // namespace marvane
