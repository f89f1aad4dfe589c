// The Jet writer read back through mdbtools, and the version-1 sample generator against the
// shared sample files.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "tests/mdbwriter/MdbTools.h"
#include "tests/support/Fixtures.h"
#include "tests/v1source/ConvertTestSupport.h"
#include "tools/mdbwriter/JetDatabaseWriter.h"
#include "tools/mdbwriter/V1Generator.h"

namespace qalvoro::mdbwriter {
namespace {

struct FormatCase {
  const char* label;
  JetVersion version;
  int declaredCodePage;
  bool compress;
};

std::vector<Column> everyType() {
  return {Column::text(QStringLiteral("النص"), 50),
          Column::of(QStringLiteral("المذكرة"), ColumnType::Memo),
          Column::of(QStringLiteral("بايت"), ColumnType::Byte),
          Column::of(QStringLiteral("صحيح"), ColumnType::Integer),
          Column::of(QStringLiteral("طويل"), ColumnType::Long),
          Column::of(QStringLiteral("مفرد"), ColumnType::Single),
          Column::of(QStringLiteral("مزدوج"), ColumnType::Double),
          Column::of(QStringLiteral("العملة"), ColumnType::Currency),
          Column::of(QStringLiteral("التاريخ"), ColumnType::DateTime),
          Column::of(QStringLiteral("منطقي"), ColumnType::YesNo)};
}

QDateTime at(int y, int m, int d, int h = 0, int min = 0, int s = 0) {
  return QDateTime(QDate(y, m, d), QTime(h, min, s));
}

const QString kMediumMemo = QStringLiteral("ذكرى ").repeated(120);  // one long-value record
const QString kLongMemo = QStringLiteral("مذكرة طويلة 'جدا' ").repeated(200);  // several pages

std::vector<std::vector<Value>> sampleRows() {
  return {
      {Value::text(QStringLiteral("مرحبا 'يا' عالم, \"نعم\"")),
       Value::text(QStringLiteral("قصيرة")), Value::integer(255), Value::integer(-32768),
       Value::integer(-2147483647 - 1), Value::real(1.5), Value::real(-1234.5678),
       Value::currency({123456789}), Value::dateTime(at(2003, 12, 31, 23, 59, 59)),
       Value::boolean(true)},
      {Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value()},
      {Value::text(QString()), Value::text(QString()), Value::integer(0), Value::integer(32767),
       Value::integer(2147483647), Value::real(-0.25), Value::real(0.1), Value::currency({-1}),
       Value::dateTime(at(1950, 6, 15, 12)), Value::boolean(false)},
      {Value::text(QStringLiteral("ABC abc")), Value::text(kMediumMemo), Value::integer(7),
       Value::integer(-1), Value::integer(100000), Value::integer(3), Value::integer(42),
       Value::currency(Currency::fromDouble(0.5)), Value::dateTime(at(1899, 12, 30)),
       Value::boolean(true)},
      {Value::text(QStringLiteral("x")), Value::text(kLongMemo), Value::integer(1),
       Value::integer(1), Value::integer(1), Value::real(1), Value::real(1), Value::currency({}),
       Value::dateTime(at(2003, 1, 1)), Value::boolean(false)},
  };
}

using Expected = std::vector<std::optional<QString>>;
const std::optional<QString> kNull;

Expected text(std::initializer_list<const char*> cells) {
  Expected out;
  for (const char* c : cells) out.push_back(c ? std::optional(QString::fromUtf8(c)) : kNull);
  return out;
}

using JetWriterTest = ::testing::TestWithParam<FormatCase>;

TEST_P(JetWriterTest, EveryColumnTypeReadsBackThroughMdbToolsAndTablesSpanManyPages) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("types.mdb"));
  constexpr int kRows = 6000;
  // Every 100th row is long enough to need a Jet 3 jump table.
  const auto body = [](int n) {
    return n % 100 == 0 ? QStringLiteral("ط").repeated(255) : QStringLiteral("سطر %1").arg(n);
  };
  {
    JetWriterOptions options;
    options.version = GetParam().version;
    options.declaredCodePage = GetParam().declaredCodePage;
    options.compressUnicode = GetParam().compress;
    JetDatabaseWriter db(file, options);
    TableWriter& table = db.addTable(QStringLiteral("قيم"), everyType());
    for (const auto& row : sampleRows()) table.addRow(row);
    TableWriter& lines =
        db.addTable(QStringLiteral("سطور"), {Column::of(QStringLiteral("رقم"), ColumnType::Long),
                                             Column::text(QStringLiteral("نص"), 255)});
    for (int n = 0; n < kRows; ++n) lines.addRow({Value::integer(n), Value::text(body(n))});
    db.close();
  }
  // An empty table is read back in the version-1 source's tests.
  ASSERT_EQ(mdbtools::tables(file), (QStringList{QStringLiteral("قيم"), QStringLiteral("سطور")}));
  EXPECT_TRUE(mdbtools::schema(file).startsWith(
      "CREATE TABLE [قيم]\n (\n"
      "\t[النص]\t\t\tText (50), \n\t[المذكرة]\t\t\tMemo/Hyperlink (255), \n"
      "\t[بايت]\t\t\tByte, \n\t[صحيح]\t\t\tInteger, \n\t[طويل]\t\t\tLong Integer, \n"
      "\t[مفرد]\t\t\tSingle, \n\t[مزدوج]\t\t\tDouble, \n\t[العملة]\t\t\tCurrency, \n"
      "\t[التاريخ]\t\t\tDateTime, \n\t[منطقي]\t\t\tBoolean NOT NULL\n);"));

  mdbtools::Rows rows = mdbtools::exportTable(file, QStringLiteral("قيم"));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], text({"مرحبا 'يا' عالم, \"نعم\"", "قصيرة", "255", "-32768", "-2147483648",
                           "1.5", "-1234.5678", "12345.6789", "2003-12-31 23:59:59", "1"}));
  EXPECT_EQ(rows[1], text({nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, "0"}));
  // mdb-export shows empty text like Null; the converter tells them apart below.
  EXPECT_EQ(rows[2], text({nullptr, nullptr, "0", "32767", "2147483647", "-0.25", "0.1", "-0.0001",
                           "1950-06-15 12:00:00", "0"}));
  EXPECT_EQ(rows[3][1], kMediumMemo);
  rows[3][1] = kNull;
  EXPECT_EQ(rows[3], text({"ABC abc", nullptr, "7", "-1", "100000", "3", "42", "0.5000",
                           "1899-12-30 00:00:00", "1"}));
  EXPECT_EQ(rows[4][1], kLongMemo);
  EXPECT_EQ(rows[4][7], QStringLiteral("0.0000"));
  const QString copy = dir.filePath(QStringLiteral("types.sqlite"));
  ASSERT_EQ(qalvoro::v1::test::runConverter({file, copy}).exitCode, 0);
  EXPECT_EQ(qalvoro::v1::test::SqliteFile(copy)
                .query("SELECT group_concat((\"النص\" IS NULL) || (\"المذكرة\" IS NULL) || "
                       "(\"العملة\" IS NULL)) FROM \"قيم\"")[0][0]
                .text.toStdString(),
            "000,111,000,000,000")
      << "Null apart from empty text, as the converter reads them";

  EXPECT_GT(QFileInfo(file).size(), 40 * JetFormat::of(GetParam().version).pageSize);
  rows = mdbtools::exportTable(file, QStringLiteral("سطور"));
  ASSERT_EQ(rows.size(), static_cast<size_t>(kRows));
  for (int n = 0; n < kRows; ++n) {
    ASSERT_EQ(rows[n], Expected({QString::number(n), body(n)})) << "row " << n;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, JetWriterTest,
    ::testing::Values(FormatCase{"Jet4", JetVersion::Jet4, 1256, false},
                      FormatCase{"Jet4Compressed", JetVersion::Jet4, 1256, true},
                      FormatCase{"Jet3Arabic", JetVersion::Jet3, 1256, false},
                      FormatCase{"Jet3Western", JetVersion::Jet3, 1252, false}),
    [](const auto& info) { return std::string(info.param.label); });

// The sample generator writes the tables and columns of the real files.
TEST(V1GeneratorTest, FilesHaveTheTablesAndColumnsOfTheSharedFixture) {
  const QDir fixture(qalvoro::test::FixturesFolder() + QStringLiteral("/v1"));
  if (!fixture.exists(QStringLiteral("stock/Stock001.mdb"))) {
    GTEST_SKIP() << "version-1 fixtures not found at " << fixture.path().toStdString()
                 << " (set QALVORO_FIXTURES)";
  }
  const QTemporaryDir dir;
  for (const JetVersion version : {JetVersion::Jet4, JetVersion::Jet3}) {
    v1::V1Options options;
    options.writer.version = version;
    const QDir out(dir.filePath(version == JetVersion::Jet4 ? "jet4" : "jet3"));
    v1::writeAccountsFolder(out.filePath(QStringLiteral("accounts")), options);
    v1::writeStockFolder(out.filePath(QStringLiteral("stock")), options);
    for (const char* file : {"accounts/General.MDB", "accounts/ACC2003.MDB", "accounts/SYSTEM1.MDB",
                             "stock/Stock001.mdb"}) {
      EXPECT_EQ(mdbtools::schema(out.filePath(file)), mdbtools::schema(fixture.filePath(file)))
          << file;
    }
  }
}

}  // namespace
}  // namespace qalvoro::mdbwriter
