// Version-2 databases made by the host's database command, on both engines.

#include "host/Globals.h"
#include "host/Version2Database.h"
#include "host/db/DbError.h"
#include "host/db/Recordset.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {
namespace {

using Version2DatabaseTest = ::testing::TestWithParam<Engine>;

TEST_P(Version2DatabaseTest, EmptyAndDemoDatabasesHoldTheirLocksAndConsistentRows) {
  for (const auto content :
       {TestDatabase::Content::Version2, TestDatabase::Content::Version2Demo}) {
    const bool demo = content == TestDatabase::Content::Version2Demo;
    SCOPED_TRACE(demo ? "demo" : "empty");
    const TestDatabase database(GetParam(), content);
    Connection connection;
    connection.open(database.connectionString(), "sa", DbPassword);
    const auto count = [&](const QString& sql) {
      Recordset rows;
      rows.open("SELECT COUNT(*) AS n FROM " + sql, connection);
      return rows.value("n").toInt();
    };
    Recordset locks;
    locks.open("SELECT TableName FROM LockTables WHERE NOT fLocked", connection);
    QStringList names = locks.getString("", ",", "").split(',', Qt::SkipEmptyParts);
    names.sort();
    EXPECT_EQ(names.join(','),
              "BuyInvoice,CardAcc,Category,Customer,Gaid,Payment,RBuyInvoice,"
              "RSales,Receipt,SaleInvoice,Sales");
    EXPECT_EQ(count("SysInfo"), 1);
    EXPECT_EQ(count("Branch"), demo ? 2 : 0);
    EXPECT_EQ(count("Unit") > 0 && count("Class") > 0, demo);
    for (int branch : {1, 2}) {
      EXPECT_EQ(count(QStringLiteral("CardAcc WHERE BranchID = %1").arg(branch)) > 10, demo);
      EXPECT_EQ(count(QStringLiteral("Cashier WHERE BranchID = %1").arg(branch)) > 0, demo);
    }
    EXPECT_EQ(count("CardAcc a WHERE a.Haves <> (SELECT COUNT(*) FROM CardAcc c WHERE "
                    "c.BranchID = a.BranchID AND c.ffather = a.AccNo)"),
              0)
        << "Haves counts the children of every account";
    EXPECT_EQ(count("Cashier k WHERE NOT EXISTS (SELECT 1 FROM CardAcc a WHERE a.ID = k.AccID)"), 0)
        << "every cash box has its account";

    // Never over a database that already has tables.
    EXPECT_THROW(createVersion2Database(database.connectionString(), false), DbError);
    EXPECT_EQ(count("Branch"), demo ? 2 : 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, Version2DatabaseTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
