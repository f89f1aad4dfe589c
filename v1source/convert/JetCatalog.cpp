#include "v1source/convert/JetCatalog.h"

#include "v1source/convert/ConversionError.h"
#include "v1source/convert/JetTable.h"

namespace qalvoro::v1 {
namespace {

constexpr quint32 kCatalogPage = 2;
constexpr qint64 kObjectTypeMask = 0x7F;
constexpr qint64 kTableObject = 1;  // MDB_TABLE
constexpr qint64 kSystemFlags = 0x80000002;
constexpr qint64 kPageMask = 0x00FFFFFF;

// Where the catalogue keeps the four fields the converter needs.
struct CatalogColumns {
  size_t id, name, type, flags;
};

CatalogColumns findColumns(const std::vector<JetColumn>& columns) {
  const auto find = [&](const char* name, int type) {
    for (size_t i = 0; i < columns.size(); ++i) {
      if (columns[i].name == QLatin1String(name) && columns[i].type == type) return i;
    }
    throw ReadError(QStringLiteral("it has no column '%1'").arg(QLatin1String(name)));
  };
  return {find("Id", MDB_LONGINT), find("Name", MDB_TEXT), find("Type", MDB_INT),
          find("Flags", MDB_LONGINT)};
}

qint64 integerOf(const Value& value) {
  const auto* number = std::get_if<qint64>(&value);
  return number ? *number : 0;
}

}  // namespace

std::vector<CatalogTable> readUserTables(JetFile& file, const TextDecoder& text, Damage& damage) {
  JetTable catalog(file, text, kCatalogPage);
  const std::vector<JetColumn>& columns = catalog.columns();
  const CatalogColumns at = findColumns(columns);
  ValueDecoder decoder(file, text);
  std::vector<CatalogTable> tables;
  const quint64 rows = catalog.forEachRow(
      [&](std::span<const MdbField> fields, std::span<const uint8_t> page) {
        const auto field = [&](size_t i) { return decoder.decode(columns[i], page, fields[i]); };
        const qint64 type = integerOf(field(at.type)) & kObjectTypeMask;
        const qint64 flags = integerOf(field(at.flags));
        const Value nameValue = field(at.name);
        const auto* name = std::get_if<QString>(&nameValue);
        if (type != kTableObject || (flags & kSystemFlags) != 0 || name == nullptr ||
            name->startsWith(QLatin1String("MSys"), Qt::CaseInsensitive)) {
          return;
        }
        tables.push_back({*name, quint32(integerOf(field(at.id)) & kPageMask)});
      },
      damage);
  if (rows != catalog.countedRows()) {
    damage.meet(ReadError(
        QStringLiteral("%1 of its %2 rows were found").arg(rows).arg(catalog.countedRows())));
  }
  return tables;
}

}  // namespace qalvoro::v1
