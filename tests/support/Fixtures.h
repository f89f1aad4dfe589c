#pragma once

#include <QString>

namespace qalvoro::test {

// The shared version-1 sample files: QALVORO_FIXTURES, or the folder beside
// the main checkout. Tests that need them skip when they are absent.
QString FixturesFolder();

}  // namespace qalvoro::test
