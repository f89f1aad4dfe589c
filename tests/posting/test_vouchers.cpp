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

// The window shows and takes dates in the Hijri calendar; what it stores is
// the day chosen, in the Gregorian form the rest of the system reads.
TEST_F(VoucherWindowTest, AUserTypesAHijriVoucherThatIsStoredInTheGregorianForm) {
  MainConnection().execute("UPDATE SysInfo SET CalndrType = 1, CalndrAutoChange = TRUE");
  MainConnection().execute("INSERT INTO Bank (AName, EName) VALUES (?, 'Trade Bank')",
                           {QStringLiteral("بنك التجارة")});
  user().setNow(QDateTime(QDate(2026, 3, 20), QTime(9, 5)));
  auto& window = windows().get<FrmReceipt>();
  window.load();
  EXPECT_EQ(window.txtBillDate->calendarType(), 1);
  EXPECT_TRUE(window.txtBillDate->autoChange());
  ASSERT_EQ(window.CboType->count(), 2);
  EXPECT_EQ(window.CboType->itemText(1), QStringLiteral("شيك"));
  ASSERT_EQ(window.CboBank->count(), 1);
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
  EXPECT_EQ(window.txtName->text(), "");
  EXPECT_EQ(window.CboBank->currentIndex(), -1);
  EXPECT_EQ(window.txtDate1->text(), "1447/10/01") << "today in the Hijri calendar";
  EXPECT_EQ(window.txtTime1->text(), "09:05");
  EXPECT_TRUE(window.Frame3->isEnabled());

  user().queueAnswer(6);  // Yes, undo
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_EQ(user().messageTexts(), QStringList{QStringLiteral("هل تريد التراجع حقاً ؟")});
  EXPECT_FALSE(window.Frame3->isEnabled());

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
  EXPECT_EQ(window.Cmd_Exit->text(), QStringLiteral("خروج  Esc"));
  EXPECT_EQ(JoinedRows("SELECT ReceiptNo, fDate, fTime, AccIDTo, fCheque, ftype, BillNo, BillDate "
                       "FROM Receipt WHERE ID = ?",
                       {window.savedId()}),
            "12|2026/03/20|09:05|31|750.5|1|CH-9'1|2026/04/03");
  EXPECT_EQ(JoinedRows("SELECT From_AccNoID, fPayer, BankID, Details, BillDate FROM ReceiptDetails "
                       "WHERE ReceiptID = ?",
                       {window.savedId()}),
            QString("44|Al 'Noor' Est.|%1|On account|2026/04/03")
                .arg(scalar("SELECT ID FROM Bank").toInt()));

  QTest::keyClick(&window, Qt::Key_Escape);  // idle: the window unloads
  EXPECT_FALSE(window.isLoaded());
  EXPECT_EQ(user().messages().size(), 1u);
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
};

TEST_P(VoucherSaveTest, CashAndChequeVouchersStoreEveryColumnOfTheirHeaderAndDetailRow) {
  auto& cash = voucher<FrmReceipt>("3", "120.25", 0);
  cash.Cmd_Save->click();
  ASSERT_FALSE(cash.lastSaveFailed()) << cash.saveFailure()->description().toStdString();
  EXPECT_EQ(
      JoinedRows("SELECT ReceiptNo, UserID, BranchID, fDate, fTime, AccIDTo, Amount, fCash, "
                 "fCheque, ftype, SaleManID, SMinvNo, SMinvDate, BillNo, BillDate, Details FROM "
                 "Receipt WHERE ID = ?",
                 {cash.savedId()}),
      QStringLiteral("3|0|1|2026/02/03|12:00|5|120.25|120.25|0|0|0|0||||ثمن 'بضاعة'"))
      << "a cash voucher's header has no cheque";
  EXPECT_EQ(JoinedRows("SELECT ReceiptID, From_AccNoID, fPayer, Details, fType, BankID, BillDate, "
                       "BillNo, Amount FROM ReceiptDetails"),
            QString("%1|8|%2|%3|0|-1|2026/04/05|77'A|120.25")
                .arg(cash.savedId())
                .arg(QStringLiteral("عميل 'أ'"), QStringLiteral("ثمن 'بضاعة'")))
      << "the detail row keeps the boxes";
  EXPECT_FALSE(lockHeld("Receipt"));

  auto& cheque = voucher<FrmPayment>("3", "500", 1);
  cheque.txtBillDate->setText("");  // a Null cheque date
  cheque.setBankID(2);
  cheque.Cmd_Save->click();
  ASSERT_FALSE(cheque.lastSaveFailed()) << cheque.saveFailure()->description().toStdString();
  EXPECT_EQ(
      JoinedRows("SELECT PaymentNo, AccIDFrom, Amount, fCheque, fCash, ftype, BillNo, BillDate "
                 "FROM Payment"),
      "3|5|500|500|0|1|77'A|");
  EXPECT_EQ(JoinedRows("SELECT PaymentID, To_AccNoID, fType, BankID, BillDate FROM PaymentDetails"),
            QString("%1|8|1|2|").arg(cheque.savedId()));
  EXPECT_FALSE(scalar("SELECT BillDate FROM PaymentDetails").isNull());
  EXPECT_EQ(count("SELECT COUNT(*) FROM ReceiptDetails"), 1) << "each kind its own tables";

  // Empty number and amount are stored as 0.
  voucher<FrmPayment>("", "abc", 0).Cmd_Save->click();
  EXPECT_EQ(scalar("SELECT Amount FROM Payment WHERE PaymentNo = 0").toDouble(), 0);
}

// A voucher that replaces those of its number removes them with their
// detail rows in its own transaction: its last statement (the detail row)
// failing leaves them as they were.
TEST_P(VoucherSaveTest, AReplacementIsOneTransactionWithTheRemovalOfTheOldVouchers) {
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

  Connection& db = MainConnection();
  auto& failing = voucher<FrmPayment>("9", "50", 1);
  failing.store().replaceAtSave(true);
  db.execute("ALTER TABLE PaymentDetails RENAME TO Kept");
  failing.Cmd_Save->click();
  db.execute("ALTER TABLE Kept RENAME TO PaymentDetails");
  ASSERT_TRUE(failing.lastSaveFailed());
  EXPECT_EQ(failing.mode(), "Add") << "the voucher stays on display";
  EXPECT_EQ(state(), "2|50|1") << "nothing changed";
  EXPECT_FALSE(lockHeld("Payment"));
  EXPECT_TRUE(user().messages().empty()) << "a hidden window shows nothing";

  qint64 replacing = 0;
  int writes = 0;
  for (const char* amount : {"50", "60"}) {
    auto& replacement = voucher<FrmPayment>("9", amount, 1);
    replacement.store().replaceAtSave(true);
    const int before = db.writesInTransactions();
    replacement.Cmd_Save->click();
    ASSERT_FALSE(replacement.lastSaveFailed());
    EXPECT_EQ(replacement.store().headers().recordCount(), 2) << "the rows follow the removal";
    writes = db.writesInTransactions() - before;
    replacing = replacement.savedId();
  }
  EXPECT_EQ(state(), "1|90|1") << "no detail row of the replaced vouchers is left";

  auto& last = voucher<FrmPayment>("9", "70", 1);
  last.store().replaceAtSave(true);
  db.failWriteInTransaction(writes);
  last.Cmd_Save->click();
  ASSERT_TRUE(last.lastSaveFailed());
  EXPECT_EQ(state(), "1|90|1");
  EXPECT_EQ(scalar("SELECT ID FROM Payment WHERE PaymentNo = 9").toLongLong(), replacing);
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
  EXPECT_EQ(JoinedRows("SELECT TableName, fLocked FROM LockSeen ORDER BY TableName"),
            "Payment|1;PaymentDetails|0")
      << "the detail row is written after the lock is given back";
}

INSTANTIATE_TEST_SUITE_P(Engines, VoucherSaveTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
