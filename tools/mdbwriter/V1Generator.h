#pragma once

#include <QString>

#include "tools/mdbwriter/JetDatabaseWriter.h"

namespace qalvoro::mdbwriter::v1 {

struct V1Sizes {
  int branches = 3;  // branch 1 and 2 have data; the others are listed only
  int accounts = 30;
  int entries = 20;
  int items = 15;
  int invoices = 12;
  int customers = 0;    // 0: a quarter of the invoices, at least 6
  int providers = 0;    // 0: a sixth of the invoices, at least 4
  int purchases = 0;    // 0: half the sales invoices, at least 1
  int lines = 0;        // lines per invoice; 0: one to four
  int returnEvery = 0;  // one return per this many invoices; 0: groups of three
  int vouchers = 0;     // 0: half the sales invoices, at least 7
};

struct V1Options {
  JetWriterOptions writer;
  V1Sizes sizes;
  quint64 seed = 1;
  bool systemFile = true;
  bool singleAmounts = false;  // the amounts of Card and Gaid as Single
};

// Accounts product folder: General.MDB (Branch), ACC2003.MDB (Card, Gaid)
// and, unless turned off, SYSTEM1.MDB (Users).
void writeAccountsFolder(const QString& folder, const V1Options& options);

// Stock product folder: Stock001.mdb with the branch, item, party, invoice,
// return and voucher tables.
void writeStockFolder(const QString& folder, const V1Options& options);

// One table "Bench" with a column of every type and the given number of rows.
void writeBenchTable(const QString& file, int rows, quint64 seed, const JetWriterOptions& options);

}  // namespace qalvoro::mdbwriter::v1
