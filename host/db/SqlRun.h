#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include "host/db/DbError.h"

namespace qalvoro {

// The error a failed driver call raises: the engine's own code when it is a
// number, its message as the description.
DbError toDbError(const QSqlError& error);

// A value as it is bound: a null QString is empty text (only an invalid
// QVariant is Null).
QVariant bindable(const QVariant& value);

// Runs one statement with the values bound to its ? in order; raises DbError.
// The result is read forward only.
QSqlQuery runSql(const QSqlDatabase& database, const QString& sql, const QVariantList& params = {});

}  // namespace qalvoro
