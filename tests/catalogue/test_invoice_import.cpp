// The sales and purchase tabs of the catalogue window: the invoice on
// display with its returns, the import of invoices and their returns
// through the hidden posting windows, replacing, errors and renumbering.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "host/db/Recordset.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/SSTab.h"
#include "host/forms/Windows.h"
#include "posting/PostingWindows.h"
#include "tests/catalogue/CatalogueTest.h"

namespace qalvoro::test {
namespace {

QDateTime on(int month, int day) { return QDateTime(QDate(2003, month, day), QTime()); }

// Two sales invoices, the first on credit with two returns.
StockRows salesRows() {
  StockRows rows;
  rows.items = {{.number = "0101"}, {.number = "0102", .description = QStringLiteral("صنف ب")}};
  rows.customers = {{.number = 1, .name = QStringLiteral("عميل 'أ'")}};
  rows.sales = {
      {.number = 1,
       .date = on(3, 1),
       .partyName = QStringLiteral("عميل 'أ'"),
       .cash = false,
       .total = 250,
       .discount = 25,
       .net = 225,
       .note = QStringLiteral("تسليم 'عاجل'"),
       .lines = {{.item = "0101", .quantity = 4.0, .price = 25},
                 {.item = "0102", .quantity = 6.0, .price = 25}}},
      {.number = 2,
       .date = on(2, 1),
       .party = 0,
       .partyName = QStringLiteral("عميل نقدي"),
       .total = 20,
       .net = 20,
       .lines = {{.item = "0101", .quantity = QVariant(), .price = 12},
                 {.item = "0102", .quantity = 0.0, .price = 8}}},
  };
  rows.costs = {{.invoice = 1, .item = "0101", .cost = 3.25}};
  rows.salesReturns = {
      {.number = 7,
       .date = on(3, 5),
       .cash = false,
       .total = 25,
       .net = 25,
       .lines = {{.item = "0101", .quantity = QVariant(), .price = 25}},
       .invoice = 1},
      {.number = 8,
       .date = on(3, 6),
       .total = 25,
       .net = 25,
       .lines = {{.item = "0102", .quantity = 1.0, .price = 25}},
       .invoice = 1},
  };
  return rows;
}

class InvoiceImportTest : public CatalogueTest {
 protected:
  // The window on the sales or purchase tab, with the tab's first cash box
  // chosen.
  FrmCat_Restore& openTab(int tab) {
    auto& window = openWindow(1, tab);
    window.CboCashier[tab - kSalesTab]->setCurrentIndex(0);
    return window;
  }
  FrmCat_Restore& reopen(FrmCat_Restore& window, int tab) {
    window.CmdOpenOldDB->click();
    window.CmdOpenOldDB->click();
    window.CboOldBranch->setCurrentIndex(window.CboOldBranch->findData(1));
    window.SSTab1->setCurrentTab(kItemsTab);
    window.SSTab1->setCurrentTab(tab);
    return window;
  }
  qint64 salesId(int number) {
    return scalar("SELECT ID FROM SaleInvoice WHERE BranchID = 1 AND InvoiceNo = ?", {number})
        .toLongLong();
  }
  double debit() { return scalar("SELECT Debit FROM Customer WHERE fNo = 1").toDouble(); }
};

TEST_F(InvoiceImportTest, SalesInvoicesArriveWithTheirLinesReturnsAndBalance) {
  writeStockFile(salesRows());
  auto& window = openTab(kSalesTab);
  // The earliest invoice is shown first, with its returns listed.
  EXPECT_EQ(window.TxtSalesNo->text(), "2");
  EXPECT_EQ(window.TxtSalesDate->text(), "2003/02/01");
  EXPECT_EQ(window.CboRSalesNo->count(), 0);
  window.Cmd_Next->click();
  EXPECT_EQ(window.TxtSalesAmount->text(), "225.00");
  ASSERT_EQ(window.CboRSalesNo->count(), 2);
  EXPECT_EQ(window.TxtRSalesDate->text(), "2003/03/05");
  window.CboRSalesNo->setCurrentIndex(1);
  EXPECT_EQ(window.TxtRSalesDate->text(), "2003/03/06");
  EXPECT_EQ(window.TxtRSalesName->text(), QStringLiteral("عميل 'أ'"));
  window.Cmd_First->click();

  window.CmdImportAll->click();
  EXPECT_EQ(user().messageTexts(), QStringList{});
  EXPECT_EQ(rowsLeft(window, QStringLiteral("ف_مبيعات")), 0);
  const qint64 credit = salesId(1);
  EXPECT_EQ(scalar("SELECT Total FROM SaleInvoice WHERE ID = ?", {credit}).toDouble(), 250);
  EXPECT_EQ(scalar("SELECT Discount FROM SaleInvoice WHERE ID = ?", {credit}).toDouble(), 25);
  EXPECT_EQ(scalar("SELECT Net FROM SaleInvoice WHERE ID = ?", {credit}).toDouble(), 225);
  EXPECT_EQ(scalar("SELECT Payment FROM SaleInvoice WHERE ID = ?", {credit}).toInt(), 1);
  EXPECT_EQ(scalar("SELECT note FROM SaleInvoice WHERE ID = ?", {credit}).toString(),
            QStringLiteral("تسليم 'عاجل'"));
  EXPECT_EQ(scalar("SELECT fDate FROM SaleInvoice WHERE ID = ?", {credit}).toString(),
            "2003/03/01");
  EXPECT_EQ(scalar("SELECT CustomerID FROM SaleInvoice WHERE ID = ?", {credit}).toInt(),
            scalar("SELECT ID FROM Customer WHERE fNo = 1").toInt());
  EXPECT_DOUBLE_EQ(debit(), 225);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SInvSData WHERE InvoiceID = ?", {credit}), 2);
  EXPECT_EQ(
      scalar("SELECT s.CostPrice FROM SInvSData s JOIN Category c ON c.CategoryID = s.CategoryID "
             "WHERE s.InvoiceID = ? AND c.CategoryNo = '0101'",
             {credit})
          .toDouble(),
      3.25);
  EXPECT_EQ(
      scalar("SELECT s.CostPrice FROM SInvSData s JOIN Category c ON c.CategoryID = s.CategoryID "
             "WHERE s.InvoiceID = ? AND c.CategoryNo = '0102'",
             {credit})
          .toDouble(),
      0);
  // The walk-in invoice: Null and 0 quantities are posted as 1.
  const qint64 cash = salesId(2);
  EXPECT_EQ(scalar("SELECT CustomerID FROM SaleInvoice WHERE ID = ?", {cash}).toInt(), -1);
  EXPECT_EQ(scalar("SELECT CustomerName FROM SaleInvoice WHERE ID = ?", {cash}).toString(),
            QStringLiteral("عميل نقدي"));
  EXPECT_EQ(count("SELECT COUNT(*) FROM SInvSData WHERE InvoiceID = ? AND Quantity = 1", {cash}),
            2);
  EXPECT_EQ(scalar("SELECT Total FROM SaleInvoice WHERE ID = ?", {cash}).toDouble(), 20);
  // Both returns, each with its own number, linked to the invoice.
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice WHERE BranchID = 1 AND InvSaleID = ? AND "
                  "InvoiceNo IN (7, 8)",
                  {credit}),
            2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSInvSData l JOIN RSaleInvoice r ON r.ID = l.InvoiceID "
                  "WHERE r.InvoiceNo = 7 AND l.Quantity = 1"),
            1);

  // Again with Yes to all: one copy of everything, the balance unchanged.
  user().queueWindow(
      [](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdYesAll->click(); });
  reopen(window, kSalesTab).CmdImportAll->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SInvSData"), 4);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice"), 2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSInvSData"), 2);
  EXPECT_DOUBLE_EQ(debit(), 225);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice WHERE InvSaleID = ?", {salesId(1)}), 2);

  // Answering No keeps the invoices and posts their returns again, once.
  for (int i = 0; i < 2; ++i) {
    user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdNo->click(); });
  }
  reopen(window, kSalesTab).CmdImportAll->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice"), 2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSInvSData"), 2);
  EXPECT_DOUBLE_EQ(debit(), 225);

  // Leaving the window unloads the hidden invoice windows.
  EXPECT_TRUE(windows().exists<FrmInvSales>());
  window.Cmd_Exit->click();
  EXPECT_FALSE(windows().exists<FrmInvSales>());
}

TEST_F(InvoiceImportTest, PurchasesSpreadTheirDiscountAndReturnsWithoutInvoiceLinkToNothing) {
  StockRows rows;
  rows.items = {{.number = "0101"}, {.number = "0102"}};
  rows.providers = {{.number = 3, .name = QStringLiteral("مورد")}};
  rows.purchases = {
      {.number = 5, .date = on(1, 5), .party = 3, .total = 0, .net = 0},
      {.number = 6,
       .date = on(1, 6),
       .party = 3,
       .total = 300,
       .discount = 10,
       .net = 300,
       .lines = {{.item = "0101", .quantity = 2.0, .price = 50},
                 {.item = "0102", .quantity = 1.0, .price = 200}}},
  };
  rows.purchaseReturns = {{.number = 3,
                           .date = on(2, 1),
                           .party = 3,
                           .lines = {{.item = "0101", .quantity = 0.0, .price = 50}},
                           .invoice = 5}};
  writeStockFile(rows);
  auto& window = openTab(kPurchasesTab);
  window.CmdImportAll->click();
  // The invoice without lines is refused by the posting window; its return
  // still comes, linked to no invoice.
  EXPECT_EQ(user().messageTexts(), QStringList{QStringLiteral("يجب إدخال صنف واحد على الأقل")});
  EXPECT_EQ(count("SELECT COUNT(*) FROM BuyInvoice"), 1);
  const qint64 id = scalar("SELECT ID FROM BuyInvoice WHERE InvoiceNo = 6").toLongLong();
  EXPECT_EQ(scalar("SELECT Net FROM BuyInvoice WHERE ID = ?", {id}).toDouble(), 290);
  EXPECT_EQ(scalar("SELECT ProviderID FROM BuyInvoice WHERE ID = ?", {id}).toInt(),
            scalar("SELECT ID FROM Provider WHERE fNo = 3").toInt());
  // A discount the version-1 net does not show yet is spread in proportion,
  // the rest on the last line.
  Recordset lines;
  lines.open("SELECT Discount, Total FROM BInvData WHERE InvoiceID = ? ORDER BY ID",
             MainConnection(), LockType::ReadOnly, {id});
  ASSERT_EQ(lines.recordCount(), 2);
  EXPECT_DOUBLE_EQ(lines.value("Discount").toDouble(), 3.33);
  lines.moveNext();
  EXPECT_DOUBLE_EQ(lines.value("Discount").toDouble(), 6.67);
  EXPECT_DOUBLE_EQ(lines.value("Total").toDouble(), 193.33);
  EXPECT_EQ(scalar("SELECT InvBuyID FROM RBuyInvoice WHERE InvoiceNo = 3").toInt(), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RBInvData WHERE Quantity = 1"), 1);
  EXPECT_EQ(rowsLeft(window, QStringLiteral("ف_مشتروات")), 0);
}

TEST_F(InvoiceImportTest, AFailedSaveLeavesNothingHalfWrittenAndEndsTheRun) {
  StockRows rows = salesRows();
  rows.sales[0].lines[1].price = 77;
  writeStockFile(rows);
  MainConnection().execute(
      "CREATE TRIGGER refuse_77 BEFORE INSERT ON SInvSData WHEN NEW.Price = 77 "
      "BEGIN SELECT RAISE(ABORT, 'price refused'); END");
  auto& window = openTab(kSalesTab);
  window.CmdImportAll->click();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_TRUE(user().messageTexts()[0].startsWith("Err:"))
      << user().messageTexts()[0].toStdString();
  EXPECT_TRUE(user().messageTexts()[0].contains("price refused"));
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 1) << "only the walk-in invoice";
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice"), 0);
  EXPECT_DOUBLE_EQ(debit(), 0);
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Sales'").toBool());
  EXPECT_EQ(rowsLeft(window, QStringLiteral("ف_مبيعات")), 1) << "the failed invoice stays";
  EXPECT_EQ(window.TxtSalesNo->text(), "1");
}

TEST_F(InvoiceImportTest, WithoutACashBoxNothingIsWritten) {
  writeStockFile(salesRows());
  auto& window = openWindow(1, kSalesTab);
  window.CmdImport->click();
  EXPECT_EQ(user().messageTexts(), QStringList{QStringLiteral("يجب تحديد حساب الصندوق")});
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 0);
  EXPECT_EQ(rowsLeft(window, QStringLiteral("ف_مبيعات")), 2);
}

TEST_F(InvoiceImportTest, RenumberingRunsByDateThroughInvoicesThenReturns) {
  StockRows rows = salesRows();
  rows.sales.push_back({.number = 3, .date = on(2, 1), .lines = {{.item = "0101"}}});
  writeStockFile(rows);
  auto& window = openTab(kSalesTab);
  window.CmdImportAll->click();
  window.txtStartInvNo[0]->setText("100");
  window.CmdStartInvNo[0]->click();
  // Invoices 2 and 3 share a date: they keep the order they were stored in.
  Recordset numbers;
  numbers.open("SELECT InvoiceNo FROM SaleInvoice ORDER BY fDate, ID", MainConnection());
  QStringList invoices;
  for (; !numbers.eof(); numbers.moveNext()) invoices << numbers.text("InvoiceNo");
  EXPECT_EQ(invoices, (QStringList{"100", "101", "102"}));
  EXPECT_EQ(scalar("SELECT InvoiceNo FROM SaleInvoice WHERE fDate = '2003/03/01'").toInt(), 102);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice WHERE InvoiceNo IN (103, 104)"), 2);
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'RSales'").toBool());
}

class InvoiceBatchTest : public CatalogueTest {
 protected:
  std::pair<int, QString> runBatch(const QStringList& options) {
    return runHost(QStringList{"--batch", "catalogue", "--app-path", appPath(), "--settings",
                               "Batch", "--db", version2Path(), "--v1-folder", folder(),
                               "--old-branch", "1", "--branch", "1", "--kind", "sales"} +
                   options);
  }
};

TEST_F(InvoiceBatchTest, TheCashierAndTheRenumberingAreChosenByOptions) {
  writeStockFile(salesRows());
  auto [refused, why] = runBatch({"--cashier", "999"});
  EXPECT_EQ(refused, 1) << why.toStdString();
  EXPECT_TRUE(why.contains("ended: failed: no cashier 999 in version-2 branch 1"))
      << why.toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 0);

  auto [code, output] = runBatch({"--cashier", "120102", "--renumber-from", "500"});
  EXPECT_EQ(code, 0) << output.toStdString();
  EXPECT_TRUE(output.contains("summary: imported 2, overwritten 0, skipped 0, refused 0"))
      << output.toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice s JOIN CardAcc a ON a.ID = s.CashierAccID "
                  "WHERE a.AccNo = '120102' AND s.InvoiceNo IN (500, 501)"),
            2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice WHERE InvoiceNo IN (502, 503)"), 2);
}

}  // namespace
}  // namespace qalvoro::test
