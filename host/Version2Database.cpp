#include "host/Version2Database.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/DbError.h"
#include "host/db/Recordset.h"

namespace qalvoro {
namespace {

QString resourceText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw DbError(dberr::kUnspecified, QStringLiteral("Missing schema resource %1").arg(path));
  }
  return QString::fromUtf8(file.readAll());
}

// Statements of a script: each ends with ";" at the end of a line, outside
// a body quoted with "$$"; lines starting with "--" are comments.
QStringList statementsOf(const QString& script) {
  QStringList statements;
  QString current;
  bool inBody = false;
  for (const QString& line : script.split('\n')) {
    if (!inBody && line.trimmed().startsWith(QLatin1String("--"))) continue;
    current += line + '\n';
    if (line.count(QLatin1String("$$")) % 2 == 1) inBody = !inBody;
    if (!inBody && line.trimmed().endsWith(';')) {
      statements << current.trimmed().chopped(1);
      current.clear();
    }
  }
  if (!current.trimmed().isEmpty()) statements << current.trimmed();
  return statements;
}

void runScript(Connection& connection, const QString& resource) {
  for (const QString& statement : statementsOf(resourceText(resource))) {
    connection.execute(statement);
  }
}

void prepareSqliteFile(const ConnectionTarget& target) {
  if (QFileInfo::exists(target.path)) {
    throw DbError(dberr::kUnspecified,
                  QStringLiteral("The file %1 already exists.").arg(target.path));
  }
  QFile file(target.path);
  if (!file.open(QIODevice::WriteOnly)) {
    throw DbError(dberr::kUnspecified,
                  QStringLiteral("Cannot create %1: %2").arg(target.path, file.errorString()));
  }
}

QString postgresUrl(const ConnectionTarget& target, const QString& databaseName) {
  return QStringLiteral("postgresql://%1:%2@%3:%4/%5")
      .arg(QString::fromLatin1(QUrl::toPercentEncoding(target.user)),
           QString::fromLatin1(QUrl::toPercentEncoding(target.password)), target.host,
           QString::number(target.port), databaseName);
}

void preparePostgresDatabase(const ConnectionTarget& target) {
  static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
  if (!identifier.match(target.databaseName).hasMatch()) {
    throw DbError(dberr::kUnspecified,
                  QStringLiteral("Unusable database name: %1").arg(target.databaseName));
  }
  Connection server;
  server.open(postgresUrl(target, QStringLiteral("postgres")));
  Recordset existing;
  existing.open(QStringLiteral("SELECT datname FROM pg_database WHERE datname = ?"), server,
                LockType::ReadOnly, {target.databaseName.toLower()});
  // The name was checked above: an identifier cannot be a bound value.
  if (existing.recordCount() == 0) server.execute("CREATE DATABASE " + target.databaseName);
}

void requireNoTables(Connection& connection) {
  Recordset tables;
  tables.open(QStringLiteral("SELECT COUNT(*) AS n FROM information_schema.tables "
                             "WHERE table_schema = 'public'"),
              connection);
  if (tables.value(QStringLiteral("n")).toInt() > 0) {
    throw DbError(dberr::kUnspecified, QStringLiteral("The database %1 already holds tables.")
                                           .arg(connection.target().databaseName));
  }
}

}  // namespace

void createVersion2Database(const QString& connectionString, bool demo) {
  const ConnectionTarget target =
      ConnectionTarget::parse(connectionString, QStringLiteral("sa"), DbPassword);
  const bool sqlite = target.engine == Engine::SQLite;
  if (sqlite) {
    prepareSqliteFile(target);
  } else {
    preparePostgresDatabase(target);
  }
  try {
    Connection connection;
    connection.open(connectionString, QStringLiteral("sa"), DbPassword);
    if (!sqlite) requireNoTables(connection);
    Transaction transaction(connection);
    runScript(connection, sqlite ? QStringLiteral(":/schema/sqlite.sql")
                                 : QStringLiteral(":/schema/postgresql.sql"));
    if (demo) runScript(connection, QStringLiteral(":/schema/demo.sql"));
    transaction.commit();
  } catch (const DbError&) {
    if (sqlite) QFile::remove(target.path);  // no half-made database is left behind
    throw;
  }
}

}  // namespace qalvoro
