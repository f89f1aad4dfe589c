#pragma once

#include <QMetaType>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>
#include <optional>
#include <vector>

#include "host/db/SqlShape.h"

namespace qalvoro {

class Connection;

struct Column {
  QString name;      // as the statement spells it, where it does
  QString baseName;  // the table column it reads, without quotes
  QString writeSql;  // that column in INSERT and UPDATE; empty when not writable
  QMetaType type;
};

struct LoadedRow {
  std::optional<qint64> key;
  std::vector<QVariant> values;
};

// Where a recordset's rows come from: its statement on its connection. Reads
// all rows, or some rows by key, and writes single rows back by key. Rows
// carry the table's key when the statement is simple (see SelectShape) and
// the table has a key column (see TableKeys).
class RowSource {
 public:
  RowSource(Connection& connection, const QString& sqlOrTable, const QVariantList& params);

  Connection& connection() const { return connection_; }
  bool keyed() const { return !key_.isEmpty(); }
  const QString& table() const { return shape_.table; }
  const std::vector<sql::OrderItem>& orderBy() const { return shape_.orderBy; }
  // The columns of the last loadAll().
  const std::vector<Column>& columns() const { return columns_; }

  std::vector<LoadedRow> loadAll();
  // Rows with these keys that the statement still selects.
  std::vector<LoadedRow> loadKeys(const std::vector<qint64>& keys) const;
  // Each writes one row; columns are indexes into columns(). insert and
  // update return the row as written, whether or not the statement selects
  // it; update and remove check that the key still names a row.
  LoadedRow insert(const std::vector<int>& columns, const QVariantList& values) const;
  LoadedRow update(qint64 key, const std::vector<int>& columns, const QVariantList& values) const;
  void remove(qint64 key) const;

 private:
  LoadedRow written(const QString& sql, const QVariantList& params) const;
  LoadedRow loadWritten(qint64 key) const;
  QString keyedSelect() const;
  std::vector<LoadedRow> read(const QString& sql, const QVariantList& params) const;
  void readColumns(const QSqlRecord& record);

  Connection& connection_;
  QString sql_;
  QVariantList params_;
  sql::SelectShape shape_;
  QString key_;  // key column SQL, empty when rows are not keyed
  std::vector<Column> columns_;
  // The columns as a RETURNING list, when each is a plain column of the
  // table; empty when written rows are read back by key instead.
  QString returning_;
};

}  // namespace qalvoro
