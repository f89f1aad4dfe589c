#include "tests/v1source/ConvertTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

#include "tests/support/Fixtures.h"
#include "v1source/convert/MdbTools.h"

namespace qalvoro::v1::test {

QString fixture(const QString& relative) {
  return QDir(qalvoro::test::FixturesFolder()).filePath(relative);
}

void FixtureTest::SetUp() {
  if (!QFileInfo::exists(fixture(QStringLiteral("v1/stock/Stock001.mdb")))) {
    GTEST_SKIP() << "version-1 sample files not found in "
                 << qalvoro::test::FixturesFolder().toStdString() << " (set QALVORO_FIXTURES)";
  }
  ASSERT_TRUE(dir_.isValid());
}

QString FixtureTest::copyFixture(const QString& relative, const QString& name) const {
  writeAll(tempPath(name), readAll(fixture(relative)));
  return tempPath(name);
}

RunResult runConverter(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(QALVORO_V1CONVERT), arguments);
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
  }
  return {process.exitCode(), process.exitStatus(), process.readAllStandardOutput(),
          process.readAllStandardError()};
}

std::pair<QByteArray, QDateTime> snapshot(const QString& path) {
  return {readAll(path), QFileInfo(path).lastModified()};
}

SqliteFile::SqliteFile(const QString& path) {
  sqlite3* db = nullptr;
  const int rc =
      sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  db_.reset(db);
  if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + path.toStdString());
}

std::vector<std::vector<Cell>> SqliteFile::query(const QString& sql) const {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_.get(), sql.toUtf8().constData(), -1, &raw, nullptr) != SQLITE_OK) {
    throw std::runtime_error(sqlite3_errmsg(db_.get()));
  }
  const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
  std::vector<std::vector<Cell>> rows;
  while (sqlite3_step(raw) == SQLITE_ROW) {
    std::vector<Cell>& row = rows.emplace_back();
    for (int i = 0; i < sqlite3_column_count(raw); ++i) {
      row.push_back(
          {sqlite3_column_type(raw, i), sqlite3_column_int64(raw, i), sqlite3_column_double(raw, i),
           QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw, i)))});
    }
  }
  return rows;
}

QStringList SqliteFile::tables() const {
  QStringList names;
  for (const auto& row : query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'")))
    names << row[0].text;
  return names;
}

CellLocation locateCell(const QString& file, const QString& table, const QString& column) {
  const std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> mdb(
      mdb_open(QFile::encodeName(file).constData(), MDB_NOFLAGS), mdb_close);
  if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE)) throw std::runtime_error("cannot read file");
  QByteArray name = table.toUtf8();
  const std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> def(
      mdb_read_table_by_name(mdb.get(), name.data(), MDB_TABLE), mdb_free_tabledef);
  if (!def || !mdb_read_columns(def.get())) throw std::runtime_error("no such table");
  int index = -1;
  for (guint i = 0; i < def->num_cols; ++i) {
    const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(def->columns, i));
    if (QString::fromUtf8(col->name) == column) index = int(i);
  }
  if (index < 0) throw std::runtime_error("no such column");
  std::vector<MdbField> fields(def->num_cols);
  mdb_rewind_table(def.get());
  while (mdb_fetch_row(def.get())) {
    const int row = int(def->cur_row) - 1;
    int start = 0;
    size_t length = 0;
    mdb_find_row(mdb.get(), row, &start, &length);
    mdb_crack_row(def.get(), start & 0x1FFF, length, fields.data());
    const MdbField& field = fields[size_t(index)];
    if (field.is_null) continue;
    return {quint32(def->entry->table_pg),
            quint32(def->cur_phys_pg),
            row,
            start & 0x1FFF,
            int(length),
            field.start,
            int(mdb->fmt->pg_size),
            mdb->fmt->row_count_offset,
            mdb->fmt->tab_num_rows_offset,
            mdb->fmt->tab_usage_map_offset};
  }
  throw std::runtime_error("no row with a value");
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("cannot read " + path.toStdString());
  return file.readAll();
}

void writeAll(const QString& path, const QByteArray& data) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
    throw std::runtime_error("cannot write " + path.toStdString());
  }
}

}  // namespace qalvoro::v1::test
