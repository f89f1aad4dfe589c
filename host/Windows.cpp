#include "host/Windows.h"

namespace qalvoro {

WindowSet& windows() {
  static WindowSet set;
  return set;
}

}  // namespace qalvoro
