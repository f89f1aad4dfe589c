// The journal import of the accounts window, and what the user can press
// while it runs.

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/accounts/AccountsTest.h"
#include "tests/support/RowTexts.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro::test {
namespace {

const std::vector<CardRow> kChart = {
    {"1", "assets", "", 2}, {"2", "liabilities", ""},    {"11", "fixed", "1", 1},
    {"12", "cash", "1"},    {"1101", "buildings", "11"},
};

const std::vector<GaidRow> kJournal = {
    {5, QDate(2003, 2, 1), "1101", "it's a building", 100.0, 0.0},
    {3, QDate(2003, 1, 2), "12", "first line", 40.0, 0.0},
    {5, QDate(2003, 2, 1), "2", "loan", 0.0, 100.0},
    {3, QDate(2003, 1, 5), "2", "second line, later", 0.0, 40.0, 2},
    {7, QDate(2003, 3, 1), "8888", "no such account", 50.0, 0.0},
    {7, QDate(2003, 3, 1), "8888", "no such account", 0.0, 50.0},
    {9, QDate(2003, 4, 1), "12", "null amount", QVariant(), 25.0},
};

class JournalImportTest : public AccountsTest {
 protected:
  FrmAcc_Restore& importChart(const std::vector<GaidRow>& journal) {
    writeAccountsFile(kChart, journal);
    auto& window = openWindow();
    window.CmdImportAll->click();
    return window;
  }
  const QString kLines =
      "SELECT g.GaidNo, a.AccNo, d.Details, d.BillDate, d.BillNo, d.BillID, d.Debit, d.Credit, "
      "d.BillType FROM GaidDetails d JOIN Gaid g ON g.ID = d.GaidID JOIN CardAcc a ON a.ID = "
      "d.AccNoID WHERE g.BranchID = 1 AND d.BillType = 8 ORDER BY g.GaidNo, d.ID";
  int accountId(const QString& accNo) {
    return count("SELECT ID FROM CardAcc WHERE AccNo = ? AND BranchID = 1", {accNo});
  }
};

TEST_F(JournalImportTest, ImportsEntriesRelinksLinesAndRefreshesTheParents) {
  auto& window = importChart(kJournal);
  MainConnection().execute(
      "INSERT INTO Gaid (BranchID, GaidNo, UserID, fDate, fTime, GaidType) "
      "VALUES (2, 3, -1, '2001/01/01', '09:00', 3)");
  MainConnection().execute(
      "INSERT INTO GaidDetails (GaidID, AccNoID, Details, BillType) "
      "SELECT ID, 0, 'branch 2', 8 FROM Gaid WHERE BranchID = 2");
  // A line of another document of the branch, under an entry the import does
  // not replace, whose document number equals an account number.
  MainConnection().execute(
      "INSERT INTO Gaid (BranchID, GaidNo, UserID, fDate, fTime, GaidType) "
      "VALUES (1, 500, -1, '2003/06/01', '10:00', 1)");
  const int otherDocument = count("SELECT ID FROM Gaid WHERE GaidNo = 500");
  MainConnection().execute(
      "INSERT INTO GaidDetails (GaidID, AccNoID, BillNo, BillType) VALUES (?, ?, '1101', 2)",
      {otherDocument, accountId("2")});
  EXPECT_TRUE(window.CmdImportGaid->isEnabled());
  // The run writes to the branch chosen at its start.
  user().onDoEvents([&] { window.CboBranch->setCurrentIndex(1); });
  window.CmdImportGaid->click();
  user().onDoEvents({});
  ASSERT_EQ(user().messages().size(), 1u) << "all accounts moved: only the replace question";
  EXPECT_EQ(user().messages()[0].style, 4 | 32 | 0x180000);

  EXPECT_EQ(RowTexts("SELECT GaidNo, UserID, fDate, fTime, GaidType, Debit, Credit FROM Gaid "
                     "WHERE BranchID = 1 AND GaidType = 3 ORDER BY GaidNo"),
            (QStringList{"3|-1|2003/01/02|00:00|3|40|40", "5|-1|2003/02/01|00:00|3|100|100",
                         "7|-1|2003/03/01|00:00|3|50|50", "9|-1|2003/04/01|00:00|3|0|25"}))
      << "the first line's date; totals count the lines without an account";
  EXPECT_EQ(RowTexts(kLines),
            (QStringList{"3|12|first line||0|0|40|0|8", "3|2|second line, later||0|0|0|40|8",
                         "5|1101|its a building||0|0|100|0|8", "5|2|loan||0|0|0|100|8",
                         "9|12|null amount||0|0|0|25|8"}));
  EXPECT_EQ(RowTexts("SELECT GaidNo, Details FROM Gaid g JOIN GaidDetails d ON d.GaidID = g.ID "
                     "WHERE g.BranchID = 2"),
            QStringList{"3|branch 2"})
      << "the same number in another branch stays";
  EXPECT_EQ(RowTexts("SELECT BillNo, AccNoID FROM GaidDetails WHERE GaidID = ?", {otherDocument}),
            QStringList{"1101|" + QString::number(accountId("2"))})
      << "lines of other documents keep their numbers";

  EXPECT_FALSE(scalar("SELECT SubCardsID FROM CardAcc WHERE AccNo = '1'").isNull())
      << "the parents' descendant lists are refreshed";
  EXPECT_FALSE(window.CmdImportGaid->isEnabled());
  EXPECT_FALSE(window.Frame1->isVisibleTo(&window));
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Gaid'").toBool());
}

// Each write of a run that replaces an entry fails in turn: the entry is
// either the old one or the new one, never a mix, and never lost.
TEST_F(JournalImportTest, AFailedStatementLeavesTheReplacedEntryWhole) {
  auto& window = importChart({{5, QDate(2003, 2, 1), "1101", "x", 100.0, 0.0},
                              {5, QDate(2003, 2, 1), "2", "y", 0.0, 100.0}});
  window.CmdImportGaid->click();
  MainConnection().execute("UPDATE Gaid SET fTime = '11:11', Debit = 1, Credit = 1");
  MainConnection().execute("UPDATE GaidDetails SET Details = 'old'");
  const QString entry =
      "SELECT g.fTime, g.Debit, g.Credit, d.Details, d.Debit AS LineDebit, d.Credit AS LineCredit "
      "FROM Gaid g "
      "JOIN GaidDetails d ON d.GaidID = g.ID ORDER BY d.ID";
  const QStringList before = RowTexts(entry);
  const QStringList after = {"00:00|100|100|x|100|0", "00:00|100|100|y|0|100"};
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  int failures = 0;
  for (int k = 0; window.CmdImportGaid->isEnabled(); ++k) {
    user().clearMessages();
    MainConnection().failNthWrite(k + 1);
    window.CmdImportGaid->click();
    MainConnection().failNthWrite(0);
    failures += user().messageTexts().filter("Err:").size();
    const QStringList written = RowTexts(entry);
    EXPECT_TRUE(written == before || written == after) << k << written.join(',').toStdString();
  }
  EXPECT_GE(failures, 7) << "lock, two deletes, header, lines and totals";
  EXPECT_EQ(RowTexts(entry), after);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid"), 1);
}

TEST_F(JournalImportTest, NoToAConfirmationWritesNothingAndAnEmptyJournalStillRefreshes) {
  auto& window = importChart({});
  user().queueAnswer(7);
  window.CmdImportGaid->click();
  EXPECT_TRUE(window.CmdImportGaid->isEnabled());
  EXPECT_TRUE(scalar("SELECT SubCardsID FROM CardAcc WHERE AccNo = '1'").isNull());
  window.CmdImportGaid->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid"), 0);
  EXPECT_FALSE(scalar("SELECT SubCardsID FROM CardAcc WHERE AccNo = '1'").isNull());
  EXPECT_FALSE(window.CmdImportGaid->isEnabled());
}

// What the user can press while a run yields to the message loop; the
// accounts are not imported yet.
class PressesDuringRunsTest : public JournalImportTest {
 protected:
  void SetUp() override {
    JournalImportTest::SetUp();
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
  EXPECT_EQ(user().messageTexts().filter("Err:").size(), 0)
      << user().messageTexts().join('|').toStdString();
}

TEST_F(PressesDuringRunsTest, AfterAStopTheEntriesButtonStartsNoSecondRunAndExitWaits) {
  auto& window = openWindow();
  window.CmdImportAll->click();
  window.show();
  atFirstYield([&] {
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible()) << "Esc does nothing while entries are imported";
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
  EXPECT_EQ(user().messages().back().style, 4 | 32 | 256 | 0x180000);
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
  EXPECT_EQ(entries(), 4) << "the journal run went on";
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
