#include "host/db/TableKeys.h"

#include <QSqlDriver>

#include "host/db/SqlRun.h"
#include "host/db/SqlTokens.h"

namespace qalvoro {
namespace {

QString sqliteKey(const QSqlDatabase& database, const QString& table) {
  QSqlQuery query = runSql(
      database, QStringLiteral("SELECT type, sql FROM sqlite_master WHERE name = ? COLLATE NOCASE"),
      {sql::normalTableName(table)});
  if (!query.next() || query.value(0).toString() != QLatin1String("table")) return {};
  if (query.value(1).toString().contains(QLatin1String("WITHOUT ROWID"), Qt::CaseInsensitive)) {
    return {};
  }
  return QStringLiteral("rowid");
}

QString postgresKey(const QSqlDatabase& database, const QString& table) {
  QSqlQuery query = runSql(
      database,
      QStringLiteral("SELECT a.attname FROM pg_index i JOIN pg_attribute a "
                     "ON a.attrelid = i.indrelid AND a.attnum = i.indkey[0] "
                     "WHERE i.indrelid = to_regclass(?) AND i.indisprimary AND i.indnatts = 1 "
                     "AND a.atttypid IN ('int2'::regtype, 'int4'::regtype, 'int8'::regtype)"),
      {table});
  if (!query.next()) return {};
  return database.driver()->escapeIdentifier(query.value(0).toString(), QSqlDriver::FieldName);
}

}  // namespace

QString TableKeys::keyOf(const QSqlDatabase& database, Engine engine, const QString& table) {
  const QString name = table.trimmed();
  const auto found = known_.constFind(name);
  if (found != known_.cend()) return *found;
  const QString key =
      engine == Engine::SQLite ? sqliteKey(database, name) : postgresKey(database, name);
  known_.insert(name, key);
  return key;
}

}  // namespace qalvoro
