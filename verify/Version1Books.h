#pragma once

#include "verify/Books.h"

namespace qalvoro {

class Connection;

namespace verify {

// Reads a converted version-1 accounts file: the accounts (Card) of the
// version-1 branch and every journal entry (Gaid) of the file, which the
// journal import moves whatever its branch.
void ReadAccountsFile(Connection& file, int version1Branch, Version1Books& books);

// Reads a converted version-1 stock file: the items, parties, invoices,
// returns (with their lines) and vouchers of the version-1 branch. A table
// the file does not have reads as empty.
void ReadStockFile(Connection& file, int version1Branch, Version1Books& books);

}  // namespace verify
}  // namespace qalvoro
