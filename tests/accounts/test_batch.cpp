// The unattended accounts run of the host program.

#include "tests/accounts/AccountsTest.h"

namespace qalvoro::test {
namespace {

class BatchTest : public AccountsTest {
 protected:
  // Runs qalvoro-host --batch accounts; returns its exit code and output.
  std::pair<int, QString> runBatch(const QStringList& extra) {
    return runHost(QStringList{"--batch", "accounts", "--app-path", appPath(), "--settings",
                               "Batch", "--db", version2Path(), "--v1-folder", folder(),
                               "--v1-file", "acc.mdb", "--old-branch", "1", "--branch", "1"} +
                   extra);
  }
};

TEST_F(BatchTest, ImportsAccountsAndJournalAndSaysWhyItEnded) {
  writeAccountsFile({{"1", "a", "", 1}, {"11", "b", "1"}, {"2", "c", ""}},
                    {{1, QDate(2003, 1, 1), "11", "x", 10.0, 0.0},
                     {1, QDate(2003, 1, 1), "2", "y", 0.0, 10.0},
                     {2, QDate(2003, 1, 2), "404", "z", 5.0, 0.0},
                     {2, QDate(2003, 1, 2), "2", "z", 0.0, 5.0}});
  MainConnection().execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather) VALUES (1, '2', 'old', '_')");
  auto [code, output] = runBatch({"--journal", "--overwrite", "yes-all"});
  EXPECT_EQ(code, 0) << output.toStdString();
  EXPECT_TRUE(output.contains("summary: imported 2, overwritten 1, skipped 0, refused 0"))
      << output.toStdString();
  EXPECT_TRUE(
      output.contains("summary: entries 2, lines 3, lines without account 1\n"
                      "left out: entry 2: 1 lines without account; the entry no longer "
                      "balances"))
      << output.toStdString();
  // The window's own summary, in its language, names the entry.
  EXPECT_TRUE(
      output.contains(QStringLiteral("message [journal]: انتهى استيراد القيود. القيود: 2 "
                                     "السطور: 3 سطور تركت لأن حسابها غير موجود: 1 في "
                                     "القيود: 2 قيود لم تعد متوازنة: 2")))
      << output.toStdString();
  EXPECT_TRUE(output.contains("ended: every row was processed"));
  EXPECT_EQ(scalar("SELECT AccNameA FROM CardAcc WHERE AccNo = '2'").toString(), "c");
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid"), 2);
}

TEST_F(BatchTest, ARuleThatStopsTheRunGivesItsOwnExitCodeAfterTheJournal) {
  writeAccountsFile({{"1", "a", ""}, {"9901", "orphan", "99"}},
                    {{1, QDate(2003, 1, 1), "1", "x", 10.0, 0.0},
                     {1, QDate(2003, 1, 1), "9901", "y", 0.0, 10.0}});
  auto [code, output] = runBatch({"--journal"});
  EXPECT_EQ(code, 3) << output.toStdString();
  EXPECT_TRUE(output.contains("summary: imported 1, overwritten 0, skipped 0, refused 0"))
      << output.toStdString();
  EXPECT_TRUE(output.contains("summary: entries 1, lines 1, lines without account 1"))
      << "the journal is imported after the stopped accounts run";
  EXPECT_TRUE(output.contains("ended: stopped at account 9901: parent account 99 does not exist"))
      << output.toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid"), 1);

  auto [missing, said] = runBatch({"--old-branch", "7"});
  EXPECT_EQ(missing, 1) << said.toStdString();
  EXPECT_TRUE(said.contains("no version-1 branch 7")) << said.toStdString();
}

}  // namespace
}  // namespace qalvoro::test
