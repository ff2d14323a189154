#pragma once

// A file written whole or not at all (QSaveFile): what was in it stays until
// every byte of the new text is on the disk, and stays as it was when
// writing fails. Qt Core only.

#include <QByteArray>
#include <QString>

namespace marvane {

// Writes `bytes` to `path`; "" when done, else why not, in Qt's words
// ("Permission denied").
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace marvane
