#include "shell/whole_file.h"

#include <QSaveFile>

namespace marvane {

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return {};
  const QString why = file.errorString();
  file.cancelWriting();
  return why.isEmpty() ? QStringLiteral("unknown error") : why;
}

}  // namespace marvane
