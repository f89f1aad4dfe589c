#include "tools/mdbwriter/JetFormat.h"

namespace qalvoro::mdbwriter {

const JetFormat& JetFormat::of(JetVersion version) {
  static const JetFormat kJet3{JetVersion::Jet3, 2048, 8, 20, 18, 133};
  static const JetFormat kJet4{JetVersion::Jet4, 4096, 12, 40, 25, 69};
  return version == JetVersion::Jet3 ? kJet3 : kJet4;
}

}  // namespace qalvoro::mdbwriter
