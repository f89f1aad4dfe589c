#include "tools/mdbwriter/TableWriter.h"

#include "tools/mdbwriter/Bytes.h"
#include "tools/mdbwriter/UsageMap.h"

namespace qalvoro::mdbwriter {
namespace {

QByteArray ownerTag(quint32 definitionPage) {
  QByteArray tag(4, '\0');
  putLE(tag, 0, definitionPage);
  return tag;
}

}  // namespace

TableWriter::TableWriter(WriterContext context, QString name, quint32 definitionPage,
                         const std::vector<Column>& columns, bool systemTable)
    : context_(context),
      name_(std::move(name)),
      definitionPage_(definitionPage),
      systemTable_(systemTable),
      layout_(columns),
      columns_(columns),
      encoder_(context.format, layout_, context.text, context.longValues),
      dataPages_(context.file, context.format, ownerTag(definitionPage)) {}

void TableWriter::addRow(const std::vector<Value>& row) {
  if (context_.rewriteText && !systemTable_) {
    std::vector<Value> rewritten = row;
    for (size_t i = 0; i < columns_.size() && i < row.size(); ++i) {
      const ColumnType type = columns_[i].type;
      if (type == ColumnType::Text || type == ColumnType::Memo)
        rewritten[i] = context_.rewriteText(name_, columns_[i], rowCount_, row[i]);
    }
    dataPages_.append(encoder_.encode(rewritten));
  } else {
    dataPages_.append(encoder_.encode(row));
  }
  ++rowCount_;
}

void TableWriter::finish() {
  dataPages_.flush();
  const QByteArray owned = writeOwnedPagesMap(context_.file, context_.format, dataPages_.pages());
  const RowAddress ownedAt = context_.mapRecords.append(owned);
  const RowAddress freeAt = context_.mapRecords.append(noFreeSpaceMap(context_.format));
  const TableDefinition definition{layout_, systemTable_, rowCount_, ownedAt.packed(),
                                   freeAt.packed()};
  context_.file.write(definitionPage_, tableDefinitionPage(context_.format, context_.text,
                                                           context_.collation, definition));
}

}  // namespace qalvoro::mdbwriter
