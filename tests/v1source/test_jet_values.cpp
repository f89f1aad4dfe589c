// Value decoding that the sample files cannot show through mdb-export: dates
// before 1899 and at the end of a day, compressed Jet 4 text, code pages, and
// Singles read back as the decimals that were typed.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "tests/v1source/ConvertTestSupport.h"
#include "tools/mdbwriter/V1Generator.h"
#include "v1source/convert/ConversionError.h"
#include "v1source/convert/JetText.h"
#include "v1source/convert/JetValue.h"

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

TEST(JetValues, DecodesJet4TextPlainAndCompressed) {
  const TextDecoder jet4(false, 1256);
  const auto decode = [&](std::initializer_list<uint8_t> bytes) {
    return jet4.decode(std::span(bytes.begin(), bytes.size()));
  };
  EXPECT_EQ(decode({'A', 0, 0x27, 0x06}), u"Aا");
  EXPECT_EQ(decode({}), u"");
  // Runs of one-byte and two-byte characters, switched by 0x00.
  EXPECT_EQ(decode({0xFF, 0xFE, 'A', 'B', 0, 0x27, 0x06, 0x28, 0x06, 0, ' ', '1'}), u"ABاب 1");
  EXPECT_THROW(decode({'A', 0, 'B'}), ReadError);
  EXPECT_THROW(decode({0xFF, 0xFE, 'A', 0, 0x27}), ReadError);
}

TEST(JetValues, ChoosesTheCodePageOfJet3Text) {
  EXPECT_EQ(chooseCodePage(1252, 0), 1256);
  EXPECT_EQ(chooseCodePage(0, 0), 1256);
  EXPECT_EQ(chooseCodePage(1256, 0), 1256);
  EXPECT_EQ(chooseCodePage(864, 0), 864);
  EXPECT_EQ(chooseCodePage(864, 1252), 1252);
  const TextDecoder jet3(true, 1256);
  const uint8_t bytes[] = {'A', 0x81, 0xC7};
  EXPECT_EQ(jet3.decode(bytes), u"Aپا");
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
  EXPECT_EQ(singleToDouble(-std::numeric_limits<float>::infinity()),
            -std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(singleToDouble(std::numeric_limits<float>::quiet_NaN())));
}

bool hasTwoDecimalsAtMost(double value) { return std::round(value * 100) / 100 == value; }

// The accounts sample with its amounts kept as Single: every amount comes
// back as the decimals written, though a Single does not hold most exactly.
TEST(JetValues, SingleAmountsKeepTheDecimalsWritten) {
  namespace mw = mdbwriter;
  QTemporaryDir dir;
  mw::v1::V1Options options;
  options.singleAmounts = true;
  options.sizes.entries = 40;
  mw::v1::writeAccountsFolder(dir.path(), options);
  const QString target = dir.filePath(QStringLiteral("acc.sqlite"));
  const RunResult run =
      runConverter({QDir(dir.path()).filePath(QStringLiteral("ACC2003.MDB")), target});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  int inexact = 0;
  for (const auto& row : SqliteFile(target).query(
           QStringLiteral("SELECT \"افتتاحي_مدين\" FROM Card UNION ALL SELECT \"مدين\" FROM Gaid "
                          "UNION ALL SELECT \"دائن\" FROM Gaid"))) {
    if (row[0].type == SQLITE_NULL) continue;
    EXPECT_TRUE(hasTwoDecimalsAtMost(row[0].real)) << row[0].real;
    if (double(float(row[0].real)) != row[0].real) ++inexact;
  }
  EXPECT_GT(inexact, 10) << "amounts that a Single does not hold exactly";
}

}  // namespace
}  // namespace qalvoro::v1::test
