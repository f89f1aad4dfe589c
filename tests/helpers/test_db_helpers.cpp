// The shared database helpers over MainConnection, on both engines.

#include <stdexcept>

#include "host/Globals.h"
#include "host/db/DbError.h"
#include "host/helpers/DbHelpers.h"
#include "tests/helpers/HelpersTest.h"

namespace qalvoro::test {
namespace {

using namespace std::chrono_literals;

class DbHelpersTest : public HelpersTest {
 protected:
  void SetUp() override {
    HelpersTest::SetUp();
    MainConnection().execute(
        "CREATE TABLE Numbers (ID INTEGER, BranchID INTEGER, Num INTEGER, Note TEXT)");
  }

  static void addNumber(int id, int branch, const QVariant& number, const QVariant& note) {
    MainConnection().execute("INSERT INTO Numbers (ID, BranchID, Num, Note) VALUES (?, ?, ?, ?)",
                             {id, branch, number, note});
  }
};

TEST_P(DbHelpersTest, GetMaxValueGivesTheLargestValuePlusOne) {
  EXPECT_EQ(GetMaxValue("Numbers", "Num"), 1) << "empty table";

  addNumber(1, 1, 7, {});
  addNumber(2, 1, 41, {});
  addNumber(3, 2, 9, {});
  addNumber(4, 3, QVariant(), {});
  EXPECT_EQ(GetMaxValue("Numbers", "Num"), 42);
  EXPECT_EQ(GetMaxValue("Numbers", "Num", "BranchID = 5"), 1) << "no row matches";
  EXPECT_EQ(GetMaxValue("Numbers", "Num", "BranchID = 3"), 1) << "only a Null matches";
  EXPECT_EQ(GetMaxValue("Numbers", "Num", "BranchID = ?", {2}), 10);
  EXPECT_EQ(GetMaxValue("Numbers", "ID", "BranchID = ? AND Num < ?", {1, 41}), 2);
}

TEST_P(DbHelpersTest, GetMaxValueRoundsHalvesToEvenWithinThirtyTwoBits) {
  MainConnection().execute("CREATE TABLE Amounts (ID INTEGER, Amount REAL)");
  const auto add = [](int id, double amount) {
    MainConnection().execute("INSERT INTO Amounts (ID, Amount) VALUES (?, ?)", {id, amount});
  };
  add(1, 41.5);
  EXPECT_EQ(GetMaxValue("Amounts", "Amount"), 42) << "42.5 rounds down to the even 42";
  add(2, 42.5);
  EXPECT_EQ(GetMaxValue("Amounts", "Amount"), 44) << "43.5 rounds up to the even 44";
  add(3, 3.0e9);
  try {
    GetMaxValue("Amounts", "Amount");
    ADD_FAILURE() << "a number beyond 32 bits was cut";
  } catch (const DbError& error) {
    EXPECT_EQ(error.number(), dberr::kOverflow);
  }
}

TEST_P(DbHelpersTest, LookupValueReadsOneValueAsText) {
  addNumber(1, 1, 41, QStringLiteral("أول"));
  addNumber(2, 1, QVariant(), QVariant());
  addNumber(3, 2, 5, QStringLiteral("third"));

  EXPECT_EQ(LookupValue("Numbers", "COUNT(*)"), "3");
  EXPECT_EQ(LookupValue("Numbers", "SUM(Num)", "BranchID = ?", {1}), "41");
  EXPECT_EQ(LookupValue("Numbers", "Note", "ID = ?", {1}), QStringLiteral("أول"));
  EXPECT_EQ(LookupValue("Numbers", "Num", "Note = 'third'"), "5");
  EXPECT_EQ(LookupValue("Numbers", "Note", "ID = 2"), "") << "Null";
  EXPECT_EQ(LookupValue("Numbers", "Num", "ID = 2"), "") << "Null";
  EXPECT_EQ(LookupValue("Numbers", "Note", "ID = ?", {9}), "") << "no row";
}

TEST_P(DbHelpersTest, LookupValueGivesYesNoAndDatesAsTheClassicTexts) {
  EXPECT_EQ(LookupValue("LockTables", "fLocked", "TableName = ?", {"Sales"}), "False");
  MainConnection().execute("UPDATE LockTables SET fLocked = TRUE WHERE TableName = 'Sales'");
  EXPECT_EQ(LookupValue("LockTables", "fLocked", "TableName = ?", {"Sales"}), "True");
  EXPECT_EQ(LookupValue("SysInfo", "CalndrAutoChange"), "False");

  MainConnection().execute("CREATE TABLE Dated (ID INTEGER, Day DATE, Stamp TIMESTAMP)");
  MainConnection().execute(
      "INSERT INTO Dated (ID, Day, Stamp) VALUES (1, '2024/01/05', '2024/02/29 13:45:10')");
  EXPECT_EQ(LookupValue("Dated", "Day", "ID = 1"), "2024/01/05");
  EXPECT_EQ(LookupValue("Dated", "Stamp", "ID = 1"), "2024/02/29 13:45:10");
  EXPECT_EQ(LookupValue("Dated", "MAX(Day)"), "2024/01/05");
}

TEST_P(DbHelpersTest, FreeLockIsTakenAtOnceAndFreedOnlyByUnLock) {
  const auto started = user().monotonicNow();
  SetTableLock("Lock", "Sales");
  EXPECT_TRUE(lockHeld("Sales"));
  EXPECT_EQ(user().monotonicNow(), started);
  EXPECT_TRUE(user().sleeps().empty());
  EXPECT_EQ(user().mousePointer(), MousePointer::Default);
  EXPECT_FALSE(lockHeld("SaleInvoice")) << "only the named lock is taken";

  SetTableLock("Lock", "Gaid");
  SetTableLock("UnLock", "Sales");
  EXPECT_FALSE(lockHeld("Sales"));
  EXPECT_TRUE(lockHeld("Gaid")) << "only the named lock is freed";

  SetTableLock("unlock", "Sales");
  EXPECT_TRUE(lockHeld("Sales")) << "any action but \"UnLock\" asks for the lock";
  SetTableLock("UNLOCK", "Gaid");
  EXPECT_TRUE(lockHeld("Gaid"));
}

TEST_P(DbHelpersTest, HeldLockIsTakenOverAfterFifteenSecondsOrWhenFreed) {
  SetTableLock("Lock", "Receipt");  // a writer that never frees it

  auto started = user().monotonicNow();
  SetTableLock("Lock", "Receipt");
  const auto waited = user().monotonicNow() - started;
  EXPECT_GT(waited, 15s);
  EXPECT_LE(waited, 15s + user().longestSleep());
  EXPECT_TRUE(lockHeld("Receipt"));
  ASSERT_FALSE(user().pointersWhileSleeping().empty());
  for (const MousePointer shown : user().pointersWhileSleeping()) {
    EXPECT_EQ(shown, MousePointer::ArrowHourglass);
  }
  EXPECT_EQ(user().mousePointer(), MousePointer::Default);

  // Another writer frees it after the third pause: the wait ends there.
  Connection other;
  other.open(target().connectionString(), "sa", DbPassword);
  const auto pausesBefore = user().sleeps().size();
  user().onSleep([&] {
    if (user().sleeps().size() == pausesBefore + 3) {
      other.execute("UPDATE LockTables SET fLocked = FALSE WHERE TableName = ?", {"Receipt"});
    }
  });
  started = user().monotonicNow();
  SetTableLock("Lock", "Receipt");
  EXPECT_EQ(user().sleeps().size(), pausesBefore + 3);
  EXPECT_LT(user().monotonicNow() - started, 15s);
  EXPECT_TRUE(lockHeld("Receipt"));
}

TEST_P(DbHelpersTest, LockNameWithoutARowCannotBeTaken) {
  SetTableLock("Lock", "Payment");
  try {
    SetTableLock("Lock", "Missing");
    ADD_FAILURE() << "a lock without a row was taken";
  } catch (const DbError& error) {
    EXPECT_EQ(error.number(), dberr::kTypeMismatch);
  }
  EXPECT_EQ(user().mousePointer(), MousePointer::Default);

  EXPECT_NO_THROW(SetTableLock("UnLock", "Missing"));
  EXPECT_NO_THROW(SetTableLock("UnLock", "x' OR TableName <> '"));
  EXPECT_TRUE(lockHeld("Payment")) << "unlocking an unknown name frees nothing";
  EXPECT_EQ(count("SELECT COUNT(*) FROM LockTables"), 11);
}

TEST_P(DbHelpersTest, GuardsLeaveNoRowsAndNoLockAfterAnError) {
  const auto failedWrite = [] {
    const TableLock lock("Sales");
    EXPECT_TRUE(lockHeld("Sales"));
    Transaction transaction(MainConnection());
    MainConnection().execute("INSERT INTO Numbers (ID, BranchID, Num) VALUES (1, 1, 1)");
    MainConnection().execute("INSERT INTO NoSuchTable (ID) VALUES (1)");
    transaction.commit();
  };
  EXPECT_THROW(failedWrite(), DbError);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Numbers"), 0);
  EXPECT_FALSE(lockHeld("Sales"));

  const auto abandonedWrite = [] {
    const TableLock lock("Sales");
    Transaction transaction(MainConnection());
    MainConnection().execute("INSERT INTO Numbers (ID, BranchID, Num) VALUES (2, 1, 2)");
    throw std::runtime_error("the user cancelled");
  };
  EXPECT_THROW(abandonedWrite(), std::runtime_error);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Numbers"), 0);
  EXPECT_FALSE(lockHeld("Sales"));

  {
    const TableLock lock("Sales");
    Transaction transaction(MainConnection());
    MainConnection().execute("INSERT INTO Numbers (ID, BranchID, Num) VALUES (3, 1, 3)");
    transaction.commit();
  }
  EXPECT_EQ(count("SELECT COUNT(*) FROM Numbers"), 1);
  EXPECT_FALSE(lockHeld("Sales"));
}

INSTANTIATE_TEST_SUITE_P(Engines, DbHelpersTest, ::testing::ValuesIn(kEngines), EngineParamName());

}  // namespace
}  // namespace qalvoro::test
