// The accounts window: browsing and importing version-1 accounts.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/Windows.h"
#include "tests/accounts/AccountsTest.h"

namespace qalvoro::test {
namespace {

const std::vector<CardRow> kChart = {
    {"1", QStringLiteral("الأصول"), "", 2},
    {"2", QStringLiteral("الخصوم 'المتداولة'"), "", 0, 1, 0, 750, {}, 0, 1, 0},
    {"11", QStringLiteral("الأصول الثابتة"), "1", 1},
    {"12", QStringLiteral("النقدية"), "1", 0},
    {"1101", QStringLiteral("مباني"), "11", 0, 1, 500, 0, 1000.0, 1, 0, 2},
};

class AccountImportTest : public AccountsTest {
 protected:
  // Answers the next overwrite prompt with a button.
  void answerPrompt(QPushButton* FrmOverWrite::*button) {
    user().queueWindow(
        [button](QWidget& window) { (dynamic_cast<FrmOverWrite&>(window).*button)->click(); });
  }
};

TEST_F(AccountImportTest, BrowsesTheAccountsOfTheChosenBranch) {
  writeAccountsFile(kChart, {});
  auto& window = openWindow();
  EXPECT_EQ(window.txtAccNo->text(), "1");
  EXPECT_EQ(window.Lb_CurRec->text(), QStringLiteral("سجل 1 من 5"));
  EXPECT_TRUE(window.Label2->text().isEmpty()) << "a top-level account has no parent name";
  EXPECT_TRUE(window.CmdImportAll->isEnabled());

  window.Cmd_Last->click();
  EXPECT_EQ(window.txtAccNo->text(), "1101");
  EXPECT_EQ(window.Label2->text(), QStringLiteral("الأصول الثابتة"));
  EXPECT_EQ(window.txtMaxDebit->text(), "1000");
  EXPECT_EQ(window.txtStartDebit->text(), "500");
  EXPECT_TRUE(window.ChkDebit->isChecked());
  EXPECT_EQ(window.CboAccType->currentIndex(), 2);
  window.Cmd_Next->click();
  EXPECT_EQ(window.txtAccNo->text(), "1101") << "the last account stays";
  EXPECT_EQ(user().beeps(), 0);

  window.Cmd_First->click();
  window.Cmd_Pre->click();
  EXPECT_EQ(window.txtAccNo->text(), "1");
  EXPECT_EQ(user().beeps(), 1) << "before the first account the window beeps";

  window.Cmd_Next->click();
  const QString shown = window.txtAccNo->text();
  window.CboBranch->setCurrentIndex(1);
  EXPECT_EQ(window.txtAccNo->text(), shown) << "the version-1 account stays";

  window.CboOldBranch->setCurrentIndex(-1);
  EXPECT_FALSE(window.CmdImport->isEnabled());
  EXPECT_FALSE(window.CmdImportAll->isEnabled());
  EXPECT_TRUE(window.txtAccNo->text().isEmpty());
}

TEST_F(AccountImportTest, ImportsAccountsWithTheirParentsCounters) {
  writeAccountsFile(kChart, {});
  auto& window = openWindow();
  window.CmdImport->click();
  EXPECT_EQ(scalar("SELECT ffather FROM CardAcc WHERE AccNo = '1'").toString(), "_");
  EXPECT_EQ(window.Lb_CurRec->text(), QStringLiteral("سجل 1 من 4"));

  window.CmdImportAll->click();
  EXPECT_TRUE(user().messages().empty()) << user().messageTexts().join('|').toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE BranchID = 1"), 5);
  EXPECT_EQ(count("SELECT Haves FROM CardAcc WHERE AccNo = '1'"), 2);
  EXPECT_EQ(count("SELECT Haves FROM CardAcc WHERE AccNo = '11'"), 1);
  EXPECT_EQ(count("SELECT Haves FROM CardAcc WHERE AccNo = '2'"), 0);
  EXPECT_EQ(scalar("SELECT AccNameA FROM CardAcc WHERE AccNo = '2'").toString(),
            QStringLiteral("الخصوم 'المتداولة'"));
  EXPECT_EQ(scalar("SELECT StartCredit FROM CardAcc WHERE AccNo = '2'").toDouble(), 750);
  EXPECT_EQ(scalar("SELECT MaxBalance FROM CardAcc WHERE AccNo = '1101'").toDouble(), 1000);
  EXPECT_EQ(scalar("SELECT ffather FROM CardAcc WHERE AccNo = '1101'").toString(), "11");
  EXPECT_EQ(count("SELECT ftype FROM CardAcc WHERE AccNo = '1101'"), 2);
  EXPECT_EQ(count("SELECT debit FROM CardAcc WHERE AccNo = '1101'"), 1);
  EXPECT_EQ(accountsLeft(window), 0);
  EXPECT_EQ(window.Lb_CurRec->text(), QStringLiteral("فارغ"));
  EXPECT_FALSE(window.CmdImport->isEnabled());
  EXPECT_FALSE(window.CmdStop->isEnabled());
  EXPECT_TRUE(window.Cmd_Exit->isEnabled());

  // A fresh working copy has every account again; yes to all overwrites
  // without asking again and keeps IDs and counters.
  const int idOfOne = count("SELECT ID FROM CardAcc WHERE AccNo = '1'");
  MainConnection().execute("UPDATE CardAcc SET AccNameA = 'x' WHERE BranchID = 1");
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  answerPrompt(&FrmOverWrite::CmdYesAll);
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows().count("FrmOverWrite"), 1);
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE AccNameA = 'x'"), 0);
  EXPECT_EQ(count("SELECT ID FROM CardAcc WHERE AccNo = '1'"), idOfOne);
  EXPECT_EQ(count("SELECT Haves FROM CardAcc WHERE AccNo = '1'"), 2) << "not raised again";
  const auto& prompt = windows().get<FrmOverWrite>();
  EXPECT_TRUE(prompt.lblOld->text().contains("x"));
  EXPECT_TRUE(prompt.lblNew->text().contains(QStringLiteral("الأصول")));
}

TEST_F(AccountImportTest, NoAndNoToAllSkipAndCancelKeepsTheRow) {
  writeAccountsFile(kChart, {});
  MainConnection().execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather) VALUES (1, '1', 'old', '_')");
  auto& window = openWindow();

  // No for an existing account; the next, new account is imported.
  answerPrompt(&FrmOverWrite::CmdNo);
  window.CmdImportAll->click();
  EXPECT_EQ(scalar("SELECT AccNameA FROM CardAcc WHERE AccNo = '1'").toString(), "old");
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc"), 5);

  // No to all skips every following account, new ones included.
  MainConnection().execute("DELETE FROM CardAcc WHERE AccNo <> '1'");
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  answerPrompt(&FrmOverWrite::CmdNoAll);
  window.CmdImportAll->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc"), 1);
  EXPECT_EQ(accountsLeft(window), 1) << "the parent of 1101 was skipped: the run stops there";
  EXPECT_EQ(user().messages().back().text, QStringLiteral("الحساب الرئيسي غير موجود"));

  // Cancel ends the run and keeps the account in the working copy.
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  answerPrompt(&FrmOverWrite::CmdCancel);
  window.CmdImportAll->click();
  EXPECT_EQ(accountsLeft(window), 5);
  EXPECT_EQ(window.overwriteAnswer(), -1);
}

TEST_F(AccountImportTest, OverwritesAnAccountAnotherWorkstationAddedMeanwhile) {
  writeAccountsFile(kChart, {});
  auto& window = openWindow();
  Connection other;
  other.open(version2Path());
  other.execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather) VALUES (1, '1', 'theirs', '_')");
  answerPrompt(&FrmOverWrite::CmdYes);
  window.CmdImport->click();
  EXPECT_TRUE(user().messageTexts().isEmpty()) << user().messageTexts().join('|').toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE AccNo = '1'"), 1);
  EXPECT_EQ(scalar("SELECT AccNameA FROM CardAcc WHERE AccNo = '1'").toString(),
            QStringLiteral("الأصول"));
}

TEST_F(AccountImportTest, AMissingParentStopsTheRunAndKeepsItsAccount) {
  writeAccountsFile({{"1", "a", "", 1}, {"12", "b", "1"}, {"9901", "c", "99"}}, {});
  auto& window = openWindow();
  window.CmdImportAll->click();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_EQ(user().messages()[0].text, QStringLiteral("الحساب الرئيسي غير موجود"));
  EXPECT_EQ(user().messages()[0].style, 64 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc"), 2);
  EXPECT_EQ(accountsLeft(window), 1);
  EXPECT_EQ(window.txtAccNo->text(), "9901");
  EXPECT_TRUE(window.CmdImportAll->isEnabled()) << "the window is unlocked after the run";
}

TEST_F(AccountImportTest, RefusedAccountsLeaveTheWorkingCopyUnwritten) {
  writeAccountsFile({{"", "no number", ""}, {"5", "", ""}, {"11", "child", "1"}}, {});
  MainConnection().execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather) VALUES (1, '1', 'p', '_')");
  MainConnection().execute(
      "INSERT INTO GaidDetails (GaidID, AccNoID, BillType) "
      "SELECT 1, ID, 8 FROM CardAcc WHERE AccNo = '1'");
  auto& window = openWindow();
  window.CmdImportAll->click();
  const auto& shown = user().messages();
  ASSERT_EQ(shown.size(), 3u) << user().messageTexts().join('|').toStdString();
  EXPECT_EQ(shown[0].text, QStringLiteral("يجب ادخال رقم حساب"));
  EXPECT_EQ(shown[1].text, QStringLiteral("يجب إدخال اسم حساب"));
  EXPECT_EQ(shown[1].style, 64 | 0x180000);
  EXPECT_EQ(shown[2].text, QStringLiteral("رقم الحساب 1\nلايمكن استخدامه كحساب رئيسي بسبب وجود بعض "
                                          "القيود عليه"));
  EXPECT_EQ(shown[2].style, 16) << "critical, without direction flags";
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc"), 1);
  EXPECT_EQ(accountsLeft(window), 0) << "refused accounts are removed from the working copy";
}

TEST_F(AccountImportTest, ADatabaseErrorRollsTheAccountBackAndEndsTheRun) {
  writeAccountsFile({{"1", "a", "", 2}, {"12", "b", "1"}, {"13", "c", "1"}}, {});
  MainConnection().execute(
      "CREATE TRIGGER refuse_13 BEFORE INSERT ON CardAcc WHEN NEW.AccNo = '13' "
      "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
  auto& window = openWindow();
  window.CmdImportAll->click();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_TRUE(user().messages()[0].text.startsWith("Err:"));
  EXPECT_TRUE(user().messages()[0].text.contains("refused by the test"));
  EXPECT_EQ(count("SELECT Haves FROM CardAcc WHERE AccNo = '1'"), 1) << "13's raise rolled back";
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE AccNo = '13'"), 0);
  EXPECT_EQ(accountsLeft(window), 1);
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'CardAcc'").toBool());

  // The account list still works afterwards.
  MainConnection().execute("DROP TRIGGER refuse_13");
  window.CmdImport->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE AccNo = '13'"), 1);
  EXPECT_EQ(count("SELECT Haves FROM CardAcc WHERE AccNo = '1'"), 2);
}

}  // namespace
}  // namespace qalvoro::test
