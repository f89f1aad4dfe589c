#include "host/db/SqlRun.h"

namespace qalvoro {

DbError toDbError(const QSqlError& error) {
  bool numeric = false;
  const long code = error.nativeErrorCode().toLong(&numeric);
  QString text = error.databaseText().trimmed();
  if (text.startsWith(QLatin1String("ERROR:"))) text = text.mid(6).trimmed();
  if (text.isEmpty()) text = error.driverText().trimmed();
  if (text.isEmpty()) text = QStringLiteral("Unknown database error.");
  return DbError(numeric ? code : dberr::kUnspecified, text);
}

QVariant bindable(const QVariant& value) {
  if (value.metaType().id() == QMetaType::QString && value.toString().isNull()) {
    return QVariant(QStringLiteral(""));
  }
  return value;
}

QSqlQuery runSql(const QSqlDatabase& database, const QString& sql, const QVariantList& params) {
  QSqlQuery query(database);
  query.setForwardOnly(true);
  bool ok = false;
  if (params.isEmpty()) {
    ok = query.exec(sql);
  } else if (query.prepare(sql)) {
    for (const QVariant& value : params) query.addBindValue(bindable(value));
    ok = query.exec();
  }
  if (!ok) throw toDbError(query.lastError());
  return query;
}

}  // namespace qalvoro
