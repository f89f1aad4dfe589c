// Damaged and foreign files, made by cutting and corrupting copies of the
// sample files: each must end in one clean error line, never in a crash or a
// hang, and leave no working copy behind. A lenient conversion copies what
// can still be read and lists what it left out.

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <functional>
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
  QString damagedCopy(const QString& name, const std::function<void(QByteArray&)>& edit) const {
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

// Each damaged copy is refused; converted leniently, it loses the damaged
// rows, pages or tables only (or is refused too when nothing can be read).
TEST_F(DamagedFiles, DamagedFilesAreRefusedAndLenientlyLoseOnlyTheDamagedParts) {
  const QString sound = tempPath(QStringLiteral("sound.sqlite"));
  EXPECT_TRUE(convertLeniently(accounts_, sound).isEmpty());
  const auto cards = rowsOf(sound, QStringLiteral("Card"));
  const auto lines = rowsOf(sound, QStringLiteral("Gaid"));
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
  using Lenient = std::function<void(const QStringList& leftOut, const QString& copy)>;
  struct Case {
    const char* name;
    std::function<void(QByteArray&)> edit;
    long number;
    const char* fragment;
    Lenient lenient;             // what a lenient conversion leaves out, when checked
    bool evenLeniently = false;  // nothing can be read: leniency does not help
  };
  const Case cases[] = {
      {"row.mdb", [&](QByteArray& b) { putU16(b, data + gaid_.rowStart, 0xFFFF); }, kDamaged,
       "table 'Gaid': a row is cut short",
       [&](const QStringList& leftOut, const QString& copy) {
         EXPECT_EQ(leftOut, QStringList{gaidCopied(lines.size() - 1) + " (a row is cut short)."});
         rowsKept(copy, 1);
         EXPECT_EQ(rowsOf(copy, QStringLiteral("Gaid"))[0], lines[1]) << "the first row is lost";
       }},
      {"data.mdb", [&](QByteArray& b) { overwriteWithNoise(b, gaid_.page); }, kDamaged,
       "table 'Gaid'",
       [&](const QStringList& leftOut, const QString& copy) {
         const auto left = rowsOf(copy, QStringLiteral("Gaid")).size();
         EXPECT_LT(left, lines.size());
         rowsKept(copy, qsizetype(lines.size() - left));
         EXPECT_EQ(leftOut, QStringList{gaidCopied(left) + '.'});
       }},
      {"map.mdb", [&](QByteArray& b) { putU32(b, tdef + gaid_.usageMapOffset, 0); }, kDamaged,
       "table 'Gaid': usage map is missing",
       [&](const QStringList& leftOut, const QString& copy) {
         EXPECT_EQ(leftOut,
                   QStringList{"Table 'Gaid' left out (usage map is missing (page 0, row 0))."});
         EXPECT_EQ(SqliteFile(copy).tables(), QStringList{"Card"});
         EXPECT_EQ(rowsOf(copy, QStringLiteral("Card")), cards);
       }},
      {"cut1.mdb", [](QByteArray& b) { b.chop(1); }, kDamaged, "whole number of 4096-byte pages",
       [&](const QStringList& leftOut, const QString&) {
         ASSERT_FALSE(leftOut.isEmpty());
         EXPECT_EQ(leftOut[0], QStringLiteral("The last %1 bytes of the file left out (the file "
                                              "ends inside a page).")
                                   .arg(gaid_.pageSize - 1));
       }},
      {"catrows.mdb", [&](QByteArray& b) { overwriteCatalogueRows(b); }, kDamaged, "catalogue",
       [&](const QStringList& leftOut, const QString& copy) {
         ASSERT_EQ(leftOut.size(), 1);
         EXPECT_TRUE(leftOut[0].startsWith(
             u"The tables named in damaged rows of the catalogue left out (0 of its "));
         EXPECT_TRUE(SqliteFile(copy).tables().isEmpty());
       }},
      // Cut where the journal's rows begin: whole pages, but rows are missing.
      {"cut.mdb", [&](QByteArray& b) { b.truncate(data); }, kDamaged, "damaged", {}},
      {"tdef.mdb",
       [&](QByteArray& b) { overwriteWithNoise(b, gaid_.tdefPage); },
       kDamaged,
       "table 'Gaid'",
       {}},
      {"count.mdb",
       [&](QByteArray& b) { putU32(b, tdef + gaid_.tableRowCountOffset, 40000); },
       kDamaged,
       "but its definition counts 40000",
       {}},
      {"cat.mdb",
       [&](QByteArray& b) { overwriteWithNoise(b, 2); },
       kDamaged,
       "catalogue",
       {},
       true},
      {"newer.mdb", [](QByteArray& b) { b[0x14] = 0x05; }, kUnrecognized, "newer than Jet 4", {}},
      {"empty.mdb", [](QByteArray& b) { b.clear(); }, kUnrecognized, "empty", {}},
      {"notes.mdb",
       [](QByteArray& b) { b = "Standard text, not a database\n"; },
       kUnrecognized,
       "not a Jet database",
       {},
       true},
  };
  for (const Case& c : cases) {
    const QString damaged = damagedCopy(QString::fromLatin1(c.name), c.edit);
    expectRefused(damaged, c.number, QString::fromUtf8(c.fragment));
    if (c.evenLeniently) expectRefused(damaged, c.number, QString::fromUtf8(c.fragment), true);
    if (!c.lenient) continue;
    SCOPED_TRACE(c.name);
    const QString copy = damaged + QStringLiteral(".sqlite");
    c.lenient(convertLeniently(damaged, copy), copy);
  }
  expectRefused(tempPath(QStringLiteral("missing.mdb")), kFileNotFound,
                QStringLiteral("missing.mdb"));
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

}  // namespace
}  // namespace qalvoro::v1::test
