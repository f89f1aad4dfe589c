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

TEST(MakeV1Tool, WritesTheBenchmarkTableWithEveryColumnType) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("bench.mdb"));
  ASSERT_EQ(makeV1({QStringLiteral("--format"), QStringLiteral("jet3"),
                    QStringLiteral("--bench-table"), QStringLiteral("1500"), file})
                .exitCode,
            0);
  const QString schema = mdbtools::schema(file);
  for (const char* type : {"Text (100)", "Memo/Hyperlink", "Byte", "Integer", "Long Integer",
                           "Single", "Double", "Currency", "DateTime", "Boolean"}) {
    EXPECT_TRUE(schema.contains(QString::fromLatin1(type))) << type;
  }
  const mdbtools::Rows rows = mdbtools::exportTable(file, QStringLiteral("Bench"));
  ASSERT_EQ(rows.size(), 1500u);
  EXPECT_EQ(rows.back()[0], QStringLiteral("1500"));
}

TEST(MakeV1Tool, WritesOnlyTheProductAskedFor) {
  QTemporaryDir dir;
  ASSERT_EQ(makeV1({QStringLiteral("--out"), dir.path(), QStringLiteral("--product"),
                    QStringLiteral("accounts"), QStringLiteral("--accounts"), QStringLiteral("40"),
                    QStringLiteral("--no-system-file")})
                .exitCode,
            0);
  const QDir out(dir.path());
  EXPECT_TRUE(out.exists(QStringLiteral("accounts/General.MDB")));
  EXPECT_TRUE(out.exists(QStringLiteral("accounts/ACC2003.MDB")));
  EXPECT_FALSE(out.exists(QStringLiteral("accounts/SYSTEM1.MDB")));
  EXPECT_FALSE(out.exists(QStringLiteral("stock")));
}

TEST(MakeV1Tool, RefusesUnknownFormatsAndProducts) {
  QTemporaryDir dir;
  const ToolRun badFormat = makeV1(
      {QStringLiteral("--out"), dir.path(), QStringLiteral("--format"), QStringLiteral("jet5")});
  EXPECT_EQ(badFormat.exitCode, 1);
  EXPECT_TRUE(badFormat.errors.contains(QStringLiteral("--format")))
      << badFormat.errors.toStdString();
  EXPECT_EQ(makeV1({QStringLiteral("--out"), dir.path(), QStringLiteral("--product"),
                    QStringLiteral("x")})
                .exitCode,
            1);
  EXPECT_EQ(makeV1({QStringLiteral("--product"), QStringLiteral("stock")}).exitCode, 1);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

}  // namespace
