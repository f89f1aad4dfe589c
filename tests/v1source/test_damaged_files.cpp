// Damaged and foreign files, made by cutting and corrupting copies of the
// sample files: each must end in one clean error line, never in a crash or a
// hang, and leave no working copy behind. A lenient conversion copies what
// can still be read and lists what it left out.

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <random>

#include "tests/v1source/ConvertTestSupport.h"

namespace qalvoro::v1::test {
namespace {

constexpr long kFileNotFound = 3024;
constexpr long kDamaged = 3049;
constexpr long kUnrecognized = 3343;

class DamagedFiles : public FixtureTest {
 protected:
  void SetUp() override {
    FixtureTest::SetUp();
    if (IsSkipped()) return;
    accounts_ = copyFixture(QStringLiteral("v1/accounts/ACC2003.MDB"), QStringLiteral("acc.mdb"));
    gaid_ = locateCell(accounts_, QStringLiteral("Gaid"), QStringLiteral("رقم_القيد"));
  }

  // A copy of the accounts file changed by edit.
  template <typename Edit>
  QString damagedCopy(const QString& name, Edit edit) const {
    QByteArray bytes = readAll(accounts_);
    edit(bytes);
    const QString path = tempPath(name);
    writeAll(path, bytes);
    return path;
  }

  void overwriteWithNoise(QByteArray& bytes, quint32 page) const {
    std::mt19937 noise(page);
    for (int i = 0; i < gaid_.pageSize; ++i)
      bytes[qsizetype(page) * gaid_.pageSize + i] = char(noise());
  }

  void overwriteCatalogueRows(QByteArray& bytes) const {
    constexpr char kCatalogueDefinition = 2;
    for (quint32 page = 3; page < bytes.size() / gaid_.pageSize; ++page) {
      const qsizetype at = qsizetype(page) * gaid_.pageSize;
      if (bytes[at] == 0x01 && bytes[at + 4] == kCatalogueDefinition && bytes[at + 5] == 0) {
        overwriteWithNoise(bytes, page);
        return;
      }
    }
    FAIL() << "no data page of the catalogue";
  }

  // Converts source (leniently if asked) and expects error `number` whose
  // text contains fragment.
  void expectRefused(const QString& source, long number, const QString& fragment,
                     bool lenient = false) const {
    SCOPED_TRACE(source.toStdString() + (lenient ? " --lenient" : ""));
    const bool sourceExists = QFile::exists(source);
    const FileSnapshot before = sourceExists ? snapshot(source) : FileSnapshot{};
    const QString target = tempPath(QStringLiteral("out.sqlite"));
    QStringList arguments{source, target};
    if (lenient) arguments.prepend(QStringLiteral("--lenient"));
    const RunResult run = runConverter(arguments);
    ASSERT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    const QString line = QString::fromUtf8(run.err);
    EXPECT_TRUE(line.endsWith(u'\n') && line.count(u'\n') == 1) << run.err.toStdString();
    EXPECT_EQ(line.section(u'\t', 0, 0).toLong(), number) << run.err.toStdString();
    EXPECT_TRUE(line.section(u'\t', 1).contains(fragment)) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_FALSE(QFile::exists(target + QStringLiteral(".part")));
    if (sourceExists) {
      EXPECT_EQ(snapshot(source), before);
    }
  }

  // Converts source leniently into target; returns the parts left out.
  QStringList convertLeniently(const QString& source, const QString& target) const {
    SCOPED_TRACE(source.toStdString());
    const RunResult run = runConverter({QStringLiteral("--lenient"), source, target});
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList parts;
    for (const QString& line : QString::fromUtf8(run.out).split(u'\n')) {
      if (line.startsWith(u"left out\t")) parts << line.section(u'\t', 1);
    }
    return parts;
  }

  static std::vector<QString> rowsOf(const QString& copy, const QString& table) {
    std::vector<QString> rows;
    for (const auto& row :
         SqliteFile(copy).query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table))) {
      QString text;
      for (const Cell& cell : row) text += cell.text + u'|';
      rows.push_back(text);
    }
    return rows;
  }

  QString accounts_;
  CellLocation gaid_;
};

TEST_F(DamagedFiles, CutFilesAreRefused) {
  // Cut where the journal's rows begin: whole pages, but rows are missing.
  const QString atBoundary = damagedCopy(QStringLiteral("cut.mdb"), [&](QByteArray& bytes) {
    bytes.truncate(qsizetype(gaid_.page) * gaid_.pageSize);
  });
  expectRefused(atBoundary, kDamaged, QStringLiteral("damaged"));

  const QString offByOne =
      damagedCopy(QStringLiteral("cut1.mdb"), [&](QByteArray& bytes) { bytes.chop(1); });
  expectRefused(offByOne, kDamaged, QStringLiteral("whole number of 4096-byte pages"));
}

TEST_F(DamagedFiles, CorruptedPagesAreRefused) {
  const QString dataPage = damagedCopy(QStringLiteral("data.mdb"), [&](QByteArray& bytes) {
    overwriteWithNoise(bytes, gaid_.page);
  });
  expectRefused(dataPage, kDamaged, QStringLiteral("table 'Gaid'"));

  const QString noUsageMap = damagedCopy(QStringLiteral("map.mdb"), [&](QByteArray& bytes) {
    putU32(bytes, qsizetype(gaid_.tdefPage) * gaid_.pageSize + gaid_.usageMapOffset, 0);
  });
  expectRefused(noUsageMap, kDamaged, QStringLiteral("table 'Gaid': usage map is missing"));

  const QString tableDefinition = damagedCopy(QStringLiteral("tdef.mdb"), [&](QByteArray& bytes) {
    overwriteWithNoise(bytes, gaid_.tdefPage);
  });
  expectRefused(tableDefinition, kDamaged, QStringLiteral("table 'Gaid'"));

  const QString rowCount = damagedCopy(QStringLiteral("count.mdb"), [&](QByteArray& bytes) {
    putU32(bytes, qsizetype(gaid_.tdefPage) * gaid_.pageSize + gaid_.tableRowCountOffset, 40000);
  });
  expectRefused(rowCount, kDamaged, QStringLiteral("but its definition counts 40000"));

  const QString catalogueRows = damagedCopy(
      QStringLiteral("catrows.mdb"), [&](QByteArray& bytes) { overwriteCatalogueRows(bytes); });
  expectRefused(catalogueRows, kDamaged, QStringLiteral("catalogue"));
}

TEST_F(DamagedFiles, ForeignEmptyAndMissingFilesAreRefused) {
  const QString newer =
      damagedCopy(QStringLiteral("newer.mdb"), [](QByteArray& bytes) { bytes[0x14] = 0x05; });
  expectRefused(newer, kUnrecognized, QStringLiteral("newer than Jet 4"));

  const QString empty = tempPath(QStringLiteral("empty.mdb"));
  writeAll(empty, {});
  expectRefused(empty, kUnrecognized, QStringLiteral("empty"));

  expectRefused(tempPath(QStringLiteral("missing.mdb")), kFileNotFound,
                QStringLiteral("missing.mdb"));
}

TEST_F(DamagedFiles, LenientConversionLeavesDamagedRowsPagesAndTablesOut) {
  const QString sound = tempPath(QStringLiteral("sound.sqlite"));
  EXPECT_TRUE(convertLeniently(accounts_, sound).isEmpty());
  const auto cards = rowsOf(sound, QStringLiteral("Card"));
  const auto lines = rowsOf(sound, QStringLiteral("Gaid"));
  const auto leftOutOfGaid = [&](qsizetype copied) {
    return QStringLiteral("Table 'Gaid': %1 rows copied, its definition counts %2")
        .arg(copied)
        .arg(lines.size());
  };

  // One row whose column count runs past its end: that row alone is left out.
  const QString badRow = damagedCopy(QStringLiteral("row.mdb"), [&](QByteArray& bytes) {
    putU16(bytes, qsizetype(gaid_.page) * gaid_.pageSize + gaid_.rowStart, 0xFFFF);
  });
  expectRefused(badRow, kDamaged, QStringLiteral("table 'Gaid': a row is cut short"));
  const QString rowCopy = tempPath(QStringLiteral("row.sqlite"));
  EXPECT_EQ(convertLeniently(badRow, rowCopy),
            QStringList{leftOutOfGaid(lines.size() - 1) + " (a row is cut short)."});
  EXPECT_EQ(rowsOf(rowCopy, QStringLiteral("Card")), cards);
  auto expected = lines;
  expected.erase(expected.begin());
  EXPECT_EQ(rowsOf(rowCopy, QStringLiteral("Gaid")), expected);

  // A data page of the journal overwritten: its rows are missing, the rest is there.
  const QString badPage = damagedCopy(QStringLiteral("data.mdb"), [&](QByteArray& bytes) {
    overwriteWithNoise(bytes, gaid_.page);
  });
  const QString pageCopy = tempPath(QStringLiteral("data.sqlite"));
  const QStringList pageLeftOut = convertLeniently(badPage, pageCopy);
  const auto linesLeft = rowsOf(pageCopy, QStringLiteral("Gaid"));
  EXPECT_LT(linesLeft.size(), lines.size());
  EXPECT_EQ(pageLeftOut, QStringList{leftOutOfGaid(linesLeft.size()) + '.'});
  for (const QString& line : linesLeft) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line.toStdString();
  }
  EXPECT_EQ(rowsOf(pageCopy, QStringLiteral("Card")), cards);

  // The journal's usage map gone: the table is left out, Card is copied.
  const QString noMap = damagedCopy(QStringLiteral("map.mdb"), [&](QByteArray& bytes) {
    putU32(bytes, qsizetype(gaid_.tdefPage) * gaid_.pageSize + gaid_.usageMapOffset, 0);
  });
  const QString mapCopy = tempPath(QStringLiteral("map.sqlite"));
  EXPECT_EQ(convertLeniently(noMap, mapCopy),
            QStringList{"Table 'Gaid' left out (usage map is missing (page 0, row 0))."});
  EXPECT_EQ(SqliteFile(mapCopy).tables(), QStringList{"Card"});
  EXPECT_EQ(rowsOf(mapCopy, QStringLiteral("Card")), cards);

  // A file cut one byte short loses its last page.
  const QString cut =
      damagedCopy(QStringLiteral("cut1.mdb"), [&](QByteArray& bytes) { bytes.chop(1); });
  const QStringList cutLeftOut = convertLeniently(cut, tempPath(QStringLiteral("cut1.sqlite")));
  ASSERT_FALSE(cutLeftOut.isEmpty());
  EXPECT_EQ(cutLeftOut[0], QStringLiteral("The last %1 bytes of the file left out (the file "
                                          "ends inside a page).")
                               .arg(gaid_.pageSize - 1));

  // The catalogue's rows overwritten: the tables they name are missing.
  const QString catalogueRows = damagedCopy(
      QStringLiteral("catrows.mdb"), [&](QByteArray& bytes) { overwriteCatalogueRows(bytes); });
  const QString catalogueCopy = tempPath(QStringLiteral("catrows.sqlite"));
  const QStringList catalogueLeftOut = convertLeniently(catalogueRows, catalogueCopy);
  ASSERT_EQ(catalogueLeftOut.size(), 1);
  EXPECT_TRUE(catalogueLeftOut[0].startsWith(
      u"The tables named in damaged rows of the catalogue left out (0 of its "))
      << catalogueLeftOut[0].toStdString();
  EXPECT_TRUE(SqliteFile(catalogueCopy).tables().isEmpty());
}

TEST_F(DamagedFiles, LenientConversionLeavesADamagedRowOfAJet3FileOut) {
  const QString jet3 = copyFixture(QStringLiteral("jet3/testV1997.mdb"), QStringLiteral("97.mdb"));
  const QString sound = tempPath(QStringLiteral("97.sqlite"));
  EXPECT_TRUE(convertLeniently(jet3, sound).isEmpty());
  const auto rows = rowsOf(sound, QStringLiteral("Table1"));
  ASSERT_GE(rows.size(), 2u);

  // The first row flagged as moved: its bytes do not point to a row of the table.
  const CellLocation first = locateCell(jet3, QStringLiteral("Table1"), QStringLiteral("A"));
  QByteArray bytes = readAll(jet3);
  const qsizetype entry =
      qsizetype(first.page) * first.pageSize + first.rowCountOffset + 2 + 2 * first.row;
  putU16(bytes, entry, getU16(bytes, entry) | 0x4000);
  const QString damaged = tempPath(QStringLiteral("97bad.mdb"));
  writeAll(damaged, bytes);
  expectRefused(damaged, kDamaged, QStringLiteral("table 'Table1'"));

  const QString copy = tempPath(QStringLiteral("97bad.sqlite"));
  const QStringList leftOut = convertLeniently(damaged, copy);
  ASSERT_EQ(leftOut.size(), 1);
  EXPECT_TRUE(leftOut[0].startsWith(
      QStringLiteral("Table 'Table1': %1 rows copied, its definition counts %2 (")
          .arg(rows.size() - 1)
          .arg(rows.size())))
      << leftOut[0].toStdString();
  EXPECT_EQ(rowsOf(copy, QStringLiteral("Table1")),
            std::vector<QString>(rows.begin() + 1, rows.end()));
  for (const QString& table : SqliteFile(sound).tables()) {
    if (table != u"Table1") {
      EXPECT_EQ(rowsOf(copy, table), rowsOf(sound, table)) << table.toStdString();
    }
  }
}

// A foreign file and a file whose catalogue cannot be read: refused, and
// leniency does not help.
TEST_F(DamagedFiles, WhatCannotBeReadAtAllIsRefusedEvenLeniently) {
  const QString catalogue = damagedCopy(QStringLiteral("cat.mdb"),
                                        [&](QByteArray& bytes) { overwriteWithNoise(bytes, 2); });
  const QString text = tempPath(QStringLiteral("notes.mdb"));
  writeAll(text, "Standard text, not a database\n");
  for (const bool lenient : {false, true}) {
    expectRefused(catalogue, kDamaged, QStringLiteral("catalogue"), lenient);
    expectRefused(text, kUnrecognized, QStringLiteral("not a Jet database"), lenient);
  }
}

}  // namespace
}  // namespace qalvoro::v1::test
