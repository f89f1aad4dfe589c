#pragma once

#include <sqlite3.h>

#include <QString>
#include <memory>
#include <vector>

#include "v1source/convert/JetValue.h"

namespace qalvoro::v1 {

// Builds the working copy: a new SQLite file written in one transaction with
// the journal off (a later connection gets SQLite's normal rollback journal).
// Throws ConversionError 3043 when the file cannot be written.
class SqliteWriter {
 public:
  explicit SqliteWriter(const QString& path);

  // Creates the table with the columns' names and declared types and makes it
  // the table that insertRow writes to.
  void createTable(const QString& name, const std::vector<JetColumn>& columns);
  // row: one value per column of the current table.
  void insertRow(const std::vector<Value>& row);
  // Commits and closes the file.
  void commit();

 private:
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
  };
  struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
  };

  void execute(const QString& sql);
  [[noreturn]] void fail(const QString& what) const;

  QString path_;
  QString table_;
  std::unique_ptr<sqlite3, Closer> db_;
  std::unique_ptr<sqlite3_stmt, Finalizer> insert_;
};

}  // namespace qalvoro::v1
