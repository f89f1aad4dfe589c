// The numbers module: reading, rounding and showing amounts.

#include <gtest/gtest.h>

#include "host/db/DbError.h"
#include "host/helpers/Numbers.h"

namespace qalvoro::test {
namespace {

TEST(NumbersTest, ValReadsTheLeadingNumber) {
  EXPECT_EQ(Val("  12.5abc"), 12.5);
  EXPECT_EQ(Val("1 615 198th Street"), 1615198) << "blanks are skipped anywhere";
  EXPECT_EQ(Val("-3.25"), -3.25);
  EXPECT_EQ(Val("+.5"), 0.5);
  EXPECT_EQ(Val("1.5E3x"), 1500);
  EXPECT_EQ(Val("2e"), 2);
  EXPECT_EQ(Val("25.00%"), 25);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("."), 0);
  EXPECT_EQ(Val("&HFF"), 255);
  EXPECT_EQ(Val("&HFFFF"), -1) << "four hexadecimal digits read as a 16-bit integer";
  EXPECT_EQ(Val("&O17"), 15);
  EXPECT_EQ(Val("1,234"), 1) << "a comma ends the number";
}

TEST(NumbersTest, IntegerConversionRoundsHalvesToEven) {
  EXPECT_EQ(CLng(2.5), 2);
  EXPECT_EQ(CLng(3.5), 4);
  EXPECT_EQ(CLng(-2.5), -2);
  EXPECT_EQ(CLng(2.51), 3);
  EXPECT_EQ(CLng(QStringLiteral("3.5")), 4);
  EXPECT_EQ(CLng(QStringLiteral("")), 0);
  EXPECT_EQ(CLng(2147483647.4), 2147483647);
  EXPECT_THROW(CLng(2147483647.5), DbError);
  try {
    CLng(-3e9);
    FAIL() << "no overflow";
  } catch (const DbError& error) {
    EXPECT_EQ(error.number(), 6);
  }
}

TEST(NumbersTest, CurrencyKeepsFourDecimalsHalvesToEven) {
  EXPECT_EQ(Currency::fromDouble(1.23456).tenThousandths(), 12346);
  EXPECT_EQ(Currency::fromDouble(0.00005).tenThousandths(), 0) << "half to the even 0";
  EXPECT_EQ(Currency::fromDouble(0.00015).tenThousandths(), 2) << "half to the even 2";
  EXPECT_EQ(Currency::fromDouble(-0.00015).tenThousandths(), -2);
  EXPECT_EQ(Currency::fromText("12.5 kg").toDouble(), 12.5);
  Currency sum;
  for (int i = 0; i < 10; ++i) sum += Currency::fromText("0.1");
  EXPECT_EQ(sum.tenThousandths(), 10000) << "ten tenths add up to exactly one";
  EXPECT_EQ((Currency::fromDouble(5) - Currency::fromDouble(7.25)).toDouble(), -2.25);
  EXPECT_THROW(Currency::fromDouble(1e16), DbError);
}

TEST(NumbersTest, GeneralNumberText) {
  EXPECT_EQ(GeneralNumber(25), "25");
  EXPECT_EQ(GeneralNumber(0.5), "0.5");
  EXPECT_EQ(GeneralNumber(-12.125), "-12.125");
  EXPECT_EQ(GeneralNumber(0), "0");
  EXPECT_EQ(GeneralNumber(-0.0), "0");
  EXPECT_EQ(GeneralNumber(1200), "1200");
  EXPECT_EQ(GeneralNumber(0.0012), "0.0012");
  EXPECT_EQ(GeneralNumber(0.1 + 0.2), "0.3") << "fifteen significant digits";
  EXPECT_EQ(GeneralNumber(250.0 / 100 * 10), "25");
  EXPECT_EQ(GeneralNumber(1e16), "1E+16");
  EXPECT_EQ(GeneralNumber(1.5e-20), "1.5E-20");
}

TEST(NumbersTest, FormatRoundsTheDecimalValueHalvesAwayFromZero) {
  EXPECT_EQ(Format(2.345, "0.00"), "2.35") << "2.345 is stored just below 2.345";
  EXPECT_EQ(Format(-2.345, "0.00"), "-2.35");
  EXPECT_EQ(Format(2.5, "0"), "3");
  EXPECT_EQ(Format(1.0005, "0.000"), "1.001");
  EXPECT_EQ(Format(0.125, "0.00"), "0.13");
  EXPECT_EQ(Format(0, "0.00"), "0.00");
  EXPECT_EQ(Format(-0.001, "0.00"), "0.00") << "a zero result has no sign";
  EXPECT_EQ(Format(0.005, "0.00"), "0.01");
  EXPECT_EQ(Format(9.999, "0.00"), "10.00");
  EXPECT_EQ(Format(1234567.891, "0.000"), "1234567.891");
  EXPECT_EQ(Format(0.0004, "0.000"), "0.000");
}

}  // namespace
}  // namespace qalvoro::test
