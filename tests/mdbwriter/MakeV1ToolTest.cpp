#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/mdbwriter/MdbTools.h"

namespace {

struct ToolRun {
  int exitCode;
  QString errors;
};

ToolRun makeV1(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(QALVORO_MAKE_V1), arguments);
  process.waitForFinished(120000);
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

TEST(MakeV1Tool, WritesTheBenchmarkTableAndTheAccountsAmountsAsAsked) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("bench.mdb"));
  ASSERT_EQ(makeV1({"--format", "jet3", "--bench-table", "1500", file}).exitCode, 0);
  const QString schema = mdbtools::schema(file);
  for (const char* type : {"Text (100)", "Memo/Hyperlink", "Byte", "Integer", "Long Integer",
                           "Single", "Double", "Currency", "DateTime", "Boolean"}) {
    EXPECT_TRUE(schema.contains(QString::fromLatin1(type))) << type;
  }
  const mdbtools::Rows rows = mdbtools::exportTable(file, QStringLiteral("Bench"));
  ASSERT_EQ(rows.size(), 1500u);
  EXPECT_EQ(rows.back()[0], QStringLiteral("1500"));

  for (const bool single : {false, true}) {
    QStringList arguments = {"--out", dir.path(), "--product", "accounts"};
    if (single) arguments << QStringLiteral("--single-amounts");
    const ToolRun run = makeV1(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QString accounts = mdbtools::schema(QDir(dir.path()).filePath("accounts/ACC2003.MDB"));
    // Card's opening balances and upper limit, Gaid's debit and credit.
    EXPECT_EQ(accounts.count(QStringLiteral("Single")), single ? 5 : 0);
    EXPECT_EQ(accounts.count(QStringLiteral("Double")), single ? 0 : 5);
  }
}

}  // namespace
