#include "tools/mdbwriter/TableDefinition.h"

#include <stdexcept>

#include "tools/mdbwriter/Bytes.h"

namespace qalvoro::mdbwriter {
namespace {

constexpr char kTableDefinitionPage = 0x02;
constexpr quint8 kUserTable = 0x4E;
constexpr quint8 kSystemTable = 0x53;
constexpr quint8 kFixedColumn = 0x01;
constexpr quint8 kNullableColumn = 0x02;
constexpr quint8 kCompressedUnicode = 0x01;
// Stamp that Jet 4 writes both in the table header and in every column
// descriptor; readers do not interpret it.
constexpr quint32 kJet4DefinitionStamp = 0x0659;

bool isTextual(ColumnType type) { return type == ColumnType::Text || type == ColumnType::Memo; }

// Declared length: characters (bytes in Jet 4) of a Text column, the size of
// a fixed-size value, 0 for long values.
quint16 declaredLength(const JetFormat& format, const Column& column) {
  switch (column.type) {
    case ColumnType::Text:
      return static_cast<quint16>(column.maxLength * (format.isJet4() ? 2 : 1));
    case ColumnType::Binary:
      return static_cast<quint16>(column.maxLength);
    case ColumnType::YesNo:
      return 1;
    default:
      return static_cast<quint16>(fixedSize(column.type));
  }
}

quint8 flagsOf(const Column& column) {
  return isVariable(column.type) ? kNullableColumn : (kFixedColumn | kNullableColumn);
}

QByteArray columnEntry(const JetFormat& format, const TextEncoder& text, const Collation& collation,
                       const PlacedColumn& placed) {
  const Column& column = placed.column;
  const bool variable = isVariable(column.type);
  QByteArray entry;
  appendLE(entry, static_cast<quint8>(column.type));
  if (format.isJet4()) appendLE(entry, kJet4DefinitionStamp);
  appendLE(entry, static_cast<quint16>(placed.number));
  appendLE(entry, static_cast<quint16>(variable ? placed.variableIndex : 0));
  appendLE(entry, static_cast<quint16>(placed.number));
  if (format.isJet4()) {
    appendLE(entry, static_cast<quint16>(isTextual(column.type) ? collation.sortOrder : 0));
    appendLE(entry, quint16{0});
    appendLE(entry, flagsOf(column));
    appendLE(entry, static_cast<quint8>(
                        isTextual(column.type) && text.compresses() ? kCompressedUnicode : 0));
    appendLE(entry, quint32{0});
  } else {
    appendLE(entry, quint16{1});
    appendLE(entry, collation.sortOrder);
    appendLE(entry, collation.codePage);
    appendLE(entry, flagsOf(column));
  }
  appendLE(entry, static_cast<quint16>(variable ? 0 : placed.fixedOffset));
  appendLE(entry, declaredLength(format, column));
  Q_ASSERT(entry.size() == format.columnEntrySize);
  return entry;
}

QByteArray columnName(const JetFormat& format, const TextEncoder& text, const Column& column) {
  const QByteArray name = text.name(column.name);
  QByteArray out;
  if (format.isJet4()) {
    appendLE(out, static_cast<quint16>(name.size()));
  } else {
    appendLE(out, static_cast<quint8>(name.size()));
  }
  return out + name;
}

}  // namespace

QByteArray tableDefinitionPage(const JetFormat& format, const TextEncoder& text,
                               const Collation& collation, const TableDefinition& table) {
  const auto& columns = table.layout.columns();
  QByteArray page;
  page.append(kTableDefinitionPage).append('\x01');
  page.append(format.isJet4() ? QByteArray(2, '\0') : QByteArrayLiteral("VC"));
  appendLE(page, quint32{0});  // no continuation page
  appendLE(page, quint32{0});  // definition length, set below
  if (format.isJet4()) appendLE(page, kJet4DefinitionStamp);
  appendLE(page, table.rowCount);
  appendLE(page, quint32{0});  // next autonumber
  if (format.isJet4()) {
    page.append('\x01');
    page.append(QByteArray(15, '\0'));
  }
  Q_ASSERT(page.size() == format.tableBlockOffset);
  appendLE(page, table.systemTable ? kSystemTable : kUserTable);
  appendLE(page, static_cast<quint16>(columns.size()));
  appendLE(page, static_cast<quint16>(table.layout.variableCount()));
  appendLE(page, static_cast<quint16>(columns.size()));
  appendLE(page, quint32{0});  // indexes
  appendLE(page, quint32{0});  // index entries
  appendLE(page, table.ownedPagesMap);
  appendLE(page, table.freeSpaceMap);
  for (const PlacedColumn& column : columns) page += columnEntry(format, text, collation, column);
  for (const PlacedColumn& column : columns) page += columnName(format, text, column.column);
  appendLE(page, quint16{0xFFFF});  // no per-column usage maps follow

  const qsizetype length = page.size();
  if (length > format.pageSize) throw std::length_error("table definition exceeds one page");
  putLE(page, 8, static_cast<quint32>(length));
  if (format.isJet4()) putLE(page, 2, static_cast<quint16>(format.pageSize - length - 8));
  page.resize(format.pageSize, '\0');
  return page;
}

}  // namespace qalvoro::mdbwriter
