#include "v1source/convert/ConversionError.h"

namespace qalvoro::v1 {

ConversionError::ConversionError(long number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

ReadError::ReadError(const QString& reason, long number)
    : std::runtime_error(reason.toStdString()), number_(number), reason_(reason) {}

QString damagedFileMessage(const QString& path, const QString& where, const QString& reason) {
  return QStringLiteral("The database '%1' is damaged and cannot be converted: %2: %3.")
      .arg(path, where, reason);
}

}  // namespace qalvoro::v1
