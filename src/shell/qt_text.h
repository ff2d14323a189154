#pragma once

// Texts between the standard library and Qt, in UTF-8 both ways: the one
// home of these conversions.

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace marvane {

inline QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

inline std::string Std(const QString& s) { return s.toStdString(); }

inline QStringList Q(const std::vector<std::string>& texts) {
  QStringList out;
  for (const std::string& s : texts) out << Q(s);
  return out;
}

}  // namespace marvane
