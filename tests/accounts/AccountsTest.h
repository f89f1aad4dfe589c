#pragma once

#include <QDate>
#include <QVariant>
#include <vector>

#include "accounts/FrmAcc_Restore.h"
#include "tests/host/HostTest.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {

// A version-1 account (a row of Card).
struct CardRow {
  QString accNo;
  QString name;
  QString father;
  int haves = 0;
  int branch = 1;
  double startDebit = 0;
  double startCredit = 0;
  QVariant maxBalance = {};
  int debit = 0;
  int credit = 0;
  int type = 0;
};

// A version-1 journal line (a row of Gaid).
struct GaidRow {
  int entry = 0;
  QDate date;
  QString accNo;
  QString text;
  QVariant debit;
  QVariant credit;
  int branch = 1;
};

// The accounts window on a version-1 accounts folder written for the test
// and an empty version-2 database with two branches.
class AccountsTest : public HostTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes ACC.MDB with these rows into a fresh folder (without General.MDB,
  // so the branches are Card's numbers). singleAmounts: a file as some
  // installations left it, with Card's amounts in Single columns and no Gaid.
  void writeAccountsFile(const std::vector<CardRow>& cards, const std::vector<GaidRow>& lines,
                         bool singleAmounts = false);
  // Loads the window, opens the file and chooses the version-1 branch.
  FrmAcc_Restore& openWindow(const QString& folder = {}, const QString& file = "ACC.MDB",
                             int version1Branch = 1);
  QString folder() const { return folder_; }
  // The version-2 database: an SQLite file unless version2Engine() says
  // otherwise.
  QString version2Path() const;
  virtual Engine version2Engine() const { return Engine::SQLite; }

  // The version-1 accounts still in the working copy of the branch.
  int accountsLeft(FrmAcc_Restore& window);

 private:
  QString folder_;
  std::unique_ptr<TestDatabase> server_;  // a PostgreSQL version-2 database
};

}  // namespace qalvoro::test
