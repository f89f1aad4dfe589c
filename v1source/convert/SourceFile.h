#pragma once

#include <QString>

namespace qalvoro::v1 {

enum class SourceKind { Jet3, Jet4, Sqlite };

// What the first bytes of a source file say it is.
struct SourceInfo {
  SourceKind kind;
  qint64 size;              // of the part that is read: whole pages of a Jet file
  int pageSize;             // 0 for an SQLite file
  qint64 partPageSize = 0;  // bytes of a Jet file after its last whole page
};

// Looks at the start and the size of a file without changing it. Throws
// ConversionError: 3024 when it does not exist, 3051 when it cannot be read,
// 3343 when it is neither a Jet 3 or Jet 4 nor an SQLite file, 3049 when it
// ends before its catalogue or, unless partPageAllowed, when its size is not
// a whole number of pages.
SourceInfo inspectSource(const QString& path, bool partPageAllowed = false);

}  // namespace qalvoro::v1
