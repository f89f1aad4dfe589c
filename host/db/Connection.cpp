#include "host/db/Connection.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <atomic>
#include <optional>

#include "host/db/DbError.h"
#include "host/db/SqlRun.h"
#include "host/db/SqlShape.h"
#include "host/db/SqlTokens.h"

namespace qalvoro {
namespace {

QString nextConnectionName() {
  static std::atomic<int> counter{0};
  return QStringLiteral("qalvoro-db-%1").arg(++counter);
}

// SQLite: readers and one writer work side by side, and a commit does not
// wait for the disk (a crash may lose the last commits, never the file).
// Media that cannot keep a log keep the classic journal.
void useWriteAheadLog(const QSqlDatabase& database) {
  QSqlQuery pragma(database);
  pragma.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
  pragma.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
}

// PostgreSQL: statements are prepared once per connection, but their plans
// follow the tables as they grow during an import (a plan made while a table
// was nearly empty would scan it whole ever after).
void planEveryExecution(const QSqlDatabase& database) {
  QSqlQuery setting(database);
  setting.exec(QStringLiteral("SET plan_cache_mode = force_custom_plan"));
}

// Opens the database of the target under the connection name; nothing is
// left registered when it fails.
void openDatabase(const QString& name, const ConnectionTarget& target) {
  QSqlError error;
  {
    QSqlDatabase database;
    if (target.engine == Engine::SQLite) {
      database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
      database.setDatabaseName(target.path);
      database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
      database = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
      database.setHostName(target.host);
      database.setPort(target.port);
      database.setDatabaseName(target.databaseName);
      database.setUserName(target.user);
      database.setPassword(target.password);
      database.setConnectOptions(QStringLiteral("connect_timeout=15"));
    }
    if (database.open()) {
      if (target.engine == Engine::SQLite) {
        useWriteAheadLog(database);
      } else {
        planEveryExecution(database);
      }
      return;
    }
    error = database.lastError();
  }
  QSqlDatabase::removeDatabase(name);
  throw toDbError(error);
}

// Whether the database keeps change counters: it has the table TableChanges.
bool hasChangeCounters(const QSqlDatabase& database, Engine engine) {
  QSqlQuery query = runSql(
      database, engine == Engine::SQLite
                    ? QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' "
                                     "AND name = 'TableChanges' COLLATE NOCASE")
                    : QStringLiteral("SELECT 1 WHERE to_regclass('tablechanges') IS NOT NULL"));
  return query.next();
}

DbError closedError() {
  return DbError(dberr::kObjectClosed,
                 QStringLiteral("Operation is not allowed when the object is closed."));
}

}  // namespace

Connection::Connection() : name_(nextConnectionName()) {}

Connection::~Connection() { close(); }

void Connection::open(const QString& connectionString, const QString& user,
                      const QString& password) {
  close();
  const ConnectionTarget target = ConnectionTarget::parse(connectionString, user, password);
  if (target.engine == Engine::SQLite && !QFileInfo(target.path).isFile()) {
    throw DbError(dberr::kUnspecified,
                  QStringLiteral("Could not find file '%1'.").arg(target.path));
  }
  openDatabase(name_, target);
  target_ = target;
}

void Connection::close() {
  statements_.clear();
  if (!QSqlDatabase::contains(name_)) return;
  QSqlDatabase::database(name_, false).close();
  QSqlDatabase::removeDatabase(name_);
  transactionDepth_ = 0;
  keys_.forget();
  countersKept_.reset();
  changes_.recordAll();
}

int Connection::state() const { return QSqlDatabase::contains(name_) ? 1 : 0; }

QSqlDatabase Connection::database() const {
  if (!isOpen()) throw closedError();
  return QSqlDatabase::database(name_, false);
}

QString Connection::rowKeyColumn(const QString& table) {
  return keys_.keyOf(database(), engine(), table);
}

bool Connection::keepsChangeCounters() {
  if (!countersKept_) countersKept_ = hasChangeCounters(database(), engine());
  return *countersKept_;
}

std::optional<qint64> Connection::changeCount(const QString& table) {
  if (!keepsChangeCounters()) return std::nullopt;
  QSqlQuery& query =
      runPrepared(QStringLiteral("SELECT COUNT(*), CAST(COALESCE(SUM(Changes), 0) AS BIGINT) "
                                 "FROM TableChanges WHERE TableName = ?"),
                  {sql::normalTableName(table)});
  std::optional<qint64> count;
  if (query.next() && query.value(0).toLongLong() > 0) count = query.value(1).toLongLong();
  query.finish();
  return count;
}

int Connection::execute(const QString& sql, const QVariantList& params) {
  return write(sql, params).rowsAffected;
}

QSqlQuery& Connection::runPrepared(const QString& sql, const QVariantList& params) {
  constexpr qsizetype kMostStatements = 256;
  auto found = statements_.find(sql);
  if (found == statements_.end()) {
    if (statements_.size() >= kMostStatements) statements_.clear();
    auto query = std::make_shared<QSqlQuery>(database());
    query->setForwardOnly(true);
    if (!query->prepare(sql)) throw toDbError(query->lastError());
    found = statements_.insert(sql, std::move(query));
  }
  QSqlQuery& query = **found;
  query.finish();
  for (qsizetype i = 0; i < params.size(); ++i) query.bindValue(int(i), bindable(params[i]));
  if (!query.exec()) {
    const DbError error = toDbError(query.lastError());
    statements_.erase(found);
    throw error;
  }
  return query;
}

std::optional<QSqlRecord> Connection::firstRow(const QString& sql, const QVariantList& params) {
  QSqlQuery& query = runPrepared(sql, params);
  std::optional<QSqlRecord> row;
  if (query.next()) row = query.record();
  query.finish();
  return row;
}

namespace {
// The shape of a statement text, worked out once per text.
const sql::WriteShape& shapeOf(const QString& sql) {
  constexpr qsizetype kMostShapes = 512;
  thread_local QHash<QString, sql::WriteShape> shapes;
  auto found = shapes.constFind(sql);
  if (found == shapes.cend()) {
    if (shapes.size() >= kMostShapes) shapes.clear();
    found = shapes.insert(sql, sql::analyseWrite(sql));
  }
  return *found;
}
}  // namespace

void Connection::failNthWriteFromEnvironment() {
  const int n = qEnvironmentVariableIntValue("QALVORO_FAIL_WRITE");
  if (n > 0) failNthWrite(n);
}

void Connection::countWrite(bool atomic) {
  const auto failsNow = [](int& countdown) { return countdown > 0 && --countdown == 0; };
  bool fails = failsNow(writesUntilFailure_);
  if (atomic) {
    ++writesInTransactions_;
    fails = failsNow(failWriteIn_) || fails;
  }
  if (fails) {
    throw DbError(dberr::kUnspecified, QStringLiteral("Write failed on purpose (test switch)."));
  }
}

Connection::WriteResult Connection::write(const QString& sql, const QVariantList& params,
                                          const QString& returning) {
  using Kind = sql::WriteShape::Kind;
  const QSqlDatabase db = database();
  const sql::WriteShape& shape = shapeOf(sql);
  WriteResult result;
  if (shape.kind == Kind::Query) {
    QSqlQuery& query = runPrepared(sql, params);
    result.rowsAffected = query.numRowsAffected();
    query.finish();
    return result;
  }
  countWrite(inTransaction());
  if (shape.kind == Kind::Other) {
    statements_.clear();
    result.rowsAffected = runSql(db, sql, params).numRowsAffected();
    keys_.forget();  // the schema may have changed
    countersKept_.reset();
    changes_.recordAll();
    return result;
  }
  const QString key = shape.canReturnKeys ? rowKeyColumn(shape.table) : QString();
  if (key.isEmpty()) {
    QSqlQuery& query = runPrepared(sql, params);
    result.rowsAffected = query.numRowsAffected();
    query.finish();
    changes_.recordTable(shape.table);
    return result;
  }
  QString returnedColumns = key;
  if (!returning.isEmpty()) returnedColumns += QStringLiteral(", ") + returning;
  QSqlQuery& query =
      runPrepared(shape.body + QStringLiteral(" RETURNING ") + returnedColumns, params);
  const int columns = returning.isEmpty() ? 1 : query.record().count();
  while (query.next()) {
    result.keys.push_back(query.value(0).toLongLong());
    if (returning.isEmpty()) continue;
    std::vector<QVariant>& values = result.returned.emplace_back();
    for (int i = 1; i < columns; ++i) {
      values.push_back(query.isNull(i) ? QVariant() : query.value(i));
    }
  }
  query.finish();
  result.rowsAffected = static_cast<int>(result.keys.size());
  recordWritten(shape.table, shape.kind == Kind::Delete, result.keys);
  return result;
}

void Connection::recordWritten(const QString& table, bool removed,
                               const std::vector<qint64>& keys) {
  for (const qint64 key : keys) {
    if (removed) {
      changes_.recordRemovedRow(table, key);
    } else {
      changes_.recordRow(table, key);
    }
  }
}

namespace {

// The write of a list a value stands for, when it was made by keyOf().
std::optional<int> keyedWrite(const QVariant& value) {
  if (value.metaType() != QMetaType::fromType<Connection::WriteKey>()) return std::nullopt;
  return value.value<Connection::WriteKey>().write;
}

DbError noKeyError(int write) {
  return DbError(dberr::kUnspecified,
                 QStringLiteral("Write %1 of the list inserted no single row.").arg(write));
}

}  // namespace

QVariant Connection::keyOf(int write) { return QVariant::fromValue(WriteKey{write}); }

std::vector<Connection::WriteResult> Connection::writeAll(const std::vector<Write>& writes) {
  if (writes.size() > 1 && engine() == Engine::PostgreSQL) {
    if (auto results = writeInOneStatement(writes)) return std::move(*results);
  }
  std::optional<Transaction> transaction;
  if (writes.size() > 1 && !inTransaction()) transaction.emplace(*this);
  std::vector<WriteResult> results;
  for (const Write& each : writes) {
    QVariantList params = each.params;
    for (QVariant& value : params) {
      const std::optional<int> earlier = keyedWrite(value);
      if (!earlier) continue;
      if (*earlier < 0 || *earlier >= static_cast<int>(results.size()) ||
          results[*earlier].keys.size() != 1) {
        throw noKeyError(*earlier);
      }
      value = results[*earlier].keys.front();
    }
    results.push_back(write(each.sql, params));
  }
  if (transaction) transaction->commit();
  return results;
}

// PostgreSQL: the writes as the WITH clauses w0, w1, ... of one statement,
// each returning the keys of its rows (0 for a table without a key), and a
// final query that lists them by write. Nothing when a write cannot be put
// in a WITH clause.
std::optional<std::vector<Connection::WriteResult>> Connection::writeInOneStatement(
    const std::vector<Write>& writes) {
  using Kind = sql::WriteShape::Kind;
  QString statement;
  QStringList lists;
  QVariantList params;
  // Each write's table, whether its rows have a key, and its kind.
  struct Written {
    QString table;
    bool keyed = false;
    Kind kind = Kind::Other;
  };
  std::vector<Written> written;
  for (std::size_t i = 0; i < writes.size(); ++i) {
    const sql::WriteShape& shape = shapeOf(writes[i].sql);
    if (!shape.canReturnKeys || shape.kind == Kind::Query || shape.kind == Kind::Other) {
      return std::nullopt;
    }
    const QString key = rowKeyColumn(shape.table);
    // The body with each value that names an earlier write's key replaced by
    // a query of that write's clause.
    QString body;
    qsizetype copied = 0;
    int place = 0;
    for (const sql::Token& token : sql::tokenize(shape.body, sql::Dialect::Sql)) {
      if (!token.isSymbol(QLatin1StringView("?"))) continue;
      const QVariant& value = writes[i].params.value(place++);
      const std::optional<int> earlier = keyedWrite(value);
      if (!earlier) {
        params << value;
        continue;
      }
      if (*earlier < 0 || *earlier >= static_cast<int>(i)) throw noKeyError(*earlier);
      body += shape.body.mid(copied, token.begin - copied) +
              QStringLiteral("(SELECT k FROM w%1)").arg(*earlier);
      copied = token.end;
    }
    body += shape.body.mid(copied);
    statement += QStringLiteral("%1w%2 AS (%3 RETURNING %4 AS k)")
                     .arg(i == 0 ? QStringLiteral("WITH ") : QStringLiteral(", "))
                     .arg(i)
                     .arg(body, key.isEmpty() ? QStringLiteral("CAST(0 AS BIGINT)")
                                              : QStringLiteral("CAST(%1 AS BIGINT)").arg(key));
    lists << QStringLiteral("SELECT %1, k FROM w%1").arg(i);
    written.push_back({shape.table, !key.isEmpty(), shape.kind});
  }
  for (std::size_t i = 0; i < writes.size(); ++i) countWrite(true);
  QSqlQuery& query =
      runPrepared(statement + QLatin1Char(' ') + lists.join(QStringLiteral(" UNION ALL ")), params);
  std::vector<WriteResult> results(writes.size());
  while (query.next()) {
    results[query.value(0).toInt()].keys.push_back(query.value(1).toLongLong());
  }
  query.finish();
  for (std::size_t i = 0; i < writes.size(); ++i) {
    WriteResult& result = results[i];
    result.rowsAffected = static_cast<int>(result.keys.size());
    const Written& write = written[i];
    if (!write.keyed) {
      changes_.recordTable(write.table);
      result.keys.clear();
      continue;
    }
    recordWritten(write.table, write.kind == Kind::Delete, result.keys);
  }
  return results;
}

void Connection::beginTrans() {
  if (inTransaction()) {
    throw DbError(dberr::kUnspecified, QStringLiteral("A transaction is already in progress."));
  }
  runSql(database(),
         engine() == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
  transactionDepth_ = 1;
}

void Connection::commitTrans() {
  if (!inTransaction()) {
    throw DbError(dberr::kUnspecified, QStringLiteral("No transaction is in progress."));
  }
  runSql(database(), QStringLiteral("COMMIT"));
  transactionDepth_ = 0;
}

void Connection::rollbackTrans() {
  if (!inTransaction()) {
    throw DbError(dberr::kUnspecified, QStringLiteral("No transaction is in progress."));
  }
  transactionDepth_ = 0;
  // The journal keeps the rows written in the transaction, but the counters
  // lose them: requeries read whole tables until they are in step again.
  changes_.recordAll();
  runSql(database(), QStringLiteral("ROLLBACK"));
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
  connection_.beginTrans();
}

Transaction::~Transaction() {
  if (!open_ || !connection_.inTransaction()) return;
  try {
    connection_.rollbackTrans();
  } catch (const DbError&) {
    // The connection is gone or the engine already ended the transaction.
  }
}

void Transaction::commit() {
  connection_.commitTrans();
  open_ = false;
}

}  // namespace qalvoro
