// Version-2 databases made by the host's database command, on both engines.

#include <QTemporaryDir>

#include "host/Globals.h"
#include "host/Version2Database.h"
#include "host/db/DbError.h"
#include "host/db/Recordset.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {
namespace {

class Version2DatabaseTest : public ::testing::TestWithParam<Engine> {
 protected:
  // A target that holds no database yet: a new file name, or an empty
  // PostgreSQL database.
  QString freshTarget() {
    if (GetParam() == Engine::SQLite) return folder_.filePath("v2.db");
    database_ = std::make_unique<TestDatabase>(GetParam());
    return database_->connectionString();
  }

  static int count(Connection& connection, const QString& sql) {
    Recordset rows;
    rows.open(sql, connection);
    return rows.value(rows.fieldNames().constFirst()).toInt();
  }

 private:
  QTemporaryDir folder_;
  std::unique_ptr<TestDatabase> database_;
};

TEST_P(Version2DatabaseTest, EmptyDatabaseHasEveryTableItsLocksAndOneSysInfoRow) {
  const QString target = freshTarget();
  createVersion2Database(target, false);
  Connection connection;
  connection.open(target, "sa", DbPassword);

  const QStringList tables = {"SysInfo",      "LockTables",     "Branch",      "Unit",
                              "CardAcc",      "Gaid",           "GaidDetails", "Class",
                              "Category",     "Customer",       "Provider",    "Cashier",
                              "SaleInvoice",  "SInvSData",      "BuyInvoice",  "BInvData",
                              "RSaleInvoice", "RSInvSData",     "RBuyInvoice", "RBInvData",
                              "Receipt",      "ReceiptDetails", "Payment",     "PaymentDetails"};
  for (const QString& table : tables) {
    EXPECT_NO_THROW(count(connection, "SELECT COUNT(*) FROM " + table)) << table.toStdString();
  }
  EXPECT_EQ(count(connection, "SELECT COUNT(*) FROM SysInfo"), 1);
  EXPECT_EQ(count(connection, "SELECT COUNT(*) FROM CardAcc"), 0);

  Recordset locks;
  locks.open("SELECT TableName, fLocked FROM LockTables ORDER BY TableName", connection);
  QStringList names;
  for (; !locks.eof(); locks.moveNext()) {
    names << locks.text("TableName");
    EXPECT_FALSE(locks.value("fLocked").toBool());
  }
  QStringList expected = {"CardAcc",     "Gaid",        "Category",   "Customer",
                          "Sales",       "SaleInvoice", "BuyInvoice", "RSales",
                          "RBuyInvoice", "Receipt",     "Payment"};
  expected.sort();
  names.sort();
  EXPECT_EQ(names, expected);

  // Autonumber keys and defaults: a new account gets its ID and zero counters.
  connection.execute("INSERT INTO CardAcc (BranchID, AccNo, AccNameA) VALUES (?, ?, ?)",
                     {1, "1", QStringLiteral("الأصول 'الثابتة'")});
  Recordset account;
  account.open("SELECT * FROM CardAcc", connection);
  EXPECT_GT(account.value("ID").toInt(), 0);
  EXPECT_EQ(account.text("AccNameA"), QStringLiteral("الأصول 'الثابتة'"));
  EXPECT_EQ(account.value("Haves").toInt(), 0);
}

TEST_P(Version2DatabaseTest, DemoHoldsTwoBranchesAndAConsistentChartOfAccounts) {
  const QString target = freshTarget();
  createVersion2Database(target, true);
  Connection connection;
  connection.open(target, "sa", DbPassword);

  EXPECT_EQ(count(connection, "SELECT COUNT(*) FROM Branch"), 2);
  EXPECT_GT(count(connection, "SELECT COUNT(*) FROM Unit"), 0);
  EXPECT_GT(count(connection, "SELECT COUNT(*) FROM Class"), 0);
  for (int branch : {1, 2}) {
    EXPECT_GT(count(connection,
                    QStringLiteral("SELECT COUNT(*) FROM CardAcc WHERE BranchID = %1").arg(branch)),
              10);
    EXPECT_GT(count(connection,
                    QStringLiteral("SELECT COUNT(*) FROM Cashier WHERE BranchID = %1").arg(branch)),
              0);
  }
  EXPECT_EQ(count(connection,
                  "SELECT COUNT(*) FROM CardAcc a WHERE a.Haves <> (SELECT COUNT(*) FROM CardAcc c "
                  "WHERE c.BranchID = a.BranchID AND c.ffather = a.AccNo)"),
            0)
      << "Haves counts the children of every account";
  EXPECT_EQ(count(connection,
                  "SELECT COUNT(*) FROM Cashier k WHERE NOT EXISTS (SELECT 1 FROM CardAcc a "
                  "WHERE a.ID = k.AccID)"),
            0)
      << "every cash box has its account";

  // Never over a database that already has tables.
  EXPECT_THROW(createVersion2Database(target, false), DbError);
  EXPECT_EQ(count(connection, "SELECT COUNT(*) FROM Branch"), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, Version2DatabaseTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
