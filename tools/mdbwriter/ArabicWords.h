#pragma once

#include <QString>

#include "tools/mdbwriter/Random.h"

namespace qalvoro::mdbwriter::v1 {

// Arabic names and words for generated version-1 data.
QString firstName(Random& random);
QString familyName(Random& random);
QString personName(Random& random);
QString cityDistrict(Random& random);
QString branchName(int number);       // accounts product
QString storeBranchName(int number);  // stock product
QString productName(int index);
QString classification(Random& random);
// Name of a sub-account under a top-level account (1-6) at a given depth.
QString subAccountName(int root, int depth, Random& random);

}  // namespace qalvoro::mdbwriter::v1
