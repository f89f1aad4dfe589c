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

// The real program's conversions and errors reach the restore windows'
// tests through V1Converter; here the fake one plays every failure.
TEST_F(V1ConverterTest, TurnsFailuresCrashesAndHangsIntoErrorsInEitherMode) {
  for (const bool lenient : {false, true}) {
    SCOPED_TRACE(lenient ? "lenient" : "strict");
    V1Converter converter = fake();
    converter.setLenient(lenient);
    converter.setTimeLimit(300ms);
    converter.setMemoryLimit(std::uint64_t(512) << 20);
    converter.setCodePage(864);
    const DbError crash = failure(converter, tempPath(QStringLiteral("crash.mdb")));
    EXPECT_EQ(crash.number(), 3049);
    EXPECT_TRUE(crash.description().contains(u"crash.mdb"));
    const DbError hang = failure(converter, tempPath(QStringLiteral("hang.mdb")));
    EXPECT_EQ(hang.number(), -2147217871);
    EXPECT_TRUE(hang.description().startsWith(u"Timeout expired"));
    const DbError limit = failure(converter, tempPath(QStringLiteral("limit.mdb")));
    EXPECT_EQ(limit.number(), 3035);
    EXPECT_EQ(limit.description(), QStringLiteral("limit=536870912"));
    const QString source = tempPath(QStringLiteral("args.mdb"));
    EXPECT_TRUE(
        failure(converter, source)
            .description()
            .startsWith(QString("--codepage 864 ") + (lenient ? "--lenient " : "") + source));
  }
  V1Converter lenient = fake();
  lenient.setLenient(true);
  lenient.setProgram(tempPath(QStringLiteral("no-such-program")));
  EXPECT_EQ(failure(lenient, tempPath(QStringLiteral("leftout.mdb"))).number(),
            dberr::kUnspecified);
  lenient.setProgram(QStringLiteral(QALVORO_FAKE_V1CONVERT));
  EXPECT_EQ(lenient.convert(tempPath(QStringLiteral("leftout.mdb")), target()),
            (QStringList{"Table 'Gaid' left out (usage map is missing).",
                         "The last 100 bytes of the file left out."}));
  EXPECT_TRUE(QFile::exists(target()));
}

}  // namespace
}  // namespace qalvoro::v1::test
