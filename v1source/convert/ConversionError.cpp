#include "v1source/convert/ConversionError.h"

namespace qalvoro::v1 {

ConversionError::ConversionError(long number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

ReadError::ReadError(const QString& reason, long number)
    : std::runtime_error(reason.toStdString()), number_(number), reason_(reason) {}

void Damage::meet(const ReadError& error) {
  if (refuses()) throw error;
  if (firstProblem_.isEmpty()) firstProblem_ = error.reason();
}

QString damagedFileMessage(const QString& path, const QString& where, const QString& reason) {
  return QStringLiteral("The database '%1' is damaged and cannot be converted: %2: %3.")
      .arg(path, where, reason);
}

QString leftOutRowsMessage(const QString& where, quint64 copied, quint64 counted,
                           const QString& problem) {
  const QString rows = QStringLiteral("%1: %2 rows copied, its definition counts %3")
                           .arg(where)
                           .arg(copied)
                           .arg(counted);
  return problem.isEmpty() ? rows + u'.' : QStringLiteral("%1 (%2).").arg(rows, problem);
}

QString leftOutMessage(const QString& what, const QString& problem) {
  return QStringLiteral("%1 left out (%2).").arg(what, problem);
}

}  // namespace qalvoro::v1
