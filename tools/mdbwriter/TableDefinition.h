#pragma once

#include <QByteArray>

#include "tools/mdbwriter/JetFormat.h"
#include "tools/mdbwriter/TableLayout.h"
#include "tools/mdbwriter/TextEncoder.h"

namespace qalvoro::mdbwriter {

// Sort order and code page that text columns declare.
struct Collation {
  quint16 sortOrder;
  quint16 codePage;
};

struct TableDefinition {
  const TableLayout& layout;
  bool systemTable;
  quint32 rowCount;
  quint32 ownedPagesMap;  // packed addresses of the two usage-map records
  quint32 freeSpaceMap;
};

// The table-definition page: table header, column descriptors and names.
// Throws std::length_error when the definition does not fit one page.
QByteArray tableDefinitionPage(const JetFormat& format, const TextEncoder& text,
                               const Collation& collation, const TableDefinition& table);

}  // namespace qalvoro::mdbwriter
