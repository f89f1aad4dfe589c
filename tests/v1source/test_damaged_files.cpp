// Patched copies of the sample files: a damaged one ends in one clean error line and no working
// copy; a lenient conversion copies what can still be read and lists what it left out.

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <functional>
#include <random>

#include "tests/v1source/ConvertTestSupport.h"

namespace qalvoro::v1::test {
namespace {

constexpr long kDamaged = 3049;
constexpr long kUnrecognized = 3343;
constexpr quint32 kDeletedFlag = 0x8000;
constexpr quint32 kMovedFlag = 0x4000;
constexpr char kDataPage = 0x01;

class DamagedFiles : public FixtureTest {
 protected:
  void SetUp() override {
    FixtureTest::SetUp();
    if (IsSkipped()) return;
    accounts_ = copyFixture(QStringLiteral("v1/accounts/ACC2003.MDB"), QStringLiteral("acc.mdb"));
    gaid_ = locateCell(accounts_, QStringLiteral("Gaid"), QStringLiteral("رقم_القيد"));
  }

  // A copy of source (the accounts file unless told) changed by edit.
  QString damagedCopy(const QString& name, const std::function<void(QByteArray&)>& edit,
                      const QString& source = {}) const {
    QByteArray bytes = readAll(source.isEmpty() ? accounts_ : source);
    edit(bytes);
    writeAll(tempPath(name), bytes);
    return tempPath(name);
  }

  void overwriteWithNoise(QByteArray& bytes, quint32 page) const {
    std::mt19937 noise(page);
    for (int i = 0; i < gaid_.pageSize; ++i) bytes[page * gaid_.pageSize + i] = char(noise());
  }

  // Converts source (leniently if asked) and expects error `number` whose
  // text contains fragment.
  void expectRefused(const QString& source, long number, const QString& fragment,
                     bool lenient = false) const {
    SCOPED_TRACE(source.toStdString() + (lenient ? " --lenient" : ""));
    const bool sourceExists = QFile::exists(source);
    const auto before = sourceExists ? snapshot(source) : decltype(snapshot(source)){};
    const QString target = tempPath(QStringLiteral("out.sqlite"));
    const RunResult run =
        runConverter((lenient ? QStringList{"--lenient"} : QStringList{}) << source << target);
    ASSERT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    const QString line = QString::fromUtf8(run.err);
    EXPECT_TRUE(line.endsWith(u'\n') && line.count(u'\n') == 1) << run.err.toStdString();
    EXPECT_EQ(line.section(u'\t', 0, 0).toLong(), number) << run.err.toStdString();
    EXPECT_TRUE(line.section(u'\t', 1).contains(fragment)) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(target) || QFile::exists(target + QStringLiteral(".part")));
    if (sourceExists) {
      EXPECT_EQ(snapshot(source), before);
    }
  }

  // Converts source into source.sqlite; returns the parts left out.
  QStringList convert(const QString& source, bool lenient = true) const {
    SCOPED_TRACE(source.toStdString());
    const RunResult run = runConverter((lenient ? QStringList{"--lenient"} : QStringList{})
                                       << source << source + QStringLiteral(".sqlite"));
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList parts;
    for (const QString& line : QString::fromUtf8(run.out).split(u'\n')) {
      if (line.startsWith(u"left out\t")) parts << line.section(u'\t', 1);
    }
    return parts;
  }

  // The rows of a table in the working copy of source, each as one text.
  static std::vector<QString> rowsOf(const QString& source, const QString& table) {
    std::vector<QString> rows;
    for (const auto& row :
         SqliteFile(source + QStringLiteral(".sqlite"))
             .query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table))) {
      QString text;
      for (const Cell& cell : row) text += (cell.type == SQLITE_NULL ? "<null>" : cell.text) + u'|';
      rows.push_back(text);
    }
    return rows;
  }

  QString accounts_;
  CellLocation gaid_;
};

// Each damaged copy is refused; converted leniently, it loses the damaged
// rows, pages or tables only (or is refused too when nothing can be read).
TEST_F(DamagedFiles, DamagedFilesAreRefusedAndLenientlyLoseOnlyTheDamagedParts) {
  EXPECT_TRUE(convert(accounts_).isEmpty());
  const auto cards = rowsOf(accounts_, QStringLiteral("Card"));
  const auto lines = rowsOf(accounts_, QStringLiteral("Gaid"));
  const auto gaidCopied = [&](qsizetype copied) {
    return QStringLiteral("Table 'Gaid': %1 rows copied, its definition counts %2")
        .arg(copied)
        .arg(lines.size());
  };
  const auto rowsKept = [&](const QString& copy, qsizetype lost) {
    EXPECT_EQ(rowsOf(copy, QStringLiteral("Card")), cards);
    const auto left = rowsOf(copy, QStringLiteral("Gaid"));
    EXPECT_EQ(left.size() + lost, lines.size());
    for (const QString& line : left) {
      EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line.toStdString();
    }
  };
  const qsizetype tdef = qsizetype(gaid_.tdefPage) * gaid_.pageSize;
  const qsizetype data = qsizetype(gaid_.page) * gaid_.pageSize;
  struct Case {
    const char* name;
    long number;
    const char* fragment;
    bool evenLeniently;  // nothing can be read: leniency does not help
    std::function<void(QByteArray&)> edit;
    // What a lenient conversion leaves out, when checked.
    std::function<void(const QStringList& leftOut, const QString& damaged)> lenient = {};
  };
  const Case cases[] = {
      {"row.mdb", kDamaged, "table 'Gaid': a row is cut short", false,
       [&](QByteArray& b) { putU16(b, data + gaid_.rowStart, 0xFFFF); },
       [&](const QStringList& leftOut, const QString& damaged) {
         EXPECT_EQ(leftOut, QStringList{gaidCopied(lines.size() - 1) + " (a row is cut short)."});
         rowsKept(damaged, 1);
         EXPECT_EQ(rowsOf(damaged, QStringLiteral("Gaid"))[0], lines[1]) << "the first is lost";
       }},
      {"data.mdb", kDamaged, "table 'Gaid'", false,
       [&](QByteArray& b) { overwriteWithNoise(b, gaid_.page); },
       [&](const QStringList& leftOut, const QString& damaged) {
         const auto left = rowsOf(damaged, QStringLiteral("Gaid")).size();
         EXPECT_LT(left, lines.size());
         rowsKept(damaged, qsizetype(lines.size() - left));
         EXPECT_EQ(leftOut, QStringList{gaidCopied(left) + '.'});
       }},
      {"map.mdb", kDamaged, "table 'Gaid': usage map is missing", false,
       [&](QByteArray& b) { putU32(b, tdef + gaid_.usageMapOffset, 0); },
       [&](const QStringList& leftOut, const QString& damaged) {
         EXPECT_EQ(leftOut,
                   QStringList{"Table 'Gaid' left out (usage map is missing (page 0, row 0))."});
         EXPECT_EQ(SqliteFile(damaged + ".sqlite").tables(), QStringList{"Card"});
         EXPECT_EQ(rowsOf(damaged, QStringLiteral("Card")), cards);
       }},
      // What a lenient conversion of it leaves out is shown in the version-1 source's tests.
      {"cut1.mdb", kDamaged, "whole number of 4096-byte pages", false,
       [](QByteArray& b) { b.chop(1); }},
      {"catrows.mdb", kDamaged, "catalogue", false,
       [&](QByteArray& b) {  // the first data page of the catalogue (table definition 2)
         quint32 page = 3;
         while (!(b[page * gaid_.pageSize] == kDataPage && b[page * gaid_.pageSize + 4] == 2 &&
                  b[page * gaid_.pageSize + 5] == 0)) {
           ASSERT_LT(++page, b.size() / gaid_.pageSize);
         }
         overwriteWithNoise(b, page);
       },
       [&](const QStringList& leftOut, const QString& damaged) {
         ASSERT_EQ(leftOut.size(), 1);
         EXPECT_TRUE(leftOut[0].startsWith(
             u"The tables named in damaged rows of the catalogue left out (0 of its "));
         EXPECT_TRUE(SqliteFile(damaged + ".sqlite").tables().isEmpty());
       }},
      // Cut where the journal's rows begin: whole pages, but rows are missing.
      {"cut.mdb", kDamaged, "damaged", false, [&](QByteArray& b) { b.truncate(data); }},
      {"tdef.mdb", kDamaged, "table 'Gaid'", false,
       [&](QByteArray& b) { overwriteWithNoise(b, gaid_.tdefPage); }},
      {"count.mdb", kDamaged, "but its definition counts 40000", false,
       [&](QByteArray& b) { putU32(b, tdef + gaid_.tableRowCountOffset, 40000); }},
      {"cat.mdb", kDamaged, "catalogue", true, [&](QByteArray& b) { overwriteWithNoise(b, 2); }},
      {"newer.mdb", kUnrecognized, "newer than Jet 4", false, [](QByteArray& b) { b[0x14] = 5; }},
      {"empty.mdb", kUnrecognized, "empty", false, [](QByteArray& b) { b.clear(); }},
      {"notes.mdb", kUnrecognized, "not a Jet database", true,
       [](QByteArray& b) { b = "Standard text, not a database\n"; }},
  };

  for (const Case& c : cases) {
    const QString damaged = damagedCopy(QString::fromLatin1(c.name), c.edit);
    expectRefused(damaged, c.number, QString::fromUtf8(c.fragment));
    if (c.evenLeniently) expectRefused(damaged, c.number, QString::fromUtf8(c.fragment), true);
    SCOPED_TRACE(c.name);
    if (c.lenient) c.lenient(convert(damaged), damaged);
  }
  expectRefused(tempPath(QStringLiteral("missing.mdb")), 3024, QStringLiteral("missing.mdb"));
}

// Row storage that the sample files lack but real files have, patched in as
// the Jet engine stores it: deleted rows, rows moved to another page.
TEST_F(DamagedFiles, DeletedRowsAreLeftOutAndMovedRowsFollowed) {
  EXPECT_TRUE(convert(accounts_, false).isEmpty());
  const auto rows = rowsOf(accounts_, QStringLiteral("Gaid"));
  ASSERT_GT(rows.size(), 2u);
  const qsizetype entry = gaid_.page * gaid_.pageSize + gaid_.rowCountOffset + 2 + 2 * gaid_.row;
  const QString deleted = damagedCopy(QStringLiteral("deleted.mdb"), [&](QByteArray& b) {
    putU16(b, entry, getU16(b, entry) | kDeletedFlag);
    putU32(b, gaid_.tdefPage * gaid_.pageSize + gaid_.tableRowCountOffset,
           quint32(rows.size() - 1));
  });
  EXPECT_TRUE(convert(deleted, false).isEmpty());
  EXPECT_EQ(rowsOf(deleted, QStringLiteral("Gaid")), decltype(rows)(rows.begin() + 1, rows.end()));

  // Moved to a new page that holds it alone; its slot keeps a pointer to it.
  const QString moved = damagedCopy(QStringLiteral("moved.mdb"), [&](QByteArray& b) {
    const qsizetype at = gaid_.page * gaid_.pageSize + gaid_.rowStart;
    const QByteArray row = b.mid(at, gaid_.rowLength);
    const auto page = quint32(b.size() / gaid_.pageSize);
    const qsizetype base = b.size();
    b.append(QByteArray(gaid_.pageSize, '\0'));
    b[base] = kDataPage;
    putU32(b, base + 4, gaid_.tdefPage);
    putU16(b, base + gaid_.rowCountOffset, 1);
    putU16(b, base + gaid_.rowCountOffset + 2, quint32(gaid_.pageSize - row.size()) | kDeletedFlag);
    b.replace(base + gaid_.pageSize - row.size(), row.size(), row);
    putU16(b, entry, getU16(b, entry) | kMovedFlag);
    putU32(b, at, page << 8);  // row 0 of the new page
  });
  EXPECT_TRUE(convert(moved, false).isEmpty());
  EXPECT_EQ(rowsOf(moved, QStringLiteral("Gaid")), rows);
}

// A memo too long for one page, stored as a chain of long-value rows on new
// pages; edit may change the links (page numbers) before they are written.
TEST_F(DamagedFiles, LongMemoChainsAreReadInFullAndBrokenChainsRefused) {
  const QString stock =
      copyFixture(QStringLiteral("v1/stock/Stock001.mdb"), QStringLiteral("s.mdb"));
  const CellLocation memo = locateCell(stock, QStringLiteral("ف_مبيعات"), QStringLiteral("ملاحظه"));
  QString text;
  for (int i = 0; text.size() < 12000; ++i) text += QStringLiteral("ملاحظة طويلة رقم %1؛ ").arg(i);
  const auto withChain = [&](const QString& name,
                             const std::function<void(std::vector<quint32>&)>& edit) {
    return damagedCopy(
        name,
        [&](QByteArray& file) {
          const QByteArray data(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
          const int chunk = memo.pageSize - memo.rowCountOffset - 4 - 4;
          const auto first = quint32(file.size() / memo.pageSize);
          const auto count = quint32((data.size() + chunk - 1) / chunk);
          std::vector<quint32> links;
          for (quint32 page = first + 1; page < first + count; ++page) links.push_back(page);
          links.push_back(0);
          edit(links);
          for (quint32 i = 0; i < count; ++i) {
            const QByteArray part = data.mid(qsizetype(i) * chunk, chunk);
            const qsizetype base = file.size();
            file.append(QByteArray(memo.pageSize, '\0'));
            file[base] = kDataPage;
            file.replace(base + 4, 4, "LVAL");
            putU16(file, base + memo.rowCountOffset, 1);
            putU16(file, base + memo.rowCountOffset + 2, quint32(memo.pageSize - part.size() - 4));
            putU32(file, base + memo.pageSize - part.size() - 4, links[i] << 8);
            file.replace(base + memo.pageSize - part.size(), part.size(), part);
          }
          const qsizetype field = memo.page * memo.pageSize + memo.fieldStart;
          putU32(file, field, quint32(data.size()));  // no flags: a chain
          putU32(file, field + 4, first << 8);
        },
        stock);
  };
  const QString chained = withChain(QStringLiteral("long.mdb"), [](auto&) {});
  EXPECT_TRUE(convert(chained, false).isEmpty());
  const auto rows = rowsOf(chained, QStringLiteral("ف_مبيعات"));
  EXPECT_NE(std::find_if(rows.begin(), rows.end(),
                         [&](const QString& row) { return row.endsWith(text + u'|'); }),
            rows.end());

  expectRefused(withChain(QStringLiteral("loop.mdb"), [](auto& links) { links[1] = links[0]; }),
                kDamaged,
                QStringLiteral("table 'ف_مبيعات': a long value's chain loops back on itself"));
  expectRefused(withChain(QStringLiteral("short.mdb"), [](auto& links) { links.front() = 0; }),
                kDamaged, QStringLiteral("a long value's chain ends after"));
  expectRefused(withChain(QStringLiteral("far.mdb"), [](auto& links) { links.front() = 100000; }),
                kDamaged, QStringLiteral("page 100000 lies beyond the end of the file"));
}

}  // namespace
}  // namespace qalvoro::v1::test
