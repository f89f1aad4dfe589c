// Damaged and foreign files, made by cutting and corrupting copies of the
// sample files: each must end in one clean error line, never in a crash or a
// hang, and leave no working copy behind.

#include <gtest/gtest.h>

#include <QFile>
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

  // Converts source and expects error `number` whose text contains fragment.
  void expectRefused(const QString& source, long number, const QString& fragment) const {
    SCOPED_TRACE(source.toStdString());
    const bool sourceExists = QFile::exists(source);
    const FileSnapshot before = sourceExists ? snapshot(source) : FileSnapshot{};
    const QString target = tempPath(QStringLiteral("out.sqlite"));
    const RunResult run = runConverter({source, target});
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
}

TEST_F(DamagedFiles, CorruptedCatalogueIsRefused) {
  constexpr quint32 kCatalogueDefinition = 2;
  const QString definition = damagedCopy(QStringLiteral("cat.mdb"), [&](QByteArray& bytes) {
    overwriteWithNoise(bytes, kCatalogueDefinition);
  });
  expectRefused(definition, kDamaged, QStringLiteral("catalogue"));

  const QString rows = damagedCopy(QStringLiteral("catrows.mdb"), [&](QByteArray& bytes) {
    for (quint32 page = 3; page < bytes.size() / gaid_.pageSize; ++page) {
      const qsizetype at = qsizetype(page) * gaid_.pageSize;
      if (bytes[at] == 0x01 && bytes[at + 4] == kCatalogueDefinition && bytes[at + 5] == 0) {
        overwriteWithNoise(bytes, page);
        return;
      }
    }
    FAIL() << "no data page of the catalogue";
  });
  expectRefused(rows, kDamaged, QStringLiteral("catalogue"));
}

TEST_F(DamagedFiles, ForeignEmptyAndMissingFilesAreRefused) {
  const QString text = tempPath(QStringLiteral("notes.mdb"));
  writeAll(text, "Standard text, not a database\n");
  expectRefused(text, kUnrecognized, QStringLiteral("not a Jet database"));

  const QString newer =
      damagedCopy(QStringLiteral("newer.mdb"), [](QByteArray& bytes) { bytes[0x14] = 0x05; });
  expectRefused(newer, kUnrecognized, QStringLiteral("newer than Jet 4"));

  const QString empty = tempPath(QStringLiteral("empty.mdb"));
  writeAll(empty, {});
  expectRefused(empty, kUnrecognized, QStringLiteral("empty"));

  expectRefused(tempPath(QStringLiteral("missing.mdb")), kFileNotFound,
                QStringLiteral("missing.mdb"));
}

}  // namespace
}  // namespace qalvoro::v1::test
