#include "v1source/convert/JetTable.h"

#include <unordered_set>

#include "v1source/convert/ConversionError.h"

namespace qalvoro::v1 {
namespace {

constexpr uint8_t kDataPageType = 0x01;
constexpr uint8_t kTableDefinitionType = 0x02;
constexpr quint32 kMaxColumns = 255;
constexpr quint32 kMaxIndexes = 255;
constexpr int kMaxRowMoves = 8;
constexpr size_t kRowPointerSize = 4;  // row number, then a 3-byte page number
constexpr size_t kJumpSegment = 256;   // Jet 3 offsets are one byte within segments

}  // namespace

JetTable::JetTable(JetFile& file, const TextDecoder& text, quint32 tdefPage) : file_(file) {
  checkDefinitionPages(tdefPage);
  const auto side = file_.loadSidePage(tdefPage);
  const std::vector<uint8_t> tdef(side.begin(), side.end());
  const MdbFormatConstants& fmt = *file_.mdb()->fmt;
  const quint32 numColumns = readU16(tdef.data() + fmt.tab_num_cols_offset);
  const quint32 numVarColumns = readU16(tdef.data() + fmt.tab_num_cols_offset - 2);
  const quint32 numIndexes = readU32(tdef.data() + fmt.tab_num_idxs_offset);
  const quint32 numRealIndexes = readU32(tdef.data() + fmt.tab_num_ridxs_offset);
  if (numColumns == 0 || numColumns > kMaxColumns || numVarColumns > numColumns ||
      numIndexes > kMaxIndexes || numRealIndexes > kMaxIndexes) {
    throw ReadError(QStringLiteral("its definition counts %1 columns and %2 indexes")
                        .arg(numColumns)
                        .arg(numRealIndexes));
  }
  QByteArray usage = mapAt(tdef, fmt.tab_usage_map_offset, QStringLiteral("usage map"));
  mapAt(tdef, fmt.tab_free_map_offset, QStringLiteral("free-space map"));

  entry_.mdb = file_.mdb();
  entry_.object_type = MDB_TABLE;
  entry_.table_pg = tdefPage;
  def_.reset(mdb_read_table(&entry_));
  if (!def_) throw ReadError(QStringLiteral("its definition cannot be read"));
  if (mdb_read_columns(def_.get()) == nullptr || def_->columns->len != numColumns) {
    throw ReadError(QStringLiteral("its columns cannot be read"));
  }
  readColumns(text);
  usageMap_.emplace(file_, std::move(usage));
  fields_.resize(numColumns);
}

void JetTable::checkDefinitionPages(quint32 tdefPage) {
  std::unordered_set<quint32> visited;
  for (quint32 page = tdefPage; page != 0;) {
    if (!visited.insert(page).second) {
      throw ReadError(QStringLiteral("its definition pages loop back on themselves"));
    }
    const auto data = file_.loadSidePage(page);
    if (data[0] != kTableDefinitionType) {
      throw ReadError(
          QStringLiteral("page %1 of its definition is not a table definition page").arg(page));
    }
    page = readU32(data.data() + 4);
  }
}

QByteArray JetTable::mapAt(std::span<const uint8_t> tdef, int offset, const QString& what) {
  const quint32 pageRow = readU32(tdef.data() + offset);
  const quint32 page = pageRow >> 8;
  const int row = int(pageRow & 0xFF);
  const auto missing = [&] {
    return ReadError(
        QStringLiteral("%1 is missing (page %2, row %3)").arg(what).arg(page).arg(row));
  };
  if (page == 0 || page >= file_.pageCount()) throw missing();
  const auto data = file_.loadSidePage(page);
  if (data[0] != kDataPageType || row >= rowSlotCount(data, file_.rowCountOffset()))
    throw missing();
  const RowSlot slot = locateRow(data, file_.rowCountOffset(), row);
  if (slot.deleted || !slot.inPage) throw missing();
  return QByteArray(reinterpret_cast<const char*>(data.data() + slot.start), slot.length);
}

void JetTable::readColumns(const TextDecoder& text) {
  for (guint i = 0; i < def_->columns->len; ++i) {
    const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(def_->columns, i));
    JetColumn column{text.decodeName(col->name), col->col_type};
    if (column.name.isEmpty()) throw ReadError(QStringLiteral("column %1 has no name").arg(i + 1));
    declaredType(column);  // refuses types that are not converted
    const int size = fixedSize(column.type);
    if (size > 0 &&
        (!col->is_fixed || col->col_size != size || col->fixed_offset + size > file_.pageSize())) {
      throw ReadError(QStringLiteral("the definition of column '%1' is damaged").arg(column.name));
    }
    columns_.push_back(std::move(column));
    columnNumbers_.push_back(col->col_num);
  }
}

quint64 JetTable::forEachRow(const RowVisitor& visit, Damage& damage) {
  quint64 rows = 0;
  usageMap_->forEachPage([&](quint32 page) { rows += visitPage(page, visit, damage); }, damage);
  if (rows != countedRows() && damage.refuses()) {
    throw ReadError(QStringLiteral("%1 rows were found but its definition counts %2")
                        .arg(rows)
                        .arg(countedRows()));
  }
  return rows;
}

bool JetTable::isDataPageOfTable(std::span<const uint8_t> page) const {
  return page[0] == kDataPageType && readU32(page.data() + 4) == entry_.table_pg;
}

quint64 JetTable::visitPage(quint32 page, const RowVisitor& visit, Damage& damage) {
  int count = 0;
  try {
    // The map also names pages of the table's long values: only data pages of
    // the table itself hold rows.
    if (!isDataPageOfTable(file_.loadPage(page))) return 0;
    count = rowSlotCount(file_.currentPage(), file_.rowCountOffset());
  } catch (const ReadError& error) {
    damage.meet(error);
    return 0;
  }
  quint64 rows = 0;
  for (int row = 0; row < count; ++row) {
    try {
      if (visitRow(page, row, visit)) ++rows;
    } catch (const ReadError& error) {
      damage.meet(error);
      file_.loadPage(page);  // a moved row may have left another page loaded
    }
  }
  return rows;
}

// Visits one row of the page loaded; false for a deleted row.
bool JetTable::visitRow(quint32 page, int row, const RowVisitor& visit) {
  const RowSlot slot = locateRow(file_.currentPage(), file_.rowCountOffset(), row);
  if (slot.deleted) return false;
  if (!slot.inPage) {
    throw ReadError(QStringLiteral("row %1 on page %2 lies outside the page").arg(row).arg(page));
  }
  if (slot.overflow) {
    visitMovedRow(page, slot, visit);
    file_.loadPage(page);
  } else {
    crack(page, slot);
    visit(fields_, file_.currentPage());
  }
  return true;
}

void JetTable::visitMovedRow(quint32 page, const RowSlot& pointer, const RowVisitor& visit) {
  RowSlot slot = pointer;
  for (int move = 0; move < kMaxRowMoves; ++move) {
    if (size_t(slot.length) < kRowPointerSize) {
      throw ReadError(QStringLiteral("a moved row's pointer on page %1 is cut short").arg(page));
    }
    const uint8_t* at = file_.currentPage().data() + slot.start;
    const int row = at[0];
    page = readU24(at + 1);
    // The row where a moved row now lies is flagged deleted, so that scans
    // pass it by; it is reached through the pointer only.
    if (!isDataPageOfTable(file_.loadPage(page))) {
      throw ReadError(
          QStringLiteral("a row was moved to page %1, which is not a page of the table").arg(page));
    }
    slot = locateRow(file_.currentPage(), file_.rowCountOffset(), row);
    if (!slot.inPage) {
      throw ReadError(QStringLiteral("a moved row on page %1 lies outside the page").arg(page));
    }
    if (!slot.overflow) {
      crack(page, slot);
      visit(fields_, file_.currentPage());
      return;
    }
  }
  throw ReadError(QStringLiteral("a moved row's pointers go round in circles"));
}

void JetTable::crack(quint32 page, const RowSlot& slot) {
  checkRowLayout(file_.currentPage().subspan(size_t(slot.start), size_t(slot.length)));
  const int rowColumns = mdb_crack_row(def_.get(), slot.start, size_t(slot.length), fields_.data());
  if (rowColumns < 0) {
    throw ReadError(QStringLiteral("a row on page %1 cannot be decoded").arg(page));
  }
  for (size_t i = 0; i < columns_.size(); ++i) {
    MdbField& field = fields_[i];
    if (columnNumbers_[i] >= rowColumns) {
      field.is_null = 1;  // a column added after the row was written
      continue;
    }
    if (columns_[i].type == MDB_BOOL || field.is_null) continue;
    if (field.siz < 0 || field.start < slot.start ||
        field.start + field.siz > slot.start + slot.length) {
      throw ReadError(QStringLiteral("a value of column '%1' on page %2 lies outside its row")
                          .arg(columns_[i].name)
                          .arg(page));
    }
    const int size = fixedSize(columns_[i].type);
    if (size > 0 && field.siz != size) {
      throw ReadError(QStringLiteral("a value of column '%1' on page %2 has %3 bytes instead of %4")
                          .arg(columns_[i].name)
                          .arg(page)
                          .arg(field.siz)
                          .arg(size));
    }
  }
}

// libmdb trusts the counts at both ends of a row: check that the null mask and
// the table of variable-column offsets they describe fit inside the row.
void JetTable::checkRowLayout(std::span<const uint8_t> row) const {
  const bool jet3 = file_.isJet3();
  const size_t countSize = jet3 ? 1 : 2;
  const auto cutShort = [] { return ReadError(QStringLiteral("a row is cut short")); };
  if (row.size() <= countSize) throw cutShort();
  const size_t rowColumns = jet3 ? row[0] : readU16(row.data());
  const size_t nullMask = (rowColumns + 7) / 8;
  if (countSize + nullMask >= row.size()) throw cutShort();
  if (def_->num_var_cols == 0) return;
  if (countSize + nullMask + countSize > row.size()) throw cutShort();
  const size_t varCountAt = row.size() - nullMask - countSize;
  const size_t varColumns = jet3 ? row[varCountAt] : readU16(row.data() + varCountAt);
  const size_t offsetsSize =
      (varColumns + 1) * countSize + (jet3 ? (row.size() - 1) / kJumpSegment : 0);
  if (countSize + offsetsSize > varCountAt) throw cutShort();
}

}  // namespace qalvoro::v1
