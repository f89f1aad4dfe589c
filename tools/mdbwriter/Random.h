#pragma once

#include <QtGlobal>

namespace qalvoro::mdbwriter {

// Small deterministic generator (splitmix64): the same seed, stream and index
// give the same numbers on every platform, so a record can be generated again
// from its index instead of being kept in memory.
class Random {
 public:
  Random(quint64 seed, quint64 stream, quint64 index);

  quint64 next();
  // 0 <= result < n
  int below(int n);
  // low <= result <= high
  int between(int low, int high) { return low + below(high - low + 1); }
  bool percent(int chance) { return below(100) < chance; }
  // An amount with two decimals, low <= result <= high.
  double amount(int low, int high);

 private:
  quint64 state_;
};

}  // namespace qalvoro::mdbwriter
