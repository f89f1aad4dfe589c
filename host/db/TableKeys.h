#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>

#include "host/db/ConnectionString.h"

namespace qalvoro {

// The column that tells the rows of a table apart, as recordsets and the
// change journal use it: SQLite's rowid, or in PostgreSQL the table's
// single-column integer primary key (ID in every version-2 table). Looked up
// once per table and kept until forget().
class TableKeys {
 public:
  // The key column as SQL text, or empty when the table has none (a view, an
  // unknown table, a PostgreSQL table without such a primary key).
  QString keyOf(const QSqlDatabase& database, Engine engine, const QString& table);
  void forget() { known_.clear(); }

 private:
  QHash<QString, QString> known_;
};

}  // namespace qalvoro
