#pragma once

// The file dialog of "Save figure…": where to save and in which format.

#include <QString>
#include <utility>

class QWidget;

namespace marvane {

// The path chosen (empty when cancelled) and the format to write: empty when
// the name's suffix says it, else the format of the filter chosen, whose
// suffix is then added to the path.
std::pair<QString, QString> AskWhereToSave(QWidget* parent, const QString& suggested);

}  // namespace marvane
