// Requery on a version-2 database that other connections and processes
// write too, on both engines.

#include <QProcess>
#include <QThread>
#include <functional>
#include <random>

#include "host/db/Recordset.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {
namespace {

class SharedRequeryTest : public EngineTest {
 protected:
  SharedRequeryTest() : EngineTest(TestDatabase::Content::Version2) {}
  void SetUp() override {
    EngineTest::SetUp();
    database_->open(there_);
  }

  static std::string contents(Recordset& rows) {
    if (rows.recordCount() > 0) rows.moveFirst();
    return rows.getString("|", "\n", "<null>").toStdString();
  }
  // The rows of a query as a fresh recordset on this connection shows them.
  std::string freshRead(const QString& sql) {
    Recordset fresh;
    fresh.open(sql, here_);
    return contents(fresh);
  }
  qint64 countOf(const QString& table) { return here_.changeCount(table).value_or(-1); }

  Connection& here_ = connection_;  // this workstation
  Connection there_;                // another one
};

TEST_P(SharedRequeryTest, CountersFollowEveryRowWrittenInEveryTable) {
  Recordset tables;
  tables.open("SELECT TableName FROM TableChanges WHERE Writer = 0 ORDER BY TableName", here_);
  ASSERT_EQ(tables.recordCount(), 25) << "every table but LockTables";
  for (; !tables.eof(); tables.moveNext()) {
    const QString table = tables.text("TableName");
    const qint64 before = countOf(table);
    here_.execute("INSERT INTO " + table + " DEFAULT VALUES");
    const QString key = here_.rowKeyColumn(table);
    const QString last = " WHERE " + key + " = (SELECT MAX(" + key + ") FROM " + table + ")";
    here_.execute("UPDATE " + table + " SET " + key + " = " + key + last);
    here_.execute("DELETE FROM " + table + last);
    EXPECT_EQ(countOf(table), before + 3) << table.toStdString();
  }

  // Every row counts once, however it is written, in a transaction or not.
  const auto counted = [&](const std::function<void()>& write) {
    const qint64 before = countOf("Customer");
    write();
    return countOf("Customer") - before;
  };
  EXPECT_EQ(counted([&] {
              here_.execute("INSERT INTO Customer (BranchID, fNo) VALUES (1, 1), (1, 2), (2, 3)");
              here_.execute("UPDATE Customer SET AName = 'x' WHERE BranchID = ?", {1});
              here_.execute("UPDATE Customer SET AName = 'x' WHERE BranchID = 9");
              here_.execute("DELETE FROM Customer WHERE fNo = 3");
            }),
            6);
  EXPECT_EQ(counted([&] {
              Transaction transaction(here_);
              for (int number = 10; number < 110; ++number) {
                here_.execute("INSERT INTO Customer (BranchID, fNo) VALUES (3, ?)", {number});
              }
              transaction.commit();
            }),
            100);
  EXPECT_EQ(counted([&] {
              Recordset customers;
              customers.open("Customer", here_, LockType::Optimistic);
              customers.addNew();
              customers.setValue("fNo", 4);
              customers.update();
              customers.setValue("AName", "y");
              customers.update();
              customers.deleteCurrent();
            }),
            3);
  EXPECT_EQ(there_.changeCount("customer").value_or(-2), countOf("CUSTOMER"))
      << "the same from another connection, whatever the case of the name";

  EXPECT_FALSE(here_.changeCount("LockTables"));
  here_.execute("CREATE TABLE Scratch (ID INTEGER, Note TEXT)");
  EXPECT_FALSE(here_.changeCount("Scratch")) << "a table made outside the schema";
}

// A pipeline reads again the counters asked for before (on PostgreSQL, in
// its round trip), and the next ask is answered from that reading while it
// is fresh: it holds the pipeline's writes, answers once, and goes stale
// with a write here to its table, a rollback or time. Writes here to other
// tables (a table lock's row, a class) leave it as it is.
TEST_P(SharedRequeryTest, CountersReadWithAPipelineHoldItsWritesAndGoStale) {
  const QString insert = "INSERT INTO Customer (BranchID, fNo) VALUES (1, ?)";
  const auto pipeline = [&] { here_.writeAll({{insert, {1}}, {insert, {2}}}); };
  const qint64 start = countOf("Customer");
  pipeline();
  EXPECT_EQ(countOf("Customer"), start + 2) << "the pipeline's writes";
  there_.execute(insert, {3});
  EXPECT_EQ(countOf("Customer"), start + 3) << "a reading answers once";
  pipeline();
  here_.execute(insert, {4});
  EXPECT_EQ(countOf("Customer"), start + 6) << "a write here";
  pipeline();
  there_.execute(insert, {5});
  QThread::msleep(2 * CounterReadings::kFreshFor.count());
  EXPECT_EQ(countOf("Customer"), start + 9) << "an old reading";
  {
    Transaction undone(here_);
    pipeline();
  }
  EXPECT_EQ(countOf("Customer"), start + 9) << "a rollback";
  pipeline();
  there_.execute(insert, {6});
  const QString unlock = "UPDATE LockTables SET fLocked = FALSE WHERE TableName = ?";
  here_.writeAll({{unlock, {"Customer"}}, {unlock, {"Class"}}});
  here_.execute("UPDATE Class SET AName = ? WHERE ID = ?", {"c", 1});
  EXPECT_EQ(countOf("Customer"), start + (postgres() ? 11 : 12)) << "writes to other tables";
  EXPECT_EQ(countOf("Customer"), start + 12);
}

// Random writes here, at another connection (committed or still open) and rolled back here:
// after each round a requery, also under a filter, shows what a fresh read shows.
TEST_P(SharedRequeryTest, RequeryShowsWhatEveryConnectionCommitted) {
  std::mt19937 random(7);
  const QString ordered = "SELECT * FROM Customer WHERE BranchID = 1 ORDER BY AName, fNo, ID";
  const QString unordered = "SELECT ID, fNo, AName FROM Customer WHERE fNo > 2";
  Recordset byName;
  byName.open(ordered, here_, LockType::Optimistic);
  Recordset byNumber;
  byNumber.open(unordered, here_);
  Recordset filtered;
  filtered.open("Customer", here_, LockType::Optimistic);
  filtered.setFilterEqual("AName", "U1");
  Recordset writer;
  writer.open("Customer", here_, LockType::Optimistic);

  const auto randomWrite = [&](Connection& connection) {
    const int number = int(random() % 8);
    switch (random() % 4) {
      case 0:
      case 1:
        connection.execute(
            "INSERT INTO Customer (BranchID, fNo, AName) VALUES (?, ?, ?)",
            {int(random() % 2), number, QString(random() % 2 ? "n%1" : "N%1").arg(random() % 5)});
        break;
      case 2:
        connection.execute("UPDATE Customer SET AName = ? WHERE fNo = ?",
                           {QStringLiteral("u%1").arg(random() % 5), number});
        break;
      default:
        connection.execute("DELETE FROM Customer WHERE fNo = ?", {number});
    }
  };

  for (int round = 0; round < 40; ++round) {
    switch (random() % 5) {
      case 0:
        randomWrite(here_);
        break;
      case 1:
        writer.requery();
        if (writer.recordCount() > 0 && random() % 2) {
          writer.setAbsolutePosition(1 + int(random() % writer.recordCount()));
          writer.deleteCurrent();
          break;
        }
        writer.addNew();
        writer.setValue("BranchID", 1);
        writer.setValue("fNo", int(random() % 8));
        writer.update();
        break;
      case 2: {
        Transaction transaction(there_);
        randomWrite(there_);
        transaction.commit();
        break;
      }
      case 3: {  // a write here that is undone
        Transaction undone(here_);
        randomWrite(here_);
        break;
      }
      default:
        randomWrite(there_);
    }
    Transaction open(there_);  // not committed yet: not shown now, shown next round
    randomWrite(there_);
    byName.requery();
    byNumber.requery();
    filtered.requery();
    ASSERT_EQ(contents(byName), freshRead(ordered)) << "round " << round;
    byNumber.setSort("ID");
    ASSERT_EQ(contents(byNumber), freshRead(unordered + " ORDER BY ID")) << "round " << round;
    filtered.setSort("ID");
    ASSERT_EQ(contents(filtered), freshRead("SELECT * FROM Customer WHERE LOWER(AName) = 'u1' "
                                            "ORDER BY ID"))
        << "round " << round;
    open.commit();
  }

  // A row written here and rolled back, and one written there: the counter
  // moved by one, as if by the row written here.
  {
    Transaction undone(here_);
    here_.execute("INSERT INTO Customer (BranchID, fNo) VALUES (1, 100)");
  }
  there_.execute("INSERT INTO Customer (BranchID, fNo, AName) VALUES (1, 101, 'theirs')");
  byName.requery();
  EXPECT_EQ(contents(byName), freshRead(ordered));

  // The other workstation is another process.
  there_.execute("INSERT INTO Customer (BranchID, fNo, AName) VALUES (1, 99, 'theirs')");
  QProcess probe;
  probe.start(QStringLiteral(PROBE),
              {"sql", database_->connectionString(),
               "INSERT INTO Customer (BranchID, fNo, AName) VALUES (1, 104, 'theirs')",
               "UPDATE Customer SET AName = 'changed' WHERE fNo = 99",
               "DELETE FROM Customer WHERE fNo = 101"});
  ASSERT_TRUE(probe.waitForFinished(60'000));
  ASSERT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
  byName.requery();
  EXPECT_EQ(contents(byName), freshRead(ordered));
  EXPECT_TRUE(byName.findFirst("fNo = 104") && byName.findFirst("AName = 'changed'"));
  EXPECT_FALSE(byName.findFirst("fNo = 101"));
}

INSTANTIATE_TEST_SUITE_P(Engines, SharedRequeryTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
