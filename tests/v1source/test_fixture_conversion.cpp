// Converts the version-1 sample files and checks the working copies against
// mdb-export's view of the same files, value by value.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "tests/v1source/ConvertTestSupport.h"
#include "v1source/codepage/CodePage.h"

namespace qalvoro::v1::test {
namespace {

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

// The shortest decimal (of at most 9 digits) that reads back as the Single,
// as a double: found digit by digit.
double shortestDecimal(float value) {
  for (int digits = 1; digits <= 9; ++digits) {
    const double decimal = QString::asprintf("%.*g", digits, double(value)).toDouble();
    if (float(decimal) == value) return decimal;
  }
  return value;
}

// mdb-export prints doubles with 16 digits, singles with 8 and amounts with 4
// decimals; the working copy's values must print the same. A Single is kept
// as the shortest decimal that reads back as it.
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
    EXPECT_EQ(cell.real, shortestDecimal(float(cell.real)));
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
  for (const auto& column : copy.query("PRAGMA table_info(" + quoted(table) + ")")) {
    names << column[1].text;
    types << column[2].text;
  }
  EXPECT_EQ(names, header);
  const auto rows = copy.query("SELECT * FROM " + quoted(table) + " ORDER BY rowid");
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
  const QStringList files = allFixtureFiles();
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

TEST_F(FixtureConversion, KeepsEmptyTextNullAndValueTypesApart) {
  const QString target = tempPath(QStringLiteral("acc.sqlite"));
  ASSERT_EQ(runConverter({fixture(QStringLiteral("v1/accounts/ACC2003.MDB")), target}).exitCode, 0);
  const SqliteFile copy(target);
  const auto count = [&](const QString& sql) { return copy.query(sql).at(0).at(0).integer; };
  // Top-level accounts have an empty parent, not a Null one; some upper limits are Null.
  EXPECT_GT(count("SELECT count(*) FROM Card WHERE ffather = ''"), 0);
  EXPECT_EQ(count("SELECT count(*) FROM Card WHERE ffather IS NULL"), 0);
  EXPECT_GT(count("SELECT count(*) FROM Card WHERE \"الحد_الاعلى\" IS NULL"), 0);
  // An account number of digits stays text; dates compare as ISO texts.
  EXPECT_EQ(count("SELECT count(*) FROM Card WHERE typeof(\"رقم_الحساب\") <> 'text'"), 0);
  EXPECT_EQ(count("SELECT count(*) FROM Gaid WHERE \"التاريخ\" >= '2003-01-01' AND "
                  "\"التاريخ\" < '2004-01-01'"),
            count("SELECT count(*) FROM Gaid WHERE \"التاريخ\" LIKE '2003-%'"));

  const QString stock = tempPath(QStringLiteral("stock.sqlite"));
  ASSERT_EQ(runConverter({fixture(QStringLiteral("v1/stock/Stock001.mdb")), stock}).exitCode, 0);
  const SqliteFile stockCopy(stock);
  const auto types =
      stockCopy.query("SELECT DISTINCT typeof(\"الاجمالي\"), typeof(\"نقدي\") FROM \"ف_مبيعات\"");
  ASSERT_EQ(types.size(), 1u);
  EXPECT_EQ(types[0][0].text, u"real");  // Currency, also for whole amounts
  EXPECT_EQ(types[0][1].text, u"integer");
  EXPECT_EQ(stockCopy
                .query("SELECT count(*) FROM \"ف_مبيعات\" WHERE \"ملاحظه\" = "
                       "'ملاحظة: تسليم ''عاجل'''")[0][0]
                .integer,
            2);
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
  EXPECT_EQ(CodePage(1256).decode("AA\x81"
                                  "AA"),
            QStringLiteral("AAپAA"));
}

TEST_F(FixtureConversion, NeverWritesTheSourceAndCopiesSqliteAsItIs) {
  const QString source =
      copyFixture(QStringLiteral("v1/stock/Stock001.mdb"), QStringLiteral("s.mdb"));
  QFile(source).setFileTime(QDateTime(QDate(2003, 5, 1), QTime(10, 0)),
                            QFileDevice::FileModificationTime);
  QFile::setPermissions(source, QFileDevice::ReadOwner);
  const FileSnapshot before = snapshot(source);
  const QString copy = tempPath(QStringLiteral("copy.sqlite"));
  ASSERT_EQ(runConverter({source, copy}).exitCode, 0);
  EXPECT_EQ(snapshot(source), before);

  // An SQLite file (an earlier working copy) is copied byte for byte, writable.
  const FileSnapshot sqliteBefore = snapshot(copy);
  const QString again = tempPath(QStringLiteral("again.sqlite"));
  const RunResult run = runConverter({copy, again});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(snapshot(copy), sqliteBefore);
  EXPECT_EQ(readAll(again), sqliteBefore.bytes);
  EXPECT_TRUE(QFileInfo(again).isWritable());
  EXPECT_FALSE(QFile::exists(again + QStringLiteral(".part")));
}

}  // namespace
}  // namespace qalvoro::v1::test
