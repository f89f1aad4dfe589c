#include "v1source/convert/SqliteWriter.h"

#include <QFile>
#include <QStringList>

#include "v1source/convert/ConversionError.h"

namespace qalvoro::v1 {
namespace {

QString quoted(const QString& identifier) {
  return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
         QLatin1Char('"');
}

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

}  // namespace

SqliteWriter::SqliteWriter(const QString& path) : path_(path) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  db_.reset(db);
  if (rc != SQLITE_OK) fail(QStringLiteral("cannot create it"));
  execute(QStringLiteral("PRAGMA journal_mode=OFF"));
  execute(QStringLiteral("PRAGMA synchronous=OFF"));
  execute(QStringLiteral("BEGIN"));
}

void SqliteWriter::createTable(const QString& name, const std::vector<JetColumn>& columns) {
  table_ = name;
  insert_.reset();
  QStringList definitions;
  QStringList parameters;
  for (const JetColumn& column : columns) {
    definitions << quoted(column.name) + QLatin1Char(' ') + declaredType(column);
    parameters << QStringLiteral("?");
  }
  execute(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(name), definitions.join(u", ")));
  const QByteArray sql = QStringLiteral("INSERT INTO %1 VALUES (%2)")
                             .arg(quoted(name), parameters.join(u", "))
                             .toUtf8();
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_.get(), sql.constData(), int(sql.size()), &statement, nullptr) !=
      SQLITE_OK) {
    fail(QStringLiteral("table '%1'").arg(name));
  }
  insert_.reset(statement);
}

void SqliteWriter::insertRow(const std::vector<Value>& row) {
  sqlite3_stmt* statement = insert_.get();
  for (size_t i = 0; i < row.size(); ++i) {
    const int index = int(i) + 1;
    // The values outlive the step below, so SQLite need not copy them.
    std::visit(Overloaded{
                   [&](std::monostate) { sqlite3_bind_null(statement, index); },
                   [&](qint64 number) { sqlite3_bind_int64(statement, index, number); },
                   [&](double number) { sqlite3_bind_double(statement, index, number); },
                   [&](const QString& text) {
                     sqlite3_bind_text16(statement, index, text.utf16(), int(text.size() * 2),
                                         SQLITE_STATIC);
                   },
                   [&](const QByteArray& bytes) {
                     sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()),
                                       SQLITE_STATIC);
                   },
               },
               row[i]);
  }
  if (sqlite3_step(statement) != SQLITE_DONE) fail(QStringLiteral("table '%1'").arg(table_));
  sqlite3_reset(statement);
}

void SqliteWriter::commit() {
  insert_.reset();
  execute(QStringLiteral("COMMIT"));
  db_.reset();
}

void SqliteWriter::execute(const QString& sql) {
  if (sqlite3_exec(db_.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    fail(table_.isEmpty() ? QStringLiteral("starting it")
                          : QStringLiteral("table '%1'").arg(table_));
  }
}

void SqliteWriter::fail(const QString& what) const {
  const QString reason = db_ ? QString::fromUtf8(sqlite3_errmsg(db_.get())) : QString();
  throw ConversionError(converr::kDiskError,
                        QStringLiteral("Disk or network error: cannot write the working copy "
                                       "'%1' (%2): %3.")
                            .arg(path_, what, reason));
}

}  // namespace qalvoro::v1
