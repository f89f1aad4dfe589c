// The table-lock protocol on both engines: between two connections of this
// process, and between this process and lock_probe.

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <stdexcept>

#include "host/Globals.h"
#include "host/db/DbError.h"
#include "host/helpers/DbHelpers.h"
#include "tests/helpers/HelpersTest.h"

namespace qalvoro::test {
namespace {

using namespace std::chrono_literals;

// One run of lock_probe, started at once.
class Probe {
 public:
  explicit Probe(const QStringList& arguments) {
    process_.start(QStringLiteral(LOCK_PROBE), arguments);
  }
  ~Probe() {
    process_.kill();
    process_.waitForFinished();
  }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  // Waits for the probe to end; the milliseconds it waited for the lock.
  std::chrono::milliseconds waited() {
    EXPECT_TRUE(process_.waitForFinished(60'000)) << "lock_probe did not finish";
    EXPECT_EQ(process_.exitCode(), 0) << process_.readAllStandardError().toStdString();
    return std::chrono::milliseconds{process_.readAllStandardOutput().trimmed().toLongLong()};
  }

 private:
  QProcess process_;
};

using LockProtocolTest = HelpersTest;

TEST_P(LockProtocolTest, FreeLockIsTakenAtOnceAndFreedOnlyByUnLock) {
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
  EXPECT_EQ(user().mousePointer(), MousePointer::Default);
  SetTableLock("UnLock", "x' OR TableName <> '");
  EXPECT_TRUE(lockHeld("Gaid")) << "the name is a value, not SQL";
  EXPECT_EQ(count("SELECT COUNT(*) FROM LockTables"), 11);
}

TEST_P(LockProtocolTest, HeldLockIsTakenOverAfterFifteenSecondsUnderTheHourglass) {
  SetTableLock("Lock", "Receipt");  // a writer that never frees it
  const auto started = user().monotonicNow();
  SetTableLock("Lock", "Receipt");
  ASSERT_GT(user().monotonicNow() - started, 15s);
  EXPECT_LE(user().monotonicNow() - started, 15s + user().sleeps().back());
  ASSERT_FALSE(user().pointersWhileSleeping().empty());
  for (const MousePointer shown : user().pointersWhileSleeping()) {
    EXPECT_EQ(shown, MousePointer::ArrowHourglass);
  }
  EXPECT_EQ(user().mousePointer(), MousePointer::Default);
}

TEST_P(LockProtocolTest, GuardFreesTheLockOnEveryWayOutAndTheRowsGoWithTheTransaction) {
  MainConnection().execute("CREATE TABLE Numbers (Num INTEGER)");
  const auto write = [](int number, bool fail) {
    const TableLock lock("Sales");
    EXPECT_TRUE(lockHeld("Sales"));
    Transaction transaction(MainConnection());
    MainConnection().execute("INSERT INTO Numbers (Num) VALUES (?)", {number});
    if (fail) MainConnection().execute("INSERT INTO NoSuchTable (ID) VALUES (1)");
    transaction.commit();
  };
  EXPECT_THROW(write(1, true), DbError);
  EXPECT_FALSE(lockHeld("Sales"));
  EXPECT_THROW(
      [] {
        const TableLock lock("Sales");
        throw std::runtime_error("the user cancelled");
      }(),
      std::runtime_error);
  EXPECT_FALSE(lockHeld("Sales"));
  write(3, false);
  EXPECT_FALSE(lockHeld("Sales"));
  EXPECT_EQ(count("SELECT SUM(Num) FROM Numbers"), 3);
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
// freed, and no longer.
TEST_P(LockProtocolTest, AWriteWaitsWhileAnotherProcessHoldsItsLock) {
  Probe holder({database().connectionString(), "Payment", "1000"});
  QElapsedTimer clock;
  clock.start();
  while (!lockHeld("Payment") && clock.elapsed() < 30'000) QThread::msleep(10);
  ASSERT_TRUE(lockHeld("Payment"));
  user().onSleep([] { QThread::msleep(50); });  // the pauses take their time here too
  MainConnection().execute("CREATE TABLE Numbers (Num INTEGER)");
  const auto started = user().monotonicNow();
  {
    const TableLock lock("Payment");
    MainConnection().execute("INSERT INTO Numbers (Num) VALUES (1)");
  }
  EXPECT_GE(user().sleeps().size(), 5u) << "the write did not wait";
  EXPECT_LT(user().monotonicNow() - started, 15s) << "the write did not see the lock freed";
  EXPECT_LT(holder.waited(), 1s) << "the lock was free for the probe";
  EXPECT_FALSE(lockHeld("Payment"));
}

INSTANTIATE_TEST_SUITE_P(Engines, LockProtocolTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
