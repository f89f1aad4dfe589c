#pragma once

#include <QString>
#include <QVariantList>
#include <functional>
#include <utility>
#include <vector>

#include "host/db/Connection.h"

namespace qalvoro {

class Recordset;

// Small routines over MainConnection that every writer of the version-2
// database shares. Conditions are SQL text whose values are bound from
// params ("TableName = ?"). Errors are not caught: they reach the caller.

// The lock protocol of table LockTables. Action "UnLock" (exactly) frees the
// lock; any other action takes a free lock at once, else waits while the
// lock is held, at most 15 seconds on a monotonic clock, polling briefly,
// and then takes it whether or not it was freed. A lock name without a row
// cannot be taken (type mismatch).
void SetTableLock(const QString& action, const QString& name);
// The write that frees the lock (SetTableLock "UnLock"), to run together with
// other writes (Connection::writeAll).
Connection::Write UnlockWrite(const QString& name);

// Takes the table lock (SetTableLock "Lock") and reads the first row of a
// query under it; nothing when the query finds none. On PostgreSQL a free
// lock is taken in the read's own round trip: the lock's update, then the
// query, in one pipeline. When another holds the lock, that read is
// dropped; the lock is waited for and the query run again. A read that
// fails leaves the lock free.
std::optional<std::vector<QVariant>> LockAndRead(const QString& name, const QString& sql,
                                                 const QVariantList& params);

// Runs writes that a table lock guards and that read nothing under it,
// then the lock's end, then the writes after it, as one
// (Connection::writeAll); the writes after may name the keys of the writes
// before. On PostgreSQL a free lock is taken and given back in the writes'
// own round trip: a statement at their end holds the lock row until they
// are kept, and fails them all when another holds the lock; they then wait
// for it as SetTableLock does. Returns what each write did, the guarded
// ones first.
std::vector<Connection::WriteResult> WriteUnderLock(
    const QString& name, std::vector<Connection::Write> writes,
    const std::vector<Connection::Write>& after = {});

// The value of field (a column name, or an expression with a closing
// parenthesis whose first column is read) in the first row of table that
// meets condition, as text: yes/no as True/False and dates as yyyy/mm/dd on
// either engine; empty when there is no row or the value is Null.
QString LookupValue(const QString& table, const QString& field, const QString& condition = {},
                    const QVariantList& params = {});

// The next number of a column: the largest value plus one, rounded to a
// 32-bit integer (halves to even; kOverflow beyond), or 1 when there is none.
int GetMaxValue(const QString& table, const QString& field, const QString& condition = {},
                const QVariantList& params = {});

// Entries of a code table (ID, AName, EName) in the given language ("A" or
// "E"): the name and the ID of every row that meets condition and whose
// name in that language is not Null, in the order of ID.
std::vector<std::pair<QString, int>> CodeTableEntries(const QString& table, const QString& language,
                                                      const QString& condition = {},
                                                      const QVariantList& params = {});

// Columns and their values, in the order they are written.
using ColumnValues = std::vector<std::pair<QString, QVariant>>;

// The insert of one row of table with these values.
Connection::Write InsertWrite(const QString& table, const ColumnValues& values);
// The update of the row of table whose keyColumn equals key to these values.
Connection::Write UpdateWrite(const QString& table, const ColumnValues& values,
                              const QString& keyColumn, const QVariant& key);

// Writes one row of a window's version-2 list in one transaction on
// MainConnection (the caller's when one is open): a new row (added before
// setFields runs), or the existing row whose keyColumn equals key (the list
// is requeried first, which also brings in rows other workstations added).
// setFields sets the columns. On an error the pending row is dropped, the
// transaction rolled back and the error raised.
void WriteListRow(Recordset& rows, bool isNew, const QString& keyColumn, const QVariant& key,
                  const std::function<void()>& setFields);

// Holds a table lock from its creation until it is given back, and frees it
// on every way out.
class TableLock {
 public:
  explicit TableLock(QString name);
  // Takes the lock with a read under it (LockAndRead); read() is its row.
  TableLock(QString name, const QString& sql, const QVariantList& params);
  ~TableLock();
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;
  // Frees the lock now (raising a database error); nothing when already
  // free.
  void release();
  // The write that frees the lock, to run together with the writes it
  // guards (Connection::writeAll), so that they and the lock's end are
  // seen at once; released() then tells the guard that it ran.
  Connection::Write unlockWrite() const;
  void released() { held_ = false; }
  bool held() const { return held_; }
  const std::optional<std::vector<QVariant>>& read() const { return read_; }

 private:
  QString name_;
  bool held_ = true;
  std::optional<std::vector<QVariant>> read_;
};

}  // namespace qalvoro
