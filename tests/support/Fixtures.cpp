#include "tests/support/Fixtures.h"

namespace qalvoro::test {

QString FixturesFolder() {
  const QString overridden = qEnvironmentVariable("QALVORO_FIXTURES");
  return overridden.isEmpty() ? QStringLiteral(QALVORO_FIXTURES_DIR) : overridden;
}

}  // namespace qalvoro::test
