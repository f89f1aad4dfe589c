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
#include "tests/posting/PostingTest.h"

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

// The Hijri calendar of the windows leaves the version-1 dates as they
// were, the 31st of a month included.
TEST_P(VoucherEnginesTest, CashAndChequeVouchersArePostedWithThePartiesAccountsUnderHijriDates) {
  MainConnection().execute("UPDATE SysInfo SET CalndrType = 1");
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
                    .chequeDate = on(1, 31),
                    .against = QStringLiteral("دفعة 'مقدمة'")},
                   {.number = 11,
                    .kind = 2,
                    .name = QStringLiteral("مؤسسة 'النخبة'"),
                    .amount = 500,
                    .cheque = 1,
                    .chequeNo = "CHQ-'7'",
                    .chequeDate = QVariant()},
                   {.number = 12,
                    .date = on(3, 31),
                    .kind = 1,
                    .name = QStringLiteral("مؤسسة 'النخبة'"),
                    .amount = 75,
                    .cheque = 1,
                    .chequeNo = "CHQ-8",
                    .chequeDate = on(2, 20)}};
  auto& window = openVouchers(rows);
  EXPECT_EQ(window.lblSndType->text(), QStringLiteral("سند صرف"));
  EXPECT_EQ(window.txtSndDate->text(), "2003/03/01");
  EXPECT_EQ(window.txtSndType->text(), QStringLiteral("مورد"));
  EXPECT_EQ(tagOf(*window.txtSndType), "0");
  EXPECT_EQ(window.txtSndMoney->text(), "250.50");
  EXPECT_EQ(window.txtSndDetail->text(), QStringLiteral("دفعة 'مقدمة'"));
  window.CmdImportAll->click();
  EXPECT_EQ(user().messageTexts(), QStringList());
  EXPECT_EQ(rowsLeft(window, "السندات"), 0);

  const QString cash = QString::number(cashBox(window));
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

  // Two receipts (kinds 2 and 1) from a customer that had no account: one
  // account, written for the first and kept for the second.
  const QString customer = scalar("SELECT AccNoID FROM Customer WHERE fNo = 1").toString();
  EXPECT_EQ(
      JoinedRows("SELECT AccNameA, ffather FROM CardAcc WHERE BranchID = 1 AND ID = ?", {customer}),
      QStringLiteral("مؤسسة 'النخبة'|1203"));
  EXPECT_EQ(JoinedRows("SELECT r.ReceiptNo, r.fDate, r.AccIDTo, r.ftype, r.fCheque, r.fCash, "
                       "r.BillNo, r.BillDate, d.BillDate, d.fType, d.From_AccNoID FROM Receipt r "
                       "JOIN ReceiptDetails d ON d.ReceiptID = r.ID ORDER BY r.ReceiptNo"),
            QStringLiteral("11|2003/03/01|%1|1|500|0|CHQ-'7'|||1|%2;"
                           "12|2003/03/31|%1|1|75|0|CHQ-8|2003/02/20|2003/02/20|1|%2")
                .arg(cash, customer));
  EXPECT_EQ(count("SELECT COUNT(*) FROM LockTables WHERE fLocked = TRUE"), 0);
}

TEST_P(VoucherEnginesTest,
       YesToAllReplacesEveryVoucherOfTheNumberAndTheExistenceCheckKeepsItsLock) {
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
  // The existence check leaves another writer's lock alone: the save waits
  // for it.
  holdLock("Receipt", true);
  const auto before = user().monotonicNow();
  window.CmdImportAll->click();
  EXPECT_GE(user().monotonicNow() - before, std::chrono::seconds(15));
  EXPECT_EQ(user().shownWindows(), QStringList{"FrmOverWrite"}) << "asked once";
  EXPECT_EQ(
      windows().get<FrmOverWrite>().lblOld->text() + windows().get<FrmOverWrite>().lblNew->text(),
      QStringLiteral("رقم السند:5رقم السند:5"));
  EXPECT_EQ(JoinedRows("SELECT r.BranchID, r.ReceiptNo, d.Amount FROM Receipt r JOIN "
                       "ReceiptDetails d ON d.ReceiptID = r.ID ORDER BY r.BranchID, r.ReceiptNo"),
            "1|5|55;1|6|66;1|7|77;2|5|3");
  EXPECT_EQ(orphans("Receipt"), 0) << "no detail row of a replaced voucher is left";
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
  EXPECT_EQ(JoinedRows("SELECT BranchID, ReceiptNo, Amount FROM Receipt ORDER BY BranchID, "
                       "ReceiptNo"),
            "1|5|1;1|6|100;1|7|100;2|9|1");
  EXPECT_EQ(scalar("SELECT PaymentNo FROM Payment").toInt(), 1);
  EXPECT_EQ(rowsLeft(window, "السندات"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, VoucherEnginesTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

TEST_F(VoucherImportTest, NoKeepsOneVoucherAndNoToAllEveryExistingOneAfterWhileNewOnesCome) {
  storeVoucher("Payment", 1, 1, 1);
  storeVoucher("Payment", 1, 2, 2);
  storeVoucher("Payment", 1, 5, 5);
  const QString kept = JoinedRows("SELECT ID, PaymentNo, Amount FROM Payment ORDER BY ID");
  StockRows rows;
  rows.vouchers = {{.number = 1, .amount = 10},
                   {.number = 3, .amount = 30},
                   {.number = 2, .amount = 20},
                   {.number = 4, .amount = 40},
                   {.number = 5, .amount = 50}};
  auto& window = openVouchers(rows);
  user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdNo->click(); });
  user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdNoAll->click(); });
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows(), (QStringList{"FrmOverWrite", "FrmOverWrite"}));
  EXPECT_EQ(JoinedRows("SELECT ID, PaymentNo, Amount FROM Payment WHERE PaymentNo IN (1, 2, 5) "
                       "ORDER BY ID"),
            kept);
  EXPECT_EQ(JoinedRows("SELECT PaymentNo, Amount FROM Payment WHERE PaymentNo IN (3, 4) ORDER BY "
                       "PaymentNo"),
            "3|30;4|40");
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
  user().queueWindow(
      [](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdYesAll->click(); });
  window.CmdImportAll->click();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_TRUE(user().messages()[0].text.startsWith("Err:"));
  EXPECT_TRUE(user().messages()[0].text.contains("\nrefused"));
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  EXPECT_EQ(JoinedRows("SELECT r.ID, d.ID, d.Amount FROM Receipt r JOIN ReceiptDetails d ON "
                       "d.ReceiptID = r.ID WHERE r.ReceiptNo = 2"),
            kept);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt"), 2) << "no header without its detail row";
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
