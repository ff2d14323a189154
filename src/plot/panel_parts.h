#pragma once

// The pieces the plot window and its tabs share: named buttons and boxes, a
// box for pasted text, read-only result tables, texts in words, and a status
// line that shows a problem in dark red.

#include <QString>
#include <QStringList>

#include "analysis/analysis.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace marvane {

// A button and a one-line box named `name` (the box with `accessible` as its
// accessible name, when given, and `text` in it).
QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent);
QLineEdit* MakeLineEdit(const char* name, const char* accessible, QWidget* parent, const QString& text = {});

// A box for text pasted from a statistics package: lines not wrapped, in a
// monospaced font, so that its columns stand as they were printed.
QPlainTextEdit* MakePasteBox(const char* name, const char* accessible, const QString& placeholder, QWidget* parent);

// A read-only table that is as tall as its rows, with `header` (may be set later).
QTableWidget* MakeResultTable(const QString& name, const QStringList& header, QWidget* parent);

// Row `row` of the table: the cells from `firstNumber` on are aligned right.
void SetResultRow(QTableWidget* t, int row, const QStringList& cells, int firstNumber);

// A label for sentences: word-wrapped and selectable.
QLabel* MakeWordsLabel(const QString& name, QWidget* parent);

// Shows `text`, in dark red when it tells a problem.
void ShowStatus(QLabel* label, const QString& text, bool problem);
void ShowStatus(QLabel* label, const StatusText& status);

// Two boxes of a range side by side: "from [ ] to [ ]".
QHBoxLayout* FromTo(QLineEdit* from, QLineEdit* to, QWidget* parent);

// A tab's "Copy text" button (objectName `name`) with a label beside it
// (`name` + "Done") that says what was copied.
struct CopyTextRow {
  QPushButton* button = nullptr;
  QLabel* said = nullptr;
  QHBoxLayout* row = nullptr;
};
CopyTextRow MakeCopyTextRow(const QString& name, QWidget* parent);

// Puts a tab's sentences on the clipboard and says so in `said`, or says
// that there is nothing to copy yet.
void CopySentences(QLabel* said, const QString& sentences);

// Fills the table with the header and rows of `shown`.
void ShowTable(QTableWidget* t, const ShownTable& shown);

}  // namespace marvane
