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
#include "tests/posting/PostingTest.h"

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
       .date = on(3, 31),
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
    window.CboCashier[tab - kSalesTab]->setCurrentIndex(0);
    return window;
  }
  qint64 salesId(int number) {
    return scalar("SELECT ID FROM SaleInvoice WHERE BranchID = 1 AND InvoiceNo = ?", {number})
        .toLongLong();
  }
  double debit() { return scalar("SELECT Debit FROM Customer WHERE fNo = 1").toDouble(); }
  // The overwrite prompt's next answer.
  void answer(QPushButton* FrmOverWrite::*button) {
    user().queueWindow(
        [button](QWidget& prompt) { (static_cast<FrmOverWrite&>(prompt).*button)->click(); });
  }
};

// The Hijri calendar of the windows leaves the version-1 dates as they
// were, the 31st of a month included.
TEST_F(InvoiceImportTest, SalesArriveWithEveryColumnAndEmptyLineDescriptionsUnderTheHijriCalendar) {
  MainConnection().execute("UPDATE SysInfo SET CalndrType = 1");
  writeStockFile(salesRows());
  auto& window = openTab(kSalesTab);
  // The earliest invoice is shown first, with its returns listed.
  EXPECT_EQ(window.TxtSalesNo->text(), "2");
  EXPECT_EQ(window.TxtSalesDate->text(), "2003/02/01");
  EXPECT_EQ(window.CboRSalesNo->count(), 0);
  window.Cmd_Next->click();
  EXPECT_EQ(window.TxtSalesAmount->text(), "225.00");
  ASSERT_EQ(window.CboRSalesNo->count(), 2);
  window.CboRSalesNo->setCurrentIndex(1);
  EXPECT_EQ(window.TxtRSalesName->text() + window.TxtRSalesDate->text(),
            QStringLiteral("عميل 'أ'2003/03/06"));
  window.Cmd_First->click();

  window.CmdImportAll->click();
  EXPECT_EQ(user().messageTexts(), QStringList{});
  EXPECT_EQ(rowsLeft(window, QStringLiteral("ف_مبيعات")), 0);
  const qint64 credit = salesId(1);
  const QString customer = scalar("SELECT ID FROM Customer WHERE fNo = 1").toString();
  const QString cashier = window.CboCashier[0]->currentData().toString();
  const QString unit = window.CboUnit->currentData().toString();
  EXPECT_EQ(
      JoinedRows("SELECT InvoiceNo, UserID, fDate, fTime, CustomerID, CustomerName, Payment, "
                 "CashierAccID, BranchID, note, Total, Discount, Net, SaleManID FROM SaleInvoice "
                 "WHERE ID = ?",
                 {credit}),
      QStringLiteral("1|0|2003/03/31|12:00|%1||1|%2|1|تسليم 'عاجل'|250|25|225|-1")
          .arg(customer, cashier));
  EXPECT_EQ(JoinedRows("SELECT c.CategoryNo, s.Description, s.UnitID, s.Quantity, s.ActualQty, "
                       "s.Price, s.Discount, s.Total, s.SpecialOffer, s.ActualPrice, s.CostPrice, "
                       "s.Net, s.ExpireDate FROM SInvSData s JOIN Category c ON c.CategoryID = "
                       "s.CategoryID WHERE s.InvoiceID = ? ORDER BY s.ID",
                       {credit}),
            QString("0101||%1|4|4|25|10|90|0|22.5|3.25|100|;0102||%1|6|6|25|15|135|0|22.5|0|150|")
                .arg(unit));
  EXPECT_DOUBLE_EQ(debit(), 225);
  // The walk-in invoice: Null and 0 quantities are posted as 1.
  EXPECT_EQ(
      JoinedRows("SELECT h.CustomerID, h.CustomerName, h.fDate, l.Quantity FROM SaleInvoice h "
                 "JOIN SInvSData l ON l.InvoiceID = h.ID WHERE h.ID = ? ORDER BY l.ID",
                 {salesId(2)}),
      QStringLiteral("-1|عميل نقدي|2003/02/01|1;-1|عميل نقدي|2003/02/01|1"));
  // Both returns, each with its own number, linked to the invoice.
  EXPECT_EQ(JoinedRows("SELECT InvoiceNo, fDate, CustomerID, Payment, CashierAccID, BranchID, Net, "
                       "InvSaleID, SaleManID FROM RSaleInvoice ORDER BY InvoiceNo"),
            QString("7|2003/03/05|%1|1|%2|1|25|%3|-1;8|2003/03/06|%1|0|%2|1|25|%3|-1")
                .arg(customer, cashier)
                .arg(credit));
  EXPECT_EQ(JoinedRows("SELECT l.Description, l.UnitID, l.Quantity, l.ActualQty, l.Price, l.Total, "
                       "l.ActualPrice, l.CostPrice, l.Net FROM RSInvSData l JOIN RSaleInvoice r ON "
                       "r.ID = l.InvoiceID WHERE r.InvoiceNo = 7"),
            QString("|%1|1|1|25|25|25|3.25|25").arg(unit));

  // Leaving the window unloads the hidden invoice windows.
  EXPECT_TRUE(windows().exists<FrmInvSales>());
  window.Cmd_Exit->click();
  EXPECT_FALSE(windows().exists<FrmInvSales>());
}

TEST_F(InvoiceImportTest, OverwriteAnswersAreSeenInWhatChanged) {
  StockRows rows = salesRows();
  writeStockFile(rows);
  auto& window = openTab(kSalesTab);
  window.CmdImportAll->click();
  const qint64 first = salesId(1);
  const qint64 second = salesId(2);
  const auto returns = [] {
    return JoinedRows("SELECT ID, InvSaleID FROM RSaleInvoice ORDER BY InvoiceNo");
  };
  const QString firstReturns = returns();
  const auto note = [this](int number) {
    return scalar("SELECT note FROM SaleInvoice WHERE InvoiceNo = ?", {number}).toString();
  };
  rows.sales[0].note = QStringLiteral("تغير");
  rows.sales[1].note = QStringLiteral("تغير");
  rows.sales.push_back({.number = 3, .date = on(4, 1), .lines = {{.item = "0101"}}});
  writeStockFile(rows);

  // No to all keeps every existing invoice and return; the new one comes.
  answer(&FrmOverWrite::CmdNoAll);
  reopen(window, kSalesTab).CmdImportAll->click();
  EXPECT_EQ(user().shownWindows(), QStringList{"FrmOverWrite"});
  EXPECT_EQ(salesId(1), first);
  EXPECT_EQ(salesId(2), second);
  EXPECT_EQ(note(1), QStringLiteral("تسليم 'عاجل'"));
  EXPECT_EQ(returns(), firstReturns);
  EXPECT_NE(salesId(3), 0);
  EXPECT_EQ(rowsLeft(window, QStringLiteral("ف_مبيعات")), 0);

  // Yes to all posts every invoice and return again with the changed data.
  answer(&FrmOverWrite::CmdYesAll);
  reopen(window, kSalesTab).CmdImportAll->click();
  const qint64 replaced = salesId(1);
  EXPECT_NE(replaced, first);
  EXPECT_NE(salesId(2), second);
  EXPECT_EQ(note(1), QStringLiteral("تغير"));
  EXPECT_EQ(note(2), QStringLiteral("تغير"));
  EXPECT_NE(returns(), firstReturns);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice WHERE InvSaleID = ?", {replaced}), 2);
  EXPECT_EQ(JoinedRows("SELECT COUNT(*) FROM SaleInvoice UNION ALL SELECT COUNT(*) FROM SInvSData "
                       "UNION ALL SELECT COUNT(*) FROM RSInvSData"),
            "3;5;2");
  EXPECT_DOUBLE_EQ(debit(), 225);

  // No keeps an invoice as it is, and posts its returns again, once.
  rows.sales[0].note = QStringLiteral("مرة أخرى");
  writeStockFile(rows);
  for (int i = 0; i < 3; ++i) answer(&FrmOverWrite::CmdNo);
  reopen(window, kSalesTab).CmdImportAll->click();
  EXPECT_EQ(salesId(1), replaced);
  EXPECT_EQ(note(1), QStringLiteral("تغير"));
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice WHERE InvSaleID = ?", {replaced}), 2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSInvSData"), 2);
  EXPECT_DOUBLE_EQ(debit(), 225);
}

TEST_F(InvoiceImportTest, PurchasesAndTheirReturnsAlwaysSpreadTheVersion1Discount) {
  StockRows rows;
  rows.items = {{.number = "0101"}, {.number = "0102"}};
  rows.providers = {{.number = 3, .name = QStringLiteral("مورد")}};
  rows.purchases = {
      {.number = 5, .date = on(1, 5), .party = 3, .total = 0, .net = 0},
      {.number = 6,
       .date = on(1, 6),
       .party = 3,
       .total = 250,
       .discount = 25,
       .net = 225,
       .lines = {{.item = "0101", .quantity = 2.0, .price = 50},
                 {.item = "0102", .quantity = 6.0, .price = 25}}},
  };
  rows.purchaseReturns = {{.number = 3,
                           .date = on(2, 1),
                           .party = 3,
                           .total = 50,
                           .discount = 5,
                           .net = 45,
                           .lines = {{.item = "0101", .quantity = 0.0, .price = 50}},
                           .invoice = 5}};
  writeStockFile(rows);
  auto& window = openTab(kPurchasesTab);
  window.CmdImportAll->click();
  // The invoice without lines is refused by the posting window; its return
  // still comes, linked to no invoice.
  EXPECT_EQ(user().messageTexts(), QStringList{QStringLiteral("يجب إدخال صنف واحد على الأقل")});
  const QString provider = scalar("SELECT ID FROM Provider WHERE fNo = 3").toString();
  EXPECT_EQ(JoinedRows("SELECT InvoiceNo, UserID, fDate, ProviderID, ProviderName, Payment, "
                       "CashierAccID, BranchID, Total, Discount, Net FROM BuyInvoice"),
            QString("6|0|2003/01/06|%1||0|%2|1|250|25|225")
                .arg(provider, window.CboCashier[1]->currentData().toString()));
  EXPECT_EQ(
      JoinedRows("SELECT Description, Quantity, ActualQty, Price, Discount, Total, ActualPrice "
                 "FROM BInvData ORDER BY ID"),
      "|2|2|50|10|90|45;|6|6|25|15|135|22.5");
  EXPECT_EQ(
      JoinedRows("SELECT r.InvoiceNo, r.fDate, r.ProviderID, r.InvBuyID, r.Net, l.Quantity FROM "
                 "RBuyInvoice r JOIN RBInvData l ON l.InvoiceID = r.ID"),
      QString("3|2003/02/01|%1|0|45|1").arg(provider));
  EXPECT_EQ(rowsLeft(window, QStringLiteral("ف_مشتروات")), 0);
}

TEST_F(InvoiceImportTest, AFailedOrRefusedReplacementKeepsTheOldInvoiceAndItsRow) {
  StockRows rows = salesRows();
  rows.purchases = {{.number = 6, .date = on(1, 6), .party = 0, .lines = {{.item = "0101"}}}};
  writeStockFile(rows);
  auto& window = openTab(kSalesTab);
  window.CmdImportAll->click();
  reopen(window, kPurchasesTab).CmdImportAll->click();
  const qint64 sale = salesId(1);
  const QString bought =
      JoinedRows("SELECT h.ID, l.ID FROM BuyInvoice h JOIN BInvData l ON l.InvoiceID = h.ID");
  rows.sales[0].lines[1].price = 77;
  rows.purchases[0].lines.clear();
  writeStockFile(rows);
  MainConnection().execute(
      "CREATE TRIGGER refuse_77 BEFORE INSERT ON SInvSData WHEN NEW.Price = 77 "
      "BEGIN SELECT RAISE(ABORT, 'price refused'); END");

  answer(&FrmOverWrite::CmdYesAll);
  reopen(window, kSalesTab).CmdImportAll->click();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_TRUE(user().messageTexts()[0].startsWith("Err:"))
      << user().messageTexts()[0].toStdString();
  EXPECT_TRUE(user().messageTexts()[0].contains("price refused"));
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  EXPECT_EQ(salesId(1), sale);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SInvSData WHERE InvoiceID = ?", {sale}), 2);
  EXPECT_DOUBLE_EQ(debit(), 225);
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Sales'").toBool());
  EXPECT_EQ(rowsLeft(window, QStringLiteral("ف_مبيعات")), 1) << "the failed invoice stays";
  EXPECT_EQ(window.TxtSalesNo->text(), "1");

  answer(&FrmOverWrite::CmdYes);
  reopen(window, kPurchasesTab).CmdImportAll->click();
  EXPECT_EQ(user().messageTexts().mid(1),
            QStringList{QStringLiteral("يجب إدخال صنف واحد على الأقل")});
  EXPECT_EQ(JoinedRows("SELECT h.ID, l.ID FROM BuyInvoice h JOIN BInvData l ON l.InvoiceID = h.ID"),
            bought);
  EXPECT_EQ(rowsLeft(window, QStringLiteral("ف_مشتروات")), 1) << "the refused invoice stays";
}

TEST_F(InvoiceImportTest,
       NothingWithoutACashBoxAndAnotherBranchsDocumentsOfTheSameNumbersAreLeftAlone) {
  writeStockFile(salesRows());
  auto& window = openWindow(1, kSalesTab);
  window.CmdImport->click();
  EXPECT_EQ(user().messageTexts(), QStringList{QStringLiteral("يجب تحديد حساب الصندوق")});
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 0) << "nothing without a cash box";
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  window.CboCashier[0]->setCurrentIndex(0);
  window.CmdImportAll->click();
  const auto otherBranch = [] {
    return JoinedRows(
        "SELECT ID, InvoiceNo FROM SaleInvoice WHERE BranchID = 2 UNION ALL SELECT ID, "
        "InvSaleID FROM RSaleInvoice WHERE BranchID = 2 ORDER BY 1");
  };
  const QString before = otherBranch();
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(1));
  reopen(window, kSalesTab).CmdImportAll->click();
  EXPECT_EQ(user().shownWindows(), QStringList{}) << "nothing to ask";
  EXPECT_EQ(otherBranch(), before);
  EXPECT_EQ(
      count("SELECT COUNT(*) FROM RSaleInvoice WHERE BranchID = 1 AND InvSaleID = ?", {salesId(1)}),
      2);
}

// Renumbering runs by date through the invoices, then the returns; an
// import after it finds each document through the number it had.
TEST_F(InvoiceImportTest, ReimportingWithYesToAllAfterRenumberingChangesNothing) {
  StockRows rows = salesRows();
  rows.sales.push_back({.number = 3, .date = on(2, 1), .lines = {{.item = "0101"}}});
  writeStockFile(rows);
  auto& window = openTab(kSalesTab);
  window.CmdImportAll->click();
  window.txtStartInvNo[0]->setText("0");
  window.CmdStartInvNo[0]->click();
  const auto books = [] {
    return JoinedRows(
               "SELECT h.InvoiceNo, h.fDate, h.Net, h.note, COUNT(l.ID) FROM SaleInvoice h "
               "LEFT JOIN SInvSData l ON l.InvoiceID = h.ID GROUP BY h.ID, h.InvoiceNo, "
               "h.fDate, h.Net, h.note ORDER BY h.InvoiceNo") +
           " / " +
           JoinedRows(
               "SELECT r.InvoiceNo, r.Net, i.InvoiceNo FROM RSaleInvoice r LEFT JOIN "
               "SaleInvoice i ON i.ID = r.InvSaleID ORDER BY r.InvoiceNo");
  };
  const QString renumbered = books();
  EXPECT_EQ(renumbered,
            QStringLiteral("1|2003/02/01|20||2;2|2003/02/01|10||1;3|2003/03/31|225|تسليم 'عاجل'|2"
                           " / 4|25|3;5|25|3"))
      << "invoices 2 and 3 share a date and keep the order they were stored in";
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'RSales'").toBool());

  answer(&FrmOverWrite::CmdYesAll);
  reopen(window, kSalesTab).CmdImportAll->click();
  EXPECT_EQ(books(), renumbered);
  EXPECT_DOUBLE_EQ(debit(), 225);
}

class InvoiceBatchTest : public CatalogueTest {
 protected:
  std::pair<int, QString> runBatch(const QString& kind, const QStringList& options) {
    return runHost(QStringList{"--batch", "catalogue", "--app-path", appPath(), "--settings",
                               "Batch", "--db", version2Path(), "--v1-folder", folder(),
                               "--old-branch", "1", "--branch", "1", "--kind", kind} +
                   options);
  }
};

TEST_F(InvoiceBatchTest, TheCashierTheRenumberingAndTheRefusalsAreInTheSummary) {
  StockRows rows = salesRows();
  rows.purchases = {{.number = 5, .date = on(1, 5), .party = 0}};
  writeStockFile(rows);
  auto [refused, why] = runBatch("sales", {"--cashier", "999"});
  EXPECT_EQ(refused, 1) << why.toStdString();
  EXPECT_TRUE(why.contains("ended: failed: no cashier 999 in version-2 branch 1"))
      << why.toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 0);

  auto [code, output] = runBatch("sales", {"--cashier", "120102", "--renumber-from", "500"});
  EXPECT_EQ(code, 0) << output.toStdString();
  EXPECT_TRUE(output.contains("summary: imported 2, overwritten 0, skipped 0, refused 0"))
      << output.toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice s JOIN CardAcc a ON a.ID = s.CashierAccID "
                  "WHERE a.AccNo = '120102' AND s.InvoiceNo IN (500, 501)"),
            2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice WHERE InvoiceNo IN (502, 503)"), 2);

  const auto [done, summary] = runBatch("purchases", {"--cashier", "120102"});
  EXPECT_TRUE(summary.contains(QStringLiteral("refused: 5: يجب إدخال صنف واحد على الأقل")))
      << summary.toStdString();
}

}  // namespace
}  // namespace qalvoro::test
