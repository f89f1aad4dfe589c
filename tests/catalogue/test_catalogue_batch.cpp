// The unattended catalogue run of the host program.

#include "host/db/Recordset.h"
#include "tests/catalogue/CatalogueTest.h"
#include "tests/support/RowTexts.h"

namespace qalvoro::test {
namespace {

class CatalogueBatchTest : public CatalogueTest {
 protected:
  // Runs qalvoro-host --batch catalogue on branch 1; returns its exit code
  // and output.
  std::pair<int, QString> runBatch(const QStringList& options) {
    return runHost(QStringList{"--batch", "catalogue", "--app-path", appPath(), "--settings",
                               "Batch", "--db", version2Path(), "--v1-folder", folder(),
                               "--old-branch", "1", "--branch", "1"} +
                   options);
  }

  // Rows of a version-1 table of branch 1 left in the working copy the run
  // used.
  int leftInWorkingCopy(const QString& table) {
    Connection copy;
    copy.open(appPath() + "work/tmp_44d2.tmp");
    Recordset rows;
    rows.open("SELECT COUNT(*) AS n FROM " + table + " WHERE رقم_الفرع = 1", copy);
    return rows.value("n").toInt();
  }
};

TEST_F(CatalogueBatchTest, ItemsAreImportedWithTheControlsTheOptionsName) {
  StockRows rows;
  rows.items = {{.number = "1", .classification = QStringLiteral("شركة أ")},
                {.number = "2", .classification = QStringLiteral("شركة ب")}};
  rows.sales = {{.number = 1, .date = QDateTime(QDate(2003, 5, 1), QTime())},
                {.number = 2, .date = QDateTime(QDate(2003, 6, 1), QTime())}};
  writeStockFile(rows);
  auto [code, output] =
      runBatch({"--kind", "items", "--classification", "provider", "--unit", "2", "--to",
                "2003-06-01", "--cashier", "120101", "--renumber-from", "100"});
  EXPECT_EQ(code, 0) << output.toStdString();
  EXPECT_TRUE(output.contains("summary: imported 2, overwritten 0, skipped 0, refused 0"))
      << output.toStdString();
  EXPECT_TRUE(output.contains("ended: every row was processed"));
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE U1 = 2 AND ProviderID > 0"), 2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Provider WHERE BranchID = 1"), 2);
  EXPECT_EQ(leftInWorkingCopy("ف_مبيعات"), 1) << "the date filter ran first";
}

TEST_F(CatalogueBatchTest, VouchersGoToTheCashierOfTheOptions) {
  StockRows rows;
  rows.vouchers = {{.number = 4, .kind = 1}, {.number = 4, .kind = 1, .partyKind = 1}};
  writeStockFile(rows);
  const QStringList parents = {"--customers-account", "1203", "--providers-account", "21"};
  for (const char* cashier : {"999", "1203"}) {
    auto [code, output] =
        runBatch(QStringList{"--kind", "vouchers", "--cashier", cashier} + parents);
    EXPECT_EQ(code, 1) << output.toStdString();
    EXPECT_TRUE(output.contains(
        QStringLiteral("ended: failed: no cashier %1 in version-2 branch 1").arg(cashier)))
        << output.toStdString();
  }
  auto [code, output] = runBatch(
      QStringList{"--kind", "vouchers", "--cashier", "120102", "--auto-voucher-numbers"} + parents);
  EXPECT_EQ(code, 0) << output.toStdString();
  EXPECT_TRUE(output.contains("summary: imported 2, overwritten 0, skipped 0, refused 0"))
      << output.toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt r JOIN CardAcc a ON a.ID = r.AccIDTo "
                  "WHERE a.AccNo = '120102' AND r.ReceiptNo IN (1, 2)"),
            2);
  EXPECT_EQ(leftInWorkingCopy("السندات"), 0);
}

TEST_F(CatalogueBatchTest, AllRunsEveryKindInOrderAndEndsWithTheWorst) {
  StockRows rows;
  rows.items = {{.number = "1"}};
  rows.customers = {{.number = 1, .name = QStringLiteral("أ")}};
  rows.providers = {{.number = 1, .name = QStringLiteral("ب")}};
  rows.vouchers = {{.number = 1, .kind = 1}};
  writeStockFile(rows);
  auto [stopped, why] = runBatch({"--kind", "all", "--customers-account", "1203"});
  EXPECT_EQ(stopped, 3) << why.toStdString();
  const QString parentMissing =
      "stopped at provider 1: parent account '' is not an account of the version-2 branch";
  EXPECT_TRUE(why.contains(
      "summary items: imported 1, overwritten 0, skipped 0, refused 0; every row was processed\n"
      "summary customers: imported 1, overwritten 0, skipped 0, refused 0; every row was "
      "processed\nsummary providers: imported 0, overwritten 0, skipped 0, refused 0; " +
      parentMissing +
      "\nsummary sales: not run\nsummary purchases: not run\nsummary vouchers: not run\nended: " +
      parentMissing))
      << why.toStdString();

  auto [code, output] =
      runBatch({"--kind", "all", "--customers-account", "1203", "--providers-account", "21",
                "--cashier", "120101", "--overwrite", "yes-all", "--provider-accounts"});
  EXPECT_EQ(code, 0) << output.toStdString();
  EXPECT_TRUE(output.contains(
      "summary items: imported 0, overwritten 1, skipped 0, refused 0; every row was processed\n"
      "summary customers: imported 0, overwritten 1, skipped 0, refused 0; every row was "
      "processed\nsummary providers: imported 1, overwritten 0, skipped 0, refused 0; every row "
      "was processed\nsummary sales: imported 0, overwritten 0, skipped 0, refused 0; every row "
      "was processed\nsummary purchases: imported 0, overwritten 0, skipped 0, refused 0; every "
      "row was processed\nsummary vouchers: imported 1, overwritten 0, skipped 0, refused 0; every "
      "row was processed\nended: every row was processed"))
      << output.toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt r JOIN ReceiptDetails d ON d.ReceiptID = r.ID "
                  "JOIN Customer c ON c.AccNoID = d.From_AccNoID WHERE c.fNo = 1"),
            1);
  EXPECT_EQ(RowTexts("SELECT p.AName, a.AccNo FROM Provider p JOIN CardAcc a ON a.ID = p.AccNoID"),
            QStringList{QStringLiteral("ب|21001")});
}

TEST_F(CatalogueBatchTest, WrongOptionsAreRefusedBeforeAnythingRuns) {
  writeStockFile({});
  for (const QStringList& options :
       {QStringList{"--kind", "returns"}, QStringList{"--kind", "items", "--from", "2003-13-01"},
        QStringList{"--kind", "items", "--classification", "both"}, QStringList{},
        QStringList{"--kind", "items", "--unit", "piece"}}) {
    auto [code, output] = runBatch(options);
    EXPECT_EQ(code, 2) << options.join(' ').toStdString() << '\n' << output.toStdString();
  }
  auto [code, output] = runBatch({"--kind", "items", "--unit", "77"});
  EXPECT_EQ(code, 1) << output.toStdString();
  EXPECT_TRUE(output.contains("ended: failed: no unit 77")) << output.toStdString();
  auto [ignored, said] =
      runBatch({"--kind", "customers", "--unit", "77", "--customers-account", "1203"});
  EXPECT_EQ(ignored, 0) << "an option the kind does not use is ignored\n" << said.toStdString();
}

}  // namespace
}  // namespace qalvoro::test
