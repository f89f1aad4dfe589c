// The shared database helpers over MainConnection, on both engines.

#include "host/Globals.h"
#include "host/db/DbError.h"
#include "host/helpers/DbHelpers.h"
#include "tests/helpers/HelpersTest.h"

namespace qalvoro::test {
namespace {

class DbHelpersTest : public HelpersTest {
 protected:
  void SetUp() override {
    HelpersTest::SetUp();
    MainConnection().execute(
        "CREATE TABLE Numbers (ID INTEGER, BranchID INTEGER, Num REAL, Note TEXT, Day DATE, "
        "Stamp TIMESTAMP)");
  }
  static void add(const QVariantList& row) {
    MainConnection().execute(
        "INSERT INTO Numbers (ID, BranchID, Num, Note, Day, Stamp) VALUES (?, ?, ?, ?, ?, ?)", row);
  }
};

TEST_P(DbHelpersTest, GetMaxValueGivesTheLargestValuePlusOneAsAThirtyTwoBitInteger) {
  EXPECT_EQ(GetMaxValue("Numbers", "Num"), 1) << "empty table";
  add({1, 1, 7, {}, {}, {}});
  add({2, 1, 41, {}, {}, {}});
  add({3, 2, 9, {}, {}, {}});
  add({4, 3, {}, {}, {}, {}});
  EXPECT_EQ(GetMaxValue("Numbers", "Num"), 42);
  EXPECT_EQ(GetMaxValue("Numbers", "Num", "BranchID = 5"), 1) << "no row matches";
  EXPECT_EQ(GetMaxValue("Numbers", "Num", "BranchID = 3"), 1) << "only a Null matches";
  EXPECT_EQ(GetMaxValue("Numbers", "Num", "BranchID = ?", {2}), 10);
  EXPECT_EQ(GetMaxValue("Numbers", "ID", "BranchID = ? AND Num < ?", {1, 41}), 2);
  add({5, 4, 41.5, {}, {}, {}});
  EXPECT_EQ(GetMaxValue("Numbers", "Num", "BranchID = 4"), 42) << "42.5: halves to even";
  add({6, 4, 42.5, {}, {}, {}});
  EXPECT_EQ(GetMaxValue("Numbers", "Num", "BranchID = 4"), 44) << "43.5: halves to even";
  add({7, 4, 3.0e9, {}, {}, {}});
  EXPECT_EQ(errorOf([] { GetMaxValue("Numbers", "Num"); }), dberr::kOverflow);
}

TEST_P(DbHelpersTest, LookupValueReadsOneValueAsTheClassicText) {
  add({1, 1, 41, QStringLiteral("أول"), "2024/01/05", "2024/02/29 13:45:10"});
  add({2, 1, {}, {}, {}, {}});
  add({3, 2, 5, "third", {}, {}});
  EXPECT_EQ(LookupValue("Numbers", "COUNT(*)"), "3");
  EXPECT_EQ(LookupValue("Numbers", "SUM(Num)", "BranchID = ?", {1}), "41");
  EXPECT_EQ(LookupValue("Numbers", "Note", "ID = ?", {1}), QStringLiteral("أول"));
  EXPECT_EQ(LookupValue("Numbers", "Num", "Note = 'third'"), "5");
  EXPECT_EQ(LookupValue("Numbers", "Num", "ID = 2"), "") << "Null";
  EXPECT_EQ(LookupValue("Numbers", "Note", "ID = ?", {9}), "") << "no row";
  EXPECT_EQ(LookupValue("Numbers", "Day", "ID = 1"), "2024/01/05");
  EXPECT_EQ(LookupValue("Numbers", "Stamp", "ID = 1"), "2024/02/29 13:45:10");
  EXPECT_EQ(LookupValue("Numbers", "MAX(Day)"), "2024/01/05");
  EXPECT_EQ(LookupValue("SysInfo", "CalndrAutoChange"), "False");
  MainConnection().execute("UPDATE LockTables SET fLocked = TRUE WHERE TableName = 'Sales'");
  EXPECT_EQ(LookupValue("LockTables", "fLocked", "TableName = ?", {"Sales"}), "True");
}

INSTANTIATE_TEST_SUITE_P(Engines, DbHelpersTest, ::testing::ValuesIn(kEngines), EngineParamName());

}  // namespace
}  // namespace qalvoro::test
