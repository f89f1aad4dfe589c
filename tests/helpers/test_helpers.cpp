// The database and combo-box helpers, and the table-lock protocol within this process and
// with a probe process, on both engines.

#include <QComboBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <functional>

#include "host/db/DbError.h"
#include "host/helpers/ComboHelpers.h"
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
        "CREATE TABLE Numbers (ID INTEGER, BranchID INTEGER, Num REAL, Note TEXT, Day DATE, "
        "Stamp TIMESTAMP)");
  }
  static void add(const QVariantList& row) {
    MainConnection().execute(
        "INSERT INTO Numbers (ID, BranchID, Num, Note, Day, Stamp) VALUES (?, ?, ?, ?, ?, ?)", row);
  }
};

TEST_P(DbHelpersTest, GetMaxValueGivesTheNextNumberAndLookupValueTheClassicText) {
  EXPECT_EQ(GetMaxValue("Numbers", "Num"), 1) << "empty table";
  MainConnection().execute(
      "INSERT INTO Numbers (ID, BranchID, Num) VALUES (1, 1, 7), (2, 1, 41), (3, 2, 9), (4, 3, "
      "NULL)");
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

  // LookupValue reads one value as the classic text.
  MainConnection().execute("DELETE FROM Numbers");
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

QStringList entries(const QComboBox& combo) {
  QStringList shown;
  for (int i = 0; i < combo.count(); ++i) {
    shown << combo.itemText(i) + '=' + combo.itemData(i).toString();
  }
  return shown;
}

using ComboHelpersTest = HelpersTest;

TEST_P(ComboHelpersTest, RefillKeepsTheChosenIdOrTheTypedTextAndShowsOnlyNamedRows) {
  MainConnection().execute(
      QStringLiteral("INSERT INTO Unit (ID, AName, EName) VALUES (1, 'حبة', "
                     "'Piece'), (2, NULL, 'Box'), (3, 'كرتون', NULL), (4, "
                     "'متر', 'Metre')"));
  QComboBox combo;
  combo.setEditable(true);
  combo.setEditText(QStringLiteral("كرت"));
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(entries(combo), QStringList({QStringLiteral("حبة=1"), QStringLiteral("كرتون=3"),
                                         QStringLiteral("متر=4")}));
  EXPECT_EQ(SelectedItemData(combo), -1) << "nothing was chosen before";
  EXPECT_EQ(combo.currentText(), QStringLiteral("كرت"));

  SelectComboByData(combo, 3);
  MainConnection().execute("DELETE FROM Unit WHERE ID = 1");
  MainConnection().execute("UPDATE Unit SET AName = ? WHERE ID = 3", {QStringLiteral("كرتونة")});
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(SelectedItemData(combo), 3);
  EXPECT_EQ(combo.currentText(), QStringLiteral("كرتونة"));

  // Entries follow the key, whatever order the rows were written in.
  MainConnection().execute(QStringLiteral(
      "INSERT INTO Unit (ID, AName, EName) VALUES (6, 'لتر', 'Litre'), (5, 'كيلو', 'Kilo')"));
  SaveSetting("Language", "E");
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(entries(combo), QStringList({"Box=2", "Metre=4", "Kilo=5", "Litre=6"}));
  EXPECT_EQ(SelectedItemData(combo), -1) << "unit 3 has no English name";
}

// One run of the probe asking for a lock, started at once.
class Probe {
 public:
  explicit Probe(const QStringList& arguments) {
    process_.start(QStringLiteral(PROBE), QStringList{"lock"} + arguments);
  }
  ~Probe() {
    process_.kill();
    process_.waitForFinished();
  }
  // Waits for the probe to end; the milliseconds it waited for the lock.
  std::chrono::milliseconds waited() {
    EXPECT_TRUE(process_.waitForFinished(60'000)) << "the probe did not finish";
    EXPECT_EQ(process_.exitCode(), 0) << process_.readAllStandardError().toStdString();
    return std::chrono::milliseconds{process_.readAllStandardOutput().trimmed().toLongLong()};
  }

 private:
  QProcess process_;
};

using LockProtocolTest = HelpersTest;

TEST_P(LockProtocolTest, FreeLockIsTakenAtOnceAHeldOneAfterFifteenSecondsUnderTheHourglass) {
  SetTableLock("Lock", "Sales");
  SetTableLock("Lock", "Gaid");
  EXPECT_TRUE(user().sleeps().empty());
  EXPECT_TRUE(lockHeld("Sales"));
  EXPECT_FALSE(lockHeld("SaleInvoice")) << "only the named lock is taken";
  SetTableLock("UnLock", "Sales");
  EXPECT_FALSE(lockHeld("Sales"));
  EXPECT_TRUE(lockHeld("Gaid")) << "only the named lock is freed";
  SetTableLock("unlock", "Sales");
  EXPECT_TRUE(lockHeld("Sales")) << "any action but \"UnLock\" asks for the lock";
  EXPECT_EQ(errorOf([] { SetTableLock("Lock", "Missing"); }), dberr::kTypeMismatch);
  SetTableLock("UnLock", "x' OR TableName <> '");
  EXPECT_TRUE(lockHeld("Gaid")) << "the name is a value, not SQL";
  EXPECT_EQ(count("SELECT COUNT(*) FROM LockTables"), 11);
  EXPECT_EQ(user().mousePointer(), MousePointer::Default);

  const auto started = user().monotonicNow();
  SetTableLock("Lock", "Sales");  // held by a writer that never frees it
  ASSERT_GT(user().monotonicNow() - started, 15s);
  EXPECT_LE(user().monotonicNow() - started, 15s + user().sleeps().back());
  ASSERT_FALSE(user().pointersWhileSleeping().empty());
  for (const MousePointer shown : user().pointersWhileSleeping()) {
    EXPECT_EQ(shown, MousePointer::ArrowHourglass);
  }
  EXPECT_EQ(user().mousePointer(), MousePointer::Default);
}

// This process holds the lock and never frees it: the probe takes it over
// after fifteen seconds of its clock (the real one once, on SQLite).
TEST_P(LockProtocolTest, AnotherProcessTakesOverAHeldLockAfterFifteenSeconds) {
  SetTableLock("Lock", "Customer");
  const QString target = database().connectionString();
  EXPECT_GT(Probe({"--scripted-clock", target, "Customer"}).waited(), 15s);
  EXPECT_TRUE(lockHeld("Customer"));
  if (GetParam() != Engine::SQLite) return;
  SetTableLock("Lock", "Sales");
  QElapsedTimer clock;
  clock.start();
  const auto waited = Probe({target, "Sales"}).waited();
  EXPECT_GT(waited, 15s);
  EXPECT_LT(waited, 18s);
  EXPECT_GE(clock.elapsed(), 15'000);
}

// The probe holds the lock for a second: a write here waits until it is
// freed, and no longer, whether it takes the lock first (TableLock), with
// its writes (WriteUnderLock, which on PostgreSQL fails its first try whole)
// or with the read before them (LockAndRead, which then reads again under
// the lock); a free lock is not waited for.
TEST_P(LockProtocolTest, AWriteWaitsWhileAnotherProcessHoldsItsLock) {
  user().onSleep([] { QThread::msleep(50); });  // the pauses take their time here too
  MainConnection().execute("CREATE TABLE Numbers (Num INTEGER)");
  const std::vector<std::function<void(int)>> writers = {
      [](int number) {
        const TableLock lock("Payment");
        MainConnection().execute("INSERT INTO Numbers (Num) VALUES (?)", {number});
      },
      [](int number) {
        WriteUnderLock("Payment", {{"INSERT INTO Numbers (Num) VALUES (?)", {number}},
                                   {"INSERT INTO Numbers (Num) VALUES (?)", {-number}}});
      },
      [](int number) {
        const auto row = LockAndRead(
            "Payment", "SELECT fLocked FROM LockTables WHERE TableName = ?", {"Payment"});
        EXPECT_TRUE(QStringList({"t", "1", "true"}).contains(row.value().at(0).toString()))
            << "read under the lock";
        MainConnection().execute("INSERT INTO Numbers (Num) VALUES (?)", {number});
        SetTableLock("UnLock", "Payment");
      }};
  for (int writer = 0; writer < 3; ++writer) {
    Probe holder({database().connectionString(), "Payment", "1000"});
    QElapsedTimer clock;
    clock.start();
    while (!lockHeld("Payment") && clock.elapsed() < 30'000) QThread::msleep(10);
    ASSERT_TRUE(lockHeld("Payment"));
    const std::size_t slept = user().sleeps().size();
    const auto started = user().monotonicNow();
    writers[writer](10 + writer);
    EXPECT_GE(user().sleeps().size(), slept + 5) << writer << ": the write did not wait";
    EXPECT_LT(user().monotonicNow() - started, 15s) << writer << ": the lock was not seen freed";
    EXPECT_LT(holder.waited(), 1s) << "the lock was free for the probe";
    EXPECT_FALSE(lockHeld("Payment"));
    const std::size_t free = user().sleeps().size();
    writers[writer](20 + writer);
    EXPECT_EQ(user().sleeps().size(), free) << writer << ": a free lock was waited for";
    EXPECT_FALSE(lockHeld("Payment"));
  }
  EXPECT_EQ(count("SELECT COUNT(*) * 1000 + SUM(Num) FROM Numbers"), 8064);
}

INSTANTIATE_TEST_SUITE_P(Engines, DbHelpersTest, ::testing::ValuesIn(kEngines), EngineParamName());
INSTANTIATE_TEST_SUITE_P(Engines, ComboHelpersTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());
INSTANTIATE_TEST_SUITE_P(Engines, LockProtocolTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
