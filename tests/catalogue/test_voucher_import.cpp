// Vouchers: the voucher tab's view, and the import through the hidden
// payment and receipt windows with its checks, the overwrite prompt, the
// parties' accounts and automatic numbers.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/Controls.h"
#include "host/forms/SSTab.h"
#include "host/forms/Windows.h"
#include "tests/catalogue/CatalogueTest.h"

namespace qalvoro::test {
namespace {

QDateTime on(int month, int day) { return QDateTime(QDate(2003, month, day), QTime()); }

class VoucherImportTest : public CatalogueTest {
 protected:
  // The voucher tab of branch 1 with the first cash box chosen and the
  // parent accounts of the demo chart.
  FrmCat_Restore& openVouchers(const StockRows& rows) {
    writeStockFile(rows);
    auto& window = openWindow(1, kVouchersTab);
    window.CboCashier[2]->setCurrentIndex(0);
    window.txtAccCustomer[0]->setText("1203");
    window.txtAccProvider[0]->setText("21");
    return window;
  }
  int cashBox(FrmCat_Restore& window) { return window.CboCashier[2]->currentData().toInt(); }
  // A voucher stored before the run, with its detail row.
  void storeVoucher(const QString& kind, int branch, int number, double amount) {
    MainConnection().execute(
        "INSERT INTO " + kind + " (BranchID, " + kind + "No, Amount) VALUES (?, ?, ?)",
        {branch, number, amount});
    const QVariant id = scalar("SELECT MAX(ID) FROM " + kind);
    MainConnection().execute(
        "INSERT INTO " + kind + "Details (" + kind + "ID, Amount) VALUES (?, ?)", {id, amount});
  }
  // Detail rows whose header is gone.
  int orphans(const QString& kind) {
    return count("SELECT COUNT(*) FROM " + kind + "Details d WHERE NOT EXISTS (SELECT 1 FROM " +
                 kind + " h WHERE h.ID = d." + kind + "ID)");
  }
};

class VoucherEnginesTest : public VoucherImportTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
};

TEST_P(VoucherEnginesTest, CashAndChequeVouchersArePostedWithThePartiesAccounts) {
  StockRows rows;
  rows.customers = {{.number = 1, .name = QStringLiteral("مؤسسة 'النخبة'")}};
  rows.providers = {{.number = 2, .name = QStringLiteral("شركة التوريد")}};
  rows.vouchers = {{.number = 10,
                    .kind = 0,
                    .partyKind = 1,
                    .party = 2,
                    .name = QStringLiteral("شركة التوريد"),
                    .amount = 250.5,
                    .chequeNo = "CHQ-1",
                    .chequeDate = on(2, 1),
                    .against = QStringLiteral("دفعة 'مقدمة'")},
                   {.number = 11,
                    .kind = 2,
                    .name = QStringLiteral("مؤسسة 'النخبة'"),
                    .amount = 500,
                    .cheque = 1,
                    .chequeNo = "CHQ-'7'",
                    .chequeDate = QVariant()},
                   {.number = 12,
                    .date = on(3, 5),
                    .kind = 1,
                    .name = QStringLiteral("مؤسسة 'النخبة'"),
                    .amount = 75,
                    .cheque = 1,
                    .chequeNo = "CHQ-8",
                    .chequeDate = on(2, 20)}};
  auto& window = openVouchers(rows);
  EXPECT_EQ(window.lblSndType->text(), QStringLiteral("سند صرف"));
  EXPECT_EQ(window.txtSndNo->text(), "10");
  EXPECT_EQ(window.txtSndDate->text(), "2003/03/01");
  EXPECT_EQ(window.txtSndType->text(), QStringLiteral("مورد"));
  EXPECT_EQ(tagOf(*window.txtSndType), "0");
  EXPECT_EQ(window.txtSndMoney->text(), "250.50");
  EXPECT_EQ(window.txtSndDetail->text(), QStringLiteral("دفعة 'مقدمة'"));
  EXPECT_TRUE(window.CmdImportAll->isEnabled());
  window.CmdImportAll->click();
  EXPECT_EQ(user().messageTexts(), QStringList());
  EXPECT_EQ(rowsLeft(window, "السندات"), 0);

  const int provider = scalar("SELECT AccNoID FROM Provider WHERE fNo = 2").toInt();
  EXPECT_EQ(scalar("SELECT AccNo FROM CardAcc WHERE ID = ?", {provider}).toString(), "21001");
  Recordset payment;
  payment.open("SELECT * FROM Payment WHERE BranchID = 1", MainConnection());
  ASSERT_EQ(payment.recordCount(), 1);
  EXPECT_EQ(payment.value("PaymentNo").toInt(), 10);
  EXPECT_EQ(payment.text("fDate"), "2003/03/01");
  EXPECT_EQ(payment.value("AccIDFrom").toInt(), cashBox(window));
  EXPECT_DOUBLE_EQ(payment.value("Amount").toDouble(), 250.5);
  EXPECT_DOUBLE_EQ(payment.value("fCash").toDouble(), 250.5);
  EXPECT_DOUBLE_EQ(payment.value("fCheque").toDouble(), 0);
  EXPECT_EQ(payment.value("ftype").toInt(), 0);
  EXPECT_EQ(payment.text("BillNo"), "") << "a cash voucher's header has no cheque";
  EXPECT_EQ(payment.text("BillDate"), "");
  Recordset paid;
  paid.open("SELECT * FROM PaymentDetails WHERE PaymentID = ?", MainConnection(),
            LockType::ReadOnly, {payment.value("ID")});
  ASSERT_EQ(paid.recordCount(), 1);
  EXPECT_EQ(paid.value("To_AccNoID").toInt(), provider);
  EXPECT_EQ(paid.text("fPayer"), QStringLiteral("شركة التوريد"));
  EXPECT_EQ(paid.text("Details"), QStringLiteral("دفعة 'مقدمة'"));
  EXPECT_EQ(paid.text("BillNo"), "CHQ-1") << "the detail row keeps the cheque boxes";
  EXPECT_EQ(paid.text("BillDate"), "2003/02/01");

  // Two receipts (kinds 2 and 1) from a customer that had no account: one
  // account, written for the first and kept for the second.
  const int customer = scalar("SELECT AccNoID FROM Customer WHERE fNo = 1").toInt();
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE ffather = '1203' AND BranchID = 1"), 1);
  EXPECT_EQ(scalar("SELECT AccNameA FROM CardAcc WHERE ID = ?", {customer}).toString(),
            QStringLiteral("مؤسسة 'النخبة'"));
  Recordset receipt;
  receipt.open(
      "SELECT r.*, d.From_AccNoID, d.BillNo AS dBillNo, d.BillDate AS dBillDate, d.fType AS "
      "dType FROM Receipt r JOIN ReceiptDetails d ON d.ReceiptID = r.ID ORDER BY r.ReceiptNo",
      MainConnection());
  ASSERT_EQ(receipt.recordCount(), 2);
  EXPECT_EQ(receipt.value("ReceiptNo").toInt(), 11);
  EXPECT_EQ(receipt.value("AccIDTo").toInt(), cashBox(window));
  EXPECT_EQ(receipt.value("ftype").toInt(), 1);
  EXPECT_DOUBLE_EQ(receipt.value("fCheque").toDouble(), 500);
  EXPECT_DOUBLE_EQ(receipt.value("fCash").toDouble(), 0);
  EXPECT_EQ(receipt.text("BillNo"), "CHQ-'7'");
  EXPECT_EQ(receipt.text("BillDate"), "") << "a cheque without a date";
  EXPECT_EQ(receipt.text("dBillDate"), "");
  EXPECT_EQ(receipt.value("From_AccNoID").toInt(), customer);
  receipt.moveNext();
  EXPECT_EQ(receipt.value("ReceiptNo").toInt(), 12);
  EXPECT_EQ(receipt.text("fDate"), "2003/03/05");
  EXPECT_EQ(receipt.text("BillDate"), "2003/02/20");
  EXPECT_EQ(receipt.value("dType").toInt(), 1);
  EXPECT_EQ(receipt.value("From_AccNoID").toInt(), customer);
  EXPECT_EQ(count("SELECT COUNT(*) FROM LockTables WHERE fLocked = TRUE"), 0);
}

TEST_P(VoucherEnginesTest, YesToAllReplacesEveryVoucherOfTheSameNumber) {
  storeVoucher("Receipt", 1, 5, 1);
  storeVoucher("Receipt", 1, 5, 2);
  storeVoucher("Receipt", 2, 5, 3);
  storeVoucher("Payment", 1, 5, 4);
  storeVoucher("Receipt", 1, 6, 6);
  StockRows rows;
  rows.vouchers = {{.number = 5, .kind = 1, .amount = 55},
                   {.number = 6, .kind = 1, .amount = 66},
                   {.number = 7, .kind = 1, .amount = 77}};
  auto& window = openVouchers(rows);
  EXPECT_EQ(window.lblSndType->text(), QStringLiteral("سند قبض"));
  user().queueWindow(
      [](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdYesAll->click(); });
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows(), QStringList{"FrmOverWrite"}) << "asked once";
  EXPECT_EQ(windows().get<FrmOverWrite>().lblOld->text(), QStringLiteral("رقم السند:5"));
  EXPECT_EQ(windows().get<FrmOverWrite>().lblNew->text(), QStringLiteral("رقم السند:5"));
  for (const auto& [number, amount] : {std::pair{5, 55}, {6, 66}, {7, 77}}) {
    EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt WHERE BranchID = 1 AND ReceiptNo = ?", {number}),
              1)
        << number;
    EXPECT_EQ(scalar("SELECT d.Amount FROM Receipt r JOIN ReceiptDetails d ON d.ReceiptID = r.ID "
                     "WHERE r.BranchID = 1 AND r.ReceiptNo = ?",
                     {number})
                  .toDouble(),
              amount);
  }
  EXPECT_EQ(orphans("Receipt"), 0) << "no detail row of a replaced voucher is left";
  EXPECT_EQ(count("SELECT COUNT(*) FROM ReceiptDetails"), 4);
  EXPECT_EQ(scalar("SELECT Amount FROM Receipt WHERE BranchID = 2").toDouble(), 3);
  EXPECT_EQ(scalar("SELECT Amount FROM Payment WHERE PaymentNo = 5").toDouble(), 4)
      << "a payment of the same number is another voucher";
}

TEST_P(VoucherEnginesTest, AutomaticNumbersNeverAskAndNeverReplace) {
  storeVoucher("Receipt", 1, 5, 1);
  storeVoucher("Receipt", 2, 9, 1);
  StockRows rows;
  rows.vouchers = {{.number = 5, .kind = 1}, {.number = 5, .kind = 3}, {.number = 5, .kind = 0}};
  auto& window = openVouchers(rows);
  window.ChkAutoSND->setChecked(true);
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows(), QStringList());
  EXPECT_EQ(scalar("SELECT Amount FROM Receipt WHERE BranchID = 1 AND ReceiptNo = 5").toDouble(),
            1);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt WHERE BranchID = 1 AND ReceiptNo IN (6, 7)"), 2);
  EXPECT_EQ(scalar("SELECT PaymentNo FROM Payment").toInt(), 1);
  EXPECT_EQ(rowsLeft(window, "السندات"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, VoucherEnginesTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

TEST_F(VoucherImportTest, NoSkipsOneVoucherAndNoToAllEveryOneAfter) {
  storeVoucher("Payment", 1, 1, 1);
  storeVoucher("Payment", 1, 2, 2);
  StockRows rows;
  rows.vouchers = {{.number = 1, .amount = 10},
                   {.number = 3, .amount = 30},
                   {.number = 2, .amount = 20},
                   {.number = 4, .amount = 40}};
  auto& window = openVouchers(rows);
  user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdNo->click(); });
  user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdNoAll->click(); });
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows(), (QStringList{"FrmOverWrite", "FrmOverWrite"}));
  EXPECT_EQ(count("SELECT COUNT(*) FROM Payment"), 3) << "3 is new; 4 comes after no to all";
  EXPECT_EQ(scalar("SELECT SUM(Amount) FROM Payment WHERE PaymentNo IN (1, 2)").toDouble(), 3);
  EXPECT_EQ(rowsLeft(window, "السندات"), 0) << "skipped rows leave the list too";
}

TEST_F(VoucherImportTest, TheCashBoxAndBothParentAccountsAreCheckedFirst) {
  StockRows rows;
  rows.vouchers = {{.number = 1}, {.number = 2}};
  auto& window = openVouchers(rows);
  window.CboCashier[2]->setCurrentIndex(-1);
  window.CmdImportAll->click();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_EQ(user().messages()[0].text, QStringLiteral("يجب تحديد حساب الصندوق"));
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
  EXPECT_EQ(rowsLeft(window, "السندات"), 2);

  // Each single import checks again; the parties' accounts land in branch 2
  // when it is the target.
  window.txtAccCustomer[0]->setText("1203");
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  window.CboCashier[2]->setCurrentIndex(0);
  window.CmdImport->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Payment WHERE BranchID = 2"), 1);
  EXPECT_EQ(scalar("SELECT a.BranchID FROM Customer c JOIN CardAcc a ON a.ID = c.AccNoID").toInt(),
            2);
  EXPECT_EQ(rowsLeft(window, "السندات"), 1);
}

TEST_F(VoucherImportTest, AFailedSaveRollsBackAndEndsTheRunWithTheRowKept) {
  StockRows rows;
  rows.vouchers = {{.number = 1, .kind = 1}, {.number = 2, .kind = 1}, {.number = 3, .kind = 1}};
  MainConnection().execute(
      "CREATE TRIGGER refuse BEFORE INSERT ON ReceiptDetails WHEN NEW.Amount = 200 "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  rows.vouchers[1].amount = 200;
  auto& window = openVouchers(rows);
  window.CmdImportAll->click();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_TRUE(user().messages()[0].text.startsWith("Err:"));
  EXPECT_TRUE(user().messages()[0].text.contains("\nrefused"));
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt"), 1) << "no header without its detail row";
  EXPECT_EQ(window.txtSndNo->text(), "2");
  EXPECT_EQ(rowsLeft(window, "السندات"), 2);
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Receipt'").toBool());
}

TEST_F(VoucherImportTest, TheKindIsNamedInTheLanguageOfTheWindow) {
  setSetting("Language", "E");
  StockRows rows;
  rows.vouchers = {{.number = 1, .kind = 2}, {.number = 2, .kind = 0}};
  writeStockFile(rows);
  auto& window = openWindow(1, kVouchersTab);
  EXPECT_EQ(window.lblSndType->text(), "Receipt Voucher");
  EXPECT_EQ(tagOf(*window.txtSndType), "2");
  window.Cmd_Next->click();
  EXPECT_EQ(window.lblSndType->text(), "Payment Voucher");
}

}  // namespace
}  // namespace qalvoro::test
