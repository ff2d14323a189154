#pragma once

// The inputs of a window, kept and put back by their objectName, whatever
// the window holds: a session keeps the plot window's settings this way, so
// that a control added to the window later is kept as soon as it has a name.
//
// Kept: a QLineEdit's or QPlainTextEdit's text, a QComboBox's chosen text, a
// check box's (or any checkable button's) state, a QSpinBox's or
// QDoubleSpinBox's value, and the texts of an editable QTableWidget, row by
// row. Widgets without a name, Qt's own inner widgets (qt_...), the boxes
// inside spin boxes and lists, and read-only tables are left out; of two
// widgets with one name the first found is kept.

#include <QJsonObject>

class QWidget;

namespace marvane {

QJsonObject CaptureInputs(const QWidget& window);

// Puts the kept inputs back into the window's widgets of the same names, as
// if typed, so the window reacts to each. Names the window does not have,
// and values a widget cannot take (a list without that entry), are passed
// over.
void RestoreInputs(QWidget& window, const QJsonObject& inputs);

}  // namespace marvane
