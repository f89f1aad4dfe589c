#pragma once

#include <QDate>
#include <QString>

namespace qalvoro {

class Connection;

// The tabs of the catalogue window, in their order: the kind of version-1
// record each one lists.
enum CatalogueTab {
  kItemsTab = 0,
  kCustomersTab = 1,
  kProvidersTab = 2,
  kSalesTab = 3,
  kPurchasesTab = 4,
  kVouchersTab = 5,
};

// The version-1 records of a tab in the stock file's working copy, for the
// version-1 branch bound as the one value.
QString Version1TabQuery(int tab);

// The version-2 rows a window keeps for a tab, for the version-2 branch
// bound as the one value; empty when none. Choosing the version-1 branch
// opens them for the item, party and invoice tabs; changing the tab or the
// version-2 branch only for the item and party tabs.
QString Version2TabQuery(int tab, bool onBranchChoice);

// Indexes the lookups of the catalogue imports need in the working copy.
void PrepareStockFile(Connection& workingCopy);

// The date filter: deletes from the working copy the sales and purchase
// invoices and the vouchers of the branch dated before from or after to;
// both bound days stay, and a null date deletes nothing on its side. Dates
// are compared as days, whatever their stored format or time of day.
void DeleteDocumentsOutside(Connection& workingCopy, int branch, const QDate& from,
                            const QDate& to);

}  // namespace qalvoro
