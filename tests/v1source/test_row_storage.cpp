// Row storage that the sample files lack but real files have: deleted rows,
// rows moved to another page, and memos too long for one page. The cases are
// made by patching copies of the sample files the way the Jet engine stores
// them.

#include <gtest/gtest.h>

#include <QFile>

#include "tests/v1source/ConvertTestSupport.h"

namespace qalvoro::v1::test {
namespace {

constexpr quint32 kDeletedFlag = 0x8000;
constexpr quint32 kMovedFlag = 0x4000;
constexpr char kDataPage = 0x01;

class RowStorage : public FixtureTest {
 protected:
  std::vector<std::vector<Cell>> convertRows(const QString& source, const QString& table) {
    const QString target = source + QStringLiteral(".sqlite");
    const RunResult run = runConverter({source, target});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return SqliteFile(target).query("SELECT * FROM \"" + table + "\" ORDER BY rowid");
  }

  static qsizetype rowOffsetEntry(const CellLocation& at, quint32 page, int row) {
    return qsizetype(page) * at.pageSize + at.rowCountOffset + 2 + 2 * row;
  }

  // Starts a data page of the table holding one row, flagged as Jet flags
  // rows that are reached only through a pointer.
  static quint32 appendRowPage(QByteArray& file, const CellLocation& at, const QByteArray& row) {
    const quint32 page = appendPage(file, at.pageSize);
    const qsizetype base = qsizetype(page) * at.pageSize;
    file[base] = kDataPage;
    putU32(file, base + 4, at.tdefPage);
    putU16(file, base + at.rowCountOffset, 1);
    putU16(file, base + at.rowCountOffset + 2, quint32(at.pageSize - row.size()) | kDeletedFlag);
    file.replace(base + at.pageSize - row.size(), row.size(), row);
    return page;
  }
};

TEST_F(RowStorage, LeavesDeletedRowsOutAndFollowsMovedRows) {
  const QString original =
      copyFixture(QStringLiteral("v1/accounts/ACC2003.MDB"), QStringLiteral("a.mdb"));
  const auto rows = convertRows(original, QStringLiteral("Gaid"));
  ASSERT_GT(rows.size(), 2u);
  const CellLocation first =
      locateCell(original, QStringLiteral("Gaid"), QStringLiteral("رقم_القيد"));
  const QByteArray bytes = readAll(original);

  // Deleting the first row: its slot is flagged and the table counts one row less.
  QByteArray deleted = bytes;
  const qsizetype entry = rowOffsetEntry(first, first.page, first.row);
  putU16(deleted, entry, getU16(deleted, entry) | kDeletedFlag);
  const qsizetype count = qsizetype(first.tdefPage) * first.pageSize + first.tableRowCountOffset;
  putU32(deleted, count, quint32(rows.size() - 1));
  const QString deletedPath = tempPath(QStringLiteral("deleted.mdb"));
  writeAll(deletedPath, deleted);
  EXPECT_EQ(convertRows(deletedPath, QStringLiteral("Gaid")),
            decltype(rows)(rows.begin() + 1, rows.end()));

  // Moving the first row to a new page: its slot keeps a pointer to it.
  QByteArray moved = bytes;
  const QByteArray row =
      moved.mid(qsizetype(first.page) * first.pageSize + first.rowStart, first.rowLength);
  const quint32 newPage = appendRowPage(moved, first, row);
  putU16(moved, entry, getU16(moved, entry) | kMovedFlag);
  const qsizetype pointer = qsizetype(first.page) * first.pageSize + first.rowStart;
  putU32(moved, pointer, newPage << 8);  // row 0 of the new page
  const QString movedPath = tempPath(QStringLiteral("moved.mdb"));
  writeAll(movedPath, moved);
  EXPECT_EQ(convertRows(movedPath, QStringLiteral("Gaid")), rows);
}

class LongMemo : public RowStorage {
 protected:
  void SetUp() override {
    RowStorage::SetUp();
    if (IsSkipped()) return;
    source_ = copyFixture(QStringLiteral("v1/stock/Stock001.mdb"), QStringLiteral("s.mdb"));
    memo_ = locateCell(source_, QStringLiteral("ف_مبيعات"), QStringLiteral("ملاحظه"));
    for (int i = 0; text_.size() < 12000; ++i)
      text_ += QStringLiteral("ملاحظة طويلة رقم %1؛ ").arg(i);
  }

  // Stores the memo as a chain of long-value rows on new pages; edit may
  // change the links (page numbers) before they are written.
  QString withChain(const QString& name, const std::function<void(std::vector<quint32>&)>& edit) {
    QByteArray file = readAll(source_);
    const QByteArray data(reinterpret_cast<const char*>(text_.utf16()), text_.size() * 2);
    const int chunk = memo_.pageSize - memo_.rowCountOffset - 4 - 4;
    std::vector<quint32> pages;
    for (qsizetype at = 0; at < data.size(); at += chunk)
      pages.push_back(appendPage(file, memo_.pageSize));
    std::vector<quint32> links(pages.begin() + 1, pages.end());
    links.push_back(0);
    edit(links);
    for (size_t i = 0; i < pages.size(); ++i) {
      const QByteArray part = data.mid(qsizetype(i) * chunk, chunk);
      const qsizetype base = qsizetype(pages[i]) * memo_.pageSize;
      file[base] = kDataPage;
      file.replace(base + 4, 4, "LVAL");
      putU16(file, base + memo_.rowCountOffset, 1);
      putU16(file, base + memo_.rowCountOffset + 2, quint32(memo_.pageSize - part.size() - 4));
      putU32(file, base + memo_.pageSize - part.size() - 4, links[i] << 8);
      file.replace(base + memo_.pageSize - part.size(), part.size(), part);
    }
    const qsizetype field = qsizetype(memo_.page) * memo_.pageSize + memo_.fieldStart;
    putU32(file, field, quint32(data.size()));  // no flags: a chain
    putU32(file, field + 4, pages.front() << 8);
    const QString path = tempPath(name);
    writeAll(path, file);
    return path;
  }

  QString source_;
  CellLocation memo_;
  QString text_;
};

TEST_F(LongMemo, ReadsAChainInFullAndRefusesBrokenChains) {
  const auto rows =
      convertRows(withChain(QStringLiteral("long.mdb"), [](auto&) {}), QStringLiteral("ف_مبيعات"));
  const auto withMemo = std::find_if(
      rows.begin(), rows.end(), [](const auto& row) { return row.back().type != SQLITE_NULL; });
  ASSERT_NE(withMemo, rows.end());
  EXPECT_EQ(withMemo->back().text, text_);

  const auto expectRefused = [&](const QString& path, const QString& reason) {
    const QString target = path + QStringLiteral(".sqlite");
    const RunResult run = runConverter({path, target});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith("3049\t")) << run.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(reason)) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(target));
  };
  expectRefused(withChain(QStringLiteral("loop.mdb"), [](auto& links) { links[1] = links[0]; }),
                QStringLiteral("table 'ف_مبيعات': a long value's chain loops back on itself"));
  expectRefused(withChain(QStringLiteral("short.mdb"), [](auto& links) { links.front() = 0; }),
                QStringLiteral("a long value's chain ends after"));
  expectRefused(withChain(QStringLiteral("far.mdb"), [](auto& links) { links.front() = 100000; }),
                QStringLiteral("page 100000 lies beyond the end of the file"));
}

}  // namespace
}  // namespace qalvoro::v1::test
