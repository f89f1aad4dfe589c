#include "host/helpers/DbHelpers.h"

#include <QSqlField>
#include <chrono>
#include <cmath>
#include <limits>
#include <optional>

#include "host/Globals.h"
#include "host/db/DbError.h"
#include "host/db/Recordset.h"
#include "host/db/Values.h"
#include "host/platform/Platform.h"

namespace qalvoro {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kLockWait{15'000};
constexpr milliseconds kLockPoll{50};

const QString kUnlock = QStringLiteral("UPDATE LockTables SET fLocked = FALSE WHERE TableName = ?");
const QString kTakeFreeLock =
    QStringLiteral("UPDATE LockTables SET fLocked = TRUE WHERE TableName = ? AND fLocked = FALSE");

// Holds a free lock's row until the transaction ends, and fails (division
// by zero) when another holds the lock. Workstations taking the lock
// meanwhile wait for the row, and then see it free.
const QString kHoldFreeLockOrFail = QStringLiteral(
    "SELECT 1 / COUNT(*) FROM (SELECT 1 FROM LockTables WHERE TableName = ? AND "
    "fLocked = FALSE FOR UPDATE) AS free");
constexpr long kDivisionByZero = 22012;

QString whereClause(const QString& condition) {
  return condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition;
}

// The truth value of a looked-up yes/no text, as either engine gives it.
bool lockHeld(const QString& value) {
  const QString text = value.trimmed().toLower();
  if (text == QLatin1String("true") || text == QLatin1String("1") || text == QLatin1String("-1")) {
    return true;
  }
  if (text == QLatin1String("false") || text == QLatin1String("0")) return false;
  throw DbError(dberr::kTypeMismatch, QStringLiteral("Type mismatch"));
}

// A looked-up value as text, the same on both engines: yes/no columns (0/1
// on SQLite) as True/False, dates as yyyy/mm/dd, Null as empty text.
QString valueText(const QSqlField& field) {
  const QVariant value = field.value();
  if (value.isNull()) return {};
  if (field.metaType().id() == QMetaType::Bool) return values::display(QVariant(value.toBool()));
  return values::display(value);
}

// A number rounded to a 32-bit integer, halves to the even neighbour.
int roundToInt(double number) {
  const double rounded = std::nearbyint(number);  // the default mode rounds halves to even
  if (!(rounded >= std::numeric_limits<int>::min() && rounded <= std::numeric_limits<int>::max())) {
    throw DbError(dberr::kOverflow, QStringLiteral("Overflow"));
  }
  return static_cast<int>(rounded);
}

}  // namespace

void SetTableLock(const QString& action, const QString& name) {
  if (action == QLatin1String("UnLock")) {
    MainConnection().execute(kUnlock, {name});
    return;
  }
  // A free lock is taken at once; a held or missing one goes the long way.
  if (MainConnection().execute(kTakeFreeLock, {name}) == 1) {
    return;
  }
  Platform& system = platform();
  const milliseconds started = system.monotonicNow();
  const PointerGuard pointer(MousePointer::ArrowHourglass);
  while (lockHeld(LookupValue(QStringLiteral("LockTables"), QStringLiteral("fLocked"),
                              QStringLiteral("TableName = ?"), {name}))) {
    if (system.monotonicNow() - started > kLockWait) break;
    system.sleep(kLockPoll);
  }
  MainConnection().execute(
      QStringLiteral("UPDATE LockTables SET fLocked = TRUE WHERE TableName = ?"), {name});
}

QString LookupValue(const QString& table, const QString& field, const QString& condition,
                    const QVariantList& params) {
  const auto row = MainConnection().firstRow(
      QStringLiteral("SELECT ") + field + QStringLiteral(" FROM ") + table + whereClause(condition),
      params);
  if (!row) return {};
  const int column = field.contains(')') ? 0 : row->indexOf(field);
  if (column < 0) {
    throw DbError(dberr::kItemNotFound,
                  QStringLiteral("Item cannot be found in the collection: %1").arg(field));
  }
  return valueText(row->field(column));
}

int GetMaxValue(const QString& table, const QString& field, const QString& condition,
                const QVariantList& params) {
  const auto row =
      MainConnection().firstRow(QStringLiteral("SELECT MAX(") + field + QStringLiteral(") FROM ") +
                                    table + whereClause(condition),
                                params);
  if (!row || row->value(0).isNull()) return 1;
  const QVariant largest = row->value(0);
  return roundToInt(Val(largest.toString()) + 1);
}

std::vector<std::pair<QString, int>> CodeTableEntries(const QString& table, const QString& language,
                                                      const QString& condition,
                                                      const QVariantList& params) {
  Recordset rows;
  rows.open(QStringLiteral("SELECT * FROM ") + table + whereClause(condition) +
                QStringLiteral(" ORDER BY ID"),
            MainConnection(), LockType::ReadOnly, params);
  const QString nameColumn = language + QStringLiteral("Name");
  std::vector<std::pair<QString, int>> entries;
  for (; !rows.eof(); rows.moveNext()) {
    if (rows.isNull(nameColumn)) continue;
    entries.emplace_back(rows.text(nameColumn),
                         static_cast<int>(Val(rows.text(QStringLiteral("ID")))));
  }
  return entries;
}

Connection::Write InsertWrite(const QString& table, const ColumnValues& values) {
  QStringList columns;
  QVariantList params;
  for (const auto& [column, value] : values) {
    columns << column;
    params << value;
  }
  return {QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(table, columns.join(QStringLiteral(", ")),
                   QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))),
          params};
}

Connection::Write UpdateWrite(const QString& table, const ColumnValues& values,
                              const QString& keyColumn, const QVariant& key) {
  QStringList assignments;
  QVariantList params;
  for (const auto& [column, value] : values) {
    assignments << column + QStringLiteral(" = ?");
    params << value;
  }
  params << key;
  return {QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
              .arg(table, assignments.join(QStringLiteral(", ")), keyColumn),
          params};
}

void WriteListRow(Recordset& rows, bool isNew, const QString& keyColumn, const QVariant& key,
                  const std::function<void()>& setFields) {
  if (!isNew) {
    rows.requery();  // also brings in rows other workstations added
    rows.findEqual(keyColumn, key);
  }
  std::optional<Transaction> transaction;  // the caller's when one is open
  if (!MainConnection().inTransaction()) transaction.emplace(MainConnection());
  try {
    if (isNew) rows.addNew();
    setFields();
    rows.update();
  } catch (...) {
    rows.cancelUpdate();  // the row being added or changed is dropped
    throw;
  }
  if (transaction) transaction->commit();
}

TableLock::TableLock(QString name) : name_(std::move(name)) {
  SetTableLock(QStringLiteral("Lock"), name_);
}

TableLock::TableLock(QString name, const QString& sql, const QVariantList& params)
    : name_(std::move(name)), read_(LockAndRead(name_, sql, params)) {}

TableLock::~TableLock() {
  if (!held_) return;
  try {
    SetTableLock(QStringLiteral("UnLock"), name_);
  } catch (const DbError&) {
    // The lock row stays set; the next writer takes it over after its wait.
  }
}

void TableLock::release() {
  if (!held_) return;
  SetTableLock(QStringLiteral("UnLock"), name_);
  held_ = false;  // after a failed unlock the destructor tries once more
}

Connection::Write UnlockWrite(const QString& name) { return {kUnlock, {name}}; }

std::optional<std::vector<QVariant>> LockAndRead(const QString& name, const QString& sql,
                                                 const QVariantList& params) {
  Connection& db = MainConnection();
  const auto firstRow = [](std::vector<std::vector<QVariant>>&& rows) {
    return rows.empty() ? std::nullopt : std::optional(std::move(rows.front()));
  };
  if (db.engine() == Engine::PostgreSQL && !db.inTransaction()) {
    auto results = db.writeAll({{kTakeFreeLock, {name}}, {sql, params}});
    if (results.front().rowsAffected == 1) return firstRow(std::move(results.back().returned));
  }
  SetTableLock(QStringLiteral("Lock"), name);
  try {
    return firstRow(db.write(sql, params).returned);
  } catch (const DbError&) {
    SetTableLock(QStringLiteral("UnLock"), name);
    throw;
  }
}

std::vector<Connection::WriteResult> WriteUnderLock(const QString& name,
                                                    std::vector<Connection::Write> writes,
                                                    const std::vector<Connection::Write>& after) {
  Connection& db = MainConnection();
  const std::size_t guarded = writes.size();
  if (db.engine() == Engine::PostgreSQL && !db.inTransaction()) {
    std::vector<Connection::Write> all = writes;
    all.insert(all.end(), after.begin(), after.end());
    all.push_back({kHoldFreeLockOrFail, {name}});
    try {
      auto results = db.writeAll(all);
      results.pop_back();
      return results;
    } catch (const DbError& error) {
      if (error.number() != kDivisionByZero) throw;
    }
  }
  TableLock lock(name);
  writes.push_back(lock.unlockWrite());
  writes.insert(writes.end(), after.begin(), after.end());
  auto results = db.writeAll(writes);
  lock.released();
  results.erase(results.begin() + static_cast<std::ptrdiff_t>(guarded));
  return results;
}

Connection::Write TableLock::unlockWrite() const { return UnlockWrite(name_); }

}  // namespace qalvoro
