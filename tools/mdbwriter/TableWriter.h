#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "tools/mdbwriter/RowEncoder.h"
#include "tools/mdbwriter/RowPages.h"
#include "tools/mdbwriter/TableDefinition.h"

namespace qalvoro::mdbwriter {

// What a text or memo cell of row (0 = the first) of a user table is
// written as, given the value generated for it.
using TextRewrite = std::function<Value(const QString& table, const Column& column, quint32 row,
                                        const Value& value)>;

// What the tables of one database file share.
struct WriterContext {
  PageFile& file;
  const JetFormat& format;
  const TextEncoder& text;
  Collation collation;
  LongValueStore& longValues;
  RowPageStream& mapRecords;
  const TextRewrite& rewriteText;
};

// Streams the rows of one table to data pages; finish() writes its usage maps
// and its definition page. Only the page being filled is held in memory.
class TableWriter {
 public:
  TableWriter(WriterContext context, QString name, quint32 definitionPage,
              const std::vector<Column>& columns, bool systemTable);

  void addRow(const std::vector<Value>& row);
  quint32 rowCount() const { return rowCount_; }
  const QString& name() const { return name_; }
  quint32 definitionPage() const { return definitionPage_; }

  void finish();

 private:
  WriterContext context_;
  QString name_;
  quint32 definitionPage_;
  bool systemTable_;
  TableLayout layout_;
  std::vector<Column> columns_;
  RowEncoder encoder_;
  RowPageStream dataPages_;
  quint32 rowCount_ = 0;
};

}  // namespace qalvoro::mdbwriter
