// The unattended catalogue and whole-branch runs of the host program and
// the reconciliation of a migrated branch (qalvoro-host --verify).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

#include "tests/catalogue/CatalogueTest.h"
#include "tests/posting/PostingTest.h"
#include "tests/support/Fixtures.h"
#include "v1source/source/Version1Files.h"

namespace qalvoro::test {
namespace {

class CatalogueBatchTest : public CatalogueEngineTest {
 protected:
  void expectRun(const QStringList& options, int code, const QString& said) {
    auto [exit, output] =
        runOnBranch1(QStringList{"--batch", "catalogue", "--v1-folder", folder()} + options);
    EXPECT_EQ(exit, code) << options.join(' ').toStdString() << '\n' << output.toStdString();
    EXPECT_TRUE(output.contains(said)) << said.toStdString() << '\n' << output.toStdString();
  }
};

// Wrong options are refused, unused ones ignored, the others name the controls.
TEST_P(CatalogueBatchTest, TheOptionsNameTheControlsAndWrongOnesAreRefused) {
  StockRows rows;
  rows.items = {{.number = "1", .classification = QStringLiteral("شركة أ")},
                {.number = "2", .classification = QStringLiteral("شركة ب")}};
  rows.sales = {{.number = 1, .date = on(5, 1)}, {.number = 2, .date = on(6, 1)}};
  writeStockFile(rows);
  for (const QStringList& options :
       {QStringList{"--kind", "items", "--from", "2003-13-01"}, QStringList{},
        QStringList{"--kind", "items", "--classification", "both"},
        QStringList{"--kind", "items", "--unit", "piece"}}) {
    expectRun(options, 2, "");
  }
  expectRun({"--kind", "items", "--unit", "77"}, 1, "ended: failed: no unit 77");
  expectRun({"--kind", "customers", "--unit", "77", "--customers-account", "1203"}, 0,
            "ended: every row was processed");
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category"), 0);

  expectRun({"--kind", "items", "--classification", "provider", "--unit", "2", "--to", "2003-05-31",
             "--cashier", "120101", "--renumber-from", "100"},
            0, "summary: imported 2, overwritten 0, skipped 0, refused 0");
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE U1 = 2 AND ProviderID > 0"), 2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Provider WHERE BranchID = 1"), 2);
  EXPECT_EQ(rowsLeft("ف_مبيعات"), 1) << "the date filter ran first";
}

// The cashier is checked first; sales are renumbered; refusals are named.
TEST_P(CatalogueBatchTest, InvoicesAndVouchersGoToTheCashierOfTheOptions) {
  StockRows rows;
  rows.items = {{.number = "0101"}};
  rows.customers = {{.number = 1}};
  rows.sales = {{.number = 1, .date = on(3, 1), .lines = {{.item = "0101"}}},
                {.number = 2, .date = on(2, 1), .lines = {{.item = "0101"}}}};
  rows.salesReturns = {{.number = 7, .date = on(3, 5), .lines = {{.item = "0101"}}, .invoice = 1},
                       {.number = 8, .date = on(3, 6), .lines = {{.item = "0101"}}, .invoice = 1}};
  rows.purchases = {{.number = 5, .date = on(1, 5), .party = 0}};
  rows.vouchers = {{.number = 4, .kind = 1}, {.number = 4, .kind = 1, .partyKind = 1}};
  writeStockFile(rows);
  const QStringList vouchers = {
      "--kind", "vouchers", "--customers-account", "1203", "--providers-account", "21"};
  for (const char* cashier : {"999", "1203"}) {
    expectRun(vouchers + QStringList{"--cashier", cashier}, 1,
              QStringLiteral("ended: failed: no cashier %1 in version-2 branch 1").arg(cashier));
  }
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt"), 0);

  expectRun({"--kind", "sales", "--cashier", "120102", "--renumber-from", "500"}, 0,
            "summary: imported 2, overwritten 0, skipped 0, refused 0");
  EXPECT_EQ(JoinedRows("SELECT s.InvoiceNo FROM SaleInvoice s JOIN CardAcc a ON a.ID = "
                       "s.CashierAccID WHERE a.AccNo = '120102' ORDER BY 1"),
            "500;501");
  EXPECT_EQ(JoinedRows("SELECT InvoiceNo FROM RSaleInvoice ORDER BY 1"), "502;503");
  expectRun({"--kind", "purchases", "--cashier", "120102"}, 0,
            QStringLiteral("refused: 5: يجب إدخال صنف واحد على الأقل"));

  expectRun(vouchers + QStringList{"--cashier", "120102", "--auto-voucher-numbers"}, 0,
            "summary: imported 2, overwritten 0, skipped 0, refused 0");
  EXPECT_EQ(JoinedRows("SELECT r.ReceiptNo FROM Receipt r JOIN CardAcc a ON a.ID = r.AccIDTo "
                       "WHERE a.AccNo = '120102' ORDER BY 1"),
            "1;2");
  EXPECT_EQ(rowsLeft("السندات"), 0);
}

// All kinds in order, ending with the worst; the verification names what changed.
TEST_P(CatalogueBatchTest, AllRunsEveryKindInOrderAndTheVerificationNamesWhatChanged) {
  StockRows rows;
  rows.items = {{.number = "1"}, {.number = "2"}};
  rows.customers = {{.number = 1, .name = QStringLiteral("أ")}};
  rows.providers = {{.number = 1, .name = QStringLiteral("ب")}};
  const std::vector<LineRow> sold = {{.item = "1"}, {.item = "2", .quantity = 2.0}};
  const std::vector<LineRow> two = {{.item = "1", .quantity = 2.0}};
  const std::vector<LineRow> bought = {{.item = "1", .quantity = 5.0, .price = 30},
                                       {.item = "2", .quantity = 2.0, .price = 50}};
  rows.sales = {{.number = 1, .date = on(4, 1), .total = 30, .net = 30, .lines = sold},
                {.number = 2, .date = on(4, 1), .total = 20, .net = 20, .lines = two}};
  rows.purchases = {{.number = 5001,
                     .date = on(4, 1),
                     .total = 250,
                     .discount = 25,
                     .net = 225,
                     .lines = bought}};
  rows.vouchers = {{.number = 1, .kind = 1}, {.number = 1}};
  writeStockFile(rows);
  const QString summary = "summary %1: imported %2, overwritten %3, skipped 0, refused 0; %4\n";
  const QString done = "every row was processed";
  const QString parentMissing =
      "stopped at provider 1: parent account '' is not an account of the version-2 branch";
  expectRun({"--kind", "all", "--customers-account", "1203"}, 3,
            summary.arg("items", "2", "0", done) + summary.arg("customers", "1", "0", done) +
                summary.arg("providers", "0", "0", parentMissing) +
                "summary sales: not run\nsummary purchases: not run\nsummary vouchers: not "
                "run\nended: " +
                parentMissing);

  expectRun({"--kind", "all", "--customers-account", "1203", "--providers-account", "21",
             "--cashier", "120101", "--overwrite", "yes-all", "--provider-accounts"},
            0,
            summary.arg("items", "0", "2", done) + summary.arg("customers", "0", "1", done) +
                summary.arg("providers", "1", "0", done) + summary.arg("sales", "2", "0", done) +
                summary.arg("purchases", "1", "0", done) + summary.arg("vouchers", "2", "0", done) +
                "ended: " + done);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt r JOIN ReceiptDetails d ON d.ReceiptID = r.ID "
                  "JOIN Customer c ON c.AccNoID = d.From_AccNoID WHERE c.fNo = 1"),
            1);
  EXPECT_EQ(
      JoinedRows("SELECT p.AName, a.AccNo FROM Provider p JOIN CardAcc a ON a.ID = p.AccNoID"),
      QStringLiteral("ب|21001"));

  const QVariant sale = scalar("SELECT ID FROM SaleInvoice WHERE BranchID = 1 AND InvoiceNo = 2");
  MainConnection().execute("DELETE FROM SInvSData WHERE InvoiceID = ?", {sale});
  MainConnection().execute("DELETE FROM SaleInvoice WHERE ID = ?", {sale});
  MainConnection().execute(
      "UPDATE BuyInvoice SET Discount = 0, Net = 250 WHERE BranchID = 1 AND InvoiceNo = 5001");
  MainConnection().execute("UPDATE Payment SET Amount = 90 WHERE BranchID = 1 AND PaymentNo = 1");

  const QDateTime copyWritten = QFileInfo(WorkingCopyPath()).lastModified();
  auto [code, output] =
      runOnBranch1({"--verify", "--report", reportPath(), "--stock-folder", folder()});
  EXPECT_EQ(code, 4) << output.toStdString();
  for (const char* line :
       {"missing: sales invoice 2 is not in version 2\n",
        "different: purchase invoice 5001: discount 25.00 in version 1, 0.00 in version 2; net "
        "225.00 in version 1, 250.00 in version 2\n",
        "different: payment 1: amount 100.00 in version 1, 90.00 in version 2\n",
        "verify ended: 1 missing, 2 different"}) {
    EXPECT_TRUE(output.contains(line)) << line << '\n' << output.toStdString();
  }
  EXPECT_FALSE(output.contains("sales invoice 1")) << output.toStdString();
  EXPECT_EQ(QFileInfo(WorkingCopyPath()).lastModified(), copyWritten)
      << "the verification converts the file afresh and leaves the working copy alone";

  const QJsonObject found = readReport().value("verification").toObject();
  EXPECT_EQ(found.value("exitCode").toInt(), 4);
  const QJsonArray missing = found.value("missing").toArray();
  ASSERT_EQ(missing.size(), 1);
  EXPECT_EQ(missing[0]["kind"].toString() + missing[0]["number"].toString(), "sales invoice2");
  QJsonObject purchases;
  for (const QJsonValue& kind : found.value("kinds").toArray())
    if (kind["kind"].toString() == "purchase invoices") purchases = kind.toObject();
  EXPECT_EQ(purchases.value("different").toInt(), 1);
  const QJsonObject net = purchases.value("sums").toArray().first().toObject();
  EXPECT_EQ(QStringList({QString::number(net["version1"].toDouble()),
                         QString::number(net["expected"].toDouble()),
                         QString::number(net["version2"].toDouble())}),
            QStringList({"225", "225", "250"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, CatalogueBatchTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

// Branch 1 of the shared version-1 folders: every kind, its report and the verification.
class FixtureBranchTest : public CatalogueEngineTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    fixtures_ = QDir(FixturesFolder()).filePath("v1");
    if (!QFile::exists(fixtures_ + "/accounts/ACC2003.MDB") ||
        !QFile::exists(fixtures_ + "/stock/Stock001.mdb")) {
      GTEST_SKIP() << "the shared version-1 fixtures are not at " << fixtures_.toStdString();
    }
  }

  QString fixtures_;
};

TEST_P(FixtureBranchTest, TheWholeBranchRunsEveryKindAndVerifiesClean) {
  auto [code, output] = runOnBranch1(
      QStringList{"--batch", "branch", "--report", reportPath(), "--overwrite", "yes-all",
                  "--verify", "--accounts-folder", fixtures_ + "/accounts", "--accounts-file",
                  "acc2003.mdb", "--stock-folder", fixtures_ + "/stock"} +
      QStringList{"--customers-account", "1203", "--customer-accounts", "--providers-account", "21",
                  "--provider-accounts", "--cashier", "120101"});
  const QJsonObject report = readReport();
  EXPECT_EQ(report["run"].toString(), "branch");
  EXPECT_EQ(report["exitCode"].toInt(), code) << output.toStdString();
  EXPECT_TRUE(output.contains("ended: " + report["ended"].toString())) << output.toStdString();

  QStringList names;
  for (const QJsonValue& value : report["kinds"].toArray()) {
    const QJsonObject kind = value.toObject();
    const QString name = kind["kind"].toString();
    names << name;
    const int handled = kind["imported"].toInt() + kind["overwritten"].toInt() +
                        kind["skipped"].toInt() + kind["refused"].toArray().size();
    EXPECT_EQ(kind["exitCode"].toInt(), name == "accounts" ? 3 : 0)
        << name.toStdString() << ' ' << kind["ended"].toString().toStdString();
    if (name == "accounts") {
      // Account 9901, whose parent is in neither version, stops them at the end.
      EXPECT_EQ(handled + 1, kind["version1Rows"].toInt());
    } else if (name == "journal") {
      EXPECT_EQ(kind["entries"].toInt(), kind["version1Rows"].toInt());
      EXPECT_FALSE(kind["linesWithoutAccount"].toArray().isEmpty()) << "the lines of account 8888";
    } else {
      // Every record is new to version 2.
      EXPECT_EQ(kind["imported"].toInt(), kind["version1Rows"].toInt()) << name.toStdString();
      EXPECT_EQ(handled, kind["imported"].toInt()) << name.toStdString();
    }
  }
  EXPECT_EQ(names, QStringList({"accounts", "journal", "items", "customers", "providers", "sales",
                                "purchases", "vouchers"}));
  EXPECT_EQ(code, 3) << output.toStdString();
  EXPECT_TRUE(output.contains("account 9901: Its parent account 99 is in neither version"))
      << output.toStdString();

  // The verification counts account 9901 and account 8888 as made on purpose.
  EXPECT_TRUE(output.contains("verify ended: nothing missing or different"))
      << output.toStdString();
  EXPECT_TRUE(output.contains(
      QRegularExpression("journal entry \\d+: 1 line\\(s\\) on account\\(s\\) 8888")))
      << output.toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc a WHERE a.Haves <> (SELECT COUNT(*) FROM CardAcc c "
                  "WHERE c.BranchID = a.BranchID AND c.ffather = a.AccNo)"),
            0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Customer WHERE BranchID = 2"), 0);
  EXPECT_EQ(locksHeld(), 0);

  // A run that fails before its first record still leaves its report.
  QFile::remove(reportPath());
  auto [failed, said] = runOnBranch1({"--batch", "branch", "--report", reportPath(),
                                      "--stock-folder", fixtures_ + "/stock", "--cashier", "999"});
  EXPECT_EQ(failed, 1) << said.toStdString();
  EXPECT_EQ(readReport()["ended"].toString(), "failed: no cashier 999 in version-2 branch 1");
  EXPECT_EQ(readReport()["exitCode"].toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, FixtureBranchTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
