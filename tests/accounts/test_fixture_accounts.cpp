// End to end on the shared version-1 accounts folder: branch 1 with its
// journal into an empty version-2 branch.

#include <QDir>
#include <QFile>
#include <QPushButton>

#include "accounts/JournalImport.h"
#include "host/db/Recordset.h"
#include "tests/accounts/AccountsTest.h"
#include "tests/support/Fixtures.h"
#include "tests/support/RowTexts.h"
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

  // Accounts and their fields: all of branch 1 but the orphan.
  EXPECT_EQ(RowTexts("SELECT AccNo, AccNameA, ffather, StartDebit, StartCredit, MaxBalance, "
                     "debit, credit, ftype FROM CardAcc WHERE BranchID = 1 ORDER BY AccNo"),
            RowTexts("SELECT رقم_الحساب, TRIM(اسم_الحساب), CASE WHEN COALESCE(ffather, '') = '' "
                     "THEN '_' ELSE ffather END, افتتاحي_مدين, افتتاحي_دائن, "
                     "COALESCE(الحد_الاعلى, 0), مدين, دائن, ftype FROM Card WHERE رقم_الفرع = 1 "
                     "AND رقم_الحساب <> '9901' ORDER BY رقم_الحساب",
                     {}, truth_));
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
  const QStringList accounts = RowTexts("SELECT AccNo FROM CardAcc WHERE BranchID = 1");
  QStringList expected;
  for (const QString& line :
       RowTexts("SELECT رقم_الحساب, REPLACE(البيان, '''', ''), COALESCE(مدين, 0), "
                "COALESCE(دائن, 0) FROM Gaid",
                {}, truth_)) {
    if (accounts.contains(line.section('|', 0, 0))) expected << line;
  }
  QStringList written = RowTexts(
      "SELECT c.AccNo, d.Details, d.Debit, d.Credit FROM GaidDetails d JOIN CardAcc c "
      "ON c.ID = d.AccNoID WHERE d.BillType = 8 AND d.BillNo = '0'");
  expected.sort();
  written.sort();
  EXPECT_EQ(written, expected);
  EXPECT_EQ(count("SELECT COUNT(*) FROM GaidDetails"), expected.size());
}

INSTANTIATE_TEST_SUITE_P(Engines, FixtureAccountsTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
