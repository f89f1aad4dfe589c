#pragma once

#include "verify/Books.h"

namespace qalvoro {

class Connection;

namespace verify {

// Reads what the version-2 database holds for a branch: every kind the
// migration writes, one query per table, documents with their line counts.
Version2Books ReadVersion2Branch(Connection& database, int branch);

}  // namespace verify
}  // namespace qalvoro
