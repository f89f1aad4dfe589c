#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "v1source/convert/ConversionError.h"
#include "v1source/convert/JetFile.h"
#include "v1source/convert/JetText.h"
#include "v1source/convert/JetValue.h"
#include "v1source/convert/UsageMap.h"

namespace qalvoro::v1 {

// One table of a Jet file: its definition, checked before libmdb reads it, and
// its rows, found page by page through the table's usage map. Deleted rows are
// skipped and moved rows are followed to where they now lie.
class JetTable {
 public:
  // Reads the definition that starts on tdefPage. Throws ReadError when it is
  // damaged or holds a column type that is not converted.
  JetTable(JetFile& file, const TextDecoder& text, quint32 tdefPage);

  const std::vector<JetColumn>& columns() const { return columns_; }

  // The cracked fields of one row (one per column, in column order) and the
  // page that holds it.
  using RowVisitor = std::function<void(std::span<const MdbField>, std::span<const uint8_t>)>;

  // Calls visit for every row, in page order, and returns the number of rows
  // visited. A damaged page or row and a row whose visit throws ReadError are
  // damage: each is met (see Damage), and what is passed by is left out.
  // Refusing damage, it also throws ReadError when the rows found differ in
  // number from the definition's count.
  quint64 forEachRow(const RowVisitor& visit, Damage& damage);
  // The number of rows the table's definition counts.
  quint64 countedRows() const { return def_->num_rows; }

 private:
  struct TableDefDeleter {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
  };

  void checkDefinitionPages(quint32 tdefPage);
  QByteArray mapAt(std::span<const uint8_t> tdef, int offset, const QString& what);
  void readColumns(const TextDecoder& text);
  quint64 visitPage(quint32 page, const RowVisitor& visit, Damage& damage);
  bool visitRow(quint32 page, int row, const RowVisitor& visit);
  void visitMovedRow(quint32 page, const RowSlot& pointer, const RowVisitor& visit);
  bool isDataPageOfTable(std::span<const uint8_t> page) const;
  void crack(quint32 page, const RowSlot& slot);
  void checkRowLayout(std::span<const uint8_t> row) const;

  JetFile& file_;
  MdbCatalogEntry entry_{};
  std::unique_ptr<MdbTableDef, TableDefDeleter> def_;
  std::optional<UsageMap> usageMap_;
  std::vector<JetColumn> columns_;
  std::vector<int> columnNumbers_;  // each column's place in a row's null mask
  std::vector<MdbField> fields_;
};

}  // namespace qalvoro::v1
