// Saving invoices, returns and vouchers through the posting windows, on both engines.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "host/forms/FlexGrid.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "tests/posting/PostingTest.h"

namespace qalvoro::test {
namespace {

class PostingSaveTest : public PostingTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine engine() const override { return GetParam(); }

  // A credit sales invoice of two lines, 250 less ten percent.
  FrmInvSales& creditSale(const QString& number) {
    auto& window = newDocument<FrmInvSales>();
    window.txtfNo->setText(number);
    window.setCustomerID(customer);
    window.txtPartyName->setText("ignored");
    window.CboPayment->setCurrentIndex(1);
    window.setCashierAccID(12);
    window.txtNote->setText("n'1");
    addLine(window, itemA, "2", "50", QStringLiteral("قلم#it's blue"));
    addLine(window, itemB, "6", "25", QStringLiteral("كتاب"));
    window.txtDiscount2->setText("10%");
    window.txtDiscount2_KeyPress(13);
    return window;
  }
  // A new voucher typed in as the import fills it.
  template <class Window>
  Window& voucher(const QString& number, const QString& amount, int type) {
    auto& window = newDocument<Window>();
    window.txtDate1->setText("2026/02/03");
    window.setCashierAccID(5);
    window.txtfNo->setText(number);
    window.setPartyAccID(8);
    window.txtName->setText(QStringLiteral("عميل 'أ'"));
    window.txtMoney1->setText(amount);
    window.CboType->setCurrentIndex(type);
    window.txtBillDate->setText("2026/04/05");
    window.txtBillNo->setText("77'A");
    window.txtDetails->setText(QStringLiteral("ثمن 'بضاعة'"));
    return window;
  }
  double debit() {
    return scalar("SELECT Debit FROM Customer WHERE ID = ?", {customer}).toDouble();
  }
};

// Every column of a sale: in the import of sales on both engines.
TEST_P(PostingSaveTest, OnlyCreditSalesRaiseTheDebitAndQuantitiesAreWholeNumbers) {
  auto& window = creditSale("15");
  window.txtDate1->setText("2026/02/03");
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed()) << window.saveFailure()->description().toStdString();
  const qint64 id = window.savedId();
  EXPECT_EQ(tagOf(window), QString::number(id));
  EXPECT_EQ(
      JoinedRows("SELECT Description, CostPrice FROM SInvSData WHERE InvoiceID = ? ORDER BY ID",
                 {id}),
      "it's blue|30;|30");
  EXPECT_EQ(debit(), 325);
  EXPECT_FALSE(lockHeld("Sales"));
  // Cash and walk-in sales leave the balances alone; a walk-in keeps its name.
  // Quantities are stored as integers, halves to even; a line without an
  // item, and the entry row, are not written.
  auto& cash = newDocument<FrmInvSales>();
  cash.txtfNo->setText("3");
  cash.txtPartyName->setText(QStringLiteral("زبون 'عابر'"));
  addLine(cash, itemA, "2.5", "10");
  addLine(cash, itemB, "3.5", "10");
  cash.Grid1->setTextMatrix(cash.Grid1->rows() - 1, 11, QString::number(itemA));
  cash.Grid1->setTextMatrix(cash.Grid1->rows() - 1, 4, "9");
  addLine(cash, 0, "5", "10");
  cash.Cmd_Save->click();
  EXPECT_EQ(JoinedRows("SELECT Quantity, ActualQty, Net, Total FROM SInvSData WHERE InvoiceID = ? "
                       "ORDER BY ID",
                       {cash.savedId()}),
            "2|2|25|25;4|4|35|35");
  EXPECT_EQ(scalar("SELECT CustomerName FROM SaleInvoice WHERE InvoiceNo = 3").toString(),
            QStringLiteral("زبون 'عابر'"));
  EXPECT_EQ(debit(), 325);
}

TEST_P(PostingSaveTest, PurchaseChecksAndStoresEveryColumn) {
  auto& window = newDocument<FrmInvBuy>();
  window.txtfNo->setText("21");
  window.Cmd_Save->click();
  EXPECT_EQ(window.refusal(), QStringLiteral("يجب إدخال صنف واحد على الأقل"));
  addLine(window, itemA, "4", "7.5", QStringLiteral("قلم#أزرق"));
  window.Grid1->setTextMatrix(1, 16, "2027/01/31");
  window.Grid1->setRow(1);
  window.txtDate1->setText("");
  window.Cmd_Save->click();
  EXPECT_EQ(window.refusal(), QStringLiteral("أدخل التاريخ"));
  ASSERT_EQ(user().messages().size(), 2u);
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  EXPECT_EQ(user().messages()[1].style, 64 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM BuyInvoice"), 0);
  EXPECT_FALSE(lockHeld("BuyInvoice"));

  window.txtDate1->setText("2026/03/04");
  window.setProviderID(provider);
  window.CboPayment->setCurrentIndex(1);
  window.setCashierAccID(7);
  window.txtNote->setText("n");
  window.txtDiscount2->setText("1.5");
  window.txtDiscount2_KeyPress(13);
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed());
  EXPECT_TRUE(window.refusal().isEmpty());
  EXPECT_TRUE(tagOf(window).isEmpty()) << "the purchase save leaves the tag";
  EXPECT_EQ(JoinedRows("SELECT InvoiceNo, UserID, fDate, fTime, ProviderID, ProviderName, Payment, "
                       "CashierAccID, BranchID, note, Total, Net, Discount, ProvInvNo, UpdatePrice "
                       "FROM BuyInvoice"),
            QString("21|0|2026/03/04|12:00|%1||1|7|1|n|30|28.5|1.5|0|0").arg(provider));
  EXPECT_EQ(JoinedRows("SELECT CategoryID, Description, UnitID, Quantity, ActualQty, BonusOffer, "
                       "Price, Discount, Total, ActualPrice, ExpireDate FROM BInvData"),
            QString("%1|أزرق|1|4|4|0|7.5|1.5|28.5|7.13|2027/01/31").arg(itemA));
  EXPECT_EQ(debit(), 100) << "purchases touch no balance";
}

TEST_P(PostingSaveTest, ReturnsDropLinesOfHalfAUnitOrLessWhileTheNetKeepsThem) {
  auto& window = newDocument<FrmInvSales_R>();
  window.txtfNo->setText("5");
  window.setCustomerID(customer);
  window.setCashierAccID(9);
  window.CboPayment->setCurrentIndex(1);
  setTag(*window.txtLinkNo, "77");
  addLine(window, itemA, "2", "50");
  addLine(window, itemB, "0.5", "20");
  addLine(window, itemB, "-1", "25");
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed());
  EXPECT_EQ(window.mode(), "") << "the next return needs the add button";
  EXPECT_EQ(
      JoinedRows("SELECT InvoiceNo, UserID, CustomerID, Payment, CashierAccID, BranchID, Net, "
                 "InvSaleID, SaleManID, SMInvNo, SMInvDate FROM RSaleInvoice"),
      QString("5|0|%1|1|9|1|85|77|-1||").arg(customer));
  EXPECT_EQ(JoinedRows("SELECT CategoryID, UnitID, Quantity, ActualQty, Price, Total, HidePrice, "
                       "SpecialOffer, ActualPrice, CostPrice, Net, ExpireDate FROM RSInvSData"),
            QString("%1|1|2|2|50|100|0|0|50|30|100|").arg(itemA))
      << "one line: 0.5 and -1 are not written";

  auto& purchase = newDocument<FrmInvBuy_R>();
  purchase.txtfNo->setText("6");
  purchase.setProviderID(provider);
  setTag(*purchase.txtLinkNo, "0");
  addLine(purchase, itemB, "3", "20", QStringLiteral("كتاب#ب"));
  purchase.Cmd_Save->click();
  EXPECT_EQ(JoinedRows("SELECT InvoiceNo, ProviderID, InvBuyID, Net FROM RBuyInvoice"),
            QString("6|%1|0|60").arg(provider));
  EXPECT_EQ(
      JoinedRows("SELECT CategoryID, Description, UnitID, Quantity, Price, Total, ActualPrice, "
                 "ExpireDate FROM RBInvData"),
      QString("%1|ب|1|3|20|60|20|").arg(itemB));
  EXPECT_EQ(debit(), 100);
}

// Each window waits for a lock another writer holds and gives it back; a
// voucher's lock is held only while its header is written.
TEST_P(PostingSaveTest, EachWindowTakesAndGivesBackItsLock) {
  const auto save = [this](PostingFrame& window, const QString& lock) {
    SCOPED_TRACE(lock.toStdString());
    MainConnection().execute("UPDATE LockTables SET fLocked = TRUE WHERE TableName = ?", {lock});
    const auto before = user().monotonicNow();
    window.Cmd_Save->click();
    EXPECT_FALSE(window.lastSaveFailed());
    EXPECT_GE(user().monotonicNow() - before, std::chrono::seconds(15));
    EXPECT_FALSE(lockHeld(lock));
  };
  const auto invoice = [this](InvoiceWindow& window) -> InvoiceWindow& {
    window.txtfNo->setText("1");
    addLine(window, itemA, "1", "10");
    return window;
  };
  save(invoice(newDocument<FrmInvSales>()), "Sales");
  save(invoice(newDocument<FrmInvBuy>()), "BuyInvoice");
  save(invoice(newDocument<FrmInvSales_R>()), "RSales");
  save(invoice(newDocument<FrmInvBuy_R>()), "RBuyInvoice");
  save(voucher<FrmReceipt>("4", "1", 0), "Receipt");
  if (GetParam() != Engine::SQLite) return;
  Connection& db = MainConnection();
  db.execute("CREATE TABLE LockSeen (TableName TEXT, fLocked INTEGER)");
  for (const char* table : {"Payment", "PaymentDetails"}) {
    db.execute(QStringLiteral("CREATE TRIGGER seen_%1 AFTER INSERT ON %1 BEGIN "
                              "INSERT INTO LockSeen SELECT '%1', fLocked FROM LockTables "
                              "WHERE TableName = 'Payment'; END")
                   .arg(table));
  }
  voucher<FrmPayment>("5", "1", 0).Cmd_Save->click();
  EXPECT_EQ(JoinedRows("SELECT TableName, fLocked FROM LockSeen ORDER BY TableName"),
            "Payment|1;PaymentDetails|0");
}

// A replacing save removes the old document, writes the new one and hands over what named the
// old one, all or nothing: its last statement failing leaves the old document as it was.
TEST_P(PostingSaveTest, AReplacementIsOneTransactionWithTheRemovalOfTheOldDocument) {
  Connection& db = MainConnection();
  creditSale("40").Cmd_Save->click();
  const qint64 first = windows().get<FrmInvSales>().savedId();
  creditSale("41").Cmd_Save->click();
  db.execute(
      "INSERT INTO RenumberedDocuments (BranchID, DocumentTable, Version1No, DocumentID) "
      "VALUES (1, 'SaleInvoice', 7, ?)",
      {first});
  db.execute("INSERT INTO RSaleInvoice (BranchID, InvoiceNo, InvSaleID) VALUES (1, 1, ?)", {first});
  const auto state = [&](qint64 id) {
    return JoinedRows(
        "SELECT (SELECT COUNT(*) FROM SaleInvoice), (SELECT COUNT(*) FROM SInvSData "
        "WHERE InvoiceID = ?), (SELECT DocumentID FROM RenumberedDocuments), (SELECT "
        "InvSaleID FROM RSaleInvoice), (SELECT Debit FROM Customer WHERE ID = ?)",
        {id, customer});
  };
  ASSERT_EQ(state(first), QString("2|2|%1|%1|550").arg(first));

  auto& window = creditSale("40");
  window.store().replaceAtSave({first});
  const int writesBefore = db.writesInTransactions();
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed()) << window.saveFailure()->description().toStdString();
  const int writes = db.writesInTransactions() - writesBefore;
  const qint64 second = window.savedId();
  EXPECT_EQ(state(second), QString("2|2|%1|%1|550").arg(second))
      << "the old one's net came off, the new one's went on";
  EXPECT_EQ(count("SELECT COUNT(*) FROM SInvSData WHERE InvoiceID = ?", {first}), 0);

  for (const int failing : {writes, 1}) {
    SCOPED_TRACE(failing);
    auto& again = creditSale("40");
    again.store().replaceAtSave({second});
    db.failWriteInTransaction(failing);
    again.Cmd_Save->click();
    ASSERT_TRUE(again.lastSaveFailed());
    EXPECT_EQ(state(second), QString("2|2|%1|%1|550").arg(second)) << "nothing changed";
    EXPECT_FALSE(lockHeld("Sales"));
    EXPECT_TRUE(user().messages().empty()) << "a hidden window shows nothing";
    EXPECT_TRUE(again.Cmd_Save->isEnabled()) << "the document can be saved again";
  }
  auto& last = creditSale("40");
  last.Cmd_Save->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 3) << "the add button forgot the replaced";
}

// A voucher that replaces those of its number removes them with their
// detail rows in its own transaction: its last statement failing leaves them.
TEST_P(PostingSaveTest, AReplacementIsOneTransactionWithTheRemovalOfTheOldVouchers) {
  voucher<FrmPayment>("9", "10", 0).Cmd_Save->click();
  auto& twice = voucher<FrmPayment>("9", "20", 0);
  twice.Cmd_Save->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM PaymentDetails"), 1)
      << "the second save finds the first header of the number and rewrites its detail row";
  voucher<FrmPayment>("10", "30", 0).Cmd_Save->click();
  voucher<FrmReceipt>("9", "40", 0).Cmd_Save->click();
  const auto state = [this] {
    return JoinedRows(
        "SELECT (SELECT COUNT(*) FROM Payment WHERE PaymentNo = 9), (SELECT SUM(Amount) "
        "FROM PaymentDetails), (SELECT COUNT(*) FROM ReceiptDetails)");
  };
  ASSERT_EQ(state(), "2|50|1");

  qint64 replacing = 0;
  int writes = 0;
  for (const char* amount : {"50", "60"}) {
    auto& replacement = voucher<FrmPayment>("9", amount, 1);
    replacement.store().replaceAtSave(true);
    const int before = MainConnection().writesInTransactions();
    replacement.Cmd_Save->click();
    ASSERT_FALSE(replacement.lastSaveFailed());
    EXPECT_EQ(replacement.store().headers().recordCount(), 2) << "the rows follow the removal";
    writes = MainConnection().writesInTransactions() - before;
    replacing = replacement.savedId();
  }
  EXPECT_EQ(state(), "1|90|1") << "no detail row of the replaced vouchers is left";

  auto& last = voucher<FrmPayment>("9", "70", 1);
  last.store().replaceAtSave(true);
  MainConnection().failWriteInTransaction(writes);
  last.Cmd_Save->click();
  ASSERT_TRUE(last.lastSaveFailed());
  EXPECT_EQ(last.mode(), "Add") << "the voucher stays on display";
  EXPECT_TRUE(user().messages().empty()) << "a hidden window shows nothing";
  EXPECT_FALSE(lockHeld("Payment"));
  EXPECT_EQ(state(), "1|90|1") << "nothing changed";
  EXPECT_EQ(scalar("SELECT ID FROM Payment WHERE PaymentNo = 9").toLongLong(), replacing);
}

INSTANTIATE_TEST_SUITE_P(Engines, PostingSaveTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
