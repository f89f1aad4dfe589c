#include "host/db/Connection.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <algorithm>
#include <atomic>
#include <optional>

#include "host/db/DbError.h"
#include "host/db/SqlRun.h"
#include "host/db/SqlShape.h"
#include "host/db/SqlTokens.h"
#include "host/db/TableGrowth.h"

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

// PostgreSQL: statements are prepared once per connection, and a statement
// run again and again is planned once for all values where that plan costs
// no more than planning it for each (the server's own rule, whatever its
// default). Connection has the plans made again as the tables it fills grow
// (see TableGrowth): a plan made while a table was nearly empty would
// otherwise scan it whole, or by a lesser index, ever after.
void planForReuse(const QSqlDatabase& database) {
  QSqlQuery setting(database);
  setting.exec(QStringLiteral("SET plan_cache_mode = auto"));
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
        planForReuse(database);
      }
      return;
    }
    error = database.lastError();
  }
  QSqlDatabase::removeDatabase(name);
  throw toDbError(error);
}

// The tables whose changes the database counts: those named in its table
// TableChanges; none when it has no such table.
QSet<QString> readCountedTables(const QSqlDatabase& database, Engine engine) {
  QSqlQuery exists = runSql(
      database, engine == Engine::SQLite
                    ? QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' "
                                     "AND name = 'TableChanges' COLLATE NOCASE")
                    : QStringLiteral("SELECT 1 WHERE to_regclass('tablechanges') IS NOT NULL"));
  if (!exists.next()) return {};
  QSqlQuery names = runSql(database, QStringLiteral("SELECT DISTINCT TableName FROM TableChanges"));
  QSet<QString> tables;
  while (names.next()) tables.insert(names.value(0).toString());
  return tables;
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
  pipelineStatements_.forget();
  if (!QSqlDatabase::contains(name_)) return;
  QSqlDatabase::database(name_, false).close();
  QSqlDatabase::removeDatabase(name_);
  transactionDepth_ = 0;
  keys_.forget();
  countedTables_.reset();
  changes_.recordAll();
  growth_ = {};
  counters_ = {};
}

int Connection::state() const { return QSqlDatabase::contains(name_) ? 1 : 0; }

QSqlDatabase Connection::database() const {
  if (!isOpen()) throw closedError();
  return QSqlDatabase::database(name_, false);
}

QString Connection::rowKeyColumn(const QString& table) {
  return keys_.keyOf(database(), engine(), table);
}

bool Connection::keepsChangeCounters() { return !countedTables().isEmpty(); }

const QSet<QString>& Connection::countedTables() {
  if (!countedTables_) countedTables_ = readCountedTables(database(), engine());
  return *countedTables_;
}

std::optional<qint64> Connection::changeCount(const QString& table) {
  const QString name = sql::normalTableName(table);
  const auto counts = changeCounts({name});
  if (!counts || !counts->contains(name)) return std::nullopt;
  return counts->value(name);
}

namespace {
// The query of the change counters of count tables.
QString countersQuery(qsizetype count) {
  return QStringLiteral(
             "SELECT TableName, CAST(SUM(Changes) AS BIGINT) FROM TableChanges "
             "WHERE TableName IN (%1) GROUP BY TableName")
      .arg(QStringList(count, QStringLiteral("?")).join(QLatin1Char(',')));
}
}  // namespace

std::optional<QHash<QString, qint64>> Connection::changeCounts(const QStringList& tables) {
  if (!keepsChangeCounters()) return std::nullopt;
  if (engine() == Engine::PostgreSQL) {
    counters_.watch(tables);
    if (auto counts = counters_.take(tables)) return counts;
  }
  QSqlQuery& query =
      runPrepared(countersQuery(tables.size()), QVariantList(tables.cbegin(), tables.cend()));
  QHash<QString, qint64> counts;
  while (query.next()) counts.insert(query.value(0).toString(), query.value(1).toLongLong());
  query.finish();
  return counts;
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
// The values of the current row's columns from first to columns - 1 (Null
// as an invalid QVariant).
std::vector<QVariant> rowValues(const QSqlQuery& query, int first, int columns) {
  std::vector<QVariant> values;
  for (int i = first; i < columns; ++i) {
    values.push_back(query.isNull(i) ? QVariant() : query.value(i));
  }
  return values;
}

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

void Connection::countWrite(bool atomic, const sql::WriteShape& shape) {
  counters_.wrote(shape.kind == sql::WriteShape::Kind::Other ? QString()
                                                             : sql::normalTableName(shape.table));
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
    const int columns = query.record().count();
    while (query.next()) result.returned.push_back(rowValues(query, 0, columns));
    query.finish();
    return result;
  }
  countWrite(inTransaction(), shape);
  if (shape.kind == Kind::Other) {
    statements_.clear();
    result.rowsAffected = runSql(db, sql, params).numRowsAffected();
    keys_.forget();  // the schema may have changed
    countedTables_.reset();
    changes_.recordAll();
    return result;
  }
  const QString key = shape.canReturnKeys ? rowKeyColumn(shape.table) : QString();
  if (key.isEmpty()) {
    QSqlQuery& query = runPrepared(sql, params);
    result.rowsAffected = query.numRowsAffected();
    query.finish();
    changes_.recordTable(shape.table);
    if (shape.kind == Kind::Insert) noteInserted(shape.table, result.rowsAffected);
    return result;
  }
  QString returnedColumns = key;
  if (!returning.isEmpty()) returnedColumns += QStringLiteral(", ") + returning;
  QSqlQuery& query =
      runPrepared(shape.body + QStringLiteral(" RETURNING ") + returnedColumns, params);
  const int columns = returning.isEmpty() ? 1 : query.record().count();
  while (query.next()) {
    result.keys.push_back(query.value(0).toLongLong());
    if (!returning.isEmpty()) result.returned.push_back(rowValues(query, 1, columns));
  }
  query.finish();
  result.rowsAffected = static_cast<int>(result.keys.size());
  recordWritten(shape.table, shape.kind == Kind::Delete, result.keys);
  if (shape.kind == Kind::Insert) noteInserted(shape.table, result.rowsAffected);
  return result;
}

void Connection::noteInserted(const QString& table, qint64 rows) {
  if (engine() != Engine::PostgreSQL) return;
  growth_.add(sql::normalTableName(table), rows);
  if (!growth_.due()) return;
  // The write is kept whatever this does: on failure the plans are made
  // again after a later write.
  QSqlQuery discard(database());
  if (discard.exec(QStringLiteral("DISCARD PLANS"))) growth_.planned();
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
  // On PostgreSQL one write alone goes as a pipeline too when counters are
  // read with pipelines: the reading then costs no round trip of its own.
  if (engine() == Engine::PostgreSQL &&
      (writes.size() > 1 || (!writes.empty() && counters_.watching()))) {
    if (auto results = writeInPipeline(writes)) return std::move(*results);
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

namespace {

// A value as text for a pipeline statement, as the driver would bind it:
// false for a type that writes do not bind.
bool pipelineText(const QVariant& bound, std::optional<QByteArray>& text) {
  const QVariant value = bindable(bound);
  text.reset();
  if (!value.isValid() || value.isNull()) return true;
  switch (value.metaType().id()) {
    case QMetaType::Bool:
      text = value.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
      return true;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QString:
      text = value.toString().toUtf8();
      return true;
    case QMetaType::QDate:
      if (value.toDate().isValid()) text = value.toDate().toString(Qt::ISODate).toUtf8();
      return true;
    default:
      return false;
  }
}

// A column name as the catalogue holds it.
QString unquoted(const QString& column) {
  if (column.size() >= 2 && column.startsWith(QLatin1Char('"')) &&
      column.endsWith(QLatin1Char('"'))) {
    return column.mid(1, column.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
  }
  return column;
}

// A write of a pipeline: its shape and its table's key column (empty when
// the table has none or the write is a query).
struct PipedWrite {
  sql::WriteShape shape;
  QString key;
};

// The earlier write's row key, read on the server from the sequence of its
// table's key: that row's as long as no write in between inserts into the
// same table. Nothing when one does.
std::optional<std::pair<QByteArray, QByteArray>> insertedKeySource(
    int earlier, const std::vector<PipedWrite>& before) {
  using Kind = sql::WriteShape::Kind;
  if (earlier < 0 || earlier >= static_cast<int>(before.size()) || before[earlier].key.isEmpty() ||
      before[earlier].shape.kind != Kind::Insert) {
    throw noKeyError(earlier);
  }
  const QString table = sql::normalTableName(before[earlier].shape.table);
  for (std::size_t between = earlier + 1; between < before.size(); ++between) {
    const sql::WriteShape& shape = before[between].shape;
    if (shape.kind == Kind::Insert && sql::normalTableName(shape.table) == table) {
      return std::nullopt;
    }
  }
  return std::pair{before[earlier].shape.table.toUtf8(), unquoted(before[earlier].key).toUtf8()};
}

// A write as a statement of a pipeline, with $1, $2, ... for its values and
// returning the keys of its rows when its table has a key (piped.key).
// Nothing when it cannot be one.
std::optional<pg::PipelineStatement> pipelineStatement(const Connection::Write& write,
                                                       const PipedWrite& piped,
                                                       const std::vector<PipedWrite>& before) {
  pg::PipelineStatement statement;
  const auto bind = [&statement](std::optional<QByteArray> text) {
    statement.values.push_back(std::move(text));
    return QStringLiteral("$%1").arg(statement.values.size());
  };
  const QString& sql = piped.shape.body;
  QString body;
  qsizetype copied = 0;
  int place = 0;
  for (const sql::Token& token : sql::tokenize(sql, sql::Dialect::Sql)) {
    if (!token.isSymbol(QLatin1StringView("?"))) continue;
    const QVariant& value = write.params.value(place++);
    QString replacement;
    if (const std::optional<int> earlier = keyedWrite(value)) {
      const auto source = insertedKeySource(*earlier, before);
      if (!source) return std::nullopt;
      replacement = QStringLiteral("currval(pg_get_serial_sequence(%1, %2))")
                        .arg(bind(source->first), bind(source->second));
    } else {
      std::optional<QByteArray> text;
      if (!pipelineText(value, text)) return std::nullopt;
      replacement = bind(std::move(text));
    }
    body += sql.mid(copied, token.begin - copied) + replacement;
    copied = token.end;
  }
  body += sql.mid(copied);
  if (!piped.key.isEmpty()) body += QStringLiteral(" RETURNING CAST(%1 AS BIGINT)").arg(piped.key);
  statement.sql = body.toUtf8();
  return statement;
}

}  // namespace

// PostgreSQL: the writes as the statements of one pipeline. Nothing when a
// write cannot go in one.
std::optional<std::vector<Connection::WriteResult>> Connection::writeInPipeline(
    const std::vector<Write>& writes) {
  using Kind = sql::WriteShape::Kind;
  std::vector<pg::PipelineStatement> statements;
  std::vector<PipedWrite> piped;
  for (const Write& write : writes) {
    PipedWrite each{shapeOf(write.sql), {}};  // a copy: the cache of shapes may move
    const bool query = each.shape.kind == Kind::Query;
    if (!query && (!each.shape.canReturnKeys || each.shape.kind == Kind::Other)) {
      return std::nullopt;
    }
    if (!query) each.key = rowKeyColumn(each.shape.table);
    auto statement = pipelineStatement(write, each, piped);
    if (!statement) return std::nullopt;
    statements.push_back(std::move(*statement));
    piped.push_back(std::move(each));
  }
  // A write failed by the test switches fails on the server after the ones
  // before it have run, so that the server is seen to keep none of them.
  std::optional<DbError> planted;
  for (std::size_t i = 0; i < writes.size() && !planted; ++i) {
    try {
      countWrite(true, piped[i].shape);
    } catch (const DbError& error) {
      planted = error;
      statements.resize(i);
      statements.push_back({QByteArrayLiteral("SELECT 1 / 0"), {}});
    }
  }
  // The counters asked for before are read again at the end, after the
  // writes and in their transaction, when they change a counted table (not
  // only a table lock's row, say).
  QStringList watched;
  const auto changesCounted = [&](const PipedWrite& write) {
    return write.shape.kind != Kind::Query &&
           countedTables().contains(sql::normalTableName(write.shape.table));
  };
  if (!planted && std::any_of(piped.cbegin(), piped.cend(), changesCounted)) {
    watched = counters_.watched();
  }
  if (!watched.isEmpty()) {
    const Write reading{countersQuery(watched.size()),
                        QVariantList(watched.cbegin(), watched.cend())};
    statements.push_back(*pipelineStatement(reading, {shapeOf(reading.sql), {}}, {}));
  }
  std::optional<std::vector<pg::PipelineResult>> run;
  try {
    run = pg::runPipeline(database(), statements, pipelineStatements_);
  } catch (const DbError&) {
    if (planted) throw *planted;
    throw;
  }
  if (!run) return std::nullopt;
  if (!watched.isEmpty()) {
    QHash<QString, qint64> counts;
    for (const std::vector<QByteArray>& row : run->back().rows) {
      counts.insert(QString::fromUtf8(row.at(0)), row.at(1).toLongLong());
    }
    counters_.store(watched, std::move(counts));
  }
  std::vector<WriteResult> results(writes.size());
  for (std::size_t i = 0; i < writes.size(); ++i) {
    const sql::WriteShape& shape = piped[i].shape;
    results[i].rowsAffected = (*run)[i].rowsAffected;
    if (shape.kind == Kind::Query) {
      for (const std::vector<QByteArray>& row : (*run)[i].rows) {
        std::vector<QVariant>& values = results[i].returned.emplace_back();
        for (const QByteArray& value : row) {
          values.push_back(value.isNull() ? QVariant() : QVariant(QString::fromUtf8(value)));
        }
      }
      continue;
    }
    if (shape.kind == Kind::Insert) noteInserted(shape.table, results[i].rowsAffected);
    if (piped[i].key.isEmpty()) {
      changes_.recordTable(shape.table);
      continue;
    }
    for (const std::vector<QByteArray>& row : (*run)[i].rows) {
      results[i].keys.push_back(row.at(0).toLongLong());
    }
    recordWritten(shape.table, shape.kind == Kind::Delete, results[i].keys);
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
  counters_.wrote();
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
