#pragma once

#include <QDateTime>
#include <QString>
#include <variant>

namespace qalvoro::mdbwriter {

// An amount of the Currency type, kept exactly in ten-thousandths.
struct Currency {
  qint64 tenThousandths = 0;

  // Rounds to the nearest ten-thousandth.
  static Currency fromDouble(double amount);
  static Currency fromCents(qint64 cents) { return {cents * 100}; }
  bool operator==(const Currency&) const = default;
};

// One cell of a row: Null or a value of the kind the column expects.
class Value {
 public:
  Value() = default;  // Null
  static Value boolean(bool b) { return Value(b); }
  static Value integer(qint64 i) { return Value(i); }
  static Value real(double d) { return Value(d); }
  static Value currency(Currency c) { return Value(c); }
  static Value dateTime(const QDateTime& t) { return Value(t); }
  static Value text(const QString& s) { return Value(s); }

  bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
  const bool* asBool() const { return std::get_if<bool>(&value_); }
  const qint64* asInteger() const { return std::get_if<qint64>(&value_); }
  const double* asReal() const { return std::get_if<double>(&value_); }
  const Currency* asCurrency() const { return std::get_if<Currency>(&value_); }
  const QDateTime* asDateTime() const { return std::get_if<QDateTime>(&value_); }
  const QString* asText() const { return std::get_if<QString>(&value_); }

 private:
  template <typename T>
  explicit Value(T v) : value_(std::move(v)) {}

  std::variant<std::monostate, bool, qint64, double, Currency, QDateTime, QString> value_;
};

// Day number of the Jet Date/Time type: days since 1899-12-30, the time of day
// as the fraction (taken away from negative day numbers, as Jet does).
double toJetDate(const QDateTime& t);

}  // namespace qalvoro::mdbwriter
