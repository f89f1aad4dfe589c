#pragma once

#include <QString>
#include <vector>

namespace qalvoro::v1 {

struct ConversionOptions {
  // Code page of Jet 3 text (1256, 864 or 1252); 0 chooses it from the file.
  int codePage = 0;
  // Copies what can be read safely instead of refusing a damaged file:
  // damaged tables, pages and rows are left out and listed in the summary.
  bool leaveOutDamage = false;
};

struct TableSummary {
  QString name;
  quint64 rows;
};

struct ConversionSummary {
  bool copiedSqlite = false;  // the source was already an SQLite file
  int codePage = 0;           // the code page used for Jet 3 text, else 0
  std::vector<TableSummary> tables;
  std::vector<QString> leftOut;  // what a lenient conversion left out, one line per part
};

// Converts a version-1 file into a working copy: every user table of a Jet 3
// or Jet 4 file, with its rows and exact values, goes into a new SQLite file;
// an SQLite file is copied as it is. The copy is written as TARGET.part and
// renamed to TARGET at the end, so that a failed conversion leaves no target.
// The source is opened read-only. Throws ConversionError; a lenient
// conversion only when nothing can be read (no Jet file, a damaged
// catalogue definition) or the copy cannot be written.
ConversionSummary convertV1File(const QString& source, const QString& target,
                                const ConversionOptions& options = {});

}  // namespace qalvoro::v1
