#include "plot/svg_device.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QPaintDevice>

namespace marvane {

namespace {

QString& ChosenPath() {
  static QString path;
  return path;
}

// The module's factory, loaded once for each path asked for; a library that
// loaded stays loaded (the devices it made run its code).
NewSvgDeviceFunction Factory(QString* error) {
  static QString loadedPath;
  static NewSvgDeviceFunction factory = nullptr;
  const QString path = SvgModulePath();
  if (factory != nullptr && path == loadedPath) return factory;
  QLibrary module(path);
  auto found = module.load() ? reinterpret_cast<NewSvgDeviceFunction>(module.resolve(kNewSvgDeviceSymbol)) : nullptr;
  if (found == nullptr) {
    if (error != nullptr) {
      *error = QStringLiteral("the SVG writer (%1) could not be loaded (%2); save the figure as PNG or PDF instead, "
                              "or reinstall the program")
                   .arg(path, module.errorString());
    }
    return nullptr;
  }
  loadedPath = path;
  factory = found;
  return factory;
}

}  // namespace

QString SvgModulePath() {
  if (!ChosenPath().isEmpty()) return ChosenPath();
  return QCoreApplication::applicationDirPath() + QStringLiteral("/" MARVANE_SVG_MODULE);
}

void SetSvgModulePath(const QString& path) { ChosenPath() = path; }

std::unique_ptr<QPaintDevice> NewSvgDevice(QIODevice* out, const SvgPage& page, QString* error) {
  const NewSvgDeviceFunction factory = Factory(error);
  if (factory == nullptr) return nullptr;
  return std::unique_ptr<QPaintDevice>(factory(out, &page));
}

}  // namespace marvane
