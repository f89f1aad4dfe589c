#include "host/db/RowSource.h"

#include <QSqlDriver>
#include <QSqlField>
#include <QSqlRecord>
#include <QStringList>

#include "host/db/Connection.h"
#include "host/db/SqlRun.h"
#include "host/db/SqlTokens.h"

namespace qalvoro {
namespace {

const QString kKeyAlias = QStringLiteral("qalvoro_rowkey");

// A bare table name stands for all of its rows.
QString statementFor(const QString& sqlOrTable) {
  const std::vector<sql::Token> tokens = sql::tokenize(sqlOrTable, sql::Dialect::Sql);
  bool bareName = !tokens.empty();
  for (std::size_t i = 0; i < tokens.size() && bareName; ++i) {
    bareName = i % 2 == 0 ? tokens[i].isName() && !tokens[i].isWord(QLatin1StringView("SELECT"))
                          : tokens[i].isSymbol(QLatin1StringView("."));
  }
  return bareName && tokens.size() % 2 == 1
             ? QStringLiteral("SELECT * FROM ") + sqlOrTable.trimmed()
             : sqlOrTable;
}

QString placeholders(std::size_t count) {
  QStringList marks;
  for (std::size_t i = 0; i < count; ++i) marks << QStringLiteral("?");
  return marks.join(QStringLiteral(", "));
}

DbError rowGone() {
  return DbError(dberr::kUnspecified,
                 QStringLiteral("Row cannot be located for updating. Some values may have been "
                                "changed since it was last read."));
}

}  // namespace

RowSource::RowSource(Connection& connection, const QString& sqlOrTable, const QVariantList& params)
    : connection_(connection),
      sql_(statementFor(sqlOrTable)),
      params_(params),
      shape_(sql::analyseSelect(sql_)) {
  if (shape_.simple) key_ = connection_.rowKeyColumn(shape_.table);
}

QString RowSource::keyedSelect() const {
  return QStringLiteral("SELECT %1 AS %2, %3 FROM %4")
      .arg(key_, kKeyAlias, shape_.selectList, shape_.from);
}

std::vector<LoadedRow> RowSource::loadAll() {
  const QString sql = keyed() ? sql_.left(shape_.afterSelect) + ' ' + key_ + " AS " + kKeyAlias +
                                    ',' + sql_.mid(shape_.afterSelect)
                              : sql_;
  QSqlQuery& query = connection_.runPrepared(sql, params_);
  readColumns(query.record());
  std::vector<LoadedRow> rows;
  const int first = keyed() ? 1 : 0;
  while (query.next()) {
    LoadedRow row;
    if (keyed()) row.key = query.value(0).toLongLong();
    row.values.reserve(columns_.size());
    for (int i = first; i < first + static_cast<int>(columns_.size()); ++i) {
      row.values.push_back(query.isNull(i) ? QVariant() : query.value(i));
    }
    rows.push_back(std::move(row));
  }
  query.finish();
  return rows;
}

void RowSource::readColumns(const QSqlRecord& record) {
  const QSqlDriver* driver = connection_.database().driver();
  const int first = keyed() ? 1 : 0;
  columns_.clear();
  for (int i = first; i < record.count(); ++i) {
    Column column;
    column.name = record.fieldName(i);
    column.baseName = column.name;
    column.type = record.field(i).metaType();
    for (const QString& spelled : shape_.names) {
      if (spelled.compare(column.name, Qt::CaseInsensitive) == 0) {
        column.name = spelled;
        break;
      }
    }
    const std::size_t item = static_cast<std::size_t>(i - first);
    if (keyed() && shape_.star) {
      column.writeSql = driver->escapeIdentifier(record.fieldName(i), QSqlDriver::FieldName);
    } else if (keyed() && item < shape_.items.size()) {
      column.writeSql = shape_.items[item].columnSql;
      column.baseName = sql::normalTableName(column.writeSql);
    }
    columns_.push_back(column);
  }
  QStringList returned;
  for (const Column& column : columns_) {
    if (column.writeSql.isEmpty() || column.writeSql.contains('.')) {
      returned.clear();
      break;
    }
    returned << column.writeSql;
  }
  returning_ = returned.join(QStringLiteral(", "));
}

std::vector<LoadedRow> RowSource::read(const QString& sql, const QVariantList& params) const {
  QSqlQuery& query = connection_.runPrepared(sql, params);
  std::vector<LoadedRow> rows;
  while (query.next()) {
    LoadedRow row;
    row.key = query.value(0).toLongLong();
    for (int i = 1; i <= static_cast<int>(columns_.size()); ++i) {
      row.values.push_back(query.isNull(i) ? QVariant() : query.value(i));
    }
    rows.push_back(std::move(row));
  }
  query.finish();
  return rows;
}

std::vector<LoadedRow> RowSource::loadKeys(const std::vector<qint64>& keys) const {
  constexpr std::size_t kChunk = 200;
  std::vector<LoadedRow> rows;
  for (std::size_t from = 0; from < keys.size(); from += kChunk) {
    const std::size_t count = std::min(kChunk, keys.size() - from);
    QString sql = keyedSelect() + QStringLiteral(" WHERE ");
    if (!shape_.where.isEmpty()) sql += '(' + shape_.where + QStringLiteral(") AND ");
    sql += key_ + QStringLiteral(" IN (") + placeholders(count) + ')';
    QVariantList params = params_;
    for (std::size_t i = from; i < from + count; ++i) params << keys[i];
    for (LoadedRow& row : read(sql, params)) rows.push_back(std::move(row));
  }
  return rows;
}

LoadedRow RowSource::loadWritten(qint64 key) const {
  std::vector<LoadedRow> rows =
      read(keyedSelect() + QStringLiteral(" WHERE ") + key_ + " = ?", {key});
  if (rows.empty()) throw rowGone();
  return std::move(rows.front());
}

LoadedRow RowSource::written(const QString& sql, const QVariantList& params) const {
  Connection::WriteResult result = connection_.write(sql, params, returning_);
  if (result.keys.size() != 1) throw rowGone();
  if (result.returned.empty()) return loadWritten(result.keys.front());
  return LoadedRow{result.keys.front(), std::move(result.returned.front())};
}

LoadedRow RowSource::insert(const std::vector<int>& columns, const QVariantList& values) const {
  QString sql = QStringLiteral("INSERT INTO ") + shape_.table;
  if (columns.empty()) {
    sql += QStringLiteral(" DEFAULT VALUES");
  } else {
    QStringList names;
    for (const int column : columns) names << columns_[column].writeSql;
    sql +=
        " (" + names.join(QStringLiteral(", ")) + ") VALUES (" + placeholders(columns.size()) + ')';
  }
  return written(sql, values);
}

LoadedRow RowSource::update(qint64 key, const std::vector<int>& columns,
                            const QVariantList& values) const {
  QStringList assignments;
  for (const int column : columns) assignments << columns_[column].writeSql + " = ?";
  QVariantList params = values;
  params << key;
  const QString sql = QStringLiteral("UPDATE ") + shape_.table + " SET " +
                      assignments.join(QStringLiteral(", ")) + " WHERE " + key_ + " = ?";
  return written(sql, params);
}

void RowSource::remove(qint64 key) const {
  const QString sql = QStringLiteral("DELETE FROM ") + shape_.table + " WHERE " + key_ + " = ?";
  if (connection_.write(sql, {key}).rowsAffected != 1) throw rowGone();
}

}  // namespace qalvoro
