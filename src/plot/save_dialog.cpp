#include "plot/save_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace marvane {

std::pair<QString, QString> AskWhereToSave(QWidget* parent, const QString& suggested) {
  QString filter;
  const QString path = QFileDialog::getSaveFileName(
      parent, QStringLiteral("Save figure"), suggested,
      QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)"), &filter);
  if (path.isEmpty()) return {};
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png") || suffix == QLatin1String("svg") || suffix == QLatin1String("pdf")) {
    return {path, {}};
  }
  const QString kind = filter.startsWith(QLatin1String("SVG"))   ? QStringLiteral("svg")
                       : filter.startsWith(QLatin1String("PDF")) ? QStringLiteral("pdf")
                                                                 : QStringLiteral("png");
  return {path + '.' + kind, kind};
}

}  // namespace marvane
