#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <set>

#include "tests/mdbwriter/MdbTools.h"
#include "tests/support/Fixtures.h"
#include "tools/mdbwriter/V1Generator.h"

namespace qalvoro::mdbwriter::v1 {
namespace {

QByteArray digest(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly)
             ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
             : QByteArray();
}

class V1GeneratorTest : public ::testing::Test {
 protected:
  QString generate(const char* name, const V1Options& options) {
    const QString out = dir_.filePath(QString::fromLatin1(name));
    writeAccountsFolder(QDir(out).filePath(QStringLiteral("accounts")), options);
    writeStockFolder(QDir(out).filePath(QStringLiteral("stock")), options);
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
    const QDir out(generate(version == JetVersion::Jet4 ? "jet4" : "jet3", options));
    for (const char* file : {"accounts/General.MDB", "accounts/ACC2003.MDB", "accounts/SYSTEM1.MDB",
                             "stock/Stock001.mdb"}) {
      const QString name = QString::fromLatin1(file);
      EXPECT_EQ(mdbtools::schema(out.filePath(name)).toStdString(),
                mdbtools::schema(fixture.filePath(name)).toStdString())
          << file;
    }
  }
}

TEST_F(V1GeneratorTest, AccountsFolderHoldsAConsistentChartAndJournal) {
  V1Options options;
  options.sizes.accounts = 120;
  options.sizes.entries = 60;
  const QDir out(generate("accounts", options));
  const QString data = out.filePath(QStringLiteral("accounts/ACC2003.MDB"));
  std::set<std::pair<QString, QString>> accounts;  // (branch, number)
  std::map<std::pair<QString, QString>, QString> parentOf;
  for (const auto& row : mdbtools::exportTable(data, QStringLiteral("Card"))) {
    accounts.insert({*row[10], *row[0]});
    if (row[2].value_or("") != "" && *row[0] != QLatin1String("9901"))
      parentOf[{*row[10], *row[0]}] = *row[2];
  }
  EXPECT_EQ(
      std::count_if(accounts.begin(), accounts.end(), [](const auto& a) { return a.first == "1"; }),
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
  EXPECT_EQ(
      mdbtools::exportTable(out.filePath("accounts/General.MDB"), QStringLiteral("Branch")).size(),
      3u);
}

TEST_F(V1GeneratorTest, ContentFollowsTheSeed) {
  V1Options options;
  const QDir first(generate("first", options));
  const QDir again(generate("again", options));
  options.seed = 2;
  const QDir other(generate("other", options));
  for (const char* file : {"accounts/ACC2003.MDB", "stock/Stock001.mdb"}) {
    const QString name = QString::fromLatin1(file);
    EXPECT_EQ(digest(first.filePath(name)), digest(again.filePath(name))) << file;
    EXPECT_NE(digest(first.filePath(name)), digest(other.filePath(name))) << file;
  }
}

}  // namespace
}  // namespace qalvoro::mdbwriter::v1
