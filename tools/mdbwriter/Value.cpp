#include "tools/mdbwriter/Value.h"

#include <cmath>

namespace qalvoro::mdbwriter {

Currency Currency::fromDouble(double amount) {
  return {static_cast<qint64>(std::llround(amount * 10000.0))};
}

double toJetDate(const QDateTime& t) {
  static const QDate kEpoch(1899, 12, 30);
  const double days = static_cast<double>(kEpoch.daysTo(t.date()));
  const double fraction = t.time().msecsSinceStartOfDay() / 86400000.0;
  return days >= 0 ? days + fraction : days - fraction;
}

}  // namespace qalvoro::mdbwriter
