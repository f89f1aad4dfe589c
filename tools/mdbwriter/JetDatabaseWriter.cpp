#include "tools/mdbwriter/JetDatabaseWriter.h"

#include <stdexcept>

#include "tools/mdbwriter/HeaderPage.h"

namespace qalvoro::mdbwriter {
namespace {

constexpr quint16 kSortGeneral = 0x0409;
constexpr quint16 kSortArabic = 0x0401;
constexpr quint16 kWesternCodePage = 1252;

constexpr qint64 kRootContainerId = 0x0F000000;
constexpr qint64 kTablesContainerId = 0x0F000001;
constexpr qint64 kObjectTypeTable = 1;
constexpr qint64 kObjectTypeContainer = 3;
constexpr qint64 kSystemObjectFlags = static_cast<qint32>(0x80000000);

// Page 0 is the header, page 1 the first page of usage-map records and page 2
// the definition of MSysObjects, where readers look for it.
constexpr quint32 kFirstMapPage = 1;

quint32 reserveFixedPages(PageFile& file) {
  file.allocate();
  file.allocate();
  return file.allocate();
}

Collation collationFor(const JetWriterOptions& options) {
  if (options.version == JetVersion::Jet4) return {kSortGeneral, kWesternCodePage};
  const auto codePage = static_cast<quint16>(options.declaredCodePage);
  return {codePage == 1256 ? kSortArabic : kSortGeneral, codePage};
}

std::vector<Column> catalogueColumns() {
  return {Column::of("Id", ColumnType::Long),
          Column::of("ParentId", ColumnType::Long),
          Column::text("Name", 255),
          Column::of("Type", ColumnType::Integer),
          Column::of("DateCreate", ColumnType::DateTime),
          Column::of("DateUpdate", ColumnType::DateTime),
          Column{"Owner", ColumnType::Binary, 255},
          Column::of("Flags", ColumnType::Long),
          Column::of("Database", ColumnType::Memo),
          Column::of("Connect", ColumnType::Memo),
          Column::text("ForeignName", 255),
          Column{"RmtInfoShort", ColumnType::Binary, 255},
          Column::of("RmtInfoLong", ColumnType::OleObject),
          Column::of("Lv", ColumnType::OleObject),
          Column::of("LvProp", ColumnType::OleObject),
          Column::of("LvModule", ColumnType::OleObject),
          Column::of("LvExtra", ColumnType::OleObject)};
}

}  // namespace

JetDatabaseWriter::JetDatabaseWriter(const QString& path, const JetWriterOptions& options)
    : options_(options),
      format_(JetFormat::of(options.version)),
      text_(options.version, options.textCodePage, options.compressUnicode),
      collation_(collationFor(options)),
      file_(path, format_.pageSize),
      catalogueDefinitionPage_(reserveFixedPages(file_)),
      longValues_(file_, format_),
      mapRecords_(file_, format_, QByteArray(4, '\0'), kFirstMapPage) {}

JetDatabaseWriter::~JetDatabaseWriter() = default;

WriterContext JetDatabaseWriter::context() {
  return {file_, format_, text_, collation_, longValues_, mapRecords_, options_.rewriteText};
}

TableWriter& JetDatabaseWriter::addTable(const QString& name, const std::vector<Column>& columns) {
  if (closed_) throw std::logic_error("database already closed");
  finishOpenTable();
  for (const auto& [existing, page] : tables_) {
    if (existing.compare(name, Qt::CaseInsensitive) == 0) {
      throw std::invalid_argument("duplicate table name " + name.toStdString());
    }
  }
  open_ = std::make_unique<TableWriter>(context(), name, file_.allocate(), columns, false);
  return *open_;
}

void JetDatabaseWriter::finishOpenTable() {
  if (!open_) return;
  open_->finish();
  tables_.emplace_back(open_->name(), open_->definitionPage());
  open_.reset();
}

void JetDatabaseWriter::close() {
  if (closed_) return;
  finishOpenTable();
  writeCatalogue();
  longValues_.flush();
  mapRecords_.flush();
  file_.write(0,
              headerPage(format_, {collation_.sortOrder, collation_.codePage, options_.created}));
  file_.close();
  closed_ = true;
}

void JetDatabaseWriter::writeCatalogue() {
  const std::vector<Column> columns = catalogueColumns();
  TableWriter catalogue(context(), "MSysObjects", catalogueDefinitionPage_, columns, true);
  const Value created = Value::dateTime(options_.created);
  const auto entry = [&](qint64 id, qint64 parent, const QString& name, qint64 type, qint64 flags) {
    std::vector<Value> row(columns.size());
    row[0] = Value::integer(id);
    row[1] = Value::integer(parent);
    row[2] = Value::text(name);
    row[3] = Value::integer(type);
    row[4] = created;
    row[5] = created;
    row[7] = Value::integer(flags);
    catalogue.addRow(row);
  };
  entry(kTablesContainerId, kRootContainerId, "Tables", kObjectTypeContainer, 0);
  entry(kTablesContainerId + 1, kRootContainerId, "Databases", kObjectTypeContainer, 0);
  entry(kTablesContainerId + 2, kRootContainerId, "Relationships", kObjectTypeContainer, 0);
  entry(catalogueDefinitionPage_, kTablesContainerId, "MSysObjects", kObjectTypeTable,
        kSystemObjectFlags);
  for (const auto& [name, page] : tables_) {
    entry(page, kTablesContainerId, name, kObjectTypeTable, 0);
  }
  catalogue.finish();
}

}  // namespace qalvoro::mdbwriter
