#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "tools/mdbwriter/TableWriter.h"

namespace qalvoro::mdbwriter {

struct JetWriterOptions {
  JetVersion version = JetVersion::Jet4;
  // Jet 3: the code page of the stored text bytes, and the one the header and
  // the columns name (1252 in many real Arabic files whose bytes are 1256).
  int textCodePage = 1256;
  int declaredCodePage = 1256;
  // Jet 4: store text in the compressed-unicode form where it is shorter.
  bool compressUnicode = false;
  QDateTime created{QDate(2003, 1, 1), QTime(0, 0)};
  // When set, every text and memo value of the user tables is written as
  // what it returns (the hostile sample texts).
  TextRewrite rewriteText;
};

// Writes a Jet database file from scratch: header page, the system catalogue
// MSysObjects (definition on page 2) and the user tables, one at a time.
// Errors throw std::exception subclasses.
class JetDatabaseWriter {
 public:
  JetDatabaseWriter(const QString& path, const JetWriterOptions& options = {});
  ~JetDatabaseWriter();
  JetDatabaseWriter(const JetDatabaseWriter&) = delete;
  JetDatabaseWriter& operator=(const JetDatabaseWriter&) = delete;

  // Finishes the table being written, if any, and starts a new one. The
  // reference stays valid until the next addTable() or close().
  TableWriter& addTable(const QString& name, const std::vector<Column>& columns);
  // Finishes the last table and writes the catalogue and the header.
  void close();

 private:
  WriterContext context();
  void finishOpenTable();
  void writeCatalogue();

  JetWriterOptions options_;
  const JetFormat& format_;
  TextEncoder text_;
  Collation collation_;
  PageFile file_;
  quint32 catalogueDefinitionPage_;
  LongValueStore longValues_;
  RowPageStream mapRecords_;
  std::unique_ptr<TableWriter> open_;
  std::vector<std::pair<QString, quint32>> tables_;  // name, definition page
  bool closed_ = false;
};

}  // namespace qalvoro::mdbwriter
