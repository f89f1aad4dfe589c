#include "host/db/DbError.h"

namespace qalvoro {

DbError::DbError(long number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

}  // namespace qalvoro
