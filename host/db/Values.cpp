#include "host/db/Values.h"

#include <QLocale>
#include <cmath>

#include "host/db/DbError.h"

namespace qalvoro::values {
namespace {

bool isNumberType(int id) {
  switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
      return true;
    default:
      return false;
  }
}

std::optional<double> parseNumber(const QString& text) {
  bool ok = false;
  const double number = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(number)) return std::nullopt;
  return number;
}

std::optional<bool> parseTruth(const QVariant& value) {
  switch (kindOf(value)) {
    case Kind::Bool:
      return value.toBool();
    case Kind::Number:
      return value.toDouble() != 0;
    case Kind::Text: {
      const QString text = value.toString().trimmed().toLower();
      if (text == QLatin1String("true") || text == QLatin1String("yes") ||
          text == QLatin1String("on")) {
        return true;
      }
      if (text == QLatin1String("false") || text == QLatin1String("no") ||
          text == QLatin1String("off") || text.isEmpty()) {
        return false;
      }
      const std::optional<double> number = parseNumber(text);
      if (number) return *number != 0;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

QString canonicalNumber(double number) {
  if (number == std::trunc(number) && std::fabs(number) < 9.0e15) {
    return QString::number(static_cast<qint64>(number));
  }
  return QString::number(number, 'g', 17);
}

template <typename T>
int threeWay(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int compareText(const QString& a, const QString& b, TextOrder order) {
  const Qt::CaseSensitivity sensitivity =
      order == TextOrder::CaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
  return threeWay(QString::compare(a, b, sensitivity), 0);
}

// Rank of a kind when values of different kinds are ordered.
int orderRank(Kind kind) {
  switch (kind) {
    case Kind::Bool:
    case Kind::Number:
      return 1;
    case Kind::Date:
      return 2;
    default:
      return 3;
  }
}

[[noreturn]] void typeMismatch(const QVariant& value) {
  throw DbError(
      dberr::kTypeMismatch,
      QStringLiteral("Type mismatch: \"%1\" does not fit the column.").arg(display(value)));
}

}  // namespace

Kind kindOf(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return Kind::Null;
  const int id = value.metaType().id();
  if (id == QMetaType::Bool) return Kind::Bool;
  if (isNumberType(id)) return Kind::Number;
  if (id == QMetaType::QDate || id == QMetaType::QDateTime) return Kind::Date;
  return Kind::Text;
}

std::optional<double> numberOf(const QVariant& value) {
  switch (kindOf(value)) {
    case Kind::Bool:
    case Kind::Number:
      return value.toDouble();
    case Kind::Text:
      return parseNumber(value.toString());
    default:
      return std::nullopt;
  }
}

std::optional<QDateTime> dateTimeOf(const QVariant& value) {
  const Kind kind = kindOf(value);
  if (kind == Kind::Date) {  // compared by their clock values, whatever their zone
    const QDateTime dateTime = value.toDateTime();
    return QDateTime(dateTime.date(), dateTime.time(), Qt::UTC);
  }
  if (kind != Kind::Text) return std::nullopt;
  QString text = value.toString().trimmed();
  text.replace('/', '-');
  QDateTime dateTime = QDateTime::fromString(text, Qt::ISODate);
  if (!dateTime.isValid()) {
    const QDate usDate = QDate::fromString(value.toString().trimmed(), QStringLiteral("M/d/yyyy"));
    if (usDate.isValid()) dateTime = usDate.startOfDay(Qt::UTC);
  }
  if (!dateTime.isValid()) return std::nullopt;
  dateTime.setTimeSpec(Qt::UTC);
  return dateTime;
}

std::optional<int> compareToLiteral(const QVariant& field, const QVariant& literal) {
  const Kind fieldKind = kindOf(field);
  const Kind literalKind = kindOf(literal);
  if (fieldKind == Kind::Null || literalKind == Kind::Null) return std::nullopt;
  if (fieldKind == Kind::Bool || literalKind == Kind::Bool) {
    const std::optional<bool> a = parseTruth(field);
    const std::optional<bool> b = parseTruth(literal);
    if (a && b) return threeWay(*a, *b);
  } else if (fieldKind == Kind::Date || literalKind == Kind::Date) {
    const std::optional<QDateTime> a = dateTimeOf(field);
    const std::optional<QDateTime> b = dateTimeOf(literal);
    if (a && b) return threeWay(*a, *b);
  } else if (fieldKind == Kind::Number || literalKind == Kind::Number) {
    const std::optional<double> a = numberOf(field);
    const std::optional<double> b = numberOf(literal);
    if (a && b) return threeWay(*a, *b);
  }
  return threeWay(QString::compare(display(field), display(literal), Qt::CaseInsensitive), 0);
}

int compareForOrder(const QVariant& a, const QVariant& b, TextOrder textOrder, bool nullsFirst) {
  const Kind ka = kindOf(a);
  const Kind kb = kindOf(b);
  if (ka == Kind::Null || kb == Kind::Null) {
    if (ka == kb) return 0;
    const int nullIsSmaller = nullsFirst ? -1 : 1;
    return ka == Kind::Null ? nullIsSmaller : -nullIsSmaller;
  }
  if (orderRank(ka) != orderRank(kb)) return threeWay(orderRank(ka), orderRank(kb));
  switch (orderRank(ka)) {
    case 1:
      return threeWay(a.toDouble(), b.toDouble());
    case 2:
      return threeWay(*dateTimeOf(a), *dateTimeOf(b));
    default:
      return compareText(a.toString(), b.toString(), textOrder);
  }
}

bool indexable(const QVariant& value) {
  const Kind kind = kindOf(value);
  return kind == Kind::Number || kind == Kind::Text;
}

QStringList fieldKeys(const QVariant& field) {
  switch (kindOf(field)) {
    case Kind::Number:
      return {QLatin1String("n:") + canonicalNumber(field.toDouble())};
    case Kind::Text: {
      const QString text = field.toString();
      QStringList keys{QLatin1String("t:") + text.toCaseFolded()};
      if (const std::optional<double> number = parseNumber(text)) {
        keys << QLatin1String("x:") + canonicalNumber(*number);
      }
      return keys;
    }
    default:
      return {};
  }
}

QStringList lookupKeys(const QVariant& literal) {
  switch (kindOf(literal)) {
    case Kind::Number: {
      const QString number = canonicalNumber(literal.toDouble());
      return {QLatin1String("n:") + number, QLatin1String("x:") + number};
    }
    case Kind::Text: {
      const QString text = literal.toString();
      QStringList keys{QLatin1String("t:") + text.toCaseFolded()};
      if (const std::optional<double> number = parseNumber(text)) {
        keys << QLatin1String("n:") + canonicalNumber(*number);
      }
      return keys;
    }
    default:
      return {};
  }
}

QString display(const QVariant& value) {
  switch (kindOf(value)) {
    case Kind::Null:
      return {};
    case Kind::Bool:
      return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Number: {
      const double number = value.toDouble();
      if (value.metaType().id() != QMetaType::Double && value.metaType().id() != QMetaType::Float) {
        return value.toString();
      }
      return number == std::trunc(number) && std::fabs(number) < 1e15
                 ? QString::number(static_cast<qint64>(number))
                 : QString::number(number, 'g', 15);
    }
    case Kind::Date: {
      const QDateTime dateTime = value.toDateTime();
      if (value.metaType().id() == QMetaType::QDate || dateTime.time() == QTime(0, 0)) {
        return value.toDate().toString(QStringLiteral("yyyy/MM/dd"));
      }
      return dateTime.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    }
    default:
      return value.toString();
  }
}

QVariant convertForColumn(const QVariant& value, QMetaType columnType) {
  const Kind kind = kindOf(value);
  if (kind == Kind::Null) return {};
  const int id = columnType.id();
  if (id == QMetaType::Bool) {
    const std::optional<bool> truth = parseTruth(value);
    if (!truth) typeMismatch(value);
    return *truth;
  }
  if (isNumberType(id)) {
    if (kind == Kind::Number) return value;
    if (kind == Kind::Bool) return value.toBool() ? 1 : 0;
    const std::optional<double> number = numberOf(value);
    if (!number) typeMismatch(value);
    const bool whole = id != QMetaType::Double && id != QMetaType::Float;
    return whole && *number == std::trunc(*number) ? QVariant(static_cast<qint64>(*number))
                                                   : QVariant(*number);
  }
  if (id == QMetaType::QString && kind != Kind::Text) return display(value);
  return value;
}

}  // namespace qalvoro::values
