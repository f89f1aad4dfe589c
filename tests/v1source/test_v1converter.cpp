// The parent side: the converter runs in a child process whose failures,
// crashes and hangs all come back as DbError, with no target left behind.

#include <gtest/gtest.h>

#include <QFile>

#include "host/db/DbError.h"
#include "tests/v1source/ConvertTestSupport.h"
#include "v1source/convert/V1Converter.h"

namespace qalvoro::v1::test {
namespace {

using namespace std::chrono_literals;

class V1ConverterTest : public FixtureTest {
 protected:
  // Runs the conversion and returns the error it raised.
  DbError failure(const V1Converter& converter, const QString& source) const {
    try {
      converter.convert(source, target());
    } catch (const DbError& error) {
      EXPECT_FALSE(QFile::exists(target()));
      EXPECT_FALSE(QFile::exists(target() + QStringLiteral(".part")));
      return error;
    }
    ADD_FAILURE() << "no error for " << source.toStdString();
    return DbError(0, {});
  }

  QString target() const { return tempPath(QStringLiteral("work.tmp")); }

  static V1Converter fake() {
    V1Converter converter;
    converter.setProgram(QStringLiteral(QALVORO_FAKE_V1CONVERT));
    return converter;
  }
};

TEST_F(V1ConverterTest, ConvertsAndReportsTheConvertersErrors) {
  V1Converter converter;
  converter.setProgram(QStringLiteral(QALVORO_V1CONVERT));
  converter.convert(fixture(QStringLiteral("v1/accounts/ACC2003.MDB")), target());
  EXPECT_EQ(SqliteFile(target()).tables(),
            (QStringList{QStringLiteral("Card"), QStringLiteral("Gaid")}));

  // A failed conversion also removes the copy an earlier one left.
  const DbError missing = failure(converter, tempPath(QStringLiteral("missing.mdb")));
  EXPECT_EQ(missing.number(), 3024);
  EXPECT_TRUE(missing.description().contains(u"missing.mdb"));

  QByteArray cut = readAll(fixture(QStringLiteral("v1/accounts/ACC2003.MDB")));
  cut.chop(100);
  writeAll(tempPath(QStringLiteral("cut.mdb")), cut);
  EXPECT_EQ(failure(converter, tempPath(QStringLiteral("cut.mdb"))).number(), 3049);

  converter.setProgram(tempPath(QStringLiteral("no-such-program")));
  EXPECT_EQ(failure(converter, fixture(QStringLiteral("v1/accounts/ACC2003.MDB"))).number(),
            dberr::kUnspecified);
}

TEST_F(V1ConverterTest, TurnsCrashesAndHangsIntoErrors) {
  const DbError crash = failure(fake(), tempPath(QStringLiteral("crash.mdb")));
  EXPECT_EQ(crash.number(), 3049);
  EXPECT_TRUE(crash.description().contains(u"crash.mdb"));

  V1Converter hasty = fake();
  hasty.setTimeLimit(300ms);
  const DbError hang = failure(hasty, tempPath(QStringLiteral("hang.mdb")));
  EXPECT_EQ(hang.number(), -2147217871);
  EXPECT_TRUE(hang.description().startsWith(u"Timeout expired"));
}

TEST_F(V1ConverterTest, LenientConversionKeepsTheLimitsAndReportsWhatItLeftOut) {
  V1Converter lenient = fake();
  lenient.setLenient(true);
  EXPECT_EQ(lenient.convert(tempPath(QStringLiteral("leftout.mdb")), target()),
            (QStringList{"Table 'Gaid' left out (usage map is missing).",
                         "The last 100 bytes of the file left out."}));
  EXPECT_TRUE(QFile::exists(target()));
  EXPECT_TRUE(failure(lenient, tempPath(QStringLiteral("args.mdb")))
                  .description()
                  .startsWith(u"--lenient "));

  lenient.setTimeLimit(300ms);
  EXPECT_EQ(failure(lenient, tempPath(QStringLiteral("hang.mdb"))).number(), -2147217871);
  lenient.setMemoryLimit(std::uint64_t(512) << 20);
  EXPECT_EQ(failure(lenient, tempPath(QStringLiteral("limit.mdb"))).description(),
            QStringLiteral("limit=536870912"));
  EXPECT_EQ(failure(lenient, tempPath(QStringLiteral("crash.mdb"))).number(), 3049);
}

TEST_F(V1ConverterTest, PassesTheMemoryLimitAndTheCodePageOn) {
  V1Converter converter = fake();
  converter.setMemoryLimit(std::uint64_t(512) << 20);
  const DbError limit = failure(converter, tempPath(QStringLiteral("limit.mdb")));
  EXPECT_EQ(limit.number(), 3035);
  EXPECT_EQ(limit.description(), QStringLiteral("limit=536870912"));

  converter.setCodePage(864);
  const DbError arguments = failure(converter, tempPath(QStringLiteral("args.mdb")));
  EXPECT_TRUE(arguments.description().startsWith(u"--codepage 864 ")) << arguments.what();
}

}  // namespace
}  // namespace qalvoro::v1::test
