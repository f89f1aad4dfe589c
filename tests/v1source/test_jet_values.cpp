// Value decoding that the sample files cannot show through mdb-export: dates
// before 1899 and at the end of a day, compressed Jet 4 text, code pages.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/v1source/ConvertTestSupport.h"
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

}  // namespace
}  // namespace qalvoro::v1::test
