#include "host/forms/Windows.h"

namespace qalvoro {

WindowSet& windows() {
  static WindowSet set;
  return set;
}

}  // namespace qalvoro
