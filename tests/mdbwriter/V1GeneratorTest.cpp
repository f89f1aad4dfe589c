// The version-1 sample generator, and the program that writes its files.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <set>

#include "tests/mdbwriter/MdbTools.h"
#include "tests/support/Fixtures.h"
#include "tools/mdbwriter/V1Generator.h"

namespace qalvoro::mdbwriter::v1 {
namespace {

class V1GeneratorTest : public ::testing::Test {
 protected:
  QDir generate(const char* name, const V1Options& options) {
    const QDir out(dir_.filePath(QString::fromLatin1(name)));
    writeAccountsFolder(out.filePath(QStringLiteral("accounts")), options);
    writeStockFolder(out.filePath(QStringLiteral("stock")), options);
    return out;
  }
  QTemporaryDir dir_;
};

TEST_F(V1GeneratorTest, FilesHaveTheTablesAndColumnsOfTheSharedFixture) {
  const QDir fixture(qalvoro::test::FixturesFolder() + QStringLiteral("/v1"));
  if (!fixture.exists(QStringLiteral("stock/Stock001.mdb"))) {
    GTEST_SKIP() << "version-1 fixtures not found at " << fixture.path().toStdString()
                 << " (set QALVORO_FIXTURES)";
  }
  for (const JetVersion version : {JetVersion::Jet4, JetVersion::Jet3}) {
    V1Options options;
    options.writer.version = version;
    const QDir out = generate(version == JetVersion::Jet4 ? "jet4" : "jet3", options);
    for (const char* file : {"accounts/General.MDB", "accounts/ACC2003.MDB", "accounts/SYSTEM1.MDB",
                             "stock/Stock001.mdb"}) {
      EXPECT_EQ(mdbtools::schema(out.filePath(file)), mdbtools::schema(fixture.filePath(file)))
          << file;
    }
  }
}

TEST_F(V1GeneratorTest, AccountsFolderHoldsAConsistentChartAndJournal) {
  V1Options options;
  options.sizes.accounts = 120;
  options.sizes.entries = 60;
  const QDir out = generate("accounts", options);
  const QString data = out.filePath(QStringLiteral("accounts/ACC2003.MDB"));
  std::set<std::pair<QString, QString>> accounts;  // (branch, number)
  std::map<std::pair<QString, QString>, QString> parentOf;
  for (const auto& row : mdbtools::exportTable(data, QStringLiteral("Card"))) {
    accounts.insert({*row[10], *row[0]});
    if (row[2].value_or("") != "" && *row[0] != "9901") parentOf[{*row[10], *row[0]}] = *row[2];
  }
  EXPECT_EQ(std::count_if(accounts.begin(), accounts.end(), [](auto& a) { return a.first == "1"; }),
            121)
      << "the chart and the orphan account 9901";
  for (const auto& [account, parent] : parentOf) {
    EXPECT_TRUE(account.second.startsWith(parent) && accounts.count({account.first, parent}))
        << "no parent for " << account.second.toStdString();
  }
  std::map<int, int> linesOf;  // entry -> line count
  for (const auto& row : mdbtools::exportTable(data, QStringLiteral("Gaid")))
    ++linesOf[row[0]->toInt()];
  EXPECT_EQ(linesOf.size(), 60u);
  for (const auto& [entry, lines] : linesOf) EXPECT_TRUE(lines >= 2 && lines <= 4) << entry;
  EXPECT_EQ(mdbtools::exportTable(out.filePath("accounts/General.MDB"), "Branch").size(), 3u);
}

TEST_F(V1GeneratorTest, ContentFollowsTheSeed) {
  V1Options options;
  const QDir first = generate("first", options);
  const QDir again = generate("again", options);
  options.seed = 2;
  const QDir other = generate("other", options);
  const auto bytes = [](const QDir& folder, const char* file) {
    QFile read(folder.filePath(file));
    return read.open(QIODevice::ReadOnly) ? read.readAll() : QByteArray();
  };
  for (const char* file : {"accounts/ACC2003.MDB", "stock/Stock001.mdb"}) {
    EXPECT_FALSE(bytes(first, file).isEmpty());
    EXPECT_EQ(bytes(first, file), bytes(again, file)) << file;
    EXPECT_NE(bytes(first, file), bytes(other, file)) << file;
  }
}

// The program that writes them for benchmarks.
TEST(MakeV1Tool, WritesTheBenchmarkTableAndTheAccountsAmountsAsAsked) {
  QTemporaryDir dir;
  const auto makeV1 = [](const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(QALVORO_MAKE_V1), arguments);
    process.waitForFinished(120000);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  };
  const QString file = dir.filePath(QStringLiteral("bench.mdb"));
  makeV1({"--format", "jet3", "--bench-table", "1500", file});
  const QString schema = mdbtools::schema(file);
  for (const char* type : {"Text (100)", "Memo/Hyperlink", "Byte", "Integer", "Long Integer",
                           "Single", "Double", "Currency", "DateTime", "Boolean"}) {
    EXPECT_TRUE(schema.contains(QString::fromLatin1(type))) << type;
  }
  const mdbtools::Rows rows = mdbtools::exportTable(file, QStringLiteral("Bench"));
  ASSERT_EQ(rows.size(), 1500u);
  EXPECT_EQ(rows.back()[0], QStringLiteral("1500"));

  for (const bool single : {false, true}) {
    makeV1(QStringList{"--out", dir.path(), "--product", "accounts"} +
           (single ? QStringList{"--single-amounts"} : QStringList{}));
    const QString accounts = mdbtools::schema(QDir(dir.path()).filePath("accounts/ACC2003.MDB"));
    // Card's opening balances and upper limit, Gaid's debit and credit.
    EXPECT_EQ(accounts.count(QStringLiteral("Single")), single ? 5 : 0);
    EXPECT_EQ(accounts.count(QStringLiteral("Double")), single ? 0 : 5);
  }
}

}  // namespace
}  // namespace qalvoro::mdbwriter::v1
