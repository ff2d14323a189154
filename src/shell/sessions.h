#pragma once

// The work on a form kept in files and handed on: sessions saved and opened,
// the last work kept by itself, the recent sessions, the report and the R
// code.
//
// A session is captured from what the form and its plot window hold (the
// boxes, the presses of GO and Compute, the window's inputs; see
// shell/session_file.h) and opened by doing what the user did: the menu's
// switch to the form, the boxes typed and each press made again (so a
// faulting Compute faults as it did), then Plot and the window's inputs.
// The form's title shows the session's file, with a "*" while the work
// differs from it.
//
// The last work: on every Compute without a fault, on Back and on closing a
// form, its work is written to last-work.marvane in the user's data folder
// (QStandardPaths::AppLocalDataLocation), beside the list of the ten
// sessions opened or saved last. A form with nothing typed leaves the last
// work as it was.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

#include "shell/session_file.h"

class QWidget;

namespace marvane {

class FormWindow;
class ModelForm;
class ProbeWindow;

namespace sessions {

// ---- Called by the forms and the plot window
// Ctrl+S (save, to the session's own file when it has one) and Ctrl+O on a
// model form; Ctrl+O alone on the menu.
void AddShortcuts(ModelForm& form);
void AddOpenShortcut(FormWindow& form);
// The plot window's row of buttons, and its Ctrl+S and Ctrl+O.
void AttachPlotWindow(ModelForm& form, ProbeWindow& window);
// A Compute ended without a fault; the form is being left (Back, closing).
void Computed(ModelForm& form);
void Leaving(ModelForm& form);

// ---- Sessions
Session Capture(const ModelForm& form);
// Saves the form's work; "" or what went wrong, in a sentence.
QString Save(ModelForm& form, const QString& path);
// Opens the session in `path` from `from` (the menu, a model form, or
// nullptr at the start). "" or what went wrong, in a sentence; then nothing
// has changed.
QString Open(const QString& path, FormWindow* from);
// Asks for a session file (starting in the folder of the latest recent
// session, else the documents folder) and opens it from `from`; what went
// wrong is told where the user acted (`from`'s session message or message).
void OpenChosenFile(FormWindow* from);
// The file a form's work belongs to ("" when none).
QString FileOf(const ModelForm& form);

// ---- The last work and the recent sessions
QString DataFolder();
// Puts the data folder elsewhere ("": back to the user's data folder).
void SetDataFolder(const QString& folder);
QString LastWorkPath();
struct LastWork {
  QString caption;  // the form's window title
  QDateTime when;   // local time
};
std::optional<LastWork> FindLastWork();
// Opens the last work like a session; it belongs to no file then.
QString OpenLastWork(FormWindow* from);
// Most recent first, at most ten.
QStringList RecentSessions();

// ---- Handing the work on
// Writes the report of the form's plot window as HTML or PDF ("html",
// "pdf"; or by the name's suffix when empty). "" or what went wrong.
QString SaveReport(const ModelForm& form, const ProbeWindow& window, const QString& path, const QString& format = {});
// The R code of the window's numbers.
QString RCodeOf(const ProbeWindow& window);

}  // namespace sessions
}  // namespace marvane
