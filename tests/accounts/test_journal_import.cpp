// The journal import of the accounts window.

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "tests/accounts/AccountsTest.h"

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
  int accountId(const QString& accNo) {
    return count("SELECT ID FROM CardAcc WHERE AccNo = ? AND BranchID = 1", {accNo});
  }
};

TEST_F(JournalImportTest, ImportsEntriesRelinksLinesAndRefreshesTheParents) {
  auto& window = importChart(kJournal);
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
  window.CmdImportGaid->click();
  ASSERT_EQ(user().messages().size(), 1u) << "all accounts moved: only the replace question";
  EXPECT_EQ(user().messages()[0].text,
            QStringLiteral("في حالة وجود قيد بنفس الرقم سيتم إستبداله\r\nهل تريد الإستمرار ؟"));
  EXPECT_EQ(user().messages()[0].style, 4 | 32 | 0x180000);

  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid WHERE BranchID = 1"), 5);
  EXPECT_EQ(scalar("SELECT fDate FROM Gaid WHERE GaidNo = 3").toString(), "2003/01/02")
      << "the entry's date is its first line's";
  EXPECT_EQ(scalar("SELECT fTime FROM Gaid WHERE GaidNo = 3").toString(), "00:00");
  EXPECT_EQ(count("SELECT GaidType FROM Gaid WHERE GaidNo = 3"), 3);
  EXPECT_EQ(count("SELECT UserID FROM Gaid WHERE GaidNo = 3"), -1);
  EXPECT_EQ(scalar("SELECT Debit FROM Gaid WHERE GaidNo = 7").toDouble(), 50);
  EXPECT_EQ(scalar("SELECT Credit FROM Gaid WHERE GaidNo = 7").toDouble(), 50);
  EXPECT_EQ(count("SELECT COUNT(*) FROM GaidDetails d JOIN Gaid g ON g.ID = d.GaidID "
                  "WHERE g.GaidNo = 7"),
            0)
      << "lines without an account are not written; the totals count them";
  EXPECT_EQ(scalar("SELECT Debit FROM Gaid WHERE GaidNo = 9").toDouble(), 0);
  EXPECT_EQ(scalar("SELECT Credit FROM Gaid WHERE GaidNo = 9").toDouble(), 25);
  EXPECT_EQ(scalar("SELECT Details FROM GaidDetails WHERE Debit = 100").toString(),
            "its a building");
  EXPECT_EQ(count("SELECT AccNoID FROM GaidDetails WHERE Debit = 100"), accountId("1101"));
  EXPECT_EQ(count("SELECT COUNT(*) FROM GaidDetails WHERE BillType = 8"), 5);
  EXPECT_EQ(count("SELECT COUNT(*) FROM GaidDetails WHERE BillType = 8 AND BillNo <> '0'"), 0);
  EXPECT_EQ(scalar("SELECT BillNo FROM GaidDetails WHERE GaidID = ?", {otherDocument}).toString(),
            "1101")
      << "lines of other documents keep their numbers";
  EXPECT_EQ(count("SELECT AccNoID FROM GaidDetails WHERE GaidID = ?", {otherDocument}),
            accountId("2"));

  // Parents with sub-accounts are refreshed through their ancestors: "1"
  // lists every descendant; "11", whose parent is "1", is left as it was.
  const QStringList ids = {QString::number(accountId("11")), QString::number(accountId("12")),
                           QString::number(accountId("1101"))};
  QStringList sorted = ids;
  std::sort(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return a.toInt() < b.toInt(); });
  EXPECT_EQ(scalar("SELECT SubCardsID FROM CardAcc WHERE AccNo = '1'").toString(),
            sorted.join(','));
  EXPECT_TRUE(scalar("SELECT SubCardsID FROM CardAcc WHERE AccNo = '11'").isNull());

  EXPECT_FALSE(window.CmdImportGaid->isEnabled());
  EXPECT_FALSE(window.Frame1->isVisibleTo(&window));
  EXPECT_EQ(window.CmdImportGaid->text(), QStringLiteral("استيراد القيود"));
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Gaid'").toBool());

  // Importing the same file again replaces every entry.
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  user().queueAnswer(6);  // some accounts have not been moved: import anyway
  window.CmdImportGaid->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid WHERE BranchID = 1"), 5);
  EXPECT_EQ(count("SELECT COUNT(*) FROM GaidDetails WHERE BillType = 8"), 5);
}

TEST_F(JournalImportTest, NoToAConfirmationWritesNothing) {
  auto& window = importChart(kJournal);
  user().queueAnswer(7);
  window.CmdImportGaid->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid"), 0);
  EXPECT_TRUE(window.CmdImportGaid->isEnabled());
}

TEST_F(JournalImportTest, StoppingStillRelinksAndEscapeIsIgnoredDuringARun) {
  auto& window = importChart(kJournal);
  bool asked = false;
  user().onDoEvents([&] {
    if (asked || !window.Frame1->isVisibleTo(&window)) return;
    asked = true;
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible()) << "Esc does nothing while entries are imported";
    user().queueAnswer(6);
    window.CmdImportGaid->click();
  });
  window.show();
  window.CmdImportGaid->click();
  user().onDoEvents({});
  EXPECT_EQ(user().messages().back().text, QStringLiteral("هل بالتأكيد التوقف ؟"));
  EXPECT_EQ(user().messages().back().style, 4 | 32 | 256 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid"), 1) << "the entry in hand is finished";
  EXPECT_EQ(count("SELECT COUNT(*) FROM GaidDetails WHERE BillNo <> '0'"), 0)
      << "the relinking still runs";
  EXPECT_FALSE(window.CmdImportGaid->isEnabled());
}

TEST_F(JournalImportTest, ARunWritesToTheBranchChosenAtItsStart) {
  auto& window = importChart(kJournal);
  user().onDoEvents([&] { window.CboBranch->setCurrentIndex(1); });
  window.CmdImportGaid->click();
  user().onDoEvents({});
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid WHERE BranchID = 1"), 4);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid WHERE BranchID = 2"), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM GaidDetails WHERE BillNo <> '0'"), 0);
  EXPECT_FALSE(scalar("SELECT SubCardsID FROM CardAcc WHERE AccNo = '1'").isNull())
      << "the descendant lists of the run's branch are refreshed";
}

TEST_F(JournalImportTest, AnEmptyJournalStillRefreshesAndDisablesTheButton) {
  auto& window = importChart({});
  window.CmdImportGaid->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid"), 0);
  EXPECT_FALSE(scalar("SELECT SubCardsID FROM CardAcc WHERE AccNo = '1'").isNull());
  EXPECT_FALSE(window.CmdImportGaid->isEnabled());
}

}  // namespace
}  // namespace qalvoro::test
