// Conversion of version-1 files: value decoding, the sample files against mdb-export value by
// value, and the child process's failures, crashes and hangs coming back as DbError.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "host/db/DbError.h"
#include "tests/support/Fixtures.h"
#include "tests/v1source/ConvertTestSupport.h"
#include "v1source/codepage/CodePage.h"
#include "v1source/convert/ConversionError.h"
#include "v1source/convert/JetText.h"
#include "v1source/convert/JetValue.h"
#include "v1source/convert/V1Converter.h"

namespace qalvoro::v1::test {
namespace {

TEST(JetValues, FormatsDatesAsIsoTextsRoundedToTheSecond) {
  EXPECT_EQ(formatJetDate(0.0), u"1899-12-30 00:00:00");
  EXPECT_EQ(formatJetDate(37622.5), u"2003-01-01 12:00:00");
  EXPECT_EQ(formatJetDate(37622.0 + 86399.6 / 86400.0), u"2003-01-02 00:00:00");
  // Before 1899-12-30 the fraction still counts forward from midnight.
  EXPECT_EQ(formatJetDate(-1.25), u"1899-12-29 06:00:00");
  EXPECT_EQ(formatJetDate(-0.5), u"1899-12-30 12:00:00");
  EXPECT_EQ(formatJetDate(-657434.0), u"0100-01-01 00:00:00");
  EXPECT_EQ(formatJetDate(2958465.0 + 86399.0 / 86400.0), u"9999-12-31 23:59:59");
  EXPECT_THROW(formatJetDate(2958466.0), ReadError);
  EXPECT_THROW(formatJetDate(-657435.0), ReadError);
  EXPECT_THROW(formatJetDate(std::nan("")), ReadError);
}

TEST(JetValues, DecodesTextOfBothVersionsInTheirCodePages) {
  const TextDecoder jet4(false, 1256);
  const auto decode = [&](std::initializer_list<uint8_t> bytes) {
    return jet4.decode(std::span(bytes.begin(), bytes.size()));
  };
  EXPECT_EQ(decode({'A', 0, 0x27, 0x06}), u"Aا");
  EXPECT_EQ(decode({}), u"");
  // Compressed: runs of one-byte and two-byte characters, switched by 0x00.
  EXPECT_EQ(decode({0xFF, 0xFE, 'A', 'B', 0, 0x27, 0x06, 0x28, 0x06, 0, ' ', '1'}), u"ABاب 1");
  EXPECT_THROW(decode({'A', 0, 'B'}), ReadError);
  EXPECT_THROW(decode({0xFF, 0xFE, 'A', 0, 0x27}), ReadError);

  // Jet 3: the declared code page (1252 means none) unless another is asked for.
  EXPECT_EQ(QList<int>({chooseCodePage(1252, 0), chooseCodePage(0, 0), chooseCodePage(1256, 0),
                        chooseCodePage(864, 0), chooseCodePage(864, 1252)}),
            QList<int>({1256, 1256, 1256, 864, 1252}));
  const uint8_t bytes[] = {'A', 0x81, 0xC7};
  EXPECT_EQ(TextDecoder(true, 1256).decode(bytes), u"Aپا");
}

TEST(JetValues, SinglesBecomeTheShortestDecimalThatReadsBack) {
  EXPECT_EQ(singleToDouble(1234.56f), 1234.56);
  EXPECT_EQ(singleToDouble(0.1f), 0.1);
  EXPECT_EQ(singleToDouble(-43.32f), -43.32);
  EXPECT_EQ(singleToDouble(2.5f), 2.5);
  // 804983.38 and 804983.4 are the same Single: the shorter one is kept.
  EXPECT_EQ(singleToDouble(804983.38f), 804983.4);
  EXPECT_EQ(singleToDouble(16777216.0f), 16777216.0);
  // Whole values too: this Single is 309840992, and 309841000 reads back as it.
  EXPECT_EQ(singleToDouble(309840990.0f), 309841000.0);
  EXPECT_EQ(singleToDouble(std::numeric_limits<float>::max()), 3.4028235e38);
  EXPECT_EQ(singleToDouble(std::numeric_limits<float>::denorm_min()), 1e-45);
  EXPECT_TRUE(std::signbit(singleToDouble(-0.0f)));
  EXPECT_EQ(singleToDouble(-std::numeric_limits<float>::infinity()), -HUGE_VAL);
  EXPECT_TRUE(std::isnan(singleToDouble(std::numeric_limits<float>::quiet_NaN())));
}

// mdb-export prints doubles with 16 digits, singles with 8 and amounts with 4
// decimals; the working copy's values must print the same. A Single is kept
// as the shortest decimal that reads back as it (checked above, and imported
// as typed in the accounts import tests).
void expectSameValue(const QString& declaredType, const Cell& cell, const mdbtools::Cell& field) {
  const QString jetType = declaredType.section(u' ', 0, 0);
  if (!field) {
    EXPECT_TRUE(cell.type == SQLITE_NULL || (cell.type == SQLITE_TEXT && cell.text.isEmpty()));
    return;
  }
  const QString& exported = *field;
  if (jetType == u"DATETIME" && exported == u"1900-01-00 00:00:00") {
    // mdb-export's rendering of every date before 1899-12-30.
    EXPECT_LT(cell.text, QStringLiteral("1899-12-30"));
  } else if (jetType == u"TEXT" || jetType == u"MEMO" || jetType == u"DATETIME") {
    EXPECT_EQ(cell.type, SQLITE_TEXT);
    EXPECT_EQ(cell.text, exported);
  } else if (jetType == u"GUID") {
    EXPECT_EQ(QString(cell.text).remove(u'-'), QString(exported).remove(u'-'));
  } else if (jetType == u"DOUBLE") {
    EXPECT_EQ(cell.type, SQLITE_FLOAT);
    EXPECT_EQ(QString::asprintf("%.16g", cell.real), exported);
  } else if (jetType == u"SINGLE") {
    EXPECT_EQ(cell.type, SQLITE_FLOAT);
    EXPECT_EQ(cell.real, singleToDouble(float(cell.real)));
    EXPECT_EQ(QString::asprintf("%.8g", float(cell.real)), exported);
  } else if (jetType == u"CURRENCY") {
    EXPECT_EQ(cell.type, SQLITE_FLOAT);
    EXPECT_EQ(QString::asprintf("%.4f", cell.real), exported);
  } else {
    EXPECT_EQ(cell.type, SQLITE_INTEGER) << jetType.toStdString();
    EXPECT_EQ(QString::number(cell.integer), exported);
  }
}

void expectSameTable(const QString& file, const SqliteFile& copy, const QString& table) {
  SCOPED_TRACE("table " + table.toStdString());
  QStringList header;
  const mdbtools::Rows exported = mdbtools::exportTable(file, table, &header);
  QStringList names;
  QStringList types;
  for (const auto& column : copy.query("PRAGMA table_info(\"" + table + "\")")) {
    names << column[1].text;
    types << column[2].text;
  }
  EXPECT_EQ(names, header);
  const auto rows = copy.query("SELECT * FROM \"" + table + "\" ORDER BY rowid");
  ASSERT_EQ(rows.size(), exported.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    ASSERT_EQ(exported[r].size(), size_t(types.size()));
    for (qsizetype c = 0; c < types.size(); ++c) {
      SCOPED_TRACE("row " + std::to_string(r) + " column " + names[c].toStdString());
      expectSameValue(types[c], rows[r][size_t(c)], exported[r][size_t(c)]);
    }
  }
}

using FixtureConversion = FixtureTest;

TEST_F(FixtureConversion, EveryTableMatchesMdbExport) {
  QStringList files;  // any case, Jet 3 and Jet 4
  for (QDirIterator it(qalvoro::test::FixturesFolder(), {"*.mdb"}, QDir::Files,
                       QDirIterator::Subdirectories);
       it.hasNext();) {
    files << it.next();
  }
  ASSERT_GE(files.size(), 7);
  for (const QString& file : files) {
    SCOPED_TRACE(file.toStdString());
    const QString target = tempPath(QFileInfo(file).fileName() + QStringLiteral(".sqlite"));
    const RunResult run = runConverter({file, target});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const SqliteFile copy(target);
    QStringList tables = copy.tables();
    tables.sort();
    if (!file.contains(u"jet3")) {
      QStringList listed = mdbtools::tables(file);
      listed.sort();
      EXPECT_EQ(tables, listed);
    }
    for (const QString& table : tables) expectSameTable(file, copy, table);
  }
}

// Value types are checked against mdb-export above, which prints Null and empty text alike.
TEST_F(FixtureConversion, KeepsEmptyTextAndNullApartAndNeverWritesTheSource) {
  const QString target = tempPath(QStringLiteral("acc.sqlite"));
  ASSERT_EQ(runConverter({fixture(QStringLiteral("v1/accounts/ACC2003.MDB")), target}).exitCode, 0);
  // Top-level accounts have an empty parent, not a Null one; some upper limits are Null.
  EXPECT_EQ(SqliteFile(target)
                .query("SELECT (count(*) FILTER (WHERE ffather = '') > 0) || count(*) FILTER "
                       "(WHERE ffather IS NULL) || (count(*) FILTER (WHERE \"الحد_الاعلى\" IS "
                       "NULL) > 0) FROM Card")[0][0]
                .text.toStdString(),
            "101");

  const QString source =
      copyFixture(QStringLiteral("v1/stock/Stock001.mdb"), QStringLiteral("s.mdb"));
  QFile(source).setFileTime(QDateTime(QDate(2003, 5, 1), QTime(10, 0)),
                            QFileDevice::FileModificationTime);
  QFile::setPermissions(source, QFileDevice::ReadOwner);
  const auto before = snapshot(source);
  const QString stock = tempPath(QStringLiteral("stock.sqlite"));
  ASSERT_EQ(runConverter({source, stock}).exitCode, 0);
  EXPECT_EQ(snapshot(source), before);

  // An SQLite file (an earlier working copy) is copied byte for byte, writable.
  const auto sqliteBefore = snapshot(stock);
  const QString again = tempPath(QStringLiteral("again.sqlite"));
  const RunResult run = runConverter({stock, again});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(snapshot(stock), sqliteBefore);
  EXPECT_EQ(readAll(again), sqliteBefore.first);
  EXPECT_TRUE(QFileInfo(again).isWritable());
  EXPECT_FALSE(QFile::exists(again + QStringLiteral(".part")));
}

// The header names 1252; the product's files are Arabic, read as 1256 unless
// another code page is asked for.
TEST_F(FixtureConversion, ReadsJet3TextInTheChosenCodePage) {
  const QString file = fixture(QStringLiteral("jet3/testIndexCodesV1997.mdb"));
  for (const int codePage : {0, 1252, 864}) {
    const QString target = tempPath(QStringLiteral("%1.sqlite").arg(codePage));
    const QStringList options =
        codePage ? QStringList{"--codepage", QString::number(codePage)} : QStringList{};
    ASSERT_EQ(runConverter(options + QStringList{file, target}).exitCode, 0);
    EXPECT_EQ(SqliteFile(target).query("SELECT data FROM Table1 WHERE name = 'row129'")[0][0].text,
              CodePage(codePage ? codePage : 1256)
                  .decode("AA\x81"
                          "AA"));
  }
}

using namespace std::chrono_literals;

// The real program's conversions, errors and parts left out reach the restore
// windows' tests through V1Converter; here a fake one plays every failure.
TEST(V1ConverterTest, TurnsFailuresCrashesAndHangsIntoErrorsInEitherMode) {
  QTemporaryDir dir;
  const QString target = dir.filePath(QStringLiteral("work.tmp"));
  const auto tempPath = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
  // Runs the conversion and returns the error it raised.
  const auto failure = [&](const V1Converter& converter, const QString& source) {
    try {
      converter.convert(source, target);
    } catch (const DbError& error) {
      EXPECT_FALSE(QFile::exists(target) || QFile::exists(target + QStringLiteral(".part")));
      return error;
    }
    ADD_FAILURE() << "no error for " << source.toStdString();
    return DbError(0, {});
  };
  for (const bool lenient : {false, true}) {
    SCOPED_TRACE(lenient ? "lenient" : "strict");
    V1Converter converter;
    converter.setProgram(QStringLiteral(QALVORO_FAKE_V1CONVERT));
    converter.setLenient(lenient);
    converter.setTimeLimit(300ms);
    converter.setMemoryLimit(std::uint64_t(512) << 20);
    converter.setCodePage(864);
    const DbError crash = failure(converter, tempPath("crash.mdb"));
    EXPECT_EQ(crash.number(), 3049);
    EXPECT_TRUE(crash.description().contains(u"crash.mdb"));
    const DbError hang = failure(converter, tempPath("hang.mdb"));
    EXPECT_EQ(hang.number(), -2147217871);
    EXPECT_TRUE(hang.description().startsWith(u"Timeout expired"));
    const DbError limit = failure(converter, tempPath("limit.mdb"));
    EXPECT_EQ(limit.number(), 3035);
    EXPECT_EQ(limit.description(), QStringLiteral("limit=536870912"));
    const QString source = tempPath("args.mdb");
    EXPECT_TRUE(
        failure(converter, source)
            .description()
            .startsWith(QString("--codepage 864 ") + (lenient ? "--lenient " : "") + source));
  }
  V1Converter missing;
  missing.setProgram(tempPath("no-such-program"));
  ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
  EXPECT_EQ(failure(missing, tempPath("any.mdb")).number(), dberr::kUnspecified);
  EXPECT_FALSE(QFile::exists(target)) << "a converter that cannot start leaves no earlier copy";
}

}  // namespace
}  // namespace qalvoro::v1::test
