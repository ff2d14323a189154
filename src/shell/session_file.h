#pragma once

// A session file (.marvane): the work on one model form and its plot window,
// kept so that it can be opened again. UTF-8 JSON, one object:
//
//   "format": "marvane-session", "formatVersion": 1 (a whole number, raised
//   whenever a change would make an older Marvane misread the file),
//   "programVersion": the Marvane that wrote it, "saved": when (ISO 8601, UTC),
//   "form": the form's name ("Quant", ..., "Incomplete"),
//   "boxes": every box of the form with its text as it stands,
//   "steps": the presses of the form's own buttons (GO, Compute) that made
//       what the form shows, oldest first, each {"button": name, "boxes":
//       every box as typed just before the press},
//   "plot": {"open": whether the plot window was open, "settings": every
//       input of the window by its objectName: a text (boxes, the pasted
//       matrix, a list's chosen entry), true or false (a check box), a number
//       (a spin box) or rows of texts (the legend's table)},
//   "model": the model pasted on the form (Paste model), where there is one:
//       {"used": the one the plot window reads the matrix's rows with,
//       "pending": one pasted since, for the next Plot}, each {"text": as
//       pasted, "picks": by weight of the form, the index of the term
//       picked for it among the terms read from the text, -1 for none}.
//
// Texts are kept as typed: "1.50" stays "1.50". Reading checks the whole file
// against the forms' designs before anything is opened, and tells what is
// wrong in words. Qt Core only, so that the command line and the fuzzer can
// read sessions without a display.

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace marvane {

inline constexpr char kSessionFormat[] = "marvane-session";
inline constexpr int kSessionFormatVersion = 1;
inline constexpr char kSessionSuffix[] = "marvane";
// No form records more steps than this (ModelForm keeps the latest).
inline constexpr int kMaxSessionSteps = 64;

// Boxes by name with their texts, in the order of the form's design.
using BoxTexts = std::vector<std::pair<QString, QString>>;

// One press of a form's button that changes what the form shows.
struct SessionStep {
  QString button;
  BoxTexts boxes;
  bool operator==(const SessionStep&) const = default;
};

// A model pasted on the form: its text and, by weight, the term picked.
struct SessionModel {
  QString text;
  std::vector<int> picks;
  bool operator==(const SessionModel&) const = default;
};

struct Session {
  QString form;
  BoxTexts boxes;
  std::vector<SessionStep> steps;
  bool plotOpen = false;
  QJsonObject plot;  // the plot window's settings by objectName
  std::optional<SessionModel> usedModel, pendingModel;
  QString programVersion;
  QDateTime saved;  // invalid when the file does not say
  bool operator==(const Session&) const = default;
};

// A session read from a file's text, or what is wrong with the text: a
// clause that follows "Could not open <file>: ", such as "it was made by a
// newer Marvane (...)".
struct SessionRead {
  Session session;
  QString error;
  bool Ok() const { return error.isEmpty(); }
};

SessionRead ParseSession(const QByteArray& text);

// The session's text, indented JSON in UTF-8.
QByteArray SessionJson(const Session& session);

// ParseSession of the file, or why it cannot be read ("there is no such
// file.").
SessionRead ReadSessionFile(const QString& path);

// Writes the session through a temporary file that replaces `path` only once
// it is written whole. Returns "" or why not, as a clause like
// ParseSession's errors; the file at `path` is then left as it was.
QString WriteSessionFile(const QString& path, const Session& session);

// "Could not open results.marvane: <clause>" and its counterpart for saving.
QString OpenProblem(const QString& path, const QString& clause);
QString SaveProblem(const QString& path, const QString& clause);

// The window caption of the form a session is for ("Quant 3-way"), or "".
QString FormCaption(const QString& form);

}  // namespace marvane
