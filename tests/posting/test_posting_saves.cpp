// Saving documents through the posting windows, on both engines.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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

TEST_P(PostingSaveTest, CreditSaleStoresHeaderLinesAndTheCustomersDebit) {
  auto& window = creditSale("15");
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed()) << window.saveFailure()->description().toStdString();
  const qint64 id = window.savedId();
  EXPECT_EQ(tagOf(window), QString::number(id));
  EXPECT_EQ(window.mode(), "SAVE");
  EXPECT_FALSE(window.Cmd_Save->isEnabled());
  EXPECT_TRUE(window.Cmd_Add->isEnabled());
  const auto header = MainConnection().firstRow(
      "SELECT InvoiceNo, Total, Discount, Net, Payment, CustomerID, CustomerName, CashierAccID, "
      "UserID, SaleManID, BranchID FROM SaleInvoice WHERE ID = ?",
      {id});
  ASSERT_TRUE(header);
  EXPECT_EQ(header->value("InvoiceNo").toDouble(), 15);
  EXPECT_EQ(header->value("Total").toDouble(), 250);
  EXPECT_EQ(header->value("Discount").toDouble(), 25);
  EXPECT_EQ(header->value("Net").toDouble(), 225);
  EXPECT_EQ(header->value("Payment").toInt(), 1);
  EXPECT_EQ(header->value("CustomerID").toInt(), customer);
  EXPECT_EQ(header->value("CustomerName").toString(), "") << "a registered customer has no name";
  EXPECT_EQ(header->value("CashierAccID").toInt(), 12);
  EXPECT_EQ(header->value("UserID").toInt(), 0);
  EXPECT_EQ(header->value("SaleManID").toInt(), -1);
  EXPECT_EQ(debit(), 325);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SInvSData WHERE InvoiceID = ?", {id}), 2);
  EXPECT_EQ(
      scalar("SELECT Description FROM SInvSData WHERE InvoiceID = ? ORDER BY ID", {id}).toString(),
      "it's blue");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM SInvSData WHERE Description = '' AND InvoiceID = ?", {id})
                .toInt(),
            1)
      << "a name without # has an empty description";
  EXPECT_EQ(scalar("SELECT Total FROM SInvSData WHERE InvoiceID = ? ORDER BY ID", {id}).toDouble(),
            90);
  EXPECT_FALSE(lockHeld("Sales"));

  // The stored lines come back into the grid.
  window.Cmd_Add->click();
  window.ReadLines(id);
  EXPECT_EQ(window.Grid1->rows(), 4);
  EXPECT_EQ(window.Grid1->textMatrix(1, 2), QStringLiteral("قلم#it's blue"));
  EXPECT_EQ(window.Grid1->textMatrix(1, 3), QStringLiteral("حبة"));
  EXPECT_EQ(window.Grid1->textMatrix(2, 6), "150.00");
  EXPECT_EQ(window.lblAmount->text(), "225.00");
}

TEST_P(PostingSaveTest, CashAndWalkInSalesLeaveBalancesAlone) {
  auto& window = newDocument<FrmInvSales>();
  window.txtfNo->setText("3");
  window.txtPartyName->setText(QStringLiteral("زبون 'عابر'"));
  addLine(window, itemA, "1", "50");
  window.Cmd_Save->click();
  EXPECT_EQ(debit(), 100) << "a cash sale";
  EXPECT_EQ(scalar("SELECT CustomerName FROM SaleInvoice WHERE InvoiceNo = 3").toString(),
            QStringLiteral("زبون 'عابر'"));

  auto& credit = newDocument<FrmInvSales>();
  credit.txtfNo->setText("4");
  credit.CboPayment->setCurrentIndex(1);
  addLine(credit, itemA, "1", "50");
  credit.Cmd_Save->click();
  EXPECT_FALSE(credit.lastSaveFailed()) << "a credit sale without a customer matches nobody";
  EXPECT_EQ(debit(), 100);
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
  Recordset lines;
  lines.open(
      "SELECT Quantity, ActualQty, Net, Total FROM SInvSData WHERE InvoiceID = ? ORDER BY ID",
      MainConnection(), LockType::ReadOnly, {id});
  ASSERT_EQ(lines.recordCount(), 2) << "no item, no line; the entry row is never written";
  EXPECT_EQ(lines.value("Quantity").toInt(), 2);
  EXPECT_EQ(lines.value("ActualQty").toInt(), 2);
  EXPECT_EQ(lines.value("Net").toDouble(), 25);
  EXPECT_EQ(lines.value("Total").toDouble(), 25);
  lines.moveNext();
  EXPECT_EQ(lines.value("Quantity").toInt(), 4);
  EXPECT_EQ(lines.value("Net").toDouble(), 35);
}

TEST_P(PostingSaveTest, PurchaseChecksAndStoresItsFields) {
  auto& window = newDocument<FrmInvBuy>();
  window.txtfNo->setText("21");
  window.Cmd_Save->click();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_EQ(user().messages()[0].text, QStringLiteral("يجب إدخال صنف واحد على الأقل"));
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  addLine(window, itemA, "4", "7.5", QStringLiteral("قلم#أزرق"));
  window.Grid1->setTextMatrix(1, 16, "2027/01/31");
  window.Grid1->setRow(1);
  window.txtDate1->setText("");
  window.Cmd_Save->click();
  ASSERT_EQ(user().messages().size(), 2u);
  EXPECT_EQ(user().messages()[1].text, QStringLiteral("أدخل التاريخ"));
  EXPECT_EQ(user().messages()[1].style, 64 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM BuyInvoice"), 0);
  EXPECT_FALSE(lockHeld("BuyInvoice"));

  window.txtDate1->setText("2026/03/04");
  window.setProviderID(provider);
  window.CboPayment->setCurrentIndex(1);
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed());
  EXPECT_TRUE(tagOf(window).isEmpty()) << "the purchase save leaves the tag";
  const auto header = MainConnection().firstRow(
      "SELECT fDate, ProviderID, ProviderName, Payment, ProvInvNo, Total, Net, UpdatePrice "
      "FROM BuyInvoice WHERE InvoiceNo = 21");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->value("fDate").toString(), "2026/03/04");
  EXPECT_EQ(header->value("ProviderID").toInt(), provider);
  EXPECT_EQ(header->value("ProviderName").toString(), "");
  EXPECT_EQ(header->value("ProvInvNo").toString(), "0");
  EXPECT_EQ(header->value("Total").toDouble(), 30);
  EXPECT_FALSE(header->value("UpdatePrice").toBool());
  const auto line = MainConnection().firstRow(
      "SELECT Quantity, ActualQty, BonusOffer, Price, Description, ExpireDate FROM BInvData");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->value("Quantity").toInt(), 4);
  EXPECT_EQ(line->value("ActualQty").toInt(), 4);
  EXPECT_EQ(line->value("BonusOffer").toInt(), 0);
  EXPECT_EQ(line->value("Price").toDouble(), 7.5);
  EXPECT_EQ(line->value("Description").toString(), QStringLiteral("أزرق"));
  EXPECT_EQ(line->value("ExpireDate").toString(), "2027/01/31");
  EXPECT_EQ(debit(), 100) << "purchases touch no balance";
}

TEST_P(PostingSaveTest, ReturnsStoreTheirLinkAndOnlyPositiveQuantities) {
  auto& window = newDocument<FrmInvSales_R>();
  window.txtfNo->setText("5");
  window.setCustomerID(customer);
  setTag(*window.txtLinkNo, "77");
  addLine(window, itemA, "2", "50");
  addLine(window, itemB, "0", "25");
  addLine(window, itemB, "-1", "25");
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed());
  EXPECT_EQ(window.mode(), "") << "the next return needs the add button";
  EXPECT_EQ(scalar("SELECT InvSaleID FROM RSaleInvoice WHERE InvoiceNo = 5").toInt(), 77);
  EXPECT_EQ(scalar("SELECT SMInvNo FROM RSaleInvoice WHERE InvoiceNo = 5").toString(), "");
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSInvSData"), 1);
  EXPECT_EQ(scalar("SELECT Total FROM RSInvSData").toDouble(), 100);

  // A second return of the same invoice, and one whose invoice is unknown.
  auto& second = newDocument<FrmInvSales_R>();
  second.txtfNo->setText("6");
  setTag(*second.txtLinkNo, "77");
  addLine(second, itemB, "1", "25");
  second.Cmd_Save->click();
  auto& purchase = newDocument<FrmInvBuy_R>();
  purchase.txtfNo->setText("6");
  setTag(*purchase.txtLinkNo, "0");
  addLine(purchase, itemB, "3", "20");
  purchase.Cmd_Save->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM RSaleInvoice WHERE InvSaleID = 77"), 2);
  EXPECT_EQ(scalar("SELECT InvBuyID FROM RBuyInvoice").toInt(), 0);
  EXPECT_EQ(scalar("SELECT Total FROM RBInvData").toDouble(), 60);
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

TEST_P(PostingSaveTest, AFailedSaveLeavesNothingAndGivesTheLockBack) {
  for (const bool purchase : {false, true}) {
    const QString lines = purchase ? "BInvData" : "SInvSData";
    const QString headers = purchase ? "BuyInvoice" : "SaleInvoice";
    MainConnection().execute("ALTER TABLE " + lines + " RENAME TO Kept");
    InvoiceWindow& window =
        purchase ? static_cast<InvoiceWindow&>(newDocument<FrmInvBuy>()) : creditSale("30");
    if (purchase) {
      window.txtfNo->setText("30");
      addLine(window, itemA, "1", "10");
    }
    window.Cmd_Save->click();
    ASSERT_TRUE(window.lastSaveFailed());
    EXPECT_TRUE(user().messages().empty()) << "a hidden window shows nothing";
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + headers), 0) << "no header without its lines";
    EXPECT_EQ(debit(), purchase ? 325 : 100) << "the balance changes with its invoice only";
    EXPECT_FALSE(lockHeld(purchase ? "BuyInvoice" : "Sales"));
    EXPECT_TRUE(window.Cmd_Save->isEnabled()) << "the document can be saved again";
    MainConnection().execute("ALTER TABLE Kept RENAME TO " + lines);
    window.Cmd_Save->click();
    ASSERT_FALSE(window.lastSaveFailed()) << window.saveFailure()->description().toStdString();
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + headers), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + lines), purchase ? 1 : 2);
  }
  EXPECT_EQ(debit(), 325);
}

TEST_P(PostingSaveTest, AnInvoiceAndItsBalanceChangeAreStoredTogether) {
  MainConnection().execute("ALTER TABLE Customer RENAME TO KeptCustomers");
  auto& window = creditSale("50");
  window.Cmd_Save->click();
  ASSERT_TRUE(window.lastSaveFailed()) << "the balance could not be raised";
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SInvSData"), 0);
  EXPECT_FALSE(lockHeld("Sales"));
  MainConnection().execute("ALTER TABLE KeptCustomers RENAME TO Customer");
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed());
  EXPECT_EQ(debit(), 325);
}

TEST_P(PostingSaveTest, ReplacingADocumentLeavesNothingOfTheOldOne) {
  creditSale("40").Cmd_Save->click();
  creditSale("41").Cmd_Save->click();
  ASSERT_EQ(debit(), 550);
  EXPECT_EQ(DocumentStore::removeDocuments(SalesInvoiceKind(), 1, 40), 1);
  EXPECT_EQ(debit(), 325) << "the credit sale's net is taken off again";
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 1);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SInvSData"), 2) << "the lines went with their header";
  EXPECT_FALSE(lockHeld("Sales"));

  // The window's rows follow without being read again.
  auto& window = creditSale("40");
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed());
  EXPECT_EQ(window.store().headers().recordCount(), 2);
  EXPECT_EQ(debit(), 550);
  EXPECT_EQ(DocumentStore::removeDocuments(SalesInvoiceKind(), 2, 40), 0) << "another branch";

  auto& purchaseReturn = newDocument<FrmInvBuy_R>();
  purchaseReturn.txtfNo->setText("40");
  addLine(purchaseReturn, itemA, "1", "10");
  purchaseReturn.Cmd_Save->click();
  EXPECT_EQ(DocumentStore::removeDocuments(BuyReturnKind(), 1, 40), 1);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RBuyInvoice") + count("SELECT COUNT(*) FROM RBInvData"), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), 2) << "other kinds keep their documents";
  EXPECT_FALSE(lockHeld("RBuyInvoice"));
}

INSTANTIATE_TEST_SUITE_P(Engines, PostingSaveTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
