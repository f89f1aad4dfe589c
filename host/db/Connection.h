#pragma once

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <optional>
#include <vector>

#include "host/db/ChangeJournal.h"
#include "host/db/ConnectionString.h"
#include "host/db/CounterReadings.h"
#include "host/db/PgPipeline.h"
#include "host/db/TableGrowth.h"
#include "host/db/TableKeys.h"

namespace qalvoro::sql {
struct WriteShape;
}

namespace qalvoro {

// A connection to one database (the version-2 database, LTR.DRV or the
// version-1 working copy). Every statement runs at once; errors raise DbError.
class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens the database named by a connection string (see ConnectionString).
  // user and password are used where the string itself names none.
  void open(const QString& connectionString, const QString& user = {},
            const QString& password = {});
  void close();
  // 1 while open, 0 when closed.
  int state() const;
  bool isOpen() const { return state() == 1; }

  // Runs one INSERT, UPDATE or DELETE (or DDL) statement with bound values.
  // Returns the number of rows affected.
  int execute(const QString& sql, const QVariantList& params = {});

  // What a write did: the rows affected and, for a single-table INSERT,
  // UPDATE or DELETE on a table with a key column, the keys of those rows
  // and the values of the returning list for each; for a query, its rows.
  struct WriteResult {
    int rowsAffected = 0;
    std::vector<qint64> keys;
    std::vector<std::vector<QVariant>> returned;
  };
  // execute() with the keys: every statement runs through here, and every
  // row it writes is recorded in changes(). returning lists the columns to
  // read back from the written rows (SQL, comma separated); read only when
  // the keys are.
  WriteResult write(const QString& sql, const QVariantList& params = {},
                    const QString& returning = {});

  // A write of writeAll(): a statement with its bound values. A value made
  // by keyOf(k) stands for the key of the one row that the k-th write of
  // the list (counted from 0) inserted.
  struct Write {
    QString sql;
    QVariantList params;
  };
  struct WriteKey {
    int write = 0;
  };
  static QVariant keyOf(int write);
  // Runs writes that belong together, so that all of them or none are kept:
  // a single write as it is; several in one transaction on SQLite (the
  // caller's when one is open), and on PostgreSQL as one pipeline: sent
  // together and answered in one round trip, in one transaction (the
  // caller's when one is open). On PostgreSQL a single write goes as a
  // pipeline too when the pipelines read counters (CounterReadings).
  // Returns what each did.
  std::vector<WriteResult> writeAll(const std::vector<Write>& writes);

  // One transaction at a time: beginTrans inside one, or commit/rollback
  // outside one, raises. On SQLite the write lock is taken at begin, so that
  // processes sharing the file wait for each other (busy timeout 5 s).
  void beginTrans();
  void commitTrans();
  void rollbackTrans();
  bool inTransaction() const { return transactionDepth_ > 0; }
  // For tests: how many write statements have run inside transactions (the
  // writes of one writeAll() count as such on both engines), and
  // failWriteInTransaction counted among those only: the count-th one from
  // now (1 the next) raises instead of running; 0 turns it off.
  int writesInTransactions() const { return writesInTransactions_; }
  void failWriteInTransaction(int count) { failWriteIn_ = count; }

  Engine engine() const { return target_.engine; }
  const ConnectionTarget& target() const { return target_; }
  // Raises kObjectClosed when closed. Do not keep the handle: the connection
  // is removed when this object closes.
  QSqlDatabase database() const;
  // Rows changed through this connection, so that recordsets can requery
  // without reading whole tables again.
  ChangeJournal& changes() { return changes_; }
  // The column that tells a table's rows apart (see TableKeys); empty when
  // the table has none.
  QString rowKeyColumn(const QString& table);
  // The table's change counter: how many rows every writer of the database
  // (this connection, other connections and processes, other workstations)
  // has inserted, updated or deleted in it, as far as this connection can
  // see their commits. Kept by the triggers of the version-2 schema in table
  // TableChanges; nothing when the database keeps no counter for the table
  // (the version-1 working copy, LTR.DRV, LockTables, tables made outside
  // the schema).
  std::optional<qint64> changeCount(const QString& table);
  // The change counters of several tables in one reading, by their names
  // as sql::normalTableName gives them; a table without a counter is left
  // out. Nothing when the database keeps no counters. On PostgreSQL the
  // tables asked for are read again at the end of each pipeline, and a
  // fresh reading answers without a round trip (see CounterReadings).
  std::optional<QHash<QString, qint64>> changeCounts(const QStringList& tables);
  // Whether the database keeps change counters (asked once per opening).
  bool keepsChangeCounters();
  // The tables the database keeps change counters of, by their names as
  // sql::normalTableName gives them (asked once per opening).
  const QSet<QString>& countedTables();

  // The first row of a query (read-only, values bound), or nothing when it
  // has none. For single-value lookups: no recordset is built.
  std::optional<QSqlRecord> firstRow(const QString& sql, const QVariantList& params = {});

  // Runs a statement through a prepared query kept for its text, so that
  // statements repeated per record are parsed and planned once. The caller
  // reads the result at once (forward only) and runs nothing else on the
  // same text before it is done; raises DbError.
  QSqlQuery& runPrepared(const QString& sql, const QVariantList& params = {});

  // For tests of what a failing write leaves behind: the n-th write
  // statement from now (1 = the next; INSERT, UPDATE, DELETE or DDL, not
  // SELECT) raises a DbError before it runs, as a database error would;
  // every later one runs. 0 turns it off.
  void failNthWrite(int n) { writesUntilFailure_ = n; }
  // failNthWrite(n) when the environment variable QALVORO_FAIL_WRITE holds a
  // positive n: how a test fails a child process's n-th write.
  void failNthWriteFromEnvironment();

 private:
  // Counts a write for the test switches, and for the counter readings it
  // makes stale; atomic when it runs with others as one (in a transaction or
  // one pipeline).
  void countWrite(bool atomic, const sql::WriteShape& shape);
  std::optional<std::vector<WriteResult>> writeInPipeline(const std::vector<Write>& writes);
  // Notes the rows a write inserted or updated, or removed, in the journal.
  void recordWritten(const QString& table, bool removed, const std::vector<qint64>& keys);
  // PostgreSQL: counts rows inserted into the table, and has the server make
  // its plans again when a table has grown enough (see TableGrowth).
  void noteInserted(const QString& table, qint64 rows);

  QString name_;
  ConnectionTarget target_;
  QHash<QString, std::shared_ptr<QSqlQuery>> statements_;
  pg::PreparedStatements pipelineStatements_;
  ChangeJournal changes_;
  TableKeys keys_;
  TableGrowth growth_;
  CounterReadings counters_;
  std::optional<QSet<QString>> countedTables_;  // see countedTables()
  int transactionDepth_ = 0;
  int writesUntilFailure_ = 0;
  int writesInTransactions_ = 0;
  int failWriteIn_ = 0;
};

// Begins a transaction and rolls it back unless commit() was called: a
// database error leaves nothing half-written.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Connection& connection_;
  bool open_ = true;
};

}  // namespace qalvoro

Q_DECLARE_METATYPE(qalvoro::Connection::WriteKey)
