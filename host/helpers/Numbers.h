#pragma once

#include <QString>
#include <QtGlobal>

namespace qalvoro {

// Numbers as the windows read, round and show them. Every window that
// computes with amounts uses these routines and nothing else, so that a
// document's figures are the same however it is entered.

// The numeric value of a text: blanks, tabs and line feeds are skipped
// anywhere, then the longest prefix that is a number is read ("&H" and "&O"
// prefixes read hexadecimal and octal); 0 when there is none. The decimal
// point is always ".".
double Val(const QString& text);

// A 32-bit integer: the nearest whole number, halves to the even neighbour
// (2.5 gives 2, 3.5 gives 4). Raises DbError 6 (overflow) outside the range.
qint32 CLng(double value);
// CLng(Val(text)).
qint32 CLng(const QString& text);

// A currency amount: a whole number of ten-thousandths, rounded from its
// decimal value with halves to the even neighbour.
class Currency {
 public:
  Currency() = default;
  // Raises DbError 6 (overflow) outside the currency range.
  static Currency fromDouble(double value);
  // fromDouble(Val(text)).
  static Currency fromText(const QString& text);

  qint64 tenThousandths() const { return scaled_; }
  double toDouble() const { return static_cast<double>(scaled_) / 10000.0; }

  Currency& operator+=(Currency other);
  friend Currency operator+(Currency a, Currency b) { return a += b; }
  friend Currency operator-(Currency a, Currency b);
  friend bool operator==(Currency a, Currency b) = default;

 private:
  explicit Currency(qint64 scaled) : scaled_(scaled) {}
  qint64 scaled_ = 0;
};

// The general-number text of a value: up to 15 significant digits, no
// trailing zeros, no exponent unless the value is very large or very small
// ("25", "0.5", "-12.125", "1E+16").
QString GeneralNumber(double value);

// A value in a fixed-point format such as "0.00" or "0.000" (one or more
// zeros, optionally a point and zeros): rounded on its decimal value (up to
// 15 significant digits) with halves away from zero, so 2.345 gives "2.35"
// and -2.345 gives "-2.35". A result of zero has no sign.
QString Format(double value, const QString& format);

}  // namespace qalvoro
