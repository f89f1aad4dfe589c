#include "verify/Books.h"

#include <cmath>
#include <cstdlib>

namespace qalvoro::verify {

Money ToMoney(double amount) {
  if (!std::isfinite(amount)) return 0;
  const double tenThousandths = std::round(amount * 10000);
  return static_cast<Money>(std::round(tenThousandths / 100));
}

QString MoneyText(Money amount) {
  const Money whole = std::llabs(amount);
  return QStringLiteral("%1%2.%3")
      .arg(amount < 0 ? QStringLiteral("-") : QString())
      .arg(whole / 100)
      .arg(whole % 100, 2, 10, QLatin1Char('0'));
}

QString DateText(const QString& stored) {
  QString date = stored.trimmed().left(10);
  date.replace(QLatin1Char('-'), QLatin1Char('/'));
  return date;
}

}  // namespace qalvoro::verify
