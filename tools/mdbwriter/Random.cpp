#include "tools/mdbwriter/Random.h"

namespace qalvoro::mdbwriter {

Random::Random(quint64 seed, quint64 stream, quint64 index)
    : state_(seed * 0x9E3779B97F4A7C15ULL ^ stream * 0xBF58476D1CE4E5B9ULL ^
             index * 0x94D049BB133111EBULL) {
  next();
}

quint64 Random::next() {
  quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

int Random::below(int n) { return n <= 1 ? 0 : static_cast<int>(next() % static_cast<quint64>(n)); }

double Random::amount(int low, int high) { return between(low * 100, high * 100) / 100.0; }

}  // namespace qalvoro::mdbwriter
