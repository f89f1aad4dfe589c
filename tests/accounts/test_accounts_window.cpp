// The accounts window as a window: its captions in English and the
// overwrite prompt closed from its title bar.

#include <QPushButton>

#include "host/db/Recordset.h"
#include "host/dialogs/FrmOverWrite.h"
#include "tests/accounts/AccountsTest.h"

namespace qalvoro::test {
namespace {

class AccountsWindowTest : public AccountsTest {};

const std::vector<CardRow> kTwoAccounts = {
    {"1", QStringLiteral("الأصول"), ""},
    {"2", QStringLiteral("الخصوم"), ""},
};

TEST_F(AccountsWindowTest, EnglishCaptionsAreNeverTakenForArabicTexts) {
  setSetting("Language", "E");
  writeAccountsFile(kTwoAccounts, {});
  auto& window = openWindow();
  EXPECT_EQ(window.CmdOpenOldDB->text(), "Close");
  window.CmdOpenOldDB->click();
  EXPECT_EQ(window.CmdOpenOldDB->text(), "Open");
  EXPECT_EQ(window.Cmd_Exit->text(), "Exit  Esc");

  Recordset englishAsArabic;
  englishAsArabic.open(QStringLiteral("SELECT a.Ara FROM Lang a JOIN Lang b "
                                      "ON b.Eng = a.Ara AND b.Ara <> a.Ara"),
                       *globals().LangConnection, LockType::ReadOnly);
  EXPECT_EQ(englishAsArabic.recordCount(), 0) << englishAsArabic.text("Ara").toStdString();
}

TEST_F(AccountsWindowTest, ClosingTheOverwritePromptCancelsAfterAnEarlierYes) {
  writeAccountsFile(kTwoAccounts, {});
  MainConnection().execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather) "
      "VALUES (1, '1', 'old', '_'), (1, '2', 'old', '_')");
  auto& window = openWindow();
  user().queueWindow([](QWidget& prompt) { dynamic_cast<FrmOverWrite&>(prompt).CmdYes->click(); });
  window.CmdImport->click();
  ASSERT_EQ(scalar("SELECT AccNameA FROM CardAcc WHERE AccNo = '1'").toString(),
            QStringLiteral("الأصول"));

  user().queueWindow([](QWidget& prompt) { prompt.close(); });
  window.CmdImport->click();
  EXPECT_EQ(scalar("SELECT AccNameA FROM CardAcc WHERE AccNo = '2'").toString(), "old")
      << "a closed prompt answers Cancel";
  EXPECT_EQ(accountsLeft(window), 1) << "the account stays to be imported";
  EXPECT_EQ(window.overwriteAnswer(), -1);
}

}  // namespace
}  // namespace qalvoro::test
