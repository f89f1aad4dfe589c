#include "host/helpers/Numbers.h"

#include <charconv>
#include <cmath>
#include <string>

#include "host/db/DbError.h"

namespace qalvoro {
namespace {

constexpr long kOverflow = 6;
constexpr int kSignificantDigits = 15;

[[noreturn]] void overflow() { throw DbError(kOverflow, QStringLiteral("Overflow")); }

// A double as the decimal it stands for: 0.digits x 10^pointAt, with
// kSignificantDigits digits.
struct Decimal {
  bool negative = false;
  std::string digits;
  int pointAt = 0;  // digits before the decimal point

  explicit Decimal(double value) {
    negative = std::signbit(value);
    char text[40];
    const std::to_chars_result end =
        std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::scientific,
                      kSignificantDigits - 1);
    const std::string written(text, end.ptr);
    const auto e = written.find('e');
    for (std::size_t i = 0; i < e; ++i) {
      if (written[i] != '.') digits += written[i];
    }
    pointAt = std::stoi(written.substr(e + 1)) + 1;
  }
  bool isZero() const { return digits.find_first_not_of('0') == std::string::npos; }
};

enum class Halves { AwayFromZero, ToEven };

// The digits of |value| x 10^decimals rounded to a whole number, without
// leading zeros ("0" for zero).
std::string roundedDigits(const Decimal& value, int decimals, Halves halves) {
  const int keep = value.pointAt + decimals;
  std::string kept;
  std::string dropped;
  if (keep <= 0) {
    dropped = std::string(static_cast<std::size_t>(-keep), '0') + value.digits;
  } else if (keep >= static_cast<int>(value.digits.size())) {
    kept = value.digits + std::string(keep - value.digits.size(), '0');
  } else {
    kept = value.digits.substr(0, keep);
    dropped = value.digits.substr(keep);
  }
  bool up = false;
  if (!dropped.empty()) {
    const char first = dropped.front();
    const bool restZero = dropped.find_first_not_of('0', 1) == std::string::npos;
    if (halves == Halves::AwayFromZero) {
      up = first >= '5';
    } else {
      const bool lastOdd = !kept.empty() && (kept.back() - '0') % 2 == 1;
      up = first > '5' || (first == '5' && (!restZero || lastOdd));
    }
  }
  if (up) {
    int i = static_cast<int>(kept.size()) - 1;
    for (; i >= 0 && kept[i] == '9'; --i) kept[i] = '0';
    if (i < 0) {
      kept.insert(kept.begin(), '1');
    } else {
      ++kept[i];
    }
  }
  const auto first = kept.find_first_not_of('0');
  return first == std::string::npos ? std::string("0") : kept.substr(first);
}

// The digits with a decimal point before the last `decimals` of them.
QString withPoint(std::string digits, int decimals) {
  if (static_cast<int>(digits.size()) <= decimals) {
    digits.insert(0, decimals + 1 - digits.size(), '0');
  }
  if (decimals > 0) digits.insert(digits.size() - decimals, 1, '.');
  return QString::fromStdString(digits);
}

bool isBlank(QChar c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

int digitOf(QChar c, int radix) {
  const char16_t u = c.unicode();
  int digit = -1;
  if (u >= '0' && u <= '9') digit = u - '0';
  if (u >= 'a' && u <= 'f') digit = u - 'a' + 10;
  if (u >= 'A' && u <= 'F') digit = u - 'A' + 10;
  return digit < radix ? digit : -1;
}

// "&H" and "&O" numbers: up to four hexadecimal (six octal) digits read as a
// 16-bit integer, longer ones as a 32-bit integer.
double radixValue(const QString& digits, int radix) {
  quint32 value = 0;
  int count = 0;
  for (const QChar c : digits) {
    const int digit = digitOf(c, radix);
    if (digit < 0 || count == (radix == 16 ? 8 : 11)) break;
    value = value * radix + digit;
    ++count;
  }
  if (count <= (radix == 16 ? 4 : 6) && value <= 0xFFFF) return static_cast<qint16>(value);
  return static_cast<qint32>(value);
}

}  // namespace

double Val(const QString& text) {
  QString compact;
  compact.reserve(text.size());
  for (const QChar c : text) {
    if (!isBlank(c)) compact += c;
  }
  if (compact.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
    return radixValue(compact.mid(2), 16);
  }
  if (compact.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) {
    return radixValue(compact.mid(2), 8);
  }
  int end = 0;
  const auto digitsAt = [&compact](int at) {
    int count = 0;
    while (at + count < compact.size() && compact[at + count].isDigit() &&
           compact[at + count].unicode() < 128) {
      ++count;
    }
    return count;
  };
  if (end < compact.size() && (compact[end] == '+' || compact[end] == '-')) ++end;
  int mantissa = digitsAt(end);
  end += mantissa;
  if (end < compact.size() && compact[end] == '.') {
    const int fraction = digitsAt(end + 1);
    mantissa += fraction;
    end += 1 + fraction;
  }
  if (mantissa == 0) return 0.0;
  QString number = compact.left(end);
  if (end < compact.size() && QStringLiteral("eEdD").contains(compact[end])) {
    int at = end + 1;
    if (at < compact.size() && (compact[at] == '+' || compact[at] == '-')) ++at;
    const int exponent = digitsAt(at);
    if (exponent > 0) {
      number += 'e' + compact.mid(end + 1, at + exponent - end - 1);
    }
  }
  if (number.endsWith('.')) number.chop(1);
  const QByteArray latin = number.toLatin1();
  const char* first = latin.constData() + (latin.startsWith('+') ? 1 : 0);
  double value = 0;
  if (std::from_chars(first, latin.constData() + latin.size(), value).ec != std::errc()) {
    return number.toDouble();  // out of range: as QString reads it
  }
  return value;
}

qint32 CLng(double value) {
  if (!(value > -2147483648.5 && value < 2147483647.5)) overflow();
  const double whole = std::nearbyint(value);  // the default rounding: halves to even
  return static_cast<qint32>(whole);
}

qint32 CLng(const QString& text) { return CLng(Val(text)); }

Currency Currency::fromDouble(double value) {
  if (!std::isfinite(value)) overflow();
  const Decimal decimal(value);
  const std::string digits = roundedDigits(decimal, 4, Halves::ToEven);
  if (digits.size() > 19) overflow();
  const qint64 magnitude = std::stoll(digits);
  return Currency(decimal.negative ? -magnitude : magnitude);
}

Currency Currency::fromText(const QString& text) { return fromDouble(Val(text)); }

Currency& Currency::operator+=(Currency other) {
  if (__builtin_add_overflow(scaled_, other.scaled_, &scaled_)) overflow();
  return *this;
}

Currency operator-(Currency a, Currency b) {
  qint64 difference = 0;
  if (__builtin_sub_overflow(a.scaled_, b.scaled_, &difference)) overflow();
  return Currency(difference);
}

QString GeneralNumber(double value) {
  if (std::isnan(value)) return QStringLiteral("NaN");
  const Decimal decimal(value);
  if (decimal.isZero()) return QStringLiteral("0");
  std::string digits = decimal.digits;
  digits.erase(digits.find_last_not_of('0') + 1);
  const QString sign = decimal.negative ? QStringLiteral("-") : QString();
  const int exponent = decimal.pointAt - 1;
  if (exponent >= kSignificantDigits || exponent <= -kSignificantDigits) {
    QString mantissa = QString::fromStdString(digits.substr(0, 1));
    if (digits.size() > 1) mantissa += '.' + QString::fromStdString(digits.substr(1));
    return sign + mantissa + (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) +
           QString::number(std::abs(exponent));
  }
  const int decimals = std::max(0, static_cast<int>(digits.size()) - decimal.pointAt);
  if (decimal.pointAt > static_cast<int>(digits.size())) {
    digits.append(decimal.pointAt - digits.size(), '0');
  }
  return sign + withPoint(digits, decimals);
}

QString Format(double value, const QString& format) {
  const int point = format.indexOf('.');
  const int decimals = point < 0 ? 0 : static_cast<int>(format.size()) - point - 1;
  const Decimal decimal(value);
  const std::string digits = roundedDigits(decimal, decimals, Halves::AwayFromZero);
  const QString text = withPoint(digits, decimals);
  return decimal.negative && digits != "0" ? '-' + text : text;
}

}  // namespace qalvoro
