// The reconciliation of a migrated branch (qalvoro-host --verify): the
// shared version-1 files imported whole must verify clean, and a document
// taken out of version 2 or changed there must be named with its fields.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "tests/catalogue/CatalogueTest.h"
#include "tests/support/Fixtures.h"
#include "v1source/source/Version1Files.h"

namespace qalvoro::test {
namespace {

class VerifyTest : public CatalogueTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }

  std::pair<int, QString> importStock(const QString& folder) {
    return runHost(QStringList{"--batch", "catalogue", "--app-path", appPath(), "--settings",
                               "Batch", "--db", version2Path(), "--v1-folder", folder,
                               "--old-branch", "1"} +
                   QStringList{"--branch", "1", "--kind", "all", "--customers-account", "1203",
                               "--customer-accounts", "--providers-account", "21",
                               "--provider-accounts", "--cashier", "120101"});
  }
  std::pair<int, QString> verify(const QStringList& sources) {
    return runHost(QStringList{"--verify", "--app-path", appPath(), "--settings", "Batch", "--db",
                               version2Path(), "--old-branch", "1", "--branch", "1", "--report",
                               appPath() + "report.json"} +
                   sources);
  }
  QJsonObject report() {
    QFile file(appPath() + "report.json");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(file.readAll()).object().value("verification").toObject();
  }
  static QJsonObject kind(const QJsonObject& report, const QString& name) {
    for (const auto& line : report.value("kinds").toArray()) {
      if (line.toObject().value("kind").toString() == name) return line.toObject();
    }
    return {};
  }
};

TEST_P(VerifyTest, AWholeBranchRunOfTheSharedFilesHasNothingMissing) {
  const QDir fixtures(FixturesFolder());
  if (!QFile::exists(fixtures.filePath("v1/stock/Stock001.mdb"))) {
    GTEST_SKIP() << "the shared version-1 fixtures are not at " << fixtures.path().toStdString();
  }
  auto [code, output] = runHost(
      QStringList{"--batch", "branch", "--app-path", appPath(), "--settings", "Batch", "--db",
                  version2Path(), "--old-branch", "1", "--branch", "1", "--overwrite", "yes-all"} +
      QStringList{"--accounts-folder", fixtures.filePath("v1/accounts"), "--accounts-file",
                  "acc2003.mdb", "--stock-folder", fixtures.filePath("v1/stock"),
                  "--customers-account", "1203", "--customer-accounts", "--providers-account", "21",
                  "--provider-accounts", "--cashier", "120101", "--verify", "--report",
                  appPath() + "report.json"});
  // Account 9901, whose parent is in neither version, stops the accounts at
  // their end; the verification counts it as made on purpose.
  EXPECT_EQ(code, 3) << output.toStdString();
  EXPECT_TRUE(output.contains("verify ended: nothing missing or different"))
      << output.toStdString();
  EXPECT_TRUE(output.contains("account 9901: Its parent account 99 is in neither version"))
      << output.toStdString();
  EXPECT_TRUE(output.contains(
      QRegularExpression("journal entry \\d+: 1 line\\(s\\) on account\\(s\\) 8888")))
      << output.toStdString();

  const QJsonObject found = report();
  EXPECT_EQ(found.value("exitCode").toInt(), 0);
  EXPECT_TRUE(found.value("missing").toArray().isEmpty());
  for (const auto& [name, table] :
       {std::pair{"sales invoices", "SaleInvoice"}, std::pair{"purchase invoices", "BuyInvoice"},
        std::pair{"sales returns", "RSaleInvoice"}}) {
    const QJsonObject line = kind(found, name);
    EXPECT_GT(line.value("version1Rows").toInt(), 0) << name;
    EXPECT_EQ(line.value("version2Rows").toInt(),
              count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE BranchID = 1").arg(table)))
        << name;
    const QJsonObject net = line.value("sums").toArray().first().toObject();
    EXPECT_NEAR(
        net.value("version2").toDouble(),
        scalar(QStringLiteral("SELECT SUM(Net) FROM %1 WHERE BranchID = 1").arg(table)).toDouble(),
        0.005)
        << name;
    EXPECT_NEAR(net.value("expected").toDouble(), net.value("version2").toDouble(), 0.005) << name;
  }
  EXPECT_EQ(kind(found, "journal entries").value("missing").toInt(), 0);
  EXPECT_GT(kind(found, "receipts").value("version1Rows").toInt(), 0);
}

TEST_P(VerifyTest, NamesADocumentTakenOutAndTheFieldsOfOneChanged) {
  const QDateTime day(QDate(2003, 4, 1), QTime());
  StockRows rows;
  rows.items = {{.number = "1"}, {.number = "2"}};
  rows.customers = {{.number = 1}};
  rows.providers = {{.number = 1}};
  rows.sales = {{.number = 1,
                 .date = day,
                 .total = 30,
                 .net = 30,
                 .lines = {{.item = "1", .quantity = 1.0, .price = 10},
                           {.item = "2", .quantity = 2.0, .price = 10}}},
                {.number = 2,
                 .date = day,
                 .total = 20,
                 .net = 20,
                 .lines = {{.item = "1", .quantity = 2.0, .price = 10}}}};
  rows.purchases = {{.number = 5001,
                     .date = day,
                     .total = 250,
                     .discount = 25,
                     .net = 225,
                     .lines = {{.item = "1", .quantity = 5.0, .price = 30},
                               {.item = "2", .quantity = 2.0, .price = 50}}}};
  rows.vouchers = {{.number = 1}};
  writeStockFile(rows);
  auto [imported, said] = importStock(folder());
  ASSERT_EQ(imported, 0) << said.toStdString();

  const QVariant sale = scalar("SELECT ID FROM SaleInvoice WHERE BranchID = 1 AND InvoiceNo = 2");
  MainConnection().execute("DELETE FROM SInvSData WHERE InvoiceID = ?", {sale});
  MainConnection().execute("DELETE FROM SaleInvoice WHERE ID = ?", {sale});
  MainConnection().execute(
      "UPDATE BuyInvoice SET Discount = 0, Net = 250 WHERE BranchID = 1 AND InvoiceNo = 5001");
  MainConnection().execute("UPDATE Payment SET Amount = 90 WHERE BranchID = 1 AND PaymentNo = 1");

  const QDateTime copyWritten = QFileInfo(WorkingCopyPath()).lastModified();
  auto [code, output] = verify({"--stock-folder", folder()});
  EXPECT_EQ(code, 4) << output.toStdString();
  EXPECT_TRUE(output.contains("missing: sales invoice 2 is not in version 2"))
      << output.toStdString();
  EXPECT_TRUE(
      output.contains("different: purchase invoice 5001: discount 25.00 in version 1, "
                      "0.00 in version 2; net 225.00 in version 1, 250.00 in version 2\n"))
      << output.toStdString();
  EXPECT_TRUE(
      output.contains("different: payment 1: amount 100.00 in version 1, 90.00 in version 2\n"))
      << output.toStdString();
  EXPECT_FALSE(output.contains("sales invoice 1")) << output.toStdString();
  EXPECT_TRUE(output.contains("verify ended: 1 missing, 2 different")) << output.toStdString();
  EXPECT_EQ(QFileInfo(WorkingCopyPath()).lastModified(), copyWritten)
      << "the verification converts the file afresh and leaves the working copy alone";

  const QJsonObject found = report();
  EXPECT_EQ(found.value("exitCode").toInt(), 4);
  const QJsonArray missing = found.value("missing").toArray();
  ASSERT_EQ(missing.size(), 1);
  EXPECT_EQ(missing[0].toObject().value("kind").toString(), "sales invoice");
  EXPECT_EQ(missing[0].toObject().value("number").toString(), "2");
  const QJsonObject purchases = kind(found, "purchase invoices");
  EXPECT_EQ(purchases.value("different").toInt(), 1);
  const QJsonObject net = purchases.value("sums").toArray().first().toObject();
  EXPECT_DOUBLE_EQ(net.value("version1").toDouble(), 225);
  EXPECT_DOUBLE_EQ(net.value("expected").toDouble(), 225);
  EXPECT_DOUBLE_EQ(net.value("version2").toDouble(), 250);
}

INSTANTIATE_TEST_SUITE_P(Engines, VerifyTest, ::testing::ValuesIn(kEngines), EngineParamName());

}  // namespace
}  // namespace qalvoro::test
