// The accounts window and the unattended accounts run (the shared version-1 accounts folder:
// in the whole-branch test of the catalogue).

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/Windows.h"
#include "tests/accounts/AccountsTest.h"
#include "tests/support/RowTexts.h"

namespace qalvoro::test {
namespace {

const std::vector<CardRow> kChart = {
    {"1", QStringLiteral("الأصول"), "", 2},
    {"2", QStringLiteral("الخصوم 'المتداولة'"), "", 0, 1, 0, 750, {}, 0, 1, 0},
    {"11", QStringLiteral("الأصول الثابتة"), "1", 1},
    {"12", QStringLiteral("النقدية"), "1", 0},
    {"1101", QStringLiteral("مباني"), "11", 0, 1, 500, 0, 1000.0, 1, 0, 2},
};

// Number, name and Haves of a branch's accounts.
QStringList accounts(int branch) {
  return RowTexts("SELECT AccNo, AccNameA, Haves FROM CardAcc WHERE BranchID = ? ORDER BY AccNo",
                  {branch});
}

class AccountImportTest : public AccountsTest {
 protected:
  // Answers the next overwrite prompt with a button.
  void answerPrompt(QPushButton* FrmOverWrite::*button) {
    user().queueWindow(
        [button](QWidget& window) { (dynamic_cast<FrmOverWrite&>(window).*button)->click(); });
  }
  void reopen(FrmAcc_Restore& window) {
    window.CmdOpenOldDB->click();
    window.CmdOpenOldDB->click();
  }
};

class AccountEnginesTest : public AccountImportTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
};

TEST_F(AccountImportTest, BrowsesTheAccountsOfTheChosenBranch) {
  writeAccountsFile(kChart, {});
  auto& window = openWindow();
  EXPECT_EQ(window.txtAccNo->text(), "1");
  EXPECT_EQ(window.Lb_CurRec->text(), QStringLiteral("سجل 1 من 5"));
  EXPECT_TRUE(window.Label2->text().isEmpty()) << "a top-level account has no parent name";

  window.Cmd_Last->click();
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
  window.CboBranch->setCurrentIndex(1);
  EXPECT_EQ(window.txtAccNo->text(), "2") << "the version-1 account stays";

  window.CboOldBranch->setCurrentIndex(-1);
  EXPECT_FALSE(window.CmdImport->isEnabled());
  EXPECT_FALSE(window.CmdImportAll->isEnabled());
  EXPECT_TRUE(window.txtAccNo->text().isEmpty());
}

TEST_P(AccountEnginesTest, EveryColumnGoesToTheChosenBranchBesideTheSameNumbersOfAnother) {
  std::vector<CardRow> chart = kChart;
  for (CardRow& row : chart) row.branch = 2;
  chart.push_back({"3", "version-1 branch 1", ""});
  writeAccountsFile(chart, {});
  MainConnection().execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather, Haves) "
      "VALUES (1, '1', 'other', '_', 5), (1, '11', 'other', '1', 5)");
  auto& window = openWindow(folder(), "ACC.MDB", 2);
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  window.txtAccNameE->setText(" Assets ");
  window.CmdImport->click();
  window.CmdImportAll->click();
  EXPECT_TRUE(user().messages().empty()) << user().messageTexts().join('|').toStdString();
  EXPECT_EQ(RowTexts("SELECT AccNo, AccNameA, AccNameE, ffather, MaxBalance, StartDebit, "
                     "StartCredit, debit, credit, ftype, Haves FROM CardAcc WHERE BranchID = 2 "
                     "ORDER BY AccNo"),
            (QStringList{QStringLiteral("1|الأصول|Assets|_|0|0|0|0|0|0|2"),
                         QStringLiteral("11|الأصول الثابتة||1|0|0|0|0|0|0|1"),
                         QStringLiteral("1101|مباني||11|1000|500|0|1|0|2|0"),
                         QStringLiteral("12|النقدية||1|0|0|0|0|0|0|0"),
                         QStringLiteral("2|الخصوم 'المتداولة'||_|0|0|750|0|1|0|0")}));
  EXPECT_EQ(accounts(1), (QStringList{"1|other|5", "11|other|5"}));
  EXPECT_EQ(window.Lb_CurRec->text(), QStringLiteral("فارغ"));
  EXPECT_TRUE(!window.CmdImport->isEnabled() && !window.CmdStop->isEnabled() &&
              window.Cmd_Exit->isEnabled());
}

// Each write of a new account fails in turn: the account and its parent's count are written
// together or not at all, and a failed account stays in the working copy.
TEST_P(AccountEnginesTest, AFailedStatementLeavesNoPartOfTheAccount) {
  writeAccountsFile({{"1", "a", "", 1}, {"12", "b", "1"}}, {});
  auto& window = openWindow();
  window.CmdImport->click();
  for (int k = 0;; ++k) {
    user().clearMessages();
    MainConnection().failNthWrite(k + 1);
    window.CmdImport->click();
    MainConnection().failNthWrite(0);
    const QStringList written = accounts(1);
    if (written.size() == 2) {
      EXPECT_EQ(written, (QStringList{"1|a|1", "12|b|0"})) << k;
      EXPECT_GE(k, 2) << "the parent's count and the row come first";
      break;
    }
    EXPECT_EQ(written, QStringList{"1|a|0"}) << k;
    ASSERT_EQ(user().messageTexts().filter("Err:").size(), 1) << k;
    EXPECT_EQ(accountsLeft(window), 1) << k;
  }
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'CardAcc'").toBool());
}

INSTANTIATE_TEST_SUITE_P(Engines, AccountEnginesTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

// No to all keeps every existing account and still imports the new ones.
TEST_F(AccountImportTest, NoToAllSkipsOnlyExistingAccountsAndEachAnswerChangesWhatItSays) {
  writeAccountsFile(kChart, {});
  MainConnection().execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather, Haves) "
      "VALUES (1, '1', 'old', '_', 1), (1, '12', 'old', '1', 0)");
  const QVariant idOfOne = scalar("SELECT ID FROM CardAcc WHERE AccNo = '1'");
  auto& window = openWindow();
  answerPrompt(&FrmOverWrite::CmdYes);
  answerPrompt(&FrmOverWrite::CmdNo);
  window.CmdImportAll->click();
  EXPECT_EQ(accounts(1),
            (QStringList{QStringLiteral("1|الأصول|2"), QStringLiteral("11|الأصول الثابتة|1"),
                         QStringLiteral("1101|مباني|0"), "12|old|0",
                         QStringLiteral("2|الخصوم 'المتداولة'|0")}));
  EXPECT_EQ(scalar("SELECT ID FROM CardAcc WHERE AccNo = '1'"), idOfOne);
  EXPECT_EQ(window.overwriteAnswer(), -1);

  MainConnection().execute("DELETE FROM CardAcc WHERE AccNo = '2'");
  MainConnection().execute("UPDATE CardAcc SET AccNameA = 'old'");
  reopen(window);
  answerPrompt(&FrmOverWrite::CmdNoAll);
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows().size(), 3);
  EXPECT_EQ(accounts(1), (QStringList{"1|old|2", "11|old|1", "1101|old|0", "12|old|0",
                                      QStringLiteral("2|الخصوم 'المتداولة'|0")}));
  EXPECT_EQ(accountsLeft(window), 0);

  reopen(window);
  answerPrompt(&FrmOverWrite::CmdYesAll);
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows().size(), 4) << "yes to all asks no more";
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE AccNameA = 'old'"), 0);
  EXPECT_EQ(count("SELECT Haves FROM CardAcc WHERE AccNo = '1'"), 2) << "not raised again";
  const auto& prompt = windows().get<FrmOverWrite>();
  EXPECT_EQ(prompt.lblOld->text(), QStringLiteral("رقم الحساب :1\r\nاسم الحساب :old"));
  EXPECT_EQ(prompt.lblNew->text(), QStringLiteral("رقم الحساب :1\r\nاسم الحساب :الأصول"));

  // A prompt closed from its title bar answers Cancel: the run ends there.
  MainConnection().execute("UPDATE CardAcc SET AccNameA = 'old'");
  reopen(window);
  user().queueWindow([](QWidget& shown) { shown.close(); });
  window.CmdImportAll->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE AccNameA <> 'old'"), 0);
  EXPECT_EQ(accountsLeft(window), 5);
  EXPECT_EQ(window.overwriteAnswer(), -1);
}

TEST_F(AccountImportTest, RefusedAccountsLeaveTheWorkingCopyAndAMissingParentStopsTheRun) {
  writeAccountsFile(
      {{"", "no number", ""}, {"5", "", ""}, {"11", "child", "1"}, {"9901", "c", "99"}}, {});
  MainConnection().execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather) VALUES (1, '1', 'p', '_')");
  MainConnection().execute(
      "INSERT INTO GaidDetails (GaidID, AccNoID, BillType) "
      "SELECT 1, ID, 8 FROM CardAcc WHERE AccNo = '1'");
  auto& window = openWindow();
  window.CmdImportAll->click();
  EXPECT_EQ(user().messageTexts(),
            QStringList({QStringLiteral("يجب ادخال رقم حساب"), QStringLiteral("يجب إدخال اسم حساب"),
                         QStringLiteral("رقم الحساب 1\nلايمكن استخدامه كحساب رئيسي بسبب وجود بعض "
                                        "القيود عليه"),
                         QStringLiteral("الحساب الرئيسي غير موجود")}));
  ASSERT_EQ(user().messages().size(), 4u);
  EXPECT_EQ(user().messages()[1].style, 64 | 0x180000);
  EXPECT_EQ(user().messages()[2].style, 16) << "critical, without direction flags";
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc"), 1);
  EXPECT_EQ(accountsLeft(window), 1) << "only the account without its parent stays";
  EXPECT_EQ(window.txtAccNo->text(), "9901");
  EXPECT_TRUE(window.CmdImportAll->isEnabled()) << "the window is unlocked after the run";
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
  EXPECT_EQ(accounts(1), QStringList{QStringLiteral("1|الأصول|0")});
}

// Files as some installations left them: Single amounts, no journal table.
TEST_F(AccountImportTest, AFileWithoutJournalIsBrowsedAndImportedWithTheAmountsTyped) {
  writeAccountsFile({{"1", QStringLiteral("الأصول"), "", 1, 1, 0, 0, {}, 1},
                     {"11", QStringLiteral("النقدية"), "1", 0, 1, 1234.56, 0, 2500.7, 1}},
                    {}, true);
  auto& window = openWindow();
  window.Cmd_Last->click();
  EXPECT_EQ(window.txtStartDebit->text(), "1234.56");
  EXPECT_EQ(window.txtMaxDebit->text(), "2500.7");
  window.CmdImportAll->click();
  EXPECT_TRUE(user().messages().empty()) << user().messageTexts().join('|').toStdString();
  EXPECT_EQ(RowTexts("SELECT AccNo, StartDebit, MaxBalance FROM CardAcc ORDER BY AccNo"),
            (QStringList{"1|0|0", "11|1234.56|2500.7"}));

  // Only the journal needs the journal table.
  window.CmdImportGaid->click();
  ASSERT_FALSE(user().messages().empty());
  EXPECT_TRUE(user().messages().back().text.startsWith("Err:"));
  EXPECT_TRUE(user().messages().back().text.contains("Gaid"))
      << user().messages().back().text.toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid"), 0);
}

using BatchTest = AccountsTest;

// The journal is imported after an accounts run a rule stopped, which gives
// the run its own exit code.
TEST_F(BatchTest, ImportsAccountsAndJournalAndSaysWhyItEnded) {
  writeAccountsFile({{"1", "a", "", 1}, {"11", "b", "1"}, {"2", "c", ""}, {"9901", "orphan", "99"}},
                    {{1, QDate(2003, 1, 1), "11", "x", 10.0, 0.0},
                     {1, QDate(2003, 1, 1), "2", "y", 0.0, 10.0},
                     {2, QDate(2003, 1, 2), "404", "z", 5.0, 0.0},
                     {2, QDate(2003, 1, 2), "2", "z", 0.0, 5.0}});
  MainConnection().execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather) VALUES (1, '2', 'old', '_')");
  auto [code, output] =
      runHost({"--batch", "accounts", "--app-path", appPath(), "--settings", "Batch", "--db",
               version2Path(), "--v1-folder", folder(), "--v1-file", "acc.mdb", "--old-branch", "1",
               "--branch", "1", "--journal", "--overwrite", "yes-all"});
  EXPECT_EQ(code, 3) << output.toStdString();
  for (const QString& said :
       {QStringLiteral("summary: imported 2, overwritten 1, skipped 0, refused 0"),
        QStringLiteral("ended: stopped at account 9901: parent account 99 does not exist"),
        QStringLiteral("summary: entries 2, lines 3, lines without account 1\nleft out: entry 2: "
                       "1 lines without account; the entry no longer balances"),
        // The window's own summary, in its language, names the entry.
        QStringLiteral("message [journal]: انتهى استيراد القيود. القيود: 2 السطور: 3 سطور تركت "
                       "لأن حسابها غير موجود: 1 في القيود: 2 قيود لم تعد متوازنة: 2")})
    EXPECT_TRUE(output.contains(said)) << said.toStdString() << "\n" << output.toStdString();
  EXPECT_EQ(scalar("SELECT AccNameA FROM CardAcc WHERE AccNo = '2'").toString(), "c");
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid"), 2);
}

// In English, the window's captions are translated and every run ends with a summary in English.
TEST_F(BatchTest, EveryWindowRunEndsWithASummaryInTheWindowsLanguage) {
  setSetting("Language", "E");
  writeAccountsFile(
      {{"1", "a", ""}, {"11", "b", "1"}, {"12", "", "1"}},
      {{1, QDate(2003, 1, 1), "1", "x", 10.0, 0.0}, {1, QDate(2003, 1, 1), "404", "y", 0.0, 10.0}});
  auto& window = openWindow();
  window.CmdImport->click();
  window.CmdImportAll->click();
  window.CmdImportGaid->click();
  EXPECT_EQ(user().summaries(),
            QStringList({"The import is finished.\nImported: 1\nOverwritten: 0\nSkipped: "
                         "0\nRefused: 0",
                         "The import is finished.\nImported: 1\nOverwritten: 0\nSkipped: "
                         "0\nRefused: 1\n12",
                         "The journal import is finished.\nEntries: 1\nLines: 1\nLines left out "
                         "because their account is missing: 1\nIn entries: 1\nEntries that no "
                         "longer balance: 1"}));
}

}  // namespace
}  // namespace qalvoro::test
