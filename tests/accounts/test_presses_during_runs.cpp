// What the user can press in the accounts window while a run yields to the
// message loop.

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "tests/accounts/AccountsTest.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro::test {
namespace {

const std::vector<CardRow> kChart = {
    {"1", "assets", "", 2}, {"2", "liabilities", ""},    {"11", "fixed", "1", 1},
    {"12", "cash", "1"},    {"1101", "buildings", "11"},
};

// Three entries of two lines each: a run yields inside every entry.
const std::vector<GaidRow> kJournal = {
    {1, QDate(2003, 1, 1), "12", "a", 10.0, 0.0},  {1, QDate(2003, 1, 1), "2", "a", 0.0, 10.0},
    {2, QDate(2003, 1, 2), "12", "b", 20.0, 0.0},  {2, QDate(2003, 1, 2), "2", "b", 0.0, 20.0},
    {3, QDate(2003, 1, 3), "1101", "c", 5.0, 0.0}, {3, QDate(2003, 1, 3), "2", "c", 0.0, 5.0},
};

class PressesDuringRunsTest : public AccountsTest {
 protected:
  void SetUp() override {
    AccountsTest::SetUp();
    writeAccountsFile(kChart, kJournal);
  }
  // Runs press once, at the first yield of the next run.
  void atFirstYield(std::function<void()> press) {
    user().onDoEvents([this, press = std::move(press), pressed = false]() mutable {
      if (pressed) return;
      pressed = true;
      press();
    });
  }
  int entries() { return count("SELECT COUNT(*) FROM Gaid"); }
  int unlinkedLines() { return count("SELECT COUNT(*) FROM GaidDetails WHERE BillNo <> '0'"); }
};

TEST_F(PressesDuringRunsTest, ClosingOrReopeningTheFileEndsTheJournalRunFirst) {
  auto& window = openWindow();
  window.CmdImportAll->click();
  atFirstYield([&] {
    window.CmdOpenOldDB->click();
    EXPECT_TRUE(window.source().isOpen()) << "the file stays open until the run has ended";
  });
  window.CmdImportGaid->click();
  EXPECT_EQ(entries(), 1) << "the run ends after the entry in hand";
  EXPECT_EQ(unlinkedLines(), 0) << "and still relinks";
  EXPECT_FALSE(window.source().isOpen());
  EXPECT_EQ(window.CboOldBranch->count(), 0);
  EXPECT_EQ(window.CmdImportGaid->text(), QStringLiteral("استيراد القيود"));

  // Closing and reopening: a fresh working copy, with every entry again.
  window.CmdOpenOldDB->click();
  user().clearMessages();
  atFirstYield([&] {
    window.CmdOpenOldDB->click();
    window.CmdOpenOldDB->click();
  });
  window.CmdImportGaid->click();
  EXPECT_EQ(entries(), 1);
  EXPECT_TRUE(window.source().isOpen());
  EXPECT_TRUE(window.CmdImportGaid->isEnabled()) << "reopening enables the entries button";
  user().onDoEvents({});
  window.CmdImportGaid->click();
  EXPECT_EQ(entries(), 3);
  EXPECT_EQ(count("SELECT COUNT(*) FROM GaidDetails"), 6);
  EXPECT_EQ(user().messageTexts().filter("Err:").size(), 0)
      << user().messageTexts().join('|').toStdString();
}

TEST_F(PressesDuringRunsTest, AfterAStopTheEntriesButtonStartsNoSecondRunAndExitWaits) {
  auto& window = openWindow();
  window.CmdImportAll->click();
  atFirstYield([&] {
    user().queueAnswer(6);  // sure to stop: yes
    window.CmdImportGaid->click();
    EXPECT_EQ(window.CmdImportGaid->text(), QStringLiteral("استيراد القيود"));
    window.CmdImportGaid->click();
    window.Cmd_Exit->click();
    EXPECT_TRUE(window.isLoaded()) << "the window stays until the run has ended";
    EXPECT_TRUE(window.source().isOpen());
  });
  window.CmdImportGaid->click();
  EXPECT_EQ(user().messageTexts(),
            QStringList({QStringLiteral("في حالة وجود قيد بنفس الرقم سيتم إستبداله\r\nهل تريد "
                                        "الإستمرار ؟"),
                         QStringLiteral("هل بالتأكيد التوقف ؟")}))
      << "the second press asks nothing and starts nothing";
  EXPECT_EQ(user().beeps(), 1) << "it is refused with a beep";
  EXPECT_EQ(entries(), 1);
  EXPECT_EQ(unlinkedLines(), 0);
  EXPECT_FALSE(window.isLoaded()) << "exit is carried out once the run has ended";
  EXPECT_FALSE(window.source().isOpen());
}

TEST_F(PressesDuringRunsTest, ImportingAnAccountInsideAJournalEntryIsRefused) {
  auto& window = openWindow();
  for (int i = 0; i < 4; ++i) window.CmdImport->click();
  ASSERT_EQ(window.txtAccNo->text(), "1101");
  atFirstYield([&] {  // between the lines of the first entry
    window.CmdImport->click();
    window.CmdImportAll->click();
  });
  window.CmdImportGaid->click();  // some accounts have not moved: go on
  EXPECT_EQ(user().messageTexts().filter("Err:").size(), 0)
      << user().messageTexts().join('|').toStdString();
  EXPECT_EQ(user().beeps(), 2);
  EXPECT_EQ(entries(), 3) << "the journal run went on";
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE AccNo = '1101'"), 0);
  EXPECT_EQ(accountsLeft(window), 1);

  window.CmdImport->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE AccNo = '1101'"), 1)
      << "after the run the account imports";
}

TEST_F(PressesDuringRunsTest, DuringImportAllTheEntriesButtonIsRefusedAndClosingWaits) {
  auto& window = openWindow();
  window.show();
  int yields = 0;
  user().onDoEvents([&] {
    if (++yields != 2) return;  // one account is in
    window.CmdImportGaid->click();
    window.close();
    EXPECT_TRUE(window.isVisible()) << "the window stays until the run has ended";
  });
  window.CmdImportAll->click();
  EXPECT_TRUE(user().messages().empty()) << user().messageTexts().join('|').toStdString();
  EXPECT_EQ(user().beeps(), 1);
  EXPECT_EQ(entries(), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc"), 1) << "the run ends before the next account";
  EXPECT_EQ(accountsLeft(window), 4);
  EXPECT_FALSE(window.isVisible()) << "then the window closes";
}

}  // namespace
}  // namespace qalvoro::test
