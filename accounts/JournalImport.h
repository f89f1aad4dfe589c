#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "host/db/Recordset.h"
#include "host/helpers/LookupCache.h"
#include "v1source/source/Version1Files.h"

namespace qalvoro {

class Connection;

// Moves version-1 journal entries (table Gaid of the working copy, one row
// per line, taken from the whole file) into the version-2 journal of one
// branch: a Gaid header and GaidDetails lines per entry. No windows.
class JournalImport {
 public:
  // Lines written and skipped (their account is not in version 2); without
  // them the written lines may no longer balance.
  struct EntryResult {
    bool written = false;
    int lines = 0;
    int skippedLines = 0;
    bool balanced = true;
  };

  JournalImport(Connection& version1, int branch);

  // Entry numbers of the whole file, ascending.
  std::vector<int> EntryNumbers();
  // Imports one entry as one write under the "Gaid" lock, replacing the
  // branch's entry of the same number with all its lines. yield runs after
  // every line is read. Raises DbError, after which nothing of the entry is
  // written and the lock is free.
  EntryResult ImportJournalEntry(int entryNumber, const std::function<void()>& yield);
  // Points the branch's imported journal lines at the accounts whose numbers
  // they carry and clears those numbers.
  void Relink();

 private:
  Connection& version1_;
  int branch_;
  LookupCache accounts_;  // account IDs by number
};

}  // namespace qalvoro
