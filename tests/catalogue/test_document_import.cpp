// Invoices, returns and vouchers through the hidden posting windows.

#include <tuple>

#include "host/forms/Controls.h"
#include "posting/PostingWindows.h"
#include "tests/catalogue/CatalogueTest.h"
#include "tests/posting/PostingTest.h"

namespace qalvoro::test {
namespace {

// Two sales invoices, the first on credit with two returns.
StockRows salesRows() {
  StockRows rows;
  rows.items = {{.number = "0101"}, {.number = "0102", .description = QStringLiteral("صنف ب")}};
  rows.customers = {{.number = 1, .name = QStringLiteral("عميل 'أ'")}};
  rows.sales = {
      {.number = 1, .date = on(3, 31), .cash = false, .total = 250, .discount = 25, .net = 225},
      {.number = 2, .date = on(2, 1), .party = 0, .total = 20, .net = 20}};
  rows.sales[0].partyName = QStringLiteral("عميل 'أ'");
  rows.sales[0].note = QStringLiteral("تسليم 'عاجل'");
  rows.sales[0].lines = {{.item = "0101", .quantity = 4.0, .price = 25},
                         {.item = "0102", .quantity = 6.0, .price = 25}};
  rows.sales[1].partyName = QStringLiteral("عميل نقدي");
  rows.sales[1].lines = {{.item = "0101", .quantity = QVariant(), .price = 12},
                         {.item = "0102", .quantity = 0.0, .price = 8}};
  rows.costs = {{.invoice = 1, .item = "0101", .cost = 3.25}};
  rows.salesReturns = {
      {.number = 7, .date = on(3, 5), .cash = false, .total = 25, .net = 25, .invoice = 1},
      {.number = 8, .date = on(3, 6), .total = 25, .net = 25, .invoice = 1}};
  rows.salesReturns[0].lines = {{.item = "0101", .quantity = QVariant(), .price = 25}};
  rows.salesReturns[1].lines = {{.item = "0102", .quantity = 1.0, .price = 25}};
  return rows;
}

class InvoiceImportTest : public CatalogueTest {
 protected:
  // The sales or purchase tab with its first cash box.
  FrmCat_Restore& openTab(int tab) {
    auto& window = openWindow(1, tab);
    window.CboCashier[tab - kSalesTab]->setCurrentIndex(0);
    return window;
  }
  FrmCat_Restore& reopen(FrmCat_Restore& window, int tab) {
    CatalogueTest::reopen(window, tab).CboCashier[tab - kSalesTab]->setCurrentIndex(0);
    return window;
  }
  qint64 salesId(int number) {
    return scalar("SELECT ID FROM SaleInvoice WHERE BranchID = 1 AND InvoiceNo = ?", {number})
        .toLongLong();
  }
  double debit() {
    return scalar("SELECT Debit FROM Customer WHERE BranchID = 1 AND fNo = 1").toDouble();
  }
};

using InvoiceEnginesTest = OnEngines<InvoiceImportTest>;

// Under the Hijri calendar the version-1 dates stay, the 31st included.
TEST_P(InvoiceEnginesTest,
       SalesArriveWithEveryColumnAndEmptyLineDescriptionsUnderTheHijriCalendar) {
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
  EXPECT_EQ(rowsLeft(QStringLiteral("ف_مبيعات")), 0);
  const qint64 credit = salesId(1);
  const QString customer = scalar("SELECT ID FROM Customer WHERE fNo = 1").toString();
  const QString cashier = window.CboCashier[0]->currentData().toString();
  const QString unit = window.CboUnit->currentData().toString();
  EXPECT_EQ(JoinedRows("SELECT InvoiceNo, UserID, fDate, fTime, CustomerID, CustomerName, Payment, "
                       "CashierAccID, BranchID, note, Total, Discount, Net, SaleManID, SMinvNo, "
                       "SMinvDate, DueDate FROM SaleInvoice WHERE ID = ?",
                       {credit}),
            QStringLiteral("1|0|2003/03/31|12:00|%1||1|%2|1|تسليم 'عاجل'|250|25|225|-1|||")
                .arg(customer, cashier))
      << "a registered customer has no name";
  EXPECT_EQ(JoinedRows("SELECT c.CategoryNo, s.Description, s.UnitID, s.Quantity, s.ActualQty, "
                       "s.Price, s.Discount, s.Total, s.HidePrice, s.SpecialOffer, s.ActualPrice, "
                       "s.CostPrice, s.Net, s.ExpireDate FROM SInvSData s JOIN Category c ON "
                       "c.CategoryID = s.CategoryID WHERE s.InvoiceID = ? ORDER BY s.ID",
                       {credit}),
            QString("0101||%1|4|4|25|10|90|0|0|22.5|3.25|100|;"
                    "0102||%1|6|6|25|15|135|0|0|22.5|0|150|")
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

INSTANTIATE_TEST_SUITE_P(Engines, InvoiceEnginesTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

TEST_F(InvoiceImportTest, OverwriteAnswersAreSeenInWhatChanged) {
  StockRows rows = salesRows();
  rows.purchases = {{.number = 6, .date = on(1, 6), .party = 0, .lines = {{.item = "0101"}}}};
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
  EXPECT_EQ(rowsLeft(QStringLiteral("ف_مبيعات")), 0);

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

  // A failed or refused replacement keeps the old invoice and ends the run.
  reopen(window, kPurchasesTab).CmdImportAll->click();
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
  EXPECT_TRUE(user().messageTexts()[0].startsWith("Err:") &&
              user().messageTexts()[0].contains("price refused"))
      << user().messageTexts()[0].toStdString();
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  EXPECT_EQ(salesId(1), replaced);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SInvSData WHERE InvoiceID = ?", {replaced}), 2);
  EXPECT_DOUBLE_EQ(debit(), 225);
  EXPECT_EQ(locksHeld(), 0);
  EXPECT_EQ(rowsLeft(QStringLiteral("ف_مبيعات")), 2) << "the failed invoice stays";
  EXPECT_EQ(window.TxtSalesNo->text(), "1");

  answer(&FrmOverWrite::CmdYes);
  reopen(window, kPurchasesTab).CmdImportAll->click();
  EXPECT_EQ(user().messageTexts().mid(1),
            QStringList{QStringLiteral("يجب إدخال صنف واحد على الأقل")});
  EXPECT_EQ(JoinedRows("SELECT h.ID, l.ID FROM BuyInvoice h JOIN BInvData l ON l.InvoiceID = h.ID"),
            bought);
  EXPECT_EQ(rowsLeft(QStringLiteral("ف_مشتروات")), 1) << "the refused invoice stays";
}

TEST_F(InvoiceImportTest, PurchasesAndTheirReturnsAlwaysSpreadTheVersion1Discount) {
  StockRows rows;
  rows.items = {{.number = "0101"}, {.number = "0102"}};
  rows.providers = {{.number = 3, .name = QStringLiteral("مورد")}};
  rows.purchases = {
      {.number = 5, .date = on(1, 5), .party = 3, .total = 0, .net = 0},
      {.number = 6, .date = on(1, 6), .party = 3, .total = 250, .discount = 25, .net = 225}};
  rows.purchases[1].lines = {{.item = "0101", .quantity = 2.0, .price = 50},
                             {.item = "0102", .quantity = 6.0, .price = 25}};
  rows.purchaseReturns = {
      {.number = 3, .date = on(2, 1), .party = 3, .total = 50, .discount = 5, .net = 45}};
  rows.purchaseReturns[0].lines = {{.item = "0101", .quantity = 0.0, .price = 50}};
  rows.purchaseReturns[0].invoice = 5;
  writeStockFile(rows);
  auto& window = openTab(kPurchasesTab);
  window.CmdImportAll->click();
  // The invoice without lines is refused; its return comes, linked to none.
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
  EXPECT_EQ(rowsLeft(QStringLiteral("ف_مشتروات")), 0);
}

// Nothing without a cash box; another branch's documents stay; renumbered
// documents (by date, invoices first) are found again by their old numbers.
TEST_F(InvoiceImportTest, AnotherBranchKeepsItsDocumentsAndRenumberedOnesAreFoundAgain) {
  StockRows rows = salesRows();
  rows.sales.push_back({.number = 3, .date = on(2, 1), .lines = {{.item = "0101"}}});
  writeStockFile(rows);
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
        "SELECT ID, InvoiceNo, Net FROM SaleInvoice WHERE BranchID = 2 UNION ALL SELECT ID, "
        "InvSaleID, Net FROM RSaleInvoice WHERE BranchID = 2 ORDER BY 1");
  };
  const QString before = otherBranch();
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(1));
  reopen(window, kSalesTab).CmdImportAll->click();
  EXPECT_EQ(user().shownWindows(), QStringList{}) << "nothing to ask";
  EXPECT_EQ(
      count("SELECT COUNT(*) FROM RSaleInvoice WHERE BranchID = 1 AND InvSaleID = ?", {salesId(1)}),
      2);

  window.txtStartInvNo[0]->setText("0");
  window.CmdStartInvNo[0]->click();
  EXPECT_EQ(otherBranch(), before);
  const auto books = [] {
    return JoinedRows(
               "SELECT h.InvoiceNo, h.fDate, h.Net, h.note, COUNT(l.ID) FROM SaleInvoice h "
               "LEFT JOIN SInvSData l ON l.InvoiceID = h.ID WHERE h.BranchID = 1 GROUP BY h.ID, "
               "h.InvoiceNo, h.fDate, h.Net, h.note ORDER BY h.InvoiceNo") +
           " / " +
           JoinedRows(
               "SELECT r.InvoiceNo, r.Net, i.InvoiceNo FROM RSaleInvoice r LEFT JOIN "
               "SaleInvoice i ON i.ID = r.InvSaleID WHERE r.BranchID = 1 ORDER BY r.InvoiceNo");
  };
  const QString renumbered = books();
  EXPECT_EQ(renumbered,
            QStringLiteral("1|2003/02/01|20||2;2|2003/02/01|10||1;3|2003/03/31|225|تسليم 'عاجل'|2"
                           " / 4|25|3;5|25|3"))
      << "invoices 2 and 3 share a date and keep the order they were stored in";
  EXPECT_EQ(locksHeld(), 0);

  answer(&FrmOverWrite::CmdYesAll);
  reopen(window, kSalesTab).CmdImportAll->click();
  EXPECT_EQ(books(), renumbered);
  EXPECT_DOUBLE_EQ(debit(), 225);
  EXPECT_EQ(otherBranch(), before);
}

class VoucherImportTest : public CatalogueTest {
 protected:
  // The voucher tab with the first cash box and the demo parent accounts.
  FrmCat_Restore& openVouchers(const StockRows& rows) {
    writeStockFile(rows);
    auto& window = openWindow(1, kVouchersTab);
    window.CboCashier[2]->setCurrentIndex(0);
    window.txtAccCustomer[0]->setText("1203");
    window.txtAccProvider[0]->setText("21");
    return window;
  }
  // A voucher stored before the run, with its detail row.
  void storeVoucher(const QString& kind, int branch, int number, double amount) {
    MainConnection().execute(
        "INSERT INTO " + kind + " (BranchID, " + kind + "No, Amount) VALUES (?, ?, ?)",
        {branch, number, amount});
    const QVariant id = scalar("SELECT MAX(ID) FROM " + kind);
    MainConnection().execute(
        "INSERT INTO " + kind + "Details (" + kind + "ID, Amount) VALUES (?, ?)", {id, amount});
  }
};

using VoucherEnginesTest = OnEngines<VoucherImportTest>;

// Under the Hijri calendar the version-1 dates stay, the 31st included.
TEST_P(VoucherEnginesTest, CashAndChequeVouchersArePostedWithThePartiesAccountsUnderHijriDates) {
  MainConnection().execute("UPDATE SysInfo SET CalndrType = 1");
  StockRows rows;
  const QString customer = QStringLiteral("مؤسسة 'النخبة'");
  rows.customers = {{.number = 1, .name = customer}};
  rows.providers = {{.number = 2, .name = QStringLiteral("شركة التوريد")}};
  rows.vouchers = {
      {.number = 10, .partyKind = 1, .party = 2, .amount = 250.5, .chequeNo = "CHQ-1"},
      {.number = 11, .kind = 2, .name = customer, .amount = 500, .cheque = 1},
      {.number = 12, .date = on(3, 31), .kind = 1, .name = customer, .amount = 75, .cheque = 1}};
  rows.vouchers[1].chequeNo = "CHQ-'7'";
  rows.vouchers[0].name = QStringLiteral("شركة التوريد");
  rows.vouchers[0].chequeDate = on(1, 31);
  rows.vouchers[0].against = QStringLiteral("دفعة 'مقدمة'");
  rows.vouchers[2].chequeNo = "CHQ-8";
  rows.vouchers[2].chequeDate = on(2, 20);
  auto& window = openVouchers(rows);
  EXPECT_EQ(QStringList({window.lblSndType->text(), window.txtSndDate->text(),
                         window.txtSndType->text(), tagOf(*window.txtSndType),
                         window.txtSndMoney->text(), window.txtSndDetail->text()}),
            QStringList({QStringLiteral("سند صرف"), "2003/03/01", QStringLiteral("مورد"), "0",
                         "250.50", QStringLiteral("دفعة 'مقدمة'")}));
  window.CmdImportAll->click();
  EXPECT_EQ(user().messageTexts(), QStringList());
  EXPECT_EQ(rowsLeft("السندات"), 0);

  const QString cash = window.CboCashier[2]->currentData().toString();
  const QString provider = scalar("SELECT AccNoID FROM Provider WHERE fNo = 2").toString();
  EXPECT_EQ(scalar("SELECT AccNo FROM CardAcc WHERE ID = ?", {provider}).toString(), "21001");
  EXPECT_EQ(JoinedRows("SELECT h.PaymentNo, h.fDate, h.AccIDFrom, h.Amount, h.fCash, h.fCheque, "
                       "h.ftype, h.BillNo, h.BillDate, h.Details, d.To_AccNoID, d.fPayer, "
                       "d.Details, d.BillNo, d.BillDate, d.Amount FROM Payment h JOIN "
                       "PaymentDetails d ON d.PaymentID = h.ID"),
            QStringLiteral("10|2003/03/01|%1|250.5|250.5|0|0|||دفعة 'مقدمة'|%2|شركة التوريد|"
                           "دفعة 'مقدمة'|CHQ-1|2003/01/31|250.5")
                .arg(cash, provider))
      << "a cash voucher's header has no cheque; its detail row keeps the cheque boxes";

  // Two receipts from a customer without account: one account, made once.
  const QString account = scalar("SELECT AccNoID FROM Customer WHERE fNo = 1").toString();
  EXPECT_EQ(
      JoinedRows("SELECT AccNameA, ffather FROM CardAcc WHERE BranchID = 1 AND ID = ?", {account}),
      customer + "|1203");
  EXPECT_EQ(
      JoinedRows("SELECT r.ReceiptNo, r.UserID, r.BranchID, r.fDate, r.fTime, r.AccIDTo, "
                 "r.Amount, r.ftype, r.fCheque, r.fCash, r.SaleManID, r.SMinvNo, r.SMinvDate, "
                 "r.BillNo, r.BillDate, r.Details, d.BillDate, d.fType, d.From_AccNoID, "
                 "d.fPayer, d.Details, d.BillNo, d.BankID, d.Amount FROM Receipt r JOIN "
                 "ReceiptDetails d ON d.ReceiptID = r.ID ORDER BY r.ReceiptNo"),
      QStringLiteral("11|0|1|2003/03/01|12:00|%1|500|1|500|0|0|0||CHQ-'7'||سداد||1|%2|%3|"
                     "سداد|CHQ-'7'|-1|500;12|0|1|2003/03/31|12:00|%1|75|1|75|0|0|0||CHQ-8|"
                     "2003/02/20|سداد|2003/02/20|1|%2|%3|سداد|CHQ-8|-1|75")
          .arg(cash, account, customer));
  EXPECT_EQ(locksHeld(), 0);
}

// No and No to all keep, Yes to all replaces every voucher of the number.
TEST_P(VoucherEnginesTest, TheOverwriteAnswersKeepOrReplaceEveryVoucherOfTheNumber) {
  for (const auto& [kind, branch, number, amount] : {std::tuple{"Payment", 1, 1, 1},
                                                     {"Payment", 1, 2, 2},
                                                     {"Payment", 1, 9, 9},
                                                     {"Payment", 1, 5, 4},
                                                     {"Receipt", 1, 5, 1},
                                                     {"Receipt", 1, 5, 2},
                                                     {"Receipt", 2, 5, 3},
                                                     {"Receipt", 1, 6, 6}}) {
    storeVoucher(kind, branch, number, amount);
  }
  const QString kept = JoinedRows("SELECT ID, PaymentNo, Amount FROM Payment ORDER BY ID");
  StockRows rows;
  for (const int number : {1, 3, 2, 4, 9})
    rows.vouchers.push_back({.number = number, .amount = number * 10.0});
  for (const int number : {5, 6, 7})
    rows.vouchers.push_back({.number = number, .kind = 1, .amount = number * 11.0});
  auto& window = openVouchers(rows);
  answer(&FrmOverWrite::CmdNo);
  answer(&FrmOverWrite::CmdNoAll);
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows(), (QStringList{"FrmOverWrite", "FrmOverWrite"}));
  EXPECT_EQ(JoinedRows("SELECT ID, PaymentNo, Amount FROM Payment WHERE PaymentNo <> 3 AND "
                       "PaymentNo <> 4 ORDER BY ID"),
            kept);
  EXPECT_EQ(JoinedRows("SELECT PaymentNo, Amount FROM Payment WHERE PaymentNo IN (3, 4) ORDER BY "
                       "PaymentNo"),
            "3|30;4|40");
  EXPECT_EQ(JoinedRows("SELECT BranchID, ReceiptNo, Amount FROM Receipt ORDER BY ID"),
            "1|5|1;1|5|2;2|5|3;1|6|6;1|7|77");
  EXPECT_EQ(rowsLeft("السندات"), 0) << "skipped rows leave the list too";

  answer(&FrmOverWrite::CmdYesAll);
  reopen(window, kVouchersTab).CmdImportAll->click();
  EXPECT_EQ(user().shownWindows().size(), 3) << "asked once";
  EXPECT_EQ(
      windows().get<FrmOverWrite>().lblOld->text() + windows().get<FrmOverWrite>().lblNew->text(),
      QStringLiteral("رقم السند:1رقم السند:1"));
  EXPECT_EQ(JoinedRows("SELECT r.BranchID, r.ReceiptNo, d.Amount FROM Receipt r JOIN "
                       "ReceiptDetails d ON d.ReceiptID = r.ID ORDER BY r.BranchID, r.ReceiptNo"),
            "1|5|55;1|6|66;1|7|77;2|5|3");
  EXPECT_EQ(JoinedRows("SELECT COUNT(*) FROM ReceiptDetails d WHERE NOT EXISTS (SELECT 1 FROM "
                       "Receipt h WHERE h.ID = d.ReceiptID) UNION ALL SELECT COUNT(*) FROM "
                       "PaymentDetails d WHERE NOT EXISTS (SELECT 1 FROM Payment h WHERE h.ID = "
                       "d.PaymentID)"),
            "0;0")
      << "no detail row of a replaced voucher is left";
  EXPECT_EQ(JoinedRows("SELECT PaymentNo, Amount FROM Payment ORDER BY PaymentNo"),
            "1|10;2|20;3|30;4|40;5|4;9|90")
      << "a payment of the same number is another voucher";
}

// The kind is named in the window's language.
TEST_P(VoucherEnginesTest, AutomaticNumbersNeverAskAndNeverReplace) {
  setSetting("Language", "E");
  storeVoucher("Receipt", 1, 5, 1);
  storeVoucher("Receipt", 2, 9, 1);
  StockRows rows;
  rows.vouchers = {{.number = 5, .kind = 0}, {.number = 5, .kind = 2}, {.number = 5, .kind = 3}};
  auto& window = openVouchers(rows);
  EXPECT_EQ(window.lblSndType->text(), "Payment Voucher");
  window.Cmd_Next->click();
  EXPECT_EQ(window.lblSndType->text() + tagOf(*window.txtSndType), "Receipt Voucher2");
  window.Cmd_First->click();
  window.ChkAutoSND->setChecked(true);
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows(), QStringList());
  EXPECT_EQ(JoinedRows("SELECT BranchID, ReceiptNo, Amount FROM Receipt ORDER BY BranchID, "
                       "ReceiptNo"),
            "1|5|1;1|6|100;1|7|100;2|9|1");
  EXPECT_EQ(scalar("SELECT PaymentNo FROM Payment").toInt(), 1);
  EXPECT_EQ(rowsLeft("السندات"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, VoucherEnginesTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

TEST_F(VoucherImportTest, TheCashBoxAndBothParentAccountsAreCheckedFirst) {
  StockRows rows;
  rows.vouchers = {{.number = 1}, {.number = 2}};
  auto& window = openVouchers(rows);
  window.CboCashier[2]->setCurrentIndex(-1);
  window.CmdImportAll->click();
  EXPECT_EQ(user().messageTexts(), QStringList{QStringLiteral("يجب تحديد حساب الصندوق")});
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);

  window.CboCashier[2]->setCurrentIndex(1);
  window.txtAccProvider[0]->setText("9");
  window.CmdImport->click();
  window.txtAccProvider[0]->setText("21");
  window.txtAccCustomer[0]->setText("");
  window.CmdImport->click();
  EXPECT_EQ(user().messageTexts().mid(1),
            (QStringList{QStringLiteral("يجب تحديد رقم حساب الموردين"),
                         QStringLiteral("يجب تحديد رقم حساب العملاء")}));
  EXPECT_EQ(user().messages()[1].style, 64 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Payment"), 0);
  EXPECT_EQ(rowsLeft("السندات"), 2);

  // Each import checks again; accounts land in the target branch.
  window.txtAccCustomer[0]->setText("1203");
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  window.CboCashier[2]->setCurrentIndex(0);
  window.CmdImport->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Payment WHERE BranchID = 2"), 1);
  EXPECT_EQ(scalar("SELECT a.BranchID FROM Customer c JOIN CardAcc a ON a.ID = c.AccNoID").toInt(),
            2);
  EXPECT_EQ(rowsLeft("السندات"), 1);
}

TEST_F(VoucherImportTest, AFailedSaveKeepsTheVoucherItWouldReplaceAndEndsTheRunWithTheRow) {
  storeVoucher("Receipt", 1, 2, 2);
  const QString kept = JoinedRows(
      "SELECT r.ID, d.ID, d.Amount FROM Receipt r JOIN ReceiptDetails "
      "d ON d.ReceiptID = r.ID");
  StockRows rows;
  rows.vouchers = {{.number = 1, .kind = 1}, {.number = 2, .kind = 1}, {.number = 3, .kind = 1}};
  MainConnection().execute(
      "CREATE TRIGGER refuse BEFORE INSERT ON ReceiptDetails WHEN NEW.Amount = 200 "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  rows.vouchers[1].amount = 200;
  auto& window = openVouchers(rows);
  answer(&FrmOverWrite::CmdYesAll);
  window.CmdImportAll->click();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_TRUE(user().messages()[0].text.startsWith("Err:") &&
              user().messages()[0].text.contains("\nrefused"))
      << user().messages()[0].text.toStdString();
  EXPECT_EQ(JoinedRows("SELECT r.ID, d.ID, d.Amount FROM Receipt r JOIN ReceiptDetails d ON "
                       "d.ReceiptID = r.ID WHERE r.ReceiptNo = 2"),
            kept);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt"), 2) << "no header without its detail row";
  EXPECT_EQ(window.txtSndNo->text(), "2");
  EXPECT_EQ(rowsLeft("السندات"), 2);
  EXPECT_EQ(locksHeld(), 0);
}

}  // namespace
}  // namespace qalvoro::test
