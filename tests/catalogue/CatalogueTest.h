#pragma once

#include <QDateTime>
#include <QVariant>
#include <vector>

#include "catalogue/FrmCat_Restore.h"
#include "catalogue/StockFile.h"
#include "tests/host/HostTest.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {

// A version-1 item (a row of الاصناف).
struct ItemRow {
  QString number;
  QVariant description = QStringLiteral("صنف");
  QVariant classification = QStringLiteral("مواد غذائية");
  int branch = 1;
  QVariant available = 10.0;
  QVariant ordered = 2.0;
  QVariant counted = 8.0;
  QVariant reorder = 3.0;
  double cost = 5.5;
  double retailRate = 25;
  double wholesaleRate = 10;
  double retail = 6.875;
  double lowest = 5.775;
  double wholesale = 6.05;
};

// A version-1 customer or provider.
struct PartyRow {
  int number = 0;
  QVariant name = QStringLiteral("طرف");
  int branch = 1;
  QVariant person = QStringLiteral("سعيد");
  QVariant address = QStringLiteral("الرياض");
  QVariant phone = QStringLiteral("01-4224484");
  QVariant fax = QStringLiteral("01-4605915");
};

// A line of a version-1 invoice or return.
struct LineRow {
  QString item;
  QVariant quantity = 1.0;
  double price = 10;
  QVariant description = QStringLiteral("سطر");
};

// A version-1 invoice or return. invoice is the number of the invoice a
// return returns.
struct DocumentRow {
  int number = 0;
  QDateTime date;
  int branch = 1;
  int party = 1;
  QString partyName = QStringLiteral("طرف");
  bool cash = true;
  double total = 10;
  double discount = 0;
  double net = 10;
  QVariant note = {};
  std::vector<LineRow> lines = {};
  int invoice = 0;
};

// The cost of an item sold on a version-1 sales invoice (المبيعات).
struct CostRow {
  int invoice = 0;
  QString item;
  double cost = 0;
  int branch = 1;
};

// A version-1 voucher (a row of السندات): by default a cash payment of 100
// to customer 1.
struct VoucherRow {
  int number = 0;
  QDateTime date = QDateTime(QDate(2003, 3, 1), QTime());
  int branch = 1;
  int kind = 0;       // 0 payment, any other receipt
  int partyKind = 0;  // 0 customer, any other provider
  int party = 1;
  QVariant name = QStringLiteral("طرف");
  double amount = 100;
  int cheque = 0;
  QVariant chequeNo = {};
  QVariant chequeDate = {};  // a QDateTime or Null
  QVariant against = QStringLiteral("سداد");
};

struct StockRows {
  std::vector<ItemRow> items;
  std::vector<PartyRow> customers;
  std::vector<PartyRow> providers;
  std::vector<DocumentRow> sales;
  std::vector<DocumentRow> purchases;
  std::vector<VoucherRow> vouchers;
  std::vector<DocumentRow> salesReturns;
  std::vector<DocumentRow> purchaseReturns;
  std::vector<CostRow> costs;
};

// The catalogue window on a version-1 stock file written for the test and
// the demo version-2 database (branches 1 and 2, units, a chart of accounts
// with the customers' parent 1203 and the providers' parent 21, cash boxes
// and three classes per branch).
class CatalogueTest : public HostTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes Stock001.mdb with these rows (branches 1 and 2) into folder().
  void writeStockFile(const StockRows& rows);
  // Loads the window, opens the file, chooses the version-1 branch and the
  // tab.
  FrmCat_Restore& openWindow(int version1Branch = 1, int tab = kItemsTab);
  QString folder() const { return folder_; }
  QString version2Path() const;
  virtual Engine version2Engine() const { return Engine::SQLite; }

  // Rows of a version-1 table of branch 1 still in the working copy.
  int rowsLeft(FrmCat_Restore& window, const QString& table);
  // Sets the lock row of a lock name, as another workstation would.
  void holdLock(const QString& name, bool held);

 private:
  QString folder_;
  std::unique_ptr<TestDatabase> server_;  // a PostgreSQL version-2 database
};

}  // namespace qalvoro::test
