// The voucher windows: driven by a user, and their saves on both engines.

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "tests/posting/PostingTest.h"

namespace qalvoro::test {
namespace {

using VoucherWindowTest = PostingTest;

TEST_F(VoucherWindowTest, AUserAddsTypesUndoesAndSavesAVoucher) {
  MainConnection().execute("UPDATE SysInfo SET CalndrType = 1, CalndrAutoChange = TRUE");
  MainConnection().execute("INSERT INTO Bank (AName, EName) VALUES (?, 'Trade Bank')",
                           {QStringLiteral("بنك التجارة")});
  const int bank = scalar("SELECT ID FROM Bank").toInt();
  user().setNow(QDateTime(QDate(2026, 3, 20), QTime(9, 5)));
  auto& window = windows().get<FrmReceipt>();
  window.load();
  EXPECT_EQ(window.txtDate1->calendarType(), 1);
  EXPECT_EQ(window.txtBillDate->calendarType(), 1);
  EXPECT_TRUE(window.txtBillDate->autoChange());
  ASSERT_EQ(window.CboType->count(), 2);
  EXPECT_EQ(window.CboType->itemText(1), QStringLiteral("شيك"));
  ASSERT_EQ(window.CboBank->count(), 1);
  EXPECT_EQ(window.CboBank->itemText(0), QStringLiteral("بنك التجارة"));
  EXPECT_TRUE(window.Cmd_Add->isEnabled());
  EXPECT_FALSE(window.Cmd_Save->isEnabled());
  EXPECT_EQ(window.txtName->objectName(), "txtFrom");
  EXPECT_EQ(window.txtDetails->objectName(), "txtDetails1");

  window.setBranchID(1);
  window.OpenMyRec();
  EXPECT_FALSE(window.Frame3->isEnabled()) << "idle after OpenMyRec";
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.txtName->setText("old");
  window.CboBank->setCurrentIndex(0);
  QTest::mouseClick(window.Cmd_Add, Qt::LeftButton);
  EXPECT_EQ(window.mode(), "Add");
  EXPECT_EQ(window.txtName->text(), "");
  EXPECT_EQ(window.CboBank->currentIndex(), -1);
  EXPECT_EQ(window.BankID(), -1);
  EXPECT_EQ(window.txtDate1->text(), "1447/10/01") << "today in the Hijri calendar";
  EXPECT_EQ(window.txtTime1->text(), "09:05");
  EXPECT_TRUE(window.Frame2->isEnabled());
  EXPECT_TRUE(window.Frame3->isEnabled());
  EXPECT_EQ(window.Cmd_Exit->text(), QStringLiteral("تراجع Esc"));

  QTest::keyClicks(window.txtfNo, "12");
  QTest::keyClicks(window.txtName, "Al 'Noor' Est.");
  QTest::keyClicks(window.txtMoney1, "750.5");
  user().queueAnswer(7);  // No
  QTest::keyClick(&window, Qt::Key_Escape);
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_EQ(user().messages()[0].text, QStringLiteral("هل تريد التراجع حقاً ؟"));
  EXPECT_EQ(user().messages()[0].style, 4 | 32 | 256 | 0x180000);
  EXPECT_EQ(window.mode(), "Add") << "No keeps the voucher";
  EXPECT_EQ(window.txtMoney1->text(), "750.5");
  user().queueAnswer(6);  // Yes
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_EQ(window.mode(), "");
  EXPECT_FALSE(window.Cmd_Save->isEnabled());
  EXPECT_FALSE(window.Frame3->isEnabled());
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt"), 0);

  QTest::mouseClick(window.Cmd_Add, Qt::LeftButton);
  EXPECT_TRUE(window.txtfNo->hasFocus());
  QTest::keyClicks(window.txtfNo, "12");
  window.txtName->setFocus();
  window.txtfNo->setFocus();
  QCoreApplication::processEvents();
  EXPECT_EQ(window.txtfNo->selectedText(), "12") << "the number is selected when it gets the focus";
  window.txtName->setFocus();
  QTest::keyClicks(window.txtName, "Al 'Noor' Est.");
  QTest::keyClicks(window.txtMoney1, "750.5");
  window.CboType->setFocus();
  QTest::keyClick(window.CboType, Qt::Key_Down);
  EXPECT_EQ(window.CboType->currentIndex(), 1);
  QTest::keyClick(window.CboType, Qt::Key_Return);
  EXPECT_FALSE(window.CboType->hasFocus()) << "Enter moves on";
  QTest::keyClicks(window.txtBillNo, "CH-9'1");
  window.txtBillDate->setText("1447/10/15");
  window.CboBank->setCurrentIndex(0);
  QTest::keyClicks(window.txtDetails, "On account");
  window.setCashierAccID(31);
  window.setFrom_AccNoID(44);
  QTest::mouseClick(window.Cmd_Save, Qt::LeftButton);
  ASSERT_FALSE(window.lastSaveFailed()) << window.saveFailure()->description().toStdString();
  EXPECT_EQ(window.mode(), "");
  EXPECT_EQ(window.Cmd_Exit->text(), QStringLiteral("خروج  Esc"));
  EXPECT_FALSE(window.Cmd_Save->isEnabled());
  const auto header = MainConnection().firstRow(
      "SELECT ID, ReceiptNo, fDate, fTime, AccIDTo, Amount, fCash, fCheque, ftype, BillNo, "
      "BillDate FROM Receipt");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->value("ID").toLongLong(), window.savedId());
  EXPECT_EQ(header->value("ReceiptNo").toInt(), 12);
  EXPECT_EQ(header->value("fDate").toString(), "1447/10/01");
  EXPECT_EQ(header->value("AccIDTo").toInt(), 31);
  EXPECT_EQ(header->value("fCheque").toDouble(), 750.5);
  EXPECT_EQ(header->value("BillNo").toString(), "CH-9'1");
  EXPECT_EQ(header->value("BillDate").toString(), "1447/10/15");
  const auto detail = MainConnection().firstRow(
      "SELECT ReceiptID, From_AccNoID, fPayer, BankID, Details FROM ReceiptDetails");
  ASSERT_TRUE(detail);
  EXPECT_EQ(detail->value("ReceiptID").toLongLong(), window.savedId());
  EXPECT_EQ(detail->value("From_AccNoID").toInt(), 44);
  EXPECT_EQ(detail->value("fPayer").toString(), "Al 'Noor' Est.");
  EXPECT_EQ(detail->value("BankID").toInt(), bank);
  EXPECT_EQ(detail->value("Details").toString(), "On account");

  QTest::keyClick(&window, Qt::Key_Escape);  // idle: the window unloads
  EXPECT_FALSE(window.isLoaded());
  EXPECT_EQ(user().messages().size(), 2u);
}

class VoucherSaveTest : public PostingTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine engine() const override { return GetParam(); }

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
  int details(const QString& table) { return count("SELECT COUNT(*) FROM " + table); }
};

TEST_P(VoucherSaveTest, CashAndChequeVouchersStoreTheirHeaderAndOneDetailRow) {
  auto& cash = voucher<FrmReceipt>("3", "120.25", 0);
  cash.Cmd_Save->click();
  ASSERT_FALSE(cash.lastSaveFailed()) << cash.saveFailure()->description().toStdString();
  auto header = MainConnection().firstRow("SELECT * FROM Receipt WHERE ID = ?", {cash.savedId()});
  ASSERT_TRUE(header);
  EXPECT_EQ(header->value("ReceiptNo").toInt(), 3);
  EXPECT_EQ(header->value("UserID").toInt(), 0);
  EXPECT_EQ(header->value("BranchID").toInt(), 1);
  EXPECT_EQ(header->value("AccIDTo").toInt(), 5);
  EXPECT_EQ(header->value("Amount").toDouble(), 120.25);
  EXPECT_EQ(header->value("fCash").toDouble(), 120.25);
  EXPECT_EQ(header->value("fCheque").toDouble(), 0);
  EXPECT_EQ(header->value("ftype").toInt(), 0);
  EXPECT_EQ(header->value("SaleManID").toInt(), 0);
  EXPECT_EQ(header->value("SMinvNo").toString(), "0");
  EXPECT_EQ(header->value("SMinvDate").toString(), "");
  EXPECT_EQ(header->value("BillNo").toString(), "") << "a cash voucher has no cheque";
  EXPECT_EQ(header->value("BillDate").toString(), "");
  EXPECT_EQ(header->value("Details").toString(), QStringLiteral("ثمن 'بضاعة'"));
  auto detail = MainConnection().firstRow("SELECT * FROM ReceiptDetails");
  ASSERT_TRUE(detail);
  EXPECT_EQ(detail->value("ReceiptID").toLongLong(), cash.savedId());
  EXPECT_EQ(detail->value("From_AccNoID").toInt(), 8);
  EXPECT_EQ(detail->value("fPayer").toString(), QStringLiteral("عميل 'أ'"));
  EXPECT_EQ(detail->value("BillNo").toString(), "77'A") << "the detail row keeps the boxes";
  EXPECT_EQ(detail->value("BillDate").toString(), "2026/04/05");
  EXPECT_EQ(detail->value("BankID").toInt(), -1);
  EXPECT_EQ(detail->value("Amount").toDouble(), 120.25);
  EXPECT_FALSE(lockHeld("Receipt"));

  auto& cheque = voucher<FrmPayment>("3", "500", 1);
  cheque.txtBillDate->setText("");  // a Null cheque date
  cheque.setBankID(2);
  cheque.Cmd_Save->click();
  ASSERT_FALSE(cheque.lastSaveFailed()) << cheque.saveFailure()->description().toStdString();
  header = MainConnection().firstRow("SELECT * FROM Payment");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->value("PaymentNo").toInt(), 3);
  EXPECT_EQ(header->value("AccIDFrom").toInt(), 5);
  EXPECT_EQ(header->value("Amount").toDouble(), 500);
  EXPECT_EQ(header->value("fCheque").toDouble(), 500);
  EXPECT_EQ(header->value("fCash").toDouble(), 0);
  EXPECT_EQ(header->value("ftype").toInt(), 1);
  EXPECT_EQ(header->value("BillNo").toString(), "77'A");
  EXPECT_EQ(header->value("BillDate").toString(), "");
  detail = MainConnection().firstRow("SELECT * FROM PaymentDetails");
  ASSERT_TRUE(detail);
  EXPECT_EQ(detail->value("PaymentID").toLongLong(), cheque.savedId());
  EXPECT_EQ(detail->value("To_AccNoID").toInt(), 8);
  EXPECT_EQ(detail->value("fType").toInt(), 1);
  EXPECT_EQ(detail->value("BankID").toInt(), 2);
  EXPECT_EQ(detail->value("BillDate").toString(), "");
  EXPECT_FALSE(detail->value("BillDate").isNull());
  EXPECT_EQ(details("ReceiptDetails"), 1) << "each kind its own tables";

  // Empty number and amount are stored as 0.
  auto& empty = voucher<FrmPayment>("", "abc", 0);
  empty.Cmd_Save->click();
  ASSERT_FALSE(empty.lastSaveFailed());
  EXPECT_EQ(scalar("SELECT Amount FROM Payment WHERE PaymentNo = 0").toDouble(), 0);
}

TEST_P(VoucherSaveTest, ReplacingAVoucherLeavesNothingOfTheOldOne) {
  voucher<FrmPayment>("9", "10", 0).Cmd_Save->click();
  auto& twice = voucher<FrmPayment>("9", "20", 0);
  twice.Cmd_Save->click();
  ASSERT_FALSE(twice.lastSaveFailed());
  EXPECT_EQ(count("SELECT COUNT(*) FROM Payment WHERE PaymentNo = 9"), 2);
  EXPECT_EQ(details("PaymentDetails"), 1)
      << "the second save finds the first header of the number and rewrites its detail row";
  EXPECT_EQ(scalar("SELECT Amount FROM PaymentDetails").toDouble(), 20);
  voucher<FrmPayment>("10", "30", 0).Cmd_Save->click();
  voucher<FrmReceipt>("9", "40", 0).Cmd_Save->click();

  EXPECT_EQ(VoucherStore::removeVouchers(PaymentKind(), 1, 9), 2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Payment WHERE PaymentNo = 9"), 0);
  EXPECT_EQ(details("PaymentDetails"), 1) << "no detail row of the replaced vouchers is left";
  EXPECT_EQ(scalar("SELECT Amount FROM PaymentDetails").toDouble(), 30);
  EXPECT_EQ(details("ReceiptDetails"), 1) << "receipts keep theirs";
  EXPECT_EQ(VoucherStore::removeVouchers(PaymentKind(), 2, 10), 0) << "another branch";
  EXPECT_FALSE(lockHeld("Payment"));

  auto& replacement = voucher<FrmPayment>("9", "50", 1);
  replacement.Cmd_Save->click();
  ASSERT_FALSE(replacement.lastSaveFailed());
  EXPECT_EQ(replacement.store().headers().recordCount(), 2) << "the rows follow the removal";
  EXPECT_EQ(scalar("SELECT Amount FROM PaymentDetails WHERE PaymentID = ?", {replacement.savedId()})
                .toDouble(),
            50);
}

TEST_P(VoucherSaveTest, AFailedSaveLeavesNothingAndGivesTheLockBack) {
  for (const bool receipt : {false, true}) {
    const QString detailTable = receipt ? "ReceiptDetails" : "PaymentDetails";
    const QString headerTable = receipt ? "Receipt" : "Payment";
    SCOPED_TRACE(headerTable.toStdString());
    voucher<FrmPayment>("1", "5", 0).Cmd_Save->click();
    voucher<FrmReceipt>("1", "5", 0).Cmd_Save->click();
    MainConnection().execute("ALTER TABLE " + detailTable + " RENAME TO Kept");
    VoucherWindow& window = receipt ? static_cast<VoucherWindow&>(voucher<FrmReceipt>("2", "9", 1))
                                    : voucher<FrmPayment>("2", "9", 1);
    window.Cmd_Save->click();
    EXPECT_TRUE(window.lastSaveFailed());
    EXPECT_EQ(window.mode(), "Add") << "the voucher stays on display";
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + headerTable + " WHERE " + headerTable + "No = 2"), 0)
        << "no header without its detail row";
    EXPECT_FALSE(lockHeld(headerTable));
    EXPECT_TRUE(user().messages().empty()) << "a hidden window shows nothing";

    MainConnection().execute("ALTER TABLE Kept RENAME TO " + detailTable);
    window.Cmd_Save->click();
    ASSERT_FALSE(window.lastSaveFailed());
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + headerTable), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + detailTable), 2);
    MainConnection().execute("DELETE FROM Payment");
    MainConnection().execute("DELETE FROM PaymentDetails");
    MainConnection().execute("DELETE FROM Receipt");
    MainConnection().execute("DELETE FROM ReceiptDetails");
  }
}

TEST_P(VoucherSaveTest, TheLockIsHeldOnlyWhileTheHeaderIsWritten) {
  MainConnection().execute("UPDATE LockTables SET fLocked = TRUE WHERE TableName = 'Receipt'");
  const auto before = user().monotonicNow();
  auto& window = voucher<FrmReceipt>("4", "1", 0);
  window.Cmd_Save->click();
  ASSERT_FALSE(window.lastSaveFailed());
  EXPECT_GE(user().monotonicNow() - before, std::chrono::seconds(15))
      << "waited for the lock another writer held";
  EXPECT_FALSE(lockHeld("Receipt"));
  if (GetParam() != Engine::SQLite) return;
  // Record the lock as each row is written.
  Connection& db = MainConnection();
  db.execute("CREATE TABLE LockSeen (TableName TEXT, fLocked INTEGER)");
  for (const char* table : {"Payment", "PaymentDetails"}) {
    db.execute(QStringLiteral("CREATE TRIGGER seen_%1 AFTER INSERT ON %1 BEGIN "
                              "INSERT INTO LockSeen SELECT '%1', fLocked FROM LockTables "
                              "WHERE TableName = 'Payment'; END")
                   .arg(table));
  }
  voucher<FrmPayment>("5", "1", 0).Cmd_Save->click();
  EXPECT_EQ(scalar("SELECT fLocked FROM LockSeen WHERE TableName = 'Payment'").toInt(), 1);
  EXPECT_EQ(scalar("SELECT fLocked FROM LockSeen WHERE TableName = 'PaymentDetails'").toInt(), 0)
      << "the detail row is written after the lock is given back";
  EXPECT_FALSE(lockHeld("Payment"));
}

INSTANTIATE_TEST_SUITE_P(Engines, VoucherSaveTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
