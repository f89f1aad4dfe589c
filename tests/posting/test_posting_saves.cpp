// Saving documents through the posting windows, on both engines.

#include <QComboBox>
#include <QLabel>
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
  double debit() {
    return scalar("SELECT Debit FROM Customer WHERE ID = ?", {customer}).toDouble();
  }
};

TEST_P(PostingSaveTest, SalesStoreEveryColumnAndOnlyCreditSalesRaiseTheDebit) {
  auto& window = creditSale("15");
  window.txtDate1->setText("2026/02/03");
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed()) << window.saveFailure()->description().toStdString();
  const qint64 id = window.savedId();
  EXPECT_EQ(tagOf(window), QString::number(id));
  EXPECT_EQ(JoinedRows("SELECT InvoiceNo, UserID, fDate, fTime, CustomerID, CustomerName, Payment, "
                       "CashierAccID, BranchID, note, Total, Net, Discount, SaleManID, SMinvNo, "
                       "SMinvDate, DueDate FROM SaleInvoice WHERE ID = ?",
                       {id}),
            QString("15|0|2026/02/03|12:00|%1||1|12|1|n'1|250|225|25|-1|||").arg(customer))
      << "a registered customer has no name";
  EXPECT_EQ(
      JoinedRows("SELECT InvoiceID, CategoryID, Description, UnitID, Quantity, ActualQty, Price, "
                 "Discount, Total, HidePrice, SpecialOffer, ActualPrice, CostPrice, Net, "
                 "ExpireDate FROM SInvSData WHERE InvoiceID = ? ORDER BY ID",
                 {id}),
      QString("%1|%2|it's blue|1|2|2|50|10|90|0|0|45|30|100|;%1|%3||1|6|6|25|15|135|0|0|"
              "22.5|30|150|")
          .arg(id)
          .arg(itemA)
          .arg(itemB));
  EXPECT_EQ(debit(), 325);
  EXPECT_FALSE(lockHeld("Sales"));

  // Cash and walk-in sales leave the balances alone; a walk-in keeps its name.
  auto& cash = newDocument<FrmInvSales>();
  cash.txtfNo->setText("3");
  cash.txtPartyName->setText(QStringLiteral("زبون 'عابر'"));
  addLine(cash, itemA, "1", "50");
  cash.Cmd_Save->click();
  auto& walkIn = newDocument<FrmInvSales>();
  walkIn.txtfNo->setText("4");
  walkIn.CboPayment->setCurrentIndex(1);
  addLine(walkIn, itemA, "1", "50");
  walkIn.Cmd_Save->click();
  ASSERT_FALSE(walkIn.lastSaveFailed()) << walkIn.saveFailure()->description().toStdString();
  EXPECT_EQ(scalar("SELECT CustomerName FROM SaleInvoice WHERE InvoiceNo = 3").toString(),
            QStringLiteral("زبون 'عابر'"));
  EXPECT_EQ(debit(), 325);

  // The stored lines come back into the grid.
  window.Cmd_Add->click();
  window.ReadLines(id);
  EXPECT_EQ(window.Grid1->rows(), 4);
  EXPECT_EQ(window.Grid1->textMatrix(1, 2), QStringLiteral("قلم#it's blue"));
  EXPECT_EQ(window.Grid1->textMatrix(1, 3), QStringLiteral("حبة"));
  EXPECT_EQ(window.lblAmount->text(), "225.00");
}

TEST_P(PostingSaveTest, QuantitiesAreStoredAsIntegersHalvesToEven) {
  auto& window = newDocument<FrmInvSales>();
  window.txtfNo->setText("8");
  addLine(window, itemA, "2.5", "10");
  addLine(window, itemB, "3.5", "10");
  window.Grid1->setTextMatrix(window.Grid1->rows() - 1, 11, QString::number(itemA));
  window.Grid1->setTextMatrix(window.Grid1->rows() - 1, 4, "9");  // the entry row
  addLine(window, 0, "5", "10");
  window.Cmd_Save->click();
  const qint64 id = window.savedId();
  EXPECT_EQ(JoinedRows("SELECT Quantity, ActualQty, Net, Total FROM SInvSData WHERE InvoiceID = ? "
                       "ORDER BY ID",
                       {id}),
            "2|2|25|25;4|4|35|35")
      << "no item, no line; the entry row is never written";
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
  EXPECT_EQ(user().messages()[1].text, QStringLiteral("أدخل التاريخ"));
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

TEST_P(PostingSaveTest, EachWindowTakesAndGivesBackItsLock) {
  const auto save = [this](InvoiceWindow& window, const QString& lock) {
    SCOPED_TRACE(lock.toStdString());
    MainConnection().execute("UPDATE LockTables SET fLocked = TRUE WHERE TableName = ?", {lock});
    const auto before = user().monotonicNow();
    window.txtfNo->setText("1");
    addLine(window, itemA, "1", "10");
    window.Cmd_Save->click();
    EXPECT_FALSE(window.lastSaveFailed());
    EXPECT_GE(user().monotonicNow() - before, std::chrono::seconds(15))
        << "waited for the lock another writer held";
    EXPECT_FALSE(lockHeld(lock));
  };
  save(newDocument<FrmInvSales>(), "Sales");
  save(newDocument<FrmInvBuy>(), "BuyInvoice");
  save(newDocument<FrmInvSales_R>(), "RSales");
  save(newDocument<FrmInvBuy_R>(), "RBuyInvoice");
}

// A replacing save removes the old document, writes the new one and hands
// over what named the old one, all or nothing: its last statement failing
// leaves the old document exactly as it was.
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
  }
  auto& last = creditSale("40");
  last.Cmd_Save->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 3) << "the add button forgot the replaced";

  // A purchase replacement whose line insert fails keeps the old purchase.
  auto& purchase = newDocument<FrmInvBuy>();
  purchase.txtfNo->setText("40");
  addLine(purchase, itemA, "1", "10");
  purchase.Cmd_Save->click();
  const qint64 bought = purchase.savedId();
  auto& replacement = newDocument<FrmInvBuy>();
  replacement.txtfNo->setText("40");
  addLine(replacement, itemB, "2", "10");
  replacement.store().replaceAtSave({bought});
  db.execute("ALTER TABLE BInvData RENAME TO Kept");
  replacement.Cmd_Save->click();
  db.execute("ALTER TABLE Kept RENAME TO BInvData");
  ASSERT_TRUE(replacement.lastSaveFailed());
  EXPECT_TRUE(user().messages().empty()) << "a hidden window shows nothing";
  EXPECT_EQ(
      JoinedRows("SELECT h.ID, l.CategoryID FROM BuyInvoice h JOIN BInvData l ON l.InvoiceID = "
                 "h.ID"),
      QString("%1|%2").arg(bought).arg(itemA));
  EXPECT_FALSE(lockHeld("BuyInvoice"));
  EXPECT_TRUE(replacement.Cmd_Save->isEnabled()) << "the document can be saved again";
}

INSTANTIATE_TEST_SUITE_P(Engines, PostingSaveTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
