// The whole-branch run on the shared version-1 folders (accounts and stock,
// branch 1): its report file checked against the version-2 database.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <cmath>

#include "host/db/Recordset.h"
#include "tests/catalogue/CatalogueTest.h"
#include "tests/support/Fixtures.h"
#include "v1source/convert/V1Converter.h"

namespace qalvoro::test {
namespace {

class BranchBatchTest : public CatalogueTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
  void SetUp() override {
    CatalogueTest::SetUp();
    fixtures_ = QDir(FixturesFolder()).filePath("v1");
    if (!QFile::exists(fixtures_ + "/accounts/ACC2003.MDB") ||
        !QFile::exists(fixtures_ + "/stock/Stock001.mdb")) {
      GTEST_SKIP() << "the shared version-1 fixtures are not at " << fixtures_.toStdString();
    }
    V1Converter().convert(fixtures_ + "/accounts/ACC2003.MDB", appPath() + "truth.sqlite");
    truth_.open(appPath() + "truth.sqlite");
  }

  std::pair<int, QString> runBranch(const QStringList& options) {
    return runHost(QStringList{"--batch", "branch", "--app-path", appPath(), "--settings", "Batch",
                               "--db", version2Path(), "--old-branch", "1", "--branch", "1",
                               "--report", reportPath()} +
                   options);
  }

  QString reportPath() const { return appPath() + "report.json"; }

  QJsonObject readReport() {
    QFile file(reportPath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(file.readAll()).object();
  }

  // Rows of the tables each kind writes, before and after the run.
  std::map<QString, int> counts() {
    const QVariantList placeholder = {QStringLiteral("?\?")};
    return {
        {"journal", count("SELECT COUNT(*) FROM Gaid WHERE BranchID = 1")},
        {"lines", count("SELECT COUNT(*) FROM GaidDetails d JOIN Gaid g ON g.ID = d.GaidID "
                        "WHERE g.BranchID = 1")},
        {"items", count("SELECT COUNT(*) FROM Category WHERE BranchID = 1 AND AName NOT LIKE ?",
                        {QStringLiteral("% صنف محذوف")})},
        {"customers",
         count("SELECT COUNT(*) FROM Customer WHERE BranchID = 1 AND AName <> ?", placeholder)},
        {"providers",
         count("SELECT COUNT(*) FROM Provider WHERE BranchID = 1 AND AName <> ?", placeholder)},
        {"sales", count("SELECT COUNT(*) FROM SaleInvoice WHERE BranchID = 1")},
        {"purchases", count("SELECT COUNT(*) FROM BuyInvoice WHERE BranchID = 1")},
        {"vouchers", count("SELECT COUNT(*) FROM Receipt WHERE BranchID = 1") +
                         count("SELECT COUNT(*) FROM Payment WHERE BranchID = 1")},
    };
  }

  // Version-1 accounts of branch 1 that version 2 holds.
  int accountsHeld() {
    Recordset card;
    card.open("SELECT * FROM Card WHERE رقم_الفرع = 1", truth_);
    int held = 0;
    for (; !card.eof(); card.moveNext()) {
      held += count("SELECT COUNT(*) FROM CardAcc WHERE BranchID = 1 AND AccNo = ?",
                    {card.text("رقم_الحساب")});
    }
    return held;
  }

  // The entry's lines in version 1 and version 2, and whether the version-2
  // lines balance.
  void checkLeftOut(const QJsonObject& entry) {
    const int number = entry["entry"].toInt();
    Recordset lines;
    lines.open("SELECT COUNT(*) AS n FROM Gaid WHERE رقم_القيد = ?", truth_, LockType::ReadOnly,
               {number});
    const QString held =
        "FROM GaidDetails d JOIN Gaid g ON g.ID = d.GaidID "
        "WHERE g.BranchID = 1 AND g.GaidNo = ?";
    EXPECT_EQ(lines.value("n").toInt() - count("SELECT COUNT(*) " + held, {number}),
              entry["lines"].toInt())
        << number;
    const double balance =
        scalar("SELECT COALESCE(SUM(d.Debit - d.Credit), 0) " + held, {number}).toDouble();
    EXPECT_EQ(std::abs(balance) < 0.005, entry["balanced"].toBool()) << number;
  }

  QString fixtures_;
  Connection truth_;
};

TEST_P(BranchBatchTest, ReportsEveryKindAsTheDatabaseHoldsIt) {
  const std::map<QString, int> before = counts();
  auto [code, output] = runBranch(
      {"--accounts-folder", fixtures_ + "/accounts", "--accounts-file", "acc2003.mdb",
       "--stock-folder", fixtures_ + "/stock", "--customers-account", "1203", "--customer-accounts",
       "--providers-account", "21", "--provider-accounts", "--cashier", "120101"});
  const std::map<QString, int> after = counts();
  const QJsonObject report = readReport();
  EXPECT_EQ(report["run"].toString(), "branch");
  EXPECT_EQ(report["exitCode"].toInt(), code) << output.toStdString();
  EXPECT_TRUE(output.contains("ended: " + report["ended"].toString())) << output.toStdString();

  QStringList names;
  int worst = 0;
  for (const QJsonValue& value : report["kinds"].toArray()) {
    const QJsonObject kind = value.toObject();
    const QString name = kind["kind"].toString();
    names << name;
    const int exit = kind["exitCode"].toInt();
    EXPECT_TRUE(exit == 0 || exit == 3) << name.toStdString() << ' ' << output.toStdString();
    if (exit == 3) worst = 3;
    EXPECT_GE(kind["seconds"].toDouble(), 0.0);
    for (const QJsonValue& refusal : kind["refused"].toArray()) {
      EXPECT_FALSE(refusal["reason"].toString().isEmpty()) << name.toStdString();
    }
    const int handled = kind["imported"].toInt() + kind["overwritten"].toInt() +
                        kind["skipped"].toInt() + kind["refused"].toArray().size();
    if (name == "accounts") {
      EXPECT_EQ(accountsHeld(),
                kind["imported"].toInt() + kind["overwritten"].toInt() + kind["skipped"].toInt());
      // An account whose parent is missing stops the accounts there.
      if (exit == 3) {
        EXPECT_LT(handled, kind["version1Rows"].toInt());
      } else {
        EXPECT_EQ(handled, kind["version1Rows"].toInt());
      }
      continue;
    }
    EXPECT_EQ(exit, 0) << name.toStdString() << ' ' << kind["ended"].toString().toStdString();
    if (name == "journal") {
      EXPECT_EQ(kind["entries"].toInt(), kind["version1Rows"].toInt());
      EXPECT_EQ(after.at("journal") - before.at("journal"), kind["entries"].toInt());
      EXPECT_EQ(after.at("lines") - before.at("lines"), kind["lines"].toInt());
      const QJsonArray leftOut = kind["linesWithoutAccount"].toArray();
      EXPECT_FALSE(leftOut.isEmpty()) << "the lines of account 8888";
      for (const QJsonValue& entry : leftOut) checkLeftOut(entry.toObject());
      continue;
    }
    EXPECT_EQ(handled, kind["version1Rows"].toInt()) << name.toStdString();
    EXPECT_EQ(after.at(name) - before.at(name), kind["imported"].toInt()) << name.toStdString();
  }
  EXPECT_EQ(names, QStringList({"accounts", "journal", "items", "customers", "providers", "sales",
                                "purchases", "vouchers"}));
  EXPECT_EQ(code, worst) << output.toStdString();
  EXPECT_TRUE(output.contains("summary vouchers: imported ")) << output.toStdString();

  // A run that fails before its first record still leaves its report.
  QFile::remove(reportPath());
  auto [failed, said] = runBranch({"--stock-folder", fixtures_ + "/stock", "--cashier", "999"});
  EXPECT_EQ(failed, 1) << said.toStdString();
  EXPECT_EQ(readReport()["ended"].toString(), "failed: no cashier 999 in version-2 branch 1");
  EXPECT_EQ(readReport()["exitCode"].toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, BranchBatchTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
