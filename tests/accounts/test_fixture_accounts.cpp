// End to end on the shared version-1 accounts folder: branch 1 with its
// journal into an empty version-2 branch.

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <map>
#include <set>

#include "accounts/JournalImport.h"
#include "host/db/Recordset.h"
#include "tests/accounts/AccountsTest.h"
#include "tests/support/Fixtures.h"
#include "v1source/convert/V1Converter.h"

namespace qalvoro::test {
namespace {

class FixtureAccountsTest : public AccountsTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
  void SetUp() override {
    AccountsTest::SetUp();
    source_ = QDir(FixturesFolder()).filePath("v1/accounts");
    if (!QFile::exists(QDir(source_).filePath("ACC2003.MDB"))) {
      GTEST_SKIP() << "the shared version-1 fixtures are not at " << source_.toStdString();
    }
    // The version-1 truth, read through a converted copy of the file.
    V1Converter().convert(QDir(source_).filePath("ACC2003.MDB"), appPath() + "truth.sqlite");
    truth_.open(appPath() + "truth.sqlite");
  }

  QString source_;
  Connection truth_;
};

TEST_P(FixtureAccountsTest, ImportsBranchOneWithItsJournal) {
  auto& window = openWindow(source_, "ACC2003.MDB", 1);
  window.CmdImportAll->click();
  ASSERT_EQ(user().messageTexts(), QStringList{QStringLiteral("الحساب الرئيسي غير موجود")})
      << "the orphan 9901 stops the run";
  user().queueAnswer(6);  // some accounts have not been moved: go on
  window.CmdImportGaid->click();

  // Accounts and their fields.
  Recordset card;
  card.open("SELECT * FROM Card WHERE رقم_الفرع = 1", truth_);
  int accounts = 0;
  for (; !card.eof(); card.moveNext()) {
    const QString accNo = card.text("رقم_الحساب");
    Recordset row;
    row.open("SELECT * FROM CardAcc WHERE BranchID = 1 AND AccNo = ?", MainConnection(),
             LockType::ReadOnly, {accNo});
    if (accNo == "9901") {
      EXPECT_TRUE(row.eof());
      continue;
    }
    ++accounts;
    ASSERT_FALSE(row.eof()) << accNo.toStdString();
    EXPECT_EQ(row.text("AccNameA"), card.text("اسم_الحساب").trimmed());
    EXPECT_EQ(row.text("ffather"), card.isNull("ffather") || card.text("ffather").isEmpty()
                                       ? QStringLiteral("_")
                                       : card.text("ffather"));
    EXPECT_DOUBLE_EQ(row.value("StartDebit").toDouble(), card.value("افتتاحي_مدين").toDouble());
    EXPECT_DOUBLE_EQ(row.value("StartCredit").toDouble(), card.value("افتتاحي_دائن").toDouble());
    EXPECT_DOUBLE_EQ(row.value("MaxBalance").toDouble(), card.value("الحد_الاعلى").toDouble());
    EXPECT_EQ(row.value("debit").toInt(), card.value("مدين").toInt());
    EXPECT_EQ(row.value("credit").toInt(), card.value("دائن").toInt());
    EXPECT_EQ(row.value("ftype").toInt(), card.value("ftype").toInt());
  }
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE BranchID = 1"), accounts);
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc a WHERE a.Haves <> (SELECT COUNT(*) FROM CardAcc c "
                  "WHERE c.BranchID = a.BranchID AND c.ffather = a.AccNo)"),
            0);

  // Journal headers carry the version-1 totals and the first line's date.
  Recordset entries;
  entries.open(
      "SELECT رقم_القيد AS entry, SUM(COALESCE(مدين, 0)) AS debit, "
      "SUM(COALESCE(دائن, 0)) AS credit FROM Gaid GROUP BY رقم_القيد",
      truth_);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid WHERE BranchID = 1"), entries.recordCount());
  for (; !entries.eof(); entries.moveNext()) {
    const int entry = entries.value("entry").toInt();
    Recordset header;
    header.open("SELECT * FROM Gaid WHERE BranchID = 1 AND GaidNo = ?", MainConnection(),
                LockType::ReadOnly, {entry});
    ASSERT_FALSE(header.eof()) << entry;
    EXPECT_NEAR(header.value("Debit").toDouble(), entries.value("debit").toDouble(), 1e-6);
    EXPECT_NEAR(header.value("Credit").toDouble(), entries.value("credit").toDouble(), 1e-6);
    Recordset first;
    first.open("SELECT التاريخ FROM Gaid WHERE رقم_القيد = ? ORDER BY rowid LIMIT 1", truth_,
               LockType::ReadOnly, {entry});
    EXPECT_EQ(header.text("fDate"), Version1DateText(first.value("التاريخ")));
  }

  // Lines: those whose account exists, pointing at it, without apostrophes,
  // their numbers cleared by the relinking.
  std::multiset<QString> expected;
  Recordset lines;
  lines.open("SELECT * FROM Gaid", truth_);
  for (; !lines.eof(); lines.moveNext()) {
    const QString accNo = lines.text("رقم_الحساب");
    if (count("SELECT COUNT(*) FROM CardAcc WHERE BranchID = 1 AND AccNo = ?", {accNo}) == 0) {
      continue;
    }
    expected.insert(QStringLiteral("%1|%2|%3|%4")
                        .arg(accNo, lines.text("البيان").remove('\''))
                        .arg(lines.value("مدين").toDouble())
                        .arg(lines.value("دائن").toDouble()));
  }
  std::multiset<QString> written;
  Recordset details;
  details.open(
      "SELECT c.AccNo, d.Details, d.Debit, d.Credit, d.BillNo FROM GaidDetails d "
      "JOIN CardAcc c ON c.ID = d.AccNoID WHERE d.BillType = 8",
      MainConnection());
  for (; !details.eof(); details.moveNext()) {
    EXPECT_EQ(details.text("BillNo"), "0");
    written.insert(QStringLiteral("%1|%2|%3|%4")
                       .arg(details.text("AccNo"), details.text("Details"))
                       .arg(details.value("Debit").toDouble())
                       .arg(details.value("Credit").toDouble()));
  }
  EXPECT_EQ(written, expected);
  EXPECT_EQ(count("SELECT COUNT(*) FROM GaidDetails"), static_cast<int>(expected.size()));

  // Sub-account lists as the refresh of every parent leaves them: each
  // parent rewrites its ancestors (a top-level parent itself) with all their
  // descendants' IDs.
  struct Account {
    int id;
    QString father;
  };
  std::map<QString, Account> chart;
  Recordset all;
  all.open("SELECT ID, AccNo, ffather, Haves FROM CardAcc WHERE BranchID = 1", MainConnection());
  std::vector<QString> parents;
  for (; !all.eof(); all.moveNext()) {
    chart[all.text("AccNo")] = {all.value("ID").toInt(), all.text("ffather")};
    if (all.value("Haves").toInt() > 0) parents.push_back(all.text("AccNo"));
  }
  const auto descendants = [&](const QString& top) {
    std::set<int> ids;
    for (const auto& [accNo, account] : chart) {
      for (QString up = account.father; chart.count(up); up = chart[up].father) {
        if (up == top) ids.insert(account.id);
      }
    }
    if (ids.empty()) ids.insert(chart[top].id);
    QStringList text;
    for (int id : ids) text << QString::number(id);
    return text.join(',');
  };
  std::map<QString, QString> refreshed;
  for (const QString& parent : parents) {
    QString up = chart[parent].father;
    if (up == "_") refreshed[parent] = descendants(parent);
    for (; chart.count(up); up = chart[up].father) refreshed[up] = descendants(up);
  }
  for (const auto& [accNo, account] : chart) {
    const QVariant stored =
        scalar("SELECT SubCardsID FROM CardAcc WHERE BranchID = 1 AND AccNo = ?", {accNo});
    if (refreshed.count(accNo)) {
      EXPECT_EQ(stored.toString(), refreshed[accNo]) << accNo.toStdString();
    } else {
      EXPECT_TRUE(stored.isNull()) << accNo.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, FixtureAccountsTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
