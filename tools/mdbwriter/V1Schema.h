#pragma once

#include <QString>
#include <vector>

#include "tools/mdbwriter/Column.h"

namespace qalvoro::mdbwriter::v1 {

// Tables of the version-1 products, with their column names, types and sizes.
struct TableSpec {
  QString name;
  std::vector<Column> columns;
};

TableSpec branchTable();  // General.MDB
// Accounts data file. Its amounts (opening balances, upper limit, journal
// debit and credit) are Double, or Single as some accounts files keep them.
TableSpec cardTable(ColumnType amounts = ColumnType::Double);
TableSpec gaidTable(ColumnType amounts = ColumnType::Double);
TableSpec usersTable();  // SYSTEM1.MDB

// Stock001.mdb
TableSpec stockBranchTable();
TableSpec itemTable();
TableSpec customerTable();
TableSpec providerTable();
TableSpec salesInvoiceTable();
TableSpec salesLineTable();
TableSpec salesCostTable();
TableSpec salesReturnTable();
TableSpec salesReturnLineTable();
TableSpec purchaseInvoiceTable();
TableSpec purchaseLineTable();
TableSpec purchaseReturnTable();
TableSpec purchaseReturnLineTable();
TableSpec voucherTable();

}  // namespace qalvoro::mdbwriter::v1
